#pragma once
// One setting area as a data area of the transfers: one record, one
// selection item, one carset member, read from and written to the game files
// by SettingsGameFiles. The six areas differ only in these; the operations
// are instantiated once, in SettingsArea.cpp, for the six records.

#include "settings/GameSettings.h"
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

    void importFromGame(TransferContext& context) override;
    void exportToGame(TransferContext& context) override;
    void loadFromCarset(TransferContext& context) override;
    void saveToCarset(TransferContext& context) override;

private:
    // Whether the item is selected; when it is, its progress line is shown.
    bool begin(TransferContext& context) const;

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
