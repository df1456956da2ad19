#include "platform/detachedprocess.h"

#ifdef Q_OS_WIN
#include <QWinEventNotifier>
#include <qt_windows.h>
#else
#include <QFile>
#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <sys/syscall.h>
#include <unistd.h>
#endif

namespace {

// Well inside the 10 ms in which an end must be noticed, and still next to no
// CPU time.
constexpr int PollIntervalMs = 5;

#ifndef Q_OS_WIN
// A detached process is adopted by init, so it vanishes once it has ended;
// until init has reaped it, it lingers as a zombie, on some systems for a
// second or more.
bool processHasEnded(pid_t pid)
{
    if (::kill(pid, 0) == -1)
        return errno == ESRCH;
#ifdef Q_OS_LINUX
    // "pid (name) state ...": the name may itself hold parentheses.
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (stat.open(QIODevice::ReadOnly)) {
        const QByteArray line = stat.readAll();
        const qsizetype nameEnd = line.lastIndexOf(')');
        if (nameEnd >= 0 && nameEnd + 2 < line.size())
            return line.at(nameEnd + 2) == 'Z' || line.at(nameEnd + 2) == 'X';
    }
#endif
    return false;
}
#endif

} // namespace

DetachedProcess::DetachedProcess(qint64 pid, Watch watch, QObject *parent)
    : LaunchedProcess(parent), m_pid(pid)
{
    m_pollTimer.setTimerType(Qt::PreciseTimer);
    m_pollTimer.setInterval(PollIntervalMs);
    connect(&m_pollTimer, &QTimer::timeout, this, &DetachedProcess::poll);

    // Without a process id there is nothing to wait for (and kill(0, 0) would
    // ask about our own process group).
    const Outcome outcome = pid <= 0 ? Outcome::Gone
        : watch == Watch::Native     ? watchNatively()
                                     : Outcome::Unavailable;
    if (outcome == Outcome::Gone)
        QMetaObject::invokeMethod(this, &DetachedProcess::noticeEnd, Qt::QueuedConnection);
    else if (outcome == Outcome::Unavailable)
        m_pollTimer.start();
}

DetachedProcess::~DetachedProcess()
{
    // The notifier goes before the handle it watches.
    delete m_notifier;
#ifdef Q_OS_WIN
    if (m_handle)
        CloseHandle(m_handle);
#else
    if (m_pidfd >= 0)
        ::close(m_pidfd);
#endif
}

DetachedProcess::Outcome DetachedProcess::watchNatively()
{
#if defined(Q_OS_WIN)
    HANDLE handle = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, DWORD(m_pid));
    if (!handle)
        return GetLastError() == ERROR_INVALID_PARAMETER ? Outcome::Gone : Outcome::Unavailable;
    m_handle = handle;
    m_notifier = new QWinEventNotifier(handle, this);
    connect(m_notifier, &QWinEventNotifier::activated, this, &DetachedProcess::noticeEnd);
    return Outcome::Watching;
#elif defined(Q_OS_LINUX) && defined(SYS_pidfd_open)
    // The pidfd turns readable when the process ends, zombie or not.
    const int pidfd = int(::syscall(SYS_pidfd_open, pid_t(m_pid), 0));
    if (pidfd < 0)
        return errno == ESRCH ? Outcome::Gone : Outcome::Unavailable;
    m_pidfd = pidfd;
    m_notifier = new QSocketNotifier(pidfd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &DetachedProcess::noticeEnd);
    return Outcome::Watching;
#else
    return Outcome::Unavailable;
#endif
}

void DetachedProcess::poll()
{
#ifdef Q_OS_WIN
    // Access may be granted later; only a vanished process has ended.
    switch (watchNatively()) {
    case Outcome::Watching:
        m_pollTimer.stop();
        break;
    case Outcome::Gone:
        noticeEnd();
        break;
    case Outcome::Unavailable:
        break;
    }
#else
    if (processHasEnded(pid_t(m_pid)))
        noticeEnd();
#endif
}

void DetachedProcess::noticeEnd()
{
    if (m_ended)
        return;
    m_ended = true;
    m_pollTimer.stop();
    if (m_notifier)
        m_notifier->setEnabled(false);
    // Last: a receiver may destroy this object.
    emit ended();
}
