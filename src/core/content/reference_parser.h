#pragma once
// Reads a Bible reference as people type it ("John 3:16", "jn 3:16-18",
// "1 Cor 13", "1co13", "Gen 1:1-2:3", "Song 2") and checks it against the
// chapter and verse counts of a Bible.
#include "core/content/bible_store.h"

#include <string>
#include <vector>

namespace kovara::core {

// A checked passage. verse is 0 when a whole chapter was asked for; the end is
// the same as the start for a single verse or chapter.
struct PassageRef {
    int book = 0;
    int chapter = 0;
    int verse = 0;
    int endChapter = 0;
    int endVerse = 0;

    bool operator==(const PassageRef&) const = default;
};

// The outcome of parseReference: either a passage or a message for the user
// ("No book called \"Jhn\"", "John has 21 chapters", "John 3 has 36 verses").
// For a list ("John 3:16,18", "Jn 3:16; 4:1") passage is its first part and
// more holds the others, in the order typed.
struct ReferenceResult {
    bool ok = false;
    PassageRef passage;
    std::string error;
    std::vector<PassageRef> more;
};

// The book number (1-66) of an English book name, full or short, in any case,
// with or without spaces and dots ("1 Cor.", "1co", "Song of Solomon",
// "Psalm"); 0 when no book or more than one book goes by that name.
int findBookByName(const std::string& name);

// Parses text and checks it against bible's chapter and verse counts.
// A book alone stands for its first chapter; in a book of one chapter a lone
// number is a verse ("Jude 3"), except 1, which stands for the chapter
// ("Philemon 1"). A space between two numbers separates chapter and verse
// ("Gen 1 1"), and so does "v" ("John 3v16"); a letter after a verse ("16a",
// "16ff") stands for that verse; verse 0 is refused. Lists are read
// ("John 3:16,18", "John 3:16-18, 20", "Jn 3:16; 4:1", "John 3:16; Rom 8:28"),
// each part checked. The Bible's own abbreviation or title may follow ("John
// 3:16 KJV", "John 3:16 (KJV)"). Never raises for bad input: the result then
// carries the message. Raises only what the store raises.
ReferenceResult parseReference(const std::string& text, const BibleStore& bible);

// "John 3:16", "John 3:16-18", "Genesis 1:1-2:3", "1 Corinthians 13" with the
// Bible's long book names.
std::string referenceText(const PassageRef& passage, const BibleStore& bible);

// The name a reference to verses of one chapter of book gives it, from the
// book's long name: a psalm is one Psalm ("Psalm 23:4") though the book is
// "Psalms"; any other name is kept.
std::string citedBookName(int book, const std::string& longName);
// referenceText as a reader cites verses (a copy's reference): within one
// chapter the book goes by citedBookName. Plan days and chapter headings keep
// referenceText.
std::string citationText(const PassageRef& passage, const BibleStore& bible);

// The link target that opens a chapter on the Bible page, written into
// generated pages: "bible:43.3" for a chapter, "bible:43.3.16" for a verse,
// "bible:43.3.16-18" for verses of that chapter (later chapters of the
// passage are left out: a link opens one chapter).
std::string passageLink(const PassageRef& passage);
// Reads a link written by passageLink. Returns false, leaving passage as it
// was, for anything else (the numbers are not checked against a Bible).
bool parsePassageLink(const std::string& link, PassageRef& passage);

} // namespace kovara::core
