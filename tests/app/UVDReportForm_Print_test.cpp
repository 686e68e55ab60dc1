// The report's pages: paginated by the build, the picture of page 1 inside the margins, the
// job to the PDF printer through the print dialog, the printer set-up, and hiding the window.
#include "app/UResources.h"
#include "app/UVDReportForm.h"
#include "app/core/UDiagCodes.h"
#include "tests/app/ReportTestSupport.h"
#include "tests/app_core/WorkbenchFixture.h"

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Printers.h"
#include "platform/ui/DialogHandler.h"
#include "platform/ui/PrintDialogs.h"
#include "vizivodu/VDStartup.h"
#include "vizivodu/document/VDDocParams.h"
#include "vizivodu/layout/printing/PtblVD.h"
#include "vizivodu/layout/viewer/VDVDData.h"
#include "vizivodu/tables/VDTable_Print.h"

#include "tests/support/Commands.h"
#include "tests/support/GoldenImage.h"

#include <gtest/gtest.h>

#include <array>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

namespace workbench::testing {
namespace {

namespace fs = std::filesystem;

using wbtest::HaveTool;
using wbtest::RunCommand;

// The report of a scored database built into the window, text drawn as boxes; the PDF
// printer is the only printer.
class ReportPagesTest : public ::testing::Test {
protected:
    void SetUp() override {
        gfx::Printer().SetSystemPrintersForTesting({});
        gfx::Printer().SetPrinterIndex(-1);
        auto gi = std::make_unique<vizivodu::test::TFixedGraphicInterface>();
        GI = gi.get();
        GI->DrawGlyphBoxes = true;
        Form.VDStyle1->SetGraphicInterfaceForTesting(std::move(gi));
        Data.Logo.LoadFromMemory(LogoPng, LogoPngSize);
        Data.DiaStat[1] = {60, 58, 57, 1, 3, 39};
        Data.DiaStat[2] = {10, 9, 8, 1, 2, 89};
        Data.DiaStat[4] = {5, 5, 5, 0, 0, 95};
        Data.DiaStat[22] = {4, 0, 0, 0, 4, 96};
        Data.DiaStat[23] = {0, 2, 0, 2, 0, 98};
        BuildReport(Form, Data.Input());
    }
    void TearDown() override {
        gfx::Printer().SetFileName(u"");
        gfx::Printer().SetCopies(1);
    }

