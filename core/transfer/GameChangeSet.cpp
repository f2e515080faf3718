#include "transfer/GameChangeSet.h"

#include "transfer/PointChanges.h"

#include "base/FileUtils.h"
#include "base/GamePath.h"
#include "base/SafeWrite.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <future>

namespace pitwall {

namespace {

// Replaced game files can be large (the art bank); this is beyond any.
constexpr std::uint64_t kMaxReplacedFileSize = 4ull * 1024 * 1024 * 1024;

std::string RelativeSpelling(const std::string& gameDirectory, const std::string& path)
{
    if (path.compare(0, gameDirectory.size(), gameDirectory) == 0)
        return path.substr(gameDirectory.size());
    return path;
}

// Appends a range to ranges kept in rising order, joining it to the last one
// when it overlaps or lies within `gap` bytes of its end. A range that starts
// before the last one is kept apart (Merge puts it in its place).
void AddRange(std::vector<ByteRange>& ranges, std::uint64_t offset, std::uint64_t length, std::uint64_t gap)
{
    if (!ranges.empty()) {
        ByteRange& last = ranges.back();
        if (offset >= last.offset && offset <= last.offset + last.length + gap) {
            last.length = std::max(last.offset + last.length, offset + length) - last.offset;
            return;
        }
    }
    ranges.push_back({offset, length});
}

// The parts of [offset, offset + length) where the two contents differ.
void DifferingWithin(const std::vector<std::uint8_t>& before, const std::vector<std::uint8_t>& after,
                     std::uint64_t offset, std::uint64_t length, std::vector<ByteRange>& out)
{
    std::uint64_t end = std::min<std::uint64_t>(offset + length, std::max(before.size(), after.size()));
    for (std::uint64_t p = offset; p < end; ++p) {
        bool differs = p >= before.size() || p >= after.size() || before[p] != after[p];
        if (differs)
            AddRange(out, p, 1, 0);
    }
}

// The differing bytes of two blocks of n bytes that start at `base` in their
// files. Equal stretches (most of a large file) are passed over a page at a
// time.
void AddDifferences(const std::uint8_t* before, const std::uint8_t* after, std::size_t n, std::uint64_t base,
                    std::vector<ByteRange>& ranges, std::uint64_t gap)
{
    constexpr std::size_t kStride = 4096;
    for (std::size_t at = 0; at < n; at += kStride) {
        const std::size_t length = std::min(kStride, n - at);
        if (std::memcmp(before + at, after + at, length) == 0)
            continue;
        // Each stretch of differing bytes as one range.
        for (std::size_t p = at; p < at + length;) {
            if (before[p] == after[p]) {
                ++p;
                continue;
            }
            std::size_t q = p + 1;
            while (q < at + length && before[q] != after[q])
                ++q;
            AddRange(ranges, base + p, q - p, gap);
            p = q;
        }
    }
}

// How a file on disk differs from the content that is to replace it, read a
// piece at a time. A file that cannot be read counts as different throughout
// (the restore point, which must read it, then stops the run).
struct DiskComparison {
    std::uint64_t oldSize = 0;
    std::vector<ByteRange> ranges;
};

DiskComparison CompareWithDisk(const std::string& path, const std::vector<std::uint8_t>& after)
{
    // Exact ranges: what a preview lists is byte for byte what changes.
    constexpr std::uint64_t kGap = 0;
    constexpr std::size_t kPiece = 1 << 20;
    DiskComparison result;
    // Anything but a regular file of that name counts as no file: a pipe would
    // keep the comparison waiting.
    std::ifstream in;
    if (FileExists(path))
        in.open(NativePath(path), std::ios::binary | std::ios::ate);
    const std::streamoff end = in ? static_cast<std::streamoff>(in.tellg()) : -1;
    if (end < 0 || !in.seekg(0)) {
        result.ranges.push_back({0, after.size()});
        return result;
    }
    result.oldSize = static_cast<std::uint64_t>(end);
    const std::uint64_t common = std::min<std::uint64_t>(result.oldSize, after.size());
    std::vector<std::uint8_t> piece(static_cast<std::size_t>(std::min<std::uint64_t>(kPiece, common)));
    for (std::uint64_t at = 0; at < common;) {
        const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(kPiece, common - at));
        if (!in.read(reinterpret_cast<char*>(piece.data()), static_cast<std::streamsize>(n))) {
            result.ranges = {{0, std::max<std::uint64_t>(result.oldSize, after.size())}};
            return result;
        }
        AddDifferences(piece.data(), after.data() + at, n, at, result.ranges, kGap);
        at += n;
    }
    if (result.oldSize != after.size()) {
        const std::uint64_t to = std::max<std::uint64_t>(result.oldSize, after.size());
        AddRange(result.ranges, common, to - common, kGap);
    }
    return result;
}

// Ranges in any order (an item may write a lower offset after a higher one)
// sorted and joined where they overlap or touch.
std::vector<ByteRange> Merge(std::vector<ByteRange> ranges)
{
    std::sort(ranges.begin(), ranges.end(), [](const auto& a, const auto& b) { return a.offset < b.offset; });
    std::vector<ByteRange> merged;
    for (const auto& r : ranges)
        AddRange(merged, r.offset, r.length, 0);
    return merged;
}

} // namespace

