#include "platform/systemtexts.h"

#include <clocale>

void useEnglishSystemTexts(bool english)
{
    // strerror() and dlerror() translate through the messages category; the C
    // locale's are English, and with it gettext leaves LANGUAGE aside too.
    // Character handling (LC_CTYPE) stays as the user set it.
    std::setlocale(LC_MESSAGES, english ? "C" : "");
}

QString systemErrorText(int code)
{
    return qt_error_string(code);
}
