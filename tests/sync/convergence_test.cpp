// Three computers make random changes of every kind and exchange their files
// in random orders, with delays, files read again from the start, files cut
// short while still arriving, and snapshots that replace a computer's older
// files. Whatever happened, all three must end with the same state, equal to
// what every change gives when applied in clock order, and with every typed
// text either still in place, kept as a copy, or written over by someone who
// had seen it.
#include "core/sync/hybrid_clock.h"
#include "core/sync/replica_state.h"
#include "core/sync/sync_codec.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <set>

namespace kovara::core {
namespace {

struct Field {
    EntityKind kind;
    const char* entity;
    const char* field;
};

const std::vector<Field> kFields{
    {EntityKind::Plan, "{P1}", "title"},      {EntityKind::Plan, "{P1}", "read:1"},
    {EntityKind::Plan, "{P1}", "read:2"},     {EntityKind::Plan, "{P1}", "doubleUp"},
    {EntityKind::Plan, "{P1}", kDeletedField}, {EntityKind::Plan, "{P2}", "title"},
    {EntityKind::Plan, "{P2}", kDeletedField}, {EntityKind::Prayer, "a", "title"},
    {EntityKind::Prayer, "a", "text"},         {EntityKind::Prayer, "a", "status"},
    {EntityKind::Prayer, "a", kDeletedField},  {EntityKind::Prayer, "b", "text"},
    {EntityKind::Note, "n", "text"},           {EntityKind::Note, "n", "prayer"},
    {EntityKind::Note, "n", kDeletedField},    {EntityKind::Computer, "A", "name"},
};

struct Computer {
    std::string id;
    std::int64_t skewMs = 0;
    HybridClock clock;
    ReplicaState state;
    // The computer's own files in the folder, oldest first (an empty string
    // is a file it has removed after a snapshot).
    std::vector<std::string> files;
    // How far each other computer's files have been read: (computer, file) -> bytes.
    std::map<std::pair<int, int>, std::size_t> read;
};

class Exchange {
public:
    explicit Exchange(unsigned seed) : random_(seed)
    {
        for (const char* id : {"A", "B", "C"}) {
            Computer c;
            c.id = id;
            c.skewMs = pick(-3000, 3000);
            c.files.emplace_back();
            computers_.push_back(std::move(c));
        }
    }

    void run(int steps)
    {
        for (int i = 0; i < steps; ++i) {
            nowMs_ += pick(0, 400);
            const int who = pick(0, 2);
            const int what = pick(0, 99);
            if (what < 45)
                localChange(who);
            else if (what < 50)
                snapshot(who);
            else if (what < 53)
                computers_[who].skewMs = pick(-3000, 3000); // the clock is set
            else
                deliver(who, pick(0, 2), pick(0, 2) == 0);
        }
        // Everyone finally gets everything.
        for (int round = 0; round < 2; ++round)
            for (int to = 0; to < 3; ++to)
                for (int from = 0; from < 3; ++from)
                    deliver(to, from, false, true);
    }

    const std::vector<Computer>& computers() const { return computers_; }
    const std::vector<Change>& made() const { return made_; }

private:
    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
    std::int64_t physical(const Computer& c) const { return 1'000'000 + nowMs_ + c.skewMs; }

    void localChange(int who)
    {
        Computer& c = computers_[who];
        const Field& f = kFields[pick(0, static_cast<int>(kFields.size()) - 1)];
        Change change;
        change.stamp = Stamp{c.clock.tick(physical(c)), c.id};
        change.kind = f.kind;
        change.entity = f.entity;
        change.field = f.field;
        if (change.field == kDeletedField)
            change.value = pick(0, 3) ? "1" : "0";
        else
            change.value = c.id + std::to_string(made_.size());
        if (keepsEveryValue(f.kind, f.field)) {
            if (const EntityState* e = c.state.entity(f.kind, f.entity)) {
                auto it = e->fields.find(f.field);
                if (it != e->fields.end())
                    change.base = it->second.stamp;
            }
        }
        c.state.apply(change);
        c.files.back() += changeFrame(change);
        made_.push_back(change);
    }

    // A snapshot in a new file; the older files are removed now and then.
    void snapshot(int who)
    {
        Computer& c = computers_[who];
        if (pick(0, 1))
            for (std::string& file : c.files)
                file.clear();
        c.files.push_back(stateFrame(c.state));
        c.files.emplace_back();
    }

