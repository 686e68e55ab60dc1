// Drawing styled text and signs: the choice between plain and positioned output, underlines
// and the line of hidden text, special-character signs, selected ranges, checkpoints and page
// breaks.
#include "vizivodu/styles/VDStyle.h"

#include "tests/vizivodu/StyleTestSupport.h"

#include <gtest/gtest.h>

#include <numeric>

using namespace vizivodu;

namespace {

// The GDI engine recording what is drawn through it.
struct TDrawRecorder : TVDWinGraphicInterface {
    struct TText {
        bool Positioned;
        int32_t X, Y;
        std::u16string Text;
        int32_t Advances; // the sum of the advances of positioned output
        bool FontUnderlined;
    };
    struct TLine {
        int32_t X1, Y1, X2, Y2;
        gfx::TColor Color;
        gfx::TPenStyle Style;
    };
    std::vector<TText> Texts;
    std::vector<TLine> Lines;
    std::vector<rtl::TRect> Rects;
    std::vector<rtl::TRect> Ellipses;
    std::vector<gfx::TColor> PolygonPens;

    static std::u16string TextOf(const TVDTextRun &run) {
        std::u16string text;
        for (int32_t i = 0; i < run.Length; ++i) {
            text.push_back(run.CharAt(i));
        }
        return text;
    }
    void TextOut(gfx::TCanvas &canvas, int32_t x, int32_t y, const TVDTextRun &run,
                 TVDTextOutput output) override {
        Texts.push_back(
            {false, x, y, TextOf(run), 0, canvas.GetFont().GetStyle().Contains(gfx::fsUnderline)});
        TVDWinGraphicInterface::TextOut(canvas, x, y, run, output);
    }
    void TextOutWithDX(gfx::TCanvas &canvas, int32_t x, int32_t y, const TVDTextRun &run,
                       TVDTextOutput output, TCustomVDGlyphDXData &data) override {
        Texts.push_back({true, x, y, TextOf(run),
                         std::accumulate(data.PDX.begin(), data.PDX.end(), 0),
                         canvas.GetFont().GetStyle().Contains(gfx::fsUnderline)});
        TVDWinGraphicInterface::TextOutWithDX(canvas, x, y, run, output, data);
    }
    void Line(gfx::TCanvas &canvas, int32_t x1, int32_t y1, int32_t x2, int32_t y2) override {
        Lines.push_back({x1, y1, x2, y2, canvas.GetPen().GetColor(), canvas.GetPen().GetStyle()});
    }
    void FillColorRect(gfx::TCanvas &, const rtl::TRect &r, gfx::TColor) override {
        Rects.push_back(r);
    }
    void Ellipse(gfx::TCanvas &, int32_t x1, int32_t y1, int32_t x2, int32_t y2) override {
        Ellipses.push_back(rtl::Rect(x1, y1, x2, y2));
    }
    void Polygon(gfx::TCanvas &canvas, const std::vector<rtl::TPoint> &) override {
        PolygonPens.push_back(canvas.GetPen().GetColor());
    }
};

// A document of a given width.
struct TWideDocument : TCustomVDDataHooks {
    int32_t GetWidth() override { return 300; }
};

class VDStyleDraw : public ::testing::Test {
protected:
    VDStyleDraw() {
        auto gi = std::make_unique<TDrawRecorder>();
        GI = gi.get();
        Sheet.SetGraphicInterfaceForTesting(std::move(gi));
        Sheet.ApplyStyle(Canvas(), 0, vdbdUnspecified, {}, nullptr);
        Canvas().GetBrush().SetStyle(gfx::bsClear);
    }
    gfx::TCanvas &Canvas() { return Bitmap.GetCanvas(); }
    TFontInfo &Style(int32_t i) { return Sheet.GetTextStyles().GetItem(i); }
    // A fragment of text in style 0 at (10, 5), as wide as the text.
    TVDStyleTextArgs Fragment(const std::u16string &text) {
        Text = text;
        TVDStyleTextArgs a;
        a.Text = std::string_view(reinterpret_cast<const char *>(Text.data()), Text.size() * 2);
        a.Canvas = &Canvas();
        a.Left = 10;
        a.Top = 5;
        a.TextWidth = a.Width = GI->TextWidth(Canvas(), text);
        a.Height = Canvas().GetTextMetrics().tmHeight;
        return a;
    }

    test::TPixelsPerInchOverride Ppi{96};
    TVDStyle Sheet{nullptr};
    TDrawRecorder *GI = nullptr;
    gfx::TBitmap Bitmap{400, 60};
    std::u16string Text;
};

} // namespace

