// Next on the ready page, and the unattended run: check for the handheld,
// find the application manager, check the kit and run the manager once per
// INI file of the chosen list, with the list's pauses between the runs.
#include "install/installrun.h"

#include "device/module1.h"
#include "install/launchcommand.h"
#include "platform/text/messagetext.h"
#include "platform/registry/registry.h"
#include "platform/time/ticksource.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QScopeGuard>
#include <QScopedValueRollback>
#include <QTimer>

#include <algorithm>
#include <vector>

namespace {
const QString AppManagerKey =
    QStringLiteral("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\CEAPPMGR.EXE");

// Runs the heartbeat, where there is one, for as long as the outermost wait
// lasts.
class Heartbeat
{
public:
    explicit Heartbeat(QTimer &timer) : m_timer(timer), m_started(timer.interval() > 0 && !timer.isActive())
    {
        if (m_started)
            m_timer.start();
    }
    ~Heartbeat()
    {
        if (m_started)
            m_timer.stop();
    }
    Q_DISABLE_COPY_MOVE(Heartbeat)

private:
    QTimer &m_timer;
    const bool m_started;
};
} // namespace

InstallRun::InstallRun(const InstallServices &services, QTimer *pauseTimer, QObject *parent)
    : QObject(parent), m_services(services), m_pauseTimer(pauseTimer)
{
    if (!m_pauseTimer) {
        m_pauseTimer = m_services.ticks.createTimer(std::chrono::seconds(1), this);
        connect(m_pauseTimer, &QTimer::timeout, this, &InstallRun::pauseTick);
    }
    // Where the system's wake-ups cannot be trusted, a slow, coarse beat
    // bounds the delay a lost one can cause.
    m_heartbeat.setTimerType(Qt::CoarseTimer);
    m_heartbeat.setInterval(waitHeartbeatInterval());
}

InstallOutcome InstallRun::run(bool listA, bool listB, Mode mode)
{
    // The caller's disabled buttons are not the only guard: nothing may start
    // a second attempt while one is under way.
    if (m_running || m_abandoned)
        return refused();
    emit attemptStarted(listA, listB, mode);
    const InstallOutcome outcome = attempt(listA, listB, mode);
    emit attemptEnded(outcome, mode);
    return outcome;
}

InstallOutcome InstallRun::attempt(bool listA, bool listB, Mode mode)
{
    QScopedValueRollback running(m_running, true);
    // Each attempt starts afresh: a stop it was given ends with it.
    const auto forgetStop = qScopeGuard([this] { m_stopRequested = false; });

    const Module1::Probe probe = Module1::ProbeDevice(m_services.remoteApi);
    // Nothing is known of the library or a handheld yet: the message says
    // what is wrong, with a status that does not tell fleets to give up.
    if (probe.noTemporaryFolder)
        return {ExitStatus::Usage, probe.libraryProblem};
    if (probe.version.isEmpty()) {
        // The window says what it always says; a script learns that waiting
        // for a handheld will not help.
        const QString noDevice =
            tr("No mobile device connected. Connect the Pocket PC to your host Computer and click Next.");
        if (!probe.libraryProblem.isEmpty())
            return {ExitStatus::NoRemoteApi, noDevice, probe.libraryProblem};
        return {ExitStatus::NoDevice, noDevice};
    }
    emit deviceFound(probe.version);

    if (!listA && !listB) {
        return {ExitStatus::Usage, tr("No Pocket PC version has been chosen, so there is nothing to install. "
                                      "Click Back and choose your Pocket PC version.")};
    }
    emit installing();

    const QString installDir = m_services.processes.currentDirectory();
    QString whyNoManager;
    const QString managerPath =
        m_services.registry.defaultValue(Registry::LocalMachine, AppManagerKey, &whyNoManager).value_or(QString());
    if (managerProgram(managerPath).isEmpty() && whyNoManager.isEmpty())
        whyNoManager = tr("The registry has no path for it under HKEY_LOCAL_MACHINE\\%1.").arg(AppManagerKey);
    if (whyNoManager.isEmpty())
        whyNoManager = whyManagerUnusable(managerPath);
    if (!whyNoManager.isEmpty()) {
        return {ExitStatus::NoManager,
                tr("Setup cannot find the Pocket PC application manager (CEAPPMGR.EXE). %1\n\n"
                   "Install the desktop synchronisation software or correct its registry entry, then click Next.")
                    .arg(whyNoManager)};
    }
    emit managerFound(managerPath);

    // The platform choice as it stands now: nothing done during the run may
    // add a list to it.
    std::vector<const InstallList *> lists;
    if (listA)
        lists.push_back(&ListA);
    if (listB)
        lists.push_back(&ListB);
    if (std::optional<InstallOutcome> problem = checkKit(lists, installDir))
        return *problem;
    emit kitReady();

    return runLists(lists, managerPath, installDir, mode);
}

