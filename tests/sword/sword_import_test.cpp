// Bibles of the SWORD library imported into Kovara Bible files, checked
// against SWORD's own command-line reader (diatheke) and against the shipped
// KJV's verse numbering. Uses the modules of Debian's sword-text-* packages.
#include "core/content/bible_search.h"
#include "core/content/bible_store.h"
#include "core/db/sqlite_db.h"
#include "core/sword/sword_import.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <cstring>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <regex>

#include <unistd.h>

namespace kovara::core {
namespace {

namespace fs = std::filesystem;

std::string squeeze(const std::string& text)
{
    std::string out;
    bool space = false;
    for (const char c : text) {
        if (std::isspace(static_cast<unsigned char>(c))) {
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

// diatheke's plain text of a passage, verse by verse ("C:V" -> text).
std::map<std::string, std::string> diatheke(const std::string& module, const std::string& key)
{
    const std::string command = "diatheke -b " + module + " -f plain -k '" + key + "' 2>/dev/null";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    std::string output;
    std::array<char, 4096> buffer{};
    while (pipe && fgets(buffer.data(), buffer.size(), pipe.get()))
        output += buffer.data();
    std::map<std::string, std::string> verses;
    const std::regex start(R"(^.*? (\d+:\d+): (.*)$)");
    std::string current;
    std::size_t from = 0;
    while (from < output.size()) {
        std::size_t end = output.find('\n', from);
        if (end == std::string::npos)
            end = output.size();
        const std::string line = output.substr(from, end - from);
        from = end + 1;
        std::smatch m;
        if (line == "(" + module + ")")
            break;
        if (std::regex_match(line, m, start)) {
            current = m[1];
            verses[current] = m[2];
        } else if (!current.empty()) {
            verses[current] += " " + line;
        }
    }
    // A module that writes a Strong's number as a bare lemma gets it shown by
    // diatheke even with Strong's numbers off ("díjole <G0846>:"); Kovara
    // hides those as it hides all Strong's numbers.
    const std::regex strongs(R"( ?<[GH]\d+>)");
    for (auto& [ref, text] : verses)
        text = squeeze(std::regex_replace(text, strongs, ""));
    return verses;
}

struct Imported {
    SwordModuleInfo info;
    std::string file;
};

class SwordImportTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        // Kept between runs and test processes: a file is imported again only
        // when its module changed, which is itself under test.
        folder_ = new fs::path(fs::path(KOVARA_BUILD_DIR) / "sword-test-bibles");
        fs::create_directories(*folder_);
        backend_ = loadSwordBackend().release();
        for (const SwordModuleInfo& m : backend_->modules())
            modules_[m.name] = m;
        for (const char* name : {"engWEB2015eb", "engKJV2006eb", "spaRV1909eb"}) {
            const std::string file = (*folder_ / (std::string(name) + ".kova2")).string();
            if (needsImport(file, modules_.at(name)))
                importSwordBible(*backend_, modules_.at(name), file);
            files_[name] = file;
        }
    }
    static void TearDownTestSuite() { delete folder_; }

    // (verse index, html, plain) of every verse of a chapter with text.
    struct Row {
        int verse;
        std::string html;
        std::string plain;
    };
    static std::vector<Row> chapter(const std::string& module, int book, int chapterNumber)
    {
        sqlite3* db = nullptr;
        openDatabase(files_.at(module), db);
        std::vector<Row> rows;
        queryRows(db,
                  "SELECT b.verse, b.verseText, s.plainText FROM bibleText b JOIN verseSearch s ON s.rowid=b.verseIndex "
                  "WHERE b.book=" + std::to_string(book) + " AND b.chapter=" + std::to_string(chapterNumber) +
                      " ORDER BY b.verse;",
                  "no statement", [&](Statement& st) { rows.push_back({st.columnInt(0), st.columnText(1), st.columnText(2)}); });
        closeDatabase(db);
        return rows;
    }
    static std::string one(const std::string& file, const std::string& sql)
    {
        sqlite3* db = nullptr;
        openDatabase(file, db);
        std::string out;
        queryRows(db, sql, "no statement", [&](Statement& st) { out += (out.empty() ? "" : "|") + st.columnText(0); });
        closeDatabase(db);
        return out;
    }

    static fs::path* folder_;
    static SwordBackend* backend_;
    static std::map<std::string, SwordModuleInfo> modules_;
    static std::map<std::string, std::string> files_;
};

fs::path* SwordImportTest::folder_ = nullptr;
SwordBackend* SwordImportTest::backend_ = nullptr;
std::map<std::string, SwordModuleInfo> SwordImportTest::modules_;
std::map<std::string, std::string> SwordImportTest::files_;

TEST_F(SwordImportTest, TheLibraryListsBiblesCommentariesAndDictionaries)
{
    const SwordModuleInfo& web = modules_.at("engWEB2015eb");
    EXPECT_EQ(web.type, SwordModuleType::Bible);
    EXPECT_EQ(web.versification, "NRSVA");
    EXPECT_EQ(web.language, "en");
    EXPECT_EQ(web.description, "World English Bible with Deuterocanon");
    EXPECT_EQ(web.abbreviation, "WEB");
    EXPECT_EQ(modules_.at("MHCC").type, SwordModuleType::Commentary);
    EXPECT_EQ(modules_.at("StrongsGreek").type, SwordModuleType::Dictionary);
    EXPECT_EQ(modules_.at("spaRV1909eb").versification, "KJV");
}

// The imported words of each verse are diatheke's, chapter by chapter: a
// chapter of prose with paragraphs, one with the words of Christ, poetry,
// and a Spanish chapter.
TEST_F(SwordImportTest, VersesAgreeWithDiatheke)
{
    struct Case {
        const char* module;
        const char* key;
        int book, chapter;
    };
    for (const Case& c : {Case{"engWEB2015eb", "Genesis 1", 1, 1}, Case{"engWEB2015eb", "Matthew 5", 40, 5},
                          Case{"engWEB2015eb", "Genesis 25", 1, 25}, Case{"engWEB2015eb", "3 John 1", 64, 1},
                          Case{"engKJV2006eb", "John 3", 43, 3}, Case{"engKJV2006eb", "Genesis 1", 1, 1},
                          Case{"spaRV1909eb", "John 3", 43, 3}}) {
        SCOPED_TRACE(std::string(c.module) + " " + c.key);
        const std::map<std::string, std::string> expected = diatheke(c.module, c.key);
        std::map<std::string, std::string> got;
        for (const Row& row : chapter(c.module, c.book, c.chapter))
            if (!row.plain.empty())
                got[std::to_string(c.chapter) + ":" + std::to_string(row.verse)] = row.plain;
        std::map<std::string, std::string> nonEmpty;
        for (const auto& [ref, text] : expected)
            if (!text.empty())
                nonEmpty[ref] = text;
        ASSERT_FALSE(nonEmpty.empty());
        EXPECT_EQ(got, nonEmpty);
    }
}

TEST_F(SwordImportTest, MarkupBecomesWhatThePassageViewShows)
{
    const std::string kjv = files_.at("engKJV2006eb");
    const std::string web = files_.at("engWEB2015eb");
    // Supplied words in italics, the words of Christ in red.
    EXPECT_NE(one(kjv, "SELECT verseText FROM bibleText WHERE book=1 AND chapter=1 AND verse=2;").find("<i>was</i>"),
              std::string::npos);
    EXPECT_NE(one(web, "SELECT verseText FROM bibleText WHERE book=40 AND chapter=5 AND verse=3;")
                  .find("<font color=\"red\">"),
              std::string::npos);
    // Nothing of SWORD's own markup, notes or Strong's numbers is left.
    for (const std::string& file : {kjv, web})
        EXPECT_EQ(one(file, "SELECT count(*) FROM bibleText WHERE verseText LIKE '%<!/P>%' OR verseText LIKE '%<!P>%' OR "
                            "verseText LIKE '%\"strong:%' OR verseText LIKE '%<note%' OR verseText LIKE '%savlm%';"),
                  "0")
            << file;
    // Poetry keeps its lines; a psalm's title and Psalm 119's acrostic letters
    // stay headings. (diatheke's plain output repeats a chapter's title after
    // every verse, so psalms are compared here rather than with it.)
    EXPECT_EQ(one(web, "SELECT verseText FROM bibleText WHERE book=19 AND chapter=23 AND verse=1;"),
              "<b>A Psalm by David.</b><br />Yahweh is my shepherd;<br />I shall lack nothing.");
    EXPECT_NE(one(web, "SELECT verseText FROM bibleText WHERE book=1 AND chapter=25 AND verse=23;").find("womb.<br />Two"),
              std::string::npos);
    EXPECT_EQ(one(web, "SELECT verseText FROM bibleText WHERE book=19 AND chapter=119 AND verse=1;").rfind("<b>ALEPH</b><br />", 0),
              0u);
    // Paragraphs start where the module's paragraphs do.
    EXPECT_EQ(one(web, "SELECT paraMark FROM bibleText WHERE book=1 AND chapter=1 AND verse IN (1,2) ORDER BY verse;"),
              "1|0");
}

// Every version keeps the shipped KJV's verse numbers for the 66 books, so a
// plan day's verse range opens the same passage in any of them.
TEST_F(SwordImportTest, VerseNumbersAreTheShippedBiblesInEveryVersion)
{
    const std::string shipped = std::string(KOVARA_BUILD_DIR) + "/bible.kova2";
    const std::string places = one(shipped, "SELECT group_concat(verseIndex||'='||book||'.'||chapter||'.'||verse) FROM "
                                            "(SELECT * FROM bibleText ORDER BY verseIndex);");
    for (const auto& [name, file] : files_)
        EXPECT_EQ(one(file, "SELECT group_concat(verseIndex||'='||book||'.'||chapter||'.'||verse) FROM (SELECT * FROM "
                            "bibleText WHERE book<=66 ORDER BY verseIndex);"),
                  places)
            << name;
    BibleStore store(files_.at("engWEB2015eb"), "World English Bible", "WEB");
    EXPECT_EQ(store.verseIndex(43, 3, 16), 26137);
}

// The WEB is numbered NRSVA. Where that differs from the KJV the module's
// text already follows the KJV, leaving the extra NRSVA places empty: the
// words land on the KJV's verses and nothing is lost.
TEST_F(SwordImportTest, AnotherVersificationLandsOnTheKjvsVerses)
{
    const std::string web = files_.at("engWEB2015eb");
    EXPECT_EQ(one(web, "SELECT count(*) FROM bibleText WHERE book=64 AND chapter=1;"), "14");
    EXPECT_NE(one(web, "SELECT verseText FROM bibleText WHERE book=64 AND chapter=1 AND verse=14;").find("Greet the friends by name"),
              std::string::npos);
    EXPECT_EQ(one(web, "SELECT count(*) FROM bibleText WHERE book=66 AND chapter=12;"), "17");
    EXPECT_EQ(one(web, "SELECT plainText FROM verseSearch WHERE rowid=(SELECT verseIndex FROM bibleText WHERE book=66 AND "
                       "chapter=13 AND verse=1);"),
              diatheke("engWEB2015eb", "Revelation 13:1").at("13:1"));
    // The deuterocanonical books follow the 66, readable with their own numbers.
    EXPECT_EQ(one(web, "SELECT osisName FROM extraBookInfo WHERE bookIndex=67;"), "Tob");
    const std::string tobit = one(web, "SELECT bookIndex FROM extraBookInfo WHERE osisName='Tob';");
    EXPECT_EQ(one(web, "SELECT s.plainText FROM bibleText b JOIN verseSearch s ON s.rowid=b.verseIndex WHERE b.book=" + tobit +
                           " AND b.chapter=1 AND b.verse=1;"),
              diatheke("engWEB2015eb", "Tobit 1:1").at("1:1"));
    EXPECT_EQ(one(files_.at("engKJV2006eb"), "SELECT count(*) FROM extraBookInfo;"), "0");
}

// Search in an imported version counts what an independent scan of its text
// finds.
TEST_F(SwordImportTest, SearchCountsAgreeWithAScanOfTheText)
{
    BibleSearch search(files_.at("engWEB2015eb"));
    for (const char* word : {"mercy", "shepherd", "Jerusalem"}) {
        SearchRequest request;
        request.text = word;
        const SearchResult result = search.search(request);
        ASSERT_TRUE(result.ok) << result.message;
        const std::regex whole(std::string("\\b") + word + "\\b", std::regex::icase);
        int scanned = 0;
        sqlite3* db = nullptr;
        openDatabase(files_.at("engWEB2015eb"), db);
        queryRows(db, "SELECT plainText FROM verseSearch;", "no statement", [&](Statement& st) {
            const std::string text = st.columnText(0);
            scanned += std::regex_search(text, whole) ? 1 : 0;
        });
        closeDatabase(db);
        EXPECT_EQ(result.count, scanned) << word;
        EXPECT_GT(scanned, 10) << word;
    }
}

TEST_F(SwordImportTest, ACancelledOrFailedImportLeavesTheEarlierFileAndNoOther)
{
    const fs::path folder = *folder_ / ("cancel-" + std::to_string(getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    const std::string file = (folder / "web.kova2").string();
    std::ofstream(file) << "earlier";
    const SwordImportResult result =
        importSwordBible(*backend_, modules_.at("engWEB2015eb"), file, [](int done, int) { return done < 2000; });
    EXPECT_TRUE(result.cancelled);
    std::ifstream in(file);
    std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(content, "earlier");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);

    SwordModuleInfo missing = modules_.at("engWEB2015eb");
    missing.name = "NoSuchModule";
    try {
        importSwordBible(*backend_, missing, file);
        ADD_FAILURE() << "no error";
    } catch (const std::exception& e) {
        EXPECT_STREQ(e.what(), "The SWORD module NoSuchModule is not installed.");
    }
    try {
        importSwordBible(*backend_, modules_.at("MHCC"), file);
        ADD_FAILURE() << "no error";
    } catch (const std::exception& e) {
        EXPECT_STREQ(e.what(), "The SWORD module MHCC is not a Bible.");
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
    fs::remove_all(folder);
}

// Modules the library lists but cannot give the text of, in a library of
// their own (SWORD_PATH) made from the RV1909's configuration and files: each
// import says why, and the folder keeps the Bible it had and nothing more.
TEST_F(SwordImportTest, AnUnusableModuleIsNamedAndLeavesNothingBehind)
{
    const fs::path library = *folder_ / ("library-" + std::to_string(getpid()));
    fs::remove_all(library);
    fs::create_directories(library / "mods.d");
    fs::create_directory_symlink("/usr/share/sword/modules", library / "modules");
    std::ifstream confFile("/usr/share/sword/mods.d/spaRV1909eb.conf");
    const std::string conf((std::istreambuf_iterator<char>(confFile)), std::istreambuf_iterator<char>());
    const struct {
        const char* name;
        std::string change; // what the module's configuration has in place of, or besides, the RV1909's
        const char* message;
    } cases[] = {
        {"BadVers", "Versification=Klingon",
         "The SWORD module BadVers uses the versification Klingon, which this SWORD library does not know."},
        {"Locked", "CipherKey=",
         "The SWORD module Reina Valera 1909 (Locked) is locked: its publisher gives the key that unlocks it. "
         "Enter the key as CipherKey in the module's configuration file to read it."},
        {"Half", "DataPath=./modules/texts/ztext/half/",
         "The SWORD module Reina Valera 1909 (Half) is not completely installed: its configuration is there but "
         "its files are not ("},
    };
    for (const auto& c : cases) {
        std::string text = std::regex_replace(conf, std::regex(R"(\[spaRV1909eb\])"), std::string("[") + c.name + "]");
        const std::string key = c.change.substr(0, c.change.find('=') + 1);
        text = std::regex_replace(text, std::regex("\n" + key + "[^\n]*"), "\n");
        std::ofstream(library / "mods.d" / (std::string(c.name) + ".conf")) << text << "\n" << c.change << "\n";
    }
    const char* earlierPath = getenv("SWORD_PATH");
    const std::string earlier = earlierPath ? earlierPath : "";
    setenv("SWORD_PATH", library.c_str(), 1);
    const std::unique_ptr<SwordBackend> backend = loadSwordBackend();
    std::map<std::string, SwordModuleInfo> listed;
    for (const SwordModuleInfo& m : backend->modules())
        listed[m.name] = m;
    earlierPath ? setenv("SWORD_PATH", earlier.c_str(), 1) : unsetenv("SWORD_PATH");

    const fs::path bibles = library / "bibles";
    fs::create_directories(bibles);
    const std::string kept = (bibles / "web.kova2").string();
    std::ofstream(kept) << "earlier";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(listed.count(c.name), 1u);
        try {
            importSwordBible(*backend, listed.at(c.name), (bibles / (std::string(c.name) + ".kova2")).string());
            ADD_FAILURE() << "no error";
        } catch (const std::exception& e) {
            EXPECT_EQ(std::string(e.what()).substr(0, std::strlen(c.message)), c.message) << e.what();
        }
        EXPECT_EQ(std::distance(fs::directory_iterator(bibles), fs::directory_iterator()), 1);
    }
    std::ifstream in(kept);
    EXPECT_EQ(std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()), "earlier");
    fs::remove_all(library);
}

TEST_F(SwordImportTest, AChangedModuleVersionIsImportedAgain)
{
    const std::string file = files_.at("spaRV1909eb");
    SwordModuleInfo module = modules_.at("spaRV1909eb");
    EXPECT_FALSE(needsImport(file, module));
    ASSERT_TRUE(importedModule(file));
    EXPECT_EQ(importedModule(file)->version, module.version);
    EXPECT_EQ(importedModule(file)->abbreviation, "RV1909");
    module.version += ".1";
    EXPECT_TRUE(needsImport(file, module));
    EXPECT_TRUE(needsImport(file + ".missing", module));
    EXPECT_TRUE(needsImport(files_.at("engWEB2015eb"), modules_.at("spaRV1909eb")));
    EXPECT_FALSE(importedModule(std::string(KOVARA_BUILD_DIR) + "/bible.kova2"));
}

} // namespace
} // namespace kovara::core
