#include "TransferFixture.h"

#include "formats/ArtBankFile.h"
#include "formats/ArtBankPictures.h"
#include "formats/Bmp.h"
#include "formats/TeamArtSheet.h"
#include "menu/MenuArt.h"
#include "transfer/CarsetArchive.h"
#include "transfer/ReportedFormats.h"

#include <algorithm>

using namespace pitwall;
using test::TransferFixture;

namespace {

constexpr const char* kArt = "BITMAPS/GP3ART5.BIN";

std::vector<int> MenuItems()
{
    std::vector<int> items = {5, 117};
    for (int t = 0; t < 11; ++t)
        items.push_back(104 + t);
    return items;
}

TransferOutcome ImportMenuArt(TransferFixture& f)
{
    auto& selection = f.set().transfer.selection;
    selection = {};
    for (int n : MenuItems())
        selection[static_cast<std::size_t>(n)] = 1;
    return f.engine().importFromGame(ItemChoice::AsSelected, OpenEditor::Untouched, f.ui);
}

ArtPicture Entry(const std::string& bank, std::size_t entry)
{
    ArtPicture p;
    EXPECT_TRUE(ReadArtImage(bank, entry, p, nullptr)) << entry;
    return p;
}

Image Stripes(int width, int height)
{
    Image image(width, height, 24);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, MakePixel((x * 8) & 0xF8, (y * 8) & 0xF8, ((x + y) * 8) & 0xF8));
    return image;
}

// What the last run of the fixture did not do, for failure messages.
std::string Failures(TransferFixture& f)
{
    std::string text;
    for (const auto& failure : f.engine().lastReport().failures)
        text += std::to_string(failure.item) + ": " + failure.text + "\n";
    return text;
}

// Bands of colour, as a menu background has them: the art bank's coding packs
// runs of one colour, so a picture of single-pixel stripes would not fit
// into an entry of its size.
Image Bands(int width, int height)
{
    Image image(width, height, 24);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, MakePixel((y / 20) * 8 & 0xF8, 64 + (x / 100) * 16, 120));
    return image;
}

TEST(MenuArtAreas, ImportThenExportChangesNoByte)
{
    TransferFixture f;
    const auto bank = test::ReadBytes(f.game(kArt));
    const auto loading3 = test::ReadBytes(f.game("BITMAPS/LOADING3.BMP"));
    ASSERT_EQ(ImportMenuArt(f), TransferOutcome::Done);
    for (int t = 0; t < 11; ++t) {
        EXPECT_TRUE(f.set().transfer.isLoaded(104 + t));
        EXPECT_EQ(f.set().teamArt[static_cast<std::size_t>(t)].width, 960u);
    }
    EXPECT_TRUE(test::ReadBytes(f.work("LOADING3.BMP")) == loading3);

    ASSERT_EQ(f.exportAll(), TransferOutcome::Done);
    EXPECT_TRUE(f.messages.asked.empty());
    EXPECT_TRUE(test::ReadBytes(f.game(kArt)) == bank);
    EXPECT_TRUE(test::ReadBytes(f.game("BITMAPS/LOADING3.BMP")) == loading3);
}

