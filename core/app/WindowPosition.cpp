#include "app/WindowPosition.h"

#include "app/IniFile.h"

#include <cstdlib>

namespace pitwall {

namespace {
constexpr const char* kWindowSection = "Window";
constexpr long long kFarthest = 100000;
} // namespace

std::optional<WindowPosition> ReadMainWindowPosition(std::string_view iniPath)
{
    IniFile ini;
    if (!ini.load(iniPath) || !ini.hasKey(kWindowSection, "MainLeft") || !ini.hasKey(kWindowSection, "MainTop"))
        return std::nullopt;
    const long long left = ini.readInteger(kWindowSection, "MainLeft", 0);
    const long long top = ini.readInteger(kWindowSection, "MainTop", 0);
    if (std::llabs(left) > kFarthest || std::llabs(top) > kFarthest)
        return std::nullopt;
    return WindowPosition{static_cast<int>(left), static_cast<int>(top)};
}

void WriteMainWindowPosition(std::string_view iniPath, WindowPosition position)
{
    IniFile ini;
    ini.load(iniPath);
    ini.writeInteger(kWindowSection, "MainLeft", position.left);
    ini.writeInteger(kWindowSection, "MainTop", position.top);
    ini.save(iniPath);
}

} // namespace pitwall
