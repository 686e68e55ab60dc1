// UTF-8 <-> UTF-16 conversion and the base exception.
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/System.h"

#include <gtest/gtest.h>

using namespace rtl;

TEST(Utf, RoundTripsCyrillicAndAstralText) {
    const std::string text = "Отчет ЗЕМБРАК \xF0\x9F\x98\x80 ok";
    const UnicodeString wide = Utf8ToUtf16(text);
    EXPECT_EQ(wide.substr(0, 5), u"Отчет");
    EXPECT_EQ(Utf16ToUtf8(wide), text);
}

TEST(Utf, MalformedInputBecomesReplacementCharacters) {
    struct Case {
        std::string in;
        UnicodeString out;
    } cases[] = {
        {"a\xFF"
         "b",
         u"a\uFFFDb"},
        {"\xC3", u"\uFFFD"},                     // truncated sequence
        {"\xC0\xAF", u"\uFFFD\uFFFD"},           // overlong form
        {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"}, // encoded surrogate
    };
    for (const auto &c : cases) {
        EXPECT_EQ(Utf8ToUtf16(c.in), c.out) << c.in;
    }
    EXPECT_EQ(Utf16ToUtf8(u"\xD800x"), "\xEF\xBF\xBDx");
}

TEST(ExceptionTest, KeepsMessageInBothForms) {
    try {
        throw EConvertError(U("'x' is not a valid integer value"));
    } catch (const Exception &e) {
        EXPECT_EQ(e.Message(), u"'x' is not a valid integer value");
        EXPECT_STREQ(e.what(), "'x' is not a valid integer value");
    }
}
