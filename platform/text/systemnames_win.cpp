#include "platform/text/systemnames.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

QStringList systemArguments(int, char **)
{
    // Read from the process's UTF-16 command line.
    return QCoreApplication::arguments();
}

QString environmentValue(const char *variable)
{
    return qEnvironmentVariable(variable);
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

bool isReadableFileNamed(const QString &path)
{
    const QFileInfo file(path);
    return file.isFile() && file.isReadable();
}

std::optional<bool> isRegularFileNamed(const QString &path)
{
    const QFileInfo file(path);
    if (!file.exists())
        return std::nullopt;
    return file.isFile();
}

bool namesCurrentFolder(const QString &folder)
{
    // The text names the same folder as the working directory itself, or its
    // name lost something on the way.
    const QFileInfo named(folder);
    return named.isDir() && named.canonicalFilePath() == QFileInfo(QStringLiteral(".")).canonicalFilePath();
}
