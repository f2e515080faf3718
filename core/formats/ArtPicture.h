#pragma once
// One picture of the art bank as the game stores its pixels: 15-bit colour
// words (bits 14-10 red, 9-5 green, 4-0 blue), top row first. The word 0x7C1F
// is the key colour (transparent), shown as red 248, green 0, blue 248.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace pitwall {

using ArtWord = std::uint16_t;

inline constexpr ArtWord kArtKeyWord = 0x7C1F;

struct ArtPicture {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::vector<ArtWord> words;

    ArtPicture() = default;
    ArtPicture(std::uint32_t w, std::uint32_t h, ArtWord fill = 0)
        : width(w), height(h), words(static_cast<std::size_t>(w) * h, fill)
    {}

    ArtWord at(std::uint32_t x, std::uint32_t y) const { return words[static_cast<std::size_t>(y) * width + x]; }
    ArtWord& at(std::uint32_t x, std::uint32_t y) { return words[static_cast<std::size_t>(y) * width + x]; }

    bool operator==(const ArtPicture&) const = default;
};

// 8-bit channels to a colour word: each channel shifted right by 3. A colour
// that is not exactly the key colour but would encode to the key word is
// written one blue step lower, so that it never turns transparent.
constexpr ArtWord ArtWordFromRgb(int red, int green, int blue)
{
    if (red == 248 && green == 0 && blue == 248)
        return kArtKeyWord;
    auto w = static_cast<ArtWord>(((red >> 3) & 0x1F) << 10 | ((green >> 3) & 0x1F) << 5 | ((blue >> 3) & 0x1F));
    return w == kArtKeyWord ? static_cast<ArtWord>(w - 1) : w;
}
// Each 5-bit channel multiplied by 8.
constexpr int ArtRed(ArtWord w) { return ((w >> 10) & 0x1F) * 8; }
constexpr int ArtGreen(ArtWord w) { return ((w >> 5) & 0x1F) * 8; }
constexpr int ArtBlue(ArtWord w) { return (w & 0x1F) * 8; }

} // namespace pitwall
