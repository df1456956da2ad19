#include "unattended/unattendedrun.h"

#include "install/kitfolder.h"
#include "platform/text/catalogue.h"
#include "platform/text/messagetext.h"
#include "platform/io/outputstream.h"
#include "platform/process/processservices.h"
#include "platform/registry/registry.h"
#include "platform/remoteapi/remoteapi.h"
#include "platform/process/stopsignals.h"
#include "platform/systemlog/systemlog.h"
#include "platform/text/systemtexts.h"
#include "platform/time/ticksource.h"
#include "unattended/installjournal.h"
#include "unattended/runreport.h"

#include <QCoreApplication>
#include <QDir>

#include <memory>

namespace {

// How a run ended, in a few words: "exit code 0", "signal 9".
QString howEnded(const ProcessEnd &end)
{
    if (end.kind == ProcessEnd::Kind::Exited)
        return UnattendedRun::tr("exit code %1").arg(end.code);
    if (end.kind == ProcessEnd::Kind::Signal)
        return UnattendedRun::tr("signal %1").arg(end.code);
    if (end.kind == ProcessEnd::Kind::Exception)
        return UnattendedRun::tr("exception %1").arg(ProcessEnd::exceptionCode(end.code));
    return end.description();
}

QString endKind(const ProcessEnd &end)
{
    if (end.kind == ProcessEnd::Kind::Exited)
        return QStringLiteral("exit-code");
    if (end.kind == ProcessEnd::Kind::Signal)
        return QStringLiteral("signal");
    if (end.kind == ProcessEnd::Kind::Exception)
        return QStringLiteral("exception");
    return QStringLiteral("unknown");
}

QString runLabel(int number, int count)
{
    return QStringLiteral("%1/%2").arg(number).arg(count);
}

// The fields every event about one run starts with, then `more`.
RunReport::Fields runFields(int number, int count, const QString &iniFile, const RunReport::Fields &more)
{
    return RunReport::Fields{{QStringLiteral("run"), number}, {QStringLiteral("of"), count},
                             {QStringLiteral("ini"), iniFile}}
        + more;
}

} // namespace

UnattendedRun::UnattendedRun(const UnattendedOptions &options, const InstallServices &services, OutputStream &out,
                             OutputStream &err, QObject *parent)
    : QObject(parent), m_options(options), m_out(out), m_err(err), m_install(services)
{
}

UnattendedRun::~UnattendedRun() = default;

int UnattendedRun::exec()
{
    const auto refuse = [this](const QString &error) {
        m_reason = error;
        m_err.write(RunReport::errorLine(error));
        return toInt(ExitStatus::Usage);
    };
    if (!m_options.logPath.isEmpty()) {
        QString error;
        m_log = openRunLog(m_options.logPath, &error);
        if (!m_log)
            return refuse(error);
    }
    m_report = std::make_unique<RunReport>(m_out, m_err, m_log.get(), m_options.json, m_options.logPath);
    // A log or output that cannot take even this line ends the run before
    // anything runs.
    QString error;
    if (!m_report->start(m_options.arguments, &error)) {
        // Told on every stream that still works: a JSON reader learns why
        // nothing ran.
        m_report->result(ExitStatus::Usage, error);
        return refuse(error);
    }
    if (!m_options.lockWarning.isEmpty())
        m_report->message(m_options.lockWarning);
    if (m_systemLog && !m_options.checkOnly) {
        // Named from where Setup was started, before it enters the kit.
        const QString log = m_options.logPath.isEmpty() ? QString() : QDir(m_options.logPath).absolutePath();
        m_journal = std::make_unique<InstallJournal>(
            *m_systemLog, m_options.passive ? QStringLiteral("passive") : QStringLiteral("unattended"),
            QDir(m_options.kit.isEmpty() ? QStringLiteral(".") : m_options.kit).absolutePath(), log);
        m_journal->follow(m_install);
        m_journal->started(m_options.listA);
    }

    const auto finish = [this](ExitStatus status, QString reason = QString()) {
        // The command lines are the check's answer: unwritten, it has none.
        if (status == ExitStatus::Success && m_options.checkOnly && m_report->outputFailed()) {
            status = ExitStatus::Usage;
            reason = tr("standard output cannot be written");
        }
        if (status == ExitStatus::Success)
            reason = m_options.checkOnly ? tr("ready: the list can run") : tr("the list ran to its end");
        m_report->result(status, reason);
        if (m_journal)
            m_journal->ended(status, reason);
        m_finished = true;
        m_reason = reason;
        return toInt(status);
    };
    QString kitError;
    if (!enterKitFolder(m_options.kit, &kitError)) {
        m_report->message(kitError);
        return finish(ExitStatus::KitIncomplete);
    }

    // Told before the run is reported: a report that blocks on its output
    // must not hide that a manager has been started from a stop at once.
    connect(&m_install, &InstallRun::runStarted, this, &UnattendedRun::runMade);
    connectReport(m_install, *m_report, this);
    const InstallOutcome outcome = m_install.run(m_options.listA, !m_options.listA,
                                                 m_options.checkOnly ? InstallRun::Mode::Check
                                                                     : InstallRun::Mode::Install);
    return finish(outcome.status, outcome.detail);
}

