#pragma once
// The sound bank on disk: splitting the game's GP3SOUND.DAT into one working
// WAV file per sound ("Sound" + index + ".DAT"), joining them back into a
// bank, and taking in a WAV file as one sound.

#include "formats/SoundBank.h"
#include "formats/WavConversion.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pitwall {

inline constexpr const char* kSoundBankGamePath = "SAMPLES\\GP3SOUND.DAT";
// UI text shown when a bank declares more sounds than the table holds
// (placeholders: file name, declared count).
inline constexpr int kTooManySoundsText = 1145;
// The largest WAV file taken in as one sound.
inline constexpr std::uint64_t kMaxSoundWavBytes = 64ull * 1024 * 1024;
// What the sounds a carset carries may hold together: a full table of
// sounds of the 500,001 bytes the game's own tools copy of one, with their
// headers (about 128 MB). More is no sound set of the game.
inline constexpr std::uint64_t kMaxCarsetSoundBytes = kMaxSounds * (kWavHeaderSize + 500'001);

// The sounds in memory: the directory records and one export mark per sound
// (set when a sound was replaced).
struct SoundTable {
    std::vector<SoundEntry> entries;
    std::vector<std::uint8_t> marks;

    bool operator==(const SoundTable&) const = default;
};

std::string SoundWorkFileName(std::size_t index);

// Reads the bank file and writes every sound as its working WAV file into
// workDirectory (with trailing separator). A missing bank is UI text 349, a
// bank of more than 256 sounds UI text 1145; both throw FormatError and leave
// the table unchanged. A bank cut short gives the sounds it holds.
void SplitSoundBankFile(std::string_view bankFile, std::string_view workDirectory, SoundTable& table);

// Builds a bank from the table and the working WAV files. A missing working
// file throws FormatError (UI text 349).
std::vector<std::uint8_t> JoinSoundBank(const SoundTable& table, std::string_view workDirectory);

// Takes in a sound file as sound `index`: a WAV file of any common tool (or
// another file libsndfile reads) is converted to the bank's shape where it
// differs (formats/WavConversion.h); the program's own files are taken as
// they are. A missing file is UI text 349; a file that is no sound, empty or
// too long throws FormatError naming it, and nothing changes. The table takes
// the new data size, sample rate and bits, the sound's working file is
// written and the sound is marked. Gives the file's shape and the bank's;
// nothing, changing nothing, for an index past the table.
std::optional<SoundConversion> TakeInSoundFile(SoundTable& table, std::size_t index, std::string_view wavFile,
                                               std::string_view workDirectory);
// The same, true when taken.
bool TakeInSoundWav(SoundTable& table, std::size_t index, std::string_view wavFile, std::string_view workDirectory);

} // namespace pitwall
