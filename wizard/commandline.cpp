#include "wizard/commandline.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QStringList>

#include <cstdio>
#include <initializer_list>

namespace {

class CommandLine
{
    Q_DECLARE_TR_FUNCTIONS(CommandLine)

public:
    static QString environmentHelp()
    {
#ifdef Q_OS_WIN
        return tr("The INI files of the setup kit are looked for in the current directory.\n");
#else
        return tr("Environment:\n"
                  "  TORVEX_REGISTRY  File in regedit export format that stands in for the\n"
                  "                   Windows registry and names the application manager\n"
                  "                   (default: /etc/torvex/registry.reg).\n"
                  "  LD_LIBRARY_PATH  Where the remote-API library librapi.so is looked for,\n"
                  "                   besides the system's library folders.\n"
                  "  DISPLAY, WAYLAND_DISPLAY, QT_QPA_PLATFORM\n"
                  "                   The display the window opens on.\n"
                  "\n"
                  "The INI files of the setup kit are looked for in the current directory.\n");
#endif
    }
    static QString noDisplay(const QString &program)
    {
        return tr("%1: no display to open the window on (DISPLAY and WAYLAND_DISPLAY are "
                  "not set); start it in a graphical session.\n")
            .arg(program);
    }
};

void print(std::FILE *stream, const QString &text)
{
    std::fprintf(stream, "%s", text.toLocal8Bit().constData());
}

// The options every Qt program takes (QGuiApplication and QApplication remove
// them from the arguments); a plain Qt start must keep working with them.
void addToolkitOptions(QCommandLineParser &parser)
{
    for (const char *name : {"platform", "platformpluginpath", "platformtheme", "plugin",
                             "qwindowgeometry", "qwindowicon", "qwindowtitle", "display",
                             "geometry", "style", "stylesheet", "session", "qmljsdebugger"}) {
        QCommandLineOption option(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char *name : {"reverse", "widgetcount", "nograb", "dograb", "sync"}) {
        QCommandLineOption option(QString::fromLatin1(name));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
}

#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN) && !defined(Q_OS_ANDROID)
bool hasDisplay()
{
    return qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || qEnvironmentVariableIsSet("DISPLAY")
        || qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
}
#else
bool hasDisplay()
{
    return true;
}
#endif

// Answers the options that end the program, or refuses the arguments.
// A platform named with -platform (offscreen, vnc, ...) needs no display of
// ours to check for; Qt reports its own errors for those.
std::optional<int> answer(bool *platformNamed)
{
    QCommandLineParser parser;
    // Qt's own options are single-dash words (-platform, -style).
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    addToolkitOptions(parser);

    const QString program = QCoreApplication::applicationName();
    const auto usage = [&] { return parser.helpText() + QLatin1Char('\n') + CommandLine::environmentHelp(); };
    const bool parsed = parser.parse(QCoreApplication::arguments());
    if (parsed && (parser.isSet(help) || parser.isSet(QStringLiteral("help-all")))) {
        print(stdout, usage());
        return 0;
    }
    if (parsed && parser.isSet(version)) {
        print(stdout, program + QLatin1Char(' ') + QCoreApplication::applicationVersion() + QLatin1Char('\n'));
        return 0;
    }
    if (!parsed || !parser.positionalArguments().isEmpty()) {
        const QString error = parsed ? CommandLine::tr("Unexpected argument '%1'.")
                                           .arg(parser.positionalArguments().constFirst())
                                     : parser.errorText();
        print(stderr, program + QStringLiteral(": ") + error + QStringLiteral("\n\n") + usage());
        return 2;
    }
    *platformNamed = parser.isSet(QStringLiteral("platform"));
    return std::nullopt;
}

} // namespace

std::optional<int> handleCommandLine(int argc, char *argv[])
{
    bool platformNamed = false;
    if (argc > 1) {
        // Only for reading the arguments (and the program's name in the usage
        // line); a plain start creates nothing before its window.
        QCoreApplication core(argc, argv);
        if (const std::optional<int> status = answer(&platformNamed))
            return status;
    }
    if (!platformNamed && !hasDisplay()) {
        print(stderr, CommandLine::noDisplay(QCoreApplication::applicationName()));
        return 1;
    }
    return std::nullopt;
}
