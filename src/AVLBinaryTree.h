// An AVL tree map: a height-balanced binary search tree whose nodes keep a
// balance factor but no parent link and no height, with recursive insertion
// and removal, single and double rotations, and a level-by-level drawing.
#pragma once

#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

#include "map_interface.h"

// One key with its payload, held by one tree node.
class NodeData final {
public:
    NodeData(int key, Data* data) : key(key), data(data) {}
    // Writes the key in decimal, with no separator and no line end.
    virtual void print(std::ostream& out);

    int key;
    Data* data;  // not owned, never dereferenced
};

// A tree node. Every operation acts on the subtree this node roots; those
// that can reshape it return the subtree's new root, which the caller stores
// back into its own link.
//
// Invariants between operations: keys are unique, smaller keys lie in
// `left` and larger in `right`, and `balance` is the height of `right` minus
// the height of `left` (heights in nodes, 0 for an empty subtree), within
// -1..+1. During an insertion or removal a node may reach -2 or +2 until the
// holder of its link calls rebalance() on it.
//
// A node lives in the pool slot of its record (AVLSlotPool), and owns that
// record: `nodeData` always points right beside the node.
class AVLBinaryTreeNode {
public:
    // A leaf for `record`, built in the record's pool slot.
    static AVLBinaryTreeNode* createFor(NodeData* record);
    AVLBinaryTreeNode(const AVLBinaryTreeNode&) = delete;
    AVLBinaryTreeNode& operator=(const AVLBinaryTreeNode&) = delete;

    bool member(int key) const;
    NodeData* find(int key) const;
    // Stores `record` (a record from an AVLSlotPool) below this node; false,
    // with nothing changed, if its key is present. Rebalances every child
    // link it descends into, never this node itself.
    bool insert(NodeData* record);
    // Takes `key` out of the subtree and returns the node the caller must
    // unlink and free (its one remaining child, if any, is in its `left`), or
    // null if the key is absent. Like insert, it leaves this node unbalanced.
    AVLBinaryTreeNode* removeKey(int key);
    AVLBinaryTreeNode* removeThisNode();
    NodeData* first();
    NodeData* last();
    int size() const;
    int depth() const;
    AVLBinaryTreeNode* rotateRight();
    AVLBinaryTreeNode* rotateLeft();
    // Rotates when the balance is -2 or +2; otherwise returns this node.
    AVLBinaryTreeNode* rebalance() {
        return balance >= -1 && balance <= 1 ? this : rotateToBalance();
    }

    // Draws the part of drawing line `level` under this node, which stands at
    // `nodeLevel` (levels count up from 1 at the bottom).
    void print(std::ostream& out, int level, int nodeLevel) const;
    // key(balance) for each node in preorder, comma-separated, on one line.
    void preorderTraversal(std::ostream& out) const;

    // The links lie last, next to the record and its key, so that the bytes
    // a search reads at each level share as few cache lines as they can.
    NodeData* nodeData;  // owned; the record in this node's slot
    int balance;
    AVLBinaryTreeNode* left;   // owned
    AVLBinaryTreeNode* right;  // owned

private:
    // What an insertion or removal did to a subtree's root, for the holder
    // of the link to it: refused (nothing inserted), the same height (the
    // holder has nothing left to do: the common case on the way back up, so
    // it is tested first), grown, shrunk, out of balance (at -2 or +2:
    // rebalance it), or detached (the root is the node removed: the holder
    // links its one remaining child, kept in its `left`, in its place).
    enum class Change { refused, same, grown, shrunk, unbalanced, detached };
    struct Removal {
        AVLBinaryTreeNode* removed;
        Change change;  // of the subtree's root; detached when `removed` is that root
    };

    explicit AVLBinaryTreeNode(NodeData* record)
        : nodeData(record), balance(0), left(nullptr), right(nullptr) {}
    // `left`, or `right` when `larger`, chosen by address arithmetic rather
    // than a branch: which way a random key goes cannot be predicted.
    AVLBinaryTreeNode*& linkTo(bool larger);
    static Change changeTo(int before, int after);
    Change insertKey(NodeData* record, int key);
    Change addToBalance(int step);
    Removal removeRec(int key);
    Removal removeSelf();
    AVLBinaryTreeNode* rotateToBalance();
};

// The nodes and records of one tree. Each slot holds a node and its record
// side by side, so that the key read at every level of a search lies next
// to the node's links instead of behind a second pointer. Slots come from
// slabs and go back to a free list; the slabs are released when the pool is
// destroyed, and with them every node and record still in use.
class AVLSlotPool {
public:
    AVLSlotPool() = default;
    AVLSlotPool(const AVLSlotPool&) = delete;
    AVLSlotPool& operator=(const AVLSlotPool&) = delete;
    ~AVLSlotPool();

