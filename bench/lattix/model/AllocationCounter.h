#pragma once

#include <cstddef>

// Counts the heap allocations of the whole program (global operator new), so that a
// benchmark can tell how many a piece of work made.
namespace AllocationCounter {

std::size_t Count();
std::size_t Bytes();

} // namespace AllocationCounter
