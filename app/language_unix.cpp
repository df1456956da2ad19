#include "app/language.h"

#include <QLocale>

QStringList systemLanguages()
{
    // As gettext does: the C locale, named or by default, speaks English
    // whatever LANGUAGE asks for.
    for (const char *variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QByteArray value = qgetenv(variable);
        if (value.isEmpty())
            continue;
        if (value == "C" || value == "POSIX")
            return {};
        return QLocale::system().uiLanguages();
    }
    return {};
}
