#pragma once

#include "platform/process/processservices.h"

#include <QLatin1StringView>

// The separator the INI name's leading backslash stands for on this system.
#ifdef Q_OS_WIN
inline constexpr QChar NativeSeparator = QLatin1Char('\\');
#else
inline constexpr QChar NativeSeparator = QLatin1Char('/');
#endif

// The full path of an INI file as the application manager is given it.
QString iniFilePath(const QString &installDir, QLatin1StringView iniName, QChar separator = NativeSeparator);

// The program a registry value names. App Paths values are often quoted; one
// pair of quotes around the whole value is command-line syntax, not part of
// the file name.
QString managerProgram(const QString &managerPath);

// The run of the application manager for one INI file: the manager path as
// read, a space, and the full INI path in double quotes. The program started
// is the manager itself, never a guess made along the spaces of its path;
// its one argument is the full INI path.
LaunchCommand buildLaunchCommand(const QString &managerPath, const QString &installDir,
                                 QLatin1StringView iniName, QChar separator = NativeSeparator);
