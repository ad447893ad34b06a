#pragma once
// Reading the previous major version's data files, and the decisions of its
// one-time import that need no store: whether to offer it, the questions, the
// status of each item, the plan's template, title and read days.
//
// The files, all little-endian, neither compressed nor enciphered:
//   prayeritems.udt    records of 537 bytes, no header (a trailing partial
//                      record is ignored): 0 creation date-time (double),
//                      40 active flag (byte), 44 title (length byte, then up
//                      to 255 bytes), 497 text offset (int32) and 501 text
//                      length (int32) into prayerdetails.udt
//   prayerdetails.udt  the items' texts, byte for byte
//   plan.udt           exactly 487 bytes: 0 start date (double, 0 = no plan),
//                      byte 7 + d the read flag of day d (1 to 364)
// The old files are only read, never changed.
#include "base/datetime.h"
#include "base/exception.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace kovara {

// An input/output failure while reading the old files: a missing
// prayerdetails.udt, an item whose text lies outside it, a failing read.
class EInOutError : public Exception {
public:
    using Exception::Exception;
};

constexpr int kVersion1PrayerRecordSize = 537;
constexpr int kVersion1PlanFileSize = 487;
constexpr int kVersion1PlanDays = 364;

struct TKOVA1PrayerItem {
    TDateTime Created = 0;    // 0 when the old program kept none
    std::uint8_t Active = 0;  // 0 = not active, anything else = active
    std::string Title;        // 8-bit text, byte for byte
    std::int32_t TextOffset = 0;
    std::int32_t TextLength = 0; // 0 or less: no text
};
using TKOVA1PrayerItems = std::vector<TKOVA1PrayerItem>;
// Entry i is item i's text (empty when it has none).
using TKOVA1PrayerDetails = std::vector<std::string>;

struct TKOVA1Plan {
    TDateTime StartDate = 0; // 0: there is no plan
    // DayFlags[d - 1] is day d's flag: 0 = not read.
    std::array<std::uint8_t, kVersion1PlanDays> DayFlags{};
};

// Empties both arrays. Returns false when folder + "prayeritems.udt" does not
// exist; otherwise reads every record and its text and returns true. folder
// ends with a path separator. Raises EInOutError when prayerdetails.udt is
// missing or cannot be read, or an item's text offset and length do not lie
// inside it; then both arrays are left empty. No allocation is larger than
// the file it is read from.
bool ReadVersion1Prayers(const std::string& folder, TKOVA1PrayerItems& items, TKOVA1PrayerDetails& texts);

// Returns false when folder + "plan.udt" does not exist or is not exactly
// 487 bytes; otherwise reads the record and returns true. Raises EInOutError
// when the file exists with the right size but cannot be read.
bool ReadVersion1Plan(const std::string& folder, TKOVA1Plan& plan);

// ---- the import's decisions

// The import is offered only to a user with no prayer items and no plans.
bool ShouldOfferVersion1Import(int prayerCount, int planCount);

// The question before the items are imported (count is the record count).
std::string Version1PrayersQuestion(int count);

// Whether there is a plan to offer: read, and with a start date.
bool HasVersion1Plan(const TKOVA1Plan& plan);

// The question before the plan is imported; startDate is already in the
// user's short date format.
std::string Version1PlanQuestion(const std::string& startDate);

// One old item as it goes into the prayer store.
struct TVersion1Prayer {
    std::string Title;
    std::string Topic;   // always empty: the old program had none
    std::string Status;  // "Active" or "Inactive"
    TDateTime Created;   // 0 means "now" to the store
    std::string Text;    // the plain text, made into a rich-text document by the UI
    std::string Preview; // the first 100 bytes of the text as they stand
};

// "Active" for a set flag, "Inactive" otherwise.
std::string Version1Status(const TKOVA1PrayerItem& item);

// The items in file order, as they go into the store. texts has one entry
// per item (as ReadVersion1Prayers returns them).
std::vector<TVersion1Prayer> Version1Prayers(const TKOVA1PrayerItems& items, const TKOVA1PrayerDetails& texts);

// The template, title and read days of the imported plan.
constexpr const char* kVersion1PlanTemplate = "sevenTypes";
constexpr const char* kVersion1PlanTitle = "Bible in a Year";
// The days (1 to 364, ascending) whose flag is set.
std::vector<int> Version1ReadDays(const TKOVA1Plan& plan);

} // namespace kovara
