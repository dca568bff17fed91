// The heap grown once before any timed run, and kept: a process that times
// several maps in turn would otherwise have its first runs pay the page
// faults of memory the later runs find already mapped, and the run order
// would decide who pays them.
#pragma once

#include <cstddef>

// Raises glibc's trim threshold so that freed memory stays with the process,
// then allocates `bytes` in small blocks, writes them and frees them. Blocks
// of the mmap threshold (128 KiB) and more still come fresh from the system
// each time. Does nothing beyond the allocation elsewhere than glibc.
void warmHeap(std::size_t bytes);

// The size the latency programs warm: more than the largest map they fill.
constexpr std::size_t kWarmHeapBytes = std::size_t{256} << 20;
