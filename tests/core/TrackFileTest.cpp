#include "TestSupport.h"

#include "base/FileUtils.h"
#include "base/Messages.h"
#include "base/UITexts.h"
#include "formats/TrackFile.h"
#include "transfer/ReportedFormats.h"

#include <gtest/gtest.h>

using namespace pitwall;

namespace {

std::vector<std::uint8_t> Bytes(std::string_view s) { return {s.begin(), s.end()}; }

std::vector<std::uint8_t> WithJamList(std::vector<std::uint8_t> b, std::uint16_t count,
                                      const std::vector<std::string>& names)
{
    for (std::uint8_t m : {12, 13, 14, 15})
        b.push_back(m);
    b.push_back(static_cast<std::uint8_t>(count));
    b.push_back(static_cast<std::uint8_t>(count >> 8));
    for (const auto& n : names) {
        b.insert(b.end(), n.begin(), n.end());
        b.push_back(0);
    }
    return b;
}

} // namespace

TEST(TrackFile, ReadsTheInformationBlock)
{
    TrackInfoBlock b = ParseTrackInfo(Bytes("xxxx#GP3INFO|name|Monza|Laps|53|CRC!"));
    EXPECT_TRUE(b.found);
    EXPECT_EQ(b.values[0], "Monza");
    EXPECT_EQ(b.values[7], "53");
    // The last key wins; an unknown key's value is dropped and the next token is a key again.
    b = ParseTrackInfo(Bytes("#gp3info|NAME|A|web|x.org|YEAR|1998|NAME|B|tail"));
    EXPECT_EQ(b.values[0], "B");
    EXPECT_EQ(b.values[4], "1998");
    // The marker found last (searching backwards) counts.
    b = ParseTrackInfo(Bytes("#GP3INFO|NAME|Old|#GP3INFO|NAME|New|1234"));
    EXPECT_EQ(b.values[0], "New");
    EXPECT_FALSE(ParseTrackInfo(Bytes("no block here at all")).found);
    // A marker right at the end: found, but no tokens.
    b = ParseTrackInfo(Bytes("#GP3INFO"));
    EXPECT_TRUE(b.found);
    EXPECT_EQ(b.values[0], "");
}

TEST(TrackFile, SearchesOnlyTheFirst300001Bytes)
{
    test::TempDir dir;
    std::vector<std::uint8_t> file(400'000, 'x');
    auto block = Bytes("#GP3INFO|NAME|Late|1234");
    std::copy(block.begin(), block.end(), file.end() - static_cast<std::ptrdiff_t>(block.size()));
    test::WriteBytes(dir / "F1CT01.DAT", file);
    TrackInfoBlock b;
    EXPECT_FALSE(ReadTrackInfo(dir / "F1CT01.DAT", b, nullptr));
    EXPECT_FALSE(b.found);

    std::copy(block.begin(), block.end(), file.begin() + 299'970);
    test::WriteBytes(dir / "F1CT01.DAT", file);
    EXPECT_TRUE(ReadTrackInfo(dir / "F1CT01.DAT", b, nullptr));
    // The window's own last 4 bytes are cut, as if they were the file's.
    EXPECT_EQ(b.values[0], "Late");

    UITexts texts;
    test::RecordingMessages sink;
    Messenger m(texts, sink);
    EXPECT_FALSE(ReadTrackInfo(dir / "missing.DAT", b, &m));
    EXPECT_TRUE(ReadJamList(dir / "missing.DAT", &m).empty());
    EXPECT_EQ(sink.numbers(), (std::vector<int>{349, 349}));
}

TEST(TrackFile, ReadsTheJamList)
{
    auto file = WithJamList(Bytes("data"), 3, {"GP3JAMS\\A.JAM", "GP3JAMS\\B.JAM", ""});
    EXPECT_EQ(ParseJamList(file), (std::vector<std::string>{"GP3JAMS\\A.JAM", "GP3JAMS\\B.JAM", ""}));
    // A name without its 0 byte is cut at 100 bytes; the next starts right after.
    auto longName = WithJamList({}, 2, {});
    longName.insert(longName.begin(), 'z');
    longName.insert(longName.end(), 130, 'n');
    auto names = ParseJamList(longName);
    ASSERT_EQ(names.size(), 2u);
    EXPECT_EQ(names[0].size(), 100u);
    EXPECT_EQ(names[1].size(), 30u);
    // Marker only at position 0 does not count; none at all: empty.
    EXPECT_TRUE(ParseJamList(WithJamList({}, 1, {"X"})).empty());
    EXPECT_TRUE(ParseJamList(Bytes("nothing")).empty());
}

TEST(TrackFile, AbsurdCountsAndTruncationGiveWhatWasRead)
{
    auto file = WithJamList(Bytes("data"), 65535, {"ONE.JAM", "TWO.JAM"});
    EXPECT_EQ(ParseJamList(file), (std::vector<std::string>{"ONE.JAM", "TWO.JAM"}));
    auto cut = WithJamList(Bytes("data"), 5, {});
    cut.pop_back(); // half a count
    EXPECT_TRUE(ParseJamList(cut).empty());
}

TEST(TrackFile, ListsShortNamesInUpperCase)
{
    test::TempDir dir;
    ForceDirectories(dir / "circuits");
    for (const char* n : {"f1ct01.dat", "F1CT02.DAT", "SILVERSTONE98.DAT", "ABCDEFG.DAT"})
        test::WriteBytes(dir / (std::string("circuits/") + n), {1});
    EXPECT_EQ(ListTrackFiles(dir.path()), (std::vector<std::string>{"F1CT01.DAT", "F1CT02.DAT"}));
    EXPECT_TRUE(ListTrackFiles(dir / "nowhere").empty());
}
