#include "platform/processservices.h"

#include "platform/childprocess.h"

#include <QDir>
#include <QFileInfo>

QString SystemProcessServices::currentDirectory() const
{
    return QDir::toNativeSeparators(QDir::currentPath());
}

bool SystemProcessServices::isReadableFile(const QString &path) const
{
    // The same text, in the same encoding, as a started program is given.
    const QFileInfo file(path);
    return file.isFile() && file.isReadable();
}

std::unique_ptr<LaunchedProcess> SystemProcessServices::start(const LaunchCommand &command, QString *error)
{
    return ChildProcess::start(command, m_watch, error);
}
