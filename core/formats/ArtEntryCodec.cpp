#include "formats/ArtEntryCodec.h"

#include "base/ByteReader.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <string>

namespace pitwall {

namespace {

// A word as a single pixel: bit 15 would make it a copy token, and a colour
// that happens to equal the key word must not turn transparent.
ArtWord LiteralWord(ArtWord w)
{
    w &= 0x7FFF;
    return w == kArtKeyWord ? static_cast<ArtWord>(kArtKeyWord - 1) : w;
}

// Four pixels at a time: on a little-endian machine four stream words are
// four picture words in one 64-bit value, each 16-bit lane one pixel.
constexpr bool kFourAtATime = std::endian::native == std::endian::little;
constexpr std::uint64_t kLaneTop = 0x8000800080008000;
constexpr std::uint64_t kLaneRest = 0x7FFF7FFF7FFF7FFF;
constexpr std::uint64_t kKeyLanes = 0x7C1F7C1F7C1F7C1F;

// Bit 15 set in each lane that holds exactly the key word. The low 15 bits
// of a lane added to 0x7FFF reach bit 15 unless they are all zero, and never
// carry into the next lane.
constexpr std::uint64_t KeyLanes(std::uint64_t v)
{
    const std::uint64_t diff = v ^ kKeyLanes;
    return ~(((diff & kLaneRest) + kLaneRest) | diff) & kLaneTop;
}

// LiteralWord of each lane.
constexpr std::uint64_t LiteralWords(std::uint64_t v)
{
    v &= kLaneRest;
    return v - (KeyLanes(v) >> 15);
}

// `count` pixels of colour `w`, four at a time where they can be.
void FillWords(ArtWord* out, std::size_t count, ArtWord w)
{
    if constexpr (kFourAtATime) {
        const std::uint64_t four = w * 0x0001000100010001ull;
        for (; count >= 4; count -= 4, out += 4)
            std::memcpy(out, &four, 8);
    }
    std::fill_n(out, count, w);
}

// The stream is read through plain pointers: a picture is a million words
// or more, and nearly all of them are single pixels.
class EntryDecoder {
public:
    EntryDecoder(std::span<const std::uint8_t> data, ArtPicture& picture, bool singleWordKeys)
        : data_(data), picture_(picture), singleWordKeys_(singleWordKeys)
    {}

    void run()
    {
        const std::uint8_t* p = data_.data();
        const std::uint8_t* const end = p + data_.size();
        ArtWord* const out = picture_.words.data();
        const std::size_t total = picture_.words.size();
        // A key word is a run of keys unless this picture stores keys as
        // single pixels.
        const ArtWord runKey = singleWordKeys_ ? ArtWord{0x8000} : kArtKeyWord;
        std::size_t pos = 0;
        while (pos < total && end - p >= 2) {
            // Most words are single pixels: four of them, none a token, are
            // stored as they stand.
            while (kFourAtATime && total - pos >= 4 && end - p >= 8) {
                std::uint64_t four;
                std::memcpy(&four, p, 8);
                if ((four & kLaneTop) != 0 || (!singleWordKeys_ && KeyLanes(four) != 0))
                    break;
                std::memcpy(out + pos, &four, 8);
                pos += 4;
                p += 8;
            }
            if (pos == total || end - p < 2)
                return;
            const auto w = static_cast<ArtWord>(p[0] | (p[1] << 8));
            p += 2;
            if ((w & 0x8000) == 0 && w != runKey) {
                out[pos++] = w;
                continue;
            }
            if (p == end)
                return;
            const std::uint8_t next = *p++;
            if (w & 0x8000) {
                pos = copy(pos, static_cast<std::uint8_t>(w & 0xFF), static_cast<std::uint8_t>(w >> 8), next);
            } else {
                const std::size_t n = std::min<std::size_t>(next + 1u, total - pos);
                FillWords(out + pos, n, kArtKeyWord);
                pos += n;
            }
        }
    }

private:
    // Copies pixels decoded before from `distance` back, walking in one of
    // eight directions; returns the position after them.
    std::size_t copy(std::size_t pos, std::uint8_t b0, std::uint8_t b1, std::uint8_t b2)
    {
        ArtWord* const words = picture_.words.data();
        const std::size_t total = picture_.words.size();
        const std::int64_t width = picture_.width;
        const std::int64_t height = picture_.height;
        const std::int64_t distance = (b1 & 0x7F) * 1024 + b0 * 4 + (b2 >> 6);
        const int count = kArtCopyCounts[(b2 >> 3) & 7];
        const int dx = kArtCopySteps[b2 & 7][0];
        const int dy = kArtCopySteps[b2 & 7][1];
        // Sides are at most 8192 pixels, so positions fit 32 bits.
        const auto at = static_cast<std::uint32_t>(pos);
        const auto x = static_cast<std::int64_t>(at % picture_.width);
        const auto y = static_cast<std::int64_t>(at / picture_.width);
        std::int64_t sx, sy;
        if (distance <= x) {
            sx = x - distance;
            sy = y;
        } else {
            const std::int64_t e = distance - x;
            const std::int64_t q = e / kArtRowSpan;
            sx = kArtRowSpan - (e - kArtRowSpan * q);
            sy = y - 1 - q;
        }
        // Most copies stay inside the picture from end to end: no row is
        // left or entered on the way, so the source walks by a fixed step.
        // Source and target may overlap; pixels are copied one at a time in
        // order, as below.
        const std::int64_t lastX = sx + dx * (count - 1);
        const std::int64_t lastY = sy + dy * (count - 1);
        if (sx >= 0 && sx < width && lastX >= 0 && lastX < width && sy >= 0 && sy < height && lastY >= 0
            && lastY < height && total - pos >= static_cast<std::size_t>(count)) {
            const std::int64_t step = dy * width + dx;
            std::int64_t from = sy * width + sx;
            if (step == 1 && from + count <= static_cast<std::int64_t>(pos)) {
                std::copy_n(words + from, count, words + pos);
                return pos + static_cast<std::size_t>(count);
            }
            // The previous pixel repeated: an even stretch of one colour.
            if (step == 1 && from + 1 == static_cast<std::int64_t>(pos)) {
                FillWords(words + pos, static_cast<std::size_t>(count), words[from]);
                return pos + static_cast<std::size_t>(count);
            }
            for (int i = 0; i < count; ++i, from += step)
                words[pos++] = words[from];
            return pos;
        }
        for (int i = 0; i < count && pos < total; ++i) {
            if (sx < 0) {
                sx = width - 1;
                --sy;
            } else if (sx >= width) {
                sx = 0;
                ++sy;
            }
            ArtWord c = 0;
            if (sy >= 0 && sy < height)
                c = words[static_cast<std::size_t>(sy * width + sx)];
            words[pos++] = c;
            sx += dx;
            sy += dy;
        }
        return pos;
    }

