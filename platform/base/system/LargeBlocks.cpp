#include "base/system/LargeBlocks.h"

#include <malloc.h>

namespace base {

void returnLargeBlocksToSystem()
{
    // Setting either threshold turns off glibc's raising of both; the trim threshold gives the top of the heap
    // back as readily.
    constexpr int largeBlock = 128 * 1024;
    mallopt(M_MMAP_THRESHOLD, largeBlock);
    mallopt(M_TRIM_THRESHOLD, largeBlock);
}

} // namespace base
