#include "TestSupport.h"

#include "formats/JamScramble.h"

#include <gtest/gtest.h>
#include <numeric>

using namespace pitwall;

TEST(JamScramble, KeySequenceAndIdentity)
{
    std::vector<std::uint8_t> zeros(12, 0);
    ScrambleBytes(zeros);
    // Word 0 is XORed with the key itself, word 1 with 5 x key, word 2 with
    // 25 x key, all modulo 2^32, little-endian.
    auto word = [&](std::size_t i) {
        return static_cast<std::uint32_t>(zeros[i * 4]) | (static_cast<std::uint32_t>(zeros[i * 4 + 1]) << 8)
            | (static_cast<std::uint32_t>(zeros[i * 4 + 2]) << 16)
            | (static_cast<std::uint32_t>(zeros[i * 4 + 3]) << 24);
    };
    EXPECT_EQ(word(0), 0x5A3C9E17u);
    EXPECT_EQ(word(1), 0xC32F1673u); // 5 x 0x5A3C9E17 = 0x1C32F1673, cut to 32 bits
    EXPECT_EQ(word(2), 0xCFEB703Fu); // 5 x 0xC32F1673, cut

    std::vector<std::uint8_t> data(1001);
    std::iota(data.begin(), data.end(), 0);
    auto scrambled = data;
    ScrambleBytes(scrambled);
    EXPECT_NE(scrambled, data);
    ScrambleBytes(scrambled);
    EXPECT_EQ(scrambled, data);
}

TEST(JamScramble, PartWordStaysAndStreamRunsAcrossBlocks)
{
    std::vector<std::uint8_t> six = {1, 2, 3, 4, 5, 6};
    ScrambleBytes(six);
    EXPECT_NE(six[0], 1);
    EXPECT_EQ(six[4], 5);
    EXPECT_EQ(six[5], 6);

    std::vector<std::uint8_t> whole(5000, 0xAB);
    auto inBlocks = whole;
    ScrambleBytes(whole);
    JamKeyStream stream;
    for (std::size_t at = 0; at < inBlocks.size(); at += 2048)
        stream.apply(std::span<std::uint8_t>(inBlocks).subspan(at, std::min<std::size_t>(2048, inBlocks.size() - at)));
    EXPECT_EQ(inBlocks, whole);
}

TEST(JamScramble, ScrambleFileDropsATrailingPartWord)
{
    test::TempDir dir;
    std::vector<std::uint8_t> data = {9, 8, 7, 6, 5, 4, 3, 2, 1, 0};
    test::WriteBytes(dir / "a.jam", data);
    ScrambleFile(dir / "a.jam", dir / "a.jad");
    auto out = test::ReadBytes(dir / "a.jad");
    ASSERT_EQ(out.size(), 8u);
    ScrambleBytes(out);
    EXPECT_EQ(out, std::vector<std::uint8_t>(data.begin(), data.begin() + 8));
    EXPECT_THROW(ScrambleFile(dir / "missing.jam", dir / "b.jad"), std::runtime_error);
}
