#include "settings/SettingsArea.h"

#include "app/ProgramState.h"
#include "transfer/GameFile.h"

namespace pitwall {

template <typename Record>
SettingsFiles SettingsArea<Record>::files(TransferContext& context)
{
    if (!context.exe || !context.savegame)
        throw GameFileError("The game files are not open");
    return {*context.exe, *context.savegame, context.program.gameVersion, context.program.savegameFormat};
}

template class SettingsArea<PointsTable>;
template class SettingsArea<AidMasks>;
template class SettingsArea<MiscSettings>;
template class SettingsArea<DamageSettings>;
template class SettingsArea<VisibleCarDistances>;
template class SettingsArea<OnboardCameras>;

SettingsAreas::SettingsAreas(GameSettings& settings)
    : points(settings.points, kPointsArea),
      aids(settings.aids, kAidsArea),
      misc(settings.misc, kMiscArea),
      damage(settings.damage, kDamageArea),
      display(settings.display, kDisplayArea),
      cameras(settings.cameras, kCamerasArea)
{
}

} // namespace pitwall