void UnattendedRun::stop(const QString &why, bool final)
{
    // Before the report there is nothing to stop; after the result only a
    // window's last words are left, which go at once.
    if (!m_report)
        return;
    emit stopRequested(m_finished || final || m_stopRequests > 0);
    if (m_finished)
        return;
    if (++m_stopRequests == 1 && !final) {
        m_report->message(tr("%1: stopping after the run in progress; the application manager is not stopped. "
                             "Send it again to exit at once.")
                              .arg(why));
        m_install.requestStop();
        return;
    }
    m_report->message((m_stopRequests == 1 ? tr("%1: exiting now; a run in progress goes on without Setup.")
                                           : tr("%1 again: exiting now; a run in progress goes on without Setup."))
                          .arg(why));
    m_install.abandon();
}

void UnattendedRun::connectReport(InstallRun &install, RunReport &reportTo, QObject *context)
{
    RunReport *report = &reportTo;
    connect(&install, &InstallRun::deviceFound, context, [report](const QString &version) {
        report->event(QStringLiteral("handheld"), tr("version %1").arg(escapeControls(version)),
                      {{QStringLiteral("version"), version}});
    });
    connect(&install, &InstallRun::managerFound, context, [report](const QString &path) {
        report->event(QStringLiteral("manager"), escapeControls(path), {{QStringLiteral("path"), path}});
    });
    connect(&install, &InstallRun::runStarted, context,
            [report](int number, int count, const QString &iniFile, const QString &commandLine) {
                report->event(QStringLiteral("run-start"),
                              tr("run %1 (%2): %3").arg(runLabel(number, count), iniFile, escapeControls(commandLine)),
                              runFields(number, count, iniFile, {{QStringLiteral("commandLine"), commandLine}}));
            });
    connect(&install, &InstallRun::runEnded, context,
            [report](int number, int count, const QString &iniFile, const ProcessEnd &end, qint64 elapsedMs) {
                const QString how = howEnded(end);
                report->event(QStringLiteral("run-end"),
                              tr("run %1 (%2) ended after %3: %4")
                                  .arg(runLabel(number, count), iniFile, RunReport::seconds(elapsedMs), how),
                              runFields(number, count, iniFile,
                                        {{QStringLiteral("seconds"), double(elapsedMs) / 1000.0},
                                         {QStringLiteral("end"), endKind(end)},
                                         {QStringLiteral("code"), qint64(end.code)}}));
                report->progress(end.isAbnormal()
                                     ? tr("[%1] %2: ended by %3 after %4")
                                           .arg(runLabel(number, count), iniFile, how, RunReport::seconds(elapsedMs))
                                     : tr("[%1] %2: done in %3 (%4)")
                                           .arg(runLabel(number, count), iniFile, RunReport::seconds(elapsedMs), how));
            });
    connect(&install, &InstallRun::runNotStarted, context,
            [report](int number, int count, const QString &iniFile, const QString &reason) {
                report->event(QStringLiteral("run-not-started"),
                              tr("run %1 (%2): %3").arg(runLabel(number, count), iniFile, reason),
                              runFields(number, count, iniFile, {{QStringLiteral("reason"), withWholeValues(reason)}}));
                report->progress(tr("[%1] %2: could not be started").arg(runLabel(number, count), iniFile));
            });
    connect(&install, &InstallRun::pauseStarted, context, [report](int ticks, qint64 lengthMs) {
        report->event(QStringLiteral("pause"), tr("%1 ticks, %2").arg(ticks).arg(RunReport::seconds(lengthMs)),
                      {{QStringLiteral("ticks"), ticks}, {QStringLiteral("seconds"), double(lengthMs) / 1000.0}});
    });
    connect(&install, &InstallRun::runPlanned, context,
            [report](int number, int count, const QString &commandLine) {
                report->event(QStringLiteral("planned"), tr("run %1: %2").arg(runLabel(number, count), escapeControls(commandLine)),
                              {{QStringLiteral("run"), number},
                               {QStringLiteral("of"), count},
                               {QStringLiteral("commandLine"), commandLine}});
                report->progress(escapeControls(commandLine));
            });
    connect(&install, &InstallRun::attemptEnded, context, [report](const InstallOutcome &outcome, InstallRun::Mode mode) {
        // Where the window's message stays general, the log is told exactly.
        if (!outcome.detail.isEmpty())
            report->message(outcome.detail);
        else if (!outcome.message.isEmpty())
            report->message(outcome.message);
        else if (outcome.status == ExitStatus::Success && mode == InstallRun::Mode::Install)
            // The window's own words from its catalogue: the window's log
            // speaks its language, a run without a window English.
            report->message(QCoreApplication::translate("Form1", "Setup has successfully installed Torvex on your Pocket PC."));
    });
}

