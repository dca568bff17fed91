// Live heap bytes of the process, counted by its replacement of the global
// operator new and delete. Only map_memory links it: no timed or counted
// run pays for the counting.
#pragma once

#include <cstddef>

// Bytes the heap spends on the live allocations: each block's usable size
// plus the allocator's per-block header.
std::size_t liveHeapBytes();
