#include "formats/SoundBankFiles.h"

#include "base/FileUtils.h"
#include "base/FormatError.h"

namespace pitwall {

namespace {

// A bank of 256 sounds of 16-bit samples at 44.1 kHz for minutes each stays
// well below this; anything larger is not a sound bank.
constexpr std::uint64_t kMaxBankBytes = 512ull * 1024 * 1024;

} // namespace

std::string SoundWorkFileName(std::size_t index) { return "Sound" + std::to_string(index) + ".DAT"; }

void SplitSoundBankFile(std::string_view bankFile, std::string_view workDirectory, SoundTable& table)
{
    RequireFile(bankFile);
    SoundBankParse parsed = ParseSoundBank(ReadWholeFile(bankFile, kMaxBankBytes));
    if (parsed.tooManySounds)
        throw FormatError(kTooManySoundsText, Args(std::string(bankFile), parsed.declaredCount));
    const std::string dir = IncludeTrailingBackslash(workDirectory);
    ForceDirectories(dir);
    for (std::size_t i = 0; i < parsed.bank.entries.size(); ++i)
        WriteWholeFile(dir + SoundWorkFileName(i), MakeSoundWav(parsed.bank.entries[i], parsed.bank.samples[i]));
    table.entries = std::move(parsed.bank.entries);
    table.marks.assign(table.entries.size(), 0);
}

std::vector<std::uint8_t> JoinSoundBank(const SoundTable& table, std::string_view workDirectory)
{
    const std::string dir = IncludeTrailingBackslash(workDirectory);
    SoundBank joined;
    joined.entries = table.entries;
    for (std::size_t i = 0; i < table.entries.size(); ++i) {
        std::string file = dir + SoundWorkFileName(i);
        RequireFile(file);
        auto wav = ReadWholeFile(file, kMaxSoundWavBytes);
        auto samples = WavSamples(wav, table.entries[i].dataSize);
        joined.samples.emplace_back(samples.begin(), samples.end());
    }
    return BuildSoundBank(joined);
}

std::optional<SoundConversion> TakeInSoundFile(SoundTable& table, std::size_t index, std::string_view wavFile,
                                               std::string_view workDirectory)
{
    if (index >= table.entries.size())
        return std::nullopt;
    RequireFile(wavFile);
    if (FileSizeOf(wavFile) > kMaxSoundWavBytes)
        throw FormatError(kSoundTooLongText, Args(std::string(wavFile)));
    auto wav = ReadWholeFile(wavFile, kMaxSoundWavBytes);
    BankSound sound = ConvertForBank(wav, wavFile, table.entries, table.entries[index]);
    SoundEntry e = table.entries[index];
    e.dataSize = static_cast<std::uint32_t>(sound.samples.size());
    e.sampleRate = static_cast<std::uint16_t>(sound.shape.to.sampleRate);
    e.bits = sound.shape.to.bits;
    const std::string dir = IncludeTrailingBackslash(workDirectory);
    ForceDirectories(dir);
    // The working file always has its samples straight after 44 header bytes.
    WriteWholeFile(dir + SoundWorkFileName(index), MakeSoundWav(e, sound.samples));
    table.entries[index] = e;
    table.marks.resize(table.entries.size(), 0);
    table.marks[index] = 1;
    return sound.shape;
}

bool TakeInSoundWav(SoundTable& table, std::size_t index, std::string_view wavFile, std::string_view workDirectory)
{
    return TakeInSoundFile(table, index, wavFile, workDirectory).has_value();
}

} // namespace pitwall
