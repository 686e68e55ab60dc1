// The setter pattern: a new value is stored and reacted to once; an equal one changes nothing.
#include "platform/rtl/Property.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(SetProperty, StoresAndReactsOnlyWhenTheValueDiffers) {
    std::u16string field = u"a";
    int reactions = 0;
    const auto react = [&] { ++reactions; };
    EXPECT_FALSE(rtl::SetProperty(field, u"a", react));
    EXPECT_EQ(reactions, 0);
    EXPECT_TRUE(rtl::SetProperty(field, u"b", react));
    EXPECT_EQ(field, u"b");
    EXPECT_EQ(reactions, 1);
    EXPECT_FALSE(rtl::SetProperty(field, std::u16string(u"b"), react));
    EXPECT_EQ(reactions, 1);
}

} // namespace
