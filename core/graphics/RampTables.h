#pragma once
// Colour-ramp tables of the pit crew and the flag marshals: 16 bytes, byte
// r the palette index at which ramp r (entries 16r..16r+15) starts after
// recolouring; an unchanged ramp has byte r = 16r.

#include "formats/JamFile.h" // RampBases
#include "graphics/TeamGraphicsNames.h"

#include <array>
#include <cstdint>

namespace pitwall {

inline constexpr int kPitCrewFirstBodyPart = 3;
inline constexpr int kPitCrewBodyParts = 13;

// The pit-crew ramp base each team gets where the game's table still holds
// one of the stock values (team 0 .. 10).
inline constexpr std::array<std::uint8_t, kTeamCount> kPitCrewDefaultBase = {48, 48, 96, 3, 64, 96, 96, 3, 30, 30, 96};

// Import of team t's record: each of bytes 11-15 that holds exactly its
// stock value (160, 176, 208, 224, 240) becomes the team's default base.
RampBases SubstitutePitCrewDefaults(RampBases record, int team);

// Carsets of format 7 hold only bytes 3-15 of a pit-crew record (13 bytes);
// bytes 0-2 are then 3, 14, 24.
inline constexpr std::size_t kPitCrewFormat7Bytes = 13;
RampBases PitCrewRecordOfFormat7(const std::uint8_t* thirteenBytes);

RampBases IdentityRamps();

} // namespace pitwall
