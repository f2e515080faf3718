// JAM decode and encode on a 256 x 512 page (a tall car livery) laid out by
// the demo generator: 24 images with tables of assorted sizes. Throughput is
// counted in bytes of the JAM file read or written.

#include "DemoJamWriter.h"
#include "formats/JamFile.h"
#include "formats/Palette.h"

#include <benchmark/benchmark.h>

namespace {

using namespace pitwall;

const Palette& BenchPalette()
{
    static const Palette palette = [] {
        std::array<Pixel, 256> p{};
        for (int i = 1; i < 256; ++i)
            p[static_cast<std::size_t>(i)] = MakePixel(i, (i * 7) & 0xFF, 255 - i);
        return Palette(p);
    }();
    return palette;
}

std::vector<std::uint8_t> LiveryFile(bool eightBit)
{
    demo::DemoRandom random(7);
    demo::DemoJamLayout layout = demo::MakeJamLayout(512, 24, random);
    return eightBit ? demo::Jam8File(layout, demo::MakeJam8Page(layout, random))
                    : demo::Jam16File(layout, demo::MakeJam16Page(layout, random), true, random);
}

void Decode(benchmark::State& state, bool eightBit)
{
    const auto file = LiveryFile(eightBit);
    for (auto _ : state) {
        TJAMFile jam(BenchPalette());
        jam.Decode(file, false);
        benchmark::DoNotOptimize(jam.page().pixels().data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size()));
}

void Encode(benchmark::State& state, bool eightBit)
{
    TJAMFile jam(BenchPalette());
    jam.Decode(LiveryFile(eightBit), false);
    std::size_t bytes = 0;
    for (auto _ : state) {
        TMemFile out = jam.Assemble(true);
        bytes = out.Length();
        benchmark::DoNotOptimize(out.Content().data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}

void BM_Jam8Decode(benchmark::State& state) { Decode(state, true); }
void BM_Jam8Encode(benchmark::State& state) { Encode(state, true); }
void BM_Jam16Decode(benchmark::State& state) { Decode(state, false); }
void BM_Jam16Encode(benchmark::State& state) { Encode(state, false); }

} // namespace

BENCHMARK(BM_Jam8Decode)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Jam8Encode)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Jam16Decode)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Jam16Encode)->Unit(benchmark::kMicrosecond);
