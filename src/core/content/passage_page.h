#pragma once
// The HTML page of a reading-plan day: every verse of every run of a verse
// specification, with a heading per run, a heading per chapter and the Bible's
// abbreviation as the footer. Book names and verse texts go in as stored
// (they are our own content and may carry markup such as <i>).
#include "core/content/bible_store.h"

#include <string>

namespace kovara::core {

// Builds the page for verseSpec from bible.
//  - paragraphMode true: verses run on as paragraphs, a new paragraph opening
//    at verse 1, at a paragraph mark and at the first verse of each run;
//    false: one verse per line with a bold number, a paragraph mark shown as
//    " &para;" after it.
//  - title and dayLine only fill the message of a bad specification.
// Raises "Invalid verse specification %s in %s (%s, %s)" (the piece, the whole
// specification, title, dayLine) for a run piece that is not an integer, and
// whatever the store raises for a verse index it does not know. An empty
// specification gives a page that holds only the footer.
// With chapterLinks, each chapter heading is a link (passageLink) that opens
// that chapter on the Bible page. Without headings the page holds the verses
// and the footer only, for a view that names the passage above the text.
std::string buildPassagePage(const std::string& verseSpec, const BibleStore& bible, bool paragraphMode,
                             const std::string& title, const std::string& dayLine, bool chapterLinks = false,
                             bool headings = true);

} // namespace kovara::core
