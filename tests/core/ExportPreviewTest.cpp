// What an export shows before it writes (the preview of the confirmation and
// of `apply --dry-run`) against what it then writes, byte for byte.

#include "TransferFixture.h"

#include "tracks/TrackProgress.h"
#include "transfer/GameChangeSet.h"
#include "transfer/RestorePoints.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <random>

using namespace pitwall;
using test::TransferFixture;

namespace {

using Files = test::FileTree;
constexpr auto Snapshot = test::ReadFileTree;

using Stretches = std::vector<std::pair<std::uint64_t, std::uint64_t>>; // first, end

// The stretches of bytes where the two contents differ (beyond the shorter
// one's end: all of the longer one's).
Stretches DifferingBytes(const std::vector<std::uint8_t>& before, const std::vector<std::uint8_t>& after)
{
    Stretches out;
    for (std::uint64_t p = 0; p < std::max(before.size(), after.size()); ++p)
        if (p >= before.size() || p >= after.size() || before[p] != after[p]) {
            if (!out.empty() && out.back().second == p)
                out.back().second = p + 1;
            else
                out.push_back({p, p + 1});
        }
    return out;
}

// The bytes ranges cover, as stretches.
Stretches BytesOf(std::vector<ByteRange> ranges)
{
    std::sort(ranges.begin(), ranges.end(), [](const ByteRange& x, const ByteRange& y) { return x.offset < y.offset; });
    Stretches out;
    for (const auto& r : ranges) {
        if (!out.empty() && r.offset <= out.back().second)
            out.back().second = std::max(out.back().second, r.offset + r.length);
        else
            out.push_back({r.offset, r.offset + r.length});
    }
    return out;
}

// The ranges a preview lists, on contents where changed bytes are dense,
// sparse, or broken by bytes that stay, across the eight-byte words and the
// pages the comparison steps by: one range for each stretch of differing
// bytes, nothing else.
TEST(ExportPreview, DifferingRangesAreExactlyTheStretchesOfDifferingBytes)
{
    std::mt19937 random(3);
    for (std::size_t size : {1u, 7u, 8u, 9u, 4095u, 4096u, 4097u, 30000u})
        for (unsigned changedIn256 : {1u, 40u, 200u, 255u})
            for (std::size_t longer : {0u, 5u}) {
                std::vector<std::uint8_t> before(size);
                for (auto& b : before)
                    b = static_cast<std::uint8_t>(random() % 3); // runs of equal bytes
                std::vector<std::uint8_t> after = before;
                for (auto& b : after)
                    if (random() % 256 < changedIn256)
                        b = static_cast<std::uint8_t>(b + 1 + random() % 255);
                after.resize(size + longer, 9);
                Stretches ranges;
                for (const ByteRange& r : DifferingRanges(before, after))
                    ranges.push_back({r.offset, r.offset + r.length});
                EXPECT_EQ(ranges, DifferingBytes(before, after)) << size << " " << changedIn256 << " " << longer;
            }
}

// A complete carset of one installation applied to another: every file the
// preview names changes in exactly the bytes it lists, for the file and for
// its items together, and no other file changes.
TEST(ExportPreview, ACompleteCarsetChangesExactlyTheBytesThePreviewListed)
{
    TransferFixture a(1), b(2);
    a.set().transfer.selectAll();
    a.engine().importFromGame(ItemChoice::AsSelected, OpenEditor::Untouched, a.ui);
    const std::string carset = a.root / "complete.GMS";
    ASSERT_EQ(a.saveCarset(carset), TransferOutcome::Done);
    ASSERT_EQ(b.loadCarset(carset), TransferOutcome::Done);

    const Files before = Snapshot(b.program.settings.gameDirectory);
    b.set().transfer.selection = b.set().transfer.loaded;
    ASSERT_EQ(b.engine().exportToGame(ItemChoice::AsSelected, b.ui, ExportMode::Preview), TransferOutcome::Done);
    const std::vector<FileChange> preview = b.engine().lastReport().changes;
    EXPECT_TRUE(Snapshot(b.program.settings.gameDirectory) == before); // a preview writes nothing
    b.set().transfer.selection = b.set().transfer.loaded;
    ASSERT_EQ(b.exportAll(), TransferOutcome::Done);
    const Files after = Snapshot(b.program.settings.gameDirectory);

    std::map<std::string, const FileChange*> listed;
    for (const FileChange& c : preview) {
        std::string name = c.relativePath;
        std::replace(name.begin(), name.end(), '\\', '/');
        listed[name] = &c;
    }
    EXPECT_GT(listed.size(), 5u);
    for (const auto& [name, bytes] : after) {
        auto old = before.find(name);
        const std::vector<std::uint8_t> none;
        const auto changed = DifferingBytes(old == before.end() ? none : old->second, bytes);
        auto it = listed.find(name);
        if (it == listed.end()) {
            EXPECT_TRUE(changed.empty()) << name << " changed but was not listed";
            continue;
        }
        const FileChange& c = *it->second;
        EXPECT_EQ(BytesOf(c.ranges), changed) << name;
        std::vector<ByteRange> ofItems;
        for (const ItemChange& i : c.items)
            ofItems.insert(ofItems.end(), i.ranges.begin(), i.ranges.end());
        EXPECT_EQ(BytesOf(ofItems), changed) << name;
        EXPECT_EQ(c.newSize, bytes.size()) << name;
        listed.erase(it);
    }
    for (const auto& [name, change] : listed)
        EXPECT_TRUE(false) << name << " was listed but did not change";
}

// Two installations alike, each loaded with the same complete carset of a
// third, so that their exports have the same things to write.
struct TwinExports {
    TransferFixture source{1}, prepared{2}, direct{2};

