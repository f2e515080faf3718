#include "formats/Jam16Codec.h"

#include "base/ByteReader.h"
#include "formats/JamError.h"

namespace pitwall {

namespace {

// Bytes of the header looked at one by one, refusing any position past the
// end with the reason given.
class HeaderBytes {
public:
    explicit HeaderBytes(std::span<const std::uint8_t> file) : reader_(file) {}
    std::size_t size() const { return reader_.size(); }
    std::uint8_t at(std::size_t position, const char* what)
    {
        if (position >= reader_.size())
            throw JamError(std::string("the 16-bit header ends early (") + what + ")");
        reader_.seek(position);
        return reader_.u8();
    }

private:
    ByteReader reader_;
};

} // namespace

Jam16Header WalkJam16Header(std::span<const std::uint8_t> file)
{
    HeaderBytes b(file);
    ByteReader r(file);
    if (file.size() < 8)
        throw JamError("the file is too short for a 16-bit JAM header");
    if (r.u32() != kJam16Magic)
        throw JamError("not a 16-bit JAM");
    Jam16Header header;
    header.imageCount = r.u16();
    header.pageHeight = r.u16();

    std::size_t q = 7;
    std::size_t m = 0;
    int d = 0;
    int e = 0;
    for (int image = 0; image < header.imageCount; ++image) {
        m = q + 1;
        while (!(b.at(m, "no 0xFFFF mark") == 0xFF && b.at(m + 1, "no 0xFFFF mark") == 0xFF))
            ++m;
        d = b.at(m + 6, "record too short");
        e = b.at(m + 9, "record too short");
        if (d < 2 || d > 4)
            throw JamError("header record " + std::to_string(image) + " has layout byte " + std::to_string(d),
                           kJamUnknownLayoutText);
        q = m + 19 - 2 * static_cast<std::size_t>(d);
        while (b.at(q, "no space ends a record") != 0x20)
            ++q;
    }

    auto kept = file.first(q + 1);
    header.bytes.assign(kept.begin(), kept.end());
    if (header.imageCount == 0) {
        header.pixelStart = q + 1;
        return header;
    }
    header.bytes[m + 9] = static_cast<std::uint8_t>(133 - d);
    const int f = (e + d - 5) & 0xFF;
    if (f == 128) {
        header.pixelStart = q + 1;
    } else {
        header.pixelStart = q;
        header.firstControl = static_cast<std::uint8_t>(f);
    }
    return header;
}

void DecodeJamRuns(std::span<const std::uint8_t> file, std::size_t start, std::optional<std::uint8_t> firstControl,
                   Image& page)
{
    auto& pixels = page.pixels();
    const std::size_t total = pixels.size();
    std::size_t filled = 0;
    ByteReader r(file);
    try {
        r.seek(start);
        bool first = true;
        while (filled < total) {
            if (r.atEnd())
                throw JamError("the pixel stream ends after " + std::to_string(filled) + " of " + std::to_string(total)
                               + " pixels");
            std::uint8_t c = r.u8();
            if (first && firstControl)
                c = *firstControl;
            first = false;
            if (c < 128) {
                Pixel p = PixelFromRgb565(r.u16());
                std::size_t n = std::min<std::size_t>(c, total - filled);
                std::fill_n(pixels.begin() + static_cast<std::ptrdiff_t>(filled), n, p);
                filled += n;
            } else {
                // 128 is an empty literal group: nothing to place.
                std::size_t n = c - 128u;
                if (r.remaining() < 2 * n)
                    throw JamError("a literal group runs past the end of the file");
                for (std::size_t i = 0; i < n; ++i) {
                    Pixel p = PixelFromRgb565(r.u16());
                    if (filled < total)
                        pixels[filled++] = p;
                }
            }
        }
    } catch (const JamError&) {
        throw;
    } catch (const FormatError&) {
        throw JamError("the pixel stream ends in the middle of a group");
    }
}

std::vector<std::uint8_t> EncodeJamRuns(std::span<const std::uint16_t> values)
{
    // Written straight into the vector: this runs over every pixel of every
    // hardware JAM saved.
    std::vector<std::uint8_t> out;
    out.reserve(values.size() / 4 + 16);
    auto put16 = [&out](std::uint16_t v) {
        out.push_back(static_cast<std::uint8_t>(v));
        out.push_back(static_cast<std::uint8_t>(v >> 8));
    };
    const std::size_t n = values.size();
    std::size_t i = 0;
    while (i < n) {
        std::size_t run = 1;
        while (run < 127 && i + run < n && values[i + run] == values[i])
            ++run;
        if (run >= 2) {
            out.push_back(static_cast<std::uint8_t>(run));
            put16(values[i]);
            i += run;
            continue;
        }
        // A literal group: take values until one equals the one before it;
        // that earlier one then leaves the group to start the next run.
        std::size_t size = 1;
        while (size < 127 && i + size < n) {
            if (values[i + size] == values[i + size - 1]) {
                --size;
                break;
            }
            ++size;
        }
        out.push_back(static_cast<std::uint8_t>(128 + size));
        for (std::size_t k = 0; k < size; ++k)
            put16(values[i + k]);
        i += size;
    }
    return out;
}

std::vector<std::uint16_t> PageToRgb565(const Image& page)
{
    std::vector<std::uint16_t> values;
    values.reserve(page.pixels().size());
    for (Pixel p : page.pixels())
        values.push_back(Rgb565FromPixel(p));
    return values;
}

} // namespace pitwall
