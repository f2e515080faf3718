#pragma once
// The game's texts as the working set holds them: one list of strings per
// game language (LDATA\<language>.str), Windows-1252 bytes as the game
// stores them. A language's list is valid while its selection item
// (168 + language) is marked loaded. The track names of every language live
// in these lists too (the track area reads and writes them there).

#include "formats/GameLanguages.h"

#include <array>
#include <string>
#include <vector>

namespace pitwall {

inline constexpr int kFirstLanguageItem = 168;
constexpr int LanguageItem(int language) { return kFirstLanguageItem + language; }

struct GameTexts {
    std::array<std::vector<std::string>, kLanguageCount> languages;
    bool operator==(const GameTexts&) const = default;
};

} // namespace pitwall
