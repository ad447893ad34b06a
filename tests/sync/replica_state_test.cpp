#include "core/sync/hybrid_clock.h"
#include "core/sync/replica_state.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace kovara::core {
namespace {

Stamp at(std::int64_t ms, const std::string& computer, std::uint32_t counter = 0)
{
    return Stamp{Hlc{ms, counter}, computer};
}

Change set(EntityKind kind, const std::string& entity, const std::string& field, const std::string& value,
           const Stamp& stamp, const Stamp& base = {})
{
    return Change{stamp, kind, entity, field, value, base};
}

TEST(HybridClockTest, StampsKeepTheirOrderWhenTheSystemClockGoesBackOrAnotherRunsAhead)
{
    HybridClock clock;
    const Hlc first = clock.tick(10'000);
    const Hlc afterBack = clock.tick(4'000); // the system clock was set back
    EXPECT_LT(first, afterBack);
    clock.observe(Hlc{50'000, 7}, 5'000); // another computer's clock runs ahead
    const Hlc afterRemote = clock.tick(5'000);
    EXPECT_LT((Hlc{50'000, 7}), afterRemote);
    EXPECT_EQ(clock.tick(60'000), (Hlc{60'000, 0})); // back to the wall clock once it catches up
}

TEST(ReplicaStateTest, TheLatestWriterWinsAndTheComputerIdBreaksATie)
{
    ReplicaState state;
    EXPECT_TRUE(state.apply(set(EntityKind::Plan, "p", "title", "new", at(20, "A"))));
    EXPECT_FALSE(state.apply(set(EntityKind::Plan, "p", "title", "old", at(10, "B"))));
    EXPECT_TRUE(state.apply(set(EntityKind::Plan, "p", "title", "tie", at(20, "B"))));
    EXPECT_FALSE(state.apply(set(EntityKind::Plan, "p", "title", "tie", at(20, "B")))); // a duplicate
    EXPECT_EQ(state.value(EntityKind::Plan, "p", "title"), "tie");
    // A day's read mark is a field of its own: marks on two days both stay.
    state.apply(set(EntityKind::Plan, "p", "read:1", "2026-03-01", at(30, "A")));
    state.apply(set(EntityKind::Plan, "p", "read:2", "2026-03-02", at(25, "B")));
    EXPECT_EQ(state.value(EntityKind::Plan, "p", "read:1"), "2026-03-01");
    EXPECT_EQ(state.value(EntityKind::Plan, "p", "read:2"), "2026-03-02");
}

TEST(ReplicaStateTest, ADeletionHidesOlderEditsButALaterEditBringsTheThingBack)
{
    struct Case {
        const char* name;
        std::vector<Change> changes;
        bool live;
    };
    const std::vector<Case> cases{
        {"edited, then deleted",
         {set(EntityKind::Prayer, "x", "title", "t", at(10, "A")),
          set(EntityKind::Prayer, "x", kDeletedField, "1", at(20, "B"))},
         false},
        {"deleted, then edited elsewhere",
         {set(EntityKind::Prayer, "x", "title", "t", at(30, "A")),
          set(EntityKind::Prayer, "x", kDeletedField, "1", at(20, "B"))},
         true},
        {"deleted, then undone",
         {set(EntityKind::Prayer, "x", kDeletedField, "1", at(20, "B")),
          set(EntityKind::Prayer, "x", kDeletedField, "0", at(25, "A"))},
         true},
        {"never seen", {}, false},
    };
    for (const Case& c : cases) {
        ReplicaState forward, backward;
        for (const Change& change : c.changes)
            forward.apply(change);
        for (auto it = c.changes.rbegin(); it != c.changes.rend(); ++it)
            backward.apply(*it);
        EXPECT_EQ(forward.isLive(EntityKind::Prayer, "x"), c.live) << c.name;
        EXPECT_TRUE(forward == backward) << c.name;
    }
}

TEST(ReplicaStateTest, ATextChangedOnTwoComputersWithoutSeeingEachOtherKeepsTheLoserAsACopy)
{
    const Change first = set(EntityKind::Prayer, "x", "text", "first", at(10, "A"));
    const Change onA = set(EntityKind::Prayer, "x", "text", "typed on A", at(30, "A"), first.stamp);
    const Change onB = set(EntityKind::Prayer, "x", "text", "typed on B", at(20, "B"), first.stamp);
    // Then A edits again having seen both: B's text was read, so no copy of it.
    const Change afterBoth = set(EntityKind::Prayer, "x", "text", "both seen", at(40, "A"), onA.stamp);

    ReplicaState state;
    for (const Change& c : {onB, onA, first})
        state.apply(c);
    EXPECT_EQ(state.value(EntityKind::Prayer, "x", "text"), "typed on A");
    const auto copies = state.conflictCopies();
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(copies[0].lost.value, "typed on B");
    EXPECT_EQ(copies[0].lost.stamp, onB.stamp);

    state.apply(afterBoth);
    EXPECT_EQ(state.value(EntityKind::Prayer, "x", "text"), "both seen");
    ASSERT_EQ(state.conflictCopies().size(), 1u) << "the copy stays until someone writes over it";

    // One computer editing in turn never makes a copy, nor does a title.
    ReplicaState single;
    single.apply(first);
    single.apply(onA);
    single.apply(set(EntityKind::Prayer, "x", "title", "a", at(11, "A")));
    single.apply(set(EntityKind::Prayer, "x", "title", "b", at(12, "B")));
    EXPECT_TRUE(single.conflictCopies().empty());
}

TEST(ReplicaStateTest, AStateReadBackOrMergedIsTheSameAsItsChangesApplied)
{
    const std::vector<Change> changes{
        set(EntityKind::Plan, "p", "title", "Plan", at(5, "A")),
        set(EntityKind::Prayer, "x", "text", "one", at(10, "A")),
        set(EntityKind::Prayer, "x", "text", "two", at(20, "B"), at(10, "A")),
        set(EntityKind::Prayer, "x", "text", "three", at(21, "C"), at(10, "A")),
        set(EntityKind::Note, "n", kDeletedField, "1", at(22, "C")),
        set(EntityKind::Computer, "A", "name", "Desk", at(1, "A")),
    };
    ReplicaState all;
    for (const Change& c : changes)
        all.apply(c);
    EXPECT_TRUE(ReplicaState::fromBytes(all.toBytes()) == all);

    // Half applied one way, half merged from another state, in both orders.
    ReplicaState left, right;
    for (std::size_t i = 0; i < changes.size(); ++i)
        (i % 2 ? left : right).apply(changes[i]);
    ReplicaState leftFirst = left;
    leftFirst.merge(right);
    right.merge(left);
    EXPECT_TRUE(leftFirst == all);
    EXPECT_TRUE(right == all);
    EXPECT_FALSE(right.merge(all)) << "merging what is known already changes nothing";
}

} // namespace
} // namespace kovara::core
