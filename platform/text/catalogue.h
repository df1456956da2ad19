#pragma once

#include <QString>
#include <QStringList>

// The catalogues built into the program, ":/i18n/torvexsetup_<language>.qm".
// English has one too, for its plural forms only: its other texts are the
// sources themselves.

// The languages with a catalogue, by name.
QStringList catalogueLanguages();

// Adds the catalogue of `language` to the running application's; false
// when it has none or it cannot be loaded.
bool installCatalogue(const QString &language);
