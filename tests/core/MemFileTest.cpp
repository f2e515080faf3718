#include "TestSupport.h"

#include "formats/MemFile.h"

#include <gtest/gtest.h>

using namespace pitwall;

namespace {
const std::vector<std::uint8_t> kFour = {1, 2, 3, 4};
}

TEST(MemFile, PositionAndLengthFollowWrites)
{
    TMemFile f;
    EXPECT_EQ(f.Length(), 0u);
    EXPECT_TRUE(f.Eof());
    f.Write(kFour, true);
    EXPECT_EQ(f.Length(), 4u);
    EXPECT_EQ(f.Position(), 4u);
    EXPECT_TRUE(f.Eof());
    f.Seek(0);
    EXPECT_FALSE(f.Eof());
    f.Write(std::vector<std::uint8_t>{9, 9, 9, 9}, false);
    EXPECT_EQ(f.Length(), 4u);
    EXPECT_EQ(f.Position(), 0u);
    // Without advance a write past the end never lengthens the content.
    f.Seek(3);
    f.Write(kFour, false);
    EXPECT_EQ(f.Length(), 4u);

    std::vector<std::uint8_t> out(2);
    f.Seek(1);
    f.Read(out, true);
    EXPECT_EQ(out, (std::vector<std::uint8_t>{9, 9}));
    EXPECT_EQ(f.Position(), 3u);
    EXPECT_EQ(f.Length(), 4u); // a read never changes the length
}

TEST(MemFile, SeekPastTheEndLeavesZerosAndReadsAreChecked)
{
    TMemFile f;
    f.Write(kFour, true);
    f.Seek(10);
    f.Write(kFour, true);
    EXPECT_EQ(f.Length(), 14u);
    std::vector<std::uint8_t> gap(6);
    f.Seek(4);
    f.Read(gap, false);
    EXPECT_EQ(gap, std::vector<std::uint8_t>(6, 0));
    std::vector<std::uint8_t> tooMuch(20);
    f.Seek(0);
    EXPECT_THROW(f.Read(tooMuch, true), std::out_of_range);
}

TEST(MemFile, GrowsBeyondTheOldFixedBlock)
{
    // The block used to be a fixed 10,000,000 bytes with no check.
    TMemFile f;
    std::vector<std::uint8_t> big(10'000'001, 7);
    f.Write(big, true);
    f.Write(kFour, true);
    EXPECT_EQ(f.Length(), 10'000'005u);
    EXPECT_EQ(f.Content()[10'000'004], 4);
}

TEST(MemFile, SaveReplacesTheWholeFileButWriteAtOffsetPatches)
{
    test::TempDir dir;
    const std::string name = dir / "x.jam";
    test::WriteBytes(name, std::vector<std::uint8_t>(100, 0xEE));
    TMemFile f;
    f.Write(std::vector<std::uint8_t>(10, 0x11), true);
    // A shorter file saved over a longer one leaves no stale tail.
    f.SaveToFile(name);
    EXPECT_EQ(test::ReadBytes(name), std::vector<std::uint8_t>(10, 0x11));

    test::WriteBytes(name, std::vector<std::uint8_t>(100, 0xEE));
    f.WriteToFile(name, 20, 10);
    auto patched = test::ReadBytes(name);
    ASSERT_EQ(patched.size(), 100u);
    EXPECT_EQ(patched[19], 0xEE);
    EXPECT_EQ(patched[20], 0x11);
    EXPECT_EQ(patched[29], 0x11);
    EXPECT_EQ(patched[30], 0xEE);

    // A missing file is created; writing past its end leaves zeros before.
    f.WriteToFile(dir / "new.bin", 3, 2);
    EXPECT_EQ(test::ReadBytes(dir / "new.bin"), (std::vector<std::uint8_t>{0, 0, 0, 0x11, 0x11}));
    EXPECT_THROW(f.WriteToFile(name, 0, 11), std::out_of_range);
}
