// A small map added the way README's "Add your own map" shows: the tests and
// a benchmark build register it to show that everything shared covers it.
#pragma once

#include <algorithm>
#include <iterator>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "map_kinds.h"

// Unsorted pairs searched from the front: small, slow and plainly correct.
class ListMap : public Map {
public:
    int size() const override { return static_cast<int>(m_pairs.size()); }
    bool insert(int key, Data* data) override {
        if (position(key) != m_pairs.end()) {
            return false;
        }
        m_pairs.emplace_back(key, data);
        return true;
    }
    bool erase(int key) override {
        const auto found = position(key);
        if (found == m_pairs.end()) {
            return false;
        }
        m_pairs.erase(found);
        return true;
    }
    bool member(int key) const override { return position(key) != m_pairs.end(); }
    Data* find(int key) const override {
        const auto found = position(key);
        return found == m_pairs.end() ? nullptr : found->second;
    }
    void print() const override {}

    // The entries from `from` on in key order: sorted afresh for each scan.
    template <typename Visit>
    int scan(int from, int count, Visit&& visit) const {
        Pairs from_on;
        std::copy_if(m_pairs.begin(), m_pairs.end(), std::back_inserter(from_on),
                     [from](const auto& pair) { return pair.first >= from; });
        std::sort(from_on.begin(), from_on.end());
        const int visited = std::max(0, std::min(count, static_cast<int>(from_on.size())));
        for (int i = 0; i < visited; ++i) {
            visit(from_on[i].first, from_on[i].second);
        }
        return visited;
    }

    // Each key at most once.
    std::string checkInvariants() const {
        std::set<int> keys;
        for (const auto& pair : m_pairs) {
            if (!keys.insert(pair.first).second) {
                return "key " + std::to_string(pair.first) + " held twice";
            }
        }
        return "";
    }

private:
    using Pairs = std::vector<std::pair<int, Data*>>;
    Pairs::const_iterator position(int key) const {
        return std::find_if(m_pairs.begin(), m_pairs.end(),
                            [key](const auto& pair) { return pair.first == key; });
    }
    Pairs::iterator position(int key) {
        return std::find_if(m_pairs.begin(), m_pairs.end(),
                            [key](const auto& pair) { return pair.first == key; });
    }

    Pairs m_pairs;
};

// Adds ListMap to the list of map kinds; returns true.
inline bool registerListMap() {
    registerMapKind(MapKind(
                        "ListMap", [](int) { return std::make_unique<ListMap>(); },
                        checkerOf(&ListMap::checkInvariants))
                        .withScan(scanOf<ListMap>()));
    return true;
}
