#pragma once
// The prayer list of a day as a page: the items that come up, grouped by
// topic, each with its latest note and the verses attached to it (with their
// text and a link that opens them on the Bible page), and, on the list's own
// page, the links that mark an item prayed for, undo that, or put it off.
#include "core/prayer/prayer_list_store.h"
#include "core/prayer/prayer_store.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kovara::core {

class BibleStore;

// Links of the list's own page, each followed by the item's index.
inline constexpr const char* kLinkPrayedPrefix = "prayer:prayed/";
inline constexpr const char* kLinkUnprayPrefix = "prayer:undo/";
inline constexpr const char* kLinkNotTodayPrefix = "prayer:later/";
// The welcome page's link to the list's own page.
inline constexpr const char* kLinkPrayToday = "prayer:today";

struct PrayerListItem {
    std::int32_t prayerIndex = 0;
    std::string title;
    std::string topic;
    std::optional<PrayerNote> latestNote;
    std::vector<std::string> verses; // references as typed
    sys_days dueSince{};
    bool prayed = false;
};

// The items on day's list with what the page shows of them, ordered by topic
// (no topic first) and title, byte-wise as the tracker orders them. A few
// queries whatever the number of items. Empty while the list's tables are
// missing.
std::vector<PrayerListItem> loadPrayerList(const PrayerStore& store, sys_days day);

// A verse reference as the page shows it: the link that opens it and its
// text, at most maxVerses verses ("..." after them). A reference the Bible
// cannot read is shown as typed, without text.
std::string verseHtml(const std::string& reference, const BibleStore* bible, int maxVerses = 6);
// The text alone of a reference's verses as HTML (verse numbers raised), at
// most maxVerses; empty when the Bible cannot read the reference.
std::string verseTextHtml(const std::string& reference, const BibleStore& bible, int maxVerses = 6);

// What is kept of a reference typed to go with a prayer: the reference in the
// Bible's own words ("jn3:16" gives "John 3:16"; a list, or a passage whose
// name in that Bible the parser cannot read back, stays as typed with its
// blanks trimmed), or nothing with error set to the parser's message.
std::optional<std::string> attachableReference(const std::string& typed, const BibleStore& bible,
                                               std::string& error);

struct PrayerListPageOptions {
    bool withActions = true;          // the Prayed / Not today links
    const BibleStore* bible = nullptr; // for the verses' text; none: references only
    std::function<std::string(sys_days)> dateText; // none: YYYY-MM-DD
};

// The HTML of the list (user text escaped).
std::string prayerListHtml(const std::vector<PrayerListItem>& items, sys_days day,
                           const PrayerListPageOptions& options);

// The welcome page's section: today's list without the item commands, with a
// link to the list's page. Empty while the list's tables are missing (a
// reader who never used the list sees the page as before).
std::string prayerListSection(const PrayerStore& store, sys_days today,
                              const std::function<std::string(sys_days)>& dateText = {});

// The index that a link of the list's page names after prefix, or nothing.
std::optional<std::int32_t> prayerLinkIndex(const std::string& link, const char* prefix);

} // namespace kovara::core
