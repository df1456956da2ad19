#pragma once

#include "install/exitstatus.h"

#include <QCoreApplication>
#include <QJsonValue>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <memory>

class OutputStream;

// Where an unattended run tells what happens. Every event goes to the log
// (one line, with the local time and its offset, control characters
// escaped) and, with --json, to
// standard output as one JSON object; progress lines for people go to
// standard output otherwise, messages to standard error. Each line is
// written through at once, so a run that is killed leaves everything up to
// that moment. A stream that fails is said so once, on the others, and
// left alone from then on: the run goes on.
class RunReport
{
    Q_DECLARE_TR_FUNCTIONS(RunReport)

public:
    using Fields = QList<QPair<QString, QJsonValue>>;

    // `log` may be null (no --log); `logPath` names it in messages.
    RunReport(OutputStream &out, OutputStream &err, OutputStream *log, bool json,
              const QString &logPath = QString());

    // The first event, before anything runs: the command line, each argument
    // as a shell reads it back. False, with `error` saying which stream and
    // why, when the log or (with --json) standard output could not take it.
    // Nothing is said about it anywhere else.
    bool start(const QStringList &arguments, QString *error);
    // One event: `text` for the log line, `fields` for the JSON object.
    void event(const QString &name, const QString &text, const Fields &fields = {});
    // A line for people reading standard output (not with --json).
    void progress(const QString &line);
    // A message the window would have shown, or a note about the run: on
    // standard error with long values elided, and as a "message" event with
    // them whole (quoteForMessage()).
    void message(const QString &text);
    // The last event: the status and what it means (`reason`, when given,
    // says it more exactly).
    void result(ExitStatus status, const QString &reason = QString());

    // Whether a line meant for standard output was lost.
    bool outputFailed() const { return m_failed[Out]; }

    // The one line on standard error that ends a run before it starts
    // (`error` names what failed and why): the window's log says it so too.
    static QString errorLine(const QString &error);

    // "3.5 s", "0.0 s"
    static QString seconds(qint64 ms);

private:
    enum Channel { Out, Err, Log, ChannelCount };

    bool writeLine(Channel channel, const QString &line);
    void failed(Channel channel);
    QString describe(Channel channel) const;

    OutputStream *m_streams[ChannelCount];
    bool m_failed[ChannelCount] = {};
    bool m_json;
    QString m_logPath;
};

// Opens the log a run appends to; null, with what to tell the user, when it
// cannot be opened.
std::unique_ptr<OutputStream> openRunLog(const QString &path, QString *error);
