// Exporting the prayer journal: what the window proposes, and the PDF and HTML
// it writes, read back as a reader would see them (pdftotext).
#include "ui/prayer/journal_export.h"
#include "ui/base/core_names.h"

#include "core/content/bible_store.h"
#include "core/prayer/prayer_list_store.h"
#include "prayer_test_support.h"
#include "ui/prayer/journal_export_dialog.h"
#include "ui/prayer/prayer_commands.h"
#include "ui/prayer/prayer_tracker_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTextDocument>
#include <gtest/gtest.h>

namespace kovara::ui {
namespace {

using test::ScriptedEditor;

QString pdfText(const QString& file)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), file, QStringLiteral("-")});
    if (!p.waitForFinished(30000))
        return QStringLiteral("(pdftotext did not run)");
    return QString::fromUtf8(p.readAllStandardOutput());
}

class JournalExportTest : public ::testing::Test {
protected:
    JournalExportTest() { frame.assignPreferences(*shell.prefs); }

    // status is the stored word.
    std::int32_t add(const std::string& title, const std::string& topic, const std::string& status,
                     const std::string& text, sys_days created, const PrayerNotes& notes = {})
    {
        const std::int32_t index = shell.store->newPrayerItem(startOf(created));
        PrayerSave save;
        save.title = title;
        save.topic = topic;
        save.status = StoredStatus::fromWord(status);
        save.textData = text.empty() ? "" : "{\\rtf1 {\\b " + text + "}\\par}";
        save.plainText = text;
        save.touchEditTime = false;
        save.notes = notes;
        shell.store->savePrayer(index, save);
        return index;
    }

    test::PrayerShell shell;
    ScriptedEditor editor{shell.scripted};
    PrayerTrackerPage frame{shell, editor};
    PrayerCommands commands{shell, frame, editor};
};

TEST_F(JournalExportTest, PdfHasTheCoverLineGroupsEveryPartOfAnItemAndNumberedPagesWithTheHeaderRepeated)
{
    const sys_days may = makeDate(2024, 5, 1);
    const std::int32_t mum = add("Mum", "Family", "Active", "Surgery on Tuesday", may,
                                 {{makeDate(2024, 5, 3), "surgery went well"}, {makeDate(2024, 5, 9), "home"}});
    const std::int32_t rain = add("Rain", "Farm", "Answered", "For the crops", may);
    shell.store->setPrayerStatus(rain, PrayerStatus::Answered, {makeDate(2024, 6, 2), "A week of showers"});
    add("Harvest", "Farm", "Answered", "", may); // answered before records were kept
    // Enough long items for several pages.
    const std::string longText(1500, 'w');
    for (int i = 0; i < 40; ++i)
        add("Filler " + std::to_string(100 + i), "Zeal", "Inactive", longText, may);
    (void)mum;

    PrayerSelection all;
    all.statuses = {PrayerStatus::Active, PrayerStatus::Answered, PrayerStatus::Inactive};
    all.dateField = PrayerSelection::DateField::CreatedOrAnswered;
    all.from = makeDate(2024, 1, 1);
    all.to = makeDate(2024, 12, 31);
    const QString file = QString::fromStdString(shell.dir.file("journal.pdf"));
    shell.scripted.expectMessage(QStringLiteral("Prayer journal (Active, Answered, Inactive; all categories; created or answered "
                                                "1 Jan \u2013 31 Dec 2024): 43 items written to ") +
                                file + ".");
    commands.exportJournal(all, true, file);
    EXPECT_TRUE(shell.scripted.done());

    if (qEnvironmentVariableIsSet("KOVARA_KEEP_EXPORT"))
        QFile::copy(file, qEnvironmentVariable("KOVARA_KEEP_EXPORT"));
    const QString text = pdfText(file);
    EXPECT_TRUE(text.contains(QStringLiteral("Prayer journal (Active, Answered, Inactive; all"))) << text.left(300).toStdString();
    for (const char* part : {"Family", "Mum", "Surgery on Tuesday", "3 May 2024: surgery went well", "9 May 2024: home",
                             "Answer: A week of showers", "Answered 2 Jun 2024", "answered (date not",
                             "Created 1 May 2024", "Farm"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(part))) << part;
    // Topics in order: Family before Farm before Zeal.
    EXPECT_LT(text.indexOf("Family"), text.indexOf("Farm"));
    EXPECT_LT(text.indexOf("Farm"), text.indexOf("Zeal"));

    const QStringList pages = text.split(u'\f', Qt::SkipEmptyParts);
    ASSERT_GE(pages.size(), 3);
    for (qsizetype p = 0; p < pages.size(); ++p) {
        SCOPED_TRACE(p + 1);
        EXPECT_TRUE(pages[p].contains(QStringLiteral("Page %1 of %2").arg(p + 1).arg(pages.size())));
        // The header row on every page, with the topic the page goes on with.
        static const QRegularExpression header(QStringLiteral("Prayer \\((Family|Farm|Zeal)\\)\\s+Status\\s+Dates"));
        EXPECT_TRUE(pages[p].contains(header)) << "the header row on every page";
        if (p > 0) {
            EXPECT_TRUE(pages[p].contains(QStringLiteral("Prayer (Zeal)"))) << pages[p].left(400).toStdString();
        }
    }
}

