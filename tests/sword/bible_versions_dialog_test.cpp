// The Bible Versions dialog: the SWORD Bibles listed when it is first shown,
// an import with its progress window, and a cancelled import.
#include "core/content/bible_store.h"
#include "core/sword/sword_import.h"
#include "test_bibles.h"
#include "test_preferences.h"
#include "ui/bible/bible_page.h"
#include "ui/bible/bible_versions_dialog.h"
#include "ui/bible/search_panel.h"
#include "ui/base/html_viewer.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QScrollBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QMenu>
#include <QTextBrowser>
#include <QToolButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>

namespace kovara::ui {
namespace {

QStringList column(QTableWidget& table, int column)
{
    QStringList cells;
    for (int row = 0; row < table.rowCount(); ++row)
        cells << table.item(row, column)->text();
    return cells;
}

TEST(BibleVersionsDialogTest, ListsTheBiblesAndImportsOne)
{
    QTemporaryDir data;
    BibleVersionsDialog dialog(data.path().toStdString());
    auto* table = dialog.findChild<QTableWidget*>(QStringLiteral("versionsTable"));
    ASSERT_TRUE(table);
    EXPECT_EQ(table->rowCount(), 0); // nothing read before it shows
    dialog.show();
    EXPECT_EQ(column(*table, 1), (QStringList{"engKJV2006eb", "engWEB2015eb", "spaRV1909eb"}));
    EXPECT_EQ(column(*table, 3), (QStringList{"Not imported", "Not imported", "Not imported"}));

    QSignalSpy finished(&dialog, &BibleVersionsDialog::importFinished);
    table->selectRow(2);
    dialog.findChild<QPushButton*>(QStringLiteral("importButton"))->click();
    EXPECT_TRUE(dialog.findChild<QProgressDialog*>(QStringLiteral("importProgress")));
    ASSERT_TRUE(finished.wait(120000));
    EXPECT_EQ(finished.at(0).at(0).toString(), "spaRV1909eb");
    EXPECT_TRUE(finished.at(0).at(1).toBool());
    EXPECT_EQ(column(*table, 3).at(2), "Imported");
    core::BibleStore spanish(dialog.fileFor("spaRV1909eb"), "Reina Valera 1909", "RV1909");
    EXPECT_NE(spanish.allVerseData(spanish.verseIndex(43, 3, 16)).verseText.find("Porque de tal manera amó Dios al mundo"),
              std::string::npos);
}

// Both ways a reader stops it: the Cancel button and Esc.
TEST(BibleVersionsDialogTest, ACancelledImportChangesNothing)
{
    for (const bool escape : {false, true}) {
        SCOPED_TRACE(escape ? "Esc" : "Cancel");
        QTemporaryDir data;
        BibleVersionsDialog dialog(data.path().toStdString());
        dialog.show();
        QSignalSpy finished(&dialog, &BibleVersionsDialog::importFinished);
        dialog.importModule("engWEB2015eb");
        auto* progress = dialog.findChild<QProgressDialog*>(QStringLiteral("importProgress"));
        ASSERT_TRUE(progress);
        if (escape) {
            QTest::keyClick(progress, Qt::Key_Escape);
        } else {
            QPushButton* cancel = progress->findChild<QPushButton*>();
            ASSERT_TRUE(cancel);
            cancel->click();
        }
        ASSERT_TRUE(finished.wait(120000));
        EXPECT_TRUE(finished.at(0).at(2).toBool()); // cancelled
        EXPECT_FALSE(std::filesystem::exists(dialog.fileFor("engWEB2015eb")));
        EXPECT_TRUE(std::filesystem::is_empty(std::filesystem::path(dialog.fileFor("engWEB2015eb")).parent_path()));
        EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("versionsMessage"))->text(),
                  "The import of engWEB2015eb was cancelled; nothing was changed.");
    }
}

