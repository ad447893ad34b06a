// The one-time import of the previous version's data files into the stores,
// with old files made in the test and the questions answered by script.
#include "ui/prayer/version1_import.h"
#include "ui/base/core_names.h"

#include "core/db/sqlite_db.h"
#include "core/prayer/version1_reader.h"
#include "ui/prayer/rtf_codec.h"
#include "ui/base/dates.h"
#include "user_store_shell.h"

#include <QTextDocument>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace kovara::ui::test {
namespace {

struct OldItem {
    DayCount created; // as the old file keeps it: a day count, 0 for none
    std::uint8_t active;
    std::string title;
    std::string text;
};

// prayeritems.udt and prayerdetails.udt for items, in the old layout. A
// non-zero badOffset makes the last item's text start there.
void writeOldPrayers(const std::string& folder, const std::vector<OldItem>& items, std::int32_t badOffset = 0)
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

void writeOldPlan(const std::string& folder, DayCount start, const std::vector<int>& readDays)
{
    std::string bytes(kVersion1PlanFileSize, '\0');
    std::memcpy(bytes.data(), &start, 8);
    for (int d : readDays)
        bytes[static_cast<std::size_t>(7 + d)] = '\x01';
    std::ofstream(folder + "plan.udt", std::ios::binary) << bytes;
}

// A template database whose sevenTypes table has the old plan's 364 days.
void writeTemplates(const std::string& fileName)
{
    sqlite3* db = nullptr;
    openDatabase(fileName, db);
    std::string sql = "BEGIN;CREATE TABLE sevenTypes (day INTEGER, verses TEXT);";
    for (int d = 1; d <= kVersion1PlanDays; ++d)
        sql += "INSERT INTO sevenTypes VALUES (" + std::to_string(d) + ",'" + std::to_string(d) + "-" +
               std::to_string(d) + "');";
    execSQL(db, sql + "COMMIT;");
    closeDatabase(db);
}

std::string plainTextOf(const std::string& rtf)
{
    QTextDocument doc;
    readRtf(QByteArray::fromStdString(rtf), doc);
    return plainTextCrLf(doc).toStdString();
}

class Version1ImportTest : public ::testing::Test {
protected:
    Version1ImportTest()
    {
        std::filesystem::create_directory(oldFolder);
        writeTemplates(shell.folder + "readplans.kova2");
    }

    void importData() { importVersion1Data(shell, oldFolder); }

    QString planQuestion() const
    {
        return QStringLiteral("Kovara 2 can import your Bible in a Year plan from Kovara 1, started on %1. "
                              "Would you like to do so?")
            .arg(shortDateText(makeDate(2023, 1, 1)));
    }

    static constexpr DayCount kStart = 44927; // 2023-01-01 as the old plan file keeps it
    const sys_seconds created = makeMoment(2009, 3, 14, 8, 30, 0);
    const DayCount createdDays = toDayCount(created); // as the old files keep it
    const std::string longText = "Line one\r\nLine two " + std::string(150, 'x');

