#include "transfer/RestorePoints.h"

#include "base/FileHash.h"
#include "base/FileUtils.h"
#include "base/GamePath.h"
#include "base/SafeWrite.h"
#include "base/TextRecords.h"
#include "transfer/Leftovers.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

namespace fs = std::filesystem;

namespace pitwall {

namespace {

constexpr const char* kManifestName = "manifest.txt";
constexpr const char* kManifestFirstLine = "Pitwall restore point 1";
// Room left free beyond the copies themselves.
constexpr std::uint64_t kSpareRoom = 16ull * 1024 * 1024;
// A manifest is a few lines per file; anything near this is not ours.
constexpr std::uint64_t kMaxManifestSize = 4ull * 1024 * 1024;
// A point folder without a manifest this long untouched was left by a run
// that ended before it was made (a writer holding the lock makes its point
// within moments).
constexpr std::int64_t kIncompleteStaleAfter = 10ll * 60 * 1'000'000'000;
constexpr const char* kNoRoot =
    "There is no folder of the user's own for restore points (neither XDG_DATA_HOME nor HOME is set"
#ifdef _WIN32
    ", nor LOCALAPPDATA"
#endif
    "), so nothing was changed";

// yyyymmdd-hhmmss-n...: the names this program gives its points.
bool IsPointName(const std::string& name)
{
    if (name.size() < 17 || name[8] != '-' || name[15] != '-')
        return false;
    for (std::size_t i = 0; i < name.size(); ++i)
        if (i != 8 && i != 15 && !std::isdigit(static_cast<unsigned char>(name[i])))
            return false;
    return true;
}

std::string UserDataPitwall(const EnvironmentLookup& env)
{
    std::string base;
    if (auto v = env("XDG_DATA_HOME"); v && !v->empty())
        base = IncludeTrailingBackslash(*v);
    else if (auto home = env("HOME"); home && !home->empty())
        base = IncludeTrailingBackslash(IncludeTrailingBackslash(*home) + ".local" + kPathSeparator + "share");
    else if (auto local = env("LOCALAPPDATA"); local && !local->empty())
        base = IncludeTrailingBackslash(*local);
    else
        return {};
    return base + "pitwall" + kPathSeparator;
}

// The root, and the pitwall folder above it in the usual layout, as folders
// of the user's own.
DirectoryHandle OpenRoot(const std::string& root, bool create)
{
    const std::string path = ExcludeTrailingBackslash(root);
    const std::string parent = ExcludeTrailingBackslash(DirectoryOf(path));
    if (!parent.empty() && FileNameOf(parent) == "pitwall")
        return DirectoryHandle::openOwned(parent, create).ownedChild(FileNameOf(path), create);
    return DirectoryHandle::openOwned(path, create);
}

std::uint64_t FileSystemFreeSpace(const std::string& directory)
{
    std::string probe = directory;
    while (!probe.empty() && !DirectoryExists(probe))
        probe = DirectoryOf(probe.substr(0, probe.size() - 1));
    std::error_code ec;
    auto info = fs::space(NativePath(probe.empty() ? "." : probe), ec);
    return ec ? UINT64_MAX : static_cast<std::uint64_t>(info.available);
}

} // namespace

std::string InstallationKey(const std::string& gameDirectory)
{
    std::error_code ec;
    fs::path absolute = fs::weakly_canonical(fs::absolute(NativePath(gameDirectory), ec), ec);
    std::string full = PathString(absolute);
    std::string name =
        FileNameOf(full.empty() || full.back() != kPathSeparator ? full : full.substr(0, full.size() - 1));
    std::string clean;
    for (char c : name)
        clean += (std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_') ? c : '_';
    if (clean.empty())
        clean = "game";
    std::string hash = Sha256Hex(std::span(reinterpret_cast<const std::uint8_t*>(full.data()), full.size()));
    return clean.substr(0, 40) + "-" + hash.substr(0, 16);
}

namespace {

// yyyymmdd-hhmmss-nnn: the number counts the points made in that second, so
// the names sort in the order the points were made.
std::string NewId(const std::string& directory, std::string& isoTime)
{
    const std::tm utc = UtcNow();
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &utc);
    isoTime = IsoUtcText(utc);
    int sequence = 0;
    std::error_code ec;
    const std::string prefix = std::string(stamp) + "-";
    for (fs::directory_iterator it(NativePath(directory), ec); !ec && it != fs::directory_iterator();
         it.increment(ec)) {
        std::string name = PathString(it->path().filename());
        if (name.rfind(prefix, 0) != 0)
            continue;
        try {
            sequence = std::max(sequence, std::stoi(name.substr(prefix.size())) + 1);
        } catch (const std::exception&) {}
    }
    char id[48];
    std::snprintf(id, sizeof id, "%s-%03d", stamp, sequence);
    return id;
}

std::string CopyName(std::size_t index) { return "file" + std::to_string(index); }

// Where the file is a symbolic link, the link's own text; nothing otherwise.
std::optional<std::string> LinkTargetOf(const std::string& path)
{
    std::error_code ec;
    if (!fs::is_symlink(fs::symlink_status(NativePath(path), ec)))
        return std::nullopt;
    fs::path target = fs::read_symlink(NativePath(path), ec);
    if (ec)
        throw RestorePointError("Cannot make a restore point, so nothing was changed: the link " + path
                                + " cannot be read: " + ec.message());
    return PathString(target);
}

// Makes `path` the link it was: the link is made under a fresh name beside
// it and renamed over whatever is there, so the name is at every moment
// either the old file or the link.
void PutLinkBack(const std::string& path, const std::string& linkTarget)
{
    std::random_device random;
    std::error_code ec, ignored;
    for (int attempt = 0; attempt < 16; ++attempt) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, "%08x", static_cast<unsigned>(random()));
        const std::string temporary = DirectoryOf(path) + "." + FileNameOf(path) + ".pitwall-" + suffix;
        fs::create_symlink(NativePath(linkTarget), NativePath(temporary), ec);
        if (ec == std::errc::file_exists)
            continue;
        if (ec)
            break;
        fs::rename(NativePath(temporary), NativePath(path), ec);
        if (ec)
            fs::remove(NativePath(temporary), ignored);
        break;
    }
    if (ec)
        throw std::runtime_error("the link could not be made again: " + ec.message());
}

