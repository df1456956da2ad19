#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The regedit export format, as far as reading a key's default value goes.
namespace RegFileFormat {

// The file's text: UTF-16 or UTF-8 when it starts with a byte-order mark,
// otherwise UTF-8 when it is valid UTF-8 and Latin-1 (ANSI) when it is not.
QString decode(const QByteArray &bytes);

// The default value ("@=") of HKEY_LOCAL_MACHINE\<keyPath>, or nothing when the
// text has no valid header, the key is missing or its default is no string.
std::optional<QString> localMachineDefault(const QString &text, const QString &keyPath);

} // namespace RegFileFormat
