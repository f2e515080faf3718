#include "base/TextRecords.h"

#include <chrono>

namespace pitwall {

std::vector<std::string_view> SplitFields(std::string_view line, char separator)
{
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t at = line.find(separator, start);
        fields.push_back(line.substr(start, at == std::string_view::npos ? std::string_view::npos : at - start));
        if (at == std::string_view::npos)
            return fields;
        start = at + 1;
    }
}

std::tm UtcNow()
{
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm utc{};
#ifdef _WIN32
    gmtime_s(&utc, &now);
#else
    gmtime_r(&now, &utc);
#endif
    return utc;
}

std::string IsoUtcText(const std::tm& utc)
{
    char iso[32];
    std::strftime(iso, sizeof iso, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return iso;
}

} // namespace pitwall
