#include "platform/messagetext.h"

#include "platform/systemnames.h"

#include <algorithm>
#include <vector>

namespace {

// Calls `visit(codePoint, units)` for each character of `text`; a surrogate
// without its partner is a character of its own.
template<typename Visit>
void forEachCharacter(QStringView text, Visit visit)
{
    for (qsizetype i = 0; i < text.size();) {
        const QChar c = text.at(i);
        const bool pair = c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
        const qsizetype length = pair ? 2 : 1;
        visit(pair ? QChar::surrogateToUcs4(c, text.at(i + 1)) : char32_t(c.unicode()), text.sliced(i, length));
        i += length;
    }
}

QString hex(uint value, int width)
{
    return QString::number(value, 16).toUpper().rightJustified(width, u'0');
}

// How one character is shown: itself, or its escape.
QString shown(char32_t codePoint, QStringView units)
{
    if (!isHiddenCharacter(codePoint))
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
    switch (QChar::category(codePoint)) {
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Other_Surrogate:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return true;
    default:
        return false;
    }
}

QString escapeControls(const QString &text, bool keepNewlines)
{
    QString escaped;
    escaped.reserve(text.size());
    forEachCharacter(text, [&](char32_t codePoint, QStringView units) {
        escaped += keepNewlines && codePoint == u'\n' ? units.toString() : shown(codePoint, units);
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
        forEachCharacter(part, [&](char32_t codePoint, QStringView units) { parts.push_back(shown(codePoint, units)); });
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
    return head + QChar(0x2026) + tail;
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
    forEachCharacter(argument, [&](char32_t codePoint, QStringView) { hidden = hidden || isHiddenCharacter(codePoint); });
    if (!hidden)
        return QLatin1Char('\'') + QString(argument).replace(QLatin1Char('\''), QLatin1String("'\\''")) + QLatin1Char('\'');
    // Three octal digits per byte: nothing that follows can be read into one.
    QString quoted = QStringLiteral("$'");
    forEachCharacter(argument, [&](char32_t codePoint, QStringView units) {
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
    forEachCharacter(text, [&](char32_t codePoint, QStringView units) {
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
