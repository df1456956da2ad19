// The install run when the world misbehaves, through the real file system,
// registry file and process starter; only the ticks are fast.
#include "doubles/cputime.h"
#include "doubles/observedprocesses.h"
#include "doubles/wizardharness.h"
#include "faultprocesses.h"
#include "install/installlists.h"
#include "platform/text/catalogue.h"
#include "platform/registry/registry.h"
#include "platform/text/systemnames.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

const QString ManagerKey = QStringLiteral("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\CEAPPMGR.EXE");
const QString Success = QStringLiteral("Information: Setup has successfully installed Torvex on your Pocket PC.");

QStringList listAFiles()
{
    QStringList names;
    for (const InstallStep &step : ListA)
        names << step.iniName.sliced(1);
    return names;
}

void writeFile(const QString &path, const QByteArray &bytes, bool executable = false)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
    QCOMPARE(file.write(bytes), bytes.size());
    if (executable)
        QVERIFY(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
}

// A manager that passes the check on every system; the rows using it stop
// before any run.
QString runnableProgram()
{
    return QCoreApplication::applicationFilePath();
}

QByteArray registryFile(const QString &managerPath)
{
    return "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\" + ManagerKey.toLatin1() + "]\r\n@=\"" + managerPath.toUtf8() + "\"\r\n";
}

} // namespace

class tst_InstallFaults : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();
    void missingIniFiles_data();
    void missingIniFiles();
    void abnormalEnd_data();
    void abnormalEnd();
    void unusableRegistryFile_data();
    void unusableRegistryFile();
    void longValues_data();
    void longValues();
    void managerOutlivesWizard_data();
    void managerOutlivesWizard();

private:
    // Makes a folder holding the INI files of the first list the current one.
    bool enterSetupFolder(const QByteArray &name);
    // Next on the ready page of a new wizard, with `registry` or else the
    // fake one naming `manager`: the first message and how soon it came, in
    // wall time and in this process's CPU time.
    QString next(Registry *registry, const QString &manager = QString(), qint64 *elapsedMs = nullptr,
                 double *cpuUsedMs = nullptr);
    // Nothing installed: one message, then the ready page with Next focused.
    void verifyBackOnReadyPage();

    QTemporaryDir m_temp;
    int m_folders = 0;
    QString m_folder;
    ObservedProcesses m_processes;
    QStringList m_started; // the INI file of each run
    std::unique_ptr<WizardHarness> m_wizard;
};

void tst_InstallFaults::initTestCase()
{
    QVERIFY(m_temp.isValid());
    QVERIFY(installCatalogue(QStringLiteral("en"))); // as the program speaks English
    // Runs that outlive a wizard are adopted by this test, not by init.
    QVERIFY(FaultProcesses::adoptOrphans());
    m_processes.onStart = [this](const LaunchCommand &command) {
        m_started << QFileInfo(command.arguments.value(0)).fileName();
    };
}

void tst_InstallFaults::init()
{
    m_started.clear();
    QVERIFY(enterSetupFolder(QByteArray()));
}

void tst_InstallFaults::cleanup()
{
    m_wizard.reset();
    QDir::setCurrent(m_temp.path());
}

void tst_InstallFaults::cleanupTestCase()
{
    // Windows cannot delete the current folder; Qt cannot name the folder
    // whose name is not UTF-8.
    QDir::setCurrent(QDir::tempPath());
    // Best effort: a path over 260 characters may stay behind on Windows.
    std::error_code error;
    std::filesystem::remove_all(QFile::encodeName(m_temp.path()).toStdString(), error);
}

bool tst_InstallFaults::enterSetupFolder(const QByteArray &name)
{
    const QByteArray folder = QFile::encodeName(m_temp.path()) + '/' + QByteArray::number(++m_folders) + name;
#ifdef Q_OS_UNIX
    // The name's bytes as they are, even when they are not UTF-8.
    if (::mkdir(folder.constData(), 0700) != 0 || ::chdir(folder.constData()) != 0)
        return false;
#else
    if (!QDir().mkdir(QFile::decodeName(folder)) || !QDir::setCurrent(QFile::decodeName(folder)))
        return false;
#endif
    // As Setup reads it, bytes that are not UTF-8 included.
    m_folder = currentFolder();
    for (const QString &ini : listAFiles()) {
        if (!QFile(ini).open(QIODevice::WriteOnly))
            return false;
    }
    return true;
}

