#pragma once

#include "platform/process/processservices.h"

#include <functional>

// The real process services, telling the test just before each start and
// keeping the paths looked at.
class ObservedProcesses final : public ProcessServices
{
public:
    QString currentDirectory() const override { return real.currentDirectory(); }
    bool isReadableFile(const QString &path) const override
    {
        lookedAt << path;
        return real.isReadableFile(path);
    }
    bool canPassOn(const QString &directory) const override { return real.canPassOn(directory); }
    ProgramCheck checkProgram(const QString &program) const override { return real.checkProgram(program); }
    std::unique_ptr<LaunchedProcess> start(const LaunchCommand &command, QString *error) override
    {
        if (onStart)
            onStart(command);
        return real.start(command, error);
    }

    SystemProcessServices real;
    std::function<void(const LaunchCommand &)> onStart;
    mutable QStringList lookedAt; // every path asked about
};