    TwinExports()
    {
        source.set().transfer.selectAll();
        source.engine().importFromGame(ItemChoice::AsSelected, OpenEditor::Untouched, source.ui);
        const std::string carset = source.root / "complete.GMS";
        EXPECT_EQ(source.saveCarset(carset), TransferOutcome::Done);
        for (TransferFixture* f : {&prepared, &direct}) {
            f->program.restorePointRoot = f->root / "restore-points/";
            EXPECT_EQ(f->loadCarset(carset), TransferOutcome::Done);
            f->set().transfer.selection = f->set().transfer.loaded;
        }
    }
    static std::size_t restorePoints(TransferFixture& f)
    {
        return RestorePoints(f.program.restorePointRoot, f.program.settings.gameDirectory).list().size();
    }
};

// A prepared export that is dropped (the confirmation cancelled) leaves the
// installation as it was. One prepared and then committed asks its questions
// while it is prepared, never again, and writes what a single export writes,
// byte for byte, behind exactly one restore point.
TEST(ExportPreview, APreparedExportIsWrittenByItsCommitWithoutAskingAgain)
{
    TwinExports twins;
    TransferFixture& b = twins.prepared;
    const Files before = Snapshot(b.program.settings.gameDirectory);
    {
        PreparedExport dropped;
        ASSERT_EQ(b.engine().prepareExport(ItemChoice::AsSelected, b.ui, dropped), TransferOutcome::Done);
        EXPECT_FALSE(dropped.changes().empty());
    }
    EXPECT_TRUE(Snapshot(b.program.settings.gameDirectory) == before);
    EXPECT_EQ(TwinExports::restorePoints(b), 0u);
    b.messages.asked.clear();
    b.set().transfer.selection = b.set().transfer.loaded;

    PreparedExport prepared;
    ASSERT_EQ(b.engine().prepareExport(ItemChoice::AsSelected, b.ui, prepared), TransferOutcome::Done);
    ASSERT_TRUE(prepared.ready());
    EXPECT_FALSE(prepared.changes().empty());
    // The list (a million ranges after an art-bank expansion) is held once.
    EXPECT_TRUE(b.engine().lastReport().changes.empty());
    std::vector<int> asked;
    for (const Message& m : b.messages.asked)
        asked.push_back(m.number);
    EXPECT_EQ(std::count(asked.begin(), asked.end(), kTrackFilesWarning), 1);
    EXPECT_TRUE(Snapshot(b.program.settings.gameDirectory) == before);
    EXPECT_EQ(TwinExports::restorePoints(b), 0u);
    const std::size_t changedFiles = prepared.changes().size();

    ASSERT_EQ(b.engine().commitExport(prepared, b.ui), TransferOutcome::Done);
    EXPECT_FALSE(prepared.ready());
    EXPECT_EQ(b.messages.asked.size(), asked.size()); // nothing asked by the commit
    EXPECT_EQ(TwinExports::restorePoints(b), 1u);
    EXPECT_FALSE(b.engine().lastReport().restorePointId.empty());
    EXPECT_EQ(b.engine().lastReport().written.size(), changedFiles);
    EXPECT_EQ(b.engine().lastReport().changes.size(), changedFiles);

    ASSERT_EQ(twins.direct.exportAll(), TransferOutcome::Done);
    EXPECT_TRUE(Snapshot(b.program.settings.gameDirectory) == Snapshot(twins.direct.program.settings.gameDirectory));
    // A second commit of the spent preparation writes nothing more.
    EXPECT_EQ(b.engine().commitExport(prepared, b.ui), TransferOutcome::Cancelled);
    EXPECT_EQ(TwinExports::restorePoints(b), 1u);
}

} // namespace
