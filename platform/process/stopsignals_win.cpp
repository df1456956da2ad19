#include "platform/process/stopsignals.h"

#include <QMetaObject>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include <qt_windows.h>

namespace {

// The console calls its handler on a thread of its own, with no object. The
// receiver is used only under the lock, so that it cannot be destroyed in
// between.
std::mutex receiverLock;
StopSignals *receiver = nullptr;
std::atomic<int> unhandled{0};
// Before an object is made: every request ends the program at once.
std::atomic<bool> atOnceUntilMade{false};
bool registered = false;
std::atomic<int> atOnceStatus{1};
std::atomic<int> finalStatus{0};
char atOnceLine[512];
DWORD atOnceLength = 0;
// Set once the last line is written; made once and kept for the program's life,
// as a handler may still wait on it while the object goes.
HANDLE released = nullptr;

constexpr DWORD CloseWaitMs = 4000; // the system ends the program after 5 s

QString eventName(DWORD type)
{
    switch (type) {
    case CTRL_C_EVENT:
        return QStringLiteral("Ctrl+C");
    case CTRL_BREAK_EVENT:
        return QStringLiteral("Ctrl+Break");
    case CTRL_CLOSE_EVENT:
        return QStringLiteral("console close");
    }
    return QStringLiteral("console event %1").arg(type);
}

constexpr DWORD AtOnceWriteMs = 500;

DWORD WINAPI writeAtOnceLine(void *)
{
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_ERROR_HANDLE), atOnceLine, atOnceLength, &written, nullptr);
    return 0;
}

[[noreturn]] void exitAtOnce()
{
    // The line is written on a thread of its own, given a moment: standard
    // error may be the full pipe or the held console that the program is
    // stuck on, and a blocked write must not keep it from ending.
    const HANDLE writer = CreateThread(nullptr, 0, writeAtOnceLine, nullptr, 0, nullptr);
    if (writer)
        WaitForSingleObject(writer, AtOnceWriteMs);
    // Ends every thread where it stands, the blocked writer's too, and runs
    // no library's detach code: the main thread may have been stopped in the
    // middle of a call that holds their locks.
    TerminateProcess(GetCurrentProcess(), UINT(atOnceStatus.load()));
    std::_Exit(atOnceStatus.load());
}

BOOL WINAPI onConsoleEvent(DWORD type)
{
    if (type != CTRL_C_EVENT && type != CTRL_BREAK_EVENT && type != CTRL_CLOSE_EVENT)
        return FALSE;
    const bool final = type == CTRL_CLOSE_EVENT;
    {
        const std::lock_guard lock(receiverLock);
        StopSignals *target = receiver;
        if (!target && atOnceUntilMade.load())
            exitAtOnce();
        if (!target)
            return FALSE;
        // The event loop has not taken the last request yet: it is held up,
        // and only this thread can end the program now.
        if (unhandled.fetch_add(1) > 0)
            exitAtOnce();
        // Handed to the object's own thread; nothing else is done here.
        const QString name = eventName(type);
        QMetaObject::invokeMethod(
            target,
            [target, name, final] {
                emit target->received(name, final);
                unhandled.fetch_sub(1);
            },
            Qt::QueuedConnection);
    }
    if (!final)
        return TRUE;
    // Windows ends the program as soon as this returns: the run is given the
    // time to write its result, and the program ends with its status.
    if (WaitForSingleObject(released, CloseWaitMs) == WAIT_OBJECT_0)
        std::_Exit(finalStatus.load());
    exitAtOnce();
}

void setAtOnce(const QByteArray &line, int status)
{
    atOnceLength = DWORD(std::min(size_t(line.size()), sizeof atOnceLine));
    std::memcpy(atOnceLine, line.constData(), atOnceLength);
    atOnceStatus.store(status);
}

void registerHandler()
{
    if (!registered)
        registered = SetConsoleCtrlHandler(onConsoleEvent, TRUE);
}

} // namespace

void StopSignals::endAtOnceUntilMade(const QByteArray &line, int status)
{
    setAtOnce(line, status);
    atOnceUntilMade.store(true);
    registerHandler();
}

StopSignals::StopSignals(const QByteArray &line, int status, QObject *parent) : QObject(parent)
{
    setAtOnce(line, status);
    unhandled.store(0);
    if (!released)
        released = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ResetEvent(released);
    {
        const std::lock_guard lock(receiverLock);
        receiver = this;
    }
    registerHandler();
}

StopSignals::~StopSignals()
{
    SetConsoleCtrlHandler(onConsoleEvent, FALSE);
    registered = false;
    atOnceUntilMade.store(false);
    const std::lock_guard lock(receiverLock);
    receiver = nullptr;
}

void StopSignals::setAtOnceStatus(int status)
{
    atOnceStatus.store(status);
}

void StopSignals::release(int status)
{
    finalStatus.store(status);
    SetEvent(released);
}

void StopSignals::readPending()
{
}
