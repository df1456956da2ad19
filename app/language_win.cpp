#include "app/language.h"

#include <QLocale>

QStringList systemLanguages()
{
    return QLocale::system().uiLanguages();
}