// An export replacing an earlier one: while it runs (a kill at that moment)
// and when it is cancelled, the earlier file stays whole under its name and
// nothing else is left in the folder; finished, the new one takes its place.
TEST_F(JournalExportTest, AnExportStoppedOrKilledMidwayLeavesTheEarlierFileIntact)
{
    const std::string longText(1500, 'w');
    for (int i = 0; i < 40; ++i)
        add("Filler " + std::to_string(i), "Zeal", "Active", longText, makeDate(2024, 5, 1));
    PrayerSelection all;
    all.statuses = {PrayerStatus::Active};
    QTextDocument doc;
    JournalExport::buildDocument(doc, *shell.store, all, shell.store->selectPrayers(all), makeDate(2024, 6, 1));
    const QString file = QString::fromStdString(shell.dir.file("journal.pdf"));
    const std::string earlier = "%PDF-1.4 the earlier export";
    const auto writeEarlier = [&] {
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(earlier.data(), static_cast<qint64>(earlier.size()));
    };
    const auto fileContent = [&] {
        QFile in(file);
        return (in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray("(missing)")).toStdString();
    };
    const QDir folder(QString::fromStdString(shell.dir.folder()));
    const auto folderEntries = [&] { return folder.entryList(QDir::Files | QDir::Hidden | QDir::System).join(u',').toStdString(); };
    const std::string before = [&] {
        writeEarlier();
        return folderEntries();
    }();

    for (const bool cancel : {true, false}) {
        SCOPED_TRACE(cancel ? "cancelled" : "finished");
        writeEarlier();
        int calls = 0;
        bool checkedMidway = false;
        const JournalExport::Progress progress = [&](const QString&, int done, int total) {
            if (++calls > 1 && done > 0 && done < total) {
                EXPECT_EQ(fileContent(), earlier) << "a kill now would leave the earlier file";
                checkedMidway = true;
                if (cancel)
                    throw JournalExport::Cancelled{};
            }
        };
        if (cancel) {
            EXPECT_THROW(JournalExport::writePdf(doc, file, progress), JournalExport::Cancelled);
            EXPECT_EQ(fileContent(), earlier);
        } else {
            JournalExport::writePdf(doc, file, progress);
            EXPECT_EQ(fileContent().rfind("%PDF", 0), 0u);
            EXPECT_NE(fileContent(), earlier);
            EXPECT_TRUE(pdfText(file).contains(QStringLiteral("Filler 39")));
        }
        EXPECT_TRUE(checkedMidway) << "the export reached its pages";
        EXPECT_EQ(folderEntries(), before) << "no temporary file is left";
    }
}

// A group heading that does not fit at the foot of a page moves to the next
// one with its table; the page it left must not keep a hidden copy of it
// (which text extraction and copy and paste would still find).
TEST_F(JournalExportTest, AHeadingMovedToTheNextPageIsOnlyOnThatPage)
{
    const QString file = QString::fromStdString(shell.dir.file("journal.pdf"));
    PrayerSelection all;
    all.statuses = {PrayerStatus::Active};
    int checked = 0;
    // Fillers of growing number push the heading across the foot of page 1.
    add("Last", "Zebra", "Active", "the last one", makeDate(2024, 5, 2));
    for (int fillers = 1; fillers <= 16; ++fillers) {
        add("Filler " + std::to_string(fillers), "Aardvark", "Active", std::string(420, 'w') + " end",
            makeDate(2024, 5, 1));
        QTextDocument doc;
        JournalExport::buildDocument(doc, *shell.store, all, shell.store->selectPrayers(all), makeDate(2024, 6, 1));
        JournalExport::writePdf(doc, file);
        const QString text = pdfText(file);
        // Once as the heading, once in the table's header row, once in the
        // item's status column.
        EXPECT_EQ(text.count(QStringLiteral("Zebra")), 3) << fillers << " fillers:\n" << text.toStdString();
        // And nothing is lost at a page's foot.
        EXPECT_EQ(text.count(QRegularExpression(QStringLiteral("Filler \\d+"))), fillers);
        EXPECT_EQ(text.count(QStringLiteral(" end")), fillers);
        ++checked;
    }
    EXPECT_EQ(checked, 16);
}

