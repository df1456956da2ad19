#pragma once

#include <QString>

// A path or value as a message quotes it: at most 260 characters, the middle
// elided, so that a box opens at once and fits on the screen whatever the
// length of the text.
QString elideForMessage(const QString &text);

// `text` on one line that is safe to show on a terminal: control characters
// (newline, escape, ...) and line separators written as \xHH or \uHHHH.
// `keepNewlines` leaves the text's own line breaks as they are.
QString escapeControls(const QString &text, bool keepNewlines = false);

// `argument` as a POSIX shell reads it back: bare when it is plain, else in
// single quotes, or as $'...' with escapes when it holds control characters.
QString shellQuote(const QString &argument);
