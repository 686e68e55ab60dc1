// The report as the program makes it: "Отчет" on the sample database, laid out by the style
// sheet's own graphic interface (the text engine and the machine's fonts), printed to PDF.
#include "MainFormFixture.h"

#include "app/UVDReportForm.h"
#include "platform/gfx/Printers.h"
#include "platform/rtl/StrUtils.h"
#include "platform/ui/DialogHandler.h"
#include "platform/ui/PrintDialogs.h"
#include "vizivodu/layout/printing/PtblVD.h"

#include "tests/support/Commands.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

namespace workbench::testing {
namespace {

namespace fs = std::filesystem;

using wbtest::HaveTool;
using wbtest::RunCommand;

// Each row of the totals list as its figures (the columns after the name, without the list's
// padding), joined by spaces as pdftotext reads them from a table row.
std::vector<std::string> TotalsFigures(ui::TListView &totals) {
    std::vector<std::string> rows;
    for (int32_t i = 0; i < totals.GetItems().GetCount(); ++i) {
        const rtl::TStrings &cells = totals.GetItems()[i]->GetSubItems();
        std::string row;
        for (int32_t c = 1; c < cells.GetCount(); ++c) {
            row += (c == 1 ? "" : " ") + rtl::Utf16ToUtf8(rtl::Trim(cells[c]));
        }
        rows.push_back(row);
    }
    return rows;
}

TEST_F(MainFormTest, ReportOnTheSampleDatabaseWithTheRealTextEnginePrintsEveryTotalToPdf) {
#if !defined(WB_SAMPLE_DB_DIR) || !defined(WB_SAMPLE_RESULT_FILE)
    GTEST_SKIP() << "the sample database is not part of this build";
#else
    gfx::Printer().SetSystemPrintersForTesting({});
    gfx::Printer().SetPrinterIndex(-1);
    MakeForm(rtl::Utf8ToUtf16(WB_SAMPLE_DB_DIR "/"));
    ChooseResultFile(rtl::Utf8ToUtf16(WB_SAMPLE_RESULT_FILE));
    Form->edProgrName->SetText(u"Кардиотест 2.1");
    const fs::path pdf = fs::path(rtl::Utf16ToUtf8(Folder.File("report.pdf")));
    ui::TDialogHandler handler = ui::GetDialogHandler();
    handler.PrintDialog = [&](ui::TPrintDialog &dialog) {
        dialog.SetFileName(rtl::Utf8ToUtf16(pdf.string()));
        return true;
    };
    int32_t shown = 0;
    handler.ShowModal = [&](ui::TForm &form) {
        ++shown;
        TVDReportForm &report = *Form->GetReportForm();
        EXPECT_EQ(&form, &report);
        EXPECT_TRUE(report.IsLoaded());
        EXPECT_GE(report.VDPrint1->GetPagesCount(), 1);
        report.BtnPrintRep->Click();
        return int32_t(ui::mrCancel);
    };
    ui::TDialogHandlerScope scope{handler};
    Form->btnReport->Click();
    gfx::Printer().SetFileName(u"");
    EXPECT_EQ(shown, 1);
    for (const TShownMessage &m : Messages) {
        ADD_FAILURE() << rtl::Utf16ToUtf8(m.Text);
    }
    ASSERT_TRUE(fs::exists(pdf));
    if (!HaveTool("pdftotext")) {
        GTEST_SKIP() << "poppler-utils are not installed";
    }
    const std::string text = RunCommand("pdftotext -raw '" + pdf.string() + "' -");
    EXPECT_NE(text.find("Кардиотест 2.1"), std::string::npos) << text;
    const std::vector<std::string> rows = TotalsFigures(*Form->TotalLV);
    ASSERT_EQ(rows.size(), 28u);
    for (const std::string &row : rows) {
        const bool found = text.find(" " + row + "\n") != std::string::npos ||
                           text.find("\n" + row + "\n") != std::string::npos;
        EXPECT_TRUE(found) << row << "\n" << text;
    }
#endif
}

} // namespace
} // namespace workbench::testing
