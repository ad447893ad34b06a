// How the Bible page looks and keeps its looks: the chapter list's room, where
// a verse's highlight starts and ends, the chapter named once, the share of
// the height kept, the chapter's name on every printed page, and the
// reference a copy carries.
#include "ui/bible/bible_page.h"

#include "core/content/bible_store.h"
#include "core/settings/ini_file.h"
#include "bible_page_fixture.h"
#include "fixtures.h"
#include "passage_view_controls.h"
#include "test_preferences.h"
#include "ui/base/html_viewer.h"
#include "ui/base/passage_view.h"
#include "ui/bible/search_panel.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QMimeData>
#include <QPrinter>
#include <QProcess>
#include <QSignalSpy>
#include <QSplitter>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTextCursor>
#include <gtest/gtest.h>

namespace kovara::ui {
namespace {

using BibleLooksTest = test::BiblePageFixture;

TEST_F(BibleLooksTest, ChapterListShowsThreeDigitsHoweverNarrowThePage)
{
    // Shown first on a book of one chapter, as the window opens on the last
    // chapter read, and narrower than the bar asks, so that every part of the
    // bar is at its least.
    ASSERT_TRUE(page.goTo(QStringLiteral("Jude 1")));
    page.resize(300, 540);
    page.show();
    ASSERT_TRUE(page.goTo(QStringLiteral("Psalm 119")));
    QApplication::processEvents();
    auto* list = page.findChild<QComboBox*>("chapterList");
    ASSERT_EQ(list->currentText(), QStringLiteral("119"));
    QStyleOptionComboBox option;
    option.initFrom(list);
    option.currentText = list->currentText();
    const QRect field = list->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, list);
    EXPECT_GE(field.width(), list->fontMetrics().horizontalAdvance(QStringLiteral("119")));
}

TEST_F(BibleLooksTest, HighlightRunsFromTheVerseNumberToTheEndOfItsText)
{
    // Gen 1:5 ends a paragraph; 1:3-4 runs on in one; 1:31 ends the chapter.
    const std::pair<const char*, const char*> cases[] = {
        {"Gen 1:5", "5"}, {"Gen 1:3-4", "3"}, {"Gen 1:31", "31"}, {"Gen 1:6", "6"}};
    for (const bool paragraphs : {true, false}) {
        prefs->paragraphMode = paragraphs;
        page.assignPreferences(*prefs);
        for (const auto& [reference, number] : cases) {
            ASSERT_TRUE(page.goTo(QString::fromUtf8(reference)));
            const QString shown = highlighted();
            const std::string label = std::string(reference) + (paragraphs ? ", paragraphs" : ", lines");
            EXPECT_TRUE(shown.startsWith(QString::fromUtf8(number))) << label << ": " << shown.toStdString();
            EXPECT_EQ(shown, shown.trimmed()) << label << ": no blank, break or indent at either end";
        }
    }
}

TEST_F(BibleLooksTest, ChapterIsNamedOnceAboveItsText)
{
    ASSERT_TRUE(page.goTo(QStringLiteral("Genesis 1")));
    EXPECT_EQ(test::PassageControls(*page.findChild<PassageView*>("biblePassageView")).titleLabel->text(),
              QStringLiteral("Genesis 1"));
    const QString text = chapterViewer()->toPlainText();
    EXPECT_FALSE(text.contains(QStringLiteral("Genesis"))) << text.left(200).toStdString();
    EXPECT_TRUE(text.trimmed().startsWith(QStringLiteral("1"))) << "the text opens with its first verse";
    EXPECT_TRUE(text.contains(QStringLiteral("In the beginning God created")));
}

TEST_F(BibleLooksTest, EveryPrintedPageNamesTheChapter)
{
    ASSERT_TRUE(page.goTo(QStringLiteral("Psalm 119")));
    HtmlViewer* printout = page.pagedPrintout();
    kovara::test::TempDir dir;
    const QString file = QString::fromStdString(dir.file("psalm.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    const int pages = printout->pageCount(printer);
    ASSERT_GE(pages, 3);
    printout->printPages(printer);

    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), file, QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished(20000));
    const QStringList printed = QString::fromUtf8(text.readAllStandardOutput()).split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    ASSERT_EQ(printed.size(), pages);
    for (int i = 0; i < pages; ++i) {
        const QString onPage = printed[i].trimmed();
        EXPECT_TRUE(onPage.startsWith(QStringLiteral("Psalms 119"))) << "page " << i + 1 << ": "
                                                                     << onPage.left(80).toStdString();
        EXPECT_EQ(onPage.count(QStringLiteral("Psalms 119")), 1) << "page " << i + 1;
        EXPECT_TRUE(onPage.endsWith(QString::number(i + 1))) << "page " << i + 1 << " is numbered";
    }
    EXPECT_TRUE(printed.back().contains(QStringLiteral("KJV")));
}

TEST_F(BibleLooksTest, ACopyFromOnePsalmCitesItInItsFragment)
{
    ASSERT_TRUE(page.goTo(QStringLiteral("Psalm 23")));
    HtmlViewer* viewer = chapterViewer();
    const QString text = viewer->toPlainText();
    const QString words = QStringLiteral("thou art with me");
    QTextCursor cursor(viewer->document());
    cursor.setPosition(static_cast<int>(text.indexOf(words)));
    cursor.setPosition(static_cast<int>(text.indexOf(words) + words.size()), QTextCursor::KeepAnchor);
    viewer->setTextCursor(cursor);
    viewer->copySelection();
    const QMimeData* copied = QGuiApplication::clipboard()->mimeData();
    EXPECT_EQ(copied->text(), words + QStringLiteral("\nPsalm 23:4 (KJV)"));
    const QString html = copied->html();
    const qsizetype start = html.indexOf(QStringLiteral("<!--StartFragment-->"));
    const qsizetype end = html.indexOf(QStringLiteral("<!--EndFragment-->"));
    ASSERT_GE(start, 0);
    ASSERT_GT(end, start);
    EXPECT_TRUE(html.mid(start, end - start).contains(QStringLiteral("Psalm 23:4 (KJV)"))) << html.toStdString();

    // A search result of a psalm goes by the same name.
    page.setSearchFile(kovara::test::builtFile("bible.kova2"));
    auto* panel = page.findChild<SearchPanel*>("searchPanel");
    QSignalSpy shown(panel, &SearchPanel::resultsShown);
    panel->setSearchText(QStringLiteral("\"the LORD is my shepherd\""));
    panel->searchNow();
    ASSERT_TRUE(shown.wait(5000));
    EXPECT_TRUE(panel->findChild<HtmlViewer*>("resultsViewer")->toPlainText().startsWith(QStringLiteral("Psalm 23:1 ")));
}

TEST_F(BibleLooksTest, KeepsTheShareOfTheHeightTheChapterTakes)
{
    kovara::test::TempDir dir;
    IniFile settings(dir.file("settings.ini"));
    const auto chapterShare = [](const BiblePage& shown) {
        const QList<int> sizes = shown.findChild<QSplitter*>("bibleSplitter")->sizes();
        return sizes.value(0) * 100.0 / (sizes.value(0) + sizes.value(1));
    };
    page.resize(900, 700);
    page.show();
    page.restoreLastChapter(settings);
    auto* splitter = page.findChild<QSplitter*>("bibleSplitter");
    const int total = splitter->sizes().value(0) + splitter->sizes().value(1);
    splitter->setSizes({total * 3 / 10, total - total * 3 / 10});
    page.saveLastChapter(settings);
    EXPECT_EQ(settings.readInteger("Bible Page", "SplitPercent", 0), 30);

    BiblePage other;
    other.setBible(*bible);
    other.assignPreferences(*prefs);
    other.restoreLastChapter(settings); // before it is shown, as the window does
    other.resize(900, 700);
    other.show();
    QApplication::processEvents();
    EXPECT_NEAR(chapterShare(other), 30.0, 2.0);
}

} // namespace
} // namespace kovara::ui
