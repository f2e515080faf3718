#include "formats/JamFile.h"

#include "base/ByteReader.h"
#include "base/ByteWriter.h"
#include "base/FileUtils.h"
#include "base/FormatError.h"
#include "formats/Bmp.h"
#include "formats/Jam16Codec.h"
#include "formats/JamScramble.h"
#include "formats/Pictures.h"

#include <algorithm>
#include <fstream>
#include <numeric>

namespace pitwall {

namespace {

// The loader reads files in blocks of this size, running the key stream on
// from block to block.
constexpr std::size_t kReadBlock = 2048;
// Far above any JAM the game has (the largest 8-bit JAM possible is under
// 20 MB); refuses files that cannot be JAMs before reading them.
constexpr std::uint64_t kMaxJamFile = 64u * 1024 * 1024;
// What a loaded page holds where no image is: pages start black.
constexpr Pixel kBlankPixel = 0;

JamTables IdentityTables()
{
    JamTables t{};
    for (auto& table : t)
        std::iota(table.begin(), table.end(), 0);
    return t;
}

// The first position of a table (within its first `count` entries) whose
// palette colour equals a given colour: how the writer turns page colours
// back into stored bytes.
class TablePositions {
public:
    TablePositions(const Palette& palette, const std::array<std::uint8_t, 256>& table, int count) : palette_(palette)
    {
        position_.fill(kNone);
        // Colours are compared, not indices: an entry whose colour repeats an
        // earlier palette entry counts as that entry.
        for (int p = count - 1; p >= 0; --p) {
            int canonical = palette.exactIndexOfPixel(palette.pixel(table[static_cast<std::size_t>(p)]));
            position_[static_cast<std::size_t>(canonical)] = static_cast<std::uint16_t>(p);
        }
    }

    std::uint8_t positionOf(Pixel colour)
    {
        if (colour == lastColour_ && haveLast_)
            return lastPosition_;
        int index = palette_.findPixel(colour);
        std::uint16_t p = index < 0 ? kNone : position_[static_cast<std::size_t>(index)];
        lastColour_ = colour;
        lastPosition_ = p == kNone ? 0 : static_cast<std::uint8_t>(p);
        haveLast_ = true;
        return lastPosition_;
    }

private:
    static constexpr std::uint16_t kNone = 0xFFFF;
    const Palette& palette_;
    std::array<std::uint16_t, 256> position_{};
    Pixel lastColour_ = 0;
    std::uint8_t lastPosition_ = 0;
    bool haveLast_ = false;
};

std::uint32_t FirstWord(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() < 4)
        return 0;
    ByteReader r(bytes);
    return r.u32();
}

// Reads the file in 2048-byte blocks; the first word decides the kind, and an
// 8-bit file is unscrambled block by block unless it is stored raw.
std::vector<std::uint8_t> ReadJamBytes(const std::string& fileName, bool raw)
{
    std::uint64_t size = FileSizeOf(fileName);
    if (size > kMaxJamFile)
        throw JamError("the file is " + std::to_string(size) + " bytes long, too long for a JAM");
    std::ifstream in = OpenFileForReading(fileName);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    JamKeyStream key;
    bool unscramble = false;
    for (std::size_t at = 0; at < bytes.size(); at += kReadBlock) {
        std::size_t n = std::min(kReadBlock, bytes.size() - at);
        auto block = std::span<std::uint8_t>(bytes).subspan(at, n);
        if (!in.read(reinterpret_cast<char*>(block.data()), static_cast<std::streamsize>(n)))
            throw std::runtime_error("Cannot read file " + fileName);
        if (at == 0)
            unscramble = !raw && FirstWord(block) != kJam16Magic;
        if (unscramble)
            key.apply(block);
    }
    return bytes;
}

} // namespace

TJAMFile::TJAMFile(const Palette& palette) : palette_(&palette) {}

TJAMFile::TJAMFile(const Palette& palette, const std::string& fileName) : palette_(&palette)
{
    if (!fileName.empty())
        LoadFromFile(fileName, false);
}