std::vector<ByteRange> DifferingRanges(const std::vector<std::uint8_t>& before, const std::vector<std::uint8_t>& after,
                                       std::uint64_t gap)
{
    std::vector<ByteRange> ranges;
    const std::size_t common = std::min(before.size(), after.size());
    AddDifferences(before.data(), after.data(), common, 0, ranges, gap);
    if (before.size() != after.size()) {
        std::uint64_t from = common, to = std::max(before.size(), after.size());
        AddRange(ranges, from, to - from, gap);
    }
    return ranges;
}

GameChangeSet::GameChangeSet(std::string gameDirectory) : gameDirectory_(IncludeTrailingBackslash(gameDirectory)) {}

void GameChangeSet::setItem(int item)
{
    item_ = item;
    for (auto& f : files_)
        if (f->patched)
            f->patched->setItem(item);
}

const GameChangeSet::Pending* GameChangeSet::findEntry(std::string_view gameRelative) const
{
    std::string path = ResolveGamePath(gameDirectory_, gameRelative);
    for (const auto& f : files_)
        if (f->path == path)
            return f.get();
    return nullptr;
}

GameChangeSet::Pending& GameChangeSet::entry(std::string_view gameRelative)
{
    if (const Pending* found = findEntry(gameRelative))
        return const_cast<Pending&>(*found);
    auto pending = std::make_unique<Pending>();
    pending->path = ResolveGamePath(gameDirectory_, gameRelative);
    pending->relativePath = RelativeSpelling(gameDirectory_, pending->path);
    pending->existed = FileExists(pending->path);
    files_.push_back(std::move(pending));
    return *files_.back();
}

GameFile& GameChangeSet::patchFile(std::string_view gameRelative)
{
    Pending& f = entry(gameRelative);
    if (f.replaced)
        throw GameFileError("Cannot patch " + f.relativePath + ": it is being replaced as a whole");
    if (!f.patched) {
        f.readStamp = StampOf(f.path);
        f.readFromDisk = true;
        f.patched = std::make_unique<GameFile>(f.path);
        f.patched->setItem(item_);
    }
    return *f.patched;
}

void GameChangeSet::replaceFile(std::string_view gameRelative, std::vector<std::uint8_t> bytes)
{
    Pending& f = entry(gameRelative);
    // A whole new content for a file patched earlier in the run: the patches
    // are spent (the original is still on disk).
    f.patched.reset();
    f.readFromDisk = false;
    f.replaced = true;
    f.writes.push_back({item_, 0, bytes.size()});
    f.newBytes = std::move(bytes);
}

void GameChangeSet::replaceFile(std::string_view gameRelative, std::vector<std::uint8_t> bytes,
                                const FileStamp& readStamp)
{
    replaceFile(gameRelative, std::move(bytes));
    Pending& f = entry(gameRelative);
    f.readFromDisk = true;
    f.readStamp = readStamp;
}

const std::vector<std::uint8_t>* GameChangeSet::pendingContent(std::string_view gameRelative) const
{
    if (const Pending* f = findEntry(gameRelative)) {
        if (f->replaced)
            return &f->newBytes;
        if (f->patched)
            return &f->patched->bytes();
    }
    return nullptr;
}

