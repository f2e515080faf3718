#include "DemoArtEncoder.h"
#include "DemoArtPictures.h"
#include "DemoContext.h"

#include <cstring>

namespace pitwall::demo {

namespace {

constexpr std::size_t kEntries = 840;
constexpr std::size_t kDirectoryEnd = 32 + 24 * kEntries;
// The bank's 28 bytes of header text.
constexpr char kHeaderText[29] = "GP3 ART BANK 5.0 MicroProse\x1A";

void Put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
}

} // namespace

void WriteArtBank(DemoContext& context)
{
    const std::uint64_t seed = context.seed;
    std::vector<std::uint8_t> bank(kDirectoryEnd, 0);
    std::memcpy(bank.data(), kHeaderText, 28);
    Put32(bank, 28, kEntries);
    bank.reserve(16u << 20);
    ArtPicture picture;
    for (std::size_t e = 0; e < kEntries; ++e) {
        DrawDemoArtPicture(e, seed, picture);
        auto data = EncodeDemoArt(picture, e >= 422 && e <= 432, static_cast<unsigned>(e));
        std::uint32_t reserved = static_cast<std::uint32_t>(data.size());
        if (DemoArtEntryExpanded(e))
            reserved = std::max<std::uint32_t>(reserved, picture.width * picture.height * 2);
        const std::size_t dir = 32 + 24 * e;
        // The two words the program keeps without reading them.
        Put32(bank, dir + 0, 1);
        Put32(bank, dir + 4, static_cast<std::uint32_t>(e * 3 + 7));
        Put32(bank, dir + 8, picture.width);
        Put32(bank, dir + 12, picture.height);
        Put32(bank, dir + 16, reserved);
        Put32(bank, dir + 20, static_cast<std::uint32_t>(bank.size()));
        bank.insert(bank.end(), data.begin(), data.end());
        // Expanded room beyond the picture holds what an earlier, longer
        // picture left there.
        for (std::size_t i = data.size(); i < reserved; ++i)
            bank.push_back(static_cast<std::uint8_t>(0xA5 ^ i));
    }
    context.writeFile("BITMAPS\\GP3ART5.BIN", bank);
}

} // namespace pitwall::demo
