// Live heap bytes of the benchmark process, counted by its replacement of
// the global operator new and delete.
#pragma once

#include <cstddef>

// Bytes the heap spends on the live allocations: each block's usable size
// plus the allocator's per-block header.
std::size_t liveHeapBytes();
