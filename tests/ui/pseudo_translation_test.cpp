// The program shown in the pseudo translation (every text of the sources
// bracketed, accented and about 30 % longer; see translation_test_main.cpp):
// a text without brackets escaped the translation functions, and a longer
// text must still fit where the layout puts it.
#include "fixtures.h"
#include "scripted_dialogs.h"
#include "ui/base/core_names.h"

#include "core/base/datetime.h"
#include "core/base/translation.h"
#include "core/db/sqlite_db.h"
#include "core/plans/catch_up.h"
#include "core/plans/plan_store.h"
#include "core/prayer/prayer_preview.h"
#include "core/prayer/prayer_store.h"
#include "ui/app/about_dialog.h"
#include "ui/app/help_viewer.h"
#include "ui/app/main_window.h"
#include "ui/app/preferences_dialog.h"
#include "ui/app/translations.h"
#include "ui/bible/bible_page.h"
#include "ui/plans/plan_manager_page.h"
#include "ui/prayer/prayer_tracker_page.h"
#include "ui/plans/new_plan_dialog.h"
#include "ui/plans/plan_progress_text.h"
#include "ui/prayer/journal_export.h"
#include "ui/prayer/prayer_editor.h"

#include <QTextDocumentFragment>
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QTranslator>
#include <QListWidget>
#include <QPushButton>
#include <QMenu>
#include <QMenuBar>
#include <QStackedWidget>
#include <QTabBar>
#include <QToolBar>
#include <QTreeWidget>
#include <filesystem>
#include <functional>
#include "plan_manager_controls.h"
#include "prayer_tracker_controls.h"
#include <gtest/gtest.h>

namespace kovara::ui {
namespace {

// Texts that are data, not the program's own: the fixture's book names,
// chapter, plan and prayer titles, the Bible's and the devotional's names.
const QStringList kData = {"Alpha", "Beta", "Alpha 1", "Alpha daily", "Morning prayer", "Faith's Checkbook",
                           "King James Version"};

bool isTranslated(const QString& text)
{
    const QString t = text.trimmed();
    QString shown = t; // a menu entry's "&" marks its letter
    shown.remove(QRegularExpression(QStringLiteral("&(?!&)")));
    if (t.isEmpty() || kData.contains(shown) || !t.contains(QRegularExpression(QStringLiteral("[A-Za-z]"))))
        return true;
    // Rich text is read as it shows; a text put together from several
    // translated pieces (a legend) has every word inside some bracket.
    QString plain = Qt::mightBeRichText(t) ? QTextDocumentFragment::fromHtml(t).toPlainText() : t;
    plain.remove(QRegularExpression(QStringLiteral("\\[[^\\]]*\\]")));
    return !plain.contains(QRegularExpression(QStringLiteral("[A-Za-z]")));
}

QString describe(const QObject* object)
{
    return QString::fromLatin1(object->metaObject()->className()) + "/" + object->objectName();
}

class TextWalk {
public:
    QStringList untranslated;

    void text(const QObject* owner, const char* what, const QString& text)
    {
        if (!isTranslated(text))
            untranslated << describe(owner) + " " + what + ": \"" + text + "\"";
    }

    void action(const QAction* action)
    {
        if (action->isSeparator())
            return;
        text(action, "text", action->text());
        text(action, "tool tip", action->toolTip());
        if (const QMenu* menu = action->menu())
            this->menu(menu);
    }

    void menu(const QMenu* menu)
    {
        text(menu, "title", menu->title());
        for (const QAction* a : menu->actions())
            action(a);
    }

