#include "app/windowlog.h"

#include "install/installrun.h"
#include "platform/io/outputstream.h"
#include "unattended/runreport.h"
#include "unattended/unattendedrun.h"

namespace {

// The window has no progress lines or messages to print: the user sees them.
class Discard final : public OutputStream
{
public:
    bool write(const QString &) override { return true; }
    QString errorString() const override { return QString(); }
};

} // namespace

WindowLog::WindowLog() = default;
WindowLog::~WindowLog() = default;

bool WindowLog::open(const QString &path, const QStringList &arguments)
{
    if (path.isEmpty())
        return true;
    QString error;
    m_file = openRunLog(path, &error);
    if (m_file) {
        m_discard = std::make_unique<Discard>();
        m_report = std::make_unique<RunReport>(*m_discard, *m_discard, m_file.get(), false, path);
        if (m_report->start(arguments, &error))
            return true;
        m_report.reset();
    }
    if (const auto err = OutputStream::openStandard(OutputStream::Standard::Error))
        err->write(RunReport::errorLine(error));
    return false;
}

void WindowLog::message(const QString &text)
{
    if (m_report)
        m_report->message(text);
}

void WindowLog::follow(InstallRun &install)
{
    if (!m_report)
        return;
    // A log that fails from now on simply stops: the user has the window.
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
