#pragma once
// Small pieces of the line-based records the program keeps beside the
// user's files (restore points, the carset library's history): fields split
// at a separator, and the time stamps they carry (UTC).

#include <ctime>
#include <string>
#include <string_view>
#include <vector>

namespace pitwall {

// The fields between the separators (an empty text is one empty field).
std::vector<std::string_view> SplitFields(std::string_view line, char separator = '\t');

// The current time in UTC, and a time as ISO 8601 ("2026-12-08T19:47:42Z").
std::tm UtcNow();
std::string IsoUtcText(const std::tm& utc);

} // namespace pitwall
