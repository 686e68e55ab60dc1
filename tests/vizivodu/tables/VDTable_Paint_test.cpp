// Table painting to the pixel: the report's collapsed one-pixel cell borders inside a raised
// frame, border styles and corners, grid lines for invisible borders, cell colours and the
// selection colour, rules, the border event and where cell content is drawn.
#include "vizivodu/tables/VDTable.h"

#include "tests/vizivodu/LayoutTestSupport.h"
#include "tests/vizivodu/tables/TableTestSupport.h"

#include <gtest/gtest.h>

#include <map>

using namespace vizivodu;
using namespace vizivodu::test;

namespace {

class TablePaint : public ::testing::Test {
protected:
    TablePaint() : Doc(&Style), Canvas(Width, Height) {
        Style.GetTextStyles().GetItem(0).SetSize(3); // lines 4 pixels high
        Doc.Width = 200;
        Doc.AreaWidth = 200;
    }

    // The report's statistics table in small: 2 x 2 cells of 4 and 3 pixels, collapsed
    // one-pixel black cell borders inside a two-pixel raised frame.
    TVDTableItemInfo &ReportTable() {
        auto table = TVDTableItemInfo::CreateEx(2, 2, &Doc);
        table->SetBorderWidth(2);
        table->SetColor(vdtcBorderColor, gfx::RGB(128, 128, 128));
        table->SetCellBorderWidth(1);
        table->SetCellBorderStyle(vdtbColor);
        table->SetColor(vdtcCellBorderColor, gfx::clBlack);
        table->SetCellPadding(0);
        table->SetCellHSpacing(-1);
        table->SetCellVSpacing(-1);
        table->SetBorderHSpacing(0);
        table->SetBorderVSpacing(0);
        table->SetColor(vdtcColor, gfx::clYellow);
        table->SetCellBestWidth(4, 0, 0);
        table->SetCellBestWidth(3, 0, 1);
        TVDTableItemInfo &result = *table;
        Doc.AddItem(u"", std::move(table));
        return result;
    }

    void Paint(TVDItemDrawStates state = {}) {
        Canvas.GetBrush().SetColor(gfx::clRed);
        Canvas.GetBrush().SetStyle(gfx::bsSolid);
        Canvas.FillRect(rtl::Rect(0, 0, Width, Height));
        Doc.Format(true, false);
        auto &table = static_cast<TVDTableItemInfo &>(*Doc.GetItem(0));
        table.PaintFullWidth(0, 0, 0, Canvas, state, Style, rtl::Rect(0, 0, Width, Height), &Doc, 0,
                             0, 0, nullptr, false);
    }

    // The canvas as characters, rows separated by "/": . red (outside), Y yellow, W white,
    // S the button shadow, K black, B blue, G grey, other ?.
    std::string Map(int32_t w, int32_t h) {
        const std::map<uint32_t, char> legend = {
            {gfx::ColorToRGB(gfx::clRed), '.'},   {gfx::ColorToRGB(gfx::clYellow), 'Y'},
            {gfx::ColorToRGB(gfx::clWhite), 'W'}, {gfx::ColorToRGB(gfx::clBtnShadow), 'S'},
            {gfx::ColorToRGB(gfx::clBlack), 'K'}, {gfx::ColorToRGB(gfx::clBlue), 'B'},
            {gfx::ColorToRGB(gfx::clLime), 'L'},  {gfx::ColorToRGB(gfx::RGB(128, 128, 128)), 'G'}};
        std::string out;
        for (int32_t y = 0; y < h; ++y) {
            if (y > 0) {
                out += "/";
            }
            for (int32_t x = 0; x < w; ++x) {
                const auto found = legend.find(gfx::ColorToRGB(Canvas.GetPixel(x, y)));
                out += found == legend.end() ? '?' : found->second;
            }
        }
        return out;
    }

    static constexpr int32_t Width = 40;
    static constexpr int32_t Height = 30;
    TLayoutStyle Style;
    TTestFormattedDocument Doc;
    TOwnedPixelCanvas Canvas;
};

} // namespace

