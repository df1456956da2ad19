#include "app/commandline.h"
#include "app/language.h"
#include "platform/console.h"
#include "platform/systemservices.h"
#include "wizard/form1.h"
#include "wizard/state/globalvar.h"
#include "wizard/windowsystem.h"

#include <QApplication>
#include <QLocale>

int main(int argc, char *argv[])
{
    // Before anything opens a descriptor that could take a standard number.
    fillClosedStandardDescriptors();
    RealTickSource ticks;
    QString language;
    if (const std::optional<int> status = runBeforeWindow(argc, argv, ticks, &language))
        return *status;

    const std::unique_ptr<QApplication> app = openWindowSystem(argc, argv);
    // Only the window speaks the user's language: what runs without one
    // writes English, for the scripts that read it.
    installWindowLanguage(language.isEmpty() ? chooseWindowLanguage(QLocale::system().uiLanguages()) : language);

    SystemServices system;
    GlobalVar vars;

    Form1 form(vars, system.services());
    form.show(); // centred on its screen as it opens
    // The program ends when its only window has been unloaded.
    const int status = app->exec();
    return status != 0 ? status : form.exitStatus();
}
