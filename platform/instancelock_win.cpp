#include "platform/instancelock.h"

#include <qt_windows.h>

struct InstanceLock::Handle
{
    explicit Handle(HANDLE mutex) : mutex(mutex) {}
    ~Handle() { CloseHandle(mutex); }
    Handle(const Handle &) = delete;
    Handle &operator=(const Handle &) = delete;
    HANDLE mutex;
};

InstanceLock::InstanceLock(const QString &name)
{
    // Local\: one per logon session, so each desktop has its own. The system
    // closes the handle of a program that ends, however it ends; the mutex
    // goes with the last handle. Never owned: its existence is the lock.
    const std::wstring objectName = (QStringLiteral("Local\\") + name).toStdWString();
    const HANDLE mutex = CreateMutexW(nullptr, FALSE, objectName.c_str());
    const DWORD error = GetLastError();
    if (mutex && error != ERROR_ALREADY_EXISTS) {
        m_handle = std::make_unique<Handle>(mutex);
        m_state = State::Held;
        return;
    }
    if (mutex)
        CloseHandle(mutex);
    // Made by a program running as another user or at a higher level on
    // this desktop: held all the same.
    if (mutex || error == ERROR_ACCESS_DENIED) {
        m_state = State::HeldElsewhere;
        return;
    }
    m_error = QStringLiteral("the mutex %1 cannot be created (error %2)").arg(name).arg(error);
}

InstanceLock::~InstanceLock() = default;
