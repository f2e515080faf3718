#include "transfer/RunUndo.h"

#include "base/FileUtils.h"
#include "base/GamePath.h"
#include "transfer/CarsetConflicts.h"
#include "transfer/PointChanges.h"
#include "transfer/SavegameChecksum.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>

namespace pitwall {

namespace {

// Every write to the savegame renews its checksum (its last four bytes), so
// those bytes say nothing about which runs overlap; an undo computes them
// anew.
bool IsSavegame(const std::string& relativePath) { return EqualsIgnoreAsciiCase(FileNameOf(relativePath), "F1GSTATE.SAV"); }

constexpr std::uint64_t kChecksumSize = 4;

// A file as one run changed it: the bytes it wrote, or the whole file (the
// run left no record of its bytes, or the file changed size, so positions
// after the change moved).
struct RunFile {
    bool whole = false;
    bool created = false;
    std::vector<ByteRange> ranges;
};

std::vector<ByteRange> WithoutChecksum(const std::string& path, std::uint64_t size, std::vector<ByteRange> ranges)
{
    if (!IsSavegame(path) || size < kChecksumSize)
        return ranges;
    const std::uint64_t limit = size - kChecksumSize;
    std::vector<ByteRange> kept;
    for (ByteRange r : ranges) {
        if (r.offset >= limit)
            continue;
        r.length = std::min(r.length, limit - r.offset);
        kept.push_back(r);
    }
    return kept;
}

// What one run changed, file by file (keyed as Windows compares names);
// nothing when the point has no record of its bytes.
std::optional<std::map<std::string, RunFile>> RunFiles(const RestorePoint& point)
{
    auto changes = ReadPointChanges(point);
    if (!changes)
        return std::nullopt;
    std::map<std::string, RunFile> files;
    for (const FileChange& c : *changes) {
        RunFile f;
        f.created = c.created;
        f.whole = c.created || c.oldSize != c.newSize;
        if (!f.whole)
            f.ranges = WithoutChecksum(c.relativePath, c.newSize, c.ranges);
        files[ConflictFileKey(c.relativePath)] = std::move(f);
    }
    return files;
}

// Every file of the point counted as changed as a whole.
std::map<std::string, RunFile> WholeFiles(const RestorePoint& point)
{
    std::map<std::string, RunFile> files;
    for (const RestorePointFile& f : point.files)
        files[ConflictFileKey(f.relativePath)] = RunFile{true, !f.existed, {}};
    return files;
}

bool Overlap(const std::map<std::string, RunFile>& a, const std::map<std::string, RunFile>& b)
{
    for (const auto& [key, fa] : a) {
        auto it = b.find(key);
        if (it == b.end())
            continue;
        const RunFile& fb = it->second;
        if (fa.whole || fb.whole || !IntersectRanges(fa.ranges, fb.ranges).empty())
            return true;
    }
    return false;
}

} // namespace

UndoPlan PlanRunUndo(const RestorePoints& points, const std::string& pointId, bool through)
{
    UndoPlan plan;
    std::vector<RestorePoint> all = points.list();
    std::reverse(all.begin(), all.end()); // oldest first
    auto target = std::find_if(all.begin(), all.end(), [&](const RestorePoint& p) { return p.id == pointId; });
    if (target == all.end()) {
        plan.refusal = "its restore point " + pointId
            + " is no longer kept (the oldest points make room for newer ones), so what it changed is not known "
              "any more";
        return plan;
    }
    // Runs undone since, and the undos themselves, cancel out.
    std::set<std::string> cancelled;
    for (const RestorePoint& p : all)
        if (p.what.kind == point_kind::kUndo) {
            cancelled.insert(p.id);
            for (std::size_t i = 1; i < p.what.args.size(); ++i)
                cancelled.insert(p.what.args[i]);
        }
    if (cancelled.count(pointId)) {
        plan.refusal = target->what.kind == point_kind::kUndo ? "it is itself an undo; restore its point to take it back"
                                                              : "it was undone already";
        return plan;
    }
    auto targetFiles = RunFiles(*target);
    if (!targetFiles) {
        plan.refusal = "its restore point holds no record of the bytes the run changed (it was made by an older "
                       "version, or the run replaced whole files); restore the point instead";
        return plan;
    }

    // The runs to undo, oldest first, with what each changed; the target and,
    // when going through, every later run that overlaps one of them.
    std::vector<std::pair<RestorePoint, std::map<std::string, RunFile>>> runs{{*target, *targetFiles}};
    for (auto it = target + 1; it != all.end(); ++it) {
        if (cancelled.count(it->id))
            continue;
        auto recorded = RunFiles(*it);
        const std::map<std::string, RunFile> files = recorded ? *recorded : WholeFiles(*it);
        bool overlaps = false;
        for (const auto& run : runs)
            overlaps = overlaps || Overlap(run.second, files);
        if (!overlaps)
            continue;
        if (!through) {
            plan.overlapping.push_back(*it);
        } else if (!recorded) {
            plan.refusal = "a later run that changed the same files, " + it->operation + " (" + it->id
                + "), holds no record of the bytes it changed and cannot be undone alone";
            return plan;
        } else {
            runs.emplace_back(*it, files);
        }
    }

    std::set<std::string> seen;
    for (auto run = runs.rbegin(); run != runs.rend(); ++run) {
        plan.runs.push_back(run->first);
        for (const RestorePointFile& f : run->first.files) {
            auto rf = run->second.find(ConflictFileKey(f.relativePath));
            if (rf == run->second.end() || !seen.insert(ConflictFileKey(f.relativePath)).second)
                continue;
            if (rf->second.created)
                plan.createdFiles.push_back(f.relativePath);
            else
                plan.files.push_back(f.relativePath);
        }
    }
    return plan;
}

CommitResult UndoRuns(RestorePoints& points, const UndoPlan& plan, const std::string& carset, CommitObserver* observer,
                      const std::function<void()>& keepAlive)
{
    if (!plan.refusal.empty())
        throw RestorePointError("Cannot undo the run: " + plan.refusal);
    if (!plan.overlapping.empty() || plan.runs.empty())
        throw RestorePointError("Cannot undo the run: later runs changed the same bytes");
    // The installation these points belong to (they are kept per
    // installation); never the folder a record names, which an older
    // program may have written relative to where it ran.
    const std::string gameDirectory = points.gameDirectory();

    // The new content of each file, from the file as it is now: each run's
    // bytes put back, newest run first, so where runs overlap the oldest
    // one's earlier bytes end up there.
    struct Content {
        std::string relativePath;
        std::vector<std::uint8_t> bytes;
        FileStamp read; // the file as it was read: another run's later write refuses the undo
    };
    std::map<std::string, Content> contents;
    for (const RestorePoint& run : plan.runs) {
        auto changes = ReadPointChanges(run);
        if (!changes)
            throw RestorePointError("Cannot undo the run: restore point " + run.id + " lost its record");
        for (const FileChange& c : *changes) {
            if (c.created)
                continue;
            const std::string key = ConflictFileKey(c.relativePath);
            auto it = contents.find(key);
            if (it == contents.end()) {
                const std::string path = ResolveGamePath(gameDirectory, c.relativePath);
                const FileStamp read = StampOf(path);
                std::vector<std::uint8_t> now;
                try {
                    now = ReadWholeFile(path);
                } catch (const std::exception& e) {
                    throw RestorePointError("Cannot undo the run: " + std::string(e.what()));
                }
                it = contents.emplace(key, Content{c.relativePath, std::move(now), read}).first;
            }
            std::vector<std::uint8_t>& content = it->second.bytes;
            std::vector<std::uint8_t> before = points.readCopy(run, c.relativePath);
            // A file of another size than the run left it was changed since,
            // by a program other than this one: its earlier bytes would undo
            // that change too.
            if (content.size() != c.newSize)
                throw RestorePointError("Cannot undo the run: " + c.relativePath
                                        + " has been given another size since, by a program other than this one");
            if (c.oldSize != c.newSize) {
                content = std::move(before);
                continue;
            }
            if (before.size() != c.newSize)
                throw RestorePointError("Cannot undo the run: " + c.relativePath
                                        + " has been given another size since, by a program other than this one");
            for (const ByteRange& r : WithoutChecksum(c.relativePath, c.newSize, c.ranges))
                std::copy_n(before.begin() + static_cast<std::ptrdiff_t>(r.offset), r.length,
                            content.begin() + static_cast<std::ptrdiff_t>(r.offset));
        }
    }

    GameChangeSet changes(gameDirectory);
    for (auto& [key, file] : contents) {
        if (IsSavegame(file.relativePath))
            WriteSavegameChecksum(file.bytes);
        changes.replaceFile(file.relativePath, std::move(file.bytes), file.read);
    }
    PointOperation operation{point_kind::kUndo, {carset}};
    for (const RestorePoint& run : plan.runs)
        operation.args.push_back(run.id);
    return changes.commit(points, operation, observer, nullptr, keepAlive);
}

} // namespace pitwall
