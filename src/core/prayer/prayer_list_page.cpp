#include "core/prayer/prayer_list_page.h"

#include "core/base/exception.h"
#include "core/base/html_escape.h"
#include "core/base/translation.h"
#include "core/content/bible_store.h"
#include "core/content/reference_parser.h"

#include <algorithm>
#include <charconv>
#include <functional>

namespace kovara::core {

namespace {

constexpr const char* kContext = "kovara::core::PrayerList";

std::string isoDate(sys_days day)
{
    const std::chrono::year_month_day ymd(day);
    return format("%04d-%02u-%02u", static_cast<int>(ymd.year()), static_cast<unsigned>(ymd.month()),
                  static_cast<unsigned>(ymd.day()));
}

// The verses of one checked passage as plain runs of text, at most limit.
std::string passageText(const PassageRef& passage, const BibleStore& bible, int& left)
{
    const int firstVerse = passage.verse > 0 ? passage.verse : 1;
    const int endChapter = passage.endChapter > 0 ? passage.endChapter : passage.chapter;
    const int lastVerse = passage.endVerse > 0 ? passage.endVerse : bible.chapterLengths(passage.book, endChapter);
    const int first = bible.verseIndex(passage.book, passage.chapter, firstVerse);
    const int last = bible.verseIndex(passage.book, endChapter, lastVerse);
    std::string text;
    for (int index = first; index <= last; ++index) {
        if (left-- <= 0) {
            text += " ...";
            break;
        }
        const VerseData verse = bible.allVerseData(index);
        text += format(" <sup>%d</sup>%s", verse.verse, verse.verseText);
    }
    return text;
}

} // namespace

std::vector<PrayerListItem> loadPrayerList(const PrayerStore& store, sys_days day)
{
    PrayerListStore list(store);
    const ListReading reading(store.connection());
    const std::vector<ListEntry> entries = list.listFor(day);
    std::vector<PrayerListItem> items;
    if (entries.empty())
        return items;

    items.reserve(entries.size());
    for (const ListEntry& entry : entries) {
        PrayerListItem item;
        item.prayerIndex = entry.prayerIndex;
        item.dueSince = entry.dueSince;
        item.prayed = entry.prayed;
        items.push_back(std::move(item));
    }
    // Each listed item is looked up by its key: the list is a few hundred
    // items of a journal that may hold many thousands.
    sqlite3* db = store.connection();
    const std::string noStatement = "loadPrayerList Error: Unable to assign statement";
    auto eachItem = [&](const std::string& sql, const std::function<void(Statement&, PrayerListItem&)>& read) {
        Statement st(db, sql);
        if (!st)
            throw Exception(noStatement);
        st.run([&] {
            for (PrayerListItem& item : items) {
                sqlite3_reset(st.handle());
                st.bindInt(1, item.prayerIndex);
                while (st.step() == SQLITE_ROW)
                    read(st, item);
            }
        });
    };
    eachItem(format("SELECT prayerTitle, prayerTopic FROM '%s' WHERE prayerIndex=?;", PrayerStore::kTableName),
             [](Statement& st, PrayerListItem& item) {
                 item.title = st.columnText(0);
                 item.topic = st.columnText(1);
             });
    eachItem(format("SELECT noteTime, noteText FROM %s WHERE prayerIndex=? ORDER BY noteTime DESC, noteIndex DESC "
                    "LIMIT 1;",
                    PrayerStore::kNoteTable),
             [](Statement& st, PrayerListItem& item) {
                 item.latestNote = PrayerNote{dayOf(fromStoredSeconds(st.columnInt64(0))), st.columnText(1)};
             });
    eachItem(format("SELECT verseReference FROM %s WHERE prayerIndex=? ORDER BY versePosition;",
                    PrayerListStore::kVerseTable),
             [](Statement& st, PrayerListItem& item) { item.verses.push_back(st.columnText(0)); });
    std::stable_sort(items.begin(), items.end(), [](const PrayerListItem& a, const PrayerListItem& b) {
        return a.topic != b.topic ? a.topic < b.topic : a.title < b.title;
    });
    return items;
}

std::string verseHtml(const std::string& reference, const BibleStore* bible, int maxVerses)
{
    if (!bible)
        return htmlEscape(reference);
    const ReferenceResult parsed = parseReference(reference, *bible);
    if (!parsed.ok)
        return htmlEscape(reference);
    return format("<a href=\"%s\">%s</a>", passageLink(parsed.passage), htmlEscape(reference)) +
           verseTextHtml(reference, *bible, maxVerses);
}

std::string verseTextHtml(const std::string& reference, const BibleStore& bible, int maxVerses)
{
    const ReferenceResult parsed = parseReference(reference, bible);
    if (!parsed.ok)
        return {};
    int left = maxVerses;
    BibleStore::ReadSession session(bible);
    std::string html = passageText(parsed.passage, bible, left);
    for (const PassageRef& more : parsed.more)
        if (left > 0)
            html += passageText(more, bible, left);
    return html;
}

std::optional<std::string> attachableReference(const std::string& typed, const BibleStore& bible,
                                               std::string& error)
{
    const auto first = typed.find_first_not_of(" \t\r\n");
    const std::string trimmed =
        first == std::string::npos ? std::string() : typed.substr(first, typed.find_last_not_of(" \t\r\n") - first + 1);
    const ReferenceResult parsed = parseReference(trimmed, bible);
    if (!parsed.ok) {
        error = parsed.error;
        return std::nullopt;
    }
    error.clear();
    if (!parsed.more.empty())
        return trimmed;
    // The Bible's own words, when they read back as the same passage (a
    // Bible whose book names the parser does not know keeps what was typed).
    const std::string named = referenceText(parsed.passage, bible);
    const ReferenceResult again = parseReference(named, bible);
    return again.ok && again.more.empty() && passageLink(again.passage) == passageLink(parsed.passage) ? named
                                                                                                       : trimmed;
}

std::string prayerListHtml(const std::vector<PrayerListItem>& items, sys_days day,
                           const PrayerListPageOptions& options)
{
    const auto dateText = [&](sys_days d) { return options.dateText ? options.dateText(d) : isoDate(d); };
    std::string page;
    if (items.empty())
        return "<p>" + translatedText(kContext, "Nothing comes up on this day.") + "</p>";

    const std::string noTopic = translatedText(kContext, "Without a topic");
    bool first = true;
    std::string topic;
    for (const PrayerListItem& item : items) {
        if (first || item.topic != topic) {
            if (!first)
                page += "</ul>\r\n";
            topic = item.topic;
            page += format("<p><b><u>%s</u></b></p>\r\n<ul>\r\n", htmlEscape(topic.empty() ? noTopic : topic));
            first = false;
        }
        page += format("<li><b>%s</b>", htmlEscape(item.title.empty() ? std::string("?") : item.title));
        if (item.dueSince < day)
            page += " <i>" + htmlEscape(withArgs(translatedText(kContext, "(due since %1)"), dateText(item.dueSince))) +
                    "</i>";
        if (options.withActions) {
            if (item.prayed)
                page += format(" &mdash; %s <a href=\"%s%d\">%s</a>", translatedText(kContext, "Prayed."),
                               kLinkUnprayPrefix, item.prayerIndex, translatedText(kContext, "Undo"));
            else
                page += format(" &mdash; <a href=\"%s%d\">%s</a> | <a href=\"%s%d\">%s</a>", kLinkPrayedPrefix,
                               item.prayerIndex, translatedText(kContext, "Prayed"), kLinkNotTodayPrefix,
                               item.prayerIndex, translatedText(kContext, "Not today"));
        }
        if (item.latestNote)
            page += format("<br><font size=\"-1\">%s: %s</font>", htmlEscape(dateText(item.latestNote->noteTime)),
                           htmlEscape(item.latestNote->noteText));
        for (const std::string& reference : item.verses)
            page += "<br><font size=\"-1\">" + verseHtml(reference, options.bible) + "</font>";
        page += "</li>\r\n";
    }
    page += "</ul>\r\n";
    return page;
}

std::string prayerListSection(const PrayerStore& store, sys_days today,
                               const std::function<std::string(sys_days)>& dateText)
{
    if (!PrayerListStore(store).exists())
        return {};
    std::vector<PrayerListItem> items = loadPrayerList(store, today);
    std::erase_if(items, [](const PrayerListItem& item) { return item.prayed; });
    std::string html = "<p>" +
                       withArgs(translatedText(kContext, "<a href=\"%1\">Pray today</a>:"), kLinkPrayToday) +
                       "</p>\r\n";
    if (items.empty())
        return html + "<p>" + translatedText(kContext, "You have prayed for everything on today's list.") + "</p>\r\n";
    PrayerListPageOptions options;
    options.withActions = false;
    options.dateText = dateText;
    return html + prayerListHtml(items, today, options);
}

std::optional<std::int32_t> prayerLinkIndex(const std::string& link, const char* prefix)
{
    const std::string_view p(prefix);
    if (link.compare(0, p.size(), p) != 0)
        return std::nullopt;
    std::int32_t index = 0;
    const char* begin = link.data() + p.size();
    const char* end = link.data() + link.size();
    const auto [rest, error] = std::from_chars(begin, end, index);
    if (error != std::errc() || rest != end || begin == end)
        return std::nullopt;
    return index;
}

} // namespace kovara::core
