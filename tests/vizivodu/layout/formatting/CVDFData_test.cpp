// The formatting driver: widths, the second pass when a scroll bar appears, keeping the layout
// on a resize, formatting the tail, the state after an error, the formatting stream; partial
// reformatting against a full one; structure queries; the word end across items.
#include "vizivodu/layout/formatting/CVDFData.h"

#include "tests/vizivodu/LayoutTestSupport.h"
#include "vizivodu/document/VDItem_Rect.h"

#include "platform/gfx/Bitmap.h"
#include "platform/rtl/Classes.h"

#include <gtest/gtest.h>

using namespace vizivodu;
using vizivodu::test::DumpDrawItems;

namespace {

class Formatting : public ::testing::Test {
protected:
    Formatting() : Doc(&Style) { Doc.Width = 60; }

    void Format() { Doc.Format(false, false); }

    test::TLayoutStyle Style;
    test::TTestFormattedDocument Doc;
};

// A picture whose sizing fails on demand (an item whose measuring raises).
class TFailingItem : public TVDRectItemInfo {
public:
    using TVDRectItemInfo::TVDRectItemInfo;
    void OnDocWidthChange(int32_t, TVDDrawLineInfo &, bool, gfx::TCanvas &, TCustomVDData *,
                          PVDScreenAndDevice, int32_t &, int32_t &, bool, bool, bool) override {
        if (Fail) {
            throw EViziVoduError("cannot size");
        }
    }
    int32_t GetWidth(const TVDStyle *) override { return 10; }
    int32_t GetHeight(const TVDStyle *) override { return 10; }
    bool Fail = true;
};

// A host whose vertical scroll bar takes 16 pixels of width once the document is taller than
// the area.
class TScrollingDocument : public test::TTestFormattedDocument {
public:
    using TTestFormattedDocument::TTestFormattedDocument;
    bool IsVScrollBarExpected() override { return Expected; }
    int32_t GetWidth() override { return Width - (AreaHeight > Height ? 16 : 0); }
    void SetDocumentAreaSize(int32_t width, int32_t height, bool updateH,
                             bool allowEvents) override {
        ++AreaSets;
        TTestFormattedDocument::SetDocumentAreaSize(width, height, updateH, allowEvents);
    }
    bool Expected = false;
    int32_t AreaSets = 0;
};

} // namespace

TEST_F(Formatting, EmptyDocumentIsAsHighAsItsMargins) {
    Doc.TopMargin = 5;
    Doc.BottomMargin = 7;
    Format();
    EXPECT_EQ(Doc.DrawItems.Count(), 0);
    EXPECT_EQ(Doc.DocumentHeight, 12);
}

TEST_F(Formatting, TextWidthLimitsAndClientWidth) {
    Doc.Width = 800;
    Doc.LeftMargin = Doc.RightMargin = 10;
    Doc.MaxTextWidth = 300;
    Doc.AddNL(u"x", 0, 0);
    Format();
    EXPECT_EQ(Doc.DocumentWidth, 780);
    EXPECT_EQ(Doc.TextWidth, 300);
    EXPECT_EQ(Doc.DrawItems[0]->Left, 10);
    Doc.SetOptions(Doc.GetOptions() + TVDOptions{vdoClientTextWidth});
    Format();
    EXPECT_EQ(Doc.TextWidth, 780);
    EXPECT_EQ(Doc.AreaWidth, 800);
}

TEST_F(Formatting, AppearingScrollBarCausesExactlyOneSecondPass) {
    struct TCase {
        bool Expected;
        int32_t Paragraphs, AreaSets, TextWidth;
    };
    // Not expected: the bar appears after the first pass, which runs once more, narrower.
    // Expected: room is reserved before measuring, so one pass does. Short: no bar at all.
    for (const TCase &c :
         {TCase{false, 5, 2, 184}, TCase{true, 5, 2, 184}, TCase{false, 1, 1, 200}}) {
        TScrollingDocument doc(&Style);
        doc.Width = 200;
        doc.Height = 50;
        doc.Expected = c.Expected;
        for (int i = 0; i < c.Paragraphs; ++i) {
            doc.AddNL(u"aaaa bbbb cccc dddd", 0, 0);
        }
        doc.Format(false, false);
        EXPECT_EQ(doc.AreaSets, c.AreaSets) << c.Expected << c.Paragraphs;
        EXPECT_EQ(doc.TextWidth, c.TextWidth) << c.Expected << c.Paragraphs;
    }
}

