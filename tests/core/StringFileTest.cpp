#include "TestSupport.h"

#include "base/FormatError.h"
#include "base/Messages.h"
#include "base/TextEncoding.h"
#include "base/UITexts.h"
#include "formats/GameInstallation.h"
#include "formats/GameLanguages.h"
#include "formats/StringFile.h"
#include "transfer/ReportedFormats.h"

#include <gtest/gtest.h>

using namespace pitwall;

namespace {

struct Messages {
    UITexts texts;
    test::RecordingMessages sink;
    Messenger messenger{texts, sink};
};

std::vector<std::uint8_t> Bytes(std::string_view s) { return {s.begin(), s.end()}; }

std::vector<std::string> Numbered(std::size_t n)
{
    std::vector<std::string> v;
    for (std::size_t i = 0; i < n; ++i)
        v.push_back("Text " + std::to_string(i));
    return v;
}

} // namespace

TEST(StringFile, StringsEndAtZeroBytes)
{
    EXPECT_EQ(ParseStringFile(Bytes(std::string("\x75\x0A\0\0A\0\0B\0", 9))), (std::vector<std::string>{"A", "", "B"}));
    // A last string without its 0 byte is dropped; the header is not looked at.
    EXPECT_EQ(ParseStringFile(Bytes(std::string("XXXXA\0BC", 8))), (std::vector<std::string>{"A"}));
    EXPECT_TRUE(ParseStringFile(Bytes("\x75\x0A")).empty());
}

TEST(StringFile, WritesHeader2677AndCutsLongStrings)
{
    auto bytes = BuildStringFile({std::string(3000, 'x'), "\xE9t\xE9"});
    ASSERT_GE(bytes.size(), 4u);
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 4),
              (std::vector<std::uint8_t>{0x75, 0x0A, 0, 0}));
    auto back = ParseStringFile(bytes);
    EXPECT_EQ(back[0].size(), 2048u);
    EXPECT_EQ(back[1], "\xE9t\xE9");
    EXPECT_EQ(BuildStringFile({}), (std::vector<std::uint8_t>{0x75, 0x0A, 0, 0}));
}

