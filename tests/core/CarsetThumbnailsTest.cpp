#include "SessionFixture.h"

#include "base/FileUtils.h"
#include "formats/Resample.h"
#include "graphics/CarsetThumbnails.h"
#include "graphics/TeamGraphicsNames.h"
#include "transfer/CarsetArchive.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>

using namespace pitwall;

namespace {

Palette DistinctPalette()
{
    std::array<Pixel, 256> pixels{};
    for (int i = 1; i < 256; ++i)
        pixels[static_cast<std::size_t>(i)] = MakePixel(i, 255 - i, 40 + i % 7);
    return Palette(pixels);
}

// A demo carset with the liveries of teams 1 and 2 (software), the
// hardware livery of team 3 (slot 2), the helmets and the art of teams 1 and 2.
struct ThumbnailFixture : test::SessionFixture {
    ThumbnailFixture() : SessionFixture(2, 1, {{349, " %s"}, {231, " %s"}, {232, " %s"}})
    {
        program.palette = DistinctPalette();
        select({11, 12, 24, 77, 104, 105});
        EXPECT_EQ(engine().importFromGame(ItemChoice::AsSelected, OpenEditor::Untouched, ui), TransferOutcome::Done);
        EXPECT_EQ(engine().saveCarset(ItemChoice::AllHeld, carset, ui), TransferOutcome::Done);
    }
    std::string carset = root / "Demo.GMS";
};

std::vector<int> Items(const std::vector<CarsetThumbnail>& thumbnails)
{
    std::vector<int> items;
    for (const auto& t : thumbnails)
        items.push_back(t.item);
    return items;
}

} // namespace

TEST(CarsetThumbnails, ShowWhatTheCarsetCarriesDecodedFromItsMembers)
{
    ThumbnailFixture f;
    auto thumbnails = MakeCarsetThumbnails(f.carset, f.program.palette);
    EXPECT_EQ(Items(thumbnails), (std::vector<int>{11, 12, 24, 77, 104, 105}));
    for (const auto& t : thumbnails)
        EXPECT_EQ(t.picture.width(), kThumbnailWidth) << t.member;
    // The liveries are the pages the import read, shrunk: the unscrambled
    // 8-bit member through the palette, the 16-bit one as it is.
    const auto& soft = f.session->workingSet.graphics.cars.variant(false).at(1)->page();
    const auto& hard = f.session->workingSet.graphics.cars.variant(true).at(2)->page();
    EXPECT_EQ(thumbnails[1].picture, ResamplePicture(soft, kThumbnailWidth, soft.height() * kThumbnailWidth / 256));
    EXPECT_EQ(thumbnails[2].picture, ResamplePicture(hard, kThumbnailWidth, hard.height() * kThumbnailWidth / 256));
    EXPECT_EQ(thumbnails[2].member, "BENETT98.JAMHard.DAT");
    EXPECT_EQ(thumbnails[3].kind, ThumbnailKind::Helmets);
    EXPECT_EQ(thumbnails[4].kind, ThumbnailKind::TeamArt);

    // Without the game palette the 8-bit JAMs are left out, not drawn black.
    EXPECT_EQ(Items(MakeCarsetThumbnails(f.carset, Palette())), (std::vector<int>{24, 104, 105}));
}

TEST(CarsetThumbnails, DamagedMembersGiveNoPictureAndNoFailure)
{
    ThumbnailFixture f;
    const std::string broken = f.root / "Broken.GMS";
    {
        CarsetArchive source(f.carset, CarsetArchive::Mode::Read);
        CarsetArchive copy(broken, CarsetArchive::Mode::Create);
        for (const ArchiveMember& m : source.members()) {
            std::vector<std::uint8_t> bytes = source.read(m.name, 100'000'000);
            if (m.name == "WILLIA98.JAMSoft.DAT")
                bytes.assign({0xFF, 0xFF, 0x10, 0x00, 1, 2, 3}); // claims far more images than it holds
            if (m.name == "TeamArt1.DAT")
                bytes.resize(40); // a BMP header cut short
            copy.addBytes(m.name, bytes);
        }
        copy.close();
    }
    EXPECT_EQ(Items(MakeCarsetThumbnails(broken, f.program.palette)), (std::vector<int>{12, 24, 77, 104}));

    const std::string notAZip = f.root / "Text.GMS";
    WriteWholeFile(notAZip, {'n', 'o', ' ', 'z', 'i', 'p'});
    EXPECT_TRUE(MakeCarsetThumbnails(notAZip, f.program.palette).empty());
    EXPECT_TRUE(MakeCarsetThumbnails(f.root / "absent.GMS", f.program.palette).empty());
}

TEST(CarsetThumbnails, SecondOpeningReadsTheCacheOfThatPalette)
{
    ThumbnailFixture f;
    ThumbnailCache cache(f.root / "cache/");
    const std::string hash(64, 'a');
    auto made = cache.thumbnails(f.carset, hash, f.program.palette);
    EXPECT_FALSE(cache.lastFromCache());
    ASSERT_EQ(made.size(), 6u);
    EXPECT_TRUE(FileExists(cache.folderOf(hash) + "11-0.png"));

    auto cached = cache.thumbnails(f.carset, hash, f.program.palette);
    EXPECT_TRUE(cache.lastFromCache());
    ASSERT_EQ(cached.size(), made.size());
    for (std::size_t i = 0; i < made.size(); ++i) {
        EXPECT_EQ(cached[i].item, made[i].item);
        EXPECT_EQ(cached[i].member, made[i].member);
        EXPECT_EQ(cached[i].picture.pixels(), made[i].picture.pixels());
    }
    // Other colours: the 8-bit pictures are made again.
    Palette other = f.program.palette;
    other.setColor(5, ColorRefFromPixel(MakePixel(1, 2, 3)));
    cache.thumbnails(f.carset, hash, other);
    EXPECT_FALSE(cache.lastFromCache());
    // A damaged cached picture is made again rather than shown.
    WriteWholeFile(cache.folderOf(hash) + "11-0.png", {1, 2, 3});
    EXPECT_EQ(cache.thumbnails(f.carset, hash, other).size(), 6u);
    EXPECT_FALSE(cache.lastFromCache());
}

TEST(CarsetThumbnails, CacheFolderFollowsTheEnvironment)
{
    auto env = [](std::map<std::string, std::string> values) {
        return [values](const char* name) -> std::optional<std::string> {
            auto it = values.find(name);
            return it == values.end() ? std::nullopt : std::optional<std::string>(it->second);
        };
    };
    auto native = [](std::string path) { // the parts the program adds carry the system's separator
        std::replace(path.begin() + 2, path.end(), '/', kPathSeparator);
        return path;
    };
    EXPECT_EQ(DefaultThumbnailCache(env({{"XDG_CACHE_HOME", "/c"}, {"HOME", "/h"}})), native("/c/pitwall/Thumbnails/"));
    EXPECT_EQ(DefaultThumbnailCache(env({{"HOME", "/h"}})), native("/h/.cache/pitwall/Thumbnails/"));
    EXPECT_EQ(DefaultThumbnailCache(env({})), "");
}
