// Helper objects of the document: hyperlink targets, the thumbnail cache, RTF tables, the
// layout record and text for HTML output.
#include "vizivodu/document/CVDData_Helpers.h"

#include "vizivodu/document/VDError.h"
#include "vizivodu/styles/VDStyle.h"

#include "platform/rtl/Classes.h"
#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

using namespace vizivodu;

TEST(HyperlinkTargets, SplitAtTheFirstHashAfterADot) {
    const std::vector<std::tuple<std::u16string, std::u16string, std::u16string>> cases = {
        {u"page.htm#top", u"page.htm", u"top"}, {u"#top", u"", u"top"},
        {u"a#b.htm#c", u"a#b.htm", u"c"},       {u"a#b", u"a#b", u""},
        {u"plain.htm", u"plain.htm", u""},
    };
    for (const auto &[input, target, anchor] : cases) {
        rtl::UnicodeString t = input;
        rtl::UnicodeString a = u"old";
        SplitHyperlinkTarget(t, a);
        EXPECT_EQ(t, target) << rtl::Utf16ToUtf8(input);
        EXPECT_EQ(a, anchor) << rtl::Utf16ToUtf8(input);
    }
}

TEST(ThumbnailCache, LeastRecentlyUsedOwnerLosesItsThumbnail) {
    std::vector<void *> freed;
    TVDThumbnailCache cache([&](void *owner) { freed.push_back(owner); });
    int a, b, c, d;
    cache.MaxCount = 2;
    cache.AddThumbnail(&a);
    cache.AddThumbnail(&b);
    cache.AddThumbnail(&c);
    EXPECT_EQ(freed, std::vector<void *>{&a});
    cache.AddThumbnail(&b); // now c, b
    cache.AddThumbnail(&d);
    EXPECT_EQ(freed, (std::vector<void *>{&a, &c}));
    EXPECT_EQ(cache.Get(0), &b);

    TVDThumbnailCache none([&](void *owner) { freed.push_back(owner); });
    none.MaxCount = 0;
    none.AddThumbnail(&a);
    EXPECT_EQ(none.Count(), 0);
    none.MaxCount = -1;
    none.AddThumbnail(&a);
    EXPECT_EQ(none.Count(), 0);
    EXPECT_EQ(freed.size(), 2u);
}

TEST(RTFTables, FontsColoursAndStyleSheetMap) {
    TVDRTFTables tables;
    TVDStyle style(nullptr);
    const TFontInfo &text = style.GetTextStyles().GetItem(0);
    EXPECT_EQ(tables.AddFontFromStyleEx(text, false, false, false), -1);
    EXPECT_EQ(tables.AddFontFromStyleEx(text, false, false, true), 0);
    EXPECT_EQ(tables.GetFontIndex(u"ARIAL", 1), 0);
    EXPECT_EQ(tables.AddFont(u"arial", 1), 0);
    tables.AddColor(gfx::clNone);
    tables.AddColor(0xFF);
    tables.AddColor(0xFF);
    EXPECT_EQ(tables.GetColorIndex(0xFF), 0);
    EXPECT_EQ(tables.GetColorIndex(gfx::clNone), -1);
    tables.AddStyleSheetMap(3);
    tables.AddStyleSheetMap(7);
    tables.AddStyleSheetMap(7);
    EXPECT_EQ(tables.GetStyleSheetIndex(7, true), 2);
    EXPECT_EQ(tables.GetStyleSheetIndex(7, false), 1);
    EXPECT_EQ(tables.GetStyleSheetIndex(9, false), -1);
}

TEST(LayoutRecord, SizesOfTheBlocks) {
    TVDLayoutInfo layout;
    layout.LeftMargin = 5;
    rtl::TMemoryStream full;
    layout.SaveToStream(full, true, false);
    ASSERT_EQ(full.GetSize(), 37);
    const int32_t *head = reinterpret_cast<const int32_t *>(full.GetMemory());
    EXPECT_EQ(head[0], 33);
    EXPECT_EQ(head[1], 0);
    EXPECT_EQ(head[2], 25);
    rtl::TMemoryStream page;
    layout.SaveToStream(page, true, true);
    ASSERT_EQ(page.GetSize(), 12);
    EXPECT_EQ(reinterpret_cast<const int32_t *>(page.GetMemory())[0], 8);

    layout.FirstParaAborted = 1;
    layout.FirstMarkerListNo = 4;
    rtl::TMemoryStream aborted;
    layout.SaveToStream(aborted, false, false);
    aborted.SetPosition(0);
    TVDLayoutInfo read;
    read.LoadFromStream(aborted, false);
    EXPECT_TRUE(read.Loaded);
    EXPECT_EQ(read.LeftMargin, 5);
    EXPECT_EQ(read.FirstMarkerListNo, 4);
}

TEST(LayoutRecord, BadSizesFailCleanly) {
    for (const auto &[kind, size] :
         std::vector<std::pair<int32_t, int32_t>>{{0, 24}, {0, -1}, {1, -100}, {1, 1000000}}) {
        rtl::TMemoryStream stream;
        const int32_t head[2] = {kind, size};
        stream.WriteBuffer(head, 8);
        stream.WriteBuffer(std::string(30, '\0').data(), 30);
        stream.SetPosition(0);
        TVDLayoutInfo layout;
        try {
            layout.LoadFromStream(stream, false);
            FAIL() << kind << " " << size;
        } catch (const EViziVoduError &e) {
            EXPECT_EQ(e.Message(), u"Invalid VDF format");
        }
        EXPECT_FALSE(layout.Loaded);
    }
}

TEST(HtmlEncoding, CyrillicInCodePage1252BecomesQuestionMarks) {
    EXPECT_EQ(UnicodeToUTF8OrAnsi(u"Да!", false, 1252), "?"
                                                        "?!");
    EXPECT_EQ(UnicodeToUTF8OrAnsi(u"Да", true, 1252), "Да");
    TVDStyle style(nullptr);
    style.SetDefCodePage(1251);
    EXPECT_EQ(UnicodeToHTMLEncoding(u"Да", false, &style), "\xC4\xE0");
}
