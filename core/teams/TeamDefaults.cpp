#include "teams/TeamDefaults.h"

#include "base/UITexts.h"

namespace pitwall {

void ResetTeamsDrivers(TeamTable& table, const UITexts& texts)
{
    for (int t = 0; t < kTeamCount; ++t) {
        TeamRecord team; // all zero
        team.name = texts.format(2, Args(t));
        // The engine text takes the slot too, so a language file may number
        // its engines; one without a placeholder simply ignores it.
        team.engine = texts.format(740, Args(t));
        for (int n = 0; n < 2; ++n) {
            DriverRecord& d = team.drivers[static_cast<std::size_t>(n)];
            d.name = texts.format(127, Args(2 * t + n));
            d.qp = 16000;
            d.rp = 16000;
            d.qa = 300;
            d.ra = 300;
            d.carNumber = static_cast<std::uint8_t>(2 * t + 1 + n);
            d.selected = 0;
        }
        team.failure = 5000;
        team.tqp = 780;
        team.trp = 770;
        team.tyreType = kTyreGoodyear;
        team.pitPosition = static_cast<std::uint8_t>(t);
        table.teams[static_cast<std::size_t>(t)] = team;
    }
}

} // namespace pitwall
