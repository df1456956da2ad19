#include "doubles/fakeservices.h"

#include <QTimer>

#include <cstring>

int32_t FakeRemoteApi::CeRapiInitEx(RapiInit *)
{
    if (libraryMissing)
        throw RemoteApiUnavailable("fakerapi.so: cannot open shared object file");
    ++initCalls;
    return 0;
}

int32_t FakeRemoteApi::CeGetVersionEx(unsigned char *record)
{
    ++versionCalls;
    if (!connected)
        return 0;
    const int32_t fields[] = {148, 4, 20, 1081, 3};
    std::memcpy(record, fields, sizeof fields);
    return 1;
}

std::optional<QString> FakeRegistry::defaultValue(uint32_t hive, const QString &keyPath, QString *whyNot)
{
    if (whyNot)
        whyNot->clear();
    queries << keyPath;
    if (hive != LocalMachine || !localMachine.contains(keyPath))
        return std::nullopt;
    return localMachine.value(keyPath);
}

void FakeProcess::end(ProcessEnd how)
{
    if (m_ended)
        return;
    m_ended = true;
    m_end = how;
    emit ended();
}

std::unique_ptr<LaunchedProcess> FakeProcessServices::start(const LaunchCommand &command, QString *error)
{
    if (!failWith.isEmpty()) {
        if (error)
            *error = failWith;
        return nullptr;
    }
    started << command;
    auto process = std::make_unique<FakeProcess>();
    running << process.get();
    QObject::connect(process.get(), &QObject::destroyed, process.get(),
                     [this, p = process.get()] { running.removeAll(p); });
    if (autoEndMs >= 0)
        QTimer::singleShot(autoEndMs, process.get(), [p = process.get()] { p->end(); });
    if (onStart)
        onStart(command);
    return process;
}

QTimer *FastTickSource::createTimer(std::chrono::milliseconds interval, QObject *parent)
{
    auto *timer = new QTimer(parent);
    timer->setTimerType(Qt::PreciseTimer);
    timer->setInterval(interval / m_speedUp);
    return timer;
}
