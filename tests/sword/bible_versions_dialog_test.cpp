// The Bible Versions dialog: the SWORD Bibles listed when it is first shown,
// an import with its progress window, and a cancelled import.
#include "core/content/bible_store.h"
#include "core/sword/sword_import.h"
#include "test_preferences.h"
#include "ui/bible/bible_page.h"
#include "ui/bible/bible_versions_dialog.h"

#include <QApplication>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTextBrowser>
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
    EXPECT_FALSE(text().contains("For God so loved the world"));
    EXPECT_EQ(page.book(), 43);
    EXPECT_EQ(page.chapter(), 3);
    EXPECT_EQ(page.firstHighlighted(), 16);
    EXPECT_EQ(page.lastHighlighted(), 17);
    ASSERT_TRUE(page.chooseVersion(0));
    EXPECT_TRUE(text().contains("For God so loved the world"));
}

} // namespace
} // namespace kovara::ui
