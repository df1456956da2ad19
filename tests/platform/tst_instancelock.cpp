#include "platform/process/childprocess.h"
#include "platform/lock/instancelock.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <cstdio>
#include <memory>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

using State = InstanceLock::State;

#ifndef Q_OS_WIN
// Whether the program that strace (process `tracer`) runs stands at the
// start of system call `number`, where strace holds it; its
// /proc/<pid>/syscall says "running" or another number otherwise.
bool tracedInSystemCall(qint64 tracer, long number)
{
    QFile children(QStringLiteral("/proc/%1/task/%1/children").arg(tracer));
    if (!children.open(QIODevice::ReadOnly))
        return false;
    QFile call(QStringLiteral("/proc/%1/syscall").arg(QString::fromLatin1(children.readAll().trimmed())));
    return call.open(QIODevice::ReadOnly) && call.readAll().split(' ').value(0) == QByteArray::number(number);
}
#endif

// Another user's program (nobody's, through setpriv) needs the test to run as root.
#ifdef Q_OS_WIN
const bool CanBeAnotherUser = false;
#else
const bool CanBeAnotherUser = ::geteuid() == 0;
#endif
#define SKIP_WITHOUT_ANOTHER_USER(otherUser)                                                                           \
    if ((otherUser) && !CanBeAnotherUser)                                                                              \
    QSKIP("Another user's program needs the test to run as root (setpriv)")

class TestInstanceLock : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void heldUntilItsHolderIsGone_data();
    void heldUntilItsHolderIsGone();
    void lockFileAsFound_data();
    void lockFileAsFound();

private:
    // This program as a holder, run as another user where asked.
    // `slowCall`: each such system call of the holder's held up for seconds.
    // `withoutProc`: in a mount namespace of its own, with nothing at /proc.
    static void startHolder(QProcess &holder, bool otherUser, const QStringList &arguments,
                            const QString &slowCall = QString(), bool withoutProc = false);

    QTemporaryDir m_runtime;
};

void TestInstanceLock::initTestCase()
{
    QVERIFY(m_runtime.isValid());
#ifndef Q_OS_WIN
    // Like /run/lock: everyone may make files there, and only remove their own.
    ::chmod(QFile::encodeName(m_runtime.path()).constData(), 01777);
#endif
}

void TestInstanceLock::startHolder(QProcess &holder, bool otherUser, const QStringList &arguments,
                                   const QString &slowCall, bool withoutProc)
{
    QStringList command = QStringList{QCoreApplication::applicationFilePath()} + arguments;
    if (!slowCall.isEmpty())
        command = QStringList{"strace", "-qq", "-o", "/dev/null", "-e", "inject=" + slowCall + ":delay_enter=4000000"}
            + command;
    if (otherUser)
        command = QStringList{"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"} + command;
    if (withoutProc)
        command = QStringList{"unshare", "-m", "sh", "-c", "mount -t tmpfs none /proc && exec \"$@\"", "sh"} + command;
    holder.start(command.first(), command.mid(1));
}

void TestInstanceLock::heldUntilItsHolderIsGone_data()
{
    QTest::addColumn<QString>("holder");
    QTest::newRow("held here, then given up") << "here";
    QTest::newRow("held by a program that is killed") << "killed";
    QTest::newRow("held by another user's program, in a file made under umask 077") << "other user";
    QTest::newRow("held on by the program a killed holder started") << "started";
    QTest::newRow("held on by the program a living holder started, then let go") << "let go";
    // A decoy (another user's program named like us) has the file open, not
    // locked, and is never named.
    QTest::newRow("held on by the program a killed holder started, beside a decoy") << "decoy";
    // What the started program starts in turn never keeps the lock.
    QTest::newRow("given up when the started program ends, though its own child runs on") << "outlived";
    // Another user's program whose taker has gone, watching process 1 as a
    // keeper watches its program: named itself, never process 1.
    QTest::newRow("held by another user's program that watches a process of root's") << "disguised";
}

