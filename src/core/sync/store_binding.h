#pragma once
// Kovara's plans and prayers seen as the things and fields the computers
// exchange, in both directions: capture() finds what the reader changed in
// the stores since the replica state last saw them and turns it into
// changes; applyToStores() writes what arrived from other computers into the
// stores, through their own operations and transactions.
//
// Finding changes by comparing the stores with the state, rather than by
// hooking each command, covers every path that changes data (editors,
// catch-up and its undo, imports, a restore).
//
// Things and their fields (values are text):
//   Plan, by its GUID: title, start (stored seconds), days (the day texts,
//     one a line), read:<day> ("" unread, "@" read on a day not known,
//     "@<stored seconds>" read on that day), doubleUp, reminder ("1"/"0"),
//     version (the SWORD module the plan is read in; "" for the shipped
//     Bible).
//   Prayer, by a lasting id kept in the table prayerSyncIds beside the
//     journal: title, topic, status (the stored word), text (the formatted
//     document's bytes), preview, created (stored seconds), answered
//     (stored seconds of the answer's day, "" when none), answerNote.
//   Note, by a lasting id: prayer (its item's lasting id), date (stored
//     seconds of its day), text.
// Each also has kDeletedField. A note's id lives in the replica state only:
// the journal rewrites an item's notes as a whole, so notes are matched to
// their ids by date and text, then by position.
#include "core/sync/replica_state.h"

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace kovara::core {

class PlanStore;
class PrayerStore;

class StoreBinding {
public:
    static constexpr const char* kPrayerIdTable = "prayerSyncIds";

    using Fields = std::map<std::string, std::string>;
    using Things = std::map<EntityKey, Fields>;
    // Makes the stamp of the next local change.
    using Stamper = std::function<Stamp()>;

    // plainTextOf turns a prayer's document bytes into plain text (for the
    // journal's search index and for kept copies). The stores must outlive
    // the binding.
    StoreBinding(PlanStore& plans, PrayerStore& prayers,
                 std::function<std::string(const std::string& textData)> plainTextOf);

    // Which stores a look takes in: the plans (from the plan store's memory,
    // cheap), the prayer journal (items and notes, read from its file), or
    // both.
    enum Scope : unsigned { Plans = 1, Prayers = 2, Everything = Plans | Prayers };

    // Every plan and prayer item of the stores with its fields, live ones
    // only. Prayer items without a lasting id get one (written to
    // prayerSyncIds); items never saved are left out.
    Things read(const ReplicaState& state, unsigned scope = Everything);

    // The changes that bring state up to the stores: fields that differ,
    // things that came back, things no longer there (deleted). Each is
    // applied to state and returned, to be written to the folder. Only the
    // stores of scope are looked at (the reader changed nothing in the
    // others), so marking a day read does not read the whole journal.
    std::vector<Change> capture(ReplicaState& state, const Stamper& nextStamp, unsigned scope = Everything);

    // Writes state into the stores wherever they differ from it, in one
    // transaction per store. Returns the things written (so their pages
    // refresh). Raises the stores' errors (a locked file): the store that
    // failed is left as it was, and the next call writes what is missing.
    std::set<EntityKey> applyToStores(const ReplicaState& state);

    // For each text that lost to a concurrent one and has no copy yet: a new
    // note beside it, "Changed on <computer> at <time>" followed by the
    // text. The notes' changes are applied to state and returned; *added
    // (when given) is set to how many copies were made.
    std::vector<Change> keepLostTexts(ReplicaState& state, const Stamper& nextStamp, int* added = nullptr);

private:
    std::map<std::int32_t, std::string> prayerIds();
    std::string newPrayerId(std::int32_t prayerIndex);
    std::set<EntityKey> applyBatch(const ReplicaState& state);
    void applyPlan(const std::string& id, const ReplicaState& state, const Fields* current);
    void applyPrayer(const std::string& id, const ReplicaState& state, const Things& current,
                     std::map<std::int32_t, std::string>& ids);
    std::string plainText(const std::string& textData) const;

    PlanStore& plans_;
    PrayerStore& prayers_;
    std::function<std::string(const std::string&)> plainTextOf_;
};

} // namespace kovara::core
