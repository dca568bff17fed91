// The AVL tree's console drawing, level by level, and its preorder dump.
#include <cstdint>
#include <iostream>

#include "AVLBinaryTree.h"

namespace {

// Column counts grow as 2^depth, beyond int for tall trees.
void writeSpaces(std::uint64_t count) {
    static const char spaces[] = "                                                                ";
    constexpr std::uint64_t chunk = sizeof spaces - 1;
    while (count > 0) {
        const std::uint64_t now = count < chunk ? count : chunk;
        std::cout.write(spaces, static_cast<std::streamsize>(now));
        count -= now;
    }
}

std::uint64_t columns(int level) {
    return std::uint64_t{1} << level;
}

char balanceCharacter(int balance) {
    if (balance >= 2) {
        return '*';
    }
    if (balance <= -2) {
        return '_';
    }
    return balance == 1 ? '+' : balance == -1 ? '-' : ' ';
}

}  // namespace

void NodeData::print() {
    std::cout << key;
}

void AVLBinaryTreeNode::print(int level, int nodeLevel) const {
    if (level == nodeLevel) {
        writeSpaces(columns(nodeLevel) - 2);
        std::cout << balanceCharacter(balance);
        const int key = nodeData->key;
        if (key >= 10 && key <= 35) {
            std::cout << "ABCDEFGHIJKLMNOPQRSTUVWXYZ"[key - 10];
        } else {
            nodeData->print();
        }
        return;
    }
    const std::uint64_t width = columns(nodeLevel - 1);
    if (left != nullptr) {
        left->print(level, nodeLevel - 1);
    } else {
        writeSpaces(width);
    }
    if (right != nullptr) {
        right->print(level, nodeLevel - 1);
    } else {
        writeSpaces(width);
    }
}

void AVLBinaryTreeNode::preorderTraversal() const {
    nodeData->print();
    std::cout << "(" << balance << ")";
    if (left != nullptr) {
        std::cout << ",";
        left->preorderTraversal();
    }
    if (right != nullptr) {
        std::cout << ",";
        right->preorderTraversal();
    }
}

// The line of level L is indented by 2^(d-1) - 2^(L-1) spaces.
void AVLBinaryTree::print() const {
    if (root == nullptr) {
        return;
    }
    const int depth = root->depth();
    std::cout << "----depth=" << depth << "----" << std::endl;
    std::uint64_t indentation = 0;
    for (int level = depth; level >= 1; --level) {
        if (level < depth) {
            indentation += columns(level - 1);
        }
        writeSpaces(indentation);
        root->print(level, depth);
        std::cout << std::endl;
    }
}
