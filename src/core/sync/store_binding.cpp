#include "core/sync/store_binding.h"

#include "core/base/exception.h"
#include "core/base/translation.h"
#include "core/db/sqlite_db.h"
#include "core/plans/plan_store.h"
#include "core/prayer/prayer_store.h"

#include <fmt/format.h>

#include <algorithm>

namespace kovara::core {

namespace {

using Fields = StoreBinding::Fields;

constexpr const char* kContext = "kovara::core::StoreBinding";

std::string seconds(sys_seconds t) { return std::to_string(toStoredSeconds(t)); }

std::int64_t toNumber(const std::string& text)
{
    try {
        return text.empty() ? 0 : std::stoll(text);
    } catch (const std::exception&) {
        return 0;
    }
}

std::string readMark(bool done, const std::optional<sys_seconds>& date)
{
    if (!done)
        return {};
    return date ? "@" + seconds(*date) : "@";
}

std::string joinLines(const std::vector<std::string>& lines)
{
    std::string out;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i)
            out += '\n';
        out += lines[i];
    }
    return out;
}

std::vector<std::string> splitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t from = 0;
    for (;;) {
        const std::size_t at = text.find('\n', from);
        lines.push_back(text.substr(from, at == std::string::npos ? std::string::npos : at - from));
        if (at == std::string::npos)
            return lines;
        from = at + 1;
    }
}

std::string valueOr(const ReplicaState& state, const EntityKey& key, const std::string& field)
{
    return state.value(key.first, key.second, field).value_or(std::string());
}

std::string fieldOf(const Fields& fields, const std::string& field)
{
    auto it = fields.find(field);
    return it == fields.end() ? std::string() : it->second;
}

// "2026-12-11 09:30" of a clock time in milliseconds (the program's clock
// gives local time).
std::string timeText(std::int64_t wallMs)
{
    const sys_seconds t{std::chrono::seconds{wallMs / 1000}};
    const sys_days day = dayOf(t);
    const std::chrono::year_month_day ymd{day};
    const std::chrono::hh_mm_ss hms{t - startOf(day)};
    return fmt::format("{:04}-{:02}-{:02} {:02}:{:02}", static_cast<int>(ymd.year()),
                       static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()), hms.hours().count(),
                       hms.minutes().count());
}

struct StateNote {
    std::string id;
    std::string date;
    std::string text;
};

// The live notes of every prayer item in state, by the item's lasting id,
// ordered by date, then id.
std::map<std::string, std::vector<StateNote>> notesInState(const ReplicaState& state)
{
    std::map<std::string, std::vector<StateNote>> notes;
    for (const auto& [key, e] : state.entities()) {
        if (key.first != EntityKind::Note || !state.isLive(key.first, key.second))
            continue;
        notes[valueOr(state, key, "prayer")].push_back(
            StateNote{key.second, valueOr(state, key, "date"), valueOr(state, key, "text")});
    }
    for (auto& [prayer, list] : notes)
        std::sort(list.begin(), list.end(), [](const StateNote& a, const StateNote& b) {
            const std::int64_t da = toNumber(a.date), db = toNumber(b.date);
            return da != db ? da < db : a.id < b.id;
        });
    return notes;
}

bool isLiveKind(EntityKind kind) { return kind != EntityKind::Computer; }

} // namespace

StoreBinding::StoreBinding(PlanStore& plans, PrayerStore& prayers,
                           std::function<std::string(const std::string& textData)> plainTextOf)
    : plans_(plans), prayers_(prayers), plainTextOf_(std::move(plainTextOf))
{
}

std::string StoreBinding::plainText(const std::string& textData) const
{
    return plainTextOf_ ? plainTextOf_(textData) : textData;
}

std::map<std::int32_t, std::string> StoreBinding::prayerIds()
{
    sqlite3* db = prayers_.connection();
    execSQL(db, format("CREATE TABLE IF NOT EXISTS %s (prayerIndex INTEGER PRIMARY KEY, syncId TEXT NOT NULL UNIQUE);",
                       kPrayerIdTable));
    std::map<std::int32_t, std::string> ids;
    queryRows(db, format("SELECT prayerIndex, syncId FROM %s;", kPrayerIdTable), "StoreBinding: prayer ids",
              [&](Statement& st) { ids[st.columnInt(0)] = st.columnText(1); });
    return ids;
}

