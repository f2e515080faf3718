#include "transfer/CarsetBudget.h"

#include "base/FileUtils.h"
#include "transfer/CarsetArchive.h"

#include <cstdint>

namespace pitwall {

std::string MemberBudgetProblem(const CarsetArchive& carset, const std::vector<std::string>& names,
                                const MemberBudget& budget)
{
    std::size_t count = 0;
    std::uint64_t total = 0;
    for (const std::string& name : names) {
        if (auto size = carset.declaredSize(name)) {
            ++count;
            total = *size > UINT64_MAX - total ? UINT64_MAX : total + *size;
        }
    }
    const std::string start = "The " + budget.what + " of " + FileNameOf(carset.path()) + " are not loaded: ";
    if (count > budget.maxCount)
        return start + "it holds " + std::to_string(count) + " of them, more than " + budget.usedBy + " use ("
            + std::to_string(budget.maxCount) + ").";
    if (total > budget.maxBytes)
        return start + "together they hold " + std::to_string(total / 1'000'000) + " MB, more than " + budget.usedBy
            + " use (" + std::to_string(budget.maxBytes / 1'000'000) + " MB).";
    return {};
}

} // namespace pitwall
