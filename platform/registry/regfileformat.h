#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The regedit export format, as far as reading a key's default value goes.
namespace RegFileFormat {

// The default value ("@=") of HKEY_LOCAL_MACHINE\<keyPath> in the file's
// bytes, or nothing when the text has no valid header, the key is missing or
// deleted, or its default is no string or holds a NUL character.
// The text is UTF-16 or UTF-8 when it starts with a byte-order mark,
// otherwise Windows-1252 (ANSI) for a REGEDIT4 file, UTF-8 when it is valid
// UTF-8 and Windows-1252 when it is not.
std::optional<QString> localMachineDefault(const QByteArray &bytes, const QString &keyPath);

} // namespace RegFileFormat
