#include "platform/process/processservices.h"

#include "platform/process/childprocess.h"
#include "platform/text/systemnames.h"


QString SystemProcessServices::currentDirectory() const
{
    return currentFolder();
}

bool SystemProcessServices::isReadableFile(const QString &path) const
{
    // The same bytes as a started program is given.
    return isReadableFileNamed(path);
}

bool SystemProcessServices::canPassOn(const QString &directory) const
{
    return namesCurrentFolder(directory);
}

ProgramCheck SystemProcessServices::checkProgram(const QString &program) const
{
    if (!ChildProcess::isFullPath(program))
        return ProgramCheck::NotAbsolute;
    // The same bytes as the started program is given: a path whose bytes
    // are not all text must not read as missing.
    const std::optional<bool> regular = isRegularFileNamed(program);
    if (!regular)
        return ProgramCheck::Missing;
    if (!*regular)
        return ProgramCheck::NotRegularFile;
    return ChildProcess::mayRun(program) ? ProgramCheck::Runnable : ProgramCheck::NotExecutable;
}

std::unique_ptr<LaunchedProcess> SystemProcessServices::start(const LaunchCommand &command, QString *error)
{
    return ChildProcess::start(command, m_watch, error);
}
