#include "platform/process/childprocess.h"

#include "platform/text/systemnames.h"
#include "platform/text/systemtexts.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace {

constexpr int StandardCount = STDERR_FILENO + 1;

[[maybe_unused]] void closeOnExecAboveStandard()
{
    // Where the child cannot be told to close them, every descriptor above
    // the standard three is marked to close on exec instead.
    const long limit = ::sysconf(_SC_OPEN_MAX);
    for (int fd = StandardCount; fd < (limit > 0 ? std::min(limit, 65536L) : 1024L); ++fd) {
        const int flags = ::fcntl(fd, F_GETFD);
        if (flags >= 0 && !(flags & FD_CLOEXEC))
            ::fcntl(fd, F_SETFD, flags | FD_CLOEXEC);
    }
}

// The keeper's life, in a process forked from a program that may have other
// threads: nothing but calls that are safe after such a fork. It leaves the
// wizard's session, terminal, folder and descriptors (a reader of the
// wizard's output sees its end when the wizard ends), keeps `kept` and waits
// for process `pid` to end.
[[noreturn]] void keep(int kept, int pidfd, pid_t pid)
{
    ::setsid();
    [[maybe_unused]] const int rootFolder = ::chdir("/");
    struct sigaction action{};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    for (const int number : {SIGINT, SIGTERM, SIGHUP, SIGPIPE})
        ::sigaction(number, &action, nullptr);
    ::sigprocmask(SIG_SETMASK, &action.sa_mask, nullptr);
    // Every descriptor but these two: one call for each stretch where the
    // system has close_range (5.9), whatever the limit, else one by one up
    // to the first 65536.
    const int low = std::min(kept, pidfd < 0 ? kept : pidfd);
    const int high = std::max(kept, pidfd);
    const int stretches[][2] = {{0, low - 1}, {low + 1, high - 1}, {high + 1, INT_MAX}};
    for (const auto &stretch : stretches) {
        if (stretch[0] > stretch[1])
            continue;
#ifdef SYS_close_range
        if (::syscall(SYS_close_range, unsigned(stretch[0]), unsigned(stretch[1]), 0u) == 0)
            continue;
#endif
        for (int fd = stretch[0]; fd <= std::min(stretch[1], 65535); ++fd)
            ::close(fd);
    }
    if (pidfd >= 0) {
        pollfd ended{pidfd, POLLIN, 0};
        while (::poll(&ended, 1, -1) < 0 && errno == EINTR) {
        }
    } else {
        // No pidfd (a kernel before 5.3): asked every 50 ms. Reaped by the
        // wizard or, once it has gone, by the system; its number is then free
        // again, which at worst keeps the lock until another program of that
        // number ends.
        const timespec pause{0, 50 * 1000 * 1000};
        while (::kill(pid, 0) == 0 || errno == EPERM)
            ::nanosleep(&pause, nullptr);
    }
    ::_exit(0);
}

// Starts the keeper of `kept` for process `pid`, our child that has just been
// started: forked twice, so that the system, not the wizard, reaps it, and it
// is nobody's to wait for. The wizard may be killed between the start and
// this fork (a moment): the lock then goes with the wizard.
void keepWhileRunning(int kept, pid_t pid)
{
    // Our own child, not yet reaped: its number cannot be another's.
    int pidfd = -1;
#ifdef SYS_pidfd_open
    pidfd = int(::syscall(SYS_pidfd_open, pid, 0));
#endif
    const pid_t middle = ::fork();
    if (middle == 0) {
        if (::fork() == 0)
            keep(kept, pidfd, pid);
        ::_exit(0);
    }
    if (middle > 0) {
        while (::waitpid(middle, nullptr, 0) < 0 && errno == EINTR) {
        }
    }
    if (pidfd >= 0)
        ::close(pidfd);
}

} // namespace

void SystemProcessServices::takeChildEndsBack()
{
    struct sigaction action{};
    action.sa_handler = SIG_DFL; // also clears SA_NOCLDWAIT
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGCHLD, &action, nullptr);
}

bool ChildProcess::isFullPath(const QString &program)
{
    return program.startsWith(QLatin1Char('/'));
}

bool ChildProcess::mayRun(const QString &program)
{
    return ::access(systemName(program).constData(), X_OK) == 0;
}

std::unique_ptr<ChildProcess> ChildProcess::start(const LaunchCommand &command, Watch watch, QString *error)
{
    const auto fail = [&](const QString &reason) {
        if (error)
            *error = cannotStart(command.program, reason);
        return nullptr;
    };
    if (holdsNul(command))
        return fail(nulInPath());

    QByteArray program = systemName(command.program);
    QList<QByteArray> arguments{program};
    for (const QString &argument : command.arguments)
        arguments << systemName(argument);
    std::vector<char *> argv;
    for (QByteArray &argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    // Terminal input is not the program's to take, least of all once the
    // wizard has ended. Nor is the wizard's output its to share: written to
    // a connection that has closed (an SSH session dropped), it would end
    // the run by SIGPIPE, and it would run into the wizard's own lines.
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    // Nothing of the wizard's goes with it, the lock included (see setKept()):
    // a descriptor opened without close-on-exec (by the remote-API library,
    // say) would otherwise live on in a program meant to outlive the wizard,
    // and in whatever that program starts.
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 34))
    posix_spawn_file_actions_addclosefrom_np(&actions, StandardCount);
#else
    closeOnExecAboveStandard();
#endif
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

    // Signals wait until the keeper holds the lock: a second request to stop
    // ends the wizard at once from its handler, which in between would take
    // the lock away from a program that runs on. The keeper, and the process
    // that forks it, also must not run the wizard's handlers.
    sigset_t before;
    sigfillset(&mask);
    ::pthread_sigmask(SIG_BLOCK, &mask, &before);
    pid_t pid = 0;
    const int failure = posix_spawn(&pid, program.constData(), &actions, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (failure == 0 && s_kept >= 0)
        keepWhileRunning(int(s_kept), pid);
    ::pthread_sigmask(SIG_SETMASK, &before, nullptr);
    if (failure != 0)
        return fail(systemErrorText(failure));

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
}

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

ChildProcess::~ChildProcess()
{
    // The notifier goes before the descriptor it watches.
    delete m_notifier;
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
}

void ChildProcess::checkEnd()
{
    if (m_ended)
        return;
    siginfo_t info{};
    if (::waitid(P_PID, id_t(m_pid), &info, WEXITED | WNOHANG) == -1) {
        if (errno == EINTR)
            return; // asked again on the next wake-up
        // Reaped elsewhere (SIGCHLD ignored, say): how it ended is lost, and
        // must not pass for an ordinary end.
        noticeEnd({ProcessEnd::Kind::Unknown, 0});
        return;
    }
    if (info.si_pid == 0)
        return; // still running
    if (info.si_code == CLD_KILLED || info.si_code == CLD_DUMPED)
        noticeEnd({ProcessEnd::Kind::Signal, uint32_t(info.si_status)});
    else
        noticeEnd({ProcessEnd::Kind::Exited, uint32_t(info.si_status)});
}

void ChildProcess::stopWatching()
{
    if (m_notifier)
        m_notifier->setEnabled(false);
}
