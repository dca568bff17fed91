// A B-tree map: nodes with a fixed number of element slots, a shared
// RootTracker that knows the current root, binary search within nodes,
// splitting on insertion and borrowing or merging on deletion.
#pragma once

#include <cstddef>
#include <memory>
#include <new>
#include <ostream>
#include <string>

#include "map_interface.h"

class Node;
class RootTracker;

// The null node pointer: the empty subtree and the tracker's initial root.
constexpr Node* null_ptr = nullptr;
// All bits set. Never dereferenced: it only marks the failure sentinel.
extern Node* const invalid_ptr;

// One slot of a node: a key, the caller's payload and the child holding the
// keys between this element's key and the next element's key.
template <typename Key, typename Payload>
class Element {
public:
    Element() : m_key(), m_payload(), m_subtree(null_ptr) {}
    Element(Key key, Payload payload, Node* subtree)
        : m_key(key), m_payload(payload), m_subtree(subtree) {}

    // "key=K" "sub=P" and a space, on the current line.
    void dump(std::ostream& out) const {
        out << "key=" << m_key << "sub=" << static_cast<const void*>(m_subtree) << " ";
    }

    Key m_key;
    Payload m_payload;  // stored and handed back, never dereferenced or freed
    Node* m_subtree;
};

enum class NodeKind { leaf, inner };

template <typename NodeType>
class BasicPosition;

// A B-tree node. Element 0 (the zeroth element) holds no key (its key is -1)
// and carries the leftmost child; elements 1 to m_count - 1 hold the keys.
//
// Layout: one allocation holds this 32-byte header,
// then the keys of all slots side by side (so that a bisection within the
// node reads few cache lines), then, in an inner node only, the subtree
// pointers, then the payloads. A leaf has no subtree slots at all: every
// subtree of a leaf is null. Whether a node is a leaf is fixed when it is
// created. What a visit reads (the keys, then an inner node's subtrees or a
// leaf's payloads) is so the node's first sizeof(Node) + key_bytes + 8 x
// capacity bytes, whatever its kind: a descent fetches them all as soon as it
// knows the node, before it reads any of them.
//
// Invariants between map operations:
//  - keys of elements 1 .. m_count - 1 strictly ascend;
//  - 1 <= m_count <= capacity() - 1; only inside split_insert does a node
//    hold capacity() elements;
//  - an inner node has a non-null subtree in every element; all leaves lie
//    at one depth;
//  - the keys under element i lie strictly between its key and the next one;
//  - every child's m_parent is the node holding it; only the root has a null
//    m_parent, and the tracker's m_root is that root;
//  - every node but the root holds at least minimum_keys() keys; the root has
//    no key only when the tree is empty, and is then a leaf.
// Slots from m_count upward hold stale contents and are never elements.
class Node {
public:
    using Elem = Element<int, void*>;
    using Position = BasicPosition<Node>;
    using ConstPosition = BasicPosition<const Node>;

    // A node of `kind` with `requested_slots` slots (6 when below 1), holding
    // only its zeroth element with a null subtree. Taken from the tracker's
    // spare nodes when one of its size is there, as clean as a new one.
    // Release it with release(), or within a tree with recycle().
    static Node* create(RootTracker& tracker, int requested_slots, NodeKind kind);
    // Destroys the node and frees its block.
    static void release(Node* node);
    // Hands the node to its tracker's spare nodes, or releases it.
    static void recycle(Node* node);
    Node(const Node&) = delete;
    Node& operator=(const Node&) = delete;
    ~Node();

    // Nodes take the allocator's alignment: starting them on a cache line
    // cost insertions in key order at 1e7 keys 5 to 15 % of their time (the
    // aligned allocation's slower path), and bought the finds nothing.
    static void* allocate(std::size_t bytes) { return ::operator new(bytes); }
    static void deallocate(void* block) { ::operator delete(block); }
    // The bytes of this node's block.
    std::size_t bytes_of() const {
        return bytes_for(m_capacity, is_leaf() ? NodeKind::leaf : NodeKind::inner);
    }

    int capacity() const { return m_capacity; }
    int key_count() const { return m_count - 1; }
    bool is_root() const { return m_parent == nullptr; }
    bool is_leaf() const { return m_subtrees_at == 0; }

