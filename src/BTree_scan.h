// The B-tree's ordered scan. In key order an inner node's element i comes
// after every key of the subtree of element i - 1 and before every key of its
// own subtree: element 0's subtree, key 1, element 1's subtree, key 2, ...
// The scan descends once to where `from` is or belongs and keeps the path it
// took; when a leaf is done it climbs back along that path to the next key
// of an inner node, visits it and goes down that key's subtree to its
// leftmost leaf. Included by BTree.h.
#pragma once

#include <algorithm>

template <typename Visit>
int Node::scan_from(int from, int count, Visit& visit) const {
    // An inner node above the walk and its element to visit once the subtree
    // being walked is done. Every node but a leaf has at least two children,
    // so a tree of h levels holds at least 2^(h - 1) keys: one whose size is
    // an int has at most 32 levels, 31 of them inner.
    struct Resume {
        const Node* node;
        int slot;
    };
    constexpr int kMaxInnerLevels = 31;
    Resume path[kMaxInnerLevels];
    int depth = 0;

    // The descent: `leaf` and `slot` are where the walk starts, or `leaf` is
    // null when `from` sits in an inner node, which then waits on the path.
    const Node* leaf = this;
    int slot = 1;
    const int fetched = fetched_lines();
    for (;;) {
        const int at = leaf->rank(from);
        const bool found = at > 0 && leaf->key(at) == from;
        if (leaf->is_leaf()) {
            slot = found ? at : at + 1;
            break;
        }
        if (found) {
            path[depth++] = {leaf, at};
            leaf = nullptr;
            break;
        }
        path[depth++] = {leaf, at + 1};
        leaf = leaf->subtrees()[at];
        if (fetched != 0) {
            btree_prefetch::first_lines(leaf, fetched);
        }
    }

    int visited = 0;
    for (;;) {
        if (leaf != nullptr) {
            const int take = std::min(count - visited, leaf->m_count - slot);
            const int* keys = leaf->keys();
            void* const* payloads = leaf->payloads();
            for (int i = slot; i < slot + take; ++i) {
                visit(keys[i], static_cast<Data*>(payloads[i]));
            }
            visited += take;
            if (visited == count) {
                return visited;
            }
        }
        Resume next;
        do {
            if (depth == 0) {
                return visited;
            }
            next = path[--depth];
        } while (next.slot >= next.node->m_count);
        visit(next.node->key(next.slot), static_cast<Data*>(next.node->payload(next.slot)));
        if (++visited == count) {
            return visited;
        }
        path[depth++] = {next.node, next.slot + 1};
        leaf = next.node->subtrees()[next.slot];
        while (!leaf->is_leaf()) {
            path[depth++] = {leaf, 1};
            leaf = leaf->subtrees()[0];
        }
        slot = 1;
    }
}
