// The install run when the world misbehaves, through the real file system,
// registry file and process starter: INI files that are not there, runs that
// end abnormally, registry files that cannot be used, very long values, and a
// wizard that exits while the manager runs. Only the ticks are fast.
#include "doubles/observedprocesses.h"
#include "doubles/wizardharness.h"
#include "install/installlists.h"
#include "platform/registry.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>

#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const QString ManagerKey = QStringLiteral("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\CEAPPMGR.EXE");
const QString Success = QStringLiteral("Information: Setup has successfully installed Torvex on your Pocket PC.");
const QString ReadyLook = QStringLiteral("shown=Label4,Label5,Label6 enabled=Command1,Command2,Command3 timer1=off");

QStringList listAFiles()
{
    QStringList names;
    for (const InstallStep &step : ListA)
        names << step.iniName.sliced(1);
    return names;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
    QCOMPARE(file.write(bytes), bytes.size());
}

void writeScript(const QString &path, const QByteArray &body)
{
    writeFile(path, "#!/bin/sh\n" + body);
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
}

QByteArray registryFile(const QString &managerPath)
{
    return "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\" + ManagerKey.toLatin1() + "]\r\n@=\"" + managerPath.toUtf8()
        + "\"\r\n";
}

// Goes back to the folder it was made in, whatever the test did meanwhile.
struct FolderGuard
{
    ~FolderGuard() { QDir::setCurrent(before); }
    QString before = QDir::currentPath();
};

} // namespace

class tst_InstallFaults : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void missingIniFiles_data();
    void missingIniFiles();
    void abnormalEnd_data();
    void abnormalEnd();
    void exceptionCodes_data();
    void exceptionCodes();
    void unusableRegistryFile_data();
    void unusableRegistryFile();
    void longValues_data();
    void longValues();
    void managerOutlivesWizard_data();
    void managerOutlivesWizard();

private:
    // A folder holding the INI files of the first list, made the current one.
    QString enterSetupFolder(const QByteArray &name);
    // Next on the ready page; the one message shown and how long it took.
    QString runToMessage(WizardHarness &wizard, qint64 *elapsedMs = nullptr);

    QTemporaryDir m_temp;
    int m_folders = 0;
};

void tst_InstallFaults::initTestCase()
{
    QVERIFY(m_temp.isValid());
    // Runs that outlive a wizard are adopted by this test, not by init.
    QCOMPARE(prctl(PR_SET_CHILD_SUBREAPER, 1), 0);
}

void tst_InstallFaults::cleanupTestCase()
{
    // Qt cannot name the folder whose name is not UTF-8.
    std::filesystem::remove_all(QFile::encodeName(m_temp.path()).toStdString());
}

QString tst_InstallFaults::enterSetupFolder(const QByteArray &name)
{
    const QByteArray folder = QFile::encodeName(m_temp.path()) + '/' + QByteArray::number(++m_folders) + name;
    if (::mkdir(folder.constData(), 0700) != 0 || ::chdir(folder.constData()) != 0)
        return QString();
    for (const QString &ini : listAFiles()) {
        QFile file(ini);
        if (!file.open(QIODevice::WriteOnly))
            return QString();
    }
    return QFile::decodeName(folder);
}

QString tst_InstallFaults::runToMessage(WizardHarness &wizard, qint64 *elapsedMs)
{
    wizard.goToPage(4);
    QElapsedTimer clock;
    clock.start();
    wizard.fakes.messages.whileShown = [&](const QString &) {
        if (elapsedMs)
            *elapsedMs = clock.elapsed();
        wizard.fakes.messages.whileShown = nullptr;
    };
    wizard.click("Command1");
    return wizard.fakes.messages.shown.value(0);
}

void tst_InstallFaults::missingIniFiles_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QStringList>("missing");

    QTest::newRow("all there") << QString() << QStringList();
    QTest::newRow("one missing") << "missing" << QStringList{"sql.wce4.armv4.ini"};
    QTest::newRow("one is a folder") << "folder" << QStringList{"KestLanguages.ini"};
    QTest::newRow("one is a FIFO") << "fifo" << QStringList{"TorvexSetup.ini"};
    QTest::newRow("one is a dangling link") << "link" << QStringList{"netcf.all.wce4.ARMV4.ini"};
    QTest::newRow("folder deleted before Next") << "deleted" << listAFiles();
    QTest::newRow("folder name not valid UTF-8") << "bytes" << listAFiles();
}

