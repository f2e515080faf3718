#include "formats/ArtBankExpansion.h"
#include "formats/ArtBankExpansionBytes.h"

#include "base/FileUtils.h"
#include "base/FormatError.h"
#include "base/HeapSettings.h"
#include "base/SafeWrite.h"
#include "formats/ArtBankFile.h"
#include "formats/ArtEntryCodec.h"
#include "formats/ArtEntryReencoder.h"
#include "formats/FileRange.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <exception>
#include <filesystem>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <system_error>
#include <thread>

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
        if (sync_ == NewBankSync::ToDisk && out_.written() - syncStarted_ >= kWriteOutStretch) {
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
    // An entry written into its place in a content laid out beforehand; the
    // disk is let start on what is written, stretch by stretch, as for write().
    void place(std::uint64_t offset, std::span<const std::uint8_t> bytes)
    {
        out_.writeAt(offset, bytes);
        placed_ += bytes.size();
        if (sync_ == NewBankSync::ToDisk && placed_ - placedOut_ >= kWriteOutStretch) {
            out_.startWritingOutAll();
            placedOut_ = placed_;
        }
    }
    void resize(std::uint64_t size) { out_.resize(size); }
    void copyAt(std::string_view source, std::uint64_t from, std::uint64_t count, std::uint64_t offset)
    {
        out_.copyAt(source, from, count, offset);
    }
    void commit() { out_.commit(sync_ == NewBankSync::ToDisk ? WriteSync::ToDisk : WriteSync::NotNeeded); }

private:
    SafeFileWriter out_;
    NewBankSync sync_;
    std::uint64_t syncStarted_ = 0;
    std::uint64_t placed_ = 0, placedOut_ = 0;
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

// Writes the new bank into `out` with the directory laid out first: every
// entry to enlarge gets its uncoded size, the entries are decoded and encoded
// again on every core and each written straight into its place, and the rest
// of the old bank is copied by the system. Returns the new directory, or
// nothing when some entry encodes longer than its uncoded size (isolated key
// pixels) and the layout must follow the encoding (WriteExpandedBank).
// `reported`: the entries `progress` has heard of.
std::optional<ArtDirectory> WriteExpandedInPlace(std::string_view bankFile, BankOutput& out, const ArtDirectory& old,
                                                 const std::vector<bool>& flags, const ArtProgress& progress,
                                                 unsigned workers, std::size_t& reported)
{
    const ArtDirectory fresh = ExpandedLayout(old, flags);
    const ArtEntry& last = fresh.entries[kArtEntryCount - 1];
    out.resize(std::uint64_t{last.dataOffset} + last.reservedSize);
    const std::uint64_t firstOffset = old.entries[0].dataOffset;
    std::mutex writeLock; // one write at a time through the one file
    out.copyAt(bankFile, kArtDirectoryEnd, firstOffset - kArtDirectoryEnd, kArtDirectoryEnd);

    // The entries kept as they are, copied in stretches as long as both
    // banks have them one after another.
    std::vector<std::size_t> enlarged;
    std::vector<std::atomic<bool>> done(kArtEntryCount);
    for (std::size_t i = 0; i < kArtEntryCount;) {
        if (Flagged(flags, i) && !old.entries[i].fits()) {
            enlarged.push_back(i++);
            continue;
        }
        const std::uint64_t from = old.entries[i].dataOffset, to = fresh.entries[i].dataOffset;
        std::uint64_t count = 0;
        for (; i < kArtEntryCount && !(Flagged(flags, i) && !old.entries[i].fits())
               && old.entries[i].dataOffset == from + count && fresh.entries[i].dataOffset == to + count;
             ++i) {
            count += old.entries[i].reservedSize;
            done[i] = true;
        }
        if (count > 0)
            out.copyAt(bankFile, from, count, to);
    }

    std::atomic<std::size_t> next{0};
    std::atomic<bool> longer{false};
    std::exception_ptr failure;
    std::mutex failureLock;
    auto report = [&] {
        while (reported < kArtEntryCount && done[reported]) {
            ++reported;
            if (progress)
                progress(reported, kArtEntryCount);
        }
    };
    auto work = [&](bool caller) {
        std::optional<FileRangeReader> reader;
        std::vector<std::uint8_t> data, stream;
        ArtPicture picture;
        for (std::size_t k = next++; k < enlarged.size(); k = next++) {
            const std::size_t i = enlarged[k];
            try {
                const ArtEntry& e = old.entries[i];
                if (!reader)
                    reader.emplace(bankFile);
                reader->read(e.dataOffset, e.reservedSize, data);
                DecodeArtEntry(data, e.width, e.height, UsesSingleWordKeys(i), picture);
                EncodeArtEntry(picture, UsesSingleWordKeys(i), stream);
                if (stream.size() <= fresh.entries[i].reservedSize) {
                    std::lock_guard lock(writeLock);
                    out.place(fresh.entries[i].dataOffset, stream);
                } else {
                    longer = true;
                    next = enlarged.size(); // the rest is laid out again anyway
                }
            } catch (...) {
                std::lock_guard lock(failureLock);
                if (!failure)
                    failure = std::current_exception();
                next = enlarged.size();
            }
            done[i] = true;
            if (caller)
                report();
        }
    };
    if (workers == 0)
        workers = std::max(1u, std::thread::hardware_concurrency());
    {
        std::vector<std::jthread> helpers;
        for (unsigned t = 1; t < std::min<std::size_t>(workers, enlarged.size()); ++t) {
            try {
                helpers.emplace_back(work, false);
            } catch (const std::system_error&) {
                break;
            }
        }
        work(true);
    }
    if (failure)
        std::rethrow_exception(failure);
    if (longer)
        return std::nullopt;
    report();
    out.writeAt(0, BuildArtDirectory(fresh));
    return fresh;
}

// Whether the bank can be expanded as its directory says, judged before
// anything is written: every entry's data lies in the file, every entry to
// be enlarged has a size some picture has, and the new layout stays within
// 4 GB. Throws FormatError (UI text 1146 or 1147) when not.
void RequireExpandable(std::string_view bankFile, const ArtDirectory& old, const std::vector<bool>& flags,
                       std::uint64_t bankSize)
{
    const FormatError damaged(kArtBankDamagedText, Args(std::string(bankFile)));
    if (!old.complete() || old.entries[0].dataOffset < kArtDirectoryEnd || FirstEntryOutsideFile(old, bankSize))
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
    RequireExpandable(bankFile, old, flags, FileSizeOf(bankFile));

    const std::string bank(bankFile);
    const std::string oldFile = bank + ".OLD";
    // Anything thrown from here on drops the new file with `out`.
    std::optional<BankOutput> out(std::in_place, bank, sync);
    std::size_t reported = 0;
    std::optional<ArtDirectory> placed = WriteExpandedInPlace(bankFile, *out, old, flags, progress, workers, reported);
    if (!placed) {
        out.emplace(bank, sync);
        placed = WriteExpandedBank(
            bankFile, *out, old, flags,
            [&](std::size_t done, std::size_t total) {
                if (done > reported && progress) {
                    reported = done;
                    progress(done, total);
                }
            },
            workers);
    }
    const ArtDirectory fresh = std::move(*placed);

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
        out->commit();
    } catch (...) {
        if (keepBackup)
            DeleteFileForced(oldFile);
        throw;
    }
    return fresh;
}

