#include "settings/SettingsValues.h"

#include <cmath>

namespace pitwall {

std::uint16_t AidMask(const AidSwitches& on)
{
    std::uint16_t mask = kAidMaskBase;
    for (int aid = 0; aid < kAidCount; ++aid)
        if (on[static_cast<std::size_t>(aid)])
            mask = static_cast<std::uint16_t>(mask | kAidBits[static_cast<std::size_t>(aid)]);
    return mask;
}

AidSwitches AidSwitchesOf(std::uint16_t mask)
{
    AidSwitches on{};
    for (int aid = 0; aid < kAidCount; ++aid)
        on[static_cast<std::size_t>(aid)] = (mask & kAidBits[static_cast<std::size_t>(aid)]) != 0;
    return on;
}

PointsTable PresetPoints(PointsPreset preset)
{
    PointsTable table;
    auto fill = [&table](std::initializer_list<std::uint8_t> points) {
        std::size_t p = 0;
        for (std::uint8_t value : points)
            table.points[p++] = value;
    };
    switch (preset) {
    case PointsPreset::Formula1:
        fill({10, 6, 4, 3, 2, 1});
        break;
    case PointsPreset::Cart:
        fill({20, 16, 14, 12, 10, 8, 6, 5, 4, 3, 2, 1});
        break;
    case PointsPreset::PointsForAll:
        for (int p = 1; p <= kFinishingPositions; ++p)
            table.points[static_cast<std::size_t>(p - 1)] = static_cast<std::uint8_t>(23 - p);
        break;
    case PointsPreset::Formula1Old:
        fill({9, 6, 4, 3, 2, 1});
        break;
    }
    return table;
}

namespace {
constexpr int kPitSpeedStep = 324;
constexpr int kPitSpeedZero = 392;
} // namespace

int PitSpeedFromWord(std::uint16_t word)
{
    if (word < kPitSpeedZero)
        return 0;
    return (word - kPitSpeedZero) / kPitSpeedStep;
}

std::optional<std::uint16_t> PitSpeedWord(std::int32_t mph)
{
    if (mph < 0)
        return std::nullopt;
    std::int64_t word = static_cast<std::int64_t>(mph) * kPitSpeedStep + kPitSpeedZero;
    if (word > 0xFFFF)
        return std::nullopt;
    return static_cast<std::uint16_t>(word);
}

int AngleDegrees(std::int16_t word) { return word / kAngleUnitsPerDegree; }

std::int16_t AngleWord(int degrees)
{
    // Modulo 65536, as the game's word wraps.
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(degrees * kAngleUnitsPerDegree));
}

int WeightForEditor(double weight)
{
    if (!std::isfinite(weight) || weight < 0.0 || weight > kWeightMax)
        return 0;
    return static_cast<int>(weight);
}

const std::array<std::string_view, kAidLevelCount> kAidLevelNames = {"rookie", "amateur", "semi-pro", "pro", "ace"};
const std::array<std::string_view, kAidCount> kAidNames = {"automatic brakes", "automatic gears", "spin correction",
                                                           "indestructible",   "ideal line",      "suggested gear",
                                                           "throttle help",    "steering help"};
const std::array<std::string_view, kCarPartCount> kCarPartNames = {"nose",
                                                                   "front wing right",
                                                                   "front wing left",
                                                                   "front wing right, small",
                                                                   "front wing left, small",
                                                                   "front suspension right",
                                                                   "front wheel right",
                                                                   "front suspension left",
                                                                   "front wheel left",
                                                                   "side pod right",
                                                                   "side pod left",
                                                                   "rear chassis",
                                                                   "rear suspension right",
                                                                   "rear wheel right",
                                                                   "rear suspension left",
                                                                   "rear wheel left",
                                                                   "rear wing",
                                                                   "rear wing right",
                                                                   "rear wing left",
                                                                   "rear wing top",
                                                                   "small rear wing right",
                                                                   "small rear wing left"};
const std::array<std::string_view, kViewCount> kViewNames = {"cockpit", "in-car", "rear", "tv-camera"};

} // namespace pitwall