void TestInstanceLock::heldUntilItsHolderIsGone()
{
    QFETCH(QString, holder);
    const bool disguised = holder == QLatin1String("disguised");
    SKIP_WITHOUT_ANOTHER_USER(holder == QLatin1String("other user") || holder == QLatin1String("decoy") || disguised);
    // Holders that start a program, and those of them that are killed.
    const bool starts = holder != QLatin1String("here") && holder != QLatin1String("killed")
        && holder != QLatin1String("other user") && !disguised;
    const bool killed = starts && holder != QLatin1String("let go");
    // Unique to this test run, so that parallel runs do not meet; never the
    // machine's lock. On Windows a mutex in the namespace all sessions share.
    const QString name = QStringLiteral("TorvexSetupTest-%1-%2").arg(QCoreApplication::applicationPid()).arg(holder);
#ifdef Q_OS_WIN
    const QString here = InstanceLock::machineWide(name);
#else
    const QString here = m_runtime.filePath(name + QStringLiteral(".lock"));
    if (holder == QLatin1String("other user") || holder == QLatin1String("decoy")) {
        // Made by us with a umask that lets no one else in, then let go.
        const mode_t mask = ::umask(holder == QLatin1String("decoy") ? 022 : 077);
        InstanceLock(here).state();
        ::umask(mask);
    }
#endif
    const QString release = m_runtime.filePath(name + QStringLiteral(".release"));
    std::unique_ptr<InstanceLock> mine;
    QProcess process;
    QProcess decoy;
    if (holder == QLatin1String("decoy")) {
        // Started first, so that a search of the processes in the order of
        // their numbers would usually meet it before the real holder.
        startHolder(decoy, true, {QStringLiteral("--open"), here});
        QVERIFY(decoy.waitForReadyRead(30000));
    }
    QList<QByteArray> said; // "held <the started program's pid>"
    if (holder == QLatin1String("here")) {
        mine = std::make_unique<InstanceLock>(here);
        QCOMPARE(mine->state(), State::Held);
    } else {
        QStringList arguments{disguised ? QStringLiteral("--disguised") : QStringLiteral("--hold"), here};
        if (starts || disguised)
            arguments << release;
        if (holder == QLatin1String("let go") || holder == QLatin1String("outlived"))
            arguments << QStringLiteral("--") + holder.split(QLatin1Char(' ')).join(QLatin1Char('-'));
        startHolder(process, holder == QLatin1String("other user") || disguised, arguments);
        QVERIFY(process.waitForReadyRead(30000));
        said = process.readAll().trimmed().split(' ');
        QCOMPARE(said.value(0), QByteArray("held"));
#ifdef Q_OS_LINUX
        // The started program inherits nothing of ours, not even the lock,
        // which a keeper holds for it. Looked at once it says it has loaded:
        // while it loads the loader opens and closes files of its own, so a
        // look then may catch either.
        if (starts) {
            QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(release + QStringLiteral(".loaded")), 30000);
            const QString fds = QStringLiteral("/proc/%1/fd").arg(QString::fromLatin1(said.value(1)));
            const QStringList open = QDir(fds, {}, QDir::Name, QDir::Files | QDir::System).entryList();
            // One that starts a program of its own has an event loop's too.
            if (holder == QLatin1String("outlived")) {
                for (const QString &fd : open)
                    QVERIFY(QFile::symLinkTarget(fds + QLatin1Char('/') + fd) != here);
            } else {
                QCOMPARE(open, QStringList({"0", "1", "2"}));
            }
        }
#endif
    }

    // Held elsewhere, and whoever holds it is named, where the system tells:
    // the holder while it lives, then the program it started.
    qint64 pid = mine ? QCoreApplication::applicationPid()
                      : holder == QLatin1String("let go") || disguised ? said.value(1).toLongLong()
                                                                        : process.processId();
    for (int pass = 0; pass < (killed ? 2 : 1); ++pass) {
        const InstanceLock second(here);
        QCOMPARE(second.state(), State::HeldElsewhere);
        const QString named = QStringLiteral("process %1 (").arg(pid);
#ifdef Q_OS_LINUX
        QVERIFY2(second.holder().startsWith(named), qPrintable(second.holder()));
#endif
        QCOMPARE(InstanceLock(here + QStringLiteral("-other")).state(), State::Held);
        // The holder goes: a started program holds on until it ends.
        mine.reset();
        process.kill();
        process.waitForFinished(30000);
        pid = said.value(1).toLongLong();
    }
    QFile(release).open(QIODevice::WriteOnly);
    // Given up once the started program has ended, while its own child
    // still waits for a file that only comes later.
    QTRY_COMPARE_WITH_TIMEOUT(InstanceLock(here).state(), State::Held, 30000);
    if (holder == QLatin1String("outlived")) {
        QVERIFY(QFile::exists(release + QStringLiteral(".grand.loaded")));
        QVERIFY(!QFile::exists(release + QStringLiteral(".grand.ended")));
        QFile(release + QStringLiteral(".grand")).open(QIODevice::WriteOnly);
        // Seen to end before the folder goes with this test: else it would
        // wait on, and under Wine hold the test's output open for minutes.
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(release + QStringLiteral(".grand.ended")), 30000);
    }
    decoy.kill();
    decoy.waitForFinished(30000);
}

