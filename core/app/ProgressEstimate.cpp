#include "app/ProgressEstimate.h"

#include <cmath>

namespace pitwall {

void StepProgress(ProgressState& state, std::uint64_t amount, bool absolute)
{
    if (absolute) {
        state.bytesDone = amount;
        state.itemsDone = state.totalBytes == 0
            ? 0
            : static_cast<int>(static_cast<std::uint64_t>(state.itemCount) * state.bytesDone / state.totalBytes);
    } else {
        state.bytesDone += amount;
        state.itemsDone += 1;
    }
}

ProgressReading ReadProgress(const ProgressState& state, std::int64_t elapsedMs)
{
    ProgressReading r;
    if (state.totalBytes == 0)
        return r;
    double fraction = static_cast<double>(state.bytesDone) / static_cast<double>(state.totalBytes);
    r.percent = static_cast<int>(std::lround(fraction * 100.0));
    if (state.bytesDone > 0)
        r.remainingSeconds = std::llround((1.0 / fraction - 1.0) * static_cast<double>(elapsedMs) / 1000.0);
    return r;
}

int LoadingGaugePercent(std::int64_t counter, std::uint16_t total)
{
    if (total == 0)
        return -1;
    return static_cast<int>(counter * 100 / total);
}

} // namespace pitwall
