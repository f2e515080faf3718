#pragma once
// The cockpit as a data area of the transfers: cockpit graphics (items 7, 8:
// four JAMs each, in the game and in carsets), cockpit
// objects (78) and LCD texts (118) in GP3.EXE, and the LCD displays of each
// language (191..198) in LDATA\<language>.3D.

#include "cockpit/CockpitData.h"
#include "transfer/AreaFiles.h"
#include "transfer/DataArea.h"

#include <array>
#include <cstdint>
#include <vector>

namespace pitwall {

class Palette;

class CockpitArea : public DataArea {
public:
    CockpitArea(CockpitData& data, const Palette& palette) : data_(data), palette_(palette) {}

    std::vector<int> items() const override;
    void importFromGame(TransferContext& context) override;
    void exportToGame(TransferContext& context) override;
    void loadFromCarset(TransferContext& context) override;
    void saveToCarset(TransferContext& context) override;

private:
    // A set's four JAMs from the game or the carset: all four taken, or none.
    void readGraphics(TransferContext& context, int set, const ByteSource& source);
    void importDisplay(TransferContext& context, int language);
    void writeGraphics(TransferContext& context, int set, const ByteSink& sink) const;
    // The game file of a loaded JAM: as read while its page is unchanged.
    std::vector<std::uint8_t> jamFile(int set, int slot) const;
    // Keeps the bytes a set's JAMs were read from.
    void takeGraphics(int set, std::vector<TJAMFile> jams, std::vector<std::vector<std::uint8_t>> files);

    // A JAM's file and page as read: a JAM whose page is unchanged goes back
    // as the file it came from (a 16-bit file can be coded in more than one
    // way, and taking a cockpit sheet rebuilds the colour tables of all four
    // JAMs even where their pictures stay the same).
    struct ReadForm {
        std::vector<std::uint8_t> original;
        Image page;
    };

    CockpitData& data_;
    const Palette& palette_;
    std::array<std::array<ReadForm, kCockpitJamCount>, 2> readForms_;
};

} // namespace pitwall
