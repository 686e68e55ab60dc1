// The test program's global operator new and delete, with one allocation made to fail on
// request (AllocationFailure.h).
#include "AllocationFailure.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace workbench::testing {

namespace {

std::atomic<std::size_t> FailingSize{0};
std::atomic<bool> Failed{false};

} // namespace

void FailNextAllocationOfSize(std::size_t size) {
    Failed = false;
    FailingSize = size;
}

bool ArmedAllocationFailed() {
    return Failed;
}

} // namespace workbench::testing

namespace {

void *Allocate(std::size_t size) {
    using namespace workbench::testing;
    std::size_t armed = size;
    if (size != 0 && FailingSize.compare_exchange_strong(armed, 0)) {
        Failed = true;
        throw std::bad_alloc();
    }
    if (void *p = std::malloc(size == 0 ? 1 : size)) {
        return p;
    }
    throw std::bad_alloc();
}

} // namespace

void *operator new(std::size_t size) {
    return Allocate(size);
}

void *operator new[](std::size_t size) {
    return Allocate(size);
}

void operator delete(void *p) noexcept {
    std::free(p);
}

void operator delete[](void *p) noexcept {
    std::free(p);
}

void operator delete(void *p, std::size_t) noexcept {
    std::free(p);
}

void operator delete[](void *p, std::size_t) noexcept {
    std::free(p);
}

// The forms that return null instead of throwing must come from the same heap as the others.
void *operator new(std::size_t size, const std::nothrow_t &) noexcept {
    try {
        return Allocate(size);
    } catch (const std::bad_alloc &) {
        return nullptr;
    }
}

void *operator new[](std::size_t size, const std::nothrow_t &) noexcept {
    try {
        return Allocate(size);
    } catch (const std::bad_alloc &) {
        return nullptr;
    }
}

void operator delete(void *p, const std::nothrow_t &) noexcept {
    std::free(p);
}

void operator delete[](void *p, const std::nothrow_t &) noexcept {
    std::free(p);
}
