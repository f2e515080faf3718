// Sound bank directory and data: any bytes give what they hold; a complete
// bank builds back into the same bytes (but for the ignored word at 2).

#include "formats/SoundBank.h"

#include <cstdlib>

using namespace pitwall;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::span<const std::uint8_t> bytes(data, size);
    SoundBankParse parsed = ParseSoundBank(bytes);
    if (parsed.bank.entries.size() > kMaxSounds || parsed.bank.samples.size() != parsed.bank.entries.size())
        std::abort();
    auto built = BuildSoundBank(parsed.bank);
    SoundBankParse again = ParseSoundBank(built);
    if (again.truncated || again.bank.entries != parsed.bank.entries)
        std::abort();
    if (!parsed.truncated && !parsed.tooManySounds) {
        // Bytes after the last sound are not part of the bank.
        if (built.size() > size || !std::equal(built.begin() + 4, built.end(), bytes.begin() + 4))
            std::abort();
    }
    // Sounds.DAT and the WAV header readers take any bytes too.
    ParseSoundsDat(bytes);
    ReadWavHeader(bytes);
    WavSamples(bytes, 1000);
    return 0;
}
