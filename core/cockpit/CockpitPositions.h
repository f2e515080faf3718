#pragma once
// The cockpit positions the game keeps in GP3.EXE: the 62 cockpit objects
// (16 bytes each, back to back) and the 13 LCD texts (a left/top byte pair at
// the start of each 32-bit slot, one shared width and height).

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace pitwall {

class GameFile;

inline constexpr int kCockpitObjectCount = 62;
inline constexpr std::size_t kCockpitObjectGameSize = 16;
inline constexpr std::size_t kCockpitObjectSize = 18;
inline constexpr std::size_t kCockpitObjectsImageSize = kCockpitObjectCount * kCockpitObjectSize; // 1,116
inline constexpr int kCockpitParentCount = 7;
inline constexpr int kLcdTextCount = 13;
inline constexpr std::size_t kLcdTextsImageSize = 28;

// Bytes 0-1 left, 4-5 top, 8 parent (0..6); the rest carried unchanged;
// 16-17 are the program's own and never reach the game.
struct CockpitObject {
    std::array<std::uint8_t, kCockpitObjectSize> bytes{};

    std::uint16_t left() const { return static_cast<std::uint16_t>(bytes[0] | bytes[1] << 8); }
    std::uint16_t top() const { return static_cast<std::uint16_t>(bytes[4] | bytes[5] << 8); }
    std::uint8_t parent() const { return bytes[8]; }
    void setLeft(std::uint16_t v);
    void setTop(std::uint16_t v);
    void setParent(std::uint8_t v) { bytes[8] = v; }
    bool operator==(const CockpitObject&) const = default;
};

using CockpitObjects = std::array<CockpitObject, kCockpitObjectCount>;

struct LcdTextPositions {
    std::array<std::uint8_t, kLcdTextCount> left{};
    std::array<std::uint8_t, kLcdTextCount> top{};
    std::uint8_t width = 0;
    std::uint8_t height = 0;
    bool operator==(const LcdTextPositions&) const = default;
};

// Positions by game version; throws std::invalid_argument for the unknown
// version.
std::uint32_t CockpitObjectsOffset(int gameVersion);
std::uint32_t LcdTextSlotsOffset(int gameVersion);  // T: pair k at T + 4k
std::uint32_t LcdTextHeightOffset(int gameVersion); // U: height; width at U + 4

// Reads the 16 game bytes of each record over `objects` (the last two bytes
// stay); a parent of 7 or more is read as 0. Throws GameFileError when the
// file is too short.
void ReadCockpitObjects(CockpitObjects& objects, const GameFile& exe, int gameVersion);
void WriteCockpitObjects(const CockpitObjects& objects, GameFile& exe, int gameVersion);
LcdTextPositions ReadLcdTexts(const GameFile& exe, int gameVersion);
void WriteLcdTexts(const LcdTextPositions& texts, GameFile& exe, int gameVersion);

std::vector<std::uint8_t> CockpitObjectsImage(const CockpitObjects& objects);
CockpitObjects CockpitObjectsFromImage(std::span<const std::uint8_t> bytes);
std::vector<std::uint8_t> LcdTextsImage(const LcdTextPositions& texts);
LcdTextPositions LcdTextsFromImage(std::span<const std::uint8_t> bytes);

} // namespace pitwall
