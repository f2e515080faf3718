#pragma once
// The game's sound bank SAMPLES\GP3SOUND.DAT: a count, a directory of 12-byte
// entries and the sample data of every sound one after another. Each sound
// travels through the program as a small WAV file of its own (44 header bytes
// and the samples), and the table travels in carsets as Sounds.DAT.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace pitwall {

// The program's table holds this many sounds; a bank declaring more is refused.
inline constexpr std::size_t kMaxSounds = 256;
// The game's WAV files carry this value as their RIFF size, whatever the data size.
inline constexpr std::uint32_t kGameWavRiffSize = 12036;
inline constexpr std::size_t kWavHeaderSize = 44;
// Sounds.DAT: the count and the whole table of 256 records of 16 bytes.
inline constexpr std::size_t kSoundsDatSize = 2 + kMaxSounds * 16;

struct SoundEntry {
    std::uint32_t dataSize = 0;
    std::uint16_t sampleRate = 0;
    // The directory's third field; not interpreted and written back unchanged.
    std::uint32_t keptWord = 0;
    std::uint16_t bits = 0;

    bool operator==(const SoundEntry&) const = default;
};

struct SoundBank {
    std::vector<SoundEntry> entries;
    // The samples of each sound, as long as its data size.
    std::vector<std::vector<std::uint8_t>> samples;
};

struct SoundBankParse {
    SoundBank bank;
    // The count the bank declares.
    std::uint32_t declaredCount = 0;
    // More than kMaxSounds declared: nothing is read.
    bool tooManySounds = false;
    // The directory or the sample data ended early; what was read is kept,
    // and a sound cut short has the size of what remains.
    bool truncated = false;
    // The sounds whose samples the data holds whole.
    std::uint32_t completeCount = 0;
};

SoundBankParse ParseSoundBank(std::span<const std::uint8_t> bytes);

// What the directory's third field holds in a bank. The game's banks (as far
// as they have been seen) give there each sound's position, counted from
// the start of the sample data or of the file; a bank where that holds for
// every sound keeps it true when sounds change size. Any other bank gets its
// words back as they were.
enum class KeptWordLayout {
    AsTheyWere,   // written back unchanged
    DataPosition, // each sound's position in the sample data (the first at 0)
    FilePosition, // each sound's position in the file
};
KeptWordLayout KeptWordLayoutOf(const SoundBank& bank);

// The bank as the game reads it. Each sound contributes its samples, at most
// its data size of them, and the directory gives the size written, so it
// never promises bytes the bank does not hold. The third field follows
// `layout` (the layout of the bank as read, for a bank rebuilt from it).
std::vector<std::uint8_t> BuildSoundBank(const SoundBank& bank, KeptWordLayout layout = KeptWordLayout::AsTheyWere);

struct WavHeader {
    std::uint32_t riffSize = 0;
    std::uint16_t format = 0;
    std::uint16_t channels = 0;
    std::uint32_t sampleRate = 0;
    std::uint32_t byteRate = 0;
    std::uint16_t blockAlign = 0;
    std::uint16_t bits = 0;
    std::uint32_t dataSize = 0;
};

// The 44-byte header the program writes for a sound: one channel, RIFF size 12036.
std::vector<std::uint8_t> MakeWavHeader(std::uint16_t channels, std::uint16_t bits, std::uint32_t dataSize,
                                        std::uint32_t sampleRate);
// A whole working WAV file of one sound.
std::vector<std::uint8_t> MakeSoundWav(const SoundEntry& entry, std::span<const std::uint8_t> samples);
// The header fields of a WAV file; nothing when it is shorter than 44 bytes.
std::optional<WavHeader> ReadWavHeader(std::span<const std::uint8_t> bytes);
// True when the first 16 bytes are "RIFF", 12036, "WAVE", "fmt ": the only
// WAV files the program takes in as sounds.
bool HasGameWavSignature(std::span<const std::uint8_t> bytes);
// The samples of a WAV file found by walking its RIFF chunks from byte 12:
// the "data" chunk (cut to what the file holds), with the format from the
// "fmt " chunk before it. Nothing when either chunk is missing, so samples are
// never read from where another chunk (LIST, fact, ...) lies.
struct WavData {
    // The "fmt " chunk's format tag: 1 for PCM.
    std::uint16_t format = 0;
    std::uint16_t channels = 0;
    std::uint32_t sampleRate = 0;
    std::uint16_t bits = 0;
    std::span<const std::uint8_t> samples;
};
std::optional<WavData> FindWavData(std::span<const std::uint8_t> bytes);
// The one check every WAV file from outside passes before it becomes a sound
// of the game's bank (a single sound replaced, a folder of sounds, a sound a
// carset carries): the program's 16 header bytes, a "fmt " and a "data" chunk
// inside the file, one channel, 8 or 16 bits, a sample rate from 1 to 65,535
// Hz (the bank keeps it in 16 bits). Its samples, or nothing with the reason
// in `problem`.
std::optional<WavData> CheckSoundWav(std::span<const std::uint8_t> bytes, std::string* problem = nullptr);
// The bytes after the 44-byte header, at most `dataSize` of them.
std::span<const std::uint8_t> WavSamples(std::span<const std::uint8_t> bytes, std::uint32_t dataSize);

std::vector<std::uint8_t> BuildSoundsDat(const std::vector<SoundEntry>& entries);
// Reads the carset's table; a short member gives the records it holds.
std::vector<SoundEntry> ParseSoundsDat(std::span<const std::uint8_t> bytes);

} // namespace pitwall
