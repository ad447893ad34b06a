#include "core/content/passage_page.h"

#include "core/base/delimited.h"
#include "core/content/reference_parser.h"

namespace kovara::core {

namespace {

// Line feed then carriage return: white space to the viewer, but it keeps the
// page readable when saved or copied as source.
const char* const kSeparator = "\n\r";

int runEnd(const std::string& piece, const std::string& verseSpec, const std::string& title,
           const std::string& dayLine)
{
    try {
        return strToInt(piece);
    } catch (const Exception&) {
        throw Exception(
            format("Invalid verse specification %s in %s (%s, %s)", piece, verseSpec, title, dayLine));
    }
}

} // namespace

std::string buildPassagePage(const std::string& verseSpec, const BibleStore& bible, bool paragraphMode,
                             const std::string& title, const std::string& dayLine, bool chapterLinks,
                             bool headings)
{
    // One read transaction for the whole page: each verse is still its own
    // query, but the file lock is taken once, not once per verse.
    const BibleStore::ReadSession session(bible);
    std::string page;
    for (const std::string& run : splitDelimited(verseSpec, ',')) {
        // The same splitting rule as parseVerseSpec, kept here piece by piece
        // so that the message can name the piece that is wrong.
        const std::vector<std::string> ends = splitDelimited(run, '-');
        const int first = runEnd(ends.empty() ? std::string() : ends[0], verseSpec, title, dayLine);
        const int last = ends.size() > 1 ? runEnd(ends[1], verseSpec, title, dayLine) : first;

        if (!page.empty()) {
            page += kSeparator;
            page += "<p>";
        }
        if (headings)
            page += format("<center><font size=\"+1\"><b>%s</b></font></center>", bible.referenceText(run));

        int previousBook = 0;
        int previousChapter = 0;
        for (int i = first; i <= last; ++i) {
            page += kSeparator;
            const VerseData v = bible.allVerseData(i);
            if (headings && (v.book != previousBook || v.chapter != previousChapter)) {
                const std::string heading = format("%s %d", bible.longBookName(v.book), v.chapter);
                if (chapterLinks)
                    page += format("<p><b><a href=\"%s\">%s</a></b>",
                                   passageLink({v.book, v.chapter, 0, v.chapter, 0}), heading);
                else
                    page += format("<p><b>%s</b>", heading);
                if (!paragraphMode)
                    page += "<br>";
                page += kSeparator;
            }
            std::string leadIn;
            if (paragraphMode) {
                leadIn = format(" <font size=\"-1\"><sup>%d</sup></font>", v.verse);
                if (v.verse == 1 || v.paraMark || i == first)
                    leadIn = "<p>&nbsp;&nbsp;&nbsp; " + leadIn;
            } else {
                // A line of its own after the one before; the first verse of
                // a page without headings starts the page.
                leadIn = format("%s%s<b>%d</b>", headings || i > first ? "<br>" : "<p>", "&nbsp;&nbsp;&nbsp; ",
                                v.verse);
                if (v.paraMark)
                    leadIn += " &para;";
            }
            page += format("%s&nbsp;%s", leadIn, v.verseText);
            previousBook = v.book;
            previousChapter = v.chapter;
        }
    }
    page += format("<p align=\"right\"><font size=\"-1\"><b>%s</b></font></p>", bible.abbreviation());
    return page;
}

} // namespace kovara::core
