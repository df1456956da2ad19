#pragma once

#include "platform/processservices.h"

#include <QTimer>

#ifdef Q_OS_WIN
class QWinEventNotifier;
#else
class QSocketNotifier;
#endif

// A process started detached from the wizard, watched until it ends without
// waiting busily. Destroying the watcher leaves the process running.
class DetachedProcess final : public LaunchedProcess
{
    Q_OBJECT

public:
    // Native: woken by the system when the process ends (a pidfd on Linux, the
    // process handle on Windows), polling only where that is not available.
    // Polling: always poll, every few milliseconds.
    enum class Watch { Native, Polling };

    explicit DetachedProcess(qint64 pid, Watch watch = Watch::Native, QObject *parent = nullptr);
    ~DetachedProcess() override;

    qint64 pid() const { return m_pid; }
    bool hasEnded() const override { return m_ended; }

private:
    enum class Outcome { Watching, Gone, Unavailable };

    Outcome watchNatively();
    void poll();
    void noticeEnd();

#ifdef Q_OS_WIN
    using EndNotifier = QWinEventNotifier;
    void *m_handle = nullptr;
#else
    using EndNotifier = QSocketNotifier;
    int m_pidfd = -1;
#endif

    const qint64 m_pid;
    bool m_ended = false;
    EndNotifier *m_notifier = nullptr;
    QTimer m_pollTimer;
};
