#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The regedit export format, as far as reading a key's default value goes.
namespace RegFileFormat {

// The file's text: UTF-16 or UTF-8 when it starts with a byte-order mark,
// otherwise Windows-1252 (ANSI) for a REGEDIT4 file, UTF-8 when it is valid
// UTF-8 and Windows-1252 when it is not.
QString decode(const QByteArray &bytes);

// The default value ("@=") of HKEY_LOCAL_MACHINE\<keyPath>, or nothing when the
// text has no valid header, the key is missing or deleted, or its default is
// no string or holds a NUL character.
std::optional<QString> localMachineDefault(const QString &text, const QString &keyPath);

} // namespace RegFileFormat
