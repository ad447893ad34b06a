#include "core/prayer/version1_reader.h"

#include "core/base/files.h"
#include "core/base/little_endian.h"
#include "core/base/translation.h"

#include <bit>
#include <filesystem>
#include <fstream>

namespace kovara::core {

namespace {

namespace fs = std::filesystem;

double doubleAt(const unsigned char* at) { return std::bit_cast<double>(littleEndian(at, 8)); }

// A moment the old program kept as a day count; 0 meant none.
std::optional<sys_seconds> momentAt(const unsigned char* at)
{
    const double days = doubleAt(at);
    if (days == 0)
        return std::nullopt;
    return fromDayCount(days);
}

std::int32_t int32At(const unsigned char* at)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(littleEndian(at, 4)));
}

// Size of a regular file, or -1 when there is none at the path.
std::int64_t regularFileSize(const std::string& path)
{
    if (!fileExists(path))
        return -1;
    std::error_code ec;
    const auto size = fs::file_size(path, ec);
    return ec ? -1 : static_cast<std::int64_t>(size);
}

Version1PrayerItem decodePrayerItem(const unsigned char* record)
{
    Version1PrayerItem item;
    item.created = momentAt(record);
    item.Active = record[40];
    const int titleLength = record[44];
    item.title.assign(reinterpret_cast<const char*>(record + 45), static_cast<std::size_t>(titleLength));
    item.textOffset = int32At(record + 497);
    item.textLength = int32At(record + 501);
    return item;
}

} // namespace

bool readVersion1Prayers(const std::string& folder, Version1PrayerItems& items, Version1PrayerDetails& texts)
{
    items.clear();
    texts.clear();
    const std::string itemsPath = folder + "prayeritems.udt";
    const std::string detailsPath = folder + "prayerdetails.udt";
    if (!pathExists(itemsPath))
        return false;

    const std::int64_t itemsSize = regularFileSize(itemsPath);
    std::ifstream itemsFile(itemsPath, std::ios::binary);
    if (itemsSize < 0 || !itemsFile)
        throw InOutError(format("I/O error reading %s: the file cannot be opened", itemsPath));
    const std::int64_t detailsSize = regularFileSize(detailsPath);
    std::ifstream details(detailsPath, std::ios::binary);
    if (detailsSize < 0 || !details)
        throw InOutError(format("I/O error reading %s: the file cannot be opened", detailsPath));

    // Read into locals so that a failure part way leaves the caller's arrays
    // empty. The record count comes from the file's size, so reserving it
    // never asks for more than the file holds.
    const std::int64_t count = itemsSize / kVersion1PrayerRecordSize;
    Version1PrayerItems readItems;
    Version1PrayerDetails readTexts;
    readItems.reserve(static_cast<std::size_t>(count));
    readTexts.reserve(static_cast<std::size_t>(count));
    unsigned char record[kVersion1PrayerRecordSize];
    for (std::int64_t i = 0; i < count; ++i) {
        if (!itemsFile.read(reinterpret_cast<char*>(record), sizeof record))
            throw InOutError(format("I/O error reading %s: read beyond end of file", itemsPath));
        Version1PrayerItem item = decodePrayerItem(record);
        std::string text;
        if (item.textLength > 0) {
            const std::int64_t offset = item.textOffset, length = item.textLength;
            if (offset < 0 || offset > detailsSize || length > detailsSize - offset)
                throw InOutError(format("I/O error reading %s: the text of prayer item %d (%d bytes at offset %d) "
                                         "lies outside the file",
                                         detailsPath, i + 1, length, offset));
            text.resize(static_cast<std::size_t>(length));
            details.seekg(offset);
            if (!details.read(text.data(), length))
                throw InOutError(format("I/O error reading %s: read beyond end of file", detailsPath));
        }
        readItems.push_back(std::move(item));
        readTexts.push_back(std::move(text));
    }
    items.swap(readItems);
    texts.swap(readTexts);
    return true;
}

bool readVersion1Plan(const std::string& folder, Version1Plan& plan)
{
    const std::string path = folder + "plan.udt";
    if (regularFileSize(path) != kVersion1PlanFileSize)
        return false;
    unsigned char bytes[kVersion1PlanFileSize];
    std::ifstream file(path, std::ios::binary);
    if (!file.read(reinterpret_cast<char*>(bytes), sizeof bytes))
        throw InOutError(format("I/O error reading %s", path));
    plan.startDate = momentAt(bytes);
    for (int d = 1; d <= kVersion1PlanDays; ++d)
        plan.dayFlags[static_cast<std::size_t>(d - 1)] = bytes[7 + d];
    return true;
}

bool shouldOfferVersion1Import(int prayerCount, int planCount)
{
    return prayerCount < 1 && planCount < 1;
}

std::string version1PrayersQuestion(int count)
{
    return withArgs(translatedText("kovara::core::Version1Reader", "Kovara 2 can import your %1 prayer item(s) from Kovara 1. Would you like to do so?"), count);
}

bool hasVersion1Plan(const Version1Plan& plan)
{
    return plan.startDate.has_value();
}

std::string version1PlanQuestion(const std::string& startDate)
{
    return withArgs(translatedText("kovara::core::Version1Reader", "Kovara 2 can import your Bible in a Year plan from Kovara 1, started on %1. Would you like to do so?"),
                  startDate);
}

PrayerStatus version1Status(const Version1PrayerItem& item)
{
    return item.Active != 0 ? PrayerStatus::Active : PrayerStatus::Inactive;
}

std::vector<Version1Prayer> version1Prayers(const Version1PrayerItems& items, const Version1PrayerDetails& texts)
{
    std::vector<Version1Prayer> result;
    result.reserve(items.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        const std::string& text = i < texts.size() ? texts[i] : std::string();
        result.push_back(Version1Prayer{items[i].title, std::string(), version1Status(items[i]), items[i].created,
                                         text, text.substr(0, 100)});
    }
    return result;
}

std::vector<int> version1ReadDays(const Version1Plan& plan)
{
    std::vector<int> days;
    for (int d = 1; d <= kVersion1PlanDays; ++d)
        if (plan.dayFlags[static_cast<std::size_t>(d - 1)] != 0)
            days.push_back(d);
    return days;
}

} // namespace kovara::core
