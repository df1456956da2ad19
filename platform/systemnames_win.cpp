#include "platform/systemnames.h"

#include <QCoreApplication>
#include <QDir>

QStringList systemArguments(int, char **)
{
    // Read from the process's UTF-16 command line.
    return QCoreApplication::arguments();
}

QByteArray systemName(const QString &name)
{
    return name.toUtf8();
}

std::optional<unsigned char> undecodedByte(char32_t)
{
    return std::nullopt;
}

QString currentFolder()
{
    return QDir::toNativeSeparators(QDir::currentPath());
}

bool enterFolder(const QString &folder)
{
    return QDir::setCurrent(folder);
}
