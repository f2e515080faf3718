#include "GameWrites.h"

#include "app/Settings.h"
#include "base/FileUtils.h"
#include "base/SafeWrite.h"
#include "base/Windows1252.h"
#include "formats/GameInstallation.h"
#include "transfer/SelectionItems.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <optional>

#ifdef _WIN32
#include <windows.h>
#endif

namespace pitwall::cli {

namespace {

std::string Hex(std::uint64_t value)
{
    char text[24];
    std::snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(value));
    return text;
}

std::string RangeList(const std::vector<ByteRange>& ranges)
{
    constexpr std::size_t kShown = 8;
    std::uint64_t bytes = 0;
    for (const auto& r : ranges)
        bytes += r.length;
    std::string text = std::to_string(ranges.size()) + (ranges.size() == 1 ? " range, " : " ranges, ")
        + std::to_string(bytes) + " bytes:";
    for (std::size_t i = 0; i < ranges.size() && i < kShown; ++i)
        text += " " + Hex(ranges[i].offset) + "-" + Hex(ranges[i].offset + ranges[i].length - 1);
    if (ranges.size() > kShown)
        text += " ... (" + std::to_string(ranges.size() - kShown) + " more)";
    return text;
}

std::string List(const std::vector<std::string>& files)
{
    std::string text;
    for (const auto& f : files)
        text += (text.empty() ? "" : ", ") + f;
    return text;
}

// A point the run turned out not to need; should it stay, it is only one
// more to prune.
void DiscardQuietly(const RestorePoints& points, const RestorePoint& point)
{
    try {
        points.discard(point);
    } catch (const std::exception&) {
    }
}

} // namespace

WriterInfo Writer(const CliContext& context)
{
    WriterInfo writer = context.writer;
    writer.wait = std::chrono::milliseconds(std::max(0, context.lockWaitMilliseconds));
    return writer;
}

RestorePoints OpenRestorePoints(const CliContext& context, const std::string& gameDirectory)
{
    // The limits the desktop editor keeps to, from its settings file.
    Settings settings;
    ReadRestorePointLimits(context.desktopSettingsFile(), settings);
    RestorePoints points(context.restoreRoot.empty() ? DefaultRestorePointRoot() : context.restoreRoot, gameDirectory,
                         settings.restorePointsKept, settings.restorePointsMB);
    points.setWriter(Writer(context));
    return points;
}

CommandFailure PointFailure(const CliContext& context, const std::exception& e)
{
    if (context.restoreRoot.empty() && DefaultRestorePointRoot().empty())
        return CommandFailure(std::string(e.what()) + " (name a folder for them with --restore-dir)");
    return CommandFailure(e.what());
}

void CliCommitObserver::restorePointMade(const RestorePoint& point)
{
    pointId_ = point.id;
    told_ = false;
}

void CliCommitObserver::tellRestorePoint() const
{
    if (!context_.quiet && !pointId_.empty() && !told_)
        context_.err << "restore point " << pointId_ << " keeps the files as they were\n";
    told_ = true;
}

void CliCommitObserver::fileWritten(const std::string&, std::size_t done, std::size_t)
{
    if (context_.killAfterFiles > 0 && done >= static_cast<std::size_t>(context_.killAfterFiles)) {
        context_.err.flush();
        // Dies on the spot, as a crash or a power cut would leave the run:
        // nothing is cleaned up and no restore point is put back.
#ifdef _WIN32
        TerminateProcess(GetCurrentProcess(), 137);
#else
        std::raise(SIGKILL);
#endif
    }
}

void CommitGameChanges(CliContext& context, GameChangeSet& changes, const PointOperation& operation)
{
    RestorePoints points = OpenRestorePoints(context, changes.gameDirectory());
    CliCommitObserver observer(context);
    CommitResult result;
    try {
        result = changes.commit(points, operation, &observer);
    } catch (const RestorePointError& e) {
        throw PointFailure(context, e);
    }
    if (result.ok()) {
        observer.tellRestorePoint();
        return;
    }
    std::string text = result.error;
    if (!text.empty() && text.back() == '.')
        text.pop_back();
    if (result.written.empty())
        text += "; nothing was changed";
    else if (result.rolledBack)
        text += "; put back from restore point " + result.restorePointId + ": " + List(result.written);
    for (const auto& f : result.rollbackFailures)
        text += "; not put back from restore point " + result.restorePointId + ": " + f;
    throw CommandFailure(text);
}

