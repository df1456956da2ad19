#pragma once

#include "platform/processservices.h"

#include <functional>

// The real process services, telling the test just before each start.
class ObservedProcesses final : public ProcessServices
{
public:
    QString currentDirectory() const override { return real.currentDirectory(); }
    bool isReadableFile(const QString &path) const override { return real.isReadableFile(path); }
    std::unique_ptr<LaunchedProcess> start(const LaunchCommand &command, QString *error) override
    {
        if (onStart)
            onStart(command);
        return real.start(command, error);
    }

    SystemProcessServices real;
    std::function<void(const LaunchCommand &)> onStart;
};
