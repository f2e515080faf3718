#pragma once
// TJAMFile: one JAM texture file of the game in memory. A JAM is one page 256
// pixels wide and some rows high on which several images are packed. Two
// kinds exist, told apart by the file's first 32-bit word:
//
// - 8-bit (GP3JAMS, software rendering): one byte per pixel; each image has
//   four colour tables mapping its stored bytes to game-palette indices (the
//   program decodes with table 0 and writes the same content into all four);
//   the whole file is scrambled on disk (JamScramble.h).
// - 16-bit (GP3JAMSH, hardware rendering): first word 9999999, RGB565 pixels
//   run-length coded, not scrambled (Jam16Codec.h). Only the page is
//   interpreted; the header is kept and written back.
//
// In memory both kinds are a 256 x page-height picture of 32-bit pixels, so
// display, BMP export and import and the copy between kinds work on colours.
//
// 8-bit file layout (unscrambled): image count n (u16), page height h (u16),
// n entries of 32 bytes (JamEntry.h), the table blocks from E = 4 + 32n (image
// i's four tables of s_i bytes at E + table offset + k * s_i), then the page,
// 256 x h bytes from P = E + last table offset + 4 * last s.
//
// A file that does not hold what it claims (images off the page, tables or
// pixels past the end, a header search running off the end) is refused with a
// message and the object keeps what it held.

#include "formats/Image.h"
#include "formats/JamEntry.h"
#include "formats/JamError.h"
#include "formats/MemFile.h"
#include "formats/Palette.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace pitwall {

// An image's four colour tables: byte j of a table is the game-palette index
// of stored value j. Loaded tables hold the file's s bytes and zeros after;
// an image without tables (s = 0) has identity tables.
using JamTables = std::array<std::array<std::uint8_t, 256>, 4>;

// The 16 ramp bases of a recolouring: ramp r (palette entries 16r..16r+15)
// is drawn with the entries from bases[r] on.
using RampBases = std::array<std::uint8_t, 16>;

// Holds a reference to the game palette it decodes and encodes with; the
// palette must outlive the object.
class TJAMFile {
public:
    // Empty: an 8-bit JAM with no images and a page of no rows.
    explicit TJAMFile(const Palette& palette);
    // Loaded from the file as by LoadFromFile(fileName, false), throwing as it
    // does.
    TJAMFile(const Palette& palette, const std::string& fileName);

    // Reads the file (in 2048-byte blocks, unscrambling an 8-bit file unless
    // raw says it is stored unscrambled). Throws FormatError naming the UI
    // text: 349 for a missing file, and as JamError 322 for a 16-bit header
    // record of unknown layout, kJamDamagedText (file name, reason) for any
    // other damage; the object is then unchanged. A file that exists but
    // cannot be read throws std::runtime_error.
    void LoadFromFile(const std::string& fileName, bool raw);
    // The same from the file's bytes; throws JamError instead of showing a
    // message, leaving the object unchanged.
    void Decode(std::span<const std::uint8_t> fileBytes, bool raw);

    // 8-bit: the scrambled file; 16-bit: the 16-bit file. The file's whole
    // content is replaced.
    void SaveToFile(const std::string& fileName) const;
    // 8-bit only: the file without scrambling (the form carsets store); a
    // 16-bit JAM writes nothing.
    void SaveUnscrambled(const std::string& fileName) const;
    // The file as SaveToFile (scrambled = true) or SaveUnscrambled writes it,
    // assembled in memory. For a 16-bit JAM `scrambled` makes no difference.
    TMemFile Assemble(bool scrambled) const;

