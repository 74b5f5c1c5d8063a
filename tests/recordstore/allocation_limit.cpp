#include "allocation_limit.h"

#include <cstdlib>
#include <new>

namespace qinghe::recordstore::testing {
namespace {
std::size_t limit = 0;
}  // namespace

void setAllocationLimit(std::size_t bytes) {
    limit = bytes;
}

}  // namespace qinghe::recordstore::testing

void* operator new(std::size_t size) {
    using qinghe::recordstore::testing::limit;
    if (limit != 0 && size > limit) throw std::bad_alloc();
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
