// The unattended run through the real InstallRun and report, on fake
// services with fast ticks, with no window system at all: one row for each
// exit status it can end with.
#include "doubles/fakeservices.h"
#include "doubles/memorystream.h"
#include "doubles/recordingsystemlog.h"
#include "install/launchcommand.h"
#include "unattended/unattendedrun.h"

#include <QDir>
#include <QGuiApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {
const QString ManagerKey = QStringLiteral("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\CEAPPMGR.EXE");

QStringList lines(const QString &text)
{
    return text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}
} // namespace

class tst_Unattended : public QObject
{
    Q_OBJECT

private slots:
    void exitStatus_data();
    void exitStatus();
    void progressLines();
};

void tst_Unattended::exitStatus_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("runs"); // runs begun
    QTest::newRow("the list runs to its end") << "" << 0 << 6;
    QTest::newRow("the list runs to its end, standard error lost") << "err" << 0 << 6;
    QTest::newRow("--check runs nothing") << "check" << 0 << 0;
    QTest::newRow("--check stopped") << "check stop" << 14 << 0;
    QTest::newRow("--check cannot print its command lines") << "check output" << 2 << 0;
    QTest::newRow("log cannot be opened") << "log" << 2 << 0;
    QTest::newRow("no handheld") << "device" << 10 << 0;
    QTest::newRow("no manager") << "manager" << 11 << 0;
    QTest::newRow("manager not executable") << "not executable" << 11 << 0;
    QTest::newRow("no remote-API library") << "library" << 16 << 0;
    QTest::newRow("an INI file missing") << "ini" << 12 << 0;
    QTest::newRow("kit folder missing") << "kit" << 12 << 0;
    QTest::newRow("run cannot start") << "start" << 13 << 0;
    QTest::newRow("second run ended by SIGSEGV") << "signal" << 13 << 2;
    QTest::newRow("stop before the first run") << "stop first" << 14 << 0;
    QTest::newRow("stop during the third run") << "stop" << 15 << 3;
    QTest::newRow("second stop during the third run") << "stop twice" << 15 << 3;
}

