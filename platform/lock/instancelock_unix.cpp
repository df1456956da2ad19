#include "platform/lock/instancelock.h"

#include "platform/process/childprocess.h"
#include "platform/text/systemnames.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {

QString systemError(int error)
{
    return QString::fromLocal8Bit(::strerror(error));
}

// Puts a new lock file at `path`, already readable by every user: made
// aside (unnamed, else under a name of its own) and linked into place only
// once its mode is right, so that no other user can ever find it at `path`
// with the mode the umask gave it. An unnamed file is linked in from its
// descriptor where the system allows that, else through /proc; without
// either it is given up for a named one. False when the file cannot be made;
// true also when another Setup put its own there first.
bool makeLockFile(const QByteArray &path)
{
    const QByteArray folder = path.left(path.lastIndexOf('/') + 1);
    int fd = ::open(folder.isEmpty() ? "." : folder.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0644);
    if (fd >= 0 && ::fchmod(fd, 0644) == 0) {
        const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd);
        if (::linkat(fd, "", AT_FDCWD, path.constData(), AT_EMPTY_PATH) == 0
            || ::linkat(AT_FDCWD, self.constData(), AT_FDCWD, path.constData(), AT_SYMLINK_FOLLOW) == 0
            || errno == EEXIST) {
            const int error = errno;
            ::close(fd);
            errno = error;
            return true;
        }
    }
    if (fd >= 0)
        ::close(fd);
    QByteArray aside = path + ".XXXXXX";
    fd = ::mkostemp(aside.data(), O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool linked = ::fchmod(fd, 0644) == 0 && ::link(aside.constData(), path.constData()) == 0;
    const int error = linked ? 0 : errno;
    ::unlink(aside.constData());
    ::close(fd);
    errno = error;
    return linked || error == EEXIST;
}

// Opens the lock file, made if it is not there. Only for reading: flock()
// needs no more, so a file another user made is taken as long as it can be
// read, and nothing is ever written into it.
int openLockFile(const QByteArray &path)
{
    // Without O_CREAT: in a sticky folder that everyone may write (/run/lock,
    // /tmp) the kernel refuses O_CREAT on another user's file when
    // fs.protected_regular is set, though the file itself may be read.
    // O_NONBLOCK: a FIFO put there must not hold the open up.
    constexpr int flags = O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int fd = ::open(path.constData(), flags);
        if (fd >= 0 || errno != ENOENT || !makeLockFile(path))
            return fd;
    }
    return -1;
}

// Whether process `pid` holds the flock() on the file `info` describes: it
// has a descriptor open on the file whose description carries the lock (its
// fdinfo has a "lock:" line), not merely the file open. A process that has
// ended (a zombie) holds nothing; another user's processes cannot be looked
// into but by root. `watched`, where given, is set to the process that a
// pidfd it also holds watches (a keeper's), or 0.
bool holdsLock(qint64 pid, const struct stat &info, qint64 *watched = nullptr)
{
    const QString proc = QStringLiteral("/proc/%1/").arg(pid);
    bool holds = false;
    qint64 watching = 0;
    const QStringList fds =
        QDir(proc + QStringLiteral("fd")).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &fd : fds) {
        const QByteArray link = QFile::encodeName(proc + QStringLiteral("fd/") + fd);
        char target[32] = {};
        const bool pidfd = ::readlink(link.constData(), target, sizeof target - 1) > 0
            && qstrcmp(target, "anon_inode:[pidfd]") == 0;
        struct stat open{};
        const bool ours = !pidfd && ::stat(link.constData(), &open) == 0 && open.st_dev == info.st_dev
            && open.st_ino == info.st_ino;
        QFile fdinfo(proc + QStringLiteral("fdinfo/") + fd);
        if ((!pidfd && !ours) || !fdinfo.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray &line : fdinfo.readAll().split('\n')) {
            if (ours && line.startsWith("lock:") && line.contains(" FLOCK "))
                holds = true;
            if (pidfd && line.startsWith("Pid:"))
                watching = line.mid(4).trimmed().toLongLong();
        }
    }
    if (watched)
        *watched = watching;
    return holds;
}

