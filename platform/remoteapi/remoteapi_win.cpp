#include "platform/remoteapi/remoteapi.h"

#include "platform/text/systemtexts.h"

#include <qt_windows.h>

#include <array>

std::unique_ptr<QLibrary> LibraryRemoteApi::load(QString *whyNot)
{
    const QString &name = m_libraryName;
    if (name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')))
        return loadFile(name, whyNot);
    // By name only from System32, where the handheld's desktop software puts
    // it, and the libraries it needs from there too: never from the program's
    // folder, which holds the setup kit (or is the Downloads folder the zip
    // was unpacked into), nor from the current one. Only this one load is
    // held to it; the process's search stays as it was for Qt's own.
    const QString file = fileName(name);
    const HMODULE module =
        LoadLibraryExW(reinterpret_cast<const wchar_t *>(file.utf16()), nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!module) {
        *whyNot = systemErrorText(int(GetLastError()));
        return nullptr;
    }
    // QLibrary resolves the entry points: named by the loaded file's full
    // path, it is handed the module already loaded.
    std::array<wchar_t, 4096> path{};
    const DWORD length = GetModuleFileNameW(module, path.data(), DWORD(path.size()));
    std::unique_ptr<QLibrary> library;
    if (length > 0 && length < path.size())
        library = loadFile(QString::fromWCharArray(path.data(), int(length)), whyNot);
    else
        *whyNot = systemErrorText(int(GetLastError()));
    FreeLibrary(module);
    return library;
}

void LibraryRemoteApi::restartWithFixedSearchPath(char *[])
{
    // Nothing to do: load() takes rapi.dll from System32 alone.
}

QString LibraryRemoteApi::fileName(const QString &libraryName)
{
    if (libraryName.endsWith(QLatin1String(".dll"), Qt::CaseInsensitive))
        return libraryName;
    return libraryName + QLatin1String(".dll");
}
