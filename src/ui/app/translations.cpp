#include "ui/app/translations.h"
#include "ui/base/core_names.h"

#include <QCoreApplication>
#include <QDir>
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

bool installTranslations(const QString& folder, const QLocale& locale)
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!app)
        return false;
    // The English catalogue holds the English forms of the texts about a
    // number of things ("1 day", "2 days"): it goes under any other, so that
    // they read right in English and in a catalogue that lacks one.
    auto* english = new QTranslator(app);
    install(english, english->load(QStringLiteral("kovara_en"), folder));
    auto* own = new QTranslator(app);
    if (!own->load(locale, QStringLiteral("kovara"), QStringLiteral("_"), folder)) {
        delete own;
        return false;
    }
    // Qt's own texts (the standard buttons) only with ours, so that a
    // language Kovara is not translated into shows no mix of the two. Qt's
    // are installed first: the last installed is searched first.
    auto* qt = new QTranslator(app);
    install(qt, qt->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)));
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
