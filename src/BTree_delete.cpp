// B-tree deletion: removal through the in-order successor, the repair loop
// that restores minimum fill, and its borrowing and merging steps.
#include <ostream>

#include "BTree.h"

bool Node::delete_element(const Elem& e) {
    Node* where = null_ptr;
    Elem& found = search(e, where);
    if (found.m_subtree == invalid_ptr) {
        return false;
    }
    if (where->is_leaf() && where->key_count() > where->minimum_keys()) {
        return where->vector_delete(e);
    }
    if (!where->is_leaf()) {
        // Copy the successor up first: the inner call's argument is the
        // successor's own leaf slot, which its removal overwrites.
        Elem& successor = found.m_subtree->smallest_key_in_subtree();
        found.m_key = successor.m_key;
        found.m_payload = successor.m_payload;
        found.m_subtree->delete_element(successor);
        return true;
    }
    where->vector_delete(e);
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
            node = node->rotate_from_right(index);
            continue;
        }
        Node* left = node->left_sibling(index);
        if (left != null_ptr && left->key_count() > left->minimum_keys()) {
            node = node->rotate_from_left(index);
        } else if (right != null_ptr) {
            node = node->merge_right(index);
        } else if (left != null_ptr) {
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
    return m_parent->m_elements[index + 1].m_subtree;
}

Node* Node::left_sibling(int& index) {
    index = index_has_subtree();
    if (index == -1 || index == 0) {
        return null_ptr;
    }
    return m_parent->m_elements[index - 1].m_subtree;
}

int Node::index_has_subtree() {
    if (m_parent == nullptr) {
        return -1;
    }
    const Node* parent = m_parent;
    if (key_count() == 0) {
        for (int i = 0; i < parent->m_count; ++i) {
            if (parent->m_elements[i].m_subtree == this) {
                return i;
            }
        }
    }
    // A keyless node bisects on whatever its slot 1 last held (and fails).
    const int smallest = capacity() > 1 ? m_elements[1].m_key : -1;
    int lo = 0;
    int hi = parent->key_count();
    parent->narrow(smallest, lo, hi);
    if (parent->m_elements[lo].m_subtree == this) {
        return lo;
    }
    if (parent->m_elements[hi].m_subtree == this) {
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
            out << parent->m_elements[i].m_key << "# ";
        }
        if (parent->m_elements[i].m_subtree == this) {
            out << " but found at index " << i;
        }
        out << std::endl;
    }
    throw "error in index_has_subtree";
}

Node* Node::rotate_from_right(int index) {
    Node* parent = m_parent;
    Elem separator = parent->m_elements[index + 1];
    Node* right = separator.m_subtree;
    separator.m_subtree = right->m_elements[0].m_subtree;
    parent->m_elements[index + 1] = right->m_elements[1];
    parent->m_elements[index + 1].m_subtree = right;
    vector_insert(separator);
    right->vector_delete(0);
    right->m_elements[0].m_key = -1;
    right->m_elements[0].m_payload = nullptr;
    return null_ptr;
}

Node* Node::rotate_from_left(int index) {
    Node* parent = m_parent;
    Elem separator = parent->m_elements[index];
    Node* left = parent->m_elements[index - 1].m_subtree;
    const Elem& largest = left->m_elements[left->m_count - 1];
    separator.m_subtree = m_elements[0].m_subtree;
    m_elements[0].m_subtree = largest.m_subtree;
    if (largest.m_subtree != null_ptr) {
        largest.m_subtree->m_parent = this;
    }
    parent->m_elements[index] = largest;
    parent->m_elements[index].m_subtree = this;
    vector_insert(separator);
    left->vector_delete(left->m_count - 1);
    return null_ptr;
}

Node* Node::merge_right(int index) {
    Node* parent = m_parent;
    Elem separator = parent->m_elements[index + 1];
    Node* right = separator.m_subtree;
    absorb(separator, right);
    parent->vector_delete(index + 1);
    delete right;
    return finish_merge(parent, this);
}

Node* Node::merge_left(int index) {
    Node* parent = m_parent;
    Node* left = parent->m_elements[index - 1].m_subtree;
    left->absorb(parent->m_elements[index], this);
    parent->vector_delete(index);
    Node* next = finish_merge(parent, left);
    delete this;  // nothing of this node is read from here on
    return next;
}

// Appends the separator, carrying right_node's leftmost child, then every
// key of right_node; all of them exceed this node's keys.
void Node::absorb(Elem separator, const Node* right_node) {
    separator.m_subtree = right_node->m_elements[0].m_subtree;
    vector_insert(separator);
    for (int j = 1; j < right_node->m_count; ++j) {
        vector_insert(right_node->m_elements[j]);
    }
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
    delete old_root;
    survivor->m_parent = nullptr;
}
