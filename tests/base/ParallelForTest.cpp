// Work spread over the cores: every piece runs exactly once, and a piece
// that fails is reported to the caller after all threads have stopped.

#include "base/ParallelFor.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <vector>

using namespace pitwall;

TEST(ParallelFor, EveryPieceRunsOnceAndTheFirstFailureReachesTheCaller)
{
    std::vector<std::atomic<int>> runs(1000);
    ParallelFor(runs.size(), [&](std::size_t i) { ++runs[i]; });
    for (const auto& r : runs)
        EXPECT_EQ(r.load(), 1);

    ParallelFor(0, [](std::size_t) { FAIL() << "no piece to run"; });

    EXPECT_THROW(ParallelFor(1000,
                             [&](std::size_t i) {
                                 if (i == 3)
                                     throw std::runtime_error("piece 3");
                             }),
                 std::runtime_error);
}
