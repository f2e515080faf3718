#include "base/FileUtils.h"

#include "base/SafeWrite.h"

#include "base/Messages.h"
#include "base/Windows1252.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <cwctype>
#include <fstream>
#include <optional>
#include <stdexcept>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace pitwall {

fs::path NativePath(std::string_view utf8)
{
#ifdef _WIN32
    // The conversion to UTF-16 throws on bytes that are not UTF-8, and would
    // throw out of FileExists or whatever else was asked.
    const std::string text = PathTextAsUtf8(utf8);
    return fs::path(std::u8string(reinterpret_cast<const char8_t*>(text.data()), text.size()));
#else
    // POSIX names are bytes in whatever encoding they were made with: a name
    // read from a folder must find the same file again.
    return fs::path(std::u8string(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size()));
#endif
}

std::string PathTextAsUtf8(std::string_view text)
{
    // A message's rule exactly: UTF-8 sequences stay, any other byte is
    // Windows-1252, so a path joined from the system's folder and a name from
    // such a file keeps both parts.
    return MessageTextToUtf8(text);
}

std::string PathString(const fs::path& path)
{
    auto u8 = path.u8string();
    return std::string(reinterpret_cast<const char*>(u8.data()), u8.size());
}

namespace {

bool IsSeparator(char c) { return c == '/' || c == kPathSeparator; }

char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

std::vector<fs::directory_entry> SortedEntries(const fs::path& dir)
{
    std::vector<fs::directory_entry> entries;
    std::error_code ec;
    fs::directory_iterator it(dir, ec);
    if (ec)
        return entries;
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        if (ec)
            break;
        entries.push_back(*it);
    }
    std::sort(entries.begin(), entries.end(),
              [](const auto& a, const auto& b) { return a.path().filename() < b.path().filename(); });
    return entries;
}

bool IsRealDirectory(const fs::directory_entry& entry)
{
    std::error_code ec;
    auto st = entry.symlink_status(ec);
    return !ec && fs::is_directory(st);
}

} // namespace

std::string IncludeTrailingBackslash(std::string_view path)
{
    std::string out(path);
    if (!out.empty() && !IsSeparator(out.back()))
        out += kPathSeparator;
    return out;
}

std::string ExcludeTrailingBackslash(std::string_view path)
{
    std::string out(path);
    while (out.size() > 1 && IsSeparator(out.back()))
        out.pop_back();
    return out;
}

