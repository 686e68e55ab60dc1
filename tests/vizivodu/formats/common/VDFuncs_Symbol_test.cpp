// Symbol and Wingdings text to Unicode and to HTML.
#include "vizivodu/formats/common/VDFuncs_Symbol.h"

#include <gtest/gtest.h>

namespace vizivodu {
namespace {

std::u16string Chars(const TVDRawByteString &raw) {
    return RawUnicodeToString(raw);
}

TEST(Symbol, LetterAIsAlpha) {
    EXPECT_EQ(Chars(SymbolAnsiToUnicodeRaw("a")), u"\u03B1");
    EXPECT_EQ(SymbolAnsiToHTML("a", false, false), "&alpha;");
    EXPECT_EQ(SymbolAnsiToHTML("a", true, false), "\xCE\xB1");
}

TEST(Symbol, PublishedMappingSamples) {
    EXPECT_EQ(Chars(SymbolAnsiToUnicodeRaw("\"$DW`\xA5\xB7\xD6\xE5\xF1")),
              u"\u2200\u2203\u0394\u03A9\uF8E5\u221E\u2022\u221A\u2211\u232A");
    EXPECT_EQ(SymbolAnsiToHTML("\"\\\xA7\xBC", false, false), "&forall;&there4;&clubs;&hellip;");
    EXPECT_EQ(SymbolAnsiToHTML("\xE6\xFE", false, false), "&#9115;&#9133;");
}

TEST(Symbol, CodesWithoutCharacterAreDropped) {
    for (const char *s : {"\x7F", "\x80", "\x9F", "\xF0", "\xFF", "\x1F"}) {
        EXPECT_EQ(SymbolAnsiToUnicodeRaw(s), "") << int(static_cast<uint8_t>(*s));
        EXPECT_EQ(SymbolAnsiToHTML(s, false, false), "") << int(static_cast<uint8_t>(*s));
    }
    EXPECT_EQ(Chars(SymbolAnsiToUnicodeRaw("a\x85"
                                           "b")),
              u"\u03B1\u03B2");
}

TEST(Symbol, PlainCharactersAndTrailingBlank) {
    EXPECT_EQ(SymbolAnsiToHTML("1<&>'", false, false), "1&lt;&amp;&gt;?");
    EXPECT_EQ(SymbolAnsiToHTML("a ", false, true), "&alpha;&nbsp;");
    EXPECT_EQ(SymbolAnsiToHTML("a <", true, true), "\xCE\xB1 &lt;");
}

TEST(Symbol, PrivateUseRangeIsTheFontCode) {
    EXPECT_EQ(Chars(SymbolRawToUnicodeRaw(StringToRawUnicode(u"\uF041"))), u"\u0391");
    EXPECT_EQ(SymbolUnicodeToHTML(u"\uF041", false, false), "&Alpha;");
    EXPECT_EQ(SymbolUnicodeToHTML(u"\uF041", true, false), "\xCE\x91");
    EXPECT_EQ(SymbolRawToHTML(StringToRawUnicode(u"\uF061"), false, false), "&alpha;");
}

TEST(Wingdings, TableSamplesAndBulletForTheRest) {
    const std::pair<uint8_t, char16_t> cases[] = {
        {32, 0x0020},  {33, 0x270F},  {36, 0x2022},  {74, 0x263A},  {108, 0x25CF},
        {140, 0x2777}, {150, 0x2022}, {158, 0x00B7}, {159, 0x2022}, {203, 0x2022},
        {213, 0x232B}, {252, 0x2713}, {254, 0x2611}, {255, 0x2022}, {0, 0x2022}};
    for (const auto &[code, unit] : cases) {
        EXPECT_EQ(WingdingsCharToUnicode(code), unit) << int(code);
    }
}

TEST(Wingdings, ControlByteBecomesBullet) {
    EXPECT_EQ(Chars(WingdingsAnsiToUnicodeRaw("\x01")), u"\u2022");
    EXPECT_EQ(WingdingsAnsiToHTML("\x01", false, false), "&#8226;");
    EXPECT_EQ(WingdingsAnsiToHTML("J\xFC", false, false), "&#9786;&#10003;");
    EXPECT_EQ(WingdingsAnsiToHTML("J ", true, true), "\xE2\x98\xBA&nbsp;");
    EXPECT_EQ(WingdingsUnicodeToHTML(u"\uF04A", false, false), "&#9786;");
    EXPECT_EQ(Chars(WingdingsRawToUnicodeRaw(StringToRawUnicode(u"\uF0FC"))), u"\u2713");
    EXPECT_EQ(WingdingsRawToHTML(StringToRawUnicode(u"\uF04A"), true, false), "\xE2\x98\xBA");
}

} // namespace
} // namespace vizivodu