    TDecimalSeparatorScope Settings{u','};
    TTempFolder Folder;
    TReportInputData Data;
    TVDReportForm Form{nullptr};
    vizivodu::test::TFixedGraphicInterface *GI = nullptr;
};

int32_t Ink(gfx::TCanvas &canvas, const rtl::TRect &r) {
    int32_t n = 0;
    for (int32_t y = r.Top; y < r.Bottom; ++y) {
        for (int32_t x = r.Left; x < r.Right; ++x) {
            n += (canvas.GetPixel(x, y) & 0xFFFFFF) != 0xFFFFFF ? 1 : 0;
        }
    }
    return n;
}

TEST_F(ReportPagesTest, TheBuildPaginatesAndThePreviewShowsThePages) {
    const int32_t pages = Form.VDPrint1->GetPagesCount();
    EXPECT_GE(pages, 1);
    EXPECT_EQ(Form.VDPrintPreview1->GetVDPrint(), Form.VDPrint1);
    EXPECT_EQ(Form.VDPrintPreview1->GetAlign(), ui::alClient);
    EXPECT_EQ(Form.VDPrintPreview1->GetBorderStyle(), ui::bsSingle);
    EXPECT_EQ(Form.VDPrintPreview1->GetWheelStep(), 20);
    EXPECT_EQ(Form.VDPrint1->GetLeftMarginMM(), 10);
    EXPECT_EQ(Form.VDPrint1->GetTopMarginMM(), 10);
    EXPECT_EQ(Form.VDPrint1->GetRightMarginMM(), 10);
    EXPECT_EQ(Form.VDPrint1->GetBottomMarginMM(), 10);
    EXPECT_EQ(Form.VDPrint1->GetHeaderYMM(), 10);
    EXPECT_EQ(Form.VDPrint1->GetFooterYMM(), 10);
    EXPECT_TRUE(Form.VDPrint1->GetFacingPages());
    EXPECT_TRUE(Form.VDPrint1->PreviewCorrection);
    EXPECT_TRUE(Form.VDPrint1->MetafileCompatibility);
}

TEST_F(ReportPagesTest, ThePagePictureHoldsPageOneInsideTheMargins) {
    Form.FormShow(&Form);
    const gfx::TMetafile *picture = Form.GetPagePicture();
    ASSERT_NE(picture, nullptr);
    gfx::TBitmap sheet;
    sheet.SetSize(794, 1123);
    picture->Play(sheet.GetCanvas(), {0, 0, 794, 1123});
    gfx::TCanvas &c = sheet.GetCanvas();
    // The frame, then white up to the margins, and the content inside them.
    EXPECT_EQ(c.GetPixel(0, 500) & 0xFFFFFF, 0u);
    EXPECT_EQ(Ink(c, {1, 1, 793, 38}), 0);
    EXPECT_EQ(Ink(c, {1, 1, 38, 1122}), 0);
    EXPECT_EQ(Ink(c, {756, 1, 793, 1122}), 0);
    EXPECT_EQ(Ink(c, {1, 1085, 793, 1122}), 0);
    EXPECT_GT(Ink(c, {38, 38, 756, 300}), 1000);
}

TEST_F(ReportPagesTest, SavedPictureIsAnA4EnhancedMetafileThatEmf2svgReads) {
    Form.FormShow(&Form);
    const fs::path target = Folder.Path() / "report.wmf";
    ui::TDialogHandlerScope scope{{nullptr, nullptr, [&](ui::TFileDialog &dialog) {
                                       dialog.SetFileName(rtl::Utf8ToUtf16(target.string()));
                                       return true;
                                   }}};
    Form.FileSaveAs1->Execute();
    std::ifstream in(target, std::ios::binary);
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                     std::istreambuf_iterator<char>()};
    ASSERT_GT(bytes.size(), 88u);
    // The header's frame in hundredths of a millimetre: the A4 sheet.
    auto at = [&](size_t offset) {
        int32_t v;
        std::memcpy(&v, bytes.data() + offset, 4);
        return v;
    };
    EXPECT_EQ(at(24), 0);
    EXPECT_EQ(at(28), 0);
    EXPECT_NEAR(at(32), 21000, 30);
    EXPECT_NEAR(at(36), 29700, 30);
    if (!HaveTool("emf2svg-conv")) {
        GTEST_SKIP() << "emf2svg is not installed";
    }
    const fs::path svg = Folder.Path() / "report.svg";
    RunCommand("emf2svg-conv -i '" + target.string() + "' -o '" + svg.string() + "' 2>&1");
    std::ifstream svgIn(svg);
    const std::string text{std::istreambuf_iterator<char>(svgIn), std::istreambuf_iterator<char>()};
    EXPECT_NE(text.find("<svg"), std::string::npos);
    EXPECT_NE(text.find("<path"), std::string::npos);
}

TEST_F(ReportPagesTest, PrintGoesThroughThePrintDialogToThePdfPrinterWithEveryPage) {
    const fs::path file = Folder.Path() / "report.pdf";
    int asked = 0;
    ui::TDialogHandler handler;
    handler.PrintDialog = [&](ui::TPrintDialog &dialog) {
        ++asked;
        EXPECT_EQ(dialog.GetParentWnd(), &Form);
        dialog.SetFileName(rtl::Utf8ToUtf16(file.string()));
        return true;
    };
    ui::TDialogHandlerScope scope{handler};
    GI->TextOps.clear();
    Form.BtnPrintRep->Click();
    EXPECT_EQ(asked, 1);
    ASSERT_TRUE(fs::exists(file));
    // Every figure of the two total rows went to the printer.
    std::string printed;
    for (const std::string &text : GI->DrawnTexts()) {
        printed += text + "\n";
    }
    for (const char *figure : {"19", "16", "68,42", "99,21", "81,25", "98,97", "71,43"}) {
        EXPECT_NE(printed.find(std::string(figure) + "\n"), std::string::npos) << figure;
    }
    if (!HaveTool("pdfinfo")) {
        GTEST_SKIP() << "poppler-utils are not installed";
    }
    const std::string info = RunCommand("pdfinfo '" + file.string() + "'");
    EXPECT_NE(info.find("Отчет ЗЕМБРАК"), std::string::npos) << info;
    EXPECT_NE(
        info.find("Pages:           " + std::to_string(Form.VDPrint1->GetPagesCount()) + "\n"),
        std::string::npos)
        << info;
    EXPECT_NE(info.find("(A4)"), std::string::npos) << info;
}

TEST_F(ReportPagesTest, CancellingThePrintDialogPrintsNothing) {
    ui::TDialogHandler handler;
    handler.PrintDialog = [&](ui::TPrintDialog &) { return false; };
    ui::TDialogHandlerScope scope{handler};
    Form.BtnPrintRep->Click();
    EXPECT_FALSE(gfx::Printer().GetPrinting());
    EXPECT_TRUE(fs::is_empty(Folder.Path()));
}

TEST_F(ReportPagesTest, PrinterButtonOpensThePrinterSetUp) {
    int asked = 0;
    ui::TDialogHandler handler;
    handler.PrinterSetupDialog = [&](ui::TPrinterSetupDialog &dialog) {
        ++asked;
        EXPECT_EQ(dialog.GetParentWnd(), &Form);
        return false;
    };
    ui::TDialogHandlerScope scope{handler};
    Form.BtnPrintSetup->Click();
    EXPECT_EQ(asked, 1);
}

TEST_F(ReportPagesTest, HidingTheWindowDropsThePagesAndTheDocument) {
    Form.FormHide(&Form);
    EXPECT_EQ(Form.VDPrint1->GetPagesCount(), 0);
    EXPECT_EQ(Form.ZemVDReport->ItemCount(), 0);
}

TEST_F(ReportPagesTest, TheCopiesOfThePrintDialogArePrinted) {
    const fs::path file = Folder.Path() / "copies.pdf";
    ui::TDialogHandler handler;
    handler.PrintDialog = [&](ui::TPrintDialog &dialog) {
        dialog.SetFileName(rtl::Utf8ToUtf16(file.string()));
        dialog.SetCopies(2);
        dialog.SetCollate(true);
        return true;
    };
    ui::TDialogHandlerScope scope{handler};
    Form.BtnPrintRep->Click();
    if (!HaveTool("pdfinfo")) {
        GTEST_SKIP() << "poppler-utils are not installed";
    }
    const std::string info = RunCommand("pdfinfo '" + file.string() + "'");
    EXPECT_NE(
        info.find("Pages:           " + std::to_string(2 * Form.VDPrint1->GetPagesCount()) + "\n"),
        std::string::npos)
        << info;
}

// The report laid out with the fonts of the machine, as the workbench makes it, so that a PDF
// reader finds its texts.
class ReportPaperTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { vizivodu::InitializeLibrary(); } // as the program does
    void SetUp() override {
        gfx::Printer().SetSystemPrintersForTesting({});
        gfx::Printer().SetPrinterIndex(-1);
        gfx::Printer().SetOrientation(gfx::poPortrait);
        gfx::Printer().SetCopies(1);
        Data.Logo.LoadFromMemory(LogoPng, LogoPngSize);
        for (int32_t c = 1; c <= 30; ++c) {
            Data.DiaStat[c] = {10, 9, 8, 1, 2, 89};
        }
        BuildReport(Form, Data.Input());
        Form.FormShow(&Form);
    }
    void TearDown() override {
        gfx::Printer().SetFileName(u"");
        gfx::Printer().SetOrientation(gfx::poPortrait);
        gfx::Printer().SetCopies(1);
    }

