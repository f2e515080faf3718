#include "TestSupport.h"

#include "base/FileUtils.h"
#include "transfer/SavegameChecksum.h"

#include <gtest/gtest.h>

using namespace pitwall;

TEST(SavegameChecksum, KnownValues)
{
    // Sum 21 and rot 42,798 over bytes 0..5; stored at offsets 6..9.
    std::vector<std::uint8_t> file = {1, 2, 3, 4, 5, 6, 0, 0, 0, 0};
    EXPECT_EQ(ComputeSavegameChecksum(file), 0xA72E0015u);
    WriteSavegameChecksum(file);
    EXPECT_EQ(std::vector<std::uint8_t>(file.begin() + 6, file.end()),
              (std::vector<std::uint8_t>{0x15, 0x00, 0x2E, 0xA7}));
    EXPECT_EQ(StoredSavegameChecksum(file), 0xA72E0015u);

    // The stored checksum itself is not covered.
    std::vector<std::uint8_t> zeros(88334, 0);
    zeros[88330] = 0xFF;
    EXPECT_EQ(ComputeSavegameChecksum(zeros), 0u);
    // Tiny files do not crash.
    EXPECT_EQ(ComputeSavegameChecksum({}), 0u);
    EXPECT_EQ(ComputeSavegameChecksum(std::vector<std::uint8_t>{7, 1, 1}), 0x00070007u);
}

TEST(SavegameChecksum, RewriteOnDiskTouchesOnlyTheLastFourBytes)
{
    test::TempDir dir;
    std::vector<std::uint8_t> file(1000);
    for (std::size_t i = 0; i < file.size(); ++i)
        file[i] = static_cast<std::uint8_t>(i * 7);
    std::string path = dir / "F1GSTATE.SAV";
    test::WriteBytes(path, file);
    SetReadOnly(path, true);

    RewriteSavegameChecksum(path);
    auto written = test::ReadBytes(path);
    ASSERT_EQ(written.size(), file.size());
    EXPECT_TRUE(std::equal(file.begin(), file.end() - 4, written.begin()));
    EXPECT_EQ(StoredSavegameChecksum(written), ComputeSavegameChecksum(file));

    test::WriteBytes(dir / "short.sav", {1, 2});
    EXPECT_THROW(RewriteSavegameChecksum(dir / "short.sav"), std::runtime_error);
    EXPECT_THROW(RewriteSavegameChecksum(dir / "missing.sav"), std::runtime_error);
}
