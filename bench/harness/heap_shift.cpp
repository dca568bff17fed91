#include "heap_shift.h"

namespace {

constexpr std::size_t kGranule = 16;  // malloc's alignment
constexpr std::size_t kMostGranules = 256;

}  // namespace

void HeapShift::next() {
    m_block.reset();
    std::uniform_int_distribution<std::size_t> granules(1, kMostGranules);
    m_bytes = granules(m_generator) * kGranule;
    m_block = std::make_unique<char[]>(m_bytes);
    // Written, so that its pages are the process's as the maps' will be.
    m_block[0] = m_block[m_bytes - 1] = 1;
}
