// Page drawing: the page background (colour in every colour mode, a tiled picture), pages that
// begin before the first printed item, clipping to the text area, the printed-link hooks with
// page rectangles, objects printed through bitmaps over what lies under them, and failures.
#include "vizivodu/layout/printing/PtVDData.h"

#include "tests/vizivodu/layout/printing/PrintTestSupport.h"
#include "vizivodu/document/VDGrHandler.h"
#include "vizivodu/document/VDItem_Rect.h"
#include "vizivodu/layout/formatting/VDBack.h"
#include "vizivodu/styles/VDFuncs.h"
#include "vizivodu/styles/VDStyle_Para.h"

#include "platform/gfx/Bitmap.h"

#include "tests/support/GoldenImage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <set>

using namespace vizivodu;

namespace {

// The preview at 100 %: A4 at 600 dpi shown at 96 dpi.
constexpr int32_t SheetWidth = 794, SheetHeight = 1122;

// A printer X or Y on the preview at 100 %.
int32_t Px(int32_t printer) {
    return int32_t(int64_t(printer) * SheetWidth * 2 / 4960 + 1) / 2;
}

// The fixture with text recorded (with its position) and drawn as glyph boxes.
struct TDrawFixture : test::TPrintFixture {
    TDrawFixture() {
        // Background pictures are copied through the graphic handler, which the handler's own
        // tests free after each of theirs.
        if (!GlobalGraphicHandler) {
            InitializeGraphicHandler();
        }
        GI->CanvasText = false;
        Style.GI->RecordTextOps = true;
        Style.GI->DrawGlyphBoxes = true;
    }
    void Lines(int count) {
        for (int i = 0; i < count; ++i) {
            Source.AddNL(u"Line " + rtl::Utf8ToUtf16(std::to_string(i)), 0, 0);
        }
    }
    // Draws the page into a new preview bitmap and answers the texts drawn.
    std::set<std::u16string> Draw(int32_t pageNo, gfx::TBitmap &bmp) {
        bmp.SetSize(SheetWidth, SheetHeight);
        Style.GI->TextOps.clear();
        Print.DrawPreview(pageNo, bmp.GetCanvas(), rtl::Rect(0, 0, SheetWidth, SheetHeight));
        std::set<std::u16string> texts;
        for (const auto &op : Style.GI->TextOps) {
            texts.insert(op.Text);
        }
        return texts;
    }
};

gfx::TColor Pixel(gfx::TBitmap &bmp, int32_t x, int32_t y) {
    return bmp.GetCanvas().GetPixel(x, y);
}

// The colours met in a rectangle of the bitmap.
std::set<gfx::TColor> ColoursIn(gfx::TBitmap &bmp, const rtl::TRect &r) {
    std::set<gfx::TColor> colours;
    for (int32_t y = r.Top; y < r.Bottom; ++y) {
        for (int32_t x = r.Left; x < r.Right; ++x) {
            colours.insert(Pixel(bmp, x, y));
        }
    }
    return colours;
}

// 100 lines of 48 a page; items 48 and 49 open page 2.
TEST(PageDrawing, APageBeginningBeforeTheFirstPrintedItemHasNoBackgroundHeaderOrFooter) {
    TDrawFixture f;
    f.Lines(100);
    f.Source.SetColor(gfx::clYellow);
    TViziVodu header(nullptr), footer(nullptr);
    for (auto [view, text] : {std::pair{&header, u"Header"}, {&footer, u"Footer"}}) {
        view->SetStyle(&f.Style);
        view->AddNL(text, 0, 0);
    }
    f.Print.SetHeader(&header.GetVDData(), vdhftNormal);
    f.Print.SetFooter(&footer.GetVDData(), vdhftNormal);
    f.Print.MinPrintedItemNo = 50;
    std::vector<int32_t> prepaint, postpaint;
    f.Print.OnPagePrepaint = [&](TVDPrint *, int32_t pageNo, gfx::TCanvas &, bool,
                                 const rtl::TRect &,
                                 const rtl::TRect &) { prepaint.push_back(pageNo); };
    f.Print.OnPagePostpaint = [&](TVDPrint *, int32_t pageNo, gfx::TCanvas &, bool,
                                  const rtl::TRect &,
                                  const rtl::TRect &) { postpaint.push_back(pageNo); };
    ASSERT_EQ(f.Paginate(), 3);
    ASSERT_EQ(f.Print.GetFirstPageNo(), 2);
    gfx::TBitmap bmp;
    std::set<std::u16string> texts = f.Draw(2, bmp);
    EXPECT_FALSE(texts.contains(u"Header"));
    EXPECT_FALSE(texts.contains(u"Footer"));
    EXPECT_FALSE(texts.contains(u"Line 49"));
    EXPECT_TRUE(texts.contains(u"Line 50"));
    // The text area right of the lines is not yellow.
    EXPECT_EQ(Pixel(bmp, SheetWidth - 100, 600), gfx::clWhite);
    EXPECT_EQ(prepaint, std::vector<int32_t>{2});
    EXPECT_EQ(postpaint, std::vector<int32_t>{2}); // the page ends with printed items
    texts = f.Draw(3, bmp);
    EXPECT_TRUE(texts.contains(u"Header"));
    EXPECT_TRUE(texts.contains(u"Footer"));
    EXPECT_EQ(Pixel(bmp, SheetWidth - 100, 600), gfx::clYellow);
    // Headers and footers stand in the margins, the page colour fills only the text area.
    EXPECT_EQ(Pixel(bmp, SheetWidth - 100, 20), gfx::clWhite);
    f.Print.SetHeader(nullptr, vdhftNormal);
    f.Print.SetFooter(nullptr, vdhftNormal);
}

// A picture of 16 x 16 screen pixels, red on the left and blue on the right, in the style that
// scrolls with the text on the screen: the page shows it tiled from the text area's corner,
// and the printed document's background keeps the tiled style.
TEST(PageDrawing, ATiledAndScrolledBackgroundPrintsTiled) {
    TDrawFixture f;
    f.Lines(1);
    gfx::TBitmap tile(16, 16);
    tile.GetCanvas().GetBrush().SetColor(gfx::clRed);
    tile.GetCanvas().FillRect(rtl::Rect(0, 0, 8, 16));
    tile.GetCanvas().GetBrush().SetColor(gfx::clBlue);
    tile.GetCanvas().FillRect(rtl::Rect(8, 0, 16, 16));
    f.Source.SetBackgroundBitmap(&tile);
    f.Source.SetBackgroundStyle(bsTiledAndScrolled);
    ASSERT_EQ(f.Paginate(), 1);
    gfx::TBitmap bmp;
    f.Draw(1, bmp);
    EXPECT_EQ(f.Print.GetVD().GetBackground().Style, bsTiled);
    EXPECT_EQ(f.Source.GetBackgroundStyle(), bsTiledAndScrolled);
    // The text area starts at 472 printer pixels: 75.56 on the preview; its picture's pixels
    // are those of the sheet's 96 dpi.
    const int32_t x0 = 76, y0 = 600;
    for (int32_t tileNo : {0, 1, 20, 37}) {
        EXPECT_EQ(Pixel(bmp, x0 + 16 * tileNo + 3, y0), gfx::clRed) << tileNo;
        EXPECT_EQ(Pixel(bmp, x0 + 16 * tileNo + 12, y0), gfx::clBlue) << tileNo;
    }
    EXPECT_EQ(Pixel(bmp, 30, y0), gfx::clWhite);              // the left margin
    EXPECT_EQ(Pixel(bmp, SheetWidth - 30, y0), gfx::clWhite); // the right margin
}

// The page colour and the text colour of a printed page in each colour mode.
TEST(PageDrawing, ColourModesOfThePageAndTheText) {
    const gfx::TColor page = gfx::RGB(200, 120, 40);
    const gfx::TColor text = gfx::RGB(180, 0, 0);
    struct Case {
        TVDColorMode Mode;
        gfx::TColor Page, Text;
    };
    const Case cases[] = {
        {vdcmColor, page, text},
        {vdcmPrinterColor, page, text},
        {vdcmGrayScale, ColorToGray(page), ColorToGray(text)},
        {vdcmBlackAndWhite, gfx::clWhite, gfx::clBlack},
        {vdcmBlackOnWhite, gfx::clWhite, gfx::clBlack},
    };
    for (const Case &c : cases) {
        TDrawFixture f;
        f.Style.GetTextStyles().GetItem(0).SetColor(text);
        f.Lines(1);
        f.Source.SetColor(page);
        f.Print.SetColorMode(c.Mode);
        ASSERT_EQ(f.Paginate(), 1);
        gfx::TBitmap bmp;
        f.Draw(1, bmp);
        EXPECT_EQ(Pixel(bmp, 400, 600), c.Page) << int(c.Mode);
        // "Line 0" in glyph boxes at the top-left corner of the text area.
        std::set<gfx::TColor> colours = ColoursIn(bmp, rtl::Rect(80, 80, 100, 90));
        colours.erase(c.Page);
        EXPECT_EQ(colours, std::set<gfx::TColor>{c.Text}) << int(c.Mode);
    }
}

// Records the text alignment (the reading direction) each text output is made with.
class TDirectionRecorder : public test::TCanvasTextGraphicInterface {
public:
    std::vector<std::pair<std::u16string, uint32_t>> Outputs;
    void TextOut(gfx::TCanvas &canvas, int32_t x, int32_t y, const TVDTextRun &run,
                 TVDTextOutput output) override {
        Outputs.emplace_back(Units(run), GetTextAlign(canvas));
        TCanvasTextGraphicInterface::TextOut(canvas, x, y, run, output);
    }
    void TextOutWithDX(gfx::TCanvas &canvas, int32_t x, int32_t y, const TVDTextRun &run,
                       TVDTextOutput output, TCustomVDGlyphDXData &data) override {
        Outputs.emplace_back(Units(run), GetTextAlign(canvas));
        TCanvasTextGraphicInterface::TextOutWithDX(canvas, x, y, run, output, data);
    }
};

// Mended: the printed page applied a text style with its paragraph's direction only when the
// style changed, so a paragraph in the style of the one before it but of the other direction
// was printed in the direction of the one before.
TEST(PageDrawing, AParagraphInTheStyleOfTheOneBeforeIsPrintedInItsOwnDirection) {
    TDrawFixture f;
    auto gi = std::make_unique<TDirectionRecorder>();
    gi->DevicePPI = 600;
    gi->CanvasText = false;
    TDirectionRecorder &recorder = *gi;
    f.Style.GI = f.GI = gi.get();
    f.Style.SetGraphicInterfaceForTesting(std::move(gi));
    const int32_t ltr = f.Style.GetParaStyles().GetCount();
    f.Style.GetParaStyles().Add().SetBiDiMode(vdbdLeftToRight);
    f.Style.GetParaStyles().Add().SetBiDiMode(vdbdRightToLeft);
    f.Source.AddNL(u"One", 0, ltr);
    f.Source.AddNL(u"Two", 0, ltr + 1);
    f.Source.AddNL(u"Three", 0, ltr);
    ASSERT_EQ(f.Paginate(), 1);
    gfx::TBitmap bmp;
    recorder.Outputs.clear();
    f.Draw(1, bmp);
    const std::vector<std::pair<std::u16string, uint32_t>> expected = {
        {u"One", 0}, {u"Two", uint32_t(gfx::TA_RTLREADING)}, {u"Three", 0}};
    EXPECT_EQ(recorder.Outputs, expected);
}

// A picture wider than the text area reaches into the right margin unless ClipMargins cuts it;
// the header in the top margin is drawn either way.
TEST(PageDrawing, ClipMarginsCutsTheContentButNotTheHeader) {
    for (bool clip : {false, true}) {
        TDrawFixture f;
        auto wide = std::make_unique<gfx::TBitmap>(1200, 40);
        wide->GetCanvas().GetBrush().SetColor(gfx::clRed);
        wide->GetCanvas().FillRect(rtl::Rect(0, 0, 1200, 40));
        f.Source.AddPictureEx("", std::move(wide), 0, vdvaBaseline);
        TViziVodu header(nullptr);
        header.SetStyle(&f.Style);
        header.AddNL(u"Header", 0, 0);
        f.Print.SetHeader(&header.GetVDData(), vdhftNormal);
        f.Print.ClipMargins = clip;
        ASSERT_EQ(f.Paginate(), 1);
        gfx::TBitmap bmp;
        f.Draw(1, bmp);
        // The picture's row: 503 to 765 printer pixels down; the margin right of 4488.
        EXPECT_EQ(Pixel(bmp, SheetWidth - 40, Px(650)), clip ? gfx::clWhite : gfx::clRed) << clip;
        EXPECT_EQ(Pixel(bmp, 400, Px(650)), gfx::clRed) << clip;
        // The header 10 mm below the sheet's top edge: 236 printer pixels, one line of 125.
        EXPECT_TRUE(
            ColoursIn(bmp, rtl::Rect(Px(503), Px(236), Px(900), Px(361))).contains(gfx::clBlack))
            << clip;
        f.Print.SetHeader(nullptr, vdhftNormal);
    }
}

// Printable documents that record what the hooks are told.
class THookData : public TPrintableVDData {
public:
    using TPrintableVDData::TPrintableVDData;
    std::vector<std::pair<int32_t, rtl::TRect>> Links;
    std::vector<std::array<int32_t, 3>> Checkpoints;
    void DoHyperlinkPrinted(TCustomVDData *, int32_t itemNo, const rtl::TRect &rect) override {
        Links.push_back({itemNo, rect});
    }
    void DoCheckpointPrinted(TCustomVDData *, int32_t itemNo, int32_t x, int32_t y) override {
        Checkpoints.push_back({itemNo, x, y});
    }
};

class THookVD : public TPrintableVD {
public:
    explicit THookVD(ui::TComponent *owner) : TPrintableVD(owner, &MakeData) {}

private:
    static std::unique_ptr<TViziVoduVDData> MakeData(TCustomViziVodu &control) {
        return std::make_unique<THookData>(&control);
    }
};

class THookPrint : public TVDPrint {
public:
    THookPrint() : TVDPrint(nullptr, &MakeVD) {}
    THookData &Data() const {
        return static_cast<THookData &>(GetPrintableVD().GetPrintableData());
    }

private:
    static TCustomPrintableVD *MakeVD(TCustomVDPrint &owner) { return new THookVD(&owner); }
};

// Item 48, a hyperlink, opens page 2 and item 50 has a checkpoint: the hooks get their places
// on the page (the text area's corner is 472 + the viewer's 31-pixel margins, lines 125
// pixels), not in the document.
TEST(PageDrawing, HyperlinkAndCheckpointHooksGetTheirPageRectangles) {
    TDrawFixture f;
    f.Style.GetTextStyles().GetItem(4).SetJump(true);
    f.Style.GetTextStyles().GetItem(4).SetSize(15);
    for (int i = 0; i < 60; ++i) {
        if (i == 50) {
            f.Source.AddCheckpoint();
        }
        f.Source.AddNL(u"Line", i == 48 ? 4 : 0, 0);
    }
    THookPrint print;
    print.AssignSource(&f.Source);
    ASSERT_EQ(print.FormatPages(), 2);
    THookData &data = print.Data();
    gfx::TBitmap bmp(SheetWidth, SheetHeight);
    const rtl::TRect sheet = rtl::Rect(0, 0, SheetWidth, SheetHeight);
    print.DrawPreview(1, bmp.GetCanvas(), sheet);
    EXPECT_TRUE(data.Links.empty());
    EXPECT_TRUE(data.Checkpoints.empty());
    print.DrawPreview(2, bmp.GetCanvas(), sheet);
    ASSERT_EQ(data.Links.size(), 1u);
    EXPECT_EQ(data.Links[0].first, 48);
    const int32_t width = data.DrawItems[48]->Width;
    EXPECT_EQ(data.Links[0].second, rtl::Rect(503, 503, 503 + width, 503 + 125));
    EXPECT_EQ(data.Checkpoints, (std::vector<std::array<int32_t, 3>>{{50, 503, 503 + 2 * 125}}));
    // Items before the first printed one tell nothing.
    data.Links.clear();
    data.Checkpoints.clear();
    print.MinPrintedItemNo = 49;
    print.DrawPreview(2, bmp.GetCanvas(), sheet);
    EXPECT_TRUE(data.Links.empty());
    EXPECT_EQ(data.Checkpoints.size(), 1u);
}

// A picture that prints its left half and leaves its right half as it receives the bitmap:
// with what lies under it on the page.
class THalfPicture : public TVDGraphicItemInfo {
public:
    using TVDGraphicItemInfo::TVDGraphicItemInfo;
    bool Refuse = false;
    bool PrintToBitmap(gfx::TBitmap &bkgnd, bool, TCustomVDData *, int32_t, int32_t,
                       TVDColorMode) override {
        if (Refuse) {
            return false;
        }
        bkgnd.GetCanvas().GetBrush().SetColor(gfx::clBlack);
        bkgnd.GetCanvas().FillRect(rtl::Rect(0, 0, bkgnd.GetWidth() / 2, bkgnd.GetHeight()));
        return true;
    }
};

// "Line 0", a picture of 96 x 48 screen pixels (600 x 300 printed, inside its 6-pixel
// spacing) in a paragraph of its own, "Line 2", on a yellow page. The picture's right half shows
// the same as the paragraph beside it; a picture that refuses to print leaves its place as it
// was.
TEST(PageDrawing, AnItemPrintedThroughABitmapGetsWhatLiesUnderIt) {
    struct Case {
        const char *Name;
        gfx::TColor ParaColor;
        TVDOpacity Opacity;
        bool PagePicture, Refuse;
    };
    const Case cases[] = {{"opaque paragraph", gfx::clLime, 100000, false, false},
                          {"translucent paragraph", gfx::clLime, 50000, false, false},
                          {"page picture", gfx::clNone, 100000, true, false},
                          {"refused", gfx::clLime, 100000, false, true}};
    for (const Case &c : cases) {
        TDrawFixture f;
        TParaInfo &para = f.Style.GetParaStyles().Add();
        para.GetBackground().Color = c.ParaColor;
        para.GetBackground().Opacity = c.Opacity;
        f.Source.SetColor(gfx::clYellow);
        if (c.PagePicture) {
            gfx::TBitmap blue(8, 8);
            blue.GetCanvas().GetBrush().SetColor(gfx::clBlue);
            blue.GetCanvas().FillRect(rtl::Rect(0, 0, 8, 8));
            f.Source.SetBackgroundBitmap(&blue);
            f.Source.SetBackgroundStyle(bsTiled);
        }
        f.Source.AddNL(u"Line 0", 0, 0);
        auto picture = std::make_unique<THalfPicture>(
            &f.Source.GetVDData(), std::make_unique<gfx::TBitmap>(96, 48), vdvaBaseline);
        picture->Refuse = c.Refuse;
        picture->ParaNo = 2;
        f.Source.AddItem(u"", std::move(picture));
        f.Source.AddNL(u"Line 2", 0, 0);
        ASSERT_EQ(f.Paginate(), 1);
        const TVDDrawLineInfo &d = *f.Data().DrawItems[1];
        ASSERT_EQ(d.ItemNo, 1);
        gfx::TBitmap bmp;
        f.Draw(1, bmp);
        const int32_t left = 472 + d.Left + 6, top = 503 + d.Top + 6, y = Px(top + 150);
        const gfx::TColor beside = Pixel(bmp, Px(left + 1000), y);
        EXPECT_NE(beside, gfx::clYellow) << c.Name;
        EXPECT_EQ(Pixel(bmp, Px(left + 150), y), c.Refuse ? beside : gfx::clBlack) << c.Name;
        EXPECT_EQ(Pixel(bmp, Px(left + 450), y), beside) << c.Name;
        if (c.Opacity < 100000) {
            EXPECT_NE(beside, c.ParaColor) << c.Name;
        }
    }
}

// Mended: what lies under a piece printed through a bitmap took the page colour as it is, so in
// grey-scale a picture stood on a coloured patch of a grey page; it takes the colour mode as the
// page around it does.
TEST(PageDrawing, PiecesPrintedThroughBitmapsSitOnThePageColourOfTheColourMode) {
    TDrawFixture f;
    f.Source.SetColor(gfx::clYellow);
    f.Print.SetColorMode(vdcmGrayScale);
    f.Source.AddItem(u"", std::make_unique<THalfPicture>(&f.Source.GetVDData(),
                                                         std::make_unique<gfx::TBitmap>(96, 48),
                                                         vdvaBaseline));
    ASSERT_EQ(f.Paginate(), 1);
    const TVDDrawLineInfo &d = *f.Data().DrawItems[0];
    gfx::TBitmap bmp;
    f.Draw(1, bmp);
    const int32_t left = 472 + d.Left + 6, y = Px(503 + d.Top + 6 + 150);
    EXPECT_EQ(Pixel(bmp, Px(left + 450), y), ColorToGray(gfx::clYellow));
    EXPECT_EQ(Pixel(bmp, Px(left + 1000), y), ColorToGray(gfx::clYellow));
}

// Mended: a header drew what lies under a piece printed through a bitmap from its parent's page
// alone, so a picture in a header paragraph with an opaque colour stood on the page colour
// instead of the paragraph's.
TEST(PageDrawing, APictureInAnOpaqueHeaderParagraphStandsOnTheParagraphsColour) {
    TDrawFixture f;
    f.Style.GetParaStyles().Add().GetBackground().Color = gfx::clLime;
    f.Lines(1);
    TViziVodu header(nullptr);
    header.SetStyle(&f.Style);
    auto picture = std::make_unique<THalfPicture>(
        &header.GetVDData(), std::make_unique<gfx::TBitmap>(96, 48), vdvaBaseline);
    picture->ParaNo = f.Style.GetParaStyles().GetCount() - 1;
    header.AddItem(u"", std::move(picture));
    f.Print.SetHeader(&header.GetVDData(), vdhftNormal);
    ASSERT_EQ(f.Paginate(), 1);
    TVDHeaderFooterVDData *hf =
        static_cast<TPrintableVDData &>(f.Data()).GetHeaderOrFooter(vdhftNormal, true);
    ASSERT_TRUE(hf && hf->DrawItems.Count() == 1);
    const TVDDrawLineInfo &d = *hf->DrawItems[0];
    gfx::TBitmap bmp;
    f.Draw(1, bmp);
    const int32_t left = hf->GetPrintableAreaLeft(1) + d.Left + 6;
    const int32_t y = Px(hf->GetPrintableAreaTop(1) + d.Top + 6 + 150);
    EXPECT_EQ(Pixel(bmp, Px(left + 1000), y), gfx::clLime); // beside the picture
    EXPECT_EQ(Pixel(bmp, Px(left + 150), y), gfx::clBlack);
    EXPECT_EQ(Pixel(bmp, Px(left + 450), y), gfx::clLime);
    f.Print.SetHeader(nullptr, vdhftNormal);
}

// A page that fails while its paragraphs are drawn: the error passes on, the postpaint event
// is still raised, and the page's working state (background bitmap, current draw item, saved
// clip) is gone.
TEST(PageDrawing, AFailingPageStillRaisesPostpaintAndReleasesItsState) {
    TDrawFixture f;
    f.Style.GetParaStyles().Add().GetBackground().Color = gfx::clLime;
    f.Style.OnDrawParaBack = [](TVDStyle &, gfx::TCanvas &, int32_t, const rtl::TRect &, bool &) {
        throw rtl::Exception("no ink");
    };
    gfx::TBitmap blue(8, 8);
    f.Source.SetBackgroundBitmap(&blue);
    f.Source.SetBackgroundStyle(bsTiled);
    f.Source.AddNL(u"Line", 0, 2);
    f.Print.ClipMargins = true;
    int postpaint = 0;
    f.Print.OnPagePostpaint = [&](TVDPrint *, int32_t, gfx::TCanvas &, bool, const rtl::TRect &,
                                  const rtl::TRect &) { ++postpaint; };
    ASSERT_EQ(f.Paginate(), 1);
    gfx::TBitmap bmp(100, 100);
    EXPECT_THROW(f.Print.DrawPreview(1, bmp.GetCanvas(), rtl::Rect(0, 0, 100, 100)),
                 rtl::Exception);
    EXPECT_EQ(postpaint, 1);
    auto &data = static_cast<TPrintableVDData &>(f.Data());
    EXPECT_EQ(data.FBackgroundBmp, nullptr);
    EXPECT_EQ(data.FDrawItem, nullptr);
    EXPECT_FALSE(data.RgnSaved);
    gfx::TRegion clip;
    EXPECT_EQ(bmp.GetCanvas().GetClipRgn(clip), 0);
    f.Style.OnDrawParaBack = nullptr;
}

// The note separator: a grey line half its height above y, from half that height after the
// text's start to its height before the end of a third of the text width (of all of it when
// full-size); in a right-to-left document the short line ends where the text does.
TEST(PageDrawing, TheNoteSeparatorLine) {
    TDrawFixture f;
    f.Lines(1);
    ASSERT_EQ(f.Paginate(), 1);
    TCustomPrintableVD &vd = f.Print.GetVD();
    const int32_t h = vd.GetNoteSeparatorHeight();
    ASSERT_GT(h, 0);
    EXPECT_EQ(vd.GetNoteLineWidth(), 6); // one screen pixel
    const int32_t x = 503, wd = 4960 - 2 * 503;
    struct Case {
        bool FullSize, RightToLeft;
        int32_t From, To;
    };
    for (const Case &c :
         {Case{false, false, x + h / 2, x + wd / 3 - h}, Case{true, false, x + h / 2, x + wd - h},
          Case{false, true, x + wd - wd / 3 + h / 2, x + wd - h}}) {
        vd.SetBiDiMode(c.RightToLeft ? vdbdRightToLeft : vdbdUnspecified);
        gfx::TBitmap bmp(4960, 200);
        vd.DrawNoteSeparatorAbove(1, 100, bmp.GetCanvas(), c.FullSize);
        int32_t first = -1, last = -1;
        for (int32_t px = 0; px < 4960; ++px) {
            if (Pixel(bmp, px, 100 - h / 2) == gfx::TColor(0x808080)) {
                first = first < 0 ? px : first;
                last = px;
            }
        }
        // Within the pen's width at each end.
        EXPECT_NEAR(first, c.From, 6) << c.FullSize << c.RightToLeft;
        EXPECT_NEAR(last, c.To, 6) << c.FullSize << c.RightToLeft;
        EXPECT_EQ(Pixel(bmp, (c.From + c.To) / 2, 100 - h / 2 - 20), gfx::clWhite);
    }
}

// The layers of a printed page in one picture (the top left of the preview at 100 %): a cream
// page, a bordered
// paragraph on a light blue background widened by its offsets, words with a yellow text
// background, and a framed picture on an aqua box in a paragraph with a translucent green
// background. Characters are boxes of the fixed metrics.
TEST(PagePicture, TheLayersOfAPrintedPage) {
    TDrawFixture f;
    TParaInfo &bordered = f.Style.GetParaStyles().Add();
    bordered.GetBorder().Style = vdbSingle;
    bordered.GetBorder().Width = 2;
    bordered.GetBorder().Color = gfx::clNavy;
    bordered.GetBackground().Color = gfx::RGB(220, 235, 255);
    bordered.GetBackground().GetBorderOffsets().SetAll(4);
    TParaInfo &translucent = f.Style.GetParaStyles().Add();
    translucent.GetBackground().Color = gfx::clLime;
    translucent.GetBackground().Opacity = 30000;
    f.Style.GetTextStyles().GetItem(2).SetSize(15);
    f.Style.GetTextStyles().GetItem(2).SetBackColor(gfx::clYellow);
    f.Source.SetColor(gfx::RGB(250, 250, 235));
    f.Source.AddNL(u"A plain line of text", 0, 0);
    f.Source.AddNL(u"A bordered paragraph on a light blue background, long enough to wrap onto "
                   u"a second line of the page",
                   0, 2);
    f.Source.AddNL(u"Plain words then ", 0, 0);
    f.Source.AddNL(u"highlighted words", 2, -1);
    auto image = std::make_unique<gfx::TBitmap>(60, 30);
    image->GetCanvas().GetBrush().SetColor(gfx::clPurple);
    image->GetCanvas().FillRect(rtl::Rect(0, 0, 30, 15));
    image->GetCanvas().FillRect(rtl::Rect(30, 15, 60, 30));
    auto picture =
        std::make_unique<TVDGraphicItemInfo>(&f.Source.GetVDData(), std::move(image), vdvaBaseline);
    picture->Spacing = 3;
    picture->BorderWidth = 2;
    picture->BorderColor = gfx::clRed;
    picture->BackgroundColor = gfx::clAqua;
    picture->ParaNo = 3;
    f.Source.AddItem(u"", std::move(picture));
    f.Source.AddNL(u"The last line", 0, 0);
    ASSERT_EQ(f.Paginate(), 1);
    gfx::TBitmap bmp(420, 190);
    f.Print.DrawPreview(1, bmp.GetCanvas(), rtl::Rect(-50, -50, SheetWidth - 50, SheetHeight - 50));
    wbtest::ExpectMatchesGolden(bmp, "vizivodu/layout/printing/page_layers.png");
}

} // namespace
