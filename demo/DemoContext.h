#pragma once
// What the area writers of the generator share while an installation is
// being made: the images of GP3.EXE and F1GSTATE.SAV (written to disk at the
// end, the savegame with its checksum) and the installation directory for
// areas that write files of their own.

#include "DemoRandom.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pitwall::demo {

struct DemoContext {
    std::string directory; // with trailing separator
    int gameVersion = 2;
    int savegameFormat = 2;
    DemoRandom random{1};
    // The seed itself, for areas whose contents are drawn from it directly
    // so that the tests can draw them again.
    std::uint64_t seed = 1;
    std::vector<std::uint8_t> exe;
    std::vector<std::uint8_t> savegame;

    // Index into a per-version table: 0 for v1.00, 1 for both v1.13 builds.
    std::size_t versionColumn() const { return gameVersion == 1 ? 0 : 1; }
    std::size_t formatColumn() const { return savegameFormat == 1 ? 0 : 1; }

    // Bounds-checked little-endian pokes into the two images.
    void putExe(std::uint32_t offset, std::uint64_t value, int width);
    void putSave(std::uint32_t offset, std::uint64_t value, int width);
    void putExeBytes(std::uint32_t offset, const std::vector<std::uint8_t>& bytes);
    void putExeDouble(std::uint32_t offset, double value);
    void putSaveText(std::uint32_t offset, std::string_view text, std::size_t width);

    // Writes a file below the installation, game path with '\' separators.
    void writeFile(std::string_view gameRelative, const std::vector<std::uint8_t>& bytes) const;
};

// One area of the installation. Each adds its own data and files; the table
// of writers in DemoInstallation.cpp runs them in order.
void WriteDirectoryTree(DemoContext& context);
void WriteTeamsAndDrivers(DemoContext& context);
void WriteMiscSettings(DemoContext& context);
void WriteArtBank(DemoContext& context);
void WriteSoundBank(DemoContext& context);
void WriteGameTexts(DemoContext& context);
void WriteSeasonReport(DemoContext& context);
void WriteTrackFiles(DemoContext& context);
void WriteTrackData(DemoContext& context);
void WriteJams(DemoContext& context);
void WriteCockpit(DemoContext& context);
void WriteGraphicsTables(DemoContext& context);

} // namespace pitwall::demo
