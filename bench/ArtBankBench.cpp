// The art bank: decoding every entry of a generated bank, and expanding all
// entries against merely copying the bank file.

#include "DemoInstallation.h"
#include "base/FileUtils.h"
#include "base/GamePath.h"
#include "formats/ArtBankExpansion.h"
#include "formats/ArtBankFile.h"
#include "formats/ArtEntryCodec.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

// One generated installation for all the art-bank benchmarks.
const std::string& DemoBank()
{
    static const std::string bank = [] {
        std::string dir = pitwall::PathString(std::filesystem::temp_directory_path() / "pitwall-bench-art");
        pitwall::demo::WriteDemoInstallation(dir, {});
        return pitwall::ResolveGamePath(pitwall::IncludeTrailingBackslash(dir), "BITMAPS\\GP3ART5.BIN");
    }();
    return bank;
}

void BM_ArtBankDecodeAllEntries(benchmark::State& state)
{
    using namespace pitwall;
    const auto bytes = ReadWholeFile(DemoBank());
    const ArtDirectory dir = ParseArtDirectory(bytes);
    std::uint64_t pixels = 0;
    // One picture reused, as the expansion's workers do.
    ArtPicture p;
    for (auto _ : state) {
        pixels = 0;
        for (std::size_t i = 0; i < kArtEntryCount; ++i) {
            const ArtEntry& e = dir.entries[i];
            auto data = std::span(bytes).subspan(e.dataOffset, e.reservedSize);
            DecodeArtEntry(data, e.width, e.height, UsesSingleWordKeys(i), p);
            benchmark::DoNotOptimize(p.words.data());
            pixels += p.words.size();
        }
    }
    // Bytes of decoded 15-bit pixels.
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * pixels * 2));
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * pixels));
}
BENCHMARK(BM_ArtBankDecodeAllEntries)->Unit(benchmark::kMillisecond);

// Encoding every decoded entry again, as the expansion does for each entry it
// enlarges.
void BM_ArtBankEncodeAllEntries(benchmark::State& state)
{
    using namespace pitwall;
    const auto bytes = ReadWholeFile(DemoBank());
    const ArtDirectory dir = ParseArtDirectory(bytes);
    std::vector<ArtPicture> pictures;
    std::uint64_t pixels = 0;
    for (std::size_t i = 0; i < kArtEntryCount; ++i) {
        const ArtEntry& e = dir.entries[i];
        pictures.push_back(DecodeArtEntry(std::span(bytes).subspan(e.dataOffset, e.reservedSize), e.width, e.height,
                                          UsesSingleWordKeys(i)));
        pixels += pictures.back().words.size();
    }
    std::vector<std::uint8_t> stream;
    for (auto _ : state) {
        for (std::size_t i = 0; i < kArtEntryCount; ++i) {
            EncodeArtEntry(pictures[i], UsesSingleWordKeys(i), stream);
            benchmark::DoNotOptimize(stream.data());
        }
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * pixels));
}
BENCHMARK(BM_ArtBankEncodeAllEntries)->Unit(benchmark::kMillisecond);

void BM_ArtBankExpandAllEntries(benchmark::State& state)
{
    using namespace pitwall;
    const std::string work = DemoBank() + ".bench";
    const std::vector<bool> flags(kArtEntryCount, true);
    for (auto _ : state) {
        state.PauseTiming();
        CopyFileForced(DemoBank(), work);
        state.ResumeTiming();
        benchmark::DoNotOptimize(ExpandArtBank(work, flags, false));
    }
    state.counters["bank MB"] = static_cast<double>(FileSizeOf(DemoBank())) / 1e6;
    state.counters["expanded MB"] = static_cast<double>(FileSizeOf(work)) / 1e6;
    DeleteFileForced(work);
}
BENCHMARK(BM_ArtBankExpandAllEntries)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ArtBankCopyFile(benchmark::State& state)
{
    using namespace pitwall;
    const std::string work = DemoBank() + ".copy";
    for (auto _ : state)
        std::filesystem::copy_file(NativePath(DemoBank()), NativePath(work),
                                   std::filesystem::copy_options::overwrite_existing);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * FileSizeOf(DemoBank())));
    DeleteFileForced(work);
}
BENCHMARK(BM_ArtBankCopyFile)->Unit(benchmark::kMillisecond);

} // namespace
