#pragma once
// The author information every carset carries (INFO.DAT): the program
// version it was made with, author, date, whether to show it on loading, six
// reserved lines and free text.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pitwall {

// The largest INFO.DAT a carset load takes: the information is a handful
// of text lines, anything near this is not one.
inline constexpr std::uint64_t kMaxCarsetInfoSize = 1'000'000;

// Lines in Windows-1252, as stored.
struct CarsetInfo {
    std::vector<std::string> lines = {"v1.0",     "-",        "-",        "0",       "RESERVED",
                                      "RESERVED", "RESERVED", "RESERVED", "RESERVED"};

    bool operator==(const CarsetInfo&) const = default;
};

// What the information window edits.
struct CarsetInfoFields {
    std::string version = "v1.0";
    std::string author;
    std::string date;
    bool showOnLoad = false;
    std::vector<std::string> text;
};

// Line 3 is "1" or "RESERVED".
bool ShowCarsetInfoOnLoad(const CarsetInfo& info);
// The fields as the window starts with them: from the lines when there are
// at least 10, otherwise `previous` unchanged.
CarsetInfoFields CarsetInfoToFields(const CarsetInfo& info, const CarsetInfoFields& previous = {});
// The lines after OK: version, author, date, "1"/"0", six "RESERVED", text.
void ApplyCarsetInfoEdits(CarsetInfo& info, const CarsetInfoFields& fields);

std::string CarsetInfoText(const CarsetInfo& info); // CR LF lines
CarsetInfo ParseCarsetInfo(std::string_view text);

} // namespace pitwall