void TestInstanceLock::lockFileAsFound_data()
{
    QTest::addColumn<QString>("found");
    QTest::addColumn<bool>("otherUser"); // made by one, tried by another
    QTest::addColumn<QString>("said");   // empty: the lock is taken
    QTest::newRow("no such folder") << "none" << false << "no such folder/x.lock cannot be opened";
    QTest::newRow("a FIFO") << "fifo" << false << "is a FIFO, not a regular file";
    QTest::newRow("a folder") << "folder" << false << "is a folder, not a regular file";
    QTest::newRow("a symbolic link") << "link" << false << "a symbolic link";
    QTest::newRow("another user's file, mode 0600") << "0600" << true << "owner uid 12345, mode 0600";
    QTest::newRow("another user's file, mode 0666, any content") << "0666" << true << "";
    // Taken while a Setup that came first is held up in making the file or
    // in locking the one it opened, which is then removed.
    QTest::newRow("being made under umask 077 by another user") << "fchmod" << true << "";
    QTest::newRow("removed while another Setup locks it") << "flock" << false << "";
    // Made with nothing at /proc: linked in from its descriptor (root), or
    // made under a name of its own and linked (any other user).
    QTest::newRow("made without /proc") << "noproc" << false << "";
    QTest::newRow("made without /proc by another user") << "noproc" << true << "";
}

void TestInstanceLock::lockFileAsFound()
{
#ifdef Q_OS_WIN
    QSKIP("A mutex has no file to be planted");
#else
    QFETCH(QString, found);
    QFETCH(bool, otherUser);
    QFETCH(QString, said);
    SKIP_WITHOUT_ANOTHER_USER(otherUser);
    const QString path = m_runtime.filePath(found == "none" ? QStringLiteral("no such folder/x.lock")
                                                            : found + (otherUser ? "-theirs" : ""));
    const QByteArray native = QFile::encodeName(path);
    QProcess first;
    if (found == QLatin1String("fifo"))
        QCOMPARE(::mkfifo(native.constData(), 0666), 0);
    else if (found == QLatin1String("folder"))
        QVERIFY(QDir().mkdir(path));
    else if (found == QLatin1String("link"))
        QVERIFY(QFile::link(m_runtime.filePath(QStringLiteral("elsewhere")), path));
    else if (found == QLatin1String("fchmod") || found == QLatin1String("flock")) {
        if (QStandardPaths::findExecutable(QStringLiteral("strace")).isEmpty())
            QSKIP("strace holds up a system call");
        const mode_t mask = ::umask(077);
        startHolder(first, false, {QStringLiteral("--hold"), path}, found);
        ::umask(mask);
        // Held up there, whatever its start took: the rest of this row has
        // the whole delay.
        const long call = found == QLatin1String("flock") ? SYS_flock : SYS_fchmod;
        QTRY_VERIFY_WITH_TIMEOUT(tracedInSystemCall(first.processId(), call), 30000);
        if (found == QLatin1String("flock"))
            QVERIFY(QFile::remove(path));
    } else if (otherUser && found != QLatin1String("noproc")) {
        QFile planted(path);
        QVERIFY(planted.open(QIODevice::WriteOnly));
        planted.write("999999\nTorvexSetup\n\n");
        planted.close();
        QCOMPARE(::chown(native.constData(), 12345, 12345), 0);
        QCOMPARE(::chmod(native.constData(), found == QLatin1String("0600") ? 0600 : 0666), 0);
    }
    const bool withoutProc = found == QLatin1String("noproc");
    if (withoutProc
        && QProcess::execute(QStringLiteral("unshare"), {"-m", "sh", "-c", "mount -t tmpfs none /proc"}) != 0)
        QSKIP("A mount namespace of its own (unshare -m) needs root, or is not allowed here");
    // Tried as another user, and in time: nothing found there holds Setup up.
    QProcess holder;
    startHolder(holder, otherUser, {QStringLiteral("--hold"), path}, QString(), withoutProc);
    QVERIFY(holder.waitForReadyRead(30000));
    const QString answer = QString::fromUtf8(holder.readAll());
    // The one that came first finds it held, never a lock of its own.
    if (first.state() != QProcess::NotRunning) {
        QVERIFY(first.waitForFinished(30000));
        QVERIFY2(first.readAll().startsWith("unavailable:  0"), qPrintable(path));
    }
    holder.kill();
    holder.waitForFinished();
    if (withoutProc) {
        // Readable by all, and nothing made aside is left.
        struct stat info{};
        QCOMPARE(::stat(native.constData(), &info), 0);
        QCOMPARE(info.st_mode & 07777, mode_t(0644));
        QCOMPARE(QDir(m_runtime.path()).entryList({QFileInfo(path).fileName() + ".*"}, QDir::Files), QStringList());
    }
    const bool unavailable = answer.startsWith(QLatin1String("unavailable: the lock file ") + path);
    QVERIFY2(said.isEmpty() ? answer.startsWith(QLatin1String("held")) : unavailable && answer.contains(said),
             qPrintable(answer));
#endif
}

