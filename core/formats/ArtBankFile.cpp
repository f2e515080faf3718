#include "formats/ArtBankFile.h"

#include "app/Messages.h"
#include "formats/ArtEntryCodec.h"
#include "formats/FileRange.h"
#include "transfer/FileUtils.h"

#include <algorithm>
#include <optional>
#include <stdexcept>

namespace pitwall {

namespace {

void Show(Messenger* messenger, int number, const FormatArgs& args = {})
{
    if (messenger)
        messenger->show(number, args);
}

} // namespace

std::optional<std::vector<std::uint8_t>> EncodeForEntry(const ArtEntry& entry, std::size_t index,
                                                        const ArtPicture& picture, Messenger* messenger)
{
    if (picture.width != entry.width || picture.height != entry.height) {
        Show(messenger, 737, Args(entry.width, entry.height));
        return std::nullopt;
    }
    if (!entry.fits()) {
        Show(messenger, 689);
        return std::nullopt;
    }
    auto bytes = EncodeArtEntry(picture, UsesSingleWordKeys(index));
    // Isolated key pixels take three bytes each, so even an entry that fits
    // can be too small for a picture full of them. Cutting the stream off
    // would leave the rest of the picture to old bytes; it is refused whole.
    if (bytes.size() > entry.reservedSize) {
        Show(messenger, kArtPictureTooScatteredText, Args(bytes.size(), entry.reservedSize));
        return std::nullopt;
    }
    return bytes;
}

bool ReadArtImage(std::string_view bankFile, std::size_t index, ArtPicture& picture, Messenger* messenger)
{
    auto bank = OpenArtBank(bankFile, messenger);
    return bank && ReadArtImage(*bank, bankFile, index, picture, messenger);
}

std::optional<FileRangeReader> OpenArtBank(std::string_view bankFile, Messenger* messenger)
{
    if (!FileExists(bankFile)) {
        Show(messenger, 349, Args(std::string(bankFile)));
        return std::nullopt;
    }
    return std::optional<FileRangeReader>(std::in_place, bankFile);
}

namespace {

// Entry `index` of a bank of `size` bytes, whose bytes `read(offset, count)`
// gives (fewer where the bank ends).
template <typename Read>
bool ReadArtEntry(Read&& read, std::uint64_t size, std::string_view bankFile, std::size_t index,
                  ArtPicture& picture, Messenger* messenger)
{
    if (index >= kArtEntryCount)
        return false;
    ArtDirectory dir = ParseArtDirectory(read(0, kArtDirectoryStart + (index + 1) * kArtDirectoryEntrySize));
    if (dir.entriesRead <= index) {
        Show(messenger, kArtBankDamagedText, Args(std::string(bankFile)));
        return false;
    }
    const ArtEntry& e = dir.entries[index];
    if (e.reservedSize > kMaxArtEntryRead) {
        Show(messenger, 569);
        return false;
    }
    // No game picture is empty: a side of 0 is a damaged entry, not a
    // picture to save as an empty or black file.
    if (e.width == 0 || e.height == 0 || e.width > kMaxArtSide || e.height > kMaxArtSide) {
        Show(messenger, kArtEntrySizeText, Args(index, e.width, e.height));
        return false;
    }
    if (e.dataOffset > size || e.reservedSize > size - e.dataOffset) {
        Show(messenger, kArtEntryPastEndText, Args(index, size));
        return false;
    }
    DecodeArtEntry(read(e.dataOffset, e.reservedSize), e.width, e.height, UsesSingleWordKeys(index), picture);
    return true;
}

} // namespace

bool ReadArtImage(FileRangeReader& bank, std::string_view bankFile, std::size_t index, ArtPicture& picture,
                  Messenger* messenger)
{
    std::vector<std::uint8_t> bytes;
    auto read = [&](std::uint64_t offset, std::uint64_t count) -> std::span<const std::uint8_t> {
        bank.read(offset, count, bytes);
        return bytes;
    };
    return ReadArtEntry(read, bank.fileSize(), bankFile, index, picture, messenger);
}

bool ReadArtImage(std::span<const std::uint8_t> bank, std::string_view bankName, std::size_t index,
                  ArtPicture& picture, Messenger* messenger)
{
    auto read = [&](std::uint64_t offset, std::uint64_t count) {
        const std::uint64_t from = std::min<std::uint64_t>(offset, bank.size());
        return bank.subspan(from, std::min<std::uint64_t>(count, bank.size() - from));
    };
    return ReadArtEntry(read, bank.size(), bankName, index, picture, messenger);
}

bool WriteArtImage(std::string_view bankFile, const ArtEntry& entry, std::size_t index, const ArtPicture& picture,
                   Messenger* messenger)
{
    if (!FileExists(bankFile)) {
        Show(messenger, 349, Args(std::string(bankFile)));
        return false;
    }
    auto bytes = EncodeForEntry(entry, index, picture, messenger);
    if (!bytes)
        return false;
    PatchFile(bankFile, entry.dataOffset, *bytes);
    return true;
}

bool WriteArtImage(std::vector<std::uint8_t>& bank, const ArtEntry& entry, std::size_t index,
                   const ArtPicture& picture, Messenger* messenger)
{
    auto bytes = EncodeForEntry(entry, index, picture, messenger);
    if (!bytes)
        return false;
    PatchArtBank(bank, entry.dataOffset, *bytes);
    return true;
}

void PatchArtBank(std::vector<std::uint8_t>& bank, std::uint64_t offset, std::span<const std::uint8_t> bytes)
{
    if (offset > bank.size() || bytes.size() > bank.size() - offset)
        throw std::runtime_error("Write beyond the end of the art bank");
    std::copy(bytes.begin(), bytes.end(), bank.begin() + static_cast<std::ptrdiff_t>(offset));
}

bool WriteArtImageFile(std::string_view file, const ArtEntry& entry, std::size_t index, const ArtPicture& picture,
                       Messenger* messenger)
{
    auto bytes = EncodeForEntry(entry, index, picture, messenger);
    if (!bytes)
        return false;
    WriteWholeFile(file, *bytes);
    return true;
}

} // namespace pitwall
