#pragma once
// The directory of the art bank BITMAPS\GP3ART5.BIN: 28 bytes of header text,
// the entry count (840) and 840 entries of 24 bytes, followed by the
// compressed pixel data of the entries.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace pitwall {

inline constexpr std::size_t kArtEntryCount = 840;
inline constexpr std::size_t kArtHeaderTextSize = 28;
inline constexpr std::size_t kArtDirectoryEntrySize = 24;
inline constexpr std::size_t kArtDirectoryStart = 32;
inline constexpr std::size_t kArtDirectoryEnd = kArtDirectoryStart + kArtEntryCount * kArtDirectoryEntrySize;
inline constexpr const char* kArtBankGamePath = "BITMAPS\\GP3ART5.BIN";

// Entries 422-432 (the car pictures of the team sheets' position 32) store a
// key pixel as the single word 0x7C1F instead of a key run.
constexpr bool UsesSingleWordKeys(std::size_t entry) { return entry >= 422 && entry <= 432; }

struct ArtEntry {
    // Two words the program does not interpret; kept as they are.
    std::uint32_t keptA = 0;
    std::uint32_t keptB = 0;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    // Bytes of the file that belong to the entry.
    std::uint32_t reservedSize = 0;
    std::uint32_t dataOffset = 0;

    std::uint64_t uncodedSize() const { return static_cast<std::uint64_t>(width) * height * 2; }
    // Any picture of the entry's size can be written into it uncoded.
    bool fits() const { return uncodedSize() <= reservedSize; }

    bool operator==(const ArtEntry&) const = default;
};

struct ArtDirectory {
    std::array<std::uint8_t, kArtHeaderTextSize> headerText{};
    std::uint32_t declaredCount = 0;
    // Always 840 records; those the file did not hold stay zero.
    std::vector<ArtEntry> entries = std::vector<ArtEntry>(kArtEntryCount);
    // How many records the file held.
    std::size_t entriesRead = 0;

    bool complete() const { return entriesRead == kArtEntryCount; }
};

// Reads as much of the header and directory as the bytes hold.
ArtDirectory ParseArtDirectory(std::span<const std::uint8_t> bytes);
// The 32-byte header and the 840 directory entries.
std::vector<std::uint8_t> BuildArtDirectory(const ArtDirectory& directory);
// The first entry whose data does not lie in a bank file of `fileSize` bytes:
// an entry holding bytes must start after the directory and end within the
// file, and entry 0 (where the data begins) must start within it. Nothing
// when every entry does.
std::optional<std::size_t> FirstEntryOutsideFile(const ArtDirectory& directory, std::uint64_t fileSize);
// Reads the directory of an art bank file (missing: FormatError, UI text 349).
ArtDirectory ReadArtDirectory(std::string_view bankFile);

} // namespace pitwall
