#include "SessionFixture.h"

#include "base/FileUtils.h"
#include "base/GamePath.h"
#include "formats/GameInstallation.h"
#include "formats/GameLanguages.h"
#include "formats/StringFile.h"
#include "session/Session.h"
#include "texts/LanguagesArea.h"
#include "texts/TextLines.h"
#include "texts/TextSearch.h"
#include "transfer/ReportedFormats.h"
#include "transfer/SavegameChecksum.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

using namespace pitwall;

namespace {

// Texts that name their number over a demo installation.
struct Fixture : test::SessionFixture {
    Fixture(int gameVersion, std::uint64_t seed)
        : SessionFixture(gameVersion, seed, {{349, " %s"}, {943, " %s"}, {941, " fits %s installed %s"}})
    {}
    std::vector<std::string>& list(int language)
    {
        return session->workingSet.gameTexts.languages.at(static_cast<std::size_t>(language));
    }
    std::string file(int language) const
    {
        return ResolveGamePath(program.settings.gameDirectory, LanguageFileGamePath(language));
    }
    TransferOutcome importAll()
    {
        SelectAllLanguages(transfer().selection, program.gameVersion);
        return engine().importFromGame(ItemChoice::AsSelected, OpenEditor::Untouched, ui);
    }
    TransferOutcome exportItems(std::initializer_list<int> items)
    {
        select(items);
        return engine().exportToGame(ItemChoice::AsSelected, ui);
    }
};

constexpr auto Snapshot = test::ReadFileTree;

class LanguageTransfers : public ::testing::TestWithParam<int> {};

} // namespace

// --- the language areas over demo installations ---------------------------

TEST_P(LanguageTransfers, CarsetCarriesEveryLanguageOfTheVersionByteForByte)
{
    const int version = GetParam();
    const int languages = version == kVersion100 ? 5 : 8;
    Fixture a(version, 1);
    ASSERT_EQ(a.importAll(), TransferOutcome::Done);
    // One progress line per language, UI text 699 + index.
    ASSERT_EQ(a.loading.lines.size(), static_cast<std::size_t>(languages));
    EXPECT_EQ(a.loading.lines.front(), "T699");
    for (int l = 0; l < kLanguageCount; ++l) {
        EXPECT_EQ(a.transfer().isLoaded(168 + l), l < languages) << l;
        if (l < languages) {
            EXPECT_EQ(static_cast<int>(a.list(l).size()), ExpectedStringCount(l, version)) << l;
        }
    }
    std::string carset = a.root / "texts.GMS";
    a.transfer().selection = a.transfer().loaded;
    ASSERT_EQ(a.engine().saveCarset(ItemChoice::AsSelected, carset, a.ui), TransferOutcome::Done);

    Fixture b(version, 2);
    const std::string game = b.program.settings.gameDirectory;
    auto before = Snapshot(game);
    ASSERT_NE(test::ReadBytes(b.file(0)), test::ReadBytes(a.file(0))); // the seeds differ
    ASSERT_EQ(b.engine().loadCarset(ItemChoice::AllHeld, carset, b.ui), TransferOutcome::Done);
    b.transfer().selection = b.transfer().loaded;
    ASSERT_EQ(b.engine().exportToGame(ItemChoice::AsSelected, b.ui), TransferOutcome::Done)
        << b.messages.numbers().size();

    // B's language files are A's, byte for byte; nothing else of B changed.
    auto after = Snapshot(game);
    std::size_t languageFiles = 0;
    for (const auto& [name, bytes] : after) {
        bool isLanguage = name.rfind("LDATA/", 0) == 0 && name.ends_with(".str");
        if (!isLanguage) {
            EXPECT_TRUE(bytes == before[name]) << name;
            continue;
        }
        ++languageFiles;
        int l = LanguageIndexOf(BaseFileName(FileNameOf(name)));
        ASSERT_GE(l, 0) << name;
        EXPECT_TRUE(bytes == test::ReadBytes(a.file(l))) << name;
    }
    EXPECT_EQ(languageFiles, static_cast<std::size_t>(languages));
    EXPECT_TRUE(b.messages.asked.empty());
}

TEST_P(LanguageTransfers, ImportThenExportChangesNoByte)
{
    Fixture f(GetParam(), 3);
    auto before = Snapshot(f.program.settings.gameDirectory);
    ASSERT_EQ(f.importAll(), TransferOutcome::Done);
    f.transfer().selection = f.transfer().loaded;
    ASSERT_EQ(f.engine().exportToGame(ItemChoice::AsSelected, f.ui), TransferOutcome::Done);
    EXPECT_TRUE(f.engine().lastReport().changes.empty());
    EXPECT_TRUE(Snapshot(f.program.settings.gameDirectory) == before);
}

