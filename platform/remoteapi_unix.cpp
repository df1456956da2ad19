#include "platform/remoteapi.h"

void LibraryRemoteApi::keepCurrentDirectoryOutOfSearch()
{
    // The loader never looks in the current directory unless the user's own
    // LD_LIBRARY_PATH names it.
}

QString LibraryRemoteApi::fileName(const QString &libraryName)
{
    if (libraryName.contains(QLatin1Char('/')) || libraryName.contains(QLatin1String(".so")))
        return libraryName;
    return QStringLiteral("lib%1.so").arg(libraryName);
}
