#pragma once
// How the heap holds large blocks: see the .cpp.

#include <cstddef>

namespace pitwall {

// Keeps blocks of up to 32 MB and up to 64 MB of freed memory in the heap
// (glibc), instead of giving each large block a mapping of its own. Elsewhere
// nothing. Call it first thing in main(), before the first large block.
void UseLargeBlockHeap();

// Has the system map the pages of a large block just taken (reserved, not
// yet written) on every core at once, so that filling it does not then fault
// them in one at a time on one thread. Only a hint: where the system cannot
// (not Linux, or before 5.14), nothing happens.
void PrefaultPages(const void* block, std::size_t size);

} // namespace pitwall
