#pragma once
// The order in which the data areas run in each direction. The game reads
// some areas together (tracks before texts on export, sounds before the
// cockpit on export), so each direction has its own 22 steps.

#include "transfer/DataArea.h"

#include <array>

namespace pitwall {

using TransferOrder = std::array<AreaId, 22>;

namespace transfer_order {
using A = AreaId;

inline constexpr TransferOrder kImportOrder = {A::Teams,           A::Points,          A::Aids,    A::Misc,
                                               A::Texts,           A::Tracks,          A::Damage,  A::CarLiveries,
                                               A::CarNumbers,      A::CockpitLiveries, A::PitCrew, A::Jacks,
                                               A::Helmets,         A::Cockpit,         A::TeamArt, A::Sounds,
                                               A::LoadingPictures, A::Display,         A::Cameras, A::MenuBackgrounds,
                                               A::Tyres,           A::FlagColours};

inline constexpr TransferOrder kExportOrder = {A::Teams,           A::Points,          A::Aids,    A::Misc,
                                               A::Tracks,          A::Texts,           A::Damage,  A::CarLiveries,
                                               A::CarNumbers,      A::CockpitLiveries, A::PitCrew, A::Jacks,
                                               A::Helmets,         A::Sounds,          A::Cockpit, A::TeamArt,
                                               A::LoadingPictures, A::Display,         A::Cameras, A::MenuBackgrounds,
                                               A::Tyres,           A::FlagColours};

inline constexpr TransferOrder kCarsetLoadOrder = {A::Teams,      A::Points,          A::Aids,    A::Misc,
                                                   A::Damage,     A::Tracks,          A::Texts,   A::CarLiveries,
                                                   A::CarNumbers, A::CockpitLiveries, A::PitCrew, A::Jacks,
                                                   A::Helmets,    A::LoadingPictures, A::Cockpit, A::TeamArt,
                                                   A::Sounds,     A::Display,         A::Cameras, A::MenuBackgrounds,
                                                   A::Tyres,      A::FlagColours};

inline constexpr TransferOrder kCarsetSaveOrder = {A::Teams,           A::Points,          A::Aids,    A::Misc,
                                                   A::Tracks,          A::Damage,          A::Texts,   A::CarLiveries,
                                                   A::CarNumbers,      A::CockpitLiveries, A::PitCrew, A::Jacks,
                                                   A::Helmets,         A::Sounds,          A::TeamArt, A::Cockpit,
                                                   A::LoadingPictures, A::Display,         A::Cameras, A::Tyres,
                                                   A::FlagColours,     A::MenuBackgrounds};
} // namespace transfer_order

using transfer_order::kCarsetLoadOrder;
using transfer_order::kCarsetSaveOrder;
using transfer_order::kExportOrder;
using transfer_order::kImportOrder;

} // namespace pitwall