TEST_F(VDStyleDraw, PlainOrPositionedOutput) {
    gfx::TBitmap reference(100, 100);
    struct TCase {
        const char *Name;
        void (*Prepare)(TVDStyleTextArgs &, gfx::TCanvas &reference);
        bool Positioned;
    };
    const TCase cases[] = {
        {"natural positions", [](TVDStyleTextArgs &, gfx::TCanvas &) {}, false},
        {"printing", [](TVDStyleTextArgs &a, gfx::TCanvas &) { a.Printing = true; }, true},
        {"reference canvas", [](TVDStyleTextArgs &a, gfx::TCanvas &r) { a.RefCanvas = &r; }, true},
        {"reference is the canvas",
         [](TVDStyleTextArgs &a, gfx::TCanvas &) { a.RefCanvas = a.Canvas; }, false},
        {"justified",
         [](TVDStyleTextArgs &a, gfx::TCanvas &) {
             a.SpaceCount = 1;
             a.Width += 7;
         },
         true},
        {"justified, nothing to spread",
         [](TVDStyleTextArgs &a, gfx::TCanvas &) { a.SpaceCount = 1; }, false},
        {"distributed",
         [](TVDStyleTextArgs &a, gfx::TCanvas &) {
             a.SpaceCount = vdDistributeSpacing;
             a.Width += 7;
         },
         true},
        {"wider box, no justification", [](TVDStyleTextArgs &a, gfx::TCanvas &) { a.Width += 7; },
         false},
        {"preview correction that changes nothing",
         [](TVDStyleTextArgs &a, gfx::TCanvas &) {
             a.Printing = true;
             a.PreviewCorrection = true;
             a.TextWidth -= 5;
         },
         false},
        {"preview correction of a narrower box",
         [](TVDStyleTextArgs &a, gfx::TCanvas &) {
             a.Printing = true;
             a.PreviewCorrection = true;
             a.Width -= 4;
         },
         true},
    };
    for (const TCase &c : cases) {
        GI->Texts.clear();
        TVDStyleTextArgs a = Fragment(u"a b");
        c.Prepare(a, reference.GetCanvas());
        Sheet.DrawStyleText(a);
        ASSERT_EQ(GI->Texts.size(), 1u) << c.Name;
        const TDrawRecorder::TText &t = GI->Texts[0];
        EXPECT_EQ(t.Positioned, c.Positioned) << c.Name;
        EXPECT_EQ(t.Text, u"a b");
        const int32_t k = a.RefCanvas && a.RefCanvas != a.Canvas ? FormatCanvasScaleFactor : 1;
        EXPECT_EQ(t.X, 10 * k) << c.Name;
        EXPECT_EQ(t.Y, 5 * k) << c.Name;
        if (c.Positioned && !a.RefCanvas) {
            EXPECT_EQ(t.Advances, a.Width - a.SpaceAtLeft) << c.Name;
        }
    }
}

TEST_F(VDStyleDraw, CharacterSpacingThatPlainOutputCannotCarryIsPositioned) {
    Style(0).SetBiDiMode(vdbdRightToLeft);
    for (int32_t extra : {0, 2}) {
        GI->Texts.clear();
        Canvas().SetTextCharacterExtra(extra);
        Sheet.DrawStyleText(Fragment(u"abc"));
        EXPECT_EQ(GI->Texts.at(0).Positioned, extra != 0);
    }
}

TEST_F(VDStyleDraw, UnderlinesAreDrawnByTheStyleNotTheFont) {
    Style(0).SetStyle({gfx::fsUnderline});
    Sheet.ApplyStyle(Canvas(), 0, vdbdUnspecified, {}, nullptr);
    ASSERT_TRUE(Canvas().GetFont().GetStyle().Contains(gfx::fsUnderline));
    const TVDStyleTextArgs a = Fragment(u"Underlined");
    Sheet.DrawStyleText(a);
    ASSERT_EQ(GI->Texts.size(), 1u);
    EXPECT_FALSE(GI->Texts[0].FontUnderlined);
    EXPECT_TRUE(Canvas().GetFont().GetStyle().Contains(gfx::fsUnderline));
    gfx::TOutlineTextMetric otm;
    ASSERT_TRUE(Canvas().GetOutlineTextMetrics(otm));
    const int32_t y =
        5 + otm.otmTextMetrics.tmAscent - otm.otmsUnderscorePosition + otm.otmsUnderscoreSize / 2;
    // A one-pixel underline is a pen line from Left to Left + Width.
    ASSERT_EQ(otm.otmsUnderscoreSize, 1);
    ASSERT_EQ(GI->Lines.size(), 1u);
    EXPECT_EQ(GI->Lines[0].X1, 10);
    EXPECT_EQ(GI->Lines[0].X2, 10 + a.Width);
    EXPECT_EQ(GI->Lines[0].Y1, y);
    EXPECT_EQ(Canvas().GetPen().GetStyle(), gfx::psSolid);
}

