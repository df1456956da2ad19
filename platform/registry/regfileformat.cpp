#include "platform/registry/regfileformat.h"

#include <QList>
#include <QStringConverter>
#include <QStringDecoder>
#include <QStringTokenizer>
#include <QStringView>

namespace {

constexpr QLatin1StringView LocalMachineRoots[] = {
    QLatin1StringView("HKEY_LOCAL_MACHINE"),
    QLatin1StringView("HKLM"), // not written by regedit, but handy in a file written by hand
};

bool isHeader(QStringView line)
{
    return line == QLatin1StringView("Windows Registry Editor Version 5.00")
        || line == QLatin1StringView("REGEDIT4");
}

QStringView withoutTrailingBackslashes(QStringView key)
{
    while (key.endsWith(u'\\'))
        key.chop(1);
    return key;
}

// The key path that a section name ("HKEY_LOCAL_MACHINE\SOFTWARE\...") names
// under HKEY_LOCAL_MACHINE, or nothing for another hive.
std::optional<QStringView> localMachinePath(QStringView section)
{
    section = withoutTrailingBackslashes(section.trimmed());
    for (const QLatin1StringView root : LocalMachineRoots) {
        if (section.size() > root.size() && section.startsWith(root, Qt::CaseInsensitive)
            && section.at(root.size()) == u'\\') {
            return section.sliced(root.size() + 1);
        }
    }
    return std::nullopt;
}

// Key names compare without regard to case, as in the registry.
bool sameKey(QStringView a, QStringView b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Whether `key` is `wanted` or one of the keys above it.
bool keyOrParent(QStringView key, QStringView wanted)
{
    return sameKey(key, wanted)
        || (wanted.size() > key.size() && wanted.at(key.size()) == u'\\' && sameKey(wanted.first(key.size()), key));
}

// Windows-1252 in 0x80 to 0x9F, where it differs from Latin-1; the five
// unassigned bytes keep their Latin-1 meaning, as Windows maps them.
constexpr char16_t Cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// Writes the bytes as Windows-1252 to `out`, one character each; returns the
// end.
QChar *fromWindows1252(QByteArrayView bytes, QChar *out)
{
    for (const char byte : bytes) {
        const uchar c = uchar(byte);
        *out++ = c >= 0x80 && c <= 0x9F ? QChar(Cp1252High[c - 0x80]) : QChar(c);
    }
    return out;
}

bool startsWithRegedit4Header(const QByteArray &bytes)
{
    return QByteArrayView(bytes).trimmed().startsWith("REGEDIT4");
}

// A quoted string starting at its opening quote, with \\ and \" undone;
// nothing when the closing quote is missing.
std::optional<QString> unquote(QStringView quoted)
{
    QString text = QStringLiteral(""); // @="" is an empty text, not none
    for (qsizetype i = 1; i < quoted.size(); ++i) {
        QChar c = quoted.at(i);
        if (c == u'"')
            return text;
        if (c == u'\\' && i + 1 < quoted.size()
            && (quoted.at(i + 1) == u'\\' || quoted.at(i + 1) == u'"')) {
            c = quoted.at(++i);
        }
        text += c;
    }
    return std::nullopt;
}

// The value of a default-value line, given what follows its '@'. A deleted
// value (@=-) and values of other types (dword:, hex:) are no text.
std::optional<QString> parseDefault(QStringView rest)
{
    rest = rest.trimmed();
    if (!rest.startsWith(u'='))
        return std::nullopt;
    rest = rest.sliced(1).trimmed();
    if (!rest.startsWith(u'"'))
        return std::nullopt;
    std::optional<QString> value = unquote(rest);
    // The system would end the text at the NUL: a value cut short there
    // could name another program.
    if (value && value->contains(QChar(0)))
        return std::nullopt;
    return value;
}

// Hands each line of the file's text to `take` until it returns false. The
// text is never held whole beside the bytes where that would double them:
// lines of 8-bit text are decoded one at a time; UTF-16 and UTF-32 take no
// more room decoded than they do as bytes.
template<typename Take>
void forEachLine(const QByteArray &bytes, Take take)
{
    // regedit 5 writes UTF-16LE with a byte-order mark, REGEDIT4 files are
    // ANSI, that is Windows-1252 on the systems they come from.
    const std::optional<QStringConverter::Encoding> encoding = QStringConverter::encodingForData(bytes);
    if (encoding && *encoding != QStringConverter::Utf8) {
        const QString text = QStringDecoder(*encoding).decode(bytes);
        for (const QStringView line : QStringTokenizer(text, u'\n')) {
            if (!take(line))
                return;
        }
        return;
    }
    QByteArrayView rest(bytes);
    bool utf8 = true;
    if (encoding)
        rest = rest.sliced(3); // the byte-order mark
    else
        utf8 = !startsWithRegedit4Header(bytes) && rest.isValidUtf8();
    // '\n' is never part of a longer UTF-8 sequence, so each line decodes on
    // its own; the same buffer serves every line.
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString buffer;
    while (!rest.isEmpty()) {
        const qsizetype newline = rest.indexOf('\n');
        const QByteArrayView line = newline < 0 ? rest : rest.first(newline);
        rest = newline < 0 ? QByteArrayView() : rest.sliced(newline + 1);
        buffer.resize(line.size()); // never more than one character per byte
        QChar *const begin = buffer.data();
        const QChar *end = utf8 ? decoder.appendToBuffer(begin, line) : fromWindows1252(line, begin);
        if (!take(QStringView(begin, end)))
            return;
    }
}

} // namespace

namespace RegFileFormat {

std::optional<QString> localMachineDefault(const QByteArray &bytes, const QString &keyPath)
{
    const QStringView wanted = withoutTrailingBackslashes(keyPath);
    bool headerSeen = false;
    bool inWantedKey = false;
    bool continued = false;
    std::optional<QString> value;

    forEachLine(bytes, [&](QStringView rawLine) {
        const QStringView line = rawLine.trimmed();
        if (continued) {
            // Long hex values go on over lines that end in a backslash.
            continued = line.endsWith(u'\\');
            return true;
        }
        if (line.isEmpty())
            return true;
        if (!headerSeen) {
            if (!isHeader(line))
                return false;
            headerSeen = true;
            return true;
        }
        if (line.startsWith(u';'))
            return true;
        if (line.startsWith(u'[')) {
            inWantedKey = false;
            if (!line.endsWith(u']'))
                return true;
            QStringView section = line.sliced(1, line.size() - 2);
            // "[-HKEY_...]" deletes the key with all below it, as an import
            // would; a later section may create it afresh.
            const bool deleting = section.startsWith(u'-');
            if (deleting)
                section = section.sliced(1);
            const std::optional<QStringView> key = localMachinePath(section);
            if (deleting && key && keyOrParent(*key, wanted))
                value.reset();
            inWantedKey = !deleting && key && sameKey(*key, wanted);
            return true;
        }
        continued = line.endsWith(u'\\');
        // As on import, a later setting of the default replaces an earlier one.
        if (inWantedKey && line.startsWith(u'@'))
            value = parseDefault(line.sliced(1));
        return true;
    });
    return value;
}

} // namespace RegFileFormat
