#include "platform/regfileformat.h"

#include <QList>
#include <QStringConverter>
#include <QStringDecoder>
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

QString fromWindows1252(const QByteArray &bytes)
{
    QString text = QString::fromLatin1(bytes);
    for (QChar &c : text) {
        if (c.unicode() >= 0x80 && c.unicode() <= 0x9F)
            c = QChar(Cp1252High[c.unicode() - 0x80]);
    }
    return text;
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

} // namespace

namespace RegFileFormat {

QString decode(const QByteArray &bytes)
{
    // regedit 5 writes UTF-16LE with a byte-order mark, REGEDIT4 files are
    // ANSI, that is Windows-1252 on the systems they come from.
    if (const auto encoding = QStringConverter::encodingForData(bytes)) {
        QStringDecoder decoder(*encoding);
        return decoder.decode(bytes);
    }
    if (startsWithRegedit4Header(bytes))
        return fromWindows1252(bytes);
    QStringDecoder utf8(QStringConverter::Utf8);
    const QString text = utf8.decode(bytes);
    return utf8.hasError() ? fromWindows1252(bytes) : text;
}

std::optional<QString> localMachineDefault(const QString &text, const QString &keyPath)
{
    const QStringView wanted = withoutTrailingBackslashes(keyPath);
    bool headerSeen = false;
    bool inWantedKey = false;
    bool continued = false;
    std::optional<QString> value;

    for (const QStringView rawLine : QStringView(text).split(u'\n')) {
        const QStringView line = rawLine.trimmed();
        if (continued) {
            // Long hex values go on over lines that end in a backslash.
            continued = line.endsWith(u'\\');
            continue;
        }
        if (line.isEmpty())
            continue;
        if (!headerSeen) {
            if (!isHeader(line))
                return std::nullopt;
            headerSeen = true;
            continue;
        }
        if (line.startsWith(u';'))
            continue;
        if (line.startsWith(u'[')) {
            inWantedKey = false;
            if (!line.endsWith(u']'))
                continue;
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
            continue;
        }
        continued = line.endsWith(u'\\');
        // As on import, a later setting of the default replaces an earlier one.
        if (inWantedKey && line.startsWith(u'@'))
            value = parseDefault(line.sliced(1));
    }
    return value;
}

} // namespace RegFileFormat
