#pragma once
// The game's file names of the team graphics, in the game's team order, and
// the folders they live in below GP3JAMS (8-bit) and GP3JAMSH (16-bit).

#include "teams/TeamTable.h"

#include <array>

namespace pitwall {

// kTeamCount (11) comes with the team table.

struct TeamJamNames {
    const char* car;
    const char* cockpit;
    const char* jack;
    const char* jack2;
};

inline constexpr std::array<TeamJamNames, kTeamCount> kTeamJamNames = {{
    {"WILLIA98.JAM", "PA_WILLS.JAM", "JM-WILLI.JAM", "JM-WILL1.JAM"},
    {"FERRAR98.JAM", "PA_FERRA.JAM", "JM-FERRA.JAM", "JM-FERR1.JAM"},
    {"BENETT98.JAM", "PA_BENET.JAM", "JM-BENET.JAM", "JM-BENE1.JAM"},
    {"MCLARE98.JAM", "PA_MCLAR.JAM", "JM-MCLAR.JAM", "JM-MCLA1.JAM"},
    {"JORDAN98.JAM", "PA_JORDA.JAM", "JM-JORDA.JAM", "JM-JORD1.JAM"},
    {"PROST98.JAM", "PA_PROST.JAM", "JM-PROST.JAM", "JM-PROS1.JAM"},
    {"SAUBER98.JAM", "PA_SAUBR.JAM", "JM-SAUBE.JAM", "JM-SAUB1.JAM"},
    {"ARROWS98.JAM", "PA_AROWS.JAM", "JM-ARROW.JAM", "JM-ARRO1.JAM"},
    {"STEWAR98.JAM", "PA_STWRT.JAM", "JM-STEWA.JAM", "JM-STEW1.JAM"},
    {"TYRREL98.JAM", "PA_TYREL.JAM", "JM-TYRRE.JAM", "JM-TYRR1.JAM"},
    {"MINARD98.JAM", "PA_MINAR.JAM", "JM-MINAR.JAM", "JM-MINA1.JAM"},
}};

inline constexpr std::array<const char*, 2> kHelmetSheetNames = {"Helmetsd.JAM", "Helmetse.JAM"};

inline constexpr const char* kSoftwareJamFolder = "GP3JAMS\\";
inline constexpr const char* kHardwareJamFolder = "GP3JAMSH\\";
inline constexpr const char* kLiveriesFolder = "Liveries\\";
inline constexpr const char* kMainFolder = "Main\\";

// Carset members of the JAM graphics: the JAM's name and the variant.
inline constexpr const char* kSoftMemberSuffix = "Soft.DAT";
inline constexpr const char* kHardMemberSuffix = "Hard.DAT";

} // namespace pitwall
