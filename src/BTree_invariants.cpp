#include "BTree_invariants.h"

#include <climits>
#include <sstream>

namespace {

class Checker {
public:
    explicit Checker(const RootTracker& tracker) : m_tracker(tracker) {}

    std::string check_tree() {
        const Node* root = m_tracker.m_root;
        if (root == null_ptr) {
            return "the tracker holds no root";
        }
        if (root->m_parent != nullptr) {
            return "the root has a parent";
        }
        if (root->key_count() == 0 && !root->is_leaf()) {
            return "a keyless root is not a leaf";
        }
        std::string problem = check_node(root, nullptr, LLONG_MIN, LLONG_MAX, 0);
        if (problem.empty() && m_tracker.m_nodes != m_nodes) {
            problem = "the tracker counts " + std::to_string(m_tracker.m_nodes) +
                      " nodes, the tree has " + std::to_string(m_nodes);
        }
        if (problem.empty() && root->fetched_lines() != root->lines_to_fetch()) {
            problem = "the lines fetched ahead do not follow the node count";
        }
        return problem;
    }

private:
    // Keys of `node` must lie strictly between lower and upper.
    std::string check_node(const Node* node, const Node* parent, long long lower, long long upper,
                           int depth) {
        std::string problem = check_own_fields(node, parent);
        if (problem.empty()) {
            problem = check_keys(node, lower, upper);
        }
        if (problem.empty() && node->is_leaf()) {
            problem = check_leaf(depth);
        }
        if (!problem.empty()) {
            return problem + " in node " + describe(node);
        }
        return node->is_leaf() ? "" : check_children(node, lower, upper, depth);
    }

    std::string check_own_fields(const Node* node, const Node* parent) {
        ++m_nodes;
        if (&node->m_root_tracker != &m_tracker) {
            return "node refers to another tracker";
        }
        if (node->m_parent != parent) {
            return "wrong m_parent";
        }
        if (node->m_max_count != m_tracker.m_root->m_max_count) {
            return "slot count differs from the root's";
        }
        if (node->m_count < 1 || node->m_count > node->capacity() - 1) {
            return "m_count " + std::to_string(node->m_count) + " outside 1.." +
                   std::to_string(node->capacity() - 1);
        }
        if (node->key(0) != -1) {
            return "zeroth element's key is not -1";
        }
        if (parent != nullptr && node->key_count() < node->minimum_keys()) {
            return "underfull node";
        }
        return "";
    }

    static std::string check_keys(const Node* node, long long lower, long long upper) {
        long long previous = lower;
        for (int i = 1; i < node->m_count; ++i) {
            const long long key = node->key(i);
            if (key <= previous) {
                return "keys out of order at element " + std::to_string(i);
            }
            previous = key;
        }
        if (node->key_count() > 0 && previous >= upper) {
            return "last key not below the parent's bound";
        }
        return "";
    }

    // A leaf is built without subtree slots, so it has no child by
    // construction; what remains is that every leaf lies at one depth.
    std::string check_leaf(int depth) {
        if (m_leaf_depth < 0) {
            m_leaf_depth = depth;
        }
        return depth == m_leaf_depth ? "" : "leaves at different depths";
    }

    // Child i holds the keys between element i's key (the node's own lower
    // bound for child 0) and element i + 1's key (its upper bound for the last).
    std::string check_children(const Node* node, long long lower, long long upper, int depth) {
        for (int i = 0; i < node->m_count; ++i) {
            const Node* child = node->subtree(i);
            if (child == null_ptr || child == invalid_ptr) {
                return "inner element " + std::to_string(i) + " lacks a subtree in node " +
                       describe(node);
            }
            const long long below = i == 0 ? lower : node->key(i);
            const long long above = i + 1 < node->m_count ? node->key(i + 1) : upper;
            std::string problem = check_node(child, node, below, above, depth + 1);
            if (!problem.empty()) {
                return problem;
            }
        }
        return "";
    }

    static std::string describe(const Node* node) {
        std::ostringstream text;
        text << "[";
        for (int i = 1; i < node->m_count; ++i) {
            text << (i > 1 ? " " : "") << node->key(i);
        }
        text << "]";
        return text.str();
    }

    const RootTracker& m_tracker;
    int m_leaf_depth = -1;
    std::size_t m_nodes = 0;  // visited
};

}  // namespace

std::string check_btree(const RootTracker& tracker) {
    return Checker(tracker).check_tree();
}

std::string BTree::check_invariants() const {
    return check_btree(root_tracker());
}
