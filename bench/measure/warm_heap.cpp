#include "warm_heap.h"

#include <climits>
#include <cstring>
#include <memory>
#include <vector>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

void warmHeap(std::size_t bytes) {
#if defined(__GLIBC__)
    mallopt(M_TRIM_THRESHOLD, INT_MAX);
#endif
    constexpr std::size_t kBlock = 1024;
    std::vector<std::unique_ptr<char[]>> blocks(bytes / kBlock);
    for (std::unique_ptr<char[]>& block : blocks) {
        block = std::make_unique<char[]>(kBlock);
        std::memset(block.get(), 1, kBlock);
    }
}
