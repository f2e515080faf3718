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
    // Where the first entry from `from` on starts with `start`; log.size() if none does.
    std::size_t find(const std::string& start, std::size_t from = 0) const
    {
        for (std::size_t i = from; i < log.size(); ++i)
            if (log[i].starts_with(start))
                return i;
        return log.size();
    }
    std::size_t findMessageNaming(const std::string& file) const
    {
        for (std::size_t i = 0; i < log.size(); ++i)
            if (log[i].starts_with("message ") && log[i].find(file) != std::string::npos)
                return i;
        return log.size();
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

void RemoveMembers(const std::string& carset, std::initializer_list<std::string> names)
{
    int error = 0;
    zip_t* z = zip_open(carset.c_str(), 0, &error);
    ASSERT_NE(z, nullptr);
    for (const std::string& name : names) {
        const zip_int64_t index = zip_name_locate(z, name.c_str(), 0);
        ASSERT_GE(index, 0) << name;
        ASSERT_EQ(zip_delete(z, static_cast<zip_uint64_t>(index)), 0) << name;
    }
    ASSERT_EQ(zip_close(z), 0);
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
    auto dump = [&] { return shown.dump(); };
    const std::size_t end = shown.log.size();

    const std::size_t livery = shown.findMessageNaming("FERRAR98.JAM");
    const std::size_t pitCrew = shown.find("line T898");
    const std::size_t soundsLine = shown.find("line T243");
    const std::size_t sounds = shown.find("message T668");
    const std::size_t loadingLine = shown.find("line T240");
    const std::size_t loading = shown.findMessageNaming(LoadingPictureName(3));
    const std::size_t display = shown.find("line T337");
    const std::size_t secondTyres = shown.find("line T1000", shown.find("line T1000") + 1);
    const std::size_t tyres = shown.findMessageNaming(std::filesystem::path(tyre).filename().string());
    const std::size_t flags = shown.find("line T1004");
    for (std::size_t at :
         {livery, pitCrew, soundsLine, sounds, loadingLine, loading, display, secondTyres, tyres, flags})
        ASSERT_LT(at, end) << dump();
    EXPECT_LT(livery, pitCrew) << dump();
    EXPECT_LT(pitCrew, soundsLine) << dump();
    EXPECT_EQ(sounds, soundsLine + 1) << dump();
    EXPECT_EQ(loading, loadingLine + 1) << dump();
    EXPECT_LT(sounds, loadingLine) << dump();
    EXPECT_LT(loading, display) << dump();
    EXPECT_LT(display, secondTyres) << dump();
    EXPECT_EQ(tyres, secondTyres + 1) << dump();
    EXPECT_LT(tyres, flags) << dump();

    // The report: the same failures in the same order, each with its item.
    std::vector<std::string> reported;
    for (const TransferFailure& failure : f.engine().lastReport().failures)
        if (failure.text.find("FERRAR98.JAM") != std::string::npos || failure.text.starts_with("T668")
            || failure.text.find(LoadingPictureName(3)) != std::string::npos
            || failure.text.find(std::filesystem::path(tyre).filename().string()) != std::string::npos)
            reported.push_back(failure.text.substr(0, 4) + " " + std::to_string(failure.item));
    const auto& loaded = f.set().transfer.loaded;
    ASSERT_EQ(reported.size(), 4u) << dump();
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
    RemoveMembers(carset, {"FERRAR98.JAMSoft.DAT", "LOADING3.BMP", "TeamArt4.DAT", tyre});

    TransferFixture fresh(2);
    fresh.program.palette = DistinctPalette();
    ShownInTurn shown;
    TransferUi ui{shown, shown};
    EXPECT_EQ(fresh.engine().loadCarset(ItemChoice::AllHeld, carset, ui), TransferOutcome::DoneWithErrors);
    const std::size_t end = shown.log.size();
    const std::size_t livery = shown.findMessageNaming("FERRAR98.JAMSoft.DAT");
    const std::size_t pitCrew = shown.find("line T898");
    const std::size_t loadingLine = shown.find("line T240");
    const std::size_t loading = shown.findMessageNaming("LOADING3.BMP");
    const std::size_t sheetLine = shown.find("line T242 5");
    const std::size_t sheet = shown.findMessageNaming("TeamArt4.DAT");
    const std::size_t display = shown.find("line T337");
    const std::size_t secondTyres = shown.find("line T1000", shown.find("line T1000") + 1);
    const std::size_t tyres = shown.findMessageNaming(tyre);
    const std::size_t flags = shown.find("line T1004");
    for (std::size_t at : {livery, pitCrew, loadingLine, loading, sheetLine, sheet, display, secondTyres, tyres, flags})
        ASSERT_LT(at, end) << shown.dump();
    EXPECT_LT(livery, pitCrew) << shown.dump();
    EXPECT_LT(pitCrew, loadingLine) << shown.dump();
    EXPECT_EQ(loading, loadingLine + 1) << shown.dump();
    EXPECT_LT(loading, sheetLine) << shown.dump();
    EXPECT_EQ(sheet, sheetLine + 1) << shown.dump();
    EXPECT_LT(sheet, display) << shown.dump();
    EXPECT_LT(display, secondTyres) << shown.dump();
    EXPECT_EQ(tyres, secondTyres + 1) << shown.dump();
    EXPECT_LT(tyres, flags) << shown.dump();
    const auto& loaded = fresh.set().transfer.loaded;
    EXPECT_FALSE(loaded[kLoadingPicturesItem]);
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
