#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>

// One program to start: what runs, with which arguments, and the command line
// as the user would read it (on Windows it is the process's command line).
struct LaunchCommand
{
    QString program;
    QStringList arguments;
    QString commandLine;
};

// How a started program ended. Exit codes, zero or not, are not judged: real
// application managers do not document theirs. Only an end the program did
// not choose itself counts as abnormal, and so does an end the system could
// not tell us about: it is never taken for an ordinary one.
struct ProcessEnd
{
    enum class Kind { Exited, Signal, Exception, Unknown };

    Kind kind = Kind::Exited;
    uint32_t code = 0; // the exit code, signal number or exception code

    bool isAbnormal() const { return kind != Kind::Exited; }

    // A sentence for the user: "The run ended by signal 9.", "The run ended
    // with exception 0xC0000005."
    QString description() const;

    // An exception code as Windows writes it: "0xC0000005".
    static QString exceptionCode(uint32_t code);

    // Windows hands exception codes back as exit codes: 0xC0000000 to
    // 0xCFFFFFFF, the breakpoint and unhandled C++ and .NET exceptions are
    // abnormal ends, anything else (0, 3, 0xFFFFFFFF) an exit code.
    static ProcessEnd fromWindowsExitCode(uint32_t code);
};

// A started program. It is never killed by the wizard: destroying this object
// only stops watching the process, which runs on to its own end.
class LaunchedProcess : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    virtual bool hasEnded() const = 0;
    // How it ended; meaningful once it has.
    virtual ProcessEnd howEnded() const = 0;

signals:
    // Emitted once, through the event loop, when the process has ended.
    void ended();
};

// Whether a path names a program that can be started as it stands.
enum class ProgramCheck {
    Runnable,
    NotAbsolute,    // it would be looked for relative to the current folder
    Missing,
    NotRegularFile, // a folder, a device, a FIFO
    NotExecutable,  // no permission to run it (Windows has no such bit)
};

class ProcessServices
{
public:
    virtual ~ProcessServices() = default;

    // The process's current directory, without a trailing separator except at
    // the root; empty when it cannot be read (it was deleted, say).
    virtual QString currentDirectory() const = 0;

    // Whether `path`, handed to a started program as an argument, names a
    // regular file that the program can read.
    virtual bool isReadableFile(const QString &path) const = 0;

    // Whether `directory`, as currentDirectory() gave it, still leads to the
    // current directory when handed on as text: not so when the folder's name
    // holds bytes that text cannot carry (a name that is not valid UTF-8).
    virtual bool canPassOn(const QString &directory) const
    {
        Q_UNUSED(directory)
        return true;
    }

    // Whether `program` is a full path to a regular file that may be run.
    virtual ProgramCheck checkProgram(const QString &program) const = 0;

    // Starts the program; on failure returns null and sets `error` to a reason
    // fit for the user.
    virtual std::unique_ptr<LaunchedProcess> start(const LaunchCommand &command, QString *error) = 0;
};

class SystemProcessServices final : public ProcessServices
{
public:
    // Native: the system wakes the wizard when a run ends (a pidfd on Linux,
    // the process handle on Windows). Polling: asks every few milliseconds,
    // as where no pidfd is to be had.
    enum class Watch { Native, Polling };

    explicit SystemProcessServices(Watch watch = Watch::Native) : m_watch(watch) {}

    // To be called at start-up, before anything is started: makes sure the
    // system tells this process how its children ended. On POSIX a SIGCHLD
    // ignored by whoever started the wizard (the setting is inherited) lets
    // the kernel reap the children and lose how they ended.
    static void takeChildEndsBack();

    QString currentDirectory() const override;
    bool isReadableFile(const QString &path) const override;
    bool canPassOn(const QString &directory) const override;
    ProgramCheck checkProgram(const QString &program) const override;
    std::unique_ptr<LaunchedProcess> start(const LaunchCommand &command, QString *error) override;

private:
    Watch m_watch;
};
