// A test program that links allocation_limit.cpp replaces the global
// operator new: allocations larger than a limit then fail with
// std::bad_alloc, as they would on a machine without the memory.
#pragma once

#include <cstddef>

namespace qinghe::recordstore::testing {

// Allocations larger than `bytes` fail from now on; 0 lifts the limit.
void setAllocationLimit(std::size_t bytes);

}  // namespace qinghe::recordstore::testing
