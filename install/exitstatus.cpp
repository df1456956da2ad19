#include "install/exitstatus.h"

#include <QCoreApplication>

QString exitStatusMeaning(ExitStatus status)
{
    const auto tr = [](const char *text) { return QCoreApplication::translate("ExitStatus", text); };
    switch (status) {
    case ExitStatus::Success:
        return tr("the list ran to its end (--check: ready); --help, --version, --show-licence");
    case ExitStatus::NoDisplay:
        return tr("no display to open the window on (the window and --passive)");
    case ExitStatus::Usage:
        return tr("usage error (unknown option or platform name, missing option), or the log, "
                  "standard output or a temporary folder cannot be written");
    case ExitStatus::NoDevice:
        return tr("no handheld connected: worth retrying later");
    case ExitStatus::NoManager:
        return tr("the application manager is not found or cannot be used");
    case ExitStatus::KitIncomplete:
        return tr("installation files missing from the kit");
    case ExitStatus::RunFailed:
        return tr("a run could not be started or ended abnormally; the list was stopped");
    case ExitStatus::CancelledBeforeRuns:
        return tr("cancelled before the first run");
    case ExitStatus::StoppedAfterRuns:
        return tr("stopped after at least one run: the handheld may be partly set up");
    case ExitStatus::NoRemoteApi:
        return tr("the remote-API library is missing or cannot be used: not worth retrying");
    case ExitStatus::AlreadyRunning:
        return tr("another Setup is running on this machine: worth retrying later");
    }
    return QString();
}

QList<ExitStatus> allExitStatuses()
{
    return {ExitStatus::Success,       ExitStatus::NoDisplay, ExitStatus::Usage,
            ExitStatus::NoDevice,      ExitStatus::NoManager, ExitStatus::KitIncomplete,
            ExitStatus::RunFailed,     ExitStatus::CancelledBeforeRuns, ExitStatus::StoppedAfterRuns,
            ExitStatus::NoRemoteApi,   ExitStatus::AlreadyRunning};
}
