#include "DemoContext.h"

#include <array>

namespace pitwall::demo {

namespace {

// Positions of the settings areas in GP3.EXE, {v1.00, v1.13}.
constexpr std::array<std::uint32_t, 2> kPoints = {0x73B456, 0x73C9EA};
constexpr std::array<std::uint32_t, 2> kAids = {0x722C18, 0x7240DC};
constexpr std::array<std::uint32_t, 2> kKeepRecords = {0xFE303, 0xFFF7F};
constexpr std::array<std::uint32_t, 2> kPlayerPerfWord1 = {0x36C66, 0x37F1D};
constexpr std::array<std::uint32_t, 2> kPlayerPerfWord2 = {0x36E28, 0x380DF};
constexpr std::array<std::uint32_t, 2> kShowFuel = {0x7F39E, 0x807B6};
constexpr std::array<std::uint32_t, 2> kPlayerQualifying = {0x36C74, 0x37F2B};
constexpr std::array<std::uint32_t, 2> kPlayerRace = {0x36C7B, 0x37F32};
constexpr std::array<std::uint32_t, 2> kPitSpeed = {0x12F8D8, 0x1308D8};
constexpr std::array<std::uint32_t, 2> kWeight = {0x12E278, 0x12F278};
constexpr std::array<std::uint32_t, 2> kRobustness = {0x13EE0E, 0x14006E};
constexpr std::array<std::uint32_t, 2> kBounceWalls = {0x13EEBD, 0x14011D};
constexpr std::array<std::uint32_t, 2> kBounceCars = {0x13EE01, 0x140061};
constexpr std::array<std::uint32_t, 2> kPartStrengths = {0x13FC79, 0x140EE5};
constexpr std::array<int, 22> kPartSteps = {4, 4, 4, 4, 3, 4, 4, 4, 5, 4, 4, 3, 4, 4, 4, 4, 4, 4, 4, 5, 4, 4};
constexpr std::array<std::uint32_t, 2> kVisibleCars = {0x52EF68, 0x530308};
constexpr std::array<std::uint32_t, 2> kCameras = {0x79E59E, 0x79FB36};
// Laps of the quick race, in F1GSTATE.SAV {format 1, format 2}.
constexpr std::array<std::uint32_t, 2> kQuickRaceLaps = {0x614, 0x6D8};

} // namespace

void WriteMiscSettings(DemoContext& context)
{
    auto& rnd = context.random;
    const std::size_t v = context.versionColumn();

    // A points table of the era, varied per version and seed so that a
    // table read from the wrong place or version shows.
    std::vector<std::uint8_t> points(22, 0);
    const std::uint8_t scoring[] = {10, 6, 4, 3, 2, 1};
    const int bonus = static_cast<int>(v) * 2 + rnd.between(0, 3);
    for (std::size_t i = 0; i < std::size(scoring); ++i)
        points[i] = static_cast<std::uint8_t>(scoring[i] + bonus);
    points[6] = static_cast<std::uint8_t>(rnd.between(0, 1) + static_cast<int>(v));
    context.putExeBytes(kPoints[v], points);

    // Aids per level, from Rookie (most) to Ace (fewest); bit 0x40 is always
    // set and only the eight aid bits besides it.
    const std::uint16_t aidBits[8] = {0x0001, 0x0002, 0x0004, 0x0008, 0x0100, 0x0200, 0x0010, 0x0020};
    for (int level = 0; level < 5; ++level) {
        std::uint16_t mask = 0x0040;
        for (std::uint16_t bit : aidBits)
            if (rnd.between(0, 4) >= level + static_cast<int>(v))
                mask = static_cast<std::uint16_t>(mask | bit);
        context.putExe(kAids[v] + static_cast<std::uint32_t>(level) * 2, mask, 2);
    }

    context.putExe(kKeepRecords[v], rnd.chance(50) ? 0x9090 : 0x4272, 2);
    bool preset = rnd.chance(70);
    context.putExe(kPlayerPerfWord1[v], preset ? 0xFFA8 : 0x00A8, 2);
    context.putExe(kPlayerPerfWord2[v], preset ? 0xFFC2 : 0x00C2, 2);
    context.putExe(kShowFuel[v], rnd.chance(50) ? 0xEB : 0x74, 1);
    context.putExe(kPlayerQualifying[v], static_cast<std::uint16_t>(rnd.between(900, 1100)), 2);
    context.putExe(kPlayerRace[v], static_cast<std::uint16_t>(rnd.between(900, 1100)), 2);
    int pitMph = rnd.between(40, 80) + static_cast<int>(v);
    context.putExe(kPitSpeed[v], static_cast<std::uint16_t>(pitMph * 324 + 392), 2);
    double weight = 595.0 + rnd.between(0, 10);
    for (int i = 0; i < 5; ++i)
        context.putExeDouble(kWeight[v] + static_cast<std::uint32_t>(i) * 8, weight);

    context.putExe(kRobustness[v], static_cast<std::uint16_t>(rnd.between(800, 1200)), 2);
    context.putExe(kRobustness[v] + 2, static_cast<std::uint16_t>(rnd.between(800, 1200)), 2);
    context.putExe(kBounceWalls[v], static_cast<std::uint8_t>(rnd.between(2, 8)), 1);
    context.putExe(kBounceCars[v], static_cast<std::uint8_t>(rnd.between(2, 8)), 1);
    std::uint32_t at = kPartStrengths[v];
    for (int step : kPartSteps) {
        context.putExe(at, static_cast<std::uint16_t>(rnd.between(200, 4000)), 2);
        at += static_cast<std::uint32_t>(step);
    }

    // Visible-car distances of the cockpit, in-car, rear and TV views.
    const std::int32_t distances[4] = {8000, 8000, 6000, 12000};
    for (int i = 0; i < 4; ++i) {
        std::int32_t distance = distances[i] + static_cast<std::int32_t>(v) * 500 + rnd.between(0, 20) * 100;
        context.putExe(kVisibleCars[v] + static_cast<std::uint32_t>(i) * 4, static_cast<std::uint32_t>(distance), 4);
    }

    // Nine on-board cameras: position, angles in 1/182 degree, details, two
    // words the game keeps to itself.
    for (int c = 0; c < 9; ++c) {
        const std::int16_t words[10] = {
            static_cast<std::int16_t>(rnd.between(-400, 400)),
            static_cast<std::int16_t>(rnd.between(-200, 600)),
            static_cast<std::int16_t>(rnd.between(100, 900)),
            static_cast<std::int16_t>(rnd.between(-180, 180) * 182),
            static_cast<std::int16_t>(rnd.between(-30, 30) * 182),
            static_cast<std::int16_t>(rnd.between(-5, 5) * 182),
            static_cast<std::int16_t>(rnd.between(0, 3)),
            static_cast<std::int16_t>(rnd.between(0, 3)),
            static_cast<std::int16_t>(rnd.between(0, 255)),
            static_cast<std::int16_t>(rnd.between(0, 255)),
        };
        for (int w = 0; w < 10; ++w)
            context.putExe(kCameras[v] + static_cast<std::uint32_t>(c * 20 + w * 2),
                           static_cast<std::uint16_t>(words[w]), 2);
    }

    context.putSave(kQuickRaceLaps[context.formatColumn()], static_cast<std::uint8_t>(rnd.between(3, 10)), 1);
}

} // namespace pitwall::demo