std::vector<std::uint8_t>* GameChangeSet::holdWholeFile(std::string_view gameRelative)
{
    Pending& f = entry(gameRelative);
    if (!f.replaced) {
        if (f.patched) {
            f.newBytes = f.patched->bytes();
            f.patched.reset();
        } else if (f.existed) {
            f.readStamp = StampOf(f.path);
            f.readFromDisk = true;
            f.newBytes = ReadWholeFile(f.path, kMaxReplacedFileSize);
        } else {
            return nullptr;
        }
        f.replaced = true;
    }
    return &f.newBytes;
}

std::vector<std::uint8_t>* GameChangeSet::editWholeFile(std::string_view gameRelative)
{
    std::vector<std::uint8_t>* bytes = holdWholeFile(gameRelative);
    if (bytes)
        entry(gameRelative).writes.push_back({item_, 0, bytes->size()});
    return bytes;
}

void GameChangeSet::discardReplacement(std::string_view gameRelative)
{
    const Pending* found = findEntry(gameRelative);
    if (!found)
        return;
    files_.erase(std::find_if(files_.begin(), files_.end(), [&](const auto& f) { return f.get() == found; }));
}

std::optional<std::vector<std::uint8_t>> GameChangeSet::currentContent(std::string_view gameRelative) const
{
    if (const Pending* f = findEntry(gameRelative)) {
        if (f->replaced)
            return f->newBytes;
        if (f->patched)
            return f->patched->bytes();
    }
    std::string path = ResolveGamePath(gameDirectory_, gameRelative);
    if (!FileExists(path))
        return std::nullopt;
    return ReadWholeFile(path, kMaxReplacedFileSize);
}

std::vector<FileChange> GameChangeSet::changes() const
{
    std::vector<FileChange> list;
    for (const auto& f : files_) {
        if (!f->patched && !f->replaced)
            continue;
        compared_[f->path] = StampOf(f->path);
        FileChange change;
        change.relativePath = f->relativePath;
        change.created = !f->existed;
        change.replaced = f->replaced;
        // Per item: the parts of its writes whose bytes differ in the end. A
        // file written as a whole belongs to the item that wrote it last.
        std::map<int, std::vector<ByteRange>> byItem;
        if (f->patched) {
            const std::vector<std::uint8_t>& before = f->patched->original();
            const std::vector<std::uint8_t>& after = f->patched->bytes();
            if (f->existed && before == after)
                continue;
            change.oldSize = f->existed ? before.size() : 0;
            change.newSize = after.size();
            change.ranges = f->existed ? DifferingRanges(before, after) : std::vector<ByteRange>{{0, after.size()}};
            for (const auto& w : f->patched->writes())
                DifferingWithin(before, after, w.offset, w.length, byItem[w.item]);
        } else {
            change.newSize = f->newBytes.size();
            if (f->existed) {
                DiskComparison disk = CompareWithDisk(f->path, f->newBytes);
                if (disk.ranges.empty())
                    continue;
                change.oldSize = disk.oldSize;
                change.ranges = std::move(disk.ranges);
            } else {
                change.ranges = {{0, f->newBytes.size()}};
            }
            // Already in rising order and joined: the item's ranges are
            // the file's, copied once.
            change.items.push_back({f->writes.empty() ? 0 : f->writes.back().item, change.ranges});
        }
        for (auto& [item, ranges] : byItem) {
            auto merged = Merge(std::move(ranges));
            if (!merged.empty())
                change.items.push_back({item, std::move(merged)});
        }
        list.push_back(std::move(change));
    }
    return list;
}

bool GameChangeSet::changedSinceCompared() const
{
    for (const auto& f : files_) {
        if (!f->patched && !f->replaced)
            continue;
        auto it = compared_.find(f->path);
        if (it == compared_.end() || StampOf(f->path) != it->second)
            return true;
    }
    return false;
}

