#include "readplans.h"

#include "output_db.h"

#include "core/content/bible_store.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace kovara::mkdata {

using namespace kovara::core;

namespace {

constexpr int kTestaments = 39; // books 1-39 are the Old Testament
constexpr int kWeeks = 52;
constexpr int kOtNtDays = 365;

// A stretch of consecutive verse indices.
struct Span {
    int first;
    int last;
    int size() const { return last - first + 1; }
};

// Every chapter of the Bible as its verse-index span, per book (1-based).
std::vector<std::vector<Span>> chapterSpans(const BibleStore& bible)
{
    std::vector<std::vector<Span>> books(67);
    int next = 1;
    for (int book = 1; book <= 66; ++book) {
        const int chapters = bible.chapterCount(book);
        if (chapters <= 0)
            throw Exception(format("Book %d has no chapters in the Bible file", book));
        for (int chapter = 1; chapter <= chapters; ++chapter) {
            const int length = bible.chapterLengths(book, chapter);
            if (length <= 0)
                throw Exception(format("Book %d chapter %d has no verses in the Bible file", book, chapter));
            if (bible.verseIndex(book, chapter, 1) != next)
                throw Exception(format("Verse indices of book %d chapter %d are not consecutive", book, chapter));
            books[static_cast<std::size_t>(book)].push_back({next, next + length - 1});
            next += length;
        }
    }
    return books;
}

// Writes spans as a verse specification, joining spans that follow each other.
std::string specOf(const std::vector<Span>& spans)
{
    std::vector<Span> runs;
    for (const Span& s : spans) {
        if (!runs.empty() && runs.back().last + 1 == s.first)
            runs.back().last = s.last;
        else
            runs.push_back(s);
    }
    std::string spec;
    for (const Span& r : runs)
        spec += (spec.empty() ? "" : ",") + format("%d-%d", r.first, r.last);
    return spec;
}

// Cuts a list of chapters into exactly `parts` groups of consecutive chapters
// whose verse counts are as even as possible (least squared deviation from the
// mean). Returns, for each group, its chapters.
std::vector<std::vector<Span>> splitAtChapters(const std::vector<Span>& chapters, int parts)
{
    const int n = static_cast<int>(chapters.size());
    if (n < parts)
        throw Exception(format("Cannot cut %d chapters into %d portions", n, parts));
    std::vector<double> sum(static_cast<std::size_t>(n) + 1, 0);
    for (int i = 0; i < n; ++i)
        sum[static_cast<std::size_t>(i) + 1] = sum[static_cast<std::size_t>(i)] + chapters[static_cast<std::size_t>(i)].size();
    const double mean = sum.back() / parts;
    const double inf = std::numeric_limits<double>::infinity();
    // cost[k][i]: best cost of the first i chapters in k groups; from[k][i]: where the last group starts.
    std::vector<std::vector<double>> cost(static_cast<std::size_t>(parts) + 1,
                                          std::vector<double>(static_cast<std::size_t>(n) + 1, inf));
    std::vector<std::vector<int>> from(cost.size(), std::vector<int>(static_cast<std::size_t>(n) + 1, 0));
    cost[0][0] = 0;
    for (int k = 1; k <= parts; ++k)
        for (int i = k; i <= n - (parts - k); ++i)
            for (int j = k - 1; j < i; ++j) {
                const double prev = cost[static_cast<std::size_t>(k - 1)][static_cast<std::size_t>(j)];
                if (prev == inf)
                    continue;
                const double d = sum[static_cast<std::size_t>(i)] - sum[static_cast<std::size_t>(j)] - mean;
                if (prev + d * d < cost[static_cast<std::size_t>(k)][static_cast<std::size_t>(i)]) {
                    cost[static_cast<std::size_t>(k)][static_cast<std::size_t>(i)] = prev + d * d;
                    from[static_cast<std::size_t>(k)][static_cast<std::size_t>(i)] = j;
                }
            }
    std::vector<std::vector<Span>> groups(static_cast<std::size_t>(parts));
    int end = n;
    for (int k = parts; k >= 1; --k) {
        const int start = from[static_cast<std::size_t>(k)][static_cast<std::size_t>(end)];
        groups[static_cast<std::size_t>(k - 1)].assign(chapters.begin() + start, chapters.begin() + end);
        end = start;
    }
    return groups;
}

// Cuts the consecutive verses of `chapters` into exactly `parts` portions of
// near-equal size. Each cut stays within a quarter portion of the even share
// of verses; among those places, one that ends a chapter is preferred (a cut
// inside a chapter costs as much as a portion a quarter too long or short).
std::vector<Span> splitEvenly(const std::vector<Span>& chapters, int parts)
{
    const int first = chapters.front().first;
    const int last = chapters.back().last;
    const int total = last - first + 1;
    if (total < parts)
        throw Exception(format("Cannot cut %d verses into %d portions", total, parts));
    const double mean = double(total) / parts;
    const int window = std::max(1, static_cast<int>(mean / 4));
    const double midChapter = (mean / 4) * (mean / 4);
    std::vector<bool> chapterEnd(static_cast<std::size_t>(last - first + 2), false);
    for (const Span& c : chapters)
        chapterEnd[static_cast<std::size_t>(c.last - first + 1)] = true;

    // Candidate cuts (the last verse of portion k) for k = 0..parts, as
    // offsets from first - 1; cut 0 is 0 and cut `parts` is total.
    std::vector<std::vector<int>> cand(static_cast<std::size_t>(parts) + 1);
    cand[0] = {0};
    cand[static_cast<std::size_t>(parts)] = {total};
    for (int k = 1; k < parts; ++k) {
        const int ideal = static_cast<int>(std::lround(k * mean));
        for (int c = std::max(k, ideal - window); c <= std::min(total - (parts - k), ideal + window); ++c)
            cand[static_cast<std::size_t>(k)].push_back(c);
    }
    const double inf = std::numeric_limits<double>::infinity();
    std::vector<std::vector<double>> cost(cand.size());
    std::vector<std::vector<int>> from(cand.size());
    cost[0] = {0};
    from[0] = {0};
    for (std::size_t k = 1; k < cand.size(); ++k) {
        cost[k].assign(cand[k].size(), inf);
        from[k].assign(cand[k].size(), -1);
        for (std::size_t i = 0; i < cand[k].size(); ++i) {
            const int c = cand[k][i];
            const double penalty = chapterEnd[static_cast<std::size_t>(c)] ? 0 : midChapter;
            for (std::size_t j = 0; j < cand[k - 1].size(); ++j) {
                const int p = cand[k - 1][j];
                if (p >= c || cost[k - 1][j] == inf)
                    continue;
                const double d = c - p - mean;
                const double total = cost[k - 1][j] + d * d + penalty;
                if (total < cost[k][i]) {
                    cost[k][i] = total;
                    from[k][i] = static_cast<int>(j);
                }
            }
        }
    }
    if (cost.back()[0] == inf)
        throw Exception(format("Cannot cut %d verses into %d portions", total, parts));
    std::vector<Span> portions(static_cast<std::size_t>(parts));
    std::size_t i = 0;
    for (std::size_t k = cand.size() - 1; k >= 1; --k) {
        const std::size_t j = static_cast<std::size_t>(from[k][i]);
        portions[k - 1] = {first + cand[k - 1][j], first - 1 + cand[k][i]};
        i = j;
    }
    return portions;
}

std::vector<Span> chaptersOf(const std::vector<std::vector<Span>>& books, std::initializer_list<std::pair<int, int>> ranges)
{
    std::vector<Span> chapters;
    for (const auto& [from, to] : ranges)
        for (int book = from; book <= to; ++book)
            chapters.insert(chapters.end(), books[static_cast<std::size_t>(book)].begin(),
                            books[static_cast<std::size_t>(book)].end());
    return chapters;
}

void writeTemplate(sqlite3* db, const std::string& table, const std::vector<std::string>& days)
{
    execSQL(db, format("CREATE TABLE %s (day INTEGER PRIMARY KEY, verses TEXT);", table));
    Statement st(db, format("INSERT INTO %s (day, verses) VALUES (?, ?);", table));
    st.run([&] {
        for (std::size_t i = 0; i < days.size(); ++i) {
            checkResult(sqlite3_reset(st.handle()), db);
            st.bindInt(1, static_cast<int>(i) + 1);
            st.bindText(2, days[i]);
            st.step();
        }
    });
}

} // namespace

