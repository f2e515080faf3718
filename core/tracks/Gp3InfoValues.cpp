#include "tracks/Gp3InfoValues.h"

#include "tracks/TrackDates.h"

#include <charconv>
#include <regex>

namespace pitwall {

namespace {

constexpr std::size_t kTextLength = 29;
constexpr std::size_t kTeamLength = 13;
constexpr int kFirstRecordYear = 1978;

std::string Trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::optional<int> Number(const std::string& text, int maximum)
{
    const std::string t = Trimmed(text);
    int n = 0;
    auto [end, error] = std::from_chars(t.data(), t.data() + t.size(), n);
    if (t.empty() || error != std::errc() || end != t.data() + t.size() || n < 0 || n > maximum)
        return std::nullopt;
    return n;
}

int Int(const std::ssub_match& m) { return std::stoi(m.str()); }

} // namespace

std::optional<LapRecord> ParseGp3InfoLapRecord(const std::string& value, const LapRecord& old)
{
    static const std::regex time(R"((\d{1,2})[:.](\d{1,2})[.:](\d{1,3}))");
    static const std::regex dayFirst(R"((\d{1,2})\.(\d{1,2})\.(\d{4}))");
    static const std::regex yearFirst(R"((\d{4})-(\d{1,2})-(\d{1,2}))");
    static const std::regex year(R"(\d{4})");
    LapRecord record = old;
    bool timeFound = false;
    int names = 0;
    std::size_t start = 0;
    while (start <= value.size()) {
        std::size_t comma = value.find(',', start);
        if (comma == std::string::npos)
            comma = value.size();
        const std::string part = Trimmed(value.substr(start, comma - start));
        start = comma + 1;
        std::smatch m;
        if (part.empty())
            continue;
        if (!timeFound && std::regex_match(part, m, time) && Int(m[2]) < 60) {
            std::string thousandths = m[3].str();
            thousandths.resize(3, '0'); // "21.13" is 21 seconds and 130 thousandths
            record.lapTime = static_cast<std::uint32_t>(Int(m[1]) * 60000 + Int(m[2]) * 1000 + std::stoi(thousandths));
            timeFound = true;
        } else if (std::regex_match(part, m, dayFirst) || std::regex_match(part, m, yearFirst)) {
            const bool dayAtFront = m[1].length() <= 2;
            CalendarDate d{Int(m[dayAtFront ? 3 : 1]), Int(m[2]), Int(m[dayAtFront ? 1 : 3])};
            if (d.month >= 1 && d.month <= 12 && d.day >= 1 && d.day <= 31 && d.year >= kFirstRecordYear)
                record.date = SerialOfDate(d);
        } else if (std::regex_match(part, year) && std::stoi(part) >= kFirstRecordYear) {
            record.date = SerialOfDate({std::stoi(part), 1, 1});
        } else if (names == 0) {
            record.driver = part;
            ++names;
        } else if (names == 1) {
            record.team = part.substr(0, kTeamLength);
            ++names;
        }
    }
    if (!timeFound)
        return std::nullopt;
    return record;
}

bool TakeGp3InfoValue(TrackInfo& info, const TrackInfoBlock& block, Gp3InfoField field)
{
    if (!block.found)
        return false;
    const std::string& value = block.values[static_cast<std::size_t>(field)];
    switch (field) {
    case Gp3InfoField::Name:
        for (auto& text : info.texts[kTrackCity])
            text = value.substr(0, kTextLength);
        return true;
    case Gp3InfoField::Country:
        for (int k = kTrackCountry1; k < kTrackAttribute; ++k)
            for (auto& text : info.texts[static_cast<std::size_t>(k)])
                text = value.substr(0, kTextLength);
        return true;
    case Gp3InfoField::Year:
        if (auto n = Number(value, 65535)) {
            info.year = static_cast<std::uint16_t>(*n);
            return true;
        }
        return false;
    case Gp3InfoField::Laps:
        if (auto n = Number(value, 255)) {
            info.laps = static_cast<std::uint8_t>(*n);
            return true;
        }
        return false;
    case Gp3InfoField::LengthMetres:
        if (auto n = Number(value, 65535)) {
            info.metres = static_cast<std::uint16_t>(*n);
            return true;
        }
        return false;
    case Gp3InfoField::LapRecord:
    case Gp3InfoField::LapRecordQualify: {
        LapRecord& record = field == Gp3InfoField::LapRecord ? info.race : info.qualifying;
        auto taken = ParseGp3InfoLapRecord(value, record);
        if (taken)
            record = *taken;
        return taken.has_value();
    }
    case Gp3InfoField::Tyre:
        break;
    }
    return false;
}

} // namespace pitwall
