#include "app/RecentCarsets.h"

#include "app/IniFile.h"
#include "base/FileUtils.h"

#include <algorithm>
#include <exception>

namespace pitwall {

std::vector<std::string> WithRecentCarset(std::vector<std::string> recent, const std::string& file)
{
    recent.erase(std::remove(recent.begin(), recent.end(), file), recent.end());
    recent.insert(recent.begin(), file);
    if (recent.size() > kRecentCarsetsKept)
        recent.resize(kRecentCarsetsKept);
    return recent;
}

std::vector<std::string> ReadRecentCarsets(std::string_view iniPath)
{
    std::vector<std::string> recent;
    IniFile ini;
    if (!FileExists(iniPath) || !ini.load(iniPath))
        return recent;
    for (std::size_t i = 1; i <= kRecentCarsetsKept; ++i) {
        std::string file = ini.readString(kRecentCarsetsSection, "File" + std::to_string(i), "");
        if (!file.empty() && std::find(recent.begin(), recent.end(), file) == recent.end())
            recent.push_back(std::move(file));
    }
    return recent;
}

bool RememberRecentCarset(std::string_view iniPath, const std::string& file)
{
    const auto recent = WithRecentCarset(ReadRecentCarsets(iniPath), file);
    IniFile ini;
    ini.load(iniPath);
    for (const auto& key : ini.keyNames(kRecentCarsetsSection))
        ini.eraseKey(kRecentCarsetsSection, key);
    for (std::size_t i = 0; i < recent.size(); ++i)
        ini.writeString(kRecentCarsetsSection, "File" + std::to_string(i + 1), recent[i]);
    try {
        ini.save(iniPath);
    } catch (const std::exception&) {
        return false;
    }
    return true;
}

} // namespace pitwall
