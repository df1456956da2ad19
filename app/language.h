#pragma once

#include <QString>
#include <QStringList>

// The window's language. English is the language the texts are written in;
// every other one comes from a catalogue built into the program.

// The languages the window speaks, English first: "en", "de", "fr".
QStringList windowLanguages();

// The first of `preferred` (locale names as QLocale::uiLanguages() gives
// them, "de-AT" or "fr_CA") that the window speaks, else English.
QString chooseWindowLanguage(const QStringList &preferred);

// Makes the running application speak `language` (one of
// windowLanguages()); English needs nothing. False when its catalogue
// cannot be loaded, and the window then stays English.
bool installWindowLanguage(const QString &language);
