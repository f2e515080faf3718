#include "settings/SettingsArea.h"

#include "app/ProgramState.h"
#include "settings/SettingsGameFiles.h"
#include "transfer/GameFile.h"

namespace pitwall {

namespace {

SettingsFiles FilesOf(TransferContext& context)
{
    if (!context.exe || !context.savegame)
        throw GameFileError("The game files are not open");
    return {*context.exe, *context.savegame, context.program.gameVersion, context.program.savegameFormat};
}

} // namespace

template <typename Record>
bool SettingsArea<Record>::begin(TransferContext& context) const
{
    if (!context.selected(info_.item))
        return false;
    context.progress(info_.progressText, info_.item);
    return true;
}

template <typename Record>
void SettingsArea<Record>::importFromGame(TransferContext& context)
{
    if (!begin(context))
        return;
    // Read into a copy: a short game file leaves the record as it was.
    Record read = record_;
    ReadFromGame(read, FilesOf(context));
    record_ = read;
    context.markLoaded(info_.item);
}

template <typename Record>
void SettingsArea<Record>::exportToGame(TransferContext& context)
{
    if (!begin(context))
        return;
    WriteToGame(record_, FilesOf(context));
}

template <typename Record>
void SettingsArea<Record>::loadFromCarset(TransferContext& context)
{
    if (!begin(context))
        return;
    // Only a member the archive holds, and only the record's size of it.
    auto bytes = context.loadRecord(info_.member, info_.recordSize);
    if (!bytes)
        return;
    RecordFromImage(*bytes, record_);
    context.markLoaded(info_.item);
}

template <typename Record>
void SettingsArea<Record>::saveToCarset(TransferContext& context)
{
    if (!begin(context))
        return;
    context.saveMember(info_.member, RecordImage(record_));
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
{}

} // namespace pitwall
