// Sets of enumeration values: members, union, difference, intersection and their bits.
#include "platform/rtl/Sets.h"

#include <gtest/gtest.h>

using namespace rtl;

namespace {

enum TColour : uint8_t { Red, Green, Blue };
using TColours = TSet<TColour>;
enum TWide : uint8_t { First, Last = 63 };
using TWides = TSet<TWide>;

} // namespace

TEST(Sets, Operations) {
    TColours warm{Red};
    const TColours cold{Green, Blue};
    const TColours all = TColours::FromBits(7);
    EXPECT_TRUE(warm.Contains(Red));
    EXPECT_FALSE(warm.Contains(Blue));
    EXPECT_EQ(warm + cold, all);
    EXPECT_EQ(all - cold, warm);
    EXPECT_TRUE((warm * cold).Empty());
    EXPECT_EQ((warm + cold).Bits(), 7u);
    warm.Include(Blue).Exclude(Red);
    EXPECT_EQ(warm, TColours{Blue});
    warm.Set(Green, true).Set(Blue, false);
    warm += TColours{Red};
    warm -= TColours{Green};
    EXPECT_EQ(warm, TColours{Red});
    EXPECT_EQ((TSet<TColour, 3>::All()).Bits(), 7u);
    EXPECT_EQ(TWides::All().Bits(), ~uint64_t(0));
    EXPECT_TRUE(TWides{Last}.Contains(Last));
    EXPECT_EQ(TWides{Last}.Bits(), uint64_t(1) << 63);
}
