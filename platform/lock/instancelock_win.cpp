#include "platform/lock/instancelock.h"

#include "platform/process/childprocess.h"

#include <qt_windows.h>
#include <sddl.h>

namespace {

// Every user, SYSTEM and the administrators may open the mutex to wait on it
// (which is all another Setup does); only SYSTEM and the administrators may
// do more. A protected list, so that nothing is inherited from the namespace.
constexpr wchar_t MutexAccess[] = L"D:P(A;;0x00100001;;;WD)(A;;GA;;;SY)(A;;GA;;;BA)";

} // namespace

struct InstanceLock::Handle
{
    explicit Handle(HANDLE mutex) : mutex(mutex) {}
    ~Handle() { CloseHandle(mutex); }
    Handle(const Handle &) = delete;
    Handle &operator=(const Handle &) = delete;
    HANDLE mutex;
};

QString InstanceLock::machineWide(const QString &name)
{
    // Global\: one for every session, so that a job running as SYSTEM in
    // session 0 and a user at the desktop meet the same mutex.
    return QStringLiteral("Global\\") + name;
}

InstanceLock::InstanceLock(const QString &location, Origin origin) : m_location(location)
{
    // A name the caller gives is a plain one in the session's or the global
    // namespace, never a path into another object folder, and it has to
    // work: what cannot be made of it is refused rather than gone without.
    QString plain = location;
    for (const QString &space : {QStringLiteral("Local\\"), QStringLiteral("Global\\")}) {
        if (plain.startsWith(space))
            plain = plain.mid(space.size());
    }
    if (origin == Origin::Caller && (plain.isEmpty() || plain.contains(QLatin1Char('\\')))) {
        m_error = QStringLiteral("the mutex name %1 is not a plain name (Local\\ or Global\\ and a name without "
                                 "backslashes)")
                      .arg(location);
        m_state = State::Refused;
        return;
    }
    // The system closes the handles of a program that ends, however it ends;
    // the mutex goes with the last handle. Never owned: its existence is the
    // lock.
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(MutexAccess, SDDL_REVISION_1, &descriptor, nullptr)) {
        m_error = QStringLiteral("the mutex %1 cannot be described (error %2)").arg(location).arg(GetLastError());
        if (origin == Origin::Caller)
            m_state = State::Refused;
        return;
    }
    SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor, FALSE};
    const std::wstring objectName = location.toStdWString();
    // Only the right to wait is asked for, which every user has, so an
    // existing mutex made by another user or SYSTEM opens all the same.
    const HANDLE mutex = CreateMutexExW(&attributes, objectName.c_str(), 0, SYNCHRONIZE);
    const DWORD error = GetLastError();
    LocalFree(descriptor);
    if (mutex && error != ERROR_ALREADY_EXISTS) {
        m_handle = std::make_unique<Handle>(mutex);
        m_state = State::Held;
        return;
    }
    if (mutex)
        CloseHandle(mutex);
    // Made by a program that lets no one else open it (an older Setup's
    // session mutex, say): held all the same.
    if (mutex || error == ERROR_ACCESS_DENIED) {
        m_state = State::HeldElsewhere;
        return;
    }
    m_error = QStringLiteral("the mutex %1 cannot be created (error %2)").arg(location).arg(error);
    if (origin == Origin::Caller)
        m_state = State::Refused;
}

InstanceLock::~InstanceLock()
{
    if (m_handle)
        ChildProcess::setKept(-1);
}

void InstanceLock::keepForStartedPrograms()
{
    if (m_handle)
        ChildProcess::setKept(qintptr(m_handle->mutex));
}
