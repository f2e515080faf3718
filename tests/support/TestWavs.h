#pragma once
// Sound files as common tools write them, made with libsndfile itself: a
// sine in any rate, sample format and number of channels.

#include <sndfile.h>

#include <cmath>
#include <numbers>
#include <stdexcept>
#include <string>
#include <vector>

namespace pitwall::test {

struct SineWav {
    int rate = 22050;
    // SF_FORMAT_PCM_16, SF_FORMAT_PCM_U8, SF_FORMAT_PCM_24, SF_FORMAT_FLOAT, ...
    int sampleFormat = SF_FORMAT_PCM_16;
    // One amplitude per channel; the channels carry the same sine.
    std::vector<double> amplitudes = {0.5};
    int frames = 11025;
    double frequency = 440;

    // What a mix-down to one channel gives at time t.
    double mono(double t) const
    {
        double sum = 0;
        for (double a : amplitudes)
            sum += a;
        return sum / static_cast<double>(amplitudes.size()) * std::sin(2 * std::numbers::pi * frequency * t);
    }
};

inline void WriteSineWav(const std::string& path, const SineWav& wav)
{
    SF_INFO info{};
    info.samplerate = wav.rate;
    info.channels = static_cast<int>(wav.amplitudes.size());
    info.format = SF_FORMAT_WAV | wav.sampleFormat;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file)
        throw std::runtime_error("libsndfile cannot write " + path + ": " + sf_strerror(nullptr));
    std::vector<double> frames;
    for (int f = 0; f < wav.frames; ++f)
        for (double a : wav.amplitudes)
            frames.push_back(a * std::sin(2 * std::numbers::pi * wav.frequency * f / wav.rate));
    sf_writef_double(file, frames.data(), wav.frames);
    sf_close(file);
}

// Writes 16-bit or 8-bit mono samples as the bank holds them into a WAV file
// of the standard kind (RIFF size as it should be, block align set).
inline void RewriteSamples(const std::string& path, int rate, int bits, const std::vector<std::uint8_t>& samples)
{
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | (bits == 8 ? SF_FORMAT_PCM_U8 : SF_FORMAT_PCM_16);
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file)
        throw std::runtime_error("libsndfile cannot write " + path + ": " + sf_strerror(nullptr));
    std::vector<short> values;
    if (bits == 8) {
        for (std::uint8_t b : samples)
            values.push_back(static_cast<short>((b - 128) * 256));
    } else {
        for (std::size_t i = 0; i + 1 < samples.size(); i += 2)
            values.push_back(static_cast<short>(samples[i] | (samples[i + 1] << 8)));
    }
    sf_write_short(file, values.data(), static_cast<sf_count_t>(values.size()));
    sf_close(file);
}

} // namespace pitwall::test