    // Slot i, 0 <= i < capacity().
    int key(int i) const { return keys()[i]; }
    void* payload(int i) const { return payloads()[i]; }
    Node* subtree(int i) const { return is_leaf() ? null_ptr : subtrees()[i]; }
    Elem element(int i) const { return Elem(key(i), payload(i), subtree(i)); }
    void set_key(int i, int key) { keys()[i] = key; }
    void set_payload(int i, void* payload) { payloads()[i] = payload; }
    // A leaf takes only a null subtree.
    void set_subtree(int i, Node* subtree);
    void set_element(int i, const Elem& e);

    // ceiling((capacity - 1) / 2) - 1: the fewest keys a non-root node holds.
    int minimum_keys() const {
        const int usable = capacity() - 1;
        return usable / 2 + usable % 2 - 1;
    }
    // The number of keys among elements 1 .. m_count - 1 that are at most
    // `key`: the index of the last such element, or 0 when every key
    // exceeds it. Element 0 is never compared.
    int rank(int key) const {
        if (m_count <= 1) {
            return 0;
        }
        const int* last = bisect(key);
        return static_cast<int>(last - keys()) - (*last > key ? 1 : 0);
    }
    // Makes `subtree` element 0's child and drops every other element.
    void insert_zeroth_subtree(Node* subtree);
    Node* find_root();
    // Element 1 of the leftmost leaf below this node.
    Position smallest_key_in_subtree();

    // Sorted insertion; false, with nothing changed, when the node is full
    // (m_count >= capacity - 1). Makes this node the parent of e's subtree.
    bool vector_insert(const Elem& e);
    // The same, refusing only at m_count >= capacity: fills the spare slot.
    bool vector_insert_for_split(const Elem& e);
    // Removes the element with e's key; false if no key matches.
    bool vector_delete(const Elem& e);
    // Removes element `index` (0 allowed); false outside 0 .. m_count - 1.
    bool vector_delete(int index);
    // Releases every node below this one; the caller releases this node.
    int delete_all_subtrees();

    // The element holding e's key, or the failure sentinel. `where`
    // receives the node holding it or, on a miss, the last node visited
    // (the leaf the key belongs in); it is left untouched when this node
    // holds no key. The const search hands out only read access.
    Position search(const Elem& e, Node*& where);
    ConstPosition search(const Elem& e, const Node*& where) const;
    // Inserts e below this root; false if its key is present.
    bool tree_insert(const Elem& e);
    // Inserts e into this exactly full node, splits it and passes the median
    // up, splitting upward and growing a new root as needed.
    bool split_insert(const Elem& e);

    // Removes e's key from the subtree and repairs underfull nodes upward;
    // false if the key is absent. May free nodes (this one among them) and
    // replace the root.
    bool delete_element(const Elem& e);
    Node* right_sibling(int& index);
    Node* left_sibling(int& index);
    // This node's child index in its parent, -1 for the root.
    int index_has_subtree();

    // Repair steps for this underfull node, child `index` of its parent.
    // Each returns the next node to repair, or null_ptr when done.
    Node* rotate_from_right(int index);
    Node* rotate_from_left(int index);
    Node* merge_right(int index);
    Node* merge_left(int index);

    // Visits the entries of this subtree from the first key not below
    // `from`, in key order, at most `count` of them (at least one); returns
    // how many it visited. Defined in BTree_scan.h.
    template <typename Visit>
    int scan_from(int from, int count, Visit& visit) const;

    // Pre-order diagnostic dump of this subtree with node addresses.
    void dump(std::ostream& out) const;

    // How many cache lines a descent fetches of each node it reaches: none
    // while the tree is small enough to stay in the caches.
    int fetched_lines() const;
    // The same, worked out from the tree's node count (when it changes).
    int lines_to_fetch() const;

    // What search reports for an absent key: key -1, null payload, subtree
    // invalid_ptr.
    static const Elem m_failure;

    int m_count;      // elements in use, the zeroth included
    int m_max_count;  // the requested slot count, handed to split-off nodes
    Node* m_parent;
    RootTracker& m_root_tracker;

private:
    // Where a descent for `key` from this node ends: the node holding it and
    // its slot, or on a miss the leaf it belongs in and its rank there.
    struct Landing {
        const Node* node;
        int slot;
        bool found;
    };
    // What a descent is for: a lookup, or an insertion or removal, whose
    // keys often arrive in order (see descend).
    enum class Purpose { lookup, update };