    // `to` reads `from`'s files: a random one cut short, or all of them. A
    // file is sometimes read again from its start.
    void deliver(int to, int from, bool partial, bool all = false)
    {
        if (to == from)
            return;
        Computer& reader = computers_[to];
        const Computer& writer = computers_[from];
        const int files = static_cast<int>(writer.files.size());
        const int first = all ? 0 : pick(0, files - 1);
        const int last = all ? files - 1 : first;
        for (int f = first; f <= last; ++f) {
            const std::string& file = writer.files[f];
            std::size_t& done = reader.read[{from, f}];
            if (!all && pick(0, 9) == 0)
                done = 0; // read again: every change arrives twice
            std::size_t end = file.size();
            if (partial && end > done)
                end = done + static_cast<std::size_t>(pick(0, static_cast<int>(end - done)));
            const std::string_view bytes = std::string_view(file).substr(0, end);
            if (done > bytes.size())
                continue;
            done += readFrames(bytes.substr(done), [&](const ExchangeRecord& content) {
                if (content.isState) {
                    const ReplicaState state = ReplicaState::fromBytes(content.state);
                    reader.state.merge(state);
                    reader.clock.observe(state.latest().hlc, physical(reader));
                } else {
                    reader.state.apply(content.change);
                    reader.clock.observe(content.change.stamp.hlc, physical(reader));
                }
            });
        }
    }

    std::mt19937 random_;
    std::int64_t nowMs_ = 0;
    std::vector<Computer> computers_;
    std::vector<Change> made_;
};

// What the state must be, worked out from the list of every change: each
// field holds its latest value; a thing is live unless its deletion is newer
// than everything else done to it; the copies kept are the texts no change
// was written over, other than the field's value.
void expectStateOf(const std::vector<Change>& made, const ReplicaState& state, unsigned seed)
{
    std::vector<Change> ordered = made;
    std::sort(ordered.begin(), ordered.end(), [](const Change& a, const Change& b) { return a.stamp < b.stamp; });
    std::map<std::tuple<EntityKind, std::string, std::string>, const Change*> latest;
    std::set<Stamp> writtenOver;
    for (const Change& c : ordered) {
        latest[{c.kind, c.entity, c.field}] = &c;
        if (!c.base.isNull())
            writtenOver.insert(c.base);
    }
    std::set<std::pair<std::string, std::string>> entities;
    for (const auto& [key, c] : latest) {
        EXPECT_EQ(state.value(c->kind, c->entity, c->field), c->value) << "seed " << seed;
        entities.insert({std::to_string(static_cast<int>(c->kind)), c->entity});
    }
    for (const Field& f : kFields) {
        auto deleted = latest.find({f.kind, f.entity, kDeletedField});
        bool live = false;
        for (const auto& [key, c] : latest)
            if (c->kind == f.kind && c->entity == f.entity)
                live = live || c->field != kDeletedField || c->value != "1";
        if (deleted != latest.end() && deleted->second->value == "1") {
            live = false;
            for (const auto& [key, c] : latest)
                if (c->kind == f.kind && c->entity == f.entity && c->field != kDeletedField &&
                    deleted->second->stamp < c->stamp)
                    live = true;
        }
        EXPECT_EQ(state.isLive(f.kind, f.entity), live) << "seed " << seed << " " << f.entity;
    }

    // Nothing typed lost, and no copy that was not lost.
    std::set<std::string> copies;
    for (const ConflictCopy& copy : state.conflictCopies())
        copies.insert(copy.lost.value);
    std::set<std::string> expectedCopies;
    for (const Change& c : made) {
        if (!keepsEveryValue(c.kind, c.field) || writtenOver.count(c.stamp))
            continue;
        if (latest[{c.kind, c.entity, c.field}]->stamp != c.stamp)
            expectedCopies.insert(c.value);
    }
    EXPECT_EQ(copies, expectedCopies) << "seed " << seed;
}

TEST(ConvergenceTest, ThreeComputersEndAlikeWhateverOrderTheirFilesArriveIn)
{
    int withCopies = 0;
    for (unsigned seed = 1; seed <= 3000; ++seed) {
        Exchange exchange(seed);
        exchange.run(60);
        const auto& computers = exchange.computers();
        ASSERT_TRUE(computers[0].state == computers[1].state) << "seed " << seed;
        ASSERT_TRUE(computers[1].state == computers[2].state) << "seed " << seed;

        ReplicaState inClockOrder;
        std::vector<Change> ordered = exchange.made();
        std::sort(ordered.begin(), ordered.end(),
                  [](const Change& a, const Change& b) { return a.stamp < b.stamp; });
        for (const Change& c : ordered)
            inClockOrder.apply(c);
        ASSERT_TRUE(inClockOrder == computers[0].state) << "seed " << seed;
        expectStateOf(exchange.made(), computers[0].state, seed);
        if (HasFailure())
            return;
        withCopies += computers[0].state.conflictCopies().empty() ? 0 : 1;
    }
    EXPECT_GT(withCopies, 100) << "the sequences should often edit one text on two computers at once";
}

} // namespace
} // namespace kovara::core
