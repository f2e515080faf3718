// The graphics tables of GP3.EXE: car-number positions, pit-crew and flag
// ramp tables, at each version's own offsets, with distinct values per seed.

#include "DemoContext.h"

#include <array>

namespace pitwall::demo {

namespace {

constexpr std::array<std::uint32_t, 2> kCarNumbers = {0x1810B0, 0x182430};
constexpr std::array<std::uint32_t, 2> kPitCrew = {0x41BF38, 0x41D2B8};
constexpr std::array<std::uint32_t, 2> kFlags = {0x41C018, 0x41D398};

// Source rectangles inside each 256 x 128 view and target points, as the
// game's stock cars have them: numbers some 10-40 pixels in size.
void WriteCarNumbers(DemoContext& context, DemoRandom& rnd)
{
    const std::uint32_t sources = kCarNumbers[context.versionColumn()];
    const std::uint32_t targets = sources + 11 * 96;
    for (std::uint32_t t = 0; t < 11; ++t) {
        for (std::uint32_t rect = 0; rect < 6; ++rect) {
            const std::uint32_t at = sources + t * 96 + rect * 16;
            context.putExe(at, static_cast<std::uint32_t>(rnd.between(0, 200)), 4);
            context.putExe(at + 4, static_cast<std::uint32_t>(rnd.between(0, 90)), 4);
            context.putExe(at + 8, static_cast<std::uint32_t>(rnd.between(10, 40)), 4);
            context.putExe(at + 12, static_cast<std::uint32_t>(rnd.between(10, 30)), 4);
        }
        for (std::uint32_t view = 0; view < 3; ++view) {
            context.putExe(targets + t * 24 + view * 8, static_cast<std::uint32_t>(rnd.between(0, 220)), 4);
            context.putExe(targets + t * 24 + view * 8 + 4, static_cast<std::uint32_t>(rnd.between(0, 100)), 4);
        }
    }
}

// Ramp bases are multiples of 16 below 208 or small odd values; bytes 11-15
// of every third team keep the game's stock values, which an import replaces
// by the team's default.
void WriteRampTables(DemoContext& context, DemoRandom& rnd)
{
    const std::uint32_t pitCrew = kPitCrew[context.versionColumn()];
    static constexpr std::array<std::uint8_t, 5> kStock = {160, 176, 208, 224, 240};
    for (std::uint32_t t = 0; t < 11; ++t)
        for (std::uint32_t b = 0; b < 16; ++b) {
            std::uint8_t value =
                static_cast<std::uint8_t>(rnd.chance(50) ? 16 * rnd.between(0, 12) : rnd.between(1, 191));
            if (t % 3 == 0 && b >= 11)
                value = kStock[b - 11];
            else if (b >= 11 && value == kStock[b - 11])
                value = static_cast<std::uint8_t>(value + 1);
            context.putExe(pitCrew + t * 16 + b, value, 1);
        }
    const std::uint32_t flags = kFlags[context.versionColumn()];
    for (std::uint32_t b = 0; b < 64; ++b)
        context.putExe(flags + b, static_cast<std::uint8_t>(rnd.between(0, 192)), 1);
}

} // namespace

void WriteGraphicsTables(DemoContext& context)
{
    // A stream of their own, spread from the seed and the version: the
    // shared stream of neighbouring seeds is the same sequence shifted by one
    // draw and falls into step once an earlier area draws a varying number
    // of values, which would give two demos the same tables.
    DemoRandom rnd(context.seed * 0xD1B54A32D192ED03ull
                   + static_cast<std::uint64_t>(context.gameVersion) * 0x8CB92BA72F3D8DD7ull);
    WriteCarNumbers(context, rnd);
    WriteRampTables(context, rnd);
}

} // namespace pitwall::demo
