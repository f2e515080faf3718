#pragma once
// Quick settings of the teams editor: move one value of all eleven teams or
// all twenty-two drivers at once, either all by the same amount or spread
// towards the top or the bottom of the field.

#include "teams/TeamTable.h"

#include <cstdint>

namespace pitwall {

// In the order of the editor's choices.
enum class TeamValue { Failure, QualifyingPerformance, RacePerformance };
enum class DriverValue { QualifyingStrength, RaceStrength, QualifyingConsistency, RaceConsistency };

enum class QuickSetting {
    // "Durchschnitt": every value moves by delta.
    Shift,
    // "Minimum": the smallest value moves by delta, the largest stays, those
    // between move in proportion to their distance from the largest.
    StretchBottom,
    // "Maximum": the largest value moves by delta, the smallest stays, those
    // between move in proportion to their distance from the smallest.
    StretchTop,
};

struct ValueRange {
    int minimum;
    int maximum;
};

// What the editor lets the user type: 0..32700 for the team performances,
// 0..65535 for the others.
ValueRange EditorRange(TeamValue value);
ValueRange EditorRange(DriverValue value);

// The step the editor starts with for each row: 100 for failure and the
// driver strengths, 10 for the team performances and the consistencies.
int DefaultQuickStep(TeamValue value);
int DefaultQuickStep(DriverValue value);

// Applies the setting with this delta. A rise stops at 32000 (lower where the
// editor range ends lower) and a fall at 0; a value already beyond that limit
// is not moved against the direction of delta. When all values are equal the
// two stretches have no spread to work with and change nothing.
void ApplyQuickSetting(TeamTable& table, TeamValue value, QuickSetting setting, int delta);
void ApplyQuickSetting(TeamTable& table, DriverValue value, QuickSetting setting, int delta);

// The editor's "Angleichen" buttons, in their order: copy one value of every
// team or driver onto its counterpart.
enum class Equalisation {
    QualifyingPerformanceFromRace,
    RacePerformanceFromQualifying,
    QualifyingStrengthFromRace,
    RaceStrengthFromQualifying,
    QualifyingConsistencyFromRace,
    RaceConsistencyFromQualifying,
};
void Equalise(TeamTable& table, Equalisation equalisation);

} // namespace pitwall