// A process's name as it calls itself, its bytes kept as they are (any
// program may choose its name): the message that shows it escapes them.
QString processName(qint64 pid)
{
    QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
    if (!comm.open(QIODevice::ReadOnly))
        return {};
    QByteArray name = comm.readAll();
    name.chop(name.endsWith('\n') ? 1 : 0);
    char *bytes[] = {name.data()};
    return QCoreApplication::translate("InstanceLock", "process %1 (%2)").arg(pid).arg(systemArguments(1, bytes).value(0));
}

// Whether processes `a` and `b` run as the same user.
bool sameUser(qint64 a, qint64 b)
{
    struct stat first{};
    struct stat second{};
    return ::stat(QStringLiteral("/proc/%1").arg(a).toLatin1().constData(), &first) == 0
        && ::stat(QStringLiteral("/proc/%1").arg(b).toLatin1().constData(), &second) == 0
        && first.st_uid == second.st_uid;
}

// The process that holds an flock() on the file `info` describes:
// "process 1234 (TorvexSetup)". The kernel's list of locks names whoever
// took it, any user; it is believed only when that process holds the lock
// still. Once it has ended (its number perhaps another program's by now)
// while the keeper of a program it started holds on, the processes whose
// descriptors can be read (our own user's, or all for root) are searched for
// the holder, and a keeper is named by the program it keeps the lock for:
// its own user's, as Setup's keeper's is, so that a holder cannot pass the
// blame to any process it merely watches (any process may watch any other).
QString lockHolder(const struct stat &info)
{
    QFile locks(QStringLiteral("/proc/locks"));
    if (locks.open(QIODevice::ReadOnly)) {
        // "1: FLOCK  ADVISORY  WRITE 1234 00:1a:5678 0 EOF", the device in hex.
        const QByteArray file = QByteArray::number(::major(info.st_dev), 16).rightJustified(2, '0') + ':'
            + QByteArray::number(::minor(info.st_dev), 16).rightJustified(2, '0') + ':'
            + QByteArray::number(quint64(info.st_ino));
        // Read whole: a file of /proc tells no size, so it seems at its end.
        const QList<QByteArray> lines = locks.readAll().split('\n');
        for (const QByteArray &line : lines) {
            const QList<QByteArray> fields = line.simplified().split(' ');
            if (fields.size() < 6 || fields.at(1) != "FLOCK" || fields.at(5) != file)
                continue;
            const qint64 pid = fields.at(4).toLongLong();
            if (pid > 0 && holdsLock(pid, info))
                return processName(pid);
            break;
        }
    }
    const QStringList pids = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString &pid : pids) {
        qint64 watched = 0;
        if (pid.toLongLong() > 0 && pid.toLongLong() != ::getpid() && holdsLock(pid.toLongLong(), info, &watched)) {
            const QString kept =
                watched > 0 && sameUser(pid.toLongLong(), watched) ? processName(watched) : QString();
            return kept.isEmpty() ? processName(pid.toLongLong()) : kept;
        }
    }
    return {};
}

// What is found at `path`, for an administrator to act on: "owner uid 1001,
// mode 0600", after `before` where there is something to say.
QString foundThere(const QByteArray &path, const QString &before)
{
    struct stat info{};
    if (::lstat(path.constData(), &info) != 0)
        return before;
    const QString found = QStringLiteral("owner uid %1, mode %2").arg(info.st_uid).arg(info.st_mode & 07777, 4, 8,
                                                                                        QLatin1Char('0'));
    return before.isEmpty() ? found : before + QStringLiteral("; ") + found;
}

QString kindOf(mode_t mode)
{
    if (S_ISFIFO(mode))
        return QStringLiteral("a FIFO");
    if (S_ISDIR(mode))
        return QStringLiteral("a folder");
    if (S_ISSOCK(mode))
        return QStringLiteral("a socket");
    return QStringLiteral("a device");
}

} // namespace

