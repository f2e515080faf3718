#pragma once
// Game palettes from the files palettes come in, told apart by their
// content, whatever the extension: the program's own JASC-PAL text (as
// `GP3 Palette.pal`), Microsoft's RIFF PAL, Adobe's colour table (ACT: 768
// bytes of red, green, blue, or 772 with a count), GIMP's GPL text, and the
// colour table of an 8-bit BMP or palette PNG. A game palette has 256
// colours: a file with fewer is refused, colours beyond the 256th are
// ignored.

#include "formats/Palette.h"

#include <cstdint>
#include <span>
#include <string>

namespace pitwall {

// Throws FormatError saying which kind the bytes were taken for and what is
// wrong, or that they are no palette at all.
Palette DecodePaletteFile(std::span<const std::uint8_t> bytes);
// The file read and decoded; the messages name the file. A file that cannot
// be read throws std::runtime_error.
Palette ReadPaletteFile(const std::string& fileName);

// Whether the palette is the stand-in shipped with the program: ramps of
// grey and colours in place of the game's own colours, which cannot be
// shipped. Pictures shown, exported or reduced with it have wrong colours.
bool IsStandInPalette(const Palette& palette);

} // namespace pitwall
