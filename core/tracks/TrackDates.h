#pragma once
// Lap record dates are Windows date serials (day 0 = 30 December 1899).

#include <cstdint>
#include <string>

namespace pitwall {

struct CalendarDate {
    int year = 1899, month = 12, day = 30;
    friend bool operator==(const CalendarDate&, const CalendarDate&) = default;
};

CalendarDate DateOfSerial(std::uint32_t serial);
// Dates before 30 December 1899 give 0.
std::uint32_t SerialOfDate(const CalendarDate& date);
// "1998-03-08".
std::string FormatSerialDate(std::uint32_t serial);

} // namespace pitwall
