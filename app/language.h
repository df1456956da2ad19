#pragma once

#include <QString>
#include <QStringList>

// The window's language. English is the language the texts are written in;
// every other one comes from a catalogue built into the program.

// The languages the window speaks, English first: "en", "de", "fr".
QStringList windowLanguages();

// The language of windowLanguages() that a locale name names ("de", "DE",
// "de-AT", "de_AT.UTF-8"), or an empty string.
QString spokenLanguage(const QString &name);

// The system's languages for the window, most wanted first, as locale
// names ("de-AT" or "fr_CA").
QStringList systemLanguages();

// The first of `preferred` that the window speaks, else English.
QString chooseWindowLanguage(const QStringList &preferred);

// Makes the running application speak `language` (one of
// windowLanguages()). False when its catalogue cannot be loaded, and the
// window then stays English.
bool installWindowLanguage(const QString &language);
