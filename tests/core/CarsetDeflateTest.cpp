// Carset members deflated by the program's own workers: the archive must be
// a zip every reader takes (libzip checks its structure and every CRC), laid
// out as the one libzip writes when it deflates at level 9 itself, and about
// as small.

#include "TestSupport.h"

#include "base/FileUtils.h"
#include "transfer/CarsetArchive.h"
#include "transfer/MemberDeflater.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <random>
#include <zip.h>

using namespace pitwall;

namespace {

using Bytes = std::vector<std::uint8_t>;

// The deflated size and method of every member, as libzip reads them from
// the central directory.
std::vector<std::pair<std::string, zip_stat_t>> Stats(const std::string& path)
{
    int error = 0;
    zip_t* z = zip_open(path.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &error);
    EXPECT_NE(z, nullptr) << path << " fails libzip's consistency check";
    std::vector<std::pair<std::string, zip_stat_t>> stats;
    if (!z)
        return stats;
    for (zip_int64_t i = 0; i < zip_get_num_entries(z, 0); ++i) {
        zip_stat_t st;
        zip_stat_init(&st);
        EXPECT_EQ(zip_stat_index(z, static_cast<zip_uint64_t>(i), 0, &st), 0);
        stats.emplace_back(st.name, st);
    }
    zip_close(z);
    return stats;
}

// Game-like data: runs of palette indices with some noise, so deflate has
// real work and both match and literal paths are taken.
Bytes Member(std::size_t size, unsigned seed)
{
    std::mt19937 random(seed);
    Bytes b(size);
    for (std::size_t i = 0; i < size; ++i)
        b[i] = static_cast<std::uint8_t>((i / 7) % 13 + (random() % 4 == 0 ? random() % 256 : 0));
    return b;
}

// What the program wrote before members were deflated in workers: libzip
// deflating every buffer itself at level 9.
void WriteWithLibzip(const std::string& path, const std::vector<std::pair<std::string, Bytes>>& members)
{
    int error = 0;
    zip_t* z = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(z, nullptr);
    for (const auto& [name, bytes] : members) {
        // libzip frees no buffer of length 0, so an empty member gets none.
        void* copy = bytes.empty() ? nullptr : std::malloc(bytes.size());
        if (copy)
            std::memcpy(copy, bytes.data(), bytes.size());
        zip_source_t* source = zip_source_buffer(z, copy, bytes.size(), copy ? 1 : 0);
        zip_int64_t index = zip_file_add(z, name.c_str(), source, ZIP_FL_OVERWRITE | ZIP_FL_ENC_GUESS);
        ASSERT_GE(index, 0);
        zip_set_file_compression(z, static_cast<zip_uint64_t>(index), ZIP_CM_DEFLATE, 9);
    }
    ASSERT_EQ(zip_close(z), 0);
}

} // namespace

