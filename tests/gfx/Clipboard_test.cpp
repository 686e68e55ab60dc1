// The clipboard: text, pictures, registered formats, and what Open and Close collect.
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/ClipboardHtml.h"
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
    EXPECT_EQ(c.GetBuffer(html), Bytes(AddHtmlClipboardHeader("<p>x</p>")));
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

TEST(Clipboard, FormatsTravelUnderTheDesktopsMimeTypes) {
    const struct {
        uint32_t format;
        const char16_t *mime;
    } cases[] = {
        {RegisterClipboardFormat(u"Rich Text Format"), u"text/rtf"},
        {RegisterClipboardFormat(u"HTML Format"), u"text/html"},
        {RegisterClipboardFormat(u"UniformResourceLocator"), u"text/uri-list"},
        {RegisterClipboardFormat(u"ViziVodu Format"), u"application/x-vizivodu"},
        {RegisterClipboardFormat(u"Other Kind"), u"application/x-Other Kind"},
        {CF_UNICODETEXT, u"text/plain;charset=utf-8"},
        {CF_TEXT, u"text/plain;charset=utf-8"},
        {0xBEEF, u""},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(ClipboardFormatMimeType(c.format), c.mime) << c.format;
    }
}

TEST(Clipboard, TextBlocksKeepTheSystemsFormsAndLineEnds) {
    TClipboard &c = Clipboard();
    const char16_t units[] = u"Мир\r\nworld";
    std::string block;
    for (char16_t u : units) { // with the terminator
        block.push_back(char(u & 0xFF));
        block.push_back(char(u >> 8));
    }
    c.SetBuffer(CF_UNICODETEXT, block.data(), block.size());
    EXPECT_EQ(c.GetAsText(), u"Мир\r\nworld");
    EXPECT_EQ(c.GetBuffer(CF_UNICODETEXT), Bytes(block));
    // The 8-bit form is the system code page (1251) with its terminator.
    EXPECT_EQ(c.GetBuffer(CF_TEXT), Bytes(std::string("\xCC\xE8\xF0\r\nworld", 10) + '\0'));
    c.SetBuffer(CF_TEXT, "a\r\nb\0junk", 9);
    EXPECT_EQ(c.GetAsText(), u"a\r\nb");
}

TEST(Clipboard, HtmlIsOfferedWithoutItsFragmentHeaderAndReadWithOne) {
    const uint32_t html = RegisterClipboardFormat(u"HTML Format");
    const std::string page =
        "<html><body><!--StartFragment--><b>x</b><!--EndFragment--></body></html>";
    const std::string withHeader = AddHtmlClipboardHeader(page);
    Clipboard().SetBuffer(html, withHeader.data(), withHeader.size());
    EXPECT_EQ(Clipboard().GetBuffer(html), Bytes(withHeader));
    EXPECT_EQ(RemoveHtmlClipboardHeader(withHeader), page);
}

TEST(ClipboardHtml, TheHeaderGivesTheOffsetsOfTheHtmlAndItsFragment) {
    const struct {
        const char *name;
        std::string html;
        std::string fragment;
    } cases[] = {
        {"marked fragment", "<html><body>a<!--StartFragment-->bc<!--EndFragment-->d</body></html>",
         "bc"},
        {"body", "<HTML><Body class=x>text</BODY></HTML>", "text"},
        {"bare", "<b>bold</b>", "<b>bold</b>"},
        {"empty", "", ""},
    };
    for (const auto &c : cases) {
        const std::string data = AddHtmlClipboardHeader(c.html);
        ASSERT_EQ(data.substr(0, 23), "Version:0.9\r\nStartHTML:") << c.name;
        const auto number = [&](const std::string &key) {
            const size_t at = data.find(key + ":");
            return std::stoul(data.substr(at + key.size() + 1, 10));
        };
        const size_t start = number("StartHTML");
        EXPECT_EQ(data.substr(start, number("EndHTML") - start), c.html) << c.name;
        EXPECT_EQ(number("EndHTML"), data.size()) << c.name;
        const size_t fs = number("StartFragment");
        EXPECT_EQ(data.substr(fs, number("EndFragment") - fs), c.fragment) << c.name;
        EXPECT_EQ(RemoveHtmlClipboardHeader(data), c.html) << c.name;
    }
}

TEST(ClipboardHtml, ABadHeaderLeavesTheDataAsItIs) {
    const struct {
        const char *name;
        std::string data;
        std::string html;
    } cases[] = {
        {"no header", "<p>x</p>", "<p>x</p>"},
        {"offsets past the end", "Version:0.9\r\nStartHTML:0000000040\r\nEndHTML:0000009999\r\n<p>",
         "Version:0.9\r\nStartHTML:0000000040\r\nEndHTML:0000009999\r\n<p>"},
        {"start after end", "Version:1.0\r\nStartHTML:30\r\nEndHTML:20\r\n<p>x</p>",
         "Version:1.0\r\nStartHTML:30\r\nEndHTML:20\r\n<p>x</p>"},
        {"only fragment offsets", "Version:1.0\r\nStartFragment:47\r\nEndFragment:55\r\n<p>x</p>",
         "<p>x</p>"},
        {"huge number", "Version:1.0\r\nStartHTML:99999999999999999999\r\nEndHTML:1\r\n",
         "Version:1.0\r\nStartHTML:99999999999999999999\r\nEndHTML:1\r\n"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(RemoveHtmlClipboardHeader(c.data), c.html) << c.name;
    }
}

TEST(ClipboardHtml, Utf16HtmlIsReadAsUtf8) {
    const std::string utf16("\xFF\xFE<\0b\0>\0\x1F\x04", 10); // "<b>П"
    const std::string data = AddHtmlClipboardHeader(utf16);
    EXPECT_EQ(RemoveHtmlClipboardHeader(data), "<b>\xD0\x9F");
}
