#include "platform/messagetext.h"

#include <algorithm>

QString elideForMessage(const QString &text)
{
    constexpr qsizetype MaxLength = 260;
    if (text.size() <= MaxLength)
        return text;
    qsizetype head = (MaxLength - 1) / 2 + 1;
    qsizetype tail = MaxLength - 1 - head;
    // Never split a character that takes two UTF-16 units.
    if (text.at(head - 1).isHighSurrogate())
        --head;
    if (text.at(text.size() - tail).isLowSurrogate())
        --tail;
    return text.first(head) + QChar(0x2026) + text.last(tail);
}

namespace {

bool isControl(QChar c)
{
    const QChar::Category category = c.category();
    return category == QChar::Other_Control || category == QChar::Separator_Line
        || category == QChar::Separator_Paragraph;
}

} // namespace

QString escapeControls(const QString &text, bool keepNewlines)
{
    QString escaped;
    escaped.reserve(text.size());
    for (const QChar c : text) {
        if (!isControl(c) || (keepNewlines && c == QLatin1Char('\n')))
            escaped += c;
        else if (c.unicode() < 0x100)
            escaped += QLatin1String("\\x") + QString::number(c.unicode(), 16).toUpper().rightJustified(2, u'0');
        else
            escaped += QLatin1String("\\u") + QString::number(c.unicode(), 16).toUpper().rightJustified(4, u'0');
    }
    return escaped;
}

QString shellQuote(const QString &argument)
{
    static const QString plain = QStringLiteral("_@%+=:,./-");
    const auto isPlain = [](QChar c) {
        return (c.unicode() < 0x80 && c.isLetterOrNumber()) || plain.contains(c);
    };
    if (!argument.isEmpty() && std::all_of(argument.begin(), argument.end(), isPlain))
        return argument;
    if (std::none_of(argument.begin(), argument.end(), isControl))
        return QLatin1Char('\'') + QString(argument).replace(QLatin1Char('\''), QLatin1String("'\\''")) + QLatin1Char('\'');
    // Three octal digits per byte: nothing that follows can be read into one.
    QString quoted = QStringLiteral("$'");
    for (const QChar c : argument) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('\''))
            quoted += QLatin1Char('\\') + c;
        else if (c == QLatin1Char('\n'))
            quoted += QLatin1String("\\n");
        else if (c == QLatin1Char('\t'))
            quoted += QLatin1String("\\t");
        else if (!isControl(c))
            quoted += c;
        else
            for (const char byte : QString(c).toUtf8())
                quoted += QStringLiteral("\\%1").arg(uint(uchar(byte)), 3, 8, QLatin1Char('0'));
    }
    return quoted + QLatin1Char('\'');
}
