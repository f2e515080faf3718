#include "teams/QuickSettings.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace pitwall {

namespace {

// The quick settings never raise a value past this, whatever the field.
constexpr std::int64_t kQuickCeiling = 32000;

std::uint16_t& Field(TeamRecord& team, TeamValue value)
{
    switch (value) {
    case TeamValue::Failure:
        return team.failure;
    case TeamValue::QualifyingPerformance:
        return team.tqp;
    case TeamValue::RacePerformance:
        return team.trp;
    }
    return team.failure;
}

std::uint16_t& Field(DriverRecord& driver, DriverValue value)
{
    switch (value) {
    case DriverValue::QualifyingStrength:
        return driver.qp;
    case DriverValue::RaceStrength:
        return driver.rp;
    case DriverValue::QualifyingConsistency:
        return driver.qa;
    case DriverValue::RaceConsistency:
        return driver.ra;
    }
    return driver.qp;
}

// All arithmetic in 64 bits: (max - v) x delta x 100 overflows 32 bits for
// the wide fields.
void Apply(const std::vector<std::uint16_t*>& fields, ValueRange range, QuickSetting setting, std::int64_t delta)
{
    std::int64_t low = *fields.front(), high = *fields.front();
    for (const std::uint16_t* f : fields) {
        low = std::min<std::int64_t>(low, *f);
        high = std::max<std::int64_t>(high, *f);
    }
    const std::int64_t spread = high - low;
    if (setting != QuickSetting::Shift && spread == 0)
        return;

    const std::int64_t ceiling = std::min<std::int64_t>(kQuickCeiling, range.maximum);
    const std::int64_t floor = std::max<std::int64_t>(0, range.minimum);
    for (std::uint16_t* f : fields) {
        const std::int64_t v = *f;
        std::int64_t change = 0;
        switch (setting) {
        case QuickSetting::Shift:
            change = delta;
            break;
        case QuickSetting::StretchTop: {
            std::int64_t share = (high - v) * 100 / spread;
            change = delta * (100 - share) / 100;
            break;
        }
        case QuickSetting::StretchBottom:
            change = (high - v) * delta * 100 / spread / 100;
            break;
        }
        std::int64_t moved = v + change;
        if (change > 0)
            moved = std::min(moved, std::max(v, ceiling));
        else if (change < 0)
            moved = std::max(moved, std::min(v, floor));
        *f = static_cast<std::uint16_t>(moved);
    }
}

} // namespace

ValueRange EditorRange(TeamValue value)
{
    return value == TeamValue::Failure ? ValueRange{0, 65535} : ValueRange{0, 32700};
}

ValueRange EditorRange(DriverValue) { return {0, 65535}; }

int DefaultQuickStep(TeamValue value) { return value == TeamValue::Failure ? 100 : 10; }

int DefaultQuickStep(DriverValue value)
{
    return value == DriverValue::QualifyingStrength || value == DriverValue::RaceStrength ? 100 : 10;
}

void ApplyQuickSetting(TeamTable& table, TeamValue value, QuickSetting setting, int delta)
{
    std::vector<std::uint16_t*> fields;
    for (TeamRecord& team : table.teams)
        fields.push_back(&Field(team, value));
    Apply(fields, EditorRange(value), setting, delta);
}

void ApplyQuickSetting(TeamTable& table, DriverValue value, QuickSetting setting, int delta)
{
    std::vector<std::uint16_t*> fields;
    for (int d = 0; d < kDriverCount; ++d)
        fields.push_back(&Field(table.driver(d), value));
    Apply(fields, EditorRange(value), setting, delta);
}

void Equalise(TeamTable& table, Equalisation equalisation)
{
    for (TeamRecord& team : table.teams) {
        if (equalisation == Equalisation::QualifyingPerformanceFromRace)
            team.tqp = team.trp;
        else if (equalisation == Equalisation::RacePerformanceFromQualifying)
            team.trp = team.tqp;
        for (DriverRecord& d : team.drivers) {
            switch (equalisation) {
            case Equalisation::QualifyingStrengthFromRace:
                d.qp = d.rp;
                break;
            case Equalisation::RaceStrengthFromQualifying:
                d.rp = d.qp;
                break;
            case Equalisation::QualifyingConsistencyFromRace:
                d.qa = d.ra;
                break;
            case Equalisation::RaceConsistencyFromQualifying:
                d.ra = d.qa;
                break;
            default:
                break;
            }
        }
    }
}

} // namespace pitwall
