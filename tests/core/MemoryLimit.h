#pragma once
// Whether a piece of code gets by without a large allocation: it runs in a
// forked child whose address space may grow only a little beyond what the
// test process has mapped already, so a reader that allocates for a claimed
// size before checking it fails there (std::bad_alloc, or death) instead of
// taking the machine's memory. The limit never touches the test process.
//
// Under AddressSanitizer (which maps terabytes of shadow memory) and off
// POSIX systems the child cannot be limited; the helper says so and the test
// runs the code in-process instead.

#include <cstddef>
#include <cstdio>
#include <functional>
#include <optional>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define PITWALL_TEST_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define PITWALL_TEST_ASAN 1
#endif

#if defined(__unix__) && !defined(PITWALL_TEST_ASAN)
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace pitwall::test {

// The child's verdict: body() returned true (and nothing threw). Nothing when
// no limited child can be made here.
inline std::optional<bool> WithinMemory(std::size_t headroomBytes, const std::function<bool()>& body)
{
#if defined(__unix__) && !defined(PITWALL_TEST_ASAN)
    unsigned long long pages = 0;
    std::FILE* statm = std::fopen("/proc/self/statm", "r");
    if (!statm)
        return std::nullopt;
    const bool read = std::fscanf(statm, "%llu", &pages) == 1;
    std::fclose(statm);
    if (!read)
        return std::nullopt;
    const auto mapped = static_cast<rlim_t>(pages) * static_cast<rlim_t>(sysconf(_SC_PAGESIZE));
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child < 0)
        return std::nullopt;
    if (child == 0) {
        const rlimit limit{mapped + headroomBytes, mapped + headroomBytes};
        int code = 2;
        if (setrlimit(RLIMIT_AS, &limit) == 0) {
            try {
                code = body() ? 0 : 1;
            } catch (...) {
                code = 3;
            }
        }
        _exit(code);
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child)
        return std::nullopt;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
#else
    (void)headroomBytes;
    (void)body;
    return std::nullopt;
#endif
}

// Runs `body` in a limited child where one can be made, else in-process.
inline bool PassesWithinMemory(std::size_t headroomBytes, const std::function<bool()>& body)
{
    if (auto verdict = WithinMemory(headroomBytes, body))
        return *verdict;
    return body();
}

} // namespace pitwall::test
