#include "formats/ArtBankExpansion.h"

#include "base/FileUtils.h"
#include "base/FormatError.h"
#include "base/SafeWrite.h"
#include "formats/ArtBankFile.h"
#include "formats/ArtEntryCodec.h"
#include "formats/ArtEntryReencoder.h"
#include "formats/FileRange.h"

#include <algorithm>
#include <filesystem>
#include <stdexcept>

namespace pitwall {

namespace {

constexpr std::uint64_t kMaxBankSize = 0xFFFFFFFFull;

bool Flagged(const std::vector<bool>& flags, std::size_t i) { return i < flags.size() && flags[i]; }

// The new bank, written to a fresh temporary file beside the old one (never
// a fixed name someone could have placed a link at). The whole file reaches
// the disk before it takes the bank's name; on Linux the disk starts writing
// each stretch of it meanwhile, so that final sync does not wait for all of
// it at once.
class BankOutput {
public:
    BankOutput(const std::string& bank, NewBankSync sync) : out_(bank), sync_(sync) {}

    void write(std::span<const std::uint8_t> bytes)
    {
        out_.write(bytes);
        if (sync_ == NewBankSync::ToDisk && out_.written() - syncStarted_ >= kSyncStretch) {
            out_.startWritingOut();
            syncStarted_ = out_.written();
        }
    }
    void zeros(std::uint64_t count)
    {
        static const std::vector<std::uint8_t> block(65536, 0);
        while (count > 0) {
            auto n = static_cast<std::size_t>(std::min<std::uint64_t>(count, block.size()));
            write(std::span(block).first(n));
            count -= n;
        }
    }
    void writeAt(std::uint64_t offset, std::span<const std::uint8_t> bytes) { out_.writeAt(offset, bytes); }
    void commit() { out_.commit(sync_ == NewBankSync::ToDisk ? WriteSync::ToDisk : WriteSync::NotNeeded); }

private:
    static constexpr std::uint64_t kSyncStretch = 16u << 20;

