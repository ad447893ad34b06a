#pragma once
// The program's texts in the user's language. The English texts are in the
// code; a translation is a Qt catalogue kovara_<language>.qm in the
// translations folder of the shipped content (share/kovara/translations once
// installed, build/translations in a build folder).
#include "ui/base/core_names.h"
#include <QLocale>
#include <QString>
#include <QStringList>

namespace kovara::ui {

// The translations folder inside contentFolder (with or without a trailing
// separator).
QString translationsFolderIn(const QString& contentFolder);

// The language the program shows itself in, and the locale its dates and
// numbers follow.
struct LanguageChoice {
    // The program's catalogue for the first of the reader's languages that
    // has one (kovara_de.qm), or empty: the texts stay English.
    QString catalogue;
    // The language of the texts: the catalogue's ("de"), or "en".
    QString language;
    // The reader's locale when it is in that language, otherwise that
    // language in the reader's country where the locale data has it
    // (English in Germany: "10 Dec 2026", "10/12/2026", "12.345"), or the
    // language's own: dates never read in another language than the texts.
    QLocale locale;
};

// Picks the catalogue in folder for the reader's languages in order of
// preference (QLocale::uiLanguages(): "de-DE", "de", "en"), each tried as
// it stands and then without its country and script; system gives the
// reader's country and formats.
LanguageChoice chooseLanguage(const QString& folder, const QStringList& uiLanguages, const QLocale& system);

// Installs on the running application the English catalogue of folder (the
// English plural forms) and over it the catalogue chooseLanguage picks for
// locale's languages, if there is one, and with it Qt's own (the standard
// buttons and dialogs) for that same language from Qt's translations, never
// for a language the program's texts are not in. Makes the choice's locale
// the default (QLocale()), which the date fields and the program's dates
// follow. Returns whether the program's own catalogue was found; without it
// every text stays in English, Qt's too. Call before any window is made.
bool installTranslations(const QString& folder, const QLocale& locale = QLocale::system());

// installTranslations for a choice already made, with Qt's catalogues read
// from qtFolder.
bool installLanguage(const QString& folder, const LanguageChoice& choice, const QString& qtFolder);

// Installs one catalogue file on the running application. Returns false when
// it cannot be read. Later installs take precedence over earlier ones.
bool installTranslationFile(const QString& fileName);

} // namespace kovara::ui
