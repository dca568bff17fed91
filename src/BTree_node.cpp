// B-tree nodes: their layout and construction, node-local insertion and
// removal, the root tracker, search, and insertion with node splitting.
#include <cassert>
#include <cstdint>
#include <cstring>
#include <iostream>
#include <new>

#include <unistd.h>

#include "BTree.h"
#include "asan_poison.h"
#include "step_counts.h"

Node* const invalid_ptr = reinterpret_cast<Node*>(~std::uintptr_t{0});

namespace {

std::size_t twice_the_machines_l2() {
    constexpr std::size_t kWhereUnknown = std::size_t{2} << 20;
#if defined(_SC_LEVEL2_CACHE_SIZE)
    const long l2 = sysconf(_SC_LEVEL2_CACHE_SIZE);
    return l2 > 0 ? 2 * static_cast<std::size_t>(l2) : kWhereUnknown;
#else
    return kWhereUnknown;
#endif
}

std::size_t& smallest_fetched_bytes() {
    static std::size_t bytes = twice_the_machines_l2();
    return bytes;
}

}  // namespace

std::size_t btree_prefetch::smallest_fetched_tree() {
    return smallest_fetched_bytes();
}

void btree_prefetch::assume_l2_bytes(std::size_t bytes) {
    smallest_fetched_bytes() = bytes == 0 ? twice_the_machines_l2() : 2 * bytes;
}

// Defined after invalid_ptr in this file, so it is initialised after it.
const Node::Elem Node::m_failure(-1, nullptr, invalid_ptr);

// The arrays start right behind the header, whose size keeps them aligned;
// a 32-byte header leaves the first eight keys in the node's first cache
// line beside it.
static_assert(sizeof(Node) % alignof(void*) == 0, "node arrays must stay aligned");
static_assert(sizeof(Node) == 32, "the node header is 32 bytes: count, slots, parent, tracker");

std::size_t Node::bytes_for(int slot_count, NodeKind kind) {
    const std::size_t slots = static_cast<std::size_t>(slot_count);
    const std::size_t subtree_bytes = kind == NodeKind::inner ? sizeof(Node*) * slots : 0;
    return sizeof(Node) + key_bytes(slot_count) + subtree_bytes + sizeof(void*) * slots;
}

Node* Node::create(RootTracker& tracker, int requested_slots, NodeKind kind) {
    const int slot_count = slot_count_for(requested_slots);
    const std::size_t bytes = bytes_for(slot_count, kind);
    void* block = tracker.m_spares.take(bytes);
    if (block == nullptr) {
        block = allocate(bytes);
    }
    return new (block) Node(tracker, requested_slots, slot_count, kind);
}

void Node::release(Node* node) {
    node->~Node();
    deallocate(node);
}

void Node::recycle(Node* node) {
    const std::size_t bytes = node->bytes_of();
    SpareNodes& spares = node->m_root_tracker.m_spares;
    node->~Node();
    spares.give(node, bytes);
}

Node::~Node() {
    --m_root_tracker.m_nodes;
    m_root_tracker.m_fetched_lines = lines_to_fetch();
}

// Runs inside the block create() took, new or spare; its arrays start
// zeroed, so no slot is ever read uninitialised and a spare node keeps
// nothing of its past.
Node::Node(RootTracker& tracker, int requested_slots, int slot_count, NodeKind kind)
    : m_count(0),
      m_max_count(requested_slots),
      m_parent(nullptr),
      m_root_tracker(tracker),
      m_capacity(slot_count),
      m_subtrees_at(
          kind == NodeKind::leaf ? 0 : static_cast<int>(sizeof(Node) + key_bytes(slot_count))) {
    const std::size_t array_bytes = bytes_for(slot_count, kind) - sizeof(Node);
    std::memset(static_cast<void*>(this + 1), 0, array_bytes);
    insert_zeroth_subtree(null_ptr);
    ++tracker.m_nodes;
    tracker.m_fetched_lines = lines_to_fetch();
}

SpareNodes::~SpareNodes() {
    while (m_kept > 0) {
        const Block block = m_blocks[--m_kept];
        MAPBENCH_UNPOISON(block.at, block.bytes);
        Node::deallocate(block.at);
    }
}

void* SpareNodes::take(std::size_t bytes) {
    if (m_kept == 0 || m_blocks[m_kept - 1].bytes != bytes) {
        return nullptr;
    }
    const Block block = m_blocks[--m_kept];
    MAPBENCH_UNPOISON(block.at, block.bytes);
    return block.at;
}

void SpareNodes::give(void* node, std::size_t bytes) {
    if (m_kept == kMostKept) {
        Node::deallocate(node);
        return;
    }
    MAPBENCH_POISON(node, bytes);
    m_blocks[m_kept++] = Block{node, bytes};
}

void Node::set_subtree(int i, Node* subtree) {
    if (is_leaf()) {
        assert(subtree == null_ptr && "a leaf has no subtree slots");
        return;
    }
    subtrees()[i] = subtree;
}

void Node::set_element(int i, const Elem& e) {
    keys()[i] = e.m_key;
    payloads()[i] = e.m_payload;
    set_subtree(i, e.m_subtree);
}

