#include "formats/Png.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace pitwall {

namespace {

std::uint32_t Crc32(std::span<const std::uint8_t> bytes, std::uint32_t crc = 0)
{
    static const auto table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (std::uint8_t b : bytes)
        crc = table[(crc ^ b) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

void PutU32BigEndian(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(v >> shift));
}

void Chunk(std::vector<std::uint8_t>& out, std::string_view type, const std::vector<std::uint8_t>& data)
{
    PutU32BigEndian(out, static_cast<std::uint32_t>(data.size()));
    std::vector<std::uint8_t> typed(type.begin(), type.end());
    typed.insert(typed.end(), data.begin(), data.end());
    out.insert(out.end(), typed.begin(), typed.end());
    PutU32BigEndian(out, Crc32(typed));
}

} // namespace

std::vector<std::uint8_t> EncodePng(const Image& image)
{
    std::vector<std::uint8_t> raw;
    raw.reserve(static_cast<std::size_t>(image.height()) * (1 + 3 * static_cast<std::size_t>(image.width())));
    for (int y = 0; y < image.height(); ++y) {
        raw.push_back(0); // no filter
        for (Pixel p : image.row(y)) {
            raw.push_back(static_cast<std::uint8_t>(RedOf(p)));
            raw.push_back(static_cast<std::uint8_t>(GreenOf(p)));
            raw.push_back(static_cast<std::uint8_t>(BlueOf(p)));
        }
    }
    // zlib stream of stored blocks of at most 65535 bytes.
    std::vector<std::uint8_t> z = {0x78, 0x01};
    std::size_t at = 0;
    do {
        const std::size_t n = std::min<std::size_t>(65535, raw.size() - at);
        const bool last = at + n == raw.size();
        z.push_back(last ? 1 : 0);
        z.push_back(static_cast<std::uint8_t>(n));
        z.push_back(static_cast<std::uint8_t>(n >> 8));
        z.push_back(static_cast<std::uint8_t>(~n));
        z.push_back(static_cast<std::uint8_t>(~n >> 8));
        z.insert(z.end(), raw.begin() + static_cast<std::ptrdiff_t>(at),
                 raw.begin() + static_cast<std::ptrdiff_t>(at + n));
        at += n;
    } while (at < raw.size());
    std::uint32_t a = 1, b = 0;
    for (std::uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    PutU32BigEndian(z, (b << 16) | a);

    std::vector<std::uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> header;
    PutU32BigEndian(header, static_cast<std::uint32_t>(image.width()));
    PutU32BigEndian(header, static_cast<std::uint32_t>(image.height()));
    header.insert(header.end(), {8, 2, 0, 0, 0}); // 8 bits, RGB, deflate, no filter, no interlace
    Chunk(out, "IHDR", header);
    Chunk(out, "IDAT", z);
    Chunk(out, "IEND", {});
    return out;
}

} // namespace pitwall