TEST_F(Formatting, ResizeWithTheSameTextWidthKeepsTheDrawItems) {
    Doc.AddNL(u"ab cd ef", 0, 0);
    Format();
    const TVDDrawLineInfo *first = Doc.DrawItems[0];
    EXPECT_FALSE(Doc.Format_(true, false, false, 0, nullptr, false, false, false, false, false));
    EXPECT_EQ(Doc.DrawItems[0], first);
    Doc.Width = 90;
    EXPECT_TRUE(Doc.Format_(true, false, false, 0, nullptr, false, false, false, false, false));
    EXPECT_EQ(DumpDrawItems(Doc), "0:1+8@0,0 80x20");
}

TEST_F(Formatting, ResizeKeepsTheSelectionOnItsCharacters) {
    Doc.AddNL(u"ab cd ef", 0, 0);
    Format();
    Doc.FSelStartNo = 1; // the "e" of the second line
    Doc.FSelStartOffs = 1;
    Doc.FSelEndNo = 1;
    Doc.FSelEndOffs = 2;
    Doc.Width = 90;
    Doc.Format_(true, false, false, 0, nullptr, false, false, false, false, false);
    EXPECT_EQ(Doc.FSelStartNo, 0);
    EXPECT_EQ(Doc.FSelStartOffs, 7);
    EXPECT_EQ(Doc.FSelEndOffs, 8);
}

TEST_F(Formatting, TailFormattingAppendsTheNewItems) {
    Doc.AddNL(u"ab", 0, 0);
    Format();
    Doc.AddNL(u"cd", 0, 0);
    EXPECT_TRUE(Doc.Format_(false, true, false, 0, nullptr, true, false, false, false, false));
    EXPECT_EQ(DumpDrawItems(Doc), "0:1+2@0,0 20x20 / 1:1+2@0,20 20x20");
    EXPECT_EQ(Doc.DocumentHeight, 40);
    EXPECT_EQ(Doc.LastItemFormatted, 1);
    // Nothing new: the tail formatting does nothing.
    EXPECT_FALSE(Doc.Format_(false, true, false, 0, nullptr, true, false, false, false, false));
}

TEST_F(Formatting, ErrorLeavesTheLastReallyFormattedItem) {
    Doc.Rotation = vdrot90; // the canvas turns back also after the error
    Doc.AddNL(u"ab", 0, 0);
    auto failing = std::make_unique<TFailingItem>(&Doc);
    failing->StyleNo = StyleNoPicture;
    TFailingItem *item = failing.get();
    Doc.AddItem(u"", std::move(failing));
    Doc.AddNL(u"cd", 0, 0);
    EXPECT_THROW(Format(), EViziVoduError);
    EXPECT_EQ(Doc.LastItemFormatted, 0);
    EXPECT_EQ(DumpDrawItems(Doc), "0:1+2@0,0 20x20");
    EXPECT_FALSE(Doc.State.Contains(vdstFormatting));
    EXPECT_FALSE(Doc.State.Contains(vdstSkipFormatting));
    EXPECT_EQ(Doc.GetCanvas()->GetGraphicsMode(), gfx::GM_COMPATIBLE);
    // The tail formatting picks up where the failed run stopped.
    item->Fail = false;
    EXPECT_TRUE(Doc.Format_(false, true, false, 0, nullptr, true, false, false, false, false));
    EXPECT_EQ(Doc.LastItemFormatted, 2);
    EXPECT_EQ(Doc.DrawItems.Count(), 3);
}

