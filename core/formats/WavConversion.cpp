#include "formats/WavConversion.h"

#include "base/FormatError.h"

#include <samplerate.h>
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

namespace pitwall {

namespace {

// The longest input decoded, in frames: over six minutes at 44.1 kHz, far
// more than any sound of the game, and 64 MB of mixed-down samples at most.
constexpr sf_count_t kMaxDecodedFrames = 16 * 1024 * 1024;
constexpr sf_count_t kFramesPerRead = 1024;

// libsndfile reads the bytes in memory through these.
struct MemoryStream {
    std::span<const std::uint8_t> bytes;
    sf_count_t position = 0;
};

sf_count_t StreamLength(void* user) { return static_cast<sf_count_t>(static_cast<MemoryStream*>(user)->bytes.size()); }

sf_count_t StreamSeek(sf_count_t offset, int whence, void* user)
{
    auto* s = static_cast<MemoryStream*>(user);
    const sf_count_t size = static_cast<sf_count_t>(s->bytes.size());
    sf_count_t base = whence == SEEK_CUR ? s->position : whence == SEEK_END ? size : 0;
    // Out-of-range seeks are clamped; reads past the end give nothing.
    if (offset < -base)
        s->position = 0;
    else if (offset > size - base)
        s->position = size;
    else
        s->position = base + offset;
    return s->position;
}

sf_count_t StreamRead(void* to, sf_count_t count, void* user)
{
    auto* s = static_cast<MemoryStream*>(user);
    const sf_count_t size = static_cast<sf_count_t>(s->bytes.size());
    const sf_count_t take = std::clamp<sf_count_t>(count, 0, size - s->position);
    if (take > 0)
        std::memcpy(to, s->bytes.data() + s->position, static_cast<std::size_t>(take));
    // libsndfile does not always look at how much a read gave: on a file
    // shorter than a header it would go on with what its buffer held before
    // (the header of the file opened last). What is missing reads as zeros.
    if (count > take)
        std::memset(static_cast<char*>(to) + take, 0, static_cast<std::size_t>(count - take));
    s->position += take;
    return take;
}

sf_count_t StreamWrite(const void*, sf_count_t, void*) { return 0; }

sf_count_t StreamTell(void* user) { return static_cast<MemoryStream*>(user)->position; }

struct SndfileCloser {
    void operator()(SNDFILE* file) const { sf_close(file); }
};

SoundShape ShapeOf(const SF_INFO& info)
{
    SoundShape shape;
    shape.sampleRate = static_cast<std::uint32_t>(info.samplerate);
    shape.channels = static_cast<std::uint16_t>(info.channels);
    switch (info.format & SF_FORMAT_SUBMASK) {
    case SF_FORMAT_PCM_S8:
    case SF_FORMAT_PCM_U8: shape.bits = 8; break;
    case SF_FORMAT_PCM_24: shape.bits = 24; break;
    case SF_FORMAT_PCM_32: shape.bits = 32; break;
    case SF_FORMAT_FLOAT:
        shape.bits = 32;
        shape.floating = true;
        break;
    case SF_FORMAT_DOUBLE:
        shape.bits = 64;
        shape.floating = true;
        break;
    default: shape.bits = 16; break;
    }
    return shape;
}

// The shape the bank takes for a file of shape `file`.
SoundShape TargetShape(const SoundShape& file, const std::vector<SoundEntry>& bank, const SoundEntry& replaced)
{
    auto bankUsesRate = [&](std::uint32_t rate) {
        return std::any_of(bank.begin(), bank.end(), [&](const SoundEntry& e) { return e.sampleRate == rate; });
    };
    auto bankUsesBits = [&](std::uint16_t bits) {
        return std::any_of(bank.begin(), bank.end(), [&](const SoundEntry& e) { return e.bits == bits; });
    };
    SoundShape to;
    to.channels = 1;
    if (file.sampleRate > 0 && file.sampleRate <= UINT16_MAX && bankUsesRate(file.sampleRate))
        to.sampleRate = file.sampleRate;
    else if (replaced.sampleRate > 0)
        to.sampleRate = replaced.sampleRate;
    else
        to.sampleRate = std::clamp<std::uint32_t>(file.sampleRate, 1, UINT16_MAX);
    if (!file.floating && (file.bits == 8 || file.bits == 16) && bankUsesBits(file.bits))
        to.bits = file.bits;
    else if (replaced.bits == 8 || replaced.bits == 16)
        to.bits = replaced.bits;
    else
        to.bits = 16;
    return to;
}

[[noreturn]] void Refuse(int text, std::string_view fileName, std::string reason = {})
{
    if (reason.empty())
        throw FormatError(text, Args(std::string(fileName)));
    throw FormatError(text, Args(std::string(fileName), reason));
}

// The file's frames mixed down to one channel.
std::vector<float> DecodeMono(SNDFILE* file, const SF_INFO& info, std::string_view fileName)
{
    const auto channels = static_cast<std::size_t>(info.channels);
    std::vector<float> buffer(static_cast<std::size_t>(kFramesPerRead) * channels);
    std::vector<float> mono;
    if (info.frames > 0)
        mono.reserve(static_cast<std::size_t>(std::min(info.frames, kMaxDecodedFrames)));
    for (;;) {
        const sf_count_t got = sf_readf_float(file, buffer.data(), kFramesPerRead);
        if (got <= 0)
            break;
        if (static_cast<sf_count_t>(mono.size()) + got > kMaxDecodedFrames)
            Refuse(kSoundTooLongText, fileName);
        for (sf_count_t f = 0; f < got; ++f) {
            const float* frame = buffer.data() + static_cast<std::size_t>(f) * channels;
            float sum = 0;
            for (std::size_t c = 0; c < channels; ++c)
                sum += frame[c];
            mono.push_back(sum / static_cast<float>(channels));
        }
    }
    return mono;
}

std::vector<float> Resample(const std::vector<float>& in, std::uint32_t fromRate, std::uint32_t toRate,
                            std::string_view fileName)
{
    const double ratio = static_cast<double>(toRate) / fromRate;
    const std::string cannot = "its sample rate of " + std::to_string(fromRate) + " Hz cannot be converted to "
                               + std::to_string(toRate) + " Hz";
    if (!src_is_valid_ratio(ratio))
        Refuse(kNotASoundText, fileName, cannot);
    const double wanted = std::round(static_cast<double>(in.size()) * ratio);
    if (wanted > static_cast<double>(kMaxBankSoundBytes))
        Refuse(kSoundTooLongText, fileName);
    const auto frames = static_cast<std::size_t>(wanted);
    std::vector<float> out(frames + 64);
    SRC_DATA data{};
    data.data_in = in.data();
    data.input_frames = static_cast<long>(in.size());
    data.data_out = out.data();
    data.output_frames = static_cast<long>(out.size());
    data.src_ratio = ratio;
    if (int error = src_simple(&data, SRC_SINC_MEDIUM_QUALITY, 1))
        Refuse(kNotASoundText, fileName, cannot + " (" + src_strerror(error) + ")");
    // The converter may end a few frames short of the exact length; the
    // sound keeps the duration of the file.
    out.resize(static_cast<std::size_t>(data.output_frames_gen));
    out.resize(std::max<std::size_t>(frames, 1), out.empty() ? 0.0f : out.back());
    return out;
}

std::vector<std::uint8_t> Quantise(const std::vector<float>& mono, std::uint16_t bits)
{
    std::vector<std::uint8_t> out;
    out.reserve(mono.size() * (bits / 8));
    for (float v : mono) {
        const double x = std::isfinite(v) ? static_cast<double>(v) : 0.0;
        if (bits == 8) {
            out.push_back(static_cast<std::uint8_t>(std::clamp(std::lround(x * 128.0) + 128, 0L, 255L)));
        } else {
            const auto s = static_cast<std::int16_t>(std::clamp(std::lround(x * 32768.0), -32768L, 32767L));
            const auto u = static_cast<std::uint16_t>(s);
            out.push_back(static_cast<std::uint8_t>(u & 0xFF));
            out.push_back(static_cast<std::uint8_t>(u >> 8));
        }
    }
    return out;
}

} // namespace

BankSound ConvertForBank(std::span<const std::uint8_t> bytes, std::string_view fileName,
                         const std::vector<SoundEntry>& bank, const SoundEntry& replaced)
{
    BankSound sound;
    // The program's own files and plain mono PCM in a shape the bank takes
    // keep their samples exactly.
    auto keep = [&](const WavData& data) {
        if (data.samples.size() > kMaxBankSoundBytes)
            Refuse(kSoundTooLongText, fileName);
        if (data.samples.empty())
            Refuse(kEmptySoundText, fileName);
        sound.samples.assign(data.samples.begin(), data.samples.end());
        sound.shape.from = {data.sampleRate, data.bits, 1, false};
        sound.shape.to = sound.shape.from;
        return sound;
    };
    if (auto own = CheckSoundWav(bytes))
        return keep(*own);
    if (auto plain = FindWavData(bytes); plain && plain->format == 1 && plain->channels == 1) {
        const SoundShape shape{plain->sampleRate, plain->bits, 1, false};
        if (TargetShape(shape, bank, replaced) == shape)
            return keep(*plain);
    }

    MemoryStream stream{bytes};
    SF_VIRTUAL_IO io{StreamLength, StreamSeek, StreamRead, StreamWrite, StreamTell};
    SF_INFO info{};
    std::unique_ptr<SNDFILE, SndfileCloser> file(sf_open_virtual(&io, SFM_READ, &info, &stream));
    if (!file)
        Refuse(kNotASoundText, fileName, sf_strerror(nullptr));
    if (info.channels <= 0 || info.samplerate <= 0)
        Refuse(kNotASoundText, fileName, "it gives no channels or no sample rate");
    sound.shape.from = ShapeOf(info);
    sound.shape.to = TargetShape(sound.shape.from, bank, replaced);
    std::vector<float> mono = DecodeMono(file.get(), info, fileName);
    if (mono.empty())
        Refuse(kEmptySoundText, fileName);
    if (sound.shape.from.sampleRate != sound.shape.to.sampleRate)
        mono = Resample(mono, sound.shape.from.sampleRate, sound.shape.to.sampleRate, fileName);
    if (mono.size() * (sound.shape.to.bits / 8) > kMaxBankSoundBytes)
        Refuse(kSoundTooLongText, fileName);
    sound.samples = Quantise(mono, sound.shape.to.bits);
    return sound;
}

} // namespace pitwall
