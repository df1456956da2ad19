#pragma once

#include <QList>
#include <QPair>
#include <QString>

#include <memory>

// One entry for the system's own log, where administrators and log
// collectors look: what happened in one sentence, and the values to filter
// on.
struct SystemLogEntry
{
    enum class Kind { Started, Ended };
    enum class Level { Information, Warning, Error };

    Kind kind = Kind::Started;
    Level level = Level::Information;
    int eventId = 0;  // the event ID in the Windows event log
    QString sentence; // the whole entry, in English
    // In a fixed order: TORVEX_<name> fields in the journal, insertion
    // strings %2, %3, ... in the event log (%1 is the sentence).
    QList<QPair<QString, QString>> values;
};

// The system's log, behind an interface so that tests can read what is
// written.
class SystemLog
{
public:
    virtual ~SystemLog() = default;

    // Writes `entry`. A system without such a log (a container with no
    // journal) loses it: the install goes on as if it had been written.
    virtual void write(const SystemLogEntry &entry) = 0;
};

// The systemd journal through its native protocol (systemlog_unix.cpp), the
// Windows Application log under the source "TorvexSetup" (systemlog_win.cpp).
std::unique_ptr<SystemLog> createSystemLog();
