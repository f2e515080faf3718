#include "tracks/TrackPositions.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace pitwall {

namespace {

constexpr TrackExePositions kV100 = {{0x142BA0, 0x142C74, 0x142D88, 0x142E8C, 0x142F84, 0x143068, 0x143154, 0x14323C,
                                      0x14331C, 0x14340C, 0x1434F8, 0x1435E8, 0x1436E4, 0x1437D4, 0x1438C4, 0x1439A0},
                                     80,
                                     0x73B3B4,
                                     0x143A7E,
                                     0x8378F1,
                                     0x84763E,
                                     0x84D000};

constexpr TrackExePositions kV113 = {{0x143E10, 0x143EE8, 0x144000, 0x144108, 0x144204, 0x1442EC, 0x1443DC, 0x1444C8,
                                      0x1445AC, 0x1446A0, 0x144790, 0x144884, 0x144984, 0x144A78, 0x144B6C, 0x144C4C},
                                     84,
                                     0x73C948,
                                     0x144D2E,
                                     0x83A36D,
                                     0x84A392,
                                     0x850000};

} // namespace

const TrackExePositions& TrackExeAt(int gameVersion)
{
    if (gameVersion == 1)
        return kV100;
    if (gameVersion == 2 || gameVersion == 3)
        return kV113;
    throw std::invalid_argument("game version " + std::to_string(gameVersion) + " has no track positions");
}

int BumpRoom(const TrackExePositions& at, int slot)
{
    const std::uint32_t first = at.bases[static_cast<std::size_t>(slot)] + kBumpsOffset;
    const std::uint32_t next =
        slot + 1 < kTrackCount ? at.bases[static_cast<std::size_t>(slot) + 1] - kSetupBefore : at.secondLaps;
    return std::clamp(static_cast<int>((next - first) / 4) - 1, 0, kMaxBumps);
}

std::uint32_t LapRecordsAt(int savegameFormat)
{
    if (savegameFormat == 1)
        return 0x616;
    if (savegameFormat == 2)
        return 0x6DA;
    throw std::invalid_argument("savegame format " + std::to_string(savegameFormat) + " has no lap records");
}

} // namespace pitwall
