// Contract checks: WB_ASSERT(condition, message) states what a caller must keep and an operation
// does not check for speed (an index inside a container that has no range checks, a pixel
// inside the bitmap for the unclipped drawing operations).
//
// In Debug and sanitizer builds (WB_ASSERTIONS, set by the build) a broken contract prints the
// file, line, condition and message on standard error, with a stack trace in sanitizer builds,
// and aborts: it is a fault of the caller, never an error to handle. In other builds the
// condition is not evaluated. Errors of input or of the environment are exceptions, not
// assertions.
#pragma once

namespace rtl {

[[noreturn]] void AssertionFailed(const char *file, int line, const char *condition,
                                  const char *message) noexcept;

} // namespace rtl

#if defined(WB_ASSERTIONS)
#define WB_ASSERT(condition, message)                                                              \
    ((condition) ? void(0) : ::rtl::AssertionFailed(__FILE__, __LINE__, #condition, message))
#else
#define WB_ASSERT(condition, message) static_cast<void>(sizeof(!(condition)))
#endif
