#include "platform/childprocess.h"
#include "platform/processservices.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <chrono>
#include <ctime>

using Watch = SystemProcessServices::Watch;


// Most cases start POSIX programs (/bin/sh, /bin/true, /bin/sleep).
#ifdef Q_OS_UNIX
#define SKIP_WITHOUT_POSIX_PROGRAMS()
#else
#define SKIP_WITHOUT_POSIX_PROGRAMS() QSKIP("Starts POSIX programs")
#endif

namespace {

// Running and not yet a zombie.
bool isRunning(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray line = stat.readAll();
    const qsizetype close = line.lastIndexOf(')');
    return close >= 0 && close + 2 < line.size() && line.at(close + 2) != 'Z';
}

// Blocks, without running the event loop, until the process has ended.
bool waitUntilEnded(qint64 pid)
{
    const QDeadlineTimer deadline(5000);
    while (isRunning(pid) && !deadline.hasExpired())
        QThread::msleep(1);
    return !isRunning(pid);
}

qint64 nowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

qsizetype openDescriptors()
{
    return QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot).size();
}

double cpuSeconds()
{
    return double(std::clock()) / CLOCKS_PER_SEC;
}

} // namespace

class TestSystemProcessServices : public QObject
{
    Q_OBJECT

private slots:
    void endIsNoticedPromptly_data();
    void endIsNoticedPromptly();
    void startsTheNamedProgramExactly();
    void unstartableProgram_data();
    void unstartableProgram();
    void alreadyEndedProcess_data();
    void alreadyEndedProcess();
    void endedReceiverMayDestroyTheWatcher_data();
    void endedReceiverMayDestroyTheWatcher();
    void destroyingTheWatcherLeavesTheProcessRunning();
    void currentDirectory();

private:
    std::unique_ptr<LaunchedProcess> start(Watch watch, const QString &program,
                                           const QStringList &arguments);

    SystemProcessServices m_services;
};

std::unique_ptr<LaunchedProcess> TestSystemProcessServices::start(Watch watch, const QString &program,
                                                                  const QStringList &arguments)
{
    SystemProcessServices services(watch);
    QString error;
    auto process = services.start({program, arguments, QString()}, &error);
    if (!process)
        qWarning("%s", qPrintable(error));
    return process;
}

void TestSystemProcessServices::endIsNoticedPromptly_data()
{
    QTest::addColumn<Watch>("watch");
    QTest::newRow("native") << Watch::Native;
    QTest::newRow("polling") << Watch::Polling;
}

void TestSystemProcessServices::endIsNoticedPromptly()
{
    SKIP_WITHOUT_POSIX_PROGRAMS();
    QFETCH(Watch, watch);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    // The shell writes the time just before it ends.
    const QString stampFile = dir.filePath(QStringLiteral("ended"));

    QElapsedTimer sinceStart;
    sinceStart.start();
    const double cpuBefore = cpuSeconds();
    auto process = start(watch, QStringLiteral("/bin/sh"),
                         {QStringLiteral("-c"), QStringLiteral("sleep 0.3; date +%s%N > \"$0\""), stampFile});
    QVERIFY(process);
    QVERIFY(!process->hasEnded());

    QSignalSpy ended(process.get(), &LaunchedProcess::ended);
    QVERIFY(ended.wait(5000));
    const qint64 noticedNs = nowNs();
    const qint64 waitedMs = sinceStart.elapsed();
    const double cpu = cpuSeconds() - cpuBefore;

    QVERIFY(process->hasEnded());
    QFile stamp(stampFile);
    QVERIFY(stamp.open(QIODevice::ReadOnly));
    bool ok = false;
    const qint64 endedNs = stamp.readAll().trimmed().toLongLong(&ok);
    QVERIFY(ok);
    const double latencyMs = double(noticedNs - endedNs) / 1e6;
    qInfo("end noticed %.2f ms after the process wrote its last time stamp; %.0f ms CPU for %lld ms waited",
          latencyMs, cpu * 1000, waitedMs);

    QVERIFY2(waitedMs >= 300, "noticed before the process ended");
    QVERIFY2(latencyMs < 100, "end noticed late"); // 10 ms expected; slack for loaded machines
    QVERIFY2(cpu < 0.1, "the wait is busy");

    QTest::qWait(30);
    QCOMPARE(ended.count(), 1);
}

void TestSystemProcessServices::startsTheNamedProgramExactly()
{
    SKIP_WITHOUT_POSIX_PROGRAMS();
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("with spaces")));
    const QString program = dir.filePath(QStringLiteral("with spaces/a b"));
    const QString report = dir.filePath(QStringLiteral("report"));

    // The script records how it was called; a program started along the spaces
    // of its path would be the decoy "with".
    const auto writeScript = [](const QString &path, const QByteArray &body) {
        QFile script(path);
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\n" + body);
        script.close();
        QVERIFY(script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    };
    writeScript(program, "printf '%s|%s|%s' \"$0\" \"$#\" \"$1\" > \"" + QFile::encodeName(report) + "\"\n");
    writeScript(dir.filePath(QStringLiteral("with")),
                "echo decoy > \"" + QFile::encodeName(report) + "\"\n");

    const QString argument = QStringLiteral("C:\\dir with spaces\\\"quoted\".ini");
    QString error;
    auto process = m_services.start({program, {argument}, program + QStringLiteral(" \"x\"")}, &error);
    QVERIFY2(process, qPrintable(error));
    QSignalSpy ended(process.get(), &LaunchedProcess::ended);
    QVERIFY(ended.wait(5000));

    QFile result(report);
    QVERIFY(result.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(result.readAll()), program + QStringLiteral("|1|") + argument);
}

