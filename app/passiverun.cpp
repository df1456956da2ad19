#include "app/passiverun.h"

#include "app/language.h"
#include "platform/dialogs/messageboxes.h"
#include "platform/services.h"
#include "platform/text/systemtexts.h"
#include "unattended/unattendedrun.h"
#include "wizard/form1.h"
#include "wizard/state/globalvar.h"
#include "wizard/windowsystem.h"

#include <QApplication>

#include <cstring>
#include <memory>
#include <vector>

namespace {

// The arguments without our --platform, which Qt would take for its own
// -platform and try to load the handheld's name as a window system.
std::vector<char *> withoutHandheldPlatform(int argc, char **argv)
{
    std::vector<char *> kept;
    for (int i = 0; i < argc; ++i) {
        if (i > 0 && std::strcmp(argv[i], "--platform") == 0) {
            ++i;
            continue;
        }
        if (i > 0 && std::strncmp(argv[i], "--platform=", 11) == 0)
            continue;
        kept.push_back(argv[i]);
    }
    kept.push_back(nullptr);
    return kept;
}

} // namespace

int runPassive(int &argc, char **argv, const UnattendedOptions &options, const QString &language, TickSource &ticks)
{
    // Qt keeps both for as long as the application lives.
    std::vector<char *> arguments = withoutHandheldPlatform(argc, argv);
    int count = int(arguments.size()) - 1;
    const std::unique_ptr<QApplication> app = openWindowSystem(count, arguments.data());
    // What goes to standard error and the log is read by scripts.
    useEnglishSystemTexts(true);
    installWindowLanguage(language.isEmpty() ? chooseWindowLanguage(systemLanguages()) : language);
    // The window's last words decide when it closes, not the last window.
    app->setQuitOnLastWindowClosed(false);

    GlobalVar vars;
    // Only the cancel question is ever asked.
    QtMessageBoxes messages;
    std::unique_ptr<Form1> form;
    UnattendedRun *passiveRun = nullptr;
    RunAdditions additions;
    additions.prepare = [&](UnattendedRun &run, const InstallServices &services) {
        form = std::make_unique<Form1>(
            vars, Services{messages, services.remoteApi, services.registry, services.processes, services.ticks});
        form->showPassive(run.installRun(), options.listA);
        form->show();
        QObject::connect(&run, &UnattendedRun::stopRequested, form.get(), &Form1::passiveStopRequested);
        passiveRun = &run;
    };
    additions.conclude = [&](int status) {
        // A Cancel answered Yes has closed the window already; otherwise its
        // last words stay until it closes itself, whatever ended the run (a
        // log that could not be opened too).
        if (!form->isUnloaded()) {
            form->endPassive(status, passiveRun->reason());
            QObject::connect(form.get(), &Form1::unloaded, app.get(), &QCoreApplication::quit);
            app->exec();
        }
        // Before the run's services go.
        form.reset();
        return status;
    };
    return runWithSystemServices(options, ticks, additions);
}
