// The report of a broken contract.
#include "platform/rtl/Assert.h"

#include <cstdio>
#include <cstdlib>

#if defined(__SANITIZE_ADDRESS__)
#define WB_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define WB_SANITIZED 1
#endif
#endif

#if defined(WB_SANITIZED)
#include <sanitizer/common_interface_defs.h>
#endif

namespace rtl {

void AssertionFailed(const char *file, int line, const char *condition,
                     const char *message) noexcept {
    std::fprintf(stderr, "%s:%d: contract broken: %s (%s)\n", file, line, message, condition);
#if defined(WB_SANITIZED)
    __sanitizer_print_stack_trace();
#endif
    std::fflush(stderr);
    std::abort();
}

} // namespace rtl
