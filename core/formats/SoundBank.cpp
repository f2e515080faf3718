#include "formats/SoundBank.h"

#include "base/ByteReader.h"
#include "base/ByteWriter.h"

#include <algorithm>
#include <cstring>

namespace pitwall {

namespace {

void PutTag(ByteWriter& w, const char (&tag)[5])
{
    for (int i = 0; i < 4; ++i)
        w.u8(static_cast<std::uint8_t>(tag[i]));
}

bool HasTag(std::span<const std::uint8_t> bytes, std::size_t at, const char (&tag)[5])
{
    return bytes.size() >= at + 4 && std::memcmp(bytes.data() + at, tag, 4) == 0;
}

} // namespace

SoundBankParse ParseSoundBank(std::span<const std::uint8_t> bytes)
{
    SoundBankParse result;
    ByteReader r(bytes);
    if (r.remaining() < 4) {
        result.truncated = true;
        return result;
    }
    result.declaredCount = r.u16();
    r.skip(2);
    if (result.declaredCount > kMaxSounds) {
        result.tooManySounds = true;
        return result;
    }
    auto& bank = result.bank;
    for (std::uint32_t i = 0; i < result.declaredCount; ++i) {
        if (r.remaining() < 12) {
            result.truncated = true;
            break;
        }
        SoundEntry e;
        e.dataSize = r.u32();
        e.sampleRate = r.u16();
        e.keptWord = r.u32();
        e.bits = r.u16();
        bank.entries.push_back(e);
    }
    // A cut directory leaves the data position unknown; its sounds get no
    // samples. A sound the data does not hold completely keeps what there is,
    // and its size says so.
    for (SoundEntry& e : bank.entries) {
        std::size_t take = result.truncated ? 0 : std::min<std::size_t>(e.dataSize, r.remaining());
        if (take < e.dataSize) {
            result.truncated = true;
            e.dataSize = static_cast<std::uint32_t>(take);
        } else {
            ++result.completeCount;
        }
        auto samples = r.bytes(take);
        bank.samples.emplace_back(samples.begin(), samples.end());
    }
    return result;
}

KeptWordLayout KeptWordLayoutOf(const SoundBank& bank)
{
    if (bank.entries.empty())
        return KeptWordLayout::AsTheyWere;
    const std::uint64_t dataStart = 4 + 12 * static_cast<std::uint64_t>(bank.entries.size());
    bool data = true, file = true;
    std::uint64_t position = 0;
    for (const SoundEntry& e : bank.entries) {
        data = data && e.keptWord == position;
        file = file && e.keptWord == dataStart + position;
        position += e.dataSize;
    }
    return data ? KeptWordLayout::DataPosition : file ? KeptWordLayout::FilePosition : KeptWordLayout::AsTheyWere;
}

std::vector<std::uint8_t> BuildSoundBank(const SoundBank& bank, KeptWordLayout layout)
{
    // Each sound's directory size is what the bank really holds of it: a sound
    // shorter than its recorded size (a cut working file) gets the shorter
    // size rather than bytes the bank does not have.
    auto samplesOf = [&](std::size_t i) {
        std::span<const std::uint8_t> samples;
        if (i < bank.samples.size())
            samples = bank.samples[i];
        return samples.first(std::min<std::size_t>(samples.size(), bank.entries[i].dataSize));
    };
    ByteWriter w;
    w.u16(static_cast<std::uint16_t>(bank.entries.size()));
    w.u16(0);
    std::uint64_t position = layout == KeptWordLayout::FilePosition ? 4 + 12 * bank.entries.size() : 0;
    for (std::size_t i = 0; i < bank.entries.size(); ++i) {
        const SoundEntry& e = bank.entries[i];
        const std::size_t size = samplesOf(i).size();
        w.u32(static_cast<std::uint32_t>(size));
        w.u16(e.sampleRate);
        w.u32(layout == KeptWordLayout::AsTheyWere ? e.keptWord : static_cast<std::uint32_t>(position));
        w.u16(e.bits);
        position += size;
    }
    for (std::size_t i = 0; i < bank.entries.size(); ++i)
        w.bytes(samplesOf(i));
    return w.take();
}

std::vector<std::uint8_t> MakeWavHeader(std::uint16_t channels, std::uint16_t bits, std::uint32_t dataSize,
                                        std::uint32_t sampleRate)
{
    ByteWriter w;
    PutTag(w, "RIFF");
    w.u32(kGameWavRiffSize);
    PutTag(w, "WAVE");
    PutTag(w, "fmt ");
    w.u32(16);
    w.u16(1);
    w.u16(channels);
    w.u32(sampleRate);
    // The game's own headers give channels x sample rate and a block align of
    // 1 even for 16-bit sounds; the program writes them the same way.
    w.u32(channels * sampleRate);
    w.u16(1);
    w.u16(bits);
    PutTag(w, "data");
    w.u32(dataSize);
    return w.take();
}

std::vector<std::uint8_t> MakeSoundWav(const SoundEntry& entry, std::span<const std::uint8_t> samples)
{
    std::vector<std::uint8_t> out = MakeWavHeader(1, entry.bits, entry.dataSize, entry.sampleRate);
    out.insert(out.end(), samples.begin(), samples.end());
    return out;
}

std::optional<WavHeader> ReadWavHeader(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() < kWavHeaderSize)
        return std::nullopt;
    ByteReader r(bytes);
    WavHeader h;
    r.seek(4);
    h.riffSize = r.u32();
    r.seek(20);
    h.format = r.u16();
    h.channels = r.u16();
    h.sampleRate = r.u32();
    h.byteRate = r.u32();
    h.blockAlign = r.u16();
    h.bits = r.u16();
    r.seek(40);
    h.dataSize = r.u32();
    return h;
}

