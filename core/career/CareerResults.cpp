#include "career/CareerResults.h"

#include "base/Windows1252.h"

namespace pitwall {

namespace {

std::string CsvField(const std::string& text)
{
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

} // namespace

std::string ResultAsCsv(const SeasonResult& result)
{
    std::string csv = "Position,Driver,Team,Time,Milliseconds\r\n";
    int position = 1;
    for (const SeasonEntry& e : result.entries) {
        csv += std::to_string(position++) + "," + CsvField(Windows1252ToUtf8(e.driver)) + ","
            + CsvField(Windows1252ToUtf8(e.team)) + "," + CsvField(Windows1252ToUtf8(ShownReportTime(e, result.laps)))
            + "," + std::to_string(e.time) + "\r\n";
    }
    return csv;
}

} // namespace pitwall
