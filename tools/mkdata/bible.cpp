#include "bible.h"

#include "books.h"
#include "output_db.h"

#include <pugixml.hpp>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace kovara::mkdata {

using namespace kovara::core;

namespace {

struct Verse {
    int book = 0;
    int chapter = 0;
    int verse = 0;
    bool paraMark = false;
    std::string text;
};

void appendEscaped(std::string& out, const char* text)
{
    for (const char* p = text; *p; ++p) {
        switch (*p) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        default: out += *p;
        }
    }
}

// Collapses runs of white space into one blank and trims both ends.
std::string tidy(const std::string& text)
{
    std::string out;
    bool blank = false;
    for (const char c : text) {
        if (c == ' ' || c == '\n' || c == '\r' || c == '\t') {
            blank = !out.empty();
            continue;
        }
        if (blank)
            out += ' ';
        blank = false;
        out += c;
    }
    return out;
}

bool isAsciiLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// The source joins the parts of compound names with an en dash (Kadesh,
// en dash, barnea); printed King James Bibles use a hyphen there
// (Kadesh-barnea, Beer-lahai-roi). Only a dash with a letter on both sides is a joiner: any other
// dash is left as it is.
std::string hyphenateCompounds(const std::string& text)
{
    static const std::string enDash = "\xe2\x80\x93";
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, enDash.size(), enDash) == 0 && !out.empty() && isAsciiLetter(out.back()) &&
            i + enDash.size() < text.size() && isAsciiLetter(text[i + enDash.size()])) {
            out += '-';
            i += enDash.size() - 1;
            continue;
        }
        out += text[i];
    }
    return out;
}

// Walks the OSIS document in reading order. Verses are milestones (sID/eID);
// everything between a verse's start and end is its text.
class OsisReader {
public:
    std::vector<Verse> verses;
    std::vector<std::vector<int>> chapterLengths = std::vector<std::vector<int>>(67);

    void walk(const pugi::xml_node& node)
    {
        for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling())
            visit(child);
    }

private:
    int book_ = 0;
    bool inVerse_ = false;
    Verse current_;
    std::string pendingTitle_; // a psalm's title, waiting for its verse 1
    bool upperCase_ = false;

    std::string* textSink() { return inVerse_ ? &current_.text : nullptr; }

    void visit(const pugi::xml_node& node)
    {
        if (node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata) {
            if (std::string* sink = textSink()) {
                std::string text = node.value();
                if (upperCase_)
                    for (char& c : text)
                        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
                appendEscaped(*sink, text.c_str());
            }
            return;
        }
        if (node.type() != pugi::node_element)
            return;
        const char* name = node.name();
        const std::string type = node.attribute("type").value();

        if (!std::strcmp(name, "note") || !std::strcmp(name, "header"))
            return; // notes and the header are dropped
        if (!std::strcmp(name, "div") && type == "book") {
            book_ = bookNumberOf(node.attribute("osisID").value());
            if (book_ == 0)
                throw Exception(format("Unknown book %s", node.attribute("osisID").value()));
            walk(node);
            return;
        }
        if (!std::strcmp(name, "verse")) {
            if (node.attribute("sID"))
                startVerse(node.attribute("osisID").value());
            else if (node.attribute("eID"))
                endVerse();
            else
                walk(node); // a container-style verse
            return;
        }
        if (!std::strcmp(name, "milestone")) {
            if (type == "x-p" && inVerse_)
                current_.paraMark = true;
            return;
        }
        if (!std::strcmp(name, "title")) {
            if (type == "psalm") {
                std::string title = capture(node);
                if (inVerse_)
                    current_.text += "<i>" + title + "</i> ";
                else
                    pendingTitle_ = "<i>" + title + "</i> ";
            } else if (type == "acrostic" && inVerse_) {
                current_.text += "<b>" + capture(node) + "</b> ";
                current_.paraMark = true;
            }
            return; // book and chapter titles are not verse text
        }
        if (!std::strcmp(name, "transChange") && type == "added") {
            if (std::string* sink = textSink()) {
                *sink += "<i>";
                walk(node);
                *sink += "</i>";
            }
            return;
        }
        if (!std::strcmp(name, "divineName")) {
            const bool was = upperCase_;
            upperCase_ = true;
            walk(node);
            upperCase_ = was;
            return;
        }
        walk(node); // w, q, foreign, inscription, chapter, ...: their text only
    }

    // The text of a node as verse text, without touching the current verse.
    std::string capture(const pugi::xml_node& node)
    {
        const bool wasInVerse = inVerse_;
        Verse saved = current_;
        inVerse_ = true;
        current_.text.clear();
        walk(node);
        std::string text = tidy(current_.text);
        current_ = saved;
        inVerse_ = wasInVerse;
        return text;
    }

    void startVerse(const char* osisId)
    {
        // "Ps.119.1"
        const char* dot1 = std::strchr(osisId, '.');
        const char* dot2 = dot1 ? std::strchr(dot1 + 1, '.') : nullptr;
        if (!dot2)
            throw Exception(format("Bad verse identifier %s", osisId));
        current_ = Verse();
        current_.book = book_;
        current_.chapter = std::atoi(dot1 + 1);
        current_.verse = std::atoi(dot2 + 1);
        current_.text = pendingTitle_;
        pendingTitle_.clear();
        inVerse_ = true;
    }

    void endVerse()
    {
        if (!inVerse_)
            return;
        inVerse_ = false;
        current_.text = hyphenateCompounds(tidy(current_.text));
        auto& lengths = chapterLengths[current_.book];
        if (static_cast<int>(lengths.size()) < current_.chapter)
            lengths.resize(current_.chapter, 0);
        lengths[current_.chapter - 1] = std::max(lengths[current_.chapter - 1], current_.verse);
        verses.push_back(std::move(current_));
    }
};

} // namespace

