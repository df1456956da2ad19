#include "platform/remoteapi/remoteapi.h"

#include "platform/text/messagetext.h"

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
    const auto unavailable = [this](const QString &what, const QString &why) {
        return RemoteApiUnavailable(QCoreApplication::translate("RemoteApi", "The remote-API library %1 %2 (%3).")
                                        .arg(fileName(m_libraryName), what, escapeControls(why))
                                        .toStdString());
    };
    QString whyNot;
    if (!m_library)
        m_library = load(&whyNot);
    if (!m_library)
        throw unavailable(QCoreApplication::translate("RemoteApi", "cannot be loaded"), whyNot);
    QFunctionPointer f = m_library->resolve(symbol);
    if (!f) {
        throw unavailable(QCoreApplication::translate("RemoteApi", "has no %1").arg(QLatin1String(symbol)),
                          m_library->errorString());
    }
    return f;
}

std::unique_ptr<QLibrary> LibraryRemoteApi::loadFile(const QString &file, QString *whyNot)
{
    auto library = std::make_unique<QLibrary>(file);
    if (library->load())
        return library;
    *whyNot = library->errorString();
    return nullptr;
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
