// Printing tables: the layout at the printer's resolution and the cut into pages between rows,
// with every row printed once, in order, and the heading rows repeated on every page.
#include "vizivodu/tables/VDTable_Print.h"

#include "TableTestSupport.h"
#include "tests/vizivodu/print/PrintTestSupport.h"

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Printers.h"

#include "tests/support/Commands.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <random>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

using namespace vizivodu;
using namespace vizivodu::test;

namespace {

// A table of rows x cols in the source whose first column names its row ("H0" for heading rows,
// "R7" for body rows); the other cells hold words from rng (1 to maxWords of them).
TVDTableItemInfo &AddLabelledTable(TPrintFixture &f, int32_t rows, int32_t cols, int32_t heading,
                                   std::mt19937 &rng, int32_t maxWords) {
    auto made = TVDTableItemInfo::CreateEx(rows, cols, &f.Source.GetVDData());
    TVDTableItemInfo &table = *made;
    table.SetHeadingRowCount(heading);
    for (int32_t r = 0; r < rows; ++r) {
        const std::string label = (r < heading ? "H" : "R") + std::to_string(r);
        SetCellText(*table.GetCells(r, 0), rtl::Utf8ToUtf16(label));
        for (int32_t c = 1; c < cols; ++c) {
            std::u16string words;
            const int32_t count = 1 + int32_t(rng() % uint32_t(maxWords));
            for (int32_t w = 0; w < count; ++w) {
                words += u"word ";
            }
            SetCellText(*table.GetCells(r, c), words);
        }
    }
    f.Source.AddItem(u"", std::move(made));
    return table;
}

// The row labels printed on each page, in the order they are drawn.
std::vector<std::vector<std::string>> LabelsByPage(TPrintFixture &f, int32_t pages) {
    std::vector<std::vector<std::string>> out;
    gfx::TBitmap bmp(8, 8);
    for (int32_t p = 1; p <= pages; ++p) {
        f.GI->TextOps.clear();
        f.Print.GetVD().DrawPage(p, bmp.GetCanvas(), false, false);
        std::vector<std::string> labels;
        for (const auto &op : f.GI->TextOps) {
            const std::string text = rtl::Utf16ToUtf8(op.Text);
            if (!text.empty() && (text[0] == 'H' || text[0] == 'R')) {
                labels.push_back(text);
            }
        }
        out.push_back(labels);
    }
    return out;
}

TVDTablePrintInfo *PrintItem(TPrintFixture &f) {
    for (int32_t i = 0; i < f.Data().DrawItems.Count(); ++i) {
        if (auto *info = dynamic_cast<TVDTablePrintInfo *>(f.Data().DrawItems[i])) {
            return info;
        }
    }
    return nullptr;
}

class TablePrinting : public ::testing::Test {
protected:
    TablePrinting() {
        F.GI->CanvasText = false;
        F.GI->RecordTextOps = true;
    }
    TPrintFixture F;
    std::mt19937 Rng{7};
};

// A table 300 pixels wide on the screen is 300 / 96 inch wide on the 600 dpi page.
TEST_F(TablePrinting, TheTableIsLaidOutAtThePrintersResolution) {
    TVDTableItemInfo &table = AddLabelledTable(F, 3, 3, 0, Rng, 3);
    table.SetBestWidth(300);
    ASSERT_GE(F.Paginate(), 1);
    TVDTablePrintInfo *info = PrintItem(F);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->Width, 300 * 600 / 96);
    EXPECT_EQ(info->Fmt.FWidth, info->Width);
    // The screen layout is left as it was.
    F.Source.Format();
    EXPECT_EQ(table.GetFormattingInfo().FWidth, 300);
    // The cells' printable documents fill their columns.
    int32_t sum = 0;
    for (int32_t c = 0; c < 3; ++c) {
        sum += info->CellAt(0, c)->Width;
    }
    EXPECT_GT(sum, info->Width * 9 / 10);
}

