#include "tracks/TrackDates.h"

#include <cstdio>

namespace pitwall {

namespace {

// Days from 1 January 1970 to 30 December 1899 (day 0 of the serials).
constexpr std::int64_t kSerialEpoch = -25569;

// Howard Hinnant's days-from-civil and its inverse.
std::int64_t DaysFromCivil(std::int64_t y, int m, int d)
{
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

CalendarDate CivilFromDays(std::int64_t z)
{
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    const int d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    const int m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    return {static_cast<int>(yoe + era * 400 + (m <= 2)), m, d};
}

} // namespace

CalendarDate DateOfSerial(std::uint32_t serial) { return CivilFromDays(kSerialEpoch + serial); }

std::uint32_t SerialOfDate(const CalendarDate& date)
{
    const std::int64_t serial = DaysFromCivil(date.year, date.month, date.day) - kSerialEpoch;
    return serial < 0 ? 0 : static_cast<std::uint32_t>(serial);
}

std::string FormatSerialDate(std::uint32_t serial)
{
    CalendarDate d = DateOfSerial(serial);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", d.year, d.month, d.day);
    return text;
}

} // namespace pitwall
