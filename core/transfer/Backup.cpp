#include "transfer/Backup.h"

#include "base/DelphiFormat.h"
#include "base/FileUtils.h"
#include "base/GamePath.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace pitwall {

namespace {

struct SplitPattern {
    std::string directory; // game path with '\', may be empty
    std::string mask;
};

SplitPattern Split(const char* pattern)
{
    std::string p = pattern;
    auto cut = p.find_last_of('\\');
    if (cut == std::string::npos)
        return {"", p};
    return {p.substr(0, cut), p.substr(cut + 1)};
}

std::string SourceDirectory(const std::string& gameDirectory, const SplitPattern& s)
{
    return IncludeTrailingBackslash(s.directory.empty() ? gameDirectory : ResolveGamePath(gameDirectory, s.directory));
}

// Whether `directory`, once its links are resolved, lies outside the game
// directory: a group directory that is a link to elsewhere.
bool LeadsOutOf(const std::string& gameDirectory, const std::string& directory)
{
    std::error_code ec;
    fs::path base = fs::weakly_canonical(NativePath(ExcludeTrailingBackslash(gameDirectory)), ec);
    if (ec)
        return false; // the game directory itself is not there; nothing is copied
    fs::path resolved = fs::weakly_canonical(NativePath(ExcludeTrailingBackslash(directory)), ec);
    if (ec)
        return true;
    fs::path relative = resolved.lexically_relative(base);
    return relative.empty() || *relative.begin() == "..";
}

} // namespace

std::uint64_t BackupGroupSize(const std::string& gameDirectory, int group)
{
    SplitPattern s = Split(kBackupGroups.at(static_cast<std::size_t>(group)).pattern);
    return TotalSizeOf(SourceDirectory(gameDirectory, s) + s.mask);
}

std::uint64_t BackupSize(const std::string& gameDirectory, const std::vector<int>& groups)
{
    std::uint64_t total = 0;
    for (int g : groups)
        total += BackupGroupSize(gameDirectory, g);
    return total;
}

std::string FormatSize(std::uint64_t bytes, char decimalSeparator)
{
    if (bytes < 1000)
        return std::to_string(bytes) + " Byte";
    double value;
    const char* unit;
    if (bytes < 1'000'000) {
        value = static_cast<double>(bytes) / 1e3;
        unit = " KB";
    } else if (bytes < 1'000'000'000) {
        value = static_cast<double>(bytes) / 1e6;
        unit = " MB";
    } else {
        value = static_cast<double>(bytes) / 1e9;
        unit = " GB";
    }
    // Three significant digits, but never in exponent form: a value that
    // rounds up to 1000 of its unit (999,999 bytes) reads "1000 KB".
    if (value >= 999.5)
        return FormatText("%.0f", Args(value), NumberFormat{decimalSeparator, ','}) + unit;
    return FormatText("%.3g", Args(value), NumberFormat{decimalSeparator, ','}) + unit;
}

std::string UnquoteDirectory(const std::string& typed)
{
    if (typed.size() >= 2 && typed.front() == '"' && typed.back() == '"')
        return typed.substr(1, typed.size() - 2);
    return typed;
}

bool IsGameDirectoryItself(const std::string& gameDirectory, const std::string& target)
{
    const std::string to = UnquoteDirectory(target);
    if (to.empty() || gameDirectory.empty())
        return false;
    return SamePlace(NativePath(to), NativePath(gameDirectory));
}

std::optional<BackupResult> RunBackup(const std::string& gameDirectory, const std::string& target,
                                      const std::vector<int>& groups, CopyProgress& progress)
{
    std::string to = UnquoteDirectory(target);
    if (to.empty())
        return std::nullopt;
    BackupResult result;
    to = IncludeTrailingBackslash(to);
    std::vector<int> ordered = groups;
    std::sort(ordered.begin(), ordered.end());
    ordered.erase(std::unique(ordered.begin(), ordered.end()), ordered.end());
    progress.start(static_cast<int>(ordered.size()), BackupSize(gameDirectory, ordered));
    for (int g : ordered) {
        SplitPattern s = Split(kBackupGroups.at(static_cast<std::size_t>(g)).pattern);
        const std::string source = SourceDirectory(gameDirectory, s);
        // The copy is spelled as the installation spells the directory
        // ("LDATA"), not as the group's pattern does ("LData").
        std::string targetDirectory = to;
        const std::string base = IncludeTrailingBackslash(gameDirectory);
        if (source.size() >= base.size() && source.compare(0, base.size(), base) == 0)
            targetDirectory += source.substr(base.size());
        else
            for (char c : s.directory)
                targetDirectory += c == '\\' ? kPathSeparator : c;
        if (!s.directory.empty() && LeadsOutOf(gameDirectory, source)) {
            result.failures.push_back({source, "a symbolic link out of the installation, not followed"});
        } else {
            auto failed = CopyTree(source, targetDirectory, s.mask, to, &result.filesCopied);
            result.failures.insert(result.failures.end(), failed.begin(), failed.end());
        }
        progress.step(BackupGroupSize(gameDirectory, g), 1);
    }
    progress.finish();
    return result;
}

} // namespace pitwall
