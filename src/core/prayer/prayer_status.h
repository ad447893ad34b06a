#pragma once
// A prayer item's status, and the words it is stored as in the prayerStatus
// column of prayers.kova2. The word mapping lives here and nowhere else.
#include <optional>
#include <string>
#include <string_view>

namespace kovara::core {

// The statuses a user gives an item.
enum class PrayerStatus { Active, Answered, Inactive };

// Every status, in the order the lists and tabs show them.
inline constexpr PrayerStatus kPrayerStatuses[] = {PrayerStatus::Active, PrayerStatus::Answered,
                                                   PrayerStatus::Inactive};

// The stored word of status ("Active", "Answered", "Inactive"). Raises for a
// value outside the enumeration.
const char* storedWord(PrayerStatus status);
// The status a stored word names; nothing for "Deleted", an empty (NULL)
// column or a word this program does not know. Exact and case-sensitive.
std::optional<PrayerStatus> statusOfStoredWord(std::string_view word);

// A status column as stored. Besides the three statuses it may hold
// "Deleted" (an item the user deleted), nothing (NULL), or a word another
// program wrote: that word is kept byte for byte, so an item saved again with
// its status unchanged keeps it.
class StoredStatus {
public:
    // An empty column (stored as NULL).
    StoredStatus() = default;
    // One of the three statuses.
    StoredStatus(PrayerStatus status) : word_(storedWord(status)) {}
    // Whatever word the column holds.
    static StoredStatus fromWord(std::string word);
    // The word of a deleted item.
    static StoredStatus deleted();

    // The status the word names, or nothing (deleted, empty, unknown).
    std::optional<PrayerStatus> status() const { return statusOfStoredWord(word_); }
    bool isDeleted() const;
    bool empty() const { return word_.empty(); }
    const std::string& word() const { return word_; }

    bool operator==(PrayerStatus status) const { return this->status() == status; }
    bool operator==(const StoredStatus& other) const = default;

private:
    std::string word_;
};

} // namespace kovara::core
