#include "teams/TeamTable.h"

#include <stdexcept>
#include <string>

namespace pitwall {

namespace {

std::size_t CheckedDriverIndex(int index)
{
    if (index < 0 || index >= kDriverCount)
        throw std::out_of_range("driver index " + std::to_string(index) + " outside 0..21");
    return static_cast<std::size_t>(index);
}

} // namespace

DriverRecord& TeamTable::driver(int index)
{
    std::size_t d = CheckedDriverIndex(index);
    return teams[d / 2].drivers[d % 2];
}

const DriverRecord& TeamTable::driver(int index) const
{
    std::size_t d = CheckedDriverIndex(index);
    return teams[d / 2].drivers[d % 2];
}

} // namespace pitwall
