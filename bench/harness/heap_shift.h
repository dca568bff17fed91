// Where a map's nodes land decides how many cache lines each one spans (a
// 48-byte node in a 64-byte chunk straddles two lines from some offsets and
// not from others), and where they land follows from every allocation the
// process made before. Two builds of the same map, or two processes of one
// build given other arguments, can so differ by 5 to 20 % with the same
// instructions. Before each run the bench holds a block of a random size,
// so that the runs sample the heap's offsets instead of inheriting one.
#pragma once

#include <cstddef>
#include <memory>
#include <random>

class HeapShift {
public:
    HeapShift() : m_generator(std::random_device{}()) {}
    // Frees the last block and holds a new one of 16 to 4096 bytes.
    void next();
    std::size_t bytes() const { return m_bytes; }

private:
    std::mt19937 m_generator;
    std::unique_ptr<char[]> m_block;
    std::size_t m_bytes = 0;
};
