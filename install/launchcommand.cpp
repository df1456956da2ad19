#include "install/launchcommand.h"

LaunchCommand buildLaunchCommand(const QString &managerPath, const QString &installDir,
                                 QLatin1StringView iniName, QChar separator)
{
    // The name's leading backslash is the separator between directory and
    // name; a root directory that ends in one already keeps both.
    QString iniPath = installDir;
    iniPath += separator;
    iniPath += iniName.sliced(1);

    LaunchCommand command;
    command.program = managerPath;
    command.arguments = QStringList{iniPath};
    command.commandLine = managerPath + QLatin1String(" \"") + iniPath + QLatin1Char('"');
    return command;
}
