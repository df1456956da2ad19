// Next on the ready page, end to end on fake services with fast ticks.
#include "doubles/wizardharness.h"
#include "installlistrows.h"
#include "install/installrun.h"
#include "install/launchcommand.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

const QString ManagerKey = QStringLiteral("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\CEAPPMGR.EXE");
const QString Manager = QStringLiteral("/usr/lib/Desktop Sync/CEAPPMGR.EXE");
const QString NoDevice = QStringLiteral(
    "Information: No mobile device connected. Connect the Pocket PC to your host Computer and click Next.");
const QString Success = QStringLiteral("Information: Setup has successfully installed Torvex on your Pocket PC.");

const QString ReadyLook = QStringLiteral("shown=Label4,Label5,Label6 enabled=Command1,Command2,Command3 timer1=off");
const QString InstallingLook = QStringLiteral("shown=Label2,Label13,Picture3 enabled= timer1=on");

// Counts TimerOUT's ticks between two starts of the application manager.
struct RunLog
{
    explicit RunLog(WizardHarness &wizard)
    {
        QObject::connect(wizard.control<QTimer>("TimerOUT"), &QTimer::timeout, [this] { ++ticks; });
        wizard.fakes.processes.onStart = [this, &wizard](const LaunchCommand &command) {
            commandLines << command.commandLine;
            ticksBefore << ticks;
            looks << wizard.installLook();
            ticks = 0;
        };
    }
    QStringList commandLines;
    QList<int> ticksBefore;
    QStringList looks;
    int ticks = 0;
};

} // namespace

class tst_InstallSequence : public QObject
{
    Q_OBJECT

private slots:
    void runsTheChosenList_data();
    void runsTheChosenList();
    void noDeviceStaysReady();
    void noApplicationManager_data();
    void noApplicationManager();
    void managerThatCannotStart();
    void noPlatformChosen();
    void closeDuringRun_data();
    void closeDuringRun();
    void noSecondStart();
    void stopEndsWithItsAttempt();
};

void tst_InstallSequence::runsTheChosenList_data()
{
    addInstallListRows();
}

void tst_InstallSequence::runsTheChosenList()
{
    QFETCH(QString, platform);
    QFETCH(QStringList, iniNames);
    QFETCH(QList<int>, pauses);

    WizardHarness wizard;
    wizard.fakes.registry.localMachine.insert(ManagerKey, Manager);
    wizard.goToPage(4, platform.toLatin1().constData());
    RunLog log(wizard);

    QString lookAtSuccess;
    int16_t exitConfirmedAtSuccess = 1;
    wizard.fakes.messages.whileShown = [&](const QString &) {
        lookAtSuccess = wizard.installLook();
        exitConfirmedAtSuccess = wizard.vars.ExitConfirmed;
    };

    QElapsedTimer clock;
    clock.start();
    wizard.click("Command1");
    // At a second a tick the pauses alone would take 42 s or more; a busy
    // machine may stretch the rest tenfold.
    QVERIFY2(clock.elapsed() < 20000, "fast ticks keep the pauses short");

    QStringList expected;
    for (const QString &name : iniNames)
        expected << Manager + QStringLiteral(" \"/opt/torvex") + NativeSeparator + name + QLatin1Char('"');
    QCOMPARE(log.commandLines, expected);
    QCOMPARE(log.ticksBefore, QList<int>{0} + pauses);
    QCOMPARE(log.ticks, 0); // no pause after the sixth run
    for (const QString &look : log.looks)
        QCOMPARE(look, InstallingLook);
    // The manager is started itself, with the INI path as its one argument.
    const LaunchCommand &first = wizard.fakes.processes.started.first();
    QCOMPARE(first.program, Manager);
    QCOMPARE(first.arguments, QStringList{QStringLiteral("/opt/torvex") + NativeSeparator + iniNames.first()});

    QCOMPARE(wizard.fakes.messages.shown, QStringList{Success});
    QCOMPARE(lookAtSuccess, QStringLiteral("shown=Label2,Label13 enabled= timer1=off"));
    QCOMPARE(exitConfirmedAtSuccess, VbFalse);
    QCOMPARE(wizard.vars.ExitConfirmed, VbTrue);
    QVERIFY(wizard.form->isUnloaded());
    QCOMPARE(wizard.vars.PageState, 4);
}