void Node::insert_zeroth_subtree(Node* subtree) {
    keys()[0] = -1;
    set_subtree(0, subtree);
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

Node::Position Node::smallest_key_in_subtree() {
    Node* node = this;
    while (!node->is_leaf()) {
        node = node->subtrees()[0];
    }
    return Position(node, 1);
}

bool Node::vector_insert(const Elem& e) {
    return insert_sorted(e, capacity() - 1);
}

bool Node::vector_insert_for_split(const Elem& e) {
    return insert_sorted(e, capacity());
}

// Moves elements slot .. m_count - 1 up by one place.
void Node::open_gap(int slot) {
    shift(slot + 1, slot, m_count - slot);
}

namespace {

// Runs of up to this many slots are cheaper to copy by hand than to hand to
// memmove.
constexpr std::size_t kLargestHandCopy = 4;

template <typename T>
void move_slots(T* to, const T* from, std::size_t count) {
    if (count > kLargestHandCopy) {
        std::memmove(to, from, count * sizeof(T));
    } else if (to < from) {
        for (std::size_t i = 0; i < count; ++i) {
            to[i] = from[i];
        }
    } else {
        for (std::size_t i = count; i > 0; --i) {
            to[i - 1] = from[i - 1];
        }
    }
}

}  // namespace

// Moves `count` elements from slot `from` to slot `to`, every array at once.
void Node::shift(int to, int from, int count) {
    if (count <= 0) {
        return;
    }
    const std::size_t n = static_cast<std::size_t>(count);
    move_slots(keys() + to, keys() + from, n);
    void** payload = payloads();
    move_slots(payload + to, payload + from, n);
    if (!is_leaf()) {
        Node** subtree = subtrees();
        move_slots(subtree + to, subtree + from, n);
    }
}

// Puts e after every key not above its own, which is where shifting larger
// keys up one slot at a time from the end would put it: an equal key stays
// in front of e, and the zeroth element never moves, whatever e's key.
bool Node::insert_sorted(const Elem& e, int full_count) {
    if (m_count >= full_count) {
        return false;
    }
    insert_at(rank(e.m_key) + 1, e);
    return true;
}

void Node::insert_at(int slot, const Elem& e) {
    open_gap(slot);
    if (e.m_subtree != null_ptr) {
        e.m_subtree->m_parent = this;
    }
    set_element(slot, e);
    ++m_count;
}

void Node::remove_at(int position) {
    shift(position, position + 1, m_count - 1 - position);
    --m_count;
}

bool Node::vector_delete(const Elem& e) {
    const int position = rank(e.m_key);
    if (position < 1 || key(position) != e.m_key) {
        return false;
    }
    remove_at(position);
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
    if (is_leaf()) {
        return 0;
    }
    int released = 0;
    for (int i = 0; i < m_count; ++i) {
        Node* child = subtrees()[i];
        if (child->is_leaf()) {
            ++released;
        } else {
            released += child->delete_all_subtrees();
        }
        release(child);
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
        Node::release(m_root);
    }
}

Node::Position Node::search(const Elem& e, Node*& where) {
    const Node* visited = where;
    const ConstPosition found = static_cast<const Node*>(this)->search(e, visited);
    where = const_cast<Node*>(visited);  // the nodes of a non-const tree
    return Position(const_cast<Node*>(found.node()), found.index());
}

// One descent finds the key or the leaf it belongs in and the slot behind
// which it goes; insert_at puts it there when the leaf has room (the slot
// vector_insert would choose), split_insert when the leaf is full. An empty
// root takes the key itself.
bool Node::tree_insert(const Elem& e) {
    const Landing landing = descend(e.m_key, Purpose::update);
    if (landing.found) {
        return false;
    }
    Node* where = const_cast<Node*>(landing.node);  // a node of this non-const tree
    if (where->m_count < where->capacity() - 1) {
        where->insert_at(landing.slot + 1, e);
        return true;
    }
    return where->split_insert(e);
}

// Copies elements first .. last of `source` behind this node's elements,
// in order, and adopts the children they carry. Like vector_insert, it puts
// nothing into a full node.
void Node::append_from(const Node& source, int first, int last) {
    for (int j = first; j <= last && m_count < capacity() - 1; ++j) {
        const int slot = m_count++;
        keys()[slot] = source.keys()[j];
        payloads()[slot] = source.payloads()[j];
        if (!is_leaf()) {
            Node* child = source.subtrees()[j];
            subtrees()[slot] = child;
            child->m_parent = this;
        }
    }
}

bool Node::split_insert(const Elem& e) {
    if (m_count != capacity() - 1) {
        throw "bad m_count in split_insert";
    }
    vector_insert_for_split(e);
    countEvent(&MapEvents::splits);
    int middle = m_count / 2;
    if (2 * middle < m_count) {
        ++middle;
    }

    Node* sibling =
        create(m_root_tracker, m_max_count, is_leaf() ? NodeKind::leaf : NodeKind::inner);
    Elem median = element(middle);
    sibling->insert_zeroth_subtree(median.m_subtree);
    median.m_subtree = sibling;
    sibling->append_from(*this, middle + 1, m_count - 1);
    m_count = middle;

    // The parent's insertion of the median makes it the sibling's parent.
    if (m_parent != nullptr) {
        if (!m_parent->vector_insert(median)) {
            m_parent->split_insert(median);
        }
        return true;
    }
    Node* new_root = create(m_root_tracker, m_max_count, NodeKind::inner);
    new_root->insert_zeroth_subtree(this);
    new_root->vector_insert(median);
    m_root_tracker.set_root(m_root_tracker.m_root, new_root);
    return true;
}
