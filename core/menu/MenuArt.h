#pragma once
// What the game's menus show besides the texts: each racing team's art sheet
// (items 104-114), the six loading pictures (item 117) and the 85 menu
// backgrounds (item 5), with the names they have in the working directory
// and in carsets, and the list of backgrounds chosen for export.

#include <optional>
#include <string>
#include <vector>

namespace pitwall {

class UITexts;

inline constexpr int kMenuBackgroundsItem = 5;
inline constexpr int kTeamArtFirstItem = 104;
inline constexpr int kLoadingPicturesItem = 117;

inline constexpr int kLoadingPictureCount = 6;
inline constexpr int kLoadingPictureWidth = 640;
inline constexpr int kLoadingPictureHeight = 480;

inline constexpr int kMenuBackgroundCount = 85;
inline constexpr int kMenuBackgroundWidth = 800;
inline constexpr int kMenuBackgroundHeight = 600;
// Background n is art-bank entry 755 + n; its name is UI text 574 + n.
inline constexpr std::size_t kMenuBackgroundFirstEntry = 755;
inline constexpr int kMenuBackgroundFirstName = 574;

constexpr int TeamArtItem(int team) { return kTeamArtFirstItem + team; }

// "LOADING" + n + ".BMP": the working copy, the carset member and (below
// BITMAPS\) the game's file.
std::string LoadingPictureName(int n);
std::string LoadingPictureGamePath(int n);
// "MenuReplace" + n + ".BMP": a background the user replaced.
std::string MenuReplacementName(int n);
// "TeamArt" + t + ".DAT": a team's sheet as a BMP in a carset.
std::string TeamArtMember(int team);

// The backgrounds chosen for export: lines of the number in two digits,
// " - " and the background's name, kept sorted.
using MenuReplacementList = std::vector<std::string>;
std::string MenuBackgroundLine(int n, const UITexts& texts);
// The number at the start of a line; nothing when it has none in 0..84.
std::optional<int> MenuBackgroundNumber(const std::string& line);
// Adds the line unless the list has one for that background; true when added.
bool AddMenuBackground(MenuReplacementList& list, const std::string& line);
// The background numbers of the list, each once, ascending.
std::vector<int> MenuBackgroundNumbers(const MenuReplacementList& list);

} // namespace pitwall
