#include "career/SeasonReport.h"

#include "base/UITexts.h"

#include <array>
#include <cctype>

namespace pitwall {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trimmed(std::string_view s)
{
    while (!s.empty() && (IsBlank(s.front()) || s.front() == '\r' || s.front() == '\n'))
        s.remove_prefix(1);
    while (!s.empty() && (IsBlank(s.back()) || s.back() == '\r' || s.back() == '\n'))
        s.remove_suffix(1);
    return s;
}

std::vector<std::string_view> Lines(std::string_view text)
{
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        lines.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.push_back(text.substr(start));
    return lines;
}

// A group of digits as a number; a group longer than any time has (a
// broken report) saturates instead of overflowing.
std::uint64_t GroupValue(std::string_view digits)
{
    std::uint64_t v = 0;
    for (char c : digits)
        v = v > 100'000'000'000ull ? v : v * 10 + static_cast<std::uint64_t>(c - '0');
    return v;
}

std::uint32_t Clamp32(std::uint64_t v) { return v > 0xFFFFFFFFull ? 0xFFFFFFFFu : static_cast<std::uint32_t>(v); }

} // namespace

std::uint32_t ConvertReportTime(std::string_view text, std::uint32_t firstTime, std::uint32_t laps, int* lapsBehind)
{
    if (lapsBehind)
        *lapsBehind = 0;
    std::string_view t = Trimmed(text);
    bool anyDigit = false;
    for (char c : t)
        anyDigit = anyDigit || IsDigit(c);
    if (!anyDigit)
        return 0;
    const bool gap = t.front() == '+';
    const bool lapped = t.front() == '-';
    if (gap || lapped)
        t.remove_prefix(1);
    while (!t.empty() && !IsDigit(t.back()))
        t.remove_suffix(1);

    // Up to four groups from the end: thousandths, seconds, minutes, hours.
    std::array<std::uint64_t, 4> groups{};
    std::size_t found = 0;
    std::size_t end = t.size();
    while (found < groups.size() && end > 0) {
        std::size_t start = end;
        while (start > 0 && IsDigit(t[start - 1]))
            --start;
        groups[found++] = GroupValue(t.substr(start, end - start));
        end = start;
        while (end > 0 && !IsDigit(t[end - 1]))
            --end;
    }
    if (lapped) {
        std::uint64_t n = groups[0];
        if (lapsBehind)
            *lapsBehind = static_cast<int>(n > 1000 ? 1000 : n);
        // Without the race's laps no average lap is known: the winner's time.
        if (laps == 0)
            return firstTime;
        return Clamp32(firstTime + n * (firstTime / laps));
    }
    std::uint64_t plain = groups[0] + 1000 * groups[1] + 60'000 * groups[2] + 3'600'000 * groups[3];
    return Clamp32(gap ? plain + firstTime : plain);
}

SeasonReportRead ParseSeasonReport(std::string_view text, std::uint32_t laps)
{
    SeasonReportRead read;
    read.result.laps = laps;
    std::vector<std::string_view> lines = Lines(text);
    std::size_t i = 0;
    for (; i < lines.size(); ++i) {
        std::string_view l = Trimmed(lines[i]);
        if (l.size() >= 2 && l.front() == '(' && l.back() == ')') {
            std::string_view inner = l.substr(1, l.size() - 2);
            std::string_view number = inner.substr(0, std::min(inner.find(' '), inner.size()));
            bool numeric = !number.empty() && number.size() <= 6;
            for (char c : number)
                numeric = numeric && IsDigit(c);
            read.raceNumber = numeric ? static_cast<int>(GroupValue(number)) : 0;
            ++i;
            break;
        }
    }
    for (; i < lines.size(); ++i)
        if (Trimmed(lines[i]).starts_with("1."))
            break;
    if (i >= lines.size())
        return read;
    read.found = true;

    std::uint32_t first = 0;
    for (int e = 0; e < kSeasonReportEntries && i < lines.size(); ++e) {
        std::string_view line = Trimmed(lines[i]);
        SeasonEntry entry;
        std::size_t point = line.find('.');
        std::string_view rest = point == std::string_view::npos ? line : line.substr(point + 1);
        // The name starts after the blank that follows the position's point.
        std::size_t nameStart = 0;
        while (nameStart < rest.size() && IsBlank(rest[nameStart]))
            ++nameStart;
        std::size_t gap = rest.find("  ", nameStart);
        entry.driver = std::string(Trimmed(rest.substr(0, gap)));
        entry.timeText = gap == std::string_view::npos ? "" : std::string(Trimmed(rest.substr(gap)));
        entry.time = ConvertReportTime(entry.timeText, first, laps, &entry.lapsBehind);
        if (e == 0)
            first = entry.time;
        if (i + 1 < lines.size())
            entry.team = std::string(Trimmed(lines[i + 1]));
        read.result.entries.push_back(std::move(entry));
        i += 3;
    }
    read.result.valid = read.result.entries.size() == kSeasonReportEntries;
    return read;
}

namespace {

std::string Two(std::uint32_t v) { return (v < 10 ? "0" : "") + std::to_string(v); }
std::string Three(std::uint32_t v) { return (v < 10 ? "00" : v < 100 ? "0" : "") + std::to_string(v); }

std::string ClockText(std::uint32_t ms)
{
    std::uint32_t h = ms / 3'600'000, m = ms / 60'000 % 60, s = ms / 1000 % 60, t = ms % 1000;
    if (h > 0)
        return std::to_string(h) + "." + Two(m) + "." + Two(s) + "." + Three(t);
    return std::to_string(m) + "." + Two(s) + "." + Three(t);
}

} // namespace

std::string ShownReportTime(const SeasonEntry& entry, std::uint32_t laps, const UITexts* texts)
{
    constexpr int kOneLapText = 156, kLapsText = 158;
    if (entry.lapsBehind > 0 && laps == 0) {
        const bool one = entry.lapsBehind == 1;
        const std::string behind = texts ? texts->format(one ? kOneLapText : kLapsText, Args(entry.lapsBehind))
                                         : std::to_string(entry.lapsBehind) + (one ? " lap" : " laps");
        return ClockText(entry.time) + " +" + behind;
    }
    if (entry.time == 0)
        return entry.timeText;
    return ClockText(entry.time);
}

} // namespace pitwall
