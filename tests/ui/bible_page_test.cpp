// The Bible page on the shipped King James text: going to typed references,
// stepping through chapters across book boundaries, the book and chapter
// lists, the highlighted verses and the chapter remembered in settings.ini.
#include "ui/bible/bible_page.h"
#include "ui/base/core_names.h"

#include "core/settings/ini_file.h"
#include "core/content/bible_store.h"
#include "fixtures.h"
#include "passage_view_controls.h"
#include "bible_page_fixture.h"
#include "test_preferences.h"
#include "ui/base/html_viewer.h"
#include "ui/base/passage_view.h"
#include "ui/bible/search_panel.h"
#include "core/content/bible_search.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QTextBlock>
#include <QWheelEvent>
#include <QToolButton>
#include <QTextCursor>
#include <QMimeData>
#include <QGuiApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStringList>
#include <QHBoxLayout>
#include <QImage>
#include <QVBoxLayout>
#include <gtest/gtest.h>
#include <functional>
#include <tuple>

namespace kovara::ui {
namespace {

// The search panel's widgets, found by their object names.
struct SearchControls {
    explicit SearchControls(const SearchPanel& panel)
        : searchEdit(panel.findChild<QLineEdit*>("searchEdit")),
          scopeList(panel.findChild<QComboBox*>("scopeList")),
          countLabel(panel.findChild<QLabel*>("countLabel")),
          resultsViewer(panel.findChild<HtmlViewer*>("resultsViewer"))
    {
    }

    QLineEdit* searchEdit;
    QComboBox* scopeList;
    QLabel* countLabel;
    HtmlViewer* resultsViewer;
};

// The page's widgets, found by their object names.
struct BibleControls {
    explicit BibleControls(const BiblePage& page)
        : passageView(page.findChild<PassageView*>("biblePassageView")),
          searchPanel(page.findChild<SearchPanel*>("searchPanel")),
          goToEdit(page.findChild<QLineEdit*>("goToEdit")),
          goToMessage(page.findChild<QLabel*>("goToMessage")),
          bookList(page.findChild<QComboBox*>("bookList")),
          chapterList(page.findChild<QComboBox*>("chapterList")),
          previousChapterAction(page.findChild<QAction*>("previousChapterAction")),
          nextChapterAction(page.findChild<QAction*>("nextChapterAction"))
    {
    }