INSTANTIATE_TEST_SUITE_P(Versions, LanguageTransfers, ::testing::Values(1, 2));

TEST(LanguageArea, ACountOfAnotherVersionIsWrittenOnlyAfterYes)
{
    Fixture f(kVersion113, 1);
    ASSERT_EQ(f.importAll(), TransferOutcome::Done);
    f.list(0).resize(2702); // the count of DEUTSCH in v1.00
    auto original = test::ReadBytes(f.file(0));

    f.messages.answer = false;
    EXPECT_EQ(f.exportItems({168}), TransferOutcome::DoneWithErrors);
    ASSERT_EQ(f.messages.asked.size(), 1u);
    EXPECT_EQ(f.messages.asked[0].number, 941);
    EXPECT_EQ(f.messages.asked[0].text, "T941 fits v1.00 installed v1.13");
    EXPECT_TRUE(test::ReadBytes(f.file(0)) == original);

    f.messages.answer = true;
    EXPECT_EQ(f.exportItems({168}), TransferOutcome::Done);
    std::vector<std::string> back;
    ASSERT_TRUE(ReadStringFile(f.file(0), back, nullptr));
    EXPECT_EQ(back, f.list(0));
    auto save = test::ReadBytes(f.program.settings.gameDirectory + "F1GSTATE.SAV");
    EXPECT_EQ(StoredSavegameChecksum(save), ComputeSavegameChecksum(save));
}

