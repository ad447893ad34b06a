// The previous version's data files: prayeritems.udt, prayerdetails.udt and
// plan.udt, cut out of one input. Bad files may raise InOutError (then both
// arrays are empty) but never read outside what the files hold.
//
// Input layout: byte 0 says which files exist (bit 0 items, bit 1 details,
// bit 2 plan); bytes 1-2 (little-endian) the length of the items file, bytes
// 3-4 that of the details file; then the items, the details, and the plan
// file (the rest).
#include "fuzz_support.h"
#include "core/prayer/version1_reader.h"

#include <algorithm>

using namespace kovara::core;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 5)
        return 0;
    const unsigned present = data[0];
    std::size_t itemsLength = data[1] | (data[2] << 8);
    std::size_t detailsLength = data[3] | (data[4] << 8);
    const std::uint8_t* p = data + 5;
    const std::uint8_t* end = data + size;
    itemsLength = std::min<std::size_t>(itemsLength, static_cast<std::size_t>(end - p));
    const std::uint8_t* items = p;
    p += itemsLength;
    detailsLength = std::min<std::size_t>(detailsLength, static_cast<std::size_t>(end - p));
    const std::uint8_t* details = p;
    p += detailsLength;

    const std::string folder = fuzz::scratchFolder();
    const auto place = [&](const char* name, bool there, const std::uint8_t* bytes, std::size_t length) {
        if (there)
            fuzz::writeFile(folder + name, bytes, length);
        else
            fuzz::removeFile(folder + name);
    };
    place("prayeritems.udt", present & 1, items, itemsLength);
    place("prayerdetails.udt", present & 2, details, detailsLength);
    place("plan.udt", present & 4, p, static_cast<std::size_t>(end - p));

    Version1PrayerItems readItems(3);
    Version1PrayerDetails readTexts(2);
    try {
        const bool found = readVersion1Prayers(folder, readItems, readTexts);
        fuzz::expect(found == static_cast<bool>(present & 1), "items file presence misreported");
        fuzz::expect(readItems.size() == itemsLength / kVersion1PrayerRecordSize || !found, "wrong record count");
        fuzz::expect(readTexts.size() == readItems.size(), "one text per item");
        for (const Version1PrayerItem& item : readItems)
            fuzz::expect(item.title.size() <= 255, "title longer than its field");
        for (const Version1Prayer& prayer : version1Prayers(readItems, readTexts))
            fuzz::expect(prayer.preview.size() <= 100 && prayer.text.rfind(prayer.preview, 0) == 0,
                         "preview is not the start of the text");
    } catch (const InOutError&) {
        fuzz::expect(readItems.empty() && readTexts.empty(), "arrays not emptied after an error");
    }

    Version1Plan plan;
    const bool planRead = readVersion1Plan(folder, plan);
    fuzz::expect(planRead == ((present & 4) && static_cast<std::size_t>(end - p) == kVersion1PlanFileSize),
                 "plan read from a file that is not 487 bytes, or not read from one that is");
    for (int day : version1ReadDays(plan))
        fuzz::expect(day >= 1 && day <= kVersion1PlanDays, "read day outside the plan");
    return 0;
}
