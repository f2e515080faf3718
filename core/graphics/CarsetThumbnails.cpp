#include "graphics/CarsetThumbnails.h"

#include "base/FileHash.h"
#include "base/FileUtils.h"
#include "formats/Bmp.h"
#include "formats/JamFile.h"
#include "formats/Png.h"
#include "formats/Resample.h"
#include "formats/TeamArtSheet.h"
#include "graphics/GraphicsTransfer.h"
#include "graphics/TeamGraphicsNames.h"
#include "menu/MenuArt.h"
#include "transfer/CarsetArchive.h"
#include "transfer/SelectionItems.h"

#include <algorithm>
#include <exception>
#include <optional>
#include <sstream>

namespace pitwall {

namespace {

// A team-art sheet is a small BMP; anything far larger is not one.
constexpr std::uint64_t kMaxTeamArtBytes = 4ull * 1024 * 1024;
constexpr const char* kIndexName = "thumbnails.txt";
constexpr const char* kIndexFirstLine = "pitwall thumbnails 1";

Image Shrunk(const Image& picture)
{
    const int height = std::max(1, picture.height() * kThumbnailWidth / std::max(1, picture.width()));
    return ResamplePicture(picture, kThumbnailWidth, height);
}

std::optional<Image> JamThumbnail(const CarsetArchive& archive, const std::string& member, bool hardware,
                                  const Palette& palette)
{
    if (!archive.contains(member))
        return std::nullopt;
    try {
        TJAMFile jam(palette);
        // Carsets hold the 8-bit JAM unscrambled, the 16-bit one as the game has it.
        jam.Decode(archive.read(member, kMaxJamFileBytes), !hardware);
        if (jam.is8Bit() == hardware || jam.page().isNull())
            return std::nullopt;
        return Shrunk(jam.page());
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

std::optional<Image> BmpThumbnail(const CarsetArchive& archive, const std::string& member)
{
    if (!archive.contains(member))
        return std::nullopt;
    try {
        Image picture = DecodeBmp(archive.read(member, kMaxTeamArtBytes));
        if (picture.isNull())
            return std::nullopt;
        return Shrunk(picture);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

std::string PaletteKey(const Palette& palette)
{
    std::vector<std::uint8_t> bytes;
    for (Pixel p : palette.pixels())
        bytes.insert(bytes.end(),
                     {static_cast<std::uint8_t>(RedOf(p)), static_cast<std::uint8_t>(GreenOf(p)),
                      static_cast<std::uint8_t>(BlueOf(p))});
    return Sha256Hex(bytes);
}

std::string PictureFileName(const CarsetThumbnail& t)
{
    return std::to_string(t.item) + "-" + std::to_string(static_cast<int>(t.kind)) + ".png";
}

bool IsHexHash(const std::string& text)
{
    return !text.empty() && text.size() <= 128 && std::all_of(text.begin(), text.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
    });
}

// The cached pictures, or nothing when the folder does not hold a complete
// set for this palette.
std::optional<std::vector<CarsetThumbnail>> ReadCached(const std::string& folder, const std::string& paletteKey)
{
    const std::string index = folder + kIndexName;
    if (!FileExists(index))
        return std::nullopt;
    try {
        const std::vector<std::uint8_t> bytes = ReadWholeFile(index, 1'000'000);
        std::istringstream in(std::string(bytes.begin(), bytes.end()));
        std::string line;
        if (!std::getline(in, line) || line != kIndexFirstLine)
            return std::nullopt;
        if (!std::getline(in, line) || line != "palette " + paletteKey)
            return std::nullopt;
        std::vector<CarsetThumbnail> thumbnails;
        while (std::getline(in, line)) {
            if (line.empty())
                continue;
            std::istringstream fields(line);
            int kind = -1;
            CarsetThumbnail t;
            if (!(fields >> kind >> t.item >> t.team >> t.member) || kind < 0 || kind > 2 || t.item < 1
                || t.item > kLastItem || !IsBareMemberName(t.member))
                return std::nullopt;
            t.kind = static_cast<ThumbnailKind>(kind);
            t.picture = LoadPngFile(folder + PictureFileName(t));
            if (t.picture.width() != kThumbnailWidth)
                return std::nullopt;
            thumbnails.push_back(std::move(t));
        }
        return thumbnails;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

void WriteCached(const std::string& folder, const std::string& paletteKey,
                 const std::vector<CarsetThumbnail>& thumbnails)
{
    try {
        if (!ForceDirectories(folder))
            return;
        std::string index = std::string(kIndexFirstLine) + "\npalette " + paletteKey + "\n";
        for (const CarsetThumbnail& t : thumbnails) {
            SavePngFile(t.picture, folder + PictureFileName(t));
            index += std::to_string(static_cast<int>(t.kind)) + " " + std::to_string(t.item) + " "
                + std::to_string(t.team) + " " + t.member + "\n";
        }
        // The index last: a folder without it is made again.
        WriteWholeFile(folder + kIndexName, std::vector<std::uint8_t>(index.begin(), index.end()));
    } catch (const std::exception&) {
        // Only a cache: the pictures are made again next time.
    }
}

} // namespace

std::string DefaultThumbnailCache(const EnvironmentLookup& environment)
{
    std::string base;
    if (auto xdg = environment("XDG_CACHE_HOME"); xdg && !xdg->empty())
        base = IncludeTrailingBackslash(*xdg);
    else if (auto home = environment("HOME"); home && !home->empty())
        base = IncludeTrailingBackslash(IncludeTrailingBackslash(*home) + ".cache");
    else if (auto local = environment("LOCALAPPDATA"); local && !local->empty())
        base = IncludeTrailingBackslash(*local);
    else
        return {};
    return IncludeTrailingBackslash(IncludeTrailingBackslash(base + "pitwall") + "Thumbnails");
}

std::vector<CarsetThumbnail> MakeCarsetThumbnails(const std::string& carsetFile, const Palette& palette)
{
    std::vector<CarsetThumbnail> thumbnails;
    std::optional<CarsetArchive> archive;
    try {
        archive.emplace(carsetFile, CarsetArchive::Mode::Read);
    } catch (const std::exception&) {
        return thumbnails;
    }
    // An 8-bit JAM drawn without the game palette would be all black.
    const bool withPalette = HasGamePalette(palette);
    for (int t = 0; t < kTeamCount; ++t) {
        const std::string name = kTeamJamNames[static_cast<std::size_t>(t)].car;
        for (bool hardware : {false, true}) {
            if (!hardware && !withPalette)
                continue;
            const std::string member = name + (hardware ? kHardMemberSuffix : kSoftMemberSuffix);
            if (auto picture = JamThumbnail(*archive, member, hardware, palette)) {
                thumbnails.push_back({ThumbnailKind::Livery, (hardware ? kCarHardFirst : kCarSoftFirst) + t, t, member,
                                      std::move(*picture)});
                break;
            }
        }
    }
    for (bool hardware : {false, true}) {
        if (!hardware && !withPalette)
            continue;
        const std::string member =
            std::string(kHelmetSheetNames[0]) + (hardware ? kHardMemberSuffix : kSoftMemberSuffix);
        if (auto picture = JamThumbnail(*archive, member, hardware, palette)) {
            thumbnails.push_back({ThumbnailKind::Helmets, hardware ? 102 : 77, 0, member, std::move(*picture)});
            break;
        }
    }
    for (int t = 0; t < kRacingTeams; ++t) {
        const std::string member = TeamArtMember(t);
        if (auto picture = BmpThumbnail(*archive, member))
            thumbnails.push_back({ThumbnailKind::TeamArt, TeamArtItem(t), t, member, std::move(*picture)});
    }
    return thumbnails;
}

std::string ThumbnailCache::folderOf(const std::string& sha256) const
{
    return IncludeTrailingBackslash(root_ + sha256);
}

std::vector<CarsetThumbnail> ThumbnailCache::thumbnails(const std::string& carsetFile, const std::string& sha256,
                                                        const Palette& palette) const
{
    lastFromCache_ = false;
    const bool cached = !root_.empty() && IsHexHash(sha256);
    const std::string key = PaletteKey(palette);
    if (cached) {
        if (auto found = ReadCached(folderOf(sha256), key)) {
            lastFromCache_ = true;
            return std::move(*found);
        }
    }
    std::vector<CarsetThumbnail> made = MakeCarsetThumbnails(carsetFile, palette);
    if (cached)
        WriteCached(folderOf(sha256), key, made);
    return made;
}

} // namespace pitwall
