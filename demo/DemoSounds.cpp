#include "DemoContext.h"

#include <cmath>

namespace pitwall::demo {

namespace {

// About as many sounds as the game has: engines at several revs, gear
// changes, tyres, crashes, crowd, pit radio and menu clicks.
constexpr int kSoundCount = 132;
constexpr std::uint16_t kRates[] = {11025, 22050, 44100, 8000, 16000};

void Put(std::vector<std::uint8_t>& b, std::size_t at, std::uint64_t v, int width)
{
    for (int i = 0; i < width; ++i)
        b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
}

// A decaying tone with some noise, as 8-bit unsigned or 16-bit signed samples.
std::vector<std::uint8_t> Samples(DemoRandom& rnd, std::uint32_t bytes, int bits, std::uint16_t rate)
{
    std::vector<std::uint8_t> out(bytes);
    const double freq = 80.0 + rnd.between(0, 900);
    const std::size_t n = bits == 16 ? bytes / 2 : bytes;
    for (std::size_t i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / rate;
        const double v = std::sin(6.283185307 * freq * t) * std::exp(-t * 2.0) * 0.8
            + (static_cast<int>(rnd.next() % 2001) - 1000) / 10000.0;
        if (bits == 16) {
            auto s = static_cast<std::int16_t>(v * 30000);
            out[2 * i] = static_cast<std::uint8_t>(s);
            out[2 * i + 1] = static_cast<std::uint8_t>(static_cast<std::uint16_t>(s) >> 8);
        } else {
            out[i] = static_cast<std::uint8_t>(128 + static_cast<int>(v * 120));
        }
    }
    return out;
}

} // namespace

void WriteSoundBank(DemoContext& context)
{
    DemoRandom rnd(context.seed * 31 + 5);
    std::vector<std::uint8_t> bank(4 + 12 * kSoundCount, 0);
    Put(bank, 0, kSoundCount, 2);
    const std::size_t dataStart = bank.size();
    for (int i = 0; i < kSoundCount; ++i) {
        const int bits = (i % 3 == 2) ? 16 : 8;
        const std::uint16_t rate = kRates[static_cast<std::size_t>(rnd.between(0, 4))];
        std::uint32_t size = static_cast<std::uint32_t>(rnd.between(800, 14000));
        // One long engine loop beyond the 500,001 bytes an old tool copied.
        if (i == 7)
            size = 524'288;
        if (bits == 16)
            size &= ~1u;
        const std::size_t entry = 4 + 12 * static_cast<std::size_t>(i);
        Put(bank, entry, size, 4);
        Put(bank, entry + 4, rate, 2);
        // The third field: the sound's position in the sample data, as the
        // game's own bank seems to hold it.
        Put(bank, entry + 6, bank.size() - dataStart, 4);
        Put(bank, entry + 10, static_cast<std::uint64_t>(bits), 2);
        auto samples = Samples(rnd, size, bits, rate);
        bank.insert(bank.end(), samples.begin(), samples.end());
    }
    context.writeFile("SAMPLES\\GP3SOUND.DAT", bank);
}

} // namespace pitwall::demo
