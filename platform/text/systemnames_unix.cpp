#include "platform/text/systemnames.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr char32_t ByteBase = 0xDC00;

// The length of the valid UTF-8 sequence at `at`, or 0 when the byte there
// starts none (overlong forms, surrogates and values past U+10FFFF included).
int validSequence(const QByteArray &bytes, qsizetype at)
{
    const auto byte = [&](qsizetype i) { return i < bytes.size() ? uchar(bytes.at(i)) : 0; };
    const uchar lead = byte(at);
    const int length = lead < 0x80 ? 1 : lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3
        : lead >= 0xF0 && lead <= 0xF4 ? 4 : 0;
    for (int i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80)
            return 0;
    }
    const uchar second = byte(at + 1);
    if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second > 0x9F) || (lead == 0xF0 && second < 0x90)
        || (lead == 0xF4 && second > 0x8F))
        return 0;
    return length;
}

QString decode(const QByteArray &bytes)
{
    QString text;
    for (qsizetype at = 0; at < bytes.size();) {
        if (const int length = validSequence(bytes, at)) {
            // U+FEFF by hand: the UTF-8 decoder drops it as a byte order
            // mark, and a name must keep every character it has.
            if (length == 3 && bytes.sliced(at, 3) == "\xEF\xBB\xBF")
                text += QChar(0xFEFF);
            else
                text += QString::fromUtf8(bytes.constData() + at, length);
            at += length;
        } else {
            text += QChar(char16_t(ByteBase + uchar(bytes.at(at++))));
        }
    }
    return text;
}

} // namespace

QStringList systemArguments(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << decode(QByteArray(argv[i]));
    return arguments;
}

QString environmentValue(const char *variable)
{
    return decode(qgetenv(variable));
}

std::optional<unsigned char> undecodedByte(char32_t codePoint)
{
    if (codePoint >= ByteBase + 0x80 && codePoint <= ByteBase + 0xFF)
        return static_cast<unsigned char>(codePoint - ByteBase);
    return std::nullopt;
}

QByteArray systemName(const QString &name)
{
    // Text between the undecoded bytes is converted in runs. A surrogate
    // pair is one character, whatever its low half: only a lone U+DC80-DCFF
    // stands for a byte.
    QByteArray bytes;
    qsizetype runStart = 0;
    for (qsizetype i = 0; i <= name.size(); ++i) {
        if (i + 1 < name.size() && name.at(i).isHighSurrogate() && name.at(i + 1).isLowSurrogate()) {
            ++i;
            continue;
        }
        const std::optional<unsigned char> byte = i < name.size() ? undecodedByte(name.at(i).unicode()) : std::nullopt;
        if (i < name.size() && !byte)
            continue;
        bytes += QStringView(name).sliced(runStart, i - runStart).toUtf8();
        if (byte)
            bytes += char(*byte);
        runStart = i + 1;
    }
    return bytes;
}

QString currentFolder()
{
    std::vector<char> buffer(4096);
    while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE)
            return QString();
        buffer.resize(buffer.size() * 2);
    }
    return decode(QByteArray(buffer.data()));
}

bool enterFolder(const QString &folder)
{
    return ::chdir(systemName(folder).constData()) == 0;
}

bool isReadableFileNamed(const QString &path)
{
    const QByteArray name = systemName(path);
    struct stat status;
    return ::stat(name.constData(), &status) == 0 && S_ISREG(status.st_mode) && ::access(name.constData(), R_OK) == 0;
}

std::optional<bool> isRegularFileNamed(const QString &path)
{
    struct stat status;
    if (::stat(systemName(path).constData(), &status) != 0)
        return std::nullopt;
    return S_ISREG(status.st_mode);
}

bool namesCurrentFolder(const QString &folder)
{
    struct stat named;
    struct stat current;
    return ::stat(systemName(folder).constData(), &named) == 0 && ::stat(".", &current) == 0
        && S_ISDIR(named.st_mode) && named.st_dev == current.st_dev && named.st_ino == current.st_ino;
}
