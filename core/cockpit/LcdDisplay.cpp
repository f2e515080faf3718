#include "cockpit/LcdDisplay.h"

#include <algorithm>
#include <stdexcept>

namespace pitwall {

std::string LcdElement::text() const
{
    std::string out;
    for (std::size_t i = 0; i < kLcdTextWidth && bytes[kText + i] != 0; ++i)
        out.push_back(static_cast<char>(bytes[kText + i]));
    return out;
}

void LcdElement::setText(std::string_view text)
{
    for (std::size_t i = 0; i < kLcdTextWidth; ++i)
        bytes[kText + i] = i < text.size() ? static_cast<std::uint8_t>(text[i]) : 0;
}

std::vector<std::uint8_t> LcdDisplayImage(const LcdDisplay& display)
{
    std::vector<std::uint8_t> out;
    out.reserve(kLcdDisplaySize);
    for (const LcdScreen& screen : display.screens)
        for (const LcdElement& element : screen)
            out.insert(out.end(), element.bytes.begin(), element.bytes.end());
    return out;
}

LcdDisplay LcdDisplayFromImage(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() < kLcdDisplaySize)
        throw std::invalid_argument("an LCD display needs " + std::to_string(kLcdDisplaySize) + " bytes");
    LcdDisplay display;
    std::size_t at = 0;
    for (LcdScreen& screen : display.screens)
        for (LcdElement& element : screen) {
            std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(at), kLcdElementSize, element.bytes.begin());
            at += kLcdElementSize;
        }
    return display;
}

} // namespace pitwall
