#include "unattended/runreport.h"

#include "platform/messagetext.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileDevice>
#include <QJsonArray>
#include <QJsonDocument>

namespace {

// Local time with its offset from UTC, to the millisecond.
QString timestamp()
{
    const QDateTime now = QDateTime::currentDateTime();
    return now.toOffsetFromUtc(now.offsetFromUtc()).toString(Qt::ISODateWithMs);
}

QByteArray json(const QJsonValue &value)
{
    // A one-element array is the shortest way to have Qt escape one value.
    const QByteArray array = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return array.sliced(1, array.size() - 2);
}

QByteArray jsonObject(const RunReport::Fields &fields)
{
    // Written by hand to keep the fields in the order given.
    QByteArray line = "{";
    for (const auto &[key, value] : fields) {
        if (line.size() > 1)
            line += ',';
        line += json(key) + ':' + json(value);
    }
    return line + '}';
}

} // namespace

RunReport::RunReport(QIODevice &out, QIODevice &err, QIODevice *log, bool json)
    : m_out(out), m_err(err), m_log(log), m_json(json)
{
}

void RunReport::start(const QStringList &arguments)
{
    QStringList quoted;
    for (const QString &argument : arguments)
        quoted << shellQuote(argument);
    event(QStringLiteral("start"), quoted.join(QLatin1Char(' ')),
          {{QStringLiteral("arguments"), QJsonArray::fromStringList(arguments)}});
}

void RunReport::event(const QString &name, const QString &text, const Fields &fields)
{
    const QString time = timestamp();
    if (m_log)
        writeLine(*m_log, (time + QLatin1Char(' ') + name + QStringLiteral(": ") + escapeControls(text)).toUtf8());
    if (m_json)
        writeLine(m_out, jsonObject(Fields{{QStringLiteral("time"), time}, {QStringLiteral("event"), name}} + fields));
}

void RunReport::progress(const QString &line)
{
    if (!m_json)
        writeLine(m_out, escapeControls(line).toLocal8Bit());
}

void RunReport::message(const QString &text)
{
    writeLine(m_err, (QCoreApplication::applicationName() + QStringLiteral(": ") + escapeControls(text, true))
                         .toLocal8Bit());
    event(QStringLiteral("message"), QString(text).replace(QLatin1Char('\n'), QLatin1Char(' ')),
          {{QStringLiteral("text"), text}});
}

void RunReport::result(ExitStatus status, const QString &givenReason)
{
    const QString reason = givenReason.isEmpty() ? exitStatusMeaning(status) : givenReason;
    if (m_log) {
        writeLine(*m_log, (timestamp() + QStringLiteral(" result: status %1 (%2)").arg(toInt(status)).arg(escapeControls(reason)))
                              .toUtf8());
    }
    if (m_json) {
        writeLine(m_out, jsonObject({{QStringLiteral("event"), QStringLiteral("result")},
                                     {QStringLiteral("status"), toInt(status)},
                                     {QStringLiteral("reason"), reason}}));
    }
}

QString RunReport::seconds(qint64 ms)
{
    return QStringLiteral("%1 s").arg(double(ms) / 1000.0, 0, 'f', 1);
}

void RunReport::writeLine(QIODevice &device, const QByteArray &line)
{
    // A reader that has gone away does not stop the run; the log keeps it.
    device.write(line + '\n');
    if (auto *file = qobject_cast<QFileDevice *>(&device))
        file->flush();
}

bool openRunLog(QFile &log, const QString &path, QString *error)
{
    log.setFileName(path);
    if (log.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return true;
    *error = QCoreApplication::translate("UnattendedRun", "the log file \"%1\" cannot be opened: %2")
                 .arg(path, log.errorString());
    return false;
}
