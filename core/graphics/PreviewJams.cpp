#include "graphics/PreviewJams.h"

#include "app/ProgramState.h"
#include "formats/GameInstallation.h"
#include "transfer/ReportedFormats.h"

namespace pitwall {

std::string FlagFramePath(int frame) { return "GP3JAMS\\MAIN\\FLAGS" + std::to_string(frame + 1) + ".JAM"; }

std::string PitCrewTexturePath(int texture)
{
    return std::string("GP3JAMS\\MAIN\\") + kPitCrewTextureNames.at(static_cast<std::size_t>(texture));
}

void LoadPreviewJams(TransferContext& context, JamSlots& textures, std::string (*pathOf)(int), bool reload)
{
    for (std::size_t i = 0; i < textures.size(); ++i) {
        if (textures[i] && !reload)
            continue;
        const std::string path = GameFilePath(context.program.settings.gameDirectory, pathOf(static_cast<int>(i)));
        TJAMFile jam(context.program.palette);
        if (LoadJam(jam, path, false, &context.messenger))
            textures[i] = std::move(jam);
    }
}

} // namespace pitwall
