#pragma once

#include <QList>
#include <QString>

// The program's exit statuses, the same for the window and for an unattended
// run, so that deployment tools can act on them. 4, 5, 8 and 64 to 71 are
// left unused on purpose: some deployment tools retry those automatically.
enum class ExitStatus : int {
    Success = 0,          // the list ran to its end (--check: ready); --help, --version, --show-licence
    NoDisplay = 1,        // no display to open the window on (the window and --passive)
    Usage = 2,            // unknown option, missing or wrong option value, log, output or temporary folder not writable
    NoDevice = 10,        // no handheld connected: worth retrying later
    NoManager = 11,       // the application manager is not found or cannot be used
    KitIncomplete = 12,   // installation files missing from the kit
    RunFailed = 13,       // a run could not be started or ended abnormally; the list was stopped
    CancelledBeforeRuns = 14, // cancelled before the first run
    StoppedAfterRuns = 15,    // stopped after at least one run: the handheld may be partly set up
    NoRemoteApi = 16,         // the remote-API library is missing or unusable: not worth retrying
    AlreadyRunning = 17,      // another Setup is running on this machine: worth retrying later
};

constexpr int toInt(ExitStatus status)
{
    return static_cast<int>(status);
}

// What a status means, in a few words for a log or a result line.
QString exitStatusMeaning(ExitStatus status);

// Every status in order, for the usage text and the documentation.
QList<ExitStatus> allExitStatuses();
