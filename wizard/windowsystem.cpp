#include "wizard/windowsystem.h"

#include "install/exitstatus.h"
#include "platform/text/messagetext.h"
#include "platform/text/systemnames.h"

#include <QStringList>

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace {

// Qt's notes while the window system opens, held back until it is known
// whether they are worth more than the one line. Only a plain function can
// take Qt's messages, so they wait here.
QStringList heldMessages;

QString describe(const char *variable)
{
    return qEnvironmentVariableIsSet(variable) ? QLatin1Char('"') + escapeControls(environmentValue(variable)) + QLatin1Char('"')
                                               : QStringLiteral("not set");
}

void holdMessage(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (type != QtFatalMsg) {
        heldMessages << qFormatLogMessage(type, context, text);
        return;
    }
    // The only fatal error while Qt opens: no platform could be started.
    const QString line = QApplication::translate(
                             "WindowSystem", "%1: the display cannot be opened to show the window (DISPLAY is %2, "
                                             "WAYLAND_DISPLAY is %3); start it in a graphical session.\n")
                             .arg(QCoreApplication::applicationName(), describe("DISPLAY"), describe("WAYLAND_DISPLAY"));
    std::fputs(line.toLocal8Bit().constData(), stderr);
    std::fflush(stdout);
    std::fflush(stderr);
    // Qt is half set up: nothing of it may run any more.
    std::_Exit(toInt(ExitStatus::NoDisplay));
}

} // namespace

std::unique_ptr<QApplication> openWindowSystem(int &argc, char **argv)
{
    const QtMessageHandler previous = qInstallMessageHandler(holdMessage);
    auto app = std::make_unique<QApplication>(argc, argv);
    qInstallMessageHandler(previous);
    // A note may quote what it was given (-style, QT_STYLE_OVERRIDE): each
    // stays one line, shown escaped.
    for (const QString &message : std::exchange(heldMessages, {}))
        std::fprintf(stderr, "%s\n", escapeControls(message).toLocal8Bit().constData());
    return app;
}