// A value on one manifest line.
std::string OneLine(std::string value)
{
    for (char& c : value)
        if (c == '\r' || c == '\n')
            c = ' ';
    return value;
}

std::string Joined(const std::vector<std::string>& list, std::size_t from)
{
    std::string text;
    for (std::size_t i = from; i < list.size(); ++i)
        text += (text.empty() ? "" : ", ") + list[i];
    return text;
}

std::string ManifestText(const RestorePoint& point)
{
    std::ostringstream text;
    text << kManifestFirstLine << '\n'
         << "time=" << point.time << '\n'
         << "operation=" << OneLine(point.operation) << '\n'
         << "kind=" << OneLine(point.what.kind) << '\n';
    // Lines older versions pass over.
    for (const auto& arg : point.what.args)
        text << "arg=" << OneLine(arg) << '\n';
    text << "game=" << point.gameDirectory << '\n' << "run=" << point.run << '\n';
    for (const auto& f : point.files) {
        text << "file=" << (f.existed ? 1 : 0) << '\t' << f.size << '\t' << (f.sha256.empty() ? "-" : f.sha256) << '\t'
             << f.relativePath << '\n';
        // A line of its own after its file, which readers of older points
        // pass over.
        if (!f.linkTarget.empty())
            text << "link=" << f.linkTarget << '\n';
    }
    return text.str();
}

