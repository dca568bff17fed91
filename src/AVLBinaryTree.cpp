// AVL node operations and the AVL tree map.
#include "AVLBinaryTree.h"

#include <cstddef>

#include "step_counts.h"

static_assert(offsetof(AVLBinaryTreeNode, right) ==
                  offsetof(AVLBinaryTreeNode, left) + sizeof(AVLBinaryTreeNode*),
              "right must follow left");

AVLBinaryTreeNode*& AVLBinaryTreeNode::linkTo(bool larger) {
    char* links = reinterpret_cast<char*>(this) + offsetof(AVLBinaryTreeNode, left);
    const std::size_t chosen = static_cast<std::size_t>(larger) * sizeof(AVLBinaryTreeNode*);
    return *reinterpret_cast<AVLBinaryTreeNode**>(links + chosen);
}

bool AVLBinaryTreeNode::member(int key) const {
    return find(key) != nullptr;
}

NodeData* AVLBinaryTreeNode::find(int key) const {
    const AVLBinaryTreeNode* node = this;
    do {
        const int own = AVLSlotPool::keyOf(node);
        if (own == key) {
            return node->nodeData;
        }
        // Both links are read and one is chosen without a branch: which way
        // a random key goes cannot be predicted.
        AVLBinaryTreeNode* const smaller = node->left;
        AVLBinaryTreeNode* const larger = node->right;
        node = own < key ? larger : smaller;
    } while (node != nullptr);
    return nullptr;
}

bool AVLBinaryTreeNode::insert(NodeData* record) {
    return insertKey(record, record->key) != Change::refused;
}

// How a node's balance moved, from its own before and after values: the
// holder of the link to it needs no more to rebalance it and to tell
// whether the subtree grew (0 to -1 or +1) or shrank (-1 or +1 to 0).
AVLBinaryTreeNode::Change AVLBinaryTreeNode::changeTo(int before, int after) {
    if (after < -1 || after > 1) {
        return Change::unbalanced;
    }
    if (before == 0 && after != 0) {
        return Change::grown;
    }
    if (before != 0 && after == 0) {
        return Change::shrunk;
    }
    return Change::same;
}

// The holder rebalances a child link and applies the growth test (the
// child's balance going from 0 to non-zero) with what the child reports of
// itself: a child that grew keeps its balance under rebalance, and one that
// had to be rotated was at -1 or +1 before, so it has not grown. Only this
// node and the link taken are kept across the descent; the key travels as a
// value, and a refusal or an unchanged height goes back up untouched.
AVLBinaryTreeNode::Change AVLBinaryTreeNode::insertKey(NodeData* record, int key) {
    const int own = AVLSlotPool::keyOf(this);
    if (key == own) {
        return Change::refused;
    }
    AVLBinaryTreeNode*& link = linkTo(key > own);
    if (link == nullptr) {
        link = createFor(record);
    } else {
        const Change below = link->insertKey(record, key);
        if (below <= Change::same) {
            return below;
        }
        if (below != Change::grown) {
            // A child back at balance 0 reports shrunk: its height is the same.
            if (below == Change::unbalanced) {
                link = link->rotateToBalance();
            }
            return Change::same;
        }
    }
    return addToBalance(&link == &right ? +1 : -1);
}

AVLBinaryTreeNode::Change AVLBinaryTreeNode::addToBalance(int step) {
    const int before = balance;
    balance = before + step;
    return changeTo(before, balance);
}

// Removes `key` below this node and fixes the link and this node's balance.
// A non-empty child subtree has become lower exactly when its root's balance
// went from -1 or +1 to 0, also through the rotation that rebalances it. The
// child reports how its own balance moved, so its balance is not read again
// here; a child that removed itself left its balance alone. An absent key
// and an unchanged height go back up untouched.
AVLBinaryTreeNode::Removal AVLBinaryTreeNode::removeRec(int key) {
    const int own = AVLSlotPool::keyOf(this);
    if (own == key) {
        return removeSelf();
    }
    AVLBinaryTreeNode*& link = linkTo(key > own);
    if (link == nullptr) {
        return Removal{nullptr, Change::same};
    }
    const Removal below = link->removeRec(key);
    if (below.change == Change::same) {
        return below;
    }
    // The child's removal leaves this node's links alone: `link` still
    // holds the child, read again here rather than kept across the call.
    AVLBinaryTreeNode* child = link;
    bool lower;
    if (below.change == Change::detached) {
        const int before = child->balance;
        child = child->left;
        link = child;
        lower = child == nullptr;
        if (!lower) {
            child = child->rebalance();
            link = child;
            lower = (before == 1 || before == -1) && child->balance == 0;
        }
    } else if (below.change == Change::unbalanced) {
        child = child->rotateToBalance();
        link = child;
        lower = child->balance == 0;
    } else {
        lower = below.change == Change::shrunk;
    }
    if (!lower) {
        return Removal{below.removed, Change::same};
    }
    return Removal{below.removed, addToBalance(&link == &right ? -1 : +1)};
}

AVLBinaryTreeNode* AVLBinaryTreeNode::removeKey(int key) {
    return removeRec(key).removed;
}

AVLBinaryTreeNode* AVLBinaryTreeNode::removeThisNode() {
    return removeSelf().removed;
}

