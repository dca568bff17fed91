// The B-tree's descent: from a node down to the node holding a key, or to
// the leaf it belongs in, one bisection per node. As soon as the descent
// knows the next node it asks for every cache line that node's visit reads,
// so that they arrive together, about one memory round trip a level, rather
// than one after another as the bisection reaches them. Included by BTree.h,
// so that a lookup compiles into one function.
#pragma once

#include <cstddef>
#include <utility>

namespace btree_prefetch {

constexpr std::size_t kCacheLine = 64;
// The most lines fetched of one node: all that a visit reads up to order
// 160; of larger nodes the keys and the first of their subtrees or payloads.
constexpr int kMostLines = 32;
// Trees of fewer bytes than two of a core's L2 caches are not fetched
// ahead: they stay in the caches (in L2, or in the L3 close by), where a
// prefetch only takes the fill buffers that the lookups' own loads need. At
// 1e5 keys, order 128, the prefetches took 26 to 31 % of a find's time on a
// machine with 2 MiB of L2, where the tree fits in it; on one with 1 MiB,
// where it fits in two, fetching it ahead cost 15 % more time a find
// ([1.00, 1.33]) and 24 % more instructions. The L2 size is the machine's
// own, read once from the C library (a threshold of 2 MiB where it tells
// none).
std::size_t smallest_fetched_tree();
// Takes `bytes` as the L2 size instead of the machine's (0: the machine's
// again), for every tree made after the call: a count under a simulated
// cache, whose processor states a cache of its own, fetches ahead as a
// machine of those caches would.
void assume_l2_bytes(std::size_t bytes);
// Nor are nodes whose visit reads fewer bytes (orders below 20): their two
// or three lines come as fast on demand, and fetching them ahead cost the
// mix of order 3 at 1e5 keys 7 % of its time.
constexpr std::size_t kSmallestFetchedNode = 256;

// Inlined by force: GCC counts a function that only prefetches as having no
// effect, and drops the calls to it.
template <std::size_t... Line>
__attribute__((always_inline)) inline void lines(const char* node, std::index_sequence<Line...>) {
    (__builtin_prefetch(node + Line * kCacheLine), ...);
}

template <std::size_t Count>
void first_lines(const char* node) {
    lines(node, std::make_index_sequence<Count>{});
}

using Fetch = void (*)(const char*);

template <typename Counts>
struct Table;

template <std::size_t... Count>
struct Table<std::index_sequence<Count...>> {
    static constexpr Fetch fetches[] = {first_lines<Count>...};
};

// Asks for the first `count` lines of a node (0 .. kMostLines): one
// indirect call, the same for every node of a tree, and one prefetch a line.
// A prefetch never faults.
inline void first_lines(const void* node, int count) {
    Table<std::make_index_sequence<kMostLines + 1>>::fetches[count](static_cast<const char*>(node));
}

}  // namespace btree_prefetch

inline int Node::fetched_lines() const {
    return m_root_tracker.m_fetched_lines;
}

inline int Node::lines_to_fetch() const {
    const std::size_t visited = visited_bytes(m_capacity);
    if (visited < btree_prefetch::kSmallestFetchedNode ||
        m_root_tracker.m_nodes * visited < btree_prefetch::smallest_fetched_tree()) {
        return 0;
    }
    // A node need not start on a line, so its bytes may reach into one more.
    const std::size_t lines =
        (visited + 2 * btree_prefetch::kCacheLine - 1) / btree_prefetch::kCacheLine;
    return lines < btree_prefetch::kMostLines ? static_cast<int>(lines)
                                              : btree_prefetch::kMostLines;
}

// At each node: with edge checks, a key below the first key goes on under
// element 0 and a key above the last under the last element; otherwise the
// bisection finds the last key not above the one sought, and a hit there
// ends the search, a miss goes on under that element. Checks and bisection
// select the same element and child; the checks only reach them sooner.
//
// Every node below a sound tree's root holds a key; only the start node is
// asked whether it has none.
template <bool checks_edges, bool fetches>
Node::Landing Node::descend_from(int key, int fetched) const {
    const Node* node = this;
    for (;;) {
        const int* keys = node->keys();
        const int last = node->m_count - 1;
        int below;
        // A key that the edge checks route is one of keys arriving in order:
        // the next node is the one the last key went to, in the cache
        // already, and fetching it ahead would only cost the prefetches.
        bool fetch_next = fetches;
        if (checks_edges && key < keys[1]) {
            below = 0;
            fetch_next = false;
        } else if (checks_edges && key > keys[last]) {
            below = last;
            fetch_next = false;
        } else {
            const int* at = node->bisect(key);
            const int slot = static_cast<int>(at - keys);
            if (*at == key) {
                return Landing{node, slot, true};
            }
            below = slot - (*at > key ? 1 : 0);
        }
        if (node->is_leaf()) {
            return Landing{node, below, false};
        }
        node = node->subtrees()[below];
        if (fetch_next) {
            btree_prefetch::first_lines(node, fetched);
        }
    }
}

// Insertions and removals in trees whose nodes hold at least this many keys
// when full (orders from 9) first check the key against a node's first and
// last key. Keys that arrive in order (ascending or descending insertion, a
// FIFO window) fall below the first or above the last key of every node they
// pass, a branch the processor learns at once, where the bisection would run
// in full. Lookups go straight to the bisection: on random keys the checks
// read one more line per node (the last key's) and learn nothing. In smaller
// nodes the checks cost more than they save. Every node of a tree has the
// same capacity, so the choice is made once per descent.
inline Node::Landing Node::descend(int key, Purpose purpose) const {
    constexpr int kKeysForEdgeChecks = 8;
    if (m_count == 1) {
        return Landing{this, 0, false};
    }
    const int fetched = fetched_lines();  // every node of a tree has one capacity
    if (purpose == Purpose::update && capacity() - 2 >= kKeysForEdgeChecks) {
        return fetched != 0 ? descend_from<true, true>(key, fetched)
                            : descend_from<true, false>(key, 0);
    }
    return fetched != 0 ? descend_from<false, true>(key, fetched)
                        : descend_from<false, false>(key, 0);
}

inline Node::ConstPosition Node::search(const Elem& e, const Node*& where) const {
    if (m_count == 1) {
        return ConstPosition::failure();
    }
    const Landing landing = descend(e.m_key, Purpose::lookup);
    where = landing.node;
    return landing.found ? ConstPosition(landing.node, landing.slot) : ConstPosition::failure();
}
