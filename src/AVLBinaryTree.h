// An AVL tree map: a height-balanced binary search tree whose nodes keep a
// balance factor but no parent link and no height, with recursive insertion
// and removal, single and double rotations, and a level-by-level drawing.
#pragma once

#include <ostream>
#include <string>

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
class AVLBinaryTreeNode {
public:
    // A leaf holding `record`, which it owns from now on.
    explicit AVLBinaryTreeNode(NodeData* record)
        : nodeData(record), left(nullptr), right(nullptr), balance(0) {}
    AVLBinaryTreeNode(const AVLBinaryTreeNode&) = delete;
    AVLBinaryTreeNode& operator=(const AVLBinaryTreeNode&) = delete;
    // Frees the record, then the left subtree, then the right subtree.
    ~AVLBinaryTreeNode();

    bool member(int key) const;
    NodeData* find(int key) const;
    // Stores `record` below this node; false, with nothing changed, if its
    // key is present. Rebalances every child link it descends into, never
    // this node itself.
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
    AVLBinaryTreeNode* rebalance();

    // Draws the part of drawing line `level` under this node, which stands at
    // `nodeLevel` (levels count up from 1 at the bottom).
    void print(std::ostream& out, int level, int nodeLevel) const;
    // key(balance) for each node in preorder, comma-separated, on one line.
    void preorderTraversal(std::ostream& out) const;

    NodeData* nodeData;        // owned
    AVLBinaryTreeNode* left;   // owned
    AVLBinaryTreeNode* right;  // owned
    int balance;
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
    // Describes the first broken invariant, or returns "" for a sound tree.
    std::string checkInvariants() const;

private:
    AVLBinaryTreeNode* root;  // null while empty; owned
};

// Describes the first broken invariant of the subtree (search order, each
// balance equal to the true height difference and within -1..+1), or "".
std::string checkAvlSubtree(const AVLBinaryTreeNode* root);
