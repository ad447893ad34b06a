#include "core/prayer/version1_reader.h"

#include "fixtures.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <limits>

namespace kovara::core {
namespace {

using test::messageOf;
using test::TempDir;

void writeBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), std::streamsize(bytes.size()));
}

void putLE(std::string& bytes, std::size_t at, std::uint64_t value, int size)
{
    for (int i = 0; i < size; ++i)
        bytes[at + i] = static_cast<char>(value >> (8 * i));
}

// One 537-byte record; the bytes the reader must not look at hold 0xCC.
std::string record(double created, unsigned char active, const std::string& title, std::int32_t offset,
                   std::int32_t length)
{
    std::string r(kVersion1PrayerRecordSize, '\xCC');
    std::uint64_t bits;
    std::memcpy(&bits, &created, 8);
    putLE(r, 0, bits, 8);
    r[40] = static_cast<char>(active);
    r[44] = static_cast<char>(title.size());
    r.replace(45, title.size(), title);
    putLE(r, 497, static_cast<std::uint32_t>(offset), 4);
    putLE(r, 501, static_cast<std::uint32_t>(length), 4);
    return r;
}

TEST(Version1PrayersTest, ReadsRecordsAndTextsAndMakesStoreItems)
{
    TempDir dir;
    const std::string long150(150, 'x');
    // Texts sit among bytes that belong to nobody; the last text ends at the
    // file's last byte.
    const std::string details = "##Hello##" + long150 + "\r\nEnd";
    const std::int32_t helloAt = 2, longAt = 9, endAt = 9 + 150;
    // The old files keep moments as day counts.
    const sys_seconds created = makeMoment(2005, 6, 7, 8, 9, 10);
    const auto daysAfter = [&](int n) { return toDayCount(created + std::chrono::days{n}); };
    writeBytes(dir.file("prayerdetails.udt"), details);
    writeBytes(dir.file("prayeritems.udt"),
               record(daysAfter(0), 0, "Empty", -7, 0) +                    // no text: offset not used
               record(0, 1, "Same", helloAt, 5) +                      // creation time unknown
               record(daysAfter(1), 255, "Same", longAt, 150) +
               record(daysAfter(2), 1, std::string(255, 'T'), 123456, -3) + // negative length: no text
               record(daysAfter(3), 0, "\xE9t\xE9", endAt, 5) +
               std::string(100, 'p')); // a trailing partial record is ignored

    Version1PrayerItems items(3);
    Version1PrayerDetails texts(3);
    ASSERT_TRUE(readVersion1Prayers(dir.folder(), items, texts));
    ASSERT_EQ(items.size(), 5u);
    ASSERT_EQ(texts.size(), 5u);
    EXPECT_EQ(items[0].created, created);
    EXPECT_EQ(items[1].created, std::nullopt);
    EXPECT_EQ(items[4].created, created + std::chrono::days{3});
    EXPECT_EQ(texts[3], "");

    const std::vector<Version1Prayer> prayers = version1Prayers(items, texts);
    struct Expected {
        std::string title;
        PrayerStatus status;
        std::string text;
        std::string preview;
    };
    const Expected expected[] = {
        {"Empty", PrayerStatus::Inactive, "", ""},
        {"Same", PrayerStatus::Active, "Hello", "Hello"},
        {"Same", PrayerStatus::Active, long150, std::string(100, 'x')},
        {std::string(255, 'T'), PrayerStatus::Active, "", ""},
        {"\xE9t\xE9", PrayerStatus::Inactive, "\r\nEnd", "\r\nEnd"},
    };
    ASSERT_EQ(prayers.size(), 5u);
    for (std::size_t i = 0; i < prayers.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(prayers[i].title, expected[i].title);
        EXPECT_EQ(prayers[i].topic, "");
        EXPECT_EQ(prayers[i].status, expected[i].status);
        EXPECT_EQ(prayers[i].text, expected[i].text);
        EXPECT_EQ(prayers[i].preview, expected[i].preview);
        EXPECT_EQ(prayers[i].created, items[i].created);
    }
}

