#include "core/sword/side_by_side.h"

#include "core/base/delimited.h"
#include "core/base/exception.h"
#include "core/content/reference_parser.h"

#include <memory>

namespace kovara::core {

namespace {

int runEnd(const std::string& piece)
{
    try {
        return strToInt(piece);
    } catch (const Exception&) {
        throw Exception(format("Invalid verse specification %s", piece));
    }
}

// The text of the verse at index in bible, when bible has that place.
std::string cellText(const BibleStore& bible, const VerseRef& ref)
{
    if (bible.chapterLengths(ref.book, ref.chapter) < ref.verse)
        return std::string();
    return bible.allVerseData(bible.verseIndex(ref.book, ref.chapter, ref.verse)).verseText;
}

} // namespace

std::string buildSideBySidePage(const std::string& verseSpec, const std::vector<const BibleStore*>& bibles,
                                bool chapterLinks)
{
    if (bibles.empty())
        return std::string();
    const BibleStore& first = *bibles.front();
    // One read transaction per Bible for the whole page.
    std::vector<std::unique_ptr<BibleStore::ReadSession>> sessions;
    for (const BibleStore* bible : bibles)
        sessions.push_back(std::make_unique<BibleStore::ReadSession>(*bible));

    const int width = 100 / static_cast<int>(bibles.size());
    std::string header = "<tr><th></th>";
    for (const BibleStore* bible : bibles)
        header += format("<th align=\"left\" width=\"%d%%\">%s</th>", width, bible->abbreviation());
    header += "</tr>";

    std::string page;
    for (const std::string& run : splitDelimited(verseSpec, ',')) {
        const std::vector<std::string> ends = splitDelimited(run, '-');
        const int from = runEnd(ends.empty() ? std::string() : ends[0]);
        const int to = ends.size() > 1 ? runEnd(ends[1]) : from;
        page += format("<p align=\"center\"><font size=\"+1\"><b>%s</b></font></p>\n", first.referenceText(run));
        VerseRef previous;
        bool open = false;
        for (int i = from; i <= to; ++i) {
            const VerseData v = first.allVerseData(i);
            if (v.book != previous.book || v.chapter != previous.chapter) {
                if (open)
                    page += "</table>\n";
                const std::string heading = format("%s %d", first.longBookName(v.book), v.chapter);
                page += chapterLinks ? format("<p><b><a href=\"%s\">%s</a></b></p>\n",
                                              passageLink({v.book, v.chapter, 0, v.chapter, 0}), heading)
                                     : format("<p><b>%s</b></p>\n", heading);
                page += "<table width=\"100%\" cellspacing=\"0\" cellpadding=\"3\">" + header + "\n";
                open = true;
            }
            page += format("<tr><td valign=\"top\" align=\"right\"><b>%d</b></td><td valign=\"top\">%s</td>", v.verse,
                           v.verseText);
            const VerseRef ref{v.book, v.chapter, v.verse};
            for (std::size_t c = 1; c < bibles.size(); ++c)
                page += format("<td valign=\"top\">%s</td>", cellText(*bibles[c], ref));
            page += "</tr>\n";
            previous = ref;
        }
        if (open)
            page += "</table>\n";
    }
    return page;
}

} // namespace kovara::core
