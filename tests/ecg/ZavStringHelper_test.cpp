// Splitting text and converting strings to and from byte arrays.
#include "ecg/ZavStringHelper.h"

#include <gtest/gtest.h>

#include <vector>

namespace ecg {
namespace {

std::vector<rtl::UnicodeString> Parts(const rtl::UnicodeString &s, const rtl::UnicodeString &d) {
    const auto list = SplitString(s, d);
    std::vector<rtl::UnicodeString> parts;
    for (std::int32_t i = 0; i < list->GetCount(); ++i) {
        parts.push_back((*list)[i]);
    }
    return parts;
}

TEST(SplitString, PartsBetweenDelimiters) {
    struct Case {
        rtl::UnicodeString text;
        rtl::UnicodeString delimiter;
        std::vector<rtl::UnicodeString> parts;
    };
    const Case cases[] = {
        {u"REAL12_F_25.01.1971", u"_", {u"REAL12", u"F", u"25.01.1971"}},
        {u"a_b_", u"_", {u"a", u"b"}},
        {u"_", u"_", {u""}},
        {u"_a", u"_", {u"", u"a"}},
        {u"a__b", u"_", {u"a", u"", u"b"}},
        {u"", u"_", {}},
        {u"abc", u"_", {u"abc"}},
        {u"a<>b<>c", u"<>", {u"a", u"b", u"c"}},
        {u"a<b>c", u"<>", {u"a<b>c"}},
        {u"abc", u"", {u"abc"}},
        {u" 1 G 2 ", u"G", {u" 1 ", u" 2 "}},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(Parts(c.text, c.delimiter), c.parts) << rtl::Utf16ToUtf8(c.text);
    }
}

TEST(StringToBytes, WithoutLengthByteOnEmptyArrayHoldsExactlyTheAnsiBytes) {
    byte_array bytes;
    StringToBytes(u"KELVORATHIN", bytes, false);
    EXPECT_EQ(bytes, (byte_array{'K', 'E', 'L', 'V', 'O', 'R', 'A', 'T', 'H', 'I', 'N'}));
}

TEST(StringToBytes, LengthByteCountsTheCharacters) {
    byte_array bytes;
    StringToBytes(u"KELVORATHIN", bytes, true);
    ASSERT_EQ(bytes.size(), 12u);
    EXPECT_EQ(bytes[0], 11);
    EXPECT_EQ(bytes[1], 'K');
    EXPECT_EQ(bytes[11], 'N');
}

TEST(StringToBytes, ConvertsToTheAnsiCodePage) {
    byte_array bytes;
    StringToBytes(rtl::U("Жа"), bytes, false);
    EXPECT_EQ(bytes, (byte_array{0xC6, 0xE0}));
}

TEST(StringToBytes, ArrayMuchLongerShrinksToTheText) {
    byte_array bytes(20, 0xEE);
    StringToBytes(u"abc", bytes, false);
    EXPECT_EQ(bytes, (byte_array{'a', 'b', 'c'}));
}

TEST(StringToBytes, ArrayOfExactlyTheTextLengthKeepsItsLength) {
    byte_array bytes(3, 0xEE);
    StringToBytes(u"abc", bytes, false);
    EXPECT_EQ(bytes, (byte_array{'a', 'b', 'c'}));
}

TEST(StringToBytes, ArrayOneLongerKeepsItsLastByte) {
    byte_array bytes(4, 0xEE);
    StringToBytes(u"abc", bytes, false);
    EXPECT_EQ(bytes, (byte_array{'a', 'b', 'c', 0xEE}));
}

TEST(StringToBytes, ShorterArrayTakesWhatFits) {
    byte_array bytes(2, 0xEE);
    StringToBytes(u"abc", bytes, false);
    EXPECT_EQ(bytes, (byte_array{'a', 'b'}));
    byte_array counted(3, 0xEE);
    StringToBytes(u"abc", counted, true);
    EXPECT_EQ(counted, (byte_array{2, 'a', 'b'}));
}

TEST(StringToBytes, EmptyText) {
    byte_array bytes;
    StringToBytes(u"", bytes, false);
    EXPECT_TRUE(bytes.empty());
    StringToBytes(u"", bytes, true);
    EXPECT_EQ(bytes, byte_array{0});
}

// On an array one byte longer than the counted text needs, the length byte used to count that
// last, stale byte as a character of the text.
TEST(StringToBytes, LengthByteNeverCountsBeyondTheText) {
    byte_array bytes(5, 0xEE);
    StringToBytes(u"abc", bytes, true);
    EXPECT_EQ(bytes, (byte_array{3, 'a', 'b', 'c', 0xEE}));
    EXPECT_EQ(BytesToString(bytes, true, false), u"abc");
}

// A length byte cannot count more than 255 characters; the count used to wrap to its low byte
// while all characters were still copied behind it.
TEST(StringToBytes, LengthByteOfLongTextStopsAt255) {
    byte_array bytes;
    StringToBytes(rtl::UnicodeString(300, u'x'), bytes, true);
    ASSERT_EQ(bytes.size(), 301u);
    EXPECT_EQ(bytes[0], 255);
    EXPECT_EQ(bytes[255], 'x');
    EXPECT_EQ(bytes[256], 0);
    EXPECT_EQ(BytesToString(bytes, true, false), rtl::UnicodeString(255, u'x'));
}

TEST(BytesToString, LengthByteIgnoresTheBytesAfterTheCount) {
    EXPECT_EQ(BytesToString({2, 'a', 'b', 'c'}, true, false), u"ab");
    EXPECT_EQ(BytesToString({0, 'a'}, true, false), u"");
    EXPECT_EQ(BytesToString({}, true, false), u"");
    EXPECT_EQ(BytesToString({9, 'a'}, true, false), u"a");
}

TEST(BytesToString, DecodesAnsiOrUtf8) {
    EXPECT_EQ(BytesToString({0xC6, 0xE0}, false, false), rtl::U("Жа"));
    EXPECT_EQ(BytesToString({0xD0, 0x96}, false, true), rtl::U("Ж"));
}

} // namespace
} // namespace ecg
