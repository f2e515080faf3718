// The game's textures: every JAM the program reads or writes, in the 8-bit
// (GP3JAMS) and, where the program uses one, the 16-bit (GP3JAMSH) variant,
// plus the tyre pictures and the loading pictures.

#include "DemoContext.h"
#include "DemoJamWriter.h"

#include "formats/Bmp.h"

#include <iterator>
#include <string>
#include <string_view>

namespace pitwall::demo {

namespace {

// The team file names in the game's team order: car livery, cockpit livery,
// first and second jack.
struct TeamJams {
    const char* car;
    const char* cockpit;
    const char* jack;
    const char* jack2;
};
constexpr TeamJams kTeamJams[11] = {
    {"WILLIA98.JAM", "PA_WILLS.JAM", "JM-WILLI.JAM", "JM-WILL1.JAM"},
    {"FERRAR98.JAM", "PA_FERRA.JAM", "JM-FERRA.JAM", "JM-FERR1.JAM"},
    {"BENETT98.JAM", "PA_BENET.JAM", "JM-BENET.JAM", "JM-BENE1.JAM"},
    {"MCLARE98.JAM", "PA_MCLAR.JAM", "JM-MCLAR.JAM", "JM-MCLA1.JAM"},
    {"JORDAN98.JAM", "PA_JORDA.JAM", "JM-JORDA.JAM", "JM-JORD1.JAM"},
    {"PROST98.JAM", "PA_PROST.JAM", "JM-PROST.JAM", "JM-PROS1.JAM"},
    {"SAUBER98.JAM", "PA_SAUBR.JAM", "JM-SAUBE.JAM", "JM-SAUB1.JAM"},
    {"ARROWS98.JAM", "PA_AROWS.JAM", "JM-ARROW.JAM", "JM-ARRO1.JAM"},
    {"STEWAR98.JAM", "PA_STWRT.JAM", "JM-STEWA.JAM", "JM-STEW1.JAM"},
    {"TYRREL98.JAM", "PA_TYREL.JAM", "JM-TYRRE.JAM", "JM-TYRR1.JAM"},
    {"MINARD98.JAM", "PA_MINAR.JAM", "JM-MINAR.JAM", "JM-MINA1.JAM"},
};

// Textures the program only reads from the software set (pit crew, flag
// marshals, wheels), relative to GP3JAMS\.
constexpr const char* kSoftwareOnly[] = {
    "MAIN\\PC-EXTR1.JAM", "MAIN\\PC-EXTR2.JAM", "MAIN\\PC-EXTR3.JAM", "MAIN\\PC-EXTR4.JAM", "MAIN\\PC-JACK.JAM",
    "MAIN\\PC-JACK1.JAM", "MAIN\\PC-WHEEL.JAM", "MAIN\\PC-WHL1.JAM",  "MAIN\\PITPROP2.JAM", "MAIN\\PC-JACK2.JAM",
    "MAIN\\PC-JACK3.JAM", "MAIN\\FLAGS1.JAM",   "MAIN\\FLAGS2.JAM",   "MAIN\\FLAGS3.JAM",   "MAIN\\FLAGS4.JAM",
    "MAIN\\FLAGS5.JAM",   "MAIN\\FLAGS6.JAM",   "MAIN\\FLAGS7.JAM",   "MAIN\\FLAGS8.JAM",   "MAIN\\WHBLUR0.JAM",
    "MAIN\\WHBLUR1.JAM",  "MAIN\\WHBRIDG0.JAM", "MAIN\\WHBRIDG1.JAM",
};

// Writes one texture in both variants with the same layout (the program
// copies pictures between them, which needs equal image counts and heights).
// Every third 16-bit file is stored in the normalised form the program
// writes, the others in the game's own form.
void WriteBoth(DemoContext& context, const std::string& relative, const DemoJamLayout& layout)
{
    auto& rnd = context.random;
    context.writeFile("GP3JAMS\\" + relative, Jam8File(layout, MakeJam8Page(layout, rnd)));
    context.writeFile("GP3JAMSH\\" + relative, Jam16File(layout, MakeJam16Page(layout, rnd), rnd.chance(33), rnd));
}

// The textures the editor recolours through ramp tables (pit crew, flag
// marshals) are, as in the game, one picture over the whole page, recoloured
// through that picture's table: here the identity, with the pixels running
// through the ramps, so that every ramp base of a record changes a part of
// the preview.
bool IsRampTexture(std::string_view relative)
{
    return relative.find("PC-") != std::string_view::npos || relative.find("PITPROP") != std::string_view::npos
        || relative.find("FLAGS") != std::string_view::npos;
}

DemoJamLayout RampTextureLayout(int height, DemoRandom& random)
{
    DemoJamImage image;
    image.w = 256;
    image.h = height;
    image.textureId = random.between(1, 900);
    image.table.resize(256);
    for (std::size_t p = 0; p < image.table.size(); ++p)
        image.table[p] = static_cast<std::uint8_t>(p);
    DemoJamLayout layout;
    layout.height = height;
    layout.images.push_back(std::move(image));
    return layout;
}

// A picture of soft bands with a darker frame, in blocks of 8 pixels, like
// a scanned texture sheet. Its 49 colours are also its colour table (used
// when it is written with 8 bits).
Image BandedPicture(int width, int height, int depth, DemoRandom& random)
{
    const int r0 = random.between(40, 200), g0 = random.between(40, 200), b0 = random.between(40, 200);
    std::vector<Pixel> colours = {MakePixel(r0 / 4, g0 / 4, b0 / 4)};
    for (int shade = 0; shade < 48; ++shade)
        colours.push_back(MakePixel(r0 + shade, g0 + shade / 2, b0 + shade / 3));
    Image picture(width, height, depth);
    for (int y = 0; y < height; ++y) {
        auto row = picture.row(y);
        for (int x = 0; x < width; ++x) {
            const bool frame = x < 4 || y < 4 || x >= width - 4 || y >= height - 4;
            row[static_cast<std::size_t>(x)] = colours[frame ? 0 : 1 + ((x / 8) * 3 + (y / 8) * 5) % 48];
        }
    }
    if (depth == 8) {
        colours.resize(256, 0);
        picture.setColorTable(std::move(colours));
    }
    return picture;
}

// A wheel-blur picture laid out as the game's: two 256 x 480 wheels at x 0
// and x 257 (here the second mirrors the first), column 256 and the columns
// from 513 on unused (they hold shifted pieces of the wheel, so that a
// writer that touches them is noticed).
Image WheelPicture(DemoRandom& random)
{
    const Image wheel = BandedPicture(256, 480, 24, random);
    Image picture(640, 480, 24);
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 256; ++x) {
            picture.setPixel(x, y, wheel.pixel(x, y));
            picture.setPixel(257 + x, y, wheel.pixel(255 - x, y));
        }
        picture.setPixel(256, y, wheel.pixel(128, (y + 7) % 480));
        for (int x = 513; x < 640; ++x)
            picture.setPixel(x, y, wheel.pixel((x - 449) % 256, (y + 100) % 480));
    }
    return picture;
}

