// What only Windows does: arguments from the wide command line, the program's
// folder from the module, replacing a read-only game file, the installer's
// registry key, and game folders named with spaces and letters beyond ASCII.

#include "TestSupport.h"

#include "app/GameRegistry.h"
#include "app/ProgramDirectories.h"
#include "base/CommandLine.h"
#include "base/FileUtils.h"
#include "base/SafeWrite.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <windows.h>

using namespace pitwall;

namespace {

std::string Utf8(const std::wstring& wide) { return WideToUtf8(wide.data(), wide.size()); }

std::string ModuleDirectory()
{
    wchar_t buffer[32768];
    DWORD n = GetModuleFileNameW(nullptr, buffer, 32768);
    return IncludeTrailingBackslash(PathString(std::filesystem::path(std::wstring(buffer, n)).parent_path()));
}

} // namespace

TEST(WindowsCommandLine, SplitsLikeTheRuntimeAndKeepsEveryLetter)
{
    // "Grüße" fits the ANSI code page of a German system, the Greek name does
    // not; both must arrive whole.
    const std::wstring line = L"pitwall-cli.exe import --game \"C:\\Spiele\\Gr\u00fc\u00dfe Spiel\\\\\" "
                              L"-o \u0395\u03bb\u03bb\u03ac\u03b4\u03b1.gms \"\" say\\\"what";
    const std::vector<std::string> expected = {
        "pitwall-cli.exe", "import", "--game", "C:\\Spiele\\Gr\xc3\xbc\xc3\x9f" "e Spiel\\", "-o",
        "\xce\x95\xce\xbb\xce\xbb\xce\xac\xce\xb4\xce\xb1.gms", "", "say\"what"};
    EXPECT_EQ(SplitWideCommandLine(line.c_str()), expected);
}

TEST(WindowsCommandLine, ProgramArgumentsComeFromTheWideLine)
{
    const auto wide = SplitWideCommandLine(GetCommandLineW());
    ASSERT_EQ(static_cast<int>(wide.size()), __argc);
    EXPECT_EQ(Utf8Arguments(__argc, __argv), wide);
    // An argv that does not match the command line is taken as it is.
    char first[] = "one";
    char* argv[] = {first, nullptr};
    if (__argc != 1) {
        EXPECT_EQ(Utf8Arguments(1, argv), std::vector<std::string>{"one"});
    }
}

TEST(WindowsCommandLine, UnpairedSurrogateBecomesReplacementCharacter)
{
    const std::wstring broken = {L'a', static_cast<wchar_t>(0xD800), L'b'};
    EXPECT_EQ(Utf8(broken), "a\xef\xbf\xbd" "b");
}

TEST(WindowsProgramFolder, ComesFromTheModuleNotFromArgv)
{
    const std::string expected = ModuleDirectory();
    // Started through PATH, argv[0] has no folder at all; a relative one
    // names wherever the current directory happens to be.
    EXPECT_EQ(ExecutableDirectory("pitwall-core-tests"), expected);
    EXPECT_EQ(ExecutableDirectory("..\\elsewhere\\pitwall-core-tests.exe"), expected);
    EXPECT_EQ(ExecutableDirectory(nullptr), expected);
    EXPECT_TRUE(FileExists(expected + "pitwall-core-tests.exe"));
}

TEST(WindowsSafeWrite, ReplacesReadOnlyFileInFolderWithSpacesAndUmlauts)
{
    test::TempDir dir;
    const std::string folder = dir / "Gr\xc3\xbc\xc3\x9f" "e Spiel\\";
    ForceDirectories(folder);
    const std::string file = folder + "F1GSTATE.SAV";
    test::WriteBytes(file, {1, 2, 3});
    SetReadOnly(file, true);
    ASSERT_TRUE(IsReadOnly(file));

    const std::vector<std::uint8_t> fresh = {9, 8, 7, 6};
    ReplaceFileSafely(file, fresh);
    EXPECT_EQ(test::ReadBytes(file), fresh);
    // Nothing of the temporary is left beside it.
    EXPECT_EQ(ListFiles(folder, "*", false, false), std::vector<std::string>{file});

    // The wide path reaches the system unchanged.
    const std::wstring wide = NativePath(file).wstring();
    EXPECT_NE(wide.find(L"Gr\u00fc\u00dfe Spiel"), std::wstring::npos);
    EXPECT_NE(GetFileAttributesW(wide.c_str()), INVALID_FILE_ATTRIBUTES);
}

