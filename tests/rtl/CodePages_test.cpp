// Code pages: Windows tables for 1251, 866 and 1252, round trips, unmappable characters,
// multi-byte pages, and the UTF encodings of string lists.
#include "platform/rtl/CodePages.h"

#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <string>

using namespace rtl;

TEST(CodePages, SystemCodePagesAreRussian) {
    EXPECT_EQ(GetACP(), 1251u);
    EXPECT_EQ(GetOEMCP(), 866u);
    EXPECT_EQ(AnsiToUnicode("\xC0\xFF"), u"Ая");
    EXPECT_EQ(AnsiToUnicode("\x80\xEF", CP_OEMCP), u"Ая");
    EXPECT_EQ(UnicodeToAnsi(u"Ая"), "\xC0\xFF");
}

TEST(CodePages, DecodesTheWindowsTables) {
    struct Case {
        uint32_t codePage;
        std::string bytes;
        UnicodeString text;
    } cases[] = {
        {1251, "\xA8\xB8\xB9\x88\x97\xAB\xBB", u"Ёё№€—«»"},
        {1251, "\x98", u"\u0098"}, // undefined in 1251: the byte's own number
        {866, "\xF0\xF1\xFC\xB0\xDB\xC9", u"Ёё№░█╔"},
        {866, "\x8F\xE0\xA8\xA2\xA5\xE2", u"Привет"},
        {1252, "\x80\x9F\xE9\xDF", u"€Ÿéß"},
        {1252, "\x81\x8D", u"\u0081\u008D"},
        {1250, "\x8A\xB9", u"Šą"},
        {CP_UTF8, "\xD0\xAF\xF0\x9F\x98\x80", u"Я\U0001F600"},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(AnsiToUnicode(c.bytes, c.codePage), c.text) << c.codePage;
        EXPECT_EQ(UnicodeToAnsi(c.text, c.codePage), c.bytes) << c.codePage;
    }
}

TEST(CodePages, EveryByteRoundTrips) {
    std::string all;
    for (int b = 0; b < 256; ++b) {
        all.push_back(static_cast<char>(b));
    }
    for (const uint32_t codePage : {1250u, 1251u, 1252u, 866u, 437u, 20866u}) {
        const UnicodeString text = AnsiToUnicode(all, codePage);
        ASSERT_EQ(text.size(), 256u) << codePage;
        EXPECT_EQ(UnicodeToAnsi(text, codePage), all) << codePage;
    }
}

TEST(CodePages, UnmappableCharactersBecomeQuestionMarks) {
    struct Case {
        uint32_t codePage;
        UnicodeString text;
        std::string bytes;
    } cases[] = {
        {1251, u"café", "caf?"},
        {1251, u"a\U0001F600b", "a?b"},               // one '?' for a surrogate pair
        {1251, UnicodeString(u"x\xD800y", 3), "x?y"}, // unpaired high surrogate
        {1251, UnicodeString(u"\xDC00", 1), "?"},     // unpaired low surrogate
        {866, u"€ é", "? ?"},
        {1252, u"Жук", "???"},
        {932, u"日本é", "\x93\xFA\x96\x7B?"},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(UnicodeToAnsi(c.text, c.codePage), c.bytes) << c.codePage;
    }
}

TEST(CodePages, ConvertsBetweenAnsiAndOem) {
    const std::string ansi = "\xCF\xF0\xE8\xE2\xE5\xF2, \xEC\xE8\xF0 \xB9"; // "Привет, мир №"
    const std::string oem = "\x8F\xE0\xA8\xA2\xA5\xE2, \xAC\xA8\xE0 \xFC";
    EXPECT_EQ(AnsiToOem(ansi), oem);
    EXPECT_EQ(OemToAnsi(oem), ansi);
    EXPECT_EQ(AnsiToOem("\x97"), "?"); // the dash has no OEM form
}

TEST(CodePages, MultiByteCodePagesConvertBothWays) {
    EXPECT_EQ(AnsiToUnicode("\x93\xFA\x96\x7B", 932), u"日本");
    EXPECT_EQ(AnsiToUnicode("\xC4\xE3\xBA\xC3", 936), u"你好");
    EXPECT_EQ(UnicodeToAnsi(u"你好", 936), "\xC4\xE3\xBA\xC3");
}

TEST(CodePages, UnknownCodePagesAreRefused) {
    for (const uint32_t codePage : {1200u, 1201u, 12000u, 4242u}) {
        EXPECT_FALSE(IsValidCodePage(codePage)) << codePage;
        try {
            (void)AnsiToUnicode("x", codePage);
            ADD_FAILURE() << codePage;
        } catch (const EEncodingError &e) {
            EXPECT_EQ(e.Message(), u"Invalid code page");
        }
    }
    EXPECT_TRUE(IsValidCodePage(CP_ACP));
    EXPECT_TRUE(IsValidCodePage(CP_UTF8));
}

TEST(CodePages, LongTextsConvertCompletely) {
    std::string bytes;
    for (int i = 0; i < 1 << 20; ++i) {
        bytes.push_back(static_cast<char>(0xC0 + i % 64));
    }
    const UnicodeString text = AnsiToUnicode(bytes);
    ASSERT_EQ(text.size(), bytes.size());
    EXPECT_EQ(text[63], u'я');
    EXPECT_EQ(UnicodeToAnsi(text), bytes);
}

TEST(Encodings, HavePreamblesAndConvertText) {
    struct Case {
        TEncoding encoding;
        uint32_t codePage;
        std::string preamble;
        std::string bytes; // of u"Яz"
    } cases[] = {
        {TEncoding::Default(), 1251, "", "\xDFz"},
        {TEncoding::UTF8(), 65001, "\xEF\xBB\xBF", "\xD0\xAFz"},
        {TEncoding::Unicode(), 1200, "\xFF\xFE", std::string("\x2F\x04z\x00", 4)},
        {TEncoding::BigEndianUnicode(), 1201, "\xFE\xFF", std::string("\x04\x2F\x00z", 4)},
        {TEncoding::GetEncoding(CP_OEMCP), 866, "", "\x9Fz"},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(c.encoding.GetCodePage(), c.codePage);
        EXPECT_EQ(c.encoding.GetPreamble(), c.preamble) << c.codePage;
        EXPECT_EQ(c.encoding.GetBytes(u"Яz"), c.bytes) << c.codePage;
        EXPECT_EQ(c.encoding.GetString(c.bytes), u"Яz") << c.codePage;
    }
    EXPECT_EQ(TEncoding::Unicode().GetString(std::string("\x2F\x04z", 3)), u"Я");
    EXPECT_THROW(TEncoding::GetEncoding(4242), EEncodingError);
}

TEST(Encodings, DetectTheByteOrderSignature) {
    struct Case {
        std::string bytes;
        bool found;
        uint32_t codePage;
        size_t length;
    } cases[] = {
        {"\xEF\xBB\xBFx", true, 65001, 3},
        {"\xFF\xFEx\x00", true, 1200, 2},
        {"\xFE\xFF\x00x", true, 1201, 2},
        {"\xEF\xBBx", false, 0, 0},
        {"\xFF", false, 0, 0},
        {"", false, 0, 0},
    };
    for (const Case &c : cases) {
        TEncoding encoding = TEncoding::Default();
        size_t length = 0;
        EXPECT_EQ(TEncoding::DetectPreamble(c.bytes, encoding, length), c.found);
        if (c.found) {
            EXPECT_EQ(encoding.GetCodePage(), c.codePage);
            EXPECT_EQ(length, c.length);
        }
    }
}
