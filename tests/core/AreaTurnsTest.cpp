#include "TransferFixture.h"

#include "formats/SoundBankFiles.h"
#include "graphics/FlagColoursArea.h"
#include "graphics/TyreSet.h"
#include "graphics/TyresArea.h"
#include "menu/MenuArt.h"
#include "sounds/SoundsArea.h"
#include "transfer/AreaRecording.h"

#include <algorithm>
#include <filesystem>
#include <stdexcept>
#include <zip.h>

using namespace pitwall;
using test::TransferFixture;

namespace {

// The loading window's lines and the messages in one sequence, as the user
// sees them.
class ShownInTurn : public LoadingWindow, public MessageSink {
public:
    void begin(const std::string&, const std::string&, std::uint16_t) override {}
    void end() override {}
    void setProgress(const std::string& text, int) override { log.push_back("line " + text); }
    void showMessage(const Message& message) override { log.push_back("message " + message.text); }
    bool askYesNo(const Message& message) override
    {
        log.push_back("question " + message.text);
        return true;
    }
    // One entry the log must hold: one that starts with `start` and names
    // `naming`, after the entry of the step before (right after it, with
    // rightAfter).
    struct Step {
        std::string start;
        std::string naming = {};
        bool rightAfter = false;
    };
    testing::AssertionResult showsInOrder(const std::vector<Step>& steps) const
    {
        std::size_t at = 0;
        for (const Step& step : steps) {
            auto matches = [&](std::size_t i) {
                return log[i].starts_with(step.start) && log[i].find(step.naming) != std::string::npos;
            };
            std::size_t found = log.size();
            for (std::size_t i = at; i < log.size() && found == log.size(); ++i)
                if (matches(i))
                    found = i;
            if (found == log.size() || (step.rightAfter && found != at))
                return testing::AssertionFailure()
                    << "no \"" << step.start << "\" naming \"" << step.naming << "\""
                    << (step.rightAfter ? " right" : "") << " after the step before in:\n"
                    << dump();
            at = found + 1;
        }
        return testing::AssertionSuccess();
    }
    std::vector<std::string> log;

