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
#include "core/base/datetime.h"
#include "core/base/exception.h"
#include "core/prayer/prayer_status.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kovara::core {

// An input/output failure while reading the old files: a missing
// prayerdetails.udt, an item whose text lies outside it, a failing read.
class InOutError : public Exception {
public:
    using Exception::Exception;
};

constexpr int kVersion1PrayerRecordSize = 537;
constexpr int kVersion1PlanFileSize = 487;
constexpr int kVersion1PlanDays = 364;

struct Version1PrayerItem {
    std::optional<sys_seconds> created; // none when the file holds 0 (the old program kept none)
    std::uint8_t Active = 0;  // 0 = not active, anything else = active
    std::string title;        // 8-bit text, byte for byte
    std::int32_t textOffset = 0;
    std::int32_t textLength = 0; // 0 or less: no text
};
using Version1PrayerItems = std::vector<Version1PrayerItem>;
// Entry i is item i's text (empty when it has none).
using Version1PrayerDetails = std::vector<std::string>;

struct Version1Plan {
    std::optional<sys_seconds> startDate; // none when the file holds 0: there is no plan
    // dayFlags[d - 1] is day d's flag: 0 = not read.
    std::array<std::uint8_t, kVersion1PlanDays> dayFlags{};
};

// Empties both arrays. Returns false when folder + "prayeritems.udt" does not
// exist; otherwise reads every record and its text and returns true. folder
// ends with a path separator. Raises InOutError when prayerdetails.udt is
// missing or cannot be read, or an item's text offset and length do not lie
// inside it; then both arrays are left empty. No allocation is larger than
// the file it is read from.
bool readVersion1Prayers(const std::string& folder, Version1PrayerItems& items, Version1PrayerDetails& texts);

// Returns false when folder + "plan.udt" does not exist or is not exactly
// 487 bytes; otherwise reads the record and returns true. Raises InOutError
// when the file exists with the right size but cannot be read.
bool readVersion1Plan(const std::string& folder, Version1Plan& plan);

// ---- the import's decisions

// The import is offered only to a user with no prayer items and no plans.
bool shouldOfferVersion1Import(int prayerCount, int planCount);

// The question before the items are imported (count is the record count).
std::string version1PrayersQuestion(int count);

// Whether there is a plan to offer: read, and with a start date.
bool hasVersion1Plan(const Version1Plan& plan);

// The question before the plan is imported; startDate is already in the
// user's short date format.
std::string version1PlanQuestion(const std::string& startDate);

// One old item as it goes into the prayer store.
struct Version1Prayer {
    std::string title;
    std::string topic;   // always empty: the old program had none
    PrayerStatus status; // Active or Inactive
    std::optional<sys_seconds> created; // none: "now" to the store
    std::string text;    // the plain text, made into a rich-text document by the UI
    std::string preview; // the first 100 bytes of the text as they stand
};

// Active for a set flag, Inactive otherwise.
PrayerStatus version1Status(const Version1PrayerItem& item);

// The items in file order, as they go into the store. texts has one entry
// per item (as readVersion1Prayers returns them).
std::vector<Version1Prayer> version1Prayers(const Version1PrayerItems& items, const Version1PrayerDetails& texts);

// The template, title and read days of the imported plan.
constexpr const char* kVersion1PlanTemplate = "sevenTypes";
constexpr const char* kVersion1PlanTitle = "Bible in a Year";
// The days (1 to 364, ascending) whose flag is set.
std::vector<int> version1ReadDays(const Version1Plan& plan);

} // namespace kovara::core
