#include "core/base/exception.h"
#include "core/sync/replica_state.h"
#include "core/sync/sync_codec.h"
#include "core/sync/sync_folder.h"
#include "fixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>

namespace kovara::core {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

Change titled(const std::string& computer, std::int64_t ms, const std::string& title)
{
    return Change{Stamp{Hlc{ms, 0}, computer}, EntityKind::Plan, "{P}", "title", title, {}};
}

void writeFile(const fs::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

std::vector<std::string> titles(const IncomingChanges& incoming)
{
    std::vector<std::string> out;
    for (const Change& c : incoming.changes)
        out.push_back(c.value);
    return out;
}

TEST(SyncFolderTest, EachComputerReadsOnlyWhatIsNewInTheOthersFilesAndConflictCopies)
{
    TempDir dir;
    SyncFolder a(dir.path(), "aaaa"), b(dir.path(), "bbbb");
    a.write({titled("aaaa", 1, "one"), titled("aaaa", 2, "two")});
    EXPECT_EQ(titles(b.readOthers()), (std::vector<std::string>{"one", "two"}));
    EXPECT_TRUE(b.readOthers().empty()) << "read once";
    EXPECT_TRUE(a.readOthers().empty()) << "a computer does not read its own files";
    a.write({titled("aaaa", 3, "three")});
    EXPECT_EQ(titles(b.readOthers()), std::vector<std::string>{"three"});

    // What sync engines leave beside the files.
    const fs::path own = a.ownFolder();
    const std::string recordOf4 = changeFrame(titled("aaaa", 4, "four"));
    writeFile(own / "changes-000001.sync-conflict-20261211-101010-ABCDEFG.kvsync", changeFrame(titled("aaaa", 5, "conflict")));
    writeFile(own / "changes-000001 (conflicted copy 2026-12-11).kvsync", changeFrame(titled("aaaa", 6, "copy")));
    writeFile(own / ".syncthing.changes-000009.kvsync.tmp", recordOf4);
    writeFile(own / "changes-000010.kvsync.part", recordOf4);
    writeFile(own / ".~changes-000011.kvsync", recordOf4);
    writeFile(own / "notes.txt", recordOf4);
    // A file still arriving: half a frame, then the rest.
    writeFile(own / "changes-000012.kvsync", recordOf4.substr(0, recordOf4.size() / 2));
    auto seen = titles(b.readOthers());
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ(seen, (std::vector<std::string>{"conflict", "copy"}));
    writeFile(own / "changes-000012.kvsync", recordOf4);
    EXPECT_EQ(titles(b.readOthers()), std::vector<std::string>{"four"});
    // The conflict copies of this computer's own files are read by itself too.
    EXPECT_EQ(a.readOthers().changes.size(), 2u);
}

TEST(SyncFolderTest, ASnapshotReplacesAComputersOlderFilesAndAVanishedFolderIsReportedNotActedOn)
{
    TempDir dir;
    SyncFolder a(dir.path(), "aaaa"), b(dir.path(), "bbbb");
    EXPECT_TRUE(a.ownFilesMissing());
    a.write({titled("aaaa", 1, "one")});
    EXPECT_FALSE(a.ownFilesMissing());
    ReplicaState state;
    state.apply(titled("aaaa", 1, "one"));
    a.writeSnapshot(state.toBytes());
    a.write({titled("aaaa", 2, "two")});
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(a.ownFolder()))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"changes-000003.kvsync", "snapshot-000002.kvsync"}));
    const IncomingChanges incoming = b.readOthers();
    ASSERT_EQ(incoming.states.size(), 1u);
    EXPECT_TRUE(ReplicaState::fromBytes(incoming.states[0]) == state);
    EXPECT_EQ(titles(incoming), std::vector<std::string>{"two"});

    SyncFolder gone(dir.path() / "not-there", "aaaa");
    for (const auto& call : std::vector<std::function<void()>>{[&] { gone.readOthers(); },
                                                               [&] { gone.write({titled("aaaa", 3, "x")}); }}) {
        try {
            call();
            ADD_FAILURE() << "no error";
        } catch (const Exception& e) {
            EXPECT_NE(std::string(e.what()).find("is not there"), std::string::npos) << e.what();
            EXPECT_NE(std::string(e.what()).find("not-there"), std::string::npos) << e.what();
        }
    }
    EXPECT_FALSE(fs::exists(dir.path() / "not-there")) << "a vanished folder is not made again";
}

} // namespace
} // namespace kovara::core
