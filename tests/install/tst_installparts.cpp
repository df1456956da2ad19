// The install run's parts: the command line, the progress block's steps, the
// timed pause and the wait for a process, with one real-time check of each.
#include "doubles/cputime.h"
#include "doubles/fakeservices.h"
#include "install/installrun.h"
#include "install/launchcommand.h"
#include "install/progressanimation.h"
#include "platform/process/processservices.h"
#include "platform/time/ticksource.h"
#include "wizard/form1.h"

#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

namespace {
// The share of one core this process used since `startMs`, over `wallMs`.
double cpuShare(double startMs, qint64 wallMs)
{
    return (cpuMs() - startMs) / double(wallMs);
}
} // namespace

class tst_InstallParts : public QObject
{
    Q_OBJECT

private slots:
    void commandLine_data();
    void commandLine();
    void blockStep_data();
    void blockStep();
    void blockSweep();
    void blockMovesOnlyWhileTimerRuns();
    void pause_data();
    void pause();
    void secondPauseCountsFromZero();
    void realOneSecondPause();
    void realProcessWait();
};

void tst_InstallParts::commandLine_data()
{
    QTest::addColumn<QString>("manager");
    QTest::addColumn<QString>("directory");
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QString>("iniPath");
    QTest::addColumn<QString>("program"); // empty: the manager path itself
    QTest::addColumn<QString>("commandLine");

    QTest::newRow("POSIX") << "/usr/bin/ceappmgr" << "/opt/torvex" << QChar('/') << "/opt/torvex/KestLanguages.ini" << QString()
                           << R"(/usr/bin/ceappmgr "/opt/torvex/KestLanguages.ini")";
    QTest::newRow("POSIX root doubles the separator") << "/usr/bin/ceappmgr" << "/" << QChar('/') << "//KestLanguages.ini" << QString()
                                                      << R"(/usr/bin/ceappmgr "//KestLanguages.ini")";
    QTest::newRow("path with spaces") << "/opt/Desktop Sync/CE App Mgr" << "/home/a b" << QChar('/')
                                      << "/home/a b/KestLanguages.ini" << QString()
                                      << R"(/opt/Desktop Sync/CE App Mgr "/home/a b/KestLanguages.ini")";
    QTest::newRow("Windows") << "C:\\Program Files\\Microsoft ActiveSync\\CEAPPMGR.EXE" << "D:\\Setup" << QChar('\\')
                             << "D:\\Setup\\KestLanguages.ini" << QString()
                             << R"(C:\Program Files\Microsoft ActiveSync\CEAPPMGR.EXE "D:\Setup\KestLanguages.ini")";
    QTest::newRow("Windows drive root") << "C:\\CEAPPMGR.EXE" << "D:\\" << QChar('\\') << "D:\\\\KestLanguages.ini" << QString()
                                        << R"(C:\CEAPPMGR.EXE "D:\\KestLanguages.ini")";
    QTest::newRow("quoted path: the quotes are not the file's") << "\"/opt/Desktop Sync/ceappmgr\"" << "/opt/torvex" << QChar('/')
                                                               << "/opt/torvex/KestLanguages.ini" << "/opt/Desktop Sync/ceappmgr"
                                                               << R"("/opt/Desktop Sync/ceappmgr" "/opt/torvex/KestLanguages.ini")";
    QTest::newRow("a lone quote stays") << "\"" << "/opt/torvex" << QChar('/') << "/opt/torvex/KestLanguages.ini" << QString()
                                        << R"(" "/opt/torvex/KestLanguages.ini")";
}

void tst_InstallParts::commandLine()
{
    QFETCH(QString, manager);
    QFETCH(QString, directory);
    QFETCH(QChar, separator);
    QFETCH(QString, iniPath);
    QFETCH(QString, program);
    QFETCH(QString, commandLine);

    const LaunchCommand command =
        buildLaunchCommand(manager, directory, QLatin1StringView("\\KestLanguages.ini"), separator);
    QCOMPARE(command.commandLine, commandLine);
    QCOMPARE(command.program, program.isEmpty() ? manager : program); // never split along its spaces
    QCOMPARE(command.arguments, QStringList{iniPath});
}

void tst_InstallParts::blockStep_data()
{
    QTest::addColumn<float>("left");
    QTest::addColumn<float>("next");
    QTest::newRow("first tick leaves the start") << 720.0f << 1020.0f;
    QTest::newRow("last place inside the track") << 5520.0f << 5820.0f;
    QTest::newRow("past the width: back and on") << 5820.0f << 1020.0f;
    QTest::newRow("equal to the width is not reset") << 5655.0f << 5955.0f;
    QTest::newRow("just past the width") << 5655.5f << 1020.0f;
    QTest::newRow("left of the track") << -100.0f << 200.0f;
}

void tst_InstallParts::blockStep()
{
    QFETCH(float, left);
    QFETCH(float, next);
    QCOMPARE(nextBlockLeft(left, 720.0f, 5655.0f), next);
}

