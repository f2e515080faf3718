#include "TestSupport.h"

#include "base/FileUtils.h"
#include "base/PrivateFile.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace pitwall;

namespace {

std::vector<std::uint8_t> Bytes(std::size_t n, std::uint8_t v) { return std::vector<std::uint8_t>(n, v); }

} // namespace

// Contents pass through one file under their own names: a shorter content
// after a longer one leaves nothing of the longer behind, only the current
// name exists, and the file goes at the end.
TEST(ReusedPrivateFile, EachContentUnderItsOwnNameThenGone)
{
    test::TempDir dir;
    {
        ReusedPrivateFile staged;
        staged.write(dir / "A.DAT", Bytes(5000, 1));
        EXPECT_EQ(test::ReadBytes(dir / "A.DAT"), Bytes(5000, 1));
        staged.write(dir / "B.DAT", Bytes(7, 2));
        EXPECT_FALSE(FileExists(dir / "A.DAT"));
        EXPECT_EQ(test::ReadBytes(dir / "B.DAT"), Bytes(7, 2));
        staged.write(dir / "B.DAT", {});
        EXPECT_TRUE(test::ReadBytes(dir / "B.DAT").empty());
        ReusedPrivateFile moved(std::move(staged));
        moved.write(dir / "C.DAT", Bytes(3, 3));
        EXPECT_EQ(test::ReadBytes(dir / "C.DAT"), Bytes(3, 3));
    }
    EXPECT_FALSE(FileExists(dir / "B.DAT"));
    EXPECT_FALSE(FileExists(dir / "C.DAT"));
}

// What others placed at a content's name: a link is replaced as a link and
// its target kept; a directory with files cannot be replaced, the write fails and the
// file is gone; a write that does not fit (a full disk) fails and removes it.
TEST(ReusedPrivateFile, PlantedNamesAndFailedWrites)
{
#ifdef _WIN32
    GTEST_SKIP() << test::kNoSymlinks;
#else
    test::TempDir dir;
    test::WriteText(dir / "victim", "mine");
    ASSERT_EQ(::symlink((dir / "victim").c_str(), (dir / "LINK.DAT").c_str()), 0);
    ForceDirectories(dir / "DIR.DAT");
    test::WriteText(dir / "DIR.DAT/inside", "theirs");
    ReusedPrivateFile staged;
    staged.write(dir / "A.DAT", Bytes(10, 1));
    staged.write(dir / "LINK.DAT", Bytes(4, 2));
    struct stat st {};
    ASSERT_EQ(::lstat((dir / "LINK.DAT").c_str(), &st), 0);
    EXPECT_TRUE(S_ISREG(st.st_mode));
    EXPECT_EQ(st.st_mode & 07777, 0600u);
    EXPECT_EQ(test::ReadText(dir / "victim"), "mine");

    EXPECT_THROW(staged.write(dir / "DIR.DAT", Bytes(4, 3)), PrivateFileError);
    EXPECT_FALSE(FileExists(dir / "LINK.DAT"));
    EXPECT_EQ(test::ReadText(dir / "DIR.DAT/inside"), "theirs");

    staged.write(dir / "B.DAT", Bytes(4, 4));
    {
        test::FileSizeLimit limit(100);
        try {
            staged.write(dir / "C.DAT", Bytes(1000, 5));
            ADD_FAILURE() << "the write did not fail";
        } catch (const PrivateFileError& e) {
            EXPECT_EQ(e.code(), std::errc::file_too_large) << e.what();
        }
    }
    EXPECT_FALSE(FileExists(dir / "B.DAT"));
    EXPECT_FALSE(FileExists(dir / "C.DAT"));
    staged.write(dir / "D.DAT", Bytes(2, 6));
    staged.remove();
    EXPECT_FALSE(FileExists(dir / "D.DAT"));
#endif
}