    SafeFileWriter out_;
    NewBankSync sync_;
    std::uint64_t syncStarted_ = 0;
};

// Copies `count` bytes of the old file from `offset`, padding with zeros where
// the old file ends early. `buffer` is reused from call to call.
void CopyRange(FileRangeReader& in, std::uint64_t offset, std::uint64_t count, BankOutput& out,
               std::vector<std::uint8_t>& buffer)
{
    constexpr std::uint64_t kChunk = 4u << 20;
    while (count > 0) {
        std::uint64_t n = std::min(count, kChunk);
        in.read(offset, n, buffer);
        out.write(buffer);
        out.zeros(n - buffer.size());
        offset += n;
        count -= n;
    }
}

// Writes the new bank into `out`; returns the new directory. Throws
// FormatError (UI text 1146) when the old bank cannot be expanded.
ArtDirectory WriteExpandedBank(std::string_view bankFile, BankOutput& out, const ArtDirectory& old,
                               const std::vector<bool>& flags, const ArtProgress& progress, unsigned workers)
{
    ArtDirectory fresh = old;
    FileRangeReader in(bankFile);
    std::vector<std::uint8_t> buffer;
    // The entries to enlarge are decoded and encoded again ahead of the
    // writing, on every core; the rest is copied as it is.
    std::vector<std::size_t> enlarged;
    for (std::size_t i = 0; i < kArtEntryCount; ++i)
        if (Flagged(flags, i) && !old.entries[i].fits())
            enlarged.push_back(i);
    ArtEntryReencoder reencoder(bankFile, old, enlarged, workers);
    // Header and directory first as placeholders; the final directory is
    // written over them once every entry's room is known.
    out.write(BuildArtDirectory(old));
    const std::uint64_t firstOffset = old.entries[0].dataOffset;
    CopyRange(in, kArtDirectoryEnd, firstOffset - kArtDirectoryEnd, out, buffer);

    std::uint64_t offset = firstOffset;
    for (std::size_t i = 0; i < kArtEntryCount; ++i) {
        const ArtEntry& before = old.entries[i];
        ArtEntry& after = fresh.entries[i];
        after.dataOffset = static_cast<std::uint32_t>(offset);
        if (Flagged(flags, i) && !before.fits()) {
            auto encoded = reencoder.next();
            // Width x height x 2 holds any picture written uncoded; a picture
            // with isolated key pixels encodes longer and keeps the room it needs.
            std::uint64_t room = std::max<std::uint64_t>(before.uncodedSize(), encoded.size());
            if (offset + room > kMaxBankSize)
                throw FormatError(kArtBankDamagedText, Args(std::string(bankFile)));
            after.reservedSize = static_cast<std::uint32_t>(room);
            out.write(encoded);
            out.zeros(room - encoded.size());
            reencoder.recycle(std::move(encoded));
        } else {
            if (offset + before.reservedSize > kMaxBankSize)
                throw FormatError(kArtBankDamagedText, Args(std::string(bankFile)));
            CopyRange(in, before.dataOffset, before.reservedSize, out, buffer);
        }
        offset += after.reservedSize;
        if (progress)
            progress(i + 1, kArtEntryCount);
    }
    out.writeAt(0, BuildArtDirectory(fresh));
    return fresh;
}

// Whether the bank can be expanded as its directory says, judged before
// anything is written: every entry's data lies in the file, every entry to
// be enlarged has a size some picture has, and the new layout stays within
// 4 GB. Throws FormatError (UI text 1146 or 1147) when not.
void RequireExpandable(std::string_view bankFile, const ArtDirectory& old, const std::vector<bool>& flags)
{
    const FormatError damaged(kArtBankDamagedText, Args(std::string(bankFile)));
    if (!old.complete() || old.entries[0].dataOffset < kArtDirectoryEnd
        || FirstEntryOutsideFile(old, FileSizeOf(bankFile)))
        throw damaged;
    std::uint64_t end = old.entries[0].dataOffset;
    for (std::size_t i = 0; i < kArtEntryCount; ++i) {
        const ArtEntry& e = old.entries[i];
        if (Flagged(flags, i) && !e.fits()) {
            if (e.width > kMaxArtSide || e.height > kMaxArtSide)
                throw FormatError(kArtEntrySizeText, Args(i, e.width, e.height));
            end += e.uncodedSize();
        } else {
            end += e.reservedSize;
        }
    }
    if (end > kMaxBankSize)
        throw damaged;
}

} // namespace

ArtDirectory ExpandedLayout(const ArtDirectory& directory, const std::vector<bool>& flags)
{
    ArtDirectory fresh = directory;
    std::uint64_t offset = directory.entries[0].dataOffset;
    for (std::size_t i = 0; i < kArtEntryCount; ++i) {
        ArtEntry& e = fresh.entries[i];
        if (Flagged(flags, i) && !e.fits())
            e.reservedSize = static_cast<std::uint32_t>(std::min<std::uint64_t>(e.uncodedSize(), kMaxBankSize));
        e.dataOffset = static_cast<std::uint32_t>(offset);
        offset += e.reservedSize;
    }
    return fresh;
}

ArtDirectory ExpandArtBank(std::string_view bankFile, const std::vector<bool>& flags, bool keepBackup,
                           const ArtProgress& progress)
{
    return ExpandArtBank(bankFile, flags, keepBackup, progress, 0);
}

ArtDirectory ExpandArtBank(std::string_view bankFile, const std::vector<bool>& flags, bool keepBackup,
                           const ArtProgress& progress, unsigned workers, NewBankSync sync)
{
    const ArtDirectory old = ReadArtDirectory(bankFile);
    RequireExpandable(bankFile, old, flags);

    const std::string bank(bankFile);
    const std::string oldFile = bank + ".OLD";
    // Anything thrown from here on drops the new file with `out`.
    BankOutput out(bank, sync);
    ArtDirectory fresh = WriteExpandedBank(bankFile, out, old, flags, progress, workers);

    // The new bank takes the game's name in one rename over the old one,
    // after it reached the disk: at every moment the game has a complete
    // bank, the old or the new. The old one is kept as .OLD (a second name
    // for the same file, or a copy) before that rename.
    DeleteFileForced(oldFile);
    if (keepBackup) {
        std::error_code ec;
        std::filesystem::create_hard_link(NativePath(bank), NativePath(oldFile), ec);
        if (ec) {
            try {
                CopyFileSafely(bank, oldFile);
            } catch (const std::exception& e) {
                throw std::runtime_error("Cannot keep the old art bank as " + oldFile + ": " + e.what());
            }
        }
    }
    try {
        out.commit();
    } catch (...) {
        if (keepBackup)
            DeleteFileForced(oldFile);
        throw;
    }
    return fresh;
}

} // namespace pitwall
