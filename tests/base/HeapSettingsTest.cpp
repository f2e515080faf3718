#include "base/HeapSettings.h"

#include <gtest/gtest.h>

#include <cstdlib>

#if defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__)
#include <malloc.h>
#endif

// A picture of megabytes comes from the heap, not a mapping of its own that
// is returned to the system (and faulted in afresh) as soon as it is freed.
TEST(HeapSettings, PicturesOfMegabytesComeFromTheHeap)
{
#if defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__)
    pitwall::UseLargeBlockHeap();
    const std::size_t mappedBefore = ::mallinfo2().hblks;
    void* picture = std::malloc(24u << 20);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(::mallinfo2().hblks, mappedBefore);
    std::free(picture);
#else
    GTEST_SKIP() << "glibc's heap only";
#endif
}