    std::string dump() const
    {
        std::string all;
        for (const auto& entry : log)
            all += entry + "\n";
        return all;
    }
};

// Every index its own colour, so that every 8-bit JAM can be read.
Palette DistinctPalette()
{
    std::array<Pixel, 256> pixels{};
    for (int i = 1; i < 256; ++i)
        pixels[static_cast<std::size_t>(i)] = MakePixel(i, 255 - i, 40 + i % 7);
    return Palette(pixels);
}

std::string Native(const std::string& gamePath)
{
    std::string path = gamePath;
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

} // namespace

// Some areas import on a helper thread beside the others. Whatever finishes
// first, the user reads the loading window's lines and the messages in the
// order of the areas, each failure after its own item's line, and the run's
// report lists the failures in that order too.
TEST(AreaTurns, AnImportShowsItsLinesAndMessagesInTheAreasOrderWhateverRanBeside)
{
    TransferFixture f;
    f.program.palette = DistinctPalette();
    // Failures in areas that may run beside the others (the car liveries, the
    // sounds, the loading pictures, the tyres) and lines of areas that run in
    // turn between them (the pit crew, the display, the flags).
    std::filesystem::remove(f.game("GP3JAMS/Liveries/FERRAR98.JAM"));
    const std::string bank = f.game(Native(kSoundBankGamePath));
    std::filesystem::resize_file(bank, std::filesystem::file_size(bank) / 2);
    std::filesystem::remove(f.game(Native(LoadingPictureGamePath(3))));
    const std::string tyre = Native(TyreGamePath(1, 0));
    std::filesystem::remove(f.game(tyre));

    ShownInTurn shown;
    TransferUi ui{shown, shown};
    f.set().transfer.selectAll();
    EXPECT_EQ(f.engine().importFromGame(ItemChoice::AsSelected, OpenEditor::Untouched, ui),
              TransferOutcome::DoneWithErrors);
    const std::string tyreName = std::filesystem::path(tyre).filename().string();
    EXPECT_TRUE(shown.showsInOrder({{"message", "FERRAR98.JAM"},
                                    {"line T898"},
                                    {"line T243"},
                                    {"message T668", "GP3SOUND.DAT", true},
                                    {"line T240"},
                                    {"message T349", LoadingPictureName(3), true},
                                    {"line T337"},
                                    {"line T1000"},
                                    {"line T1000"},
                                    {"message T349", tyreName, true},
                                    {"line T1004"}}));

    // The report: the same failures in the same order, each with its item.
    std::vector<std::string> reported;
    for (const TransferFailure& failure : f.engine().lastReport().failures)
        if (failure.text.find("FERRAR98.JAM") != std::string::npos || failure.text.starts_with("T668")
            || failure.text.find(LoadingPictureName(3)) != std::string::npos
            || failure.text.find(tyreName) != std::string::npos)
            reported.push_back(failure.text.substr(0, 4) + " " + std::to_string(failure.item));
    const auto& loaded = f.set().transfer.loaded;
    ASSERT_EQ(reported.size(), 4u) << shown.dump();
    EXPECT_TRUE(reported[0].starts_with("T349")) << reported[0];
    EXPECT_EQ(reported[1], "T668 " + std::to_string(kSoundsItem));
    EXPECT_EQ(reported[2], "T349 " + std::to_string(kLoadingPicturesItem));
    EXPECT_EQ(reported[3], "T349 " + std::to_string(kTyresFirstItem + 1));
    // What did not fail was taken.
    EXPECT_FALSE(loaded[kSoundsItem]);
    EXPECT_FALSE(loaded[kLoadingPicturesItem]);
    EXPECT_FALSE(loaded[kTyresFirstItem + 1]);
    EXPECT_TRUE(loaded[kTyresFirstItem]);
    EXPECT_TRUE(loaded[kFlagColoursItem]);
}

// The same for a carset load: the team sheets, the loading pictures and the
// tyres load beside the others, their failures shown in their turn.
TEST(AreaTurns, ACarsetLoadShowsItsLinesAndMessagesInTheAreasOrder)
{
    TransferFixture f;
    f.program.palette = DistinctPalette();
    f.set().transfer.selectAll();
    ASSERT_EQ(f.engine().importFromGame(ItemChoice::AsSelected, OpenEditor::Untouched, f.ui), TransferOutcome::Done);
    const std::string carset = f.root / "all.GMS";
    ASSERT_EQ(f.saveCarset(carset), TransferOutcome::Done);
    const std::string tyre = TyreFileNames(1)[0];
    test::RemoveMembers(carset, {"FERRAR98.JAMSoft.DAT", "LOADING3.BMP", "TeamArt4.DAT", tyre});

    TransferFixture fresh(2);
    fresh.program.palette = DistinctPalette();
    ShownInTurn shown;
    TransferUi ui{shown, shown};
    EXPECT_EQ(fresh.engine().loadCarset(ItemChoice::AllHeld, carset, ui), TransferOutcome::DoneWithErrors);
    EXPECT_TRUE(shown.showsInOrder({{"message", "FERRAR98.JAMSoft.DAT"},
                                    {"line T898"},
                                    {"line T240"},
                                    {"message T349", "LOADING3.BMP", true},
                                    {"line T242 5"},
                                    {"message T349", "TeamArt4.DAT", true},
                                    {"line T337"},
                                    {"line T1000"},
                                    {"line T1000"},
                                    {"message T349", tyre, true},
                                    {"line T1004"}}));
    const auto& loaded = fresh.set().transfer.loaded;
    EXPECT_TRUE(loaded[kLoadingPicturesItem]); // the five the carset holds
    EXPECT_FALSE(loaded[kTyresFirstItem + 1]);
    EXPECT_TRUE(loaded[kTyresFirstItem]);
    EXPECT_TRUE(loaded[kSoundsItem]);
}

// A recording shows what it kept in its order, adds its failures to the
// run's, and refuses a question it cannot put to the user.
TEST(AreaTurns, ARecordingShowsWhatItKeptInOrderAndRefusesQuestions)
{
    AreaRecording recording;
    recording.setProgress("first", 3);
    recording.showMessage({349, "missing"});
    recording.setProgress("second", 4);
    recording.failures.push_back({7, "missing"});
    EXPECT_THROW(recording.askYesNo({1, "may I?"}), std::logic_error);

    ShownInTurn shown;
    std::vector<TransferFailure> run{{1, "before"}};
    recording.replay(shown, shown, run);
    EXPECT_EQ(shown.log, (std::vector<std::string>{"line first", "message missing", "line second"}));
    ASSERT_EQ(run.size(), 2u);
    EXPECT_EQ(run[1].item, 7);

    recording.escaped = std::make_exception_ptr(std::runtime_error("out"));
    EXPECT_THROW(recording.replay(shown, shown, run), std::runtime_error);
}