    PassageView* passageView;
    SearchPanel* searchPanel;
    QLineEdit* goToEdit;
    QLabel* goToMessage;
    QComboBox* bookList;
    QComboBox* chapterList;
    QAction* previousChapterAction;
    QAction* nextChapterAction;
};

class BiblePageTest : public test::BiblePageFixture {
protected:
    BibleControls controls{page};
};

TEST_F(BiblePageTest, GoesToAReferenceAndHighlightsItsVerses)
{
    controls.goToEdit->setText(QStringLiteral("jn3:16"));
    QTest::keyClick(controls.goToEdit, Qt::Key_Return);
    EXPECT_EQ(page.book(), 43);
    EXPECT_EQ(page.chapter(), 3);
    EXPECT_EQ(controls.bookList->currentText(), QStringLiteral("John"));
    EXPECT_EQ(controls.chapterList->currentText(), QStringLiteral("3"));
    EXPECT_EQ(controls.chapterList->count(), 21);
    EXPECT_EQ(test::PassageControls(*controls.passageView).titleLabel->text(), QStringLiteral("John 3"));
    EXPECT_EQ(test::PassageControls(*controls.passageView).captionLabel->text(), QStringLiteral("The Bible"));
    EXPECT_TRUE(highlighted().startsWith(QStringLiteral("16"))) << highlighted().toStdString();
    EXPECT_TRUE(highlighted().contains(QStringLiteral("For God so loved the world")));
    EXPECT_FALSE(highlighted().contains(QStringLiteral("For God sent not"))) << "verse 17 is not part of it";

    ASSERT_TRUE(page.goTo(QStringLiteral("Psalm 119:105-106")));
    EXPECT_TRUE(highlighted().contains(QStringLiteral("Thy word is a lamp")));
    EXPECT_TRUE(highlighted().contains(QStringLiteral("I have sworn")));
    EXPECT_FALSE(highlighted().contains(QStringLiteral("I am afflicted")));

    ASSERT_TRUE(page.goTo(QStringLiteral("1 Cor 13")));
    EXPECT_EQ(page.book(), 46);
    EXPECT_TRUE(highlighted().isEmpty());
}

TEST_F(BiblePageTest, AListHighlightsEveryVerseItNamesInTheChapterOpened)
{
    const auto highlights = [&] {
        QStringList starts;
        for (const auto& selection : controls.passageView->viewer()->extraSelections())
            starts << selection.cursor.selectedText().section(QRegularExpression(QStringLiteral("\\D")), 0, 0);
        return starts;
    };
    const std::pair<const char*, QStringList> cases[] = {
        {"John 3:16,18", {"16", "18"}},
        {"John 3:16-18, 20", {"16", "20"}},
        {"Jn 3:16; 4:1", {"16"}},
        {"John 3:16; 3:36 KJV", {"16", "36"}},
    };
    for (const auto& [typed, starts] : cases) {
        ASSERT_TRUE(page.goTo(QString::fromUtf8(typed))) << typed;
        EXPECT_EQ(std::make_pair(page.book(), page.chapter()), std::make_pair(43, 3)) << typed;
        EXPECT_EQ(highlights(), starts) << typed;
    }
    ASSERT_TRUE(page.goTo(QStringLiteral("John 3:16,18")));
    const auto selections = controls.passageView->viewer()->extraSelections();
    EXPECT_FALSE(selections[0].cursor.selectedText().contains(QStringLiteral("For God sent not"))) << "17 is left out";
    EXPECT_TRUE(selections[1].cursor.selectedText().contains(QStringLiteral("He that believeth on him")));
    page.nextChapter(); // the list's highlight stays with its chapter
    EXPECT_TRUE(controls.passageView->viewer()->extraSelections().isEmpty());
}

TEST_F(BiblePageTest, CopyCarriesTheReferenceOfTheSelectedVerses)
{
    ASSERT_TRUE(page.goTo(QStringLiteral("John 3")));
    HtmlViewer* viewer = controls.passageView->viewer();
    const QString text = viewer->toPlainText();
    const auto select = [&](const QString& from, const QString& to) {
        ASSERT_GE(text.indexOf(from), 0) << from.toStdString();
        ASSERT_GE(text.indexOf(to), 0) << to.toStdString();
        QTextCursor cursor(viewer->document());
        cursor.setPosition(text.indexOf(from));
        cursor.setPosition(text.indexOf(to) + to.size(), QTextCursor::KeepAnchor);
        viewer->setTextCursor(cursor);
    };
    // Part of one verse, verses across several, and from the top of the text.
    const std::tuple<QString, QString, QString> cases[] = {
        {"God so loved", "the world", "John 3:16 (KJV)"},
        {"For God so loved", "be saved", "John 3:16-17 (KJV)"},
        {"", "named Nicodemus", "John 3:1 (KJV)"},
    };
    for (const auto& [from, to, reference] : cases) {
        select(from, to);
        EXPECT_EQ(page.selectionReference(), reference) << from.toStdString();
        viewer->copySelection();
        const QMimeData* copied = QGuiApplication::clipboard()->mimeData();
        EXPECT_TRUE(copied->text().endsWith(QLatin1Char('\n') + reference)) << copied->text().toStdString();
        EXPECT_TRUE(copied->text().contains(to));
        EXPECT_TRUE(copied->html().contains(QStringLiteral("<p>") + reference + QStringLiteral("</p>")));
    }
    // Without a selection there is nothing to name.
    viewer->setTextCursor(QTextCursor(viewer->document()));
    EXPECT_TRUE(page.selectionReference().isEmpty());
}

// Selects the text from `from` to the end of `to` in viewer.
void selectText(QTextEdit* viewer, const QString& from, const QString& to)
{
    const QString text = viewer->toPlainText();
    const qsizetype start = text.indexOf(from);
    const qsizetype end = text.indexOf(to, start) + to.size();
    ASSERT_GE(start, 0) << from.toStdString();
    ASSERT_GE(end, start + to.size()) << to.toStdString();
    QTextCursor cursor(viewer->document());
    cursor.setPosition(static_cast<int>(start));
    cursor.setPosition(static_cast<int>(end), QTextCursor::KeepAnchor);
    viewer->setTextCursor(cursor);
}

// "Pray with this verse" in the text's menu hands over the selected verses,
// or the verse of the cursor without a selection.
TEST_F(BiblePageTest, PrayWithThisVerseNamesTheVersesAtTheCursor)
{
    ASSERT_TRUE(page.goTo(QStringLiteral("John 3")));
    HtmlViewer* viewer = controls.passageView->viewer();
    QAction* pray = page.findChild<QAction*>("prayWithVerseAction");
    ASSERT_NE(pray, nullptr);
    EXPECT_TRUE(viewer->contextActions().contains(pray));
    QSignalSpy asked(&page, &BiblePage::prayWithVerseRequested);
    selectText(viewer, QStringLiteral("For God so loved"), QStringLiteral("be saved"));
    pray->trigger();
    QTextCursor cursor(viewer->document());
    cursor.setPosition(viewer->toPlainText().indexOf(QStringLiteral("named Nicodemus")));
    viewer->setTextCursor(cursor);
    pray->trigger();
    ASSERT_EQ(asked.size(), 2);
    EXPECT_EQ(asked[0][0].toString(), QStringLiteral("John 3:16-17"));
    EXPECT_EQ(asked[1][0].toString(), QStringLiteral("John 3:1"));
}


TEST_F(BiblePageTest, CopyFollowsThePaneSelectedInLastThroughEveryRoute)
{
    page.setSearchFile(kovara::test::builtFile("bible.kova2"));
    ASSERT_TRUE(page.goTo(QStringLiteral("John 3")));
    const SearchControls panel(*controls.searchPanel);
    QSignalSpy shown(controls.searchPanel, &SearchPanel::resultsShown);
    panel.searchEdit->setText(QStringLiteral("\"Jesus wept\" OR \"God so loved\""));
    controls.searchPanel->searchNow();
    ASSERT_TRUE(shown.wait(5000));
    HtmlViewer* chapter = controls.passageView->viewer();
    HtmlViewer* results = panel.resultsViewer;

    // The window's Copy command as the main window wires it: one action with
    // Ctrl+C, enabled by what the page reports, copying through the page.
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(&page);
    QAction copyCommand(QStringLiteral("Copy"));
    copyCommand.setShortcut(QKeySequence::Copy);
    window.addAction(&copyCommand);
    const auto update = [&] { copyCommand.setEnabled(page.canCopy()); };
    QObject::connect(&page, &ContentPage::contentStateChanged, &copyCommand, update);
    QObject::connect(&copyCommand, &QAction::triggered, &page, [&] { page.copy(); });
    update();
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    enum class Route { Command, KeyInChapter, KeyInResults };
    const auto copyBy = [&](Route route) {
        QGuiApplication::clipboard()->clear();
        if (route == Route::Command) {
            if (copyCommand.isEnabled())
                copyCommand.trigger();
            return;
        }
        QWidget* target = route == Route::KeyInChapter ? chapter : results;
        target->setFocus();
        QTest::keyClick(target, Qt::Key_C, Qt::ControlModifier);
    };
    const auto clearSelection = [](QTextEdit* viewer) { viewer->setTextCursor(QTextCursor(viewer->document())); };
    const QString chapterText = QStringLiteral("Nicodemus");
    const QString resultText = QStringLiteral("wept");
    struct Case {
        const char* what;
        bool chapterFirst; // the chapter selected before the results
        bool inChapter;
        bool inResults;
        QString copied;
        QString reference;
    };
    const Case cases[] = {
        {"chapter, then a result", true, true, true, resultText, "John 11:35 (KJV)"},
        {"a result, then the chapter", false, true, true, chapterText, "John 3:1 (KJV)"},
        {"a result only", false, false, true, resultText, "John 11:35 (KJV)"},
        {"the chapter only", true, true, false, chapterText, "John 3:1 (KJV)"},
    };
    for (const Case& c : cases) {
        for (Route route : {Route::Command, Route::KeyInChapter, Route::KeyInResults}) {
            const std::string label = std::string(c.what) + ", route " + std::to_string(static_cast<int>(route));
            clearSelection(chapter);
            clearSelection(results);
            const auto selectChapter = [&] {
                if (c.inChapter)
                    selectText(chapter, chapterText, chapterText);
            };
            const auto selectResult = [&] {
                if (c.inResults)
                    selectText(results, resultText, resultText);
            };
            if (c.chapterFirst) {
                selectChapter();
                selectResult();
            } else {
                selectResult();
                selectChapter();
            }
            EXPECT_TRUE(copyCommand.isEnabled()) << label;
            copyBy(route);
            const QMimeData* copied = QGuiApplication::clipboard()->mimeData();
            EXPECT_EQ(copied->text(), c.copied + QLatin1Char('\n') + c.reference) << label;
            EXPECT_TRUE(copied->html().contains(QStringLiteral("<p>") + c.reference + QStringLiteral("</p>")))
                << label;
        }
    }

    // A selection over two results names both.
    selectText(results, QStringLiteral("loved"), resultText);
    EXPECT_EQ(controls.searchPanel->selectionReference(), QStringLiteral("John 3:16; John 11:35 (KJV)"));
    clearSelection(chapter);
    clearSelection(results);
    EXPECT_FALSE(copyCommand.isEnabled());
    layout->removeWidget(&page);
    page.setParent(nullptr);
}

TEST_F(BiblePageTest, OpensLinksOfGeneratedPagesOnly)
{
    EXPECT_TRUE(page.openLink(QStringLiteral("bible:19.121.8")));
    EXPECT_EQ(std::make_pair(page.book(), page.chapter()), std::make_pair(19, 121));
    EXPECT_TRUE(highlighted().contains(QStringLiteral("The LORD shall preserve thy going out")));
    for (const char* other : {"https://example.org/", "#context30", "bible:x"}) {
        EXPECT_FALSE(page.openLink(QString::fromLatin1(other))) << other;
        EXPECT_EQ(std::make_pair(page.book(), page.chapter()), std::make_pair(19, 121)) << other;
    }
}

TEST_F(BiblePageTest, BadReferenceShowsWhyAndChangesNothing)
{
    ASSERT_TRUE(page.goTo(QStringLiteral("Gen 1:1")));
    const QString shown = controls.passageView->viewer()->pageText();
    const std::pair<const char*, const char*> cases[] = {
        {"Jhn 3:16", "No book called \"Jhn\""},
        {"John 22", "John has 21 chapters"},
        {"John 3:37", "John 3 has 36 verses"},
    };
    for (const auto& [text, message] : cases) {
        controls.goToEdit->setText(QString::fromUtf8(text));
        QTest::keyClick(controls.goToEdit, Qt::Key_Return);
        EXPECT_EQ(controls.goToMessage->text(), QString::fromUtf8(message));
        EXPECT_EQ(page.book(), 1);
        EXPECT_EQ(controls.passageView->viewer()->pageText(), shown);
    }
    controls.goToEdit->setText(QStringLiteral("John 3:1"));
    QTest::keyClick(controls.goToEdit, Qt::Key_Return);
    EXPECT_TRUE(controls.goToMessage->text().isEmpty());
}

TEST_F(BiblePageTest, GoToMessagesShowWholeAtTheFirstRunSize)
{
    // The width the page has in the window at its first-run size.
    page.resize(471, 540);
    page.show();
    ASSERT_TRUE(page.goTo(QStringLiteral("Song of Solomon 1"))); // the widest book in the list
    const auto within = [&](const QWidget* w) { return QRect(w->mapTo(&page, QPoint(0, 0)), w->size()); };
    for (const char* typed : {"John 22", "?", "Jhn 3:16", "Song of Solomon 9", "John 3:37"}) {
        controls.goToEdit->setText(QString::fromUtf8(typed));
        QTest::keyClick(controls.goToEdit, Qt::Key_Return);
        QApplication::processEvents();
        const QLabel* message = controls.goToMessage;
        ASSERT_FALSE(message->text().isEmpty()) << typed;
        ASSERT_TRUE(message->isVisible()) << typed;
        const QRect room = message->contentsRect();
        const QRect needed = message->fontMetrics().boundingRect(QRect(0, 0, room.width(), 10000), Qt::TextWordWrap,
                                                                 message->text());
        EXPECT_LE(needed.width(), room.width()) << typed;
        EXPECT_LE(needed.height(), room.height()) << typed;
        EXPECT_LE(within(message).right(), page.width()) << typed;
        for (const QWidget* other : std::initializer_list<const QWidget*>{
                 controls.goToEdit, controls.bookList, controls.chapterList, controls.passageView})
            EXPECT_FALSE(within(message).intersects(within(other))) << typed << " " << other->objectName().toStdString();
    }
    // Typing again takes the message away.
    QTest::keyClick(controls.goToEdit, Qt::Key_J);
    EXPECT_FALSE(controls.goToMessage->isVisible());
}

TEST_F(BiblePageTest, GoToFieldNamesTheChapterShownAndAMessageGoesWithAMove)
{
    struct Move {
        const char* what;
        std::function<void()> move;
        const char* field;
    };
    const Move moves[] = {
        {"next chapter", [&] { controls.nextChapterAction->trigger(); }, "Matthew 1"},
        {"previous chapter", [&] { controls.previousChapterAction->trigger(); }, "Malachi 3"},
        {"book list", [&] { controls.bookList->activated(42); }, "John 1"},
        {"chapter list", [&] { controls.chapterList->activated(2); }, "Malachi 3"},
        {"a link", [&] { page.openLink(QStringLiteral("bible:43.3.16-17")); }, "John 3:16-17"},
        {"a search result", [&] { page.openChapter(43, 11, 35, 35); }, "John 11:35"},
        {"a reference", [&] { page.goTo(QStringLiteral("jn 3 16")); }, "John 3:16"},
    };
    for (const Move& m : moves) {
        ASSERT_TRUE(page.goTo(QStringLiteral("Mal 4")));
        EXPECT_EQ(controls.goToEdit->text(), QStringLiteral("Malachi 4"));
        controls.goToEdit->setText(QStringLiteral("John 99"));
        QTest::keyClick(controls.goToEdit, Qt::Key_Return);
        ASSERT_FALSE(controls.goToMessage->text().isEmpty());
        m.move();
        EXPECT_EQ(controls.goToEdit->text(), QString::fromUtf8(m.field)) << m.what;
        EXPECT_TRUE(controls.goToMessage->text().isEmpty()) << m.what;
        EXPECT_FALSE(controls.goToMessage->isVisibleTo(&page)) << m.what;
    }
}

TEST_F(BiblePageTest, StepsThroughChaptersAcrossBooks)
{
    page.openChapter(1, 50);
    controls.nextChapterAction->trigger();
    EXPECT_EQ(std::make_pair(page.book(), page.chapter()), std::make_pair(2, 1));
    controls.previousChapterAction->trigger();
    EXPECT_EQ(std::make_pair(page.book(), page.chapter()), std::make_pair(1, 50));

    page.openChapter(1, 1);
    EXPECT_FALSE(controls.previousChapterAction->isEnabled());
    page.openChapter(66, 22);
    EXPECT_FALSE(controls.nextChapterAction->isEnabled());
    EXPECT_TRUE(controls.previousChapterAction->isEnabled());

    // The lists choose a book (at its chapter 1) and a chapter.
    controls.bookList->activated(18); // Psalms
    EXPECT_EQ(std::make_pair(page.book(), page.chapter()), std::make_pair(19, 1));
    EXPECT_EQ(controls.chapterList->count(), 150);
    controls.chapterList->activated(22);
    EXPECT_EQ(page.chapter(), 23);
    EXPECT_TRUE(controls.passageView->viewer()->toPlainText().contains(QStringLiteral("my shepherd")));
}

TEST_F(BiblePageTest, RemembersTheLastChapter)
{
    kovara::test::TempDir dir;
    IniFile settings(dir.file("settings.ini"));
    page.restoreLastChapter(settings); // nothing saved yet
    EXPECT_EQ(std::make_pair(page.book(), page.chapter()), std::make_pair(1, 1));

    page.openChapter(19, 119);
    page.saveLastChapter(settings);
    EXPECT_EQ(settings.readInteger("Bible Page", "Book", 0), 19);
    EXPECT_EQ(settings.readInteger("Bible Page", "Chapter", 0), 119);
    BiblePage other;
    other.setBible(*bible);
    other.assignPreferences(*prefs);
    other.restoreLastChapter(settings);
    EXPECT_EQ(std::make_pair(other.book(), other.chapter()), std::make_pair(19, 119));

    settings.writeInteger("Bible Page", "Chapter", 151); // not there: back to the start
    other.restoreLastChapter(settings);
    EXPECT_EQ(std::make_pair(other.book(), other.chapter()), std::make_pair(1, 1));
}

TEST_F(BiblePageTest, SearchesAsYouTypeAndOpensAResult)
{
    page.setSearchFile(kovara::test::builtFile("bible.kova2"));
    page.openChapter(43, 1);
    SearchPanel* search = controls.searchPanel;
    QSignalSpy shown(search, &SearchPanel::resultsShown);
    const SearchControls panel(*search);
    const auto countOf = [](const char* text, SearchScope scope) {
        BibleSearch search(kovara::test::builtFile("bible.kova2"));
        SearchRequest request;
        request.text = text;
        request.scope = scope;
        return search.search(request).count;
    };

    // Ctrl+F anywhere on the page goes to the search field.
    page.show();
    QApplication::setActiveWindow(&page);
    controls.goToEdit->setFocus();
    QTest::keyClick(controls.goToEdit, Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(panel.searchEdit->hasFocus());

    // Each key restarts the pause; only the whole word is searched.
    QTest::keyClicks(panel.searchEdit, QStringLiteral("believ*"));
    ASSERT_TRUE(shown.wait(5000));
    const int all = countOf("believ*", SearchScope::WholeBible);
    EXPECT_EQ(panel.countLabel->text(),
              QLocale(QLocale::English).toString(all) + QStringLiteral(" verses (the first 200 shown; scroll for more)"));
    EXPECT_TRUE(panel.resultsViewer->pageText().contains(QStringLiteral("<b>believed</b>")));

    panel.scopeList->setCurrentIndex(2); // New Testament
    ASSERT_TRUE(shown.wait(5000));
    EXPECT_TRUE(panel.countLabel->text().startsWith(
        QLocale(QLocale::English).toString(countOf("believ*", SearchScope::NewTestament)) + " verses"));
    EXPECT_TRUE(panel.resultsViewer->pageText().startsWith(QStringLiteral("<p><a href=\"#v23")))
        << panel.resultsViewer->pageText().left(80).toStdString();

    panel.searchEdit->setText(QStringLiteral("faith AND"));
    ASSERT_TRUE(shown.wait(5000));
    EXPECT_EQ(panel.countLabel->text(), QStringLiteral("Put a word after \"AND\""));

    panel.searchEdit->setText(QStringLiteral("\"Jesus wept\""));
    ASSERT_TRUE(shown.wait(5000));
    EXPECT_EQ(panel.countLabel->text(), QStringLiteral("1 verse"));
    emit panel.resultsViewer->anchorClicked(QUrl(QStringLiteral("#v%1").arg(bible->verseIndex(43, 11, 35))));
    EXPECT_EQ(std::make_pair(page.book(), page.chapter()), std::make_pair(43, 11));
    EXPECT_EQ(page.firstHighlighted(), 35);
    EXPECT_TRUE(highlighted().contains(QStringLiteral("Jesus wept")));
}

// The hit at offset of a search of text, read straight from the index.
SearchHit hitAt(const std::string& text, int offset)
{
    BibleSearch direct(kovara::test::builtFile("bible.kova2"));
    SearchRequest request;
    request.text = text;
    request.offset = offset;
    request.limit = 1;
    return direct.search(request).hits.at(0);
}

TEST_F(BiblePageTest, ScrollingToTheEndOfTheResultsLoadsTheRest)
{
    page.setSearchFile(kovara::test::builtFile("bible.kova2"));
    page.resize(900, 600);
    page.show();
    const SearchControls panel(*controls.searchPanel);
    SearchPanel* search = controls.searchPanel;
    QSignalSpy shown(search, &SearchPanel::resultsShown);
    QSignalSpy more(search, &SearchPanel::moreResultsShown);
    QScrollBar* bar = panel.resultsViewer->verticalScrollBar();
    const auto lastReference = [&] {
        QTextCursor cursor(panel.resultsViewer->document()->lastBlock());
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        panel.resultsViewer->setTextCursor(cursor);
        return search->selectionReference();
    };

    panel.searchEdit->setText(QStringLiteral("mercy"));
    search->searchNow();
    ASSERT_TRUE(shown.wait(5000));
    EXPECT_EQ(panel.countLabel->text(), QStringLiteral("261 verses (the first 200 shown; scroll for more)"));
    EXPECT_EQ(search->shownCount(), 200);
    EXPECT_EQ(more.count(), 0) << "the first page stays the only one until the reader scrolls";

    // Scrolled to the end, the rest follows as paragraphs of their own, so
    // a copy of the last one names its own reference.
    bar->setValue(bar->maximum());
    ASSERT_TRUE(more.wait(5000));
    EXPECT_EQ(search->shownCount(), 261);
    EXPECT_EQ(panel.resultsViewer->document()->blockCount(), 261);
    EXPECT_EQ(panel.countLabel->text(), QStringLiteral("261 verses"));
    EXPECT_EQ(lastReference(), QStringLiteral("Jude 1:21 (KJV)"));
    {
        // A further page looks as the first: the same paragraph, the
        // reference a bold link to its verse, the matched words in bold.
        const SearchHit hit = hitAt("mercy", 200);
        const QTextBlock first = panel.resultsViewer->document()->firstBlock();
        const QTextBlock later = panel.resultsViewer->document()->findBlockByNumber(200);
        EXPECT_EQ(later.blockFormat(), first.blockFormat());
        QString plain = QString::fromUtf8(hit.markedText);
        plain.remove(QLatin1Char(kHitStart)).remove(QLatin1Char(kHitEnd));
        const QString reference = QStringLiteral("%1 %2:%3").arg(QString::fromUtf8(bible->longBookName(hit.book)))
                                      .arg(hit.chapter).arg(hit.verse);
        EXPECT_EQ(later.text(), reference + QLatin1Char(' ') + plain);
        const QTextCharFormat firstLink = first.begin().fragment().charFormat();
        QTextCharFormat link = later.begin().fragment().charFormat();
        EXPECT_EQ(later.begin().fragment().text(), reference);
        EXPECT_EQ(link.anchorHref(), QStringLiteral("#v%1").arg(hit.verseIndex));
        link.setAnchorHref(firstLink.anchorHref());
        EXPECT_EQ(link, firstLink);
        QStringList bold;
        for (auto part = ++later.begin(); !part.atEnd(); ++part)
            if (part.fragment().charFormat().fontWeight() == QFont::Bold)
                bold << part.fragment().text().toLower();
        EXPECT_EQ(bold, QStringList{QStringLiteral("mercy")});
    }
    EXPECT_FALSE(more.wait(300)) << "nothing is left to load";

    // By keyboard: Down past the last result shown loads the next page.
    panel.searchEdit->setText(QStringLiteral("shall"));
    search->searchNow();
    ASSERT_TRUE(shown.wait(5000));
    ASSERT_EQ(search->shownCount(), 200);
    panel.resultsViewer->setFocus();
    QTest::keyClick(panel.resultsViewer, Qt::Key_End);
    more.clear();
    QTest::keyClick(panel.resultsViewer, Qt::Key_Down);
    ASSERT_TRUE(more.wait(5000));
    EXPECT_GE(search->shownCount(), 400);
    QTest::keyClick(panel.resultsViewer, Qt::Key_Down);
    QTest::keyClick(panel.resultsViewer, Qt::Key_Return);
    const SearchHit hit = hitAt("shall", 200);
    EXPECT_EQ(std::make_tuple(page.book(), page.chapter(), page.firstHighlighted()),
              std::make_tuple(hit.book, hit.chapter, hit.verse)) << "the 201st result is opened";

    // A new search made while a page is loading shows only its own results.
    bar->setValue(bar->maximum());
    panel.searchEdit->setText(QStringLiteral("\"Jesus wept\""));
    search->searchNow();
    ASSERT_TRUE(shown.wait(5000));
    QTest::qWait(50);
    EXPECT_EQ(search->shownCount(), 1);
    EXPECT_EQ(panel.resultsViewer->document()->blockCount(), 1);
    EXPECT_EQ(panel.countLabel->text(), QStringLiteral("1 verse"));
}

TEST_F(BiblePageTest, AKeyTypedWhileASearchRunsCancelsIt)
{
    page.setSearchFile(kovara::test::builtFile("bible.kova2"));
    const SearchControls panel(*controls.searchPanel);
    SearchPanel* search = controls.searchPanel;
    QSignalSpy shown(search, &SearchPanel::resultsShown);
    // "the" runs long enough to be overtaken; its results never show.
    QTest::keyClicks(panel.searchEdit, QStringLiteral("the"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return search->searching(); }, 5000));
    ASSERT_EQ(shown.count(), 0);
    QTest::keyClicks(panel.searchEdit, QStringLiteral("e"));
    ASSERT_TRUE(shown.wait(5000));
    QTest::qWait(100);
    EXPECT_EQ(shown.count(), 1);
    BibleSearch direct(kovara::test::builtFile("bible.kova2"));
    SearchRequest request;
    request.text = "thee";
    EXPECT_TRUE(panel.countLabel->text().startsWith(
        QLocale(QLocale::English).toString(direct.search(request).count) + QStringLiteral(" verses")))
        << panel.countLabel->text().toStdString();
}

TEST_F(BiblePageTest, BackAndForwardGoThroughThePlacesShown)
{
    page.setSearchFile(kovara::test::builtFile("bible.kova2"));
    page.show();
    QApplication::setActiveWindow(&page);
    auto* back = page.findChild<QAction*>("backAction");
    auto* forward = page.findChild<QAction*>("forwardAction");
    ASSERT_TRUE(back && forward);
    using Place = std::tuple<int, int, int, int>;
    const auto place = [&] {
        return Place{page.book(), page.chapter(), page.firstHighlighted(), page.lastHighlighted()};
    };

    // Every way of opening a chapter adds a place.
    page.openChapter(1, 1);
    EXPECT_FALSE(back->isEnabled());
    ASSERT_TRUE(page.goTo(QStringLiteral("John 3:16,18")));
    emit controls.searchPanel->verseChosen(bible->verseIndex(45, 8, 28));
    ASSERT_TRUE(page.openLink(QStringLiteral("bible:19.23.1")));
    controls.nextChapterAction->trigger(); // Psalm 24
    const Place shown[] = {{1, 1, 0, 0}, {43, 3, 16, 16}, {45, 8, 28, 28}, {19, 23, 1, 1}, {19, 24, 0, 0}};

    // Back by each route in turn, then Forward; Alt+Left still steps a chapter.
    QWidget* text = controls.passageView->viewer()->viewport();
    const std::function<void()> backRoutes[] = {
        [&] { page.findChild<QToolButton*>("backButton")->click(); },
        [&] { QTest::keyClick(controls.passageView->viewer(), Qt::Key_BracketLeft, Qt::ControlModifier); },
        [&] { QTest::mouseClick(text, Qt::BackButton, Qt::NoModifier, text->rect().center()); },
        [&] { QTest::keyClick(controls.goToEdit, Qt::Key_Back); },
    };
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(back->isEnabled()) << i;
        backRoutes[i]();
        EXPECT_EQ(place(), shown[3 - i]) << "back route " << i;
    }
    EXPECT_FALSE(back->isEnabled());
    EXPECT_TRUE(forward->isEnabled());
    QTest::keyClick(controls.passageView->viewer(), Qt::Key_BracketRight, Qt::ControlModifier);
    EXPECT_EQ(place(), shown[1]);
    EXPECT_EQ(controls.passageView->viewer()->extraSelections().size(), 2) << "the list's verse 18 is highlighted again";
    QTest::mouseClick(text, Qt::ForwardButton, Qt::NoModifier, text->rect().center());
    EXPECT_EQ(place(), shown[2]);
    EXPECT_EQ(controls.goToEdit->text(), QStringLiteral("Romans 8:28"));

