// Makes the LCD font picture Font.BMP from a BDF bitmap font of 6 x 10
// pixels (resources/README.md names the font and its licence):
//   pitwall-fontbmp FONT.bdf Font.BMP
// Glyph of character c (32..255) at x = ((c - 32) mod 32) * 7,
// y = ((c - 32) div 32) * 11, light pixels on the LCD's dark ground.

#include "cockpit/LcdFont.h"
#include "formats/Bmp.h"

#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

namespace {

using namespace pitwall;

constexpr Pixel kGround = MakePixel(0x1E, 0x2A, 0x1E);
constexpr Pixel kInk = MakePixel(0x9C, 0xE6, 0x8C);
constexpr int kAscent = 8;

struct Glyph {
    int encoding = -1;
    int width = 0, height = 0, xOffset = 0, yOffset = 0;
    std::vector<unsigned long> rows;
};

void Draw(Image& picture, const Glyph& g)
{
    if (g.encoding < kLcdFirstCharacter || g.encoding > 255)
        return;
    const int index = g.encoding - kLcdFirstCharacter;
    const int cellX = (index % kLcdGlyphsPerRow) * kLcdCellWidth;
    const int cellY = (index / kLcdGlyphsPerRow) * kLcdCellHeight;
    const int top = kAscent - (g.yOffset + g.height);
    const int rowBits = ((g.width + 7) / 8) * 8;
    for (int r = 0; r < g.height && r < static_cast<int>(g.rows.size()); ++r)
        for (int c = 0; c < g.width; ++c) {
            const int x = g.xOffset + c, y = top + r;
            if (x < 0 || y < 0 || x >= kLcdGlyphWidth || y >= kLcdGlyphHeight)
                continue;
            if ((g.rows[static_cast<std::size_t>(r)] >> (rowBits - 1 - c)) & 1u)
                picture.setPixel(cellX + x, cellY + y, kInk);
        }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: pitwall-fontbmp FONT.bdf Font.BMP\n";
        return 1;
    }
    std::ifstream in(argv[1]);
    if (!in) {
        std::cerr << "cannot read " << argv[1] << "\n";
        return 1;
    }
    constexpr int kRows = (256 - kLcdFirstCharacter + kLcdGlyphsPerRow - 1) / kLcdGlyphsPerRow;
    Image picture(kLcdGlyphsPerRow * kLcdCellWidth, kRows * kLcdCellHeight, 24, kGround);
    Glyph glyph;
    bool inBitmap = false;
    int drawn = 0;
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string key;
        words >> key;
        if (key == "STARTCHAR") {
            glyph = Glyph();
        } else if (key == "ENCODING") {
            words >> glyph.encoding;
        } else if (key == "BBX") {
            words >> glyph.width >> glyph.height >> glyph.xOffset >> glyph.yOffset;
        } else if (key == "BITMAP") {
            inBitmap = true;
        } else if (key == "ENDCHAR") {
            inBitmap = false;
            Draw(picture, glyph);
            ++drawn;
        } else if (inBitmap && !key.empty()) {
            glyph.rows.push_back(std::stoul(key, nullptr, 16));
        }
    }
    try {
        SaveBmpFile(picture, argv[2]);
    } catch (const std::exception& e) {
        std::cerr << e.what() << "\n";
        return 1;
    }
    std::cout << drawn << " glyphs written to " << argv[2] << "\n";
    return 0;
}
