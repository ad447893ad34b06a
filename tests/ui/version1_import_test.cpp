// The one-time import of the previous version's data files into the stores,
// with old files made in the test and the questions answered by script.
#include "ui/prayer/version1_import.h"

#include "db/sqlite_db.h"
#include "prayer/kova_version1import.h"
#include "ui/prayer/rtf_codec.h"
#include "ui/widgets/dates.h"
#include "user_store_shell.h"

#include <QTextDocument>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace kovara::ui::test {
namespace {

struct OldItem {
    TDateTime created;
    std::uint8_t active;
    std::string title;
    std::string text;
};

// prayeritems.udt and prayerdetails.udt for items, in the old layout. A
// non-zero badOffset makes the last item's text start there.
void WriteOldPrayers(const std::string& folder, const std::vector<OldItem>& items, std::int32_t badOffset = 0)
{
    std::string records, details;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const OldItem& item = items[i];
        std::string rec(kVersion1PrayerRecordSize, '\x7f');
        std::memcpy(rec.data(), &item.created, 8);
        rec[40] = static_cast<char>(item.active);
        rec[44] = static_cast<char>(item.title.size());
        rec.replace(45, item.title.size(), item.title);
        std::int32_t offset = static_cast<std::int32_t>(details.size());
        if (badOffset != 0 && i + 1 == items.size())
            offset = badOffset;
        const auto length = static_cast<std::int32_t>(item.text.size());
        std::memcpy(rec.data() + 497, &offset, 4);
        std::memcpy(rec.data() + 501, &length, 4);
        records += rec;
        details += item.text;
    }
    std::ofstream(folder + "prayeritems.udt", std::ios::binary) << records;
    std::ofstream(folder + "prayerdetails.udt", std::ios::binary) << details;
}

void WriteOldPlan(const std::string& folder, TDateTime start, const std::vector<int>& readDays)
{
    std::string bytes(kVersion1PlanFileSize, '\0');
    std::memcpy(bytes.data(), &start, 8);
    for (int d : readDays)
        bytes[static_cast<std::size_t>(7 + d)] = '\x01';
    std::ofstream(folder + "plan.udt", std::ios::binary) << bytes;
}

// A template database whose sevenTypes table has the old plan's 364 days.
void WriteTemplates(const std::string& fileName)
{
    sqlite3* db = nullptr;
    OpenDatabase(fileName, db);
    std::string sql = "BEGIN;CREATE TABLE sevenTypes (day INTEGER, verses TEXT);";
    for (int d = 1; d <= kVersion1PlanDays; ++d)
        sql += "INSERT INTO sevenTypes VALUES (" + std::to_string(d) + ",'" + std::to_string(d) + "-" +
               std::to_string(d) + "');";
    ExecSQL(db, sql + "COMMIT;");
    CloseDatabase(db);
}

std::string PlainTextOf(const std::string& rtf)
{
    QTextDocument doc;
    ReadRtf(QByteArray::fromStdString(rtf), doc);
    return PlainTextCrLf(doc).toStdString();
}

class Version1ImportTest : public ::testing::Test {
protected:
    Version1ImportTest()
    {
        std::filesystem::create_directory(oldFolder);
        WriteTemplates(shell.folder + "readplans.kova2");
    }

    void Import() { ImportVersion1Data(shell, shell, oldFolder); }

    QString PlanQuestion() const
    {
        return QStringLiteral("Kovara 2 can import your Bible in a Year plan from Kovara 1, started on %1. "
                              "Would you like to do so?")
            .arg(ShortDateText(kStart));
    }

    static constexpr TDateTime kStart = 44927; // 2023-01-01
    const TDateTime created = EncodeDateTime(2009, 3, 14, 8, 30, 0);
    const std::string longText = "Line one\r\nLine two " + std::string(150, 'x');

    UserStoreShell shell;
    kovara::test::TempDir home;
    std::string oldFolder = home.File("Kovara") + "/";
};

