#pragma once
// Several Bible versions side by side: one row per verse, one column per
// version. Every Bible Kovara reads (the shipped one and those imported from
// the SWORD library) numbers the verses of the 66 books as the KJV does, so a
// verse index is the same place in each, and a verse a version numbers or
// divides differently sits in the row of its KJV counterpart.
#include "core/content/bible_store.h"

#include <string>
#include <vector>

namespace kovara::core {

// The page of verseSpec (as a plan day writes it, "1-31,1533-1550") in
// bibles, the first of which gives the headings and the verse list: per run
// a heading, per chapter a heading (a passageLink with chapterLinks), then a
// table whose header row names each version by its abbreviation and whose
// rows hold the verse number and each version's text of that verse (empty
// where a version has none). Raises "Invalid verse specification %s" for a
// piece that is not a number, and what the stores raise for an index the
// first Bible does not know; a later Bible that does not have the book shows
// empty cells.
std::string buildSideBySidePage(const std::string& verseSpec, const std::vector<const BibleStore*>& bibles,
                                bool chapterLinks = false);

} // namespace kovara::core
