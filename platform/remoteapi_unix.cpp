#include "platform/remoteapi.h"

#include <QByteArrayList>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <cstdlib>
#include <unistd.h>

namespace {

// The loader's search path split as the loader splits it (at ':' and ';'):
// the folders it names for good, and whether any element depends on the
// current folder (empty, relative, or a $ORIGIN-like one, not read here).
struct SearchPath
{
    QByteArrayList fixed;
    bool loose = false;
};

SearchPath searchPath()
{
    SearchPath path;
    const QByteArray value = qgetenv("LD_LIBRARY_PATH");
    // An empty variable is no path at all, but an empty element is "here".
    if (value.isEmpty())
        return path;
    for (const QByteArray &element : QByteArray(value).replace(';', ':').split(':')) {
        if (element.startsWith('/'))
            path.fixed << element;
        else
            path.loose = true;
    }
    return path;
}

} // namespace

// A new start rather than a search of our own: the loader's whole search (its cache, the system folders) runs clean.
void LibraryRemoteApi::restartWithFixedSearchPath(char *argv[])
{
    const SearchPath path = searchPath();
    if (!path.loose)
        return;
    // The loader read the variable once, at the start of this process. The
    // new one starts no other: its variable holds absolute folders only.
    const QByteArray original = qgetenv("LD_LIBRARY_PATH");
    const int changed = path.fixed.isEmpty() ? ::unsetenv("LD_LIBRARY_PATH")
                                             : ::setenv("LD_LIBRARY_PATH", path.fixed.join(':').constData(), 1);
    if (changed != 0)
        return;
    ::execv("/proc/self/exe", argv);
    // No new start (no /proc): load() checks the value this process started with.
    ::setenv("LD_LIBRARY_PATH", original.constData(), 1);
}

bool LibraryRemoteApi::load(QString *whyNot)
{
    const QString name = m_library->fileName();
    const SearchPath path = searchPath();
    if (path.loose && !name.contains(QLatin1Char('/'))) {
        // Still the path that reads the kit folder as a library folder: only
        // its absolute folders are looked in.
        for (const QByteArray &folder : path.fixed) {
            const QString file = QFile::decodeName(folder) + QLatin1Char('/') + fileName(name);
            if (QFileInfo(file).isFile()) {
                m_library->setFileName(file);
                break;
            }
        }
        if (!m_library->fileName().contains(QLatin1Char('/'))) {
            *whyNot = QCoreApplication::translate("RemoteApi", "not in the absolute folders of LD_LIBRARY_PATH, "
                                                               "whose other elements are never searched");
            return false;
        }
    }
    if (m_library->load())
        return true;
    *whyNot = m_library->errorString();
    m_library->setFileName(name);
    return false;
}

QString LibraryRemoteApi::fileName(const QString &libraryName)
{
    if (libraryName.contains(QLatin1Char('/')) || libraryName.contains(QLatin1String(".so")))
        return libraryName;
    return QStringLiteral("lib%1.so").arg(libraryName);
}
