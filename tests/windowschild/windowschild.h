#pragma once

#include <QCoreApplication>
#include <QDir>

// The Windows test child's full path, found from the running test program.
inline QString windowsChildPath()
{
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/" TORVEX_WINDOWS_CHILD));
}
