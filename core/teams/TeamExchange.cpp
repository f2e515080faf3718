#include "teams/TeamExchange.h"

#include <stdexcept>
#include <string>
#include <utility>

namespace pitwall {

void SwapTeams(TeamTable& table, int slotA, int slotB)
{
    if (slotA < 0 || slotA >= kTeamCount || slotB < 0 || slotB >= kTeamCount)
        throw std::out_of_range("team slots " + std::to_string(slotA) + " and " + std::to_string(slotB)
                                + " are not both within 0..10");
    if (slotA != slotB)
        std::swap(table.teams[static_cast<std::size_t>(slotA)], table.teams[static_cast<std::size_t>(slotB)]);
}

void SwapDrivers(TeamTable& table, int driverA, int driverB)
{
    DriverRecord& a = table.driver(driverA);
    DriverRecord& b = table.driver(driverB);
    if (&a != &b)
        std::swap(a, b);
}

} // namespace pitwall
