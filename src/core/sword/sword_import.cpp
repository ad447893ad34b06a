#include "core/sword/sword_import.h"

#include "core/base/exception.h"
#include "core/base/files.h"
#include "core/db/database.h"
#include "core/db/sqlite_db.h"

#include <fmt/format.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>
#include <random>

namespace kovara::core {

namespace {

// The shipped Bible's tables, and the module the file came from. The index
// holds its own copy of the plain text (the shipped Bible's index reads it
// through a view that strips the few tags the KJV text has; SWORD's markup is
// richer).
constexpr const char* kSchema =
    "CREATE TABLE bibleText (verseIndex INTEGER PRIMARY KEY, book INTEGER NOT NULL, chapter INTEGER NOT NULL, "
    "verse INTEGER NOT NULL, paraMark INTEGER NOT NULL DEFAULT 0, verseText TEXT);"
    "CREATE TABLE bookInfo (bookIndex INTEGER PRIMARY KEY, shortName TEXT, longName TEXT, numChapters INTEGER, "
    "chapterLengths TEXT);"
    "CREATE UNIQUE INDEX bibleTextRef ON bibleText (book, chapter, verse);"
    "CREATE VIRTUAL TABLE verseSearch USING fts5(plainText, tokenize='unicode61 remove_diacritics 2');"
    // Books outside the 66 (the deuterocanon): their verses follow
    // Revelation in bibleText; they are described here, not in bookInfo,
    // whose readers know the 66.
    "CREATE TABLE extraBookInfo (bookIndex INTEGER PRIMARY KEY, osisName TEXT, shortName TEXT, longName TEXT, "
    "numChapters INTEGER, chapterLengths TEXT);"
    "CREATE TABLE swordModule (name TEXT, version TEXT, description TEXT, language TEXT, versification TEXT, "
    "abbreviation TEXT);";

std::string joined(const std::vector<int>& numbers)
{
    std::string out;
    for (const int n : numbers)
        out += (out.empty() ? "" : ",") + std::to_string(n);
    return out;
}

struct Slot {
    std::string html;
    std::string plain;
    bool paragraph = false;
};

std::string temporaryName(const std::string& fileName)
{
    std::random_device random;
    return fmt::format("{}.part-{:08x}", fileName, random());
}

void writeBooks(sqlite3* db, const char* table, const std::vector<SwordBook>& books, int first, bool withOsis)
{
    Statement st(db, withOsis ? fmt::format("INSERT INTO {} VALUES (?,?,?,?,?,?);", table)
                              : fmt::format("INSERT INTO {} VALUES (?,?,?,?,?);", table));
    st.run([&] {
        int index = first;
        for (const SwordBook& book : books) {
            checkResult(sqlite3_reset(st.handle()), db);
            int column = 1;
            st.bindInt(column++, index++);
            if (withOsis)
                st.bindText(column++, book.osisName);
            st.bindText(column++, book.shortName);
            st.bindText(column++, book.longName);
            st.bindInt(column++, static_cast<int>(book.chapterLengths.size()));
            st.bindText(column++, joined(book.chapterLengths));
            st.step();
        }
    });
}

} // namespace

SwordImportResult importSwordBible(SwordBackend& backend, const SwordModuleInfo& module, const std::string& fileName,
                                   const std::function<bool(int, int)>& progress)
{
    const std::vector<SwordBook> kjv = backend.kjvBooks();
    // The KJV's verse number of every place: verse indexes count through the
    // 66 books from Genesis 1:1 = 1, as in the shipped Bible.
    std::vector<int> bookStart(kjv.size() + 1, 0);
    std::vector<std::vector<int>> chapterStart(kjv.size());
    int next = 1;
    for (std::size_t b = 0; b < kjv.size(); ++b) {
        bookStart[b] = next;
        for (const int length : kjv[b].chapterLengths) {
            chapterStart[b].push_back(next);
            next += length;
        }
    }
    const int kjvVerses = next - 1;

    // Gathered first: mapped verses may arrive out of order, and two
    // verses of the module may share one KJV place.
    std::map<int, Slot> slots;
    struct ExtraRef {
        int book, chapter, verse;
    };
    std::map<int, ExtraRef> extraRefs;
    std::vector<SwordBook> extra;
    std::map<std::tuple<int, int, int>, int> extraIndex;
    bool paragraphPending = true;
    int lastShown = -1;
    const bool finished = backend.readBible(module.name, extra, [&](const SwordVerse& verse, int done, int total) {
        int index = 0;
        if (verse.book >= 1 && verse.book <= static_cast<int>(kjv.size())) {
            const auto& starts = chapterStart[static_cast<std::size_t>(verse.book - 1)];
            if (verse.chapter < 1 || verse.chapter > static_cast<int>(starts.size()))
                return true;
            index = starts[static_cast<std::size_t>(verse.chapter - 1)] + verse.verse - 1;
        } else {
            auto [at, added] = extraIndex.emplace(std::make_tuple(verse.book, verse.chapter, verse.verse), 0);
            if (added) {
                at->second = kjvVerses + static_cast<int>(extraIndex.size()); // after Revelation, in arrival order
                extraRefs[at->second] = {verse.book, verse.chapter, verse.verse};
            }
            index = at->second;
        }
        Slot& slot = slots[index];
        if (slot.plain.empty()) {
            slot.html = verse.html;
            slot.plain = verse.plain;
            slot.paragraph = paragraphPending || verse.paragraphStart || index != lastShown + 1;
        } else {
            slot.html += " " + verse.html;
            slot.plain += " " + verse.plain;
        }
        paragraphPending = verse.paragraphEnd;
        lastShown = index;
        if (progress && (done % 500 == 0 || done == total))
            return progress(done, total);
        return true;
    });
    if (!finished)
        return {true, 0};

    const std::string part = temporaryName(fileName);
    std::remove(part.c_str());
    SwordImportResult result;
    try {
        Database db(part);
        execSQL(db.get(), "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF;");
        execSQL(db.get(), "BEGIN;");
        execSQL(db.get(), kSchema);
        writeBooks(db.get(), "bookInfo", kjv, 1, false);
        writeBooks(db.get(), "extraBookInfo", extra, 67, true);
        {
            Statement text(db.get(), "INSERT INTO bibleText VALUES (?,?,?,?,?,?);");
            Statement search(db.get(), "INSERT INTO verseSearch (rowid, plainText) VALUES (?,?);");
            text.run([&] {
                search.run([&] {
                    const auto write = [&](int index, int book, int chapter, int verse, const Slot* slot) {
                        checkResult(sqlite3_reset(text.handle()), db.get());
                        text.bindInt(1, index);
                        text.bindInt(2, book);
                        text.bindInt(3, chapter);
                        text.bindInt(4, verse);
                        text.bindInt(5, slot && slot->paragraph ? 1 : 0);
                        text.bindText(6, slot ? slot->html : std::string());
                        text.step();
                        if (!slot)
                            return;
                        checkResult(sqlite3_reset(search.handle()), db.get());
                        search.bindInt(1, index);
                        search.bindText(2, slot->plain);
                        search.step();
                        ++result.verses;
                    };
                    // Every place of the 66 books gets its row, with or
                    // without text, so chapters keep their verse numbers.
                    for (std::size_t b = 0; b < kjv.size(); ++b)
                        for (std::size_t c = 0; c < kjv[b].chapterLengths.size(); ++c)
                            for (int v = 1; v <= kjv[b].chapterLengths[c]; ++v) {
                                const int index = chapterStart[b][c] + v - 1;
                                const auto at = slots.find(index);
                                write(index, static_cast<int>(b) + 1, static_cast<int>(c) + 1, v,
                                      at == slots.end() ? nullptr : &at->second);
                            }
                    for (const auto& [index, ref] : extraRefs)
                        write(index, ref.book, ref.chapter, ref.verse, &slots[index]);
                });
            });
        }
        {
            Statement info(db.get(), "INSERT INTO swordModule VALUES (?,?,?,?,?,?);");
            info.run([&] {
                info.bindText(1, module.name);
                info.bindText(2, module.version);
                info.bindText(3, module.description);
                info.bindText(4, module.language);
                info.bindText(5, module.versification);
                info.bindText(6, module.abbreviation);
                info.step();
            });
        }
        execSQL(db.get(), "COMMIT;");
        execSQL(db.get(), "INSERT INTO verseSearch(verseSearch) VALUES('optimize');");
        db.close();
        if (std::rename(part.c_str(), fileName.c_str()) != 0)
            throw Exception(fmt::format("Could not write {}: {}", fileName, std::strerror(errno)));
    } catch (...) {
        std::remove(part.c_str());
        throw;
    }
    return result;
}

std::optional<SwordModuleInfo> importedModule(const std::string& fileName)
{
    if (!fileExists(fileName))
        return std::nullopt;
    try {
        Database db(fileName, SQLITE_OPEN_READONLY);
        if (!tableExists(db.get(), "swordModule"))
            return std::nullopt;
        std::optional<SwordModuleInfo> info;
        queryRow(db.get(), "SELECT name,version,description,language,versification,abbreviation FROM swordModule;",
                 "importedModule: Unable to assign statement", [&](Statement& st) {
                     SwordModuleInfo m;
                     m.name = st.columnText(0);
                     m.version = st.columnText(1);
                     m.description = st.columnText(2);
                     m.language = st.columnText(3);
                     m.versification = st.columnText(4);
                     m.abbreviation = st.columnText(5);
                     m.type = SwordModuleType::Bible;
                     info = std::move(m);
                 });
        return info;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

bool needsImport(const std::string& fileName, const SwordModuleInfo& module)
{
    const std::optional<SwordModuleInfo> have = importedModule(fileName);
    return !have || have->name != module.name || have->version != module.version;
}

} // namespace kovara::core
