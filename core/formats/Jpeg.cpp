#include "formats/Jpeg.h"

#include "base/ByteReader.h"
#include "formats/Bmp.h"
#include "formats/PictureError.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>

#include <jerror.h> // after jpeglib.h, which it needs
#include <jpeglib.h>

namespace pitwall {

namespace {

// What libjpeg may allocate while decoding one picture. A progressive JPEG
// keeps all its coefficients (up to six bytes per pixel) until the last scan;
// libjpeg has no files to spill to here, so a picture needing more is refused.
// Pictures of the game's sizes need a few megabytes.
constexpr long kJpegWorkMemory = 32L * 1024 * 1024;

// libjpeg reports fatal errors through error_exit, which must not return: it
// jumps back to the setjmp of the call below. The functions holding the
// setjmp keep no C++ objects of their own, so the jump skips no destructor.
struct JpegError {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

extern "C" void OnJpegError(j_common_ptr info)
{
    auto* error = reinterpret_cast<JpegError*>(info->err);
    const int code = info->err->msg_code;
    if (code == JERR_NO_BACKING_STORE)
        std::snprintf(error->message, sizeof error->message, "the picture needs more than %ld MB to decode",
                      kJpegWorkMemory / (1024 * 1024));
    else
        (*info->err->format_message)(info, error->message);
    std::longjmp(error->jump, 1);
}

extern "C" void OnJpegMessage(j_common_ptr) {} // warnings are not shown

// Warnings are ignored, except that picture data ending early (the file, or
// a scan cut off by the next marker) is refused: libjpeg would fill the
// missing rows with grey, so a few hundred bytes could stand for a picture
// of any size.
extern "C" void OnJpegWarning(j_common_ptr info, int level)
{
    const int code = info->err->msg_code;
    if (level < 0 && (code == JWRN_JPEG_EOF || code == JWRN_HIT_MARKER))
        OnJpegError(info);
}

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
    int width;
    int height;
};

bool DecodeInto(const std::uint8_t* data, std::size_t size, DecodeTarget* target, JpegError* error)
{
    jpeg_decompress_struct info;
    info.err = jpeg_std_error(&error->manager);
    error->manager.error_exit = OnJpegError;
    error->manager.output_message = OnJpegMessage;
    error->manager.emit_message = OnJpegWarning;
    if (setjmp(error->jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    info.mem->max_memory_to_use = kJpegWorkMemory;
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    jpeg_read_header(&info, TRUE);
    // The declared size is checked before decompression starts: starting
    // allocates the buffers for the whole picture.
    if (info.image_width == 0 || info.image_height == 0 || info.image_width > kMaxBmpSide
        || info.image_height > kMaxBmpSide
        || std::uint64_t{info.image_width} * info.image_height > static_cast<std::uint64_t>(kMaxPicturePixels)) {
        std::snprintf(error->message, sizeof error->message, "JPEG size %u x %u is not supported", info.image_width,
                      info.image_height);
        jpeg_destroy_decompress(&info);
        return false;
    }
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    if (info.output_components != 3) {
        std::snprintf(error->message, sizeof error->message, "JPEG with %d colour components is not supported",
                      info.output_components);
        jpeg_destroy_decompress(&info);
        return false;
    }
    target->width = static_cast<int>(info.output_width);
    target->height = static_cast<int>(info.output_height);
    // Rows are added as they are decoded, so a file that ends early is
    // refused before the memory for the rows it claims is taken.
    const std::size_t stride = static_cast<std::size_t>(info.output_width) * 3;
    while (info.output_scanline < info.output_height) {
        if (!GrowTo(*target->rgb, stride * (info.output_scanline + 1))) {
            std::snprintf(error->message, sizeof error->message, "no memory for a picture of %u x %u",
                          info.output_width, info.output_height);
            jpeg_destroy_decompress(&info);
            return false;
        }
        JSAMPROW row = target->rgb->data() + stride * info.output_scanline;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

struct EncodeSource {
    const std::uint8_t* rgb;
    int width;
    int height;
    int quality;
    unsigned char* buffer;
    unsigned long size;
};

bool EncodeFrom(EncodeSource* source, JpegError* error)
{
    jpeg_compress_struct info;
    info.err = jpeg_std_error(&error->manager);
    error->manager.error_exit = OnJpegError;
    error->manager.output_message = OnJpegMessage;
    if (setjmp(error->jump)) {
        jpeg_destroy_compress(&info);
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &source->buffer, &source->size);
    info.image_width = static_cast<JDIMENSION>(source->width);
    info.image_height = static_cast<JDIMENSION>(source->height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, source->quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    const std::size_t stride = static_cast<std::size_t>(source->width) * 3;
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(source->rgb + stride * info.next_scanline);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}

} // namespace

Image DecodeJpeg(std::span<const std::uint8_t> bytes)
{
    std::vector<std::uint8_t> rgb;
    DecodeTarget target{&rgb, 0, 0};
    JpegError error{};
    if (bytes.empty())
        throw PictureError(PictureFault::NotThisKind, "empty JPEG file");
    if (!DecodeInto(bytes.data(), bytes.size(), &target, &error))
        throw PictureError(PictureFault::Damaged, std::string("JPEG: ") + error.message);
    Image image(target.width, target.height, 24);
    std::size_t i = 0;
    for (Pixel& p : image.pixels()) {
        p = MakePixel(rgb[i], rgb[i + 1], rgb[i + 2]);
        i += 3;
    }
    return image;
}

std::vector<std::uint8_t> EncodeJpeg(const Image& image, int quality)
{
    if (image.isNull())
        throw FormatError("an empty picture cannot be saved as JPEG");
    std::vector<std::uint8_t> rgb;
    rgb.reserve(image.pixels().size() * 3);
    for (Pixel p : image.pixels()) {
        rgb.push_back(static_cast<std::uint8_t>(RedOf(p)));
        rgb.push_back(static_cast<std::uint8_t>(GreenOf(p)));
        rgb.push_back(static_cast<std::uint8_t>(BlueOf(p)));
    }
    EncodeSource source{rgb.data(), image.width(), image.height(), quality, nullptr, 0};
    JpegError error{};
    bool ok = EncodeFrom(&source, &error);
    // After a failure the buffer pointer may be stale (libjpeg hands the
    // grown buffer over only at the end), so it is freed on success only.
    if (!ok)
        throw FormatError(std::string("JPEG: ") + error.message);
    std::vector<std::uint8_t> out(source.buffer, source.buffer + source.size);
    std::free(source.buffer);
    return out;
}

} // namespace pitwall