std::string StoreBinding::newPrayerId(std::int32_t prayerIndex)
{
    std::string id = newGuidString();
    Statement st(prayers_.connection(),
                 format("INSERT OR REPLACE INTO %s (prayerIndex, syncId) VALUES (?, ?);", kPrayerIdTable));
    if (!st)
        throw Exception("StoreBinding: prayer ids");
    st.run([&] {
        st.bindInt(1, prayerIndex);
        st.bindText(2, id);
        st.step();
    });
    return id;
}

StoreBinding::Things StoreBinding::read(const ReplicaState& state, unsigned scope)
{
    Things things;
    for (int p = 0; (scope & Plans) && p < plans_.planCount(); ++p) {
        const PlanRecord& rec = plans_.record(p);
        Fields& f = things[EntityKey{EntityKind::Plan, rec.tableName}];
        f["title"] = rec.planTitle;
        f["start"] = seconds(rec.startDate);
        f["days"] = joinLines(rec.dayVerses);
        for (std::size_t d = 0; d < rec.dayDone.size(); ++d)
            f["read:" + std::to_string(d + 1)] = readMark(rec.dayDone[d], rec.readDates[d]);
        f["doubleUp"] = rec.doubleUp ? "1" : "0";
        f["reminder"] = rec.reminder ? "1" : "0";
        f["version"] = rec.bibleVersion;
    }
    if (!(scope & Prayers))
        return things;

    sqlite3* db = prayers_.connection();
    std::map<std::int32_t, std::string> ids = prayerIds();
    std::set<std::int32_t> unsaved;
    const std::string unsavedKey = PrayerStore::kUnsavedKey;
    queryRows(db, format("SELECT infoKey FROM %s;", PrayerStore::kInfoTable), "StoreBinding: info",
              [&](Statement& st) {
                  const std::string key = st.columnText(0);
                  if (key.rfind(unsavedKey, 0) == 0)
                      unsaved.insert(static_cast<std::int32_t>(toNumber(key.substr(unsavedKey.size()))));
              });
    std::map<std::int32_t, std::string> live;
    queryRows(db,
              format("SELECT prayerIndex, prayerTitle, prayerTopic, prayerTextData, prayerStatus, createTime, "
                     "previewText FROM '%s';",
                     PrayerStore::kTableName),
              "StoreBinding: prayers", [&](Statement& st) {
                  const std::int32_t index = st.columnInt(0);
                  const StoredStatus status = StoredStatus::fromWord(st.columnText(4));
                  if (unsaved.count(index) || status.isDeleted())
                      return;
                  auto id = ids.find(index);
                  const std::string lasting = id != ids.end() ? id->second : (ids[index] = newPrayerId(index));
                  live[index] = lasting;
                  Fields& f = things[EntityKey{EntityKind::Prayer, lasting}];
                  f["title"] = st.columnText(1);
                  f["topic"] = st.columnText(2);
                  f["text"] = st.columnText(3);
                  f["status"] = status.word();
                  f["created"] = std::to_string(st.columnInt64(5));
                  f["preview"] = st.columnText(6);
                  f["answered"] = "";
                  f["answerNote"] = "";
              });
    for (const auto& [index, answer] : prayers_.answers()) {
        auto id = live.find(index);
        if (id == live.end())
            continue;
        Fields& f = things[EntityKey{EntityKind::Prayer, id->second}];
        f["answered"] = seconds(startOf(answer.answeredTime));
        f["answerNote"] = answer.answerNote;
    }

    // Notes: matched to the ids state knows for their item, first by date and
    // text, then in order; the rest are new.
    std::map<std::string, std::vector<std::pair<std::string, std::string>>> notes; // item id -> (date, text)
    queryRows(db,
              format("SELECT prayerIndex, noteTime, noteText FROM %s ORDER BY prayerIndex, noteTime, noteIndex;",
                     PrayerStore::kNoteTable),
              "StoreBinding: notes", [&](Statement& st) {
                  auto id = live.find(st.columnInt(0));
                  if (id != live.end())
                      notes[id->second].emplace_back(std::to_string(st.columnInt64(1)), st.columnText(2));
              });
    const auto known = notesInState(state);
    for (const auto& [prayer, list] : notes) {
        static const std::vector<StateNote> none;
        auto k = known.find(prayer);
        const std::vector<StateNote>& recorded = k == known.end() ? none : k->second;
        std::vector<bool> used(recorded.size(), false);
        std::vector<std::string> noteIds(list.size());
        for (std::size_t i = 0; i < list.size(); ++i)
            for (std::size_t r = 0; r < recorded.size(); ++r)
                if (!used[r] && recorded[r].date == list[i].first && recorded[r].text == list[i].second) {
                    used[r] = true;
                    noteIds[i] = recorded[r].id;
                    break;
                }
        std::size_t next = 0;
        for (std::size_t i = 0; i < list.size(); ++i) {
            if (!noteIds[i].empty())
                continue;
            while (next < recorded.size() && used[next])
                ++next;
            if (next < recorded.size()) {
                used[next] = true;
                noteIds[i] = recorded[next].id;
            } else {
                noteIds[i] = newGuidString();
            }
        }
        for (std::size_t i = 0; i < list.size(); ++i) {
            Fields& f = things[EntityKey{EntityKind::Note, noteIds[i]}];
            f["prayer"] = prayer;
            f["date"] = list[i].first;
            f["text"] = list[i].second;
        }
    }
    return things;
}

