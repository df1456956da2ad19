#include "platform/childprocess.h"

#include "platform/messageboxes.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <algorithm>

#ifdef Q_OS_WIN
#include <QWinEventNotifier>
#include <qt_windows.h>
#else
#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>
extern char **environ;
#endif

namespace {

// Well inside the 10 ms in which an end must be noticed, and still next to no
// CPU time.
constexpr int PollIntervalMs = 5;

QString cannotStart(const QString &program, const QString &reason)
{
    return QCoreApplication::translate("SystemProcessServices", "The program \"%1\" could not be started: %2.")
        .arg(elideForMessage(program), reason);
}

} // namespace

QString ProcessEnd::description() const
{
    switch (kind) {
    case Kind::Signal:
        return QCoreApplication::translate("SystemProcessServices", "The run ended by signal %1.").arg(code);
    case Kind::Exception:
        return QCoreApplication::translate("SystemProcessServices", "The run ended with exception 0x%1.")
            .arg(QString::number(code, 16).toUpper().rightJustified(8, QLatin1Char('0')));
    case Kind::Exited:
        break;
    }
    return QCoreApplication::translate("SystemProcessServices", "The run ended with exit code %1.").arg(code);
}

ProcessEnd ProcessEnd::fromWindowsExitCode(uint32_t code)
{
    return {code >= 0xC0000000u ? Kind::Exception : Kind::Exited, code};
}

ChildProcess::ChildProcess(qint64 pid, QObject *parent) : LaunchedProcess(parent), m_pid(pid)
{
    m_pollTimer.setTimerType(Qt::PreciseTimer);
    m_pollTimer.setInterval(PollIntervalMs);
    connect(&m_pollTimer, &QTimer::timeout, this, &ChildProcess::checkEnd);
}

std::unique_ptr<ChildProcess> ChildProcess::start(const LaunchCommand &command, Watch watch, QString *error)
{
    const auto fail = [&](const QString &reason) {
        if (error)
            *error = cannotStart(command.program, reason);
        return nullptr;
    };
    // The system would end the text at the NUL and start whatever the part
    // before it names.
    const auto holdsNul = [](const QString &text) { return text.contains(QChar(0)); };
    if (holdsNul(command.program) || std::any_of(command.arguments.begin(), command.arguments.end(), holdsNul))
        return fail(QCoreApplication::translate("SystemProcessServices", "its path holds a NUL character"));

#ifdef Q_OS_WIN
    Q_UNUSED(watch)
    // The application named is the program itself; the process gets exactly
    // our command line.
    const QString program = QDir::toNativeSeparators(command.program);
    QString commandLine = command.commandLine; // CreateProcessW may write into it
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION created{};
    if (!CreateProcessW(reinterpret_cast<const wchar_t *>(program.utf16()),
                        reinterpret_cast<wchar_t *>(commandLine.data()), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &created)) {
        return fail(qt_error_string(int(GetLastError())));
    }
    CloseHandle(created.hThread);
    std::unique_ptr<ChildProcess> child(new ChildProcess(qint64(created.dwProcessId), nullptr));
    child->m_handle = created.hProcess;
    child->m_notifier = new QWinEventNotifier(created.hProcess, child.get());
    connect(child->m_notifier, &QWinEventNotifier::activated, child.get(), &ChildProcess::checkEnd);
    return child;
#else
    QByteArray program = QFile::encodeName(command.program);
    QList<QByteArray> arguments{program};
    for (const QString &argument : command.arguments)
        arguments << QFile::encodeName(argument);
    std::vector<char *> argv;
    for (QByteArray &argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    // Terminal input is not the program's to take, least of all once the
    // wizard has ended; its output goes where the wizard's goes.
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t mask;
    sigemptyset(&mask);
    posix_spawnattr_setsigmask(&attributes, &mask);
    sigfillset(&mask);
    posix_spawnattr_setsigdefault(&attributes, &mask);
    short flags = POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF;
#ifdef POSIX_SPAWN_SETSID
    // A session of its own: a hang-up or Ctrl+C meant for the wizard's
    // terminal does not end the run.
    flags |= POSIX_SPAWN_SETSID;
#endif
    posix_spawnattr_setflags(&attributes, flags);

    pid_t pid = 0;
    const int failure = posix_spawn(&pid, program.constData(), &actions, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (failure != 0)
        return fail(qt_error_string(failure));

    std::unique_ptr<ChildProcess> child(new ChildProcess(pid, nullptr));
    int pidfd = -1;
#if defined(Q_OS_LINUX) && defined(SYS_pidfd_open)
    // Our own child, not yet reaped: its id cannot name another process.
    if (watch == Watch::Native)
        pidfd = int(::syscall(SYS_pidfd_open, pid, 0));
#else
    Q_UNUSED(watch)
#endif
    child->watchPidfd(pidfd);
    return child;
#endif
}

#ifndef Q_OS_WIN
void ChildProcess::watchPidfd(int pidfd)
{
    m_pidfd = pidfd;
    if (pidfd < 0) {
        m_pollTimer.start();
        return;
    }
    // The pidfd turns readable when the child ends.
    m_notifier = new QSocketNotifier(pidfd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &ChildProcess::checkEnd);
}
#endif

ChildProcess::~ChildProcess()
{
    // The notifier goes before the handle it watches.
    delete m_notifier;
#ifdef Q_OS_WIN
    if (m_handle)
        CloseHandle(m_handle);
#else
    // A run that outlives its watcher must still be reaped when it ends, or it
    // lingers as a zombie for as long as the wizard runs on. An heir watches
    // it for the rest of the program; once the program has ended, the system
    // adopts and reaps it.
    QCoreApplication *app = QCoreApplication::instance();
    if (!m_ended && app && app->thread() == thread()) {
        auto *heir = new ChildProcess(m_pid, app);
        connect(heir, &LaunchedProcess::ended, heir, &QObject::deleteLater);
        heir->watchPidfd(std::exchange(m_pidfd, -1));
    }
    if (m_pidfd >= 0)
        ::close(m_pidfd);
#endif
}

void ChildProcess::checkEnd()
{
    if (m_ended)
        return;
#ifdef Q_OS_WIN
    DWORD code = 0;
    GetExitCodeProcess(m_handle, &code);
    noticeEnd(ProcessEnd::fromWindowsExitCode(code));
#else
    siginfo_t info{};
    if (::waitid(P_PID, id_t(m_pid), &info, WEXITED | WNOHANG) == -1) {
        if (errno == EINTR)
            return; // asked again on the next wake-up
        // Reaped elsewhere (SIGCHLD ignored, say): how it ended is unknown and
        // not held against it.
        noticeEnd({});
        return;
    }
    if (info.si_pid == 0)
        return; // still running
    if (info.si_code == CLD_KILLED || info.si_code == CLD_DUMPED)
        noticeEnd({ProcessEnd::Kind::Signal, uint32_t(info.si_status)});
    else
        noticeEnd({ProcessEnd::Kind::Exited, uint32_t(info.si_status)});
#endif
}

void ChildProcess::noticeEnd(ProcessEnd end)
{
    m_ended = true;
    m_end = end;
    m_pollTimer.stop();
    if (m_notifier)
        m_notifier->setEnabled(false);
    // Last: a receiver may destroy this object.
    emit ended();
}
