#include "platform/remoteapi.h"

#include <QCoreApplication>

#ifdef Q_OS_WIN
#include <qt_windows.h>
// The system's library uses the Windows calling convention.
#define RAPI_CALL WINAPI
#else
#define RAPI_CALL
#endif

LibraryRemoteApi::LibraryRemoteApi(const QString &libraryName) : m_libraryName(libraryName) {}

QFunctionPointer LibraryRemoteApi::resolve(const char *symbol)
{
    keepCurrentDirectoryOutOfSearch();
    if (!m_library)
        m_library = std::make_unique<QLibrary>(m_libraryName);
    const auto unavailable = [this](const QString &what) {
        return RemoteApiUnavailable(QCoreApplication::translate("RemoteApi", "The remote-API library %1 %2 (%3).")
                                        .arg(fileName(m_library->fileName()), what, m_library->errorString())
                                        .toStdString());
    };
    if (!m_library->isLoaded() && !m_library->load())
        throw unavailable(QCoreApplication::translate("RemoteApi", "cannot be loaded"));
    QFunctionPointer f = m_library->resolve(symbol);
    if (!f)
        throw unavailable(QCoreApplication::translate("RemoteApi", "has no %1").arg(QLatin1String(symbol)));
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
