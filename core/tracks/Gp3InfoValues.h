#pragma once
// The "Übernehmen" buttons of the tracks editor's GP3INFO page: values of a
// track file's information block taken into the slot's TrackInfo record.

#include "formats/TrackFile.h"
#include "tracks/TrackTable.h"

#include <optional>
#include <string>

namespace pitwall {

// The block's fields, in the order of its table.
enum class Gp3InfoField {
    Name = 0,
    Country = 1,
    Year = 4,
    Laps = 7,
    Tyre = 9,
    LengthMetres = 10,
    LapRecord = 11,
    LapRecordQualify = 12
};

// Takes one value: NAME into the city text and COUNTRY into the five
// country texts of every language (cut to 29 characters); YEAR, LAPS and
// LENGTHMETERS as numbers; LAPRECORD and LAPRECORDQUALIFY into the race or
// qualifying lap record. A value that does not read as what its field holds
// changes nothing; returns whether the record changed. TYRE has no field in
// the record and is never taken.
bool TakeGp3InfoValue(TrackInfo& info, const TrackInfoBlock& block, Gp3InfoField field);

// A lap record as track files write it: comma-separated parts, one of them
// the lap time ("1:21.139" or "1.21.139"); the first other part is the
// driver, the second the team; a date ("8.3.1998", "1998-03-08") or a year
// (1978 or later, taken as 1 January) sets the date. Nothing without a time.
std::optional<LapRecord> ParseGp3InfoLapRecord(const std::string& value, const LapRecord& old);

} // namespace pitwall
