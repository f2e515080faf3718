#include "tracks/TrackEditing.h"

#include "base/FileUtils.h"
#include "tracks/TrackPictures.h"
#include "tracks/TracksArea.h"

#include <algorithm>
#include <filesystem>
#include <numeric>

namespace pitwall {

namespace {

constexpr int kLengthLapsProduct = 307000;

bool ValidSlot(int slot) { return slot >= 0 && slot < kTrackCount; }

// Slot s of the result is old slot order[s].
void Reorder(TrackTable& table, TransferState& transfer, const std::string& workingDirectory,
             const std::array<int, kTrackCount>& order)
{
    TrackTable old = table;
    TransferState oldTransfer = transfer;
    for (int s = 0; s < kTrackCount; ++s) {
        const auto from = static_cast<std::size_t>(order[static_cast<std::size_t>(s)]);
        const auto to = static_cast<std::size_t>(s);
        table.info[to] = old.info[from];
        table.sections[to] = old.sections[from];
        table.trackFiles[to] = std::move(old.trackFiles[from]);
        for (int (*item)(int) : {TrackFileItem, TrackSectionsItem, TrackInfoItem})
            transfer.loaded[static_cast<std::size_t>(item(s))] =
                oldTransfer.loaded[static_cast<std::size_t>(item(static_cast<int>(from)))];
    }
    if (workingDirectory.empty())
        return;
    // Pictures: first aside under names of their own, then to their slots.
    namespace fs = std::filesystem;
    std::error_code ec;
    auto aside = [&](int slot, int kind, int view) {
        return workingDirectory + "Moving" + TrackPictureMember(slot, kind, view);
    };
    for (int s = 0; s < kTrackCount; ++s)
        for (int kind = 0; kind < kTrackPictureKinds; ++kind)
            for (int view = 0; view < kTrackViews; ++view) {
                const std::string file = workingDirectory + TrackPictureMember(s, kind, view);
                if (FileExists(file))
                    fs::rename(NativePath(file), NativePath(aside(s, kind, view)), ec);
            }
    for (int s = 0; s < kTrackCount; ++s)
        for (int kind = 0; kind < kTrackPictureKinds; ++kind)
            for (int view = 0; view < kTrackViews; ++view) {
                const std::string moved = aside(order[static_cast<std::size_t>(s)], kind, view);
                if (FileExists(moved))
                    fs::rename(NativePath(moved), NativePath(workingDirectory + TrackPictureMember(s, kind, view)), ec);
            }
}

std::array<int, kTrackCount> Identity()
{
    std::array<int, kTrackCount> order{};
    std::iota(order.begin(), order.end(), 0);
    return order;
}

std::uint16_t& Word(TrackInfo& info, int group, int word)
{
    return info.strategies[static_cast<std::size_t>(group * kStrategyGroupWords + word)];
}

} // namespace

void MoveTrack(TrackTable& table, TransferState& transfer, const std::string& workingDirectory, int from, int to)
{
    if (!ValidSlot(from) || !ValidSlot(to) || from == to)
        return;
    std::vector<int> list(kTrackCount);
    std::iota(list.begin(), list.end(), 0);
    list.erase(list.begin() + from);
    list.insert(list.begin() + to, from);
    std::array<int, kTrackCount> order{};
    std::copy(list.begin(), list.end(), order.begin());
    Reorder(table, transfer, workingDirectory, order);
}

void ExchangeTracks(TrackTable& table, TransferState& transfer, const std::string& workingDirectory, int a, int b)
{
    if (!ValidSlot(a) || !ValidSlot(b) || a == b)
        return;
    auto order = Identity();
    std::swap(order[static_cast<std::size_t>(a)], order[static_cast<std::size_t>(b)]);
    Reorder(table, transfer, workingDirectory, order);
}

std::optional<std::uint16_t> LengthFromLaps(int laps)
{
    if (laps <= 0)
        return std::nullopt;
    return static_cast<std::uint16_t>(kLengthLapsProduct / laps);
}

std::optional<std::uint8_t> LapsFromLength(int metres)
{
    if (metres <= 0)
        return std::nullopt;
    return static_cast<std::uint8_t>(kLengthLapsProduct / metres);
}

std::array<int, 3> StrategyPercentages(const TrackInfo& info)
{
    return {info.strategies[0], info.strategies[kStrategyGroupWords], info.strategies[2 * kStrategyGroupWords]};
}

void RecomputeStrategyLaps(TrackInfo& info, int laps)
{
    for (int g = 0; g < 3; ++g) {
        if (Word(info, g, 0) == 0) {
            for (int w = 0; w < kStrategyGroupWords; ++w)
                Word(info, g, w) = 0;
            continue;
        }
        const int n = g + 2;
        for (int stop = 1; stop <= g + 1; ++stop) {
            Word(info, g, 2 * stop - 1) = static_cast<std::uint16_t>(laps / n * stop);
            Word(info, g, 2 * stop) = static_cast<std::uint16_t>(laps / 10);
        }
    }
}

void FewerStops(TrackInfo& info, int laps)
{
    const int d3 = std::min<int>(Word(info, 2, 0), 5);
    Word(info, 2, 0) = static_cast<std::uint16_t>(Word(info, 2, 0) - d3);
    const int d2 = std::min<int>(Word(info, 1, 0), 3);
    Word(info, 1, 0) = static_cast<std::uint16_t>(Word(info, 1, 0) + d3 - d2);
    Word(info, 0, 0) = static_cast<std::uint16_t>(Word(info, 0, 0) + d2);
    RecomputeStrategyLaps(info, laps);
}

void MoreStops(TrackInfo& info, int laps)
{
    const int d1 = std::min<int>(Word(info, 0, 0), 5);
    Word(info, 0, 0) = static_cast<std::uint16_t>(Word(info, 0, 0) - d1);
    const int d2 = std::min<int>(Word(info, 1, 0), 3);
    Word(info, 1, 0) = static_cast<std::uint16_t>(Word(info, 1, 0) + d1 - d2);
    Word(info, 2, 0) = static_cast<std::uint16_t>(Word(info, 2, 0) + d2);
    RecomputeStrategyLaps(info, laps);
}

void PerfectStrategy(TrackInfo& info, int laps)
{
    const std::array<int, 3> shares = StrategyPercentages(info);
    const int sum = shares[0] + shares[1] + shares[2];
    if (sum > 0) {
        int given = 0;
        for (int g = 0; g < 3; ++g) {
            Word(info, g, 0) = static_cast<std::uint16_t>(shares[static_cast<std::size_t>(g)] * 100 / sum);
            given += Word(info, g, 0);
        }
        const auto largest = std::max_element(shares.begin(), shares.end()) - shares.begin();
        Word(info, static_cast<int>(largest), 0) =
            static_cast<std::uint16_t>(Word(info, static_cast<int>(largest), 0) + 100 - given);
    }
    RecomputeStrategyLaps(info, laps);
}

} // namespace pitwall