TEST(StringFile, ReadsWithinTheLimits)
{
    test::TempDir dir;
    Messages m;
    auto list = Numbered(2843);
    WriteStringFile(dir / "a.str", list);
    std::vector<std::string> read;
    ASSERT_TRUE(ReadStringFile(dir / "a.str", read, &m.messenger));
    EXPECT_EQ(read, list);

    // Exactly 100,000 bytes are read, one more is refused.
    std::vector<std::uint8_t> big = {0x75, 0x0A, 0, 0};
    while (big.size() < 100'000)
        big.push_back(big.size() % 40 == 0 ? 0 : 'a');
    big.back() = 0;
    test::WriteBytes(dir / "big.str", big);
    EXPECT_TRUE(ReadStringFile(dir / "big.str", read, &m.messenger));
    big.push_back(0);
    test::WriteBytes(dir / "big.str", big);
    read = {"kept"};
    EXPECT_FALSE(ReadStringFile(dir / "big.str", read, &m.messenger));
    EXPECT_EQ(read, (std::vector<std::string>{"kept"}));

    // Fewer than 2000 strings: refused, and the list stays as it was.
    WriteStringFile(dir / "few.str", Numbered(1999));
    EXPECT_FALSE(ReadStringFile(dir / "few.str", read, &m.messenger));
    EXPECT_EQ(read, (std::vector<std::string>{"kept"}));
    EXPECT_FALSE(ReadStringFile(dir / "none.str", read, &m.messenger));
    EXPECT_EQ(m.sink.numbers(), (std::vector<int>{738, 766, 349}));
}

TEST(StringFile, CaretRulesOfTheTextForm)
{
    EXPECT_EQ(UnescapeTextLine("Hi^Mok"), "Hi\rok");
    EXPECT_EQ(UnescapeTextLine("a^b"), "a^b");
    EXPECT_EQ(UnescapeTextLine("^^"), std::string(1, '\x1E'));
    EXPECT_EQ(UnescapeTextLine("end^"), "end^");
    EXPECT_EQ(UnescapeTextLine("^@x"), std::string("\0x", 2));
    EXPECT_EQ(EscapeTextLine("\x1B"), "^[");
    EXPECT_EQ(EscapeTextLine("\x01\r\n\t"), "^A^M^J^I");

    std::vector<std::string> list = {"first", "", "line\r\nbreak", "tab\there", "Caf\xE9"};
    std::string text = BuildTextForm(list);
    EXPECT_EQ(text, "first\r\n\r\nline^M^Jbreak\r\ntab^Ihere\r\nCaf\xE9\r\n");
    EXPECT_EQ(ParseTextForm(text), list);
    EXPECT_EQ(ParseTextForm("a\nb\rc"), (std::vector<std::string>{"a", "b", "c"}));
}

// Text files from today's editors are UTF-8: they are converted to the
// game's Windows-1252, a character it has no byte for is refused with its
// line and column, and Windows-1252 files read as before.
TEST(StringFile, TextFilesInUtf8AreConvertedOrRefusedWithLineAndColumn)
{
    test::TempDir dir;
    test::WriteText(dir / "utf8.txt", "Hello\nGr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC\n");
    EXPECT_EQ(ReadTextFile(dir / "utf8.txt"), (std::vector<std::string>{"Hello", "Gr\xFC\xDF" "e \x80"}));
    // With a byte-order mark, and with plain ASCII, the same.
    test::WriteText(dir / "bom.txt", "\xEF\xBB\xBFGr\xC3\xBC\xC3\x9F" "e\r\nA^M");
    EXPECT_EQ(ReadTextFile(dir / "bom.txt"), (std::vector<std::string>{"Gr\xFC\xDF" "e", "A\r"}));
    // Windows-1252 bytes that are not UTF-8 stay as they are.
    test::WriteText(dir / "cp1252.txt", "Gr\xFC\xDF" "e \x80\r\n\xE9t\xE9\r\n");
    EXPECT_EQ(ReadTextFile(dir / "cp1252.txt"), (std::vector<std::string>{"Gr\xFC\xDF" "e \x80", "\xE9t\xE9"}));

    test::WriteText(dir / "omega.txt", "First\r\nsecond \xC3\xBC line\r\nab \xCE\xA9\r\n");
    try {
        ReadTextFile(dir / "omega.txt");
        ADD_FAILURE() << "the omega was taken";
    } catch (const FormatError& e) {
        EXPECT_EQ(e.number(), kUnstorableTextFileCharacterText);
        EXPECT_EQ(e.args(), Args(dir / "omega.txt", 3, 4, "\xCE\xA9"));
    }

    // Written back as UTF-8, a language reads in again unchanged.
    const std::vector<std::string> strings = {"Gr\xFC\xDF" "e \x80", "\x81\x9D", "tab\there"};
    WriteTextFile(dir / "out.txt", strings, TextFileEncoding::Utf8);
    EXPECT_EQ(test::ReadText(dir / "out.txt").substr(0, 11), "Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC");
    EXPECT_EQ(ReadTextFile(dir / "out.txt"), strings);
    WriteTextFile(dir / "out.txt", strings);
    EXPECT_EQ(test::ReadText(dir / "out.txt").substr(0, 7), "Gr\xFC\xDF" "e \x80");

    // Far beyond any text form of a string file the game reads: not split
    // into millions of lines.
    test::WriteText(dir / "lines.txt", std::string(2 * 1024 * 1024, '\n'));
    EXPECT_ANY_THROW(ReadTextFile(dir / "lines.txt"));
}

TEST(GameLanguages, CountsVersionsAndTrackTexts)
{
    EXPECT_EQ(LanguagesOfVersion(kVersion100), 5);
    EXPECT_EQ(LanguagesOfVersion(kVersion113Video), 8);
    EXPECT_EQ(LanguagesOfVersion(kUnknownVersion), 1);
    EXPECT_TRUE(StringCountFits(1, kVersion113, 2835));
    EXPECT_FALSE(StringCountFits(1, kVersion100, 2835));
    EXPECT_FALSE(StringCountFits(0, kUnknownVersion, 2843));
    EXPECT_EQ(VersionOfStringCount(0, 2843), kVersion113);
    EXPECT_EQ(VersionOfStringCount(4, 2701), kVersion100);
    EXPECT_EQ(VersionOfStringCount(5, 2694), kUnknownVersion);
    EXPECT_EQ(TrackTextNumber(0, 1, 0), 1781);
    EXPECT_EQ(TrackTextNumber(6, 2, 15), 1916);
    EXPECT_EQ(TrackTextNumber(6, 7, 1), 1901);
    EXPECT_EQ(LanguageFileGamePath(2), "LDATA\\ESPA\xC3\xB1OL.str");
    EXPECT_EQ(LanguageIndexOf("portugu\xC3\xAAs"), 7);
    EXPECT_EQ(LanguageIndexOf("FRAN\xE7"
                              "AIS"),
              3);
    EXPECT_EQ(LanguageIndexOf("KLINGON"), -1);
}
