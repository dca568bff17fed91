// The declared heap: after a cold run gave the heap's free pages back, the
// next restore maps them again, so that the run after it touches none
// fresh. Only glibc's malloc keeps and gives back pages so; a sanitizer's
// allocator does neither.
#include "declared_heap.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr std::size_t kBlock = 512;
constexpr std::size_t kCount = 40000;  // about 20 MiB

long minorFaults() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt;
}

// What a map of many small nodes does to the heap: takes blocks and writes
// them.
void build(std::vector<void*>& blocks, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        blocks.push_back(std::malloc(kBlock));
        std::memset(blocks.back(), 1, kBlock);
    }
}

// Frees all but every `kept`-th block (none kept for 0).
void tearDown(std::vector<void*>& blocks, std::vector<void*>& held, std::size_t kept = 0) {
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        if (kept != 0 && i % kept == 0) {
            held.push_back(blocks[i]);
        } else {
            std::free(blocks[i]);
        }
    }
    blocks.clear();
}

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
#else
constexpr bool kSanitized = false;
#endif

}  // namespace

TEST(DeclaredHeap, ARunAfterAColdOneFindsEveryFreePageOfTheHeapTouched) {
#if !defined(__GLIBC__)
    GTEST_SKIP() << "only glibc's malloc keeps and gives back pages so";
#endif
    if (kSanitized) {
        GTEST_SKIP() << "a sanitizer's allocator keeps no such heap";
    }
    // A reserve smaller than the map, so that the map's pages lie beyond it.
    const DeclaredHeap heap(std::size_t{1} << 20);
    std::vector<void*> map;
    std::vector<void*> held;
    map.reserve(kCount);
    held.reserve(kCount);
    // A map that leaves a few nodes behind (another run's), so that its free
    // memory lies between them, inside the heap.
    build(map, kCount);
    tearDown(map, held, 64);
    heap.restore();
    // A warm run: everything it takes is touched.
    long before = minorFaults();
    build(map, kCount);
    EXPECT_LT(minorFaults() - before, 64);
    tearDown(map, held);
    // A cold run gives those pages back; the restore after it maps them again.
    DeclaredHeap::release();
    heap.restore();
    before = minorFaults();
    build(map, kCount);
    EXPECT_LT(minorFaults() - before, 64);
    tearDown(map, held);
    for (void* block : held) {
        std::free(block);
    }
}