    // A move made after going back drops the places ahead.
    QTest::keyClick(controls.passageView->viewer(), Qt::Key_Left, Qt::AltModifier);
    EXPECT_EQ(place(), (Place{45, 7, 0, 0}));
    EXPECT_FALSE(forward->isEnabled());
    page.goBack();
    EXPECT_EQ(place(), shown[2]);
    page.goBack();
    EXPECT_EQ(place(), shown[1]);
}

TEST_F(BiblePageTest, ZoomKeysAndCtrlWheelSizeEveryPassageViewAlike)
{
    // The Bible page and a plan day's view on the same preferences.
    page.openChapter(43, 3);
    PassageView planDay;
    planDay.assignPreferences(*prefs);
    page.show();
    QApplication::setActiveWindow(&page);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&page));
    HtmlViewer* text = controls.passageView->viewer();
    const auto sizes = [&] {
        return std::make_tuple(prefs->textZoom, text->document()->defaultFont().pointSizeF(),
                               planDay.viewer()->document()->defaultFont().pointSizeF());
    };
    QWidget* viewport = text->viewport();
    const auto wheel = [&](int delta, Qt::KeyboardModifiers modifiers) {
        QWheelEvent event(QPointF(10, 10), viewport->mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, delta),
                          Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
        QApplication::sendEvent(viewport, &event);
    };
    struct Step {
        const char* what;
        std::function<void()> act;
        int zoom;
    };
    const Step steps[] = {
        {"Ctrl+=", [&] { QTest::keyClick(text, Qt::Key_Equal, Qt::ControlModifier); }, 110},
        {"Ctrl++ from the go-to field", [&] { QTest::keyClick(controls.goToEdit, Qt::Key_Plus, Qt::ControlModifier); }, 120},
        {"Ctrl+-", [&] { QTest::keyClick(text, Qt::Key_Minus, Qt::ControlModifier); }, 110},
        {"Ctrl+0", [&] { QTest::keyClick(text, Qt::Key_0, Qt::ControlModifier); }, 100},
        {"Ctrl+wheel up twice", [&] { wheel(240, Qt::ControlModifier); }, 120},
        {"the wheel alone scrolls", [&] { wheel(-120, Qt::NoModifier); }, 120},
        {"Ctrl+wheel down far", [&] { wheel(-120 * 40, Qt::ControlModifier); }, 50},
        {"Ctrl+- at the smallest", [&] { QTest::keyClick(text, Qt::Key_Minus, Qt::ControlModifier); }, 50},
        {"Ctrl+wheel up", [&] { wheel(120, Qt::ControlModifier); }, 60},
    };
    for (const Step& step : steps) {
        step.act();
        const double points = 10.0 * step.zoom / 100;
        EXPECT_EQ(sizes(), std::make_tuple(step.zoom, points, points)) << step.what;
    }
    // A new chapter and the preferences given again keep the zoom.
    page.openChapter(1, 1);
    page.assignPreferences(*prefs);
    EXPECT_DOUBLE_EQ(text->document()->defaultFont().pointSizeF(), 6.0);
}

