#include "platform/process/childprocess.h"

#include "platform/text/messagetext.h"

#include <QCoreApplication>

#include <algorithm>

namespace {

// Well inside the 10 ms in which an end must be noticed, and still next to no
// CPU time.
constexpr int PollIntervalMs = 5;

} // namespace

QString ProcessEnd::description() const
{
    switch (kind) {
    case Kind::Signal:
        return QCoreApplication::translate("SystemProcessServices", "The run ended by signal %1.").arg(code);
    case Kind::Exception:
        return QCoreApplication::translate("SystemProcessServices", "The run ended with exception %1.")
            .arg(exceptionCode(code));
    case Kind::Unknown:
        return QCoreApplication::translate("SystemProcessServices",
                                           "How the run ended could not be learned from the system.");
    case Kind::Exited:
        break;
    }
    return QCoreApplication::translate("SystemProcessServices", "The run ended with exit code %1.").arg(code);
}

QString ProcessEnd::exceptionCode(uint32_t code)
{
    return QStringLiteral("0x") + QString::number(code, 16).toUpper().rightJustified(8, QLatin1Char('0'));
}

ProcessEnd ProcessEnd::fromWindowsExitCode(uint32_t code)
{
    // Error severity with the customer and reserved bits clear is the
    // system's own exception range (access violation, stack overflow, ...);
    // a breakpoint and an unhandled C++ or .NET exception end a program
    // just as abnormally. Anything else, -1 included, is an exit code the
    // program chose.
    const bool systemError = (code & 0xF0000000u) == 0xC0000000u;
    const bool abnormal = systemError || code == 0x80000003u /* breakpoint */
        || code == 0xE06D7363u /* C++ exception */ || code == 0xE0434352u /* .NET exception */;
    return {abnormal ? Kind::Exception : Kind::Exited, code};
}

qintptr ChildProcess::s_kept = -1;

void ChildProcess::setKept(qintptr handle)
{
    s_kept = handle;
}

ChildProcess::ChildProcess(qint64 pid, QObject *parent) : LaunchedProcess(parent), m_pid(pid)
{
    m_pollTimer.setTimerType(Qt::PreciseTimer);
    m_pollTimer.setInterval(PollIntervalMs);
    connect(&m_pollTimer, &QTimer::timeout, this, &ChildProcess::checkEnd);
}

QString ChildProcess::cannotStart(const QString &program, const QString &reason)
{
    return QCoreApplication::translate("SystemProcessServices", "The program \"%1\" could not be started: %2.")
        .arg(quoteForMessage(program), reason);
}

bool ChildProcess::holdsNul(const LaunchCommand &command)
{
    // The system would end the text at the NUL and start whatever the part
    // before it names.
    const auto holds = [](const QString &text) { return text.contains(QChar(0)); };
    return holds(command.program) || std::any_of(command.arguments.begin(), command.arguments.end(), holds);
}

QString ChildProcess::nulInPath()
{
    return QCoreApplication::translate("SystemProcessServices", "its path holds a NUL character");
}

void ChildProcess::noticeEnd(ProcessEnd end)
{
    m_ended = true;
    m_end = end;
    m_pollTimer.stop();
    stopWatching();
    // Last: a receiver may destroy this object.
    emit ended();
}
