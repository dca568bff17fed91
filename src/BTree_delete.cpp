// B-tree deletion: delete_element (removal through the in-order successor),
// repair_underflow (the loop that restores minimum fill) and its steps:
// rotate_from_right, rotate_from_left, merge_right and merge_left.
#include <ostream>

#include "BTree.h"
#include "step_counts.h"

// The node and slot that one descent finds locate the key for remove_at,
// so the key is not sought twice; an inner key is first replaced by its
// in-order successor, which then leaves its leaf.
bool Node::delete_element(const Elem& e) {
    if (m_count == 1) {
        return false;
    }
    const Landing landing = descend(e.m_key, Purpose::update);
    if (!landing.found) {
        return false;
    }
    Node* where = const_cast<Node*>(landing.node);  // a node of this non-const tree
    if (where->is_leaf() && where->key_count() > where->minimum_keys()) {
        where->remove_at(landing.slot);
        return true;
    }
    if (!where->is_leaf()) {
        // The successor's key and payload move up before its leaf loses it.
        Node* right = where->subtrees()[landing.slot];
        const Elem moved = right->smallest_key_in_subtree().value();
        where->set_key(landing.slot, moved.m_key);
        where->set_payload(landing.slot, moved.m_payload);
        right->delete_element(moved);
        return true;
    }
    where->remove_at(landing.slot);
    repair_underflow(where);
    return true;
}

// Borrowing beats merging and the right sibling beats the left, in both.
// A node with no sibling can only be a keyless inner non-root node, which no
// repair step leaves behind; the loop ends there rather than spin.
void Node::repair_underflow(Node* node) {
    int index = -1;
    while (node != null_ptr) {
        if (node->is_root()) {
            if (node->is_leaf()) {
                return;
            }
            throw "node should not be root in delete_element loop";
        }
        Node* right = node->right_sibling(index);
        if (right != null_ptr && right->key_count() > right->minimum_keys()) {
            countEvent(&MapEvents::borrows);
            node = node->rotate_from_right(index);
            continue;
        }
        Node* left = node->left_sibling(index);
        if (left != null_ptr && left->key_count() > left->minimum_keys()) {
            countEvent(&MapEvents::borrows);
            node = node->rotate_from_left(index);
        } else if (right != null_ptr) {
            countEvent(&MapEvents::merges);
            node = node->merge_right(index);
        } else if (left != null_ptr) {
            countEvent(&MapEvents::merges);
            node = node->merge_left(index);
        } else {
            return;
        }
    }
}

Node* Node::right_sibling(int& index) {
    index = index_has_subtree();
    if (index == -1 || index >= m_parent->key_count()) {
        return null_ptr;
    }
    return m_parent->subtree(index + 1);
}

Node* Node::left_sibling(int& index) {
    index = index_has_subtree();
    if (index == -1 || index == 0) {
        return null_ptr;
    }
    return m_parent->subtree(index - 1);
}

// The bisection over the parent's keys (rank) ends with lo at the last key
// not above this node's smallest key, and hi one further (or lo itself when
// the parent has no key); the node must hang under one of the two.
int Node::index_has_subtree() {
    if (m_parent == nullptr) {
        return -1;
    }
    const Node* parent = m_parent;
    if (key_count() == 0) {
        for (int i = 0; i < parent->m_count; ++i) {
            if (parent->subtree(i) == this) {
                return i;
            }
        }
    }
    // A keyless node bisects on whatever its slot 1 last held (and fails).
    const int smallest = capacity() > 1 ? key(1) : -1;
    const int lo = parent->rank(smallest);
    const int hi = lo < parent->key_count() ? lo + 1 : lo;
    if (parent->subtree(lo) == this) {
        return lo;
    }
    if (parent->subtree(hi) == this) {
        return hi;
    }
    report_missing_in_parent(smallest);
}

void Node::report_missing_in_parent(int smallest_key) {
    const Node* parent = m_parent;
    std::ostream& out = *m_root_tracker.m_diagnostics;
    out << "node count " << key_count() << " smallest key=" << smallest_key
        << " parent count = " << parent->key_count() << "\n";
    for (int i = 0; i < parent->m_count; ++i) {
        if (i > 0) {
            out << parent->key(i) << "# ";
        }
        if (parent->subtree(i) == this) {
            out << " but found at index " << i;
        }
        out << std::endl;
    }
    throw "error in index_has_subtree";
}

Node* Node::rotate_from_right(int index) {
    Node* parent = m_parent;
    Elem separator = parent->element(index + 1);
    Node* right = separator.m_subtree;
    separator.m_subtree = right->subtree(0);
    parent->set_element(index + 1, Elem(right->key(1), right->payload(1), right));
    vector_insert(separator);
    right->vector_delete(0);
    right->set_key(0, -1);
    right->set_payload(0, nullptr);
    return null_ptr;
}

Node* Node::rotate_from_left(int index) {
    Node* parent = m_parent;
    Elem separator = parent->element(index);
    Node* left = parent->subtree(index - 1);
    const Elem largest = left->element(left->m_count - 1);
    separator.m_subtree = subtree(0);
    set_subtree(0, largest.m_subtree);
    if (largest.m_subtree != null_ptr) {
        largest.m_subtree->m_parent = this;
    }
    parent->set_element(index, Elem(largest.m_key, largest.m_payload, this));
    vector_insert(separator);
    left->vector_delete(left->m_count - 1);
    return null_ptr;
}

Node* Node::merge_right(int index) {
    Node* parent = m_parent;
    Elem separator = parent->element(index + 1);
    Node* right = separator.m_subtree;
    absorb(separator, right);
    parent->vector_delete(index + 1);
    recycle(right);
    return finish_merge(parent, this);
}

Node* Node::merge_left(int index) {
    Node* parent = m_parent;
    Node* left = parent->subtree(index - 1);
    left->absorb(parent->element(index), this);
    parent->vector_delete(index);
    Node* next = finish_merge(parent, left);
    recycle(this);  // nothing of this node is read from here on
    return next;
}

// Appends the separator, carrying right_node's leftmost child, then every
// key of right_node; all of them exceed this node's keys, so each lands at
// the end, as one sorted insertion after another would place it.
void Node::absorb(Elem separator, const Node* right_node) {
    separator.m_subtree = right_node->subtree(0);
    vector_insert(separator);
    append_from(*right_node, 1, right_node->m_count - 1);
}

// After a merge took a key from `parent`: collapses an emptied root onto the
// survivor, and returns the parent when it is a non-root now underfull.
Node* Node::finish_merge(Node* parent, Node* survivor) {
    if (parent->is_root()) {
        if (parent->key_count() == 0) {
            survivor->collapse_root(parent, survivor);
        }
        return null_ptr;
    }
    return parent->key_count() < parent->minimum_keys() ? parent : null_ptr;
}

// The emptied root gives way to its only child, the survivor of a merge.
void Node::collapse_root(Node* old_root, Node* survivor) {
    RootTracker& tracker = m_root_tracker;
    tracker.set_root(tracker.m_root, survivor);
    recycle(old_root);
    survivor->m_parent = nullptr;
}
