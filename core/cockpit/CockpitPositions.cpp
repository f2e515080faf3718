#include "cockpit/CockpitPositions.h"

#include "transfer/GameFile.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace pitwall {

namespace {

struct ExePositions {
    std::uint32_t objects;
    std::uint32_t textSlots;
    std::uint32_t textHeight;
};

// v1.00, then both v1.13 builds.
constexpr ExePositions kPositions[] = {
    {0x180C4C, 0x180784, 0x1807CC},
    {0x181FCC, 0x181B04, 0x181B4C},
};

const ExePositions& At(int gameVersion)
{
    if (gameVersion < 1 || gameVersion > 3)
        throw std::invalid_argument("game version " + std::to_string(gameVersion) + " has no cockpit positions");
    return kPositions[gameVersion == 1 ? 0 : 1];
}

} // namespace

void CockpitObject::setLeft(std::uint16_t v)
{
    bytes[0] = static_cast<std::uint8_t>(v);
    bytes[1] = static_cast<std::uint8_t>(v >> 8);
}

void CockpitObject::setTop(std::uint16_t v)
{
    bytes[4] = static_cast<std::uint8_t>(v);
    bytes[5] = static_cast<std::uint8_t>(v >> 8);
}

std::uint32_t CockpitObjectsOffset(int gameVersion) { return At(gameVersion).objects; }
std::uint32_t LcdTextSlotsOffset(int gameVersion) { return At(gameVersion).textSlots; }
std::uint32_t LcdTextHeightOffset(int gameVersion) { return At(gameVersion).textHeight; }

void ReadCockpitObjects(CockpitObjects& objects, const GameFile& exe, int gameVersion)
{
    const auto block = exe.read(At(gameVersion).objects, kCockpitObjectCount * kCockpitObjectGameSize);
    CockpitObjects read = objects;
    for (std::size_t i = 0; i < read.size(); ++i) {
        std::copy_n(block.begin() + static_cast<std::ptrdiff_t>(i * kCockpitObjectGameSize), kCockpitObjectGameSize,
                    read[i].bytes.begin());
        if (read[i].parent() >= kCockpitParentCount)
            read[i].setParent(0);
    }
    objects = read;
}

void WriteCockpitObjects(const CockpitObjects& objects, GameFile& exe, int gameVersion)
{
    std::vector<std::uint8_t> block;
    for (const CockpitObject& o : objects)
        block.insert(block.end(), o.bytes.begin(), o.bytes.begin() + kCockpitObjectGameSize);
    exe.write(At(gameVersion).objects, block);
}

LcdTextPositions ReadLcdTexts(const GameFile& exe, int gameVersion)
{
    const ExePositions& at = At(gameVersion);
    LcdTextPositions texts;
    for (std::size_t k = 0; k < kLcdTextCount; ++k) {
        texts.left[k] = exe.readU8(at.textSlots + 4 * k);
        texts.top[k] = exe.readU8(at.textSlots + 4 * k + 1);
    }
    texts.height = exe.readU8(at.textHeight);
    texts.width = exe.readU8(at.textHeight + 4);
    return texts;
}

void WriteLcdTexts(const LcdTextPositions& texts, GameFile& exe, int gameVersion)
{
    const ExePositions& at = At(gameVersion);
    for (std::size_t k = 0; k < kLcdTextCount; ++k) {
        exe.writeU8(at.textSlots + 4 * k, texts.left[k]);
        exe.writeU8(at.textSlots + 4 * k + 1, texts.top[k]);
    }
    exe.writeU8(at.textHeight, texts.height);
    exe.writeU8(at.textHeight + 4, texts.width);
}

std::vector<std::uint8_t> CockpitObjectsImage(const CockpitObjects& objects)
{
    std::vector<std::uint8_t> out;
    for (const CockpitObject& o : objects)
        out.insert(out.end(), o.bytes.begin(), o.bytes.end());
    return out;
}

CockpitObjects CockpitObjectsFromImage(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() < kCockpitObjectsImageSize)
        throw std::invalid_argument("the cockpit objects need " + std::to_string(kCockpitObjectsImageSize) + " bytes");
    CockpitObjects objects;
    for (std::size_t i = 0; i < objects.size(); ++i)
        std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(i * kCockpitObjectSize), kCockpitObjectSize,
                    objects[i].bytes.begin());
    return objects;
}

std::vector<std::uint8_t> LcdTextsImage(const LcdTextPositions& texts)
{
    std::vector<std::uint8_t> out(kLcdTextsImageSize);
    for (std::size_t k = 0; k < kLcdTextCount; ++k) {
        out[2 * k] = texts.left[k];
        out[2 * k + 1] = texts.top[k];
    }
    out[26] = texts.width;
    out[27] = texts.height;
    return out;
}

LcdTextPositions LcdTextsFromImage(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() < kLcdTextsImageSize)
        throw std::invalid_argument("the LCD texts need " + std::to_string(kLcdTextsImageSize) + " bytes");
    LcdTextPositions texts;
    for (std::size_t k = 0; k < kLcdTextCount; ++k) {
        texts.left[k] = bytes[2 * k];
        texts.top[k] = bytes[2 * k + 1];
    }
    texts.width = bytes[26];
    texts.height = bytes[27];
    return texts;
}

} // namespace pitwall
