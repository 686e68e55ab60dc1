// The clipboard: text, pictures, registered formats, and what Open and Close collect.
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Clipbrd.h"
#include "platform/gfx/Picture.h"
#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <string>

using namespace gfx;

namespace {

std::vector<uint8_t> Bytes(const std::string &s) {
    return std::vector<uint8_t>(s.begin(), s.end());
}

} // namespace

TEST(Clipboard, RegisteredNamesKeepOneNumberInAnyCase) {
    const uint32_t rtf = RegisterClipboardFormat(u"Rich Text Format");
    EXPECT_GE(rtf, 0xC000u);
    EXPECT_EQ(RegisterClipboardFormat(u"rich text FORMAT"), rtf);
    EXPECT_NE(RegisterClipboardFormat(u"HTML Format"), rtf);
    EXPECT_EQ(RegisterClipboardFormat(u""), 0u);
}

TEST(Clipboard, TextRoundTripsAndReplacesEverything) {
    TClipboard &c = Clipboard();
    const uint32_t own = RegisterClipboardFormat(u"ViziVodu Format");
    c.SetBuffer(own, "abc", 3);
    c.SetAsText(u"Тест, Prog-2.0 (beta) #7");
    EXPECT_EQ(c.GetAsText(), u"Тест, Prog-2.0 (beta) #7");
    EXPECT_TRUE(c.HasFormat(CF_UNICODETEXT));
    // Each put outside Open empties the clipboard first.
    EXPECT_FALSE(c.HasFormat(own));
    EXPECT_TRUE(c.GetBuffer(own).empty());
    c.Clear();
    EXPECT_FALSE(c.HasFormat(CF_UNICODETEXT));
    EXPECT_EQ(c.GetAsText(), u"");
}

TEST(Clipboard, OpenCollectsFormatsUntilTheLastClose) {
    TClipboard &c = Clipboard();
    c.SetAsText(u"old");
    const uint32_t rtf = RegisterClipboardFormat(u"Rich Text Format");
    const uint32_t html = RegisterClipboardFormat(u"HTML Format");
    c.Open();
    c.Open();
    c.SetBuffer(rtf, "{\\rtf1 x}", 9);
    c.SetBuffer(html, "<p>x</p>", 8);
    c.Close();
    c.SetAsText(u"x");
    c.Close();
    c.Close(); // one Close too many does nothing
    EXPECT_EQ(c.GetBuffer(rtf), Bytes("{\\rtf1 x}"));
    EXPECT_EQ(c.GetBuffer(html), Bytes("<p>x</p>"));
    EXPECT_EQ(c.GetAsText(), u"x");
    EXPECT_THROW(c.SetBuffer(0xBEEF, "x", 1), rtl::EConvertError);
}

TEST(Clipboard, PicturesKeepTheirPixelsAndAlpha) {
    TBitmap source(3, 2);
    source.SetPixelFormat(pf32bit);
    const uint32_t pixels[2][3] = {{0xFF112233u, 0x80445566u, 0x00000000u},
                                   {0xFFFFFFFFu, 0xFF000000u, 0x40102030u}};
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) {
            source.ScanLine(y)[x] = pixels[y][x];
        }
    }
    TClipboard &c = Clipboard();
    c.Assign(source);
    EXPECT_TRUE(c.HasFormat(CF_BITMAP));
    EXPECT_FALSE(c.HasFormat(CF_UNICODETEXT));
    TPicture picture;
    c.AssignTo(picture);
    ASSERT_EQ(picture.GetWidth(), 3);
    TBitmap back;
    c.AssignTo(back);
    ASSERT_EQ(back.GetHeight(), 2);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) {
            const uint32_t p = back.ScanLine(y)[x];
            // Fully transparent pixels carry no colour.
            EXPECT_EQ(pixels[y][x] >> 24 == 0 ? p >> 24 : p, pixels[y][x]) << x << "," << y;
        }
    }
}

TEST(Clipboard, TakingAPictureFromTextFails) {
    Clipboard().SetAsText(u"no picture");
    TBitmap b;
    try {
        Clipboard().AssignTo(b);
        FAIL() << "no exception";
    } catch (const rtl::EConvertError &e) {
        EXPECT_EQ(e.Message(), u"Cannot assign a TClipboard to a TBitmap");
    }
}
