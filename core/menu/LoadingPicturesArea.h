#pragma once
// The six loading pictures (item 117) as a data area of the transfers: the
// game's BITMAPS\LOADING1.BMP to LOADING6.BMP, held as files of the same
// names in the working directory and carried byte for byte.

#include "transfer/DataArea.h"

namespace pitwall {

class LoadingPicturesArea : public DataArea {
public:
    std::vector<int> items() const override;
    void importFromGame(TransferContext& context) override;
    bool importsBesideOthers() const override { return true; }
    bool loadsBesideOthers() const override { return true; }
    void exportToGame(TransferContext& context) override;
    void loadFromCarset(TransferContext& context) override;
    void saveToCarset(TransferContext& context) override;
};

} // namespace pitwall
