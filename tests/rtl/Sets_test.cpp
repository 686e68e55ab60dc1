// Sets of enumeration values: members, union, difference, intersection and the full set.
#include "platform/rtl/Sets.h"

#include <gtest/gtest.h>

using namespace rtl;

namespace {

enum TColour : uint8_t { Red, Green, Blue };
using TColours = TSet<TColour, 3>;
enum TWide : uint8_t { First, Last = 63 };
using TWides = TSet<TWide, 64>;

} // namespace

TEST(Sets, Operations) {
    TColours warm{Red};
    TColours cold{Green, Blue};
    EXPECT_TRUE(warm.Contains(Red));
    EXPECT_FALSE(warm.Contains(Blue));
    EXPECT_EQ(warm + cold, TColours::All());
    EXPECT_EQ(TColours::All() - cold, warm);
    EXPECT_TRUE((warm * cold).Empty());
    EXPECT_EQ(TColours::All().Bits(), 7u);
    EXPECT_EQ(TColours::FromBits(0xFF), TColours::All());
    warm.Set(Blue, true).Exclude(Red);
    EXPECT_EQ(warm, TColours{Blue});
    warm += cold;
    warm -= TColours{Green};
    EXPECT_EQ(warm, TColours{Blue});
    EXPECT_TRUE(TWides::All().Contains(Last));
    EXPECT_EQ(TWides::All().Bits(), ~uint64_t(0));
}
