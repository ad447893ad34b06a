#include "core/base/exception.h"
#include "core/sync/replica_state.h"
#include "core/sync/sync_codec.h"

#include <gtest/gtest.h>

#include <vector>

namespace kovara::core {
namespace {

std::vector<Change> changesIn(const std::string& bytes, std::size_t* taken = nullptr)
{
    std::vector<Change> found;
    const std::size_t n = readFrames(bytes, [&](const ExchangeRecord& f) {
        if (!f.isState)
            found.push_back(f.change);
    });
    if (taken)
        *taken = n;
    return found;
}

TEST(SyncCodecTest, ChangesComeBackAsWrittenWithTextOfAnyBytes)
{
    const Change a{Stamp{Hlc{1'700'000'000'123, 3}, "c0ffee"}, EntityKind::Prayer, "id-1", "text",
                   std::string("{\\rtf1 \0\xff\xfe}", 12), Stamp{Hlc{5, 1}, "beef"}};
    const Change b{Stamp{Hlc{9, 0}, "c0ffee"}, EntityKind::Plan, "{GUID}", "read:365", "", Stamp{}};
    EXPECT_EQ(changesIn(changeFrame(a) + changeFrame(b)), (std::vector<Change>{a, b}));
}

TEST(SyncCodecTest, AFileStillArrivingIsReadUpToItsLastCompleteFrame)
{
    const Change a{Stamp{Hlc{1, 0}, "A"}, EntityKind::Plan, "p", "title", "Plan", Stamp{}};
    const Change b{Stamp{Hlc{2, 0}, "A"}, EntityKind::Plan, "p", "title", "Renamed", Stamp{}};
    const std::string first = changeFrame(a);
    const std::string whole = first + changeFrame(b);

    std::size_t taken = 0;
    for (std::size_t cut = first.size(); cut < whole.size(); ++cut) {
        EXPECT_EQ(changesIn(whole.substr(0, cut), &taken), std::vector<Change>{a}) << cut;
        EXPECT_EQ(taken, first.size());
    }
    // Blocks not yet filled in (zeros where the second frame's text goes).
    std::string holes = whole;
    std::fill(holes.end() - 4, holes.end(), '\0');
    EXPECT_EQ(changesIn(holes), std::vector<Change>{a});
    EXPECT_TRUE(changesIn(std::string(40, '\0')).empty());
    EXPECT_EQ(changesIn(whole, &taken), (std::vector<Change>{a, b}));
    EXPECT_EQ(taken, whole.size());
}

TEST(SyncCodecTest, AWholeStateTravelsInOneFrame)
{
    ReplicaState state;
    state.apply(Change{Stamp{Hlc{1, 0}, "A"}, EntityKind::Note, "n", "text", "note", Stamp{}});
    ReplicaState back;
    readFrames(stateFrame(state), [&](const ExchangeRecord& f) {
        ASSERT_TRUE(f.isState);
        back = ReplicaState::fromBytes(f.state);
    });
    EXPECT_TRUE(back == state);
    EXPECT_THROW(ReplicaState::fromBytes(state.toBytes() + "x"), Exception);
}

} // namespace
} // namespace kovara::core
