#include "app/setuplock.h"

#include "platform/outputstream.h"

#include <QCoreApplication>

std::unique_ptr<InstanceLock> takeSetupLock()
{
    auto lock = std::make_unique<InstanceLock>(QStringLiteral("TorvexSetup"));
    if (lock->state() == InstanceLock::State::Unavailable) {
        if (const auto err = OutputStream::openStandard(OutputStream::Standard::Error)) {
            err->write(QStringLiteral("%1: %2; going on without making sure no other Setup runs.\n")
                           .arg(QCoreApplication::applicationName(), lock->error()));
        }
    }
    return lock;
}
