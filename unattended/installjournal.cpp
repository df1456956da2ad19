#include "unattended/installjournal.h"

#include "install/installrun.h"
#include "platform/text/messagetext.h"

#include <QDir>

namespace {

// The event IDs of the Windows event log: one for the start, and one per
// status for the result, 1100 plus the status, as the README's table lists.
constexpr int StartedEventId = 1000;
constexpr int EndedEventBase = 1100;

SystemLogEntry::Level level(ExitStatus status)
{
    if (status == ExitStatus::Success)
        return SystemLogEntry::Level::Information;
    // Worth retrying later: a deployment tool will.
    if (status == ExitStatus::NoDevice || status == ExitStatus::AlreadyRunning)
        return SystemLogEntry::Level::Warning;
    return SystemLogEntry::Level::Error;
}

QString orNone(const QString &text)
{
    return text.isEmpty() ? QStringLiteral("none") : text;
}

} // namespace

InstallJournal::InstallJournal(SystemLog &log, const QString &mode, const QString &kit, const QString &logPath,
                               QObject *parent)
    : QObject(parent), m_log(log), m_mode(mode), m_kit(QDir::toNativeSeparators(kit)),
      m_logPath(QDir::toNativeSeparators(logPath))
{
}

void InstallJournal::follow(InstallRun &run)
{
    connect(&run, &InstallRun::attemptStarted, this, [this](bool listA, bool, InstallRun::Mode mode) {
        if (mode == InstallRun::Mode::Install)
            started(listA);
    });
    connect(&run, &InstallRun::runStarted, this, [this] { ++m_runs; });
}

void InstallJournal::started(bool listA)
{
    if (m_started)
        return;
    m_started = true;
    m_platform = listA ? QStringLiteral("4.0-or-higher") : QStringLiteral("earlier");
    m_clock.start();
    m_log.write(startEntry());
}

void InstallJournal::ended(ExitStatus status, const QString &reason)
{
    if (!m_started || m_ended)
        return;
    m_ended = true;
    m_log.write(endEntry(status, reason, m_clock.elapsed()));
}

void InstallJournal::refused(ExitStatus status, const QString &reason, std::optional<bool> listA)
{
    if (m_started || m_ended)
        return;
    m_ended = true;
    if (listA)
        m_platform = *listA ? QStringLiteral("4.0-or-higher") : QStringLiteral("earlier");
    m_log.write(endEntry(status, reason, 0));
}

SystemLogEntry InstallJournal::startEntry() const
{
    SystemLogEntry entry;
    entry.kind = SystemLogEntry::Kind::Started;
    entry.eventId = StartedEventId;
    // One line, shown as it is: the values' own controls and line breaks
    // escaped as in Setup's log; the fields keep them exactly.
    entry.sentence = QStringLiteral("Torvex Setup (%1) started to install the %2 list from the kit %3; log: %4.")
                         .arg(m_mode, m_platform, escapeControls(m_kit), escapeControls(orNone(m_logPath)));
    entry.values = {{QStringLiteral("MODE"), m_mode},
                    {QStringLiteral("PLATFORM"), m_platform},
                    {QStringLiteral("KIT"), m_kit},
                    {QStringLiteral("LOG"), m_logPath}};
    return entry;
}

SystemLogEntry InstallJournal::endEntry(ExitStatus status, const QString &givenReason, qint64 durationMs) const
{
    // Whole values, as the log keeps them.
    const QString reason = givenReason.isEmpty() ? exitStatusMeaning(status) : withWholeValues(givenReason);
    SystemLogEntry entry;
    entry.kind = SystemLogEntry::Kind::Ended;
    entry.level = level(status);
    entry.eventId = EndedEventBase + toInt(status);
    entry.sentence = QStringLiteral("Torvex Setup (%1) ended with status %2: %3 (%4 runs of the %5 list in %6 ms; "
                                    "kit %7; log: %8).")
                         .arg(m_mode)
                         .arg(toInt(status))
                         .arg(QString(reason).replace(QLatin1Char('\n'), QLatin1Char(' ')), QString::number(m_runs),
                              m_platform.isEmpty() ? QStringLiteral("chosen") : m_platform,
                              QString::number(durationMs), escapeControls(m_kit),
                              escapeControls(orNone(m_logPath)));
    entry.values = {{QStringLiteral("STATUS"), QString::number(toInt(status))},
                    {QStringLiteral("REASON"), reason},
                    {QStringLiteral("PLATFORM"), m_platform},
                    {QStringLiteral("RUNS"), QString::number(m_runs)},
                    {QStringLiteral("DURATION_MS"), QString::number(durationMs)},
                    {QStringLiteral("KIT"), m_kit},
                    {QStringLiteral("LOG"), m_logPath},
                    {QStringLiteral("MODE"), m_mode}};
    return entry;
}
