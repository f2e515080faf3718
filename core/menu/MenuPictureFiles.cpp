#include "menu/MenuPictureFiles.h"

#include "base/FileUtils.h"
#include "base/Messages.h"
#include "formats/ArtBankFile.h"
#include "formats/ArtBankPictures.h"
#include "formats/Bmp.h"
#include "formats/FileRange.h"
#include "formats/Jpeg.h"
#include "formats/Pictures.h"
#include "formats/Resample.h"
#include "formats/TeamArtSheet.h"
#include "menu/MenuArt.h"
#include "transfer/FormatMessages.h"
#include "transfer/ReportedFormats.h"

#include <stdexcept>

namespace pitwall {

namespace {

constexpr int kSheetSizeText = 661;
constexpr int kLoadingResizeQuestion = 352, kLoadingNotTaken = 353;
constexpr int kBackgroundResizeQuestion = 662, kBackgroundNotTaken = 690;
constexpr int kReplacementJpegQuality = 90, kArtJpegQuality = 80;

// The picture, or an empty one after a message naming the file.
Image Load(const std::string& file, Messenger* messenger)
{
    try {
        return LoadPicture(file, messenger);
    } catch (const std::exception& e) {
        if (messenger)
            ShowFormatError(*messenger, PictureUnreadable(file, e));
        return {};
    }
}

bool IsBmpName(const std::string& file) { return EqualsIgnoreAsciiCase(ExtensionOf(file), ".BMP"); }

// Stores `file` as the working picture `target` of width x height, asking
// before stretching a picture of another size.
bool TakeIn(const std::string& file, const std::string& target, int width, int height, int question,
            const FormatArgs& questionArgs, int notTaken, Messenger& messenger)
{
    Image image = Load(file, &messenger);
    if (image.isNull())
        return false;
    if (image.width() == width && image.height() == height) {
        // The game reads the file as it stands: a plain BMP is copied, any
        // other form (run-length coded, top-down, bit fields) written anew.
        if (IsBmpName(file) && IsPlainBmp(ReadFileRange(file, 0, 54)))
            return CopyFileForced(file, target);
        SaveBmpFile(image, target);
        return true;
    }
    if (!messenger.ask(question, questionArgs)) {
        messenger.show(notTaken);
        return false;
    }
    SaveBmpFile(StretchPicture(image, width, height), target);
    return true;
}

} // namespace

std::string PatternFileName(const std::string& pattern, int number)
{
    std::string name = pattern;
    if (auto star = name.find('*'); star != std::string::npos)
        name.replace(star, 1, std::to_string(number));
    return name;
}

Image StretchPicture(const Image& source, int width, int height)
{
    return ResamplePicture(source, width, height);
}

bool SaveTeamSheet(const ArtPicture& sheet, const std::string& file, Messenger* messenger)
{
    if (sheet.width != kTeamSheetWidth || sheet.height != kTeamSheetHeight)
        return false;
    return SavePicture(ArtPictureToImage(sheet), file, messenger);
}

bool LoadTeamSheet(ArtPicture& sheet, const std::string& file, Messenger& messenger)
{
    Image image = Load(file, &messenger);
    if (image.isNull())
        return false;
    if (image.width() != static_cast<int>(kTeamSheetWidth) || image.height() != static_cast<int>(kTeamSheetHeight)) {
        messenger.show(kSheetSizeText, Args(kTeamSheetWidth, kTeamSheetHeight));
        return false;
    }
    sheet = ArtPictureFromImage(image);
    return true;
}

bool TakeInLoadingPicture(const std::string& workDirectory, int n, const std::string& file, Messenger& messenger)
{
    return TakeIn(file, IncludeTrailingBackslash(workDirectory) + LoadingPictureName(n), kLoadingPictureWidth,
                  kLoadingPictureHeight, kLoadingResizeQuestion, {}, kLoadingNotTaken, messenger);
}

bool TakeInMenuBackground(const std::string& workDirectory, int n, const std::string& file, Messenger& messenger)
{
    return TakeIn(file, IncludeTrailingBackslash(workDirectory) + MenuReplacementName(n), kMenuBackgroundWidth,
                  kMenuBackgroundHeight, kBackgroundResizeQuestion, Args(kMenuBackgroundWidth, kMenuBackgroundHeight),
                  kBackgroundNotTaken, messenger);
}

bool SaveMenuBackground(const std::string& workDirectory, const std::string& bankFile, int n, const std::string& target,
                        Messenger* messenger)
{
    // No work directory: the bank's picture, never a file of that name in
    // whatever folder the program runs in.
    const std::string replacement =
        workDirectory.empty() ? std::string() : IncludeTrailingBackslash(workDirectory) + MenuReplacementName(n);
    const bool jpg = IsJpg(target);
    if (!replacement.empty() && FileExists(replacement)) {
        if (!jpg) {
            std::string reason;
            if (!CopyFileForced(replacement, target, &reason))
                throw std::runtime_error(target + ": " + reason);
            return true;
        }
        Image image = Load(replacement, messenger);
        if (image.isNull())
            return false;
        WriteWholeFile(target, EncodeJpeg(image, kReplacementJpegQuality));
        return true;
    }
    ArtPicture picture;
    if (!ReadArtImage(bankFile, kMenuBackgroundFirstEntry + static_cast<std::size_t>(n), picture, messenger))
        return false;
    const Image image = ArtPictureToImage(picture);
    if (jpg)
        WriteWholeFile(target, EncodeJpeg(image, kArtJpegQuality));
    else
        SaveBmpFile(image, target);
    return true;
}

} // namespace pitwall
