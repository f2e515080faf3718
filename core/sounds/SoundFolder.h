#pragma once
// All sounds at once as WAV files in a folder of the user's: extracted as
// "Sound" + index + ".WAV", and taken back from files of that name.

#include "formats/SoundBankFiles.h"

#include <string>
#include <vector>

namespace pitwall {

class Messenger;

std::string SoundWavName(std::size_t index);

// Copies every sound's working file into `folder` as Sound<i>.WAV. Returns
// the working files that could not be copied (missing or unwritable target).
std::vector<std::string> ExtractAllSounds(const SoundTable& table, const std::string& workDirectory,
                                          const std::string& folder);

// Takes in every Sound<i>.WAV of `folder` as sound i. The name is matched
// without regard to letter case, so what ExtractAllSounds wrote is found again
// on any file system (and a SOUND3.WAV from Windows as well). Files in
// another shape than the game's sounds are converted (listed in `converted`
// when given); a file that is no sound or empty is reported naming it and
// skipped. Returns the sounds replaced.
struct ConvertedSound {
    std::string file;
    SoundConversion conversion;
};
std::vector<std::size_t> ReplaceAllSounds(SoundTable& table, const std::string& folder,
                                          const std::string& workDirectory, Messenger* messenger,
                                          std::vector<ConvertedSound>* converted = nullptr);

} // namespace pitwall
