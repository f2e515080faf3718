#pragma once
// How the heap holds large blocks: see the .cpp.

namespace pitwall {

// Keeps blocks of up to 32 MB and up to 64 MB of freed memory in the heap
// (glibc), instead of giving each large block a mapping of its own. Elsewhere
// nothing. Call it first thing in main(), before the first large block.
void UseLargeBlockHeap();

} // namespace pitwall