TEST(MenuArtAreas, TeamArtLoadingPicturesAndBackgroundsTravelByCarset)
{
    TransferFixture a(1), b(2);
    ASSERT_EQ(ImportMenuArt(a), TransferOutcome::Done);
    // Background 12 replaced by a picture of the user's, background 3 chosen
    // for export as the game has it.
    const Image replacement = Bands(800, 600);
    SaveBmpFile(replacement, a.work("MenuReplace12.BMP"));
    AddMenuBackground(a.set().menuBackgrounds, MenuBackgroundLine(12, a.program.texts));
    AddMenuBackground(a.set().menuBackgrounds, MenuBackgroundLine(3, a.program.texts));
    const std::string carset = a.root / "menu.GMS";
    ASSERT_EQ(a.saveCarset(carset), TransferOutcome::Done);
    {
        CarsetArchive archive(carset, CarsetArchive::Mode::Read);
        for (const char* member :
             {"TeamArt0.DAT", "TeamArt10.DAT", "LOADING1.BMP", "LOADING6.BMP", "MenuReplace12.BMP", "MenuReplace3.BMP"})
            EXPECT_TRUE(archive.contains(member)) << member;
        EXPECT_FALSE(archive.contains("MenuReplace4.BMP"));
    }

    const std::string bankA = a.game(kArt), bankB = b.game(kArt);
    ArtDirectory before;
    ASSERT_TRUE(ReadArtDirectory(bankB, before, nullptr));
    std::vector<ArtPicture> untouched;
    // Entries no item of the carset writes: the logo parts, the track
    // pictures and the other backgrounds.
    std::vector<std::size_t> others;
    for (std::size_t e = 0; e < 840; ++e)
        if (e < 10 || (e >= 566 && e != 758 && e != 767))
            others.push_back(e);
    for (std::size_t e : others)
        untouched.push_back(Entry(bankB, e));

    b.messages.answer = true;
    ASSERT_EQ(b.loadCarset(carset), TransferOutcome::Done);
    EXPECT_EQ(b.set().menuBackgrounds,
              (MenuReplacementList{MenuBackgroundLine(3, b.program.texts), MenuBackgroundLine(12, b.program.texts)}));
    ASSERT_EQ(b.exportAll(), TransferOutcome::Done) << Failures(b) << ::testing::PrintToString(b.messages.numbers());

    for (int t = 0; t < 11; ++t) {
        ArtPicture sheet;
        ASSERT_TRUE(ComposeTeamSheet(bankB, t, sheet, nullptr));
        EXPECT_TRUE(sheet == a.set().teamArt[static_cast<std::size_t>(t)]) << "team " << t;
    }
    for (int n = 1; n <= 6; ++n)
        EXPECT_TRUE(test::ReadBytes(b.game("BITMAPS/" + LoadingPictureName(n)))
                    == test::ReadBytes(a.game("BITMAPS/" + LoadingPictureName(n))))
            << n;
    EXPECT_TRUE(Entry(bankB, 767) == ArtPictureFromImage(replacement));
    EXPECT_TRUE(Entry(bankB, 758) == Entry(bankA, 758));
    for (std::size_t i = 0; i < others.size(); ++i)
        EXPECT_TRUE(Entry(bankB, others[i]) == untouched[i]) << others[i];
}

// A background loaded from a file but left off the export list is the
// user's choice beside listed ones that are written: no failure. When the
// list gives nothing to write, the run says why nothing was.
TEST(MenuArtAreas, ABackgroundLeftOffTheListFailsOnlyAnExportThatWritesNoBackground)
{
    TransferFixture f;
    ASSERT_EQ(ImportMenuArt(f), TransferOutcome::Done);
    const Image listed = Bands(800, 600);
    SaveBmpFile(listed, f.work("MenuReplace12.BMP"));
    SaveBmpFile(Stripes(800, 600), f.work("MenuReplace20.BMP"));
    AddMenuBackground(f.set().menuBackgrounds, MenuBackgroundLine(12, f.program.texts));
    f.messages.answer = true; // room for background 12
    f.select({5});
    ASSERT_EQ(f.exportAll(), TransferOutcome::Done) << Failures(f);
    EXPECT_TRUE(Entry(f.game(kArt), 767) == ArtPictureFromImage(listed));

    f.set().menuBackgrounds.clear();
    f.select({5});
    EXPECT_EQ(f.exportAll(), TransferOutcome::DoneWithErrors);
    ASSERT_EQ(f.engine().lastReport().failures.size(), 2u) << Failures(f); // backgrounds 12 and 20
    for (const auto& failure : f.engine().lastReport().failures)
        EXPECT_EQ(failure.item, 5);
}

