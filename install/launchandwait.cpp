#include "wizard/form1.h"

#include "platform/processservices.h"

bool Form1::LaunchAndWait(const LaunchCommand &command, QString *error)
{
    const std::unique_ptr<LaunchedProcess> process = m_services.processes.start(command, error);
    if (!process)
        return false;
    // Waits for the process's real end, whatever exit code it leaves. If the
    // window is closed meanwhile the wait stops; the process runs on.
    do {
        waitForEvents();
    } while (!process->hasEnded() && !m_unloaded);
    // Exit codes are not judged, but a run ended by a signal or an exception
    // has not done its work.
    if (!m_unloaded && process->howEnded().isAbnormal()) {
        if (error)
            *error = process->howEnded().description();
        return false;
    }
    return true;
}
