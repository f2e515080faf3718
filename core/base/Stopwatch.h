#pragma once
// TMyTimer: a stopwatch over the system's monotonic clock, in milliseconds.

#include <chrono>
#include <cstdint>

namespace pitwall {

class TMyTimer {
public:
    void Start()
    {
        start_ = now();
        stop_ = start_;
    }
    void Stop() { stop_ = now(); }
    std::int64_t Elapsed() const { return stop_ - start_; }
    std::int64_t ElapsedNow()
    {
        Stop();
        return Elapsed();
    }

private:
    static std::int64_t now()
    {
        using namespace std::chrono;
        return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    }
    std::int64_t start_ = 0;
    std::int64_t stop_ = 0;
};

} // namespace pitwall