namespace {

// The old bytes of [offset, offset + count), as far as the bank holds them.
std::span<const std::uint8_t> OldBytes(std::span<const std::uint8_t> bank, std::uint64_t offset, std::uint64_t count)
{
    if (offset >= bank.size())
        return {};
    return bank.subspan(static_cast<std::size_t>(offset),
                        static_cast<std::size_t>(std::min<std::uint64_t>(count, bank.size() - offset)));
}

void Put(std::vector<std::uint8_t>& out, std::uint64_t offset, std::span<const std::uint8_t> bytes)
{
    if (!bytes.empty())
        std::memcpy(out.data() + offset, bytes.data(), bytes.size());
}

// A zeroed buffer for a new bank: its pages mapped on every core first, then
// filled, in pieces with keepAlive() between them where there is one (a large
// bank's fresh pages take a tenth of a second and more to fault in).
std::vector<std::uint8_t> ZeroedBank(std::uint64_t size, const std::function<void()>& keepAlive)
{
    constexpr std::size_t kPiece = 8u << 20;
    std::vector<std::uint8_t> out;
    out.reserve(static_cast<std::size_t>(size));
    PrefaultPages(out.data(), out.capacity());
    if (!keepAlive) {
        out.resize(static_cast<std::size_t>(size));
        return out;
    }
    while (out.size() < size) {
        out.resize(std::min<std::size_t>(static_cast<std::size_t>(size), out.size() + kPiece));
        keepAlive();
    }
    return out;
}

} // namespace

