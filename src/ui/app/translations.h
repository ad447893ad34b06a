#pragma once
// The program's texts in the user's language. The English texts are in the
// code; a translation is a Qt catalogue kovara_<language>.qm in the
// translations folder of the shipped content (share/kovara/translations once
// installed, build/translations in a build folder).
#include "ui/base/core_names.h"
#include <QLocale>
#include <QString>

namespace kovara::ui {

// The translations folder inside contentFolder (with or without a trailing
// separator).
QString translationsFolderIn(const QString& contentFolder);

// Installs on the running application the English catalogue of folder (the
// English plural forms) and over it the catalogue for locale's languages
// from folder, if there is one, and with it Qt's own (the standard buttons
// and dialogs) from Qt's translations. Returns whether the program's own for
// locale was found; without it every text stays in English, Qt's too. Call
// before any window is made.
bool installTranslations(const QString& folder, const QLocale& locale = QLocale::system());

// Installs one catalogue file on the running application. Returns false when
// it cannot be read. Later installs take precedence over earlier ones.
bool installTranslationFile(const QString& fileName);

} // namespace kovara::ui