// A game folder from a PITWALL.INI saved as ANSI ("J\xFCrgen") names the
// folder it meant, and no check for a file throws on it.
TEST(WindowsPaths, BytesThatAreNotUtf8AreTakenAsWindows1252)
{
    test::TempDir dir;
    test::WriteText(dir / "J\xc3\xbcrgen.INI", "[General]\r\n");
    const std::string ansi = dir / "J\xfcrgen.INI";
    EXPECT_NE(NativePath(ansi).wstring().find(L"J\u00fcrgen.INI"), std::wstring::npos);
    EXPECT_TRUE(FileExists(ansi));
    EXPECT_EQ(FileSizeOf(ansi), 11u);
}

TEST(WindowsSafeWrite, LockedTargetFailsAndKeepsTheOldBytes)
{
    test::TempDir dir;
    const std::string file = dir / "CARS.JAM";
    test::WriteBytes(file, {1, 2, 3});
    // The game holding its file open without sharing: the rename must fail,
    // be reported, and leave old bytes and no temporary behind.
    HANDLE held = CreateFileW(NativePath(file).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const std::vector<std::uint8_t> fresh = {4, 5};
    EXPECT_THROW(ReplaceFileSafely(file, fresh), FileWriteError);
    CloseHandle(held);
    EXPECT_EQ(test::ReadBytes(file), (std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_EQ(ListFiles(dir.path(), "*", false, false), std::vector<std::string>{file});
}

namespace {

// The installer's key in the 32-bit view, set for one test and removed after
// (or put back as it was).
class InstallKey {
public:
    explicit InstallKey(const std::wstring& directory)
    {
        const std::string narrow = kInstallKey;
        key_.assign(narrow.begin(), narrow.end());
        HKEY opened = nullptr;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, key_.c_str(), 0, KEY_QUERY_VALUE | KEY_WOW64_32KEY, &opened)
            == ERROR_SUCCESS) {
            existed_ = true;
            wchar_t buffer[2048];
            DWORD bytes = sizeof buffer;
            if (RegGetValueW(opened, nullptr, L"Directory", RRF_RT_REG_SZ, nullptr, buffer, &bytes) == ERROR_SUCCESS)
                previous_ = std::wstring(buffer);
            RegCloseKey(opened);
        }
        HKEY created = nullptr;
        status_ = RegCreateKeyExW(HKEY_LOCAL_MACHINE, key_.c_str(), 0, nullptr, 0, KEY_SET_VALUE | KEY_WOW64_32KEY,
                                  nullptr, &created, nullptr);
        if (status_ != ERROR_SUCCESS)
            return;
        status_ = RegSetValueExW(created, L"Directory", 0, REG_SZ, reinterpret_cast<const BYTE*>(directory.c_str()),
                                 static_cast<DWORD>((directory.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(created);
    }
    ~InstallKey()
    {
        if (status_ != ERROR_SUCCESS)
            return;
        if (!existed_) {
            RegDeleteKeyExW(HKEY_LOCAL_MACHINE, key_.c_str(), KEY_WOW64_32KEY, 0);
            return;
        }
        HKEY opened = nullptr;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, key_.c_str(), 0, KEY_SET_VALUE | KEY_WOW64_32KEY, &opened)
            == ERROR_SUCCESS) {
            RegSetValueExW(opened, L"Directory", 0, REG_SZ, reinterpret_cast<const BYTE*>(previous_.c_str()),
                           static_cast<DWORD>((previous_.size() + 1) * sizeof(wchar_t)));
            RegCloseKey(opened);
        }
    }
    bool set() const { return status_ == ERROR_SUCCESS; }

private:
    std::wstring key_;
    std::wstring previous_;
    bool existed_ = false;
    LSTATUS status_ = ERROR_SUCCESS;
};

} // namespace

TEST(WindowsRegistry, FindsTheInstallerKeyInThe32BitView)
{
    test::TempDir dir;
    const std::string game = dir / "Gr\xc3\xbc\xc3\x9f" "e Spiel";
    ForceDirectories(game);
    InstallKey key(NativePath(game).wstring());
    if (!key.set())
        GTEST_SKIP() << "writing below HKEY_LOCAL_MACHINE needs administrator rights";
    EXPECT_EQ(FindGameDirectoryInRegistry(), IncludeTrailingBackslash(game));
}

TEST(WindowsRegistry, FindsTheKeyTheTestScriptAdded)
{
    // scripts/test-windows.sh adds the key with "wine reg add" before the run
    // and names the folder it wrote.
    const wchar_t* expected = _wgetenv(L"PITWALL_TEST_REGISTRY_GAME");
    if (!expected || !*expected)
        GTEST_SKIP() << "no key added from outside (PITWALL_TEST_REGISTRY_GAME is set by scripts/test-windows.sh)";
    EXPECT_EQ(FindGameDirectoryInRegistry(), IncludeTrailingBackslash(Utf8(expected)));
}
