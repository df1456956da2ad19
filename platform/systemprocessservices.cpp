#include "platform/processservices.h"
#include <QDir>
// Placeholder until the process watcher lands.
QString SystemProcessServices::currentDirectory() const { return QDir::currentPath(); }
std::unique_ptr<LaunchedProcess> SystemProcessServices::start(const LaunchCommand &, QString *error)
{
    if (error) *error = QStringLiteral("not implemented");
    return nullptr;
}
