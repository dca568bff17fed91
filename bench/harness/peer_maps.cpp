#include "peer_maps.h"

#include <algorithm>
#include <iostream>
#include <map>
#include <unordered_map>
#include <vector>

#ifdef MAPBENCH_HAVE_ABSL
#include <absl/container/btree_map.h>
#endif

namespace {

// Any associative container with emplace, erase(key), find and end.
template <typename Container>
class AssociativePeer : public Map {
public:
    int size() const override { return static_cast<int>(m_entries.size()); }
    bool insert(int key, Data* data) override { return m_entries.emplace(key, data).second; }
    bool erase(int key) override { return m_entries.erase(key) == 1; }
    bool member(int key) const override { return m_entries.find(key) != m_entries.end(); }
    Data* find(int key) const override {
        const auto found = m_entries.find(key);
        return found == m_entries.end() ? nullptr : found->second;
    }
    void print() const override { std::cout << "size=" << size() << std::endl; }

    // The ordered containers only.
    int scan(int from, int count, ScanTally& tally) const {
        int visited = 0;
        for (auto at = m_entries.lower_bound(from); visited < count && at != m_entries.end();
             ++at, ++visited) {
            tally.add(at->first, at->second);
        }
        return visited;
    }

private:
    Container m_entries;
};

using StdMapPeer = AssociativePeer<std::map<int, Data*>>;
#ifdef MAPBENCH_HAVE_ABSL
using AbslBtreePeer = AssociativePeer<absl::btree_map<int, Data*>>;
#endif

class SortedVectorPeer : public Map {
public:
    int size() const override { return static_cast<int>(m_entries.size()); }
    bool insert(int key, Data* data) override {
        const std::size_t at = position(key);
        if (holds(at, key)) {
            return false;
        }
        m_entries.insert(m_entries.begin() + at, Entry{key, data});
        return true;
    }
    bool erase(int key) override {
        const std::size_t at = position(key);
        if (!holds(at, key)) {
            return false;
        }
        m_entries.erase(m_entries.begin() + at);
        return true;
    }
    bool member(int key) const override { return holds(position(key), key); }
    Data* find(int key) const override {
        const std::size_t at = position(key);
        return holds(at, key) ? m_entries[at].data : nullptr;
    }
    void print() const override { std::cout << "size=" << size() << std::endl; }

    int scan(int from, int count, ScanTally& tally) const {
        if (count <= 0) {
            return 0;
        }
        const std::size_t first = position(from);
        const std::size_t end =
            first + std::min(static_cast<std::size_t>(count), m_entries.size() - first);
        for (std::size_t i = first; i < end; ++i) {
            tally.add(m_entries[i].key, m_entries[i].data);
        }
        return static_cast<int>(end - first);
    }

private:
    struct Entry {
        int key;
        Data* data;
    };

    // Index of the first entry whose key is not below `key`.
    std::size_t position(int key) const {
        const auto first =
            std::lower_bound(m_entries.begin(), m_entries.end(), key,
                             [](const Entry& entry, int k) { return entry.key < k; });
        return static_cast<std::size_t>(first - m_entries.begin());
    }
    bool holds(std::size_t at, int key) const {
        return at < m_entries.size() && m_entries[at].key == key;
    }

    std::vector<Entry> m_entries;
};

class FloorPeer : public Map {
public:
    int size() const override { return 0; }
    bool insert(int, Data*) override { return true; }
    bool erase(int) override { return false; }
    bool member(int) const override { return false; }
    Data* find(int) const override { return nullptr; }
    void print() const override {}
};

}  // namespace

std::unique_ptr<Map> makeStdMapPeer() {
    return std::make_unique<StdMapPeer>();
}

std::unique_ptr<Map> makeSortedVectorPeer() {
    return std::make_unique<SortedVectorPeer>();
}

std::unique_ptr<Map> makeUnorderedMapPeer() {
    return std::make_unique<AssociativePeer<std::unordered_map<int, Data*>>>();
}

std::unique_ptr<Map> makeAbslBtreePeer() {
#ifdef MAPBENCH_HAVE_ABSL
    return std::make_unique<AbslBtreePeer>();
#else
    return nullptr;
#endif
}

std::unique_ptr<Map> makeFloorPeer() {
    return std::make_unique<FloorPeer>();
}

int scanSortedVectorPeer(const Map& map, int from, int count, ScanTally& tally) {
    return static_cast<const SortedVectorPeer&>(map).scan(from, count, tally);
}

int scanStdMapPeer(const Map& map, int from, int count, ScanTally& tally) {
    return static_cast<const StdMapPeer&>(map).scan(from, count, tally);
}

int scanAbslBtreePeer(const Map& map, int from, int count, ScanTally& tally) {
#ifdef MAPBENCH_HAVE_ABSL
    return static_cast<const AbslBtreePeer&>(map).scan(from, count, tally);
#else
    (void)map, (void)from, (void)count, (void)tally;
    return 0;
#endif
}
