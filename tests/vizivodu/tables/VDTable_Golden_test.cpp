// Golden picture of a table like the report's statistics table on the screen: merged group
// rows, coloured cells, collapsed one-pixel black cell borders inside a raised two-pixel frame.
#include "vizivodu/tables/VDTable.h"

#include "tests/vizivodu/LayoutTestSupport.h"
#include "tests/vizivodu/layout/printing/PrintTestSupport.h"
#include "tests/vizivodu/tables/TableTestSupport.h"

#include "tests/support/GoldenImage.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

using namespace vizivodu;
using namespace vizivodu::test;

namespace {

class TableGolden : public ::testing::Test {
protected:
    TableGolden() : Doc(&Style) {
        Style.GI->DrawGlyphBoxes = true;
        Style.GetTextStyles().GetItem(0).SetSize(8);
        Style.GetTextStyles().GetItem(1).SetSize(8);
        Style.GetTextStyles().GetItem(1).SetStyle(gfx::TFontStyles{gfx::fsBold});
    }

    // Eight rows of ten columns: a heading row, two merged group rows and five code rows, with
    // the report's table settings, and the figures of one code marked light red.
    TVDTableItemInfo &BuildStatisticsTable() {
        auto made = MakeStatisticsTable(Doc);
        TVDTableItemInfo &table = *made;
        Doc.AddItem(u"main", std::move(made));
        return table;
    }

public:
    static std::unique_ptr<TVDTableItemInfo> MakeStatisticsTableForTesting(TCustomVDData &doc) {
        return MakeStatisticsTable(doc);
    }

protected:
    static std::unique_ptr<TVDTableItemInfo> MakeStatisticsTable(TCustomVDData &doc) {
        auto made = TVDTableItemInfo::CreateEx(8, 10, &doc);
        TVDTableItemInfo &table = *made;
        table.SetBorderWidth(2);
        table.SetColor(vdtcBorderColor, gfx::RGB(128, 128, 128));
        table.SetCellBorderWidth(1);
        table.SetCellBorderStyle(vdtbColor);
        table.SetColor(vdtcCellBorderColor, gfx::clBlack);
        table.SetCellPadding(0);
        table.SetCellHSpacing(-1);
        table.SetCellVSpacing(-1);
        table.SetBorderHSpacing(0);
        table.SetBorderVSpacing(0);
        const char16_t *titles[] = {u"Code", u"Name", u"TP", u"FN",  u"FP",
                                    u"TN",   u"Se",   u"Sp", u"PPV", u"NPV"};
        for (int32_t c = 0; c < 10; ++c) {
            SetCellText(*table.GetCells(0, c), titles[c], 1, 0);
            table.SetCellColor(gfx::RGB(200, 200, 255), 0, c);
            if (c != 1) {
                table.SetCellBestWidth(40, 0, c);
            }
        }
        for (int32_t r = 1; r < 8; ++r) {
            if (r == 1 || r == 5) {
                table.MergeCells(r, 0, 10, 1, true);
                SetCellText(*table.GetCells(r, 0), r == 1 ? u"Rhythm" : u"Conduction", 1, 0);
                continue;
            }
            SetCellText(*table.GetCells(r, 0), u"A" + rtl::Utf8ToUtf16(std::to_string(100 + r)));
            SetCellText(*table.GetCells(r, 1), r % 2 ? u"sinus rhythm, long name" : u"block");
            for (int32_t c = 2; c < 10; ++c) {
                SetCellText(*table.GetCells(r, c), rtl::Utf8ToUtf16(std::to_string(r * c)));
            }
        }
        for (int32_t c = 6; c < 10; ++c) {
            table.SetCellColor(gfx::RGB(255, 200, 200), 3, c);
        }
        return made;
    }

    // Lays the document out 600 pixels wide and paints the table at (margin, margin) on a
    // white picture just large enough.
    gfx::TBitmap LayOutAndPaint(TVDTableItemInfo &table, TVDItemDrawStates state) {
        Doc.Width = Doc.AreaWidth = 600;
        Doc.Format(true, false);
        const int32_t margin = 5;
        const TVDTableItemFormattingInfo &fmt = table.GetFormattingInfo();
        gfx::TBitmap picture(fmt.FWidth + 2 * margin, fmt.FHeight + 2 * margin);
        picture.GetCanvas().GetBrush().SetColor(gfx::clWhite);
        picture.GetCanvas().FillRect(rtl::Rect(0, 0, picture.GetWidth(), picture.GetHeight()));
        table.PaintFullWidth(margin, 0, margin, picture.GetCanvas(), state, Style,
                             rtl::Rect(0, 0, picture.GetWidth(), picture.GetHeight()), &Doc, 0, 0,
                             0, nullptr, false);
        return picture;
    }

    TLayoutStyle Style;
    TTestFormattedDocument Doc;
};

// Text styles as in the fixture, for another style sheet.
void UseGoldenTextStyles(TLayoutStyle &style) {
    style.GI->DrawGlyphBoxes = true;
    style.GetTextStyles().GetItem(0).SetSize(8);
    style.GetTextStyles().GetItem(1).SetSize(8);
    style.GetTextStyles().GetItem(1).SetStyle(gfx::TFontStyles{gfx::fsBold});
}

TEST_F(TableGolden, TheStatisticsTableOnTheScreen) {
    TVDTableItemInfo &table = BuildStatisticsTable();
    wbtest::ExpectMatchesGolden(LayOutAndPaint(table, {}), "vizivodu/tables/statistics_96dpi.png");
}

// The same table printed on the PDF printer's 600 dpi page and shown in the preview at 96 dpi:
// the top of the page's preview, with the table in the text area at its screen size.
TEST(TableGoldenPrinted, TheStatisticsTablePrintedAt600DpiShownAt96Dpi) {
    TPrintFixture f;
    f.GI->CanvasText = false;
    f.GI->RecordTextOps = true;
    UseGoldenTextStyles(f.Style);
    f.Source.AddItem(u"", TableGolden::MakeStatisticsTableForTesting(f.Source.GetVDData()));
    ASSERT_EQ(f.Paginate(), 1);
    const int32_t width = 794; // A4 at 96 dpi
    const int32_t height = 1123;
    gfx::TBitmap page(width, height);
    page.GetCanvas().GetBrush().SetColor(gfx::clWhite);
    page.GetCanvas().FillRect(rtl::Rect(0, 0, width, height));
    f.Print.DrawPreview(1, page.GetCanvas(), rtl::Rect(0, 0, width, height));
    gfx::TBitmap top(width, 240);
    top.GetCanvas().CopyRect(rtl::Rect(0, 0, width, 240), page.GetCanvas(),
                             rtl::Rect(0, 0, width, 240));
    wbtest::ExpectMatchesGolden(top, "vizivodu/tables/statistics_600dpi_preview.png");
}

} // namespace