TEST_F(BiblePageTest, AChapterOpenedFromAResultMarksTheSearchedWords)
{
    page.setSearchFile(kovara::test::builtFile("bible.kova2"));
    const SearchControls panel(*controls.searchPanel);
    QSignalSpy shown(controls.searchPanel, &SearchPanel::resultsShown);
    // The marked words of John 3 after its verse 16 is opened from a result.
    const auto marked = [&] {
        QStringList words;
        for (const auto& selection : controls.passageView->viewer()->extraSelections())
            if (selection.format.fontWeight() == QFont::Bold)
                words << selection.cursor.selectedText();
        return words.join(QLatin1Char('|'));
    };
    struct Case {
        const char* search;
        const char* marked;
    };
    const Case cases[] = {
        {"loved", "loved|loved"},
        {"\"only begotten\"", "only begotten|only begotten"},
        {"SO LOVED", "so|so|so|loved|loved"},
        {"loved NOT darkness", "loved|loved"},
        {"everlast*", "everlasting|everlasting"},
    };
    for (const Case& c : cases) {
        panel.searchEdit->setText(QString::fromUtf8(c.search));
        controls.searchPanel->searchNow();
        ASSERT_TRUE(shown.wait(5000)) << c.search;
        emit controls.searchPanel->verseChosen(bible->verseIndex(43, 3, 16));
        EXPECT_EQ(marked(), QString::fromUtf8(c.marked)) << c.search;
    }
    EXPECT_TRUE(highlighted().contains(QStringLiteral("For God so loved"))) << "the verse stays highlighted under the marks";
    // Another way to a chapter shows no marks; Back to the result shows them again.
    controls.nextChapterAction->trigger();
    EXPECT_EQ(marked(), QString());
    page.goBack();
    EXPECT_EQ(marked(), QStringLiteral("everlasting|everlasting"));
}

