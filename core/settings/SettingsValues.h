#pragma once
// The values the setting areas hold as the editor and the command line show
// them: aid bits, point presets, the pit-lane word, camera angles and the
// player car's weight.

#include "settings/GameSettings.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace pitwall {

// Aid bits in the order F1..F8: brakes, gears, spin correction,
// indestructible, ideal line, suggested gear, throttle help, steering help.
inline constexpr std::array<std::uint16_t, kAidCount> kAidBits = {0x0001, 0x0002, 0x0004, 0x0008,
                                                                  0x0100, 0x0200, 0x0010, 0x0020};
// Set in every mask the game is given.
inline constexpr std::uint16_t kAidMaskBase = 0x0040;

using AidSwitches = std::array<bool, kAidCount>;
std::uint16_t AidMask(const AidSwitches& on);
AidSwitches AidSwitchesOf(std::uint16_t mask);

enum class PointsPreset { Formula1, Cart, PointsForAll, Formula1Old };
PointsTable PresetPoints(PointsPreset preset);

// Pit-lane speed limit: the game keeps mph x 324 + 392 in a u16. A word
// below 392 reads as 0 mph; a speed the word cannot hold has no word.
inline constexpr int kPitSpeedMaxMph = 200;
int PitSpeedFromWord(std::uint16_t word);
std::optional<std::uint16_t> PitSpeedWord(std::int32_t mph);

// Camera angles: the game's unit is 1/182 degree.
inline constexpr int kAngleUnitsPerDegree = 182;
int AngleDegrees(std::int16_t word);
std::int16_t AngleWord(int degrees);

// The weight as the editor shows it: whole kilograms 0..2000; NaN, infinite
// or out-of-range doubles show as 0.
inline constexpr int kWeightMax = 2000;
int WeightForEditor(double weight);

inline constexpr int kQuickRaceLapsMax = 100;
inline constexpr int kPlayerPerformanceMax = 2000;

// English names for the command line, in record order.
extern const std::array<std::string_view, kAidLevelCount> kAidLevelNames;
extern const std::array<std::string_view, kAidCount> kAidNames;
extern const std::array<std::string_view, kCarPartCount> kCarPartNames;
extern const std::array<std::string_view, kViewCount> kViewNames;

} // namespace pitwall
