// A full check of a B-tree's structural invariants, for tests and fuzzers.
#pragma once

#include <string>

#include "BTree.h"

// Describes the first broken invariant of the tree the tracker holds, or
// returns "" when the tree is sound: key order within and across nodes, fill
// bounds, leaves at one depth, parent links, one shared tracker and its root,
// and the tracker's count of the nodes.
std::string check_btree(const RootTracker& tracker);