    TDecimalSeparatorScope Settings{u','};
    TTempFolder Folder;
    TReportInputData Data;
    TVDReportForm Form{nullptr};
};

std::string WithoutBlanks(const std::string &text) {
    std::string out;
    for (const char c : text) {
        if (!std::isspace(static_cast<unsigned char>(c))) {
            out += c;
        }
    }
    return out;
}

// Choosing landscape paper in "Принтер..." paginates the report again: the printout has every
// row of the statistics table, and the preview shows the printed pages.
TEST_F(ReportPaperTest, AfterAChangeToLandscapeEveryRowIsPrintedAndPreviewed) {
    ui::TDialogHandler handler;
    handler.PrinterSetupDialog = [](ui::TPrinterSetupDialog &dialog) {
        dialog.SetOrientation(gfx::poLandscape);
        return true;
    };
    const fs::path file = Folder.Path() / "landscape.pdf";
    handler.PrintDialog = [&](ui::TPrintDialog &dialog) {
        dialog.SetFileName(rtl::Utf8ToUtf16(file.string()));
        return true;
    };
    ui::TDialogHandlerScope scope{handler};
    Form.BtnPrintSetup->Click();
    const int32_t pages = Form.VDPrint1->GetPagesCount();
    // The preview's sheets are the landscape pages.
    EXPECT_EQ(Form.VDPrintPreview1->GetVDPrint(), Form.VDPrint1);
    EXPECT_EQ(Form.VDPrintPreview1->GetAccessibleName(), u"Просмотр с отчета");
    EXPECT_GT(Form.VDPrint1->GetPreview100PercentWidth(),
              Form.VDPrint1->GetPreview100PercentHeight());
    Form.BtnPrintRep->Click();
    ASSERT_TRUE(fs::exists(file));
    if (!HaveTool("pdftotext")) {
        GTEST_SKIP() << "poppler-utils are not installed";
    }
    const std::string info = RunCommand("pdfinfo '" + file.string() + "'");
    EXPECT_NE(info.find("Pages:           " + std::to_string(pages) + "\n"), std::string::npos)
        << info;
    const std::string text = WithoutBlanks(RunCommand("pdftotext -raw '" + file.string() + "' -"));
    for (int32_t c = 1; c <= 30; ++c) {
        EXPECT_NE(text.find(WithoutBlanks(rtl::Utf16ToUtf8(DiagCodeDescription(c)))),
                  std::string::npos)
            << "code " << c;
    }
    for (const char *tail : {"Итогопобазе", "Повсемнарушениям", "Утверждаю:", "Членыкомиссии:"}) {
        EXPECT_NE(text.find(tail), std::string::npos) << tail;
    }
}

