#include "app/commandline.h"
#include "app/language.h"
#include "app/setuplock.h"
#include "app/windowlog.h"
#include "platform/io/console.h"
#include "platform/io/outputstream.h"
#include "platform/systemlog/systemlog.h"
#include "platform/systemservices.h"
#include "platform/text/systemtexts.h"
#include "unattended/installjournal.h"
#include "wizard/form1.h"
#include "wizard/state/globalvar.h"
#include "wizard/windowsystem.h"

#include <QApplication>
#include <QDir>

int main(int argc, char *argv[])
{
    // Before any library is loaded by name, and before anything else is done
    // that a new start would do twice.
    LibraryRemoteApi::restartWithFixedSearchPath(argv);
    // Before anything opens a descriptor that could take a standard number.
    fillClosedStandardDescriptors();
    RealTickSource ticks;
    WindowOptions window;
    if (const std::optional<int> status = runBeforeWindow(argc, argv, ticks, &window))
        return *status;

    const std::unique_ptr<QApplication> app = openWindowSystem(argc, argv);
    // Qt has just taken the user's locale. Until the window opens, what goes
    // to standard error is English, the system's texts in it too.
    useEnglishSystemTexts(true);
    // Only the window speaks the user's language: what runs without one
    // writes English, for the scripts that read it.
    installWindowLanguage(window.language.isEmpty() ? chooseWindowLanguage(systemLanguages())
                                                    : window.language);

    SystemServices system;
    const std::unique_ptr<InstanceLock> lock = takeSetupLock();
    const QString lockWarning = setupLockWarning(*lock) + setupLockRefusal(*lock);
    if (!lockWarning.isEmpty()) {
        if (const auto err = OutputStream::openStandard(OutputStream::Standard::Error))
            err->write(QStringLiteral("%1: %2\n").arg(QCoreApplication::applicationName(), lockWarning));
    }
    if (lock->state() == InstanceLock::State::Refused)
        return toInt(ExitStatus::Usage);
    if (lock->state() == InstanceLock::State::HeldElsewhere) {
        if (window.systemLog)
            logSetupLockRefusal(QStringLiteral("window"), QDir::currentPath(), window.logPath);
        system.messages.information(nullptr, Form1::alreadyRunningMessage(setupLockHolder(*lock)));
        return toInt(ExitStatus::AlreadyRunning);
    }
    WindowLog log;
    if (!log.open(window.logPath, window.arguments))
        return toInt(ExitStatus::Usage);
    if (!lockWarning.isEmpty())
        log.message(lockWarning);
    // The window speaks the user's language, and so do the system's texts in it.
    useEnglishSystemTexts(false);
    // The window has nothing more to print, and must not end with the
    // prompt it was started from.
    detachConsole();
    GlobalVar vars;

    Form1 form(vars, system.services());
    log.follow(form.installRun());
    // The window's install is in the system's log from its first press of
    // Next on the ready page to the window's end.
    const std::unique_ptr<SystemLog> systemLog = window.systemLog ? createSystemLog() : nullptr;
    std::unique_ptr<InstallJournal> journal;
    if (systemLog) {
        journal = std::make_unique<InstallJournal>(*systemLog, QStringLiteral("window"), QDir::currentPath(),
                                                   window.logPath);
        journal->follow(form.installRun());
    }
    form.show(); // centred on its screen as it opens
    // The program ends when its only window has been unloaded.
    const int status = app->exec();
    const int exitStatus = status != 0 ? status : form.exitStatus();
    log.finish(exitStatus);
    if (journal)
        journal->ended(static_cast<ExitStatus>(exitStatus),
                       exitStatus == 0 ? QStringLiteral("the list ran to its end") : QString());
    return exitStatus;
}
