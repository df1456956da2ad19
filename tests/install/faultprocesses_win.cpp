#include "faultprocesses.h"

#include "windowschild/windowschild.h"

#include <QDir>
#include <QFile>

#include <qt_windows.h>

namespace {

// A copy of the test child as the current folder's manager, told by the file
// "end" how to end.
QString writeChild(const QByteArray &plan)
{
    const QString path = QDir::current().filePath(QStringLiteral("manager.exe"));
    QFile::remove(path);
    QFile end(QStringLiteral("end"));
    if (!QFile::copy(windowsChildPath(), path) || !end.open(QIODevice::WriteOnly)
        || end.write(plan + '\n') < 0) {
        return QString();
    }
    return path;
}

} // namespace

namespace FaultProcesses {

QString writeFailingManager(int failingRun, const QByteArray &end)
{
    return writeChild(QByteArray::number(failingRun) + ' ' + end);
}

QString writeSlowManager()
{
    return writeChild("1 work");
}

bool adoptOrphans()
{
    // Windows keeps no parent-child bond to take over: anyone may wait for
    // any process it can open.
    return true;
}

bool isGone(qint64 pid)
{
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, DWORD(pid));
    if (!process)
        return true;
    CloseHandle(process);
    return false;
}

void ignoreChildEnds()
{
}

bool isRunning(qint64 pid)
{
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, DWORD(pid));
    if (!process)
        return false;
    const bool running = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    CloseHandle(process);
    return running;
}

bool waitForCleanEnd(qint64 pid, int timeoutMs)
{
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, DWORD(pid));
    if (!process)
        return false;
    DWORD code = 1;
    const bool ended = WaitForSingleObject(process, DWORD(timeoutMs)) == WAIT_OBJECT_0
        && GetExitCodeProcess(process, &code);
    CloseHandle(process);
    return ended && code == 0;
}

} // namespace FaultProcesses
