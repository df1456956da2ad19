#include "standincontrol.h"

#include <stdexcept>

StandInControl::StandInControl(const QString &path) : m_library(path)
{
    if (!m_library.load())
        throw std::runtime_error(m_library.errorString().toStdString());
}

template<typename Fn>
Fn StandInControl::function(const char *name)
{
    auto f = reinterpret_cast<Fn>(m_library.resolve(name));
    if (!f)
        throw std::runtime_error(name);
    return f;
}

void StandInControl::reset()
{
    function<void (*)()>("StandInReset")();
}

void StandInControl::answer(int32_t result, const QByteArray &record)
{
    function<void (*)(int32_t, const unsigned char *, int32_t)>("StandInAnswer")(
        result, reinterpret_cast<const unsigned char *>(record.constData()), int32_t(record.size()));
}

int StandInControl::initCalls()
{
    return function<int32_t (*)()>("StandInInitCalls")();
}

int StandInControl::versionCalls()
{
    return function<int32_t (*)()>("StandInVersionCalls")();
}

int StandInControl::uninitCalls()
{
    return function<int32_t (*)()>("StandInUninitCalls")();
}

uint32_t StandInControl::receivedInitSize()
{
    return function<uint32_t (*)()>("StandInReceivedInitSize")();
}

QByteArray StandInControl::receivedRecord()
{
    QByteArray bytes(276, '\0');
    function<void (*)(unsigned char *)>("StandInReceivedRecord")(
        reinterpret_cast<unsigned char *>(bytes.data()));
    return bytes;
}
