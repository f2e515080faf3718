#include "graphics/TyreSet.h"

#include "formats/Bmp.h"

namespace pitwall {

namespace {

struct TyreWords {
    const char* letters;
    const char* word;
};
constexpr TyreWords kTyreWords[kTyreTypeCount] = {{"GY", "BLUR"}, {"BS", "BRIDG"}};

// Columns of a wheel picture that make up the sheet: 0-255 and 257-512
// (column 256 is not used by the game's view of it).
constexpr Rect kWheelLeft{0, 0, 256, kWheelPictureHeight};
constexpr Rect kWheelRight{257, 0, 513, kWheelPictureHeight};

void RequireSize(const Image& picture, int width, int height, const std::string& name)
{
    if (picture.width() != width || picture.height() != height)
        throw FormatError(name + " is " + std::to_string(picture.width()) + " x " + std::to_string(picture.height())
                          + " pixels; a tyre picture must be " + std::to_string(width) + " x "
                          + std::to_string(height));
}

} // namespace

std::array<std::string, kTyreFileCount> TyreFileNames(int type)
{
    const TyreWords& w = kTyreWords[type == 1 ? 1 : 0];
    const std::string tread = std::string("TREAD") + w.letters;
    const std::string wheel = std::string("WH") + w.word;
    return {tread + "1_ART.BMP", tread + "2_ART.BMP", wheel + "0.BMP",
            wheel + "1.BMP",     wheel + "0.JAM",     wheel + "1.JAM"};
}

std::string TyreGamePath(int type, int file)
{
    const std::string folder = file >= kWheelJam0 ? "GP3JAMS\\MAIN\\" : "GP3JAMSH\\TECHJAM\\";
    return folder + TyreFileNames(type)[static_cast<std::size_t>(file)];
}

TyreSet ComposeTyreSet(int type, std::array<Image, 4> pictures, TJAMFile jam0, TJAMFile jam1)
{
    const auto names = TyreFileNames(type);
    RequireSize(pictures[kTread1], kTreadWidth, kTreadHeight, names[kTread1]);
    RequireSize(pictures[kTread2], kTreadWidth, kTreadHeight, names[kTread2]);
    RequireSize(pictures[kWheel0], kWheelPictureWidth, kWheelPictureHeight, names[kWheel0]);
    RequireSize(pictures[kWheel1], kWheelPictureWidth, kWheelPictureHeight, names[kWheel1]);

    TyreSet set{type,
                Image(kTreadWidth, 2 * kTreadHeight, 24),
                Image(kWheelSheetWidth, 2 * kWheelPictureHeight, 24),
                std::move(jam0),
                std::move(jam1),
                {}};
    set.tread.draw(pictures[kTread1], 0, 0);
    set.tread.draw(pictures[kTread2], 0, kTreadHeight);
    for (int half = 0; half < 2; ++half) {
        const Image& wheel = pictures[static_cast<std::size_t>(kWheel0 + half)];
        set.wheel.drawRect(wheel, kWheelLeft, 0, half * kWheelPictureHeight);
        set.wheel.drawRect(wheel, kWheelRight, 256, half * kWheelPictureHeight);
    }
    // The wheel pictures as they came, kept rather than copied.
    set.wheelPictures = {std::move(pictures[kWheel0]), std::move(pictures[kWheel1])};
    return set;
}

std::array<std::vector<std::uint8_t>, kTyreFileCount> TyreSetFiles(const TyreSet& set)
{
    std::array<std::vector<std::uint8_t>, kTyreFileCount> files;
    for (int half = 0; half < 2; ++half) {
        Image tread = set.tread.copy(Rect{0, half * kTreadHeight, kTreadWidth, (half + 1) * kTreadHeight});
        tread.setDepth(24);
        files[static_cast<std::size_t>(kTread1 + half)] = EncodeBmp(tread);

        const Image& held = set.wheelPictures[static_cast<std::size_t>(half)];
        Image wheel = held.width() == kWheelPictureWidth && held.height() == kWheelPictureHeight
            ? held
            : Image(kWheelPictureWidth, kWheelPictureHeight, 24);
        wheel.setDepth(24);
        const int top = half * kWheelPictureHeight;
        wheel.drawRect(set.wheel, Rect{0, top, 256, top + kWheelPictureHeight}, 0, 0);
        wheel.drawRect(set.wheel, Rect{256, top, 512, top + kWheelPictureHeight}, 257, 0);
        files[static_cast<std::size_t>(kWheel0 + half)] = EncodeBmp(wheel);
    }
    auto jamBytes = [](const TJAMFile& jam) {
        TMemFile file = jam.Assemble(true);
        auto content = file.Content();
        return std::vector<std::uint8_t>(content.begin(), content.end());
    };
    files[kWheelJam0] = jamBytes(set.wheelJam0);
    files[kWheelJam1] = jamBytes(set.wheelJam1);
    return files;
}

} // namespace pitwall