std::vector<std::uint8_t> ExpandArtBankBytes(std::span<const std::uint8_t> bank, std::string_view bankName,
                                             const std::vector<bool>& flags, ArtDirectory& result,
                                             const std::function<void()>& keepAlive, unsigned workers)
{
    const ArtDirectory old = ParseArtDirectory(bank);
    RequireExpandable(bankName, old, flags, bank.size());
    std::vector<std::size_t> enlarged;
    for (std::size_t i = 0; i < kArtEntryCount; ++i)
        if (Flagged(flags, i) && !old.entries[i].fits())
            enlarged.push_back(i);

    // Laid out with each enlarged entry's uncoded size, which holds any
    // encoding but one with many isolated key pixels (found below). A bank
    // larger than any the program reads is not made in memory.
    ArtDirectory fresh = ExpandedLayout(old, flags);
    const ArtEntry& last = fresh.entries[kArtEntryCount - 1];
    if (std::uint64_t{last.dataOffset} + last.reservedSize > kMaxArtBankBytes)
        throw FormatError(kArtBankDamagedText, Args(std::string(bankName)));
    std::vector<std::uint8_t> out = ZeroedBank(std::uint64_t{last.dataOffset} + last.reservedSize, keepAlive);
    const std::uint64_t firstOffset = old.entries[0].dataOffset;
    Put(out, kArtDirectoryEnd, OldBytes(bank, kArtDirectoryEnd, firstOffset - kArtDirectoryEnd));
    for (std::size_t i = 0; i < kArtEntryCount; ++i)
        if (!(Flagged(flags, i) && !old.entries[i].fits()))
            Put(out, fresh.entries[i].dataOffset,
                OldBytes(bank, old.entries[i].dataOffset, old.entries[i].reservedSize));

    // Each worker decodes and encodes with buffers of its own and puts the
    // stream in its place; the places do not overlap.
    std::vector<std::uint64_t> longer(enlarged.size(), 0); // streams beyond their uncoded room
    std::atomic<std::size_t> next{0};
    std::exception_ptr failure;
    std::mutex failureLock;
    auto encode = [&](std::size_t k, ArtPicture& picture, std::vector<std::uint8_t>& stream) {
        const std::size_t i = enlarged[k];
        const ArtEntry& e = old.entries[i];
        DecodeArtEntry(OldBytes(bank, e.dataOffset, e.reservedSize), e.width, e.height, UsesSingleWordKeys(i),
                       picture);
        EncodeArtEntry(picture, UsesSingleWordKeys(i), stream);
    };
    auto work = [&](bool caller) {
        ArtPicture picture;
        std::vector<std::uint8_t> stream;
        for (std::size_t k = next++; k < enlarged.size(); k = next++) {
            try {
                encode(k, picture, stream);
                const ArtEntry& place = fresh.entries[enlarged[k]];
                if (stream.size() <= place.reservedSize)
                    Put(out, place.dataOffset, stream);
                else
                    longer[k] = stream.size();
            } catch (...) {
                std::lock_guard lock(failureLock);
                if (!failure)
                    failure = std::current_exception();
                next = enlarged.size();
            }
            if (caller && keepAlive)
                keepAlive();
        }
    };
    if (workers == 0)
        workers = std::max(1u, std::thread::hardware_concurrency());
    {
        std::vector<std::jthread> helpers;
        for (unsigned t = 1; t < std::min<std::size_t>(workers, enlarged.size()); ++t) {
            try {
                helpers.emplace_back(work, false);
            } catch (const std::system_error&) {
                break;
            }
        }
        work(true);
    }
    if (keepAlive)
        keepAlive();
    if (failure)
        std::rethrow_exception(failure);
    if (std::all_of(longer.begin(), longer.end(), [](std::uint64_t n) { return n == 0; })) {
        const std::vector<std::uint8_t> directory = BuildArtDirectory(fresh);
        Put(out, 0, directory);
        result = std::move(fresh);
        return out;
    }

    // Some stream needs more room than its uncoded size: the bank is laid
    // out again with that room, the rest taken from the first layout.
    ArtDirectory roomy = fresh;
    std::uint64_t offset = firstOffset;
    for (std::size_t i = 0, k = 0; i < kArtEntryCount; ++i) {
        const bool isEnlarged = k < enlarged.size() && enlarged[k] == i;
        std::uint64_t room = fresh.entries[i].reservedSize;
        if (isEnlarged)
            room = std::max(room, longer[k++]);
        if (offset + room > kMaxBankSize)
            throw FormatError(kArtBankDamagedText, Args(std::string(bankName)));
        roomy.entries[i].dataOffset = static_cast<std::uint32_t>(offset);
        roomy.entries[i].reservedSize = static_cast<std::uint32_t>(room);
        offset += room;
    }
    std::vector<std::uint8_t> again = ZeroedBank(offset, keepAlive);
    Put(again, kArtDirectoryEnd, std::span(out).subspan(kArtDirectoryEnd, firstOffset - kArtDirectoryEnd));
    ArtPicture picture;
    std::vector<std::uint8_t> stream;
    for (std::size_t i = 0, k = 0; i < kArtEntryCount; ++i) {
        const bool isEnlarged = k < enlarged.size() && enlarged[k] == i;
        if (isEnlarged && longer[k] > 0) {
            encode(k, picture, stream);
            Put(again, roomy.entries[i].dataOffset, stream);
        } else {
            Put(again, roomy.entries[i].dataOffset,
                std::span(out).subspan(fresh.entries[i].dataOffset, fresh.entries[i].reservedSize));
        }
        k += isEnlarged ? 1 : 0;
    }
    Put(again, 0, BuildArtDirectory(roomy));
    result = std::move(roomy);
    return again;
}

} // namespace pitwall