std::vector<Change> StoreBinding::capture(ReplicaState& state, const Stamper& nextStamp, unsigned scope)
{
    const Things things = read(state, scope);
    std::vector<Change> changes;
    auto emit = [&](const EntityKey& key, const std::string& field, const std::string& value) {
        Change c;
        c.stamp = nextStamp();
        c.kind = key.first;
        c.entity = key.second;
        c.field = field;
        c.value = value;
        if (keepsEveryValue(key.first, field)) {
            if (const EntityState* e = state.entity(key.first, key.second)) {
                auto it = e->fields.find(field);
                if (it != e->fields.end())
                    c.base = it->second.stamp;
            }
        }
        changes.push_back(std::move(c));
    };
    std::set<std::string> damaged;
    for (const DamagedPlan& plan : plans_.damagedPlans())
        damaged.insert(plan.id.guid());

    static const std::string none;
    for (const auto& [key, fields] : things) {
        // One look-up of the thing, not one per field: a whole journal is
        // compared at each change the reader makes.
        const EntityState* known = state.entity(key.first, key.second);
        if (known && !state.isLive(key.first, key.second))
            emit(key, kDeletedField, "0");
        for (const auto& [field, value] : fields) {
            const std::string* was = &none;
            if (known)
                if (auto it = known->fields.find(field); it != known->fields.end())
                    was = &it->second.value;
            if (*was != value)
                emit(key, field, value);
        }
    }
    for (const auto& [key, e] : state.entities()) {
        const unsigned kindScope = key.first == EntityKind::Plan ? Plans : Prayers;
        if (isLiveKind(key.first) && (scope & kindScope) && !things.count(key) &&
            state.isLive(key.first, key.second) &&
            !(key.first == EntityKind::Plan && damaged.count(key.second)))
            emit(key, kDeletedField, "1");
    }
    for (const Change& c : changes)
        state.apply(c);
    return changes;
}