    // Every shown widget under root (root included), its actions and the
    // texts it shows; the contents of text views are the pages' own.
    void widgets(QWidget* root)
    {
        QList<QWidget*> all = root->findChildren<QWidget*>();
        all.prepend(root);
        for (QWidget* w : all) {
            if (w != root && !w->isVisibleTo(root))
                continue;
            if (w->isWindow())
                text(w, "window title", w->windowTitle());
            text(w, "tool tip", w->toolTip());
            text(w, "accessible name", w->accessibleName());
            if (auto* label = qobject_cast<QLabel*>(w); label && !label->text().startsWith(QLatin1String("<a ")))
                text(w, "text", label->text());
            if (auto* button = qobject_cast<QAbstractButton*>(w))
                text(w, "text", button->text());
            if (auto* edit = qobject_cast<QLineEdit*>(w))
                text(w, "placeholder", edit->placeholderText());
            if (auto* group = qobject_cast<QGroupBox*>(w))
                text(w, "title", group->title());
            if (auto* combo = qobject_cast<QComboBox*>(w); combo && !qobject_cast<QFontComboBox*>(w))
                for (int i = 0; i < combo->count(); ++i)
                    text(w, "entry", combo->itemText(i));
            if (auto* tabs = qobject_cast<QTabBar*>(w))
                for (int i = 0; i < tabs->count(); ++i)
                    text(w, "tab", tabs->tabText(i));
            if (auto* tree = qobject_cast<QTreeWidget*>(w))
                for (int i = 0; i < tree->columnCount(); ++i)
                    text(w, "column", tree->headerItem()->text(i));
            for (const QAction* a : w->actions())
                action(a);
        }
    }
};

// The shown labels and buttons under root whose text needs more room than
// the layout gave them, tool bar buttons moved into the tool bar's overflow
// menu, and the widgets of one layout that overlap. Buttons
// of the side bar cut long captions short with "…" on purpose.
QStringList cutOrOverlapping(QWidget* root)
{
    QStringList wrong;
    const QWidget* sideBar = root->findChild<QWidget*>(QStringLiteral("sideBar"));
    for (QWidget* w : root->findChildren<QWidget*>()) {
        if (!w->isVisible() || (sideBar && sideBar->isAncestorOf(w) && qobject_cast<QAbstractButton*>(w)))
            continue;
        if (auto* label = qobject_cast<QLabel*>(w); label && !label->text().isEmpty()) {
            const QRect room = label->contentsRect();
            const int flags = label->wordWrap() ? Qt::TextWordWrap : 0;
            QString shown = label->text();
            shown.remove(QRegularExpression(QStringLiteral("<[^>]*>")));
            const QRect needed = label->fontMetrics().boundingRect(QRect(0, 0, room.width(), 100000),
                                                                   flags | Qt::TextShowMnemonic, shown);
            if (needed.width() > room.width() + 1 || needed.height() > room.height() + 1)
                wrong << describe(w) + " \"" + label->text() + "\" needs " + QString::number(needed.width()) + "x" +
                             QString::number(needed.height()) + ", has " + QString::number(room.width()) + "x" +
                             QString::number(room.height());
        }
        if (auto* button = qobject_cast<QAbstractButton*>(w); button && !button->text().isEmpty()) {
            const QSize hint = button->sizeHint();
            if (hint.width() > button->width() || hint.height() > button->height())
                wrong << describe(w) + " \"" + button->text() + "\" needs " + QString::number(hint.width()) + "x" +
                             QString::number(hint.height()) + ", has " + QString::number(button->width()) + "x" +
                             QString::number(button->height());
        }
        if (auto* bar = qobject_cast<QToolBar*>(w))
            for (QAction* action : bar->actions())
                if (action->isVisible() && !action->isSeparator() && bar->widgetForAction(action) &&
                    !bar->widgetForAction(action)->isVisible())
                    wrong << describe(bar) + " has no room for " + action->objectName();
        if (QLayout* layout = w->layout()) {
            QList<QWidget*> items;
            std::function<void(QLayout*)> collect = [&](QLayout* l) {
                for (int i = 0; i < l->count(); ++i) {
                    QLayoutItem* item = l->itemAt(i);
                    if (item->widget() && item->widget()->isVisible())
                        items << item->widget();
                    else if (item->layout())
                        collect(item->layout());
                }
            };
            collect(layout);
            for (int i = 0; i < items.size(); ++i)
                for (int j = i + 1; j < items.size(); ++j)
                    if (items[i]->geometry().intersects(items[j]->geometry()))
                        wrong << describe(items[i]) + " overlaps " + describe(items[j]);
        }
    }
    return wrong;
}

std::string joined(const QStringList& list)
{
    return list.join(QStringLiteral("\n")).toStdString();
}

// Saves a picture of widget to $KOVARA_SCREENSHOTS/<name>.png when that
// variable names a folder, to look at the pseudo translation by eye.
void keepScreenshot(QWidget* widget, const char* name)
{
    const QString folder = qEnvironmentVariable("KOVARA_SCREENSHOTS");
    if (!folder.isEmpty())
        widget->grab().save(QDir(folder).filePath(QString::fromLatin1(name) + ".png"));
}

// Answers every message box and question with No, Cancel or nothing and
// keeps the texts it was shown.
class AnsweringDialogs : public Dialogs {
public:
    QStringList texts;

