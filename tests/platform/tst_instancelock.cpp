#include "platform/childprocess.h"
#include "platform/instancelock.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <cstdio>
#include <memory>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#include <unistd.h>
#endif

using State = InstanceLock::State;

namespace {

// Another user to run a holder as, where the test runs as root.
const QStringList AsOtherUser{QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                              QStringLiteral("--clear-groups")};

bool isRoot()
{
#ifdef Q_OS_WIN
    return false;
#else
    return ::geteuid() == 0;
#endif
}

} // namespace

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
    // A lock of this test's own, never the machine's: a file in our folder,
    // or a mutex in the namespace every session shares.
    QString location(const QString &name) const;

    QTemporaryDir m_folder;
};

void TestInstanceLock::initTestCase()
{
    QVERIFY(m_folder.isValid());
    // Like /run/lock: everyone may make files there, and only remove their own.
    QFile::setPermissions(m_folder.path(), QFileDevice::Permissions(0x7777));
#ifndef Q_OS_WIN
    ::chmod(QFile::encodeName(m_folder.path()).constData(), 01777);
#endif
}

QString TestInstanceLock::location(const QString &name) const
{
#ifdef Q_OS_WIN
    return InstanceLock::machineWide(name);
#else
    return m_folder.filePath(name + QStringLiteral(".lock"));
#endif
}

void TestInstanceLock::heldUntilItsHolderIsGone_data()
{
    QTest::addColumn<QString>("holder");
    QTest::newRow("held here, then given up") << "here";
    QTest::newRow("held by a program that is killed") << "killed";
    QTest::newRow("held by another user's program, in a file made under umask 077") << "other user";
    QTest::newRow("held on by the program a killed holder started") << "started";
}

void TestInstanceLock::heldUntilItsHolderIsGone()
{
    QFETCH(QString, holder);
    // Unique to this test run, so that parallel runs do not meet.
    const QString name = QStringLiteral("TorvexSetupTest-%1-%2")
                             .arg(QCoreApplication::applicationPid())
                             .arg(QTest::currentDataTag())
                             .remove(QLatin1Char(' '));
    const QString here = location(name);
    const QString release = m_folder.filePath(name + QStringLiteral(".release"));
    std::unique_ptr<InstanceLock> mine;
    QProcess process;
    QList<QByteArray> said; // "held <pid of the program it started>"
    if (holder == QLatin1String("here")) {
        mine = std::make_unique<InstanceLock>(here);
        QCOMPARE(mine->state(), State::Held);
    } else {
        QString program = QCoreApplication::applicationFilePath();
        QStringList arguments{QStringLiteral("--hold"), here};
        if (holder == QLatin1String("started"))
            arguments << release;
        if (holder == QLatin1String("other user")) {
            if (!isRoot())
                QSKIP("Another user's holder needs the test to run as root (setpriv)");
#ifndef Q_OS_WIN
            // Made by us with a umask that lets no one else in, then let go.
            const mode_t mask = ::umask(077);
            InstanceLock(here).state();
            ::umask(mask);
#endif
            arguments.prepend(program);
            arguments = AsOtherUser + arguments;
            program = QStringLiteral("setpriv");
        }
        process.start(program, arguments);
        QVERIFY(process.waitForReadyRead(30000));
        said = process.readAll().trimmed().split(' ');
        QCOMPARE(said.value(0), QByteArray("held"));
#ifdef Q_OS_LINUX
        // The started program inherits the lock and nothing else of ours.
        if (holder == QLatin1String("started")) {
            const QStringList fds = QDir(QStringLiteral("/proc/%1/fd").arg(QString::fromLatin1(said.value(1))))
                                        .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot,
                                                   QDir::Name);
            QCOMPARE(fds, QStringList({"0", "1", "2", "3"}));
        }
#endif
    }

    // Whoever holds it is named, where the system tells.
    const auto heldBy = [&](const QByteArray &pid) {
        const InstanceLock second(here);
        QCOMPARE(second.state(), State::HeldElsewhere);
#ifdef Q_OS_LINUX
        QVERIFY2(second.holder().startsWith(QStringLiteral("process %1 (").arg(QString::fromLatin1(pid))),
                 qPrintable(second.holder()));
#else
        Q_UNUSED(pid)
#endif
    };
    heldBy(mine ? QByteArray::number(QCoreApplication::applicationPid()) : QByteArray::number(process.processId()));
    QCOMPARE(InstanceLock(here + QStringLiteral("-other")).state(), State::Held);

    if (mine) {
        mine.reset();
    } else {
        process.kill();
        QVERIFY(process.waitForFinished(30000));
    }
    if (holder == QLatin1String("started")) {
        heldBy(said.value(1));
        QFile(release).open(QIODevice::WriteOnly);
        // The started program ends once released, and the lock with it.
        QElapsedTimer clock;
        clock.start();
        while (InstanceLock(here).state() != State::Held && clock.elapsed() < 10000)
            QThread::msleep(50);
    }
    QCOMPARE(InstanceLock(here).state(), State::Held);
}

