#include "app/commandline.h"

#include "assets/assets.h"
#include "install/exitstatus.h"
#include "install/kitfolder.h"
#include "app/commandlinesystem.h"
#include "app/language.h"
#include "app/passiverun.h"
#include "app/setuplock.h"
#include "platform/io/console.h"
#include "platform/text/messagetext.h"
#include "platform/io/outputstream.h"
#include "platform/process/processservices.h"
#include "platform/process/stopsignals.h"
#include "platform/text/systemnames.h"
#include "platform/text/systemtexts.h"

#include "torvexversion.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QStringList>

#include <initializer_list>

namespace {

const QString PlatformA = QStringLiteral("4.0-or-higher");
const QString PlatformB = QStringLiteral("earlier");

class CommandLine
{
    Q_DECLARE_TR_FUNCTIONS(CommandLine)

public:
    static QString description()
    {
        return tr("Installs Torvex on a connected Pocket PC: in a window, or with --unattended\n"
                  "without one (no display needed), for deployment tools, or with --passive as\n"
                  "--unattended does, shown in the window, which asks nothing and closes by itself.");
    }
    static QString exitStatusHelp()
    {
        QString text = tr("Exit status:\n");
        for (const ExitStatus status : allExitStatuses())
            text += QStringLiteral("  %1  %2\n").arg(toInt(status), 2).arg(exitStatusMeaning(status));
        return text;
    }
    static QString toolkitHelp()
    {
        return tr("Qt's own options (-platform, -style, -display, ...) are accepted for the window;\n"
                  "-platform with one dash names the window system, --platform the handheld's.\n");
    }
    static QString noDisplay(const QString &program)
    {
        return tr("%1: no display to open the window on (DISPLAY and WAYLAND_DISPLAY are "
                  "not set); start it in a graphical session.\n")
            .arg(program);
    }
};

// False, with the reason, when the text could not be written (closed, a full
// disk, a reader that has gone away).
bool print(OutputStream::Standard stream, const QString &text, QString *error = nullptr)
{
    const std::unique_ptr<OutputStream> out = OutputStream::openStandard(stream);
    if (out->errorString().isEmpty() && out->write(text))
        return true;
    if (error)
        *error = out->errorString();
    return false;
}

// An answer on standard output counts only once it has been written.
int answerOnStdout(const QString &text)
{
    QString error;
    if (print(OutputStream::Standard::Output, text, &error))
        return toInt(ExitStatus::Success);
    print(OutputStream::Standard::Error, CommandLine::tr("%1: standard output cannot be written: %2.\n")
                                             .arg(QCoreApplication::applicationName(), error));
    return toInt(ExitStatus::Usage);
}

// The options Qt 6.4's QGuiApplication, QApplication and X11 platform take
// (they remove them from the arguments); a plain Qt start must keep working
// with them. -platform is taken apart before (see answer()).
void addToolkitOptions(QCommandLineParser &parser)
{
    for (const char *name : {"platformpluginpath", "platformtheme", "plugin", "qwindowgeometry", "geometry",
                             "qwindowtitle", "title", "qwindowicon", "icon", "session", "style", "stylesheet",
                             "qmljsdebugger", "display", "name", "visual"}) {
        QCommandLineOption option(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char *name : {"reverse", "testability", "widgetcount", "nograb", "dograb", "qdevel", "qdebug"}) {
        QCommandLineOption option(QString::fromLatin1(name));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
}

struct Options
{
    QCommandLineOption unattended{QStringLiteral("unattended"),
                                  CommandLine::tr("Run the chosen list with no window and no question.")};
    QCommandLineOption passive{QStringLiteral("passive"),
                               CommandLine::tr("Run the chosen list as --unattended does (the same options, "
                                               "statuses, log and JSON), shown in the window, which asks "
                                               "nothing and closes by itself. Needs a display.")};
    QCommandLineOption noSystemLog{QStringLiteral("no-system-log"),
                                   CommandLine::tr("Write no entries to the system's log (the systemd journal, "
                                                   "the Windows Application log) when an install starts and "
                                                   "ends.")};
    QCommandLineOption acceptLicence{QStringLiteral("accept-licence"),
                                     CommandLine::tr("Accept the licence agreement (required with --unattended "
                                                     "and --passive).")};
    QCommandLineOption showLicence{QStringLiteral("show-licence"),
                                   CommandLine::tr("Print the licence agreement and exit.")};
    QCommandLineOption platform{QStringLiteral("platform"),
                                CommandLine::tr("The handheld's platform: %1 (Microsoft Pocket PC Version 4.0.0 or "
                                                "higher) or %2 (earlier versions). Required with --unattended and "
                                                "--passive.")
                                    .arg(PlatformA, PlatformB),
                                QStringLiteral("name")};
    QCommandLineOption kit{QStringLiteral("kit"),
                           CommandLine::tr("The folder that holds the INI files (default: the current directory)."),
                           QStringLiteral("dir")};
    QCommandLineOption log{QStringLiteral("log"),
                           CommandLine::tr("Append a log of the install, one line per event, to <file> (with "
                                           "the window too)."),
                           QStringLiteral("file")};
    QCommandLineOption json{QStringLiteral("json"),
                            CommandLine::tr("Write the events of the unattended or passive run as JSON Lines on "
                                            "standard output.")};
    QCommandLineOption check{QStringLiteral("check"),
                             CommandLine::tr("Check for the handheld, the application manager and the INI files, "
                                             "print the command lines that would run, and run nothing.")};
    QCommandLineOption language{QStringLiteral("language"),
                                CommandLine::tr("The window's language: %1, also as a locale name such as de_AT "
                                                "(default: the first of the system's languages that is one "
                                                "of them, else en); --passive's window speaks it too. "
                                                "--unattended, --passive and --check, their log and JSON stay in "
                                                "English, for the scripts that read them (the window's messages "
                                                "quoted in a log are in its language).")
                                    .arg(windowLanguages().join(QStringLiteral(", "))),
                                QStringLiteral("code")};
};

// Answers the options that end the program, or refuses the arguments.
// A platform or display named for the window system needs no display of
// ours to check for; a failure to open it ends in the same status.
std::optional<int> answer(const QStringList &givenArguments, bool *displayNamed,
                          std::optional<UnattendedOptions> *unattended, WindowOptions *window)
{
    const QString program = QCoreApplication::applicationName();
    QCommandLineParser parser;
    parser.setApplicationDescription(CommandLine::description());
    // Qt's own options are single-dash words (-platform, -style).
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const Options options;
    for (const QCommandLineOption &option : {options.unattended, options.passive, options.acceptLicence, options.platform,
                                             options.kit, options.log, options.json, options.check,
                                             options.showLicence, options.language, options.noSystemLog})
        parser.addOption(option);
    addToolkitOptions(parser);

    const auto usage = [&] {
        // The usage line names the program as it was started: shown escaped.
        QString help = parser.helpText();
        const QString started = QCoreApplication::arguments().constFirst();
        if (const qsizetype at = help.indexOf(started, help.indexOf(QLatin1Char(':')) + 1); at >= 0)
            help.replace(at, started.size(), escapeControls(givenArguments.constFirst()));
        return help + QLatin1Char('\n') + CommandLine::toolkitHelp() + QLatin1Char('\n')
            + environmentHelp() + QLatin1Char('\n') + CommandLine::exitStatusHelp();
    };
    const auto refuse = [&](const QString &error) {
        // One line: an argument quoted in it cannot start another.
        print(OutputStream::Standard::Error,
              program + QStringLiteral(": ") + escapeControls(error) + QStringLiteral("\n\n") + usage());
        return toInt(ExitStatus::Usage);
    };

    // Qt reads "-platform" and "--platform" alike; here one dash is Qt's (the
    // window system), two are ours (the handheld), so Qt's is taken out first.
    QStringList arguments = givenArguments;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (arguments.at(i) != QLatin1String("-platform"))
            continue;
        if (i + 1 == arguments.size())
            return refuse(CommandLine::tr("Missing value after '-platform'."));
        arguments.remove(i, 2);
        --i;
        *displayNamed = true;
    }

    const bool parsed = parser.parse(arguments);
    if (parsed && (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))))
        return answerOnStdout(usage());
    if (parsed && parser.isSet(version))
        return answerOnStdout(program + QLatin1Char(' ') + QCoreApplication::applicationVersion() + QLatin1Char('\n'));
    if (parsed && parser.isSet(options.showLicence))
        return answerOnStdout(Assets::licenseText().replace(QLatin1String("\r\n"), QLatin1String("\n")));
    if (!parsed)
        return refuse(parser.errorText());
    if (!parser.positionalArguments().isEmpty())
        return refuse(CommandLine::tr("Unexpected argument '%1'.").arg(parser.positionalArguments().constFirst()));
    *displayNamed = *displayNamed || parser.isSet(QStringLiteral("display"));
    const QString language = spokenLanguage(parser.value(options.language));
    if (parser.isSet(options.language) && language.isEmpty()) {
        return refuse(CommandLine::tr("Unknown language '%1': the window speaks %2.")
                          .arg(parser.value(options.language), windowLanguages().join(QStringLiteral(", "))));
    }

