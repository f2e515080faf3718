// WAV files a user replaces sounds with, and the carset's sound table: any
// bytes are read without fault, and the samples found always lie inside the
// file.

#include "formats/SoundBank.h"

#include <cstdlib>

using namespace pitwall;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> bytes(data, size);
    if (auto wav = FindWavData(bytes)) {
        if (!wav->samples.empty()
            && (wav->samples.data() < data || wav->samples.data() + wav->samples.size() > data + size))
            std::abort();
    }
    if (auto header = ReadWavHeader(bytes)) {
        auto samples = WavSamples(bytes, header->dataSize);
        if (samples.size() > header->dataSize || (!samples.empty() && samples.data() + samples.size() > data + size))
            std::abort();
    }
    (void)HasGameWavSignature(bytes);
    (void)ParseSoundsDat(bytes);
    return 0;
}
