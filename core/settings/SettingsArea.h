#pragma once
// One setting area as a data area of the transfers: one record, one
// selection item, one carset member, read from and written to the game files
// by SettingsGameFiles. The six areas differ only in these.

#include "settings/GameSettings.h"
#include "settings/SettingsGameFiles.h"
#include "transfer/DataArea.h"

namespace pitwall {

struct SettingsAreaInfo {
    int item;
    const char* member;
    int progressText;
    std::size_t recordSize;
};

inline constexpr SettingsAreaInfo kPointsArea = {kPointsItem, "Points.DAT", 222, kPointsRecordSize};
inline constexpr SettingsAreaInfo kAidsArea = {kAidsItem, "Aids.DAT", 223, kAidsRecordSize};
inline constexpr SettingsAreaInfo kMiscArea = {kMiscItem, "Misc.DAT", 224, kMiscRecordSize};
inline constexpr SettingsAreaInfo kDamageArea = {kDamageItem, "Damage.DAT", 225, kDamageRecordSize};
inline constexpr SettingsAreaInfo kDisplayArea = {kDisplayItem, "Display.DAT", 337, kDisplayRecordSize};
inline constexpr SettingsAreaInfo kCamerasArea = {kCamerasItem, "Cameras.DAT", 397, kCamerasRecordSize};

template <typename Record>
class SettingsArea : public DataArea {
public:
    SettingsArea(Record& record, const SettingsAreaInfo& info) : record_(record), info_(info) {}

    std::vector<int> items() const override { return {info_.item}; }

    void importFromGame(TransferContext& context) override
    {
        if (!begin(context))
            return;
        Record read = record_;
        ReadFromGame(read, files(context));
        record_ = read;
        context.markLoaded(info_.item);
    }

    void exportToGame(TransferContext& context) override
    {
        if (!begin(context))
            return;
        WriteToGame(record_, files(context));
    }

    void loadFromCarset(TransferContext& context) override
    {
        if (!begin(context))
            return;
        auto bytes = context.loadRecord(info_.member, info_.recordSize);
        if (!bytes)
            return;
        RecordFromImage(*bytes, record_);
        context.markLoaded(info_.item);
    }

    void saveToCarset(TransferContext& context) override
    {
        if (!begin(context))
            return;
        context.saveMember(info_.member, RecordImage(record_));
    }

private:
    bool begin(TransferContext& context) const
    {
        if (!context.selected(info_.item))
            return false;
        context.progress(info_.progressText, info_.item);
        return true;
    }
    static SettingsFiles files(TransferContext& context);

    Record& record_;
    SettingsAreaInfo info_;
};

// The six areas over the working set's settings.
struct SettingsAreas {
    explicit SettingsAreas(GameSettings& settings);
    SettingsArea<PointsTable> points;
    SettingsArea<AidMasks> aids;
    SettingsArea<MiscSettings> misc;
    SettingsArea<DamageSettings> damage;
    SettingsArea<VisibleCarDistances> display;
    SettingsArea<OnboardCameras> cameras;
};

} // namespace pitwall
