#pragma once
// What the graphics areas share in their transfers: the progress line with
// its argument, reading a game file or carset member into a JAM or picture
// with a message naming what failed, and the guard against writing an item
// the working set never held.

#include "formats/Image.h"
#include "formats/JamFile.h"
#include "transfer/AreaFiles.h"
#include "transfer/DataArea.h"

#include <exception>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace pitwall {

// The largest JAM the game's tools make fits the program's 10,000,000-byte
// memory file; anything larger is refused before it is read.
inline constexpr std::uint64_t kMaxJamFileBytes = 10'000'000;
inline constexpr std::uint64_t kMaxPictureFileBytes = 16 * 1024 * 1024;

enum class JamKind { Any, EightBit, SixteenBit };

// The loading window's line: UI text `text` formatted with `args`, with the
// item's weight; what follows belongs to `item`.
void GraphicsProgress(TransferContext& context, int text, int item, const FormatArgs& args = {});

// Decodes JAM bytes (`raw`: an 8-bit JAM stored unscrambled, as carsets hold
// it); a damaged JAM or one of the wrong kind is a failure naming `label`.
std::optional<TJAMFile> DecodeJamBytes(TransferContext& context, const std::vector<std::uint8_t>& bytes,
                                       const std::string& label, bool raw, JamKind kind);
// The same in two halves, so that JAMs can be decoded on every core and
// reported on the transfer's thread: DecodeJam touches nothing but its
// arguments and keeps what its decoding threw; TakeDecodedJam reports that,
// or a JAM of the wrong kind, as DecodeJamBytes does.
struct DecodedJam {
    std::optional<TJAMFile> jam;
    std::exception_ptr failure;
};
DecodedJam DecodeJam(const Palette& palette, std::span<const std::uint8_t> bytes, bool raw);
std::optional<TJAMFile> TakeDecodedJam(TransferContext& context, DecodedJam decoded, const std::string& label,
                                       JamKind kind);
std::optional<Image> DecodePictureBytes(TransferContext& context, const std::vector<std::uint8_t>& bytes,
                                        const std::string& label);

// Whether the palette was loaded (a palette never loaded is one colour).
bool HasGamePalette(const Palette& palette);

// The JAM as SaveToFile (scrambled) or SaveUnscrambled writes it.
std::vector<std::uint8_t> JamBytes(const TJAMFile& jam, bool scrambled);

// An item selected for saving or exporting whose data was never loaded is
// skipped with a message, so empty data never overwrites the game's.
bool RequireLoaded(TransferContext& context, int item);

} // namespace pitwall
