#include "TestSupport.h"

#include "base/FileUtils.h"
#include "base/PrivateDirectory.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace pitwall;

namespace {

#ifndef _WIN32
mode_t ModeOf(const std::string& path)
{
    struct stat st {};
    EXPECT_EQ(::lstat(path.c_str(), &st), 0) << path;
    return st.st_mode & 07777;
}
#endif

} // namespace

TEST(PrivateDirectory, NewOwnerOnlyAndGoneWithItsContents)
{
#ifdef _WIN32
    GTEST_SKIP() << test::kNoPosixModes;
#else
    test::TempDir dir;
    std::string first, second;
    {
        PrivateDirectory a(dir.path(), "w-");
        PrivateDirectory b(dir.path(), "w-");
        first = a.path();
        second = b.path();
        EXPECT_NE(first, second);
        EXPECT_EQ(first.substr(0, dir.path().size() + 2), dir / "w-");
        EXPECT_EQ(ModeOf(first), 0700u);
        test::WriteText(a.path() + "Carset/x.DAT", "x");
        SetReadOnly(a.path() + "Carset/x.DAT", true);
    }
    EXPECT_FALSE(DirectoryExists(first));
    EXPECT_FALSE(DirectoryExists(second));
    EXPECT_THROW(PrivateDirectory(dir / "missing", "w-"), PrivateDirectoryError);
#endif
}

TEST(PrivateDirectory, NothingPlantedIsUsed)
{
#ifdef _WIN32
    GTEST_SKIP() << test::kNoSymlinks;
#else
    test::TempDir dir;
    ForceDirectories(dir / "elsewhere");
    ::chmod((dir / "elsewhere").c_str(), 0755);
    ASSERT_EQ(::symlink((dir / "elsewhere").c_str(), (dir / "link").c_str()), 0);
    // A link to a directory is neither created over nor accepted.
    EXPECT_THROW(CreatePrivateDirectory(dir / "link/"), PrivateDirectoryError);
    EXPECT_THROW(EnsurePrivateDirectory(dir / "link/"), PrivateDirectoryError);
    EXPECT_EQ(ModeOf(dir / "elsewhere"), 0755u);
    // An existing directory is never created again, and one of our own
    // loses access for others when it is ensured.
    ForceDirectories(dir / "open");
    ::chmod((dir / "open").c_str(), 0777);
    EXPECT_THROW(CreatePrivateDirectory(dir / "open/"), PrivateDirectoryError);
    EnsurePrivateDirectory(dir / "open/");
    EXPECT_EQ(ModeOf(dir / "open"), 0700u);
    EnsurePrivateDirectory(dir / "new/sub/");
    EXPECT_EQ(ModeOf(dir / "new/sub"), 0700u);

    if (::geteuid() != 0)
        GTEST_SKIP() << "a directory of another user needs root to make";
    ForceDirectories(dir / "theirs");
    ASSERT_EQ(::chown((dir / "theirs").c_str(), 4321, 4321), 0);
    EXPECT_THROW(EnsurePrivateDirectory(dir / "theirs/"), PrivateDirectoryError);
#endif
}
