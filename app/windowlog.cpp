#include "app/windowlog.h"

#include "install/installrun.h"
#include "platform/messagetext.h"
#include "unattended/runreport.h"
#include "unattended/unattendedrun.h"

#include <QCoreApplication>

#include <cstdio>

namespace {

// The window has no progress lines or messages to print: the user sees them.
class Discard final : public QIODevice
{
protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *, qint64 length) override { return length; }
};

} // namespace

WindowLog::WindowLog() = default;
WindowLog::~WindowLog() = default;

bool WindowLog::open(const QString &path)
{
    if (path.isEmpty())
        return true;
    QString error;
    if (!openRunLog(m_file, path, &error)) {
        const QByteArray line = (QCoreApplication::applicationName() + QStringLiteral(": ") + escapeControls(error)
                                 + QLatin1Char('\n'))
                                    .toLocal8Bit();
        std::fputs(line.constData(), stderr);
        return false;
    }
    m_discard = std::make_unique<Discard>();
    m_discard->open(QIODevice::WriteOnly);
    m_report = std::make_unique<RunReport>(*m_discard, *m_discard, &m_file, false);
    return true;
}

void WindowLog::follow(InstallRun &install, const QStringList &arguments)
{
    if (!m_report)
        return;
    m_report->start(arguments);
    UnattendedRun::connectReport(install, *m_report, &m_context);
}

void WindowLog::finish(int status)
{
    if (!m_report)
        return;
    const auto exitStatus = static_cast<ExitStatus>(status);
    m_report->result(exitStatus, exitStatus == ExitStatus::Success ? QStringLiteral("the list ran to its end")
                                                                   : QString());
}