void StoreBinding::applyPlan(const std::string& id, const ReplicaState& state, const Fields* current)
{
    const EntityKey key{EntityKind::Plan, id};
    const PlanId planId(id);
    if (!state.isLive(EntityKind::Plan, id)) {
        if (auto index = plans_.indexOf(planId))
            plans_.deletePlan(*index);
        return;
    }
    if (!plans_.indexOf(planId)) {
        if (!plans_.restorePlan(planId)) {
            const auto days = state.value(EntityKind::Plan, id, "days");
            if (!days)
                return; // its making has not arrived yet
            plans_.addPlan(valueOr(state, key, "title"), splitLines(*days),
                           fromStoredSeconds(toNumber(valueOr(state, key, "start"))), planId);
        }
        current = nullptr;
    }
    const auto found = plans_.indexOf(planId);
    if (!found)
        return;
    const int index = *found;
    const EntityState* e = state.entity(EntityKind::Plan, id);
    auto differs = [&](const std::string& field, const std::string& value) {
        return !current || fieldOf(*current, field) != value;
    };
    for (const auto& [field, v] : e->fields) {
        if (!differs(field, v.value))
            continue;
        if (field == "title") {
            plans_.renamePlan(index, v.value);
        } else if (field == "start") {
            plans_.setStartDate(index, fromStoredSeconds(toNumber(v.value)));
        } else if (field == "doubleUp") {
            plans_.setDoubleUp(index, v.value == "1");
        } else if (field == "reminder") {
            plans_.setReminder(index, v.value == "1");
        } else if (field == "version") {
            // A version not imported on this computer is kept all the same:
            // the day is read in the shipped Bible until it is imported.
            plans_.setBibleVersion(index, v.value);
        } else if (field.rfind("read:", 0) == 0) {
            const int day = static_cast<int>(toNumber(field.substr(5)));
            if (day < 1 || day > plans_.dayCount(index))
                continue;
            const bool done = !v.value.empty();
            std::optional<sys_seconds> date;
            if (v.value.size() > 1)
                date = fromStoredSeconds(toNumber(v.value.substr(1)));
            plans_.setDayDone(index, day, done, date);
        }
    }
}

void StoreBinding::applyPrayer(const std::string& id, const ReplicaState& state, const Things& current,
                               std::map<std::int32_t, std::string>& ids)
{
    const EntityKey key{EntityKind::Prayer, id};
    std::optional<std::int32_t> index;
    for (const auto& [i, lasting] : ids)
        if (lasting == id)
            index = i;
    if (!state.isLive(EntityKind::Prayer, id)) {
        if (index && current.count(key))
            prayers_.deletePrayer(*index);
        return;
    }
    if (!index) {
        const std::int64_t created = toNumber(valueOr(state, key, "created"));
        index = prayers_.newPrayerItem(created ? std::optional<sys_seconds>(fromStoredSeconds(created))
                                               : std::nullopt);
        Statement st(prayers_.connection(),
                     format("INSERT OR REPLACE INTO %s (prayerIndex, syncId) VALUES (?, ?);", kPrayerIdTable));
        if (!st)
            throw Exception("StoreBinding: prayer ids");
        st.run([&] {
            st.bindInt(1, *index);
            st.bindText(2, id);
            st.step();
        });
        ids[*index] = id;
    }
    PrayerSave save;
    save.title = valueOr(state, key, "title");
    save.topic = valueOr(state, key, "topic");
    save.previewText = valueOr(state, key, "preview");
    const std::string status = valueOr(state, key, "status");
    save.status = status.empty() ? StoredStatus(PrayerStatus::Active) : StoredStatus::fromWord(status);
    save.textData = valueOr(state, key, "text");
    save.plainText = plainText(save.textData);
    save.touchEditTime = false;
    const std::string answered = valueOr(state, key, "answered");
    if (!answered.empty())
        save.answer = PrayerAnswer{dayOf(fromStoredSeconds(toNumber(answered))), valueOr(state, key, "answerNote")};
    PrayerNotes notes;
    const auto known = notesInState(state);
    if (auto it = known.find(id); it != known.end())
        for (const StateNote& n : it->second)
            notes.push_back(PrayerNote{dayOf(fromStoredSeconds(toNumber(n.date))), n.text});
    save.notes = std::move(notes);
    prayers_.savePrayer(*index, save);
}