void tst_InstallFaults::missingIniFiles()
{
    QFETCH(QString, fault);
    QFETCH(QStringList, missing);

    FolderGuard guard;
    const QString folder = enterSetupFolder(fault == QLatin1String("bytes") ? QByteArray(" setup \xff") : QByteArray());
    QVERIFY(!folder.isEmpty());
    if (!missing.isEmpty()) {
        const QString ini = missing.first();
        if (fault != QLatin1String("bytes"))
            QVERIFY(QFile::remove(ini));
        if (fault == QLatin1String("folder"))
            QVERIFY(QDir().mkdir(ini));
        if (fault == QLatin1String("fifo"))
            QCOMPARE(::mkfifo(QFile::encodeName(ini).constData(), 0600), 0);
        if (fault == QLatin1String("link"))
            QVERIFY(QFile::link(QStringLiteral("nowhere.ini"), ini));
        if (fault == QLatin1String("deleted")) {
            for (const QString &other : listAFiles())
                QFile::remove(other);
            QVERIFY(QDir().rmdir(folder));
        }
    }

    ObservedProcesses processes;
    WizardHarness wizard(nullptr, &processes);
    wizard.fakes.registry.localMachine.insert(ManagerKey, QStringLiteral("/bin/true"));
    int starts = 0;
    processes.onStart = [&](const LaunchCommand &) { ++starts; };
    const QString message = runToMessage(wizard);

    if (missing.isEmpty()) {
        QCOMPARE(starts, 6);
        QCOMPARE(message, Success);
        return;
    }
    QCOMPARE(starts, 0);
    QCOMPARE(wizard.fakes.messages.shown.size(), 1);
    const QStringList lines = message.split(QLatin1Char('\n'));
    for (const QString &ini : listAFiles())
        QVERIFY2(lines.contains(ini) == missing.contains(ini), qPrintable(message));
    if (fault == QLatin1String("deleted"))
        QVERIFY2(message.contains(QLatin1String("no longer exists")), qPrintable(message));
    else if (fault == QLatin1String("bytes"))
        QVERIFY2(message.contains(QChar(0xFFFD)), qPrintable(message));
    else
        QVERIFY2(message.contains(QStringLiteral("folder %1:").arg(folder)), qPrintable(message));
    QVERIFY(message.endsWith(QLatin1String("Start Setup from the folder that holds its installation files.")));
    QCOMPARE(wizard.installLook(), ReadyLook);
    QCOMPARE(wizard.form->focusWidget(), wizard.control("Command1"));
}

void tst_InstallFaults::abnormalEnd_data()
{
    QTest::addColumn<int>("failingRun");
    QTest::addColumn<QByteArray>("end"); // how the failing run ends itself
    QTest::addColumn<QString>("expected");

    QTest::newRow("SIGKILL in the first run") << 1 << QByteArray("kill -KILL $$") << "netcf.all.wce4.ARMV4.ini:\nThe run ended by signal 9.";
    QTest::newRow("SIGSEGV in the fourth run") << 4 << QByteArray("kill -SEGV $$") << "OpenNETCF.SDF.PPC3.ARMV4.ini:\nThe run ended by signal 11.";
    QTest::newRow("SIGTERM in the last run") << 6 << QByteArray("kill -TERM $$") << "TorvexSetup.ini:\nThe run ended by signal 15.";
    QTest::newRow("exit code 3 is not judged") << 2 << QByteArray("exit 3") << QString();
}

void tst_InstallFaults::abnormalEnd()
{
    QFETCH(int, failingRun);
    QFETCH(QByteArray, end);
    QFETCH(QString, expected);

    FolderGuard guard;
    QVERIFY(!enterSetupFolder(QByteArray()).isEmpty());
    // Counts its runs in a file and ends the chosen one as the row says.
    writeScript(QStringLiteral("manager"),
                "n=$(cat runs 2>/dev/null || echo 0); n=$((n + 1)); echo $n > runs\n"
                "ulimit -c 0\n"
                "[ \"$n\" = \"" + QByteArray::number(failingRun) + "\" ] && [ ! -e mended ] && " + end + "\n"
                "exit 0\n");
    ObservedProcesses processes;
    WizardHarness wizard(nullptr, &processes);
    wizard.fakes.registry.localMachine.insert(ManagerKey, QDir::current().filePath(QStringLiteral("manager")));
    QStringList started;
    processes.onStart = [&](const LaunchCommand &command) {
        started << command.arguments.value(0).section(QLatin1Char('/'), -1);
    };
    const QString message = runToMessage(wizard);

    if (expected.isEmpty()) {
        QCOMPARE(started, listAFiles());
        QCOMPARE(message, Success);
        return;
    }
    QCOMPARE(started, listAFiles().first(failingRun));
    QCOMPARE(wizard.fakes.messages.shown.size(), 1);
    QVERIFY2(message.contains(expected), qPrintable(message));
    QCOMPARE(wizard.installLook(), ReadyLook);
    QCOMPARE(wizard.form->focusWidget(), wizard.control("Command1"));

    // Mended, Next runs the whole list again from its first run.
    writeFile(QStringLiteral("mended"), QByteArray());
    started.clear();
    wizard.click("Command1");
    QCOMPARE(started, listAFiles());
    QCOMPARE(wizard.fakes.messages.shown.last(), Success);
}

