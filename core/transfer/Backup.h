#pragma once
// Backups of the game files the program may change: sixteen fixed groups,
// each a directory and mask below the game directory, copied into a target
// directory keeping the installation's structure.

#include "base/FileUtils.h"
#include <array>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pitwall {

struct BackupGroup {
    const char* pattern; // game path: directory part + file mask
    int nameText;        // UI text naming the group
};

inline constexpr std::array<BackupGroup, 16> kBackupGroups = {{
    {"GP3.EXE", 1026},
    {"F1GState.SAV", 1027},
    {"Circuits\\*.*", 1028},
    {"LData\\*.STR", 1029},
    {"GP3JamsH\\MAIN\\*.*", 1030},
    {"GP3JamsH\\Liveries\\*.*", 1031},
    {"GP3Jams\\Main\\*.*", 1032},
    {"GP3Jams\\Liveries\\*.*", 1033},
    {"Samples\\GP3Sound.DAT", 1034},
    {"Bitmaps\\GP3Art5.BIN", 1035},
    {"Bitmaps\\Loading*.BMP", 1036},
    {"Bitmaps\\CPitHi3.PCX", 1037},
    {"GP3JamsH\\GenJam\\Pitbox1.JAM", 1038},
    {"GP3JamsH\\TechJam\\Tread*.BMP", 1039},
    {"GP3JamsH\\TechJam\\Wh*.BMP", 1040},
    {"LData\\*.3D", 1041},
}};

// UI texts of the backup window's messages and progress.
inline constexpr int kBackupTotalText = 1042; // "%s": total size
inline constexpr int kBackupNoTargetText = 213;
inline constexpr int kBackupIntoGameText = 1301;
inline constexpr int kBackupNothingCopiedText = 1302; // "%s": the backup folder
inline constexpr int kBackupCaptionText = 554;
inline constexpr int kBackupFilesText = 1043;
inline constexpr int kBackupRemainingText = 1003;

// Bytes of the files a group covers (the mask is matched in its directory,
// which is found without regard to letter case).
std::uint64_t BackupGroupSize(const std::string& gameDirectory, int group);
std::uint64_t BackupSize(const std::string& gameDirectory, const std::vector<int>& groups);

// "999 Byte", "1.5 KB", "2 GB": the quotient with three significant digits.
std::string FormatSize(std::uint64_t bytes, char decimalSeparator = '.');

// The backup's progress: the program's progress window, or text.
class CopyProgress {
public:
    virtual ~CopyProgress() = default;
    virtual void start(int itemCount, std::uint64_t totalBytes) = 0;
    virtual void step(std::uint64_t bytes, int items) = 0;
    virtual void finish() = 0;
};

// Removes one pair of enclosing double quotes, as typed paths often have.
std::string UnquoteDirectory(const std::string& typed);

// True when the typed target is the game directory itself, however spelled
// (letter case, separators, a link to it): a "backup" there would be the very
// files it should keep. The front ends refuse it with UI text 1301.
bool IsGameDirectoryItself(const std::string& gameDirectory, const std::string& target);

// What a backup could not copy: every file that failed and why. A failed
// file leaves no partial copy behind. Symbolic links inside the installation
// are not followed (their targets may lie anywhere) and are listed here.
struct BackupResult {
    std::vector<CopyFailure> failures;
    std::size_t filesCopied = 0;
    bool complete() const { return failures.empty(); }
};

// Copies the groups (in table order) into the target directory, going on
// after a failed file. Nothing, without copying, when the target is empty.
std::optional<BackupResult> RunBackup(const std::string& gameDirectory, const std::string& target,
                                      const std::vector<int>& groups, CopyProgress& progress);

} // namespace pitwall
