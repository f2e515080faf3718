#pragma once
// The cockpit part of the working set: the cockpit graphics of both sets,
// the cockpit objects, the LCD text positions and the LCD displays of the
// eight game languages. Each is valid while its selection item is loaded.

#include "cockpit/CockpitGraphics.h"
#include "cockpit/CockpitPositions.h"
#include "cockpit/LcdDisplay.h"
#include "formats/GameLanguages.h"

#include <array>

namespace pitwall {

inline constexpr int kCockpitSoftwareItem = 7;
inline constexpr int kCockpitHardwareItem = 8;
inline constexpr int kCockpitObjectsItem = 78;
inline constexpr int kLcdTextsItem = 118;
inline constexpr int kFirstLcdDisplayItem = 191;
constexpr int CockpitGraphicsItem(int set) { return set == 0 ? kCockpitSoftwareItem : kCockpitHardwareItem; }
constexpr int LcdDisplayItem(int language) { return kFirstLcdDisplayItem + language; }

inline constexpr const char* kCockpitObjectsMember = "Cockpit.DAT";
inline constexpr const char* kLcdTextsMember = "LCDTexts.DAT";
std::string LcdDisplayMember(int language);
// "LDATA\" + the language's name + ".3D", in UTF-8 so it names the file.
std::string ThreeDGamePath(int language);

struct CockpitData {
    std::array<CockpitGraphicsSet, 2> graphics;
    CockpitObjects objects{};
    LcdTextPositions lcdTexts;
    std::array<LcdDisplay, kLanguageCount> displays{};
};

} // namespace pitwall
