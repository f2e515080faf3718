#include "menu/MenuArt.h"

#include "base/UITexts.h"

#include <algorithm>
#include <cstdio>
#include <set>

namespace pitwall {

std::string LoadingPictureName(int n) { return "LOADING" + std::to_string(n) + ".BMP"; }
std::string LoadingPictureGamePath(int n) { return "BITMAPS\\" + LoadingPictureName(n); }
std::string MenuReplacementName(int n) { return "MenuReplace" + std::to_string(n) + ".BMP"; }
std::string TeamArtMember(int team) { return "TeamArt" + std::to_string(team) + ".DAT"; }

std::string MenuBackgroundLine(int n, const UITexts& texts)
{
    char number[8];
    std::snprintf(number, sizeof number, "%02d", n);
    return std::string(number) + " - " + texts.text(kMenuBackgroundFirstName + n);
}

std::optional<int> MenuBackgroundNumber(const std::string& line)
{
    if (line.size() < 2 || line[0] < '0' || line[0] > '9' || line[1] < '0' || line[1] > '9')
        return std::nullopt;
    const int n = (line[0] - '0') * 10 + (line[1] - '0');
    if (n >= kMenuBackgroundCount)
        return std::nullopt;
    return n;
}

bool AddMenuBackground(MenuReplacementList& list, const std::string& line)
{
    auto n = MenuBackgroundNumber(line);
    if (!n)
        return false;
    for (const std::string& have : list)
        if (MenuBackgroundNumber(have) == n)
            return false;
    list.insert(std::upper_bound(list.begin(), list.end(), line), line);
    return true;
}

std::vector<int> MenuBackgroundNumbers(const MenuReplacementList& list)
{
    std::set<int> numbers;
    for (const std::string& line : list)
        if (auto n = MenuBackgroundNumber(line))
            numbers.insert(*n);
    return {numbers.begin(), numbers.end()};
}

} // namespace pitwall
