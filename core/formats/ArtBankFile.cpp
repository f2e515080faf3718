#include "formats/ArtBankFile.h"

#include "app/Messages.h"
#include "formats/ArtEntryCodec.h"
#include "formats/FileRange.h"
#include "transfer/FileUtils.h"

#include <optional>

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

bool ReadArtImage(FileRangeReader& bank, std::string_view bankFile, std::size_t index, ArtPicture& picture,
                  Messenger* messenger)
{
    if (index >= kArtEntryCount)
        return false;
    std::vector<std::uint8_t> bytes;
    bank.read(0, kArtDirectoryStart + (index + 1) * kArtDirectoryEntrySize, bytes);
    ArtDirectory dir = ParseArtDirectory(bytes);
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
    if (std::uint64_t size = bank.fileSize(); e.dataOffset > size || e.reservedSize > size - e.dataOffset) {
        Show(messenger, kArtEntryPastEndText, Args(index, size));
        return false;
    }
    bank.read(e.dataOffset, e.reservedSize, bytes);
    DecodeArtEntry(bytes, e.width, e.height, UsesSingleWordKeys(index), picture);
    return true;
}

bool WriteArtImage(std::string_view bankFile, const ArtEntry& entry, std::size_t index, const ArtPicture& picture,
                   Messenger* messenger, ArtBankTarget target)
{
    if (!FileExists(bankFile)) {
        Show(messenger, 349, Args(std::string(bankFile)));
        return false;
    }
    auto bytes = EncodeForEntry(entry, index, picture, messenger);
    if (!bytes)
        return false;
    if (target == ArtBankTarget::WorkingCopy)
        PatchWorkingCopy(bankFile, entry.dataOffset, *bytes);
    else
        PatchFile(bankFile, entry.dataOffset, *bytes);
    return true;
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