TEST_F(VDStyleDraw, DoubleUnderlineOfWidthOneIsTwoLines) {
    DrawUnderline(Canvas(), vdutDouble, gfx::clRed, *GI, 1, 20, 50, 10);
    ASSERT_EQ(GI->Lines.size(), 2u);
    EXPECT_EQ(GI->Lines[0].Y1, 19);
    EXPECT_EQ(GI->Lines[1].Y1, 21);
    EXPECT_EQ(GI->Lines[0].Color, gfx::clRed);
    GI->Lines.clear();
    DrawUnderline(Canvas(), vdutThick, gfx::clRed, *GI, 1, 20, 50, 10);
    EXPECT_TRUE(GI->Lines.empty());
    EXPECT_EQ(GI->Rects, std::vector<rtl::TRect>{rtl::Rect(10, 19, 50, 21)});
    GI->Rects.clear();
    DrawUnderline(Canvas(), vdutNormal, gfx::clRed, *GI, 3, 20, 10, 10); // no length
    EXPECT_TRUE(GI->Rects.empty());
}

TEST_F(VDStyleDraw, HiddenTextGetsTheDottedLineOnly) {
    TFontInfo &s = Style(0);
    s.SetOptions({vdteoHidden});
    s.SetUnderlineType(vdutThickDashed);
    const TVDStyleTextArgs a = Fragment(u"Hidden");
    Sheet.DrawStyleText(a);
    ASSERT_FALSE(GI->Rects.empty());
    // One-pixel dots every 3 pixels from Left.
    for (size_t i = 0; i < GI->Rects.size(); ++i) {
        EXPECT_EQ(GI->Rects[i].Left, 10 + 3 * int32_t(i));
        EXPECT_EQ(GI->Rects[i].Width(), 1);
        EXPECT_EQ(GI->Rects[i].Height(), 1);
    }
    EXPECT_LE(GI->Rects.back().Right, 10 + a.Width);
}

TEST_F(VDStyleDraw, OverlineStandsOnTheTop) {
    Style(0).SetStyleEx({vdfsOverline});
    Sheet.DrawStyleText(Fragment(u"Over"));
    ASSERT_EQ(GI->Lines.size(), 1u);
    EXPECT_EQ(GI->Lines[0].Y1, 5);
}

TEST_F(VDStyleDraw, SpecialCharacterSignsStandOverSpaces) {
    Sheet.SetSpecialCharactersColor(gfx::clGreen);
    TVDStyleTextArgs a = Fragment(u"a b\u00A0c");
    a.DrawState.Include(vdtsSpecialCharacters);
    Sheet.DrawStyleText(a);
    ASSERT_EQ(GI->Texts.size(), 3u);
    const auto coords =
        GI->GetGlyphDX(Canvas(), {a.Text.data(), 5, true}, 0, 0, {vdgnCoords}, -1, -1);
    EXPECT_EQ(GI->Texts[1].Text, u"\u00B7");
    EXPECT_EQ(GI->Texts[1].X,
              10 + (coords->PXL[1] + coords->PXR[1]) / 2 - GI->TextWidth(Canvas(), u"\u00B7") / 2);
    EXPECT_EQ(GI->Texts[2].Text, u"\u00B0");
    EXPECT_EQ(Canvas().GetFont().GetColor(), Style(0).GetColor());
}

TEST_F(VDStyleDraw, TheEventMayDrawInstead) {
    int drawn = 0;
    Sheet.OnDrawStyleText = [&](TVDStyle &sender, const TVDStyleTextArgs &args, bool &doDefault) {
        ++drawn;
        EXPECT_EQ(sender.ItemNo, 4);
        EXPECT_EQ(sender.OffsetInItem, 2);
        EXPECT_EQ(args.Left, 10);
        doDefault = false;
    };
    TVDStyleTextArgs a = Fragment(u"x");
    a.ItemNo = 4;
    a.OffsetInItem = 2;
    Sheet.DrawStyleText(a);
    EXPECT_EQ(drawn, 1);
    EXPECT_TRUE(GI->Texts.empty());
}

