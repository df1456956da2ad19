#include "platform/stopsignals.h"

#include <atomic>

#include <qt_windows.h>

namespace {

// The console calls its handler on a thread of its own, with no object.
std::atomic<StopSignals *> receiver{nullptr};

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

BOOL WINAPI onConsoleEvent(DWORD type)
{
    StopSignals *target = receiver.load();
    if (!target || (type != CTRL_C_EVENT && type != CTRL_BREAK_EVENT && type != CTRL_CLOSE_EVENT))
        return FALSE;
    const QString name = eventName(type);
    // Handed to the object's own thread; nothing else is done here.
    QMetaObject::invokeMethod(target, [target, name] { emit target->received(name); }, Qt::QueuedConnection);
    return TRUE;
}

} // namespace

StopSignals::StopSignals(QObject *parent) : QObject(parent)
{
    receiver.store(this);
    SetConsoleCtrlHandler(onConsoleEvent, TRUE);
}

StopSignals::~StopSignals()
{
    SetConsoleCtrlHandler(onConsoleEvent, FALSE);
    receiver.store(nullptr);
}

void StopSignals::readPending()
{
}