void TJAMFile::LoadFromFile(const std::string& fileName, bool raw)
{
    if (!OpenGameFile(fileName, false, nullptr))
        throw FormatError(kMissingFileText, Args(fileName));
    try {
        Content loaded = DecodeContent(ReadJamBytes(fileName, raw));
        content_ = std::move(loaded);
    } catch (const JamError& e) {
        if (e.uiText() == kJamUnknownLayoutText)
            throw;
        throw JamError(e.what(), e.uiText(), Args(fileName, e.what()));
    }
}

void TJAMFile::Decode(std::span<const std::uint8_t> fileBytes, bool raw)
{
    std::vector<std::uint8_t> plain(fileBytes.begin(), fileBytes.end());
    if (!raw && FirstWord(plain) != kJam16Magic)
        ScrambleBytes(plain);
    Content decoded = DecodeContent(plain);
    content_ = std::move(decoded);
}

TJAMFile::Content TJAMFile::DecodeContent(std::span<const std::uint8_t> plain) const
{
    if (plain.size() < 4)
        throw JamError("the file is too short for a JAM (" + std::to_string(plain.size()) + " bytes)");
    return FirstWord(plain) == kJam16Magic ? Decode16(plain) : Decode8(plain);
}

TJAMFile::Content TJAMFile::Decode8(std::span<const std::uint8_t> plain) const
{
    ByteReader r(plain);
    Content c;
    c.is8Bit = true;
    c.imageCount = r.u16();
    c.pageHeight = r.u16();
    const std::size_t n = c.imageCount;
    if (r.remaining() / JamEntry::kSize < n)
        throw JamError("the " + std::to_string(n) + " image entries run past the end of the file");
    for (std::size_t i = 0; i < n; ++i)
        c.entries.push_back(JamEntry::Read(r));

    const std::size_t tablesStart = 4 + JamEntry::kSize * n;
    for (std::size_t i = 0; i < n; ++i) {
        const JamEntry& e = c.entries[i];
        const std::size_t s = e.tableSize;
        if (s == 0) {
            c.tables.push_back(IdentityTables());
            continue;
        }
        if (s > 256)
            throw JamError("image " + std::to_string(i) + " has a table size of " + std::to_string(s)
                           + " (at most 256)");
        const std::size_t block = tablesStart + e.tableOffset;
        if (block > plain.size() || plain.size() - block < 4 * s)
            throw JamError("the colour tables of image " + std::to_string(i) + " run past the end of the file");
        JamTables t{};
        r.seek(block);
        for (auto& table : t) {
            auto bytes = r.bytes(s);
            std::copy(bytes.begin(), bytes.end(), table.begin());
        }
        c.tables.push_back(t);
    }

    for (std::size_t i = 0; i < n; ++i) {
        const JamEntry& e = c.entries[i];
        if (e.x + e.width > kJamPageWidth || e.y + e.height > c.pageHeight)
            throw JamError("image " + std::to_string(i) + " (" + std::to_string(e.x) + ", " + std::to_string(e.y) + ", "
                           + std::to_string(e.width) + " x " + std::to_string(e.height) + ") leaves the 256 x "
                           + std::to_string(c.pageHeight) + " page");
    }

    const std::size_t pixelsStart =
        n == 0 ? tablesStart : tablesStart + c.entries.back().tableOffset + 4u * c.entries.back().tableSize;
    const std::size_t pageBytes = static_cast<std::size_t>(kJamPageWidth) * c.pageHeight;
    if (pixelsStart > plain.size() || plain.size() - pixelsStart < pageBytes)
        throw JamError("the page pixels run past the end of the file (" + std::to_string(pixelsStart + pageBytes)
                       + " bytes needed, " + std::to_string(plain.size()) + " present)");

    c.page = Image(kJamPageWidth, c.pageHeight, 32, kBlankPixel);
    const Palette& palette = *palette_;
    for (std::size_t i = 0; i < n; ++i) {
        const JamEntry& e = c.entries[i];
        const auto& table = c.tables[i][0];
        for (int row = e.y; row < e.y + e.height; ++row) {
            r.seek(pixelsStart + static_cast<std::size_t>(row) * kJamPageWidth + e.x);
            auto stored = r.bytes(e.width);
            auto out = c.page.row(row).subspan(e.x, e.width);
            for (std::size_t k = 0; k < stored.size(); ++k)
                out[k] = palette.pixel(table[stored[k]]);
        }
    }
    return c;
}