    Node(RootTracker& tracker, int requested_slots, int slot_count, NodeKind kind);
    static int slot_count_for(int requested_slots) {
        return requested_slots < 1 ? 6 : requested_slots;
    }
    // Bytes of one node of `slot_count` slots with its arrays.
    static std::size_t bytes_for(int slot_count, NodeKind kind);
    // delete-expressions are not for nodes: release() knows the block.
    static void operator delete(void* block) { ::operator delete(block); }
    static std::size_t key_bytes(int slot_count) {
        return (sizeof(int) * static_cast<std::size_t>(slot_count) + 7) & ~std::size_t{7};
    }
    // The bytes a visit of a node of `slot_count` slots reads, from its
    // start: the header, the keys, and an inner node's subtrees or a leaf's
    // payloads.
    static std::size_t visited_bytes(int slot_count) {
        return sizeof(Node) + key_bytes(slot_count) +
               sizeof(void*) * static_cast<std::size_t>(slot_count);
    }

    const char* bytes() const { return reinterpret_cast<const char*>(this); }
    char* bytes() { return reinterpret_cast<char*>(this); }
    const int* keys() const { return reinterpret_cast<const int*>(this + 1); }
    int* keys() { return reinterpret_cast<int*>(this + 1); }
    // In an inner node only.
    Node* const* subtrees() const {
        return reinterpret_cast<Node* const*>(bytes() + m_subtrees_at);
    }
    Node** subtrees() { return reinterpret_cast<Node**>(bytes() + m_subtrees_at); }
    std::size_t payloads_at() const {
        return is_leaf() ? sizeof(Node) + key_bytes(m_capacity)
                         : m_subtrees_at + sizeof(Node*) * static_cast<std::size_t>(m_capacity);
    }
    void* const* payloads() const {
        return reinterpret_cast<void* const*>(bytes() + payloads_at());
    }
    void** payloads() { return reinterpret_cast<void**>(bytes() + payloads_at()); }

    // A branch-free bisection over keys 1 .. m_count - 1 (at least one): the
    // last key not above `key`, or key 1 when every key exceeds it.
    const int* bisect(int key) const {
        const int* base = keys() + 1;
        std::size_t n = static_cast<std::size_t>(m_count - 1);
        while (n > 1) {
            const std::size_t half = n / 2;
            base = base[half] <= key ? base + half : base;
            n -= half;
        }
        return base;
    }
    Landing descend(int key, Purpose purpose) const;
    // `fetched` lines of each node below this one fetched ahead (0: none).
    template <bool checks_edges, bool fetches>
    Landing descend_from(int key, int fetched) const;

    bool insert_sorted(const Elem& e, int full_count);
    void insert_at(int slot, const Elem& e);
    void open_gap(int slot);
    void shift(int to, int from, int count);
    void remove_at(int position);
    void append_from(const Node& source, int first, int last);
    static void repair_underflow(Node* node);
    void absorb(Elem separator, const Node* right_node);
    static Node* finish_merge(Node* parent, Node* survivor);
    void collapse_root(Node* old_root, Node* survivor);
    [[noreturn]] void report_missing_in_parent(int smallest_key);

    const int m_capacity;  // slots
    // Where the subtree array starts, in bytes from the node; 0 in a leaf,
    // which has no subtree slots.
    const int m_subtrees_at;
};

// Element `index` of `node`, or the failure sentinel when `node` is null.
// search and smallest_key_in_subtree return positions: a node keeps its
// keys, payloads and subtrees in separate arrays, so no Element object
// exists to refer to. Only a position into a non-const node can write.
template <typename NodeType>
class BasicPosition {
public:
    BasicPosition(NodeType* node, int index) : m_node(node), m_index(index) {}
    static BasicPosition failure() { return BasicPosition(nullptr, 0); }