void tst_InstallParts::blockSweep()
{
    FakeServices fakes;
    GlobalVar vars;
    Form1 form(vars, fakes.services());
    QList<float> lefts;
    for (int tick = 0; tick < 19; ++tick) {
        form.Timer1_Timer();
        lefts << form.picture3Left();
    }
    QList<float> expected;
    for (int i = 1; i <= 17; ++i)
        expected << 720.0f + 300.0f * i;
    expected << 1020.0f << 1320.0f;
    QCOMPARE(lefts, expected);
    QCOMPARE(form.findChild<QWidget *>(QStringLiteral("Picture3"))->x(), 1320 / 15);
}

void tst_InstallParts::blockMovesOnlyWhileTimerRuns()
{
    FakeServices fakes;
    GlobalVar vars;
    Form1 form(vars, fakes.services());
    auto *timer1 = form.findChild<QTimer *>(QStringLiteral("Timer1"));
    QTest::qWait(20);
    QCOMPARE(form.picture3Left(), 720.0f);
    timer1->start();
    QTRY_VERIFY(form.picture3Left() > 720.0f);
    timer1->stop();
    const float stopped = form.picture3Left();
    QTest::qWait(20);
    QCOMPARE(form.picture3Left(), stopped);
}

void tst_InstallParts::pause_data()
{
    QTest::addColumn<int>("ticks");
    QTest::addColumn<int>("counted");
    QTest::newRow("4") << 4 << 4;
    QTest::newRow("25") << 25 << 25;
    QTest::newRow("1") << 1 << 1;
    QTest::newRow("0 ends at the first tick") << 0 << 1;
    QTest::newRow("negative ends at the first tick") << -3 << 1;
}

void tst_InstallParts::pause()
{
    QFETCH(int, ticks);
    QFETCH(int, counted);

    FakeServices fakes;
    GlobalVar vars;
    Form1 form(vars, fakes.services());
    auto *timerOut = form.findChild<QTimer *>(QStringLiteral("TimerOUT"));
    int timeouts = 0;
    connect(timerOut, &QTimer::timeout, [&] { ++timeouts; });

    form.PauseTicks(ticks);
    QCOMPARE(timeouts, counted);
    QCOMPARE(form.findChild<InstallRun *>()->pauseTickCount(), counted);
    QCOMPARE(form.findChild<InstallRun *>()->pauseTickTarget(), ticks);
    QVERIFY(!timerOut->isActive());
}

void tst_InstallParts::secondPauseCountsFromZero()
{
    FakeServices fakes;
    GlobalVar vars;
    Form1 form(vars, fakes.services());
    form.PauseTicks(7);
    form.PauseTicks(2);
    QCOMPARE(form.findChild<InstallRun *>()->pauseTickCount(), 2);
}

void tst_InstallParts::realOneSecondPause()
{
    FakeServices fakes;
    RealTickSource ticks;
    GlobalVar vars;
    Form1 form(vars, {fakes.messages, fakes.remoteApi, fakes.registry, fakes.processes, ticks});
    int otherEvents = 0;
    QTimer other;
    connect(&other, &QTimer::timeout, [&] { ++otherEvents; });
    other.start(100);

    QElapsedTimer clock;
    clock.start();
    const double cpu = cpuMs();
    form.PauseTicks(1);
    const qint64 elapsed = clock.elapsed();
    QVERIFY2(elapsed >= 995 && elapsed < 2000, qPrintable(QString::number(elapsed)));
    QVERIFY(otherEvents >= 8); // the event loop ran all along
    QVERIFY2(cpuShare(cpu, elapsed) < 0.1, "the pause sleeps between events, it does not spin");
}

void tst_InstallParts::realProcessWait()
{
#ifndef Q_OS_UNIX
    QSKIP("Waits for /bin/sleep");
#endif
    FakeServices fakes;
    SystemProcessServices processes;
    GlobalVar vars;
    Form1 form(vars, {fakes.messages, fakes.remoteApi, fakes.registry, processes, fakes.ticks});
    int otherEvents = 0;
    QTimer other;
    connect(&other, &QTimer::timeout, [&] { ++otherEvents; });
    other.start(50);

    QElapsedTimer clock;
    clock.start();
    const double cpu = cpuMs();
    QString error;
    QVERIFY(form.LaunchAndWait({QStringLiteral("/bin/sleep"), {QStringLiteral("0.4")}, {}}, &error));
    const qint64 elapsed = clock.elapsed();
    QVERIFY2(elapsed >= 400 && elapsed < 1500, qPrintable(QString::number(elapsed)));
    QVERIFY(otherEvents >= 5);
    QVERIFY2(cpuShare(cpu, elapsed) < 0.1, "the wait sleeps between events, it does not spin");

    QVERIFY(!form.LaunchAndWait({QStringLiteral("/nonexistent/ceappmgr"), {}, {}}, &error));
    QVERIFY(!error.isEmpty());
}

QTEST_MAIN(tst_InstallParts)
#include "tst_installparts.moc"
