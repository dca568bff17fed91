// A map kept as one array of entries sorted by key, searched by bisection.
#pragma once

#include <algorithm>
#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

#include "map_interface.h"

struct VEntry {
    int key;
    Data* data;  // not owned, never dereferenced
};

// Searches entries[lo..hi], whose keys strictly ascend, for key. Returns the
// index of the entry holding it or, when none does, the bitwise complement of
// the index at which it would be inserted (always negative); lo > hi gives ~lo.
int binary_search(const VEntry* entries, int lo, int hi, int key);

class VectorMap : public Map {
public:
    VectorMap() = default;
    ~VectorMap() override = default;

    int size() const override;
    bool insert(int key, Data* data) override;
    bool erase(int key) override;
    bool member(int key) const override;
    Data* find(int key) const override;
    // One line: "size=N entries= " followed by each key and a comma.
    void print(std::ostream& out) const;
    void print() const override;

    // Describes the first broken invariant, or returns "" for a sound map.
    std::string checkInvariants() const;

    // Visits the entries from the first key not below `from`, in key order,
    // at most `count` of them: one bisection, then a walk along the array.
    template <typename Visit>
    int scan(int from, int count, Visit&& visit) const {
        if (count <= 0) {
            return 0;
        }
        const int found = search(from);
        const std::size_t first = static_cast<std::size_t>(found >= 0 ? found : ~found);
        const std::size_t end =
            first + std::min(static_cast<std::size_t>(count), entries.size() - first);
        // Two entries a round: the loop's own count and branch are paid once
        // per pair.
        const VEntry* entry = entries.data() + first;
        const VEntry* const pairsEnd = entry + ((end - first) & ~std::size_t{1});
        for (; entry != pairsEnd; entry += 2) {
            visit(entry[0].key, entry[0].data);
            visit(entry[1].key, entry[1].data);
        }
        if ((end - first) % 2 != 0) {
            visit(entry->key, entry->data);
        }
        return static_cast<int>(end - first);
    }

private:
    int search(int key) const;

    // Keys strictly ascending from index 0: each key is held once and the
    // array's length is the map's size.
    std::vector<VEntry> entries;
};
