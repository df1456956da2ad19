#include "app/setuplock.h"

#include "platform/messagetext.h"
#include "platform/systemnames.h"

#include <QCoreApplication>

std::unique_ptr<InstanceLock> takeSetupLock()
{
    QString location = systemEnvironmentVariable("TORVEX_LOCK");
    if (location.isEmpty())
        location = InstanceLock::machineWide(QStringLiteral("TorvexSetup"));
    auto lock = std::make_unique<InstanceLock>(location);
    if (lock->state() == InstanceLock::State::Held)
        lock->passToStartedPrograms();
    return lock;
}

QString setupLockWarning(const InstanceLock &lock)
{
    if (lock.state() != InstanceLock::State::Unavailable)
        return {};
    return QCoreApplication::translate("SetupLock", "%1; going on without making sure no other Setup runs.")
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
