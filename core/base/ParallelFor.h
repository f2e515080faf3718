#pragma once
// Independent pieces of work spread over every core: work(i) runs once for
// each i in [0, count), the calling thread taking part. The first exception
// a piece throws is rethrown once all threads have stopped; pieces not yet
// started are then skipped (those the other threads have not taken yet). Where no thread can be started, the calling
// thread does all the work.

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace pitwall {

template <typename Work>
void ParallelFor(std::size_t count, Work&& work)
{
    std::atomic<std::size_t> next{0};
    std::exception_ptr failure;
    std::mutex failureLock;
    auto run = [&] {
        for (std::size_t i = next++; i < count; i = next++) {
            try {
                work(i);
            } catch (...) {
                std::lock_guard lock(failureLock);
                if (!failure)
                    failure = std::current_exception();
                next = count;
            }
        }
    };
    const std::size_t threads = std::min<std::size_t>(std::max(1u, std::thread::hardware_concurrency()), count);
    {
        std::vector<std::jthread> helpers;
        for (std::size_t t = 1; t < threads; ++t) {
            try {
                helpers.emplace_back(run);
            } catch (const std::system_error&) {
                break;
            }
        }
        run();
    }
    if (failure)
        std::rethrow_exception(failure);
}

} // namespace pitwall