TEST(MenuArtAreas, LoadingPicturesExportOnlyWhatTheWorkingDirectoryHolds)
{
    TransferFixture f;
    ASSERT_EQ(f.importItems({117}), TransferOutcome::Done);
    const auto first = test::ReadBytes(f.game("BITMAPS/LOADING1.BMP"));
    for (int n : {1, 3, 4, 5, 6})
        DeleteFileForced(f.work(LoadingPictureName(n)));
    const auto second = EncodeBmp(Stripes(640, 480));
    test::WriteBytes(f.work("LOADING2.BMP"), second);
    const Image gameSecond = DecodeBmp(test::ReadBytes(f.game("BITMAPS/LOADING2.BMP")));
    ASSERT_EQ(f.exportAll(), TransferOutcome::Done);
    EXPECT_TRUE(test::ReadBytes(f.game("BITMAPS/LOADING1.BMP")) == first);
    // The true-colour picture goes into the game as the game's file was:
    // 8-bit with that file's colour table.
    const Image written = DecodeBmp(test::ReadBytes(f.game("BITMAPS/LOADING2.BMP")));
    ASSERT_EQ(gameSecond.depth(), 8);
    EXPECT_EQ(written.depth(), 8);
    EXPECT_EQ(written.colorTable(), gameSecond.colorTable());
    EXPECT_EQ(written.width(), 640);
    // A picture already of the game's kind goes in byte for byte.
    test::WriteBytes(f.work("LOADING2.BMP"), EncodeBmp(gameSecond));
    ASSERT_EQ(f.exportAll(), TransferOutcome::Done);
    EXPECT_TRUE(test::ReadBytes(f.game("BITMAPS/LOADING2.BMP")) == EncodeBmp(gameSecond));

    // A loading picture that is no picture is not taken in, and none changes.
    test::WriteBytes(f.game("BITMAPS/LOADING4.BMP"), {'B', 'M', 1, 2, 3});
    f.messages.shown.clear();
    EXPECT_EQ(f.importItems({117}), TransferOutcome::DoneWithErrors);
    EXPECT_TRUE(test::ReadBytes(f.work("LOADING2.BMP")) == EncodeBmp(gameSecond));
    EXPECT_FALSE(FileExists(f.work("LOADING1.BMP")));
}

// A carset that carries only some of the loading pictures (made by another
// tool): the missing ones are named, and applied to an installation it
// writes just those it carries (it used to load none).
TEST(MenuArtAreas, ACarsetWithSomeLoadingPicturesAppliesThose)
{
    TransferFixture a(1), b(2);
    ASSERT_EQ(a.importItems({117}), TransferOutcome::Done);
    const std::string carset = a.root / "second.GMS";
    ASSERT_EQ(a.saveCarset(carset), TransferOutcome::Done) << Failures(a);
    test::RemoveMembers(carset, {"LOADING1.BMP", "LOADING3.BMP", "LOADING4.BMP", "LOADING5.BMP", "LOADING6.BMP"});
    std::vector<std::vector<std::uint8_t>> before;
    for (int n = 1; n <= 6; ++n)
        before.push_back(test::ReadBytes(b.game("BITMAPS/" + LoadingPictureName(n))));
    ASSERT_NE(before[1], test::ReadBytes(a.game("BITMAPS/LOADING2.BMP")));
    EXPECT_EQ(b.loadCarset(carset), TransferOutcome::DoneWithErrors);
    EXPECT_EQ(b.engine().lastReport().failures.size(), 5u) << Failures(b);
    ASSERT_EQ(b.exportAll(), TransferOutcome::Done) << Failures(b);
    for (int n = 1; n <= 6; ++n)
        EXPECT_EQ(test::ReadBytes(b.game("BITMAPS/" + LoadingPictureName(n))),
                  n == 2 ? test::ReadBytes(a.game("BITMAPS/LOADING2.BMP")) : before[static_cast<std::size_t>(n - 1)])
            << n;
}

