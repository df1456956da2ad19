#include "install/launchcommand.h"

QString iniFilePath(const QString &installDir, QLatin1StringView iniName, QChar separator)
{
    // The name's leading backslash is the separator between directory and
    // name; a root directory that ends in one already keeps both.
    return installDir + separator + iniName.sliced(1);
}

QString managerProgram(const QString &managerPath)
{
    if (managerPath.size() >= 2 && managerPath.startsWith(u'"') && managerPath.endsWith(u'"'))
        return managerPath.sliced(1, managerPath.size() - 2);
    return managerPath;
}

LaunchCommand buildLaunchCommand(const QString &managerPath, const QString &installDir,
                                 QLatin1StringView iniName, QChar separator)
{
    const QString iniPath = iniFilePath(installDir, iniName, separator);
    LaunchCommand command;
    command.program = managerProgram(managerPath);
    command.arguments = QStringList{iniPath};
    command.commandLine = managerPath + QLatin1String(" \"") + iniPath + QLatin1Char('"');
    return command;
}
