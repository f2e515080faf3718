#include "base/HeapSettings.h"

#include <cstdlib> // defines __GLIBC__ where the C library is glibc

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

} // namespace pitwall