std::set<EntityKey> StoreBinding::applyToStores(const ReplicaState& state)
{
    // The whole batch in one transaction per store: one commit, and one wait
    // for the disk, instead of one for every day and item written (each
    // store operation becomes a savepoint of it).
    sqlite3* plansDb = plans_.handle();
    sqlite3* prayersDb = prayers_.connection();
    auto rollBack = [](sqlite3* db) {
        if (db && !sqlite3_get_autocommit(db))
            sqlite3_exec(db, "ROLLBACK TRANSACTION", nullptr, nullptr, nullptr);
    };
    try {
        execSQL(plansDb, "BEGIN IMMEDIATE TRANSACTION");
        execSQL(prayersDb, "BEGIN IMMEDIATE TRANSACTION");
        std::set<EntityKey> written = applyBatch(state);
        execSQL(plansDb, "COMMIT TRANSACTION");
        execSQL(prayersDb, "COMMIT TRANSACTION");
        return written;
    } catch (...) {
        rollBack(plansDb);
        rollBack(prayersDb);
        // The plans held in memory took what was rolled back: read them again.
        try {
            plans_.loadPlans();
        } catch (const Exception&) {
            // the error below is the one to tell
        }
        throw;
    }
}

std::set<EntityKey> StoreBinding::applyBatch(const ReplicaState& state)
{
    const Things current = read(state);
    std::map<std::int32_t, std::string> ids = prayerIds();
    std::set<EntityKey> written;
    std::set<std::string> prayersToWrite;
    for (const auto& [key, e] : state.entities()) {
        if (!isLiveKind(key.first))
            continue;
        const bool live = state.isLive(key.first, key.second);
        auto now = current.find(key);
        bool differs = live != (now != current.end());
        if (live && !differs)
            for (const auto& [field, v] : e.fields)
                if (field != kDeletedField && fieldOf(now->second, field) != v.value)
                    differs = true;
        if (!differs)
            continue;
        written.insert(key);
        if (key.first == EntityKind::Plan)
            applyPlan(key.second, state, now == current.end() ? nullptr : &now->second);
        else if (key.first == EntityKind::Prayer)
            prayersToWrite.insert(key.second);
        else if (key.first == EntityKind::Note) {
            // A note is written with its item; a note that moved is written
            // with both.
            prayersToWrite.insert(valueOr(state, key, "prayer"));
            if (now != current.end())
                prayersToWrite.insert(fieldOf(now->second, "prayer"));
        }
    }
    for (const std::string& prayer : prayersToWrite) {
        if (state.entity(EntityKind::Prayer, prayer)) {
            applyPrayer(prayer, state, current, ids);
            written.insert(EntityKey{EntityKind::Prayer, prayer});
        }
    }
    return written;
}

std::vector<Change> StoreBinding::keepLostTexts(ReplicaState& state, const Stamper& nextStamp, int* added)
{
    std::vector<Change> changes;
    int copies = 0;
    for (const ConflictCopy& copy : state.conflictCopies()) {
        std::string prayer = copy.kind == EntityKind::Prayer ? copy.entity
                                                             : valueOr(state, EntityKey{copy.kind, copy.entity}, "prayer");
        if (prayer.empty() || !state.isLive(EntityKind::Prayer, prayer) || !state.isLive(copy.kind, copy.entity))
            continue;
        const Stamp& lost = copy.lost.stamp;
        const std::string noteId = fmt::format("kept-{}-{}-{}-{}", copy.entity, lost.hlc.wallMs, lost.hlc.counter,
                                               lost.computer);
        if (state.entity(EntityKind::Note, noteId))
            continue;
        const std::string computer =
            state.value(EntityKind::Computer, lost.computer, "name").value_or(lost.computer);
        const std::string text = copy.kind == EntityKind::Prayer ? plainText(copy.lost.value) : copy.lost.value;
        const std::string heading =
            withArgs(translatedText(kContext, "Changed on %1 at %2"), computer, timeText(lost.hlc.wallMs));
        const sys_seconds day = startOf(dayOf(sys_seconds{std::chrono::seconds{lost.hlc.wallMs / 1000}}));
        for (const auto& [field, value] : std::vector<std::pair<std::string, std::string>>{
                 {"prayer", prayer}, {"date", seconds(day)}, {"text", heading + "\n" + text}}) {
            Change c;
            c.stamp = nextStamp();
            c.kind = EntityKind::Note;
            c.entity = noteId;
            c.field = field;
            c.value = value;
            state.apply(c);
            changes.push_back(std::move(c));
        }
        ++copies;
    }
    if (added)
        *added = copies;
    return changes;
}

} // namespace kovara::core
