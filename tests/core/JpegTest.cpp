#include "MemoryLimit.h"

#include "formats/Bmp.h"
#include "formats/Jpeg.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>
#include <jpeglib.h>

using namespace pitwall;

namespace {

// A small grey-blue picture as a progressive JPEG, as cameras and web tools
// write them: all coefficients are kept until the last scan.
std::vector<std::uint8_t> ProgressiveJpeg(int width, int height)
{
    jpeg_compress_struct info;
    jpeg_error_mgr error;
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    std::vector<std::uint8_t> row(static_cast<std::size_t>(width) * 3);
    for (std::size_t x = 0; x < row.size(); x += 3) {
        row[x] = 60;
        row[x + 1] = 90;
        row[x + 2] = 200;
    }
    while (info.next_scanline < info.image_height) {
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::vector<std::uint8_t> out(buffer, buffer + size);
    std::free(buffer);
    return out;
}

// The same bytes with the frame header claiming another size.
std::vector<std::uint8_t> ClaimingSize(std::vector<std::uint8_t> jpeg, int width, int height)
{
    for (std::size_t i = 2; i + 9 < jpeg.size(); ++i)
        if (jpeg[i] == 0xFF && (jpeg[i + 1] == 0xC0 || jpeg[i + 1] == 0xC2)) {
            jpeg[i + 5] = static_cast<std::uint8_t>(height >> 8);
            jpeg[i + 6] = static_cast<std::uint8_t>(height);
            jpeg[i + 7] = static_cast<std::uint8_t>(width >> 8);
            jpeg[i + 8] = static_cast<std::uint8_t>(width);
            return jpeg;
        }
    ADD_FAILURE() << "no frame header";
    return jpeg;
}

// Whether decoding fails with a reason containing `reason`.
bool RefusedWith(const std::vector<std::uint8_t>& jpeg, const std::string& reason)
{
    try {
        DecodeJpeg(jpeg);
    } catch (const FormatError& e) {
        if (std::string(e.what()).find(reason) != std::string::npos)
            return true;
        std::fprintf(stderr, "refused for another reason: %s\n", e.what());
    }
    return false;
}

constexpr std::size_t kHeadroom = 256u << 20;

} // namespace

TEST(Jpeg, ProgressivePicturesDecode)
{
    Image image = DecodeJpeg(ProgressiveJpeg(40, 30));
    EXPECT_EQ(image.width(), 40);
    EXPECT_EQ(image.height(), 30);
    EXPECT_NEAR(BlueOf(image.pixel(20, 15)), 200, 8);
}

TEST(Jpeg, ClaimedSizeIsCheckedBeforeDecompressionStarts)
{
    // A few hundred bytes claiming 65500 x 65500: starting a progressive
    // decode would take the coefficients of the whole claimed picture.
    auto bomb = ClaimingSize(ProgressiveJpeg(8, 8), 65500, 65500);
    EXPECT_LT(bomb.size(), 1024u);
    EXPECT_TRUE(test::PassesWithinMemory(kHeadroom, [&] { return RefusedWith(bomb, "65500 x 65500"); }));
}

TEST(Jpeg, PictureDataEndingEarlyIsRefusedNotFilledIn)
{
    // Within the size cap, but the picture data covers 64 x 64 pixels only.
    auto small = EncodeJpeg(Image(64, 64, 24, MakePixel(10, 20, 30)), kJpegSaveQuality);
    auto claimed = ClaimingSize(small, 4096, 4096);
    EXPECT_TRUE(test::PassesWithinMemory(kHeadroom, [&] { return RefusedWith(claimed, "Corrupt JPEG data"); }));
    // A file cut short in its picture data.
    Image stripes(64, 64, 24);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            stripes.setPixel(x, y, MakePixel(x * 4, (x + y) % 2 * 255, y * 4));
    auto cut = EncodeJpeg(stripes, kJpegSaveQuality);
    cut.resize(cut.size() - cut.size() / 4);
    EXPECT_TRUE(RefusedWith(cut, "Premature end of JPEG file"));
}

TEST(Jpeg, WorkingMemoryIsBounded)
{
    // At the size cap a progressive picture needs more coefficient memory
    // than libjpeg is allowed; it says so instead of taking it.
    auto large = ClaimingSize(ProgressiveJpeg(8, 8), 4096, 4096);
    EXPECT_TRUE(test::PassesWithinMemory(kHeadroom, [&] { return RefusedWith(large, "needs more than"); }));
    // Sides within their limit, pixels beyond the cap: refused by the size.
    auto wide = ClaimingSize(ProgressiveJpeg(8, 8), kMaxBmpSide, 2048);
    EXPECT_TRUE(
        test::PassesWithinMemory(kHeadroom, [&] { return RefusedWith(wide, "16384 x 2048 is not supported"); }));
}
