#include "DemoInstallation.h"

#include "DemoContext.h"

#include "base/FileUtils.h"
#include "formats/GameInstallation.h"
#include "transfer/SavegameChecksum.h"

#include <stdexcept>

namespace pitwall::demo {

namespace {

using AreaWriter = void (*)(DemoContext&);

// Every area of the installation, in the order they are written. A new area
// of the game adds its writer here.
constexpr AreaWriter kAreaWriters[] = {
    WriteDirectoryTree, WriteTeamsAndDrivers, WriteMiscSettings, WriteArtBank, WriteSoundBank, WriteGameTexts,
    WriteSeasonReport,  WriteTrackFiles,      WriteTrackData,    WriteJams,    WriteCockpit,   WriteGraphicsTables,
};

// Code-like filler for the parts of GP3.EXE the program never reads: a DOS
// header and then bytes from the seed, so nothing accidentally matches a
// value an area looks for.
std::vector<std::uint8_t> FillerImage(std::size_t size, DemoRandom& random)
{
    std::vector<std::uint8_t> image(size);
    for (std::size_t i = 0; i < size; i += 8) {
        std::uint64_t v = random.next();
        for (std::size_t k = 0; k < 8 && i + k < size; ++k)
            image[i + k] = static_cast<std::uint8_t>(v >> (8 * k));
    }
    return image;
}

} // namespace

int SavegameFormatOfVersion(int gameVersion) { return gameVersion == 1 ? 1 : 2; }

void WriteDemoInstallation(const std::string& directory, const DemoOptions& options)
{
    if (options.gameVersion < 1 || options.gameVersion > 3)
        throw std::invalid_argument("game version must be 1, 2 or 3");
    DemoContext context;
    context.directory = IncludeTrailingBackslash(directory);
    context.gameVersion = options.gameVersion;
    context.savegameFormat = SavegameFormatOfVersion(options.gameVersion);
    context.random = DemoRandom(options.seed);
    context.seed = options.seed;
    if (!ForceDirectories(context.directory))
        throw std::runtime_error("Cannot create directory " + directory);

    context.exe = FillerImage(kGameExeSizes[static_cast<std::size_t>(options.gameVersion)], context.random);
    context.exe[0] = 'M';
    context.exe[1] = 'Z';
    context.savegame = FillerImage(kSavegameSizes[static_cast<std::size_t>(context.savegameFormat)], context.random);

    for (AreaWriter write : kAreaWriters)
        write(context);

    WriteSavegameChecksum(context.savegame);
    context.writeFile(kGameExeName, context.exe);
    context.writeFile(kSavegameName, context.savegame);
}

} // namespace pitwall::demo
