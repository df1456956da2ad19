#include "app/language.h"

#include "platform/text/catalogue.h"

#include <QLocale>

namespace {

const QString English = QStringLiteral("en");

} // namespace

QStringList windowLanguages()
{
    QStringList languages{English};
    // A catalogue added to the build is a language the window speaks.
    languages += catalogueLanguages();
    languages.removeDuplicates();
    return languages;
}

QString spokenLanguage(const QString &name)
{
    // "de", "DE", "de-AT", "de_AT" and "de_AT.UTF-8" alike; "C", "POSIX" and
    // unknown names give "C".
    const QString language = QLocale(name).name().section(QLatin1Char('_'), 0, 0);
    return windowLanguages().contains(language) ? language : QString();
}

QString chooseWindowLanguage(const QStringList &preferred)
{
    for (const QString &name : preferred) {
        if (const QString language = spokenLanguage(name); !language.isEmpty())
            return language;
    }
    return English;
}

bool installWindowLanguage(const QString &language)
{
    // English without its catalogue still shows every text, one file
    // merely reads as several.
    return installCatalogue(language) || language == English;
}
