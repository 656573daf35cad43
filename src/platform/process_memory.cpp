#include "platform/process_memory.h"

#include <malloc.h>

namespace kx::platform {

void keepFreedMemoryForReuse()
{
    // The largest threshold the allocator accepts: blocks up to it come from the heap, which
    // is kept, rather than from mappings of their own, which are returned when freed.
    constexpr int largestHeapBlock = 32 << 20;
    constexpr int keptAtTopOfHeap = 1 << 30;
    mallopt(M_MMAP_THRESHOLD, largestHeapBlock);
    mallopt(M_TRIM_THRESHOLD, keptAtTopOfHeap);
}

}  // namespace kx::platform
