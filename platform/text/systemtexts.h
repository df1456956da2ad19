#pragma once

#include <QString>

// The system's own error texts (the C library's, the loader's, Windows'):
// in English from `english` on, whatever the locale, for the output of runs
// without a window, which scripts read; in the user's language for the
// window (systemtexts_unix.cpp, systemtexts_win.cpp).
void useEnglishSystemTexts(bool english);

// The system's text for error `code`: an errno value, or on Windows a
// GetLastError() code.
QString systemErrorText(int code);
