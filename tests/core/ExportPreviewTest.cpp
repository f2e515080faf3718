// What an export shows before it writes (the preview of the confirmation and
// of `apply --dry-run`) against what it then writes, byte for byte.

#include "TransferFixture.h"

#include "transfer/GameChangeSet.h"

#include <algorithm>
#include <filesystem>
#include <map>

using namespace pitwall;
using test::TransferFixture;

namespace {

using Files = std::map<std::string, std::vector<std::uint8_t>>;

Files Snapshot(const std::string& directory)
{
    Files files;
    for (const auto& e : std::filesystem::recursive_directory_iterator(directory))
        if (e.is_regular_file())
            files[e.path().lexically_relative(directory).string()] = test::ReadBytes(e.path().string());
    return files;
}

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
    for (const FileChange& c : preview)
        listed[std::filesystem::path(c.relativePath).lexically_normal().string()] = &c;
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

} // namespace