TEST_F(VDStyleDraw, SelectedRangesAreClippedAndTheClipComesBack) {
    Canvas().IntersectClipRect(0, 0, 300, 40);
    gfx::TRegion before;
    Canvas().GetClipRgn(before);
    const TVDStyleTextArgs a = Fragment(u"Hello");
    const auto coords =
        GI->GetGlyphDX(Canvas(), {a.Text.data(), 5, true}, 0, 0, {vdgnCoords}, -1, -1);
    std::vector<rtl::TRect> during;
    TVDTextDrawStates state;
    Sheet.OnDrawStyleText = [&](TVDStyle &, const TVDStyleTextArgs &args, bool &) {
        gfx::TRegion clip;
        args.Canvas->GetClipRgn(clip);
        during = clip.GetRects();
        state = args.DrawState;
    };
    Sheet.DrawSelectedStyleText(a, 2, 3);
    EXPECT_EQ(during, std::vector<rtl::TRect>{
                          rtl::Rect(10 + coords->PXL[1], 5, 10 + coords->PXR[2], 5 + a.Height)});
    EXPECT_TRUE(state.Contains(vdtsSelected));
    gfx::TRegion after;
    Canvas().GetClipRgn(after);
    EXPECT_EQ(after, before);
    // Drawing that fails leaves the caller's clip region too.
    Sheet.OnDrawStyleText = [](TVDStyle &, const TVDStyleTextArgs &, bool &) {
        throw rtl::Exception("drawing failed");
    };
    EXPECT_THROW(Sheet.DrawSelectedStyleText(a, 1, 5), rtl::Exception);
    Canvas().GetClipRgn(after);
    EXPECT_EQ(after, before);
    // A reversed range draws nothing.
    int drawn = 0;
    Sheet.OnDrawStyleText = [&](TVDStyle &, const TVDStyleTextArgs &, bool &) { ++drawn; };
    Sheet.DrawSelectedStyleText(a, 3, 2);
    EXPECT_EQ(drawn, 0);
}

TEST_F(VDStyleDraw, CheckpointSigns) {
    Sheet.DrawCheckpoint(Canvas(), 50, 20, 5, 100, nullptr, 3, 2, true, nullptr);
    EXPECT_EQ(GI->Ellipses, std::vector<rtl::TRect>{rtl::Rect(48, 18, 52, 22)});
    ASSERT_EQ(GI->Lines.size(), 1u);
    EXPECT_EQ(GI->Lines[0].X1, 3);
    EXPECT_EQ(GI->Lines[0].X2, 103);
    EXPECT_EQ(GI->Lines[0].Style, gfx::psDot);
    EXPECT_EQ(GI->Lines[0].Color, Sheet.GetCheckpointEvColor());
    EXPECT_EQ(Canvas().GetPen().GetStyle(), gfx::psSolid);
    EXPECT_EQ(Canvas().GetBrush().GetStyle(), gfx::bsClear);
    GI->Ellipses.clear();
    Sheet.DrawCheckpoint(Canvas(), 50, 20, 5, 100, nullptr, -1, 0, false, nullptr);
    EXPECT_TRUE(GI->Ellipses.empty());
    EXPECT_EQ(GI->Lines.back().Color, Sheet.GetCheckpointColor());
}

TEST_F(VDStyleDraw, PageBreakSigns) {
    TWideDocument document;
    for (TVDPageBreakType type : {vdpbPageBreak, vdpbSoftPageBreak}) {
        GI->Lines.clear();
        GI->PolygonPens.clear();
        Sheet.DrawPageBreak(Canvas(), 30, 4, type, nullptr, &document, 7);
        const gfx::TColor color =
            type == vdpbPageBreak ? Sheet.GetPageBreakColor() : Sheet.GetSoftPageBreakColor();
        ASSERT_EQ(GI->Lines.size(), 1u);
        EXPECT_EQ(GI->Lines[0].X1, -4);
        EXPECT_EQ(GI->Lines[0].X2, 300 - 4 - 8);
        EXPECT_EQ(GI->Lines[0].Color, color);
        EXPECT_EQ(GI->PolygonPens, std::vector<gfx::TColor>{color});
        EXPECT_EQ(Sheet.ItemNo, 7);
        EXPECT_EQ(Canvas().GetBrush().GetStyle(), gfx::bsClear);
    }
    GI->Lines.clear();
    Sheet.OnDrawPageBreak = [](TVDStyle &, gfx::TCanvas &, int32_t, int32_t, TVDPageBreakType,
                               ui::TControl *, bool &doDefault) { doDefault = false; };
    Sheet.DrawPageBreak(Canvas(), 30, 4, vdpbPageBreak, nullptr, &document, 7);
    EXPECT_TRUE(GI->Lines.empty());
}
