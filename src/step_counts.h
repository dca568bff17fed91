// Counts of the structural steps inside the maps' operations: B-tree splits,
// borrows and merges, AVL rotations, replacements and slab growth, entries
// a sorted array moves. They explain where an operation's time went, so a
// measurement build (MAPBENCH_COUNT_EVENTS defined) keeps them; in every
// other build countEvent is empty and compiles to nothing.
#pragma once

#include <cstdint>

struct MapEvents {
    std::uint64_t splits = 0;        // B-tree nodes split by an insertion
    std::uint64_t borrows = 0;       // B-tree keys moved in from a sibling
    std::uint64_t merges = 0;        // B-tree nodes merged into a sibling
    std::uint64_t rotations = 0;     // AVL single rotations (a double is two)
    std::uint64_t replacements = 0;  // AVL erasures of a node with two children
    std::uint64_t slabs = 0;         // AVL slot slabs taken from the heap
    std::uint64_t moved = 0;         // entries a sorted array shifts
};

#ifdef MAPBENCH_COUNT_EVENTS
inline constexpr bool kCountEvents = true;
#else
inline constexpr bool kCountEvents = false;
#endif

// The counts of this process, in a measurement build.
inline MapEvents& mapEvents() {
    static MapEvents events;
    return events;
}

inline void countEvent(std::uint64_t MapEvents::*event, std::uint64_t amount = 1) {
    if constexpr (kCountEvents) {
        mapEvents().*event += amount;
    }
}
