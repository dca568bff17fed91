// Replaces the global allocation functions, the aligned ones included, so
// that map_memory can weigh each map's heap use. Blocks come from malloc
// and aligned_alloc; the count adds each block's usable size and the
// allocator's size header in front of it.
#include "heap_counter.h"

#include <malloc.h>

#include <cstdlib>
#include <new>

namespace {

std::size_t g_liveBytes = 0;

std::size_t weight(void* block) {
    return malloc_usable_size(block) + sizeof(std::size_t);
}

void* counted(void* block) {
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    g_liveBytes += weight(block);
    return block;
}

void* allocate(std::size_t size) {
    return counted(std::malloc(size == 0 ? 1 : size));
}

void* allocateAligned(std::size_t size, std::align_val_t alignment) {
    const std::size_t align = static_cast<std::size_t>(alignment);
    const std::size_t rounded = (size + align - 1) / align * align;
    return counted(std::aligned_alloc(align, rounded == 0 ? align : rounded));
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
void* operator new(std::size_t size, std::align_val_t alignment) {
    return allocateAligned(size, alignment);
}
void* operator new[](std::size_t size, std::align_val_t alignment) {
    return allocateAligned(size, alignment);
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
void operator delete(void* block, std::align_val_t) noexcept {
    release(block);
}
void operator delete[](void* block, std::align_val_t) noexcept {
    release(block);
}
void operator delete(void* block, std::size_t, std::align_val_t) noexcept {
    release(block);
}
void operator delete[](void* block, std::size_t, std::align_val_t) noexcept {
    release(block);
}
