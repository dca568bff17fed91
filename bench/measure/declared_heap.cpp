#include "declared_heap.h"

#include <cstdlib>
#include <vector>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace {

constexpr std::size_t kPage = 4096;

// Writes one byte a page, through a volatile pointer so that the compiler
// cannot drop the allocation it belongs to.
void touch(char* block, std::size_t bytes) {
    volatile char* pages = block;
    for (std::size_t offset = 0; offset < bytes; offset += kPage) {
        pages[offset] = 1;
    }
}

}  // namespace

DeclaredHeap::DeclaredHeap(std::size_t reserve) : m_reserve(reserve) {
#if defined(__GLIBC__)
    // -1 becomes the largest threshold: the top of the heap is never trimmed.
    mallopt(M_TRIM_THRESHOLD, -1);
    mallopt(M_MMAP_MAX, 0);
#endif
    restore();
}

void DeclaredHeap::restore() const {
    if (s_released) {
        touchFreePages();
        s_released = false;
    }
    // A request this large makes malloc consolidate its free chunks first.
    if (void* block = std::malloc(m_reserve)) {
        touch(static_cast<char*>(block), m_reserve);
        std::free(block);
    }
}

void DeclaredHeap::release() {
#if defined(__GLIBC__)
    malloc_trim(0);
    s_released = true;
#endif
}

// A release gives back the whole pages of every free chunk, wherever it
// lies in the heap. Taking page-sized blocks until the heap has to grow
// takes every such chunk (malloc serves a request from its free chunks
// before it grows the heap: the declared heap maps no block on its own), and
// touching them maps their pages again; then they are all freed.
void DeclaredHeap::touchFreePages() {
#if defined(__GLIBC__)
    std::vector<void*> taken;
    const std::size_t free = mallinfo2().fordblks;
    taken.reserve(free / kPage + 1);
    for (std::size_t held = 0; held < free; held += kPage) {
        void* block = std::malloc(kPage);
        if (block == nullptr) {
            break;
        }
        touch(static_cast<char*>(block), kPage);
        taken.push_back(block);
    }
    for (void* block : taken) {
        std::free(block);
    }
#endif
}
