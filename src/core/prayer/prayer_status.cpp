#include "core/prayer/prayer_status.h"

#include "core/base/exception.h"

namespace kovara::core {

namespace {
// What a deleted item's column holds; never one of the statuses a user gives.
constexpr const char* kDeletedWord = "Deleted";
} // namespace

const char* storedWord(PrayerStatus status)
{
    switch (status) {
    case PrayerStatus::Active:
        return "Active";
    case PrayerStatus::Answered:
        return "Answered";
    case PrayerStatus::Inactive:
        return "Inactive";
    }
    throw Exception(format("unknown status %d", static_cast<int>(status)));
}

std::optional<PrayerStatus> statusOfStoredWord(std::string_view word)
{
    for (const PrayerStatus status : kPrayerStatuses)
        if (word == storedWord(status))
            return status;
    return std::nullopt;
}

StoredStatus StoredStatus::fromWord(std::string word)
{
    StoredStatus stored;
    stored.word_ = std::move(word);
    return stored;
}

StoredStatus StoredStatus::deleted()
{
    return fromWord(kDeletedWord);
}

bool StoredStatus::isDeleted() const
{
    return word_ == kDeletedWord;
}

} // namespace kovara::core