QString tst_InstallFaults::next(Registry *registry, const QString &manager, qint64 *elapsedMs, double *cpuUsedMs)
{
    m_wizard = std::make_unique<WizardHarness>(registry, &m_processes);
    m_wizard->fakes.registry.localMachine.insert(ManagerKey, manager);
    m_wizard->goToPage(4);
    QElapsedTimer clock;
    clock.start();
    const double cpuBefore = cpuMs();
    qint64 shownAfter = -1;
    double cpuUsed = -1;
    m_wizard->fakes.messages.whileShown = [&](const QString &) {
        if (shownAfter < 0) {
            shownAfter = clock.elapsed();
            cpuUsed = cpuMs() - cpuBefore;
        }
    };
    m_wizard->click("Command1");
    m_wizard->fakes.messages.whileShown = nullptr;
    if (elapsedMs)
        *elapsedMs = shownAfter;
    if (cpuUsedMs)
        *cpuUsedMs = cpuUsed;
    return m_wizard->fakes.messages.shown.value(0);
}

void tst_InstallFaults::verifyBackOnReadyPage()
{
    QCOMPARE(m_wizard->fakes.messages.shown.size(), 1);
    QCOMPARE(m_wizard->installLook(),
             QStringLiteral("shown=Label4,Label5,Label6 enabled=Command1,Command2,Command3 timer1=off"));
    QCOMPARE(m_wizard->form->focusWidget(), m_wizard->control("Command1"));
}

void tst_InstallFaults::missingIniFiles_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QStringList>("missing");
    QTest::newRow("one missing") << "missing" << QStringList{"sql.wce4.armv4.ini"};
    QTest::newRow("one is a folder") << "folder" << QStringList{"KestLanguages.ini"};
    QTest::newRow("one is a FIFO") << "fifo" << QStringList{"TorvexSetup.ini"};
    QTest::newRow("one is a dangling link") << "link" << QStringList{"netcf.all.wce4.ARMV4.ini"};
    QTest::newRow("folder deleted before Next") << "deleted" << listAFiles();
    QTest::newRow("folder name not valid UTF-8") << "bytes" << QStringList{"sql.wce4.armv4.ini"};
}

void tst_InstallFaults::missingIniFiles()
{
    QFETCH(QString, fault);
    QFETCH(QStringList, missing);

    const QByteArray ini = QFile::encodeName(missing.value(0));
    if (fault == QLatin1String("bytes"))
        QVERIFY(enterSetupFolder(" setup \xff"));
    QVERIFY(QFile::remove(missing.first()));
    if (fault == QLatin1String("folder"))
        QVERIFY(QDir().mkdir(missing.first()));
#ifdef Q_OS_UNIX
    if (fault == QLatin1String("fifo"))
        QCOMPARE(::mkfifo(ini.constData(), 0600), 0);
    if (fault == QLatin1String("link"))
        QCOMPARE(::symlink("nowhere.ini", ini.constData()), 0);
#else
    // Windows has no FIFOs in the file system, keeps the current folder from
    // being deleted, and names files in UTF-16 (no name can be bad UTF-8);
    // links need rights a setup user does not have.
    if (fault != QLatin1String("missing") && fault != QLatin1String("folder"))
        QSKIP("POSIX file system only");
#endif
    if (fault == QLatin1String("deleted")) {
        for (const QString &other : missing)
            QFile::remove(other);
        QVERIFY(QDir().rmdir(m_folder));
    }

    m_processes.lookedAt.clear();
    const QString message = next(nullptr, runnableProgram());
    QVERIFY(m_started.isEmpty());
    verifyBackOnReadyPage();
    // Only ever inside the folder: never at the root for a deleted one.
    for (const QString &path : std::as_const(m_processes.lookedAt))
        QVERIFY2(path.startsWith(QDir::toNativeSeparators(m_folder + QLatin1Char('/'))), qPrintable(path));
    const QStringList lines = message.split(QLatin1Char('\n'));
    for (const QString &name : listAFiles())
        QVERIFY2(lines.contains(name) == missing.contains(name), qPrintable(message));
    const QString folder = fault == QLatin1String("deleted") ? QStringLiteral("no longer exists")
        : fault == QLatin1String("bytes")                    ? QStringLiteral(" setup \\xFF:")
                                                             : QDir::toNativeSeparators(m_folder) + QLatin1Char(':');
    QVERIFY2(message.contains(folder), qPrintable(message));
    const QLatin1String files(missing.size() == 1 ? "this installation file in" : "these installation files in");
    QVERIFY2(message.contains(files), qPrintable(message));
    QVERIFY2(message.endsWith(QLatin1String("Start Setup from the folder that holds its installation files.")),
             qPrintable(message));
}

