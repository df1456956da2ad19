#include "platform/text/messagetext.h"

#include "platform/text/systemnames.h"

#include <algorithm>
#include <vector>

namespace {

// Calls `visit(codePoint, units, rest)` for each character of `text`, `rest`
// being what follows it; a surrogate without its partner is a character of
// its own.
constexpr char16_t ElisionMark = 0x2026;
// Around a long value in a message: its elided form, then the value as it
// is (escaped only when it is written whole, which a window never does) or,
// should it hold one of these marks itself, escaped already. Noncharacters,
// which no escaped text holds as themselves.
constexpr char16_t ValueStart = 0xFDD0;
constexpr char16_t ValueRaw = 0xFDD1;
constexpr char16_t ValueEscaped = 0xFDD2;
constexpr char16_t ValueEnd = 0xFDD3;

template<typename Visit>
void forEachCharacter(QStringView text, Visit visit)
{
    for (qsizetype i = 0; i < text.size();) {
        const QChar c = text.at(i);
        const bool pair = c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
        const qsizetype length = pair ? 2 : 1;
        visit(pair ? QChar::surrogateToUcs4(c, text.at(i + 1)) : char32_t(c.unicode()), text.sliced(i, length),
              text.sliced(i + length));
        i += length;
    }
}

QString hex(uint value, int width)
{
    return QString::number(value, 16).toUpper().rightJustified(width, u'0');
}

// How one character is shown: itself, or its escape. A backslash that would
// read as the start of an escape is one itself, so that no shown text can be
// taken for another.
QString shown(char32_t codePoint, QStringView units, QStringView rest, bool inValue)
{
    if (codePoint == u'\\' && (rest.startsWith(u'x') || rest.startsWith(u"u{")))
        return QStringLiteral("\\x5C");
    // An ellipsis that a value holds is told apart from the one that marks
    // an elided middle.
    if (!isHiddenCharacter(codePoint) && !(inValue && codePoint == ElisionMark))
        return units.toString();
    if (const std::optional<unsigned char> byte = undecodedByte(codePoint))
        return QLatin1String("\\x") + hex(*byte, 2);
    if (codePoint < 0x80)
        return QLatin1String("\\x") + hex(codePoint, 2);
    return QLatin1String("\\u{") + hex(codePoint, 1) + QLatin1Char('}');
}

} // namespace

bool isHiddenCharacter(char32_t codePoint)
{
    // Blank letters and marks that show nothing (Hangul fillers, the
    // combining grapheme joiner, Khmer's inherent vowels, Mongolian's
    // variation selectors); the general ones (U+FE00-FE0F) belong to the
    // text they follow and stay.
    switch (codePoint) {
    case 0x034F:
    case 0x115F:
    case 0x1160:
    case 0x17B4:
    case 0x17B5:
    case 0x180B:
    case 0x180C:
    case 0x180D:
    case 0x180F:
    case 0x3164:
    case 0xFFA0:
        return true;
    default:
        break;
    }
    if (QChar::isNonCharacter(codePoint))
        return true;
    switch (QChar::category(codePoint)) {
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Other_Surrogate:
    case QChar::Other_NotAssigned:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return true;
    default:
        return false;
    }
}

QString escapeControls(const QString &text)
{
    QString escaped;
    escaped.reserve(text.size());
    forEachCharacter(text, [&](char32_t codePoint, QStringView units, QStringView rest) {
        // Most characters stand for themselves: no text is made for them.
        if (codePoint != u'\\' && codePoint != ElisionMark && !isHiddenCharacter(codePoint))
            escaped += units;
        else
            escaped += shown(codePoint, units, rest, true);
    });
    return escaped;
}

QString escapeLine(const QString &line, bool keepNewlines)
{
    QString escaped;
    escaped.reserve(line.size());
    forEachCharacter(line, [&](char32_t codePoint, QStringView units, QStringView) {
        // No following text: a backslash stays itself.
        escaped += keepNewlines && codePoint == u'\n' ? units.toString() : shown(codePoint, units, {}, false);
    });
    return escaped;
}

QString elideForMessage(const QString &text)
{
    constexpr qsizetype MaxLength = 260;
    if (text.size() <= MaxLength) {
        if (QString whole = escapeControls(text); whole.size() <= MaxLength)
            return whole;
    }
    // Elided by whole characters as shown, so that no escape is cut. A
    // character never shows shorter than it is, so the text's first and last
    // MaxLength units hold all that is shown of it.
    const auto shownParts = [](QStringView part) {
        std::vector<QString> parts;
        forEachCharacter(part, [&](char32_t codePoint, QStringView units, QStringView rest) {
            parts.push_back(shown(codePoint, units, rest, true));
        });
        return parts;
    };
    QString head;
    for (const QString &part : shownParts(QStringView(text).first(std::min(text.size(), MaxLength)))) {
        if (head.size() + part.size() > MaxLength / 2)
            break;
        head += part;
    }
    QString tail;
    const std::vector<QString> last = shownParts(QStringView(text).last(std::min(text.size(), MaxLength)));
    for (auto part = last.rbegin(); part != last.rend() && tail.size() + part->size() < MaxLength - MaxLength / 2; ++part)
        tail.prepend(*part);
    return head + QChar(ElisionMark) + tail;
}