std::optional<RestorePoint> ParseManifest(const std::string& directory, const std::string& id)
{
    std::string file = directory + kManifestName;
    if (!FileExists(file))
        return std::nullopt;
    std::vector<std::uint8_t> bytes;
    try {
        bytes = ReadWholeFile(file, kMaxManifestSize);
    } catch (const std::exception&) {
        return std::nullopt;
    }
    std::istringstream in(std::string(bytes.begin(), bytes.end()));
    std::string line;
    if (!std::getline(in, line) || line != kManifestFirstLine)
        return std::nullopt;
    RestorePoint point;
    point.id = id;
    point.directory = directory;
    while (std::getline(in, line)) {
        auto eq = line.find('=');
        if (eq == std::string::npos)
            return std::nullopt;
        std::string key = line.substr(0, eq), value = line.substr(eq + 1);
        if (key == "time") {
            point.time = value;
        } else if (key == "operation") {
            point.operation = value;
        } else if (key == "kind") {
            point.what.kind = value;
        } else if (key == "arg") {
            point.what.args.push_back(value);
        } else if (key == "game") {
            point.gameDirectory = value;
        } else if (key == "run") {
            point.run = value;
        } else if (key == "file") {
            std::istringstream fields(value);
            std::string existed, size, hash, path;
            if (!std::getline(fields, existed, '\t') || !std::getline(fields, size, '\t')
                || !std::getline(fields, hash, '\t') || !std::getline(fields, path))
                return std::nullopt;
            RestorePointFile f;
            f.existed = existed == "1";
            try {
                f.size = std::stoull(size);
            } catch (const std::exception&) {
                return std::nullopt;
            }
            f.sha256 = hash == "-" ? "" : hash;
            f.relativePath = path;
            point.files.push_back(std::move(f));
        } else if (key == "link") {
            if (point.files.empty() || value.empty())
                return std::nullopt;
            point.files.back().linkTarget = value;
        }
    }
    // Every point of the versions before kinds were kept says "export".
    if (point.what.kind.empty() && point.operation == point_kind::kExport)
        point.what.kind = point_kind::kExport;
    return point;
}

