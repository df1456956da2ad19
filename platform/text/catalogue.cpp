#include "platform/text/catalogue.h"

#include <QCoreApplication>
#include <QDir>
#include <QTranslator>

namespace {

const QString Prefix = QStringLiteral("torvexsetup_");
const QString Folder = QStringLiteral(":/i18n");

} // namespace

QStringList catalogueLanguages()
{
    QStringList languages;
    for (const QString &file : QDir(Folder).entryList({Prefix + QStringLiteral("*.qm")}, QDir::Files, QDir::Name))
        languages << file.sliced(Prefix.size()).chopped(3);
    return languages;
}

bool installCatalogue(const QString &language)
{
    auto *translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(Folder + QLatin1Char('/') + Prefix + language + QStringLiteral(".qm"))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}
