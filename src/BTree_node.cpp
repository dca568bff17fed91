// B-tree nodes: construction, node-local insertion and removal, the root
// tracker, search, and insertion with node splitting.
#include <cstdint>
#include <iostream>
#include <new>

#include "BTree.h"

Node* const invalid_ptr = reinterpret_cast<Node*>(~std::uintptr_t{0});

// Defined after invalid_ptr in this file, so it is initialised after it.
Node::Elem Node::m_failure(-1, nullptr, invalid_ptr);

Node* Node::create(RootTracker& tracker, int requested_slots) {
    const int slot_count = slot_count_for(requested_slots);
    void* block =
        ::operator new(sizeof(Node) + sizeof(Elem) * static_cast<std::size_t>(slot_count));
    return new (block) Node(tracker, requested_slots, slot_count);
}

// Runs inside the block create() allocated, whose tail holds the slots.
Node::Node(RootTracker& tracker, int requested_slots, int slot_count)
    : m_elements(reinterpret_cast<Elem*>(this + 1)),
      m_count(0),
      m_max_count(requested_slots),
      m_parent(nullptr),
      m_root_tracker(tracker),
      m_capacity(slot_count) {
    for (int i = 0; i < slot_count; ++i) {
        new (&m_elements[i]) Elem();
    }
    insert_zeroth_subtree(null_ptr);
}

int Node::minimum_keys() const {
    const int usable = capacity() - 1;
    int half = usable / 2;
    if (2 * half < usable) {
        ++half;
    }
    return half - 1;
}

void Node::insert_zeroth_subtree(Node* subtree) {
    m_elements[0].m_key = -1;
    m_elements[0].m_subtree = subtree;
    m_count = 1;
    if (subtree != null_ptr) {
        subtree->m_parent = this;
    }
}

Node* Node::find_root() {
    Node* node = this;
    while (node->m_parent != nullptr) {
        node = node->m_parent;
    }
    return node;
}

Node::Elem& Node::smallest_key_in_subtree() {
    if (is_leaf()) {
        return m_elements[1];
    }
    return m_elements[0].m_subtree->smallest_key_in_subtree();
}

bool Node::vector_insert(const Elem& e) {
    return insert_sorted(e, capacity() - 1);
}

bool Node::vector_insert_for_split(const Elem& e) {
    return insert_sorted(e, capacity());
}

// Shifts larger keys up one slot and drops e into the gap. The scan never
// moves the zeroth element, so every int key is placed soundly; an equal key
// stays in front of e.
bool Node::insert_sorted(const Elem& e, int full_count) {
    if (m_count >= full_count) {
        return false;
    }
    const Elem element = e;
    int slot = m_count;
    while (slot > 1 && m_elements[slot - 1].m_key > element.m_key) {
        m_elements[slot] = m_elements[slot - 1];
        --slot;
    }
    if (element.m_subtree != null_ptr) {
        element.m_subtree->m_parent = this;
    }
    m_elements[slot] = element;
    ++m_count;
    return true;
}

void Node::remove_at(int position) {
    for (int slot = position; slot < m_count - 1; ++slot) {
        m_elements[slot] = m_elements[slot + 1];
    }
    --m_count;
}

bool Node::vector_delete(const Elem& e) {
    if (key_count() < 1) {
        return false;
    }
    const int key = e.m_key;  // read before any shift: e may be one of our slots
    int lo = 1;
    int hi = m_count - 1;
    narrow(key, lo, hi);
    if (m_elements[lo].m_key == key) {
        remove_at(lo);
    } else if (m_elements[hi].m_key == key) {
        remove_at(hi);
    } else {
        return false;
    }
    return true;
}

bool Node::vector_delete(int index) {
    if (index < 0 || index >= m_count) {
        return false;
    }
    remove_at(index);
    return true;
}

int Node::delete_all_subtrees() {
    int released = 0;
    for (int i = 0; i < m_count; ++i) {
        Node* child = m_elements[i].m_subtree;
        if (child == null_ptr) {
            continue;
        }
        if (child->is_leaf()) {
            ++released;
        } else {
            released += child->delete_all_subtrees();
        }
        delete child;
    }
    return released;
}

RootTracker::RootTracker() : m_diagnostics(&std::cerr) {}

void RootTracker::set_root(Node* old_root, Node* new_root) {
    if (m_root != old_root) {
        throw "wrong old_root in RootTracker::set_root";
    }
    m_root = new_root;
}

RootTracker::~RootTracker() {
    if (m_root != null_ptr) {
        m_root->delete_all_subtrees();
        delete m_root;
    }
}

// The last node visited is kept in a local and stored into `where` on the
// way out, so that the descent does not write memory on every level.
Node::Elem& Node::search(const Elem& e, Node*& where) {
    if (m_count == 1) {
        return m_failure;
    }
    const int key = e.m_key;
    Node* node = this;
    Node* visited = this;
    while (node != null_ptr) {
        visited = node;
        Elem* elements = node->m_elements;
        if (node->m_count > 1 && key < elements[1].m_key) {
            node = elements[0].m_subtree;
            continue;
        }
        const int last = node->m_count - 1;
        if (key > elements[last].m_key) {
            node = elements[last].m_subtree;
            continue;
        }
        int lo = 1;
        int hi = last;
        node->narrow(key, lo, hi);
        if (elements[lo].m_key == key) {
            where = visited;
            return elements[lo];
        }
        if (elements[hi].m_key == key) {
            where = visited;
            return elements[hi];
        }
        node = elements[hi].m_key > key ? elements[lo].m_subtree : elements[hi].m_subtree;
    }
    where = visited;
    return m_failure;
}

bool Node::tree_insert(const Elem& e) {
    Node* where = this;
    const Elem& found = search(e, where);
    if (found.m_subtree != invalid_ptr) {
        return false;
    }
    if (where->vector_insert(e)) {
        return true;
    }
    return where->split_insert(e);
}

bool Node::split_insert(const Elem& e) {
    if (m_count != capacity() - 1) {
        throw "bad m_count in split_insert";
    }
    vector_insert_for_split(e);
    int middle = m_count / 2;
    if (2 * middle < m_count) {
        ++middle;
    }

    Node* sibling = create(m_root_tracker, m_max_count);
    Elem median = m_elements[middle];
    sibling->insert_zeroth_subtree(median.m_subtree);
    median.m_subtree = sibling;
    for (int j = middle + 1; j < m_count; ++j) {
        sibling->vector_insert(m_elements[j]);
    }
    sibling->m_count = m_count - middle;
    m_count = middle;
    sibling->m_parent = m_parent;

    if (m_parent != nullptr) {
        if (!m_parent->vector_insert(median)) {
            m_parent->split_insert(median);
        }
        return true;
    }
    Node* new_root = create(m_root_tracker, m_max_count);
    new_root->insert_zeroth_subtree(this);
    m_parent = new_root;
    sibling->m_parent = new_root;
    new_root->vector_insert(median);
    m_root_tracker.set_root(m_root_tracker.m_root, new_root);
    new_root->m_parent = nullptr;
    return true;
}
