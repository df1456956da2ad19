#include "platform/remoteapi.h"

LibraryRemoteApi::LibraryRemoteApi(const QString &libraryName) : m_library(libraryName) {}

QFunctionPointer LibraryRemoteApi::resolve(const char *symbol)
{
    if (!m_library.isLoaded() && !m_library.load())
        throw RemoteApiUnavailable(m_library.errorString().toStdString());
    QFunctionPointer f = m_library.resolve(symbol);
    if (!f)
        throw RemoteApiUnavailable(m_library.errorString().toStdString());
    return f;
}

int32_t LibraryRemoteApi::CeRapiInitEx(RapiInit *init)
{
    using Fn = int32_t (*)(RapiInit *);
    return reinterpret_cast<Fn>(resolve("CeRapiInitEx"))(init);
}

int32_t LibraryRemoteApi::CeGetVersionEx(unsigned char *record)
{
    using Fn = int32_t (*)(unsigned char *);
    return reinterpret_cast<Fn>(resolve("CeGetVersionEx"))(record);
}
