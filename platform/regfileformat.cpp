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

// Whether a section name ("HKEY_LOCAL_MACHINE\SOFTWARE\...") names the key;
// key names compare without regard to case, as in the registry.
bool namesLocalMachineKey(QStringView section, QStringView keyPath)
{
    section = withoutTrailingBackslashes(section.trimmed());
    for (const QLatin1StringView root : LocalMachineRoots) {
        if (section.size() > root.size() && section.startsWith(root, Qt::CaseInsensitive)
            && section.at(root.size()) == u'\\') {
            return section.sliced(root.size() + 1).compare(keyPath, Qt::CaseInsensitive) == 0;
        }
    }
    return false;
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
    return unquote(rest);
}

} // namespace

namespace RegFileFormat {

QString decode(const QByteArray &bytes)
{
    // regedit 5 writes UTF-16LE with a byte-order mark, REGEDIT4 files are ANSI.
    if (const auto encoding = QStringConverter::encodingForData(bytes)) {
        QStringDecoder decoder(*encoding);
        return decoder.decode(bytes);
    }
    QStringDecoder utf8(QStringConverter::Utf8);
    const QString text = utf8.decode(bytes);
    return utf8.hasError() ? QString::fromLatin1(bytes) : text;
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
            // A deleted key, "[-HKEY_...]", never names the wanted one.
            inWantedKey = line.endsWith(u']')
                && namesLocalMachineKey(line.sliced(1, line.size() - 2), wanted);
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
