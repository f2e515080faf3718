#pragma once
// Decodes and encodes again, on several threads, the art-bank entries an
// expansion enlarges, and hands the encoded streams back in entry order. The
// work per entry is independent; only the order of the results matters. The
// entries decoded ahead of the one asked for are bounded, so a bank is never
// held in memory as a whole.

#include "formats/ArtBankDirectory.h"
#include "formats/ArtPicture.h"
#include "formats/FileRange.h"

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace pitwall {

class ArtEntryReencoder {
public:
    // `entries`: the indices of the entries to encode again, ascending.
    // workers 0: one per core; 1: each entry is encoded by next() on the
    // calling thread. `maxAheadBytes` bounds the pixels (2 bytes each) of the
    // entries being worked on or waiting to be taken.
    ArtEntryReencoder(std::string_view bankFile, const ArtDirectory& directory, std::vector<std::size_t> entries,
                      unsigned workers = 0, std::uint64_t maxAheadBytes = 16u << 20);
    ~ArtEntryReencoder();
    ArtEntryReencoder(const ArtEntryReencoder&) = delete;
    ArtEntryReencoder& operator=(const ArtEntryReencoder&) = delete;

    // The encoded stream of the next entry of the list, waiting for it when
    // needed. Rethrows what encoding that entry threw (a file error).
    std::vector<std::uint8_t> next();
    // Gives a stream next() returned back for its storage to be used again
    // (fresh memory costs a page fault every 4 KB).
    void recycle(std::vector<std::uint8_t> stream);

private:
    struct Slot {
        std::optional<std::vector<std::uint8_t>> encoded;
        std::exception_ptr failure;
    };
    // Each thread reads through its own reader, opened once.
    struct Input {
        std::optional<FileRangeReader> reader;
        std::vector<std::uint8_t> data;
        ArtPicture picture;
    };
    void encode(std::size_t k, Input& input, std::vector<std::uint8_t>& stream);
    std::uint64_t cost(std::size_t k) const;
    void work();

    std::string bankFile_;
    const ArtDirectory& directory_;
    std::vector<std::size_t> entries_;
    std::uint64_t maxAheadBytes_;
    std::vector<Slot> slots_;
    std::size_t taken_ = 0;
    Input callerInput_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::size_t started_ = 0;
    std::uint64_t aheadBytes_ = 0;
    std::vector<std::vector<std::uint8_t>> spare_;
    bool stopping_ = false;
    std::vector<std::thread> workers_;
};

} // namespace pitwall
