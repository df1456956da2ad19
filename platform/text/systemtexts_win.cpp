#include "platform/text/systemtexts.h"

#include <qt_windows.h>

namespace {
bool englishTexts = false;

QString formatMessage(int code, WORD language)
{
    wchar_t *text = nullptr;
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM
                                            | FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, DWORD(code), language, reinterpret_cast<wchar_t *>(&text), 0, nullptr);
    QString message = length > 0 ? QString::fromWCharArray(text, int(length)).trimmed() : QString();
    LocalFree(text);
    // A sentence of its own, put into ours.
    if (message.endsWith(QLatin1Char('.')))
        message.chop(1);
    return message;
}
} // namespace

void useEnglishSystemTexts(bool english)
{
    englishTexts = english;
}

QString systemErrorText(int code)
{
    // A system with no English texts installed answers in its own language.
    QString text = englishTexts ? formatMessage(code, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US)) : QString();
    if (text.isEmpty())
        text = formatMessage(code, MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL));
    return text.isEmpty() ? qt_error_string(code) : text;
}
