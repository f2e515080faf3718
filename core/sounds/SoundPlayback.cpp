#include "sounds/SoundPlayback.h"

#include "base/ByteWriter.h"
#include "base/FileUtils.h"

namespace pitwall {

namespace {

constexpr std::uint64_t kMaxSoundFileBytes = 64ull * 1024 * 1024;

void Tag(ByteWriter& w, const char* tag)
{
    for (int i = 0; i < 4; ++i)
        w.u8(static_cast<std::uint8_t>(tag[i]));
}

} // namespace

std::vector<std::uint8_t> MakeStandardWav(const SoundEntry& entry, std::span<const std::uint8_t> samples)
{
    const std::uint16_t bytesPerSample = entry.bits > 8 ? 2 : 1;
    const auto size = static_cast<std::uint32_t>(samples.size());
    ByteWriter w;
    Tag(w, "RIFF");
    w.u32(36 + size + (size & 1));
    Tag(w, "WAVE");
    Tag(w, "fmt ");
    w.u32(16);
    w.u16(1);
    w.u16(1);
    w.u32(entry.sampleRate);
    w.u32(static_cast<std::uint32_t>(entry.sampleRate) * bytesPerSample);
    w.u16(bytesPerSample);
    w.u16(entry.bits);
    Tag(w, "data");
    w.u32(size);
    std::vector<std::uint8_t> out = w.take();
    out.insert(out.end(), samples.begin(), samples.end());
    if (size & 1)
        out.push_back(0);
    return out;
}

std::optional<std::string> PreparePlayableSound(const SoundTable& table, std::size_t index,
                                                const std::string& workDirectory)
{
    if (index >= table.entries.size())
        return std::nullopt;
    const std::string dir = IncludeTrailingBackslash(workDirectory);
    const std::string file = dir + SoundWorkFileName(index);
    if (!FileExists(file))
        return std::nullopt;
    auto wav = ReadWholeFile(file, kMaxSoundFileBytes);
    const std::string play = dir + "Play" + std::to_string(index) + ".wav";
    WriteWholeFile(play, MakeStandardWav(table.entries[index], WavSamples(wav, table.entries[index].dataSize)));
    return play;
}

} // namespace pitwall
