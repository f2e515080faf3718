#include "formats/ArtEntryReencoder.h"

#include "formats/ArtEntryCodec.h"
#include "formats/FileRange.h"

#include <algorithm>
#include <system_error>
#include <utility>

namespace pitwall {

ArtEntryReencoder::ArtEntryReencoder(std::string_view bankFile, const ArtDirectory& directory,
                                     std::vector<std::size_t> entries, unsigned workers, std::uint64_t maxAheadBytes)
    : bankFile_(bankFile),
      directory_(directory),
      entries_(std::move(entries)),
      maxAheadBytes_(maxAheadBytes),
      slots_(entries_.size())
{
    if (workers == 0)
        workers = std::max(1u, std::thread::hardware_concurrency());
    if (workers == 1)
        return;
    workers = static_cast<unsigned>(std::min<std::size_t>(workers, entries_.size()));
    workers_.reserve(workers);
    // Where the system gives fewer threads, those started do the work; with
    // none, next() encodes on the calling thread.
    for (unsigned i = 0; i < workers; ++i) {
        try {
            workers_.emplace_back([this] { work(); });
        } catch (const std::system_error&) {
            break;
        }
    }
}

ArtEntryReencoder::~ArtEntryReencoder()
{
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    for (auto& w : workers_)
        w.join();
}

std::uint64_t ArtEntryReencoder::cost(std::size_t k) const { return directory_.entries[entries_[k]].uncodedSize(); }

void ArtEntryReencoder::encode(std::size_t k, Input& input, std::vector<std::uint8_t>& stream)
{
    const std::size_t i = entries_[k];
    const ArtEntry& e = directory_.entries[i];
    if (!input.reader)
        input.reader.emplace(bankFile_);
    input.reader->read(e.dataOffset, e.reservedSize, input.data);
    DecodeArtEntry(input.data, e.width, e.height, UsesSingleWordKeys(i), input.picture);
    EncodeArtEntry(input.picture, UsesSingleWordKeys(i), stream);
}

std::vector<std::uint8_t> ArtEntryReencoder::next()
{
    const std::size_t k = taken_++;
    if (workers_.empty()) {
        std::vector<std::uint8_t> stream;
        if (!spare_.empty()) {
            stream = std::move(spare_.back());
            spare_.pop_back();
        }
        encode(k, callerInput_, stream);
        return stream;
    }
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return slots_[k].encoded || slots_[k].failure; });
    Slot slot = std::move(slots_[k]);
    slots_[k] = {};
    aheadBytes_ -= cost(k);
    lock.unlock();
    changed_.notify_all();
    if (slot.failure)
        std::rethrow_exception(slot.failure);
    return std::move(*slot.encoded);
}

void ArtEntryReencoder::recycle(std::vector<std::uint8_t> stream)
{
    // Every stream came from a slot, so the spares never outnumber the
    // entries the bound lets be ahead.
    std::lock_guard lock(mutex_);
    spare_.push_back(std::move(stream));
}

void ArtEntryReencoder::work()
{
    Input input;
    std::unique_lock lock(mutex_);
    for (;;) {
        // Entries start in list order, so the one next() waits for has always
        // started or may start: with nothing ahead of it, it is let through
        // whatever its size.
        changed_.wait(lock, [&] {
            return stopping_ || started_ == entries_.size() || aheadBytes_ == 0
                || aheadBytes_ + cost(started_) <= maxAheadBytes_;
        });
        if (stopping_ || started_ == entries_.size())
            return;
        const std::size_t k = started_++;
        aheadBytes_ += cost(k);
        std::vector<std::uint8_t> stream;
        if (!spare_.empty()) {
            stream = std::move(spare_.back());
            spare_.pop_back();
        }
        lock.unlock();
        Slot slot;
        try {
            encode(k, input, stream);
            slot.encoded = std::move(stream);
        } catch (...) {
            slot.failure = std::current_exception();
        }
        lock.lock();
        slots_[k] = std::move(slot);
        changed_.notify_all();
    }
}

} // namespace pitwall