    std::span<const std::uint8_t> data_;
    ArtPicture& picture_;
    bool singleWordKeys_;
};

} // namespace

ArtPicture DecodeArtEntry(std::span<const std::uint8_t> data, std::uint32_t width, std::uint32_t height,
                          bool singleWordKeys)
{
    ArtPicture picture;
    DecodeArtEntry(data, width, height, singleWordKeys, picture);
    return picture;
}

void DecodeArtEntry(std::span<const std::uint8_t> data, std::uint32_t width, std::uint32_t height, bool singleWordKeys,
                    ArtPicture& picture)
{
    if (width > kMaxArtSide || height > kMaxArtSide)
        throw FormatError("an art-bank entry of " + std::to_string(width) + " x " + std::to_string(height)
                          + " pixels is larger than any picture of the game");
    picture.width = width;
    picture.height = height;
    picture.words.assign(static_cast<std::size_t>(width) * height, 0);
    if (width > 0 && height > 0)
        EntryDecoder(data, picture, singleWordKeys).run();
}

std::vector<std::uint8_t> EncodeArtEntry(const ArtPicture& picture, bool singleWordKeys)
{
    std::vector<std::uint8_t> stream;
    EncodeArtEntry(picture, singleWordKeys, stream);
    return stream;
}

void EncodeArtEntry(const ArtPicture& picture, bool singleWordKeys, std::vector<std::uint8_t>& stream)
{
    const std::size_t width = picture.width;
    // A row takes three bytes a pixel at most (isolated key pixels), two for
    // anything else. Rows are encoded straight into the stream, which is kept
    // a row's room ahead of the writing and cut to its length at the end.
    const std::size_t rowRoom = width * 3;
    std::size_t n = 0;
    if (stream.size() < picture.words.size() * 2 + rowRoom)
        stream.resize(picture.words.size() * 2 + rowRoom);
    std::uint8_t* out = stream.data();
    auto word = [&](ArtWord v) {
        out[n] = static_cast<std::uint8_t>(v);
        out[n + 1] = static_cast<std::uint8_t>(v >> 8);
        n += 2;
    };
    for (std::uint32_t y = 0; y < picture.height; ++y) {
        if (stream.size() - n < rowRoom) {
            stream.resize(stream.size() + stream.size() / 2 + rowRoom);
            out = stream.data();
        }
        const ArtWord* row = picture.words.data() + static_cast<std::size_t>(y) * width;
        std::size_t x = 0;
        if (singleWordKeys) {
            for (; kFourAtATime && width - x >= 4; x += 4, n += 8) {
                std::uint64_t four;
                std::memcpy(&four, row + x, 8);
                // A key pixel stays the key word; LiteralWord for the rest.
                const std::uint64_t rest = four & kLaneRest;
                four = rest - ((KeyLanes(rest) & ~KeyLanes(four)) >> 15);
                std::memcpy(out + n, &four, 8);
            }
            for (; x < width; ++x)
                word(row[x] == kArtKeyWord ? kArtKeyWord : LiteralWord(row[x]));
            continue;
        }
        while (x < width) {
            std::size_t keys = 0;
            while (x + keys < width && keys < kMaxKeyRun && row[x + keys] == kArtKeyWord)
                ++keys;
            if (keys > 0) {
                word(kArtKeyWord);
                out[n++] = static_cast<std::uint8_t>(keys - 1);
                x += keys;
                continue;
            }
            // Pixels up to the next key pixel, each its own word. (The
            // format's groups of up to 127 of them have no mark of their
            // own in the stream.)
            for (; kFourAtATime && width - x >= 4; x += 4, n += 8) {
                std::uint64_t four;
                std::memcpy(&four, row + x, 8);
                if (KeyLanes(four) != 0)
                    break;
                four = LiteralWords(four);
                std::memcpy(out + n, &four, 8);
            }
            for (; x < width && row[x] != kArtKeyWord; ++x)
                word(LiteralWord(row[x]));
        }
    }
    stream.resize(n);
}

} // namespace pitwall
