#include "vector_map.h"

#include <iostream>

int binary_search(const VEntry* entries, int lo, int hi, int key) {
    while (lo <= hi) {
        // Summed in 64 bits: two large indices must not overflow.
        const int mid = static_cast<int>((static_cast<long long>(lo) + hi) / 2);
        if (key > entries[mid].key) {
            lo = mid + 1;
        } else if (key < entries[mid].key) {
            hi = mid - 1;
        } else {
            return mid;
        }
    }
    return ~lo;
}

int VectorMap::search(int key) const {
    return binary_search(entries.data(), 0, size() - 1, key);
}

int VectorMap::size() const {
    return static_cast<int>(entries.size());
}

bool VectorMap::insert(int key, Data* data) {
    const int found = search(key);
    if (found >= 0) {
        return false;
    }
    entries.insert(entries.begin() + ~found, VEntry{key, data});
    return true;
}

bool VectorMap::erase(int key) {
    const int found = search(key);
    if (found < 0) {
        return false;
    }
    entries.erase(entries.begin() + found);
    return true;
}

bool VectorMap::member(int key) const {
    return search(key) >= 0;
}

Data* VectorMap::find(int key) const {
    const int found = search(key);
    return found >= 0 ? entries[found].data : nullptr;
}

void VectorMap::print(std::ostream& out) const {
    out << "size=" << size() << " entries= ";
    for (const VEntry& entry : entries) {
        out << entry.key << ",";
    }
    out << std::endl;
}

void VectorMap::print() const {
    print(std::cout);
}

std::string VectorMap::checkInvariants() const {
    for (std::size_t i = 1; i < entries.size(); ++i) {
        if (entries[i - 1].key >= entries[i].key) {
            return "keys not strictly ascending at index " + std::to_string(i);
        }
    }
    return "";
}
