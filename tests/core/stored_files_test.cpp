// The files the program keeps for the user (userreadplans.kova2,
// prayers.kova2, settings.ini, the backup header) are made here through the
// public API from fixed inputs and compared with what the program has always
// written: the databases as a dump of their schema and every column value with
// its storage type, settings.ini byte for byte. A change of types in memory
// must never show in these files.
#include "core/app/backup_file.h"
#include "core/app/preferences.h"
#include "core/plans/plan_store.h"
#include "core/plans/reading_reminder.h"
#include "core/prayer/prayer_store.h"
#include "core/settings/settings_keys.h"
#include "fixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>

namespace kovara::core {
namespace {

// One value as "type:value" (text quoted), so that 1 and '1' differ.
std::string cell(sqlite3_stmt* st, int column)
{
    switch (sqlite3_column_type(st, column)) {
    case SQLITE_NULL:
        return "null";
    case SQLITE_INTEGER:
        return "i:" + std::to_string(sqlite3_column_int64(st, column));
    case SQLITE_FLOAT:
        return format("r:%.17g", sqlite3_column_double(st, column));
    case SQLITE_BLOB: {
        std::string hex = "b:";
        const auto* bytes = static_cast<const unsigned char*>(sqlite3_column_blob(st, column));
        for (int i = 0; i < sqlite3_column_bytes(st, column); ++i)
            hex += format("%02X", bytes[i]);
        return hex;
    }
    default:
        return "t:'" + columnText(st, column) + "'";
    }
}

// The schema (sorted by name, the plans' own tables last in the order they
// were made, since their names are random) and the rows of every table (in
// rowid order), one line each; plan GUIDs become {PLAN1}, {PLAN2}, ... in the
// order of their master rows, and the search index's internal tables are left
// out.
std::string dump(const std::string& fileName)
{
    sqlite3* db = nullptr;
    openDatabase(fileName, db);
    std::vector<std::pair<std::string, std::string>> tables;
    std::ostringstream out;
    {
        Statement st(db, "SELECT type, name, sql FROM sqlite_master WHERE name NOT LIKE 'prayerSearch_%' "
                         "AND name NOT LIKE 'sqlite_%' "
                         "ORDER BY name LIKE '{%', CASE WHEN name LIKE '{%' THEN rowid ELSE name END");
        while (st.step() == SQLITE_ROW) {
            out << columnText(st.handle(), 0) << " " << columnText(st.handle(), 2) << "\n";
            if (columnText(st.handle(), 0) == "table")
                tables.emplace_back(columnText(st.handle(), 1), columnText(st.handle(), 2));
        }
        st.finalize();
    }
    for (const auto& [name, sql] : tables) {
        const bool virtualTable = sql.find("VIRTUAL") != std::string::npos;
        Statement st(db, format("SELECT * FROM \"%s\"%s", name.c_str(), virtualTable ? "" : " ORDER BY rowid"));
        while (st.step() == SQLITE_ROW) {
            out << name << ":";
            for (int c = 0; c < sqlite3_column_count(st.handle()); ++c)
                out << " " << cell(st.handle(), c);
            out << "\n";
        }
        st.finalize();
    }
    closeDatabase(db);

    std::string text = out.str();
    std::map<std::string, std::string> names;
    for (std::size_t at = text.find("KOVA2PlanMaster: t:'{"); at != std::string::npos;
         at = text.find("KOVA2PlanMaster: t:'{", at + 1)) {
        const std::string guid = text.substr(at + 20, 38);
        names.emplace(guid, format("{PLAN%d}", static_cast<int>(names.size()) + 1));
    }
    for (const auto& [guid, name] : names)
        for (std::size_t at = text.find(guid); at != std::string::npos; at = text.find(guid))
            text.replace(at, guid.size(), name);

    // The GUIDs are random, so the order by name is put right once they are
    // replaced: schema lines sorted, each table's rows together in rowid order.
    std::vector<std::string> schema, rows;
    std::istringstream lines(text);
    std::string line, pending;
    while (std::getline(lines, line)) {
        const bool starts = line.rfind("table ", 0) == 0 || line.rfind("index ", 0) == 0 ||
                            line.find(": ") != std::string::npos;
        if (!starts && !(schema.empty() && rows.empty())) {
            (rows.empty() ? schema : rows).back() += "\n" + line; // a value holding a line break
            continue;
        }
        (line.rfind("table ", 0) == 0 || line.rfind("index ", 0) == 0 ? schema : rows).push_back(line);
    }
    std::sort(schema.begin(), schema.end());
    std::stable_sort(rows.begin(), rows.end(), [](const std::string& a, const std::string& b) {
        return a.substr(0, a.find(": ")) < b.substr(0, b.find(": "));
    });
    std::string sorted;
    for (const auto* part : {&schema, &rows})
        for (const std::string& l : *part)
            sorted += l + "\n";
    return sorted;
}

std::string fileBytes(const std::string& fileName)
{
    std::ifstream in(fileName, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(StoredFilesTest, PlanDatabase)
{
    test::TempDir dir;
    const std::string file = dir.file("userreadplans.kova2");
    FixedClock clock(makeMoment(2024, 3, 10, 9, 15, 0));
    {
        PlanStore store(file, clock);
        // Listed by title: "Alpha" before "Beta" whatever the order made.
        store.addPlan("Beta", {"1-31", "32-56", "57-80"}, makeDate(2024, 3, 1));
        store.addPlan("Alpha", {"1-6", "7-18"}, makeDate(2023, 12, 31));
        ASSERT_EQ(store.planTitle(0), "Alpha");
        store.setDayDone(0, 1, true);
        store.setDoubleUp(0, true);
        clock.set(makeMoment(2024, 3, 11, 23, 59, 59));
        store.markDaysDoneThrough(1, 2); // day 2 dated by its plan: 2 March
        store.setDayDone(1, 1, false);
        store.setReminder(1, false);
        store.setStartDate(1, makeDate(2024, 3, 2));
    }
    EXPECT_EQ(dump(file),
              "table CREATE TABLE '{PLAN1}' (planDay INTEGER PRIMARY KEY, dayVerses TEXT, dayDone INTEGER)\n"
              "table CREATE TABLE '{PLAN2}' (planDay INTEGER PRIMARY KEY, dayVerses TEXT, dayDone INTEGER)\n"
              "table CREATE TABLE KOVA2PlanMaster (tableName TEXT UNIQUE, planTitle TEXT, startDate INTEGER, status TEXT)\n"
              "table CREATE TABLE KOVA2PlanOptions (tableName TEXT PRIMARY KEY, doubleUp INTEGER, reminder INTEGER)\n"
              "table CREATE TABLE KOVA2PlanReadDates (tableName TEXT, planDay INTEGER, readDate INTEGER, PRIMARY KEY (tableName, planDay))\n"
              "KOVA2PlanMaster: t:'{PLAN1}' t:'Beta' i:1709337600 t:'active'\n"
              "KOVA2PlanMaster: t:'{PLAN2}' t:'Alpha' i:1703980800 t:'active'\n"
              "KOVA2PlanOptions: t:'{PLAN2}' i:1 i:1\n"
              "KOVA2PlanOptions: t:'{PLAN1}' i:0 i:0\n"
              "KOVA2PlanReadDates: t:'{PLAN2}' i:1 i:1710028800\n"
              "KOVA2PlanReadDates: t:'{PLAN1}' i:2 i:1709337600\n"
              "{PLAN1}: i:1 t:'1-31' i:0\n"
              "{PLAN1}: i:2 t:'32-56' i:1\n"
              "{PLAN1}: i:3 t:'57-80' i:0\n"
              "{PLAN2}: i:1 t:'1-6' i:1\n"
              "{PLAN2}: i:2 t:'7-18' i:0\n");
}

TEST(StoredFilesTest, PrayerDatabase)
{
    test::TempDir dir;
    const std::string file = dir.file("prayers.kova2");
    FixedClock clock(makeMoment(2024, 5, 6, 7, 8, 9));
    {
        PrayerStore store(file, &clock);
        const auto active = store.newPrayerItem();
        PrayerSave save;
        save.title = "Mum";
        save.topic = "Family";
        save.previewText = "Surgery";
        save.status = PrayerStatus::Active;
        save.textData = "{doc}";
        save.plainText = "Surgery on Friday";
        save.notes = PrayerNotes{{makeDate(2024, 5, 7), "Went well"}, {makeDate(2024, 5, 6), "Admitted"}};
        store.savePrayer(active, save);

        const auto answered = store.newPrayerItem(makeMoment(2023, 1, 2, 3, 4, 5));
        store.updatePrayer(answered, "Rain", "", "Dry fields", PrayerStatus::Active, "", false);
        store.setPrayerStatus(answered, PrayerStatus::Answered, {makeDate(2024, 4, 30), "Showers"});

        clock.set(makeMoment(2024, 5, 8, 12, 0, 0));
        const auto inactive = store.newPrayerItem();
        store.updatePrayer(inactive, "Job", "Work", "", PrayerStatus::Inactive, "", true);
        const auto deleted = store.newPrayerItem();
        store.deletePrayer(deleted);
    }
    EXPECT_EQ(dump(file),
              "index CREATE INDEX 'prayerTracker_prayerIndex' ON prayerTracker (prayerIndex)\n"
              "index CREATE INDEX 'prayerTracker_prayerStatus' ON prayerTracker (prayerStatus)\n"
              "index CREATE INDEX 'prayerTracker_prayerTitle' ON prayerTracker (prayerTitle)\n"
              "index CREATE INDEX 'prayerTracker_prayerTopic' ON prayerTracker (prayerTopic)\n"
              "index CREATE INDEX prayerNotes_prayerIndex ON prayerNotes (prayerIndex, noteTime)\n"
              "table CREATE TABLE 'prayerTracker' (prayerIndex INTEGER PRIMARY KEY, prayerTitle TEXT, prayerTopic TEXT, prayerTextData BLOB, prayerStatus TEXT, createTime INTEGER, lastEditTime INTEGER, previewText TEXT)\n"
              "table CREATE TABLE prayerAnswers (prayerIndex INTEGER PRIMARY KEY, answeredTime INTEGER, answerNote TEXT)\n"
              "table CREATE TABLE prayerJournalInfo (infoKey TEXT PRIMARY KEY, infoValue TEXT)\n"
              "table CREATE TABLE prayerNotes (noteIndex INTEGER PRIMARY KEY, prayerIndex INTEGER, noteTime INTEGER, noteText TEXT)\n"
              "table CREATE VIRTUAL TABLE prayerSearch USING fts5(title, topic, body, notes, tokenize='unicode61 remove_diacritics 2')\n"
              "prayerAnswers: i:2 i:1714435200 t:'Showers'\n"
              "prayerJournalInfo: t:'searchIndex' t:'2'\n"
              "prayerNotes: i:1 i:1 i:1715040000 t:'Went well'\n"
              "prayerNotes: i:2 i:1 i:1714953600 t:'Admitted'\n"
              "prayerSearch: t:'Mum' t:'Family' t:'Surgery on Friday' t:'\n"
              "Admitted\n"
              "Went well'\n"
              "prayerSearch: t:'Rain' null t:'Dry fields' t:'Showers'\n"
              "prayerSearch: t:'Job' t:'Work' null null\n"
              "prayerTracker: i:1 t:'Mum' t:'Family' b:7B646F637D t:'Active' i:1714979289 i:1714979289 t:'Surgery'\n"
              "prayerTracker: i:2 t:'Rain' null null t:'Answered' i:1672628645 i:1672628645 t:'Dry fields'\n"
              "prayerTracker: i:3 t:'Job' t:'Work' null t:'Inactive' i:1715169600 i:1715169600 null\n"
              "prayerTracker: i:4 t:'New Prayer Item' null null t:'Deleted' i:1715169600 i:1715169600 null\n");
}

TEST(StoredFilesTest, SettingsFile)
{
    test::TempDir dir;
    const std::string file = dir.file("settings.ini");
    IniFile ini(file);
    {
        Preferences prefs(ini);
        prefs.paragraphMode = false;
        prefs.splitPercent = 60;
        prefs.textBackColor = static_cast<ColorValue>(0xFF000005);
        prefs.textFontColor = 0x123456;
        prefs.textFontName = "DejaVu Serif";
        prefs.textFontSize = 12;
        prefs.lastBackupFile = "/home/u/a.kova2bak";
        prefs.lastRestoreFile = "/home/u/b.kova2bak";
        prefs.lastFaithsCheckbookRead = 45;
        prefs.offerImport1x = false;
        prefs.savePreferences();
    }
    ReminderSettings{true, 6 * 60 + 5, true}.write(ini);
    // What the window placement, the colour pickers and the Bible page write.
    const auto& main = settings::kMainWindowPlacement;
    main.maximized.write(ini, 0);
    main.left.write(ini, 10);
    main.top.write(ini, -20);
    main.right.write(ini, 810);
    main.bottom.write(ini, 580);
    main.saved.write(ini, true);
    settings::kPrayerEditorPlacement.maximized.write(ini, 1);
    settings::kCustomColors[0].write(ini, format("%.6X", 0xABCDEF));
    settings::kBibleBook.write(ini, 43);
    settings::kBibleChapter.write(ini, 3);
    EXPECT_EQ(fileBytes(file),
              "[Bible Display]\n"
              "ParagraphMode=0\n"
              "\n"
              "[Prayer Tracker]\n"
              "SplitPercent=60\n"
              "\n"
              "[Global Display]\n"
              "TextBackColor=-16777211\n"
              "TextFontColor=1193046\n"
              "TextFontName=DejaVu Serif\n"
              "TextFontSize=12\n"
              "TextZoom=100\n"
              "\n"
              "[Directories and Files]\n"
              "LastBackupFile=/home/u/a.kova2bak\n"
              "LastRestoreFile=/home/u/b.kova2bak\n"
              "\n"
              "[Devotional Info]\n"
              "LastFaithsCheckbookRead=45\n"
              "\n"
              "[Misc]\n"
              "OfferImport1x=0\n"
              "\n"
              "[Reminder]\n"
              "Enabled=1\n"
              "Time=06:05\n"
              "StartAtLogin=1\n"
              "\n"
              "[Main Window State]\n"
              "Maximized=0\n"
              "Left=10\n"
              "Top=-20\n"
              "Right=810\n"
              "Bottom=580\n"
              "Saved=1\n"
              "\n"
              "[Prayer Edit Window State]\n"
              "Maximized=1\n"
              "\n"
              "[Custom Colors]\n"
              "ColorA=ABCDEF\n"
              "\n"
              "[Bible Page]\n"
              "Book=43\n"
              "Chapter=3\n");
}

TEST(StoredFilesTest, BackupHeader)
{
    BackupHeader header;
    header.signature = kBackupSignature;
    header.prayersOffset = 90;
    header.plansOffset = 1234;
    header.prayersSize = 8192;
    header.plansSize = 16384;
    header.created = makeMoment(2024, 2, 29, 18, 30, 15);
    header.version = kBackupVersion;
    const auto bytes = encodeBackupHeader(header);
    std::string hex;
    for (unsigned char b : bytes)
        hex += format("%02X", b);
    EXPECT_EQ(hex, "4B6F76617261206261636B7570205B736368656D6120322E305D0000000000000000000000000000000000000000"
                   "5A00000000000000D204000000000000002000000000000000400000000000006CC116ACF824E64014000000");
}

} // namespace
} // namespace kovara::core