TJAMFile::Content TJAMFile::Decode16(std::span<const std::uint8_t> file) const
{
    Jam16Header header = WalkJam16Header(file);
    Content c;
    c.is8Bit = false;
    c.imageCount = header.imageCount;
    c.pageHeight = header.pageHeight;
    // A run codes at most 127 pixels in 3 bytes: a stream too short for the
    // page is refused before the page is made.
    const std::size_t total = static_cast<std::size_t>(kJamPageWidth) * c.pageHeight;
    const std::size_t streamBytes = file.size() > header.pixelStart ? file.size() - header.pixelStart : 0;
    if ((streamBytes + 2) / 3 * 127 < total)
        throw JamError("the pixel stream of " + std::to_string(streamBytes) + " bytes cannot fill a page of "
                       + std::to_string(c.pageHeight) + " rows");
    c.page = Image(kJamPageWidth, c.pageHeight, 32, 0);
    DecodeJamRuns(file, header.pixelStart, header.firstControl, c.page);
    c.header = std::move(header.bytes);
    return c;
}

void TJAMFile::RequirePageSize() const
{
    const Image& page = content_.page;
    if (content_.pageHeight > 0 && (page.width() != kJamPageWidth || page.height() != content_.pageHeight))
        throw std::logic_error("the JAM page no longer has its size");
}

std::vector<std::uint8_t> TJAMFile::EncodePage8() const
{
    const Image& page = content_.page;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(kJamPageWidth) * content_.pageHeight, 0);
    for (std::size_t i = 0; i < content_.entries.size(); ++i) {
        const JamEntry& e = content_.entries[i];
        const int count = e.tableSize == 0 ? 256 : e.tableSize;
        TablePositions positions(*palette_, content_.tables[i][0], count);
        for (int row = e.y; row < e.y + e.height; ++row) {
            auto pixels = page.row(row).subspan(e.x, e.width);
            const std::size_t at = static_cast<std::size_t>(row) * kJamPageWidth + e.x;
            for (std::size_t k = 0; k < pixels.size(); ++k)
                bytes[at + k] = positions.positionOf(pixels[k]);
        }
    }
    return bytes;
}

TMemFile TJAMFile::Assemble(bool scrambled) const
{
    RequirePageSize();
    TMemFile file;
    if (content_.is8Bit) {
        ByteWriter w;
        w.u16(content_.imageCount);
        w.u16(content_.pageHeight);
        for (std::size_t i = 0; i < content_.entries.size(); ++i) {
            // The offsets written are those of the tables as written here,
            // contiguous in image order, whatever the loaded file said.
            JamEntry e = content_.entries[i];
            e.tableOffset = TableOffset(static_cast<int>(i));
            e.write(w);
        }
        for (std::size_t i = 0; i < content_.entries.size(); ++i) {
            const std::size_t s = content_.entries[i].tableSize;
            for (const auto& table : content_.tables[i])
                w.bytes(std::span<const std::uint8_t>(table).first(s));
        }
        file.Write(w.data(), true);
        file.Write(EncodePage8(), true);
        if (scrambled)
            ScrambleBytes(file.Content());
    } else {
        file.Write(content_.header, true);
        file.Write(EncodeJamRuns(PageToRgb565(content_.page)), true);
    }
    return file;
}

void TJAMFile::SaveToFile(const std::string& fileName) const { Assemble(true).SaveToFile(fileName); }

