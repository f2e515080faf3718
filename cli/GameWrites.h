#pragma once
// How every command that changes an installation writes: a restore point of
// the files it changes first, then each file replaced as a whole; a run that
// fails part-way puts back what it had written and says so.

#include "CliContext.h"

#include "transfer/GameChangeSet.h"
#include "transfer/RestorePoints.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace pitwall::cli {

// This command as a writer (the lock's wait from the test hook).
WriterInfo Writer(const CliContext& context);

// The installation's restore points, written through as this command.
RestorePoints OpenRestorePoints(const CliContext& context, const std::string& gameDirectory);

// CommandFailure for a restore point or lock that could not be had; without
// a folder for restore points it says how to name one.
CommandFailure PointFailure(const CliContext& context, const std::exception& e);

// Tells about the restore point and, with the test hook set, stops the
// process after the given number of files.
class CliCommitObserver : public CommitObserver {
public:
    explicit CliCommitObserver(CliContext& context) : context_(context) {}
    void restorePointMade(const RestorePoint& point) override;
    void fileWritten(const std::string& relativePath, std::size_t done, std::size_t total) override;
    // One line on stderr naming the point, once (when the run has written).
    void tellRestorePoint() const;

private:
    CliContext& context_;
    std::string pointId_;
    mutable bool told_ = false;
};

// Writes the change set; CommandFailure when it could not (naming the file,
// the reason and whether the installation was put back).
void CommitGameChanges(CliContext& context, GameChangeSet& changes, const PointOperation& operation);

// For writers that replace files themselves (the art-bank expansion): the
// installation's lock and a restore point of `gameRelativePaths` before
// `run` (which the caller calls only once every check has passed); when
// `run` throws or returns false, the files are put back before the failure
// is passed on. A run that changed none of the files leaves no point.
bool RunWithRestorePoint(CliContext& context, const std::string& gameDirectory, const PointOperation& operation,
                         const std::vector<std::string>& gameRelativePaths, const std::function<bool()>& run);

// For commands that write a file of their own (exports, carsets): refuses
// a file that already exists inside an installation, which would otherwise
// be replaced without a restore point. Returns the file.
const std::string& RequireNoGameFileAt(const std::string& file);

// Replaces one file as a whole: inside an installation through a restore
// point (operation "file", the file below the game directory) and
// CommitGameChanges, elsewhere just safely. `readFrom`: the stamp of the
// file taken before the content was worked out from it; inside an
// installation the file is then written only if no other run wrote it since.
void ReplaceFileGuarded(CliContext& context, const std::string& file, std::vector<std::uint8_t> bytes,
                        const std::optional<FileStamp>& readFrom = std::nullopt);

// One line per changed file and item, as `apply --dry-run` prints them.
void PrintChanges(CliContext& context, const std::vector<FileChange>& changes);

} // namespace pitwall::cli
