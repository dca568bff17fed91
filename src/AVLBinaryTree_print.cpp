// The AVL tree's console drawing, level by level, and its preorder dump.
#include <cstdint>
#include <iostream>

#include "AVLBinaryTree.h"

namespace {

// Column counts grow as 2^depth, beyond int for tall trees.
void writeSpaces(std::ostream& out, std::uint64_t count) {
    static const char spaces[] = "                                                                ";
    constexpr std::uint64_t chunk = sizeof spaces - 1;
    while (count > 0) {
        const std::uint64_t now = count < chunk ? count : chunk;
        out.write(spaces, static_cast<std::streamsize>(now));
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

void NodeData::print(std::ostream& out) {
    out << key;
}

void AVLBinaryTreeNode::print(std::ostream& out, int level, int nodeLevel) const {
    if (level == nodeLevel) {
        writeSpaces(out, columns(nodeLevel) - 2);
        out << balanceCharacter(balance);
        const int key = nodeData->key;
        if (key >= 10 && key <= 35) {
            out << "ABCDEFGHIJKLMNOPQRSTUVWXYZ"[key - 10];
        } else {
            nodeData->print(out);
        }
        return;
    }
    const std::uint64_t width = columns(nodeLevel - 1);
    if (left != nullptr) {
        left->print(out, level, nodeLevel - 1);
    } else {
        writeSpaces(out, width);
    }
    if (right != nullptr) {
        right->print(out, level, nodeLevel - 1);
    } else {
        writeSpaces(out, width);
    }
}

void AVLBinaryTreeNode::preorderTraversal(std::ostream& out) const {
    nodeData->print(out);
    out << "(" << balance << ")";
    if (left != nullptr) {
        out << ",";
        left->preorderTraversal(out);
    }
    if (right != nullptr) {
        out << ",";
        right->preorderTraversal(out);
    }
}

// The line of level L is indented by 2^(d-1) - 2^(L-1) spaces.
void AVLBinaryTree::print(std::ostream& out) const {
    if (root == nullptr) {
        return;
    }
    const int depth = root->depth();
    out << "----depth=" << depth << "----" << std::endl;
    std::uint64_t indentation = 0;
    for (int level = depth; level >= 1; --level) {
        if (level < depth) {
            indentation += columns(level - 1);
        }
        writeSpaces(out, indentation);
        root->print(out, level, depth);
        out << std::endl;
    }
}

void AVLBinaryTree::print() const {
    print(std::cout);
}
