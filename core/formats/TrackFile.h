#pragma once
// What the program reads from a track file CIRCUITS\<name>: the circuit's
// information block "#GP3INFO" near the end (key|value|key|value|...) and the
// list of JAM textures the circuit needs (marker 0C 0D 0E 0F, a u16 count,
// zero-terminated names). Track files themselves are never changed.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace pitwall {

inline constexpr std::size_t kTrackInfoFieldCount = 16;
inline constexpr std::array<const char*, kTrackInfoFieldCount> kTrackInfoKeys = {
    "NAME", "COUNTRY",      "CREATED",   "AUTHOR",           "YEAR",   "EVENT",  "DESC",    "LAPS", "SLOT",
    "TYRE", "LENGTHMETERS", "LAPRECORD", "LAPRECORDQUALIFY", "SPLIT1", "SPLIT2", "UNDERLAY"};
// Only this much of the start of a track file is searched.
inline constexpr std::size_t kTrackSearchWindow = 300'001;
inline constexpr std::size_t kMaxJamNameBytes = 100;
// The game's table of track file names holds at most 10 characters, so only
// entries of CIRCUITS with shorter names can be chosen for a calendar slot.
inline constexpr std::size_t kMaxTrackFileNameLength = 10;

struct TrackInfoBlock {
    // The values of the 16 known keys, in table order, as single-byte text.
    std::array<std::string, kTrackInfoFieldCount> values;
    bool found = false;
};

// `window` is the first min(file size, 300,001) bytes of the track file.
TrackInfoBlock ParseTrackInfo(std::span<const std::uint8_t> window);
// `head` is the start of the track file; the marker is searched in its first
// 300,001 bytes, names may run on after that.
std::vector<std::string> ParseJamList(std::span<const std::uint8_t> head);

// True when the block was found. A missing file throws FormatError (UI text
// 349); the block is then empty and not found.
bool ReadTrackInfo(std::string_view file, TrackInfoBlock& block);
// A missing file throws FormatError (UI text 349).
std::vector<std::string> ReadJamList(std::string_view file);

// The entries of the game directory's CIRCUITS whose names are shorter than
// 11 characters, upper case, sorted.
std::vector<std::string> ListTrackFiles(std::string_view gameDirectory);

} // namespace pitwall
