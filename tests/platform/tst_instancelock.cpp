#include "platform/instancelock.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <chrono>
#include <cstdio>
#include <memory>
#include <thread>

using State = InstanceLock::State;

class TestInstanceLock : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void heldUntilItsHolderIsGone_data();
    void heldUntilItsHolderIsGone();
    void unavailableWhereNoLockCanBeMade();

private:
    QTemporaryDir m_runtime;
};

void TestInstanceLock::initTestCase()
{
    QVERIFY(m_runtime.isValid());
    // Our own lock folder, inherited by the holder we start.
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime.path()));
}

void TestInstanceLock::heldUntilItsHolderIsGone_data()
{
    QTest::addColumn<bool>("killed");
    QTest::newRow("held here, then given up") << false;
    QTest::newRow("held by a program that is killed") << true;
}

void TestInstanceLock::heldUntilItsHolderIsGone()
{
    QFETCH(bool, killed);
    // Unique to this test run, so that parallel runs do not meet.
    const QString name = QStringLiteral("TorvexSetupTest-%1-%2").arg(QCoreApplication::applicationPid()).arg(killed);
    std::unique_ptr<InstanceLock> here;
    QProcess holder;
    if (killed) {
        holder.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--hold"), name});
        QVERIFY(holder.waitForReadyRead(30000));
        QCOMPARE(holder.readAll().trimmed(), QByteArray("held"));
    } else {
        here = std::make_unique<InstanceLock>(name);
        QCOMPARE(here->state(), State::Held);
    }

    QCOMPARE(InstanceLock(name).state(), State::HeldElsewhere);
    QCOMPARE(InstanceLock(name + QStringLiteral("-other")).state(), State::Held);

    if (killed) {
        holder.kill();
        QVERIFY(holder.waitForFinished(30000));
    } else {
        here.reset();
    }
    InstanceLock next(name);
    QCOMPARE(next.state(), State::Held);
}

void TestInstanceLock::unavailableWhereNoLockCanBeMade()
{
#ifdef Q_OS_WIN
    QSKIP("A session's namespace always takes a mutex");
#else
    const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime.filePath(QStringLiteral("no such folder"))));
    const InstanceLock lock(QStringLiteral("TorvexSetupTest"));
    qputenv("XDG_RUNTIME_DIR", saved);
    QCOMPARE(lock.state(), State::Unavailable);
    QVERIFY2(lock.error().contains(QLatin1String("no such folder")), qPrintable(lock.error()));
#endif
}

int main(int argc, char *argv[])
{
    // The holder: takes the lock, says so, and waits to be killed.
    if (argc == 3 && qstrcmp(argv[1], "--hold") == 0) {
        const InstanceLock lock(QString::fromLocal8Bit(argv[2]));
        std::puts(lock.state() == State::Held ? "held" : "not held");
        std::fflush(stdout);
        std::this_thread::sleep_for(std::chrono::minutes(2));
        return 1;
    }
    QCoreApplication app(argc, argv);
    TestInstanceLock test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_instancelock.moc"
