// AVL node operations and the AVL tree map.
#include "AVLBinaryTree.h"

#include <memory>

AVLBinaryTreeNode::~AVLBinaryTreeNode() {
    delete nodeData;
    delete left;
    delete right;
}

bool AVLBinaryTreeNode::member(int key) const {
    return find(key) != nullptr;
}

NodeData* AVLBinaryTreeNode::find(int key) const {
    const AVLBinaryTreeNode* node = this;
    while (node != nullptr) {
        if (node->nodeData->key < key) {
            node = node->right;
        } else if (node->nodeData->key > key) {
            node = node->left;
        } else {
            return node->nodeData;
        }
    }
    return nullptr;
}

// A child subtree has grown exactly when its root's balance went from 0 to
// non-zero: a child at -1 or +1 either returns to 0 or is rotated back to
// its former height.
bool AVLBinaryTreeNode::insert(NodeData* record) {
    const int key = record->key;
    if (key < nodeData->key) {
        if (left == nullptr) {
            left = new AVLBinaryTreeNode(record);
            --balance;
            return true;
        }
        const int before = left->balance;
        const bool inserted = left->insert(record);
        left = left->rebalance();
        if (before == 0 && left->balance != 0) {
            --balance;
        }
        return inserted;
    }
    if (key > nodeData->key) {
        if (right == nullptr) {
            right = new AVLBinaryTreeNode(record);
            ++balance;
            return true;
        }
        const int before = right->balance;
        const bool inserted = right->insert(record);
        right = right->rebalance();
        if (before == 0 && right->balance != 0) {
            ++balance;
        }
        return inserted;
    }
    return false;
}

namespace {

// Removes `key` below `child` and fixes the link and the parent's balance.
// A non-empty child subtree has become lower exactly when its root's balance
// went from -1 or +1 to 0. `shrink` is -1 for the right side, +1 for the left.
AVLBinaryTreeNode* removeBelow(AVLBinaryTreeNode*& child, int& balance, int shrink, int key) {
    if (child == nullptr) {
        return nullptr;
    }
    const int before = child->balance;
    AVLBinaryTreeNode* removed = child->removeKey(key);
    if (removed == child) {
        child = removed->left;
    }
    if (child == nullptr) {
        balance += shrink;
    } else {
        child = child->rebalance();
        if ((before == 1 || before == -1) && child->balance == 0) {
            balance += shrink;
        }
    }
    return removed;
}

}  // namespace

AVLBinaryTreeNode* AVLBinaryTreeNode::removeKey(int key) {
    if (nodeData->key < key) {
        return removeBelow(right, balance, -1, key);
    }
    if (nodeData->key > key) {
        return removeBelow(left, balance, +1, key);
    }
    return removeThisNode();
}

// With two children, an even key is replaced by its in-order successor and
// an odd key (remainder 1, or -1 when negative) by its predecessor.
AVLBinaryTreeNode* AVLBinaryTreeNode::removeThisNode() {
    if (right == nullptr) {
        return this;
    }
    if (left == nullptr) {
        left = right;
        right = nullptr;
        return this;
    }
    const int replacement = nodeData->key % 2 == 0 ? right->first()->key : left->last()->key;
    AVLBinaryTreeNode* holder = removeKey(replacement);
    NodeData* own = nodeData;
    nodeData = holder->nodeData;
    holder->nodeData = own;
    return holder;
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

AVLBinaryTreeNode* AVLBinaryTreeNode::rebalance() {
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

AVLBinaryTree::~AVLBinaryTree() {
    delete root;
}

int AVLBinaryTree::size() const {
    return root != nullptr ? root->size() : 0;
}

bool AVLBinaryTree::insert(int key, Data* data) {
    auto record = std::make_unique<NodeData>(key, data);
    if (root == nullptr) {
        root = new AVLBinaryTreeNode(record.get());
        record.release();
        return true;
    }
    const bool inserted = root->insert(record.get());
    root = root->rebalance();
    if (inserted) {
        record.release();
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
    delete removed;
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