void tst_InstallFaults::abnormalEnd_data()
{
    QTest::addColumn<int>("failingRun");
    QTest::addColumn<QByteArray>("end");
    QTest::addColumn<QString>("expected"); // empty: not judged, the install goes on
    QTest::addColumn<bool>("childSignalIgnored"); // by whoever started the wizard
#ifdef Q_OS_WIN
    QTest::newRow("unhandled C++ exception in the first run") << 1 << QByteArray("raise=0xE06D7363") << "netcf.all.wce4.ARMV4.ini:\nThe run ended with exception 0xE06D7363." << false;
    QTest::newRow("access violation in the fourth run") << 4 << QByteArray("access-violation") << "OpenNETCF.SDF.PPC3.ARMV4.ini:\nThe run ended with exception 0xC0000005." << false;
    QTest::newRow("exit code -1 is not judged") << 2 << QByteArray("exit=-1") << QString() << false;
    QTest::newRow("exit code 3 is not judged") << 3 << QByteArray("exit=3") << QString() << false;
#else
    QTest::newRow("SIGKILL in the first run") << 1 << QByteArray("kill -KILL $$") << "netcf.all.wce4.ARMV4.ini:\nThe run ended by signal 9." << false;
    QTest::newRow("SIGSEGV in the fourth run") << 4 << QByteArray("kill -SEGV $$") << "OpenNETCF.SDF.PPC3.ARMV4.ini:\nThe run ended by signal 11." << false;
    QTest::newRow("SIGTERM in the last run") << 6 << QByteArray("kill -TERM $$") << "TorvexSetup.ini:\nThe run ended by signal 15." << false;
    QTest::newRow("exit code 3 is not judged") << 2 << QByteArray("exit 3") << QString() << false;
    QTest::newRow("SIGSEGV, wizard started with SIGCHLD ignored") << 1 << QByteArray("kill -SEGV $$") << "netcf.all.wce4.ARMV4.ini:\nThe run ended by signal 11." << true;
#endif
}

void tst_InstallFaults::abnormalEnd()
{
    QFETCH(int, failingRun);
    QFETCH(QByteArray, end);
    QFETCH(QString, expected);
    QFETCH(bool, childSignalIgnored);
    if (childSignalIgnored) {
        // What the wizard's start-up undoes before anything is started.
        FaultProcesses::ignoreChildEnds();
        SystemProcessServices::takeChildEndsBack();
    }

    const QString manager = FaultProcesses::writeFailingManager(failingRun, end);
    QVERIFY(!manager.isEmpty());
    const QString message = next(nullptr, manager);
    if (expected.isEmpty()) {
        QCOMPARE(m_started, listAFiles());
        QCOMPARE(message, Success);
        return;
    }
    QVERIFY2(m_started == listAFiles().first(failingRun), qPrintable(m_started.join(QLatin1Char(' ')) + QLatin1Char('\n') + message));
    QVERIFY2(message.contains(expected), qPrintable(message));
    verifyBackOnReadyPage();

    // Mended, Next runs the whole list again from its first run.
    writeFile(QStringLiteral("mended"), QByteArray());
    m_started.clear();
    m_wizard->click("Command1");
    QCOMPARE(m_started, listAFiles());
    QCOMPARE(m_wizard->fakes.messages.shown.last(), Success);
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

    QString path = QDir::current().filePath(QStringLiteral("registry.reg"));
#ifndef Q_OS_UNIX
    if (fault == QLatin1String("fifo") || fault.startsWith(QLatin1Char('/')))
        QSKIP("POSIX file system only");
#else
    if (fault == QLatin1String("fifo")) {
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    } else
#endif
    if (fault == QLatin1String("folder")) {
        QVERIFY(QDir().mkdir(path));
    } else if (fault == QLatin1String("large")) {
        writeFile(path, registryFile(QStringLiteral("/bin/true")));
        QVERIFY(QFile::resize(path, RegFileRegistry::MaxFileSize + 1));
    } else if (fault == QLatin1String("nul")) {
        // A real program, a NUL, then more: never the program before the NUL.
        writeFile(path, registryFile(QStringLiteral("/bin/true") + QChar(0) + QStringLiteral(" more")));
    } else if (fault != QLatin1String("missing")) {
        path = fault;
    }

    RegFileRegistry registry(path);
    qint64 elapsed = -1;
    const QString message = next(&registry, QString(), &elapsed);
    QVERIFY(m_started.isEmpty());
    verifyBackOnReadyPage();
    QVERIFY2(elapsed >= 0 && elapsed < 1000, qPrintable(QString::number(elapsed)));
    for (const QString &part : {QStringLiteral("\"%1\"").arg(path), QStringLiteral("TORVEX_REGISTRY"), reason})
        QVERIFY2(message.contains(part), qPrintable(message));
}