struct InstanceLock::Handle
{
    explicit Handle(int fd) : fd(fd) {}
    ~Handle() { ::close(fd); }
    Handle(const Handle &) = delete;
    Handle &operator=(const Handle &) = delete;
    int fd;
};

QString InstanceLock::machineWide(const QString &name)
{
    // A folder where every user may make the file, the same for all of them
    // whatever their environment (never XDG_RUNTIME_DIR or TMPDIR), and
    // emptied at boot: /run/lock is such a folder on Debian, root's alone
    // on some other systems, where /tmp is used instead.
    for (const char *folder : {"/run/lock", "/var/lock"}) {
        struct stat info{};
        constexpr mode_t everyonesOwn = S_IWOTH | S_ISVTX;
        if (::stat(folder, &info) == 0 && S_ISDIR(info.st_mode) && (info.st_mode & everyonesOwn) == everyonesOwn)
            return QStringLiteral("%1/%2.lock").arg(QLatin1String(folder), name);
    }
    return QStringLiteral("/tmp/%1.lock").arg(name);
}

InstanceLock::InstanceLock(const QString &location, Origin origin) : m_location(location)
{
    // What the caller names has to be right, or nothing is done with it.
    const auto refuseIfCallers = [&] {
        if (origin == Origin::Caller)
            m_state = State::Refused;
    };
    const QByteArray path = systemName(location);
    // A file removed between its open and its lock (by hand, or a cleaner of
    // old files) is one that a Setup starting now would not find: taken
    // again, where it is now.
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int fd = openLockFile(path);
        if (fd < 0) {
            const int error = errno;
            m_error = QStringLiteral("the lock file %1 cannot be opened (%2)")
                          .arg(location, foundThere(path, error == ELOOP ? QStringLiteral("a symbolic link")
                                                                         : systemError(error)));
            refuseIfCallers();
            return;
        }
        auto handle = std::make_unique<Handle>(fd);
        struct stat info{};
        if (::fstat(fd, &info) != 0) {
            m_error = QStringLiteral("the lock file %1 cannot be read (%2)").arg(location, systemError(errno));
            refuseIfCallers();
            return;
        }
        if (!S_ISREG(info.st_mode)) {
            m_error = QStringLiteral("the lock file %1 is %2, not a regular file (%3)")
                          .arg(location, kindOf(info.st_mode), foundThere(path, QString()));
            refuseIfCallers();
            return;
        }
        // A lock file holds nothing, and one named by the caller is the
        // caller's own: never another user's file, nor one with data in it
        // (a password file, say) to be locked and kept open.
        if (origin == Origin::Caller && (info.st_uid != ::geteuid() || info.st_size != 0)) {
            m_error = info.st_uid != ::geteuid()
                ? QStringLiteral("the lock file %1 belongs to another user (%2)")
                      .arg(location, foundThere(path, QString()))
                : QStringLiteral("the lock file %1 is not empty (%2 bytes); a lock file holds nothing")
                      .arg(location)
                      .arg(info.st_size);
            m_state = State::Refused;
            return;
        }
        // The lock belongs to the open file, so it also goes with whatever
        // inherits the descriptor, and with the last of them.
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            if (errno != EWOULDBLOCK) {
                m_error = QStringLiteral("the lock file %1 cannot be locked (%2)").arg(location, systemError(errno));
                refuseIfCallers();
                return;
            }
            m_state = State::HeldElsewhere;
            m_holder = lockHolder(info);
            return;
        }
        struct stat there{};
        if (::lstat(path.constData(), &there) == 0 && there.st_dev == info.st_dev && there.st_ino == info.st_ino) {
            m_handle = std::move(handle);
            m_state = State::Held;
            return;
        }
    }
    m_error = QStringLiteral("the lock file %1 is removed or replaced as soon as it is locked").arg(location);
    refuseIfCallers();
}

InstanceLock::~InstanceLock()
{
    if (m_handle)
        ChildProcess::setKept(-1);
}

void InstanceLock::keepForStartedPrograms()
{
    if (m_handle)
        ChildProcess::setKept(m_handle->fd);
}
