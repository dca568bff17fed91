// The B-tree map: the Map operations over the tracked root, its size and
// printout, and the diagnostic node dump.
#include "BTree.h"

#include <climits>
#include <iostream>

namespace {

// order + 1 slots, kept within int for the largest orders; a node of that
// size cannot be allocated anyway and fails with std::bad_alloc.
int slots_for_order(int order) {
    const int clamped = order < 3 ? 3 : order;
    return clamped < INT_MAX ? clamped + 1 : INT_MAX;
}

}  // namespace

BTree::BTree(int order) : m_root_tracker(std::make_unique<RootTracker>()) {
    m_root_tracker->set_root(null_ptr,
                             Node::create(*m_root_tracker, slots_for_order(order), NodeKind::leaf));
}

BTree::~BTree() = default;

int BTree::size() const {
    return size_r(root());
}

bool BTree::insert(int key, Data* data) {
    return root()->tree_insert(Node::Elem(key, data, null_ptr));
}

bool BTree::erase(int key) {
    return root()->delete_element(Node::Elem(key, nullptr, null_ptr));
}

// A miss is the failure sentinel itself, so that every key, -1 included,
// and every payload, null included, behaves alike.
bool BTree::member(int key) const {
    const Node* root_node = root();
    const Node* where = root_node;
    return !root_node->search(Node::Elem(key, nullptr, null_ptr), where).is_failure();
}

Data* BTree::find(int key) const {
    const Node* root_node = root();
    const Node* where = root_node;
    const Node::ConstPosition found = root_node->search(Node::Elem(key, nullptr, null_ptr), where);
    if (found.is_failure() || found.key() != key) {
        return nullptr;
    }
    return static_cast<Data*>(found.payload());
}

void BTree::print(std::ostream& out) const {
    out << "size=" << size() << " ";
    print_r(out, root());
    out << std::endl;
}

void BTree::print() const {
    print(std::cout);
}

int size_r(const Node* node) {
    int keys = node->m_count - 1;
    for (int i = 0; i < node->m_count; ++i) {
        if (node->subtree(i) != null_ptr) {
            keys += size_r(node->subtree(i));
        }
    }
    return keys;
}

void print_r(std::ostream& out, const Node* node) {
    if (node == null_ptr) {
        return;
    }
    out << "(";
    const int last = node->m_count - 1;
    for (int i = 1; i <= last; ++i) {
        if (node->subtree(i - 1) != null_ptr) {
            print_r(out, node->subtree(i - 1));
            out << " ";
        }
        out << node->key(i);
        if (i != last) {
            out << " ";
        }
    }
    if (node->subtree(last) != null_ptr) {
        out << " ";
        print_r(out, node->subtree(last));
    }
    out << ")";
}

void Node::dump(std::ostream& out) const {
    if (m_root_tracker.m_root == this) {
        out << "ROOT\n";
    }
    out << "\nthis=" << static_cast<const void*>(this) << std::endl;
    out << "parent=" << static_cast<const void*>(m_parent) << " count=" << m_count << std::endl;
    for (int i = 0; i < m_count; ++i) {
        element(i).dump(out);
    }
    for (int i = 0; i < m_count; ++i) {
        if (subtree(i) != null_ptr) {
            subtree(i)->dump(out);
        }
    }
    out << std::endl;
}