    // A record in a free slot, ready for AVLBinaryTreeNode::createFor.
    NodeData* newRecord(int key, Data* data);
    // Returns the slot of a record that never got its node.
    void freeRecord(NodeData* record);
    // Returns the slot of a node and of the record beside it.
    void freeNode(AVLBinaryTreeNode* node);
    // Slots holding a record, with or without its node.
    std::size_t liveSlots() const { return m_live; }
    // With no slot in use, hands the slots out again in address order, slab
    // after slab, instead of in the scattered order they were given back.
    void restartWhenEmpty();

    // Within a slot the node comes first and its record right behind it.
    static constexpr std::size_t kRecordOffset = sizeof(AVLBinaryTreeNode);

    // The record's slot, seen as the place of its node, and back.
    static AVLBinaryTreeNode* nodePlaceOf(NodeData* record) {
        return reinterpret_cast<AVLBinaryTreeNode*>(reinterpret_cast<char*>(record) -
                                                    kRecordOffset);
    }
    static const NodeData* recordBeside(const AVLBinaryTreeNode* node) {
        return reinterpret_cast<const NodeData*>(reinterpret_cast<const char*>(node) +
                                                 kRecordOffset);
    }
    // The key a node holds, read from the record beside it, one load
    // instead of two dependent ones through `nodeData`, which points there.
    static int keyOf(const AVLBinaryTreeNode* node) { return recordBeside(node)->key; }

private:
    void* takeSlot();
    void giveBack(void* slot);

    std::vector<char*> m_slabs;
    void* m_free = nullptr;  // free slots, linked through their first bytes
    // Slots never handed out since the start or the last restart: the rest
    // of slab m_nextSlab - 1 from m_unused on, and every later slab.
    std::size_t m_nextSlab = 0;
    char* m_unused = nullptr;
    char* m_slabEnd = nullptr;
    std::size_t m_live = 0;
};

class AVLBinaryTree : public Map {
public:
    AVLBinaryTree() : root(nullptr) {}
    AVLBinaryTree(const AVLBinaryTree&) = delete;
    AVLBinaryTree& operator=(const AVLBinaryTree&) = delete;
    ~AVLBinaryTree() override;

    int size() const override;
    bool insert(int key, Data* data) override;
    bool erase(int key) override;
    bool member(int key) const override;
    Data* find(int key) const override;
    // The tree level by level under a "----depth=D----" header; nothing at
    // all for an empty tree.
    void print(std::ostream& out) const;
    void print() const override;

    const AVLBinaryTreeNode* rootNode() const { return root; }

    // Visits the entries from the first key not below `from`, in key order,
    // at most `count` of them. The nodes have no parent link, so the walk
    // keeps the nodes still to visit on a stack of its own: the descent
    // pushes each node on the path whose key is not below `from`; each
    // visited node's right subtree then pushes its left spine.
    template <typename Visit>
    int scan(int from, int count, Visit&& visit) const {
        if (count <= 0) {
            return 0;
        }
        const AVLBinaryTreeNode* pending[kMaxHeight];
        int depth = 0;
        for (const AVLBinaryTreeNode* node = root; node != nullptr;) {
            const int key = AVLSlotPool::keyOf(node);
            if (key < from) {
                node = node->right;
                continue;
            }
            pending[depth++] = node;
            node = key == from ? nullptr : node->left;
        }
        int visited = 0;
        while (depth > 0) {
            const AVLBinaryTreeNode* node = pending[--depth];
            visit(AVLSlotPool::keyOf(node), AVLSlotPool::recordBeside(node)->data);
            if (++visited == count) {
                break;
            }
            for (node = node->right; node != nullptr; node = node->left) {
                pending[depth++] = node;
            }
        }
        return visited;
    }

    // Describes the first broken invariant, or returns "" for a sound tree:
    // those of checkAvlSubtree, and one pool slot in use per node.
    std::string checkInvariants() const;

private:
    // An AVL tree of height h holds at least F(h + 2) - 1 nodes (F the
    // Fibonacci numbers): beyond INT_MAX from h = 45 on, so no tree whose
    // size is an int is higher than 44, and no stack of the scan deeper.
    static constexpr int kMaxHeight = 44;

    AVLSlotPool pool;         // the slots of every node and record
    AVLBinaryTreeNode* root;  // null while empty; owned
};

// Describes the first broken invariant of the subtree (search order, each
// balance equal to the true height difference and within -1..+1, each
// node's record beside it), or "".
std::string checkAvlSubtree(const AVLBinaryTreeNode* root);
