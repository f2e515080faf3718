#pragma once
// The game's eleven teams and twenty-two drivers as the program keeps them.
// Team slots 0..10 follow the game's own team order; a driver is addressed by
// (team slot, driver number 0 or 1) or by driver index = 2 x team slot +
// driver number. Field order and widths are those of the 102-byte team record
// and 34-byte driver record of TeamsDrivers.DAT (see TeamTableImage.h).

#include "teams/FixedText.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace pitwall {

inline constexpr int kTeamCount = 11;
inline constexpr int kDriverCount = 22;
inline constexpr std::size_t kTeamNameWidth = 13; // team and engine names
inline constexpr std::size_t kDriverNameWidth = 24;

using TeamName = FixedText<kTeamNameWidth>;
using DriverName = FixedText<kDriverNameWidth>;

// Tyre supplier of a team as the game numbers it.
inline constexpr std::uint8_t kTyreGoodyear = 0;    // shown as "type 1"
inline constexpr std::uint8_t kTyreBridgestone = 1; // shown as "type 2"

struct DriverRecord {
    DriverName name;
    std::uint16_t qp = 0;       // qualifying strength
    std::uint16_t rp = 0;       // race strength
    std::uint16_t qa = 0;       // qualifying consistency
    std::uint16_t ra = 0;       // race consistency
    std::uint8_t carNumber = 0; // NBR, 0..99 in the editor
    // Non-zero when the savegame marks the driver as a player's (1 after an
    // import; a carset may hold any byte, which counts as selected).
    std::uint8_t selected = 0;

    friend bool operator==(const DriverRecord&, const DriverRecord&) = default;
};

struct TeamRecord {
    TeamName name;
    TeamName engine;
    std::uint16_t failure = 0; // TFAIL; failure rate in percent = failure / 500
    std::uint16_t tqp = 0;     // team qualifying performance, 0..32700 in the editor
    std::uint16_t trp = 0;     // team race performance, 0..32700 in the editor
    std::array<DriverRecord, 2> drivers;
    std::uint8_t tyreType = kTyreGoodyear;
    // The team's place in the pit lane, 0..10; over the eleven teams a
    // permutation (see PitLane.h for how a broken one is read).
    std::uint8_t pitPosition = 0;

    friend bool operator==(const TeamRecord&, const TeamRecord&) = default;
};

struct TeamTable {
    std::array<TeamRecord, kTeamCount> teams;

    // Driver by driver index 0..21; throws std::out_of_range outside.
    DriverRecord& driver(int index);
    const DriverRecord& driver(int index) const;

    friend bool operator==(const TeamTable&, const TeamTable&) = default;
};

} // namespace pitwall
