#pragma once
// The 8-bit textures the editor previews ramp tables on (pit crew, flag
// marshals). They are read from GP3JAMS\MAIN when first needed and never
// written; one that cannot be read is reported but fails no transfer.

#include "graphics/GraphicsSet.h"
#include "transfer/DataArea.h"

#include <array>
#include <string>

namespace pitwall {

inline constexpr std::array<const char*, kPitCrewTextureCount> kPitCrewTextureNames = {
    "PC-EXTR1.JAM", "PC-EXTR2.JAM", "PC-EXTR3.JAM", "PC-EXTR4.JAM", "PC-JACK.JAM",
    "PC-JACK1.JAM", "PC-WHEEL.JAM", "PC-WHL1.JAM",  "PITPROP2.JAM"};

// "GP3JAMS\MAIN\FLAGS<n>.JAM", n = 1..8.
std::string FlagFramePath(int frame);
std::string PitCrewTexturePath(int texture);

// Loads every still-empty slot (`reload`: every slot) from its game path.
void LoadPreviewJams(TransferContext& context, JamSlots& textures, std::string (*pathOf)(int), bool reload);

} // namespace pitwall
