#pragma once

#include <QString>

// Whether a character must never reach a reader as itself: the C0 and C1
// controls and DEL, format characters (bidi overrides, zero-width ones, U+FEFF),
// line and paragraph separators, blank fillers, noncharacters and unassigned
// code points, and halves of surrogate pairs alone (a byte of a system name
// that was not text, see systemnames.h).
bool isHiddenCharacter(char32_t codePoint);

// `text` on one line that is safe to show on a terminal or in a log, for a
// value put into a message: each hidden character written as \xHH (below
// U+0080, and a byte that was not text) or \u{HHHH}, and so is an ellipsis
// (see elideForMessage()). Backslashes stay, so
// that Windows paths read as they are, except one followed by "x" or "u{",
// which is written \x5C.
QString escapeControls(const QString &text);

// A whole message or log line whose inserted values are escaped already (by
// the functions here): what hidden characters its own words hold escaped as
// above, its backslashes left as they are, so that no escape is escaped
// twice. `keepNewlines` leaves the message's own line breaks.
QString escapeLine(const QString &line, bool keepNewlines = false);

// A path or value as a message quotes it: escaped as above, and at most 260
// characters, the middle elided, so that a box opens at once and fits on the
// screen whatever the length of the text. The elided middle reads "…", which
// no escaped value holds: an ellipsis of the value's own reads \u{2026}.
QString elideForMessage(const QString &text);

// A value put into a message that a box or standard error shows elided and a
// log or JSON whole: a short one as elideForMessage() gives it, a long one
// with both forms, to be chosen by the functions below before the message is
// shown or written (escapeLine() would show the unchosen as \u{FDD0}...).
// The whole value is escaped only when it is chosen.
QString quoteForMessage(const QString &text);
// `message` with each long value as elideForMessage() gives it.
QString withElidedValues(const QString &message);
// `message` with each long value whole, escaped as by escapeControls().
QString withWholeValues(const QString &message);

// `argument` as a POSIX shell reads it back: bare when it is plain, else in
// single quotes, or as $'...' with escapes when it holds hidden characters
// (a byte that was not text comes back as that byte).
QString shellQuote(const QString &argument);

// `text` as a JSON string, quotes included, with hidden characters as \uHHHH
// escapes: a JSON reader gets the value exactly, a terminal shows no raw
// control or format character.
QString jsonQuote(const QString &text);
