#include "transfer/MemberDeflater.h"

#include <algorithm>
#include <chrono>
#include <stdexcept>
#include <utility>
#include <libdeflate.h>

namespace pitwall {

namespace {

struct CompressorDeleter {
    void operator()(libdeflate_compressor* c) const { libdeflate_free_compressor(c); }
};
using Compressor = std::unique_ptr<libdeflate_compressor, CompressorDeleter>;

Compressor LevelNineCompressor()
{
    Compressor compressor(libdeflate_alloc_compressor(9));
    if (!compressor)
        throw std::runtime_error("Cannot start compressing a carset member (out of memory)");
    return compressor;
}

DeflatedMember Deflate(libdeflate_compressor& compressor, const std::vector<std::uint8_t>& bytes)
{
    DeflatedMember out;
    out.size = bytes.size();
    out.crc = libdeflate_crc32(0, bytes.data(), bytes.size());
    // The bound is what deflate can need at worst (stored blocks). It is
    // left uninitialised: pages of it that are never written are never
    // touched, where a vector would first zero all of them.
    const std::size_t bound = libdeflate_deflate_compress_bound(&compressor, bytes.size());
    const std::unique_ptr<std::uint8_t[]> buffer(new std::uint8_t[bound]);
    const std::size_t written =
        libdeflate_deflate_compress(&compressor, bytes.data(), bytes.size(), buffer.get(), bound);
    if (written == 0)
        throw std::runtime_error("Cannot compress a carset member");
    out.compressed.assign(buffer.get(), buffer.get() + written);
    return out;
}

} // namespace

DeflatedMember DeflateMember(const std::vector<std::uint8_t>& bytes)
{
    return Deflate(*LevelNineCompressor(), bytes);
}

std::uint64_t InflatableLength(std::uint64_t size)
{
    // Stored blocks: 5 bytes of header for each 65,535 bytes, and a final
    // empty block; 1 KB more for anything a writer adds.
    return size + (size / 65535 + 2) * 5 + 1024;
}

std::optional<std::vector<std::uint8_t>> InflateMember(const std::vector<std::uint8_t>& compressed,
                                                       std::uint64_t size, std::uint32_t crc)
{
    struct DecompressorDeleter {
        void operator()(libdeflate_decompressor* d) const { libdeflate_free_decompressor(d); }
    };
    const std::unique_ptr<libdeflate_decompressor, DecompressorDeleter> decompressor(libdeflate_alloc_decompressor());
    if (!decompressor)
        throw std::runtime_error("Cannot start unpacking a carset member (out of memory)");
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    // Without a length to return, only a stream that fills the buffer
    // exactly succeeds.
    if (libdeflate_deflate_decompress(decompressor.get(), compressed.data(), compressed.size(), bytes.data(),
                                      bytes.size(), nullptr)
            != LIBDEFLATE_SUCCESS
        || libdeflate_crc32(0, bytes.data(), bytes.size()) != crc)
        return std::nullopt;
    return bytes;
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
    // The worker's own compressor, its tables set up once for all the
    // members it takes.
    Compressor compressor;
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
            if (!compressor)
                compressor = LevelNineCompressor();
            *job.result = Deflate(*compressor, job.bytes);
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
