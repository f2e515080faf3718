#include "tracks/TrackJams.h"

#include "app/IniFile.h"
#include "base/FileUtils.h"
#include "base/GamePath.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace pitwall {

namespace {

// NumJAMs is read at most this far; LoadTrackJams refuses a track listing
// more than a track uses.
constexpr long long kMaxJamsRead = 1000;

std::vector<std::string> SplitBackslash(const std::string& path)
{
    std::vector<std::string> parts(1);
    for (char c : path) {
        if (c == '\\')
            parts.emplace_back();
        else
            parts.back().push_back(c);
    }
    return parts;
}

bool Within(const std::filesystem::path& inner, const std::filesystem::path& outer)
{
    auto i = inner.begin();
    for (auto o = outer.begin(); o != outer.end(); ++o, ++i) {
        if (o->empty())
            continue;
        if (i == inner.end() || *i != *o)
            return false;
    }
    return true;
}

} // namespace

std::string JamMemberName(const std::string& gamePath)
{
    std::string name = gamePath;
    std::replace(name.begin(), name.end(), '\\', '+');
    return name;
}

std::string JamGamePath(const std::string& memberName)
{
    std::string path = memberName;
    std::replace(path.begin(), path.end(), '+', '\\');
    return path;
}

std::string TrackJamPathProblem(const std::string& gamePath)
{
    if (gamePath.empty())
        return "it is empty";
    for (char c : gamePath) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || c == '/' || c == ':')
            return "it holds a character no track JAM path has";
    }
    auto parts = SplitBackslash(gamePath);
    if (parts.size() < 2)
        return "it does not lie in GP3JAMS or GP3JAMSH";
    if (!EqualsIgnoreAsciiCase(parts[0], "GP3JAMS") && !EqualsIgnoreAsciiCase(parts[0], "GP3JAMSH"))
        return "it does not lie in GP3JAMS or GP3JAMSH";
    for (const std::string& part : parts)
        if (part.empty() || part.find_first_not_of('.') == std::string::npos)
            return "it leaves its folder";
    // Only textures go into the JAM folders, never a program or anything
    // else a carset might carry there.
    const std::string& name = parts.back();
    if (name.size() <= 4 || !EqualsIgnoreAsciiCase(name.substr(name.size() - 4), ".JAM"))
        return "it is not a .JAM file";
    return {};
}

std::optional<std::string> ResolveTrackJam(const std::string& gameDirectory, const std::string& gamePath,
                                           std::string* reason)
{
    auto refuse = [&](const std::string& why) -> std::optional<std::string> {
        if (reason)
            *reason = why;
        return std::nullopt;
    };
    if (auto problem = TrackJamPathProblem(gamePath); !problem.empty())
        return refuse(problem);
    std::string resolved;
    std::string folder;
    try {
        resolved = ResolveGamePath(gameDirectory, GamePathFromGameBytes(gamePath));
        folder = ResolveGamePath(gameDirectory, SplitBackslash(gamePath).front());
    } catch (const GamePathError& e) {
        return refuse(e.what());
    }
    // Links inside the game directory are followed as the game would follow
    // them; where they lead must still be the JAM folder.
    std::error_code ec;
    auto realFolder = std::filesystem::weakly_canonical(NativePath(folder), ec);
    if (ec)
        return refuse("its folder cannot be read");
    auto realFile = std::filesystem::weakly_canonical(NativePath(resolved), ec);
    if (ec)
        return refuse("it cannot be read");
    auto realGame = std::filesystem::weakly_canonical(NativePath(gameDirectory), ec);
    if (ec || !Within(realFolder, realGame) || !Within(realFile, realFolder) || realFile == realFolder)
        return refuse("a link leads it out of the game directory's JAM folder");
    return resolved;
}

std::string BuildTrackJamInfo(const TrackJamLists& lists)
{
    IniFile ini;
    for (const auto& [slot, jams] : lists) {
        const std::string section = "Track" + std::to_string(slot);
        ini.writeInteger(section, "NumJAMs", static_cast<long long>(jams.size()));
        for (std::size_t i = 0; i < jams.size(); ++i)
            ini.writeString(section, "JAM" + std::to_string(i), JamMemberName(jams[i]));
    }
    return ini.text();
}

TrackJamLists ParseTrackJamInfo(const std::string& text)
{
    IniFile ini;
    ini.parse(text);
    TrackJamLists lists;
    for (int slot = 0; slot < kTrackCount; ++slot) {
        const std::string section = "Track" + std::to_string(slot);
        if (!ini.hasSection(section))
            continue;
        const long long count = std::clamp<long long>(ini.readInteger(section, "NumJAMs", 0), 0, kMaxJamsRead);
        auto& jams = lists[slot];
        for (long long i = 0; i < count; ++i) {
            std::string member = ini.readString(section, "JAM" + std::to_string(i), "");
            if (!member.empty())
                jams.push_back(JamGamePath(member));
        }
    }
    return lists;
}

std::string HardwareJamPath(const std::string& gamePath)
{
    auto parts = SplitBackslash(gamePath);
    if (parts.size() >= 2 && EqualsIgnoreAsciiCase(parts[0], "GP3JAMS"))
        return "GP3JAMSH" + gamePath.substr(parts[0].size());
    return gamePath;
}

} // namespace pitwall