void TestSystemProcessServices::unstartableProgram_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("executableBit");
    QTest::newRow("missing file") << QStringLiteral("missing") << false;
    QTest::newRow("directory") << QStringLiteral("directory") << true;
    QTest::newRow("not executable") << QStringLiteral("plain file") << false;
}

void TestSystemProcessServices::unstartableProgram()
{
    QFETCH(QString, name);
    QFETCH(bool, executableBit);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString program = dir.filePath(name);
    if (name == QLatin1String("directory")) {
        QVERIFY(QDir(dir.path()).mkdir(name));
    } else if (name != QLatin1String("missing")) {
        QFile file(program);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\n");
    }
    QCOMPARE(QFileInfo(program).isExecutable(), executableBit);

    QString error;
    auto process = m_services.start({program, {}, program}, &error);
    QVERIFY(!process);
    QVERIFY2(error.startsWith(QStringLiteral("The program \"%1\" could not be started: ").arg(program)),
             qPrintable(error));
    QVERIFY2(error.size() > program.size() + 40 && error.endsWith(u'.'), qPrintable(error));
}

void TestSystemProcessServices::alreadyEndedProcess_data()
{
    QTest::addColumn<Watch>("watch");
    QTest::newRow("native, ends before the event loop runs") << Watch::Native;
    QTest::newRow("polling, ends before the event loop runs") << Watch::Polling;
}

void TestSystemProcessServices::alreadyEndedProcess()
{
    SKIP_WITHOUT_POSIX_PROGRAMS();
    QFETCH(Watch, watch);

    // The child is the wizard's own: it cannot vanish before it is watched.
    std::unique_ptr<LaunchedProcess> process = start(watch, QStringLiteral("/bin/true"), {});
    QVERIFY(process);
    QVERIFY(waitUntilEnded(qobject_cast<ChildProcess *>(process.get())->pid()));

    // Never reported from inside the constructor, only through the event loop.
    QSignalSpy ended(process.get(), &LaunchedProcess::ended);
    QVERIFY(!process->hasEnded());
    QCOMPARE(ended.count(), 0);
    QVERIFY(ended.wait(1000));
    QVERIFY(process->hasEnded());
    QTest::qWait(30);
    QCOMPARE(ended.count(), 1);
}

void TestSystemProcessServices::endedReceiverMayDestroyTheWatcher_data()
{
    QTest::addColumn<Watch>("watch");
    QTest::addColumn<QString>("program");
    QTest::newRow("native") << Watch::Native << QStringLiteral("/bin/true");
    QTest::newRow("polling") << Watch::Polling << QStringLiteral("/bin/true");
}

void TestSystemProcessServices::endedReceiverMayDestroyTheWatcher()
{
    SKIP_WITHOUT_POSIX_PROGRAMS();
    QFETCH(Watch, watch);
    QFETCH(QString, program);

    std::unique_ptr<LaunchedProcess> process = start(watch, program, {});
    QVERIFY(process);
    bool called = false;
    connect(process.get(), &LaunchedProcess::ended, this, [&] {
        called = true;
        process.reset();
    });
    QTRY_VERIFY_WITH_TIMEOUT(called, 5000);
    QVERIFY(!process);
}

void TestSystemProcessServices::destroyingTheWatcherLeavesTheProcessRunning()
{
    SKIP_WITHOUT_POSIX_PROGRAMS();
    const qsizetype descriptorsBefore = openDescriptors();
    QString error;
    auto launched = m_services.start({QStringLiteral("/bin/sleep"), {QStringLiteral("0.5")}, QString()}, &error);
    QVERIFY2(launched, qPrintable(error));
    auto *child = qobject_cast<ChildProcess *>(launched.get());
    QVERIFY(child);
    const qint64 pid = child->pid();
    QVERIFY(isRunning(pid));

    launched.reset();
    QTest::qWait(100);
    QVERIFY(isRunning(pid));
    // It still goes on to its own end, and is reaped then.
    QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists(QStringLiteral("/proc/%1").arg(pid)), 5000);
    QTRY_COMPARE(openDescriptors(), descriptorsBefore);
}

void TestSystemProcessServices::currentDirectory()
{
    SKIP_WITHOUT_POSIX_PROGRAMS();
    const QString before = QDir::currentPath();
    QTemporaryDir dir;
    QVERIFY(dir.isValid());

    QVERIFY(QDir::setCurrent(dir.path()));
    const QString inTemp = m_services.currentDirectory();
    QVERIFY(QDir::setCurrent(QStringLiteral("/")));
    const QString atRoot = m_services.currentDirectory();
    QVERIFY(QDir::setCurrent(before));

    QCOMPARE(inTemp, QDir::toNativeSeparators(QFileInfo(dir.path()).canonicalFilePath()));
    QVERIFY(!inTemp.endsWith(QDir::separator()));
    QCOMPARE(atRoot, QDir::toNativeSeparators(QStringLiteral("/")));
}

QTEST_GUILESS_MAIN(TestSystemProcessServices)
#include "tst_systemprocessservices.moc"
