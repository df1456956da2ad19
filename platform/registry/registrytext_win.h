#pragma once

#include <QString>

#include <qt_windows.h>

#include <functional>
#include <optional>

// Reads a registry text whose size is asked for first and that may grow
// between the calls. `get(data, &size)` answers as RegGetValueW does for its
// data and size arguments: data null asks for the size. A text that outgrows
// every buffer it is given is no value after a few reads, `status` then
// ERROR_MORE_DATA; otherwise `status` is the system's last answer. The
// terminator, and any the writer added besides, end the text; a NUL before
// other characters stays in it.
std::optional<QString> readRegistryText(const std::function<LONG(wchar_t *data, DWORD *size)> &get, LONG *status);
