#include "platform/remoteapi.h"

#include <qt_windows.h>

void LibraryRemoteApi::keepCurrentDirectoryOutOfSearch()
{
    // The program's folder, System32 and folders added on purpose; never the
    // current directory.
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);
}

QString LibraryRemoteApi::fileName(const QString &libraryName)
{
    if (libraryName.endsWith(QLatin1String(".dll"), Qt::CaseInsensitive))
        return libraryName;
    return libraryName + QLatin1String(".dll");
}
