#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

// One program to start: what runs, with which arguments, and the command line
// as the user would read it (on Windows it is the process's command line).
struct LaunchCommand
{
    QString program;
    QStringList arguments;
    QString commandLine;
};

// A started program. It is never killed by the wizard: destroying this object
// only stops watching the process, which runs on to its own end.
class LaunchedProcess : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    virtual bool hasEnded() const = 0;

signals:
    // Emitted once, through the event loop, when the process has ended.
    void ended();
};

class ProcessServices
{
public:
    virtual ~ProcessServices() = default;

    // The process's current directory, without a trailing separator except at
    // the root.
    virtual QString currentDirectory() const = 0;

    // Starts the program; on failure returns null and sets `error` to a reason
    // fit for the user.
    virtual std::unique_ptr<LaunchedProcess> start(const LaunchCommand &command, QString *error) = 0;
};

class SystemProcessServices final : public ProcessServices
{
public:
    QString currentDirectory() const override;
    std::unique_ptr<LaunchedProcess> start(const LaunchCommand &command, QString *error) override;
};