// An imported version read on the Bible page: the same chapter and verses,
// its words, and back to the shipped Bible.
TEST(BibleVersionsDialogTest, TheBiblePageReadsAnImportedVersion)
{
    QTemporaryDir data;
    const std::string folder = bibleVersionsFolder(data.path().toStdString());
    std::filesystem::create_directories(folder);
    const std::unique_ptr<core::SwordBackend> backend = core::loadSwordBackend();
    for (const core::SwordModuleInfo& m : backend->modules())
        if (m.name == "spaRV1909eb")
            core::importSwordBible(*backend, m, folder + "/spaRV1909eb.kova2");
    core::BibleStore kjv(KOVARA_BUILD_DIR "/bible.kova2", "King James Version", "KJV");
    BiblePage page;
    page.setBible(kjv);
    page.setSearchFile(KOVARA_BUILD_DIR "/bible.kova2");
    page.setImportedBibleFolder(folder);
    const std::unique_ptr<core::Preferences> prefs = test::makeTestPreferences();
    page.assignPreferences(*prefs);
    page.resize(800, 600);
    page.show();
    EXPECT_EQ(page.versionNames(), (QStringList{"KJV", "RV1909 - Reina Valera 1909"}));
    page.openChapter(43, 3, 16, 17);
    const auto text = [&page] {
        QString all;
        for (const QTextBrowser* viewer : page.findChildren<QTextBrowser*>())
            all += viewer->toPlainText();
        return all;
    };
    EXPECT_TRUE(text().contains("For God so loved the world"));
    ASSERT_TRUE(page.chooseVersion(1));
    EXPECT_TRUE(text().contains("Porque de tal manera amó Dios al mundo"));
    EXPECT_EQ(page.printTitle(), "John 3 (RV1909)");
    EXPECT_FALSE(text().contains("For God so loved the world"));
    EXPECT_EQ(page.book(), 43);
    EXPECT_EQ(page.chapter(), 3);
    EXPECT_EQ(page.firstHighlighted(), 16);
    EXPECT_EQ(page.lastHighlighted(), 17);

    // The search follows the version: the words searched for are looked up
    // again in the one chosen.
    auto* search = page.findChild<SearchPanel*>("searchPanel");
    auto* count = search->findChild<QLabel*>("countLabel");
    QSignalSpy shown(search, &SearchPanel::resultsShown);
    search->setSearchText("\"amó Dios\"");
    search->searchNow();
    ASSERT_TRUE(shown.wait(10000));
    const QString spanish = count->text();
    EXPECT_TRUE(spanish.endsWith("verses")) << spanish.toStdString();
    ASSERT_TRUE(page.chooseVersion(0));
    EXPECT_TRUE(text().contains("For God so loved the world"));
    ASSERT_TRUE(shown.wait(10000));
    EXPECT_TRUE(count->text().startsWith("No verses found")) << count->text().toStdString();
}

// Three versions side by side: the columns follow the chapter, the version
// chosen is always the first, and a fifth column is refused.
TEST(BibleVersionsDialogTest, TheBiblePageShowsVersionsSideBySide)
{
    QTemporaryDir data;
    const std::string folder = kovara::test::installTestBible(data.path().toStdString(), "engWEB2015eb");
    kovara::test::installTestBible(data.path().toStdString(), "spaRV1909eb");
    kovara::test::installTestBible(data.path().toStdString(), "engKJV2006eb");
    core::BibleStore kjv(KOVARA_BUILD_DIR "/bible.kova2", "King James Version", "KJV");
    BiblePage page;
    page.setBible(kjv);
    page.setImportedBibleFolder(folder);
    const std::unique_ptr<core::Preferences> prefs = test::makeTestPreferences();
    page.assignPreferences(*prefs);
    page.resize(900, 600);
    page.show();
    page.openChapter(64, 1, 14, 14);
    const auto text = [&page] { return page.findChild<QTextBrowser*>("passageViewer")->toPlainText(); };
    EXPECT_EQ(page.versionNames(), (QStringList{"KJV", "KJV - King James Version",
                                                "RV1909 - Reina Valera 1909", "WEB - World English Bible with Deuterocanon"}));

    // The menu offers every version; ticking one adds its column.
    auto* button = page.findChild<QToolButton*>("sideBySideButton");
    ASSERT_TRUE(button && button->isVisibleTo(&page));
    emit button->menu()->aboutToShow();
    ASSERT_EQ(button->menu()->actions().size(), 4);
    EXPECT_FALSE(button->menu()->actions().at(0)->isEnabled()); // the version chosen
    button->menu()->actions().at(3)->setChecked(true);
    EXPECT_EQ(page.columnNames(), (QStringList{"KJV", "WEB"}));
    ASSERT_TRUE(page.setSideBySide({3, 2}));
    EXPECT_EQ(page.columnNames(), (QStringList{"KJV", "WEB", "RV1909"}));
    EXPECT_TRUE(text().contains("But I trust I shall shortly see thee"));
    EXPECT_TRUE(text().contains("Greet the friends by name"));
    EXPECT_TRUE(text().contains("Paz sea contigo"));
    EXPECT_EQ(page.firstHighlighted(), 14);
    EXPECT_EQ(page.printTitle(), "3 John 1 (KJV, WEB, RV1909)");

    page.nextChapter(); // Jude 1
    EXPECT_TRUE(text().contains("Jude, the servant of Jesus Christ"));
    EXPECT_TRUE(text().contains("a servant of Jesus Christ"));

    // Four at most, the chosen one first and not again beside itself.
    EXPECT_TRUE(page.setSideBySide({0, 1, 2, 3}));
    EXPECT_EQ(page.columnNames(), (QStringList{"KJV", "KJV", "RV1909", "WEB"}));
    ASSERT_TRUE(page.chooseVersion(3));
    EXPECT_EQ(page.columnNames(), (QStringList{"WEB", "KJV", "RV1909"}));
    ASSERT_TRUE(page.setSideBySide({}));
    EXPECT_EQ(page.columnNames(), (QStringList{"WEB"}));
    EXPECT_FALSE(text().contains("Jude, the servant of Jesus Christ"));
}