TEST(CarsetDeflate, ArchiveIsValidDeflatedAndAsSmallAsLibzipsOwn)
{
    test::TempDir dir;
    std::vector<std::pair<std::string, Bytes>> members = {
        {"Header.DAT", Member(360, 1)},         {"Empty.DAT", {}},
        {"WILLIA98.JAM", Member(600'000, 2)},   {"Tiny.DAT", {42}},
        {"TeamArt1.DAT", Member(1'700'000, 3)}, {"Info.TXT", Member(5000, 4)},
    };
    WriteWithLibzip(dir / "libzip.GMS", members);
    {
        CarsetArchive archive(dir / "ours.GMS", CarsetArchive::Mode::Create);
        for (const auto& [name, bytes] : members)
            archive.addBytes(name, bytes);
        archive.close();
    }
    const auto ours = Stats(dir / "ours.GMS"), theirs = Stats(dir / "libzip.GMS");
    ASSERT_EQ(ours.size(), theirs.size());
    std::uint64_t ourTotal = 0, theirTotal = 0;
    for (std::size_t i = 0; i < ours.size(); ++i) {
        EXPECT_EQ(ours[i].first, theirs[i].first);
        EXPECT_EQ(ours[i].second.size, theirs[i].second.size);
        EXPECT_EQ(ours[i].second.crc, theirs[i].second.crc);
        EXPECT_EQ(ours[i].second.comp_method, theirs[i].second.comp_method) << ours[i].first;
        ourTotal += ours[i].second.comp_size;
        theirTotal += theirs[i].second.comp_size;
    }
    EXPECT_LE(ourTotal, theirTotal + theirTotal / 100) << "within 1 % of zlib's level 9";

    // And it reads back member by member, in order, every CRC checked.
    CarsetArchive back(dir / "ours.GMS", CarsetArchive::Mode::Read);
    auto list = back.members();
    ASSERT_EQ(list.size(), members.size());
    for (std::size_t i = 0; i < members.size(); ++i) {
        EXPECT_EQ(list[i].name, members[i].first);
        EXPECT_EQ(back.read(members[i].first, 2'000'000), members[i].second) << members[i].first;
    }
}

// A deflated member is handed over only when it inflates to exactly what
// the central directory declares: its size and its CRC. A stored member is
// read as it is.
TEST(CarsetDeflate, AMemberIsReadOnlyWhenItInflatesToItsDeclaredSizeAndCrc)
{
    test::TempDir dir;
    const Bytes a = Member(200'000, 5);
    {
        CarsetArchive archive(dir / "x.GMS", CarsetArchive::Mode::Create);
        archive.addBytes("A.DAT", a);
        archive.close();
    }
    const Bytes good = ReadWholeFile(dir / "x.GMS");
    auto u16 = [](const Bytes& b, std::size_t at) { return static_cast<std::size_t>(b[at] | b[at + 1] << 8); };
    auto add32 = [](Bytes& b, std::size_t at, int delta) {
        std::uint32_t v = b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
        v += static_cast<std::uint32_t>(delta);
        for (int i = 0; i < 4; ++i)
            b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    };
    const std::size_t central = std::search(good.begin(), good.end(), "PK\1\2", "PK\1\2" + 4) - good.begin();
    ASSERT_LT(central, good.size());
    const std::size_t data = 30 + u16(good, 26) + u16(good, 28); // the one member's, after its local header
    auto readAfter = [&](const std::function<void(Bytes&)>& change) -> std::string {
        Bytes b = good;
        change(b);
        test::WriteBytes(dir / "bad.GMS", b);
        try {
            CarsetArchive back(dir / "bad.GMS", CarsetArchive::Mode::Read);
            return back.read("A.DAT", 1'000'000) == a ? "read" : "read other bytes";
        } catch (const CarsetError& e) {
            return e.what();
        }
    };
    EXPECT_EQ(readAfter([](Bytes&) {}), "read");
    const std::string damaged = "A.DAT in bad.GMS is damaged: its data does not match its declared size";
    EXPECT_EQ(readAfter([&](Bytes& b) { add32(b, central + 16, 1); }), damaged);  // CRC
    EXPECT_EQ(readAfter([&](Bytes& b) { add32(b, central + 24, 1); }), damaged);  // a byte more declared
    EXPECT_EQ(readAfter([&](Bytes& b) { add32(b, central + 24, -1); }), damaged); // a byte fewer
    EXPECT_EQ(readAfter([&](Bytes& b) { b[data + 100] ^= 0x5A; }), damaged);      // the stream itself

    // Stored, not deflated: read by libzip as ever.
    int error = 0;
    zip_t* z = zip_open((dir / "stored.GMS").c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(z, nullptr);
    zip_int64_t index = zip_file_add(z, "A.DAT", zip_source_buffer(z, a.data(), a.size(), 0), 0);
    ASSERT_GE(index, 0);
    zip_set_file_compression(z, static_cast<zip_uint64_t>(index), ZIP_CM_STORE, 0);
    ASSERT_EQ(zip_close(z), 0);
    EXPECT_EQ(CarsetArchive(dir / "stored.GMS", CarsetArchive::Mode::Read).read("A.DAT", 1'000'000), a);
}

TEST(CarsetDeflate, ExtractingSeveralMembersAtOnceEndsAsExtractingThemInTurn)
{
    test::TempDir dir;
    const std::vector<std::string> names{"A.DAT", "Lacking.DAT", "B.DAT", "C.DAT", "D.DAT"};
    {
        CarsetArchive archive(dir / "x.GMS", CarsetArchive::Mode::Create);
        for (unsigned i : {0u, 2u, 3u, 4u})
            archive.addBytes(names[i], Member(300'000, i));
        archive.close();
    }
    const std::string working = IncludeTrailingBackslash(dir / "working");
    std::filesystem::create_directories(working);
    auto extractAll = [&](const std::string& carset) -> std::string {
        for (const std::string& name : names)
            test::WriteBytes(working + name, {1, 2, 3}); // left by an earlier load
        std::vector<int> taken(names.size(), 0);
        try {
            CarsetArchive(carset, CarsetArchive::Mode::Read)
                .extractEach(names, working, 1'000'000,
                             [&](std::size_t i, Bytes bytes) { taken[i] = bytes == Member(300'000, unsigned(i)); });
        } catch (const CarsetError& e) {
            return e.what();
        }
        EXPECT_EQ(taken, (std::vector<int>{1, 0, 1, 1, 1}));
        return "extracted";
    };

    EXPECT_EQ(extractAll(dir / "x.GMS"), "extracted");
    for (unsigned i : {0u, 2u, 3u, 4u})
        EXPECT_EQ(ReadWholeFile(working + names[i]), Member(300'000, i)) << names[i];
    EXPECT_FALSE(FileExists(working + "Lacking.DAT")); // the stale file went: the carset lacks it

    // C's stream damaged: the failure names C; A and B, before it, are there
    // whole, and C is not there at all.
    Bytes bad = ReadWholeFile(dir / "x.GMS");
    const std::string local = std::string("PK\3\4");
    std::size_t at = 0;
    for (std::size_t from = 0, member = 0; member < 3; ++member, from = at + 1) // C's local header is the third
        at = std::search(bad.begin() + static_cast<std::ptrdiff_t>(from), bad.end(), local.begin(), local.end())
            - bad.begin();
    ASSERT_EQ(std::string(bad.begin() + static_cast<std::ptrdiff_t>(at) + 30,
                          bad.begin() + static_cast<std::ptrdiff_t>(at) + 35),
              "C.DAT");
    bad[at + 30 + 5 + 1000] ^= 0x5A;
    test::WriteBytes(dir / "bad.GMS", bad);
    EXPECT_EQ(extractAll(dir / "bad.GMS"), "C.DAT in bad.GMS is damaged: its data does not match its declared size");
    EXPECT_EQ(ReadWholeFile(working + "A.DAT"), Member(300'000, 0));
    EXPECT_EQ(ReadWholeFile(working + "B.DAT"), Member(300'000, 2));
    EXPECT_FALSE(FileExists(working + "C.DAT"));
    EXPECT_TRUE(ListFiles(working, "*.part", true, false).empty());
}

TEST(CarsetDeflate, AMemberAddedAgainReplacesTheEarlierInItsPlace)
{
    test::TempDir dir;
    {
        CarsetArchive archive(dir / "x.GMS", CarsetArchive::Mode::Create);
        archive.addBytes("A.DAT", Member(1000, 1));
        archive.addBytes("B.DAT", Member(1000, 2));
        archive.addBytes("A.DAT", Member(2000, 3));
        archive.close();
    }
    CarsetArchive back(dir / "x.GMS", CarsetArchive::Mode::Read);
    auto list = back.members();
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].name, "A.DAT");
    EXPECT_EQ(back.read("A.DAT", 5000), Member(2000, 3));
    EXPECT_EQ(back.read("B.DAT", 5000), Member(1000, 2));
}

TEST(CarsetDeflate, AnArchiveNeverClosedLeavesTheEarlierFileAsItWas)
{
    test::TempDir dir;
    std::string path = dir / "x.GMS";
    WriteWithLibzip(path, {{"Old.DAT", Member(100, 9)}});
    Bytes before = ReadWholeFile(path);
    {
        CarsetArchive archive(path, CarsetArchive::Mode::Create);
        for (unsigned i = 0; i < 20; ++i)
            archive.addBytes("M" + std::to_string(i) + ".DAT", Member(300'000, i));
        // Dropped while workers may still be deflating: no hang, no file.
    }
    EXPECT_EQ(ReadWholeFile(path), before);
}

TEST(MemberDeflater, MoreMembersThanMayWaitAllComeOutWhole)
{
    // A waiting bound below a single member: adding blocks until a worker
    // is free, and every result is still the single-threaded one.
    MemberDeflater deflater(2, 1000);
    std::vector<std::shared_ptr<DeflatedMember>> results;
    for (unsigned i = 0; i < 12; ++i) {
        results.push_back(std::make_shared<DeflatedMember>());
        deflater.add(Member(50'000 + i * 1000, i), results.back());
    }
    deflater.finish();
    for (unsigned i = 0; i < 12; ++i) {
        DeflatedMember expected = DeflateMember(Member(50'000 + i * 1000, i));
        EXPECT_EQ(results[i]->compressed, expected.compressed) << i;
        EXPECT_EQ(results[i]->crc, expected.crc) << i;
        EXPECT_EQ(results[i]->size, 50'000u + i * 1000);
    }
}
