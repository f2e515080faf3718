#include "base/CommandLine.h"

#ifdef _WIN32
#include <windows.h>
#include <shellapi.h>
#endif

namespace pitwall {

#ifdef _WIN32

std::string WideToUtf8(const wchar_t* text, std::size_t length)
{
    if (length == 0)
        return {};
    const int inLength = static_cast<int>(length);
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, inLength, nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return {};
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, inLength, out.data(), size, nullptr, nullptr);
    return out;
}

std::vector<std::string> SplitWideCommandLine(const wchar_t* commandLine)
{
    std::vector<std::string> out;
    if (!commandLine)
        return out;
    int count = 0;
    wchar_t** parts = CommandLineToArgvW(commandLine, &count);
    if (!parts)
        return out;
    for (int i = 0; i < count; ++i)
        out.push_back(WideToUtf8(parts[i], wcslen(parts[i])));
    LocalFree(parts);
    return out;
}

std::vector<std::string> Utf8Arguments(int argc, char** argv)
{
    std::vector<std::string> wide = SplitWideCommandLine(GetCommandLineW());
    // The wide line and the C runtime's argv are split by the same rules; if
    // they ever disagree in number, argv is the safer of the two.
    if (static_cast<int>(wide.size()) == argc)
        return wide;
    std::vector<std::string> out;
    for (int i = 0; i < argc; ++i)
        out.emplace_back(argv[i] ? argv[i] : "");
    return out;
}

void UseUtf8Console()
{
    SetConsoleOutputCP(CP_UTF8);
}

#else

std::vector<std::string> Utf8Arguments(int argc, char** argv)
{
    std::vector<std::string> out;
    out.reserve(static_cast<std::size_t>(argc > 0 ? argc : 0));
    for (int i = 0; i < argc; ++i)
        out.emplace_back(argv[i] ? argv[i] : "");
    return out;
}

void UseUtf8Console() {}

#endif

} // namespace pitwall
