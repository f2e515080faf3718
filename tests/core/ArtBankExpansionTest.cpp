#include "TestSupport.h"

#include "base/ByteWriter.h"
#include "base/FormatError.h"
#include "formats/ArtBankExpansion.h"
#include "formats/ArtBankExpansionBytes.h"
#include "formats/ArtBankFile.h"
#include "formats/ArtEntryCodec.h"
#include "formats/ArtEntryReencoder.h"
#include "transfer/ReportedFormats.h"

#include <gtest/gtest.h>

#include <thread>

using namespace pitwall;

namespace {

// A bank whose entries have many sizes and mostly need enlarging: key runs
// between literal stretches, a few with isolated key pixels (longer encoded
// than uncoded), a few whose stream is cut short (the decoder leaves the
// rest 0), and the single-word-key entries 422-432 among them.
std::vector<std::uint8_t> MixedBank(ArtDirectory& dir)
{
    std::vector<std::uint8_t> data;
    std::uint32_t offset = kArtDirectoryEnd;
    for (std::size_t i = 0; i < kArtEntryCount; ++i) {
        ArtPicture p(1 + static_cast<std::uint32_t>(i % 37) * 3, 1 + static_cast<std::uint32_t>(i % 23) * 2);
        for (std::size_t k = 0; k < p.words.size(); ++k) {
            bool key = i % 9 == 4 ? k % 2 == 0 : (k / 5 + i) % 4 != 0;
            p.words[k] = key ? kArtKeyWord : static_cast<ArtWord>((k * 31 + i) & 0x7FFF);
        }
        auto bytes = EncodeArtEntry(p, UsesSingleWordKeys(i));
        if (i % 11 == 3)
            bytes.resize(bytes.size() / 2);
        ArtEntry& e = dir.entries[i];
        e.keptA = static_cast<std::uint32_t>(i * 7);
        e.width = p.width;
        e.height = p.height;
        e.dataOffset = offset;
        e.reservedSize = static_cast<std::uint32_t>(bytes.size());
        data.insert(data.end(), bytes.begin(), bytes.end());
        offset += e.reservedSize;
    }
    auto file = BuildArtDirectory(dir);
    file.insert(file.end(), data.begin(), data.end());
    return file;
}

} // namespace

TEST(ArtBankExpansion, EveryThreadCountWritesTheSameBank)
{
    test::TempDir dir;
    ArtDirectory layout;
    const auto original = MixedBank(layout);
    std::vector<bool> flags(kArtEntryCount, true);
    flags[100] = false;
    flags[101] = false;

    std::vector<std::uint8_t> reference;
    ArtDirectory referenceDirectory;
    for (unsigned workers : {1u, 2u, 5u, 0u}) {
        const std::string bank = dir / ("bank" + std::to_string(workers) + ".BIN");
        test::WriteBytes(bank, original);
        ArtDirectory after;
        std::vector<std::size_t> steps;
        bool offThread = false;
        const auto caller = std::this_thread::get_id();
        ASSERT_TRUE(ExpandArtBank(
            bank, flags, false, after, nullptr,
            [&](std::size_t done, std::size_t) {
                steps.push_back(done);
                offThread |= std::this_thread::get_id() != caller;
            },
            workers));
        EXPECT_FALSE(offThread) << workers;
        ASSERT_EQ(steps.size(), kArtEntryCount);
        EXPECT_EQ(steps.front(), 1u);
        EXPECT_TRUE(std::is_sorted(steps.begin(), steps.end()));
        auto bytes = test::ReadBytes(bank);
        if (workers == 1) {
            reference = bytes;
            referenceDirectory = after;
            continue;
        }
        EXPECT_EQ(bytes, reference) << workers << " workers";
        EXPECT_EQ(after.entries, referenceDirectory.entries);
    }
    // The one-thread result is a real expansion: every flagged entry holds
    // any picture of its size, the others are where the layout puts them.
    for (std::size_t i = 0; i < kArtEntryCount; ++i)
        EXPECT_EQ(referenceDirectory.entries[i].fits(), flags[i] || layout.entries[i].fits()) << i;
    EXPECT_EQ(referenceDirectory.entries[100].reservedSize, layout.entries[100].reservedSize);

    // Expanded in memory (as inside an export), entries encoded straight into
    // their places: the same bank, including the entries whose stream needs
    // more than their uncoded size.
    for (unsigned workers : {1u, 2u, 0u}) {
        ArtDirectory after;
        int calls = 0;
        const auto caller = std::this_thread::get_id();
        bool offThread = false;
        auto bytes = ExpandArtBankBytes(original, "bank", flags, after, [&] {
            ++calls;
            offThread |= std::this_thread::get_id() != caller;
        }, workers);
        EXPECT_EQ(bytes, reference) << workers << " workers, in memory";
        EXPECT_EQ(after.entries, referenceDirectory.entries);
        EXPECT_GT(calls, 0);
        EXPECT_FALSE(offThread);
    }
}