TEST_F(JournalExportTest, HtmlAndTheChoicesOfTheWindow)
{
    add("Mum", "Family", "Active", "Surgery", makeDate(2024, 5, 1), {{makeDate(2024, 5, 3), "went well"}});
    add("Old", "Family", "Active", "Long ago", makeDate(2023, 5, 1));
    add("Job", "Work", "Inactive", "Interview", makeDate(2024, 5, 1));
    // Answered, then set back to Active: the answer was withdrawn.
    const std::int32_t rain = add("Rain", "Family", "Active", "Dry fields", makeDate(2024, 5, 1));
    shell.store->setPrayerStatus(rain, PrayerStatus::Answered, {makeDate(2024, 6, 1), "showers came"});
    shell.store->setPrayerStatus(rain, PrayerStatus::Active);

    // The window proposes this year, every status and every topic.
    JournalExportDialog dialog(shell.store->topicList(), shell.fixedClock.today());
    EXPECT_EQ(dialog.findChild<QDateEdit*>("fromEdit")->date(), QDate(2024, 1, 1));
    EXPECT_EQ(dialog.findChild<QDateEdit*>("toEdit")->date(), QDate(2024, 12, 31));
    EXPECT_EQ(dialog.findChild<QComboBox*>("exportTopicCombo")->count(), 4); // all, without a topic, Family, Work
    dialog.findChild<QCheckBox*>("exportInactiveCheck")->setChecked(false);
    dialog.findChild<QComboBox*>("exportTopicCombo")->setCurrentText("Family");
    dialog.findChild<QComboBox*>("formatCombo")->setCurrentIndex(1);
    EXPECT_FALSE(dialog.pdf());

    const QString file = QString::fromStdString(shell.dir.file("journal.html"));
    shell.scripted.expectMessage(QStringLiteral("Prayer journal (Active, Answered; Family; created or answered 1 Jan \u2013 31 Dec "
                                                "2024): 2 items written to ") + file +
                                ".");
    commands.exportJournal(dialog.selection(), dialog.pdf(), file);
    QFile html(file);
    ASSERT_TRUE(html.open(QIODevice::ReadOnly));
    const QString page = QString::fromUtf8(html.readAll());
    EXPECT_TRUE(page.contains("Mum"));
    EXPECT_TRUE(page.contains("went well"));
    EXPECT_FALSE(page.contains("Long ago")) << "created in another year";
    EXPECT_FALSE(page.contains("Interview")) << "inactive, and another topic";
    EXPECT_TRUE(page.contains("Dry fields"));
    EXPECT_FALSE(page.contains("showers came")) << "a withdrawn answer";

    // No status, or a range backwards: nothing to export.
    dialog.findChild<QCheckBox*>("exportActiveCheck")->setChecked(false);
    dialog.findChild<QCheckBox*>("exportAnsweredCheck")->setChecked(false);
    EXPECT_FALSE(dialog.findChild<QDialogButtonBox*>("exportButtons")->button(QDialogButtonBox::Ok)->isEnabled());
    dialog.findChild<QCheckBox*>("exportActiveCheck")->setChecked(true);
    EXPECT_TRUE(dialog.findChild<QDialogButtonBox*>("exportButtons")->button(QDialogButtonBox::Ok)->isEnabled());
    dialog.findChild<QDateEdit*>("toEdit")->setDate(QDate(2023, 1, 1));
    EXPECT_FALSE(dialog.findChild<QDialogButtonBox*>("exportButtons")->button(QDialogButtonBox::Ok)->isEnabled());

    // A selection with no item says so and writes nothing.
    dialog.findChild<QDateEdit*>("toEdit")->setDate(QDate(2024, 1, 2));
    shell.scripted.expectMessage("No prayer items match the statuses, category and dates you chose.");
    commands.exportJournal(dialog.selection(), true, QString::fromStdString(shell.dir.file("none.pdf")));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(shell.dir.file("none.pdf"))));
    EXPECT_TRUE(shell.scripted.done());
}