// The report written as RTF, converted by LibreOffice to PDF: every statistics row, the totals,
// the legend and the signatures are there (the tables' merged rows and colours were checked by
// eye once on the rendered pages).
TEST_F(ReportPaperTest, TheReportWrittenAsRtfIsPrintedByLibreOfficeWithEveryRow) {
    if (!HaveTool("soffice") || !HaveTool("pdftotext")) {
        GTEST_SKIP() << "LibreOffice and poppler-utils are not installed";
    }
    // Laid out as printed: A4 with the report's margins, so that the tables sized to their
    // content are as wide as the printed text.
    vizivodu::TViziVodu &report = *Form.ZemVDReport;
    vizivodu::TVDDocParameters &page = *report.GetDocParameters();
    page.ConvertToUnits(vizivodu::vduMillimeters);
    page.PageWidth = 210;
    page.PageHeight = 297;
    page.LeftMargin = page.RightMargin = page.TopMargin = page.BottomMargin = 10;
    report.RTFOptions.Include(vizivodu::vdrtfSaveDocParameters);
    report.MaxTextWidth = MMToPixels(190, gfx::ScreenPixelsPerInch);
    report.Format();
    const fs::path rtf = Folder.Path() / "report.rtf";
    ASSERT_TRUE(report.SaveRTF(rtl::Utf8ToUtf16(rtf.string()), false));
    std::ifstream rtfIn(rtf, std::ios::binary);
    const std::string rtfText{std::istreambuf_iterator<char>(rtfIn), {}};
    EXPECT_NE(rtfText.find("\\pngblip"), std::string::npos) << "the logo";
    RunCommand("cd '" + Folder.Path().string() + "' && soffice -env:UserInstallation=file://" +
               Folder.Path().string() + "/profile --headless --convert-to pdf report.rtf 2>&1");
    const fs::path pdf = Folder.Path() / "report.pdf";
    ASSERT_TRUE(fs::exists(pdf));
    const std::string text = WithoutBlanks(RunCommand("pdftotext -raw '" + pdf.string() + "' -"));
    for (int32_t c = 1; c <= 30; ++c) {
        EXPECT_NE(text.find(WithoutBlanks(rtl::Utf16ToUtf8(DiagCodeDescription(c)))),
                  std::string::npos)
            << "code " << c;
    }
    for (const char *part : {"Отчетиспытания", "Итогопобазе", "Повсемнарушениям",
                             "Утверждаю:", "Членыкомиссии:", "98,89"}) {
        EXPECT_NE(text.find(part), std::string::npos) << part;
    }
    EXPECT_NE(RunCommand("pdfimages -list '" + pdf.string() + "'").find(" image "),
              std::string::npos)
        << "the logo";
}

