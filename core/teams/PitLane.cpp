#include "teams/PitLane.h"

namespace pitwall {

namespace {

constexpr std::uint8_t kFree = 0xFF;

} // namespace

PitOrder BuildPitOrder(const TeamTable& table)
{
    PitOrder order;
    order.fill(kFree);
    std::array<bool, kTeamCount> placed{};
    for (int t = 0; t < kTeamCount; ++t) {
        std::uint8_t p = table.teams[static_cast<std::size_t>(t)].pitPosition;
        if (p < kPitPositionCount && order[p] == kFree) {
            order[p] = static_cast<std::uint8_t>(t);
            placed[static_cast<std::size_t>(t)] = true;
        }
    }
    std::size_t next = 0;
    for (int t = 0; t < kTeamCount; ++t) {
        if (placed[static_cast<std::size_t>(t)])
            continue;
        while (order[next] != kFree)
            ++next;
        order[next] = static_cast<std::uint8_t>(t);
    }
    return order;
}

void RepairPitPositions(TeamTable& table)
{
    PitOrder order = BuildPitOrder(table);
    for (int p = 0; p < kPitPositionCount; ++p)
        table.teams[order[static_cast<std::size_t>(p)]].pitPosition = static_cast<std::uint8_t>(p);
}

bool SwapPitPositions(TeamTable& table, int positionA, int positionB)
{
    if (positionA < 0 || positionA >= kPitPositionCount || positionB < 0 || positionB >= kPitPositionCount)
        return false;
    RepairPitPositions(table);
    PitOrder order = BuildPitOrder(table);
    TeamRecord& a = table.teams[order[static_cast<std::size_t>(positionA)]];
    TeamRecord& b = table.teams[order[static_cast<std::size_t>(positionB)]];
    std::swap(a.pitPosition, b.pitPosition);
    return true;
}

void ReversePitOrder(TeamTable& table)
{
    for (int p = 0; p < kPitPositionCount / 2; ++p)
        SwapPitPositions(table, p, kPitPositionCount - 1 - p);
}

} // namespace pitwall
