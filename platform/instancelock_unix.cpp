#include "platform/instancelock.h"

#include "platform/childprocess.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cerrno>
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

// Opens the lock file, made if it is not there. Only for reading: flock()
// needs no more, so a file another user made is taken as long as it can be
// read, and nothing is ever written into it.
int openLockFile(const QByteArray &path, bool *made)
{
    *made = false;
    // Without O_CREAT first: in a sticky folder that everyone may write
    // (/run/lock, /tmp) the kernel refuses O_CREAT on another user's file
    // when fs.protected_regular is set, though the file itself may be read.
    // O_NONBLOCK: a FIFO put there must not hold the open up.
    constexpr int flags = O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
    for (int attempt = 0; attempt < 2; ++attempt) {
        const int fd = ::open(path.constData(), flags);
        if (fd >= 0 || errno != ENOENT)
            return fd;
        const int created = ::open(path.constData(), flags | O_CREAT | O_EXCL, 0644);
        if (created >= 0) {
            *made = true;
            return created;
        }
        if (errno != EEXIST)
            return -1;
        // Another Setup made it in between: opened as found on the next pass.
    }
    return -1;
}

// A process's name as it calls itself, with no control character of it
// left to reach a terminal or a log: any program may choose its name.
QString processName(qint64 pid)
{
    QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
    if (!comm.open(QIODevice::ReadOnly))
        return {};
    QByteArray name = comm.readAll().trimmed();
    for (char &c : name) {
        if (uchar(c) < 0x20 || c == 0x7f)
            c = '?';
    }
    return QCoreApplication::translate("InstanceLock", "process %1 (%2)").arg(pid).arg(QString::fromUtf8(name));
}

// The process that holds an flock() on the file `info` describes:
// "process 1234 (TorvexSetup)". The kernel's list of locks names whoever
// took it, any user; once that one has ended while a program it started
// holds on, the processes whose descriptors can be read (our own user's) are
// searched for one open on the file.
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
            if (const QString name = processName(fields.at(4).toLongLong()); !name.isEmpty())
                return name;
            break;
        }
    }
    const QStringList pids = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString &pid : pids) {
        if (pid.toLongLong() <= 0 || pid.toLongLong() == ::getpid())
            continue;
        const QString fds = QStringLiteral("/proc/%1/fd").arg(pid);
        for (const QString &fd : QDir(fds).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
            struct stat open{};
            if (::stat(QFile::encodeName(fds + QLatin1Char('/') + fd).constData(), &open) == 0
                && open.st_dev == info.st_dev && open.st_ino == info.st_ino) {
                return processName(pid.toLongLong());
            }
        }
    }
    return {};
}

// What is found at `path`, for an administrator to act on: "owner uid 1001,
// mode 0600", after `before` where there is something to say.
QString foundThere(const QString &path, const QString &before)
{
    struct stat info{};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
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

InstanceLock::InstanceLock(const QString &location) : m_location(location)
{
    bool made = false;
    const int fd = openLockFile(QFile::encodeName(location), &made);
    if (fd < 0) {
        const int error = errno;
        m_error = QStringLiteral("the lock file %1 cannot be opened (%2)")
                      .arg(location, foundThere(location, error == ELOOP ? QStringLiteral("a symbolic link")
                                                                         : systemError(error)));
        return;
    }
    auto handle = std::make_unique<Handle>(fd);
    struct stat info{};
    if (::fstat(fd, &info) != 0) {
        m_error = QStringLiteral("the lock file %1 cannot be read (%2)").arg(location, systemError(errno));
        return;
    }
    if (!S_ISREG(info.st_mode)) {
        m_error = QStringLiteral("the lock file %1 is %2, not a regular file (%3)")
                      .arg(location, kindOf(info.st_mode), foundThere(location, QString()));
        return;
    }
    // Every user takes the same lock: the umask must not keep others out.
    if (made)
        ::fchmod(fd, 0644);
    // The lock belongs to the open file, so it also goes with whatever
    // inherits the descriptor, and with the last of them.
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        m_handle = std::move(handle);
        m_state = State::Held;
        return;
    }
    if (errno == EWOULDBLOCK) {
        m_state = State::HeldElsewhere;
        m_holder = lockHolder(info);
        return;
    }
    m_error = QStringLiteral("the lock file %1 cannot be locked (%2)").arg(location, systemError(errno));
}

InstanceLock::~InstanceLock()
{
    if (m_handle)
        ChildProcess::setInherited(-1);
}

void InstanceLock::passToStartedPrograms()
{
    if (m_handle)
        ChildProcess::setInherited(m_handle->fd);
}
