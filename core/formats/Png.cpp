#include "formats/Png.h"

#include "base/FileUtils.h"
#include "formats/Bmp.h"
#include "formats/PictureError.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <new>

#include <png.h>

namespace pitwall {

namespace {

// The largest PNG file read from disk: far beyond any picture of the game.
constexpr std::uint64_t kMaxPngFile = 256u * 1024 * 1024;
// What one ancillary chunk (a text or a colour profile) may take.
constexpr png_alloc_size_t kMaxChunkMemory = 8u * 1024 * 1024;
// Deflate packs at most about 1032 bytes into one; a file holding less than
// this share of the rows it claims cannot be a whole picture.
constexpr std::uint64_t kDeflateMaxRatio = 1032;
constexpr std::uint64_t kHeaderAllowance = 64u * 1024;

// libpng reports fatal errors through the error function, which must not
// return: it jumps back to the setjmp of the calls below. Those functions
// keep no C++ objects of their own, so the jump skips no destructor.
struct PngState {
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
    std::size_t position = 0;
    std::vector<std::uint8_t>* out = nullptr;
    char message[200] = {};
};

extern "C" void OnPngError(png_structp png, png_const_charp text)
{
    auto* state = static_cast<PngState*>(png_get_error_ptr(png));
    if (state && state->message[0] == '\0')
        std::snprintf(state->message, sizeof state->message, "%s", text ? text : "unknown error");
    png_longjmp(png, 1);
}

extern "C" void OnPngWarning(png_structp, png_const_charp) {} // warnings are not shown

extern "C" void OnPngRead(png_structp png, png_bytep target, png_size_t length)
{
    auto* state = static_cast<PngState*>(png_get_io_ptr(png));
    if (length > state->size - state->position)
        png_error(png, "the file ends before the picture is complete");
    std::memcpy(target, state->data + state->position, length);
    state->position += length;
}

extern "C" void OnPngWrite(png_structp png, png_bytep data, png_size_t length)
{
    auto* state = static_cast<PngState*>(png_get_io_ptr(png));
    bool grown = true;
    try {
        state->out->insert(state->out->end(), data, data + length);
    } catch (const std::bad_alloc&) {
        grown = false;
    }
    if (!grown)
        png_error(png, "no memory for the PNG file");
}

extern "C" void OnPngFlush(png_structp) {}

// The decoder below holds a setjmp, so no exception may leave a call in it.
bool GrowTo(std::vector<std::uint8_t>& rgb, std::size_t size) noexcept
{
    try {
        rgb.resize(size);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

struct DecodeTarget {
    std::vector<std::uint8_t>* rgb;
    std::vector<Pixel>* colorTable;
    int width;
    int height;
};

int ChannelsOf(int colorType)
{
    switch (colorType) {
    case PNG_COLOR_TYPE_GRAY_ALPHA:
        return 2;
    case PNG_COLOR_TYPE_RGB:
        return 3;
    case PNG_COLOR_TYPE_RGB_ALPHA:
        return 4;
    default:
        return 1;
    }
}

bool DecodeInto(PngState* state, DecodeTarget* target)
{
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, state, OnPngError, OnPngWarning);
    if (!png) {
        std::snprintf(state->message, sizeof state->message, "no memory for the PNG reader");
        return false;
    }
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        std::snprintf(state->message, sizeof state->message, "no memory for the PNG reader");
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    png_set_read_fn(png, state, OnPngRead);
    png_set_user_limits(png, kMaxBmpSide, kMaxBmpSide);
    png_set_chunk_malloc_max(png, kMaxChunkMemory);
    png_read_info(png, info);

    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    const int bitDepth = png_get_bit_depth(png, info);
    const int colorType = png_get_color_type(png, info);
    if (width == 0 || height == 0 || width > kMaxBmpSide || height > kMaxBmpSide
        || std::uint64_t{width} * height > static_cast<std::uint64_t>(kMaxPicturePixels)) {
        char text[160];
        std::snprintf(text, sizeof text,
                      "the picture's size of %u x %u pixels is not supported (at most %d a side, %lld in all)", width,
                      height, kMaxBmpSide, static_cast<long long>(kMaxPicturePixels));
        png_error(png, text);
    }
    // The rows as stored (one filter byte each) must fit the compressed data.
    const std::uint64_t storedRow = (std::uint64_t{width} * ChannelsOf(colorType) * bitDepth + 7) / 8 + 1;
    if (storedRow * height > state->size * kDeflateMaxRatio + kHeaderAllowance)
        png_error(png, "the file is too short for the picture it claims");

    if (colorType == PNG_COLOR_TYPE_PALETTE) {
        png_colorp colors = nullptr;
        int count = 0;
        if (png_get_PLTE(png, info, &colors, &count) == PNG_INFO_PLTE && count > 0) {
            try {
                for (int i = 0; i < count; ++i)
                    target->colorTable->push_back(MakePixel(colors[i].red, colors[i].green, colors[i].blue));
            } catch (const std::bad_alloc&) {
                png_error(png, "no memory for the colour table");
            }
        }
        png_set_palette_to_rgb(png);
    }
    if (bitDepth == 16)
        png_set_strip_16(png);
    if (bitDepth < 8 && colorType != PNG_COLOR_TYPE_PALETTE)
        png_set_expand_gray_1_2_4_to_8(png);
    if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(png);
    // Every kind comes out as red, green, blue and alpha: a transparent
    // palette entry or colour (tRNS) as alpha, an opaque picture with alpha
    // 255 added.
    if (png_get_valid(png, info, PNG_INFO_tRNS))
        png_set_tRNS_to_alpha(png);
    else if ((colorType & PNG_COLOR_MASK_ALPHA) == 0)
        png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    const int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    const std::size_t stride = png_get_rowbytes(png, info);
    if (stride != std::size_t{width} * 4)
        png_error(png, "unexpected row layout");

    target->width = static_cast<int>(width);
    target->height = static_cast<int>(height);
    if (passes == 1) {
        // Rows are added as they are decoded, so a file that ends early is
        // refused before the memory for the rows it claims is taken.
        for (png_uint_32 y = 0; y < height; ++y) {
            if (!GrowTo(*target->rgb, stride * (y + 1)))
                png_error(png, "no memory for the picture");
            png_read_row(png, target->rgb->data() + stride * y, nullptr);
        }
    } else {
        if (!GrowTo(*target->rgb, stride * height))
            png_error(png, "no memory for the picture");
        for (int pass = 0; pass < passes; ++pass)
            for (png_uint_32 y = 0; y < height; ++y)
                png_read_row(png, target->rgb->data() + stride * y, nullptr);
    }
    png_destroy_read_struct(&png, &info, nullptr);
    return true;
}

struct EncodeSource {
    const std::uint8_t* rows; // indices or RGB triples
    const png_color* palette; // 256 entries when indexed
    int width;
    int height;
};

bool EncodeFrom(PngState* state, const EncodeSource* source)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, state, OnPngError, OnPngWarning);
    if (!png) {
        std::snprintf(state->message, sizeof state->message, "no memory for the PNG writer");
        return false;
    }
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        std::snprintf(state->message, sizeof state->message, "no memory for the PNG writer");
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, state, OnPngWrite, OnPngFlush);
    const bool indexed = source->palette != nullptr;
    png_set_IHDR(png, info, static_cast<png_uint_32>(source->width), static_cast<png_uint_32>(source->height), 8,
                 indexed ? PNG_COLOR_TYPE_PALETTE : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (indexed)
        png_set_PLTE(png, info, source->palette, 256);
    png_write_info(png, info);
    const std::size_t stride = static_cast<std::size_t>(source->width) * (indexed ? 1 : 3);
    for (int y = 0; y < source->height; ++y)
        png_write_row(png, source->rows + stride * static_cast<std::size_t>(y));
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

} // namespace

Image DecodePng(std::span<const std::uint8_t> bytes, bool* transparent)
{
    if (bytes.size() < 8 || png_sig_cmp(bytes.data(), 0, 8) != 0)
        throw PictureError(PictureFault::NotThisKind, "not a PNG file (no PNG signature at the start)");
    std::vector<std::uint8_t> rgb;
    std::vector<Pixel> colorTable;
    DecodeTarget target{&rgb, &colorTable, 0, 0};
    PngState state;
    state.data = bytes.data();
    state.size = bytes.size();
    if (!DecodeInto(&state, &target))
        throw PictureError(PictureFault::Damaged, std::string("PNG: ") + state.message);
    // Transparent pixels are put on black: each channel times the alpha.
    bool seeThrough = false;
    for (std::size_t i = 3; i < rgb.size(); i += 4)
        if (rgb[i] != 0xFF) {
            seeThrough = true;
            break;
        }
    if (transparent)
        *transparent = seeThrough;
    // A palette picture whose colours changed on black is no longer in its
    // palette: it becomes a 24-bit picture.
    const bool indexed = !colorTable.empty() && !seeThrough;
    Image image(target.width, target.height, indexed ? 8 : 24);
    std::size_t i = 0;
    for (Pixel& p : image.pixels()) {
        const unsigned alpha = rgb[i + 3];
        auto onBlack = [alpha](std::uint8_t c) { return static_cast<int>((c * alpha + 127) / 255); };
        p = MakePixel(onBlack(rgb[i]), onBlack(rgb[i + 1]), onBlack(rgb[i + 2]));
        i += 4;
    }
    if (indexed)
        image.setColorTable(std::move(colorTable));
    return image;
}

std::vector<std::uint8_t> EncodePng(const Image& image)
{
    if (image.isNull())
        throw FormatError("an empty picture cannot be saved as PNG");
    const bool indexed = image.depth() <= 8;
    std::vector<std::uint8_t> rows;
    std::vector<png_color> palette;
    if (indexed) {
        std::vector<Pixel> table = image.colorTable();
        table.resize(256, 0);
        for (Pixel p : table)
            palette.push_back(png_color{static_cast<png_byte>(RedOf(p)), static_cast<png_byte>(GreenOf(p)),
                                        static_cast<png_byte>(BlueOf(p))});
        rows.reserve(image.pixels().size());
        for (Pixel p : image.pixels())
            rows.push_back(static_cast<std::uint8_t>(ExactIndex(table, p)));
    } else {
        rows.reserve(image.pixels().size() * 3);
        for (Pixel p : image.pixels()) {
            rows.push_back(static_cast<std::uint8_t>(RedOf(p)));
            rows.push_back(static_cast<std::uint8_t>(GreenOf(p)));
            rows.push_back(static_cast<std::uint8_t>(BlueOf(p)));
        }
    }
    std::vector<std::uint8_t> out;
    PngState state;
    state.out = &out;
    EncodeSource source{rows.data(), indexed ? palette.data() : nullptr, image.width(), image.height()};
    if (!EncodeFrom(&state, &source))
        throw FormatError(std::string("PNG: ") + state.message);
    return out;
}

Image LoadPngFile(const std::string& fileName, bool* transparent)
{
    auto bytes = ReadWholeFile(fileName, kMaxPngFile);
    try {
        return DecodePng(bytes, transparent);
    } catch (const PictureError& e) {
        throw PictureError(e.fault(), fileName + ": " + e.what());
    } catch (const FormatError& e) {
        throw FormatError(fileName + ": " + e.what());
    }
}

void SavePngFile(const Image& image, const std::string& fileName) { WriteWholeFile(fileName, EncodePng(image)); }

} // namespace pitwall
