#pragma once
// The user data the benchmarks run on, made from the shipped Bible text so
// that prayer texts read (and compress) like real writing: prayer databases
// of any size and plan databases of any number of one-year plans.
#include "core/base/datetime.h"
#include "core/base/exception.h"
#include "core/content/bible_store.h"
#include "core/db/sqlite_db.h"
#include "core/plans/plan_store.h"
#include "core/prayer/prayer_store.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kovara::core::bench {

// The text of the first count verses of bible (markup dropped), for filler.
inline std::vector<std::string> verseTexts(const BibleStore& bible, int count)
{
    std::vector<std::string> texts;
    texts.reserve(count);
    for (int v = 1; v <= count; ++v) {
        std::string text;
        bool inTag = false;
        for (char c : bible.allVerseData(v).verseText) {
            if (c == '<')
                inTag = true;
            else if (c == '>')
                inTag = false;
            else if (!inTag && c != '{' && c != '}' && c != '\\')
                text += c;
        }
        texts.push_back(std::move(text));
    }
    return texts;
}

// A prayer text of about bytes bytes in the form the editor stores: RTF with a
// font table, a bold opening line and paragraphs of verse text.
inline std::string prayerRtf(const std::vector<std::string>& verses, std::size_t& next, std::size_t bytes)
{
    std::string rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}"
                      "{\\colortbl ;\\red0\\green0\\blue128;}\\f0\\fs20 {\\b\\cf1 Lord, hear my prayer.}\\par ";
    while (rtf.size() < bytes) {
        rtf += verses[next++ % verses.size()];
        rtf += (next % 4 == 0) ? "\\par " : " ";
    }
    return rtf + "\\par }";
}

// Fills a new prayers database at path with count items, each with a text of
// about textBytes bytes, over 24 topics (every seventh item has none) and the
// three live statuses. The store makes the schema; the rows go in in one
// transaction, so making 20 MB takes a second rather than a minute.
inline void makePrayerDatabase(const std::string& path, const BibleStore& bible, int count, std::size_t textBytes)
{
    { PrayerStore schema(path); }
    const std::vector<std::string> verses = verseTexts(bible, 3000);
    sqlite3* db = nullptr;
    openDatabase(path, db);
    try {
        execSQL(db, "BEGIN;");
        std::size_t next = 0;
        const std::int64_t start = toStoredSeconds(makeMoment(2020, 1, 1, 8, 0, 0));
        for (int i = 1; i <= count; ++i) {
            Statement st(db, "INSERT INTO prayerTracker (prayerTitle, prayerTopic, prayerTextData, prayerStatus, "
                             "createTime, lastEditTime, previewText) VALUES (?,?,?,?,?,?,?);");
            const std::string text = prayerRtf(verses, next, textBytes);
            st.run([&] {
                st.bindText(1, "Prayer item " + std::to_string(i));
                st.bindText(2, i % 7 == 0 ? std::string() : "Topic " + std::to_string(i % 24));
                st.bindBlob(3, text.data(), static_cast<int>(text.size()));
                st.bindText(4, storedWord(kPrayerStatuses[i % 3]));
                st.bindInt64(5, start + i * 3600);
                st.bindInt64(6, start + i * 3600 + 60);
                st.bindText(7, verses[i % verses.size()].substr(0, 80));
                st.step();
            });
        }
        execSQL(db, "COMMIT;");
    } catch (...) {
        closeDatabase(db);
        throw;
    }
    closeDatabase(db);
}

// Adds count plans to the plan database at path, each one year of the shipped
// otntDaily template, started on staggered dates so that some are behind.
inline void makePlanDatabase(const std::string& path, const std::string& programFolder, int count,
                             const Clock& clock)
{
    const auto year = loadTemplateVerses(programFolder + "readplans.kova2", "otntDaily");
    PlanStore plans(path, clock);
    for (int p = 1; p <= count; ++p) {
        const PlanId added = plans.addPlan("Plan " + std::to_string(p), year, clock.today() - std::chrono::days(7 * p));
        if (const std::optional<int> plan = plans.indexOf(added))
            plans.markDaysDoneThrough(*plan, 3 * p);
    }
}

} // namespace kovara::core::bench
