// The slot pool of the AVL tree: a node and its record per slot, slabs of
// slots, and a free list through the slots given back.
#include <algorithm>
#include <cstring>
#include <new>

#include "AVLBinaryTree.h"
#include "asan_poison.h"
#include "step_counts.h"

namespace {

// A slot: the node, then its record, packed (56 bytes). Slots of a whole
// 64-byte line each measured no faster and cost 8 bytes more per entry.
constexpr std::size_t kRecordOffset = AVLSlotPool::kRecordOffset;
constexpr std::size_t kSlotBytes = kRecordOffset + sizeof(NodeData);
constexpr std::size_t kCacheLine = 64;
constexpr std::align_val_t kSlotAlignment{kCacheLine};
// As many slots as fit in 8 KiB beside the allocator's bookkeeping.
constexpr std::size_t kSlabTarget = 8192;
constexpr std::size_t kAllocatorBookkeeping = 16;
constexpr std::size_t kSlabBytes = (kSlabTarget - kAllocatorBookkeeping) / kSlotBytes * kSlotBytes;
constexpr std::size_t kFirstSlabCapacity = 16;

static_assert(kSlotBytes % alignof(AVLBinaryTreeNode) == 0,
              "the next slot's node must stay aligned");
static_assert(kRecordOffset % alignof(NodeData) == 0, "the record must stay aligned");

}  // namespace

AVLSlotPool::~AVLSlotPool() {
    for (char* slab : m_slabs) {
        MAPBENCH_UNPOISON(slab, kSlabBytes);
        ::operator delete(slab, kSlotAlignment);
    }
}

void* AVLSlotPool::takeSlot() {
    void* slot = m_free;
    if (slot != nullptr) {
        MAPBENCH_UNPOISON(slot, kSlotBytes);
        std::memcpy(&m_free, slot, sizeof m_free);
        return slot;
    }
    if (m_unused == m_slabEnd) {
        if (m_nextSlab == m_slabs.size()) {
            // Room for the slab's pointer before the slab exists, so that a
            // failing push cannot leak it; grown by doubling, as push_back
            // would, so that keeping the list stays linear in the slabs.
            if (m_slabs.size() == m_slabs.capacity()) {
                m_slabs.reserve(std::max<std::size_t>(kFirstSlabCapacity, 2 * m_slabs.capacity()));
            }
            char* slab = static_cast<char*>(::operator new(kSlabBytes, kSlotAlignment));
            countEvent(&MapEvents::slabs);
            MAPBENCH_POISON(slab, kSlabBytes);
            m_slabs.push_back(slab);
        }
        m_unused = m_slabs[m_nextSlab++];
        m_slabEnd = m_unused + kSlabBytes;
    }
    slot = m_unused;
    m_unused += kSlotBytes;
    MAPBENCH_UNPOISON(slot, kSlotBytes);
    return slot;
}

void AVLSlotPool::restartWhenEmpty() {
    if (m_live != 0) {
        return;
    }
    for (char* slab : m_slabs) {
        MAPBENCH_POISON(slab, kSlabBytes);
    }
    m_free = nullptr;
    m_nextSlab = 0;
    m_unused = nullptr;
    m_slabEnd = nullptr;
}

void AVLSlotPool::giveBack(void* slot) {
    std::memcpy(slot, &m_free, sizeof m_free);
    m_free = slot;
    MAPBENCH_POISON(slot, kSlotBytes);
}

NodeData* AVLSlotPool::newRecord(int key, Data* data) {
    char* slot = static_cast<char*>(takeSlot());
    ++m_live;
    return new (slot + kRecordOffset) NodeData(key, data);
}

void AVLSlotPool::freeRecord(NodeData* record) {
    --m_live;
    giveBack(nodePlaceOf(record));
}

void AVLSlotPool::freeNode(AVLBinaryTreeNode* node) {
    --m_live;
    giveBack(node);
}

AVLBinaryTreeNode* AVLBinaryTreeNode::createFor(NodeData* record) {
    return new (AVLSlotPool::nodePlaceOf(record)) AVLBinaryTreeNode(record);
}