TEST(LanguageArea, FailedReadsKeepTheListAndOverlongTextsAreRefused)
{
    Fixture f(kVersion113, 1);
    ASSERT_EQ(f.importAll(), TransferOutcome::Done);
    const auto german = f.list(0);
    const auto english = f.list(1);

    // Too few strings, too long, missing: each reported, each list as it was.
    std::vector<std::string> few(1999, "x");
    WriteStringFile(f.file(0), few);
    test::WriteBytes(f.file(1), std::vector<std::uint8_t>(100'001, 'a'));
    std::filesystem::remove(NativePath(f.file(2)));
    EXPECT_EQ(f.importAll(), TransferOutcome::DoneWithErrors);
    EXPECT_EQ(f.list(0), german);
    EXPECT_EQ(f.list(1), english);
    auto numbers = f.messages.numbers();
    ASSERT_GE(numbers.size(), 3u);
    EXPECT_EQ(std::vector<int>(numbers.begin(), numbers.begin() + 3), (std::vector<int>{766, 738, 349}));
    ASSERT_GE(f.engine().lastReport().failures.size(), 3u);
    EXPECT_EQ(f.engine().lastReport().failures[0].item, 168);

    // A text over the game's 2048 characters is named, not cut.
    auto before = test::ReadBytes(f.file(3));
    f.list(3)[1234] = std::string(2049, 'x');
    EXPECT_EQ(f.exportItems({171}), TransferOutcome::DoneWithErrors);
    ASSERT_FALSE(f.engine().lastReport().failures.empty());
    EXPECT_NE(f.engine().lastReport().failures[0].text.find("1234"), std::string::npos);
    EXPECT_TRUE(test::ReadBytes(f.file(3)) == before);
}

TEST(LanguageArea, ACarsetLeavesOutALanguageItCouldNotStore)
{
    Fixture a(kVersion113, 1);
    ASSERT_EQ(a.importAll(), TransferOutcome::Done);
    a.list(3)[1234] = std::string(2049, 'x');
    std::string carset = a.root / "texts.GMS";
    a.transfer().selection = a.transfer().loaded;
    EXPECT_EQ(a.engine().saveCarset(ItemChoice::AsSelected, carset, a.ui), TransferOutcome::DoneWithErrors);
    ASSERT_EQ(a.engine().lastReport().failures.size(), 1u);
    EXPECT_EQ(a.engine().lastReport().failures[0].item, 171);
    EXPECT_NE(a.engine().lastReport().failures[0].text.find("1234"), std::string::npos);

    // The carset does not claim the language it lacks: loading all it holds
    // takes the other seven and asks for nothing more.
    Fixture b(kVersion113, 2);
    ASSERT_EQ(b.engine().loadCarset(ItemChoice::AllHeld, carset, b.ui), TransferOutcome::Done);
    for (int l = 0; l < kLanguageCount; ++l)
        EXPECT_EQ(b.transfer().isLoaded(168 + l), l != 3) << l;
    EXPECT_EQ(b.list(0), a.list(0));
}

TEST(LanguageArea, ImportAllAddsTheVersionsLanguagesAndCallsTheHookOnce)
{
    Fixture f(kVersion100, 1);
    TransferState& state = f.transfer();
    state.selection.fill(0);
    state.selection[1] = state.selection[138] = 1; // what the run asked for besides
    Messenger messenger(f.program.texts, f.messages);
    TransferContext context{state, f.program, f.loading, messenger};
    LanguagesArea area(f.session->workingSet.gameTexts);
    int calls = 0;
    area.afterImport = [&](TransferContext&) { ++calls; };
    area.importAllLanguages(context);
    EXPECT_EQ(calls, 1);
    for (int n = 1; n < 256; ++n)
        EXPECT_EQ(state.selection[static_cast<std::size_t>(n)], (n >= 168 && n <= 172) || n == 1 || n == 138 ? 1 : 0)
            << n;
    EXPECT_TRUE(state.isLoaded(172));
    EXPECT_FALSE(state.isLoaded(173)); // POLSKI is not a language of v1.00

    // No language read: no hook.
    for (int l = 0; l < 5; ++l)
        std::filesystem::remove(NativePath(f.file(l)));
    area.importAllLanguages(context);
    EXPECT_EQ(calls, 1);
}

// --- the texts editor's rules -----------------------------------------------

TEST(GameTextRules, VersionOfACountAndOverlongTexts)
{
    EXPECT_STREQ(GameVersionName(VersionOfStringCount(0, 2702)), "v1.00");
    EXPECT_STREQ(GameVersionName(VersionOfStringCount(0, 2843)), "v1.13");
    EXPECT_STREQ(GameVersionName(VersionOfStringCount(0, 2000)), "Unknown Version");
    EXPECT_STREQ(GameVersionName(VersionOfStringCount(6, 2833)), "v1.13");
    EXPECT_EQ(TrackTextNumber(0, 6, 0), 1779); // POLSKI's first city name

    std::vector<std::string> texts(2100, "t");
    texts[7] = std::string(2048, 'a');
    EXPECT_EQ(FirstOverlongText(texts), -1);
    texts[9] = std::string(2049, 'a');
    EXPECT_EQ(FirstOverlongText(texts), 9);
    try {
        RequireStringsFit(texts);
        FAIL();
    } catch (const std::length_error& e) {
        EXPECT_NE(std::string(e.what()).find("Text number 9 "), std::string::npos);
    }
}

TEST(GameTextRules, LinesSplitAtLineFeedsOutsideQuotesAndJoinBack)
{
    EXPECT_EQ(SplitTextLines("A\nB"), (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(SplitTextLines("Say \"a\nb\"\nnext"), (std::vector<std::string>{"Say \"a\nb\"", "next"}));
    EXPECT_EQ(SplitTextLines(""), (std::vector<std::string>{""}));
    EXPECT_EQ(SplitTextLines("end\n"), (std::vector<std::string>{"end", ""}));
    for (std::string text : {"A\nB", "Say \"a\nb\"\nnext", "", "\n\n", "one \"open\nquote", "CR\r\nLF"})
        EXPECT_EQ(JoinTextLines(SplitTextLines(text)), text);
}

TEST(GameTextRules, SearchMovesOnFromTheSelectionInBothDirections)
{
    const std::vector<std::string> texts = {"Monaco",
                                            "Start",
                                            "monaco street",
                                            "Ziel",
                                            "MONACO",
                                            "Stra\xDF"
                                            "e \xC4"};
    TextSearch down{"monaco", true, false};
    EXPECT_EQ(FindText(texts, -1, down), 0);
    EXPECT_EQ(FindText(texts, 0, down), 2); // a hit on the selection moves on
    EXPECT_EQ(FindText(texts, 2, down), 4);
    EXPECT_EQ(FindText(texts, 4, down), std::nullopt);
    TextSearch exact{"monaco", true, true};
    EXPECT_EQ(FindText(texts, 0, exact), 2);
    EXPECT_EQ(FindText(texts, 2, exact), std::nullopt);
    TextSearch up{"MONACO", false, true};
    EXPECT_EQ(FindText(texts, 5, up), 4);
    EXPECT_EQ(FindText(texts, 4, up), std::nullopt);
    TextSearch upAnyCase{"MONACO", false, false};
    EXPECT_EQ(FindText(texts, 4, upAnyCase), 2);
    EXPECT_EQ(FindText(texts, -1, upAnyCase), 4);
    // Accented letters compare without case too (Windows-1252 bytes).
    EXPECT_EQ(FindText(texts, 0, TextSearch{"\xE4", true, false}), 5);
    EXPECT_EQ(FindText(texts, 0, TextSearch{"\xE4", true, true}), std::nullopt);
    EXPECT_EQ(FindText({}, -1, down), std::nullopt);
}
