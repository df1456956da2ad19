#include "platform/remoteapi.h"

#ifdef Q_OS_WIN
#include <qt_windows.h>
// The system's library uses the Windows calling convention.
#define RAPI_CALL WINAPI
#else
#define RAPI_CALL
#endif

LibraryRemoteApi::LibraryRemoteApi(const QString &libraryName) : m_library(libraryName) {}

QFunctionPointer LibraryRemoteApi::resolve(const char *symbol)
{
    keepCurrentDirectoryOutOfSearch();
    if (!m_library.isLoaded() && !m_library.load())
        throw RemoteApiUnavailable(m_library.errorString().toStdString());
    QFunctionPointer f = m_library.resolve(symbol);
    if (!f)
        throw RemoteApiUnavailable(m_library.errorString().toStdString());
    return f;
}

int32_t LibraryRemoteApi::CeRapiInitEx(RapiInit *init)
{
    using Fn = int32_t(RAPI_CALL *)(RapiInit *);
    return reinterpret_cast<Fn>(resolve("CeRapiInitEx"))(init);
}

int32_t LibraryRemoteApi::CeGetVersionEx(unsigned char *record)
{
    using Fn = int32_t(RAPI_CALL *)(unsigned char *);
    return reinterpret_cast<Fn>(resolve("CeGetVersionEx"))(record);
}