    const bool passive = parser.isSet(options.passive);
    if (passive && (parser.isSet(options.unattended) || parser.isSet(options.check))) {
        return refuse(CommandLine::tr("--passive shows the run in the window: leave out --%1.")
                          .arg(parser.isSet(options.unattended) ? QStringLiteral("unattended") : QStringLiteral("check")));
    }
    const bool withoutWindow = parser.isSet(options.unattended) || parser.isSet(options.check) || passive;
    window->language = language;
    window->systemLog = !parser.isSet(options.noSystemLog);
    if (!withoutWindow) {
        for (const QCommandLineOption *option : {&options.acceptLicence, &options.platform, &options.json}) {
            if (parser.isSet(*option)) {
                return refuse(CommandLine::tr("--%1 is for runs without a window: add --unattended or --passive.")
                                  .arg(option->names().constFirst()));
            }
        }
        window->arguments = givenArguments;
        // Named from where Setup was started, not from the kit folder.
        const QString log = parser.value(options.log);
        if (parser.isSet(options.log))
            window->logPath = QDir(currentFolder()).filePath(log);
        QString error;
        if (!enterKitFolder(parser.value(options.kit), &error)) {
            print(OutputStream::Standard::Error, program + QStringLiteral(": ") + escapeLine(error) + QLatin1Char('\n'));
            return toInt(ExitStatus::KitIncomplete);
        }
        return std::nullopt;
    }