// Each team's member is taken or refused on its own, in team order; a member
// that cannot be unpacked at all ends the team art there, as it would have
// one team at a time.
TEST(MenuArtAreas, TeamArtMembersAreRefusedEachOnItsOwnInTeamOrder)
{
    TransferFixture a(1);
    ASSERT_EQ(ImportMenuArt(a), TransferOutcome::Done);
    const std::string carset = a.root / "t.GMS";
    ASSERT_EQ(a.saveCarset(carset), TransferOutcome::Done);
    // The same carset without team 1's sheet, with sheets of another size for
    // teams 3 and 7, and one for team 5 larger than any sheet.
    TransferFixture b(2);
    const std::vector<ArtPicture> before = {b.set().teamArt.begin(), b.set().teamArt.end()};
    {
        CarsetArchive in(carset, CarsetArchive::Mode::Read);
        CarsetArchive out(b.root / "bad.GMS", CarsetArchive::Mode::Create);
        for (const auto& m : in.members())
            if (m.name == "TeamArt3.DAT" || m.name == "TeamArt7.DAT")
                out.addBytes(m.name, EncodeBmp(Stripes(100, 50)));
            else if (m.name == "TeamArt5.DAT")
                out.addBytes(m.name, std::vector<std::uint8_t>(5'000'000, 7));
            else if (m.name != "TeamArt1.DAT")
                out.addBytes(m.name, in.read(m.name, 1 << 24));
        out.close();
    }
    EXPECT_EQ(b.loadCarset(b.root / "bad.GMS"), TransferOutcome::DoneWithErrors);
    std::vector<int> failed;
    for (const auto& failure : b.engine().lastReport().failures)
        failed.push_back(failure.item);
    // Teams 6 to 10 are reported as never loaded.
    EXPECT_EQ(failed, (std::vector<int>{105, 107, 109, 110, 111, 112, 113, 114})) << Failures(b);
    // Team 5's own failure, not a missing member: team 1's is the only one.
    EXPECT_NE(b.engine().lastReport().failures[2].text.find("TeamArt5.DAT"), std::string::npos) << Failures(b);
    EXPECT_NE(b.engine().lastReport().failures[2].text.find("too large"), std::string::npos) << Failures(b);
    const std::vector<int> shown = b.messages.numbers();
    ASSERT_GE(shown.size(), 2u);
    EXPECT_EQ(shown[0], 349);
    EXPECT_EQ(shown[1], 661);
    EXPECT_EQ(std::count(shown.begin(), shown.end(), 349), 1);
    for (int t = 0; t < 11; ++t) {
        const bool taken = t == 0 || t == 2 || t == 4;
        EXPECT_EQ(b.set().transfer.isLoaded(104 + t), taken) << "team " << t;
        EXPECT_TRUE((b.set().teamArt[static_cast<std::size_t>(t)] == a.set().teamArt[static_cast<std::size_t>(t)])
                    == taken)
            << "team " << t;
        if (!taken) {
            EXPECT_TRUE(b.set().teamArt[static_cast<std::size_t>(t)] == before[static_cast<std::size_t>(t)]);
        }
    }
}

TEST(MenuBackgroundList, EachBackgroundOnceSortedByNumber)
{
    UITexts texts;
    MenuReplacementList list;
    EXPECT_TRUE(AddMenuBackground(list, MenuBackgroundLine(12, texts)));
    EXPECT_FALSE(AddMenuBackground(list, MenuBackgroundLine(12, texts)));
    EXPECT_TRUE(AddMenuBackground(list, MenuBackgroundLine(3, texts)));
    EXPECT_TRUE(AddMenuBackground(list, MenuBackgroundLine(84, texts)));
    EXPECT_FALSE(AddMenuBackground(list, "85 - beyond the last"));
    EXPECT_FALSE(AddMenuBackground(list, "x"));
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].substr(0, 5), "03 - ");
    EXPECT_EQ(MenuBackgroundNumbers(list), (std::vector<int>{3, 12, 84}));
}

} // namespace