TEST_F(Formatting, FormattingStreamRoundTrip) {
    Doc.AddNL(u"ab cd ef", 0, 0);
    Doc.AddNL(u"gh", 1, 0);
    Format();
    const std::string before = DumpDrawItems(Doc);
    rtl::TMemoryStream stream;
    Doc.SaveFormattingToStream(stream);
    Doc.ClearTemporal();
    stream.SetPosition(0);
    Doc.LoadFormattingFromStream(stream);
    EXPECT_EQ(DumpDrawItems(Doc), before);
    EXPECT_EQ(Doc.DocumentHeight, 80);
    EXPECT_EQ(Doc.DocumentWidth, 60);
    EXPECT_EQ(Doc.LastItemFormatted, 1);
}

TEST_F(Formatting, PartialReformattingGivesTheLayoutOfAFullOne) {
    for (int i = 0; i < 3; ++i) {
        Doc.AddNL(u"ab", 0, 0);
    }
    Format();
    Doc.SetItemTextW(1, u"ab cd ef gh");
    Doc.FormatParas(1, 1, 0);
    const std::string partial = DumpDrawItems(Doc);
    const int32_t height = Doc.DocumentHeight;
    Format();
    EXPECT_EQ(partial, DumpDrawItems(Doc));
    EXPECT_EQ(height, Doc.DocumentHeight);
    EXPECT_EQ(partial, "0:1+2@0,0 20x20 / 1:1+5@0,20 50x20 / 1:7+5@0,40 50x20 / 2:1+2@0,60 20x20");
    EXPECT_EQ(Doc.GetItem(2)->DrawItemNo, 3);
}

TEST_F(Formatting, PartialReformattingAfterInsertingAParagraph) {
    Doc.AddNL(u"ab", 0, 0);
    Doc.AddNL(u"cd", 0, 0);
    Format();
    // A paragraph inserted between the two: the range covers the second paragraph.
    Doc.AddNL(u"ef", 0, 0);
    auto moved = Doc.GetItems().ReleaseObject(2);
    Doc.GetItems().Delete(2);
    const TVDRawByteString text = moved->ItemText;
    Doc.GetItems().InsertObject(1, text, std::move(moved));
    Doc.FormatParas(1, 1, 1);
    EXPECT_EQ(DumpDrawItems(Doc), "0:1+2@0,0 20x20 / 1:1+2@0,20 20x20 / 2:1+2@0,40 20x20");
    EXPECT_EQ(Doc.DocumentHeight, 60);
    EXPECT_EQ(Doc.GetItem(2)->DrawItemNo, 2);
}

TEST_F(Formatting, DeletingParagraphsReformatsInPlace) {
    for (const char16_t *t : {u"ab", u"cd", u"ef"}) {
        Doc.AddNL(t, 0, 0);
    }
    Format();
    Doc.FocusedItemNo = 2;
    Doc.DeleteParas(1, 1);
    EXPECT_EQ(DumpDrawItems(Doc), "0:1+2@0,0 20x20 / 1:1+2@0,20 20x20");
    EXPECT_EQ(Doc.DocumentHeight, 40);
    EXPECT_EQ(Doc.FocusedItemNo, -1); // cleared by the deselection of the deletion
}

TEST_F(Formatting, StructureQueriesOnWrappedLines) {
    Doc.AddNL(u"ab cd ef gh ij", 0, 0); // three lines
    Doc.AddNL(u"x", 0, 0);
    Format();
    ASSERT_EQ(Doc.DrawItems.Count(), 4);
    EXPECT_TRUE(Doc.IsDrawItemParaStart(0));
    EXPECT_TRUE(Doc.IsDrawItemLastOnWrappedLine(0));
    EXPECT_TRUE(Doc.IsDrawItemTextCut(0)); // the space at the line end was dropped
    EXPECT_TRUE(Doc.IsDrawItemStartsTheSecondParaLine(1));
    EXPECT_TRUE(Doc.IsDrawItemStartsTheLastParaLine(2));
    EXPECT_FALSE(Doc.IsDrawItemLastOnWrappedLine(2));
    EXPECT_TRUE(Doc.IsDrawItemParaEnd(2));
    EXPECT_TRUE(Doc.IsDrawItemParaEnd(-1));
    EXPECT_TRUE(Doc.IsDrawItemParaStart(3));
    int32_t first = 0, last = 0;
    Doc.ExpandToVisiblePara(1, 1, first, last);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(last, 1);
    test::TTestFormattedDocument empty(&Style);
    empty.ExpandToVisiblePara(0, -1, first, last);
    EXPECT_EQ(last, -1);
}

