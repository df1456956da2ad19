#include "app/setuplock.h"

#include <QCoreApplication>

#include <cstdio>

std::unique_ptr<InstanceLock> takeSetupLock()
{
    auto lock = std::make_unique<InstanceLock>(QStringLiteral("TorvexSetup"));
    if (lock->state() == InstanceLock::State::Unavailable) {
        const QByteArray line = QStringLiteral("%1: %2; going on without making sure no other Setup runs.\n")
                                    .arg(QCoreApplication::applicationName(), lock->error())
                                    .toLocal8Bit();
        std::fputs(line.constData(), stderr);
    }
    return lock;
}