bool HasGameWavSignature(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() < 16 || !HasTag(bytes, 0, "RIFF") || !HasTag(bytes, 8, "WAVE") || !HasTag(bytes, 12, "fmt "))
        return false;
    ByteReader r(bytes);
    r.seek(4);
    return r.u32() == kGameWavRiffSize;
}

std::span<const std::uint8_t> WavSamples(std::span<const std::uint8_t> bytes, std::uint32_t dataSize)
{
    if (bytes.size() <= kWavHeaderSize)
        return {};
    auto samples = bytes.subspan(kWavHeaderSize);
    return samples.first(std::min<std::size_t>(samples.size(), dataSize));
}

std::optional<WavData> FindWavData(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() < 12 || !HasTag(bytes, 0, "RIFF") || !HasTag(bytes, 8, "WAVE"))
        return std::nullopt;
    WavData found;
    bool haveFormat = false;
    std::size_t at = 12;
    // Each chunk: a 4-byte tag, a 4-byte size, the body, a pad byte when odd
    // (the last chunk's pad byte may be missing: `at` can pass the end).
    while (at <= bytes.size() && bytes.size() - at >= 8) {
        ByteReader r(bytes);
        r.seek(at + 4);
        const std::uint64_t size = r.u32();
        const std::size_t body = at + 8;
        const std::size_t available = bytes.size() - body;
        if (HasTag(bytes, at, "fmt ")) {
            if (size < 16 || available < 16)
                return std::nullopt;
            r.seek(body);
            found.format = r.u16();
            found.channels = r.u16();
            found.sampleRate = r.u32();
            r.skip(6);
            found.bits = r.u16();
            haveFormat = true;
        } else if (HasTag(bytes, at, "data")) {
            if (!haveFormat)
                return std::nullopt;
            found.samples = bytes.subspan(body, static_cast<std::size_t>(std::min<std::uint64_t>(size, available)));
            return found;
        }
        if (size > available)
            return std::nullopt;
        at = body + static_cast<std::size_t>(size) + (size & 1);
    }
    return std::nullopt;
}

std::optional<WavData> CheckSoundWav(std::span<const std::uint8_t> bytes, std::string* problem)
{
    auto refuse = [&](std::string why) -> std::optional<WavData> {
        if (problem)
            *problem = std::move(why);
        return std::nullopt;
    };
    if (!HasGameWavSignature(bytes))
        return refuse("it does not start with the header of the game's sounds");
    auto data = FindWavData(bytes);
    if (!data)
        return refuse("its \"fmt \" or \"data\" chunk is missing or runs past the end of the file");
    // The bank records neither channels nor a rate above 16 bits: such a
    // sound would play as noise or at the wrong speed.
    if (data->channels != 1)
        return refuse("it has " + std::to_string(data->channels) + " channels; the game's sounds have one");
    if (data->bits != 8 && data->bits != 16)
        return refuse("it has " + std::to_string(data->bits) + " bits per sample; the game's sounds have 8 or 16");
    if (data->sampleRate == 0 || data->sampleRate > UINT16_MAX)
        return refuse("its sample rate of " + std::to_string(data->sampleRate)
                      + " Hz is not one the sound bank can hold (1 to 65535 Hz)");
    if (data->samples.size() > UINT32_MAX)
        return refuse("it holds more samples than the sound bank can record");
    return data;
}

std::vector<std::uint8_t> BuildSoundsDat(const std::vector<SoundEntry>& entries)
{
    ByteWriter w;
    std::size_t count = std::min(entries.size(), kMaxSounds);
    w.u16(static_cast<std::uint16_t>(count));
    for (std::size_t i = 0; i < kMaxSounds; ++i) {
        SoundEntry e = i < count ? entries[i] : SoundEntry{};
        w.u32(e.dataSize);
        w.u16(e.sampleRate);
        w.u16(0);
        w.u32(e.keptWord);
        w.u16(e.bits);
        w.u16(0);
    }
    return w.take();
}

std::vector<SoundEntry> ParseSoundsDat(std::span<const std::uint8_t> bytes)
{
    std::vector<SoundEntry> entries;
    ByteReader r(bytes);
    if (r.remaining() < 2)
        return entries;
    std::size_t count = std::min<std::size_t>(r.u16(), kMaxSounds);
    for (std::size_t i = 0; i < count && r.remaining() >= 16; ++i) {
        SoundEntry e;
        e.dataSize = r.u32();
        e.sampleRate = r.u16();
        r.skip(2);
        e.keptWord = r.u32();
        e.bits = r.u16();
        r.skip(2);
        entries.push_back(e);
    }
    return entries;
}

} // namespace pitwall