void tst_InstallSequence::noDeviceStaysReady()
{
    WizardHarness wizard;
    wizard.fakes.registry.localMachine.insert(ManagerKey, Manager);
    wizard.fakes.remoteApi.connected = false;
    wizard.goToPage(4);
    const QString before = wizard.snapshot();

    wizard.click("Command1");
    QCOMPARE(wizard.fakes.messages.shown, QStringList{NoDevice});
    QCOMPARE(wizard.snapshot(), before);
    QCOMPARE(wizard.installLook(), ReadyLook);
    QVERIFY(wizard.fakes.processes.started.isEmpty());
    // Without the remote-API library the window says just the same.
    wizard.fakes.remoteApi.libraryMissing = true;
    wizard.click("Command1");
    QCOMPARE(wizard.fakes.messages.shown, (QStringList{NoDevice, NoDevice}));
    wizard.fakes.remoteApi.libraryMissing = false;

    // Plugged in now: Next probes again and installs.
    wizard.fakes.remoteApi.connected = true;
    wizard.click("Command1");
    QCOMPARE(wizard.fakes.remoteApi.initCalls, 2); // the library was never bound for the second
    QCOMPARE(wizard.fakes.processes.started.size(), 6);
    QVERIFY(wizard.form->isUnloaded());
}

void tst_InstallSequence::noApplicationManager_data()
{
    QTest::addColumn<QString>("value");
    QTest::newRow("no key") << QString();
    QTest::newRow("empty default value") << "";
    QTest::newRow("names a file that is not there") << "/opt/nowhere/ceappmgr";
}

void tst_InstallSequence::noApplicationManager()
{
    QFETCH(QString, value);

    WizardHarness wizard;
    if (!value.isNull())
        wizard.fakes.registry.localMachine.insert(ManagerKey, value);
    wizard.fakes.processes.programs.insert(value, ProgramCheck::Missing);
    wizard.goToPage(4);
    const QString before = wizard.snapshot();
    QString lookDuringMessage;
    wizard.fakes.messages.whileShown = [&](const QString &) { lookDuringMessage = wizard.installLook(); };

    wizard.click("Command1");
    QCOMPARE(wizard.fakes.messages.shown.size(), 1);
    QVERIFY(wizard.fakes.messages.shown.first().contains(QLatin1String("CEAPPMGR.EXE")));
    QVERIFY(wizard.fakes.messages.shown.first().contains(value));
    QVERIFY(!wizard.fakes.messages.shown.first().contains(QLatin1String("successfully")));
    QCOMPARE(lookDuringMessage, ReadyLook);
    QCOMPARE(wizard.installLook(), ReadyLook);
    QCOMPARE(wizard.snapshot(), before);
    QVERIFY(wizard.fakes.processes.started.isEmpty());
    QVERIFY(!wizard.form->isUnloaded());

    // The user puts it right and tries again.
    wizard.fakes.registry.localMachine.insert(ManagerKey, Manager);
    wizard.click("Command1");
    QCOMPARE(wizard.fakes.processes.started.size(), 6);
}

void tst_InstallSequence::managerThatCannotStart()
{
    WizardHarness wizard;
    wizard.fakes.registry.localMachine.insert(ManagerKey, Manager);
    wizard.goToPage(4);
    int starts = 0;
    wizard.fakes.processes.onStart = [&](const LaunchCommand &) {
        if (++starts == 2)
            wizard.fakes.processes.failWith = QStringLiteral("No such file or directory");
    };

    wizard.click("Command1");
    QCOMPARE(wizard.fakes.processes.started.size(), 2);
    QCOMPARE(wizard.fakes.messages.shown.size(), 1);
    const QString message = wizard.fakes.messages.shown.first();
    QVERIFY(message.contains(QLatin1String("sql.wce4.armv4.ini")));
    QVERIFY(message.contains(QLatin1String("No such file or directory")));
    QCOMPARE(wizard.installLook(), ReadyLook);
    QVERIFY(!wizard.form->isUnloaded());

    // Next starts the list again from its first run.
    wizard.fakes.processes.failWith.clear();
    wizard.fakes.processes.onStart = nullptr;
    wizard.fakes.processes.started.clear();
    wizard.click("Command1");
    QCOMPARE(wizard.fakes.processes.started.size(), 6);
    QVERIFY(wizard.fakes.processes.started.first().commandLine.contains(QLatin1String("netcf.all.wce4.ARMV4.ini")));
    QCOMPARE(wizard.fakes.messages.shown.last(), Success);
}

void tst_InstallSequence::noPlatformChosen()
{
    WizardHarness wizard;
    wizard.fakes.registry.localMachine.insert(ManagerKey, Manager);
    wizard.goToPage(4, "Option3");
    // Only the program can clear both now; the sequence must not trust the page.
    wizard.button("Option3")->setAutoExclusive(false);
    wizard.button("Option3")->setChecked(false);

    wizard.click("Command1");
    QVERIFY(wizard.fakes.processes.started.isEmpty());
    QCOMPARE(wizard.fakes.messages.shown.size(), 1);
    QVERIFY(wizard.fakes.messages.shown.first() != Success);
    QCOMPARE(wizard.installLook(), ReadyLook);
    QVERIFY(!wizard.form->isUnloaded());
}

