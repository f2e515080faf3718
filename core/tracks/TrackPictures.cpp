#include "tracks/TrackPictures.h"

#include "base/FileUtils.h"
#include "base/ParallelFor.h"
#include "formats/ArtBankDirectory.h"
#include "formats/ArtBankFile.h"
#include "formats/ArtBankPictures.h"
#include "formats/ArtEntryCodec.h"
#include "formats/Bmp.h"
#include "tracks/TrackTable.h"
#include "transfer/ReportedFormats.h"

#include <algorithm>

namespace pitwall {

namespace {

bool Locate(const std::vector<std::uint8_t>& bank, std::size_t entry, ArtEntry& out, std::string* reason)
{
    auto fail = [&](const std::string& why) {
        if (reason)
            *reason = why;
        return false;
    };
    if (entry >= kArtEntryCount)
        return fail("the art bank has no entry " + std::to_string(entry));
    ArtDirectory dir = ParseArtDirectory(bank);
    if (dir.entriesRead <= entry)
        return fail("the art bank's directory is damaged");
    const ArtEntry& e = dir.entries[entry];
    if (e.reservedSize > kMaxArtEntryRead || e.width > kMaxArtSide || e.height > kMaxArtSide)
        return fail("entry " + std::to_string(entry) + " of the art bank is damaged");
    if (e.dataOffset > bank.size() || e.reservedSize > bank.size() - e.dataOffset)
        return fail("entry " + std::to_string(entry) + " lies outside the art bank");
    out = e;
    return true;
}

} // namespace

std::string TrackPictureMember(int slot, int kind, int view)
{
    return "TrackReplace" + std::to_string(slot) + std::to_string(kind) + std::to_string(view) + ".BMP";
}

std::vector<std::size_t> ReplacedTrackPictureEntries(const std::string& workingDirectory, int slot)
{
    std::vector<std::size_t> entries;
    for (int kind = 0; kind < kTrackPictureKinds; ++kind)
        for (int view = 0; view < kTrackViews; ++view)
            if (FileExists(workingDirectory + TrackPictureMember(slot, kind, view)))
                entries.push_back(TrackPictureEntry(slot, kind, view));
    return entries;
}

std::vector<std::size_t> ChangedTrackPictureEntries(const std::string& workingDirectory, const std::string& bankFile,
                                                    const std::vector<int>& slots)
{
    std::vector<std::size_t> candidates;
    std::vector<std::string> files;
    for (int slot : slots)
        for (int kind = 0; kind < kTrackPictureKinds; ++kind)
            for (int view = 0; view < kTrackViews; ++view) {
                std::string file = workingDirectory + TrackPictureMember(slot, kind, view);
                if (!FileExists(file))
                    continue;
                candidates.push_back(TrackPictureEntry(slot, kind, view));
                files.push_back(std::move(file));
            }
    // The pictures of all the slots are decoded and compared on every core.
    std::vector<char> same(candidates.size(), 0);
    ParallelFor(candidates.size(), [&](std::size_t i) {
        try {
            ArtPicture inBank;
            // Both as the export would write them: the file's pixels
            // converted to the bank's colours.
            same[i] = ReadArtImage(bankFile, candidates[i], inBank, nullptr)
                && LoadBmpFileAsArtPicture(files[i]) == inBank;
        } catch (const std::exception&) {
            // Not readable: the export says why when it gets there.
        }
    });
    std::vector<std::size_t> entries;
    for (std::size_t i = 0; i < candidates.size(); ++i)
        if (!same[i])
            entries.push_back(candidates[i]);
    return entries;
}

bool TrackPictureSizeFits(int kind, int width, int height)
{
    return kind == 0 ? width == kSmallPictureWidth && height == kSmallPictureHeight
                     : width == kFullPictureWidth && height == kFullPictureHeight;
}

std::optional<ArtPicture> ArtPictureFromBank(const std::vector<std::uint8_t>& bank, std::size_t entry,
                                             std::string* reason)
{
    ArtEntry e;
    if (!Locate(bank, entry, e, reason))
        return std::nullopt;
    std::span<const std::uint8_t> data(bank.data() + e.dataOffset, e.reservedSize);
    return DecodeArtEntry(data, e.width, e.height, UsesSingleWordKeys(entry));
}

std::vector<std::uint8_t> EncodeForTrackEntry(std::size_t entry, const ArtPicture& picture)
{
    return EncodeArtEntry(picture, UsesSingleWordKeys(entry));
}

bool EncodedPictureFitsBank(const std::vector<std::uint8_t>& bank, std::size_t entry, std::uint32_t width,
                            std::uint32_t height, const std::vector<std::uint8_t>& encoded, std::string* reason)
{
    auto fail = [&](const std::string& why) {
        if (reason)
            *reason = why;
        return false;
    };
    ArtEntry e;
    if (!Locate(bank, entry, e, reason))
        return false;
    if (width != e.width || height != e.height)
        return fail("the picture measures " + std::to_string(width) + " x " + std::to_string(height) + ", entry "
                    + std::to_string(entry) + " " + std::to_string(e.width) + " x " + std::to_string(e.height));
    if (encoded.size() > e.reservedSize)
        return fail("the picture needs more room than entry " + std::to_string(entry) + " has");
    return true;
}

bool PutEncodedPictureIntoBank(std::vector<std::uint8_t>& bank, std::size_t entry, std::uint32_t width,
                               std::uint32_t height, const std::vector<std::uint8_t>& encoded, std::string* reason)
{
    if (!EncodedPictureFitsBank(bank, entry, width, height, encoded, reason))
        return false;
    ArtEntry e;
    Locate(bank, entry, e, reason);
    std::copy(encoded.begin(), encoded.end(), bank.begin() + static_cast<std::ptrdiff_t>(e.dataOffset));
    return true;
}

bool PutArtPictureIntoBank(std::vector<std::uint8_t>& bank, std::size_t entry, const ArtPicture& picture,
                           std::string* reason)
{
    return PutEncodedPictureIntoBank(bank, entry, picture.width, picture.height, EncodeForTrackEntry(entry, picture),
                                     reason);
}

} // namespace pitwall