// The statistics table's headers are wider than the columns given to them, and together wider
// than the text: printed, the table is narrowed to the text's width, as wide as the title
// table, and its long words break inside their cells instead of passing the right margin.
TEST_F(ReportPaperTest, EveryTableStaysInsideTheTextWidth) {
    vizivodu::TCustomMainPtblVDData &page = Form.VDPrint1->GetVD().GetPrintData();
    int32_t tables = 0;
    int32_t firstRight = -1;
    for (int32_t i = 0; i < page.DrawItems.Count(); ++i) {
        const auto *table = dynamic_cast<vizivodu::TVDTablePrintInfo *>(page.DrawItems[i]);
        if (!table) {
            continue;
        }
        const int32_t right = table->Left + table->Width;
        EXPECT_LE(right, page.GetWidth()) << "table " << tables;
        if (tables++ == 0) {
            firstRight = right;
        } else if (tables == 2) {
            EXPECT_EQ(right, firstRight);
        }
    }
    EXPECT_GE(tables, 2);
}

// The saved page as an outside reader draws it: emf2svg scales neither pens nor fills through
// the page's mapping, so the file carries the page in its own pixels and the reader draws
// what the window shows.
TEST_F(ReportPaperTest, TheSavedPagePictureIsDrawnByAnOutsideReaderAsTheWindowShowsIt) {
    if (!HaveTool("emf2svg-conv") || !HaveTool("rsvg-convert")) {
        GTEST_SKIP() << "emf2svg and librsvg2-bin are not installed";
    }
    const fs::path target = Folder.Path() / "report.emf";
    ui::TDialogHandlerScope scope{{nullptr, nullptr, [&](ui::TFileDialog &dialog) {
                                       dialog.SetFileName(rtl::Utf8ToUtf16(target.string()));
                                       return true;
                                   }}};
    Form.FileSaveAs1->Execute();
    const gfx::TBitmap theirs = wbtest::DrawnByEmf2svg(target.string());
    ASSERT_GT(theirs.GetWidth(), 0);
    const gfx::TMetafile *picture = Form.GetPagePicture();
    ASSERT_NE(picture, nullptr);
    gfx::TBitmap ours;
    ours.SetSize(theirs.GetWidth(), theirs.GetHeight());
    picture->Play(ours.GetCanvas(), {0, 0, picture->GetWidth(), picture->GetHeight()});
    EXPECT_LT(wbtest::DifferingBlockShare(ours, theirs, 48), 0.02);
}

} // namespace
} // namespace workbench::testing
