#include "cockpit/LcdFont.h"

#include "formats/Bmp.h"

#include <stdexcept>

namespace pitwall {

LcdFont LcdFont::Load(const std::string& fileName)
{
    try {
        return LcdFont(LoadBmpFile(fileName));
    } catch (const std::exception& e) {
        throw std::runtime_error("The LCD font " + fileName + " could not be read: " + e.what());
    }
}

std::optional<Rect> LcdFont::glyph(unsigned char code) const
{
    if (code < kLcdFirstCharacter)
        return std::nullopt;
    const int g = code - kLcdFirstCharacter;
    const int x = (g % kLcdGlyphsPerRow) * kLcdCellWidth;
    const int y = (g / kLcdGlyphsPerRow) * kLcdCellHeight;
    if (x + kLcdGlyphWidth > picture_.width() || y + kLcdGlyphHeight > picture_.height())
        return std::nullopt;
    return Rect{x, y, x + kLcdGlyphWidth, y + kLcdGlyphHeight};
}

} // namespace pitwall
