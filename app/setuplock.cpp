#include "app/setuplock.h"

#include "platform/messagetext.h"
#include "platform/outputstream.h"

#include <QCoreApplication>

std::unique_ptr<InstanceLock> takeSetupLock()
{
    QString location = qEnvironmentVariable("TORVEX_LOCK");
    if (location.isEmpty())
        location = InstanceLock::machineWide(QStringLiteral("TorvexSetup"));
    auto lock = std::make_unique<InstanceLock>(location);
    if (lock->state() == InstanceLock::State::Held)
        lock->passToStartedPrograms();
    if (lock->state() == InstanceLock::State::Unavailable) {
        if (const auto err = OutputStream::openStandard(OutputStream::Standard::Error)) {
            err->write(QStringLiteral("%1: %2; going on without making sure no other Setup runs.\n")
                           .arg(QCoreApplication::applicationName(), escapeControls(lock->error())));
        }
    }
    return lock;
}

QString setupLockHolder(const InstanceLock &lock)
{
    if (lock.holder().isEmpty())
        return QCoreApplication::translate("SetupLock", "The lock %1 is held by another program.")
            .arg(elideForMessage(lock.location()));
    return QCoreApplication::translate("SetupLock", "The lock %1 is held by %2.")
        .arg(elideForMessage(lock.location()), elideForMessage(lock.holder()));
}
