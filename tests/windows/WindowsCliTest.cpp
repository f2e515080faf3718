// pitwall-cli.exe started as Windows starts it: a wide command line with a
// game folder whose name has spaces and letters beyond the ANSI code page.

#include "TestSupport.h"

#include "base/CommandLine.h"
#include "base/FileUtils.h"
#include "base/GamePath.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include <windows.h>

using namespace pitwall;

namespace {

std::wstring Quoted(const std::wstring& argument)
{
    // No argument here ends in a backslash or holds a quote.
    return L"\"" + argument + L"\"";
}

// Runs pitwall-cli.exe with the arguments; the exit code, or -1 when it could
// not be started or did not end within two minutes.
int RunCliProcess(const std::vector<std::wstring>& arguments)
{
    std::wstring line = Quoted(std::filesystem::path(PITWALL_CLI).make_preferred().wstring());
    for (const auto& a : arguments)
        line += L" " + Quoted(a);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return -1;
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(process.hProcess, 120000) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &code);
    else
        TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
}

} // namespace

TEST(WindowsCli, GameFolderBeyondTheAnsiCodePage)
{
    test::TempDir dir;
    // "Grüße" and Greek: the Greek letters have no place in Windows-1252, so
    // only the wide command line can carry them.
    const std::wstring game =
        std::filesystem::path(dir.path()).wstring() + L"Gr\u00fc\u00dfe \u0395\u03bb\u03bb\u03ac\u03b4\u03b1 Spiel";
    const std::wstring carset = std::filesystem::path(dir.path()).wstring() + L"\u00c4rger.gms";

    ASSERT_EQ(RunCliProcess({L"make-demo", game, L"--quiet"}), 0);
    const std::string gameUtf8 = WideToUtf8(game.data(), game.size());
    EXPECT_TRUE(FileExists(ResolveGamePath(gameUtf8, "GP3.EXE")));
    EXPECT_EQ(RunCliProcess({L"info", L"--game", game}), 0);
    // Every item, so every reader of game files meets the name.
    EXPECT_EQ(RunCliProcess({L"import", L"--game", game, L"--items", L"all", L"-o", carset, L"--quiet"}), 0);
    EXPECT_TRUE(FileExists(WideToUtf8(carset.data(), carset.size())));
    // A folder that is not there is reported, not taken for another.
    EXPECT_NE(RunCliProcess({L"info", L"--game", game + L"-missing"}), 0);
}