bool RunWithRestorePoint(CliContext& context, const std::string& gameDirectory, const PointOperation& operation,
                         const std::vector<std::string>& gameRelativePaths, const std::function<bool()>& run)
{
    RestorePoints points = OpenRestorePoints(context, gameDirectory);
    std::optional<InstallationLock> held;
    RestorePoint point;
    try {
        held.emplace(points.lock(operation.words()));
        point = points.create(operation, gameRelativePaths);
    } catch (const RestorePointError& e) {
        throw PointFailure(context, e);
    }
    // Only the files the run really changed are written back; the message
    // says which, and which could not be.
    auto putBack = [&](const std::string& why) {
        RestoreReport report = points.restore(point);
        std::vector<std::string> written;
        for (const auto& f : report.restored)
            if (std::find(report.unchanged.begin(), report.unchanged.end(), f) == report.unchanged.end())
                written.push_back(f);
        std::string text = why;
        if (written.empty() && report.ok()) {
            text += "; nothing was changed";
            DiscardQuietly(points, point);
        }
        if (!written.empty())
            text += "; put back from restore point " + point.id + ": " + List(written);
        for (const auto& f : report.failed)
            text += "; not put back from restore point " + point.id + ": " + f;
        return text;
    };
    bool ok = false;
    try {
        ok = run();
    } catch (const CommandFailure& e) {
        throw CommandFailure(putBack(e.what()));
    } catch (const std::exception& e) {
        throw CommandFailure(putBack(e.what()));
    }
    if (!ok) {
        if (points.restore(point).ok())
            DiscardQuietly(points, point);
    } else if (points.changedSince(point).empty()) {
        DiscardQuietly(points, point);
    } else {
        try {
            points.prune();
        } catch (const std::exception&) {
            // Written; the older points merely stay a while longer.
        }
        CliCommitObserver observer(context);
        observer.restorePointMade(point);
        observer.tellRestorePoint();
    }
    return ok;
}

const std::string& RequireNoGameFileAt(const std::string& file)
{
    if (FileExists(file)) {
        const std::string game = InstallationOf(file);
        if (!game.empty())
            throw CommandFailure(file + " already exists in the installation " + game
                                 + "; this command does not replace the game's files (the import commands do, "
                                   "with a restore point)");
    }
    return file;
}

void ReplaceFileGuarded(CliContext& context, const std::string& file, std::vector<std::uint8_t> bytes,
                        const std::optional<FileStamp>& readFrom)
{
    std::string relative;
    std::string game = InstallationOf(file, &relative);
    if (game.empty()) {
        try {
            ReplaceFileSafely(file, bytes);
        } catch (const FileWriteError& e) {
            throw CommandFailure(e.what());
        }
        return;
    }
    GameChangeSet changes(game);
    if (readFrom)
        changes.replaceFile(relative, std::move(bytes), *readFrom);
    else
        changes.replaceFile(relative, std::move(bytes));
    CommitGameChanges(context, changes, PointOperation{point_kind::kFile, {relative}});
}

void PrintChanges(CliContext& context, const std::vector<FileChange>& changes)
{
    // By item first, as the user chose them; then the files as a list.
    std::vector<int> items;
    for (const auto& c : changes)
        for (const auto& i : c.items)
            if (std::find(items.begin(), items.end(), i.item) == items.end())
                items.push_back(i.item);
    std::sort(items.begin(), items.end(), [](int a, int b) { return (a == 0) != (b == 0) ? a != 0 : a < b; });
    for (int item : items) {
        if (item > 0)
            context.out << "item " << item << "  " << Windows1252ToUtf8(ItemDescription(item, context.texts)) << '\n';
        else
            context.out << "not one item (such as the savegame checksum)\n";
        for (const auto& c : changes)
            for (const auto& i : c.items)
                if (i.item == item)
                    context.out << "  " << c.relativePath << "  " << RangeList(i.ranges) << '\n';
    }
    context.out << "files that would change: " << changes.size() << '\n';
    for (const auto& c : changes) {
        context.out << "  " << c.relativePath;
        if (c.created)
            context.out << "  (new, " << c.newSize << " bytes)";
        else if (c.oldSize != c.newSize)
            context.out << "  (" << c.oldSize << " -> " << c.newSize << " bytes)";
        context.out << '\n';
    }
}

} // namespace pitwall::cli
