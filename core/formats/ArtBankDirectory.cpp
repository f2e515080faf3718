#include "formats/ArtBankDirectory.h"

#include "base/ByteReader.h"
#include "base/ByteWriter.h"
#include "base/FileUtils.h"
#include "base/FormatError.h"
#include "formats/FileRange.h"

namespace pitwall {

ArtDirectory ParseArtDirectory(std::span<const std::uint8_t> bytes)
{
    ArtDirectory dir;
    ByteReader r(bytes);
    if (r.remaining() < kArtDirectoryStart)
        return dir;
    auto text = r.bytes(kArtHeaderTextSize);
    std::copy(text.begin(), text.end(), dir.headerText.begin());
    dir.declaredCount = r.u32();
    for (ArtEntry& e : dir.entries) {
        if (r.remaining() < kArtDirectoryEntrySize)
            break;
        e.keptA = r.u32();
        e.keptB = r.u32();
        e.width = r.u32();
        e.height = r.u32();
        e.reservedSize = r.u32();
        e.dataOffset = r.u32();
        ++dir.entriesRead;
    }
    return dir;
}

std::vector<std::uint8_t> BuildArtDirectory(const ArtDirectory& directory)
{
    ByteWriter w;
    w.bytes(directory.headerText);
    w.u32(static_cast<std::uint32_t>(kArtEntryCount));
    for (std::size_t i = 0; i < kArtEntryCount; ++i) {
        ArtEntry e = i < directory.entries.size() ? directory.entries[i] : ArtEntry{};
        w.u32(e.keptA);
        w.u32(e.keptB);
        w.u32(e.width);
        w.u32(e.height);
        w.u32(e.reservedSize);
        w.u32(e.dataOffset);
    }
    return w.take();
}

std::optional<std::size_t> FirstEntryOutsideFile(const ArtDirectory& directory, std::uint64_t fileSize)
{
    for (std::size_t i = 0; i < directory.entries.size(); ++i) {
        const ArtEntry& e = directory.entries[i];
        const std::uint64_t end = static_cast<std::uint64_t>(e.dataOffset) + e.reservedSize;
        if (i == 0 && e.dataOffset > fileSize)
            return i;
        if (e.reservedSize > 0 && (e.dataOffset < kArtDirectoryEnd || end > fileSize))
            return i;
    }
    return std::nullopt;
}

ArtDirectory ReadArtDirectory(std::string_view bankFile)
{
    RequireFile(bankFile);
    return ParseArtDirectory(ReadFileRange(bankFile, 0, kArtDirectoryEnd));
}

} // namespace pitwall
