#pragma once

#include "install/exitstatus.h"
#include "install/installlists.h"
#include "platform/process/processservices.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <cstdint>
#include <optional>
#include <span>

class Registry;
class RemoteApi;
class TickSource;

// What the install run reaches outside the program. No message boxes: the
// run reports through its result and signals, and whoever drives it (the
// window, or an unattended run) decides how to tell the user.
struct InstallServices
{
    RemoteApi &remoteApi;
    Registry &registry;
    ProcessServices &processes;
    TickSource &ticks;
};

// How one attempt ended, and what the user is to be told when it did not
// run to its end (empty when there is nothing to say). `detail` says it more
// exactly for a log or a script, where the window's message stays general
// (empty when the message says it all).
struct InstallOutcome
{
    InstallOutcome() = default;
    InstallOutcome(ExitStatus status, const QString &message, const QString &detail = QString())
        : status(status), message(message), detail(detail)
    {
    }

    ExitStatus status = ExitStatus::Success;
    QString message;
    QString detail;
};

// The install sequence that Next on the ready page starts: the device probe,
// the registry lookup, the INI check and the runs of the application manager
// with the list's pauses. The window and the unattended run both drive this
// one object. run() returns when the attempt is over; meanwhile the waits
// hand control to the event loop, so the caller stays responsive.
class InstallRun : public QObject
{
    Q_OBJECT

public:
    enum class Mode { Install, Check };

    // The pause counts the ticks of `pauseTimer` that pauseTick() is given;
    // without one the run makes its own one-second timer from the tick source.
    explicit InstallRun(const InstallServices &services, QTimer *pauseTimer = nullptr, QObject *parent = nullptr);

    // One attempt with the chosen lists (A before B). In Check mode it stops
    // before the first run and reports the command lines instead (none when
    // it was asked to stop by then). A call made
    // while an attempt is under way, or after abandon(), is refused with a
    // message. A stop request holds until the attempt it stopped is over.
    InstallOutcome run(bool listA, bool listB, Mode mode = Mode::Install);
    bool isRunning() const { return m_running; }
    // Whether the application manager has ever been started, by any attempt:
    // a run that could not start does not count.
    bool hasStartedARun() const { return m_anyRunStarted; }

    // Stop after the run in progress (a pause in progress ends at once); a
    // request made between attempts stops the next one before its first run.
    void requestStop();
    // Stop waiting at once, for good; a run in progress goes on without us.
    void abandon();

    // The two waits. LaunchAndWait returns when the process has ended (or
    // the run was abandoned); false, with the reason, when it could not start
    // or ended by a signal or an exception. `end` learns how it ended, if it
    // was seen to end. PauseTicks returns after `ticks`
    // ticks of the pause timer (at least one), or when stopped.
    bool LaunchAndWait(const LaunchCommand &command, QString *error, std::optional<ProcessEnd> *end = nullptr);
    void PauseTicks(int ticks);
    // One tick of the pause timer: counted, and the pause ends at its target.
    void pauseTick();
    // The ticks counted in the pause in progress, or in the last one, and
    // what it counts to.
    int16_t pauseTickCount() const { return m_pauseTickCount; }
    int16_t pauseTickTarget() const { return m_pauseTickTarget; }

signals:
    // An attempt begins (not for a refused call).
    void attemptStarted(bool listA, bool listB, InstallRun::Mode mode);
    void deviceFound(const QString &version);
    // The device is there and a list is chosen: the installing look begins.
    void installing();
    void managerFound(const QString &path);
    // Every INI file is in place; the runs begin.
    void kitReady();
    // The manager's process for this run exists; runNotStarted instead when
    // it could not be started.
    void runStarted(int number, int count, const QString &iniFile, const QString &commandLine);
    void runEnded(int number, int count, const QString &iniFile, const ProcessEnd &end, qint64 elapsedMs);
    void runNotStarted(int number, int count, const QString &iniFile, const QString &reason);
    void pauseStarted(int ticks, qint64 lengthMs);
    // Check mode: a run that would be made.
    void runPlanned(int number, int count, const QString &commandLine);
    // How an attempt ended, as run() returns it (not for a refused call).
    void attemptEnded(const InstallOutcome &outcome, InstallRun::Mode mode);

private:
    InstallOutcome attempt(bool listA, bool listB, Mode mode);
    InstallOutcome runLists(std::span<const InstallList *const> lists, const QString &managerPath,
                            const QString &installDir, Mode mode);
    std::optional<InstallOutcome> checkKit(std::span<const InstallList *const> lists,
                                           const QString &installDir) const;
    InstallOutcome stopped(int runsMade, int count, const QString &lastIniFile) const;
    InstallOutcome refused() const;
    QString whyManagerUnusable(const QString &managerPath) const;
    bool waitFor(LaunchedProcess &process, QString *error, std::optional<ProcessEnd> *end);
    void waitForEvents();

    InstallServices m_services;
    QTimer *m_pauseTimer;
    int16_t m_pauseTickCount = 0;
    int16_t m_pauseTickTarget = 0;
    // Keeps a wait from sleeping for ever on a wake-up that never came.
    QTimer m_heartbeat;
    bool m_running = false;
    bool m_anyRunStarted = false;
    bool m_stopRequested = false;
    bool m_abandoned = false;
};
