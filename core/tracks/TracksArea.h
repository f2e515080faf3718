#pragma once
// The sixteen track slots as a data area of the transfers: per slot the
// track file (item 85 + slot, member Track<i>.DAT), the track sections and
// pictures (item 121 + slot, TrackSecInfo<i>.DAT and TrackReplace<i><j><k>
// .BMP) and the track information (item 138 + slot, TrackInfo<i>.DAT), and
// the JAM textures the track files need (item 167, TrackJAMInfo.DAT and
// the JAMs themselves).

#include "texts/GameTexts.h"
#include "tracks/TrackTable.h"
#include "transfer/DataArea.h"

#include <functional>

namespace pitwall {

constexpr int TrackFileItem(int slot) { return 85 + slot; }
constexpr int TrackSectionsItem(int slot) { return 121 + slot; }
constexpr int TrackInfoItem(int slot) { return 138 + slot; }
inline constexpr int kTrackJamsItem = 167;
// Every item of the area, in item order.
std::vector<int> TrackItems();

std::string TrackFileMember(int slot);
std::string TrackInfoMember(int slot);
std::string TrackSecInfoMember(int slot);

// A track file from a carset larger than this is no track of the game.
inline constexpr std::uint64_t kMaxTrackFileBytes = 8'000'000;

class TracksArea : public DataArea {
public:
    // Imports the game's texts of every language of the installed version
    // (the texts area's import), for a track import that needs names of a
    // language not loaded yet.
    using ImportLanguages = std::function<void(TransferContext&)>;

    TracksArea(TrackTable& table, GameTexts& texts, ImportLanguages importLanguages = {})
        : table_(table), texts_(texts), importLanguages_(std::move(importLanguages))
    {}
    void setImportLanguages(ImportLanguages importLanguages) { importLanguages_ = std::move(importLanguages); }

    std::vector<int> items() const override { return TrackItems(); }
    void importFromGame(TransferContext& context) override;
    void exportToGame(TransferContext& context) override;
    void loadFromCarset(TransferContext& context) override;
    void saveToCarset(TransferContext& context) override;
    // Asks, before anything is written, whether track files may be replaced.
    bool checkBeforeExport(TransferContext& context) override;

    // After languages were imported or loaded: their track texts go into
    // the records of the slots whose information is loaded.
    void takeTrackTexts(const TransferState& transfer);

private:
    // False when the user declined replacing the track files.
    bool exportTrackFiles(TransferContext& context);
    void exportSections(TransferContext& context);
    void exportJams(TransferContext& context);
    void saveTrackJams(TransferContext& context, const std::vector<int>& slots);

    TrackTable& table_;
    GameTexts& texts_;
    ImportLanguages importLanguages_;
    // The answer to the question before track files are replaced.
    bool replaceTrackFiles_ = false;
};

} // namespace pitwall