TEST(ArtBankExpansion, ABankInMemoryThatCannotBeExpandedIsRefusedByName)
{
    ArtDirectory layout;
    auto bank = MixedBank(layout);
    const std::vector<bool> all(kArtEntryCount, true);
    ArtDirectory after;
    auto refused = [&](const std::vector<std::uint8_t>& bytes) {
        try {
            ExpandArtBankBytes(bytes, "GP3ART5.BIN", all, after);
        } catch (const FormatError& e) {
            return e.number();
        }
        return 0;
    };
    // Cut inside its last entries, cut inside its directory, empty.
    EXPECT_EQ(refused(std::vector<std::uint8_t>(bank.begin(), bank.end() - 10)), kArtBankDamagedText);
    EXPECT_EQ(refused(std::vector<std::uint8_t>(bank.begin(), bank.begin() + 100)), kArtBankDamagedText);
    EXPECT_EQ(refused({}), kArtBankDamagedText);
    // Entries so large that the bank would pass what the program reads,
    // though not 4 GB.
    ArtDirectory large = layout;
    for (std::size_t i = 0; i < 200; ++i)
        large.entries[i].width = large.entries[i].height = 2000;
    auto largeBank = bank;
    auto directory = BuildArtDirectory(large);
    std::copy(directory.begin(), directory.end(), largeBank.begin());
    EXPECT_EQ(refused(largeBank), kArtBankDamagedText);
    // An entry of a size no picture has.
    layout.entries[7].width = kMaxArtSide + 1;
    directory = BuildArtDirectory(layout);
    std::copy(directory.begin(), directory.end(), bank.begin());
    EXPECT_EQ(refused(bank), kArtEntrySizeText);
}

TEST(ArtBankExpansion, ReencoderHandsBackEntriesInOrderUnderATightBound)
{
    test::TempDir dir;
    ArtDirectory layout;
    const std::string bank = dir / "GP3ART5.BIN";
    test::WriteBytes(bank, MixedBank(layout));
    const auto bytes = test::ReadBytes(bank);
    std::vector<std::size_t> entries;
    for (std::size_t i = 0; i < kArtEntryCount; i += 3)
        entries.push_back(i);

    // A bound smaller than any entry: one entry at a time may be ahead.
    ArtEntryReencoder reencoder(bank, layout, entries, 3, 1);
    for (std::size_t i : entries) {
        const ArtEntry& e = layout.entries[i];
        std::span<const std::uint8_t> data(bytes.data() + e.dataOffset, e.reservedSize);
        auto expected =
            EncodeArtEntry(DecodeArtEntry(data, e.width, e.height, UsesSingleWordKeys(i)), UsesSingleWordKeys(i));
        auto stream = reencoder.next();
        ASSERT_EQ(stream, expected) << i;
        reencoder.recycle(std::move(stream));
    }
}

TEST(ArtBankExpansion, AReadFailureComesBackForItsEntry)
{
    test::TempDir dir;
    ArtDirectory layout;
    MixedBank(layout);
    for (unsigned workers : {1u, 2u}) {
        // The bank is gone: the first entry asked for reports it; the
        // workers stop when the reencoder goes.
        ArtEntryReencoder reencoder(dir / "missing.BIN", layout, {1, 2, 3}, workers);
        EXPECT_THROW(reencoder.next(), std::runtime_error) << workers;
    }
}

TEST(ByteWriterTest, BulkWritesOverwriteAfterASeekBackAndExtendPastTheEnd)
{
    ByteWriter w;
    w.bytes(std::vector<std::uint8_t>{1, 2, 3, 4});
    w.seek(2);
    w.bytes(std::vector<std::uint8_t>{9, 9, 9});
    EXPECT_EQ(w.data(), (std::vector<std::uint8_t>{1, 2, 9, 9, 9}));
    w.seek(1);
    w.zeros(2);
    w.u16(0x0807);
    w.zeros(1);
    EXPECT_EQ(w.data(), (std::vector<std::uint8_t>{1, 0, 0, 7, 8, 0}));
    EXPECT_EQ(w.position(), 6u);
    w.seek(8);
    w.bytes(std::vector<std::uint8_t>{5});
    EXPECT_EQ(w.data(), (std::vector<std::uint8_t>{1, 0, 0, 7, 8, 0, 0, 0, 5}));
}
