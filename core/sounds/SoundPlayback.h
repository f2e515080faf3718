#pragma once
// A sound as a player can play it. The working files carry the game's own
// header (a fixed RIFF size, a block align of 1 even for 16-bit sounds),
// which players may refuse; the copy to play gets the standard values.

#include "formats/SoundBankFiles.h"

#include <optional>
#include <string>

namespace pitwall {

// The standard 44-byte WAV header for mono PCM samples.
std::vector<std::uint8_t> MakeStandardWav(const SoundEntry& entry, std::span<const std::uint8_t> samples);

// Writes sound `index` as "Play" + index + ".wav" into the working directory
// and returns its name; nothing when the sound's working file is missing.
std::optional<std::string> PreparePlayableSound(const SoundTable& table, std::size_t index,
                                                const std::string& workDirectory);

} // namespace pitwall
