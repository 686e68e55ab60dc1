// Test helper: makes one chosen allocation of the test program fail, as memory running out
// would (the global operator new of the test program checks it).
#pragma once

#include <cstddef>

namespace workbench::testing {

// The next allocation of exactly size bytes throws std::bad_alloc; later ones succeed.
void FailNextAllocationOfSize(std::size_t size);
// Whether the armed allocation has failed since it was armed.
bool ArmedAllocationFailed();

} // namespace workbench::testing