TEST_F(Version1ImportTest, AnsweredYesImportsItemsAndPlan)
{
    WriteOldPrayers(oldFolder, {{0, 0, "Empty", ""}, {created, 1, "Caf\xe9 item", "Hello"}, {created, 255, "Long", longText}});
    WriteOldPlan(oldFolder, kStart, {1, 2, 364});
    shell.dialogs.ExpectConfirm(
        QStringLiteral("Kovara 2 can import your 3 prayer item(s) from Kovara 1. Would you like to do so?"), true);
    shell.dialogs.ExpectConfirm(PlanQuestion(), true);
    Import();

    TKOVAPrayerTracker& store = shell.PrayerTracker();
    TPrayerHeaderRecArray items;
    store.GetPrayerHeaders(kPrayerFilterAny, "prayerIndex", items);
    ASSERT_EQ(items.size(), 3u);
    const struct {
        const char* title;
        const char* status;
        std::string preview;
        TDateTime created;
        std::string plain;
    } expected[] = {
        {"Empty", kPrayerInactive, "", shell.clock.Now(), ""},
        {"Caf\xe9 item", kPrayerActive, "Hello", created, "Hello"},
        {"Long", kPrayerActive, longText.substr(0, 100), created, longText},
    };
    for (std::size_t i = 0; i < items.size(); ++i) {
        SCOPED_TRACE(expected[i].title);
        const TPrayerHeaderRec& h = items[i];
        EXPECT_EQ(h.prayerTitle, expected[i].title);
        EXPECT_EQ(h.prayerStatus, expected[i].status);
        EXPECT_EQ(h.prayerTopic, "");
        EXPECT_EQ(h.previewText, expected[i].preview);
        EXPECT_NEAR(h.createTime, expected[i].created, 1.0 / 86400);
        EXPECT_EQ(h.lastEditTime, h.createTime);
        const std::string rtf = store.GetPrayerText(h.prayerIndex);
        EXPECT_TRUE(IsRtf(QByteArray::fromStdString(rtf))) << "every item gets a document";
        EXPECT_EQ(PlainTextOf(rtf), expected[i].plain);
    }

    TKOVAReadPlans& plans = shell.ReadPlans();
    ASSERT_EQ(plans.GetPlanCount(), 1);
    EXPECT_EQ(plans.GetPlanTitle(0), "Bible in a Year");
    EXPECT_EQ(plans.GetStartDate(0), kStart);
    EXPECT_EQ(plans.GetDayCount(0), kVersion1PlanDays);
    std::vector<int> read;
    for (int d = 1; d <= plans.GetDayCount(0); ++d)
        if (plans.IsDayDone(0, d))
            read.push_back(d);
    EXPECT_EQ(read, (std::vector<int>{1, 2, 364}));

    EXPECT_EQ(shell.refreshedOn, std::vector<int>{0});
    EXPECT_EQ(shell.welcomeBuilt, 2) << "after the items and after the plan";
    EXPECT_EQ(shell.page, Page::Welcome);

    // Now that there is data, the import is never offered again.
    Import();
    EXPECT_EQ(shell.PrayerTracker().CountPrayers(kPrayerFilterAny), 3);
}

TEST_F(Version1ImportTest, AnsweredNoImportsNothingButStillAsksAboutThePlan)
{
    WriteOldPrayers(oldFolder, {{created, 1, "Hello item", "Hello"}});
    WriteOldPlan(oldFolder, kStart, {1});
    shell.dialogs.ExpectConfirm(
        QStringLiteral("Kovara 2 can import your 1 prayer item(s) from Kovara 1. Would you like to do so?"), false);
    shell.dialogs.ExpectConfirm(PlanQuestion(), false);
    Import();

    EXPECT_EQ(shell.PrayerTracker().CountPrayers(kPrayerFilterAny), 0);
    EXPECT_EQ(shell.ReadPlans().GetPlanCount(), 0);
    EXPECT_EQ(shell.welcomeBuilt, 0);
    EXPECT_TRUE(shell.refreshedOn.empty());
}

TEST_F(Version1ImportTest, NothingIsOfferedToAUserWithDataOrWithoutOldFiles)
{
    WriteOldPrayers(oldFolder, {{created, 1, "Hello item", "Hello"}});
    WriteOldPlan(oldFolder, kStart, {1});

    // One prayer item, or one plan, of their own: no question at all.
    const std::int32_t own = shell.AddPrayer("Mine");
    Import();
    shell.PrayerTracker().SetPrayerStatus(own, kPrayerDeleted);
    shell.ReadPlans().AddPlan("Mine", {"1-1"}, kStart);
    Import();
    shell.ReadPlans().DeletePlan(0);

    // No old folder, and an old plan that has no start date.
    std::filesystem::remove_all(oldFolder);
    Import();
    std::filesystem::create_directory(oldFolder);
    WriteOldPlan(oldFolder, 0, {1});
    Import();

    EXPECT_TRUE(shell.dialogs.Done());
    EXPECT_EQ(shell.PrayerTracker().CountPrayers(kPrayerFilterAny), 0);
}

TEST_F(Version1ImportTest, DamagedOldFileRaisesBeforeAnyQuestionAndWritesNothing)
{
    WriteOldPrayers(oldFolder, {{created, 1, "Fine", "Hello"}, {created, 1, "Broken", "World"}}, 1000);
    WriteOldPlan(oldFolder, kStart, {1});

    EXPECT_THROW(Import(), EInOutError);
    EXPECT_EQ(shell.PrayerTracker().CountPrayers(kPrayerFilterAny), 0);
    EXPECT_EQ(shell.ReadPlans().GetPlanCount(), 0) << "the plan is not offered after the error";
}

} // namespace
} // namespace kovara::ui::test
