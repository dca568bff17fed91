// Replaces the global allocation functions so that the benchmark can weigh
// each map's heap use. Blocks come from malloc; the count adds the usable
// size of each block and the allocator's size header in front of it.
#include "heap_counter.h"

#include <malloc.h>

#include <cstdlib>
#include <new>

namespace {

std::size_t g_liveBytes = 0;

std::size_t weight(void* block) {
    return malloc_usable_size(block) + sizeof(std::size_t);
}

void* allocate(std::size_t size) {
    void* block = std::malloc(size == 0 ? 1 : size);
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    g_liveBytes += weight(block);
    return block;
}

void release(void* block) noexcept {
    if (block != nullptr) {
        g_liveBytes -= weight(block);
        std::free(block);
    }
}

}  // namespace

std::size_t liveHeapBytes() {
    return g_liveBytes;
}

void* operator new(std::size_t size) {
    return allocate(size);
}
void* operator new[](std::size_t size) {
    return allocate(size);
}
void operator delete(void* block) noexcept {
    release(block);
}
void operator delete[](void* block) noexcept {
    release(block);
}
void operator delete(void* block, std::size_t) noexcept {
    release(block);
}
void operator delete[](void* block, std::size_t) noexcept {
    release(block);
}