void tst_InstallFaults::exceptionCodes_data()
{
    QTest::addColumn<uint>("exitCode");
    QTest::addColumn<QString>("abnormal"); // empty: an exit code, not judged

    QTest::newRow("0") << 0u << QString();
    QTest::newRow("3") << 3u << QString();
    QTest::newRow("STILL_ACTIVE") << 259u << QString();
    QTest::newRow("just below the exception codes") << 0xBFFFFFFFu << QString();
    QTest::newRow("access violation") << 0xC0000005u << "The run ended with exception 0xC0000005.";
    QTest::newRow("Ctrl+C") << 0xC000013Au << "The run ended with exception 0xC000013A.";
    QTest::newRow("largest") << 0xFFFFFFFFu << "The run ended with exception 0xFFFFFFFF.";
}

void tst_InstallFaults::exceptionCodes()
{
    QFETCH(uint, exitCode);
    QFETCH(QString, abnormal);

    const ProcessEnd end = ProcessEnd::fromWindowsExitCode(exitCode);
    QCOMPARE(end.isAbnormal(), !abnormal.isEmpty());
    QCOMPARE(end.code, exitCode);
    if (end.isAbnormal())
        QCOMPARE(end.description(), abnormal);
}

void tst_InstallFaults::unusableRegistryFile_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("reason");

    QTest::newRow("FIFO") << "fifo" << "it is not a regular file";
    QTest::newRow("/dev/zero") << "/dev/zero" << "it is not a regular file";
    QTest::newRow("folder") << "folder" << "it is not a regular file";
    QTest::newRow("missing") << "missing" << "it does not exist";
    QTest::newRow("one byte over 16 MiB") << "large" << "it is larger than 16 MiB";
    QTest::newRow("value with a NUL") << "nul" << "holds no usable text";
}

void tst_InstallFaults::unusableRegistryFile()
{
    QFETCH(QString, fault);
    QFETCH(QString, reason);

    FolderGuard guard;
    QVERIFY(!enterSetupFolder(QByteArray()).isEmpty());
    QString path = QDir::current().filePath(QStringLiteral("registry.reg"));
    if (fault == QLatin1String("fifo")) {
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    } else if (fault == QLatin1String("folder")) {
        QVERIFY(QDir().mkdir(path));
    } else if (fault == QLatin1String("large")) {
        writeFile(path, registryFile(QStringLiteral("/bin/true")));
        QFile file(path);
        QVERIFY(file.resize(RegFileRegistry::MaxFileSize + 1));
    } else if (fault == QLatin1String("nul")) {
        // A real program, a NUL, then more: never the program before the NUL.
        writeFile(path, registryFile(QStringLiteral("/bin/true") + QChar(0) + QStringLiteral(" more")));
    } else if (fault != QLatin1String("missing")) {
        path = fault;
    }

    RegFileRegistry registry(path);
    ObservedProcesses processes;
    WizardHarness wizard(&registry, &processes);
    int starts = 0;
    processes.onStart = [&](const LaunchCommand &) { ++starts; };
    qint64 elapsed = -1;
    const QString message = runToMessage(wizard, &elapsed);

    QCOMPARE(starts, 0);
    QCOMPARE(wizard.fakes.messages.shown.size(), 1);
    QVERIFY2(elapsed >= 0 && elapsed < 1000, qPrintable(QString::number(elapsed)));
    for (const QString &part : {QStringLiteral("\"%1\"").arg(path), QStringLiteral("TORVEX_REGISTRY"), reason})
        QVERIFY2(message.contains(part), qPrintable(message));
    QCOMPARE(wizard.installLook(), ReadyLook);
    QCOMPARE(wizard.form->focusWidget(), wizard.control("Command1"));
}

void tst_InstallFaults::longValues_data()
{
    QTest::addColumn<QString>("where");
    QTest::newRow("manager path of 10 million characters") << "manager";
    QTest::newRow("install folder of 600 characters") << "folder";
    QTest::newRow("registry file path of 5000 characters") << "registry";
}

