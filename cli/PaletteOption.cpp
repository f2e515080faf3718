#include "PaletteOption.h"

#include "app/GamePalette.h"
#include "app/ProgramDirectories.h"
#include "base/FileUtils.h"
#include "formats/PaletteFiles.h"

#include <exception>

namespace pitwall::cli {

CommandPalette LoadCommandPalette(const CliContext& context, std::string* problem)
{
    CommandPalette result;
    std::string chosen = context.paletteFile;
    if (chosen.empty()) {
        Settings settings;
        settings.paletteFile = ReadPaletteSetting(context.desktopSettingsFile());
        chosen = ChosenPaletteFile(settings);
    }
    if (!chosen.empty()) {
        try {
            result.palette = ReadPaletteFile(chosen);
        } catch (const std::exception& e) {
            const std::string what = e.what();
            throw CommandFailure("cannot read the game palette: "
                                 + (what.find(chosen) == std::string::npos ? chosen + ": " + what : what));
        }
        result.file = chosen;
        result.userChosen = true;
    } else {
        result.file = context.programDirectory + kPaletteFileName;
        try {
            result.palette = LoadPaletteFile(result.file);
        } catch (const std::exception& e) {
            if (problem)
                *problem = e.what();
        }
    }
    result.standIn = result.palette && IsStandInPalette(*result.palette);
    return result;
}

} // namespace pitwall::cli
