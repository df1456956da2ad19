#include "install/launchcommand.h"
#include "platform/process/childprocess.h"
#include "platform/process/processservices.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <chrono>
#include <ctime>
#include <fcntl.h>
#include <unistd.h>

#ifdef Q_OS_WIN
#include "windowschild/windowschild.h"
#endif

using Watch = SystemProcessServices::Watch;
using Kind = ProcessEnd::Kind;


// Most cases start POSIX programs (/bin/sh, /bin/true, /bin/sleep).
#ifdef Q_OS_UNIX
#define SKIP_WITHOUT_POSIX_PROGRAMS()
#else
#define SKIP_WITHOUT_POSIX_PROGRAMS() QSKIP("Starts POSIX programs")
#endif

namespace {

// A program that ends as `action` says: a shell command on POSIX, an action
// of the test child program on Windows (tests/windowschild).
LaunchCommand endingWith(const QString &action)
{
#ifdef Q_OS_WIN
    const QString program = QDir::toNativeSeparators(windowsChildPath());
    return {program, {action}, QLatin1Char('"') + program + QStringLiteral("\" ") + action};
#else
    const QString program = QStringLiteral("/bin/sh");
    const QStringList arguments{QStringLiteral("-c"), QStringLiteral("ulimit -c 0; ") + action};
    return {program, arguments, program + QLatin1Char(' ') + arguments.join(QLatin1Char(' '))};
#endif
}

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
    const QDeadlineTimer deadline(30000);
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
    void howRunEnded_data();
    void howRunEnded();
    void iniCheckAndCommandLine_data();
    void iniCheckAndCommandLine();

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
    QVERIFY(ended.wait(30000));
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
    // Nor does it get the wizard's descriptors: one opened without
    // close-on-exec stays behind.
    const int inheritable = ::open("/dev/null", O_RDONLY);
    QVERIFY(inheritable > STDERR_FILENO);
    const QByteArray descriptor = "/proc/$$/fd/" + QByteArray::number(inheritable);
    writeScript(program, "if [ -e " + descriptor + " ]; then fd=inherited; else fd=closed; fi\n"
                         "printf '%s|%s|%s|%s' \"$0\" \"$#\" \"$1\" $fd > \"" + QFile::encodeName(report) + "\"\n");
    writeScript(dir.filePath(QStringLiteral("with")),
                "echo decoy > \"" + QFile::encodeName(report) + "\"\n");

    const QString argument = QStringLiteral("C:\\dir with spaces\\\"quoted\".ini");
    QString error;
    auto process = m_services.start({program, {argument}, program + QStringLiteral(" \"x\"")}, &error);
    QVERIFY2(process, qPrintable(error));
    ::close(inheritable);
    QSignalSpy ended(process.get(), &LaunchedProcess::ended);
    QVERIFY(ended.wait(30000));

    QFile result(report);
    QVERIFY(result.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(result.readAll()), program + QStringLiteral("|1|") + argument + QStringLiteral("|closed"));
}

void TestSystemProcessServices::unstartableProgram_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("executableBit");
    QTest::addColumn<int>("check"); // what checkProgram says of it beforehand
    QTest::newRow("missing file") << QStringLiteral("missing") << false << int(ProgramCheck::Missing);
    QTest::newRow("directory") << QStringLiteral("directory") << true << int(ProgramCheck::NotRegularFile);
#ifdef Q_OS_WIN
    // Windows has no permission to run a file: only starting it tells.
    QTest::newRow("not executable") << QStringLiteral("plain file") << false << int(ProgramCheck::Runnable);
#else
    QTest::newRow("not executable") << QStringLiteral("plain file") << false << int(ProgramCheck::NotExecutable);
#endif
    QTest::newRow("relative path") << QStringLiteral("relative") << false << int(ProgramCheck::NotAbsolute);
}

void TestSystemProcessServices::unstartableProgram()
{
    QFETCH(QString, name);
    QFETCH(bool, executableBit);
    QFETCH(int, check);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString program = name == QLatin1String("relative") ? name : dir.filePath(name);
    if (name == QLatin1String("directory")) {
        QVERIFY(QDir(dir.path()).mkdir(name));
    } else if (name != QLatin1String("missing")) {
        QFile file(program);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\n");
    }
    QCOMPARE(QFileInfo(program).isExecutable(), executableBit);
    QCOMPARE(int(m_services.checkProgram(program)), check);

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
    QTest::newRow("native") << Watch::Native;
    QTest::newRow("polling") << Watch::Polling;
}

