#pragma once
// The prayer journal's store: every prayer item lives as one row of the table
// prayerTracker in prayers.kova2. Nothing is cached; each operation is one
// short statement against the file (autocommit), so the file is always current.
// Items the user deletes are not removed: deleting one sets its status to
// "Deleted", after which no listing, count, topic list or title search sees
// it. Only a new item that was never saved is removed again (discardNewItem).
#include "core/base/datetime.h"
#include "core/db/database.h"
#include "core/db/sqlite_db.h"
#include "core/prayer/prayer_status.h"

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace kovara::core {

// The order of titles and topics in the lists: letters without regard to
// case, and a run of digits by its number, so "item 9" comes before
// "item 10" and "Family" with "family". Texts that differ only in case (or
// leading zeros) are ordered byte-wise, so equal texts stay together.
bool naturalLess(const std::string& a, const std::string& b);

// One row of the listing, fields in select order.
struct PrayerHeader {
    std::string prayerTitle;
    std::string prayerTopic;
    std::string previewText;
    StoredStatus prayerStatus;
    sys_seconds createTime{};
    sys_seconds lastEditTime{};
    std::int32_t prayerIndex = 0;
};

using PrayerHeaders = std::vector<PrayerHeader>;

// When and how an item was answered (table prayerAnswers). The record stays
// when the item goes back to another status; the views show it only while the
// item is "Answered".
struct PrayerAnswer {
    sys_days answeredTime{};
    std::string answerNote;    // may be empty
};

// One dated note on an item (table prayerNotes), in the order the item lists
// them: by date, then in the order they were written.
struct PrayerNote {
    sys_days noteTime{};
    std::string noteText;
};

using PrayerNotes = std::vector<PrayerNote>;

// Which items a journal export takes: any of the statuses, one topic or all,
// and a date range on the creation date, the answer date or either.
struct PrayerSelection {
    enum class DateField { Any, Created, Answered, CreatedOrAnswered };
    std::vector<PrayerStatus> statuses;
    bool allTopics = true;
    std::string topic;                 // when not allTopics; empty = items without a topic
    DateField dateField = DateField::Any;
    sys_days from{};                   // first day, inclusive
    sys_days to{};                     // last day, inclusive
};

// Everything the editor writes for an item in one save.
struct PrayerSave {
    std::string title;
    std::string topic;
    std::string previewText;
    StoredStatus status;   // empty = NULL
    std::string textData;  // the formatted document's bytes; empty = no text
    std::string plainText; // the document as plain text, for searching
    bool touchEditTime = true;
    // Written when set; when unset an existing record is left as it is.
    std::optional<PrayerAnswer> answer;
    // Replaces all of the item's notes when set.
    std::optional<PrayerNotes> notes;
};

// Which items a listing or count takes: those of one status, or (nothing)
// every item not deleted. An item whose column holds no status or a word
// this program does not know is taken by neither.
using PrayerFilter = std::optional<PrayerStatus>;

class PrayerStore {
public:
    static constexpr const char* kTableName = "prayerTracker";
    // The journal's tables beside it: answer records, dated notes, the
    // full-text index of every live item, and facts about the file.
    static constexpr const char* kAnswerTable = "prayerAnswers";
    static constexpr const char* kNoteTable = "prayerNotes";
    static constexpr const char* kSearchTable = "prayerSearch";
    static constexpr const char* kInfoTable = "prayerJournalInfo";
    // The info key that marks an item made by newPrayerItem and not saved
    // yet, followed by its index.
    static constexpr const char* kUnsavedKey = "unsavedItem ";

    // Opens (creating when missing) fileName and makes sure the table and its
    // four indexes exist; an existing table is left as it is. A damaged search
    // index is made anew (see repairSearchIndex). clock answers
    // "now" for new items and edit times (not owned; must outlive the store;
    // null means the system clock). Raises SqliteError when the file cannot be
    // opened or the schema cannot be made; the schema is then rolled back and
    // nothing is left open.
    explicit PrayerStore(const std::string& fileName, const Clock* clock = nullptr);
    // Closes the connection; never raises. A failing close is not reported
    // here (call close() first to see it).
    ~PrayerStore();
    PrayerStore(const PrayerStore&) = delete;
    PrayerStore& operator=(const PrayerStore&) = delete;

    // Closes the connection now; raises SqliteError when the engine refuses,
    // and the connection then stays open (see Database::close). Once closed,
    // any later operation on the store raises.
    void close();

    const std::string& fileName() const { return fileName_; }

    // Inserts an "Active" item under the first free default title ("New Prayer
    // Item", "New Prayer Item 2", ...) with createTime and lastEditTime both
    // set to createTime (none: now), and returns its index. Until its first
    // savePrayer the item is marked as unsaved: a store opened on the file
    // before then (after a crash) removes it.
    std::int32_t newPrayerItem(std::optional<sys_seconds> createTime = std::nullopt);
    // Removes the row of an item made by newPrayerItem whose editor was closed
    // without saving, so the journal is as it was before. A missing index
    // changes nothing.
    void discardNewItem(std::int32_t prayerIndex);

    // The stored times. Raise "Prayer index not valid: %d" when the row is
    // missing or holds no time.
    sys_seconds createTime(std::int32_t prayerIndex) const;
    sys_seconds lastEditTime(std::int32_t prayerIndex) const;

    // The listing for a status filter, ordered by orderClause (program-made
    // SQL, may be empty). Raises for a value outside the enumeration.
    PrayerHeaders prayerHeaders(PrayerFilter statusFilter, const std::string& orderClause) const;
    // The listing ordered by topic, then title, as people order them (see
    // naturalLess; no topic first).
    PrayerHeaders prayerHeadersByTopic(PrayerFilter statusFilter) const;

    // The index of a live (not deleted) item with exactly this title.
    std::optional<std::int32_t> findPrayerByTitle(const std::string& title) const;

    // Column values; empty when the row is missing or the column is NULL.
    StoredStatus prayerStatus(std::int32_t prayerIndex) const;
    std::string prayerTitle(std::int32_t prayerIndex) const;
    std::string prayerTopic(std::int32_t prayerIndex) const;
    // A copy of the stored document bytes; empty when there are none.
    std::string prayerText(std::int32_t prayerIndex) const;

    // Items matching a status filter (see prayerHeaders).
    int countPrayers(PrayerFilter statusFilter) const;

    // Items of each status and of all live ones (as countPrayers with no
    // filter: unknown words count, deleted items and a missing status do
    // not), read in one pass over the status index.
    struct StatusCounts {
        int all = 0;
        int active = 0;
        int answered = 0;
        int inactive = 0;
    };
    StatusCounts countByStatus() const;

    // The distinct topics of live items in the listing's order (naturalLess),
    // empty topics left out.
    std::vector<std::string> topicList() const;

    // Sets the status only; lastEditTime stays. A missing index changes
    // nothing.
    void setPrayerStatus(std::int32_t prayerIndex, PrayerStatus status);
    // Marks the item deleted (its row stays) and takes it out of the search
    // index; lastEditTime stays. A missing index changes nothing.
    void deletePrayer(std::int32_t prayerIndex);

    // Replaces all five content columns at once; every empty value is stored
    // as NULL. touchEditTime also sets lastEditTime to now. A missing index
    // changes nothing. The search index gets the preview as the item's text
    // (savePrayer takes the whole plain text).
    void updatePrayer(std::int32_t prayerIndex, const std::string& title, const std::string& topic,
                      const std::string& previewText, const StoredStatus& status, const std::string& textData,
                      bool touchEditTime);

    // Writes an item's content as updatePrayer does, and its answer record and
    // notes when given, with its search entry, in one transaction: on any
    // failure (a lock, a full disk) the file stays as it was and the error is
    // raised.
    void savePrayer(std::int32_t prayerIndex, const PrayerSave& save);

    // Sets the status and, when answer is given, the answer record, in one
    // transaction with the search index.
    void setPrayerStatus(std::int32_t prayerIndex, PrayerStatus status, const PrayerAnswer& answer);

    // The answer record, or nothing when none was ever written (an item
    // answered before records were kept, or never answered).
    std::optional<PrayerAnswer> answer(std::int32_t prayerIndex) const;
    // Every answer record, by item index (for a whole listing at once).
    std::map<std::int32_t, PrayerAnswer> answers() const;
    // The item's notes, oldest first; empty when it has none.
    PrayerNotes notes(std::int32_t prayerIndex) const;
    // The newest note, or nothing.
    std::optional<PrayerNote> latestNote(std::int32_t prayerIndex) const;

    // The items a selection takes, ordered by topic (no topic first), then by
    // creation time and title. A value outside the enumeration raises; no
    // status selects nothing. An answer date counts only while the item is "Answered".
    PrayerHeaders selectPrayers(const PrayerSelection& selection) const;

    // Whether the search index covers every item (false in a file that an
    // older program wrote until buildSearchIndex has run once).
    bool searchIndexReady() const;
    // (Re)builds the search index of every live item in one transaction and
    // marks it ready. plainTextOf turns an item's document bytes into plain
    // text; progress(done, total) is called now and then. On failure nothing
    // changes.
    void buildSearchIndex(const std::function<std::string(const std::string& textData)>& plainTextOf,
                          const std::function<void(int done, int total)>& progress = {});
    // The indexes of live items whose title, topic, text, answer note or notes
    // hold every word of words (each as the start of a word, ignoring case and
    // accents), in ascending order. Words in double quotes are a phrase: those
    // whole words, side by side, in that order (the last one as a start while
    // its closing quote is still to come). Symbols that are not letters, such
    // as emoji, must be there as typed. Words of blanks only match nothing; so
    // does text without any letter, digit or such symbol.
    std::vector<std::int32_t> searchPrayers(const std::string& words) const;
    // The listing of prayerHeadersByTopic narrowed to the items that
    // searchPrayers finds for words (words without a term: the whole listing).
    PrayerHeaders prayerHeadersMatching(PrayerFilter statusFilter, const std::string& words) const;
    // The FTS5 query searchPrayers runs for words; empty when there is none.
    static std::string searchQuery(const std::string& words);
    // The runs of symbols in words (emoji and the like, which the index does
    // not hold as words) that a match must contain as typed.
    static std::vector<std::string> searchSymbols(const std::string& words);
    // The condition on the search table that finds words, with the values
    // it binds in order appended to values; empty when there is nothing to
    // look for.
    static std::string searchCondition(const std::string& words, std::vector<std::string>& values);

    // Runs FTS5's own integrity check on the search index of the prayer
    // database open at db (SQLite's integrity check does not look inside
    // it). A damaged index is dropped and made anew, empty and marked not
    // built, so that it is built again from the items on first use, as in a
    // file from before the index. Returns true when it was damaged and has
    // been made anew; false when it is sound, missing, or could not be checked
    // (a read-only file). Raises SqliteError when it was damaged and could
    // not be made anew; the file then stays as it was.
    static bool repairSearchIndex(sqlite3* db);

    // Runs body inside one write transaction (BEGIN IMMEDIATE ... COMMIT);
    // when body or the commit raises, everything is rolled back and the error
    // passes on. Not nested.
    void inTransaction(const std::function<void()>& body);

    // The raw connection, for tests that provoke engine failures.
    sqlite3* connection() const { return db(); }

private:
    // Makes whatever tables the file lacks, in one transaction.
    void ensureSchema();
    void createTrackerTable();
    void createJournalTables();
    // Removes the items still marked as unsaved; a file that cannot be
    // written is left as it is.
    void discardUnsavedItems();
    void writeContent(std::int32_t prayerIndex, const PrayerSave& save);
    // Clears the unsaved mark of newPrayerItem: the item was saved, or its
    // status set, and so belongs to the journal from now on.
    void markSaved(std::int32_t prayerIndex);
    // Sets the item's status; the caller holds the transaction.
    void writeStatus(std::int32_t prayerIndex, const StoredStatus& status);
    void writeAnswer(std::int32_t prayerIndex, const PrayerAnswer& answer);
    void writeNotes(std::int32_t prayerIndex, const PrayerNotes& notes);
    // Replaces the item's search entry from what is stored now; plainText is
    // the document's text. A deleted or missing item leaves the index.
    // (nullopt keeps the body indexed before).
    void writeSearchEntry(std::int32_t prayerIndex, const std::optional<std::string>& plainText);
    sqlite3* db() const;
    sys_seconds time(const char* column, std::int32_t prayerIndex) const;
    std::string textColumn(const char* column, const char* operation, std::int32_t prayerIndex) const;
    // The WHERE clause for a status filter; raises for an unknown filter.
    static std::string filterClause(PrayerFilter statusFilter, const char* operation);
    // The listing's order: by topic, then title (naturalLess), then index.
    static PrayerHeaders sortedByTopic(PrayerHeaders headers);

    Database db_;
    std::string fileName_;
    const Clock* clock_;
};

} // namespace kovara::core
