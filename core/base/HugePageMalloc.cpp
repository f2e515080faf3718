#include "base/HugePageMalloc.h"

#include <cstdlib>
#include <fstream>
#include <string>

#if defined(__linux__) && defined(__GLIBC__)
#include <unistd.h>
#endif

namespace pitwall {

// Decoding a JAM, a team sheet or the art bank touches tens of megabytes of
// fresh memory; with 4 KB pages much of a complete import or apply goes into
// taking the first touch of each page (on a virtual machine several
// microseconds each). glibc can back its heap and large blocks with 2 MB
// transparent huge pages, but reads that setting (GLIBC_TUNABLES) only when
// a process starts, so the program starts itself once more with it added.
// Blocks up to 32 MB (a decoded JAM, a team sheet, most game files) are also
// taken from that heap instead of a fresh mapping each: a mapping of a few
// megabytes is too small or misaligned for huge pages and is faulted in 4 KB
// at a time again after every free (half of a complete import's time). Up to
// 64 MB freed at the top of the heap stay there for the next picture instead
// of going back to the system and being faulted in and zeroed again.
// Sanitizer builds bring their own allocator and skip this.
void RestartWithHugePageMalloc(char** argv)
{
#if defined(__linux__) && defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__)
    constexpr const char* kSetting = "glibc.malloc.hugetlb=1"
                                     ":glibc.malloc.mmap_threshold=33554432"
                                     ":glibc.malloc.trim_threshold=67108864";
    const char* current = std::getenv("GLIBC_TUNABLES");
    const std::string before = current ? current : "";
    if (!argv || !argv[0] || before.find("glibc.malloc.hugetlb") != std::string::npos)
        return;
    // Only where the system hands out huge pages on request.
    std::ifstream mode("/sys/kernel/mm/transparent_hugepage/enabled");
    std::string modes;
    if (!std::getline(mode, modes) || modes.find("[never]") != std::string::npos)
        return;
    const std::string after = before.empty() ? kSetting : before + ":" + kSetting;
    if (::setenv("GLIBC_TUNABLES", after.c_str(), 1) != 0)
        return;
    ::execv("/proc/self/exe", argv);
    // Still here: go on with the ordinary allocator and environment.
    if (current)
        ::setenv("GLIBC_TUNABLES", before.c_str(), 1);
    else
        ::unsetenv("GLIBC_TUNABLES");
#else
    (void)argv;
#endif
}

} // namespace pitwall
