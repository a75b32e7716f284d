#include "common/Memory.h"

#include <malloc.h>

namespace paysum {

namespace {

// A window's backing store is a few megabytes; blocks up to this size come from the heap.
constexpr int kLargestHeapBlock = 32 * 1024 * 1024;
// Free memory at the top of the heap is kept up to this size.
constexpr int kKeptFreeMemory = 64 * 1024 * 1024;

}  // namespace

void KeepFreedMemoryForReuse() {
    // Fixed thresholds: glibc otherwise moves them with the history of the heap, so whether a
    // window's buffers are reused or faulted in anew would depend on what ran before it.
    mallopt(M_MMAP_THRESHOLD, kLargestHeapBlock);
    mallopt(M_TRIM_THRESHOLD, kKeptFreeMemory);
}

}  // namespace paysum
