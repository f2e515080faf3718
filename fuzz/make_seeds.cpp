// Writes a few small valid inputs per fuzz target into DIR/<target>/, so the
// fuzzers start from files that reach deep into the readers. The corpora kept
// in fuzz/corpus/ were made with it:
//   build-fuzz/pitwall-fuzz-seeds fuzz/corpus
// (fuzz_language also holds the program's own ENGLISH.LNG, copied by hand;
// fuzz_three_d, fuzz_track_sections, fuzz_track_jam_info and fuzz_wav hold
// files taken from a demo installation or written by hand).

#include "app/IniFile.h"
#include "base/ByteWriter.h"
#include "base/FileUtils.h"
#include "formats/ArtBankDirectory.h"
#include "formats/Bmp.h"
#include "formats/Jam16Codec.h"
#include "formats/Jpeg.h"
#include "formats/Palette.h"
#include "formats/Png.h"
#include "teams/PerFile.h"
#include "teams/TeamTable.h"
#include "transfer/CarsetArchive.h"
#include "transfer/CarsetHeader.h"
#include "transfer/CarsetInfo.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include <jpeglib.h>

using namespace pitwall;

namespace {

void Put(const std::string& dir, const std::string& name, const std::vector<std::uint8_t>& bytes)
{
    ForceDirectories(dir);
    WriteWholeFile(IncludeTrailingBackslash(dir) + name, bytes);
}

std::vector<std::uint8_t> Jam8(int height, int images)
{
    ByteWriter w;
    w.u16(static_cast<std::uint16_t>(images));
    w.u16(static_cast<std::uint16_t>(height));
    for (int i = 0; i < images; ++i) {
        w.u8(static_cast<std::uint8_t>(i * 16));
        w.u16(0);
        w.u8(0);
        w.u16(16);
        w.u16(static_cast<std::uint16_t>(height));
        w.zeros(4);
        w.u16(static_cast<std::uint16_t>(i * 4 * (i % 2 ? 0 : 3)));
        w.u16(0);
        w.u16(static_cast<std::uint16_t>(i % 2 ? 0 : 3));
        w.u16(static_cast<std::uint16_t>(i));
        w.zeros(12);
    }
    for (int i = 0; i < images; ++i)
        if (i % 2 == 0)
            for (int k = 0; k < 4; ++k)
                w.bytes(std::vector<std::uint8_t>{5, 6, 7});
    for (int p = 0; p < 256 * height; ++p)
        w.u8(static_cast<std::uint8_t>(p % 3));
    return w.take();
}

// Without the 9999999 mark, which the target puts in front.
std::vector<std::uint8_t> Jam16Body(int height, bool folded)
{
    ByteWriter w;
    w.u16(1);
    w.u16(static_cast<std::uint16_t>(height));
    std::vector<std::uint16_t> page(256 * static_cast<std::size_t>(height));
    for (std::size_t i = 0; i < page.size(); ++i)
        page[i] = static_cast<std::uint16_t>(i < 300 ? 0x1234 : i * 7);
    auto stream = EncodeJamRuns(page);
    const int d = 3;
    const int e = folded ? (stream[0] - d + 5) & 0xFF : 133 - d;
    for (std::uint8_t b : std::vector<std::uint8_t>{0x33, 0xFF, 0xFF, 1, 2, 3, 4, static_cast<std::uint8_t>(d), 7, 8,
                                                    static_cast<std::uint8_t>(e), 0x41, 0x41, 0x20})
        w.u8(b);
    auto bytes = w.take();
    bytes.insert(bytes.end(), stream.begin() + (folded ? 1 : 0), stream.end());
    return bytes;
}

std::vector<std::uint8_t> Bytes(const std::string& text) { return std::vector<std::uint8_t>(text.begin(), text.end()); }

Image Stripes(int w, int h)
{
    Image image(w, h, 24);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, MakePixel(x * 30, (x + y) % 2 * 200, y * 30));
    return image;
}

