#include "graphics/RampTables.h"

namespace pitwall {

namespace {
constexpr std::array<std::uint8_t, 5> kStockValues = {160, 176, 208, 224, 240};
constexpr std::size_t kFirstStockByte = 11;
} // namespace

RampBases SubstitutePitCrewDefaults(RampBases record, int team)
{
    for (std::size_t i = 0; i < kStockValues.size(); ++i)
        if (record[kFirstStockByte + i] == kStockValues[i])
            record[kFirstStockByte + i] = kPitCrewDefaultBase.at(static_cast<std::size_t>(team));
    return record;
}

RampBases PitCrewRecordOfFormat7(const std::uint8_t* thirteenBytes)
{
    RampBases record{3, 14, 24};
    for (std::size_t i = 0; i < kPitCrewFormat7Bytes; ++i)
        record[kPitCrewFirstBodyPart + i] = thirteenBytes[i];
    return record;
}

RampBases IdentityRamps()
{
    RampBases ramps{};
    for (std::size_t r = 0; r < ramps.size(); ++r)
        ramps[r] = static_cast<std::uint8_t>(16 * r);
    return ramps;
}

} // namespace pitwall