void TJAMFile::SaveUnscrambled(const std::string& fileName) const
{
    if (content_.is8Bit)
        Assemble(false).SaveToFile(fileName);
}

void TJAMFile::SaveAsBMP(const std::string& fileName) const
{
    Image picture = content_.page;
    if (content_.is8Bit) {
        picture.setDepth(8);
        picture.setColorTable(palette_->table());
    } else {
        picture.setDepth(32);
    }
    SaveBmpFile(picture, fileName);
}

void TJAMFile::SavePairAsBMP(const std::string& fileName, const TJAMFile& second) const
{
    Image picture(kJamPageWidth, pageHeight() + second.pageHeight(), content_.is8Bit ? 8 : 32);
    picture.draw(content_.page, 0, 0);
    picture.draw(second.page(), 0, pageHeight());
    if (content_.is8Bit)
        picture.setColorTable(palette_->table());
    SaveBmpFile(picture, fileName);
}

void TJAMFile::TakePicture(const Image& picture, int firstRow)
{
    Image& page = content_.page;
    page.drawRect(picture, Rect{0, firstRow, kJamPageWidth, firstRow + content_.pageHeight}, 0, 0);
    if (!content_.is8Bit)
        return;
    for (Pixel& p : page.pixels())
        if (!palette_->containsPixel(p))
            p = palette_->pixel(0);
    BlankOutsideImages();
    for (int i = 0; i < imageCount(); ++i)
        RebuildTables(i);
}

void TJAMFile::BlankOutsideImages()
{
    if (!content_.is8Bit)
        return;
    Image& page = content_.page;
    std::vector<bool> covered(static_cast<std::size_t>(page.width()) * page.height(), false);
    for (const JamEntry& e : content_.entries)
        for (int row = e.y; row < e.y + e.height && row < page.height(); ++row)
            for (int x = e.x; x < e.x + e.width && x < page.width(); ++x)
                covered[static_cast<std::size_t>(row) * page.width() + x] = true;
    for (int row = 0; row < page.height(); ++row) {
        auto pixels = page.row(row);
        for (std::size_t x = 0; x < pixels.size(); ++x)
            if (!covered[static_cast<std::size_t>(row) * page.width() + x])
                pixels[x] = kBlankPixel;
    }
}

std::optional<int> TJAMFile::StoredValueAt(int x, int y) const
{
    if (!content_.is8Bit || x < 0 || y < 0 || x >= content_.page.width() || y >= content_.page.height())
        return std::nullopt;
    for (std::size_t i = content_.entries.size(); i-- > 0;) {
        const JamEntry& e = content_.entries[i];
        if (x < e.x || x >= e.x + e.width || y < e.y || y >= e.y + e.height)
            continue;
        const int count = e.tableSize == 0 ? 256 : e.tableSize;
        TablePositions positions(*palette_, content_.tables[i][0], count);
        return positions.positionOf(content_.page.pixel(x, y));
    }
    return std::nullopt;
}

namespace {

// The picture for LoadFromBMP and LoadPairFromBMP, after the checks on its
// depth and size (FormatError when it fails them).
Image ReadJamPicture(const std::string& fileName, bool eightBit, int requiredHeight)
{
    Image picture;
    try {
        picture = LoadBmpFile(fileName);
    } catch (const std::exception& e) {
        throw PictureUnreadable(fileName, e);
    }
    const int d = picture.depth();
    if (eightBit ? d != 8 : (d != 16 && d != 24 && d != 32))
        throw FormatError(eightBit ? 217 : 218, {});
    if (picture.width() != kJamPageWidth || picture.height() != requiredHeight)
        throw FormatError(219, Args(requiredHeight));
    return picture;
}

} // namespace

void TJAMFile::LoadFromBMP(const std::string& fileName)
{
    TakePicture(ReadJamPicture(fileName, content_.is8Bit, pageHeight()), 0);
}

bool TJAMFile::ReplacePage(const Image& picture)
{
    if (picture.width() != kJamPageWidth || picture.height() != pageHeight())
        return false;
    TakePicture(picture, 0);
    return true;
}