    const QString platform = parser.value(options.platform);
    if (!parser.isSet(options.platform))
        return refuse(CommandLine::tr("--unattended, --passive and --check need --platform %1 or --platform %2.").arg(PlatformA, PlatformB));
    if (platform != PlatformA && platform != PlatformB) {
        return refuse(CommandLine::tr("Unknown platform '%1': the names are %2 (Microsoft Pocket PC Version 4.0.0 "
                                      "or higher) and %3 (earlier versions).")
                          .arg(platform, PlatformA, PlatformB));
    }
    if (!parser.isSet(options.check) && !parser.isSet(options.acceptLicence)) {
        return refuse(CommandLine::tr("--%1 needs --accept-licence; read the licence agreement with "
                                      "--show-licence first.")
                          .arg(passive ? QStringLiteral("passive") : QStringLiteral("unattended")));
    }
    UnattendedOptions chosen;
    chosen.checkOnly = parser.isSet(options.check);
    chosen.json = parser.isSet(options.json);
    chosen.passive = passive;
    chosen.systemLog = window->systemLog;
    chosen.listA = platform == PlatformA;
    chosen.logPath = parser.value(options.log);
    chosen.kit = parser.value(options.kit);
    chosen.arguments = givenArguments;
    *unattended = chosen;
    return std::nullopt;
}

} // namespace

