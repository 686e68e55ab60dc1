// Tests of the name index: growth, lookups, repeated names and the name length limit.
#include "app/core/UNameIndex.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace workbench {
namespace {

std::u16string NameOf(int i) {
    std::u16string name = u"E";
    for (const char ch : std::to_string(i)) {
        name += static_cast<char16_t>(ch);
    }
    return name;
}

TEST(NameIndex, GrowsAndFindsEveryName) {
    TNameIndex index;
    EXPECT_EQ(index.Find(u"E1"), -1);
    for (int i = 0; i < 5000; ++i) {
        ASSERT_TRUE(index.Insert(NameOf(i), i));
    }
    EXPECT_EQ(index.Size(), 5000u);
    for (int i = 0; i < 5000; ++i) {
        ASSERT_EQ(index.Find(NameOf(i)), i);
    }
    EXPECT_EQ(index.Find(u"E5000"), -1);
    EXPECT_EQ(index.Find(u"e1"), -1); // names compare exactly
}

TEST(NameIndex, RefusesARepeatedNameAndKeepsTheFirst) {
    TNameIndex index;
    index.Reserve(4);
    EXPECT_TRUE(index.Insert(u"A", 0));
    EXPECT_TRUE(index.Insert(u"", 1));
    EXPECT_FALSE(index.Insert(u"A", 2));
    EXPECT_FALSE(index.Insert(u"", 3));
    EXPECT_EQ(index.Find(u"A"), 0);
    EXPECT_EQ(index.Find(u""), 1);
    EXPECT_EQ(index.Size(), 2u);
}

TEST(NameIndex, NameLengthLimit) {
    TNameIndex index;
    EXPECT_TRUE(index.Insert(u"1234567890", 7));
    EXPECT_EQ(index.Find(u"1234567890"), 7);
    EXPECT_THROW(index.Insert(u"12345678901", 8), std::length_error);
    EXPECT_EQ(index.Find(u"12345678901"), -1);
    index.Clear();
    EXPECT_EQ(index.Find(u"1234567890"), -1);
    EXPECT_EQ(index.Size(), 0u);
}

} // namespace
} // namespace workbench
