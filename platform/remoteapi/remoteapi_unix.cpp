#include "platform/remoteapi/remoteapi.h"

#include "platform/text/messagetext.h"
#include "platform/text/systemnames.h"
#include "platform/text/systemtexts.h"

#include <QByteArrayList>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sys/auxv.h>
#include <unistd.h>

namespace {

// Whether a search path element starts with the loader's name for the
// program's own folder, which makes it as fixed as an absolute one.
bool startsWithOrigin(const QByteArray &element)
{
    for (const char *token : {"$ORIGIN", "${ORIGIN}"}) {
        const qsizetype length = qsizetype(std::strlen(token));
        if (element.startsWith(token) && (element.size() == length || element.at(length) == '/'))
            return true;
    }
    return false;
}

// The loader's search path split as the loader splits it (at ':' and ';'):
// the folders it names for good, whether any element depends on the current
// folder (empty or relative), and whether one of those climbs out of it.
struct SearchPath
{
    QByteArrayList fixed;
    bool loose = false;
    bool climbs = false;
};

SearchPath searchPath()
{
    SearchPath path;
    const QByteArray value = qgetenv("LD_LIBRARY_PATH");
    // An empty variable is no path at all, but an empty element is "here".
    if (value.isEmpty())
        return path;
    for (const QByteArray &element : QByteArray(value).replace(';', ':').split(':')) {
        if (element.startsWith('/') || startsWithOrigin(element)) {
            path.fixed << element;
        } else {
            path.loose = true;
            path.climbs = path.climbs || element.split('/').contains("..");
        }
    }
    return path;
}

// The folder `element` names, $ORIGIN read as the program's folder.
QString folderNamed(const QByteArray &element)
{
    if (!startsWithOrigin(element))
        return QFile::decodeName(element);
    const qsizetype slash = element.indexOf('/');
    return QCoreApplication::applicationDirPath() + (slash < 0 ? QString() : QFile::decodeName(element.mid(slash)));
}

// The folder `element` resolves to, or empty when it resolves to none.
QByteArray resolved(const QByteArray &element)
{
    char folder[PATH_MAX];
    return ::realpath(element.constData(), folder) ? QByteArray(folder) : QByteArray();
}

// Whether an absolute element still reads against the current folder, through
// /proc/self/cwd or a link to it: it resolves differently from the root folder.
bool readsCurrentFolder(const QByteArrayList &fixed)
{
    QByteArrayList here;
    for (const QByteArray &element : fixed)
        here << (element.startsWith('/') ? resolved(element) : QByteArray());
    const int previous = ::open(".", O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (previous < 0 || ::chdir("/") != 0) {
        if (previous >= 0)
            ::close(previous);
        return true;
    }
    bool differs = false;
    for (qsizetype i = 0; i < fixed.size() && !differs; ++i)
        differs = fixed.at(i).startsWith('/') && resolved(fixed.at(i)) != here.at(i);
    const bool back = ::fchdir(previous) == 0;
    ::close(previous);
    return differs || !back;
}

// For as long as it lives, the current folder is a new, empty one that only
// this user may write to: whatever the search path reads against the current
// folder (an empty element, ".", /proc/self/cwd, the loader's own
// --library-path) finds nothing there. The previous folder comes back by its
// descriptor, whatever its name or if it has gone.
class EmptyCurrentFolder
{
public:
    EmptyCurrentFolder()
    {
        m_previous = ::open(".", O_PATH | O_DIRECTORY | O_CLOEXEC);
        if (m_previous < 0) {
            m_error = errno;
            return;
        }
        // TMPDIR if it names a folder that takes one, else /tmp.
        const char *temporary = std::getenv("TMPDIR");
        QByteArray folder;
        for (const QByteArray &parent : {QByteArray(temporary && temporary[0] == '/' ? temporary : "/tmp"),
                                         QByteArrayLiteral("/tmp")}) {
            folder = parent + "/TorvexSetup-load-XXXXXX";
            if (::mkdtemp(folder.data()) != nullptr)
                break;
            m_error = errno;
            folder.clear();
        }
        if (folder.isEmpty()) {
            m_parent = temporary && temporary[0] == '/' && std::strcmp(temporary, "/tmp") != 0
                ? environmentValue("TMPDIR") + QStringLiteral(", /tmp")
                : QStringLiteral("/tmp");
            return;
        }
        if (::chdir(folder.constData()) != 0) {
            m_error = errno;
            ::rmdir(folder.constData());
            return;
        }
        m_folder = folder;
    }
    ~EmptyCurrentFolder()
    {
        if (!m_folder.isEmpty() && ::fchdir(m_previous) == 0)
            ::rmdir(m_folder.constData());
        if (m_previous >= 0)
            ::close(m_previous);
    }
    EmptyCurrentFolder(const EmptyCurrentFolder &) = delete;
    EmptyCurrentFolder &operator=(const EmptyCurrentFolder &) = delete;

    // 0 once inside, else why not.
    int error() const { return m_folder.isEmpty() ? m_error : 0; }
    // Where the folder was to be made, for a message.
    QString parent() const { return m_parent; }

private:
    int m_previous = -1;
    int m_error = 0;
    QByteArray m_folder;
    QString m_parent;
};

} // namespace

// A new start rather than a search of our own: the loader's whole search (its cache, the system folders) runs clean.
void LibraryRemoteApi::restartWithFixedSearchPath(char *argv[])
{
    // Started by running the loader itself (ld.so TorvexSetup ...): the
    // program file here is the loader, which would take our arguments for
    // its own. load() then keeps the search away from the current folder.
    if (::getauxval(AT_BASE) == 0)
        return;
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
    // By the program file's own name, so that the new process is called as
    // this one is; by /proc/self/exe when that name is gone (a program
    // replaced while it ran).
    char program[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", program, sizeof program - 1);
    if (length > 0) {
        program[length] = '\0';
        ::execv(program, argv);
    }
    ::execv("/proc/self/exe", argv);
    // No new start (no /proc): load() checks the value this process started with.
    ::setenv("LD_LIBRARY_PATH", original.constData(), 1);
}

std::unique_ptr<QLibrary> LibraryRemoteApi::load(QString *whyNot)
{
    const QString &name = m_libraryName;
    if (name.contains(QLatin1Char('/')))
        return loadFile(name, whyNot);
    QString file = name;
    const SearchPath path = searchPath();
    if (path.climbs) {
        // Still a path with an element that reaches out of any current
        // folder ("../x"): only its fixed folders are looked in.
        file.clear();
        for (const QByteArray &folder : path.fixed) {
            const QString candidate = folderNamed(folder) + QLatin1Char('/') + fileName(name);
            if (QFileInfo(candidate).isFile()) {
                file = candidate;
                break;
            }
        }
        if (file.isEmpty()) {
            *whyNot = QCoreApplication::translate("RemoteApi", "not in the absolute folders of LD_LIBRARY_PATH, "
                                                               "whose other elements are never searched");
            return nullptr;
        }
    }
    // A search that reads against the current folder (a loose element left
    // in the path, /proc/self/cwd, the loader's own --library-path when it
    // was run directly) runs from an empty one; a clean one needs none.
    std::optional<EmptyCurrentFolder> emptyFolder;
    if (path.loose || ::getauxval(AT_BASE) == 0 || readsCurrentFolder(path.fixed)) {
        emptyFolder.emplace();
        if (emptyFolder->error() != 0) {
            throw TemporaryFolderUnavailable(
                QCoreApplication::translate("RemoteApi", "No empty temporary folder could be made to load the "
                                                         "remote-API library %1 from (in %2): %3.")
                    .arg(fileName(name), escapeControls(emptyFolder->parent()), systemErrorText(emptyFolder->error()))
                    .toStdString());
        }
    }
    return loadFile(file, whyNot);
}

QString LibraryRemoteApi::fileName(const QString &libraryName)
{
    if (libraryName.contains(QLatin1Char('/')) || libraryName.contains(QLatin1String(".so")))
        return libraryName;
    return QStringLiteral("lib%1.so").arg(libraryName);
}
