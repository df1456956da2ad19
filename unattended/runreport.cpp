#include "unattended/runreport.h"

#include "platform/text/messagetext.h"
#include "platform/io/outputstream.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>

namespace {

// Local time with its offset from UTC, to the millisecond.
QString timestamp()
{
    const QDateTime now = QDateTime::currentDateTime();
    return now.toOffsetFromUtc(now.offsetFromUtc()).toString(Qt::ISODateWithMs);
}

QString json(const QJsonValue &value)
{
    // Text is quoted here, with the hidden characters escaped; the rest by Qt.
    if (value.isString())
        return jsonQuote(value.toString());
    if (value.isArray()) {
        QStringList elements;
        for (const QJsonValue &element : value.toArray())
            elements << json(element);
        return QLatin1Char('[') + elements.join(QLatin1Char(',')) + QLatin1Char(']');
    }
    // A one-element array is the shortest way to have Qt write one value.
    const QByteArray array = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(array.sliced(1, array.size() - 2));
}

QString jsonObject(const RunReport::Fields &fields)
{
    // Written by hand to keep the fields in the order given.
    QString line = QStringLiteral("{");
    for (const auto &[key, value] : fields) {
        if (line.size() > 1)
            line += QLatin1Char(',');
        line += jsonQuote(key) + QLatin1Char(':') + json(value);
    }
    return line + QLatin1Char('}');
}

QString logLine(const QString &time, const QString &name, const QString &text)
{
    return time + QLatin1Char(' ') + name + QStringLiteral(": ") + escapeLine(text);
}

QString eventObject(const QString &time, const QString &name, const RunReport::Fields &fields)
{
    return jsonObject(RunReport::Fields{{QStringLiteral("time"), time}, {QStringLiteral("event"), name}} + fields);
}

} // namespace

RunReport::RunReport(OutputStream &out, OutputStream &err, OutputStream *log, bool json, const QString &logPath)
    : m_streams{&out, &err, log}, m_json(json), m_logPath(logPath)
{
}

bool RunReport::start(const QStringList &arguments, QString *error)
{
    QStringList quoted;
    for (const QString &argument : arguments)
        quoted << shellQuote(argument);
    const QString text = quoted.join(QLatin1Char(' '));
    const Fields fields{{QStringLiteral("arguments"), QJsonArray::fromStringList(arguments)}};
    const QString time = timestamp();
    const QString name = QStringLiteral("start");
    for (const Channel channel : {Log, Out}) {
        OutputStream *stream = m_streams[channel];
        if (!stream || (channel == Out && !m_json))
            continue;
        const QString line = channel == Log ? logLine(time, name, text) : eventObject(time, name, fields);
        if (!stream->write(line + QLatin1Char('\n'))) {
            m_failed[channel] = true;
            if (error)
                *error = tr("%1 cannot be written: %2").arg(describe(channel), stream->errorString());
            return false;
        }
    }
    return true;
}

void RunReport::event(const QString &name, const QString &text, const Fields &fields)
{
    const QString time = timestamp();
    writeLine(Log, logLine(time, name, withWholeValues(text)));
    if (m_json)
        writeLine(Out, eventObject(time, name, fields));
}

void RunReport::progress(const QString &line)
{
    if (!m_json)
        writeLine(Out, escapeLine(line));
}

void RunReport::message(const QString &text)
{
    // The values in `text` are escaped already: its own line breaks stay.
    // Long values elided where people read, whole where the record is kept.
    writeLine(Err, QCoreApplication::applicationName() + QStringLiteral(": ") + escapeLine(withElidedValues(text), true));
    const QString whole = withWholeValues(text);
    event(QStringLiteral("message"), QString(whole).replace(QLatin1Char('\n'), QLatin1Char(' ')),
          {{QStringLiteral("text"), whole}});
}

void RunReport::result(ExitStatus status, const QString &givenReason)
{
    const QString reason = givenReason.isEmpty() ? exitStatusMeaning(status) : withWholeValues(givenReason);
    const QString time = timestamp();
    writeLine(Log, time + QStringLiteral(" result: status %1 (%2)").arg(toInt(status)).arg(escapeLine(reason)));
    if (m_json) {
        writeLine(Out, eventObject(time, QStringLiteral("result"),
                                   {{QStringLiteral("status"), toInt(status)}, {QStringLiteral("reason"), reason}}));
    }
}

QString RunReport::errorLine(const QString &error)
{
    const QString line = QCoreApplication::applicationName() + QStringLiteral(": ") + escapeLine(withElidedValues(error));
    return line + (line.endsWith(QLatin1Char('.')) ? QStringLiteral("\n") : QStringLiteral(".\n"));
}

QString RunReport::seconds(qint64 ms)
{
    return QStringLiteral("%1 s").arg(double(ms) / 1000.0, 0, 'f', 1);
}

bool RunReport::writeLine(Channel channel, const QString &line)
{
    OutputStream *stream = m_streams[channel];
    if (!stream || m_failed[channel])
        return false;
    if (stream->write(line + QLatin1Char('\n')))
        return true;
    failed(channel);
    return false;
}

void RunReport::failed(Channel channel)
{
    // A reader that has gone away, a full disk: the run goes on, and what is
    // left is told, once.
    m_failed[channel] = true;
    const QString error = m_streams[channel]->errorString();
    const QString text = tr("%1 cannot be written: %2; the run goes on without it.").arg(describe(channel), error);
    writeLine(Err, QCoreApplication::applicationName() + QStringLiteral(": ") + escapeLine(text));
    static const QString keys[ChannelCount] = {QStringLiteral("output"), QStringLiteral("error"), QStringLiteral("log")};
    event(QStringLiteral("output-failed"), text, {{QStringLiteral("stream"), keys[channel]}, {QStringLiteral("error"), error}});
}

QString RunReport::describe(Channel channel) const
{
    switch (channel) {
    case Out:
        return tr("standard output");
    case Err:
        return tr("standard error");
    default:
        return tr("the log file \"%1\"").arg(escapeControls(m_logPath));
    }
}

std::unique_ptr<OutputStream> openRunLog(const QString &path, QString *error)
{
    QString why;
    std::unique_ptr<OutputStream> log = OutputStream::openLog(path, &why);
    if (!log)
        *error = RunReport::tr("the log file \"%1\" cannot be opened: %2").arg(escapeControls(path), why);
    return log;
}
