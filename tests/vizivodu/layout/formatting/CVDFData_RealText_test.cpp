// The formatted document on the real text engine (the complex-script engine on the shaping
// core, DejaVu Sans): a golden picture of a painted document, and the same document formatted
// at 96 and 600 dpi breaking alike with positions in proportion.
#include "vizivodu/layout/formatting/CVDFData.h"

#include "tests/vizivodu/LayoutTestSupport.h"
#include "tests/vizivodu/layout/text/GrInTestSupport.h"

#include "platform/gfx/Bitmap.h"

#include "tests/support/GoldenImage.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <tuple>
#include <vector>

using namespace vizivodu;
using vizivodu::test::DumpDrawItems;

namespace {

// Whether the test document ends with its right-to-left paragraph.
enum TVDRightToLeftLine : uint8_t { vdrtlWith, vdrtlWithout };

// The sheet with its own engine (no test interface) and every text style in DejaVu Sans.
class TRealTextStyle : public TVDStyle {
public:
    TRealTextStyle() : TVDStyle(nullptr) {
        InitializeLibrary();
        SetColor(gfx::clWhite);
        for (int32_t i = 0; i < GetTextStyles().GetCount(); ++i) {
            GetTextStyles().GetItem(i).SetFontName(u"DejaVu Sans");
        }
    }
};

// The test document, formatting on a printer's canvas once one is given.
class TPrintableDocument : public test::TTestFormattedDocument {
public:
    using TTestFormattedDocument::TTestFormattedDocument;
    gfx::TCanvas *GetCanvas() override {
        return Printer ? Printer.get() : TTestFormattedDocument::GetCanvas();
    }
    std::unique_ptr<gfx::TCanvas> Printer;
};

class RealText : public ::testing::Test {
protected:
    RealText() : Doc(&Style) {}

    // A justified Russian paragraph, bold and coloured runs, a centred line, tabs and a
    // right-to-left paragraph mixing Hebrew and Latin.
    // The golden picture leaves the right-to-left paragraph out: the platform draws one of its
    // Hebrew glyphs with other anti-aliasing depending on what the process drew before.
    void Fill(int32_t size, TVDRightToLeftLine rtlLine = vdrtlWith) {
        TFontInfo &bold = Style.GetTextStyles().Add();
        bold.Assign(Style.GetTextStyles().GetItem(0));
        bold.SetStyle(gfx::TFontStyles{gfx::fsBold});
        bold.SetColor(gfx::clNavy);
        for (int32_t i = 0; i < Style.GetTextStyles().GetCount(); ++i) {
            Style.GetTextStyles().GetItem(i).SetSize(size);
        }
        TParaInfo &justified = Style.GetParaStyles().Add();
        justified.SetAlignment(vdaJustify);
        justified.SetLeftIndent(8);
        justified.SetFirstIndent(12);
        TParaInfo &centred = Style.GetParaStyles().Add();
        centred.SetAlignment(vdaCenter);
        centred.SetSpaceBefore(4);
        TParaInfo &tabbed = Style.GetParaStyles().Add();
        tabbed.GetTabs().Add().SetPosition(120);
        TParaInfo &rtl = Style.GetParaStyles().Add();
        rtl.SetBiDiMode(vdbdRightToLeft);
        rtl.SetAlignment(vdaRight);
        const int32_t b = bold.GetIndex();
        Doc.AddNL(u"Съешь же ещё этих мягких ", 0, justified.GetIndex());
        Doc.AddNL(u"французских булок", b, -1);
        Doc.AddNL(u", да выпей чаю. Широкая электрификация южных губерний даст мощный толчок "
                  u"подъёму сельского хозяйства.",
                  0, -1);
        Doc.AddNL(u"По центру: ", 0, centred.GetIndex());
        Doc.AddNL(u"полужирный", b, -1);
        Doc.AddNL(u"ab", 0, tabbed.GetIndex());
        Doc.AddTab(0, -1);
        Doc.AddNL(u"Ёлка", 0, -1);
        if (rtlLine == vdrtlWith) {
            Doc.AddNL(u"\u05E9\u05DC\u05D5\u05DD abc \u05E2\u05D5\u05DC\u05DD", 0, rtl.GetIndex());
        }
    }