void tst_InstallFaults::longValues_data()
{
    QTest::addColumn<QString>("where");
    QTest::newRow("manager path of 10 million characters") << "manager";
    QTest::newRow("install folder of 600 characters") << "folder";
}

void tst_InstallFaults::longValues()
{
    QFETCH(QString, where);

    const QString registryPath = QDir::current().filePath(QStringLiteral("registry.reg"));
    QString value = QStringLiteral("/head") + QString(10'000'000, QLatin1Char('v')) + QStringLiteral("tail");
    writeFile(registryPath, registryFile(where == QLatin1String("manager") ? value : runnableProgram()));
    if (where == QLatin1String("folder")) {
        for (int i = 0; i < 6; ++i) {
            const QString part = QString::number(i) + QString(99, QLatin1Char('f'));
            QVERIFY(QDir().mkdir(part) && QDir::setCurrent(part));
        }
        value = QDir::toNativeSeparators(QDir::currentPath());
    }

    RegFileRegistry registry(registryPath);
    // Its own work, which a busy machine does not stretch as it does the
    // wall clock: a 10-million-character value is not to be worked over;
    // and no waiting beside it.
    qint64 elapsed = -1;
    double cpu = -1;
    const QString message = next(&registry, QString(), &elapsed, &cpu);
    QVERIFY2(elapsed >= 0 && elapsed < 15000 && cpu < 2000,
             qPrintable(QStringLiteral("%1 ms, %2 ms of CPU").arg(elapsed).arg(cpu)));
    QVERIFY2(message.size() < 1000, qPrintable(message.left(1000)));
    // 260 characters of the value: its start and its end around an ellipsis.
    QVERIFY2(message.contains(value.first(130) + QChar(0x2026) + value.last(129)), qPrintable(message));
}

void tst_InstallFaults::managerOutlivesWizard_data()
{
    QTest::addColumn<bool>("linger");
    QTest::newRow("wizard exits at once") << false;
    QTest::newRow("wizard runs on after the window closed") << true;
}

void tst_InstallFaults::managerOutlivesWizard()
{
    QFETCH(bool, linger);

    const QString manager = FaultProcesses::writeSlowManager();
    QVERIFY(!manager.isEmpty());
    writeFile(QStringLiteral("registry.reg"), registryFile(manager));
    QProcess wizard;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TORVEX_REGISTRY"), QDir::current().filePath(QStringLiteral("registry.reg")));
    wizard.setProcessEnvironment(environment);
    wizard.setProcessChannelMode(QProcess::ForwardedChannels);
    // Built beside this program; a cross-build's own paths are not the target's.
    wizard.start(QCoreApplication::applicationDirPath() + QStringLiteral("/" TORVEX_MIDRUN_EXIT),
                 {linger ? QStringLiteral("linger") : QString()});
    // Wine on a busy machine can take many seconds to start a program.
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(QStringLiteral("pid")), 30000);
    QFile pidFile(QStringLiteral("pid"));
    QVERIFY(pidFile.open(QIODevice::ReadOnly));
    const qint64 managerPid = pidFile.readAll().trimmed().toLongLong();

    if (linger) {
        // The window is gone but the wizard runs on: it reaps the manager
        // when it ends, leaving no zombie (on Windows no open handle).
        writeFile(QStringLiteral("finish"), QByteArray());
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(QStringLiteral("done")), 30000);
        QTRY_VERIFY_WITH_TIMEOUT(FaultProcesses::isGone(managerPid), 30000);
        QCOMPARE(wizard.state(), QProcess::Running);
        writeFile(QStringLiteral("leave"), QByteArray());
    }
    // It may have ended before the manager's first word was seen.
    QVERIFY(wizard.state() == QProcess::NotRunning || wizard.waitForFinished(30000));
    QCOMPARE(wizard.exitStatus(), QProcess::NormalExit);
    QCOMPARE(wizard.exitCode(), 0);
    if (!linger) {
        // The wizard is gone; the manager, still at work, was adopted by this
        // test rather than killed, and ends as it chooses.
        QVERIFY(FaultProcesses::isRunning(managerPid));
        QVERIFY(!QFile::exists(QStringLiteral("done")));
        writeFile(QStringLiteral("finish"), QByteArray());
        QVERIFY(FaultProcesses::waitForCleanEnd(managerPid, 30000));
        QVERIFY(QFile::exists(QStringLiteral("done")));
    }
}

QTEST_MAIN(tst_InstallFaults)
#include "tst_installfaults.moc"