// Whether the game file is as the point recorded it: absent for a file the
// run was to create, else of the recorded size and hash.
bool AsRecorded(const std::string& target, const RestorePointFile& f, const std::function<void()>& keepAlive)
{
    std::error_code ec;
    const auto status = fs::symlink_status(NativePath(target), ec);
    if (!f.existed)
        return status.type() == fs::file_type::not_found;
    if (!fs::is_regular_file(status) || FileSizeOf(target) != f.size)
        return false;
    try {
        return Sha256OfFile(target, keepAlive) == f.sha256;
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace

std::string PointOperation::words() const
{
    namespace k = point_kind;
    const std::string first = args.empty() ? std::string() : args.front();
    if (kind == k::kExport)
        return args.empty() ? "export" : "export of items " + Joined(args, 0);
    if (kind == k::kApply)
        return "apply of carset " + first + (args.size() > 1 ? " (items " + Joined(args, 1) + ")" : "");
    if (kind == k::kSettings)
        return "settings change";
    if (kind == k::kTextImport)
        return "text import of " + first;
    if (kind == k::kSoundReplace)
        return "sound replacement " + Joined(args, 0);
    if (kind == k::kArtImport)
        return "art import of entry " + first;
    if (kind == k::kArtExpand)
        return "art expansion";
    if (kind == k::kRestore)
        return "before restore of " + first;
    if (kind == k::kFile)
        return "replacement of " + first;
    if (kind == k::kUndo)
        return first.empty() ? "undo of " + Joined(args, 1) : "undo of carset " + first;
    return kind;
}

std::string PointOperation::carset() const
{
    return kind == point_kind::kApply && !args.empty() ? args.front() : std::string();
}

std::uint64_t RestorePoint::totalSize() const
{
    std::uint64_t total = 0;
    for (const auto& f : files)
        total += f.size;
    return total;
}

std::string DefaultRestorePointRoot(const EnvironmentLookup& env)
{
    std::string pitwall = UserDataPitwall(env);
    return pitwall.empty() ? pitwall : pitwall + "RestorePoints" + kPathSeparator;
}

std::string UserPitwallDataDirectory(const EnvironmentLookup& env) { return UserDataPitwall(env); }

std::string DefaultLockDirectory(const EnvironmentLookup& env)
{
    std::string pitwall = UserDataPitwall(env);
    return pitwall.empty() ? pitwall : pitwall + "Locks" + kPathSeparator;
}

namespace {

// The installation as a full path: a point's record names it so, whatever
// folder a later run starts in.
std::string FullGameDirectory(const std::string& gameDirectory)
{
    std::error_code ec;
    fs::path absolute = fs::absolute(NativePath(gameDirectory), ec);
    return IncludeTrailingBackslash(ec ? gameDirectory : PathString(absolute));
}

} // namespace

RestorePoints::RestorePoints(std::string root, std::string gameDirectory, int keep, int maxMegabytes)
    : root_(root.empty() ? root : IncludeTrailingBackslash(root)),
      key_(InstallationKey(IncludeTrailingBackslash(gameDirectory))),
      gameDirectory_(FullGameDirectory(gameDirectory)),
      directory_(root_.empty() ? root_ : IncludeTrailingBackslash(root_ + key_)),
      keep_(std::max(1, keep)),
      maxBytes_(static_cast<std::uint64_t>(std::max(1, maxMegabytes)) * 1024 * 1024),
      freeSpace_(FileSystemFreeSpace)
{
    writer_.runStarted = NanosecondsNow();
}

void RestorePoints::setWriter(WriterInfo writer)
{
    writer_ = std::move(writer);
    if (writer_.runStarted == 0)
        writer_.runStarted = NanosecondsNow();
}

DirectoryHandle RestorePoints::openDirectory(bool create) const
{
    if (root_.empty())
        throw RestorePointError(kNoRoot);
    try {
        return OpenRoot(root_, create).ownedChild(key_, create);
    } catch (const PrivateDirectoryError& e) {
        throw RestorePointError(std::string("The folder of restore points cannot be used, so nothing was changed: ")
                                + e.what());
    }
}

InstallationLock RestorePoints::lock(const std::string& operation) const
{
    std::string lockDirectory = writer_.lockDirectory.empty() ? DefaultLockDirectory() : writer_.lockDirectory;
    try {
        std::optional<DirectoryHandle> locks;
        if (!lockDirectory.empty())
            locks.emplace(OpenRoot(lockDirectory, true));
        else if (!root_.empty())
            locks.emplace(OpenRoot(root_, true));
        else
            throw RestorePointError(kNoRoot);
        InstallationLock held(*locks, key_, gameDirectory_, operation, writer_);
        if (!held.nested())
            RemoveStaleLeftovers(gameDirectory_);
        return held;
    } catch (const RestorePointError&) {
        throw;
    } catch (const std::exception& e) {
        throw RestorePointError(e.what());
    }
}

RestorePoint RestorePoints::create(const PointOperation& operation, const std::vector<std::string>& relativePaths,
                                   const std::function<void()>& keepAlive)
{
    InstallationLock held = lock(operation.words());
    DirectoryHandle installation = openDirectory(true);

    RestorePoint point;
    point.operation = operation.words();
    point.what = operation;
    point.gameDirectory = gameDirectory_;
    point.run = std::to_string(held.runStarted());

    std::uint64_t needed = 0;
    for (const auto& relative : relativePaths) {
        RestorePointFile f;
        f.relativePath = relative;
        std::string path = ResolveGamePath(gameDirectory_, relative);
        if (auto target = LinkTargetOf(path)) {
            // A link is kept as the link; the manifest holds it on one line.
            if (target->empty() || target->find_first_of("\r\n") != std::string::npos)
                throw RestorePointError("Cannot make a restore point, so nothing was changed: " + path
                                        + " is a link whose target cannot be recorded");
            f.existed = true;
            f.linkTarget = *target;
            point.files.push_back(std::move(f));
            continue;
        }
        f.existed = FileExists(path);
        f.size = f.existed ? FileSizeOf(path) : 0;
        needed += f.size;
        point.files.push_back(std::move(f));
    }
    std::uint64_t free = freeSpace_(directory_);
    if (needed > UINT64_MAX - kSpareRoom || needed + kSpareRoom > free)
        throw RestorePointError("There is no room for a restore point of " + std::to_string(point.files.size())
                                + " files (" + std::to_string(needed / 1'000'000 + 1) + " MB needed, "
                                + std::to_string(free / 1'000'000) + " MB free in " + directory_
                                + "); nothing was changed");

    // A folder of its own, new: a name taken meanwhile is passed over.
    std::optional<DirectoryHandle> folder;
    for (int attempt = 0; attempt < 100 && !folder; ++attempt) {
        point.id = NewId(directory_, point.time);
        try {
            folder = installation.createNewChild(point.id);
        } catch (const PrivateDirectoryError& e) {
            throw RestorePointError(std::string("Cannot make a restore point, so nothing was changed: ") + e.what());
        }
    }
    if (!folder)
        throw RestorePointError("Cannot make a restore point, so nothing was changed: no free name in " + directory_);
    point.directory = folder->path();

    try {
        // The copies go straight into the new folder and reach the disk
        // together; the manifest, written safely after them, is what makes
        // the point exist, and a restore checks each copy against the hash
        // recorded in it.
        std::vector<std::string> copies;
        for (std::size_t i = 0; i < point.files.size(); ++i) {
            RestorePointFile& f = point.files[i];
            if (!f.existed || !f.linkTarget.empty())
                continue;
            copies.push_back(point.directory + CopyName(i));
            // Hashed as it is copied: what was written is what was hashed.
            Sha256Hasher hash;
            CopyFileAsNew(ResolveGamePath(gameDirectory_, f.relativePath), copies.back(),
                          [&](std::span<const std::uint8_t> piece) {
                              hash.add(piece);
                              if (keepAlive)
                                  keepAlive();
                          });
            f.size = FileSizeOf(copies.back());
            f.sha256 = hash.hex();
        }
        SyncFilesToDisk(copies, keepAlive);
        std::string manifest = ManifestText(point);
        ReplaceFileSafely(point.directory + kManifestName,
                          std::span(reinterpret_cast<const std::uint8_t*>(manifest.data()), manifest.size()));
    } catch (const std::exception& e) {
        installation.remove(point.id);
        throw RestorePointError(std::string("Cannot make a restore point, so nothing was changed: ") + e.what());
    }
    return point;
}

std::vector<std::string> RestorePoints::changedSince(const RestorePoint& point, const std::vector<std::string>* only,
                                                     const std::function<void()>& keepAlive) const
{
    std::vector<std::string> changed;
    for (const RestorePointFile& f : point.files) {
        if (only && std::find(only->begin(), only->end(), f.relativePath) == only->end())
            continue;
        const std::string target = ResolveGamePath(gameDirectory_, f.relativePath);
        std::optional<std::string> link;
        try {
            link = LinkTargetOf(target);
        } catch (const RestorePointError&) {
            changed.push_back(f.relativePath);
            continue;
        }
        if (f.linkTarget.empty() ? link.has_value() || !AsRecorded(target, f, keepAlive) : link != f.linkTarget)
            changed.push_back(f.relativePath);
    }
    return changed;
}

std::vector<std::pair<RestorePoint, std::vector<std::string>>>
RestorePoints::planBackTo(const RestorePoint& point) const
{
    std::vector<RestorePoint> from = madeAfter(point);
    from.insert(from.begin(), point);
    std::vector<std::pair<RestorePoint, std::vector<std::string>>> plan;
    std::vector<std::string> covered;
    for (RestorePoint& p : from) {
        std::vector<std::string> files;
        for (const RestorePointFile& f : p.files)
            if (std::find(covered.begin(), covered.end(), f.relativePath) == covered.end()) {
                covered.push_back(f.relativePath);
                files.push_back(f.relativePath);
            }
        if (!files.empty())
            plan.emplace_back(std::move(p), std::move(files));
    }
    return plan;
}

std::vector<std::string> RestorePoints::filesBackTo(const RestorePoint& point) const
{
    std::vector<std::string> files;
    for (const auto& [p, those] : planBackTo(point))
        files.insert(files.end(), those.begin(), those.end());
    return files;
}

std::vector<std::string> RestorePoints::changedBackTo(const RestorePoint& point,
                                                      const std::function<void()>& keepAlive) const
{
    std::vector<std::string> changed;
    for (const auto& [p, those] : planBackTo(point)) {
        std::vector<std::string> some = changedSince(p, &those, keepAlive);
        changed.insert(changed.end(), some.begin(), some.end());
    }
    return changed;
}

RestoreReport RestorePoints::restoreBackTo(const RestorePoint& point, const std::function<void()>& keepAlive) const
{
    RestoreReport report;
    std::optional<InstallationLock> held;
    try {
        held.emplace(lock("restore " + point.id));
    } catch (const RestorePointError& e) {
        report.failed.push_back(e.what());
        return report;
    }
    for (const auto& [p, those] : planBackTo(point)) {
        RestoreReport part = restore(p, &those, keepAlive);
        report.restored.insert(report.restored.end(), part.restored.begin(), part.restored.end());
        report.unchanged.insert(report.unchanged.end(), part.unchanged.begin(), part.unchanged.end());
        report.failed.insert(report.failed.end(), part.failed.begin(), part.failed.end());
    }
    return report;
}

void RestorePoints::discard(const RestorePoint& point) const
{
    InstallationLock held = lock("discard " + point.id);
    DirectoryHandle installation = openDirectory(false);
    DirectoryEntry e = installation.entry(point.id);
    if (IsPointName(point.id) && e.isDirectory && e.ownedByUser)
        installation.remove(point.id);
}

std::vector<RestorePoint> RestorePoints::madeAfter(const RestorePoint& point) const
{
    std::vector<RestorePoint> later;
    for (auto& p : list())
        if (p.id > point.id)
            later.push_back(std::move(p));
    std::reverse(later.begin(), later.end());
    return later;
}

std::vector<RestorePoint> RestorePoints::list() const
{
    std::vector<RestorePoint> points;
    std::optional<DirectoryHandle> installation;
    try {
        if (!root_.empty() && DirectoryExists(directory_))
            installation.emplace(openDirectory(false));
    } catch (const RestorePointError&) {}
    if (!installation)
        return points;
    for (const auto& id : installation->names()) {
        if (!IsPointName(id) || !installation->entry(id).isDirectory)
            continue;
        if (auto point = ParseManifest(installation->path() + id + kPathSeparator, id))
            points.push_back(std::move(*point));
    }
    std::sort(points.begin(), points.end(), [](const auto& a, const auto& b) { return a.id > b.id; });
    return points;
}

std::optional<RestorePoint> RestorePoints::find(const std::string& id) const
{
    for (auto& point : list())
        if (point.id == id)
            return point;
    return std::nullopt;
}

RestoreReport RestorePoints::restore(const RestorePoint& point, const std::vector<std::string>* only,
                                     const std::function<void()>& keepAlive) const
{
    RestoreReport report;
    std::optional<InstallationLock> held;
    try {
        held.emplace(lock("restore " + point.id));
    } catch (const RestorePointError& e) {
        report.failed.push_back(e.what());
        return report;
    }
    for (std::size_t i = 0; i < point.files.size(); ++i) {
        const RestorePointFile& f = point.files[i];
        if (only && std::find(only->begin(), only->end(), f.relativePath) == only->end())
            continue;
        try {
            std::string target = ResolveGamePath(gameDirectory_, f.relativePath);
            if (!f.linkTarget.empty()) {
                ForceDirectories(DirectoryOf(target));
                PutLinkBack(target, f.linkTarget);
            } else if (AsRecorded(target, f, keepAlive)) {
                report.restored.push_back(f.relativePath);
                report.unchanged.push_back(f.relativePath);
                continue;
            } else if (!f.existed) {
                if (FileExists(target))
                    DeleteFileForced(target);
                if (FileExists(target))
                    throw std::runtime_error("it could not be removed");
            } else {
                std::string copy = point.directory + CopyName(i);
                if (!FileExists(copy) || Sha256OfFile(copy, keepAlive) != f.sha256)
                    throw std::runtime_error("the copy in the restore point is missing or damaged");
                ForceDirectories(DirectoryOf(target));
                CopyFileSafely(copy, target, [&keepAlive](std::span<const std::uint8_t>) {
                    if (keepAlive)
                        keepAlive();
                });
            }
            report.restored.push_back(f.relativePath);
        } catch (const std::exception& e) {
            report.failed.push_back(f.relativePath + ": " + e.what());
        }
    }
    return report;
}

std::vector<std::uint8_t> RestorePoints::readCopy(const RestorePoint& point, const std::string& relativePath) const
{
    for (std::size_t i = 0; i < point.files.size(); ++i) {
        const RestorePointFile& f = point.files[i];
        if (f.relativePath != relativePath)
            continue;
        if (!f.existed || !f.linkTarget.empty())
            break;
        const std::string copy = point.directory + CopyName(i);
        std::vector<std::uint8_t> bytes;
        try {
            bytes = ReadWholeFile(copy, f.size);
        } catch (const std::exception&) {
            bytes.clear();
        }
        if (bytes.size() != f.size || Sha256Hex(bytes) != f.sha256)
            throw RestorePointError("the copy of " + relativePath + " in restore point " + point.id
                                    + " is missing or damaged");
        return bytes;
    }
    throw RestorePointError("restore point " + point.id + " holds no copy of " + relativePath);
}

void RestorePoints::prune() const
{
    InstallationLock held = lock("prune");
    pruneLocked(held);
}

void RestorePoints::pruneLocked(const InstallationLock& held) const
{
    std::optional<DirectoryHandle> installation;
    try {
        installation.emplace(openDirectory(false));
    } catch (const RestorePointError&) {
        return;
    }
    // Each folder is looked at again, through the checked folder, right
    // before it goes; the points the writing run made itself stay.
    const std::int64_t runStarted = held.runStarted();
    const std::string run = std::to_string(runStarted);
    // Newest first: the newest always stays, then as many as the count and
    // the size allow; past the first that does not fit, none older stays,
    // so what is kept is an unbroken history back from now.
    std::vector<RestorePoint> points = list();
    std::uint64_t kept = 0;
    bool full = false;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const std::uint64_t size = points[i].totalSize();
        full = full || i >= static_cast<std::size_t>(keep_) || kept > maxBytes_ || size > maxBytes_ - kept;
        if (i == 0 || !full || points[i].run == run) {
            kept += size;
            continue;
        }
        DirectoryEntry e = installation->entry(points[i].id);
        if (e.isDirectory && e.ownedByUser)
            installation->remove(points[i].id);
    }
    // Folders without a manifest are points whose making was cut short; one
    // is only taken for left when it has not changed for a while.
    const std::int64_t staleBefore = std::min(runStarted, NanosecondsNow() - kIncompleteStaleAfter);
    for (const auto& id : installation->names()) {
        if (!IsPointName(id))
            continue;
        DirectoryEntry e = installation->entry(id);
        if (!e.isDirectory || !e.ownedByUser || e.modifiedNanoseconds >= staleBefore)
            continue;
        if (auto folder = installation->anyChild(id); folder && !folder->entry(kManifestName).exists)
            installation->remove(id);
    }
}

} // namespace pitwall