void buildReadPlans(const std::string& biblePath, const std::string& outPath)
{
    const BibleStore bible(biblePath, "King James Version", "KJV");
    const auto books = chapterSpans(bible);

    // The seven kinds of book, each in canonical order. Acts goes with the
    // history books and Revelation with the prophets.
    const std::vector<std::vector<Span>> types = {
        chaptersOf(books, {{1, 5}}),             // Law
        chaptersOf(books, {{6, 17}, {44, 44}}),  // History
        chaptersOf(books, {{19, 19}}),           // Psalms
        chaptersOf(books, {{18, 18}, {20, 22}}), // Poetry
        chaptersOf(books, {{23, 39}, {66, 66}}), // Prophecy
        chaptersOf(books, {{40, 43}}),           // Gospels
        chaptersOf(books, {{45, 65}}),           // Epistles
    };
    std::vector<std::vector<std::vector<Span>>> typePortions;
    for (const auto& chapters : types)
        typePortions.push_back(splitAtChapters(chapters, kWeeks));
    std::vector<std::string> seven;
    for (int week = 0; week < kWeeks; ++week)
        for (const auto& portions : typePortions)
            seven.push_back(specOf(portions[static_cast<std::size_t>(week)]));

    const auto ot = splitEvenly(chaptersOf(books, {{1, kTestaments}}), kOtNtDays);
    const auto nt = splitEvenly(chaptersOf(books, {{kTestaments + 1, 66}}), kOtNtDays);
    std::vector<std::string> otnt;
    for (int day = 0; day < kOtNtDays; ++day)
        otnt.push_back(specOf({ot[static_cast<std::size_t>(day)], nt[static_cast<std::size_t>(day)]}));

    OutputDatabase out(outPath);
    writeTemplate(out.db(), "sevenTypes", seven);
    writeTemplate(out.db(), "otntDaily", otnt);
    out.finish();
}

} // namespace kovara::mkdata
