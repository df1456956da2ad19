#include "platform/systemservices.h"
#include "app/commandline.h"
#include "wizard/form1.h"
#include "wizard/state/globalvar.h"
#include "wizard/windowsystem.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    RealTickSource ticks;
    if (const std::optional<int> status = runBeforeWindow(argc, argv, ticks))
        return *status;

    const std::unique_ptr<QApplication> app = openWindowSystem(argc, argv);

    SystemServices system;
    GlobalVar vars;

    Form1 form(vars, system.services());
    form.show(); // centred on its screen as it opens
    // The program ends when its only window has been unloaded.
    const int status = app->exec();
    return status != 0 ? status : form.exitStatus();
}
