#include "TestSupport.h"

#include "app/Language.h"
#include "transfer/FileUtils.h"

#include <gtest/gtest.h>

using namespace pitwall;

namespace {

// A language file of `lines` lines: the marquee, then "text n" for UI text n.
std::string LanguageFile(int lines)
{
    std::string text = "Marquee\r\n";
    for (int n = 0; n + 1 < lines; ++n)
        text += "text " + std::to_string(n) + "\r\n";
    return text;
}

} // namespace

TEST(Language, ChoiceOfTheLanguageFile)
{
    std::vector<std::string> files = {"DEUTSCH.LNG", "English.lng", "FRAN\xC7" "AIS.LNG"};
    EXPECT_EQ(ChooseLanguageIndex(files, "deutsch.lng"), 0);
    EXPECT_EQ(ChooseLanguageIndex(files, "ITALIANO.LNG"), 1); // absent setting: English
    EXPECT_EQ(ChooseLanguageIndex(files, ""), 1);
    EXPECT_EQ(ChooseLanguageIndex({"POLSKI.LNG", "DEUTSCH.LNG"}, ""), 0); // no English: the first
    EXPECT_EQ(ChooseLanguageIndex({"DEUTSCH.LNG"}, ""), 0);
    EXPECT_EQ(ChooseLanguageIndex({}, "ENGLISH.LNG"), -1);
}

TEST(Language, SelectLoadsTheChosenFile)
{
    test::TempDir dir;
    test::WriteText(dir / "DEUTSCH.LNG", LanguageFile(1134));
    test::WriteText(dir / "ENGLISH.LNG", "English marquee\r\n" + LanguageFile(1200).substr(9));
    test::WriteText(dir / "README.TXT", "not a language");
    UITexts texts;
    test::RecordingMessages sink;
    auto s = SelectLanguage(dir.path(), "MISSING.LNG", texts, sink);
    EXPECT_EQ(s.outcome, LanguageSelection::Loaded);
    EXPECT_EQ(s.files, (std::vector<std::string>{"DEUTSCH.LNG", "ENGLISH.LNG"}));
    EXPECT_EQ(s.file, "ENGLISH.LNG");
    EXPECT_EQ(texts.marquee(), "English marquee");
    EXPECT_EQ(texts.text(0), "text 0");
    EXPECT_EQ(texts.text(1151), "text 1151");
    EXPECT_TRUE(sink.shown.empty());
}

TEST(Language, NoLanguageFilesAtAll)
{
    test::TempDir dir;
    UITexts texts;
    test::RecordingMessages sink;
    auto s = SelectLanguage(dir.path(), "", texts, sink);
    EXPECT_EQ(s.outcome, LanguageSelection::NoLanguageFiles);
    ASSERT_EQ(sink.shown.size(), 1u);
    EXPECT_EQ(sink.shown[0].text, kNoLanguageFilesMessage);
}

TEST(Language, ShortFileIsFilledAndReported)
{
    test::TempDir dir;
    test::WriteText(dir / "SHORT.LNG", "Marquee\nLine 0\nLine 1\nLine 2\nLine A|Line B\nx\ny\nz\nw\nv");
    UITexts texts;
    test::RecordingMessages sink;
    ASSERT_TRUE(LoadLanguage(dir.path(), "SHORT.LNG", texts, sink));
    ASSERT_EQ(sink.shown.size(), 1u);
    EXPECT_EQ(sink.shown[0].text, "SHORT.LNG is an invalid language-file! Maybe some texts will not be displayed correctly!");
    EXPECT_EQ(texts.text(3), "Line A\nLine B"); // "|" is a line break
    EXPECT_EQ(texts.text(8), "v");
    EXPECT_EQ(texts.text(9), "Invalid language-file");
    EXPECT_EQ(texts.text(1132), "Invalid language-file");
    EXPECT_EQ(texts.all().size(), 1133u);
    EXPECT_EQ(texts.text(1151), "Invalid language-file"); // beyond the list
    EXPECT_EQ(texts.text(-1), "Invalid language-file");
}

TEST(Language, MissingOrUnreadableFileKeepsThePreviousTexts)
{
    test::TempDir dir;
    test::WriteText(dir / "A.LNG", LanguageFile(1134));
    UITexts texts;
    test::RecordingMessages sink;
    ASSERT_TRUE(LoadLanguage(dir.path(), "A.LNG", texts, sink));
    EXPECT_FALSE(LoadLanguage(dir.path(), "B.LNG", texts, sink));
    ForceDirectories(dir / "DIR.LNG");
    EXPECT_FALSE(LoadLanguage(dir.path(), "DIR.LNG", texts, sink));
    EXPECT_EQ(sink.shown.size(), 2u);
    EXPECT_EQ(sink.shown[0].text, "Cannot find language-file!");
    EXPECT_EQ(texts.text(5), "text 5");
}

TEST(Language, LineEndsAndFormatting)
{
    EXPECT_EQ(SplitLines("a\r\nb\nc\rd"), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitLines("a\r\n\r\n"), (std::vector<std::string>{"a", ""}));
    UITexts texts;
    std::vector<std::string> lines = {"M", "Team %d", "%s needs %d MB", "broken %d %d"};
    BuildUITexts(lines, texts);
    EXPECT_EQ(texts.format(0, Args(4)), "Team 4");
    EXPECT_EQ(texts.format(1, Args("Carset", 6)), "Carset needs 6 MB");
    // A translation whose placeholders do not fit shows its text as it is.
    EXPECT_EQ(texts.format(2, Args(1)), "broken %d %d");
}