void tst_InstallSequence::closeDuringRun_data()
{
    QTest::addColumn<bool>("duringPause");
    QTest::addColumn<bool>("answer");
    QTest::newRow("Yes while a run is under way") << false << true;
    QTest::newRow("Yes during a pause") << true << true;
    QTest::newRow("No while a run is under way") << false << false;
    QTest::newRow("No during a pause") << true << false;
}

void tst_InstallSequence::closeDuringRun()
{
    QFETCH(bool, duringPause);
    QFETCH(bool, answer);

    WizardHarness wizard;
    wizard.fakes.registry.localMachine.insert(ManagerKey, Manager);
    wizard.goToPage(4);
    wizard.fakes.processes.autoEndMs = -1;
    wizard.fakes.messages.answers = {answer};
    auto *timerOut = wizard.control<QTimer>("TimerOUT");

    // The user closes the window during the second run, or during the pause
    // after it.
    wizard.fakes.processes.onStart = [&](const LaunchCommand &) {
        const int runs = wizard.fakes.processes.started.size();
        QTimer::singleShot(0, [&, runs] {
            FakeProcess *process = wizard.fakes.processes.running.value(0);
            if (runs != 2) {
                process->end();
                return;
            }
            if (!duringPause) {
                wizard.form->close();
                process->end();
                return;
            }
            process->end();
            QTimer::singleShot(0, [&] { QVERIFY(timerOut->isActive()); wizard.form->close(); });
        });
    };

    QElapsedTimer clock;
    clock.start();
    wizard.click("Command1");
    // Real ticks would have held the first pause 15 s.
    QVERIFY(clock.elapsed() < 10000);

    if (answer) {
        QCOMPARE(wizard.fakes.processes.started.size(), 2);
        QCOMPARE(wizard.fakes.messages.shown.size(), 1); // the question, and no success box
        QVERIFY(wizard.fakes.messages.shown.first().startsWith(QLatin1String("Question:")));
        QVERIFY(wizard.form->isUnloaded());
        QCOMPARE(wizard.form->exitStatus(), 15); // the handheld may be partly set up
        QVERIFY(!timerOut->isActive());
        QVERIFY(!wizard.control<QTimer>("Timer1")->isActive());
    } else {
        QCOMPARE(wizard.fakes.processes.started.size(), 6);
        QCOMPARE(wizard.fakes.messages.shown.last(), Success);
        QVERIFY(wizard.form->isUnloaded());
        QCOMPARE(wizard.form->exitStatus(), 0);
    }
}

void tst_InstallSequence::noSecondStart()
{
    WizardHarness wizard;
    wizard.fakes.registry.localMachine.insert(ManagerKey, Manager);
    wizard.goToPage(4);
    int nestedStarts = 0;
    wizard.fakes.processes.onStart = [&](const LaunchCommand &) {
        if (wizard.fakes.processes.started.size() != 1)
            return;
        // Everything a user could click or key while the first run waits.
        for (const char *name : {"Command1", "Command2", "Command3", "Option1", "Option2", "Option3", "Option4"})
            wizard.click(name);
        for (Qt::Key key : {Qt::Key_Tab, Qt::Key_Space, Qt::Key_Return, Qt::Key_Escape})
            QTest::keyClick(wizard.form.get(), key);
        // Even a direct call does not start a second run, and says why.
        QMetaObject::invokeMethod(wizard.form.get(), "Command1_Click");
        const InstallOutcome nested = wizard.form->findChild<InstallRun *>()->run(true, false);
        QCOMPARE(nested.status, ExitStatus::RunFailed);
        QVERIFY(nested.message.contains(QLatin1String("already installing")));
        nestedStarts = wizard.fakes.processes.started.size() - 1;
    };

    wizard.click("Command1");
    QCOMPARE(nestedStarts, 0);
    QCOMPARE(wizard.fakes.processes.started.size(), 6);
    QCOMPARE(wizard.fakes.messages.shown, QStringList{Success});
}

void tst_InstallSequence::stopEndsWithItsAttempt()
{
    FakeServices fakes;
    fakes.registry.localMachine.insert(ManagerKey, Manager);
    InstallRun run({fakes.remoteApi, fakes.registry, fakes.processes, fakes.ticks});
    fakes.processes.onStart = [&](const LaunchCommand &) { run.requestStop(); };
    QCOMPARE(run.run(true, false).status, ExitStatus::StoppedAfterRuns);
    fakes.processes.onStart = nullptr;
    QCOMPARE(run.run(true, false).status, ExitStatus::Success);
    QCOMPARE(fakes.processes.started.size(), 7);
}

QTEST_MAIN(tst_InstallSequence)
#include "tst_installsequence.moc"