void buildBible(const std::string& osisPath, const std::string& outPath)
{
    pugi::xml_document doc;
    const pugi::xml_parse_result parsed = doc.load_file(osisPath.c_str(), pugi::parse_default | pugi::parse_ws_pcdata);
    if (!parsed)
        throw Exception(format("Unable to read %s: %s", osisPath, parsed.description()));
    OsisReader reader;
    reader.walk(doc);

    OutputDatabase out(outPath);
    execSQL(out.db(),
            "CREATE TABLE bibleText (verseIndex INTEGER PRIMARY KEY, book INTEGER NOT NULL, chapter INTEGER NOT "
            "NULL, verse INTEGER NOT NULL, paraMark INTEGER NOT NULL DEFAULT 0, verseText TEXT);"
            "CREATE UNIQUE INDEX bibleTextRef ON bibleText (book, chapter, verse);"
            "CREATE TABLE bookInfo (bookIndex INTEGER PRIMARY KEY, shortName TEXT, longName TEXT, "
            "numChapters INTEGER, chapterLengths TEXT);");
    {
        Statement st(out.db(), "INSERT INTO bibleText VALUES (?,?,?,?,?,?);");
        st.run([&] {
            int index = 0;
            for (const Verse& v : reader.verses) {
                st.bindInt(1, ++index);
                st.bindInt(2, v.book);
                st.bindInt(3, v.chapter);
                st.bindInt(4, v.verse);
                st.bindInt(5, v.paraMark ? 1 : 0);
                st.bindText(6, v.text);
                st.step();
                sqlite3_reset(st.handle());
            }
        });
    }
    {
        Statement st(out.db(), "INSERT INTO bookInfo VALUES (?,?,?,?,?);");
        st.run([&] {
            for (int book = 1; book <= 66; ++book) {
                const auto& lengths = reader.chapterLengths[book];
                std::string list;
                for (const int n : lengths)
                    list += (list.empty() ? "" : ",") + std::to_string(n);
                st.bindInt(1, book);
                st.bindText(2, kBooks[book - 1].shortName);
                st.bindText(3, kBooks[book - 1].longName);
                st.bindInt(4, static_cast<int>(lengths.size()));
                st.bindText(5, list);
                st.step();
                sqlite3_reset(st.handle());
            }
        });
    }
    // Full-text index over the verse text without our markup, read through a
    // view so the text is stored once. Built here so that no user machine
    // ever has to index; the words are folded to lower case and stripped of
    // diacritics, with no stemming (the KJV's -eth and -est forms stay
    // apart, and a prefix* finds them all).
    execSQL(out.db(),
            "CREATE VIEW verseSearchText AS SELECT verseIndex, "
            "replace(replace(replace(replace(replace(replace(replace(verseText, '<i>', ''), '</i>', ''), "
            "'<b>', ''), '</b>', ''), '&lt;', '<'), '&gt;', '>'), '&amp;', '&') AS plainText FROM bibleText;"
            "CREATE VIRTUAL TABLE verseSearch USING fts5(plainText, content='verseSearchText', "
            "content_rowid='verseIndex', tokenize='unicode61 remove_diacritics 2');"
            "INSERT INTO verseSearch (rowid, plainText) SELECT verseIndex, plainText FROM verseSearchText;"
            "INSERT INTO verseSearch (verseSearch) VALUES ('optimize');");
    out.finish();
}

} // namespace kovara::mkdata
