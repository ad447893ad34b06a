#include "content/passage_page.h"

#include "base/delimited.h"

namespace kovara {

namespace {

// Line feed then carriage return: white space to the viewer, but it keeps the
// page readable when saved or copied as source.
const char* const kSeparator = "\n\r";

int RunEnd(const std::string& piece, const std::string& verseSpec, const std::string& title,
           const std::string& dayLine)
{
    try {
        return StrToInt(piece);
    } catch (const Exception&) {
        throw Exception(
            Format("Invalid verse specification %s in %s (%s, %s)", piece, verseSpec, title, dayLine));
    }
}

} // namespace

std::string BuildPassagePage(const std::string& verseSpec, const TKOVABible& bible, bool paragraphMode,
                             const std::string& title, const std::string& dayLine)
{
    std::string page;
    for (const std::string& run : SplitDelimited(verseSpec, ',')) {
        // The same splitting rule as ParseVerseSpec, kept here piece by piece
        // so that the message can name the piece that is wrong.
        const std::vector<std::string> ends = SplitDelimited(run, '-');
        const int first = RunEnd(ends.empty() ? std::string() : ends[0], verseSpec, title, dayLine);
        const int last = ends.size() > 1 ? RunEnd(ends[1], verseSpec, title, dayLine) : first;

        if (!page.empty()) {
            page += kSeparator;
            page += "<p>";
        }
        page += Format("<center><font size=\"+1\"><b>%s</b></font></center>", bible.GetReferenceText(run));

        int previousBook = 0;
        int previousChapter = 0;
        for (int i = first; i <= last; ++i) {
            page += kSeparator;
            const TVerseData v = bible.GetAllVerseData(i);
            if (v.book != previousBook || v.chapter != previousChapter) {
                page += Format("<p><b>%s %d</b>", bible.GetLongBookName(v.book), v.chapter);
                if (!paragraphMode)
                    page += "<br>";
                page += kSeparator;
            }
            std::string leadIn;
            if (paragraphMode) {
                leadIn = Format(" <font size=\"-1\"><sup>%d</sup></font>", v.verse);
                if (v.verse == 1 || v.paraMark || i == first)
                    leadIn = "<p>&nbsp;&nbsp;&nbsp; " + leadIn;
            } else {
                leadIn = Format("<br>%s<b>%d</b>", "&nbsp;&nbsp;&nbsp; ", v.verse);
                if (v.paraMark)
                    leadIn += " &para;";
            }
            page += Format("%s&nbsp;%s", leadIn, v.verseText);
            previousBook = v.book;
            previousChapter = v.chapter;
        }
    }
    page += Format("<p align=\"right\"><font size=\"-1\"><b>%s</b></font></p>", bible.Abbreviation());
    return page;
}

} // namespace kovara
