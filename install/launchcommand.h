#pragma once

#include "platform/processservices.h"

#include <QLatin1StringView>

// The separator the INI name's leading backslash stands for on this system.
#ifdef Q_OS_WIN
inline constexpr QChar NativeSeparator = QLatin1Char('\\');
#else
inline constexpr QChar NativeSeparator = QLatin1Char('/');
#endif

// The run of the application manager for one INI file: the manager path as
// read, a space, and the full INI path in double quotes. The program started
// is the manager itself, never a guess made along the spaces of its path;
// its one argument is the full INI path.
LaunchCommand buildLaunchCommand(const QString &managerPath, const QString &installDir,
                                 QLatin1StringView iniName, QChar separator = NativeSeparator);
