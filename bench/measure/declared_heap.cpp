#include "declared_heap.h"

#include <cstdlib>

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
    // A request this large makes malloc consolidate its free chunks first.
    if (void* block = std::malloc(m_reserve)) {
        touch(static_cast<char*>(block), m_reserve);
        std::free(block);
    }
}

void DeclaredHeap::release() {
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}
