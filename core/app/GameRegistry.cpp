#include "app/GameRegistry.h"

#include "base/FileUtils.h"
#include "base/GamePath.h"
#include "base/Windows1252.h"

#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#endif

namespace fs = std::filesystem;

namespace pitwall {

namespace {

// Undoes the escapes of a quoted name or string in a Wine registry file:
// \\ \" \n \r \t \0 and \xHHHH (a UTF-16 unit). Stops at the closing quote;
// `pos` is left after it.
std::string Unquote(std::string_view text, std::size_t& pos)
{
    std::string out;
    while (pos < text.size() && text[pos] != '"') {
        char c = text[pos++];
        if (c != '\\' || pos >= text.size()) {
            out += c;
            continue;
        }
        char e = text[pos++];
        switch (e) {
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        case 't':
            out += '\t';
            break;
        case '0':
            out += '\0';
            break;
        case 'x': {
            unsigned cp = 0;
            int digits = 0;
            while (digits < 4 && pos < text.size() && std::isxdigit(static_cast<unsigned char>(text[pos]))) {
                char h = text[pos++];
                cp = cp * 16 + static_cast<unsigned>(h <= '9' ? h - '0' : (h | 0x20) - 'a' + 10);
                ++digits;
            }
            AppendUtf8(out, static_cast<char32_t>(cp));
            break;
        }
        default:
            out += e;
            break;
        }
    }
    if (pos < text.size())
        ++pos; // closing quote
    return out;
}

// Key paths in the file double their backslashes; compare them unescaped.
std::string UnescapeKey(std::string_view key)
{
    std::string out;
    for (std::size_t i = 0; i < key.size(); ++i) {
        if (key[i] == '\\' && i + 1 < key.size() && key[i + 1] == '\\')
            ++i;
        out += key[i];
    }
    return out;
}

} // namespace

std::string FindInstallDirectoryInWineRegistry(std::string_view text)
{
    const std::string wanted = kInstallKey;
    const std::string wantedWow = std::string("Software\\Wow6432Node\\") + (kInstallKey + 9);
    bool inKey = false;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        std::string_view line =
            text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        start = end == std::string_view::npos ? text.size() : end + 1;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.empty())
            continue;
        if (line[0] == '[') {
            auto close = line.find(']');
            std::string key =
                UnescapeKey(line.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
            inKey = EqualsIgnoreCase(key, wanted) || EqualsIgnoreCase(key, wantedWow);
            continue;
        }
        if (!inKey || line[0] != '"')
            continue;
        std::size_t pos = 1;
        std::string name = Unquote(line, pos);
        if (!EqualsIgnoreCase(name, kInstallValue) || pos >= line.size() || line[pos] != '=')
            continue;
        std::string_view value = line.substr(pos + 1);
        if (value.starts_with("str(2):"))
            value.remove_prefix(7);
        if (value.empty() || value[0] != '"')
            continue; // not a string value
        std::size_t vpos = 1;
        return Unquote(value, vpos);
    }
    return {};
}

std::string WindowsPathInWinePrefix(std::string_view winePrefix, std::string_view windowsPath)
{
    if (windowsPath.size() < 2 || windowsPath[1] != ':')
        return {};
    char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(windowsPath[0])));
    if (letter < 'a' || letter > 'z')
        return {};
    std::string prefix = IncludeTrailingBackslash(winePrefix);
    std::string drive;
    std::error_code ec;
    fs::path device = NativePath(prefix + "dosdevices/" + letter + ":");
    auto target = fs::canonical(device, ec);
    if (!ec && fs::is_directory(target, ec))
        drive = PathString(target);
    else if (letter == 'c')
        drive = prefix + "drive_c";
    else
        return {};
    // The rest is rooted at the drive: below it, it is a game path like any.
    std::string_view rest = windowsPath.substr(2);
    while (!rest.empty() && (rest.front() == '\\' || rest.front() == '/'))
        rest.remove_prefix(1);
    try {
        return IncludeTrailingBackslash(ResolveGamePath(drive, rest));
    } catch (const GamePathError&) {
        return {}; // ".." and the like: not followed out of the prefix
    }
}

std::string FindGameDirectoryInRegistry(const EnvironmentLookup& environment)
{
#ifdef _WIN32
    (void)environment;
    // The game is a 32-bit program: its installer wrote into the 32-bit view
    // (Wow6432Node on 64-bit Windows). The 64-bit view is asked second, for
    // keys copied there by hand.
    const std::wstring key(kInstallKey, kInstallKey + std::char_traits<char>::length(kInstallKey));
    const std::wstring value(kInstallValue, kInstallValue + std::char_traits<char>::length(kInstallValue));
    for (REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY}) {
        HKEY opened = nullptr;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_QUERY_VALUE | view, &opened) != ERROR_SUCCESS)
            continue;
        std::wstring buffer(260, L'\0');
        LSTATUS status = ERROR_MORE_DATA;
        for (int attempt = 0; attempt < 4 && status == ERROR_MORE_DATA; ++attempt) {
            DWORD bytes = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
            status = RegGetValueW(opened, nullptr, value.c_str(), RRF_RT_REG_SZ, nullptr, buffer.data(), &bytes);
            if (status == ERROR_SUCCESS)
                buffer.resize(bytes / sizeof(wchar_t));
            else if (status == ERROR_MORE_DATA)
                buffer.resize(bytes / sizeof(wchar_t) + 1);
        }
        RegCloseKey(opened);
        if (status != ERROR_SUCCESS)
            continue;
        while (!buffer.empty() && buffer.back() == L'\0')
            buffer.pop_back();
        if (!buffer.empty())
            return IncludeTrailingBackslash(PathString(fs::path(buffer)));
    }
    return {};
#else
    std::string prefix;
    if (auto p = environment("WINEPREFIX"))
        prefix = *p;
    else if (auto home = environment("HOME"))
        prefix = IncludeTrailingBackslash(*home) + ".wine";
    else
        return {};
    std::ifstream in(NativePath(IncludeTrailingBackslash(prefix) + "system.reg"), std::ios::binary);
    if (!in)
        return {};
    std::ostringstream ss;
    ss << in.rdbuf();
    std::string windowsPath = FindInstallDirectoryInWineRegistry(ss.str());
    if (windowsPath.empty())
        return {};
    return WindowsPathInWinePrefix(prefix, windowsPath);
#endif
}

} // namespace pitwall
