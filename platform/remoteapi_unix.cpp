#include "platform/remoteapi.h"

bool LibraryRemoteApi::load(QString *whyNot)
{
    // The loader never looks in the current directory unless the user's own
    // LD_LIBRARY_PATH names it.
    if (m_library->load())
        return true;
    *whyNot = m_library->errorString();
    return false;
}

QString LibraryRemoteApi::fileName(const QString &libraryName)
{
    if (libraryName.contains(QLatin1Char('/')) || libraryName.contains(QLatin1String(".so")))
        return libraryName;
    return QStringLiteral("lib%1.so").arg(libraryName);
}
