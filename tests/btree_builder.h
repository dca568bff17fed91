// Builds B-trees of a chosen shape node by node, and reads a tree back in
// the map's parenthesised form, for tests of single B-tree steps.
#pragma once

#include <initializer_list>
#include <memory>
#include <string>
#include <utility>

#include "BTree.h"
#include "stdout_capture.h"

struct NodeRelease {
    void operator()(Node* node) const { Node::release(node); }
};
using LooseNode = std::unique_ptr<Node, NodeRelease>;

// A node outside any tree, released when the owner goes.
inline LooseNode looseNode(RootTracker& tracker, int requested_slots,
                           NodeKind kind = NodeKind::leaf) {
    return LooseNode(Node::create(tracker, requested_slots, kind));
}

class TreeBuilder {
public:
    explicit TreeBuilder(int order) : m_slots(order + 1) {}

    Node* leaf(std::initializer_list<int> keys) {
        Node* node = Node::create(tracker, m_slots, NodeKind::leaf);
        for (int key : keys) {
            node->vector_insert(Node::Elem(key, nullptr, null_ptr));
        }
        return node;
    }

    // An inner node whose zeroth child is `first`, then (key, child) pairs.
    Node* inner(Node* first, std::initializer_list<std::pair<int, Node*>> rest) {
        Node* node = Node::create(tracker, m_slots, NodeKind::inner);
        node->insert_zeroth_subtree(first);
        for (const auto& [key, child] : rest) {
            node->vector_insert(Node::Elem(key, nullptr, child));
        }
        return node;
    }

    Node* plant(Node* root) {
        tracker.set_root(null_ptr, root);
        return root;
    }

    Node* root() const { return tracker.m_root; }

    // "size=N (...)" as BTree::print writes it, without the line end.
    std::string shape() const {
        return "size=" + std::to_string(size_r(root())) + " " +
               writtenBy([this](std::ostream& out) { print_r(out, root()); });
    }

    bool erase(int key) { return root()->delete_element(Node::Elem(key, nullptr, null_ptr)); }

    RootTracker tracker;

private:
    int m_slots;
};

// The map's printout without its line end.
inline std::string shapeOf(const BTree& tree) {
    std::string printed = writtenBy([&](std::ostream& out) { tree.print(out); });
    printed.pop_back();
    return printed;
}
