#include "ui/app/translations.h"
#include "ui/base/core_names.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QTranslator>

#include "core/base/translation.h"

namespace kovara::ui {

QString translationsFolderIn(const QString& contentFolder)
{
    return QDir(contentFolder).filePath(QStringLiteral("translations"));
}

namespace {

// The core's texts are looked up in the same catalogues.
std::string translateCoreText(const char* context, const char* text, const char* disambiguation, int n)
{
    return QCoreApplication::translate(context, text, disambiguation, n).toStdString();
}

// Loads a catalogue and hands it to the application, which keeps it until
// the program ends.
bool install(QTranslator* translator, bool loaded)
{
    if (!loaded || !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return false;
    }
    setTextTranslator(&translateCoreText);
    return true;
}

} // namespace

LanguageChoice chooseLanguage(const QString& folder, const QStringList& uiLanguages, const QLocale& system)
{
    LanguageChoice choice;
    choice.language = QStringLiteral("en");
    const QDir dir(folder);
    for (const QString& wanted : uiLanguages) {
        // "de-Latn-DE", then "de-Latn", then "de".
        QString name = wanted;
        name.replace(u'-', u'_');
        for (;;) {
            const QString file = dir.filePath(QStringLiteral("kovara_%1.qm").arg(name));
            if (QFileInfo(file).isFile()) {
                choice.catalogue = file;
                choice.language = name;
                break;
            }
            const qsizetype cut = name.lastIndexOf(u'_');
            if (cut <= 0)
                break;
            name.truncate(cut);
        }
        if (!choice.catalogue.isEmpty())
            break;
    }
    const QLocale::Language language = QLocale(choice.language).language();
    if (system.language() == language) {
        choice.locale = system;
    } else {
        // QLocale falls back to the language's own country when the locale
        // data has no such pair.
        choice.locale = QLocale(language, system.territory());
        if (choice.locale.language() != language)
            choice.locale = QLocale(language);
    }
    return choice;
}

bool installTranslations(const QString& folder, const QLocale& locale)
{
    return installLanguage(folder, chooseLanguage(folder, locale.uiLanguages(), locale),
                           QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

bool installLanguage(const QString& folder, const LanguageChoice& choice, const QString& qtFolder)
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!app)
        return false;
    QLocale::setDefault(choice.locale);
    // The English catalogue holds the English forms of the texts about a
    // number of things ("1 day", "2 days"): it goes under any other, so that
    // they read right in English and in a catalogue that lacks one.
    auto* english = new QTranslator(app);
    install(english, english->load(QStringLiteral("kovara_en"), folder));
    if (choice.catalogue.isEmpty())
        return false;
    auto* own = new QTranslator(app);
    if (!own->load(choice.catalogue)) {
        delete own;
        return false;
    }
    // Qt's own texts (the standard buttons) only in the language of ours, so
    // that a reader whose first language Kovara is not translated into sees
    // no mix of the two (LANGUAGE=de:en). Qt's are installed first: the last
    // installed is searched first.
    auto* qt = new QTranslator(app);
    install(qt, qt->load(QStringLiteral("qtbase_%1").arg(choice.language), qtFolder));
    return install(own, true);
}

bool installTranslationFile(const QString& fileName)
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!app)
        return false;
    auto* translator = new QTranslator(app);
    return install(translator, translator->load(fileName));
}

} // namespace kovara::ui
