#include "faultprocesses.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QThread>

#ifdef Q_OS_LINUX
#include <sys/prctl.h>
#endif
#include <csignal>
#include <sys/wait.h>

namespace {

QString writeScript(const QByteArray &body)
{
    const QString path = QDir::current().filePath(QStringLiteral("manager"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write("#!/bin/sh\n" + body) < 0
        || !file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner)) {
        return QString();
    }
    return path;
}

} // namespace

namespace FaultProcesses {

QString writeFailingManager(int failingRun, const QByteArray &end)
{
    return writeScript("n=$(($(cat runs 2>/dev/null || echo 0) + 1)); echo $n > runs; ulimit -c 0\n[ $n = "
                       + QByteArray::number(failingRun) + " ] && [ ! -e mended ] && " + end + "\nexit 0\n");
}

QString writeSlowManager()
{
    return writeScript("echo $$ > pid.tmp && mv pid.tmp pid\nwhile [ ! -e finish ]; do sleep 0.05; done\n"
                       "echo done > done\n");
}

bool adoptOrphans()
{
#ifdef Q_OS_LINUX
    return prctl(PR_SET_CHILD_SUBREAPER, 1) == 0;
#else
    return false;
#endif
}

bool isGone(qint64 pid)
{
    return !QFile::exists(QStringLiteral("/proc/%1").arg(pid));
}

void ignoreChildEnds()
{
    ::signal(SIGCHLD, SIG_IGN);
}

bool isRunning(qint64 pid)
{
    // Asked without reaping it.
    siginfo_t info{};
    return ::waitid(P_PID, id_t(pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid == 0;
}

bool waitForCleanEnd(qint64 pid, int timeoutMs)
{
    siginfo_t info{};
    const QDeadlineTimer deadline(timeoutMs);
    while (::waitid(P_PID, id_t(pid), &info, WEXITED | WNOHANG) == 0 && info.si_pid == 0 && !deadline.hasExpired())
        QThread::msleep(10);
    return info.si_pid == pid && info.si_code == CLD_EXITED && info.si_status == 0;
}

} // namespace FaultProcesses
