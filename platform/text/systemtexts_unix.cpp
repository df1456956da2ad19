#include "platform/text/systemtexts.h"

#include <clocale>
#include <cstring>

void useEnglishSystemTexts(bool english)
{
    // strerror() and dlerror() translate through the messages category; the C
    // locale's are English, and with it gettext leaves LANGUAGE aside too.
    // Character handling (LC_CTYPE) stays as the user set it.
    std::setlocale(LC_MESSAGES, english ? "C" : "");
}

QString systemErrorText(int code)
{
    // The C library's text for every code, in the locale's language: Qt's
    // own keeps a few in English whatever the language.
    char buffer[256];
    return QString::fromLocal8Bit(::strerror_r(code, buffer, sizeof buffer));
}
