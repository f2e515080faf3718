#pragma once
// File and directory routines used throughout the program: path
// normalisation, listing, deletion and copying that ignore read-only
// attributes, sizes and the uniform missing-file message.
//
// Paths are UTF-8 strings in the platform's own form; directory strings carry
// a trailing separator (IncludeTrailingBackslash adds the native one).

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace pitwall {

class Messenger;

#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// Never throws: on Windows, where the name becomes UTF-16, text that is not
// UTF-8 is taken as PathTextAsUtf8 takes it; elsewhere the bytes are the name.
std::filesystem::path NativePath(std::string_view utf8);
// A path's text as UTF-8: its UTF-8 sequences as they are, every other byte
// taken as Windows-1252 (a path in a PITWALL.INI that an editor saved in the
// ANSI code page: "D:\Spiele\Jürgen\" with the ü as the one byte 0xFC).
std::string PathTextAsUtf8(std::string_view text);
std::string PathString(const std::filesystem::path& path);
// Whether two paths name the same file or folder: the same object (through a
// link too), or, where the system cannot tell (Windows builds compare folders
// poorly), the same absolute path after normalising, letter case ignored on
// Windows. A path that cannot be made absolute names no place: never the same.
bool SamePlace(const std::filesystem::path& a, const std::filesystem::path& b);

// Appends the separator unless the path is empty or already ends with one.
std::string IncludeTrailingBackslash(std::string_view path);
// The path without trailing separators; a lone root separator stays.
std::string ExcludeTrailingBackslash(std::string_view path);
// The file name without directory and without extension.
std::string BaseFileName(std::string_view fileName);
// The file name without its directory.
std::string FileNameOf(std::string_view path);
// The directory part with its trailing separator ("" when there is none).
std::string DirectoryOf(std::string_view path);
// The extension with its dot, as written ("" when there is none).
std::string ExtensionOf(std::string_view path);

// Windows wildcard match ('*', '?'), without regard to ASCII case. "*.*"
// matches every name, with or without a dot.
bool MatchesMask(std::string_view name, std::string_view mask);
bool EqualsIgnoreAsciiCase(std::string_view a, std::string_view b);

// Every entry below `directory` matching `mask`, as full names. A directory
// (which must itself match the mask) contributes its own contents first when
// recursive, and, with withDirectories, is listed itself after them with a
// trailing separator. Symbolic links are listed as files and never followed,
// so nothing outside the tree is reached. Entries come sorted by name.
std::vector<std::string> ListFiles(std::string_view directory, std::string_view mask, bool recursive,
                                   bool withDirectories);

// Deletes the tree, read-only entries included, and the directory itself.
// Failures are ignored.
void DeleteTree(std::string_view directory);
// Copies the file over the target, creating the target's directory. The
// bytes go to a new file beside the target (never an existing file or link),
// flushed to disk, which then replaces the target, read-only or not: a copy
// that fails (a full disk, a size limit) leaves the old target as it was, or
// none, and no partial file. Returns whether the copy was made; `reason`, if
// given, receives why not.
bool CopyFileForced(std::string_view source, std::string_view target, std::string* reason = nullptr);

// A file (or directory) a copy of several could not make, and why.
struct CopyFailure {
    std::string file; // the source
    std::string reason;
};

// Copies every file below sourceDirectory whose name matches the mask, into
// the same places below targetDirectory (subdirectories must match the mask
// too, as in ListFiles). Symbolic links are never followed: one found in the
// tree is not copied but returned as a failure, as are entries that are not
// regular files and directories that cannot be read. The tree is listed
// before the first copy; the target, and the folder `keepOut` (a backup's
// whole target when it lies below the source), are not part of it. `copied`,
// when given, grows by the number of files copied.
std::vector<CopyFailure> CopyTree(std::string_view sourceDirectory, std::string_view targetDirectory,
                                  std::string_view mask, std::string_view keepOut = {}, std::size_t* copied = nullptr);
void DeleteFileForced(std::string_view file);
// Removes the read-only attribute (on POSIX: gives the owner write access).
void ClearReadOnly(std::string_view file);
bool IsReadOnly(std::string_view file);
void SetReadOnly(std::string_view file, bool readOnly);

bool FileExists(std::string_view file);
// Why `file` cannot be opened as a file, for a message: "the file does not
// exist", or, for a folder, a device or a pipe of that name, what it is.
std::string WhyNotAFile(std::string_view file);
// Opens a regular file for binary reading; throws std::runtime_error
// ("Cannot open <file>: <why>") otherwise. Anything else of that name is
// refused before it is opened: a pipe would keep the reader waiting until
// something writes to it, a device may never end, a folder reads as empty.
std::ifstream OpenFileForReading(std::string_view file);
bool DirectoryExists(std::string_view directory);
bool ForceDirectories(std::string_view directory);

// Size of the file of exactly this name, 0 when there is none.
std::uint64_t FileSizeOf(std::string_view file);
// Sum of FileSizeOf over the files matching the mask part of the path.
std::uint64_t TotalSizeOf(std::string_view pathWithMask);

// Checks that a game file exists before it is opened; a missing file is
// reported with UI text 349 and its name when showMessage is set. Clears the
// read-only attribute of an existing file so it can be patched.
bool OpenGameFile(std::string_view name, bool showMessage, Messenger* messenger);

// Index of the first allowed extension (upper case, with dot) that the name's
// extension equals without regard to case; -1 and UI text 985 otherwise.
int CheckFileExtension(std::string_view name, const std::vector<std::string>& allowed, bool showMessage,
                       Messenger* messenger);

// Whole-file reads and writes. ReadWholeFile throws std::runtime_error with
// the file name when the file cannot be read or exceeds maxBytes. WriteWholeFile
// replaces the file through a temporary file and a rename (see SafeWrite.h):
// on failure it throws FileWriteError and the old file stays as it was.
std::vector<std::uint8_t> ReadWholeFile(std::string_view file, std::uint64_t maxBytes = UINT64_MAX);
// The same into a buffer that is reused (no second copy of a large file); on
// failure its content is undefined.
void ReadWholeFile(std::string_view file, std::vector<std::uint8_t>& into, std::uint64_t maxBytes);
void WriteWholeFile(std::string_view file, const std::vector<std::uint8_t>& bytes);
// Writes `bytes` at `offset` into an existing file, keeping every other byte.
// The file is replaced as a whole, so a failure leaves it unchanged. Throws
// std::runtime_error when the file cannot be read or the range lies beyond
// its end, FileWriteError when it cannot be written.
void PatchFile(std::string_view file, std::uint64_t offset, std::span<const std::uint8_t> bytes);

} // namespace pitwall
