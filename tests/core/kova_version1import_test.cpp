#include "prayer/kova_version1import.h"

#include "fixtures.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <limits>

namespace kovara {
namespace {

using test::MessageOf;
using test::TempDir;

void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), std::streamsize(bytes.size()));
}

void PutLE(std::string& bytes, std::size_t at, std::uint64_t value, int size)
{
    for (int i = 0; i < size; ++i)
        bytes[at + i] = static_cast<char>(value >> (8 * i));
}

// One 537-byte record; the bytes the reader must not look at hold 0xCC.
std::string Record(double created, unsigned char active, const std::string& title, std::int32_t offset,
                   std::int32_t length)
{
    std::string r(kVersion1PrayerRecordSize, '\xCC');
    std::uint64_t bits;
    std::memcpy(&bits, &created, 8);
    PutLE(r, 0, bits, 8);
    r[40] = static_cast<char>(active);
    r[44] = static_cast<char>(title.size());
    r.replace(45, title.size(), title);
    PutLE(r, 497, static_cast<std::uint32_t>(offset), 4);
    PutLE(r, 501, static_cast<std::uint32_t>(length), 4);
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
    const double created = EncodeDateTime(2005, 6, 7, 8, 9, 10);
    WriteBytes(dir.File("prayerdetails.udt"), details);
    WriteBytes(dir.File("prayeritems.udt"),
               Record(created, 0, "Empty", -7, 0) +                    // no text: offset not used
               Record(0, 1, "Same", helloAt, 5) +                      // creation time unknown
               Record(created + 1, 255, "Same", longAt, 150) +
               Record(created + 2, 1, std::string(255, 'T'), 123456, -3) + // negative length: no text
               Record(created + 3, 0, "\xE9t\xE9", endAt, 5) +
               std::string(100, 'p')); // a trailing partial record is ignored

    TKOVA1PrayerItems items(3);
    TKOVA1PrayerDetails texts(3);
    ASSERT_TRUE(ReadVersion1Prayers(dir.Folder(), items, texts));
    ASSERT_EQ(items.size(), 5u);
    ASSERT_EQ(texts.size(), 5u);
    EXPECT_EQ(items[0].Created, created);
    EXPECT_EQ(items[1].Created, 0);
    EXPECT_EQ(texts[3], "");

    const std::vector<TVersion1Prayer> prayers = Version1Prayers(items, texts);
    struct Expected {
        std::string title;
        const char* status;
        std::string text;
        std::string preview;
    };
    const Expected expected[] = {
        {"Empty", "Inactive", "", ""},
        {"Same", "Active", "Hello", "Hello"},
        {"Same", "Active", long150, std::string(100, 'x')},
        {std::string(255, 'T'), "Active", "", ""},
        {"\xE9t\xE9", "Inactive", "\r\nEnd", "\r\nEnd"},
    };
    ASSERT_EQ(prayers.size(), 5u);
    for (std::size_t i = 0; i < prayers.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(prayers[i].Title, expected[i].title);
        EXPECT_EQ(prayers[i].Topic, "");
        EXPECT_EQ(prayers[i].Status, expected[i].status);
        EXPECT_EQ(prayers[i].Text, expected[i].text);
        EXPECT_EQ(prayers[i].Preview, expected[i].preview);
        EXPECT_EQ(prayers[i].Created, items[i].Created);
    }
}

TEST(Version1PrayersTest, MissingFiles)
{
    TempDir dir;
    TKOVA1PrayerItems items(2);
    TKOVA1PrayerDetails texts(2);
    EXPECT_FALSE(ReadVersion1Prayers(dir.Folder(), items, texts));
    EXPECT_TRUE(items.empty() && texts.empty());

    WriteBytes(dir.File("prayeritems.udt"), Record(1, 1, "A", 0, 0));
    EXPECT_EQ(MessageOf([&] { ReadVersion1Prayers(dir.Folder(), items, texts); }),
              "I/O error reading " + dir.File("prayerdetails.udt") + ": the file cannot be opened");

    // An empty items file is read (there is just nothing in it).
    WriteBytes(dir.File("prayeritems.udt"), "");
    WriteBytes(dir.File("prayerdetails.udt"), "");
    EXPECT_TRUE(ReadVersion1Prayers(dir.Folder(), items, texts));
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
        WriteBytes(dir.File("prayerdetails.udt"), "0123456789");
        // A good record first: nothing of it may come back either.
        WriteBytes(dir.File("prayeritems.udt"), Record(1, 1, "Good", 0, 10) + Record(2, 1, "Bad", c.offset, c.length));
        TKOVA1PrayerItems items;
        TKOVA1PrayerDetails texts;
        EXPECT_EQ(MessageOf([&] { ReadVersion1Prayers(dir.Folder(), items, texts); }),
                  Format("I/O error reading %s: the text of prayer item 2 (%d bytes at offset %d) lies outside the "
                         "file",
                         dir.File("prayerdetails.udt"), c.length, c.offset));
        EXPECT_TRUE(items.empty());
        EXPECT_TRUE(texts.empty());
    }
}

TEST(Version1PlanTest, ReadsOnlyAFileOfExactSizeAndItsDays)
{
    TempDir dir;
    TKOVA1Plan plan;
    EXPECT_FALSE(ReadVersion1Plan(dir.Folder(), plan));

    const double start = EncodeDate(2004, 1, 1);
    std::string bytes(kVersion1PlanFileSize, '\0');
    std::uint64_t bits;
    std::memcpy(&bits, &start, 8);
    PutLE(bytes, 0, bits, 8);
    bytes[7 + 1] = 1;
    bytes[7 + 2] = '\xFF';
    bytes[7 + 364] = 2;
    bytes[372] = 1; // past day 364: not a day
    bytes[486] = 1;

    for (std::size_t size : {486u, 488u}) {
        SCOPED_TRACE(size);
        std::string other = bytes;
        other.resize(size, '\x01');
        WriteBytes(dir.File("plan.udt"), other);
        EXPECT_FALSE(ReadVersion1Plan(dir.Folder(), plan));
    }

    WriteBytes(dir.File("plan.udt"), bytes);
    ASSERT_TRUE(ReadVersion1Plan(dir.Folder(), plan));
    EXPECT_EQ(plan.StartDate, start);
    EXPECT_TRUE(HasVersion1Plan(plan));
    EXPECT_EQ(Version1ReadDays(plan), (std::vector<int>{1, 2, 364}));

    bytes.replace(0, 8, std::string(8, '\0'));
    WriteBytes(dir.File("plan.udt"), bytes);
    ASSERT_TRUE(ReadVersion1Plan(dir.Folder(), plan));
    EXPECT_FALSE(HasVersion1Plan(plan));
}

TEST(Version1ImportDecisionsTest, OfferAndQuestions)
{
    EXPECT_TRUE(ShouldOfferVersion1Import(0, 0));
    EXPECT_FALSE(ShouldOfferVersion1Import(1, 0));
    EXPECT_FALSE(ShouldOfferVersion1Import(0, 1));
    EXPECT_EQ(Version1PrayersQuestion(3),
              "Kovara 2 can import your 3 prayer item(s) from Kovara 1. Would you like to do so?");
    EXPECT_EQ(Version1PlanQuestion("01/02/2004"),
              "Kovara 2 can import your Bible in a Year plan from Kovara 1, started on 01/02/2004. Would you like to "
              "do so?");
}

} // namespace
} // namespace kovara