    bool is_failure() const { return m_node == nullptr; }
    NodeType* node() const { return m_node; }
    int index() const { return m_index; }
    int key() const { return m_node ? m_node->key(m_index) : Node::m_failure.m_key; }
    void* payload() const { return m_node ? m_node->payload(m_index) : Node::m_failure.m_payload; }
    Node* subtree() const { return m_node ? m_node->subtree(m_index) : Node::m_failure.m_subtree; }
    Node::Elem value() const { return Node::Elem(key(), payload(), subtree()); }
    void set_key(int key) const { m_node->set_key(m_index, key); }
    void set_payload(void* payload) const { m_node->set_payload(m_index, payload); }

    bool operator==(const BasicPosition& other) const {
        return m_node == other.m_node && m_index == other.m_index;
    }

private:
    NodeType* m_node;
    int m_index;
};

// Nodes a tree freed (by merges and by its root giving way), kept for its
// next splits: a node just freed is still in the cache, where a node fresh
// from the allocator is not, and a split writes half a node into it. Last in,
// first out, a few of each size; poisoned for AddressSanitizer while kept.
class SpareNodes {
public:
    SpareNodes() = default;
    SpareNodes(const SpareNodes&) = delete;
    SpareNodes& operator=(const SpareNodes&) = delete;
    ~SpareNodes();

    // The last kept block of `bytes`, or null when the last one kept has
    // another size (nodes of other slot counts share a tracker in tests).
    void* take(std::size_t bytes);
    // Keeps a node's block of `bytes`, or releases it when as many are kept.
    void give(void* block, std::size_t bytes);
    int kept() const { return m_kept; }

    // Enough for a split and a merge in turn at every level of a tall tree.
    static constexpr int kMostKept = 8;

private:
    struct Block {
        void* at;
        std::size_t bytes;
    };
    Block m_blocks[kMostKept] = {};
    int m_kept = 0;
};

// Knows the current root of one tree and owns all of its nodes.
class RootTracker {
public:
    RootTracker();
    RootTracker(const RootTracker&) = delete;
    RootTracker& operator=(const RootTracker&) = delete;
    // Releases every node of the tree.
    ~RootTracker();

    // Replaces the root; throws "wrong old_root in RootTracker::set_root"
    // when old_root is not the current root.
    void set_root(Node* old_root, Node* new_root);

    Node* m_root = null_ptr;
    // Where a node that its parent does not hold describes itself before
    // "error in index_has_subtree" is thrown.
    std::ostream* m_diagnostics;
    // Nodes freed by the tree, for its next new ones.
    SpareNodes m_spares;
    // Nodes of the tree now, counted by their constructor and destructor,
    // and how many lines of each node a descent fetches ahead
    // (Node::fetched_lines), kept beside the count it follows.
    std::size_t m_nodes = 0;
    int m_fetched_lines = 0;
};

// The B-tree map. An order n gives nodes of n + 1 slots holding at most
// n - 1 keys; every node but the root keeps at least ceiling(n / 2) - 1.
class BTree : public Map {
public:
    // Orders below 3 are raised to 3.
    explicit BTree(int order);
    BTree(const BTree&) = delete;
    BTree& operator=(const BTree&) = delete;
    ~BTree() override;

    int size() const override;
    bool insert(int key, Data* data) override;
    bool erase(int key) override;
    bool member(int key) const override;
    Data* find(int key) const override;
    // "size=N " and the tree in parentheses, one pair per node, on one line.
    void print(std::ostream& out) const;
    void print() const override;

    Node* root() const { return m_root_tracker->m_root; }
    const RootTracker& root_tracker() const { return *m_root_tracker; }
    // Describes the first broken invariant, or returns "" for a sound tree.
    std::string check_invariants() const;
    // Visits the entries from the first key not below `from`, in key order,
    // at most `count` of them; returns how many it visited.
    template <typename Visit>
    int scan(int from, int count, Visit&& visit) const {
        return count > 0 ? root()->scan_from(from, count, visit) : 0;
    }
    // Sends the diagnostic of a broken tree to `out` (standard error until set).
    void set_diagnostics(std::ostream& out) { m_root_tracker->m_diagnostics = &out; }

private:
    std::unique_ptr<RootTracker> m_root_tracker;
};

// Number of keys in the subtree, counted afresh.
int size_r(const Node* node);
// The subtree in order, as "(" keys and child subtrees ")".
void print_r(std::ostream& out, const Node* node);

#include "BTree_descent.h"
#include "BTree_scan.h"
