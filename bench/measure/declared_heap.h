// The heap every timed region starts from, the same for every contender.
// On this kind of virtual machine a page the process touches for the first
// time costs about 14 us (4 KiB pages), so a run that grows the heap pays
// for its pages on top of its map's work, and a process's first run pays
// what later ones find already mapped. The declared heap takes that out:
//   - glibc's malloc keeps every byte it frees (no trimming) and serves
//     large blocks from the heap too (no blocks mapped on their own), so
//     memory a process has touched stays touched;
//   - before each run, the process holds at least `reserve` bytes of free
//     heap that it has touched, all its free memory consolidated;
//   - what a run takes beyond that, it takes once: the Google Benchmark
//     programs run each benchmark untimed first (the library's warm-up),
//     and its later builds reuse the memory the warm-up freed.
// Each run records the page faults it took (machine_load.h), so that a run
// that touched fresh pages after all shows. Elsewhere than glibc only the
// reserve is touched.
#pragma once

#include <cstddef>

class DeclaredHeap {
public:
    explicit DeclaredHeap(std::size_t reserve);

    // Consolidates the free memory and touches the reserve again; after a
    // release, every free page of the heap too, so that a run after a cold
    // one takes no page of the heap fresh.
    void restore() const;

    // Gives every free page back to the system, so that the next
    // allocations touch fresh pages (the cold suites).
    static void release();

    std::size_t reserve() const { return m_reserve; }

private:
    static void touchFreePages();

    std::size_t m_reserve;
    static inline bool s_released = false;  // since the last restore
};

// The reserve of the Google Benchmark programs: above the largest map at
// 1e5 records with its records (about 10 MB), so that a run's measured
// iterations up to 1e5 find their pages touched even without the warm-up.
constexpr std::size_t kBenchReserveBytes = std::size_t{32} << 20;
// The reserve of the programs that time single calls, which have no warm-up
// and count every call: above the largest map of `largestSize` records with
// its records (std::map's, 96 bytes an entry, is the largest), and at least
// the Google Benchmark programs' reserve.
constexpr std::size_t latencyReserve(std::size_t largestSize) {
    return largestSize * 160 > kBenchReserveBytes ? largestSize * 160 : kBenchReserveBytes;
}
