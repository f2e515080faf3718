#pragma once
// The LCD font, Font.BMP beside the program: glyphs of 6 x 10 pixels in
// cells of 7 x 11, 32 to a row, for the characters from 32 upward (glyph
// g = code - 32 at x = (g mod 32) * 7, y = (g div 32) * 11).

#include "formats/Image.h"

#include <optional>
#include <string>

namespace pitwall {

inline constexpr int kLcdGlyphWidth = 6;
inline constexpr int kLcdGlyphHeight = 10;
inline constexpr int kLcdCellWidth = 7;
inline constexpr int kLcdCellHeight = 11;
inline constexpr int kLcdGlyphsPerRow = 32;
inline constexpr int kLcdFirstCharacter = 32;

class LcdFont {
public:
    LcdFont() = default;
    explicit LcdFont(Image picture) : picture_(std::move(picture)) {}
    // Reads Font.BMP; throws std::runtime_error naming the file when it is
    // missing or not a picture.
    static LcdFont Load(const std::string& fileName);

    const Image& picture() const { return picture_; }
    // Where the glyph of a Windows-1252 character sits in the picture; none
    // for a control character or one beyond the picture.
    std::optional<Rect> glyph(unsigned char code) const;

private:
    Image picture_;
};

} // namespace pitwall
