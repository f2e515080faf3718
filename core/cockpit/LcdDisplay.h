#pragma once
// One language's LCD displays: 63 screens of 21 elements of 60 bytes, the
// table the program parses a .3D file into and writes it back from. The
// carset member of a language is this table's bytes: screens in table
// order, elements in slot order.
//
// Element bytes: 0 first number of a text or placeholder line; 1 column
// (highlight: start column); 2 fine X (highlight: start fine); 3 row
// (highlight: end column); 4 fine Y (highlight: end fine); 5 last number of a
// placeholder line; 6 type; 7-56 text (50 bytes, zero-padded, no terminator
// when full); 57 trailing number of a text or message line; 58 highlight or
// placeholder index; 59 shown outside the cockpit.

#include "cockpit/CockpitNames.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace pitwall {

inline constexpr int kLcdElementCount = 21;
inline constexpr std::size_t kLcdElementSize = 60;
inline constexpr std::size_t kLcdTextWidth = 50;
inline constexpr std::size_t kLcdDisplaySize = kLcdScreenCount * kLcdElementCount * kLcdElementSize; // 79,380

enum class LcdType : std::uint8_t { None = 0, Highlight = 1, Placeholder = 2, Text = 3, Message = 4 };

struct LcdElement {
    static constexpr std::size_t kType = 6;
    static constexpr std::size_t kText = 7;
    static constexpr std::size_t kNumber = 57;
    static constexpr std::size_t kIndex = 58;
    static constexpr std::size_t kOutside = 59;

    std::array<std::uint8_t, kLcdElementSize> bytes{};

    std::uint8_t& operator[](std::size_t i) { return bytes[i]; }
    std::uint8_t operator[](std::size_t i) const { return bytes[i]; }
    std::uint8_t type() const { return bytes[kType]; }
    void setType(LcdType t) { bytes[kType] = static_cast<std::uint8_t>(t); }
    bool is(LcdType t) const { return bytes[kType] == static_cast<std::uint8_t>(t); }
    // The text up to its first zero byte (Windows-1252).
    std::string text() const;
    // Stored cut at 50 bytes and zero-padded.
    void setText(std::string_view text);
    bool operator==(const LcdElement&) const = default;
};

using LcdScreen = std::array<LcdElement, kLcdElementCount>;

struct LcdDisplay {
    std::array<LcdScreen, kLcdScreenCount> screens{};
    bool operator==(const LcdDisplay&) const = default;
};

std::vector<std::uint8_t> LcdDisplayImage(const LcdDisplay& display);
// From a member's bytes; at least kLcdDisplaySize of them (the caller checks).
LcdDisplay LcdDisplayFromImage(std::span<const std::uint8_t> bytes);

} // namespace pitwall
