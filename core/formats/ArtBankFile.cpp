#include "formats/ArtBankFile.h"

#include "base/FileUtils.h"
#include "base/FormatError.h"
#include "formats/ArtEntryCodec.h"
#include "formats/FileRange.h"

#include <algorithm>
#include <stdexcept>

namespace pitwall {

std::vector<std::uint8_t> EncodeForEntry(const ArtEntry& entry, std::size_t index, const ArtPicture& picture)
{
    if (picture.width != entry.width || picture.height != entry.height)
        throw FormatError(737, Args(entry.width, entry.height));
    if (!entry.fits())
        throw FormatError(689, {});
    auto bytes = EncodeArtEntry(picture, UsesSingleWordKeys(index));
    // Isolated key pixels take three bytes each, so even an entry that fits
    // can be too small for a picture full of them. Cutting the stream off
    // would leave the rest of the picture to old bytes; it is refused whole.
    if (bytes.size() > entry.reservedSize)
        throw FormatError(kArtPictureTooScatteredText, Args(bytes.size(), entry.reservedSize));
    return bytes;
}

namespace {

FileRangeReader OpenArtBank(std::string_view bankFile)
{
    RequireFile(bankFile);
    return FileRangeReader(bankFile);
}

// Entry `index` of a bank of `size` bytes, whose bytes `read(offset, count)`
// gives (fewer where the bank ends). The directory is read up to the entry
// unless the caller has read it already.
template <typename Read>
bool ReadArtEntry(Read&& read, std::uint64_t size, std::string_view bankFile, std::size_t index, ArtPicture& picture,
                  const ArtDirectory* directory = nullptr)
{
    if (index >= kArtEntryCount)
        return false;
    ArtDirectory parsed;
    if (!directory) {
        parsed = ParseArtDirectory(read(0, kArtDirectoryStart + (index + 1) * kArtDirectoryEntrySize));
        directory = &parsed;
    }
    const ArtDirectory& dir = *directory;
    if (dir.entriesRead <= index)
        throw FormatError(kArtBankDamagedText, Args(std::string(bankFile)));
    const ArtEntry& e = dir.entries[index];
    if (e.reservedSize > kMaxArtEntryRead)
        throw FormatError(569, {});
    // No game picture is empty: a side of 0 is a damaged entry, not a
    // picture to save as an empty or black file.
    if (e.width == 0 || e.height == 0 || e.width > kMaxArtSide || e.height > kMaxArtSide)
        throw FormatError(kArtEntrySizeText, Args(index, e.width, e.height));
    if (e.dataOffset > size || e.reservedSize > size - e.dataOffset)
        throw FormatError(kArtEntryPastEndText, Args(index, size));
    DecodeArtEntry(read(e.dataOffset, e.reservedSize), e.width, e.height, UsesSingleWordKeys(index), picture);
    return true;
}

} // namespace

bool ReadArtImage(std::string_view bankFile, std::size_t index, ArtPicture& picture)
{
    ArtBankReader bank(bankFile);
    return bank.read(index, picture);
}

ArtBankReader::ArtBankReader(std::string_view bankFile) : file_(bankFile), bank_(OpenArtBank(bankFile))
{
    bank_.read(0, kArtDirectoryEnd, bytes_);
    directory_ = ParseArtDirectory(bytes_);
}

bool ArtBankReader::read(std::size_t index, ArtPicture& picture)
{
    auto read = [&](std::uint64_t offset, std::uint64_t count) -> std::span<const std::uint8_t> {
        bank_.read(offset, count, bytes_);
        return bytes_;
    };
    return ReadArtEntry(read, bank_.fileSize(), file_, index, picture, &directory_);
}

bool ReadArtImage(std::span<const std::uint8_t> bank, std::string_view bankName, std::size_t index, ArtPicture& picture)
{
    auto read = [&](std::uint64_t offset, std::uint64_t count) {
        const std::uint64_t from = std::min<std::uint64_t>(offset, bank.size());
        return bank.subspan(from, std::min<std::uint64_t>(count, bank.size() - from));
    };
    return ReadArtEntry(read, bank.size(), bankName, index, picture);
}

void WriteArtImage(std::string_view bankFile, const ArtEntry& entry, std::size_t index, const ArtPicture& picture)
{
    RequireFile(bankFile);
    PatchFile(bankFile, entry.dataOffset, EncodeForEntry(entry, index, picture));
}

void WriteArtImage(std::vector<std::uint8_t>& bank, const ArtEntry& entry, std::size_t index, const ArtPicture& picture)
{
    PatchArtBank(bank, entry.dataOffset, EncodeForEntry(entry, index, picture));
}

void PatchArtBank(std::vector<std::uint8_t>& bank, std::uint64_t offset, std::span<const std::uint8_t> bytes)
{
    if (offset > bank.size() || bytes.size() > bank.size() - offset)
        throw std::runtime_error("Write beyond the end of the art bank");
    std::copy(bytes.begin(), bytes.end(), bank.begin() + static_cast<std::ptrdiff_t>(offset));
}

void WriteArtImageFile(std::string_view file, const ArtEntry& entry, std::size_t index, const ArtPicture& picture)
{
    WriteWholeFile(file, EncodeForEntry(entry, index, picture));
}

} // namespace pitwall
