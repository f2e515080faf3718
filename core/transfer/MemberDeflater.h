#pragma once
// Deflates carset members on every core while the archive is being filled.
// Each member is raw deflate at level 9 by libdeflate: any zip reader takes
// it as it takes libzip's own (zlib's) level 9, the members come out about as
// small, and it takes about 45 % less time. The zip container is still
// written by libzip.
// Members waiting for a worker are held uncompressed; once more than a
// bounded amount waits, adding blocks until the workers have caught up, so
// a whole carset is never held in memory uncompressed.

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace pitwall {

// A member as it goes into the zip: its deflated bytes, with the size and
// CRC-32 of the data they stand for.
struct DeflatedMember {
    std::vector<std::uint8_t> compressed;
    std::uint64_t size = 0;
    std::uint32_t crc = 0;
};

// Raw deflate at level 9 (libdeflate), and the CRC-32.
DeflatedMember DeflateMember(const std::vector<std::uint8_t>& bytes);

// The most raw deflate bytes a member of `size` bytes is read from here: a
// stream of stored blocks with room to spare. Longer streams are valid but
// odd; the caller reads them another way rather than hold them whole.
std::uint64_t InflatableLength(std::uint64_t size);
// Raw deflate data inflated (libdeflate) to exactly `size` bytes whose
// CRC-32 is `crc`; nothing when the data is broken, stands for more or fewer
// bytes, or the CRC differs.
std::optional<std::vector<std::uint8_t>> InflateMember(const std::vector<std::uint8_t>& compressed,
                                                       std::uint64_t size, std::uint32_t crc);

class MemberDeflater {
public:
    // workers 0: one per core. `waiting`, when given, is called about every
    // 50 ms while add() or finish() waits for the workers (the desktop keeps
    // its windows painted there).
    explicit MemberDeflater(unsigned workers = 0, std::size_t maxWaitingBytes = 32u << 20,
                            std::function<void()> waiting = {});
    ~MemberDeflater();
    MemberDeflater(const MemberDeflater&) = delete;
    MemberDeflater& operator=(const MemberDeflater&) = delete;

    // Queues the bytes; the result is filled in by a worker. Blocks while
    // too many bytes wait. The result must outlive finish().
    void add(std::vector<std::uint8_t> bytes, std::shared_ptr<DeflatedMember> result);
    // Waits until every queued member is deflated. Rethrows the first
    // failure of a worker.
    void finish();

private:
    struct Job {
        std::vector<std::uint8_t> bytes;
        std::shared_ptr<DeflatedMember> result;
    };
    void work();
    // Waits under the lock until `ready`, calling waiting_ meanwhile.
    template <typename Ready>
    void waitUntil(std::unique_lock<std::mutex>& lock, Ready ready);

    std::size_t maxWaitingBytes_;
    std::function<void()> waiting_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Job> jobs_;
    std::size_t waitingBytes_ = 0;
    std::size_t running_ = 0;
    bool stopping_ = false;
    std::exception_ptr failure_;
    std::vector<std::thread> workers_;
};

} // namespace pitwall
