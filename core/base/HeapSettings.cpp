#include "base/HeapSettings.h"

#include "base/ParallelFor.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib> // defines __GLIBC__ where the C library is glibc

#if defined(__linux__)
#include <sys/mman.h>
#include <unistd.h>
#endif

#if defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__)
#include <malloc.h>
#endif

namespace pitwall {

// Decoding a JAM, a team sheet or the art bank touches tens of megabytes of
// memory. glibc gives a block of a few megabytes a mapping of its own and
// returns it to the system when it is freed, so the next picture's memory is
// fresh again: faulted in and zeroed by the system page by page (on a
// virtual machine several microseconds a page, half of a complete import's
// time). Blocks up to 32 MB (a decoded JAM, a team sheet, most game files)
// are taken from the heap instead, and up to 64 MB freed at its top stay
// there for the next picture.
//
// Transparent huge pages for the heap (glibc.malloc.hugetlb) are not asked
// for: on virtual machines that hand freed memory back to their host, each
// 2 MB page first touched costs the host's work as well: there the import
// part of a complete import took more than twice as long with them, an
// export a fifth longer.
void UseLargeBlockHeap()
{
#if defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__)
    ::mallopt(M_MMAP_THRESHOLD, 32 << 20);
    ::mallopt(M_TRIM_THRESHOLD, 64 << 20);
#endif
}

void PrefaultPages(const void* block, std::size_t size)
{
#if defined(__linux__) && defined(MADV_POPULATE_WRITE)
    // A 95 MB art bank made in memory took some 40 ms to zero-fill on one
    // core of a virtual machine, most of it faulting pages in; mapped
    // beforehand on two, the fill took 25 ms.
    const long pageSize = sysconf(_SC_PAGESIZE);
    if (pageSize <= 0 || !block)
        return;
    const auto page = static_cast<std::uintptr_t>(pageSize);
    const auto start = reinterpret_cast<std::uintptr_t>(block);
    const std::uintptr_t from = (start + page - 1) / page * page;
    const std::uintptr_t to = (start + size) / page * page;
    constexpr std::uintptr_t kPiece = 4u << 20;
    const std::size_t pieces = to > from ? static_cast<std::size_t>((to - from + kPiece - 1) / kPiece) : 0;
    ParallelFor(pieces, [&](std::size_t k) {
        const std::uintptr_t at = from + k * kPiece;
        // A failure (an older kernel, no memory left) only leaves the pages
        // to be faulted in as they are written.
        (void)madvise(reinterpret_cast<void*>(at), static_cast<std::size_t>(std::min(kPiece, to - at)),
                      MADV_POPULATE_WRITE);
    });
#else
    (void)block;
    (void)size;
#endif
}

} // namespace pitwall