    TRealTextStyle Style;
    TPrintableDocument Doc;
};

struct TShape {
    int32_t ItemNo, Offs, Length;
    bool FromNewLine;
    rtl::TRect Bounds;
};

std::vector<TShape> Shapes(TCustomVDFormattedData &doc) {
    std::vector<TShape> out;
    for (int32_t i = 0; i < doc.DrawItems.Count(); ++i) {
        const TVDDrawLineInfo &d = *doc.DrawItems[i];
        out.push_back({d.ItemNo, d.Offs, d.Length, d.FromNewLine,
                       rtl::Bounds(d.Left, d.Top, d.Width, d.Height)});
    }
    return out;
}

} // namespace

TEST_F(RealText, APaintedDocumentMatchesItsGoldenPicture) {
    Fill(10, vdrtlWithout);
    Doc.Width = 240;
    Doc.Format(false, false);
    gfx::TBitmap bitmap(240, 200);
    gfx::TCanvas &canvas = bitmap.GetCanvas();
    canvas.GetBrush().SetColor(gfx::clWhite);
    canvas.FillRect(rtl::Rect(0, 0, 240, 200));
    Doc.PaintTo(canvas, rtl::Rect(0, 0, 240, 200), false, false, false, false, false, 0, 0, 0,
                Doc.DrawItems.Count() - 1, nullptr, nullptr, false);
    wbtest::ExpectMatchesGolden(bitmap, "vizivodu/layout/formatting/formatted_document.png");
}

// On the real engine line heights are rounded per resolution, so positions may drift by the
// rounding of one screen pixel per line above them; lines must break alike.
TEST_F(RealText, TheSameLinesAt96And600DpiWithPositionsInProportion) {
    Fill(30);
    Doc.Width = 400;
    Doc.Format(false, false);
    const std::vector<TShape> screen = Shapes(Doc);
    ASSERT_GT(screen.size(), 8u) << DumpDrawItems(Doc);

    // A printer: its canvas and its fonts at 600 dpi.
    Doc.Printer = test::MeasuringCanvas(600, u"DejaVu Sans", 30);
    Doc.SetFlags(Doc.GetFlags() + TVDFlags{vdflPrinting});
    Doc.Width = 2500;
    Doc.Format(false, true);
    const std::vector<TShape> printer = Shapes(Doc);
    ASSERT_EQ(printer.size(), screen.size()) << DumpDrawItems(Doc);
    int32_t line = 0;
    for (size_t i = 0; i < screen.size(); ++i) {
        const TShape &s = screen[i], &p = printer[i];
        line += s.FromNewLine && i > 0 ? 1 : 0;
        EXPECT_EQ(std::tie(p.ItemNo, p.Offs, p.Length, p.FromNewLine),
                  std::tie(s.ItemNo, s.Offs, s.Length, s.FromNewLine))
            << "draw item " << i;
        const int32_t xTol = 7, yTol = 7 * (line + 1);
        const auto near = [](int32_t device, int32_t pixels, int32_t tol) {
            return std::abs(device - pixels * 25 / 4) <= tol;
        };
        EXPECT_TRUE(near(p.Bounds.Left, s.Bounds.Left, xTol) &&
                    near(p.Bounds.Right, s.Bounds.Right, xTol) &&
                    near(p.Bounds.Top, s.Bounds.Top, yTol) &&
                    near(p.Bounds.Bottom, s.Bounds.Bottom, yTol))
            << "draw item " << i << ": " << p.Bounds.Left << "," << p.Bounds.Top << " - "
            << p.Bounds.Right << "," << p.Bounds.Bottom << " at 600 dpi, " << s.Bounds.Left << ","
            << s.Bounds.Top << " - " << s.Bounds.Right << "," << s.Bounds.Bottom << " at 96";
    }
}