void TJAMFile::LoadPairFromBMP(const std::string& fileName, TJAMFile& second)
{
    Image picture = ReadJamPicture(fileName, content_.is8Bit, pageHeight() + second.pageHeight());
    TakePicture(picture, 0);
    second.TakePicture(picture, pageHeight());
}

std::uint16_t TJAMFile::ImageTop(int image) const { return content_.entries.at(static_cast<std::size_t>(image)).y; }

Rect TJAMFile::ImageRect(int image) const
{
    const JamEntry& e = content_.entries.at(static_cast<std::size_t>(image));
    return Rect{e.x, e.y, e.x + e.width, e.y + e.height};
}

int TJAMFile::ImageAt(int x, int y) const
{
    if (x < 0 || x > kJamPageWidth || y < 0 || y > pageHeight())
        return 0;
    for (std::size_t i = 0; i < content_.entries.size(); ++i) {
        Rect r = ImageRect(static_cast<int>(i));
        if (r.left < x && x < r.right && r.top < y && y < r.bottom)
            return static_cast<int>(i);
    }
    return 0;
}

void TJAMFile::RebuildTables(int image)
{
    if (!content_.is8Bit)
        return;
    JamEntry& e = content_.entries.at(static_cast<std::size_t>(image));
    if (e.tableSize == 0)
        return;
    std::array<bool, 256> used{};
    Pixel last = 0;
    bool haveLast = false;
    for (int row = e.y; row < e.y + e.height; ++row)
        for (Pixel p : content_.page.row(row).subspan(e.x, e.width)) {
            if (haveLast && p == last)
                continue;
            used[static_cast<std::size_t>(palette_->exactIndexOfPixel(p))] = true;
            last = p;
            haveLast = true;
        }
    JamTables tables{};
    int count = 0;
    for (int index = 0; index < 256; ++index)
        if (used[static_cast<std::size_t>(index)]) {
            for (auto& table : tables)
                table[static_cast<std::size_t>(count)] = static_cast<std::uint8_t>(index);
            ++count;
        }
    if (count == 0) {
        // An image of no pixels: it keeps no tables, which means identity.
        tables = IdentityTables();
    }
    content_.tables[static_cast<std::size_t>(image)] = tables;
    e.tableSize = static_cast<std::uint16_t>(count);
    for (int i = 0; i < imageCount(); ++i)
        content_.entries[static_cast<std::size_t>(i)].tableOffset = TableOffset(i);
}

std::uint16_t TJAMFile::TableOffset(int image) const
{
    std::uint32_t sum = 0;
    for (int i = 0; i < image && i < imageCount(); ++i)
        sum += 4u * content_.entries[static_cast<std::size_t>(i)].tableSize;
    return static_cast<std::uint16_t>(sum);
}

void TJAMFile::DrawRecoloured(Image& target, const RampBases& bases, Pixel background) const
{
    target.setDepth(32);
    target.fill(background);
    static const JamTables identity = IdentityTables();
    const bool haveImage = !content_.tables.empty();
    const auto& table = haveImage ? content_.tables[0][0] : identity[0];
    const int count = haveImage && content_.entries[0].tableSize != 0 ? content_.entries[0].tableSize : 256;
    TablePositions positions(*palette_, table, count);
    const int w = std::min(kJamPageWidth, target.width());
    const int h = std::min(pageHeight(), target.height());
    for (int y = 0; y < h; ++y) {
        auto source = content_.page.row(y);
        auto out = target.row(y);
        for (int x = 0; x < w; ++x) {
            const int p = positions.positionOf(source[static_cast<std::size_t>(x)]);
            if (p == 0 || p == 255)
                continue;
            // Bases are meant to leave room for a whole ramp; one that does
            // not stops at the last palette entry.
            const int index = std::min(bases[static_cast<std::size_t>(p / 16)] + p % 16, 255);
            out[static_cast<std::size_t>(x)] = palette_->pixel(index);
        }
    }
}

} // namespace pitwall
