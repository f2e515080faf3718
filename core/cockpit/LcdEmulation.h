#pragma once
// The cockpit LCD as the game would show a screen: the LCD's part of the
// cockpit preview at double size with the screen's elements drawn over it in
// the LCD font. Shared by the cockpit editor and the command line's render.

#include "cockpit/LcdDisplay.h"
#include "cockpit/LcdFont.h"
#include "formats/Image.h"

#include <string>

namespace pitwall {

// The LCD's area in the cockpit preview (right and bottom exclusive) and
// the emulation's picture, twice its size.
inline constexpr Rect kLcdPreviewArea{183, 106, 328, 171};
inline constexpr int kLcdPictureWidth = 2 * (328 - 183);
inline constexpr int kLcdPictureHeight = 2 * (171 - 106);

// The LCD row each highlight of the highlight table is drawn on.
inline constexpr int kHighlightRows[kLcdHighlightCount] = {2, 2, 20, 20, 20, 20, 20};

struct LcdScene {
    // The chosen set's preview; null when its graphics are not loaded.
    const Image* preview = nullptr;
    // The chosen screen; null when the language's display is not loaded.
    const LcdScreen* screen = nullptr;
    // The element chosen in the editor (-1: none). A text whose byte 0 is
    // set is drawn only while it is chosen.
    int chosenElement = -1;
    // Written instead of the LCD when the screen is shown outside the
    // cockpit (UI text 909, Windows-1252).
    std::string outsideText;
};

Image RenderLcd(const LcdScene& scene, const LcdFont& font);

// Draws the characters of `text` from `column` on, each glyph stretched into
// its double-size rectangle; stops at a zero byte.
void DrawLcdText(Image& picture, const LcdFont& font, std::string_view text, int column, int fineX, int row, int fineY);

} // namespace pitwall