// Judged before anything runs, so that a wrong registry value is reported as
// such and never started relative to the kit folder.
QString InstallRun::whyManagerUnusable(const QString &managerPath) const
{
    const QString path = quoteForMessage(managerProgram(managerPath));
    switch (m_services.processes.checkProgram(managerProgram(managerPath))) {
    case ProgramCheck::Runnable:
        return QString();
    case ProgramCheck::NotAbsolute:
        return tr("The registry names \"%1\", which is not a full path.").arg(path);
    case ProgramCheck::Missing:
        return tr("The registry names \"%1\", which does not exist.").arg(path);
    case ProgramCheck::NotRegularFile:
        return tr("The registry names \"%1\", which is not a program file.").arg(path);
    case ProgramCheck::NotExecutable:
        return tr("The registry names \"%1\", which may not be run (it is not executable).").arg(path);
    }
    return QString();
}

// The manager is not trusted to say that it found nothing to install: every
// INI file must be there, at exactly the path it will be given.
std::optional<InstallOutcome> InstallRun::checkKit(std::span<const InstallList *const> lists,
                                                   const QString &installDir) const
{
    if (!installDir.isEmpty() && !m_services.processes.canPassOn(installDir)) {
        return InstallOutcome{
            ExitStatus::KitIncomplete,
            tr("Setup cannot hand the installation files in the folder %1 on to the application manager: "
               "the folder's name has characters that cannot be passed on.\n\n"
               "Move the installation files to a folder with a plainer name and start Setup there.")
                .arg(quoteForMessage(installDir))};
    }
    QStringList missing;
    for (const InstallList *list : lists) {
        for (const InstallStep &step : *list) {
            // A deleted folder has no path left to look in: never the root.
            if (installDir.isEmpty() || !m_services.processes.isReadableFile(iniFilePath(installDir, step.iniName)))
                missing << step.iniName.sliced(1);
        }
    }
    missing.removeDuplicates();
    if (missing.isEmpty())
        return std::nullopt;
    // A deleted folder has no name left to show.
    const QString folder = installDir.isEmpty()
        ? tr("(the current folder, which no longer exists or cannot be read)")
        : quoteForMessage(installDir);
    return InstallOutcome{ExitStatus::KitIncomplete,
                          tr("Setup cannot find these installation files in the folder %1:\n%2\n\n"
                             "Start Setup from the folder that holds its installation files.",
                             nullptr, int(missing.size()))
                              .arg(folder, missing.join(QLatin1Char('\n')))};
}

