#include "platform/systemservices.h"
#include "unattended/unattendedrun.h"
#include "wizard/commandline.h"
#include "wizard/form1.h"
#include "wizard/state/globalvar.h"
#include "wizard/windowsystem.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication::setApplicationName(QStringLiteral("TorvexSetup"));
    QApplication::setApplicationVersion(QStringLiteral("1.00"));
    // Before anything is started: how each run ends must reach us.
    SystemProcessServices::takeChildEndsBack();
    std::optional<UnattendedOptions> unattended;
    if (const std::optional<int> status = handleCommandLine(argc, argv, &unattended))
        return *status;
    if (unattended) {
        RealTickSource ticks;
        return runUnattended(argc, argv, *unattended, ticks);
    }

    const std::unique_ptr<QApplication> app = openWindowSystem(argc, argv);

    SystemServices system;
    GlobalVar vars;

    Form1 form(vars, system.services());
    form.show(); // centred on its screen as it opens
    // The program ends when its only window has been unloaded.
    const int status = app->exec();
    return status != 0 ? status : form.exitStatus();
}