TEST_F(TablePaint, TheReportTableDrawsCollapsedBordersInsideARaisedFrame) {
    TVDTableItemInfo &table = ReportTable();
    Paint();
    ASSERT_EQ(table.GetFormattingInfo().FWidth, 14);
    ASSERT_EQ(table.GetFormattingInfo().FHeight, 15);
    // The frame: white (button highlight) on the top and left, the button shadow on the bottom
    // and right, whatever BorderColor says; each cell a one-pixel black rectangle, neighbours
    // on the same pixels.
    EXPECT_EQ(Map(15, 16), "WWWWWWWWWWWWWW./"
                           "WWWWWWWWWWWWWS./"
                           "WWKKKKKKKKKKSS./"
                           "WWKYYYYKYYYKSS./"
                           "WWKYYYYKYYYKSS./"
                           "WWKYYYYKYYYKSS./"
                           "WWKYYYYKYYYKSS./"
                           "WWKKKKKKKKKKSS./"
                           "WWKYYYYKYYYKSS./"
                           "WWKYYYYKYYYKSS./"
                           "WWKYYYYKYYYKSS./"
                           "WWKYYYYKYYYKSS./"
                           "WWKKKKKKKKKKSS./"
                           "WSSSSSSSSSSSSS./"
                           "SSSSSSSSSSSSSS./"
                           "...............");
}

TEST_F(TablePaint, AWhiteBackgroundPrintsEveryColourWhite) {
    TVDTableItemInfo &table = ReportTable();
    table.SetCellColor(gfx::clLime, 0, 1);
    table.SetPrintOptions(table.GetPrintOptions() + TVDTablePrintOptions{vdtoWhiteBackground});
    Paint({vdidsPrinting});
    EXPECT_EQ(gfx::ColorToRGB(Canvas.GetPixel(4, 4)), gfx::ColorToRGB(gfx::clWhite)); // table
    EXPECT_EQ(gfx::ColorToRGB(Canvas.GetPixel(9, 4)), gfx::ColorToRGB(gfx::clWhite)); // cell
    Paint();
    EXPECT_EQ(gfx::ColorToRGB(Canvas.GetPixel(4, 4)), gfx::ColorToRGB(gfx::clYellow));
    EXPECT_EQ(gfx::ColorToRGB(Canvas.GetPixel(9, 4)), gfx::ColorToRGB(gfx::clLime));
}

TEST_F(TablePaint, OnAHighlightColouredDocumentTheFrameUsesTheButtonFace) {
    TVDTableItemInfo &table = ReportTable();
    TVDBorderParams p;
    p.Left = 0;
    p.Top = 0;
    p.Right = 4;
    p.Bottom = 4;
    p.Style = &Style;
    p.BorderStyle = vdtbRaised;
    p.Width = 1;
    p.BackgroundColor = gfx::clWhite;
    Paint();
    table.DrawBorder(Canvas, p);
    EXPECT_EQ(gfx::ColorToRGB(Canvas.GetPixel(0, 0)), gfx::ColorToRGB(gfx::clBtnFace));
    EXPECT_EQ(gfx::ColorToRGB(Canvas.GetPixel(3, 3)), gfx::ColorToRGB(gfx::clBtnShadow));
}

TEST_F(TablePaint, CellColoursOwnBordersAndTheSelection) {
    TVDTableItemInfo &table = ReportTable();
    table.SetCellColor(gfx::clLime, 0, 1);
    table.SetCellBorderColor(gfx::clBlue, 1, 0); // its right edge is its neighbour's too
    Paint();
    EXPECT_EQ(Map(14, 15), "WWWWWWWWWWWWWW/"
                           "WWWWWWWWWWWWWS/"
                           "WWKKKKKKKKKKSS/"
                           "WWKYYYYKLLLKSS/"
                           "WWKYYYYKLLLKSS/"
                           "WWKYYYYKLLLKSS/"
                           "WWKYYYYKLLLKSS/"
                           "WWBBBBBKKKKKSS/"
                           "WWBYYYYKYYYKSS/"
                           "WWBYYYYKYYYKSS/"
                           "WWBYYYYKYYYKSS/"
                           "WWBYYYYKYYYKSS/"
                           "WWBBBBBKKKKKSS/"
                           "WSSSSSSSSSSSSS/"
                           "SSSSSSSSSSSSSS");

    // A selected table paints its cells in the selection colour and leaves them unmarked.
    Style.SetInactiveSelColor(gfx::clBlue);
    Paint({vdidsSelected});
    EXPECT_EQ(gfx::ColorToRGB(Canvas.GetPixel(4, 4)), gfx::ColorToRGB(gfx::clBlue));
    EXPECT_EQ(gfx::ColorToRGB(Canvas.GetPixel(9, 4)), gfx::ColorToRGB(gfx::clBlue));
    EXPECT_FALSE(table.GetCells(0, 0)->State.Contains(vdstCompletelySelected));
    table.GetCells(0, 0)->State.Include(vdstCompletelySelected);
    Paint({vdidsSelected});
    EXPECT_TRUE(table.GetCells(0, 0)->State.Contains(vdstCompletelySelected));
}

