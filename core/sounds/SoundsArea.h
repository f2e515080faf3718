#pragma once
// The game's sounds (item 116) as a data area of the transfers: the bank
// SAMPLES\GP3SOUND.DAT split into one working WAV file per sound on import
// and joined back on export; in a carset the table (Sounds.DAT) and the
// working file of every marked sound.

#include "formats/SoundBankFiles.h"
#include "transfer/DataArea.h"

namespace pitwall {

inline constexpr int kSoundsItem = 116;
inline constexpr const char* kSoundsMember = "Sounds.DAT";

class SoundsArea : public DataArea {
public:
    explicit SoundsArea(SoundTable& table) : table_(table) {}

    std::vector<int> items() const override { return {kSoundsItem}; }
    void importFromGame(TransferContext& context) override;
    bool importsBesideOthers() const override { return true; }
    bool loadsBesideOthers() const override { return true; }
    void exportToGame(TransferContext& context) override;
    void loadFromCarset(TransferContext& context) override;
    void saveToCarset(TransferContext& context) override;

private:
    SoundTable& table_;
};

} // namespace pitwall