    UserStoreShell shell;
    kovara::test::TempDir home;
    std::string oldFolder = home.file("Kovara") + "/";
};

TEST_F(Version1ImportTest, AnsweredYesImportsItemsAndPlan)
{
    writeOldPrayers(oldFolder, {{0, 0, "Empty", ""}, {createdDays, 1, "Caf\xe9 item", "Hello"}, {createdDays, 255, "Long", longText}});
    writeOldPlan(oldFolder, kStart, {1, 2, 364});
    shell.scripted.expectConfirm(
        QStringLiteral("Kovara 2 can import your 3 prayer item(s) from Kovara 1. Would you like to do so?"), true,
        Dialogs::Answer::Yes);
    shell.scripted.expectConfirm(planQuestion(), true, Dialogs::Answer::Yes);
    importData();

    PrayerStore& store = shell.prayerStore();
    const PrayerHeaders items = store.prayerHeaders(std::nullopt, "prayerIndex");
    ASSERT_EQ(items.size(), 3u);
    const struct {
        const char* title;
        PrayerStatus status;
        std::string preview;
        sys_seconds created;
        std::string plain;
    } expected[] = {
        {"Empty", PrayerStatus::Inactive, "", shell.fixedClock.now(), ""},
        {"Caf\xe9 item", PrayerStatus::Active, "Hello", created, "Hello"},
        {"Long", PrayerStatus::Active, longText.substr(0, 100), created, longText},
    };
    for (std::size_t i = 0; i < items.size(); ++i) {
        SCOPED_TRACE(expected[i].title);
        const PrayerHeader& h = items[i];
        EXPECT_EQ(h.prayerTitle, expected[i].title);
        EXPECT_EQ(h.prayerStatus, expected[i].status);
        EXPECT_EQ(h.prayerTopic, "");
        EXPECT_EQ(h.previewText, expected[i].preview);
        EXPECT_EQ(h.createTime, expected[i].created);
        EXPECT_EQ(h.lastEditTime, h.createTime);
        const std::string rtf = store.prayerText(h.prayerIndex);
        EXPECT_TRUE(isRtf(QByteArray::fromStdString(rtf))) << "every item gets a document";
        EXPECT_EQ(plainTextOf(rtf), expected[i].plain);
    }
    // The whole text is searchable, also past the preview.
    EXPECT_EQ(store.searchPrayers(std::string(150, 'x')), std::vector<std::int32_t>{items[2].prayerIndex});
    EXPECT_EQ(store.searchPrayers("hello"), std::vector<std::int32_t>{items[1].prayerIndex});

    PlanStore& plans = shell.planStore();
    ASSERT_EQ(plans.planCount(), 1);
    EXPECT_EQ(plans.planTitle(0), "Bible in a Year");
    EXPECT_EQ(plans.startDate(0), fromDayCount(kStart));
    EXPECT_EQ(plans.dayCount(0), kVersion1PlanDays);
    std::vector<int> read;
    for (int d = 1; d <= plans.dayCount(0); ++d)
        if (plans.isDayDone(0, d))
            read.push_back(d);
    EXPECT_EQ(read, (std::vector<int>{1, 2, 364}));

    EXPECT_EQ(shell.refreshedOn, std::vector<int>{0});
    EXPECT_EQ(shell.welcomeBuilt, 2) << "after the items and after the plan";
    EXPECT_EQ(shell.page, Page::Welcome);

    // Now that there is data, the import is never offered again.
    importData();
    EXPECT_EQ(shell.prayerStore().countPrayers(std::nullopt), 3);
}

TEST_F(Version1ImportTest, AnsweredNoImportsNothingButStillAsksAboutThePlan)
{
    writeOldPrayers(oldFolder, {{createdDays, 1, "Hello item", "Hello"}});
    writeOldPlan(oldFolder, kStart, {1});
    shell.scripted.expectConfirm(
        QStringLiteral("Kovara 2 can import your 1 prayer item(s) from Kovara 1. Would you like to do so?"), false,
        Dialogs::Answer::Yes);
    shell.scripted.expectConfirm(planQuestion(), false, Dialogs::Answer::Yes);
    importData();

    EXPECT_EQ(shell.prayerStore().countPrayers(std::nullopt), 0);
    EXPECT_EQ(shell.planStore().planCount(), 0);
    EXPECT_EQ(shell.welcomeBuilt, 0);
    EXPECT_TRUE(shell.refreshedOn.empty());
}

TEST_F(Version1ImportTest, NothingIsOfferedToAUserWithDataOrWithoutOldFiles)
{
    writeOldPrayers(oldFolder, {{createdDays, 1, "Hello item", "Hello"}});
    writeOldPlan(oldFolder, kStart, {1});

    // One prayer item, or one plan, of their own: no question at all.
    const std::int32_t own = shell.addPrayer("Mine");
    importData();
    shell.prayerStore().deletePrayer(own);
    shell.planStore().addPlan("Mine", {"1-1"}, fromDayCount(kStart));
    importData();
    shell.planStore().deletePlan(0);

    // No old folder, and an old plan that has no start date.
    std::filesystem::remove_all(oldFolder);
    importData();
    std::filesystem::create_directory(oldFolder);
    writeOldPlan(oldFolder, 0, {1});
    importData();

    EXPECT_TRUE(shell.scripted.done());
    EXPECT_EQ(shell.prayerStore().countPrayers(std::nullopt), 0);
}

TEST_F(Version1ImportTest, DamagedOldFileRaisesBeforeAnyQuestionAndWritesNothing)
{
    writeOldPrayers(oldFolder, {{createdDays, 1, "Fine", "Hello"}, {createdDays, 1, "Broken", "World"}}, 1000);
    writeOldPlan(oldFolder, kStart, {1});

    EXPECT_THROW(importData(), InOutError);
    EXPECT_EQ(shell.prayerStore().countPrayers(std::nullopt), 0);
    EXPECT_EQ(shell.planStore().planCount(), 0) << "the plan is not offered after the error";
}

} // namespace
} // namespace kovara::ui::test
