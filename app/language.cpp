#include "app/language.h"

#include <QCoreApplication>
#include <QDir>
#include <QLocale>
#include <QTranslator>

namespace {

const QString English = QStringLiteral("en");
const QString CataloguePrefix = QStringLiteral("torvexsetup_");
const QString CatalogueFolder = QStringLiteral(":/i18n");

QString cataloguePath(const QString &language)
{
    return CatalogueFolder + QLatin1Char('/') + CataloguePrefix + language + QStringLiteral(".qm");
}

} // namespace

QStringList windowLanguages()
{
    QStringList languages{English};
    // A catalogue added to the build is a language the window speaks.
    const QStringList catalogues = QDir(CatalogueFolder).entryList({CataloguePrefix + QStringLiteral("*.qm")},
                                                                   QDir::Files, QDir::Name);
    for (const QString &file : catalogues)
        languages << file.sliced(CataloguePrefix.size()).chopped(3);
    return languages;
}

QString chooseWindowLanguage(const QStringList &preferred)
{
    const QStringList spoken = windowLanguages();
    for (const QString &name : preferred) {
        // "de-AT" and "de_AT" alike; "C", "POSIX" and unknown names give "C".
        const QString language = QLocale(name).name().section(QLatin1Char('_'), 0, 0);
        if (spoken.contains(language))
            return language;
    }
    return English;
}

bool installWindowLanguage(const QString &language)
{
    if (language == English)
        return true;
    auto *translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(cataloguePath(language))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}
