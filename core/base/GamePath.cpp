#include "base/GamePath.h"

#include "base/FileUtils.h"
#include "base/Windows1252.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace pitwall {

namespace {

bool IsGameSeparator(char c) { return c == '\\' || c == '/'; }

std::vector<std::string> SplitComponents(std::string_view relative)
{
    std::vector<std::string> parts;
    std::string current;
    for (char c : relative) {
        if (IsGameSeparator(c)) {
            if (!current.empty())
                parts.push_back(std::move(current));
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty())
        parts.push_back(std::move(current));
    return parts;
}

// Windows drops trailing dots and spaces from a name, so "..." and ". ."
// name the parent directory there just as ".." does.
bool LeavesDirectory(const std::string& component)
{
    return component.find_first_not_of(". ") == std::string::npos && component.find('.') != std::string::npos
        && component != ".";
}

// Refuses what would lead out of the base directory (see the header).
void CheckGamePath(std::string_view relative, const std::vector<std::string>& parts)
{
    auto refuse = [&](const char* why) {
        std::string shown;
        for (char c : relative)
            shown += c == '\0' ? '?' : c;
        throw GamePathError("not a game file name (" + std::string(why) + "): " + shown);
    };
    if (relative.find('\0') != std::string_view::npos)
        refuse("it holds a NUL");
    if (!relative.empty() && IsGameSeparator(relative.front()))
        refuse("it starts at a root");
    if (relative.find(':') != std::string_view::npos)
        refuse("it names a drive");
    for (const auto& part : parts)
        if (LeavesDirectory(part))
            refuse("it leads out of its directory");
}

// Whether two file names (UTF-8) are the same without regard to case, as
// Windows sees it for the game's names: ASCII and the accented letters of
// Windows-1252 ("ESPAÑOL.STR" is "ESPAñOL.str"). Names with characters
// outside that code page fold their ASCII letters only.
bool SameNameIgnoringCase(std::string_view a, std::string_view b)
{
    if (EqualsIgnoreAsciiCase(a, b))
        return true;
    std::string a1252 = Utf8ToWindows1252(a), b1252 = Utf8ToWindows1252(b);
    if (Windows1252ToUtf8(a1252) != a || Windows1252ToUtf8(b1252) != b)
        return false;
    return EqualsIgnoreCase(a1252, b1252);
}

// Names in `directory` equal to `wanted` without regard to case: the exact
// spelling first, then the others by name.
std::vector<std::string> Candidates(const std::string& directory, const std::string& wanted)
{
    std::vector<std::string> matches;
    std::error_code ec;
    fs::directory_iterator it(NativePath(directory.empty() ? std::string(".") : directory), ec);
    if (ec)
        return matches;
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        if (ec)
            break;
        std::string name = PathString(it->path().filename());
        if (SameNameIgnoringCase(name, wanted))
            matches.push_back(std::move(name));
    }
    std::sort(matches.begin(), matches.end(), [&](const std::string& a, const std::string& b) {
        if ((a == wanted) != (b == wanted))
            return a == wanted;
        return a < b;
    });
    return matches;
}

struct Resolution {
    std::string path;        // resolved prefix + the rest as given
    std::size_t matched = 0; // components found on disk
};

// Resolves parts[index..] below `path`. Where several spellings exist
// (GP3JAMS and gp3jams side by side), the one through which more of the
// name exists wins.
Resolution ResolveFrom(const std::string& path, const std::vector<std::string>& parts, std::size_t index,
                       bool trailingSeparator)
{
    auto join = [&](std::string base, std::size_t from) {
        for (std::size_t i = from; i < parts.size(); ++i) {
            base += parts[i];
            if (i + 1 < parts.size() || trailingSeparator)
                base += kPathSeparator;
        }
        return base;
    };
    if (index == parts.size())
        return {join(path, index), 0};
    Resolution best{join(path, index), 0};
    for (const auto& name : Candidates(path, parts[index])) {
        std::string next = path + name;
        bool last = index + 1 == parts.size();
        if (!last)
            next += kPathSeparator;
        Resolution r = last ? Resolution{trailingSeparator ? next + kPathSeparator : next, 0}
                            : ResolveFrom(next, parts, index + 1, trailingSeparator);
        r.matched += 1;
        if (r.matched > best.matched)
            best = std::move(r);
        if (best.matched == parts.size() - index)
            break;
    }
    return best;
}

// The name as given, when it exists exactly so and no component exists in
// another spelling: then the search below would find it too (the exact
// spelling is tried first and matches every component), at the cost of a
// directory scan per component. A directory that ignores case (or a second
// spelling beside the first) shows in the probe with one letter of each
// component changed, and the search decides.
std::optional<std::string> ExactlyAsGiven(const std::string& base, const std::vector<std::string>& parts,
                                          bool trailingSeparator)
{
    if (parts.empty())
        return std::nullopt;
    std::string path = base;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        path += parts[i];
        if (i + 1 < parts.size())
            path += kPathSeparator;
    }
    std::error_code ec;
    if (!fs::exists(NativePath(path), ec))
        return std::nullopt;
    std::string prefix = base;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const std::string& part = parts[i];
        if (part == ".")
            return std::nullopt;
        auto letter = std::find_if(part.begin(), part.end(),
                                   [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); });
        if (letter == part.end())
            return std::nullopt;
        std::string other = part;
        other[static_cast<std::size_t>(letter - part.begin())] ^= 0x20;
        if (fs::exists(NativePath(prefix + other), ec) || ec)
            return std::nullopt;
        prefix += part;
        prefix += kPathSeparator;
    }
    if (trailingSeparator)
        path += kPathSeparator;
    return path;
}

} // namespace

std::string ResolveGamePath(std::string_view baseDirectory, std::string_view gameRelative)
{
    auto parts = SplitComponents(gameRelative);
    CheckGamePath(gameRelative, parts);
    std::string base = IncludeTrailingBackslash(baseDirectory);
    bool trailingSeparator = !gameRelative.empty() && IsGameSeparator(gameRelative.back());
    if (auto exact = ExactlyAsGiven(base, parts, trailingSeparator))
        return *exact;
    return ResolveFrom(base, parts, 0, trailingSeparator).path;
}

std::string GamePathFromGameBytes(std::string_view windows1252) { return Windows1252ToUtf8(windows1252); }

} // namespace pitwall