InstallOutcome InstallRun::runLists(std::span<const InstallList *const> lists, const QString &managerPath,
                                    const QString &installDir, Mode mode)
{
    int count = 0;
    for (const InstallList *list : lists)
        count += int(list->size());
    if (mode == Mode::Check) {
        // A stop asked for while checking: no "ready" for a check cut short.
        QCoreApplication::processEvents();
        if (m_abandoned || m_stopRequested)
            return stopped(0, count, QString());
    }

    int number = 0;
    QString lastIniFile;
    for (const InstallList *list : lists) {
        for (const InstallStep &step : *list) {
            ++number;
            const LaunchCommand command = buildLaunchCommand(managerPath, installDir, step.iniName);
            if (mode == Mode::Check) {
                emit runPlanned(number, count, command.commandLine);
                continue;
            }
            // A stop asked for since the last wait (a signal that came during
            // the probe, say) is seen before the next run starts, not after.
            QCoreApplication::processEvents();
            if (m_abandoned || m_stopRequested)
                return stopped(number - 1, count, lastIniFile);

            const QString iniFile = step.iniName.sliced(1);
            QElapsedTimer clock;
            clock.start();
            QString error;
            std::optional<ProcessEnd> end;
            bool completed = false;
            if (const std::unique_ptr<LaunchedProcess> process = m_services.processes.start(command, &error)) {
                // Counted as made only now that it exists.
                lastIniFile = iniFile;
                m_anyRunStarted = true;
                emit runStarted(number, count, iniFile, command.commandLine);
                completed = waitFor(*process, &error, &end);
                if (m_abandoned)
                    return stopped(number, count, iniFile);
                emit runEnded(number, count, iniFile, *end, clock.elapsed());
            } else {
                emit runNotStarted(number, count, iniFile, error);
            }
            if (!completed) {
                return {ExitStatus::RunFailed,
                        tr("The application manager did not complete its run for %1:\n%2\n\n"
                           "Check the application manager, then click Next to start again.")
                            .arg(iniFile, error)};
            }
            if (step.pauseTicks && !m_stopRequested) {
                emit pauseStarted(*step.pauseTicks, qint64(std::max(*step.pauseTicks, 1)) * m_pauseTimer->interval());
                PauseTicks(*step.pauseTicks);
            }
        }
    }
    return {};
}

InstallOutcome InstallRun::stopped(int runsMade, int count, const QString &lastIniFile) const
{
    if (runsMade == 0)
        return {ExitStatus::CancelledBeforeRuns, tr("Setup was stopped before its first run; nothing was installed.")};
    return {ExitStatus::StoppedAfterRuns,
            tr("Setup was stopped after run %1 of %2 (%3); the handheld may be partly set up.")
                .arg(runsMade)
                .arg(count)
                .arg(lastIniFile)};
}

InstallOutcome InstallRun::refused() const
{
    if (m_abandoned) {
        return {m_anyRunStarted ? ExitStatus::StoppedAfterRuns : ExitStatus::CancelledBeforeRuns,
                tr("Setup has been closed; nothing more is installed.")};
    }
    return {ExitStatus::RunFailed,
            tr("Setup is already installing; a second install cannot start until the first has ended.")};
}

void InstallRun::requestStop()
{
    m_stopRequested = true;
    // A pause is only time given to the handheld: it ends now.
    m_pauseTimer->stop();
}

void InstallRun::abandon()
{
    m_abandoned = true;
    m_pauseTimer->stop();
}

void InstallRun::waitForEvents()
{
    // One pass of the event loop that sleeps until something happens (a
    // tick, the end of a process, input) instead of spinning a core.
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

bool InstallRun::LaunchAndWait(const LaunchCommand &command, QString *error, std::optional<ProcessEnd> *end)
{
    const std::unique_ptr<LaunchedProcess> process = m_services.processes.start(command, error);
    return process && waitFor(*process, error, end);
}

bool InstallRun::waitFor(LaunchedProcess &process, QString *error, std::optional<ProcessEnd> *end)
{
    // Waits for the process's real end, whatever exit code it leaves. If the
    // run is abandoned meanwhile the wait stops; the process runs on.
    const Heartbeat heartbeat(m_heartbeat);
    do {
        waitForEvents();
    } while (!process.hasEnded() && !m_abandoned);
    if (m_abandoned)
        return true;
    if (end)
        *end = process.howEnded();
    // Exit codes are not judged, but a run ended by a signal or an exception
    // has not done its work.
    if (process.howEnded().isAbnormal()) {
        if (error)
            *error = process.howEnded().description();
        return false;
    }
    return true;
}

void InstallRun::PauseTicks(int ticks)
{
    m_pauseTickTarget = static_cast<int16_t>(ticks);
    m_pauseTickCount = 0;
    m_pauseTimer->start();
    const Heartbeat heartbeat(m_heartbeat);
    do {
        waitForEvents();
    } while (m_pauseTimer->isActive() && !m_abandoned && !m_stopRequested);
}

void InstallRun::pauseTick()
{
    ++m_pauseTickCount;
    if (m_pauseTickCount >= m_pauseTickTarget)
        m_pauseTimer->stop();
}
