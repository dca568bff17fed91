#include <climits>

#include "AVLBinaryTree.h"

namespace {

// Checks the subtree, whose keys must lie strictly between lower and upper,
// and stores its height. Returns the first problem found, or "".
std::string checkNode(const AVLBinaryTreeNode* node, long long lower, long long upper,
                      int& height) {
    height = 0;
    if (node == nullptr) {
        return "";
    }
    if (node->nodeData == nullptr) {
        return "node without a record";
    }
    if (node->nodeData != AVLSlotPool::recordBeside(node)) {
        return "record outside its node's slot";
    }
    const int key = node->nodeData->key;
    const std::string where = " at key " + std::to_string(key);
    if (key <= lower || key >= upper) {
        return "key out of search order" + where;
    }
    int leftHeight = 0;
    int rightHeight = 0;
    std::string problem = checkNode(node->left, lower, key, leftHeight);
    if (problem.empty()) {
        problem = checkNode(node->right, key, upper, rightHeight);
    }
    if (!problem.empty()) {
        return problem;
    }
    if (node->balance != rightHeight - leftHeight) {
        return "balance " + std::to_string(node->balance) + " but heights differ by " +
               std::to_string(rightHeight - leftHeight) + where;
    }
    if (node->balance < -1 || node->balance > 1) {
        return "out of balance" + where;
    }
    height = 1 + (leftHeight > rightHeight ? leftHeight : rightHeight);
    return "";
}

}  // namespace

std::string checkAvlSubtree(const AVLBinaryTreeNode* root) {
    int height = 0;
    return checkNode(root, LLONG_MIN, LLONG_MAX, height);
}

std::string AVLBinaryTree::checkInvariants() const {
    std::string problem = checkAvlSubtree(root);
    const std::size_t nodes = static_cast<std::size_t>(size());
    if (problem.empty() && pool.liveSlots() != nodes) {
        problem = "the pool holds " + std::to_string(pool.liveSlots()) + " slots for " +
                  std::to_string(nodes) + " nodes";
    }
    return problem;
}