std::optional<int> handleCommandLine(int argc, char *argv[], std::optional<UnattendedOptions> *unattended,
                                     WindowOptions *window)
{
    bool displayNamed = false;
    if (argc > 1) {
        // Options print their answers where the program was started from.
        attachParentConsole();
        // Only for reading the arguments (and the program's name in the usage
        // line); a plain start creates nothing before its window.
        QCoreApplication core(argc, argv);
        // What is printed from here on is read by scripts, system texts too.
        useEnglishSystemTexts(true);
        // As Qt has left them, with any byte that is not text kept.
        const QStringList arguments = systemArguments(argc, argv);
        if (const std::optional<int> status = answer(arguments, &displayNamed, unattended, window))
            return status;
        // A passive run needs the display as the window does.
        if (*unattended && !(*unattended)->passive)
            return std::nullopt;
    }
    if (!displayNamed && !hasDisplay()) {
        print(OutputStream::Standard::Error, CommandLine::noDisplay(QCoreApplication::applicationName()));
        return toInt(ExitStatus::NoDisplay);
    }
    return std::nullopt;
}

std::optional<int> runBeforeWindow(int &argc, char *argv[], TickSource &ticks, WindowOptions *window)
{
    QCoreApplication::setApplicationName(QStringLiteral("TorvexSetup"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TORVEX_DISPLAY_VERSION));
    // Before anything is started: how each run ends must reach us.
    SystemProcessServices::takeChildEndsBack();
    // The one place SIGPIPE is set aside, for the window and unattended runs
    // alike, before the first line is written.
    ignoreBrokenPipes();
    std::optional<UnattendedOptions> unattended;
    WindowOptions windowOptions;
    if (const std::optional<int> status = handleCommandLine(argc, argv, &unattended, &windowOptions))
        return status;
    if (!unattended) {
        if (window)
            *window = windowOptions;
        return std::nullopt;
    }
    // From here on a stop ends with a status of ours, never by the signal,
    // even while something waits (the lock being taken, a line to a full
    // pipe); the run's own handlers take over once its event loop can.
    StopSignals::endAtOnceUntilMade(CommandLine::tr("%1: asked to stop: exiting now; no run was started.\n")
                                        .arg(QCoreApplication::applicationName())
                                        .toUtf8(),
                                    toInt(ExitStatus::CancelledBeforeRuns));
    std::unique_ptr<InstanceLock> lock;
    if (!unattended->checkOnly) {
        lock = takeSetupLock();
        if (const QString refusal = setupLockRefusal(*lock); !refusal.isEmpty()) {
            print(OutputStream::Standard::Error,
                  QStringLiteral("%1: %2\n").arg(QCoreApplication::applicationName(), refusal));
            return toInt(ExitStatus::Usage);
        }
        if (lock->state() == InstanceLock::State::HeldElsewhere) {
            // Refused whatever comes now: a stop while the line below waits
            // on a full pipe ends with the same status.
            StopSignals::endAtOnceUntilMade({}, toInt(ExitStatus::AlreadyRunning));
            if (unattended->systemLog)
                logSetupLockRefusal(unattended->passive ? QStringLiteral("passive") : QStringLiteral("unattended"),
                                    unattended->kit, unattended->logPath, unattended->listA);
            // Nothing goes to the log or standard output: the log may well
            // be the running Setup's own.
            print(OutputStream::Standard::Error,
                  CommandLine::tr("%1: another Setup is already running on this machine; try again once it "
                                  "has ended. %2\n")
                      .arg(QCoreApplication::applicationName(), setupLockHolder(*lock)));
            return toInt(ExitStatus::AlreadyRunning);
        }
        unattended->lockWarning = setupLockWarning(*lock);
    }
    if (unattended->passive)
        return runPassive(argc, argv, *unattended, windowOptions.language, ticks);
    return runUnattended(argc, argv, *unattended, ticks);
}