int runUnattended(int &argc, char **argv, const UnattendedOptions &options, TickSource &ticks)
{
    // Nothing graphical: this runs over SSH with no display at all.
    QCoreApplication app(argc, argv);
    useEnglishSystemTexts(true);
    // English, with its forms for one and for several.
    installCatalogue(QStringLiteral("en"));
    return runWithSystemServices(options, ticks);
}

int runWithSystemServices(const UnattendedOptions &options, TickSource &ticks, const RunAdditions &additions)
{
    const std::unique_ptr<OutputStream> out = OutputStream::openStandard(OutputStream::Standard::Output);
    const std::unique_ptr<OutputStream> err = OutputStream::openStandard(OutputStream::Standard::Error);
    if (const QString error = out->errorString(); !error.isEmpty()) {
        err->write(UnattendedRun::tr("%1: standard output cannot be written: %2.\n")
                       .arg(QCoreApplication::applicationName(), error));
        return toInt(ExitStatus::Usage);
    }
    // Before anything that may wait (a FIFO named as the log): a second
    // request to stop ends the program even there.
    StopSignals stopSignals(UnattendedRun::tr("%1: asked again to stop: exiting now; a run in progress goes on "
                                              "without Setup.\n")
                                .arg(QCoreApplication::applicationName())
                                .toUtf8(),
                            toInt(ExitStatus::CancelledBeforeRuns));
    LibraryRemoteApi remoteApi;
    const std::unique_ptr<Registry> registry = createSystemRegistry();
    SystemProcessServices processes;
    const InstallServices services{remoteApi, *registry, processes, ticks};
    const std::unique_ptr<SystemLog> systemLog = options.systemLog ? createSystemLog() : nullptr;
    UnattendedRun run(options, services, *out, *err);
    run.setSystemLog(systemLog.get());
    QObject::connect(&run, &UnattendedRun::runMade, &stopSignals,
                     [&stopSignals] { stopSignals.setAtOnceStatus(toInt(ExitStatus::StoppedAfterRuns)); });
    QObject::connect(&stopSignals, &StopSignals::received, &run, &UnattendedRun::stop);
    if (additions.prepare)
        additions.prepare(run, services);
    int status = run.exec();
    if (additions.conclude)
        status = additions.conclude(status);
    stopSignals.release(status);
    return status;
}