TEST_F(Formatting, ParagraphOpenedByHiddenTextStartsAtItsFirstShownItem) {
    TFontInfo &hidden = Style.GetTextStyles().Add();
    hidden.Assign(Style.GetTextStyles().GetItem(0));
    hidden.SetOptions({vdteoHidden});
    TParaInfo &para = Style.GetParaStyles().Add();
    Doc.AddNL(u"a", 0, 0);
    Doc.AddNL(u"h", hidden.GetIndex(), para.GetIndex());
    Doc.AddNL(u"b", 0, -1);
    Format();
    EXPECT_TRUE(Doc.IsVisibleParaStart(2));
    EXPECT_EQ(Doc.GetVisibleItemPara(2), para.GetIndex());
    EXPECT_TRUE(Doc.IsDrawItemParaStart(1));
}

TEST_F(Formatting, WordEndAcrossItems) {
    struct TCase {
        std::u16string Second;
        int32_t Item, Offs;
    };
    // "ab" + second item: the word goes on into the second item up to its first break.
    for (const TCase &c : {TCase{u"cd ef", 1, 3}, TCase{u" cd", 0, 3}, TCase{u"cd", 1, 3}}) {
        Doc.Clear();
        Doc.AddNL(u"ab", 0, 0);
        Doc.AddNL(c.Second, 0, -1);
        int32_t item = 0, offs = 0;
        Doc.GetWordEndAfterItem(item, offs);
        EXPECT_EQ(item, c.Item) << rtl::Utf16ToUtf8(c.Second);
        EXPECT_EQ(offs, c.Offs) << rtl::Utf16ToUtf8(c.Second);
    }
}

// Nothing may go between two items that stick together, before an item stuck to the top or
// after one stuck to the bottom; asking beeps unless told to keep quiet.
TEST_F(Formatting, StickingItemsRefuseInsertionsBetweenThemAndBeep) {
    TFontInfos &styles = Style.GetTextStyles();
    while (styles.GetCount() < 4) {
        styles.Add();
    }
    styles.GetItem(1).SetProtection({vdprSticking});
    styles.GetItem(2).SetProtection({vdprStickToTop});
    styles.GetItem(3).SetProtection({vdprStickToBottom});
    Doc.AddNL(u"top", 2, 0);
    Doc.AddNL(u"a", 0, -1);
    Doc.AddNL(u"b", 1, -1);
    Doc.AddNL(u"c", 1, -1);
    Doc.AddNL(u"bottom", 3, -1);
    int beeps = 0;
    SetSystemBeepHandler([&beeps] { ++beeps; });
    const struct {
        int32_t FirstItemNo;
        bool Sticking;
    } cases[] = {{-1, true}, {0, false}, {1, false}, {2, true}, {3, false}, {4, true}};
    for (const auto &c : cases) {
        beeps = 0;
        EXPECT_EQ(Doc.IsSticking(c.FirstItemNo, false), c.Sticking) << c.FirstItemNo;
        EXPECT_EQ(beeps, c.Sticking ? 1 : 0) << c.FirstItemNo;
        EXPECT_EQ(Doc.IsSticking(c.FirstItemNo, true), c.Sticking);
        EXPECT_EQ(beeps, c.Sticking ? 1 : 0) << c.FirstItemNo;
    }
    Style.SetUseSound(false);
    beeps = 0;
    EXPECT_TRUE(Doc.IsSticking(2, false));
    EXPECT_EQ(beeps, 0);
    SetSystemBeepHandler(nullptr);
}