TEST_F(TablePrinting, RowsThatAllFitMakeOnePartAndNothingIsLeftPending) {
    AddLabelledTable(F, 5, 2, 1, Rng, 2);
    ASSERT_EQ(F.Paginate(), 1);
    TVDTablePrintInfo *info = PrintItem(F);
    ASSERT_NE(info, nullptr);
    ASSERT_EQ(info->GetPartsList().Count(), 1);
    auto *part = static_cast<TVDTablePrintPart *>(info->GetPartsList()[0]);
    ASSERT_NE(part, nullptr);
    EXPECT_EQ(part->FirstRow(), 1);
    EXPECT_EQ(part->LastRow(), 4);
    EXPECT_EQ(part->Height, info->Height);
    const auto pages = LabelsByPage(F, 1);
    EXPECT_EQ(pages[0], (std::vector<std::string>{"H0", "R1", "R2", "R3", "R4"}));
}

// Two heading rows over a table of three pages: every page begins with them.
TEST_F(TablePrinting, HeadingRowsAreRepeatedOnEveryPage) {
    AddLabelledTable(F, 200, 3, 2, Rng, 1);
    const int32_t pages = F.Paginate();
    ASSERT_GE(pages, 3);
    const auto labels = LabelsByPage(F, pages);
    int32_t next = 2;
    for (int32_t p = 0; p < pages; ++p) {
        ASSERT_GE(labels[p].size(), 3u) << "page " << p + 1;
        EXPECT_EQ(labels[p][0], "H0") << "page " << p + 1;
        EXPECT_EQ(labels[p][1], "H1") << "page " << p + 1;
        for (size_t k = 2; k < labels[p].size(); ++k) {
            EXPECT_EQ(labels[p][k], "R" + std::to_string(next++)) << "page " << p + 1;
        }
    }
    EXPECT_EQ(next, 200);
}

// A row with a page break before it begins a page, also in a table that may not split rows.
TEST_F(TablePrinting, ARowWithAPageBreakBeforeBeginsAPage) {
    TVDTableItemInfo &table = AddLabelledTable(F, 6, 2, 0, Rng, 1);
    table.SetPrintOptions({});
    table.GetRows().Get(3)->PageBreakBefore = true;
    ASSERT_EQ(F.Paginate(), 2);
    const auto labels = LabelsByPage(F, 2);
    EXPECT_EQ(labels[0], (std::vector<std::string>{"R0", "R1", "R2"}));
    EXPECT_EQ(labels[1], (std::vector<std::string>{"R3", "R4", "R5"}));
}

// Without row splitting and page breaks the table is one unit.
TEST_F(TablePrinting, ATableThatMayNotSplitStaysWhole) {
    TVDTableItemInfo &table = AddLabelledTable(F, 6, 2, 0, Rng, 1);
    table.SetPrintOptions({});
    ASSERT_EQ(F.Paginate(), 1);
    TVDTablePrintInfo *info = PrintItem(F);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->GetPartsList().Count(), 0);
    EXPECT_EQ(LabelsByPage(F, 1)[0].size(), 6u);
}

// Rows joined by a cell that spans them go to the same page.
TEST_F(TablePrinting, RowsJoinedByASpanningCellStayTogether) {
    TVDTableItemInfo &table = AddLabelledTable(F, 120, 2, 0, Rng, 1);
    for (int32_t r = 0; r + 2 < 120; r += 3) {
        table.MergeCells(r, 1, 1, 3, true);
    }
    const int32_t pages = F.Paginate();
    ASSERT_GE(pages, 2);
    TVDTablePrintInfo *info = PrintItem(F);
    ASSERT_NE(info, nullptr);
    for (int32_t i = 0; i < info->GetPartsList().Count(); ++i) {
        auto *part = static_cast<TVDTablePrintPart *>(info->GetPartsList()[i]);
        ASSERT_NE(part, nullptr);
        EXPECT_EQ(part->FirstRow() % 3, 0) << "part " << i;
    }
}