void TestSystemProcessServices::endedReceiverMayDestroyTheWatcher()
{
    SKIP_WITHOUT_POSIX_PROGRAMS();
    QFETCH(Watch, watch);

    std::unique_ptr<LaunchedProcess> process = start(watch, QStringLiteral("/bin/true"), {});
    QVERIFY(process);
    bool called = false;
    connect(process.get(), &LaunchedProcess::ended, this, [&] {
        called = true;
        process.reset();
    });
    QTRY_VERIFY_WITH_TIMEOUT(called, 30000);
    QVERIFY(!process);
}

void TestSystemProcessServices::destroyingTheWatcherLeavesTheProcessRunning()
{
    SKIP_WITHOUT_POSIX_PROGRAMS();
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    // It runs until it is let go: no slowness of this test's can outlast it.
    const QString go = dir.filePath(QStringLiteral("go"));
    const qsizetype descriptorsBefore = openDescriptors();
    QString error;
    const QString script = QStringLiteral("i=0; while [ ! -e \"$0\" ] && [ $i -lt 600 ]; do sleep 0.05; i=$((i+1)); done");
    auto launched = m_services.start({QStringLiteral("/bin/sh"), {QStringLiteral("-c"), script, go}, QString()}, &error);
    QVERIFY2(launched, qPrintable(error));
    auto *child = qobject_cast<ChildProcess *>(launched.get());
    QVERIFY(child);
    const qint64 pid = child->pid();
    QVERIFY(isRunning(pid));

    launched.reset();
    QTest::qWait(100);
    QVERIFY(isRunning(pid));
    // Let go, it still goes on to its own end, and is reaped then.
    QVERIFY(QFile(go).open(QIODevice::WriteOnly));
    QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists(QStringLiteral("/proc/%1").arg(pid)), 30000);
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

void TestSystemProcessServices::howRunEnded_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<uint>("code");
    QTest::addColumn<QString>("description"); // for abnormal ends only

#ifdef Q_OS_WIN
    QTest::newRow("exit code 0") << "exit=0" << Kind::Exited << 0u << QString();
    QTest::newRow("exit code 3, as abort() leaves") << "exit=3" << Kind::Exited << 3u << QString();
    QTest::newRow("exit code -1") << "exit=-1" << Kind::Exited << 0xFFFFFFFFu << QString();
    QTest::newRow("exit code just past the exception range") << "exit=0xD0000000" << Kind::Exited << 0xD0000000u << QString();
    QTest::newRow("access violation") << "access-violation" << Kind::Exception << 0xC0000005u
                                      << "The run ended with exception 0xC0000005.";
    QTest::newRow("breakpoint") << "breakpoint" << Kind::Exception << 0x80000003u
                                << "The run ended with exception 0x80000003.";
    QTest::newRow("unhandled C++ exception") << "raise=0xE06D7363" << Kind::Exception << 0xE06D7363u
                                             << "The run ended with exception 0xE06D7363.";
    QTest::newRow("unhandled .NET exception") << "raise=0xE0434352" << Kind::Exception << 0xE0434352u
                                              << "The run ended with exception 0xE0434352.";
#else
    QTest::newRow("exit code 0") << "exit 0" << Kind::Exited << 0u << QString();
    QTest::newRow("exit code 3") << "exit 3" << Kind::Exited << 3u << QString();
    QTest::newRow("exit code -1") << "exit 255" << Kind::Exited << 255u << QString();
    QTest::newRow("SIGKILL") << "kill -KILL $$" << Kind::Signal << 9u << "The run ended by signal 9.";
    QTest::newRow("SIGSEGV") << "kill -SEGV $$" << Kind::Signal << 11u << "The run ended by signal 11.";
#endif
}

