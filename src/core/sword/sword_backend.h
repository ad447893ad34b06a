#pragma once
// The SWORD module library behind an interface of plain types. libsword and
// what it pulls in (a network stack, ICU, a search engine) cost start-up time
// that a reader who never opens another version should not pay, so the code
// that uses it is a plug-in loaded the first time a version list, an import
// or a commentary is needed.
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kovara::core {

enum class SwordModuleType { Bible, Commentary, Dictionary, Other };

struct SwordModuleInfo {
    std::string name;          // the module's own name ("engWEB2015eb")
    std::string description;   // "World English Bible with Deuterocanon"
    std::string abbreviation;  // "WEB": the module's Abbreviation entry, else its name
    std::string language;      // "en"
    std::string version;       // the module's Version entry, "1.0" when it has none
    std::string versification; // "KJV", "NRSVA", ...; empty for modules not keyed by verse
    SwordModuleType type = SwordModuleType::Other;
};

struct SwordBook {
    std::string osisName;  // "Gen", "Tob"
    std::string shortName; // the short name shown in references
    std::string longName;  // "Genesis"
    std::vector<int> chapterLengths;
};

// One verse as the passage view shows it and as search reads it.
struct SwordVerse {
    int book = 0; // 1-66 as in the KJV; 67 on for books outside them, in the module's order
    int chapter = 0;
    int verse = 0;
    std::string html;   // supplied words in <i>, words of Christ in a red <font>, poetry lines as <br />
    std::string plain;  // the same words without markup
    bool paragraphStart = false; // the verse opens a paragraph
    bool paragraphEnd = false;   // the verse closes one
};

class SwordBackend {
public:
    virtual ~SwordBackend() = default;

    // Every module of the library (the system folder, ~/.sword, SWORD_PATH),
    // ordered by name.
    virtual std::vector<SwordModuleInfo> modules() = 0;

    // The 66 books of the KJV versification with their chapter lengths.
    virtual std::vector<SwordBook> kjvBooks() = 0;

    // Reads every verse of the Bible module in the module's order. Verses of
    // the 66 books come in KJV numbering (mapped through SWORD's
    // versification tables); a verse that has no KJV counterpart is given to
    // the last verse of its chapter that has one, so no text is dropped. Books
    // outside the 66 are numbered from 67 on and described in extraBooks.
    // visit(verse, done, total) returning false stops the reading; the
    // function then returns false. Raises Exception with a message for the
    // reader when the module is missing, not a Bible or cannot be read.
    virtual bool readBible(const std::string& module, std::vector<SwordBook>& extraBooks,
                           const std::function<bool(const SwordVerse&, int, int)>& visit) = 0;

    // The commentary module's entry for a verse of the 66 books in KJV
    // numbering (book 1-66), read live from the module: HTML for the viewer,
    // its scripture references as links that open them on the Bible page
    // ("bible:43.3.16", see passageLink); empty when the commentary says
    // nothing there. Raises std::runtime_error with a message for the reader when the
    // module is missing, not a commentary, or its files cannot be read.
    virtual std::string commentaryEntry(const std::string& module, int book, int chapter, int verse) = 0;
};

// Loads the plug-in (from KOVARA_SWORD_PLUGIN when set, else beside the
// program or in lib/kovara/ of its installation). Raises Exception saying
// what is missing when it cannot be loaded.
std::unique_ptr<SwordBackend> loadSwordBackend();

} // namespace kovara::core

// The plug-in's one entry point.
extern "C" kovara::core::SwordBackend* kovaraCreateSwordBackend();