CommitResult GameChangeSet::commit(RestorePoints& restorePoints, const PointOperation& operation,
                                   CommitObserver* observer, const std::vector<FileChange>* known,
                                   const std::function<void()>& keepAlive)
{
    CommitResult result;
    std::optional<std::vector<FileChange>> found;
    if (!known)
        found = changes();
    if ((found ? *found : *known).empty() && !changedSinceCompared())
        return result;
    // One writer at a time, from the restore point to the last file (or the
    // last file put back).
    InstallationLock held = restorePoints.lock(operation.words());
    // Another run may have written the files since they were compared (an
    // export waits for its confirmation): a file found equal would be left
    // out, and the restore point would record the wrong ranges. With the
    // lock held, the list is made again from the files as they are now.
    if (changedSinceCompared())
        found = changes();
    const std::vector<FileChange>& list = found ? *found : *known;
    if (list.empty())
        return result;
    std::vector<std::string> paths;
    for (const auto& c : list)
        paths.push_back(c.relativePath);

    // The run's copy of a file it read (GP3.EXE, the savegame, the art bank)
    // holds that file as it was then. Had the game or another program
    // written it since (a race saved while the export waited for its
    // confirmation), the copy would put the old content back over it.
    for (const auto& c : list) {
        const Pending* f = findEntry(c.relativePath);
        if (f && f->readFromDisk && StampOf(f->path) != f->readStamp) {
            result.error = f->relativePath
                + " was written by another program or run after this run read it (run it again to change what it"
                  " holds now).";
            result.rolledBack = true; // nothing was written
            files_.clear();
            return result;
        }
    }

    // Every new content is written under a staged name beside its file and
    // flushed to the disk, all together; only then does each take its file's
    // name. Until the first rename the game is exactly as it was, so the
    // files are staged while the restore point is made: those whose folders
    // exist before it, the others (in folders the run creates) after it.
    StagedFiles staged;
    staged.setKeepAlive(keepAlive);
    std::vector<std::size_t> stagedAs(list.size(), SIZE_MAX);
    auto stage = [&](bool newFolders) {
        for (std::size_t i = 0; i < list.size(); ++i) {
            const Pending* f = findEntry(list[i].relativePath);
            if (stagedAs[i] != SIZE_MAX || (!newFolders && !DirectoryExists(DirectoryOf(f->path))))
                continue;
            const std::vector<std::uint8_t>& bytes = f->patched ? f->patched->bytes() : f->newBytes;
            if (newFolders)
                ForceDirectories(DirectoryOf(f->path));
            stagedAs[i] = staged.stage(f->path, bytes);
        }
    };
    // Nothing is written unless the installation can be put back. The
    // restore point, with the record of the ranges the run changes, is made
    // on a helper thread while this one stages: the point only reads the
    // game's files and the staged files are new ones of their own, and
    // nothing takes a game file's name before both are done. (The keep-alive is this thread's: it is called between the
    // staged pieces and while the point is waited for.)
    std::future<RestorePoint> pointMade = std::async(std::launch::async, [&] {
        RestorePoint point = restorePoints.create(operation, paths);
        try {
            WritePointChanges(point, list);
        } catch (const std::exception&) {
            // Without the record the run can still be put back as a whole;
            // it only cannot be undone alone later.
        }
        return point;
    });
    try {
        stage(false);
    } catch (const std::exception& e) {
        staged.discard();
        result.error = e.what();
        result.rolledBack = true; // nothing was written
        // Nor is a restore point left behind for a run that wrote nothing.
        try {
            restorePoints.discard(pointMade.get());
        } catch (const std::exception&) {
            // It was not made (or is gone already).
        }
        files_.clear();
        return result;
    }
    if (keepAlive)
        while (pointMade.wait_for(std::chrono::milliseconds(40)) != std::future_status::ready)
            keepAlive();
    RestorePoint point = pointMade.get();
    result.restorePointId = point.id;
    if (observer)
        observer->restorePointMade(point);

    try {
        stage(true);
        staged.syncAll();
    } catch (const std::exception& e) {
        staged.discard();
        result.error = e.what();
        result.rolledBack = true; // nothing was written
    }
    for (std::size_t i = 0; result.ok() && i < list.size(); ++i) {
        try {
            staged.takeName(stagedAs[i]);
            result.written.push_back(list[i].relativePath);
            if (observer)
                observer->fileWritten(list[i].relativePath, result.written.size(), list.size());
        } catch (const std::exception& e) {
            result.error = e.what();
            staged.discard();
            RestoreReport back = restorePoints.restore(point, &result.written);
            result.rolledBack = back.ok();
            result.rollbackFailures = back.failed;
        }
    }
    staged.syncDirectories();
    // Only a run that wrote makes room for its point among the kept ones.
    if (result.ok()) {
        try {
            restorePoints.prune();
        } catch (const std::exception&) {
            // The files are written; older points merely stay a while longer.
        }
    }
    // Written or put back: either way this run's changes are spent.
    files_.clear();
    return result;
}

} // namespace pitwall
