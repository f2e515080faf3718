#include "TestSupport.h"

#include "base/FormatError.h"
#include "base/Messages.h"
#include "base/UITexts.h"
#include "formats/PictureError.h"
#include "formats/Pictures.h"
#include "formats/StringFile.h"
#include "transfer/FormatMessages.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace pitwall;

namespace {

struct Reporting {
    Reporting()
    {
        std::vector<std::string> all(1200, "");
        all[kMissingFileText] = "missing %s";
        all[kPictureUnreadableText] = "%s: %s";
        all[161] = "damaged";
        texts.assign(all, "");
    }
    UITexts texts;
    test::RecordingMessages sink;
    Messenger messenger{texts, sink};
};

} // namespace

// A reader names the UI text and its arguments and shows nothing; the layer
// above shows exactly that text once.
TEST(FormatErrorTest, ReadersThrowTheTextAndTheReportingLayerShowsIt)
{
    Reporting r;
    const std::string missing = "no/such/STRINGS.TXT";
    std::vector<std::string> strings{"kept"};
    try {
        ReadStringFile(missing, strings);
        FAIL() << "a missing file was read";
    } catch (const FormatError& e) {
        EXPECT_EQ(e.number(), kMissingFileText);
        EXPECT_EQ(e.args(), Args(missing));
    }
    EXPECT_TRUE(r.sink.shown.empty());
    EXPECT_EQ(strings, std::vector<std::string>{"kept"});

    EXPECT_FALSE(ReportFormatErrors(&r.messenger, [&] { ReadStringFile(missing, strings); }));
    ASSERT_EQ(r.sink.shown.size(), 1u);
    EXPECT_EQ(r.sink.shown[0].number, kMissingFileText);
    EXPECT_EQ(r.sink.shown[0].text, "missing " + missing);

    // Without a messenger the failure is only the result.
    EXPECT_FALSE(ReportFormatErrors(nullptr, [&] { ReadStringFile(missing, strings); }));
    EXPECT_EQ(r.sink.shown.size(), 1u);
}

TEST(FormatErrorTest, ResultsAndErrorsWithoutATextPassThrough)
{
    Reporting r;
    EXPECT_TRUE(ReportFormatErrors(&r.messenger, [] {}));
    EXPECT_FALSE(ReportFormatErrors(&r.messenger, [] { return false; }));
    // A short read has no text of its own: whoever catches it above chooses one.
    EXPECT_THROW(ReportFormatErrors(&r.messenger, [] { throw FormatError("read past the end"); }), FormatError);
    EXPECT_TRUE(r.sink.shown.empty());
}

// The reason a picture could not be read is itself a UI text, looked up in
// the language of the messenger that shows the error.
TEST(FormatErrorTest, TextArgumentsComeFromTheShowingLanguage)
{
    Reporting r;
    const FormatError error = PictureUnreadable("A.BMP", PictureError(PictureFault::Damaged, "bad rows"));
    EXPECT_EQ(error.number(), kPictureUnreadableText);
    ShowFormatError(r.messenger, error);
    ASSERT_EQ(r.sink.shown.size(), 1u);
    EXPECT_EQ(r.sink.shown[0].text, "A.BMP: damaged");
    EXPECT_EQ(FormatErrorText(error, r.texts), "A.BMP: damaged");
}
