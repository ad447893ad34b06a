// "Pray with this verse": the reader picks an active item and the verses are
// attached to it, once; nothing is made when the reader cancels.
#include "ui/prayer/pray_with_verse_dialog.h"

#include "core/prayer/prayer_list_store.h"
#include "prayer_test_support.h"

#include <QListWidget>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace kovara::ui {
namespace {

// Plays the reader: chooses the row with the given text, or cancels.
class ScriptedChooser : public PrayWithVerseDialog {
public:
    ScriptedChooser(Shell& shell, const QString& reference, QString row)
        : PrayWithVerseDialog(shell, reference), row_(std::move(row))
    {
    }
    QStringList rows;

    int runModal() override
    {
        auto* list = findChild<QListWidget*>("prayerItemList");
        for (int i = 0; i < list->count(); ++i) {
            rows << list->item(i)->text();
            if (list->item(i)->text() == row_)
                list->setCurrentRow(i);
        }
        return row_.isEmpty() ? QDialog::Rejected : QDialog::Accepted;
    }

private:
    QString row_;
};

TEST(PrayWithVerseDialogTest, TheChosenActiveItemGetsTheVersesOnce)
{
    test::PrayerShell shell;
    ScriptedChooser cancelled(shell, "John 3:16", {});
    shell.scripted.expectMessage("There is no active prayer item to pray with John 3:16.");
    EXPECT_EQ(cancelled.chooseAndAttach(), std::nullopt);

    const std::int32_t mum = shell.add("Mum", "Family", "Active");
    shell.add("Work", "", "Active");
    shell.add("Healed", "Family", "Answered");
    EXPECT_EQ(cancelled.chooseAndAttach(), std::nullopt);
    EXPECT_EQ(cancelled.rows, (QStringList{"Work", "Mum (Family)"})) << "active items only, by topic";
    EXPECT_FALSE(PrayerListStore(*shell.store).exists()) << "a cancelled choice makes nothing";

    QSignalSpy changed(&shell.session(), &ObservableSession::prayersChanged);
    for (int twice = 0; twice < 2; ++twice) {
        ScriptedChooser chooser(shell, "John 3:16-17", "Mum (Family)");
        EXPECT_EQ(chooser.chooseAndAttach(), mum);
    }
    EXPECT_EQ(PrayerListStore(*shell.store).verses(mum), std::vector<std::string>{"John 3:16-17"});
    EXPECT_EQ(changed.size(), 1) << "attached once, announced once";
}

} // namespace
} // namespace kovara::ui
