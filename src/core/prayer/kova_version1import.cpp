#include "prayer/kova_version1import.h"

#include <bit>
#include <filesystem>
#include <fstream>

namespace kovara {

namespace {

namespace fs = std::filesystem;

std::uint64_t GetLE(const unsigned char* at, int bytes)
{
    std::uint64_t value = 0;
    for (int i = 0; i < bytes; ++i)
        value |= static_cast<std::uint64_t>(at[i]) << (8 * i);
    return value;
}

double DoubleAt(const unsigned char* at) { return std::bit_cast<double>(GetLE(at, 8)); }

std::int32_t Int32At(const unsigned char* at)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(GetLE(at, 4)));
}

// Size of a regular file, or -1 when there is none at the path.
std::int64_t RegularFileSize(const std::string& path)
{
    std::error_code ec;
    if (!fs::is_regular_file(path, ec))
        return -1;
    const auto size = fs::file_size(path, ec);
    return ec ? -1 : static_cast<std::int64_t>(size);
}

TKOVA1PrayerItem DecodePrayerItem(const unsigned char* record)
{
    TKOVA1PrayerItem item;
    item.Created = DoubleAt(record);
    item.Active = record[40];
    const int titleLength = record[44];
    item.Title.assign(reinterpret_cast<const char*>(record + 45), static_cast<std::size_t>(titleLength));
    item.TextOffset = Int32At(record + 497);
    item.TextLength = Int32At(record + 501);
    return item;
}

} // namespace

bool ReadVersion1Prayers(const std::string& folder, TKOVA1PrayerItems& items, TKOVA1PrayerDetails& texts)
{
    items.clear();
    texts.clear();
    const std::string itemsPath = folder + "prayeritems.udt";
    const std::string detailsPath = folder + "prayerdetails.udt";
    std::error_code ec;
    if (!fs::exists(itemsPath, ec))
        return false;

    const std::int64_t itemsSize = RegularFileSize(itemsPath);
    std::ifstream itemsFile(itemsPath, std::ios::binary);
    if (itemsSize < 0 || !itemsFile)
        throw EInOutError(Format("I/O error reading %s: the file cannot be opened", itemsPath));
    const std::int64_t detailsSize = RegularFileSize(detailsPath);
    std::ifstream details(detailsPath, std::ios::binary);
    if (detailsSize < 0 || !details)
        throw EInOutError(Format("I/O error reading %s: the file cannot be opened", detailsPath));

    // Read into locals so that a failure part way leaves the caller's arrays
    // empty. The record count comes from the file's size, so reserving it
    // never asks for more than the file holds.
    const std::int64_t count = itemsSize / kVersion1PrayerRecordSize;
    TKOVA1PrayerItems readItems;
    TKOVA1PrayerDetails readTexts;
    readItems.reserve(static_cast<std::size_t>(count));
    readTexts.reserve(static_cast<std::size_t>(count));
    unsigned char record[kVersion1PrayerRecordSize];
    for (std::int64_t i = 0; i < count; ++i) {
        if (!itemsFile.read(reinterpret_cast<char*>(record), sizeof record))
            throw EInOutError(Format("I/O error reading %s: read beyond end of file", itemsPath));
        TKOVA1PrayerItem item = DecodePrayerItem(record);
        std::string text;
        if (item.TextLength > 0) {
            const std::int64_t offset = item.TextOffset, length = item.TextLength;
            if (offset < 0 || offset > detailsSize || length > detailsSize - offset)
                throw EInOutError(Format("I/O error reading %s: the text of prayer item %d (%d bytes at offset %d) "
                                         "lies outside the file",
                                         detailsPath, i + 1, length, offset));
            text.resize(static_cast<std::size_t>(length));
            details.seekg(offset);
            if (!details.read(text.data(), length))
                throw EInOutError(Format("I/O error reading %s: read beyond end of file", detailsPath));
        }
        readItems.push_back(std::move(item));
        readTexts.push_back(std::move(text));
    }
    items.swap(readItems);
    texts.swap(readTexts);
    return true;
}

bool ReadVersion1Plan(const std::string& folder, TKOVA1Plan& plan)
{
    const std::string path = folder + "plan.udt";
    if (RegularFileSize(path) != kVersion1PlanFileSize)
        return false;
    unsigned char bytes[kVersion1PlanFileSize];
    std::ifstream file(path, std::ios::binary);
    if (!file.read(reinterpret_cast<char*>(bytes), sizeof bytes))
        throw EInOutError(Format("I/O error reading %s", path));
    plan.StartDate = DoubleAt(bytes);
    for (int d = 1; d <= kVersion1PlanDays; ++d)
        plan.DayFlags[static_cast<std::size_t>(d - 1)] = bytes[7 + d];
    return true;
}

bool ShouldOfferVersion1Import(int prayerCount, int planCount)
{
    return prayerCount < 1 && planCount < 1;
}

std::string Version1PrayersQuestion(int count)
{
    return Format("Kovara 2 can import your %d prayer item(s) from Kovara 1. Would you like to do so?", count);
}

bool HasVersion1Plan(const TKOVA1Plan& plan)
{
    return plan.StartDate != 0;
}

std::string Version1PlanQuestion(const std::string& startDate)
{
    return Format("Kovara 2 can import your Bible in a Year plan from Kovara 1, started on %s. Would you like to do so?",
                  startDate);
}

std::string Version1Status(const TKOVA1PrayerItem& item)
{
    return item.Active != 0 ? "Active" : "Inactive";
}

std::vector<TVersion1Prayer> Version1Prayers(const TKOVA1PrayerItems& items, const TKOVA1PrayerDetails& texts)
{
    std::vector<TVersion1Prayer> result;
    result.reserve(items.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        const std::string& text = i < texts.size() ? texts[i] : std::string();
        result.push_back(TVersion1Prayer{items[i].Title, std::string(), Version1Status(items[i]), items[i].Created,
                                         text, text.substr(0, 100)});
    }
    return result;
}

std::vector<int> Version1ReadDays(const TKOVA1Plan& plan)
{
    std::vector<int> days;
    for (int d = 1; d <= kVersion1PlanDays; ++d)
        if (plan.DayFlags[static_cast<std::size_t>(d - 1)] != 0)
            days.push_back(d);
    return days;
}

} // namespace kovara
