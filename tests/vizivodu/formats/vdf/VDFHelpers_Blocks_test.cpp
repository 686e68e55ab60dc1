// The native format's value helpers: the worked examples byte for byte, hex codecs, blocks,
// the tokenizer and style references.
#include "vizivodu/document/VDFHelpers.h"

#include "vizivodu/document/VDClasses.h"
#include "vizivodu/styles/VDStyle.h"

#include "platform/rtl/Classes.h"
#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

using namespace vizivodu;

namespace {

std::string Bytes(TVDMemoryStream &stream) {
    const auto *p = reinterpret_cast<const char *>(stream.GetMemory());
    return p ? std::string(p, static_cast<size_t>(stream.GetSize())) : std::string();
}

std::string Written(const std::function<void(rtl::TStream &)> &write) {
    TVDMemoryStream stream;
    write(stream);
    return Bytes(stream);
}

} // namespace

TEST(VDFHelpers, UnicodeTextLineWithNulInBinaryAndTextMode) {
    const std::string text("\x41\x00\x00\x00\x42\x00", 6);
    EXPECT_EQ(Written([&](rtl::TStream &s) { VDFWriteTextLine(s, text, true, false); }),
              std::string("\x41\x00\x3F\x00\x42\x00\x29\x20", 8));
    EXPECT_EQ(Written([&](rtl::TStream &s) { VDFWriteTextLine(s, text, true, true); }),
              "41003F004200\r\n");
    EXPECT_EQ(Written([&](rtl::TStream &s) {
                  VDFWriteTextLine(s, std::string("a\0b", 3), false, false);
              }),
              "a?b\r\n");
}

TEST(VDFHelpers, HexToStream) {
    struct Case {
        std::string hex;
        bool ok;
        std::string bytes;
    };
    const Case cases[] = {
        {"0a1B", true, "\x0A\x1B"},
        {"0a1", false, ""},      // odd: untouched
        {"0a1g", false, "\x0A"}, // the pair before the bad one stays
        {"", true, ""},
    };
    for (const Case &c : cases) {
        TVDMemoryStream stream;
        EXPECT_EQ(VDFHexToStream(c.hex, stream), c.ok) << c.hex;
        EXPECT_EQ(Bytes(stream).substr(0, c.bytes.size()), c.bytes) << c.hex;
        if (c.hex.size() % 2 != 0) {
            EXPECT_EQ(stream.GetSize(), 0);
        }
    }
}

TEST(VDFHelpers, UnicodeHexIsMostSignificantFirst) {
    EXPECT_EQ(VDFUnicodeToHex(u"\u00E9"), "00E9");
    EXPECT_EQ(VDFHexToUnicode("00e90041"), u"\u00E9A");
    EXPECT_EQ(VDFHexToUnicode("00E"), u"");
    EXPECT_EQ(VDFHexToUnicode("0041zz41"), u"A");
    // The item-text hex of the same character is low byte first.
    EXPECT_EQ(VDFStringToHex(StringToRawUnicode(u"\u00E9")), "E900");
}

TEST(VDFHelpers, ReadIntegerCases) {
    struct Case {
        std::string text;
        bool ok;
        int32_t value;
        std::string rest;
    };
    const Case cases[] = {
        {"-12 x", true, -12, "x"},
        {"12x", false, 0, "12x"},
        {"x", false, 0, "x"},
        {"- 5", true, 0, "5"},
        {"2147483647", true, 2147483647, ""},
        {"-2147483648 1", true, INT32_MIN, "1"},
        {"2147483648", false, 0, "2147483648"},
    };
    for (const Case &c : cases) {
        const char *p = c.text.c_str();
        int32_t value = 0;
        EXPECT_EQ(VDFReadInteger(p, value), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(value, c.value) << c.text;
        }
        EXPECT_EQ(std::string(p), c.rest) << c.text;
    }
    const char16_t *w = u"-7 9";
    int32_t value = 0;
    ASSERT_TRUE(VDFReadIntegerW(w, value));
    EXPECT_EQ(value, -7);
    EXPECT_EQ(std::u16string(w), u"9");
}

TEST(VDFHelpers, OptionalStrings) {
    struct Case {
        std::string text;
        std::u16string value;
    };
    const Case cases[] = {{"\"a\"\"b\" x", u"a\"b"}, {"0 x", u""}, {"\"0\" x", u"0"}};
    for (const Case &c : cases) {
        const char *p = c.text.c_str();
        TVDUnicodeString s;
        ASSERT_TRUE(VDFReadOptionalString(p, false, true, true, s)) << c.text;
        EXPECT_EQ(s, c.value) << c.text;
        EXPECT_EQ(std::string(p), "x");
    }
    EXPECT_EQ(VDFFormatOptionalString(false, u""), "0");
    EXPECT_EQ(VDFFormatOptionalString(false, u"0"), "\"0\"");
}

TEST(VDFHelpers, StyleNamesWithLineBreaksAndQuotesSurvive) {
    TVDStyle style(nullptr);
    style.GetTextStyles().GetItem(1).SetStyleName(u"a\"b\r\nc");
    const std::string ref = VDFFormatTextStyleRef(style, true, 1);
    EXPECT_EQ(ref.find_first_of("\r\n"), std::string::npos);
    EXPECT_EQ(ref, "\"a\"\"b\x01\x02"
                   "c\"");
    const char *p = ref.c_str();
    int32_t no = -1;
    bool named = false;
    ASSERT_TRUE(VDFReadTextStyleRef(style, p, no, named, true));
    EXPECT_EQ(no, 1);
    EXPECT_TRUE(named);
    EXPECT_EQ(VDFFormatTextStyleRef(style, true, 2147483647), "2147483647");
    EXPECT_EQ(VDFFormatTextStyleRef(style, false, 1), "1");
    const char *unknown = "\"nope\"";
    ASSERT_TRUE(VDFReadTextStyleRef(style, unknown, no, named, true));
    EXPECT_EQ(no, 0);
}

TEST(VDFHelpers, BlocksArePatchedAndChecked) {
    TVDMemoryStream stream;
    VDFWrite(stream, "x");
    VDFWriteBlock(stream, [&] { VDFWrite(stream, "abc"); });
    EXPECT_EQ(Bytes(stream), std::string("x\x03\x00\x00\x00"
                                         "abc",
                                         8));
    stream.SetPosition(1);
    EXPECT_EQ(VDFReadBlock(stream), "abc");
    // A block that claims more than the stream holds fails before allocating.
    TVDMemoryStream bad;
    const int32_t huge = 0x7FFFFFF0;
    bad.WriteBuffer(&huge, 4);
    bad.SetPosition(0);
    EXPECT_THROW(VDFReadBlock(bad), rtl::Exception);
    TVDMemoryStream negative;
    const int32_t minus = -1;
    negative.WriteBuffer(&minus, 4);
    negative.SetPosition(0);
    EXPECT_THROW(VDFReadBlock(negative), rtl::Exception);
}