void TestSystemProcessServices::howRunEnded()
{
    QFETCH(QString, action);
    QFETCH(Kind, kind);
    QFETCH(uint, code);
    QFETCH(QString, description);

    QString error;
    auto process = m_services.start(endingWith(action), &error);
    QVERIFY2(process, qPrintable(error));
    QSignalSpy ended(process.get(), &LaunchedProcess::ended);
    QVERIFY(ended.wait(30000));
    const ProcessEnd end = process->howEnded();
    QCOMPARE(end.kind, kind);
    QCOMPARE(end.code, uint32_t(code));
    QCOMPARE(end.isAbnormal(), !description.isEmpty());
    if (!description.isEmpty())
        QCOMPARE(end.description(), description);
}

// The folder the wizard runs in, as the INI check and the application
// manager see it, and the command line the manager receives.
void TestSystemProcessServices::iniCheckAndCommandLine_data()
{
    QTest::addColumn<QString>("installDir"); // relative to a temporary folder; "/" for its drive's root
    QTest::addColumn<bool>("quoted");        // the registry value quoted
#ifdef Q_OS_WIN
    QTest::newRow("folders with spaces and non-ASCII letters") << QStringLiteral(u"Setup Ördner ä") << false;
    QTest::newRow("the registry value quoted") << QStringLiteral(u"Setup Ördner ä") << true;
    QTest::newRow("drive root") << QStringLiteral("/") << false;
#endif
}

void TestSystemProcessServices::iniCheckAndCommandLine()
{
#ifndef Q_OS_WIN
    QSKIP("Windows only: on POSIX the program's arguments, not a command line, reach it "
          "(startsTheNamedProgramExactly).");
#else
    QFETCH(QString, installDir);
    QFETCH(bool, quoted);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    // The manager under a folder with spaces and non-ASCII letters, and a
    // decoy where a start along the spaces of its path would find one.
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral(u"Gerät Manager")));
    const QString manager = QDir::toNativeSeparators(dir.filePath(QStringLiteral(u"Gerät Manager/ce app mgr é.exe")));
    QVERIFY(QFile::copy(windowsChildPath(), manager));
    QVERIFY(QFile::copy(windowsChildPath(), dir.filePath(QStringLiteral(u"Gerät.exe"))));

    const QString before = QDir::currentPath();
    const QString folder = installDir == QLatin1String("/") ? QDir::rootPath() : dir.filePath(installDir);
    QVERIFY(QDir().mkpath(folder) && QDir::setCurrent(folder));
    const QString current = m_services.currentDirectory();
    const LaunchCommand command = buildLaunchCommand(quoted ? QLatin1Char('"') + manager + QLatin1Char('"') : manager,
                                                     current, QLatin1StringView("\\KestLanguages.ini"));
    const QString iniPath = command.arguments.value(0);
    QFile ini(QStringLiteral("KestLanguages.ini"));
    const bool written = ini.open(QIODevice::WriteOnly);
    ini.close();
    const bool readable = m_services.isReadableFile(iniPath);
    ini.remove();
    QVERIFY(QDir::setCurrent(before));
    if (!written)
        QSKIP(qPrintable(QStringLiteral("Cannot write in %1: %2").arg(folder, ini.errorString())));

    QVERIFY2(QRegularExpression(QStringLiteral("^[A-Z]:\\\\")).match(current).hasMatch(), qPrintable(current));
    QVERIFY2(readable, qPrintable(iniPath));
    QVERIFY(!m_services.isReadableFile(iniPath + QLatin1Char('x')));

    const QString record = dir.filePath(QStringLiteral("record.txt"));
    qputenv("TORVEX_RECORD", QDir::toNativeSeparators(record).toUtf8());
    QString error;
    auto process = m_services.start(command, &error);
    qunsetenv("TORVEX_RECORD");
    QVERIFY2(process, qPrintable(error));
    QSignalSpy ended(process.get(), &LaunchedProcess::ended);
    QVERIFY(ended.wait(30000));
    QFile recorded(record);
    QVERIFY(recorded.open(QIODevice::ReadOnly));
    // Exactly the manager named, and exactly the command line built for it.
    QCOMPARE(QString::fromUtf8(recorded.readAll()), manager + QLatin1Char('\t') + command.commandLine + QLatin1Char('\n'));
#endif
}

QTEST_GUILESS_MAIN(TestSystemProcessServices)
#include "tst_systemprocessservices.moc"
