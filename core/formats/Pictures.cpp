#include "formats/Pictures.h"

#include "base/ByteReader.h"
#include "base/FileUtils.h"
#include "formats/Bmp.h"
#include "formats/Jpeg.h"
#include "formats/PictureError.h"
#include "formats/Png.h"

#include <algorithm>
#include <cctype>

namespace pitwall {

namespace {

// What is saved, and what is read.
const std::vector<std::string> kSavedExtensions = {".BMP", ".JPG"};
const std::vector<std::string> kSavedOrPngExtensions = {".BMP", ".JPG", ".PNG"};
const std::vector<std::string> kReadExtensions = {".BMP", ".JPG", ".PNG", ".JPEG"};
constexpr int kBmp = 0;
constexpr int kPng = 2;

constexpr std::uint64_t kMaxPictureFile = 256u * 1024 * 1024;

Image DecodeJpegFile(const std::string& fileName)
{
    auto bytes = ReadWholeFile(fileName, kMaxPictureFile);
    try {
        return DecodeJpeg(bytes);
    } catch (const PictureError& e) {
        throw PictureError(e.fault(), fileName + ": " + e.what());
    } catch (const FormatError& e) {
        throw FormatError(fileName + ": " + e.what());
    }
}

} // namespace

int PictureFaultTextNumber(const std::exception& error)
{
    constexpr int kNotThisKindText = 159, kUnsupportedText = 160, kDamagedText = 161, kUnreadableFileText = 162;
    if (const auto* picture = dynamic_cast<const PictureError*>(&error)) {
        switch (picture->fault()) {
        case PictureFault::NotThisKind:
            return kNotThisKindText;
        case PictureFault::Unsupported:
            return kUnsupportedText;
        case PictureFault::Damaged:
            break;
        }
        return kDamagedText;
    }
    // A short read of the bytes is a FormatError too.
    if (dynamic_cast<const FormatError*>(&error))
        return kDamagedText;
    return kUnreadableFileText;
}

FormatError PictureUnreadable(const std::string& fileName, const std::exception& error)
{
    return FormatError(kPictureUnreadableText, Args(fileName), {PictureFaultTextNumber(error)});
}

bool IsJpg(const std::string& fileName) { return EqualsIgnoreAsciiCase(ExtensionOf(fileName), ".JPG"); }

bool IsReadPictureName(const std::string& fileName)
{
    return CheckFileExtension(fileName, kReadExtensions, false, nullptr) >= 0;
}

Image LoadPicture(const std::string& fileName, PictureNotes* notes)
{
    switch (RequireExtension(fileName, kReadExtensions)) {
    case kBmp:
        return LoadBmpFile(fileName);
    case kPng: {
        bool transparent = false;
        Image picture = LoadPngFile(fileName, &transparent);
        if (notes)
            notes->transparencyOnBlack = transparent;
        return picture;
    }
    default:
        return DecodeJpegFile(fileName);
    }
}

void SavePicture(const Image& image, const std::string& fileName)
{
    if (RequireExtension(fileName, kSavedExtensions) == kBmp)
        SaveBmpFile(image, fileName);
    else
        WriteWholeFile(fileName, EncodeJpeg(image, kJpegSaveQuality));
}

bool IsPng(const std::string& fileName) { return EqualsIgnoreAsciiCase(ExtensionOf(fileName), ".PNG"); }

void SavePictureOrPng(const Image& image, const std::string& fileName)
{
    if (RequireExtension(fileName, kSavedOrPngExtensions) == kPng)
        SavePngFile(image, fileName);
    else
        SavePicture(image, fileName);
}

bool ImportPictureAsBmp(const std::string& source, const std::string& target, PictureNotes* notes)
{
    if (RequireExtension(source, kReadExtensions) == kBmp)
        return CopyFileForced(source, target);
    SaveBmpFile(LoadPicture(source, notes), target);
    return true;
}

void ConvertBmpToJpg(const std::string& bmpFile, const std::string& jpgFile)
{
    WriteWholeFile(jpgFile, EncodeJpeg(LoadBmpFile(bmpFile), kJpegConvertQuality));
}

void CropToFile(const Image& image, Rect rect, const std::string& fileName) { SaveBmpFile(image.copy(rect), fileName); }

void ColorKeyedCopy(Image& source, Image& target, Rect from, bool fixedKey, int targetTop, int targetLeft)
{
    source.setDepth(24);
    target.setDepth(24);
    Pixel key = fixedKey ? kColorKey : source.pixelOr(from.left, from.top, kColorKey);
    // Only the part of the rectangle inside the source is looked at.
    const int top = std::max(from.top, 0), bottom = std::min(from.bottom, source.height());
    const int left = std::max(from.left, 0), right = std::min(from.right, source.width());
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            Pixel p = source.pixel(x, y);
            if (p == key)
                continue;
            int tx = targetLeft + (x - from.left);
            int ty = targetTop + (y - from.top);
            if (tx >= 0 && ty >= 0 && tx < target.width() && ty < target.height())
                target.setPixel(tx, ty, p);
        }
    }
}

Image LoadPictureFor(const Image& target, const std::string& fileName, PictureNotes* notes)
{
    Image picture = LoadPicture(fileName, notes);
    if (picture.width() != target.width() || picture.height() != target.height())
        throw FormatError(737, Args(target.width(), target.height()));
    return picture;
}

void PastePicture(Image& target, Image picture)
{
    if (picture.depth() != target.depth())
        picture = picture.convertedToDepth(target.depth(), target.colorTable());
    target.draw(picture, 0, 0);
}

std::vector<std::string> NumberPrefixes(const std::vector<std::string>& items)
{
    std::vector<std::string> out;
    for (const auto& item : items) {
        std::string prefix = item.substr(0, 2);
        bool digits = !prefix.empty();
        for (char c : prefix)
            digits = digits && std::isdigit(static_cast<unsigned char>(c));
        if (digits)
            out.push_back(std::to_string(std::stoi(prefix)));
    }
    return out;
}

} // namespace pitwall