// With two children, an even key is replaced by its in-order successor and
// an odd key (remainder 1, or -1 when negative) by its predecessor. The two
// nodes then exchange their records' contents: this node holds the
// replacement's key and payload, and the node handed back the removed key's,
// as an exchange of the records themselves would leave them, while every
// record stays in its own node's slot.
AVLBinaryTreeNode::Removal AVLBinaryTreeNode::removeSelf() {
    if (right == nullptr) {
        return Removal{this, Change::detached};
    }
    if (left == nullptr) {
        left = right;
        right = nullptr;
        return Removal{this, Change::detached};
    }
    countEvent(&MapEvents::replacements);
    const int replacement = nodeData->key % 2 == 0 ? right->first()->key : left->last()->key;
    const Removal removal = removeRec(replacement);
    NodeData* own = nodeData;
    NodeData* theirs = removal.removed->nodeData;
    const NodeData removedContents = *own;
    own->key = theirs->key;
    own->data = theirs->data;
    theirs->key = removedContents.key;
    theirs->data = removedContents.data;
    return removal;
}

NodeData* AVLBinaryTreeNode::first() {
    AVLBinaryTreeNode* node = this;
    while (node->left != nullptr) {
        node = node->left;
    }
    return node->nodeData;
}

NodeData* AVLBinaryTreeNode::last() {
    AVLBinaryTreeNode* node = this;
    while (node->right != nullptr) {
        node = node->right;
    }
    return node->nodeData;
}

int AVLBinaryTreeNode::size() const {
    return 1 + (left != nullptr ? left->size() : 0) + (right != nullptr ? right->size() : 0);
}

int AVLBinaryTreeNode::depth() const {
    const int leftDepth = left != nullptr ? left->depth() : 0;
    const int rightDepth = right != nullptr ? right->depth() : 0;
    return 1 + (leftDepth > rightDepth ? leftDepth : rightDepth);
}

AVLBinaryTreeNode* AVLBinaryTreeNode::rotateRight() {
    AVLBinaryTreeNode* pivot = left;
    if (pivot == nullptr) {
        return this;
    }
    countEvent(&MapEvents::rotations);
    left = pivot->right;
    pivot->right = this;
    const int before = pivot->balance;
    if (balance == -1) {
        balance = before == -1 ? 1 : 0;
        pivot->balance = before == -1 ? 1 : before + 1;
    } else if (balance == -2) {
        if (before == -2) {
            balance = 1;
            pivot->balance = 0;
        } else if (before == 0) {
            balance = -1;
            pivot->balance = 1;
        } else {
            balance = 0;
            pivot->balance = before + 1;
        }
    }
    return pivot;
}

AVLBinaryTreeNode* AVLBinaryTreeNode::rotateLeft() {
    AVLBinaryTreeNode* pivot = right;
    if (pivot == nullptr) {
        return this;
    }
    countEvent(&MapEvents::rotations);
    right = pivot->left;
    pivot->left = this;
    const int before = pivot->balance;
    if (balance == 1) {
        balance = before == 1 ? -1 : 0;
        pivot->balance = before == 1 ? -1 : before - 1;
    } else if (balance == 2) {
        if (before == 2) {
            balance = -1;
            pivot->balance = 0;
        } else if (before == 0) {
            balance = 1;
            pivot->balance = -1;
        } else {
            balance = 0;
            pivot->balance = before - 1;
        }
    }
    return pivot;
}

// rebalance() for a node at -2 or +2 (or beyond, which no sound tree
// reaches): the first of its cases that holds is applied.
AVLBinaryTreeNode* AVLBinaryTreeNode::rotateToBalance() {
    if (balance == -2) {
        if (left->balance == -1 || left->balance == 0) {
            return rotateRight();
        }
        if (left->balance == 1) {
            left = left->rotateLeft();
            return rotateRight();
        }
    } else if (balance == 2) {
        if (right->balance == -1) {
            right = right->rotateRight();
            return rotateLeft();
        }
        if (right->balance == 1 || right->balance == 0) {
            return rotateLeft();
        }
    }
    return this;
}

AVLBinaryTree::~AVLBinaryTree() = default;

int AVLBinaryTree::size() const {
    return root != nullptr ? root->size() : 0;
}

bool AVLBinaryTree::insert(int key, Data* data) {
    NodeData* record = pool.newRecord(key, data);
    if (root == nullptr) {
        root = AVLBinaryTreeNode::createFor(record);
        return true;
    }
    const bool inserted = root->insert(record);
    root = root->rebalance();
    if (!inserted) {
        pool.freeRecord(record);
    }
    return inserted;
}

bool AVLBinaryTree::erase(int key) {
    if (root == nullptr) {
        return false;
    }
    AVLBinaryTreeNode* removed = root->removeKey(key);
    if (removed == nullptr) {
        return false;
    }
    if (removed == root) {
        root = removed->left;
    }
    if (root != nullptr) {
        root = root->rebalance();
    }
    removed->left = nullptr;
    removed->right = nullptr;
    pool.freeNode(removed);
    if (root == nullptr) {
        pool.restartWhenEmpty();
    }
    return true;
}

bool AVLBinaryTree::member(int key) const {
    return root != nullptr && root->member(key);
}

Data* AVLBinaryTree::find(int key) const {
    if (root == nullptr) {
        return nullptr;
    }
    const NodeData* record = root->find(key);
    return record != nullptr ? record->data : nullptr;
}
