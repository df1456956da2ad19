#pragma once

#include "install/exitstatus.h"

#include <QJsonValue>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

class QFile;
class QIODevice;

// Where an unattended run tells what happens. Every event goes to the log
// (one line, with the local time and its offset, control characters
// escaped) and, with --json, to
// standard output as one JSON object; progress lines for people go to
// standard output otherwise, messages to standard error. Each line is
// written through at once, so a run that is killed leaves everything up to
// that moment.
class RunReport
{
public:
    using Fields = QList<QPair<QString, QJsonValue>>;

    // `log` may be null (no --log).
    RunReport(QIODevice &out, QIODevice &err, QIODevice *log, bool json);

    // The first event: the command line, each argument as a shell reads it back.
    void start(const QStringList &arguments);
    // One event: `text` for the log line, `fields` for the JSON object.
    void event(const QString &name, const QString &text, const Fields &fields = {});
    // A line for people reading standard output (not with --json).
    void progress(const QString &line);
    // A message the window would have shown, or a note about the run: on
    // standard error, and as a "message" event.
    void message(const QString &text);
    // The last event: the status and what it means (`reason`, when given,
    // says it more exactly).
    void result(ExitStatus status, const QString &reason = QString());

    // "3.5 s", "0.0 s"
    static QString seconds(qint64 ms);

private:
    void writeLine(QIODevice &device, const QByteArray &line);

    QIODevice &m_out;
    QIODevice &m_err;
    QIODevice *m_log;
    bool m_json;
};

// Opens the log a run appends to, each line written through at once; false,
// with what to tell the user, when it cannot be opened.
bool openRunLog(QFile &log, const QString &path, QString *error);
