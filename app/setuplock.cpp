#include "app/setuplock.h"

#include "platform/text/messagetext.h"
#include "platform/text/systemnames.h"
#include "unattended/installjournal.h"

#include <QCoreApplication>
#include <QDir>

std::unique_ptr<InstanceLock> takeSetupLock()
{
    const QString named = environmentValue("TORVEX_LOCK");
    auto lock = named.isEmpty()
        ? std::make_unique<InstanceLock>(InstanceLock::machineWide(QStringLiteral("TorvexSetup")))
        : std::make_unique<InstanceLock>(named, InstanceLock::Origin::Caller);
    if (lock->state() == InstanceLock::State::Held)
        lock->keepForStartedPrograms();
    return lock;
}

QString setupLockWarning(const InstanceLock &lock)
{
    if (lock.state() != InstanceLock::State::Unavailable)
        return {};
    return QCoreApplication::translate("SetupLock", "%1; going on without making sure no other Setup runs.")
        .arg(escapeControls(lock.error()));
}

QString setupLockRefusal(const InstanceLock &lock)
{
    if (lock.state() != InstanceLock::State::Refused)
        return {};
    return QCoreApplication::translate("SetupLock", "TORVEX_LOCK names a lock that cannot be used: %1.")
        .arg(escapeControls(lock.error()));
}

QString setupLockHolder(const InstanceLock &lock)
{
    if (lock.holder().isEmpty())
        return QCoreApplication::translate("SetupLock", "The lock %1 is held by another program.")
            .arg(elideForMessage(lock.location()));
    return QCoreApplication::translate("SetupLock", "The lock %1 is held by %2.")
        .arg(elideForMessage(lock.location()), elideForMessage(lock.holder()));
}

void logSetupLockRefusal(const QString &mode, const QString &kit, const QString &logPath, std::optional<bool> listA)
{
    const std::unique_ptr<SystemLog> log = createSystemLog();
    InstallJournal(*log, mode, QDir(kit.isEmpty() ? QStringLiteral(".") : kit).absolutePath(),
                   logPath.isEmpty() ? QString() : QDir(logPath).absolutePath())
        .refused(ExitStatus::AlreadyRunning, QString(), listA);
}