void tst_InstallFaults::longValues()
{
    QFETCH(QString, where);

    FolderGuard guard;
    QVERIFY(!enterSetupFolder(QByteArray()).isEmpty());
    const QString registryPath = QDir::current().filePath(QStringLiteral("registry.reg"));
    QString value;
    if (where == QLatin1String("manager")) {
        value = QStringLiteral("/head") + QString(10'000'000, QLatin1Char('m')) + QStringLiteral("tail");
        writeFile(registryPath, registryFile(value));
    } else if (where == QLatin1String("folder")) {
        for (int i = 0; i < 6; ++i) {
            const QString part = QString::number(i) + QString(99, QLatin1Char('f'));
            QVERIFY(QDir().mkdir(part));
            QVERIFY(QDir::setCurrent(part));
        }
        value = QDir::currentPath();
        writeFile(registryPath, registryFile(QStringLiteral("/bin/true")));
    } else {
        value = QStringLiteral("/head") + QString(5000, QLatin1Char('r')) + QStringLiteral("tail");
    }

    RegFileRegistry registry(where == QLatin1String("registry") ? value : registryPath);
    ObservedProcesses processes;
    WizardHarness wizard(&registry, &processes);
    qint64 elapsed = -1;
    const QString message = runToMessage(wizard, &elapsed);

    QVERIFY2(elapsed >= 0 && elapsed < 2000, qPrintable(QString::number(elapsed)));
    QVERIFY2(message.size() < 1000, qPrintable(message.left(1000)));
    // 260 characters of the value: its start and its end around an ellipsis.
    QVERIFY2(message.contains(value.first(130) + QChar(0x2026) + value.last(129)), qPrintable(message));
}

void tst_InstallFaults::managerOutlivesWizard_data()
{
    QTest::addColumn<int>("lingerMs");
    QTest::newRow("wizard exits at once") << 0;
    QTest::newRow("wizard runs on after the window closed") << 4000;
}

void tst_InstallFaults::managerOutlivesWizard()
{
    QFETCH(int, lingerMs);

    FolderGuard guard;
    QVERIFY(!enterSetupFolder(QByteArray()).isEmpty());
    writeScript(QStringLiteral("manager"), "echo $$ > pid.tmp && mv pid.tmp pid\nsleep 2\necho done > done\n");
    writeFile(QStringLiteral("registry.reg"), registryFile(QDir::current().filePath(QStringLiteral("manager"))));

    QProcess wizard;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TORVEX_REGISTRY"), QDir::current().filePath(QStringLiteral("registry.reg")));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    wizard.setProcessEnvironment(environment);
    wizard.setProcessChannelMode(QProcess::ForwardedChannels);
    wizard.start(QStringLiteral(TORVEX_MIDRUN_EXIT), {QString::number(lingerMs)});
    QVERIFY(wizard.waitForStarted());

    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(QStringLiteral("pid")), 10000);
    QFile pidFile(QStringLiteral("pid"));
    QVERIFY(pidFile.open(QIODevice::ReadOnly));
    const pid_t manager = pid_t(pidFile.readAll().trimmed().toInt());
    QVERIFY(manager > 0);
    const QString managerProc = QStringLiteral("/proc/%1").arg(manager);

    if (lingerMs == 0) {
        QVERIFY(wizard.waitForFinished(10000));
        QCOMPARE(wizard.exitStatus(), QProcess::NormalExit);
        QCOMPARE(wizard.exitCode(), 0);
        // The wizard has gone; the manager, still at work, was adopted by
        // this test rather than killed, and ends as it chooses.
        QVERIFY(!QFile::exists(QStringLiteral("done")));
        siginfo_t info{};
        QElapsedTimer clock;
        clock.start();
        while (::waitid(P_PID, id_t(manager), &info, WEXITED | WNOHANG) == 0 && info.si_pid == 0
               && clock.elapsed() < 10000)
            QTest::qSleep(10);
        QCOMPARE(info.si_pid, manager);
        QCOMPARE(info.si_code, CLD_EXITED);
        QCOMPARE(info.si_status, 0);
        QVERIFY(QFile::exists(QStringLiteral("done")));
        return;
    }

    // The window is gone but the wizard runs on: it reaps the manager when
    // it ends, leaving no zombie.
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(QStringLiteral("done")), 10000);
    QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists(managerProc), 1000);
    QCOMPARE(wizard.state(), QProcess::Running);
    QVERIFY(wizard.waitForFinished(10000));
    QCOMPARE(wizard.exitCode(), 0);
}

QTEST_MAIN(tst_InstallFaults)
#include "tst_installfaults.moc"
