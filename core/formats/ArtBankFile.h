#pragma once
// Reading and writing the pictures of single art-bank entries in the bank
// file (or, for a picture kept apart, in a file of its own).

#include "formats/ArtBankDirectory.h"
#include "formats/ArtPicture.h"
#include "formats/FileRange.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace pitwall {

// An entry claiming more than this many bytes is not read.
inline constexpr std::uint32_t kMaxArtEntryRead = 1'000'000;
// The largest bank read whole: the directory and 840 entries of the largest
// size the program reads. The program's own expansion of every entry stays
// far below it (about 100 MB when the pictures the exports write are
// expanded); a larger file is no art bank and is not read.
inline constexpr std::uint64_t kMaxArtBankBytes = kArtDirectoryEnd + std::uint64_t{kArtEntryCount} * kMaxArtEntryRead;
// UI texts of the art bank the program adds: a damaged bank (placeholder: file
// name) and an entry whose size no picture of the game has (placeholders:
// entry, width, height).
inline constexpr int kArtBankDamagedText = 1146;
inline constexpr int kArtEntrySizeText = 1147;
// An entry whose picture data lies (partly) past the end of the file.
inline constexpr int kArtEntryPastEndText = 919;
// A picture whose encoded form does not fit an entry that is already
// expanded (placeholders: bytes needed, bytes the entry holds).
inline constexpr int kArtPictureTooScatteredText = 920;

// Decodes entry `index` of the bank, taking the entry's directory fields from
// the file itself. A missing file is UI text 349, a reserved size over
// 1,000,000 bytes UI text 569, an impossible picture size UI text 1147; each
// throws FormatError and reads nothing. False for an index past the
// directory. A file cut short gives what it holds.
bool ReadArtImage(std::string_view bankFile, std::size_t index, ArtPicture& picture);
// The bank opened and its directory read once, for reading many entries in
// a row; a missing file throws FormatError (UI text 349), one that cannot be
// opened std::runtime_error.
class ArtBankReader {
public:
    explicit ArtBankReader(std::string_view bankFile);
    // ReadArtImage of entry `index`.
    bool read(std::size_t index, ArtPicture& picture);

private:
    std::string file_;
    FileRangeReader bank_;
    ArtDirectory directory_;
    std::vector<std::uint8_t> bytes_;
};
// ReadArtImage from a whole bank held in memory (named `bankName` in messages).
bool ReadArtImage(std::span<const std::uint8_t> bank, std::string_view bankName, std::size_t index,
                  ArtPicture& picture);

// Encodes `picture` (the entry's size) into the entry's reserved bytes in
// place; bytes of the reserved space after the written data keep their old
// contents. When the picture needs more room than the entry holds (width x
// height x 2, or a stream that came out longer) FormatError with UI text 689
// and nothing is written. The file is patched safely (replaced whole).
void WriteArtImage(std::string_view bankFile, const ArtEntry& entry, std::size_t index, const ArtPicture& picture);
// WriteArtImage into a whole bank held in memory.
void WriteArtImage(std::vector<std::uint8_t>& bank, const ArtEntry& entry, std::size_t index,
                   const ArtPicture& picture);
// Puts encoded entry bytes at `offset` of a bank held in memory; throws
// std::runtime_error (and changes nothing) when they would reach past its end.
void PatchArtBank(std::vector<std::uint8_t>& bank, std::uint64_t offset, std::span<const std::uint8_t> bytes);
// The bytes WriteArtImage would write; FormatError (UI text 737 for another
// size, 689 or 920 when it does not fit) when the picture cannot go into the
// entry.
std::vector<std::uint8_t> EncodeForEntry(const ArtEntry& entry, std::size_t index, const ArtPicture& picture);
// The same encoding as the whole content of a new file.
void WriteArtImageFile(std::string_view file, const ArtEntry& entry, std::size_t index, const ArtPicture& picture);

} // namespace pitwall
