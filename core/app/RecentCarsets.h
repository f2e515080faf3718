#pragma once
// The carsets last opened or saved, newest first, for the File menu. They
// are kept in the settings file (section "RecentCarsets", keys File1 ...
// File8) as soon as a carset is opened or saved, so a program that ends
// abnormally still remembers them.

#include <string>
#include <string_view>
#include <vector>

namespace pitwall {

inline constexpr const char* kRecentCarsetsSection = "RecentCarsets";
inline constexpr std::size_t kRecentCarsetsKept = 8;

// The list with `file` first, an earlier entry of it dropped, at most eight.
std::vector<std::string> WithRecentCarset(std::vector<std::string> recent, const std::string& file);

std::vector<std::string> ReadRecentCarsets(std::string_view iniPath);
// Puts the file first in the settings file's list, leaving the rest of the
// file as it is. False when the settings file cannot be written.
bool RememberRecentCarset(std::string_view iniPath, const std::string& file);

} // namespace pitwall
