// Sidenotes and text boxes on pages: where a box is placed (its anchors, offsets, alignments and
// sizes), its content's vertical alignment, boxes of headers, and the layers they are drawn in.
#include "vizivodu/layout/printing/PtVDData.h"

#include "tests/vizivodu/layout/printing/PrintTestSupport.h"
#include "vizivodu/document/VDNotes.h"
#include "vizivodu/document/VDSidenotes.h"
#include "vizivodu/styles/VDStyle_Para.h"

#include "platform/gfx/Bitmap.h"

#include "tests/support/GoldenImage.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace vizivodu;

namespace {

constexpr int32_t LineHeight = 125;

struct TBoxFixture : test::TRecordingPrintFixture {
    // A box at the end of the last line of view (the source by default) holding the paragraphs.
    template <class T = TVDSidenoteItemInfo>
    T &Box(std::initializer_list<std::u16string> paragraphs, TViziVodu *view = nullptr) {
        T &added = test::AddNote<T>(view ? *view : Source);
        for (const std::u16string &p : paragraphs) {
            added.GetDocument().AddNL(p, 0, 0);
        }
        return added;
    }
    // The boxes placed on a page.
    std::vector<TVDSidenotePtblVDData *> Boxes(int32_t pageNo) {
        std::vector<TVDSidenotePtblVDData *> boxes;
        if (TVDSidenoteList *list = Data().GetSidenoteList(pageNo)) {
            for (rtl::Integer k = 0; k < list->GetCount(); ++k) {
                boxes.push_back(list->Get(k));
            }
        }
        return boxes;
    }
    TVDSidenotePtblVDData &BoxOf(const TVDSidenoteItemInfo &item, int32_t pageNo) {
        for (TVDSidenotePtblVDData *box : Boxes(pageNo)) {
            if (box->Sidenote == &item) {
                return *box;
            }
        }
        ADD_FAILURE() << "no box on page " << pageNo;
        static TVDSidenotePtblVDData *none = nullptr;
        return *none;
    }
    int32_t Padding(const TVDSidenoteItemInfo &item, int side) {
        const TVDBoxProperties &p = item.GetBoxProperties();
        const TVDScreenAndDevice &sad = Data().PrnSad;
        switch (side) {
        case 0:
            return p.GetTotalLeftPaddingSaD(Style, &sad);
        case 1:
            return p.GetTotalTopPaddingSaD(Style, &sad);
        case 2:
            return p.GetTotalRightPaddingSaD(Style, &sad);
        default:
            return p.GetTotalBottomPaddingSaD(Style, &sad);
        }
    }
};

int32_t IndexOf(const std::vector<std::u16string> &texts, const std::u16string &text) {
    const auto at = std::find(texts.begin(), texts.end(), text);
    return at == texts.end() ? -1 : int32_t(at - texts.begin());
}

// Where a box lands, by its anchors and position kinds; the box is 100 pixels (625 printer
// pixels) wide with the default paddings, its item at the end of line 2.
TEST(Sidenotes, ABoxIsPlacedByItsAnchorsAndPositionKinds) {
    struct Case {
        const char *Name;
        TVDHorizontalAnchor H;
        TVDFloatPositionKind HKind;
        int32_t HValue; // offset, or the alignment
        TVDVerticalAnchor V;
        TVDFloatPositionKind VKind;
        int32_t VValue;
    };
    const Case cases[] = {
        {"character and line", vdhanCharacter, vdfpkAbsPosition, 0, vdvanLine, vdfpkAbsPosition, 0},
        {"text area, right; paragraph", vdhanMainTextArea, vdfpkAlignment, vdfphalRight,
         vdvanParagraph, vdfpkAbsPosition, 16},
        {"half the page; page centre", vdhanPage, vdfpkPercentPosition, 50000, vdvanPage,
         vdfpkAlignment, vdfpvalCenter},
        {"left margin; bottom margin, bottom", vdhanLeftMargin, vdfpkAbsPosition, 8,
         vdvanBottomMargin, vdfpkAlignment, vdfpvalBottom},
    };
    for (const Case &c : cases) {
        TBoxFixture f;
        f.Lines(3);
        TVDSidenoteItemInfo &item = f.Box({u"Box"});
        f.Lines(2);
        TVDBoxPosition &pos = item.GetBoxPosition();
        pos.HorizontalAnchor = c.H;
        pos.HorizontalPositionKind = c.HKind;
        pos.VerticalAnchor = c.V;
        pos.VerticalPositionKind = c.VKind;
        if (c.HKind == vdfpkAlignment) {
            pos.HorizontalAlignment = TVDFloatHorizontalAlignment(c.HValue);
        } else {
            pos.HorizontalOffset = c.HValue;
        }
        if (c.VKind == vdfpkAlignment) {
            pos.VerticalAlignment = TVDFloatVerticalAlignment(c.VValue);
        } else {
            pos.VerticalOffset = c.VValue;
        }
        ASSERT_EQ(f.Paginate(), 1) << c.Name;
        TVDSidenotePtblVDData &box = f.BoxOf(item, 1);
        TCustomMainPtblVDData &data = f.Data();
        const int32_t lp = f.Padding(item, 0), tp = f.Padding(item, 1);
        const int32_t rp = f.Padding(item, 2), bp = f.Padding(item, 3);
        const int32_t width = 625 - lp - rp;
        EXPECT_EQ(box.FullRect.Width(), width) << c.Name;
        EXPECT_EQ(box.FullRect.Height(), LineHeight) << c.Name;
        const int32_t areaLeft = data.GetPrintableAreaLeft(1);
        const int32_t textTop = data.TmpMNormal.Top + data.TmpTMPix;
        const int32_t sheetLeft = -data.PhysM.Left;
        const int32_t sheetWidth = data.GetPageWidth() + data.PhysM.Left + data.PhysM.Right;
        const int32_t sheetHeight = data.GetPageHeight() + data.PhysM.Top + data.PhysM.Bottom;
        int32_t left = 0, top = 0;
        switch (c.H) {
        case vdhanCharacter: // after "Line 2" (6 characters of 62.5 pixels) and the margin
            left = areaLeft + data.DrawItems[3]->Left + lp;
            break;
        case vdhanMainTextArea:
            left = areaLeft + data.GetWidth() - rp - width;
            break;
        case vdhanPage:
            left = sheetLeft + sheetWidth / 2 + lp;
            break;
        default:
            left = sheetLeft + 8 * 625 / 100 + lp;
            break;
        }
        switch (c.V) {
        case vdvanLine:
            top = textTop + 2 * LineHeight + tp;
            break;
        case vdvanParagraph: // 16 pixels below the paragraph of line 2
            top = textTop + 2 * LineHeight + 100 + tp;
            break;
        case vdvanPage:
            top = -data.PhysM.Top + (sheetHeight - tp - bp - LineHeight) / 2 + tp;
            break;
        default:
            top = data.GetPageHeight() + data.PhysM.Bottom - bp - LineHeight;
            break;
        }
        EXPECT_EQ(box.FullRect.Left, left) << c.Name;
        EXPECT_EQ(box.FullRect.Top, top) << c.Name;
        EXPECT_EQ(box.Left, box.FullRect.Left) << c.Name;
        EXPECT_EQ(box.Top, box.FullRect.Top) << c.Name;
    }
}

// A box of automatic height is as tall as its text; a fixed height centres a short text with
// VAlign centre, and a text taller than the box starts at its top.
TEST(Sidenotes, BoxHeightsAndTheVerticalAlignmentOfTheirContent) {
    TBoxFixture f;
    f.Lines(1);
    TVDSidenoteItemInfo &automatic = f.Box({u"One", u"Two", u"Three"});
    f.Lines(1);
    TVDSidenoteItemInfo &centred = f.Box({u"Short"});
    f.Lines(1);
    TVDSidenoteItemInfo &tall = f.Box({u"One", u"Two", u"Three", u"Four", u"Five"});
    for (TVDSidenoteItemInfo *item : {&centred, &tall}) {
        item->GetBoxProperties().HeightType = vdbhtAbsolute;
        item->GetBoxProperties().Height = 60; // 375 printer pixels
        item->GetBoxProperties().VAlign = tlCenter;
    }
    ASSERT_EQ(f.Paginate(), 1);
    EXPECT_EQ(f.BoxOf(automatic, 1).FullRect.Height(), 3 * LineHeight);
    EXPECT_EQ(f.BoxOf(automatic, 1).Top, f.BoxOf(automatic, 1).FullRect.Top);
    const int32_t inner = 375 - f.Padding(centred, 1) - f.Padding(centred, 3);
    TVDSidenotePtblVDData &c = f.BoxOf(centred, 1);
    EXPECT_EQ(c.FullRect.Height(), inner);
    EXPECT_EQ(c.Top - c.FullRect.Top, (inner - LineHeight) / 2);
    TVDSidenotePtblVDData &t = f.BoxOf(tall, 1);
    EXPECT_EQ(t.FullRect.Height(), inner);
    EXPECT_EQ(t.Top, t.FullRect.Top);
}

// A text box anchored to the inner margin lies in the left margin on odd pages and in the right
// one on even pages; a width relative to the inner margin follows the same margin.
TEST(Sidenotes, ATextBoxAnchoredToTheInnerMarginSwapsSidesOnEvenPages) {
    TBoxFixture f;
    f.Lines(1);
    TVDTextBoxItemInfo &odd = f.Box<TVDTextBoxItemInfo>({u"Odd"});
    f.Lines(60);
    TVDTextBoxItemInfo &even = f.Box<TVDTextBoxItemInfo>({u"Even"});
    f.Print.GetMargins().Right = 40;
    for (TVDTextBoxItemInfo *item : {&odd, &even}) {
        item->GetBoxPosition().HorizontalAnchor = vdhanInnerMargin;
        item->GetBoxProperties().WidthType = vdbwtRelInnerMargin;
        item->GetBoxProperties().Width = 100000;
    }
    ASSERT_EQ(f.Paginate(), 2);
    TCustomMainPtblVDData &data = f.Data();
    const int32_t lp = f.Padding(odd, 0), rp = f.Padding(odd, 2);
    TVDSidenotePtblVDData &o = f.BoxOf(odd, 1);
    EXPECT_EQ(o.FullRect.Left, -data.PhysM.Left + lp);
    EXPECT_EQ(o.FullRect.Right, data.GetPrintableAreaLeft(1) - rp);
    TVDSidenotePtblVDData &e = f.BoxOf(even, 2);
    const int32_t textRight = data.GetPrintableAreaLeft(2) + data.GetWidth();
    EXPECT_EQ(e.FullRect.Left, textRight + lp);
    EXPECT_EQ(e.FullRect.Right, data.GetPageWidth() + data.PhysM.Right - rp);
    // A text box prints no anchor sign, only its box.
    EXPECT_EQ(IndexOf(f.PreviewTexts(2), u"?"), -1);
}

// A box below the text is drawn before the page's text, one above it after the footnotes.
TEST(Sidenotes, BelowTheTextBeforeItAboveTheTextAfterTheFootnotes) {
    TBoxFixture f;
    f.Lines(1);
    f.Box({u"Under"}).GetBoxPosition().PositionInText = vdpitBelowText;
    f.Box({u"Over"});
    test::AddNote<TVDFootnoteItemInfo>(f.Source, [](TVDFootnoteItemInfo &note) {
        note.GetDocument().AddNL(u"Footnote text", 0, 0);
    });
    f.Lines(1);
    ASSERT_EQ(f.Paginate(), 1);
    const std::vector<std::u16string> texts = f.PreviewTexts(1);
    const int32_t below = IndexOf(texts, u"Under");
    const int32_t text = IndexOf(texts, u"Line 0");
    const int32_t note = IndexOf(texts, u"Footnote text");
    const int32_t above = IndexOf(texts, u"Over");
    ASSERT_TRUE(below >= 0 && text >= 0 && note >= 0 && above >= 0);
    EXPECT_LT(below, text);
    EXPECT_LT(text, note);
    EXPECT_LT(note, above);
}

// A sidenote in a header is placed once for the header and drawn on every page it prints,
// below the header's text and above it by its layer; its sheet is that of the header's kind.
TEST(Sidenotes, ABoxInAHeaderIsDrawnOnEveryPageOfItsKind) {
    TBoxFixture f;
    TViziVodu header(nullptr);
    header.SetStyle(&f.Style);
    header.AddNL(u"Header", 0, 0);
    TVDSidenoteItemInfo &box = f.Box({u"HBox"}, &header);
    box.GetBoxPosition().HorizontalAnchor = vdhanRightMargin;
    f.Print.SetHeader(&header.GetVDData(), vdhftNormal);
    f.Lines(60);
    ASSERT_EQ(f.Paginate(), 2);
    TPrintableVDData &data = static_cast<TPrintableVDData &>(f.Data());
    TVDHeaderFooterVDData *hf = data.GetHeaderOrFooter(vdhftNormal, true);
    ASSERT_TRUE(hf && hf->Sidenotes);
    ASSERT_EQ(hf->Sidenotes->GetCount(), 1);
    EXPECT_EQ(hf->Sidenotes->Get(0)->FullRect.Left,
              data.GetPrintableAreaLeft(1) + data.GetWidth() + f.Padding(box, 0));
    for (int32_t page = 1; page <= 2; ++page) {
        const std::vector<std::u16string> texts = f.PreviewTexts(page);
        EXPECT_GT(IndexOf(texts, u"HBox"), IndexOf(texts, u"Header")) << page;
        const auto text = std::find_if(texts.begin(), texts.end(), [](const std::u16string &t) {
            return t.starts_with(u"Line");
        });
        EXPECT_LT(IndexOf(texts, u"HBox"), int32_t(text - texts.begin())) << page;
    }
    f.Print.SetHeader(nullptr, vdhftNormal);
}

// Notes on a page in one picture (the preview at 100 %, the page's upper part and its bottom):
// a sidenote in a yellow box with a navy frame in the right margin from its line down, a text
// box over a light blue paragraph whose translucent aqua background is composed over the cream
// page (a box takes the page, not the paragraph, as what lies under it), its short text
// centred in its fixed height, and a footnote at the bottom below the short separator.
// Characters are boxes of the fixed metrics.
TEST(NotesPicture, AFootnoteASidenoteAndATextBoxOnAPage) {
    TBoxFixture f;
    f.Style.GI->DrawGlyphBoxes = true;
    f.Source.SetColor(gfx::RGB(250, 250, 220));
    TParaInfo &blue = f.Style.GetParaStyles().Add();
    blue.GetBackground().Color = gfx::RGB(210, 225, 255);
    f.Lines(2);
    TVDSidenoteItemInfo &sidenote = f.Box({u"Side", u"note"});
    sidenote.GetBoxPosition().HorizontalAnchor = vdhanRightMargin;
    sidenote.GetBoxProperties().Width = 60;
    sidenote.GetBoxProperties().GetBackground().Color = gfx::clYellow;
    sidenote.GetBoxProperties().GetBorder().Color = gfx::clNavy;
    sidenote.GetBoxProperties().GetBorder().Width = 2;
    f.Source.AddNL(u"A light blue paragraph with a text box in it", 0, 2);
    TVDTextBoxItemInfo &box = f.Box<TVDTextBoxItemInfo>({u"Box"});
    box.GetBoxPosition().HorizontalPositionKind = vdfpkAbsPosition;
    box.GetBoxPosition().HorizontalAnchor = vdhanMainTextArea;
    box.GetBoxPosition().HorizontalOffset = 300;
    box.GetBoxProperties().HeightType = vdbhtAbsolute;
    box.GetBoxProperties().Height = 50;
    box.GetBoxProperties().VAlign = tlCenter;
    box.GetBoxProperties().GetBackground().Color = gfx::clAqua;
    box.GetBoxProperties().GetBackground().Opacity = 40000;
    f.Lines(2);
    test::AddNote<TVDFootnoteItemInfo>(f.Source, [](TVDFootnoteItemInfo &note) {
        TVDNoteData &doc = note.GetDocument();
        doc.AddItem(u"", std::make_unique<TVDNoteReferenceItemInfo>(&doc));
        doc.AddNL(u" A footnote", 0, -1);
    });
    f.Lines(1);
    ASSERT_EQ(f.Paginate(), 1);
    gfx::TBitmap page(794, 1122);
    f.Print.DrawPreview(1, page.GetCanvas(), rtl::Rect(0, 0, 794, 1122));
    // The upper part of the page and the bottom with the footnote, one above the other.
    gfx::TBitmap bmp(794, 330);
    bmp.GetCanvas().CopyRect(rtl::Rect(0, 0, 794, 230), page.GetCanvas(),
                             rtl::Rect(0, 0, 794, 230));
    bmp.GetCanvas().CopyRect(rtl::Rect(0, 230, 794, 330), page.GetCanvas(),
                             rtl::Rect(0, 1000, 794, 1100));
    wbtest::ExpectMatchesGolden(bmp, "vizivodu/layout/printing/page_notes.png");
}

} // namespace