TEST_F(TablePaint, InvisibleBordersShowGridLinesOnTheScreenOnly) {
    auto table = TVDTableItemInfo::CreateEx(1, 1, &Doc);
    table->SetBorderHSpacing(0);
    table->SetBorderVSpacing(0);
    table->SetCellHSpacing(0);
    table->SetCellVSpacing(0);
    table->SetCellPadding(0);
    table->SetColor(vdtcColor, gfx::clYellow);
    table->SetCellBestWidth(4, 0, 0);
    Doc.AddItem(u"", std::move(table));
    Style.SetGridReadOnlyStyle(gfx::psSolid);
    Style.SetGridReadOnlyColor(gfx::clBlue);
    Doc.SetOptions(Doc.GetOptions() + TVDOptions{vdoShowGridLines});
    Paint();
    // Border width 0: the table and its cell each get a grid rectangle (here the same one).
    EXPECT_EQ(Map(5, 5), "BBBB./"
                         "BYYB./"
                         "BYYB./"
                         "BBBB./"
                         ".....");
    Paint({vdidsPrinting});
    EXPECT_EQ(Map(5, 5), "YYYY./"
                         "YYYY./"
                         "YYYY./"
                         "YYYY./"
                         ".....");
}

TEST_F(TablePaint, LoweredCellBordersAndOverlappingCorners) {
    TVDTableItemInfo &table = ReportTable();
    table.SetBorderWidth(0);
    table.SetCellBorderStyle(vdtbLowered);
    Paint();
    // Shadow on the top and left, highlight on the bottom and right; a later neighbour paints
    // over a shared edge.
    EXPECT_EQ(Map(10, 11), "SSSSSSSSSS/"
                           "SYYYYSYYYW/"
                           "SYYYYSYYYW/"
                           "SYYYYSYYYW/"
                           "SYYYYSYYYW/"
                           "SSSSSSSSSS/"
                           "SYYYYSYYYW/"
                           "SYYYYSYYYW/"
                           "SYYYYSYYYW/"
                           "SYYYYSYYYW/"
                           "WWWWWWWWWW");

    TVDBorderParams p;
    p.Left = 20;
    p.Top = 20;
    p.Right = 25;
    p.Bottom = 25;
    p.Style = &Style;
    p.BorderStyle = vdtbColor;
    p.Color = gfx::clBlue;
    p.Width = 2;
    table.DrawBorder(Canvas, p);
    auto ring = [&] {
        std::string out;
        for (int32_t y = 20; y < 25; ++y) {
            for (int32_t x = 20; x < 25; ++x) {
                out += Canvas.GetPixel(x, y) == gfx::clBlue ? 'B' : '.';
            }
            out += '/';
        }
        return out;
    };
    EXPECT_EQ(ring(), "BBBBB/BBBBB/BB.BB/BBBBB/BBBBB/");
    table.SetTableOptions(table.GetTableOptions() + TVDTableOptions{vdtoOverlappingCorners});
    table.DrawBorder(Canvas, p);
    EXPECT_EQ(ring(), "BBBBB/BBBBB/BB.BB/BBBBB/BBBBB/");
}

TEST_F(TablePaint, TheBorderEventCanDrawInsteadOfTheTable) {
    TVDTableItemInfo &table = ReportTable();
    int32_t calls = 0;
    table.OnDrawBorder = [&](TVDTableItemInfo &, gfx::TCanvas &, int32_t, int32_t, int32_t, int32_t,
                             TVDStyleLength, TColor, TColor, TColor, TVDTableBorderStyle, bool,
                             const TVDBooleanRect *, int32_t row, int32_t, bool &doDefault) {
        ++calls;
        doDefault = row >= 0; // the table draws the cells' borders, not its own
    };
    Paint();
    EXPECT_EQ(calls, 5);
    EXPECT_EQ(Map(14, 3), "YYYYYYYYYYYYYY/"
                          "YYYYYYYYYYYYYY/"
                          "YYKKKKKKKKKKYY");
}

