#pragma once
// Sound files from any tool as sounds of the game's bank. The bank holds
// mono PCM samples of 8 or 16 bits at one sample rate per sound; a file in
// another shape (stereo, 24-bit, float, a rate the bank does not use, extra
// chunks) is decoded with libsndfile, mixed down to one channel, resampled
// with libsamplerate and stored in that shape.

#include "formats/SoundBank.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace pitwall {

// UI texts of the sounds taken in. Refusals name the file; 1152 also gives
// the decoder's reason.
inline constexpr int kNotASoundText = 1152;
inline constexpr int kEmptySoundText = 1153;
inline constexpr int kSoundTooLongText = 1154;
// "<file> was converted from <shape> to <shape>."
inline constexpr int kSoundConvertedText = 1155;
// A shape: rate, bits and the channel text (PCM, then floating point).
inline constexpr int kSoundShapeText = 1156;
inline constexpr int kFloatSoundShapeText = 1157;
inline constexpr int kMonoText = 1158;
inline constexpr int kStereoText = 1159;
inline constexpr int kChannelsText = 1160;

// How samples are laid out in a file or in the bank.
struct SoundShape {
    std::uint32_t sampleRate = 0;
    std::uint16_t bits = 0;
    std::uint16_t channels = 0;
    bool floating = false;

    bool operator==(const SoundShape&) const = default;
};

// The shape in a file and the one the bank takes (one channel, 8 or 16
// bits); equal when the samples were taken as they were.
struct SoundConversion {
    SoundShape from;
    SoundShape to;

    bool converted() const { return !(from == to); }
};

// A file's sound as the bank will hold it.
struct BankSound {
    // Mono PCM: unsigned 8-bit or signed 16-bit little-endian samples.
    std::vector<std::uint8_t> samples;
    SoundConversion shape;
};

// The longest sound the bank takes from one file, in bytes of samples.
inline constexpr std::uint64_t kMaxBankSoundBytes = 64ull * 1024 * 1024 - kWavHeaderSize;

// The sound of a file's bytes (`fileName` only names it in messages) for the
// place of `replaced` in a bank whose sounds are `bank`. The rate and bits
// are the file's own where the bank uses them, else those of `replaced`. A
// WAV file in the program's own shape (its header, one channel, 8 or 16 bits)
// is taken as it is. Throws FormatError naming the file when the bytes are
// no sound (kNotASoundText), hold no samples (kEmptySoundText) or would make
// a sound longer than kMaxBankSoundBytes (kSoundTooLongText).
BankSound ConvertForBank(std::span<const std::uint8_t> bytes, std::string_view fileName,
                         const std::vector<SoundEntry>& bank, const SoundEntry& replaced);

} // namespace pitwall
