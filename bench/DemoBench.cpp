// Making a demo installation is what every end-to-end test pays for first.

#include "DemoInstallation.h"
#include "base/FileUtils.h"
#include "formats/GameInstallation.h"
#include "transfer/SavegameChecksum.h"

#include <benchmark/benchmark.h>

#include <filesystem>

static void BM_WriteDemoInstallation(benchmark::State& state)
{
    std::string dir = pitwall::PathString(std::filesystem::temp_directory_path() / "pitwall-bench-demo");
    for (auto _ : state)
        pitwall::demo::WriteDemoInstallation(dir, {});
    pitwall::DeleteTree(dir);
}
BENCHMARK(BM_WriteDemoInstallation)->Unit(benchmark::kMillisecond);

static void BM_SavegameChecksum(benchmark::State& state)
{
    std::vector<std::uint8_t> save(pitwall::kSavegameSizes[2], 0x5A);
    for (auto _ : state)
        benchmark::DoNotOptimize(pitwall::ComputeSavegameChecksum(save));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * save.size()));
}
BENCHMARK(BM_SavegameChecksum);