void TestInstanceLock::lockFileAsFound_data()
{
    QTest::addColumn<QString>("found");
    QTest::addColumn<bool>("otherUser"); // made by one, tried by another
    QTest::addColumn<QString>("said");   // empty: the lock is taken
    QTest::newRow("no such folder") << "none" << false << "no such folder";
    QTest::newRow("a FIFO") << "fifo" << false << "is a FIFO, not a regular file";
    QTest::newRow("a folder") << "folder" << false << "is a folder, not a regular file";
    QTest::newRow("a symbolic link") << "link" << false << "a symbolic link";
    QTest::newRow("another user's file, mode 0600") << "0600" << true << "owner uid 12345, mode 0600";
    QTest::newRow("another user's file, mode 0666, any content") << "0666" << true << "";
}

void TestInstanceLock::lockFileAsFound()
{
#ifdef Q_OS_WIN
    QSKIP("A mutex has no file to be planted");
#else
    QFETCH(QString, found);
    QFETCH(bool, otherUser);
    QFETCH(QString, said);
    if (otherUser && !isRoot())
        QSKIP("Another user's file needs the test to run as root (chown, setpriv)");
    const QString path = m_folder.filePath(QStringLiteral("planted-%1.lock").arg(found));
    const QByteArray native = QFile::encodeName(path);
    if (found == QLatin1String("none")) {
        const QString missing = m_folder.filePath(QStringLiteral("no such folder/x.lock"));
        const InstanceLock lock(missing);
        QCOMPARE(lock.state(), State::Unavailable);
        QVERIFY2(lock.error().contains(missing), qPrintable(lock.error()));
        return;
    }
    if (found == QLatin1String("fifo"))
        QCOMPARE(::mkfifo(native.constData(), 0666), 0);
    else if (found == QLatin1String("folder"))
        QVERIFY(QDir().mkdir(path));
    else if (found == QLatin1String("link"))
        QVERIFY(QFile::link(m_folder.filePath(QStringLiteral("elsewhere")), path));
    else {
        QFile planted(path);
        QVERIFY(planted.open(QIODevice::WriteOnly));
        planted.write("999999\nTorvexSetup\n\n");
        planted.close();
        QCOMPARE(::chown(native.constData(), 12345, 12345), 0);
        QCOMPARE(::chmod(native.constData(), found == QLatin1String("0600") ? 0600 : 0666), 0);
    }
    // Tried as another user, and in time: nothing found there may hold Setup up.
    QProcess probe;
    const QStringList tryIt{QCoreApplication::applicationFilePath(), QStringLiteral("--try"), path};
    if (otherUser)
        probe.start(QStringLiteral("setpriv"), AsOtherUser + tryIt);
    else
        probe.start(tryIt.first(), tryIt.mid(1));
    QVERIFY(probe.waitForFinished(10000));
    const QString answer = QString::fromUtf8(probe.readAllStandardOutput());
    if (said.isEmpty()) {
        QCOMPARE(answer, QStringLiteral("held"));
    } else {
        QVERIFY2(answer.startsWith(QLatin1String("unavailable: ")) && answer.contains(path) && answer.contains(said),
                 qPrintable(answer));
    }
#endif
}

int main(int argc, char *argv[])
{
    // A holder: takes the lock, hands it to a program of its own when given
    // a file to wait for, says so, and waits to be killed.
    if (argc >= 3 && qstrcmp(argv[1], "--hold") == 0) {
        QCoreApplication app(argc, argv);
        InstanceLock lock(QString::fromLocal8Bit(argv[2]));
        std::unique_ptr<ChildProcess> started;
        if (argc == 4) {
            lock.passToStartedPrograms();
            const QString self = QCoreApplication::applicationFilePath();
            const QString file = QString::fromLocal8Bit(argv[3]);
            const QString line = QStringLiteral("\"%1\" --wait-for \"%2\"")
                                     .arg(QDir::toNativeSeparators(self), QDir::toNativeSeparators(file));
            started = ChildProcess::start({self, {QStringLiteral("--wait-for"), file}, line},
                                          ChildProcess::Watch::Native, nullptr);
        }
        std::printf("%s %lld\n", lock.state() == State::Held ? "held" : "not-held", started ? started->pid() : 0LL);
        std::fflush(stdout);
        QThread::sleep(120);
        return 1;
    }
    // The program a holder starts: ends once the file is there.
    if (argc == 3 && qstrcmp(argv[1], "--wait-for") == 0) {
        for (int i = 0; i < 2400 && !QFile::exists(QString::fromLocal8Bit(argv[2])); ++i)
            QThread::msleep(50);
        return 0;
    }
    // One attempt, reported: "held", "elsewhere" or "unavailable: <why>".
    if (argc == 3 && qstrcmp(argv[1], "--try") == 0) {
        const InstanceLock lock(QString::fromLocal8Bit(argv[2]));
        const QByteArray error = lock.error().toUtf8();
        std::printf("%s", lock.state() == State::Held ? "held"
                          : lock.state() == State::HeldElsewhere ? "elsewhere"
                                                                 : ("unavailable: " + error).constData());
        return 0;
    }
    QCoreApplication app(argc, argv);
    TestInstanceLock test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_instancelock.moc"
