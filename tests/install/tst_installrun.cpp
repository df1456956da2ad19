// A whole install run through the real registry file reader and the real
// process starter, against a stand-in application manager; only the ticks
// are fast.
#include "doubles/observedprocesses.h"
#include "doubles/wizardharness.h"
#include "installlistrows.h"
#include "install/installlists.h"
#include "platform/registry/registry.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

class tst_InstallRun : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void runsEachListForReal_data();
    void runsEachListForReal();
    void closeWithYesLeavesTheManagerRunning();

private:
    QTemporaryDir m_temp;
    QString m_installDir;
    QString m_previousDir;
};

void tst_InstallRun::initTestCase()
{
    QVERIFY(m_temp.isValid());
    // The manager lives under a path with spaces, as on a real desktop.
    const QString manager = QStringLiteral(TORVEX_RECORDING_MANAGER);
    QVERIFY(manager.contains(QLatin1Char(' ')));

    QFile reg(m_temp.filePath(QStringLiteral("registry.reg")));
    QVERIFY(reg.open(QIODevice::WriteOnly));
    QString escaped = manager;
    escaped.replace(QLatin1String("\\"), QLatin1String("\\\\")).replace(QLatin1String("\""), QLatin1String("\\\""));
    reg.write(QStringLiteral("Windows Registry Editor Version 5.00\r\n\r\n"
                             "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\CEAPPMGR.EXE]\r\n"
                             "@=\"%1\"\r\n")
                  .arg(escaped)
                  .toUtf8());
    reg.close();

    m_installDir = m_temp.filePath(QStringLiteral("install dir"));
    QVERIFY(QDir().mkpath(m_installDir));
    // The manager is handed INI files that are there.
    for (const InstallList &list : {ListA, ListB}) {
        for (const InstallStep &step : list) {
            QFile ini(m_installDir + QLatin1Char('/') + step.iniName.sliced(1));
            QVERIFY(ini.open(QIODevice::WriteOnly));
        }
    }
    m_previousDir = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_installDir));
}

void tst_InstallRun::cleanupTestCase()
{
    QDir::setCurrent(m_previousDir);
}

void tst_InstallRun::runsEachListForReal_data()
{
    addInstallListRows();
}

void tst_InstallRun::runsEachListForReal()
{
    QFETCH(QString, platform);
    QFETCH(QStringList, iniNames);
    QFETCH(QList<int>, pauses);

    const QString record = m_temp.filePath(platform + QStringLiteral(".log"));
    qputenv("TORVEX_RECORD", record.toLocal8Bit());
    RegFileRegistry registry(m_temp.filePath(QStringLiteral("registry.reg")));
    ObservedProcesses processes;
    WizardHarness wizard(&registry, &processes);

    int ticks = 0;
    QList<int> ticksBeforeStart;
    connect(wizard.control<QTimer>("TimerOUT"), &QTimer::timeout, [&] { ++ticks; });
    processes.onStart = [&](const LaunchCommand &) {
        ticksBeforeStart << ticks;
        ticks = 0;
    };

    wizard.goToPage(4, platform.toLatin1().constData());
    QElapsedTimer clock;
    clock.start();
    wizard.click("Command1");
    // Six program starts, under Wine on a busy machine too; the pauses alone
    // would take 42 s or more.
    QVERIFY2(clock.elapsed() < 30000, "only the application manager's runs take real time");

    QCOMPARE(ticksBeforeStart, QList<int>{0} + pauses);
    QCOMPARE(wizard.fakes.messages.shown,
             QStringList{QStringLiteral("Information: Setup has successfully installed Torvex on your Pocket PC.")});
    QVERIFY(wizard.form->isUnloaded());

    QFile log(record);
    QVERIFY(log.open(QIODevice::ReadOnly));
#ifdef Q_OS_WIN
    // The manager's path is not quoted in its command line, so its C runtime
    // splits the path at the space; what it receives is checked apart.
    QSKIP("The arguments as a Windows C runtime splits them");
#endif
    QStringList expected;
    for (const QString &name : iniNames)
        expected << QStringLiteral("1|%1/%2|%1").arg(m_installDir, name);
    QCOMPARE(QString::fromLocal8Bit(log.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts), expected);
}

void tst_InstallRun::closeWithYesLeavesTheManagerRunning()
{
    const QString record = m_temp.filePath(QStringLiteral("closed.log"));
    const QString release = m_temp.filePath(QStringLiteral("closed.release"));
    qputenv("TORVEX_RECORD", record.toLocal8Bit());
    qputenv("TORVEX_RECORD_AFTER", release.toLocal8Bit());
    RegFileRegistry registry(m_temp.filePath(QStringLiteral("registry.reg")));
    ObservedProcesses processes;
    WizardHarness wizard(&registry, &processes);
    wizard.fakes.messages.answers = {true};
    // Timed from the manager's start, which may be slow, to the window's end.
    QElapsedTimer clock;
    processes.onStart = [&](const LaunchCommand &) {
        clock.start();
        QTimer::singleShot(100, wizard.form.get(), [&] { wizard.form->close(); });
    };

    wizard.goToPage(4);
    wizard.click("Command1");
    qunsetenv("TORVEX_RECORD_AFTER");

    // The run ended with the window, without waiting for the manager, which
    // works until it is let go below (or for a minute)...
    QVERIFY2(clock.isValid() && clock.elapsed() < 5000, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(wizard.form->isUnloaded());
    QCOMPARE(wizard.fakes.messages.shown,
             QStringList{QStringLiteral("Question: Are you sure you want to cancel Torvex Setup?")});
    QVERIFY(!QFile::exists(record));
    // ...which was not killed: let go, it finishes its work, and nothing else
    // ran.
    QVERIFY(QFile(release).open(QIODevice::WriteOnly));
    auto recordedRuns = [&record] {
        QFile log(record);
        return log.open(QIODevice::ReadOnly) ? log.readAll().count('\n') : 0;
    };
    QTRY_COMPARE_WITH_TIMEOUT(recordedRuns(), 1, 30000);
}

QTEST_MAIN(tst_InstallRun)
#include "tst_installrun.moc"