std::vector<std::uint8_t> ProgressiveJpeg(const Image& image)
{
    jpeg_compress_struct info;
    jpeg_error_mgr error;
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(image.width());
    info.image_height = static_cast<JDIMENSION>(image.height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    std::vector<std::uint8_t> row(static_cast<std::size_t>(image.width()) * 3);
    while (info.next_scanline < info.image_height) {
        for (int x = 0; x < image.width(); ++x) {
            Pixel p = image.pixel(x, static_cast<int>(info.next_scanline));
            row[static_cast<std::size_t>(x) * 3] = static_cast<std::uint8_t>(RedOf(p));
            row[static_cast<std::size_t>(x) * 3 + 1] = static_cast<std::uint8_t>(GreenOf(p));
            row[static_cast<std::size_t>(x) * 3 + 2] = static_cast<std::uint8_t>(BlueOf(p));
        }
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::vector<std::uint8_t> out(buffer, buffer + size);
    std::free(buffer);
    return out;
}

void CarsetSeeds(const std::string& dir)
{
    CarsetHeader header;
    for (std::size_t i = 0; i < header.items.size(); i += 3)
        header.items[i] = 1;
    Put(dir + "fuzz_carset_header", "Header.DAT", CarsetHeaderImage(header));
    Put(dir + "fuzz_carset_header", "format7.DAT", CarsetHeaderImage(CarsetHeader{kOldestCarsetFormat, {}}));

    CarsetInfo info;
    Put(dir + "fuzz_carset_info", "empty.DAT", Bytes(CarsetInfoText(info)));
    CarsetInfoFields fields;
    fields.author = "Author";
    fields.date = "01.02.1999";
    fields.showOnLoad = true;
    fields.text = {"First line", "", "Third line \xE9"};
    ApplyCarsetInfoEdits(info, fields);
    Put(dir + "fuzz_carset_info", "INFO.DAT", Bytes(CarsetInfoText(info)));

    // A small carset: header, information and one member.
    ForceDirectories(dir + "fuzz_carset_archive");
    CarsetArchive archive(dir + "fuzz_carset_archive/small.GMS", CarsetArchive::Mode::Create);
    archive.addBytes(kHeaderMember, CarsetHeaderImage(header));
    archive.addBytes(kInfoMember, Bytes(CarsetInfoText(info)));
    archive.addBytes("CARS.JAM", std::vector<std::uint8_t>(300, 7));
    archive.close();
}

void TextSeeds(const std::string& dir)
{
    Put(dir + "fuzz_ini", "settings.ini",
        Bytes("; comment\r\n[General]\r\nLanguage=ENGLISH.LNG\r\nWidth = $1F\r\n\r\n[Paths]\r\nGame=\"C:\\GP3\"\r\n"
              "Hex=0x10\r\n[General]\r\nLanguage=second\r\n"));
    TeamTable table;
    for (int t = 0; t < kTeamCount; ++t) {
        TeamRecord& team = table.teams[static_cast<std::size_t>(t)];
        team.name = "Team " + std::to_string(t);
        team.engine = t % 2 ? " Engine " : "\"V10\"";
        team.failure = static_cast<std::uint16_t>(t * 100);
        team.tqp = static_cast<std::uint16_t>(t * 1000);
    }
    for (int d = 0; d < kDriverCount; ++d) {
        table.driver(d).name = "Driver " + std::to_string(d);
        table.driver(d).carNumber = static_cast<std::uint8_t>(d + 1);
        table.driver(d).qa = static_cast<std::uint16_t>(d * 7);
    }
    ForceDirectories(dir + "fuzz_per");
    SavePerFile(table, dir + "fuzz_per/grid.PER");
    Put(dir + "fuzz_per", "part.PER",
        Bytes("[NBR]\r\n0=5\r\n1=300\r\n[Name]\r\n0='Quoted'\r\n[TNAME]\r\n3=Minardi\r\n"));
    Put(dir + "fuzz_language", "short.LNG",
        Bytes("Marquee|text\r\nFile %s not found\r\n%d of %d\r\n%0:s %1:5.2f %-8s|%%\r\n%*d %x %e %g %n %m %p\r\n"));
}

void ArtSeeds(const std::string& dir)
{
    ArtDirectory art;
    for (std::size_t i = 0; i < kArtHeaderTextSize; ++i)
        art.headerText[i] = static_cast<std::uint8_t>('A' + i % 26);
    std::uint32_t offset = kArtDirectoryEnd;
    for (std::size_t i = 0; i < kArtEntryCount; ++i) {
        ArtEntry& e = art.entries[i];
        e.width = static_cast<std::uint32_t>(2 + i % 5);
        e.height = static_cast<std::uint32_t>(1 + i % 3);
        e.reservedSize = i % 4 == 0 ? static_cast<std::uint32_t>(e.uncodedSize()) : 4;
        e.dataOffset = offset;
        offset += e.reservedSize;
    }
    Put(dir + "fuzz_art_directory", "directory.BIN", BuildArtDirectory(art));
    auto cut = BuildArtDirectory(art);
    cut.resize(kArtDirectoryStart + 10 * kArtDirectoryEntrySize + 7);
    Put(dir + "fuzz_art_directory", "cut.BIN", cut);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: pitwall-fuzz-seeds DIR\n");
        return 2;
    }
    const std::string dir = IncludeTrailingBackslash(argv[1]);
    Put(dir + "fuzz_jam8", "small.jam", Jam8(4, 3));
    Put(dir + "fuzz_jam8", "none.jam", Jam8(2, 0));
    Put(dir + "fuzz_jam16", "folded.jam", Jam16Body(3, true));
    Put(dir + "fuzz_jam16", "normalised.jam", Jam16Body(2, false));
    for (int depth : {8, 24, 32}) {
        Image image(5, 3, depth);
        for (int i = 0; i < 15; ++i)
            image.pixels()[static_cast<std::size_t>(i)] = MakePixel(i * 10, 0, 255 - i);
        if (depth == 8)
            image.setColorTable(std::vector<Pixel>(image.pixels().begin(), image.pixels().end()));
        Put(dir + "fuzz_bmp", "p" + std::to_string(depth) + ".bmp", EncodeBmp(image));
    }
    std::array<Pixel, 256> colours{};
    for (int i = 0; i < 256; ++i)
        colours[static_cast<std::size_t>(i)] = MakePixel(i, i / 2, 255 - i);
    std::string text = FormatPalette(Palette(colours));
    Put(dir + "fuzz_palette", "GP3 Palette.pal", std::vector<std::uint8_t>(text.begin(), text.end()));
    Put(dir + "fuzz_jpeg", "baseline.jpg", EncodeJpeg(Stripes(9, 7), kJpegSaveQuality));
    Put(dir + "fuzz_jpeg", "progressive.jpg", ProgressiveJpeg(Stripes(17, 9)));
    Put(dir + "fuzz_png", "rgb.png", EncodePng(Stripes(9, 7)));
    {
        Image indexed = Stripes(6, 5);
        indexed.setDepth(8);
        indexed.setColorTable(std::vector<Pixel>(indexed.pixels().begin(), indexed.pixels().end()));
        Put(dir + "fuzz_png", "palette.png", EncodePng(indexed));
    }
    const std::string threeD = "JACKED_UP_TYRE_CHOICE_TEXT:\r\n\r\n\tDB\t0,14,0,5,3,\"FUEL 0\",19\r\n"
                               "\tDB\t-1\r\n\tDB\tHLIGHT_AUTOMATIC_IN_SECONDS,8,3,15,5\r\n\r\n"
                               "JACKED_UP_TYRE_TYPE_TEXT:\r\n\r\n\tDB\t1,0,0,4,1,\"LAP 1\",25 ; lap\r\n\r\n";
    Put(dir + "fuzz_three_d", "ENGLISH.3D", std::vector<std::uint8_t>(threeD.begin(), threeD.end()));
    CarsetSeeds(dir);
    TextSeeds(dir);
    ArtSeeds(dir);
    return 0;
}
