#include "platform/instancelock.h"

#include <QDir>
#include <QLockFile>

#include <unistd.h>

struct InstanceLock::Handle
{
    explicit Handle(const QString &path) : file(path) {}
    QLockFile file;
};

InstanceLock::InstanceLock(const QString &name)
{
    // The runtime folder is the user's own; the shared temp folder needs the
    // user in the name, so that users do not lock each other out.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    const QString path = runtime.isEmpty()
        ? QDir(QDir::tempPath()).filePath(QStringLiteral("%1-%2.lock").arg(name).arg(::getuid()))
        : QDir(runtime).filePath(name + QStringLiteral(".lock"));
    m_handle = std::make_unique<Handle>(path);
    // Only a holder that is gone makes the lock stale, never its age: an
    // install takes minutes.
    m_handle->file.setStaleLockTime(0);
    if (m_handle->file.tryLock(0)) {
        m_state = State::Held;
        return;
    }
    switch (m_handle->file.error()) {
    case QLockFile::LockFailedError:
        m_state = State::HeldElsewhere;
        break;
    case QLockFile::PermissionError:
        m_error = QStringLiteral("%1 cannot be created").arg(path);
        break;
    default:
        m_error = QStringLiteral("%1 cannot be used").arg(path);
        break;
    }
    m_handle.reset();
}

InstanceLock::~InstanceLock() = default;
