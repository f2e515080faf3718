#pragma once
// The game's fixed names for the cockpit LCD: the 63 screens of a language's
// .3D file in table order, the highlight and placeholder tables, and the
// sample value the editor draws for each placeholder.

#include <array>
#include <string_view>

namespace pitwall {

inline constexpr int kLcdScreenCount = 63;
inline constexpr int kLcdHighlightCount = 7;
inline constexpr int kLcdPlaceholderCount = 10;

extern const std::array<std::string_view, kLcdScreenCount> kLcdScreenNames;
extern const std::array<std::string_view, kLcdHighlightCount> kLcdHighlightNames;
extern const std::array<std::string_view, kLcdPlaceholderCount> kLcdPlaceholderNames;
extern const std::array<std::string_view, kLcdPlaceholderCount> kLcdPlaceholderSamples;

// The UI text of placeholder 0; placeholder i is this + i. A placeholder
// element carries it as its text.
inline constexpr int kPlaceholderCaptionText = 520;

// Index of the screen of that name (any letter case), -1 when there is none.
int LcdScreenIndex(std::string_view name);
// Index of the name in the highlight or placeholder table (any letter case);
// 0 when it is not there, as the game's reader counts it.
int LcdHighlightIndex(std::string_view name);
int LcdPlaceholderIndex(std::string_view name);

} // namespace pitwall
