#include "formats/ArtEntryCodec.h"

#include "formats/ByteReader.h"
#include "formats/ByteWriter.h"

#include <algorithm>
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

class EntryDecoder {
public:
    EntryDecoder(std::span<const std::uint8_t> data, ArtPicture& picture, bool singleWordKeys)
        : reader_(data), picture_(picture), singleWordKeys_(singleWordKeys), total_(picture.words.size())
    {
    }

    void run()
    {
        while (pos_ < total_ && reader_.remaining() >= 2) {
            ArtWord w = reader_.u16();
            if (w & 0x8000) {
                if (reader_.atEnd())
                    return;
                copy(static_cast<std::uint8_t>(w & 0xFF), static_cast<std::uint8_t>(w >> 8), reader_.u8());
            } else if (w == kArtKeyWord && !singleWordKeys_) {
                if (reader_.atEnd())
                    return;
                std::size_t n = std::min<std::size_t>(reader_.u8() + 1u, total_ - pos_);
                std::fill_n(picture_.words.begin() + static_cast<std::ptrdiff_t>(pos_), n, kArtKeyWord);
                pos_ += n;
            } else {
                picture_.words[pos_++] = w;
            }
        }
    }

private:
    void copy(std::uint8_t b0, std::uint8_t b1, std::uint8_t b2)
    {
        const std::int64_t width = picture_.width;
        const std::int64_t height = picture_.height;
        const std::int64_t distance = (b1 & 0x7F) * 1024 + b0 * 4 + (b2 >> 6);
        const int count = kArtCopyCounts[(b2 >> 3) & 7];
        const int dx = kArtCopySteps[b2 & 7][0];
        const int dy = kArtCopySteps[b2 & 7][1];
        const std::int64_t x = static_cast<std::int64_t>(pos_ % picture_.width);
        const std::int64_t y = static_cast<std::int64_t>(pos_ / picture_.width);
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
        for (int i = 0; i < count && pos_ < total_; ++i) {
            if (sx < 0) {
                sx = width - 1;
                --sy;
            } else if (sx >= width) {
                sx = 0;
                ++sy;
            }
            ArtWord c = 0;
            if (sy >= 0 && sy < height)
                c = picture_.words[static_cast<std::size_t>(sy * width + sx)];
            picture_.words[pos_++] = c;
            sx += dx;
            sy += dy;
        }
    }

    ByteReader reader_;
    ArtPicture& picture_;
    bool singleWordKeys_;
    std::size_t total_;
    std::size_t pos_ = 0;
};

} // namespace

ArtPicture DecodeArtEntry(std::span<const std::uint8_t> data, std::uint32_t width, std::uint32_t height,
                          bool singleWordKeys)
{
    ArtPicture picture;
    DecodeArtEntry(data, width, height, singleWordKeys, picture);
    return picture;
}

void DecodeArtEntry(std::span<const std::uint8_t> data, std::uint32_t width, std::uint32_t height,
                    bool singleWordKeys, ArtPicture& picture)
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
    stream.clear();
    ByteWriter w(std::move(stream));
    // Two bytes a pixel at most, unless isolated key pixels make it longer.
    w.reserve(picture.words.size() * 2 + 16);
    const std::uint32_t width = picture.width;
    // Each row is encoded into `tokens` first (three bytes a pixel at most)
    // and added to the stream in one piece.
    std::vector<std::uint8_t> tokens(static_cast<std::size_t>(width) * 3);
    for (std::uint32_t y = 0; y < picture.height; ++y) {
        const ArtWord* row = picture.words.data() + static_cast<std::size_t>(y) * width;
        std::size_t n = 0;
        auto word = [&](ArtWord v) {
            tokens[n++] = static_cast<std::uint8_t>(v);
            tokens[n++] = static_cast<std::uint8_t>(v >> 8);
        };
        std::uint32_t x = 0;
        while (x < width) {
            if (singleWordKeys) {
                ArtWord c = row[x++];
                word(c == kArtKeyWord ? kArtKeyWord : LiteralWord(c));
                continue;
            }
            std::uint32_t keys = 0;
            while (x + keys < width && keys < kMaxKeyRun && row[x + keys] == kArtKeyWord)
                ++keys;
            if (keys > 0) {
                word(kArtKeyWord);
                tokens[n++] = static_cast<std::uint8_t>(keys - 1);
                x += keys;
                continue;
            }
            for (int k = 0; k < kMaxLiteralGroup && x < width && row[x] != kArtKeyWord; ++k)
                word(LiteralWord(row[x++]));
        }
        w.bytes(std::span(tokens).first(n));
    }
    stream = w.take();
}

} // namespace pitwall