void tst_Unattended::exitStatus()
{
    QFETCH(QString, fault);
    QFETCH(int, status);
    QFETCH(int, runs);

    // Nothing here may need a display.
    QVERIFY(!qobject_cast<QGuiApplication *>(QCoreApplication::instance()));
    QTemporaryDir temp;
    FakeServices fakes;
    fakes.registry.localMachine.insert(ManagerKey, QStringLiteral("/opt/ceappmgr"));
    fakes.remoteApi.connected = fault != QLatin1String("device");
    if (fault == QLatin1String("manager"))
        fakes.registry.localMachine.clear();
    if (fault == QLatin1String("not executable"))
        fakes.processes.programs.insert(QStringLiteral("/opt/ceappmgr"), ProgramCheck::NotExecutable);
    fakes.remoteApi.libraryMissing = fault == QLatin1String("library");
    if (fault == QLatin1String("start"))
        fakes.processes.failWith = QStringLiteral("No such file or directory");
    if (fault == QLatin1String("ini"))
        fakes.processes.missingFiles << iniFilePath(QStringLiteral("/opt/torvex"), QLatin1StringView("\\KestLanguages.ini"));
    UnattendedOptions options;
    options.json = true;
    options.checkOnly = fault.startsWith(QLatin1String("check"));
    options.logPath = fault == QLatin1String("log") ? temp.path() : temp.filePath(QStringLiteral("run.log"));
    options.kit = fault == QLatin1String("kit") ? temp.filePath(QStringLiteral("no kit")) : QString();
    options.arguments = QStringList{QStringLiteral("TorvexSetup"), QStringLiteral("--unattended")};
    MemoryStream out;
    MemoryStream err;
    if (fault == QLatin1String("check output"))
        out.writesBeforeFailing = 1; // the start event only
    err.writesBeforeFailing = fault == QLatin1String("err") ? 0 : -1;
    UnattendedRun run(options, {fakes.remoteApi, fakes.registry, fakes.processes, fakes.ticks}, out, err);
    RecordingSystemLog systemLog;
    run.setSystemLog(&systemLog);

    // Every run ends as the row says, once the event loop has run.
    fakes.processes.autoEndMs = -1;
    bool stillRunning = false;
    fakes.processes.onStart = [&](const LaunchCommand &) {
        const qsizetype number = fakes.processes.started.size();
        QTimer::singleShot(0, &run, [&, number] {
            FakeProcess *process = fakes.processes.running.value(0);
            if (number == 3 && fault.startsWith(QLatin1String("stop"))) {
                run.stop(QStringLiteral("SIGTERM"));
                if (fault == QLatin1String("stop twice")) {
                    run.stop(QStringLiteral("SIGTERM"));
                    stillRunning = true;
                    return;
                }
            }
            const bool crash = number == 2 && fault == QLatin1String("signal");
            process->end(crash ? ProcessEnd{ProcessEnd::Kind::Signal, 11} : ProcessEnd{});
        });
    };
    if (fault == QLatin1String("stop first") || fault == QLatin1String("check stop"))
        QTimer::singleShot(0, &run, [&] { run.stop(QStringLiteral("SIGINT")); });

    QCOMPARE(run.exec(), status);
    QCOMPARE(fakes.processes.started.size(), runs);
    QCOMPARE(stillRunning, fault == QLatin1String("stop twice")); // not waited for

    // The system's log: a start and a result for every install that began,
    // none for --check; the result's ID, level and values from the status.
    if (options.checkOnly || fault == QLatin1String("log")) {
        QCOMPARE(systemLog.entries.size(), 0);
    } else {
        QCOMPARE(systemLog.entries.size(), 2);
        const SystemLogEntry &start = systemLog.entries.first();
        const SystemLogEntry &end = systemLog.entries.last();
        QCOMPARE(start.kind, SystemLogEntry::Kind::Started);
        QCOMPARE(start.eventId, 1000);
        QCOMPARE(end.kind, SystemLogEntry::Kind::Ended);
        QCOMPARE(end.eventId, 1100 + status);
        QCOMPARE(end.level, status == 0    ? SystemLogEntry::Level::Information
                            : status == 10 ? SystemLogEntry::Level::Warning
                                           : SystemLogEntry::Level::Error);
        QCOMPARE(RecordingSystemLog::value(end, QStringLiteral("STATUS")), QString::number(status));
        QCOMPARE(RecordingSystemLog::value(end, QStringLiteral("RUNS")), QString::number(runs));
        QCOMPARE(RecordingSystemLog::value(end, QStringLiteral("LOG")), QDir::toNativeSeparators(options.logPath));
        QVERIFY2(end.sentence.contains(QStringLiteral("ended with status %1: ").arg(status)), qPrintable(end.sentence));
    }
    if (fault == QLatin1String("log")) {
        QVERIFY(out.text.isEmpty());
        QVERIFY(err.text.contains(QLatin1String("cannot be opened")));
        return;
    }
    if (fault == QLatin1String("check output")) {
        // Said once, on what is left, and not called ready.
        QCOMPARE(lines(err.text).filter(QLatin1String("standard output cannot be written")).size(), 1);
        QFile logFile(options.logPath);
        QVERIFY(logFile.open(QIODevice::ReadOnly));
        QVERIFY(logFile.readAll().trimmed().endsWith("result: status 2 (standard output cannot be written)"));
        return;
    }

    // The JSON Lines end with the result, as the log does.
    const QStringList json = lines(out.text);
    const QJsonObject result = QJsonDocument::fromJson(json.last().toUtf8()).object();
    QCOMPARE(result.keys(), (QStringList{"event", "reason", "status", "time"}));
    QCOMPARE(result.value(QLatin1String("status")).toInt(), status);
    // Said exactly: which manager, which library.
    const QString says = fault == QLatin1String("library")  ? QStringLiteral("fakerapi.so")
        : fault == QLatin1String("not executable")          ? QStringLiteral("\"/opt/ceappmgr\", which may not be run")
                                                            : QString();
    QVERIFY2(err.text.contains(says), qPrintable(err.text));
    if (fault == QLatin1String("library"))
        QVERIFY(result.value(QLatin1String("reason")).toString().contains(says));
    QCOMPARE(json.filter(QLatin1String("\"event\":\"run-start\"")).size(), runs);
    QCOMPARE(json.filter(QLatin1String("\"event\":\"planned\"")).size(), fault == QLatin1String("check") ? 6 : 0);
    QFile logFile(options.logPath);
    QVERIFY(logFile.open(QIODevice::ReadOnly));
    const QStringList log = lines(QString::fromUtf8(logFile.readAll()));
    QCOMPARE(log.size(), json.size());
    QVERIFY2(log.last().contains(QStringLiteral(" result: status %1 (").arg(status)), qPrintable(log.last()));
    QCOMPARE(log.filter(QLatin1String(" pause: ")).size(), status == 0 && runs == 6 ? 5 : qMax(0, runs - 1));
    // What the window would have shown goes to standard error; if it cannot,
    // the log and the JSON say so once, and nothing else changes.
    QVERIFY(!err.text.isEmpty() || fault == QLatin1String("check") || fault == QLatin1String("err"));
    QCOMPARE(log.filter(QLatin1String(" output-failed: standard error cannot be written: ")).size(),
             fault == QLatin1String("err") ? 1 : 0);
}

void tst_Unattended::progressLines()
{
    QCoreApplication::setApplicationName(QStringLiteral("TorvexSetup"));
    FakeServices fakes;
    fakes.registry.localMachine.insert(ManagerKey, QStringLiteral("/opt/ceappmgr"));
    MemoryStream out;
    MemoryStream err;
    UnattendedOptions options;
    options.listA = false;
    UnattendedRun run(options, {fakes.remoteApi, fakes.registry, fakes.processes, fakes.ticks}, out, err);

    QCOMPARE(run.exec(), 0);
    const QStringList progress = lines(out.text);
    QCOMPARE(progress.size(), 6);
    QVERIFY2(QRegularExpression(QStringLiteral(R"(^\[1/6\] w300netcf\.all\.wce4\.ARMV4\.ini: done in \d+\.\d s \(exit code 0\)$)"))
                 .match(progress.first())
                 .hasMatch(),
             qPrintable(progress.first()));
    QVERIFY(progress.last().startsWith(QLatin1String("[6/6] TorvexSetup.ini: done in ")));
    QCOMPARE(err.text,
             QStringLiteral("TorvexSetup: Setup has successfully installed Torvex on your Pocket PC.\n"));
}

QTEST_GUILESS_MAIN(tst_Unattended)
#include "tst_unattended.moc"
