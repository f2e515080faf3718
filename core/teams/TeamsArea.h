#pragma once
// Teams and drivers (item 1) as a data area of the transfers: GP3.EXE and
// F1GSTATE.SAV on import and export, TeamsDrivers.DAT in a carset.

#include "teams/TeamTable.h"
#include "transfer/DataArea.h"

namespace pitwall {

inline constexpr int kTeamsItem = 1;
inline constexpr const char* kTeamsMember = "TeamsDrivers.DAT";

class TeamsArea : public DataArea {
public:
    explicit TeamsArea(TeamTable& table) : table_(table) {}

    std::vector<int> items() const override { return {kTeamsItem}; }
    void importFromGame(TransferContext& context) override;
    void exportToGame(TransferContext& context) override;
    void loadFromCarset(TransferContext& context) override;
    void saveToCarset(TransferContext& context) override;

private:
    TeamTable& table_;
};

} // namespace pitwall
