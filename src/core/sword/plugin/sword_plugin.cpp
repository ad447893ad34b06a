// The SWORD plug-in: the one place that uses libsword. Built as a module that
// the program loads on first use (see sword_backend.h).
#include "core/sword/sword_backend.h"
#include "core/sword/plugin/module_entries.h"

#include <markupfiltmgr.h>
#include <swmgr.h>
#include <swmodule.h>
#include <versekey.h>
#include <versificationmgr.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <stdexcept>

#include <unistd.h>

namespace kovara::core {
namespace {

using sword::VersificationMgr;

// Runs of white space as one space, none at either end.
std::string squeezed(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    bool space = false;
    for (const char c : text) {
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r') {
            space = !out.empty();
            continue;
        }
        if (space)
            out += ' ';
        space = false;
        out += c;
    }
    return out;
}

void eraseAll(std::string& text, const std::string& what)
{
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at))
        text.erase(at, what.size());
}

bool startsWith(const std::string& text, const std::string& head)
{
    return text.compare(0, head.size(), head) == 0;
}

bool endsWith(const std::string& text, const std::string& tail)
{
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// The HTML SWORD renders, tidied for the passage view, which lays out verses
// and paragraphs itself: SWORD's paragraph markers ("<!P>" opens, "<!/P>"
// closes) at either end of the verse become the verse's paragraph flags, and
// line breaks at either end go; inside the verse a paragraph becomes a line
// break, and breaks between poetry lines stay.
void tidyHtml(std::string html, SwordVerse& verse)
{
    // Some modules write a word's Strong's number as a bare lemma, which the
    // filters show even with Strong's numbers off: such links go too.
    for (const char* open : {"<small><em class=\"strongs\">", "<small><em class=\"morph\">"})
        for (std::size_t at = html.find(open); at != std::string::npos; at = html.find(open, at)) {
            const std::size_t end = html.find("</em></small>", at);
            if (end == std::string::npos)
                break;
            html.erase(at, end + std::strlen("</em></small>") - at);
        }
    html = squeezed(html);
    bool changed = true;
    while (changed) {
        changed = false;
        for (const char* mark : {"<!P>", "<!/P>", "<br />", "<br>"}) {
            if (startsWith(html, mark)) {
                verse.paragraphStart |= std::string(mark) == "<!P>";
                html = squeezed(html.substr(std::string(mark).size()));
                changed = true;
            }
            if (endsWith(html, mark)) {
                verse.paragraphEnd |= std::string(mark) == "<!P>" || std::string(mark) == "<!/P>";
                html = squeezed(html.substr(0, html.size() - std::string(mark).size()));
                changed = true;
            }
        }
    }
    eraseAll(html, "<!/P>");
    for (std::size_t at = html.find("<!P>"); at != std::string::npos; at = html.find("<!P>", at))
        html.replace(at, 4, "<br />");
    // Spaces beside a break show nothing; two breaks in a row (a paragraph
    // inside poetry) are one.
    eraseAll(html, " <br />");
    for (std::size_t at = html.find("<br /> "); at != std::string::npos; at = html.find("<br /> ", at))
        html.erase(at + 6, 1);
    for (std::size_t at = html.find("<br /><br />"); at != std::string::npos; at = html.find("<br /><br />", at))
        html.erase(at, 6);
    verse.html = html;
}

// The words of the tidied HTML: tags dropped (a line break as a space) and
// the entities the filters write decoded. Cheaper than having SWORD run its
// filters a second time for plain text, which doubled the import's time.
std::string plainText(const std::string& html)
{
    std::string out;
    out.reserve(html.size());
    for (std::size_t at = 0; at < html.size();) {
        const char c = html[at];
        if (c == '<') {
            const std::size_t end = html.find('>', at);
            if (end == std::string::npos)
                break;
            if (html.compare(at, 3, "<br") == 0)
                out += ' ';
            at = end + 1;
        } else if (c == '&') {
            static const std::pair<const char*, const char*> entities[] = {
                {"&amp;", "&"}, {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"}, {"&nbsp;", " "}};
            bool decoded = false;
            for (const auto& [name, text] : entities)
                if (html.compare(at, std::strlen(name), name) == 0) {
                    out += text;
                    at += std::strlen(name);
                    decoded = true;
                    break;
                }
            if (!decoded) {
                out += c;
                ++at;
            }
        } else {
            out += c;
            ++at;
        }
    }
    return squeezed(out);
}

// SWORD's scripture-reference links ("passagestudy.jsp?...&value=Ps.23.1-Ps.23.3&...")
// rewritten as links of the Bible page ("bible:19.23.1"): the first verse a
// reference names opens its chapter there. A reference to a book outside the
// KJV's 66 keeps its words and loses the link.
std::string bibleLinks(std::string html, const VersificationMgr::System& kjv)
{
    const std::string open = "<a href=\"passagestudy.jsp?action=showRef&type=scripRef&value=";
    for (std::size_t at = html.find(open); at != std::string::npos; at = html.find(open, at)) {
        const std::size_t valueStart = at + open.size();
        const std::size_t tagEnd = html.find('>', valueStart);
        if (tagEnd == std::string::npos)
            break;
        std::string value = html.substr(valueStart, html.find_first_of("&\"", valueStart) - valueStart);
        value = value.substr(0, value.find_first_of("- ;"));
        // "Book.Chapter.Verse", the verse or chapter sometimes left out.
        std::string parts[3];
        int part = 0;
        for (const char c : value) {
            if (c == '.' && part < 2)
                ++part;
            else
                parts[part] += c;
        }
        const int book = kjv.getBookNumberByOSISName(parts[0].c_str());
        const int chapter = std::atoi(parts[1].c_str());
        const int verse = std::atoi(parts[2].c_str());
        std::string link;
        if (book >= 1 && chapter >= 1) {
            link = "bible:" + std::to_string(book) + "." + std::to_string(chapter);
            if (verse >= 1)
                link += "." + std::to_string(verse);
        }
        if (link.empty()) {
            const std::size_t close = html.find("</a>", tagEnd);
            if (close != std::string::npos)
                html.erase(close, 4);
            html.erase(at, tagEnd + 1 - at);
        } else {
            const std::string tag = "<a href=\"" + link + "\">";
            html.replace(at, tagEnd + 1 - at, tag);
            at += tag.size();
        }
    }
    return html;
}

class Backend final : public SwordBackend {
public:
    Backend() : manager_(new sword::MarkupFilterMgr(sword::FMT_HTMLHREF, sword::ENC_UTF8))
    {
        // What a verse shows: supplied words in italics and the words of
        // Christ in red come through the filters; notes, Strong's numbers,
        // cross-references and headings are not part of the verse text.
        manager_.setGlobalOption("Footnotes", "Off");
        manager_.setGlobalOption("Strong's Numbers", "Off");
        manager_.setGlobalOption("Morphological Tags", "Off");
        manager_.setGlobalOption("Cross-references", "Off");
        manager_.setGlobalOption("Headings", "Off");
        manager_.setGlobalOption("Lemmas", "Off");
        manager_.setGlobalOption("Words of Christ in Red", "On");
    }

    std::string commentaryEntry(const std::string& name, int book, int chapter, int verse) override
    {
        sword::SWModule* module = manager_.getModule(name.c_str());
        if (!module)
            throw std::runtime_error("The SWORD module " + name + " is not installed.");
        if (typeOf(module->getType()) != SwordModuleType::Commentary)
            throw std::runtime_error("The SWORD module " + name + " is not a commentary.");
        checkUsable(*module);
        checkReadable(*module);
        return entryAt(*module, book, chapter, verse);
    }

    std::vector<SwordModuleInfo> modules() override
    {
        std::vector<SwordModuleInfo> list;
        for (const auto& [name, module] : manager_.getModules()) {
            SwordModuleInfo info;
            info.name = name.c_str();
            info.description = module->getDescription() ? module->getDescription() : "";
            info.language = module->getLanguage() ? module->getLanguage() : "";
            info.abbreviation = entry(*module, "Abbreviation");
            if (info.abbreviation.empty())
                info.abbreviation = info.name;
            info.version = entry(*module, "Version");
            if (info.version.empty())
                info.version = "1.0";
            info.type = typeOf(module->getType());
            if (info.type == SwordModuleType::Bible || info.type == SwordModuleType::Commentary) {
                info.versification = entry(*module, "Versification");
                if (info.versification.empty())
                    info.versification = "KJV";
            }
            list.push_back(std::move(info));
        }
        return list;
    }

    std::vector<SwordBook> kjvBooks() override
    {
        const VersificationMgr::System* kjv = system("KJV");
        std::vector<SwordBook> books;
        for (int b = 0; b < kjv->getBookCount(); ++b)
            books.push_back(describe(*kjv->getBook(b)));
        return books;
    }

    bool readBible(const std::string& name, std::vector<SwordBook>& extraBooks,
                   const std::function<bool(const SwordVerse&, int, int)>& visit) override
    {
        sword::SWModule* module = manager_.getModule(name.c_str());
        if (!module)
            throw std::runtime_error("The SWORD module " + name + " is not installed.");
        if (typeOf(module->getType()) != SwordModuleType::Bible)
            throw std::runtime_error("The SWORD module " + name + " is not a Bible.");
        checkUsable(*module);
        const std::string versification = module->getConfigEntry("Versification")
                                              ? module->getConfigEntry("Versification")
                                              : "KJV";
        const VersificationMgr::System* source = system(versification.c_str());
        if (!source)
            throw std::runtime_error("The SWORD module " + name + " uses the versification " + versification +
                                     ", which this SWORD library does not know.");
        const VersificationMgr::System* kjv = system("KJV");
        // Word attributes (Strong's numbers per word) are not needed and
        // would cost as much as the rendering itself.
        module->setProcessEntryAttributes(false);
        std::unique_ptr<sword::VerseKey> key(dynamic_cast<sword::VerseKey*>(module->createKey()));
        if (!key)
            throw std::runtime_error("The SWORD module " + name + " is not keyed by verse.");
        key->setIntros(false);
        key->setAutoNormalize(false);

        int total = 0;
        for (int b = 0; b < source->getBookCount(); ++b)
            for (int c = 1; c <= source->getBook(b)->getChapterMax(); ++c)
                total += source->getBook(b)->getVerseMax(c);

        extraBooks.clear();
        std::map<std::string, int> extraNumber;
        int done = 0;
        for (int b = 0; b < source->getBookCount(); ++b) {
            const VersificationMgr::Book& book = *source->getBook(b);
            for (int c = 1; c <= book.getChapterMax(); ++c) {
                for (int v = 1; v <= book.getVerseMax(c); ++v, ++done) {
                    key->setBookName(book.getOSISName());
                    key->setChapter(c);
                    key->setVerse(v);
                    module->setKey(*key);
                    if (module->popError())
                        continue;
                    SwordVerse verse;
                    tidyHtml(module->renderText().c_str(), verse);
                    verse.plain = plainText(verse.html);
                    if (verse.plain.empty())
                        continue;
                    if (!place(*source, *kjv, book, c, v, verse)) {
                        auto [at, added] = extraNumber.emplace(book.getOSISName(), 0);
                        if (added) {
                            extraBooks.push_back(describe(book));
                            at->second = 66 + static_cast<int>(extraBooks.size());
                        }
                        verse.book = at->second;
                        verse.chapter = c;
                        verse.verse = v;
                    }
                    if (!visit(verse, done + 1, total))
                        return false;
                }
            }
        }
        return true;
    }

private:
    // The entry of a KJV verse in module, mapped onto the module's own
    // versification.
    std::string entryAt(sword::SWModule& module, int book, int chapter, int verse)
    {
        const VersificationMgr::System* kjv = system("KJV");
        if (book < 1 || book > kjv->getBookCount())
            return std::string();
        const char* osis = kjv->getBook(book - 1)->getOSISName();
        const char* versification = module.getConfigEntry("Versification");
        const VersificationMgr::System* own = system(versification ? versification : "KJV");
        if (!own)
            throw std::runtime_error(std::string("The SWORD module ") + module.getName() +
                                     " uses the versification " + versification +
                                     ", which this SWORD library does not know.");
        int c = chapter, v = verse, last = verse;
        if (own != kjv)
            kjv->translateVerse(own, &osis, &c, &v, &last);
        std::unique_ptr<sword::VerseKey> key(dynamic_cast<sword::VerseKey*>(module.createKey()));
        if (!key)
            throw std::runtime_error(std::string("The SWORD module ") + module.getName() +
                                     " is not keyed by verse.");
        key->setIntros(false);
        key->setAutoNormalize(false);
        key->setBookName(osis);
        key->setChapter(c);
        key->setVerse(v);
        module.setKey(*key);
        if (module.popError())
            return std::string();
        std::string html = squeezed(module.renderText().c_str());
        eraseAll(html, "<!P>");
        eraseAll(html, "<!/P>");
        return bibleLinks(html, *kjv);
    }

    // A module the SWORD library lists but cannot give the text of: one
    // whose publisher locks it with a key not yet entered (SWORD then reads
    // scrambled text), or one whose configuration was installed without its
    // files (an install broken off, files removed by hand), which reads as
    // empty. Raises a message for the reader saying what to do.
    static void checkUsable(const sword::SWModule& module)
    {
        const std::string name = module.getName();
        const std::string description = module.getDescription() ? module.getDescription() : name;
        if (const char* key = module.getConfigEntry("CipherKey"); key && !*key)
            throw std::runtime_error("The SWORD module " + description + " (" + name +
                                     ") is locked: its publisher gives the key that unlocks it. Enter the key as "
                                     "CipherKey in the module's configuration file to read it.");
        const std::string folder = entry(module, "AbsoluteDataPath");
        if (!folder.empty() && !hasFiles(folder)) {
            throw std::runtime_error("The SWORD module " + description + " (" + name +
                                     ") is not completely installed: its configuration is there but its files "
                                     "are not (" + folder + "). Installing it again may help.");
        }
    }

    // Whether a module's data path holds anything: a folder of files (the
    // Bibles' and commentaries' drivers) or files named after it (the
    // dictionaries' drivers, whose path ends in the files' common name).
    static bool hasFiles(const std::string& dataPath)
    {
        namespace fs = std::filesystem;
        std::error_code error;
        fs::path path(dataPath);
        if (fs::is_directory(path, error))
            return !fs::is_empty(path, error);
        const std::string stem = path.filename().string();
        for (fs::directory_iterator it(path.parent_path(), error), end; !error && it != end; it.increment(error))
            if (it->path().filename().string().rfind(stem, 0) == 0)
                return true;
        return false;
    }

    // A commentary whose files the SWORD library cannot read (a module built
    // for another driver than its description names, a damaged download)
    // gives empty entries and entries of other verses, and its read errors
    // go only to the terminal: files that are not the named driver's, or a
    // sample of verses across the Bible all empty, stand for that. Checked
    // once per module.
    void checkReadable(sword::SWModule& module)
    {
        const std::string name = module.getName();
        if (const auto known = readable_.find(name); known != readable_.end()) {
            if (!known->second)
                throw std::runtime_error(unreadable(module));
            return;
        }
        static const int sample[][3] = {{1, 1, 1},  {19, 1, 1},  {19, 23, 1}, {23, 53, 5},
                                        {40, 5, 3}, {43, 3, 16}, {45, 8, 28}, {66, 1, 1}};
        bool readable = filesMatchDriver(module);
        if (readable) {
            readable = false;
            for (const auto& place : sample)
                if (!plainText(entryAt(module, place[0], place[1], place[2])).empty()) {
                    readable = true;
                    break;
                }
        }
        readable_[name] = readable;
        if (!readable)
            throw std::runtime_error(unreadable(module));
    }

    // The compressed drivers keep their index in <testament>.bzs ("zCom",
    // "zText") or <testament>.czs (their version 4); a module whose folder
    // holds the other kind is read at the wrong offsets.
    static bool filesMatchDriver(const sword::SWModule& module)
    {
        const std::string driver = entry(module, "ModDrv");
        const std::string folder = entry(module, "AbsoluteDataPath");
        const char* index = driver == "zCom4" || driver == "zText4" ? "czs"
                            : driver == "zCom" || driver == "zText" ? "bzs"
                                                                    : nullptr;
        if (!index || folder.empty())
            return true;
        for (const char* testament : {"ot.", "nt."})
            if (access((folder + "/" + testament + index).c_str(), R_OK) == 0)
                return true;
        return false;
    }

    static std::string unreadable(const sword::SWModule& module)
    {
        return std::string("The commentary ") + (module.getDescription() ? module.getDescription() : "") + " (" +
               module.getName() +
               ") cannot be read: its files are not in the form its description names, so the SWORD library "
               "reads no text, or other verses' text, from them. Installing it again, or another edition of it, "
               "may help.";
    }

    static const VersificationMgr::System* system(const char* name)
    {
        return VersificationMgr::getSystemVersificationMgr()->getVersificationSystem(name);
    }

    static SwordBook describe(const VersificationMgr::Book& book)
    {
        SwordBook out;
        out.osisName = book.getOSISName();
        out.shortName = book.getPreferredAbbreviation();
        out.longName = book.getLongName();
        for (int c = 1; c <= book.getChapterMax(); ++c)
            out.chapterLengths.push_back(book.getVerseMax(c));
        return out;
    }

    // Gives the verse its KJV place; false for a book outside the KJV.
    static bool place(const VersificationMgr::System& source, const VersificationMgr::System& kjv,
                      const VersificationMgr::Book& book, int chapter, int verse, SwordVerse& out)
    {
        const char* name = book.getOSISName();
        int c = chapter, v = verse, last = verse;
        if (&source != &kjv)
            source.translateVerse(&kjv, &name, &c, &v, &last);
        const int number = kjv.getBookNumberByOSISName(name); // 1-based, -1 when not a KJV book
        if (number < 1)
            return false;
        const VersificationMgr::Book& target = *kjv.getBook(number - 1);
        // A verse past the KJV's end of the chapter (or book) joins the last
        // verse that exists there, marked with its own number.
        const int chapters = target.getChapterMax();
        bool beyond = false;
        if (c > chapters) {
            c = chapters;
            v = target.getVerseMax(c);
            beyond = true;
        } else if (v > target.getVerseMax(c)) {
            v = target.getVerseMax(c);
            beyond = true;
        }
        if (c < 1 || v < 1)
            return false;
        if (beyond) {
            const std::string mark = std::to_string(chapter) + ":" + std::to_string(verse);
            out.html = "<sup>" + mark + "</sup> " + out.html;
        }
        out.book = number;
        out.chapter = c;
        out.verse = v;
        return true;
    }

    sword::SWMgr manager_;
    std::map<std::string, bool> readable_; // commentaries checked: whether they can be read
};

} // namespace
} // namespace kovara::core

extern "C" __attribute__((visibility("default"))) kovara::core::SwordBackend* kovaraCreateSwordBackend()
{
    return new kovara::core::Backend();
}