// The command keeps the window's choices and the folder of the last export
// for the next one, and says that nothing matches before asking for a name.
TEST_F(JournalExportTest, TheCommandRemembersItsChoicesAndFolderAndChecksForItemsFirst)
{
    add("Mum", "Family", "Active", "Surgery", makeDate(2024, 5, 1));
    add("Job", "Work", "Inactive", "Interview", makeDate(2024, 5, 1));
    const QString file = QString::fromStdString(shell.dir.file("journal.html"));

    commands.runExportDialog = [](JournalExportDialog& dialog) {
        dialog.findChild<QCheckBox*>("exportInactiveCheck")->setChecked(false);
        dialog.findChild<QComboBox*>("exportTopicCombo")->setCurrentText("Family");
        dialog.findChild<QComboBox*>("dateFieldCombo")->setCurrentIndex(1);
        dialog.findChild<QDateEdit*>("fromEdit")->setDate(QDate(2024, 4, 1));
        dialog.findChild<QComboBox*>("formatCombo")->setCurrentIndex(1);
        return true;
    };
    shell.scripted.expectSaveFile("Export Prayer Journal", file);
    shell.scripted.expectMessage(QStringLiteral("Prayer journal (Active, Answered; Family; created 1 Apr \u2013 31 Dec 2024): 1 item "
                                                 "written to ") +
                                 file + ".");
    commands.exportJournalCommand();
    EXPECT_TRUE(shell.scripted.done());

    // The next export starts where this one was left: the same choices,
    // and the file proposed in the same folder.
    commands.runExportDialog = [](JournalExportDialog& dialog) {
        EXPECT_FALSE(dialog.pdf());
        EXPECT_FALSE(dialog.findChild<QCheckBox*>("exportInactiveCheck")->isChecked());
        EXPECT_TRUE(dialog.findChild<QCheckBox*>("exportActiveCheck")->isChecked());
        EXPECT_EQ(dialog.findChild<QComboBox*>("exportTopicCombo")->currentText(), "Family");
        EXPECT_EQ(dialog.findChild<QComboBox*>("dateFieldCombo")->currentIndex(), 1);
        EXPECT_EQ(dialog.findChild<QDateEdit*>("fromEdit")->date(), QDate(2024, 4, 1));
        dialog.findChild<QComboBox*>("exportTopicCombo")->setCurrentText("Work"); // only an inactive item
        return true;
    };
    shell.scripted.expectMessage("No prayer items match the statuses, category and dates you chose.");
    commands.exportJournalCommand();
    EXPECT_TRUE(shell.scripted.done()) << "no file name was asked for";

    commands.runExportDialog = [](JournalExportDialog& dialog) {
        dialog.findChild<QComboBox*>("exportTopicCombo")->setCurrentIndex(0);
        return true;
    };
    shell.scripted.expectSaveFile("Export Prayer Journal", QString());
    commands.exportJournalCommand();
    EXPECT_EQ(QFileInfo(shell.scripted.lastSaveProposal).absolutePath(), QFileInfo(file).absolutePath());
    EXPECT_TRUE(shell.scripted.done());
}


} // namespace
} // namespace kovara::ui

namespace kovara::ui {
namespace {

// Verses prayed with an item go into its record, with their text when the
// Bible is there and as references when it is not.
TEST_F(JournalExportTest, VersesGoWithTheirItemAndTheirText)
{
    const std::int32_t mum = add("Mum", "Family", "Active", "Surgery", makeDate(2024, 5, 1));
    add("Job", "Work", "Active", "Interview", makeDate(2024, 5, 1));
    PrayerListStore list(*shell.store);
    list.ensureTables(makeDate(2024, 5, 1));
    list.setVerses(mum, {"Gen 1:1-2", "Gen 2:1"});
    kovara::test::makeAlphaBetaBible(shell.dir.file("bible.kova2"));
    const BibleStore bible(shell.dir.file("bible.kova2"), "Test Bible", "TB");
    PrayerSelection all;
    all.statuses = {PrayerStatus::Active};
    QTextDocument doc;
    for (const BibleStore* with : {&bible, static_cast<const BibleStore*>(nullptr)}) {
        JournalExport::buildDocument(doc, *shell.store, all, shell.store->selectPrayers(all), makeDate(2024, 6, 1),
                                     {}, with);
        const std::string text = doc.toPlainText().toStdString();
        const std::size_t verses = text.find("Verses");
        ASSERT_NE(verses, std::string::npos) << text;
        EXPECT_EQ(text.find("Verses", verses + 1), std::string::npos) << "Job has none";
        EXPECT_LT(text.find("Surgery"), verses);
        EXPECT_LT(verses, text.find("Gen 2:1"));
        EXPECT_EQ(text.find("1A1:1 2A1:2") != std::string::npos, with != nullptr) << text;
    }
}

} // namespace
} // namespace kovara::ui
