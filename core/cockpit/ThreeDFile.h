#pragma once
// A language's LCD display file, LDATA\<language>.3D: a text file of screen
// blocks. A block starts with an identifier line (a screen name and ":") and
// holds element lines "DB field,field,...", one element each; ";" starts a
// comment outside double quotes.
//
// Reading goes into a copy of the language's table and the copy is taken
// only when the whole file was read: a line the game could not mean (a
// number that is not a decimal from 0 to 255, too few fields for its kind)
// is refused naming the file, the line number and the line, and the table
// keeps what it held.

#include "cockpit/LcdDisplay.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace pitwall {

class ThreeDError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The text a placeholder element carries, by placeholder index (UI texts
// 520.., Windows-1252).
using PlaceholderCaptions = std::array<std::string, kLcdPlaceholderCount>;
PlaceholderCaptions DefaultPlaceholderCaptions();

// Largest .3D file read; the game's are a few tens of kilobytes.
inline constexpr std::size_t kThreeDMaxBytes = 4 * 1024 * 1024;

// Whether a text or message element's text can be written between double
// quotes and read back the same: no zero byte, no line break, and quotes
// only doubled ("").
bool IsWritableLcdText(std::string_view text);
// The first element of `display` that no .3D file can hold, described for
// a message ("screen <name>, element <n> ..."), if any: a text or message
// whose text cannot be written, or a message outside the MESS_ screens (its
// line would not read as one there). A carset's record may hold any bytes,
// and a .3D file written with them would break.
std::optional<std::string> FirstUnwritableLcdElement(const LcdDisplay& display);
// A stored text as the user reads and types it: each doubled quote is one
// quote; and back, each quote doubled.
std::string ShownLcdText(std::string_view stored);
std::string StoredLcdText(std::string_view shown);

// The file's blocks read over `previous`: a screen that has a block gets its
// 21 elements as type 3 with cleared text first (other bytes keep their
// values), then one element per element line (at most 21). Throws
// ThreeDError naming `fileLabel` on a refused line, and on a file without a
// single screen block.
LcdDisplay ParseThreeD(std::span<const std::uint8_t> file, const LcdDisplay& previous,
                       const PlaceholderCaptions& captions, const std::string& fileLabel);

// Sorts every screen's elements by descending type in place (the game's
// exchange sort, which also decides the order of equal types) and returns
// the file, CR LF line ends.
std::vector<std::uint8_t> WriteThreeD(LcdDisplay& display);
void SortScreenByType(LcdScreen& screen);

} // namespace pitwall
