#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// Names the system hands over as bytes (the arguments, file names) kept whole
// in a QString. On Linux a byte that is not part of valid UTF-8 becomes the
// lone surrogate U+DC00 + byte, which no decoded text can hold, and turns back
// into that same byte for the file system; shown, it reads \xHH. Windows
// names are UTF-16 already and pass as they are (systemnames_unix.cpp,
// systemnames_win.cpp).

// The program's arguments, argv[0] first, as QCoreApplication has left them.
QStringList systemArguments(int argc, char **argv);

// The value of the environment variable `variable`, kept whole as the
// arguments are; empty when it is not set.
QString environmentValue(const char *variable);

// The bytes the system takes for `name` (Linux; UTF-8 elsewhere).
QByteArray systemName(const QString &name);

// The byte a character of a system name stands for, when it stands for one
// that was not text.
std::optional<unsigned char> undecodedByte(char32_t codePoint);

// The current folder's full name, with the system's separators; empty when
// it cannot be read (deleted, say).
QString currentFolder();

// Makes `folder` the current one; false when it cannot.
bool enterFolder(const QString &folder);

// Whether `path` names a regular file this program may read.
bool isReadableFileNamed(const QString &path);

// Whether `path` names a regular file, when it names anything.
std::optional<bool> isRegularFileNamed(const QString &path);

// Whether `folder` names the current folder itself.
bool namesCurrentFolder(const QString &folder);