    void message(const QString& text, Icon) override { texts << text; }
    bool confirm(const QString& text, Answer, Icon) override
    {
        texts << text;
        return false;
    }
    Answer confirmYesNoCancel(const QString& text) override
    {
        texts << text;
        return Answer::Cancel;
    }
    bool promptText(const QString& caption, const QString& label, QString&) override
    {
        texts << caption << label;
        return false;
    }
    QString chooseSaveFile(const QString& title, const QString& filter, const QString&) override
    {
        texts << title << filter;
        return {};
    }
    QString chooseOpenFile(const QString& title, const QString& filter, const QString&) override
    {
        texts << title << filter;
        return {};
    }
    bool print(QPrinter&, int, int, int&, int&) override { return false; }
    bool printerSetup(QPrinter&) override { return false; }
};

// A program folder with a small Bible, a one-entry devotional and the help
// file; a user folder with one plan and one prayer item.
class PseudoTranslationTest : public ::testing::Test {
protected:
    PseudoTranslationTest()
    {
        kovara::test::makeAlphaBetaBible(program.file("bible.kova2"));
        kovara::test::makeDevotional(program.file("devotional.kova2"), {{1, 1, "<p>First of January</p>"}});
        std::filesystem::copy_file(std::filesystem::path(KOVARA_BUILD_DIR) / "KOVA2.hlp", program.file("KOVA2.hlp"));
        const auto user = appData.path() / "Kovara 2";
        std::filesystem::create_directories(user);
        PlanStore plans((user / "userreadplans.kova2").string(), clock);
        plans.addPlan("Alpha daily", {"1-10", "11-20"}, clock.today());
        PrayerStore prayers((user / "prayers.kova2").string());
        const std::int32_t item = prayers.newPrayerItem(clock.now());
        savePrayerContent(prayers, item, "Morning prayer", "", PrayerStatus::Active, "", [] { return std::string(); });
    }