// The commentary pane: the library's commentaries, the entry of the verse in
// view as the reader moves, its references opening on the page, and a
// commentary that cannot be read.
TEST(BibleVersionsDialogTest, TheCommentaryFollowsTheText)
{
    core::BibleStore kjv(KOVARA_BUILD_DIR "/bible.kova2", "King James Version", "KJV");
    BiblePage page;
    page.setBible(kjv);
    const std::unique_ptr<core::Preferences> prefs = test::makeTestPreferences();
    page.assignPreferences(*prefs);
    page.resize(900, 500);
    page.show();
    page.openChapter(19, 23, 1, 1);
    auto* viewer = page.findChild<HtmlViewer*>("commentaryViewer");
    auto* message = page.findChild<QLabel*>("commentaryMessage");
    ASSERT_TRUE(viewer && message);
    EXPECT_FALSE(viewer->isVisibleTo(&page)); // nothing loaded until asked for

    page.setCommentaryShown(true);
    const QStringList names = page.commentaryNames();
    ASSERT_EQ(names, (QStringList{"Matthew Henry's Concise Commentary on the Whole Bible",
                                  "C. H. Spurgeon's Treasury of David"}));
    ASSERT_TRUE(page.chooseCommentary(1));
    EXPECT_TRUE(viewer->toPlainText().contains("We belong to the Lord", Qt::CaseInsensitive))
        << viewer->toPlainText().left(400).toStdString();
    EXPECT_TRUE(viewer->pageText().contains("href=\"bible:43.10.27\"")); // John 10:27

    // A reference opens on the page, and the pane follows to that chapter.
    emit viewer->linkClicked("bible:19.119.105");
    EXPECT_EQ(page.chapter(), 119);
    EXPECT_EQ(page.firstHighlighted(), 105);
    EXPECT_EQ(page.commentaryVerse(), 105);
    EXPECT_TRUE(viewer->toPlainText().contains("THE LONGEST PSALM")); // the whole psalm's entry
    page.openChapter(19, 119);
    EXPECT_EQ(page.commentaryVerse(), 1);
    auto* text = page.findChild<QTextBrowser*>("passageViewer");
    // The end of the chapter (the viewer lays a long page out as it goes).
    for (int i = 0; i < 5; ++i) {
        QTest::qWait(50);
        text->verticalScrollBar()->setValue(text->verticalScrollBar()->maximum());
    }
    QTest::qWait(400);
    EXPECT_GT(page.commentaryVerse(), 150);

    // Outside the psalms this commentary says nothing; another cannot be read.
    page.openChapter(43, 3, 16, 16);
    EXPECT_TRUE(viewer->toPlainText().contains("has nothing on John 3")) << viewer->toPlainText().toStdString();
    EXPECT_FALSE(page.chooseCommentary(0));
    EXPECT_TRUE(message->isVisibleTo(&page));
    EXPECT_TRUE(message->text().startsWith("The commentary Matthew Henry's Concise Commentary on the Whole Bible "
                                           "(MHCC) cannot be read"))
        << message->text().toStdString();
    EXPECT_TRUE(page.chooseCommentary(1));
    EXPECT_FALSE(message->isVisibleTo(&page));
}

// The search in every imported version at once: each result names its
// version, and a copy carries it.
TEST(BibleVersionsDialogTest, TheSearchCoversEveryVersion)
{
    QTemporaryDir data;
    const std::string folder = kovara::test::installTestBible(data.path().toStdString(), "engWEB2015eb");
    kovara::test::installTestBible(data.path().toStdString(), "spaRV1909eb");
    core::BibleStore kjv(KOVARA_BUILD_DIR "/bible.kova2", "King James Version", "KJV");
    BiblePage page;
    page.setBible(kjv);
    page.setSearchFile(KOVARA_BUILD_DIR "/bible.kova2");
    page.setImportedBibleFolder(folder);
    auto* search = page.findChild<SearchPanel*>("searchPanel");
    auto* versions = search->findChild<QComboBox*>("versionScopeList");
    ASSERT_TRUE(versions);
    EXPECT_EQ(versions->count(), 2);
    QSignalSpy shown(search, &SearchPanel::resultsShown);
    search->setAllVersions(true);
    search->setSearchText("\"Jesus wept\" OR \"lloró Jesús\"");
    search->searchNow();
    ASSERT_TRUE(shown.wait(10000));
    EXPECT_EQ(search->findChild<QLabel*>("countLabel")->text(), "3 verses in 3 versions");
    auto* results = search->findChild<HtmlViewer*>("resultsViewer");
    const QString text = results->toPlainText();
    for (const char* found : {"John 11:35 (KJV)", "John 11:35 (WEB)", "John 11:35 (RV1909)"})
        EXPECT_TRUE(text.contains(found)) << found << "\n" << text.toStdString();
    results->selectAll();
    EXPECT_EQ(search->selectionReference(), "John 11:35 (KJV); John 11:35 (RV1909); John 11:35 (WEB)");

    search->setAllVersions(false);
    ASSERT_TRUE(shown.wait(10000));
    EXPECT_EQ(search->findChild<QLabel*>("countLabel")->text(), "1 verse");
}

} // namespace
} // namespace kovara::ui