    // 8-bit: an 8-bit BMP with the game palette; 16-bit: a 32-bit BMP.
    void SaveAsBMP(const std::string& fileName) const;
    // This page on top of the second JAM's page, as one BMP (8-bit when this
    // JAM is 8-bit, else 32-bit).
    void SavePairAsBMP(const std::string& fileName, const TJAMFile& second) const;
    // Replaces the page from a BMP of 256 x page height: 8 bits per pixel for
    // an 8-bit JAM (else UI text 217), 16, 24 or 32 for a 16-bit JAM (else
    // 218), other sizes UI text 219 with the page height. An 8-bit JAM takes
    // colours not in the game palette as palette entry 0 and rebuilds every
    // image's tables. Those UI texts (and kPictureUnreadableText for a file
    // that cannot be read) throw FormatError, with the page unchanged.
    void LoadFromBMP(const std::string& fileName);
    // Replaces the page from a picture of the page's size as LoadFromBMP does
    // once the picture passed its checks. False (page unchanged) for a
    // picture of another size.
    bool ReplacePage(const Image& picture);
    // Splits one BMP of 256 x (h1 + h2) into this page (top) and the second
    // JAM's page; the depth test follows this JAM's kind.
    void LoadPairFromBMP(const std::string& fileName, TJAMFile& second);

    std::uint16_t ImageTop(int image) const;
    // (x, y, x + w, y + height).
    Rect ImageRect(int image) const;
    // The first image with left < x < left + w and top < y < top + height
    // (strict on all sides, so a point on an image's left or top edge is in
    // none); 0 when no image holds the point.
    int ImageAt(int x, int y) const;
    // 8-bit: the image's tables become the ascending list of the palette
    // indices its pixels use (exact lookup), in all four tables, and every
    // image's table offset is laid out again. Images without tables keep
    // their identity tables.
    void RebuildTables(int image);
    // 8-bit: page pixels outside every image rectangle become black. The
    // file keeps nothing there, so a saved JAM loads them back black; after a
    // whole picture went into the page this makes the page show what is saved.
    void BlankOutsideImages();
    // 8-bit: the byte the file stores for page pixel (x, y), that is the
    // position of its colour in table 0 of the last image covering it (later
    // images are written over earlier ones); for an image without tables the
    // palette index. Nothing for a pixel outside every image or the page.
    std::optional<int> StoredValueAt(int x, int y) const;
    // Sum of 4 x table size over all earlier images, modulo 65536.
    std::uint16_t TableOffset(int image) const;
    // Draws the page into `target` (at least page-sized; anything beyond its
    // size is left out) through a ramp remapping: each pixel's position p in
    // image 0's table 0 is drawn as palette entry bases[p / 16] + p % 16;
    // positions 0 and 255 keep the background.
    void DrawRecoloured(Image& target, const RampBases& bases, Pixel background) const;

    int imageCount() const { return content_.imageCount; }
    int pageHeight() const { return content_.pageHeight; }
    bool is8Bit() const { return content_.is8Bit; }
    const std::vector<JamEntry>& entries() const { return content_.entries; }
    const JamTables& tables(int image) const { return content_.tables[static_cast<std::size_t>(image)]; }
    // 16-bit: the header written back before the pixels.
    const std::vector<std::uint8_t>& header() const { return content_.header; }
    // The page, 256 x page height. Editors draw on it; its size must stay.
    const Image& page() const { return content_.page; }
    Image& page() { return content_.page; }
    const Palette& palette() const { return *palette_; }

private:
    struct Content {
        std::uint16_t imageCount = 0;
        std::uint16_t pageHeight = 0;
        bool is8Bit = true;
        std::vector<JamEntry> entries;
        std::vector<JamTables> tables;
        Image page;
        std::vector<std::uint8_t> header;
    };

    Content DecodeContent(std::span<const std::uint8_t> plain) const;
    Content Decode8(std::span<const std::uint8_t> plain) const;
    Content Decode16(std::span<const std::uint8_t> file) const;
    std::vector<std::uint8_t> EncodePage8() const;
    // Puts a picture's pixels into the page; an 8-bit JAM maps colours not in
    // the palette to entry 0 and rebuilds its tables.
    void TakePicture(const Image& picture, int firstRow);
    void RequirePageSize() const;

    const Palette* palette_;
    Content content_;
};

} // namespace pitwall