TEST_F(TablePaint, EvenRulesSitOnePixelFurtherOut) {
    auto table = TVDTableItemInfo::CreateEx(1, 2, &Doc);
    table->SetCellBestWidth(4, 0, 0);
    table->SetCellBestWidth(4, 0, 1);
    table->SetColor(vdtcColor, gfx::clYellow);
    table->SetColor(vdtcVRuleColor, gfx::clBlue);
    table->SetVOutermostRule(true);
    TVDTableItemInfo &t = *table;
    Doc.AddItem(u"", std::move(table));
    // The table is 18 wide: border spacing 2, columns at 2 and 10, spacing 2 between them.
    // The rules lie at 1, 9 and 16; two pixels wide they start one to the left, and the
    // rightmost one moves one further out.
    for (TVDStyleLength width : {1, 2}) {
        t.SetVRuleWidth(width);
        Paint();
        ASSERT_EQ(t.GetFormattingInfo().FWidth, 18);
        std::string row;
        for (int32_t x = 0; x < 19; ++x) {
            row += Canvas.GetPixel(x, 3) == gfx::clBlue ? 'B' : '.';
        }
        EXPECT_EQ(row, width == 1 ? ".B.......B......B.." : "BB......BB......BB.") << width;
    }
}

TEST_F(TablePaint, CellContentIsDrawnInsideItsPaddingByTheVerticalAlignment) {
    auto table = TVDTableItemInfo::CreateEx(1, 2, &Doc);
    table->SetCellPadding(2);
    table->SetCellBestWidth(6, 0, 0);
    table->SetCellBestWidth(6, 0, 1);
    table->SetCellBestHeight(20, 0, 0);
    SetCellText(*table->GetCells(0, 1), u"ab");
    table->SetCellVAlign(vdcBottom, 0, 1);
    TVDTableItemInfo &t = *table;
    Doc.AddItem(u"", std::move(table));
    Style.GI->TextOps.clear();
    Paint();
    const TVDTableCellData &cell = *t.GetCells(0, 1);
    ASSERT_FALSE(Style.GI->TextOps.empty());
    const auto &op = Style.GI->TextOps.back();
    EXPECT_EQ(rtl::Utf16ToUtf8(op.Text), "ab");
    EXPECT_EQ(op.X, cell.GetLeft() + 2);
    // The box is 24 high (20 + padding); 4 of text at the bottom above the padding.
    EXPECT_EQ(cell.GetBoxHeight(), 24);
    EXPECT_EQ(op.Y, cell.GetTop() + 2 + 16);
}

// The fixed metrics with colours really blended at their alpha.
class TBlendingGraphicInterface : public TFixedGraphicInterface {
public:
    void FillRectAlpha(gfx::TCanvas &canvas, const rtl::TRect &r, gfx::TColor color,
                       uint8_t alpha) override {
        if (color == gfx::clNone || alpha == 0) {
            return;
        }
        const uint32_t c = gfx::ColorToRGB(color);
        for (int32_t y = r.Top; y < r.Bottom; ++y) {
            for (int32_t x = r.Left; x < r.Right; ++x) {
                const uint32_t d = gfx::ColorToRGB(canvas.GetPixel(x, y));
                auto mix = [&](int shift) {
                    const uint32_t a = (c >> shift) & 0xFF, b = (d >> shift) & 0xFF;
                    return ((a * alpha + b * (255 - alpha)) / 255) << shift;
                };
                canvas.SetPixel(x, y, gfx::TColor(mix(0) | mix(8) | mix(16)));
            }
        }
    }
};

// Printers blend nothing: in a print simulation a half-transparent table or cell colour is
// mixed with what the document has behind it (the document's white), not with what the
// canvas holds (red here), and drawn as one picture.
TEST_F(TablePaint, PrintSimulationMixesSemiTransparentColoursWithTheDocument) {
    auto gi = std::make_unique<TBlendingGraphicInterface>();
    Style.GI = gi.get();
    Style.SetGraphicInterfaceForTesting(std::move(gi));
    TVDTableItemInfo &table = ReportTable();
    table.SetColor(vdtcColor, gfx::clBlue);
    table.SetOpacity(50000);
    table.SetCellColor(gfx::clLime, 1, 1);
    table.SetCellOpacity(50000, 1, 1);
    auto rgb = [&](int32_t x, int32_t y) { return gfx::ColorToRGB(Canvas.GetPixel(x, y)); };
    Paint();
    // Blue over the canvas's red.
    EXPECT_EQ(rgb(3, 3), gfx::ColorToRGB(gfx::RGB(127, 0, 128)));
    Paint({vdidsPrintSimulation});
    // Blue over white; lime over that.
    EXPECT_EQ(rgb(3, 3), gfx::ColorToRGB(gfx::RGB(127, 127, 255)));
    EXPECT_EQ(rgb(9, 9), gfx::ColorToRGB(gfx::RGB(63, 191, 127)));
}
