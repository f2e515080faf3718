#include "transfer/MemberDeflater.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <stdexcept>
#include <utility>
#include <zlib.h>

namespace pitwall {

DeflatedMember DeflateMember(const std::vector<std::uint8_t>& bytes)
{
    DeflatedMember out;
    out.size = bytes.size();
    // zlib counts in unsigned int: large members go through in slices.
    constexpr std::size_t kSlice = 1u << 30;
    uLong crc = crc32(0L, Z_NULL, 0);
    for (std::size_t at = 0; at < bytes.size(); at += kSlice) {
        std::size_t n = std::min(kSlice, bytes.size() - at);
        crc = crc32(crc, bytes.data() + at, static_cast<uInt>(n));
    }
    out.crc = static_cast<std::uint32_t>(crc);

    z_stream stream{};
    // libzip's deflate: level 9, raw (no zlib header), 32 KB window, memory level 9.
    if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, MAX_MEM_LEVEL, Z_DEFAULT_STRATEGY) != Z_OK)
        throw std::runtime_error("Cannot start compressing a carset member");
    out.compressed.resize(deflateBound(&stream, static_cast<uLong>(std::min<std::size_t>(bytes.size(), ULONG_MAX))));
    std::size_t inAt = 0;
    int status = Z_OK;
    while (status != Z_STREAM_END) {
        if (stream.avail_in == 0 && inAt < bytes.size()) {
            std::size_t n = std::min(kSlice, bytes.size() - inAt);
            stream.next_in = const_cast<Bytef*>(bytes.data() + inAt);
            stream.avail_in = static_cast<uInt>(n);
            inAt += n;
        }
        std::size_t produced = stream.total_out;
        if (produced == out.compressed.size())
            out.compressed.resize(out.compressed.size() + (1u << 20));
        stream.next_out = out.compressed.data() + produced;
        stream.avail_out = static_cast<uInt>(std::min(kSlice, out.compressed.size() - produced));
        status = deflate(&stream, inAt == bytes.size() ? Z_FINISH : Z_NO_FLUSH);
        if (status != Z_OK && status != Z_STREAM_END && status != Z_BUF_ERROR) {
            deflateEnd(&stream);
            throw std::runtime_error("Cannot compress a carset member");
        }
    }
    out.compressed.resize(stream.total_out);
    out.compressed.shrink_to_fit();
    deflateEnd(&stream);
    return out;
}

MemberDeflater::MemberDeflater(unsigned workers, std::size_t maxWaitingBytes, std::function<void()> waiting)
    : maxWaitingBytes_(maxWaitingBytes), waiting_(std::move(waiting))
{
    if (workers == 0)
        workers = std::max(1u, std::thread::hardware_concurrency());
    workers_.reserve(workers);
    for (unsigned i = 0; i < workers; ++i)
        workers_.emplace_back([this] { work(); });
}

MemberDeflater::~MemberDeflater()
{
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        jobs_.clear();
    }
    changed_.notify_all();
    for (auto& w : workers_)
        w.join();
}

void MemberDeflater::add(std::vector<std::uint8_t> bytes, std::shared_ptr<DeflatedMember> result)
{
    std::unique_lock lock(mutex_);
    // A member larger than the bound still goes in once nothing else waits.
    waitUntil(lock, [&] { return waitingBytes_ == 0 || waitingBytes_ + bytes.size() <= maxWaitingBytes_; });
    waitingBytes_ += bytes.size();
    jobs_.push_back({std::move(bytes), std::move(result)});
    lock.unlock();
    changed_.notify_all();
}

template <typename Ready>
void MemberDeflater::waitUntil(std::unique_lock<std::mutex>& lock, Ready ready)
{
    if (!waiting_) {
        changed_.wait(lock, ready);
        return;
    }
    while (!changed_.wait_for(lock, std::chrono::milliseconds(50), ready)) {
        lock.unlock();
        waiting_();
        lock.lock();
    }
}

void MemberDeflater::finish()
{
    std::unique_lock lock(mutex_);
    waitUntil(lock, [&] { return jobs_.empty() && running_ == 0; });
    if (failure_)
        std::rethrow_exception(std::exchange(failure_, nullptr));
}

void MemberDeflater::work()
{
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [&] { return stopping_ || !jobs_.empty(); });
        if (stopping_)
            return;
        Job job = std::move(jobs_.front());
        jobs_.pop_front();
        ++running_;
        lock.unlock();
        std::exception_ptr failure;
        try {
            *job.result = DeflateMember(job.bytes);
        } catch (...) {
            failure = std::current_exception();
        }
        std::size_t size = job.bytes.size();
        job = {};
        lock.lock();
        waitingBytes_ -= size;
        --running_;
        if (failure && !failure_)
            failure_ = failure;
        changed_.notify_all();
    }
}

} // namespace pitwall