TEST_F(BiblePageTest, FindInChapterGoesRoundItsMatches)
{
    ASSERT_TRUE(page.goTo(QStringLiteral("John 3")));
    page.show();
    auto* find = page.findChild<QLineEdit*>("findEdit");
    auto* message = page.findChild<QLabel*>("findMessage");
    ASSERT_TRUE(find && message);
    HtmlViewer* text = controls.passageView->viewer();
    // Where each match lies: the verse number before it.
    const auto at = [&] {
        const QTextCursor cursor = text->textCursor();
        return std::make_pair(cursor.selectedText(), cursor.selectionStart());
    };
    QTest::keyClicks(find, QStringLiteral("Nicodemus"));
    const auto first = at();
    EXPECT_EQ(first.first, QStringLiteral("Nicodemus"));
    QTest::keyClick(find, Qt::Key_Return);
    const auto second = at();
    EXPECT_GT(second.second, first.second);
    QTest::keyClick(find, Qt::Key_Return);
    const auto third = at();
    EXPECT_GT(third.second, second.second);
    QTest::keyClick(find, Qt::Key_Return); // John 3 names him three times: round to the first
    EXPECT_EQ(at(), first);
    QTest::keyClick(find, Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(at(), third);
    page.findChild<QAction*>("findPreviousAction")->trigger();
    EXPECT_EQ(at(), second);
    EXPECT_TRUE(message->text().isEmpty());

    find->clear();
    QTest::keyClicks(find, QStringLiteral("Pharaoh"));
    EXPECT_EQ(message->text(), QStringLiteral("Not in this chapter"));
    EXPECT_FALSE(text->textCursor().hasSelection()) << "the match of \"Ph\" typed before goes";
}

TEST_F(BiblePageTest, ThisBookSearchRunsAgainWhenTheBookChanges)
{
    page.setSearchFile(kovara::test::builtFile("bible.kova2"));
    const SearchControls panel(*controls.searchPanel);
    QSignalSpy shown(controls.searchPanel, &SearchPanel::resultsShown);
    const auto countIn = [](int book) {
        BibleSearch search(kovara::test::builtFile("bible.kova2"));
        SearchRequest request;
        request.text = "Lord";
        request.scope = SearchScope::Book;
        request.book = book;
        return QLocale(QLocale::English).toString(search.search(request).count) + QStringLiteral(" verses");
    };
    ASSERT_TRUE(page.goTo(QStringLiteral("Isaiah 1")));
    panel.scopeList->setCurrentIndex(3); // This book
    panel.searchEdit->setText(QStringLiteral("Lord"));
    controls.searchPanel->searchNow();
    ASSERT_TRUE(shown.wait(5000));
    EXPECT_TRUE(panel.countLabel->text().startsWith(countIn(23))) << panel.countLabel->text().toStdString();

    // Every way to another book: the list, a reference, a chapter step.
    const std::function<void()> moves[] = {
        [&] { controls.bookList->activated(3); }, // Numbers
        [&] { page.goTo(QStringLiteral("Rev 2")); },
        [&] { page.openChapter(66, 1); controls.previousChapterAction->trigger(); }, // Jude
    };
    const int books[] = {4, 66, 65};
    for (std::size_t i = 0; i < std::size(moves); ++i) {
        moves[i]();
        ASSERT_TRUE(shown.wait(5000)) << i;
        QTest::qWait(50); // a search overtaken by a later move shows nothing
        EXPECT_EQ(page.book(), books[i]);
        EXPECT_TRUE(panel.countLabel->text().startsWith(countIn(books[i]))) << panel.countLabel->text().toStdString();
    }

    // Another chapter of the same book, or another scope, searches no more.
    shown.clear();
    panel.scopeList->setCurrentIndex(0);
    ASSERT_TRUE(shown.wait(5000));
    shown.clear();
    page.openChapter(1, 1);
    EXPECT_FALSE(shown.wait(400));
}

TEST_F(BiblePageTest, SearchesThatFindNothingSayWhy)
{
    page.setSearchFile(kovara::test::builtFile("bible.kova2"));
    ASSERT_TRUE(page.goTo(QStringLiteral("Ruth 1")));
    const SearchControls panel(*controls.searchPanel);
    QSignalSpy shown(controls.searchPanel, &SearchPanel::resultsShown);
    const QString hint = QStringLiteral(". Check the spelling, or end a word with * to find every word that starts "
                                        "with it (believ*).");
    struct Case {
        const char* typed;
        int scope;
        QString count;
    };
    const Case cases[] = {
        {"*", 0, "There is no word to search for in *"},
        {"\"\"", 0, "There is no word to search for in \"\""},
        {"  %  ", 0, "There is no word to search for in %"},
        {"xyzzy", 0, "No verses found for \"xyzzy\" in the whole Bible" + hint},
        {"\"wept Jesus\"", 0, "No verses found for \"wept Jesus\" in the whole Bible" + hint},
        {"Jesus", 1, "No verses found for \"Jesus\" in the Old Testament" + hint},
        {"Jesus", 3, "No verses found for \"Jesus\" in Ruth" + hint},
    };
    for (const Case& c : cases) {
        panel.scopeList->setCurrentIndex(c.scope);
        panel.searchEdit->setText(QString::fromUtf8(c.typed));
        controls.searchPanel->searchNow();
        ASSERT_TRUE(shown.wait(5000)) << c.typed;
        QTest::qWait(20); // a search overtaken by the scope change shows nothing more
        EXPECT_EQ(panel.countLabel->text(), c.count) << c.typed;
        EXPECT_TRUE(panel.resultsViewer->pageText().isEmpty()) << c.typed;
    }
}

TEST_F(BiblePageTest, KeyboardReachesSearchGoToAndResults)
{
    page.setSearchFile(kovara::test::builtFile("bible.kova2"));
    ASSERT_TRUE(page.goTo(QStringLiteral("Ruth 1")));
    const SearchControls panel(*controls.searchPanel);
    QSignalSpy shown(controls.searchPanel, &SearchPanel::resultsShown);
    // The page in a window beside another widget, as the side bar is.
    QWidget window;
    auto* layout = new QHBoxLayout(&window);
    auto* elsewhere = new QLineEdit;
    layout->addWidget(elsewhere);
    layout->addWidget(&page);
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    // Ctrl+F from outside the page, while it is shown.
    elsewhere->setFocus();
    QTest::keyClick(elsewhere, Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(panel.searchEdit->hasFocus());
    page.hide();
    elsewhere->setFocus();
    QTest::keyClick(elsewhere, Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(elsewhere->hasFocus()) << "a hidden page leaves Ctrl+F alone";
    page.show();

    // The go-to field comes with its text selected, ready to be typed over.
    page.focusGoToField();
    EXPECT_TRUE(controls.goToEdit->hasFocus());
    EXPECT_EQ(controls.goToEdit->selectedText(), QStringLiteral("Ruth 1"));

    panel.searchEdit->setText(QStringLiteral("Naomi"));
    controls.searchPanel->searchNow();
    ASSERT_TRUE(shown.wait(5000));
    ASSERT_FALSE(panel.resultsViewer->pageText().isEmpty());

    // The results are one Tab stop; Down, Up and Enter choose among them.
    panel.resultsViewer->setFocus();
    QTest::keyClick(panel.resultsViewer, Qt::Key_Down);
    QTest::keyClick(panel.resultsViewer, Qt::Key_Down);
    QTest::keyClick(panel.resultsViewer, Qt::Key_Down);
    QTest::keyClick(panel.resultsViewer, Qt::Key_Up);
    QTest::keyClick(panel.resultsViewer, Qt::Key_Return);
    EXPECT_EQ(std::make_tuple(page.book(), page.chapter(), page.firstHighlighted()), std::make_tuple(8, 1, 3))
        << "the second verse with Naomi is Ruth 1:3";
    // The text with the focus shows it in its frame.
    const auto edgeColour = [&](QWidget* w) {
        QApplication::processEvents();
        const QPoint edge = w->mapTo(&page, QPoint(0, w->height() / 2));
        return page.grab().toImage().pixelColor(edge);
    };
    panel.resultsViewer->setFocus();
    const QColor focused = edgeColour(panel.resultsViewer);
    EXPECT_EQ(focused, panel.resultsViewer->palette().color(QPalette::Highlight));
    QTest::keyClick(panel.resultsViewer, Qt::Key_Tab);
    EXPECT_FALSE(panel.resultsViewer->hasFocus());
    EXPECT_NE(edgeColour(panel.resultsViewer), focused);
    controls.passageView->viewer()->setFocus();
    EXPECT_EQ(edgeColour(controls.passageView->viewer()), focused);

    // Esc empties the search and its results.
    panel.searchEdit->setFocus();
    QTest::keyClick(panel.searchEdit, Qt::Key_Escape);
    EXPECT_TRUE(panel.searchEdit->text().isEmpty());
    EXPECT_TRUE(panel.resultsViewer->pageText().isEmpty());
    EXPECT_TRUE(panel.countLabel->text().isEmpty());
    layout->removeWidget(&page);
    page.setParent(nullptr);
}

} // namespace
} // namespace kovara::ui
