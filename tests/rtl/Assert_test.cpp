// Contract checks: a broken contract stops the program with its message where checks are on,
// and costs nothing (the condition is not even evaluated) where they are off.
#include "platform/rtl/Assert.h"

#include <gtest/gtest.h>

namespace {

int Evaluations = 0;

bool Counted(bool value) {
    ++Evaluations;
    return value;
}

TEST(Assert, AKeptContractPasses) {
    Evaluations = 0;
    WB_ASSERT(Counted(true), "never shown");
#if defined(WB_ASSERTIONS)
    EXPECT_EQ(Evaluations, 1);
#else
    EXPECT_EQ(Evaluations, 0);
#endif
}

#if defined(WB_ASSERTIONS)
TEST(AssertDeathTest, ABrokenContractAbortsNamingMessageConditionAndPlace) {
    const int index = 7, count = 3;
    EXPECT_DEATH(
        WB_ASSERT(index < count, "index inside the list"),
        "Assert_test.cpp:[0-9]+: contract broken: index inside the list \\(index < count\\)");
}
#else
TEST(Assert, ABrokenContractIsNotEvaluatedWithoutChecks) {
    Evaluations = 0;
    WB_ASSERT(Counted(false), "not checked in this build");
    EXPECT_EQ(Evaluations, 0);
}
#endif

} // namespace
