#pragma once
// The team graphics of the working set: the JAM liveries of every team in
// both variants, the car-number positions, the pit-crew and flag ramp
// tables with the textures that preview them, and the two tyre sets. A
// reference starts empty and is replaced whole by a load or an import.

#include "formats/JamFile.h"
#include "graphics/TeamGraphicsNames.h"
#include "graphics/TyreSet.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace pitwall {

using JamSlots = std::vector<std::optional<TJAMFile>>;

// The software (8-bit, GP3JAMS) and hardware (16-bit, GP3JAMSH) variant of
// one kind of graphic.
struct JamVariants {
    explicit JamVariants(std::size_t count) : soft(count), hard(count) {}
    JamSlots soft;
    JamSlots hard;
    JamSlots& variant(bool hardware) { return hardware ? hard : soft; }
    const JamSlots& variant(bool hardware) const { return hardware ? hard : soft; }
};

// Record t: source rectangles X, Y, W, H of the first car number in the
// left, front and right view (integers 0-11), the same for the second
// number (12-23), then the target X, Y of each view (24-29).
inline constexpr int kCarNumberInts = 30;
using CarNumberRecord = std::array<std::int32_t, kCarNumberInts>;
using CarNumberTable = std::array<CarNumberRecord, kTeamCount>;

inline constexpr int kPitCrewTextureCount = 9;
inline constexpr int kFlagTypeCount = 4;
inline constexpr int kFlagFrameCount = 8;

struct GraphicsSet {
    JamVariants cars{kTeamCount};
    JamVariants cockpits{kTeamCount};
    // Index t: team t's first jack file; t + 11 its second.
    JamVariants jacks{2 * kTeamCount};
    // Index 0: Helmetsd.JAM, 1: Helmetse.JAM.
    JamVariants helmets{2};
    CarNumberTable carNumbers{};
    std::array<RampBases, kTeamCount> pitCrew{};
    JamSlots pitCrewTextures = JamSlots(kPitCrewTextureCount);
    std::array<RampBases, kFlagTypeCount> flags{};
    JamSlots flagFrames = JamSlots(kFlagFrameCount);
    std::array<std::optional<TyreSet>, 2> tyres;
};

} // namespace pitwall
