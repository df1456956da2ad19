#pragma once

#include "install/exitstatus.h"
#include "platform/systemlog/systemlog.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>

#include <optional>

class InstallRun;

// An install's start and result in the system's log, one entry each, for
// every kind of run that installs (the window, --passive, --unattended). The
// result is written only for an install whose start was.
class InstallJournal : public QObject
{
    Q_OBJECT

public:
    // `mode` is "window", "passive" or "unattended"; `kit` and `logPath` as
    // full paths (`logPath` empty for none).
    InstallJournal(SystemLog &log, const QString &mode, const QString &kit, const QString &logPath,
                   QObject *parent = nullptr);

    // Counts the runs of `run`; its first attempt to install writes the start
    // when nothing has yet.
    void follow(InstallRun &run);
    // The start, once: the list of `listA` or list B is to run.
    void started(bool listA);
    // The result, once, after the start; `reason` empty for the status's meaning.
    void ended(ExitStatus status, const QString &reason = QString());
    // The result of an install refused before it could start (another Setup
    // runs), alone: no start was written. `listA` unset where no list was
    // chosen yet (the window).
    void refused(ExitStatus status, const QString &reason, std::optional<bool> listA = std::nullopt);

    // The entries themselves.
    SystemLogEntry startEntry() const;
    SystemLogEntry endEntry(ExitStatus status, const QString &reason, qint64 durationMs) const;

private:
    SystemLog &m_log;
    QString m_mode;
    QString m_kit;
    QString m_logPath;
    QString m_platform;
    int m_runs = 0;
    bool m_started = false;
    bool m_ended = false;
    QElapsedTimer m_clock;
};