TEST(Version1PrayersTest, MissingFiles)
{
    TempDir dir;
    Version1PrayerItems items(2);
    Version1PrayerDetails texts(2);
    EXPECT_FALSE(readVersion1Prayers(dir.folder(), items, texts));
    EXPECT_TRUE(items.empty() && texts.empty());

    writeBytes(dir.file("prayeritems.udt"), record(1, 1, "A", 0, 0));
    EXPECT_EQ(messageOf([&] { readVersion1Prayers(dir.folder(), items, texts); }),
              "I/O error reading " + dir.file("prayerdetails.udt") + ": the file cannot be opened");

    // An empty items file is read (there is just nothing in it).
    writeBytes(dir.file("prayeritems.udt"), "");
    writeBytes(dir.file("prayerdetails.udt"), "");
    EXPECT_TRUE(readVersion1Prayers(dir.folder(), items, texts));
    EXPECT_TRUE(items.empty());
}

TEST(Version1PrayersTest, TextOutsideTheDetailsFileRaisesAndReturnsNothing)
{
    const std::int32_t maxInt = std::numeric_limits<std::int32_t>::max();
    const struct {
        std::int32_t offset, length;
    } cases[] = {{-1, 5}, {10, 1}, {8, 3}, {0, 11}, {0, maxInt}, {maxInt, maxInt}, {std::numeric_limits<std::int32_t>::min(), 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.offset << "," << c.length);
        TempDir dir;
        writeBytes(dir.file("prayerdetails.udt"), "0123456789");
        // A good record first: nothing of it may come back either.
        writeBytes(dir.file("prayeritems.udt"), record(1, 1, "Good", 0, 10) + record(2, 1, "Bad", c.offset, c.length));
        Version1PrayerItems items;
        Version1PrayerDetails texts;
        EXPECT_EQ(messageOf([&] { readVersion1Prayers(dir.folder(), items, texts); }),
                  format("I/O error reading %s: the text of prayer item 2 (%d bytes at offset %d) lies outside the "
                         "file",
                         dir.file("prayerdetails.udt"), c.length, c.offset));
        EXPECT_TRUE(items.empty());
        EXPECT_TRUE(texts.empty());
    }
}

TEST(Version1PlanTest, ReadsOnlyAFileOfExactSizeAndItsDays)
{
    TempDir dir;
    Version1Plan plan;
    EXPECT_FALSE(readVersion1Plan(dir.folder(), plan));

    const sys_seconds start = startOf(makeDate(2004, 1, 1));
    const double startDays = toDayCount(start);
    std::string bytes(kVersion1PlanFileSize, '\0');
    std::uint64_t bits;
    std::memcpy(&bits, &startDays, 8);
    putLE(bytes, 0, bits, 8);
    bytes[7 + 1] = 1;
    bytes[7 + 2] = '\xFF';
    bytes[7 + 364] = 2;
    bytes[372] = 1; // past day 364: not a day
    bytes[486] = 1;

    for (std::size_t size : {486u, 488u}) {
        SCOPED_TRACE(size);
        std::string other = bytes;
        other.resize(size, '\x01');
        writeBytes(dir.file("plan.udt"), other);
        EXPECT_FALSE(readVersion1Plan(dir.folder(), plan));
    }

    writeBytes(dir.file("plan.udt"), bytes);
    ASSERT_TRUE(readVersion1Plan(dir.folder(), plan));
    EXPECT_EQ(plan.startDate, start);
    EXPECT_TRUE(hasVersion1Plan(plan));
    EXPECT_EQ(version1ReadDays(plan), (std::vector<int>{1, 2, 364}));

    bytes.replace(0, 8, std::string(8, '\0'));
    writeBytes(dir.file("plan.udt"), bytes);
    ASSERT_TRUE(readVersion1Plan(dir.folder(), plan));
    EXPECT_FALSE(hasVersion1Plan(plan));
}

TEST(Version1ImportDecisionsTest, OfferAndQuestions)
{
    EXPECT_TRUE(shouldOfferVersion1Import(0, 0));
    EXPECT_FALSE(shouldOfferVersion1Import(1, 0));
    EXPECT_FALSE(shouldOfferVersion1Import(0, 1));
    EXPECT_EQ(version1PrayersQuestion(3),
              "Kovara 2 can import your 3 prayer item(s) from Kovara 1. Would you like to do so?");
    EXPECT_EQ(version1PlanQuestion("01/02/2004"),
              "Kovara 2 can import your Bible in a Year plan from Kovara 1, started on 01/02/2004. Would you like to "
              "do so?");
}

} // namespace
} // namespace kovara::core
