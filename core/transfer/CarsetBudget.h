#pragma once
// What a group of a carset's members may hold together. A carset's members
// are held in memory from its load until they are exported, so the members
// of a group (the track JAMs, the team JAMs) are checked together against
// what the game can use of them: on the sizes the carset declares (no member
// is read beyond its declared size), before any of them is unpacked.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace pitwall {

class CarsetArchive;

struct MemberBudget {
    std::string what;   // "track JAMs"
    std::string usedBy; // "the tracks of a carset"
    std::size_t maxCount = 0;
    std::uint64_t maxBytes = 0;
};

// Why the members of `names` that the carset holds are more than the budget
// allows (naming the carset and the limit), or empty when they fit.
std::string MemberBudgetProblem(const CarsetArchive& carset, const std::vector<std::string>& names,
                                const MemberBudget& budget);

} // namespace pitwall