std::string FileNameOf(std::string_view path)
{
    std::size_t cut = path.find_last_of(kPathSeparator == '/' ? "/" : "/\\");
    return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

std::string DirectoryOf(std::string_view path)
{
    std::size_t cut = path.find_last_of(kPathSeparator == '/' ? "/" : "/\\");
    return cut == std::string_view::npos ? std::string() : std::string(path.substr(0, cut + 1));
}

std::string ExtensionOf(std::string_view path)
{
    std::string name = FileNameOf(path);
    std::size_t dot = name.find_last_of('.');
    return dot == std::string::npos ? std::string() : name.substr(dot);
}

std::string BaseFileName(std::string_view fileName)
{
    std::string name = FileNameOf(fileName);
    std::size_t dot = name.find_last_of('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

bool EqualsIgnoreAsciiCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (AsciiUpper(a[i]) != AsciiUpper(b[i]))
            return false;
    return true;
}

bool MatchesMask(std::string_view name, std::string_view mask)
{
    if (mask == "*.*" || mask == "*")
        return true;
    // Iterative wildcard match with backtracking to the last '*'.
    std::size_t n = 0, m = 0, starM = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (m < mask.size() && (mask[m] == '?' || AsciiUpper(mask[m]) == AsciiUpper(name[n]))) {
            ++n;
            ++m;
        } else if (m < mask.size() && mask[m] == '*') {
            starM = m++;
            starN = n;
        } else if (starM != std::string_view::npos) {
            m = starM + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == '*')
        ++m;
    // A trailing ".*" also matches a name without any extension.
    if (m + 2 == mask.size() && mask[m] == '.' && mask[m + 1] == '*')
        return true;
    return m == mask.size();
}

std::vector<std::string> ListFiles(std::string_view directory, std::string_view mask, bool recursive,
                                   bool withDirectories)
{
    std::vector<std::string> result;
    std::string dir = IncludeTrailingBackslash(directory);
    if (dir.empty())
        return result;
    for (const auto& entry : SortedEntries(NativePath(dir))) {
        std::string name = PathString(entry.path().filename());
        if (!MatchesMask(name, mask))
            continue;
        if (IsRealDirectory(entry)) {
            if (recursive) {
                auto sub = ListFiles(dir + name, mask, recursive, withDirectories);
                result.insert(result.end(), sub.begin(), sub.end());
            }
        } else {
            result.push_back(dir + name);
        }
    }
    if (withDirectories && DirectoryExists(dir))
        result.push_back(dir);
    return result;
}

void ClearReadOnly(std::string_view file)
{
    std::error_code ec;
    fs::path p = NativePath(file);
    auto st = fs::symlink_status(p, ec);
    if (ec || fs::is_symlink(st) || !fs::exists(st))
        return; // never change what a link points to
    fs::permissions(p, fs::perms::owner_write, fs::perm_options::add, ec);
}

bool IsReadOnly(std::string_view file)
{
    std::error_code ec;
    auto st = fs::status(NativePath(file), ec);
    if (ec || !fs::exists(st))
        return false;
    return (st.permissions() & fs::perms::owner_write) == fs::perms::none;
}

void SetReadOnly(std::string_view file, bool readOnly)
{
    std::error_code ec;
    fs::permissions(NativePath(file), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    readOnly ? fs::perm_options::remove : fs::perm_options::add, ec);
    if (!readOnly) // only the owner gets write access back
        fs::permissions(NativePath(file), fs::perms::group_write | fs::perms::others_write, fs::perm_options::remove,
                        ec);
}

void DeleteTree(std::string_view directory)
{
    std::string dir = IncludeTrailingBackslash(directory);
    if (dir.empty())
        return;
    std::error_code ec;
    auto topStatus = fs::symlink_status(NativePath(dir.substr(0, dir.size() - 1)), ec);
    if (ec || !fs::exists(topStatus))
        return;
    if (fs::is_symlink(topStatus)) {
        // A link named like the tree: remove the link, never what it points to.
        fs::remove(NativePath(dir.substr(0, dir.size() - 1)), ec);
        return;
    }
    auto entries = ListFiles(dir, "*.*", true, true);
    // On POSIX a directory's own write bit decides whether its entries can be
    // removed, so the directories are made writable before anything goes.
    for (const auto& e : entries)
        if (IsSeparator(e.back()))
            ClearReadOnly(e.substr(0, e.size() - 1));
    for (const auto& e : entries) {
        if (IsSeparator(e.back())) {
            fs::remove(NativePath(e.substr(0, e.size() - 1)), ec);
        } else {
            ClearReadOnly(e);
            fs::remove(NativePath(e), ec);
        }
    }
}

bool CopyFileForced(std::string_view source, std::string_view target, std::string* reason)
{
    auto fail = [&](std::string why) {
        if (reason)
            *reason = std::move(why);
        return false;
    };
    std::error_code ec;
    if (!fs::is_regular_file(NativePath(source), ec))
        return fail(WhyNotAFile(source));
    std::string dir = DirectoryOf(target);
    if (!dir.empty() && !ForceDirectories(dir))
        return fail("cannot create the directory " + dir);
    try {
        CopyFileSafely(source, target);
    } catch (const FileWriteError& e) {
        return fail(e.reason());
    } catch (const std::exception& e) {
        return fail(e.what());
    }
    // A read-only file is copied read-only. Otherwise the copy keeps the
    // permissions it was written with (those of the file it replaced, or the
    // user's usual ones), not the source's: a source in the private working
    // directory is owner-only, the user's own copy is not.
    if (IsReadOnly(source))
        SetReadOnly(target, true);
    return true;
}

bool SamePlace(const fs::path& a, const fs::path& b)
{
    std::error_code ec;
    if (fs::equivalent(a, b, ec) && !ec)
        return true;
    // A path that cannot be made absolute (an empty one, or a relative one
    // after the working folder was deleted) names no place to compare.
    auto normal = [](const fs::path& p) -> std::optional<fs::path> {
        std::error_code error;
        fs::path n = fs::absolute(p, error);
        if (error || n.empty())
            return std::nullopt;
        n = n.lexically_normal();
        if (!n.has_filename() && n.has_parent_path() && n != n.root_path())
            n = n.parent_path();
        return n;
    };
    const std::optional<fs::path> oa = normal(a), ob = normal(b);
    if (!oa || !ob)
        return false;
    const fs::path &na = *oa, &nb = *ob;
#ifdef _WIN32
    const std::wstring wa = na.wstring(), wb = nb.wstring();
    return wa.size() == wb.size() && std::equal(wa.begin(), wa.end(), wb.begin(), [](wchar_t x, wchar_t y) {
               return std::towlower(static_cast<std::wint_t>(x)) == std::towlower(static_cast<std::wint_t>(y));
           });
#else
    return na == nb;
#endif
}

namespace {

// One entry below the source of a tree copy: its path relative to the source,
// and whether it is a directory.
struct TreeEntry {
    std::string relative;
    bool directory = false;
};

// Lists what a tree copy copies, before anything is copied, so a target that
// lies below the source (a backup folder inside the game's CIRCUITS) is never
// copied into itself. The folders in `keepOut` are left out of the listing.
void ListTree(const std::string& source, const std::string& relative, const std::vector<fs::path>& keepOut,
              std::string_view mask, std::vector<TreeEntry>& entries, std::vector<CopyFailure>& failures)
{
    std::error_code ec;
    const std::string directory = source + relative;
    fs::directory_iterator it(NativePath(directory.empty() ? "." : directory), ec);
    if (ec) {
        failures.push_back({directory, "cannot read the directory: " + ec.message()});
        return;
    }
    std::vector<fs::directory_entry> found;
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        if (ec) {
            failures.push_back({directory, "cannot read the directory: " + ec.message()});
            break;
        }
        found.push_back(*it);
    }
    std::sort(found.begin(), found.end(),
              [](const auto& a, const auto& b) { return a.path().filename() < b.path().filename(); });
    for (const auto& entry : found) {
        std::string name = PathString(entry.path().filename());
        if (!MatchesMask(name, mask))
            continue;
        const std::string from = directory + name;
        auto status = entry.symlink_status(ec);
        if (ec) {
            failures.push_back({from, ec.message()});
        } else if (fs::is_symlink(status)) {
            // Its target may lie anywhere, outside the installation too.
            failures.push_back({from, "a symbolic link, not followed"});
        } else if (fs::is_directory(status)) {
            if (std::any_of(keepOut.begin(), keepOut.end(),
                            [&](const fs::path& out) { return SamePlace(entry.path(), out); }))
                continue;
            entries.push_back({relative + name, true});
            ListTree(source, relative + name + kPathSeparator, keepOut, mask, entries, failures);
        } else if (fs::is_regular_file(status)) {
            entries.push_back({relative + name, false});
        } else {
            failures.push_back({from, "not a regular file"});
        }
    }
}

} // namespace

std::vector<CopyFailure> CopyTree(std::string_view sourceDirectory, std::string_view targetDirectory,
                                  std::string_view mask, std::string_view keepOut, std::size_t* copied)
{
    std::vector<CopyFailure> failures;
    std::string source = IncludeTrailingBackslash(sourceDirectory);
    std::string target = IncludeTrailingBackslash(targetDirectory);
    if (!ForceDirectories(target)) {
        failures.push_back({source, "cannot create the directory " + target});
        return failures;
    }
    std::error_code ec;
    if (!fs::exists(fs::symlink_status(NativePath(source.empty() ? "." : source), ec)))
        return failures; // nothing to copy
    std::vector<TreeEntry> entries;
    std::vector<fs::path> outside{NativePath(target)};
    if (!keepOut.empty())
        outside.push_back(NativePath(keepOut));
    ListTree(source, "", outside, mask, entries, failures);
    for (const TreeEntry& entry : entries) {
        const std::string from = source + entry.relative;
        if (entry.directory) {
            if (!ForceDirectories(target + entry.relative))
                failures.push_back({from, "cannot create the directory " + target + entry.relative});
            continue;
        }
        std::string reason;
        if (!CopyFileForced(from, target + entry.relative, &reason))
            failures.push_back({from, reason});
        else if (copied)
            ++*copied;
    }
    return failures;
}

void DeleteFileForced(std::string_view file)
{
    std::error_code ec;
    auto st = fs::symlink_status(NativePath(file), ec);
    if (ec || !fs::exists(st) || fs::is_directory(st))
        return;
    ClearReadOnly(file);
    fs::remove(NativePath(file), ec);
}

bool FileExists(std::string_view file)
{
    std::error_code ec;
    return !file.empty() && fs::is_regular_file(NativePath(file), ec);
}

std::string WhyNotAFile(std::string_view file)
{
    std::error_code ec;
    const auto status = fs::status(NativePath(file), ec);
    if (file.empty() || !fs::exists(status))
        return "the file does not exist";
    if (fs::is_directory(status))
        return "it is a folder, not a file";
    return "it is not a regular file";
}

std::ifstream OpenFileForReading(std::string_view file)
{
    if (!FileExists(file))
        throw std::runtime_error("Cannot open " + std::string(file) + ": " + WhyNotAFile(file));
    std::ifstream in(NativePath(file), std::ios::binary);
    if (!in)
        throw std::runtime_error("Cannot open " + std::string(file) + ": " + std::strerror(errno));
    return in;
}

bool DirectoryExists(std::string_view directory)
{
    std::error_code ec;
    return !directory.empty() && fs::is_directory(NativePath(directory), ec);
}

bool ForceDirectories(std::string_view directory)
{
    std::error_code ec;
    if (directory.empty())
        return false;
    fs::create_directories(NativePath(directory), ec);
    return DirectoryExists(directory);
}

std::uint64_t FileSizeOf(std::string_view file)
{
    std::error_code ec;
    fs::path p = NativePath(file);
    if (!fs::is_regular_file(p, ec))
        return 0;
    auto size = fs::file_size(p, ec);
    return ec ? 0 : static_cast<std::uint64_t>(size);
}

std::uint64_t TotalSizeOf(std::string_view pathWithMask)
{
    std::uint64_t total = 0;
    for (const auto& f : ListFiles(DirectoryOf(pathWithMask), FileNameOf(pathWithMask), false, false))
        total += FileSizeOf(f);
    return total;
}

bool OpenGameFile(std::string_view name, bool showMessage, Messenger* messenger)
{
    bool exists = FileExists(name);
    if (!exists) {
        if (showMessage && messenger)
            messenger->show(349, Args(std::string(name)));
        return false;
    }
    ClearReadOnly(name);
    return true;
}

int CheckFileExtension(std::string_view name, const std::vector<std::string>& allowed, bool showMessage,
                       Messenger* messenger)
{
    std::string ext = ExtensionOf(name);
    for (std::size_t i = 0; i < allowed.size(); ++i)
        if (EqualsIgnoreAsciiCase(ext, allowed[i]))
            return static_cast<int>(i);
    if (showMessage && messenger)
        messenger->show(985);
    return -1;
}

void ReadWholeFile(std::string_view file, std::vector<std::uint8_t>& into, std::uint64_t maxBytes)
{
    std::ifstream in = OpenFileForReading(file);
    std::uint64_t size = FileSizeOf(file);
    if (size > maxBytes)
        throw std::runtime_error("File " + std::string(file) + " is too large (" + std::to_string(size) + " bytes)");
    into.resize(static_cast<std::size_t>(size));
    if (size > 0 && !in.read(reinterpret_cast<char*>(into.data()), static_cast<std::streamsize>(size)))
        throw std::runtime_error("Cannot read file " + std::string(file));
}

std::vector<std::uint8_t> ReadWholeFile(std::string_view file, std::uint64_t maxBytes)
{
    std::vector<std::uint8_t> bytes;
    ReadWholeFile(file, bytes, maxBytes);
    return bytes;
}

void WriteWholeFile(std::string_view file, const std::vector<std::uint8_t>& bytes) { ReplaceFileSafely(file, bytes); }

void PatchFile(std::string_view file, std::uint64_t offset, std::span<const std::uint8_t> bytes)
{
    if (!FileExists(file))
        throw std::runtime_error("Cannot open file " + std::string(file));
    std::vector<std::uint8_t> content = ReadWholeFile(file);
    if (offset > content.size() || bytes.size() > content.size() - offset)
        throw std::runtime_error("Write beyond the end of " + std::string(file));
    std::copy(bytes.begin(), bytes.end(), content.begin() + static_cast<std::ptrdiff_t>(offset));
    // The whole file is replaced, so a failed write never leaves it half
    // patched.
    ReplaceFileSafely(file, content);
}

} // namespace pitwall
