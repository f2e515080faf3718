#pragma once
// What the progress window shows after each step of a long copy: items done,
// percent of the bytes, and the estimated seconds still to go.

#include <cstdint>

namespace pitwall {

struct ProgressState {
    int itemCount = 0;
    int itemsDone = 0;
    std::uint64_t totalBytes = 0;
    std::uint64_t bytesDone = 0;
};

struct ProgressReading {
    int percent = 0;
    std::int64_t remainingSeconds = 0;
};

// Advances the state by one step: by `amount` bytes and one item, or, when
// absolute, to `amount` bytes with the items in proportion.
void StepProgress(ProgressState& state, std::uint64_t amount, bool absolute);

// Percent of the bytes and the remaining time extrapolated from the elapsed
// milliseconds. Nothing done yet (or nothing to do) gives no estimate instead
// of a division by zero.
ProgressReading ReadProgress(const ProgressState& state, std::int64_t elapsedMs);

// The loading window's gauge: counter * 100 / total, or -1 (leave the gauge
// as it is) when the total is 0.
int LoadingGaugePercent(std::int64_t counter, std::uint16_t total);

} // namespace pitwall