// Random tables after random text: every body row is printed exactly once, in order, each page
// showing the heading rows above its body rows, and no part is taller than its page.
TEST(TablePrintingProperty, RandomTablesPrintEveryRowOnceWithHeadingRowsRepeated) {
    for (uint32_t seed = 1; seed <= 12; ++seed) {
        TPrintFixture f;
        f.GI->CanvasText = false;
        f.GI->RecordTextOps = true;
        std::mt19937 rng(seed);
        const int32_t before = int32_t(rng() % 40);
        for (int32_t i = 0; i < before; ++i) {
            f.Source.AddNL(u"text", 0, 0);
        }
        const int32_t rows = 1 + int32_t(rng() % 150);
        const int32_t cols = 1 + int32_t(rng() % 6);
        const int32_t heading = std::min<int32_t>(int32_t(rng() % 3), rows - 1);
        AddLabelledTable(f, rows, cols, heading, rng, 1 + int32_t(rng() % 40));
        f.Source.AddNL(u"after", 0, 0);
        const int32_t pages = f.Paginate();
        const std::string where = "seed " + std::to_string(seed);
        const auto labels = LabelsByPage(f, pages);
        int32_t next = heading;
        for (int32_t p = 0; p < pages; ++p) {
            size_t k = 0;
            const bool hasBody = std::any_of(labels[p].begin(), labels[p].end(),
                                             [](const std::string &s) { return s[0] == 'R'; });
            if (hasBody) {
                for (int32_t h = 0; h < heading; ++h, ++k) {
                    ASSERT_LT(k, labels[p].size()) << where;
                    EXPECT_EQ(labels[p][k], "H" + std::to_string(h)) << where << " page " << p;
                }
            }
            for (; k < labels[p].size(); ++k) {
                ASSERT_EQ(labels[p][k], "R" + std::to_string(next++)) << where << " page " << p;
            }
        }
        EXPECT_EQ(next, rows) << where;
        if (TVDTablePrintInfo *info = PrintItem(f)) {
            for (int32_t i = 0; i < info->GetPartsList().Count(); ++i) {
                auto *part = static_cast<TVDTablePrintPart *>(info->GetPartsList()[i]);
                ASSERT_NE(part, nullptr) << where;
                EXPECT_LE(part->Height, f.Data().GetContentHeightForPage(1)) << where;
            }
        }
    }
}

namespace fs = std::filesystem;

using wbtest::RunCommand;

// A long table printed to the PDF printer: a reader of the file finds on every page the heading
// row first and then the page's rows, every row once, in order.
TEST(TablePdf, ALongTablePrintedToPdfShowsEveryRowOnceUnderItsHeading) {
    const fs::path folder =
        fs::temp_directory_path() / ("wb_vdtable_print_" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    const fs::path file = folder / "table.pdf";
    gfx::Printer().SetSystemPrintersForTesting({});
    gfx::Printer().SetPrinterIndex(-1);
    gfx::Printer().SetFileName(file.u16string());
    {
        TPrintFixture f;
        std::mt19937 rng(3);
        AddLabelledTable(f, 150, 3, 1, rng, 1);
        const int32_t pages = f.Paginate();
        ASSERT_GE(pages, 2);
        f.Print.Print(u"table", 1, false);
        ASSERT_TRUE(fs::exists(file));
        if (RunCommand("command -v pdftotext 2>/dev/null").empty()) {
            gfx::Printer().SetFileName(u"");
            fs::remove_all(folder);
            GTEST_SKIP() << "poppler-utils are not installed";
        }
        int32_t next = 1;
        for (int32_t p = 1; p <= pages; ++p) {
            std::istringstream text(RunCommand("pdftotext -raw -f " + std::to_string(p) + " -l " +
                                               std::to_string(p) + " '" + file.string() + "' -"));
            std::vector<std::string> labels;
            for (std::string word; text >> word;) {
                if (word[0] == 'H' || word[0] == 'R') {
                    labels.push_back(word);
                }
            }
            ASSERT_FALSE(labels.empty()) << "page " << p;
            EXPECT_EQ(labels[0], "H0") << "page " << p;
            for (size_t k = 1; k < labels.size(); ++k) {
                EXPECT_EQ(labels[k], "R" + std::to_string(next++)) << "page " << p;
            }
        }
        EXPECT_EQ(next, 150);
    }
    gfx::Printer().SetFileName(u"");
    fs::remove_all(folder);
}

} // namespace