QString quoteForMessage(const QString &text)
{
    const QString elided = elideForMessage(text);
    if (!elided.contains(QChar(ElisionMark)))
        return elided;
    const bool holdsMarks = std::any_of(text.begin(), text.end(), [](QChar c) {
        return c.unicode() >= ValueStart && c.unicode() <= ValueEnd;
    });
    return QChar(ValueStart) + elided + (holdsMarks ? QChar(ValueEscaped) + escapeControls(text) : QChar(ValueRaw) + text)
        + QChar(ValueEnd);
}

namespace {

// `message` with each long value in one of its forms.
QString withValues(const QString &message, bool whole)
{
    QString text;
    text.reserve(message.size());
    for (qsizetype at = 0; at < message.size();) {
        const qsizetype start = message.indexOf(QChar(ValueStart), at);
        qsizetype middle = start;
        while (middle >= 0 && middle < message.size() && message.at(middle) != QChar(ValueRaw)
               && message.at(middle) != QChar(ValueEscaped))
            ++middle;
        const qsizetype end = start < 0 || middle >= message.size() ? -1 : message.indexOf(QChar(ValueEnd), middle);
        if (end < 0) {
            text += QStringView(message).sliced(at);
            break;
        }
        text += QStringView(message).sliced(at, start - at);
        const QStringView value = QStringView(message).sliced(middle + 1, end - middle - 1);
        if (!whole)
            text += QStringView(message).sliced(start + 1, middle - start - 1);
        else if (message.at(middle) == QChar(ValueRaw))
            text += escapeControls(value.toString());
        else
            text += value;
        at = end + 1;
    }
    return text;
}

} // namespace

QString withElidedValues(const QString &message)
{
    return withValues(message, false);
}

QString withWholeValues(const QString &message)
{
    return withValues(message, true);
}

QString shellQuote(const QString &argument)
{
    static const QString plain = QStringLiteral("_@%+=:,./-");
    const auto isPlain = [](QChar c) {
        return (c.unicode() < 0x80 && c.isLetterOrNumber()) || plain.contains(c);
    };
    if (!argument.isEmpty() && std::all_of(argument.begin(), argument.end(), isPlain))
        return argument;
    bool hidden = false;
    forEachCharacter(argument, [&](char32_t codePoint, QStringView, QStringView) { hidden = hidden || isHiddenCharacter(codePoint); });
    if (!hidden)
        return QLatin1Char('\'') + QString(argument).replace(QLatin1Char('\''), QLatin1String("'\\''")) + QLatin1Char('\'');
    // Three octal digits per byte: nothing that follows can be read into one.
    QString quoted = QStringLiteral("$'");
    forEachCharacter(argument, [&](char32_t codePoint, QStringView units, QStringView) {
        if (codePoint == u'\\' || codePoint == u'\'') {
            quoted += QLatin1Char('\\') + units.toString();
        } else if (codePoint == u'\n') {
            quoted += QLatin1String("\\n");
        } else if (codePoint == u'\t') {
            quoted += QLatin1String("\\t");
        } else if (!isHiddenCharacter(codePoint)) {
            quoted += units.toString();
        } else {
            const std::optional<unsigned char> byte = undecodedByte(codePoint);
            for (const char c : byte ? QByteArray(1, char(*byte)) : units.toUtf8())
                quoted += QLatin1Char('\\') + QString::number(uchar(c), 8).rightJustified(3, u'0');
        }
    });
    return quoted + QLatin1Char('\'');
}

QString jsonQuote(const QString &text)
{
    QString quoted = QStringLiteral("\"");
    forEachCharacter(text, [&](char32_t codePoint, QStringView units, QStringView) {
        if (codePoint == u'"' || codePoint == u'\\') {
            quoted += QLatin1Char('\\') + units.toString();
        } else if (!isHiddenCharacter(codePoint)) {
            quoted += units.toString();
        } else {
            for (const QChar unit : units)
                quoted += QLatin1String("\\u") + hex(unit.unicode(), 4).toLower();
        }
    });
    return quoted + QLatin1Char('"');
}
