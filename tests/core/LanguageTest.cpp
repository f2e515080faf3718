#include "TestSupport.h"

#include "app/Language.h"
#include "base/FileUtils.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>

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
    std::vector<std::string> files = {"DEUTSCH.LNG", "English.lng",
                                      "FRAN\xC7"
                                      "AIS.LNG"};
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
    EXPECT_EQ(sink.shown[0].text,
              "SHORT.LNG is an invalid language-file! Maybe some texts will not be displayed correctly!");
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
    // The marquee is measured on every step of its scroll: a hostile file's
    // endless first line is cut to what a status-bar panel could ever show.
    lines[0] = "WWW" + std::string(1'000'000, '\xAD');
    BuildUITexts(lines, texts);
    EXPECT_EQ(texts.marquee().size(), 2000u);
    EXPECT_EQ(texts.marquee().substr(0, 4), "WWW\xAD");
}

namespace {

// The words of a text (four letters or more, in lower case) that are not
// part of a game identifier or a file name ("lcdp_CAR_NUMBER", "GP3.EXE").
std::set<std::string> WordsOf(const std::string& text)
{
    std::set<std::string> words;
    std::string token, word;
    auto endToken = [&] {
        if (token.find_first_of("_.\\") == std::string::npos) {
            for (std::size_t i = 0; i <= token.size(); ++i) {
                const unsigned char c = i < token.size() ? static_cast<unsigned char>(token[i]) : ' ';
                if (std::isalpha(c) || c >= 0xC0) {
                    word += static_cast<char>(c < 0x80 ? std::tolower(c) : c);
                } else {
                    if (word.size() >= 4)
                        words.insert(word);
                    word.clear();
                }
            }
        }
        token.clear();
    };
    for (char c : text) {
        if (c == ' ' || c == '\n' || c == '|' || c == '(' || c == ')' || c == ',' || c == ':' || c == '"')
            endToken();
        else
            token += c;
    }
    endToken();
    return words;
}

int EditDistance(const std::string& a, const std::string& b)
{
    std::vector<int> previous(b.size() + 1), current(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j)
        previous[j] = static_cast<int>(j);
    for (std::size_t i = 1; i <= a.size(); ++i) {
        current[0] = static_cast<int>(i);
        for (std::size_t j = 1; j <= b.size(); ++j)
            current[j] = std::min({previous[j] + 1, current[j - 1] + 1, previous[j - 1] + (a[i - 1] != b[j - 1])});
        std::swap(previous, current);
    }
    return previous[b.size()];
}

// English words the German interface uses as they are: names, and racing
// and computing terms that German speakers use in English.
const std::set<std::string> kWordsGermanKeeps = {
    "amateur",   "animation",  "audio",    "autopilot", "backup",      "bitmap",      "board",        "bridgestone",
    "bytes",     "carset",     "carsets",  "cart",      "chat",        "circuits",    "cockpit",      "cockpits",
    "computer",  "credits",    "detail",   "details",   "display",     "displays",    "drag",         "drop",
    "editor",    "export",     "files",    "filter",    "format",      "garage",      "goodyear",     "grand",
    "grip",      "hardware",   "import",   "index",     "info",        "information", "installation", "jams",
    "joystick",  "jpeg",       "jump",     "loading",   "logo",        "main",        "maximum",      "menu",
    "minimum",   "mono",       "name",       "overall",  "palette",   "pause",     "performance", "pitwall",     "pixel",        "position",
    "prix",      "qualifying", "quick",    "rookie",    "seat",        "semi",        "setup",        "simulation",
    "situation", "slot",       "software", "sound",     "sounds",      "standard",    "start",        "stereo",       "stop",
    "team",      "teams",      "text",     "version",   "warm",        "windows",     "wine",         "workshop",
    "workshops", "zoom"};

} // namespace

// The German file is German throughout: a word it shares with the English
// text of the same number is one German uses as it is, and a word that is
// one letter away from such a kept English word is a misspelling of it
// ("JAM-Workhop" for the "Workshop" of the other texts).
TEST(Language, GermanTextsAreTranslatedAndSpelledAsTheirNeighbours)
{
    UITexts english, german;
    test::RecordingMessages sink;
    ASSERT_TRUE(LoadLanguage(PITWALL_RUNTIME_DIR, "ENGLISH.LNG", english, sink));
    ASSERT_TRUE(LoadLanguage(PITWALL_RUNTIME_DIR, "DEUTSCH.LNG", german, sink));
    ASSERT_EQ(english.all().size(), german.all().size());
    std::set<std::string> germanWords;
    for (const std::string& text : german.all())
        for (const std::string& w : WordsOf(text))
            germanWords.insert(w);
    auto germanUses = [&](const std::string& part) {
        return std::any_of(germanWords.begin(), germanWords.end(),
                           [&](const std::string& w) { return w.find(part) != std::string::npos; });
    };
    for (std::size_t n = 0; n < english.all().size(); ++n) {
        const std::set<std::string> en = WordsOf(english.all()[n]), de = WordsOf(german.all()[n]);
        for (const std::string& w : de) {
            if (en.count(w)) {
                EXPECT_TRUE(kWordsGermanKeeps.count(w))
                    << "UI text " << n << " keeps the English \"" << w << "\": " << german.all()[n];
                continue;
            }
            for (const std::string& kept : en) {
                const bool variant = w.rfind(kept, 0) == 0 || kept.rfind(w, 0) == 0;
                if (kept.size() >= 6 && !variant && EditDistance(w, kept) == 1 && germanUses(kept))
                    ADD_FAILURE() << "UI text " << n << " misspells \"" << kept << "\": " << german.all()[n];
            }
        }
    }
}
