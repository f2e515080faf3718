#pragma once
// The JAM textures a track needs, as a carset carries them: the member
// TrackJAMInfo.DAT (an INI text: section "Track<i>" with NumJAMs and
// JAM0, JAM1, ... in the order the track file lists them) and each JAM as a
// member named after its game path with every backslash replaced by "+"
// ("GP3JAMS\ALBERT.JAM" is the member "GP3JAMS+ALBERT.JAM").
//
// The paths come from track files and carsets, so they are checked before
// anything is read or written by them: a track JAM is a plain relative path
// below GP3JAMS or GP3JAMSH of the game directory, and on disk it must stay
// there (no link may lead out of it).

#include "tracks/TrackTable.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace pitwall {

inline constexpr const char* kTrackJamInfoMember = "TrackJAMInfo.DAT";
// A JAM member larger than this is no JAM of the game.
inline constexpr std::uint64_t kMaxTrackJamBytes = 8'000'000;
// What the track JAMs of one carset may be: a track uses at most this many
// textures, and all tracks' textures together at most this many bytes (the
// carset's JAMs are held in memory until they are exported).
inline constexpr std::size_t kMaxJamsPerTrack = 256;
inline constexpr std::uint64_t kMaxCarsetTrackJamBytes = 128'000'000;

std::string JamMemberName(const std::string& gamePath);
std::string JamGamePath(const std::string& memberName);

// Why a game path is not one of a track JAM, or empty when it is: a
// relative path of '\'-separated parts, the first GP3JAMS or GP3JAMSH (any
// case), no empty, "." or ".." part, no '/', ':' or control character, the
// last a name ending in ".JAM" (any case).
std::string TrackJamPathProblem(const std::string& gamePath);
// The file on disk for a track JAM of the game directory, or nothing with
// the reason (a bad path, or one that a link leads outside its folder).
std::optional<std::string> ResolveTrackJam(const std::string& gameDirectory, const std::string& gamePath,
                                           std::string* reason);

// The JAMs of each slot, by slot.
using TrackJamLists = std::map<int, std::vector<std::string>>;
std::string BuildTrackJamInfo(const TrackJamLists& lists);
// Slots 0..15 only; NumJAMs is taken at most up to 1000.
TrackJamLists ParseTrackJamInfo(const std::string& text);

// The JAM list of slot's track file with the hardware folder in place of
// the software one ("GP3JAMS\X.JAM" -> "GP3JAMSH\X.JAM").
std::string HardwareJamPath(const std::string& gamePath);

} // namespace pitwall