int main(int argc, char *argv[])
{
    // A holder: takes the lock (or says why not, and ends), hands it to a
    // program of its own when given a file for that one to wait for, says
    // so, and waits to be killed.
    if (argc >= 3 && qstrcmp(argv[1], "--hold") == 0) {
        QCoreApplication app(argc, argv);
        auto lock = std::make_unique<InstanceLock>(QString::fromLocal8Bit(argv[2]));
        const bool held = lock->state() == State::Held;
        std::unique_ptr<ChildProcess> started;
        if (argc >= 4) {
            lock->keepForStartedPrograms();
            const QString self = QCoreApplication::applicationFilePath();
            const QString file = QString::fromLocal8Bit(argv[3]);
            // --outlived: the started program starts one of its own in turn.
            const bool outlived = argc == 5 && qstrcmp(argv[4], "--outlived") == 0;
            const QString line = QStringLiteral("\"%1\" --wait-for \"%2\"%3")
                                     .arg(QDir::toNativeSeparators(self), QDir::toNativeSeparators(file),
                                          outlived ? QStringLiteral(" --outlived") : QString());
            const QStringList arguments{QStringLiteral("--wait-for"), file, QStringLiteral("--outlived")};
            started = ChildProcess::start({self, arguments.mid(0, outlived ? 3 : 2), line},
                                          ChildProcess::Watch::Native, nullptr);
        }
        // --let-go: only the started program holds it from now on.
        if (argc == 5 && qstrcmp(argv[4], "--let-go") == 0 && held)
            lock.reset();
        std::printf("%s %lld\n", held ? "held" : qPrintable("unavailable: " + lock->error()),
                    started ? started->pid() : 0LL);
        std::fflush(stdout);
        QThread::sleep(held ? 120 : 0);
        return 1;
    }
    // The program a holder starts: says it has loaded, and ends once the
    // file is there; with --outlived, it first starts one of its own that
    // waits for the file <file>.grand, inheriting all it can, and says when
    // that one has ended.
    if ((argc == 3 || argc == 4) && qstrcmp(argv[1], "--wait-for") == 0) {
        const QString file = QString::fromLocal8Bit(argv[2]);
        if (argc == 4) {
            QCoreApplication app(argc, argv);
            QProcess::startDetached(QCoreApplication::applicationFilePath(),
                                    {QStringLiteral("--wait-for"), file + QStringLiteral(".grand")});
            for (int i = 0; i < 600 && !QFile::exists(file + QStringLiteral(".grand.loaded")); ++i)
                QThread::msleep(50);
        }
        QFile(file + QStringLiteral(".loaded")).open(QIODevice::WriteOnly);
        for (int i = 0; i < 2400 && !QFile::exists(file); ++i)
            QThread::msleep(50);
        QFile(file + QStringLiteral(".ended")).open(QIODevice::WriteOnly);
        return 0;
    }
#ifndef Q_OS_WIN
    // A disguised holder: takes the lock and ends, leaving it to a child of
    // its own that watches process 1 through a pidfd until the file is there.
    if (argc == 4 && qstrcmp(argv[1], "--disguised") == 0) {
        const InstanceLock lock(QString::fromLocal8Bit(argv[2]));
        const pid_t child = ::fork();
        if (child == 0) {
            [[maybe_unused]] const long pidfd = ::syscall(SYS_pidfd_open, 1, 0);
            for (int i = 0; i < 2400 && ::access(argv[3], F_OK) != 0; ++i)
                ::usleep(50000);
            ::_exit(0);
        }
        std::printf("%s %lld\n", lock.state() == State::Held ? "held" : "unavailable:", qint64(child));
        std::fflush(stdout);
        ::_exit(0);
    }
#endif
    // A decoy: has the file open, never locked, says so, and waits to be
    // killed.
    if (argc == 3 && qstrcmp(argv[1], "--open") == 0) {
        QFile file(QString::fromLocal8Bit(argv[2]));
        std::printf("%s\n", file.open(QIODevice::ReadOnly) ? "open" : "not open");
        std::fflush(stdout);
        QThread::sleep(120);
        return 1;
    }
    QCoreApplication app(argc, argv);
    TestInstanceLock test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_instancelock.moc"
