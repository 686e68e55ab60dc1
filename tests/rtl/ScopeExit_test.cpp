// The scope guard runs its action once, when the scope ends normally or by an exception.
#include "platform/rtl/ScopeExit.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace {

TEST(ScopeExit, RunsItsActionOnceWhenTheScopeEndsHoweverItEnds) {
    std::vector<const char *> log;
    {
        const rtl::TScopeExit done([&]() noexcept { log.push_back("normal"); });
        log.push_back("body");
    }
    try {
        const rtl::TScopeExit done([&]() noexcept { log.push_back("unwound"); });
        throw std::runtime_error("leaves the scope");
    } catch (const std::runtime_error &) {
        log.push_back("caught");
    }
    EXPECT_EQ(log, (std::vector<const char *>{"body", "normal", "unwound", "caught"}));
}

} // namespace