// Tread and wheel-blur pictures of both tyre makes (24-bit) in
// GP3JAMSH\TECHJAM, and the six loading pictures (640 x 480, 8-bit with
// their own colour tables) in BITMAPS.
void WritePictures(DemoContext& context)
{
    auto& rnd = context.random;
    for (const char* letters : {"GY", "BS"})
        for (int n = 1; n <= 2; ++n)
            context.writeFile(std::string("GP3JAMSH\\TECHJAM\\TREAD") + letters + std::to_string(n) + "_ART.BMP",
                              EncodeBmp(BandedPicture(320, 200, 24, rnd)));
    for (const char* word : {"BLUR", "BRIDG"})
        for (int n = 0; n <= 1; ++n)
            context.writeFile(std::string("GP3JAMSH\\TECHJAM\\WH") + word + std::to_string(n) + ".BMP",
                              EncodeBmp(WheelPicture(rnd)));
    for (int n = 1; n <= 6; ++n)
        context.writeFile("BITMAPS\\LOADING" + std::to_string(n) + ".BMP", EncodeBmp(BandedPicture(640, 480, 8, rnd)));
}

} // namespace

void WriteJams(DemoContext& context)
{
    // The textures draw from a stream spread from the seed: the shared
    // stream of neighbouring seeds is one sequence shifted by a draw, and
    // after the earlier areas' varying draws two seeds' textures came out
    // the same.
    context.random = DemoRandom(context.seed * 0x9FB21C651E98DF25ull + 0x4A414D53ull);
    auto& rnd = context.random;
    static constexpr int kLiveryHeights[] = {256, 384, 512};
    for (const TeamJams& team : kTeamJams) {
        WriteBoth(context, std::string("Liveries\\") + team.car,
                  MakeJamLayout(kLiveryHeights[rnd.between(0, 2)], 24, rnd));
        WriteBoth(context, std::string("Liveries\\") + team.cockpit, MakeJamLayout(256, 12, rnd));
        WriteBoth(context, std::string("Main\\") + team.jack, MakeJamLayout(64, 6, rnd));
        WriteBoth(context, std::string("Main\\") + team.jack2, MakeJamLayout(64, 6, rnd));
    }
    // Helmet sheets: 128 x 30 helmets, two to a row; 12 on the first sheet,
    // 10 on the second.
    WriteBoth(context, "Liveries\\Helmetsd.JAM", MakeGridLayout(180, 128, 30, 12, rnd));
    WriteBoth(context, "Liveries\\Helmetse.JAM", MakeGridLayout(180, 128, 30, 10, rnd));
    for (const char* cockpit :
         {"Liveries\\DSH1_EMP.JAM", "Liveries\\DSH2_EMP.JAM", "Main\\STEERAC9.JAM", "Main\\STEERB9.JAM"})
        WriteBoth(context, cockpit, MakeJamLayout(256, 8, rnd));
    for (std::size_t n = 0; n < std::size(kSoftwareOnly); ++n) {
        const std::string_view relative = kSoftwareOnly[n];
        const int height = relative.find("FLAGS") != std::string_view::npos ? 64 : 128;
        DemoJamLayout layout = MakeJamLayout(height, 8, rnd);
        std::vector<std::uint8_t> page = MakeJam8Page(layout, rnd);
        if (IsRampTexture(relative)) {
            // From a stream of their own; the draws above are still made,
            // so every file after these keeps its content.
            // Twice as high: a pit-crew texture fills the editor's 256 x 256
            // preview, a flag frame half of it.
            DemoRandom own(context.seed * 0xD1B54A32D192ED03ull + n);
            layout = RampTextureLayout(2 * height, own);
            page = MakeJam8Page(layout, own);
        }
        context.writeFile("GP3JAMS\\" + std::string(relative), Jam8File(layout, page));
    }
    DemoJamLayout pitbox = MakeJamLayout(256, 10, rnd);
    context.writeFile("GP3JAMSH\\GenJam\\Pitbox1.JAM", Jam16File(pitbox, MakeJam16Page(pitbox, rnd), false, rnd));

    WritePictures(context);
}

} // namespace pitwall::demo