    kovara::test::TempDir program, appData;
    test::ScriptedDialogs dialogs;
    FixedClock clock{makeMoment(2023, 3, 15, 12, 0, 0)};
};

TEST_F(PseudoTranslationTest, EveryPageOfTheMainWindowIsTranslatedAndNothingIsCut)
{
    MainWindow window(program.folder(), appData.path().string(), dialogs, clock);
    window.show(); // at its first-run size
    QApplication::processEvents();
    const MainActions& a = window.mainActions();

    TextWalk menus;
    for (const QAction* top : window.menuBar()->actions())
        menus.action(top);
    EXPECT_EQ(joined(menus.untranslated), "");
    // Every command of the window and its pages, context menus included.
    TextWalk commands;
    for (const QAction* action : window.findChildren<QAction*>())
        commands.action(action);
    EXPECT_EQ(joined(commands.untranslated), "");

    auto* pages = window.findChild<QStackedWidget*>(QStringLiteral("pages"));
    ASSERT_TRUE(pages);
    QAction* planEntry = window.findChild<QAction*>(QStringLiteral("PlanEntry0"));
    ASSERT_TRUE(planEntry);
    const std::pair<QAction*, const char*> visits[] = {
        {a.welcomePageAction, "welcome"},     {a.faithsCheckbookAction, "devotional"},
        {planEntry, "reading"},               {a.planManagerAction, "plan_manager"},
        {a.activePrayersAction, "prayers"},   {a.readBibleAction, "bible"},
    };
    for (const auto& [page, name] : visits) {
        page->trigger();
        QApplication::processEvents();
        TextWalk walk;
        walk.widgets(&window);
        EXPECT_EQ(joined(walk.untranslated), "") << name;
        EXPECT_EQ(joined(cutOrOverlapping(&window)), "") << name;
        keepScreenshot(&window, name);
    }
}

// The questions and messages of the commands, and a reference the Bible
// page cannot open.
TEST_F(PseudoTranslationTest, QuestionsAndMessagesAreTranslated)
{
    AnsweringDialogs answers;
    MainWindow window(program.folder(), appData.path().string(), answers, clock);
    window.show();
    const MainActions& a = window.mainActions();

    a.planManagerAction->trigger();
    auto* manager = window.findChild<PlanManagerPage*>(QStringLiteral("planManagerPage"));
    ASSERT_TRUE(manager);
    test::PlanManagerControls(*manager).deletePlanButton->click();
    test::PlanManagerControls(*manager).renamePlanButton->click();
    a.backupAction->trigger();
    a.restoreAction->trigger();
    a.activePrayersAction->trigger();
    auto* tracker = window.findChild<PrayerTrackerPage*>(QStringLiteral("prayerTrackerPage"));
    ASSERT_TRUE(tracker);
    const QList<QListWidgetItem*> prayer = test::PrayerTrackerControls(*tracker).prayerList->findItems(QStringLiteral("Morning prayer"),
                                                                          Qt::MatchEndsWith);
    ASSERT_EQ(prayer.size(), 1);
    test::PrayerTrackerControls(*tracker).prayerList->setCurrentItem(prayer[0]);
    test::PrayerTrackerControls(*tracker).deletePrayerAction->trigger();
    ASSERT_EQ(answers.texts.size(), 8) << joined(answers.texts);
    QStringList untranslated;
    for (const QString& text : answers.texts)
        if (!isTranslated(text))
            untranslated << text;
    EXPECT_EQ(joined(untranslated), "");
    EXPECT_TRUE(answers.texts.contains(QStringLiteral("[Kóvárá~~ báçkúp~~ fílés~~ (*.kova2bak)]")))
        << "a file pattern is kept as it is";

    a.readBibleAction->trigger();
    auto* bible = window.findChild<BiblePage*>(QStringLiteral("biblePage"));
    ASSERT_TRUE(bible);
    auto* goToEdit = bible->findChild<QLineEdit*>(QStringLiteral("goToEdit"));
    const auto* goToMessage = bible->findChild<QLabel*>(QStringLiteral("goToMessage"));
    ASSERT_TRUE(goToEdit && goToMessage);
    for (const char* typed : {"Gamma 1", "Alpha 9", "Alpha 1:99", "Alpha 2-1", "?"}) {
        goToEdit->setText(QString::fromLatin1(typed));
        emit goToEdit->returnPressed();
        EXPECT_FALSE(goToMessage->text().isEmpty()) << typed;
        EXPECT_TRUE(isTranslated(goToMessage->text())) << goToMessage->text().toStdString();
        // Whole at the first-run size, clear of the field and the lists.
        QApplication::processEvents();
        EXPECT_EQ(joined(cutOrOverlapping(bible)), "") << typed;
    }
}

TEST_F(PseudoTranslationTest, DialogsAreTranslatedAndNothingIsCut)
{
    PreferencesDialog prefs;
    NewPlanDialog newPlan(dialogs, clock);
    PrayerEditor editor(dialogs);
    AboutDialog about;
    HelpViewer help;
    help.setHelpFile(QString::fromStdString(program.file("KOVA2.hlp")));
    help.showContents();
    const std::pair<QWidget*, const char*> windows[] = {
        {&prefs, "preferences"}, {&newPlan, "new_plan"}, {&editor, "prayer_editor"},
        {&about, "about"},       {&help, "help"},
    };
    for (const auto& [w, name] : windows) {
        w->show();
        QApplication::processEvents();
        TextWalk walk;
        walk.widgets(w);
        EXPECT_EQ(joined(walk.untranslated), "") << name;
        EXPECT_EQ(joined(cutOrOverlapping(w)), "") << name;
        keepScreenshot(w, name);
        w->hide();
    }
}

// Texts made outside any window, in each plural form: a count's forms are
// found in the catalogue from the UI and from the core, and the journal
// export's cover line is looked up under the context it is catalogued in.
TEST(PseudoTextsTest, CountsTheJournalCoverAndCatchUpRefusalsAreTranslated)
{
    for (const int n : {1, 2}) {
        PlanProgress progress;
        progress.dayCount = 10;
        progress.dueDay = 5;
        progress.daysBehind = n;
        const QString texts[] = {
            progressStandingText(progress),
            JournalExport::coverLine(PrayerSelection{}, n),
            QString::fromStdString(translatedCount("kovara::core::NewPlan", "%n verses", nullptr, n)),
        };
        for (const QString& text : texts)
            EXPECT_TRUE(isTranslated(text)) << text.toStdString();
    }
    // The catch-up refusals, as raised.
    PlanDays days;
    days.startDate = startOf(makeDate(2024, 1, 1));
    days.done = {true, false};
    days.readDates.resize(2);
    const QString refusals[] = {
        QString::fromStdString(kovara::test::messageOf([&] { keepFinishDate(days, {"1-1", "2-2"}, makeDate(2024, 2, 1)); })),
        QString::fromStdString(kovara::test::messageOf([&] {
            days.done = {true, true};
            restartStartDate(days, makeDate(2024, 2, 1));
        })),
    };
    for (const QString& text : refusals)
        EXPECT_TRUE(isTranslated(text)) << text.toStdString();
}

// The program looks for kovara_<language>.qm in the translations folder of
// its content; once one is installed the core's texts go through it too.
TEST(TranslationLoadingTest, TheCatalogueOfTheUsersLanguageIsFoundInTheContentFolder)
{
    kovara::test::TempDir content;
    const QString folder = translationsFolderIn(QString::fromStdString(content.folder()));
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_TRUE(QFile::copy(QStringLiteral(KOVARA_BUILD_DIR "/translations/kovara_pseudo.qm"),
                            QDir(folder).filePath(QStringLiteral("kovara_de.qm"))));
    EXPECT_TRUE(installTranslations(folder, QLocale(QLocale::German, QLocale::Switzerland)));
    EXPECT_FALSE(installTranslations(folder, QLocale(QLocale::French)));
    EXPECT_FALSE(installTranslationFile(QDir(folder).filePath(QStringLiteral("kovara_fr.qm"))));

    setTextTranslator(nullptr);
    EXPECT_EQ(translatedText("kovara::core::TodaysReading", "This plan has been completed."),
              "This plan has been completed.");
    EXPECT_TRUE(installTranslations(folder, QLocale(QLocale::German)));
    EXPECT_EQ(translatedText("kovara::core::TodaysReading", "This plan has been completed."),
              "[Thís~~ pláñ~~ hás~ bééñ~~ çómplétéd~~~.]");
    QLocale::setDefault(QLocale::system());
}

// The reader's languages in order and the catalogues shipped: the texts take
// the first language that has one, and the dates that same language, in the
// reader's country where the locale data knows the pair.
TEST(TranslationLoadingTest, DatesFollowTheLanguageOfTheChosenCatalogue)
{
    struct Case {
        QStringList shipped;
        QStringList uiLanguages;
        QLocale system;
        QString catalogue; // file name, empty for none
        QString language;
        QString localeName;
        QString date; // 10 Dec 2026 in the locale's short format
    };
    const QLocale germany(QLocale::German, QLocale::Germany);
    const Case cases[] = {
        // LANGUAGE=de:en with only the English catalogue: English throughout.
        {{"en"}, {"de", "de-DE", "en", "en-US"}, germany, "kovara_en.qm", "en", "en_DE", "10/12/2026"},
        // LANG=de_DE.UTF-8 alone: no German catalogue, so no German dates.
        {{"en"}, {"de-DE", "de"}, germany, "", "en", "en_DE", "10/12/2026"},
        {{"en", "de"}, {"de-CH", "de"}, QLocale(QLocale::German, QLocale::Switzerland), "kovara_de.qm", "de",
         "de_CH", "10.12.26"},
        // German in France is not in the locale data: German's own country.
        {{"en", "de"}, {"fr-FR", "fr", "de"}, QLocale(QLocale::French, QLocale::France), "kovara_de.qm", "de",
         "de_DE", "10.12.26"},
        {{"en"}, {"en-GB", "en"}, QLocale(QLocale::English, QLocale::UnitedKingdom), "kovara_en.qm", "en", "en_GB",
         "10/12/2026"},
        // A pair the locale data lacks: the language's own country.
        {{"en"}, {"ru-RU", "ru"}, QLocale(QLocale::Russian, QLocale::Russia), "", "en", "en_US", "12/10/26"},
    };
    for (const Case& c : cases) {
        kovara::test::TempDir content;
        const QString folder = QString::fromStdString(content.folder());
        for (const QString& language : c.shipped)
            QFile(QDir(folder).filePath(QStringLiteral("kovara_%1.qm").arg(language))).open(QIODevice::WriteOnly);
        const LanguageChoice choice = chooseLanguage(folder, c.uiLanguages, c.system);
        const QString where = c.uiLanguages.join(u',');
        EXPECT_EQ(QFileInfo(choice.catalogue).fileName(), c.catalogue) << where.toStdString();
        EXPECT_EQ(choice.language, c.language) << where.toStdString();
        EXPECT_EQ(choice.locale.name().toStdString(), c.localeName.toStdString()) << where.toStdString();
        EXPECT_EQ(choice.locale.toString(QDate(2026, 12, 10), QLocale::ShortFormat).toStdString(), c.date.toStdString())
            << where.toStdString();
    }
}

// Qt's catalogue (the standard buttons, the search field's "Search in")
// comes in the language of the program's catalogue or not at all.
TEST(TranslationLoadingTest, QtsCatalogueIsOnlyInstalledInTheLanguageOfTheProgramsOwn)
{
    kovara::test::TempDir content;
    const QString folder = QString::fromStdString(content.folder());
    const QString qtFolder = QDir(folder).filePath(QStringLiteral("qt"));
    ASSERT_TRUE(QDir().mkpath(qtFolder));
    const QString anyCatalogue = QStringLiteral(KOVARA_BUILD_DIR "/translations/kovara_en.qm");
    ASSERT_TRUE(QFile::copy(anyCatalogue, QDir(folder).filePath(QStringLiteral("kovara_en.qm"))));
    for (const char* name : {"qtbase_de.qm", "qtbase_en.qm"})
        ASSERT_TRUE(QFile::copy(anyCatalogue, QDir(qtFolder).filePath(QString::fromLatin1(name))));

    const QLocale before;
    const QLocale germany(QLocale::German, QLocale::Germany);
    const QStringList english = {QStringLiteral("kovara_en.qm"), QStringLiteral("kovara_en.qm"),
                                 QStringLiteral("qtbase_en.qm")};
    const struct {
        QStringList uiLanguages;
        bool found;
        QStringList installed; // in the order installed
    } cases[] = {
        {{"de", "en"}, true, english},
        {{"de-DE", "de"}, false, {QStringLiteral("kovara_en.qm")}},
    };
    for (const auto& c : cases) {
        const QList<QTranslator*> earlier = qApp->findChildren<QTranslator*>();
        EXPECT_EQ(installLanguage(folder, chooseLanguage(folder, c.uiLanguages, germany), qtFolder), c.found);
        QStringList installed;
        for (QTranslator* translator : qApp->findChildren<QTranslator*>()) {
            if (earlier.contains(translator))
                continue;
            installed << QFileInfo(translator->filePath()).fileName();
            QCoreApplication::removeTranslator(translator);
            delete translator;
        }
        installed.sort();
        QStringList expected = c.installed;
        expected.sort();
        EXPECT_EQ(installed, expected) << c.uiLanguages.join(u',').toStdString();
        EXPECT_EQ(QLocale().name(), QStringLiteral("en_DE"));
    }
    QLocale::setDefault(before);
}

// The English catalogue goes under any other, so that a language without a
// catalogue of its own still reads the English plural forms, in the UI's
// texts and in the core's.
TEST(TranslationLoadingTest, TheEnglishPluralFormsAreInstalledForEveryLanguage)
{
    kovara::test::TempDir content;
    const QString folder = translationsFolderIn(QString::fromStdString(content.folder()));
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_TRUE(QFile::copy(QStringLiteral(KOVARA_BUILD_DIR "/translations/kovara_en.qm"),
                            QDir(folder).filePath(QStringLiteral("kovara_en.qm"))));
    EXPECT_FALSE(installTranslations(folder, QLocale(QLocale::French)));
    EXPECT_EQ(QCoreApplication::translate("kovara::ui::PlanProgressText", "%n days behind", nullptr, 1).toStdString(),
              "1 day behind");
    EXPECT_EQ(QCoreApplication::translate("kovara::ui::PlanProgressText", "%n days behind", nullptr, 2).toStdString(),
              "2 days behind");
    EXPECT_EQ(translatedCount("kovara::core::NewPlan", "%n verses", nullptr, 1), "One verse");
    EXPECT_EQ(translatedCount("kovara::core::NewPlan", "%n verses", nullptr, 2), "2 verses");
    QLocale::setDefault(QLocale::system());
}

} // namespace
} // namespace kovara::ui
