#pragma once
// Large pictures and whole game files with huge pages: see the .cpp.

namespace pitwall {

// Starts the program again, once, with glibc's malloc backed by transparent
// huge pages, where the system offers them. Returns (doing nothing) when the
// setting is already in place, cannot take effect or the restart fails; on a
// successful restart it does not return. Call it first thing in main().
void RestartWithHugePageMalloc(char** argv);

} // namespace pitwall
