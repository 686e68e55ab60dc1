// The printer object: the printer list with the PDF printer, its A4 sheet at 600 dpi, jobs
// that end in a PDF file whose text an outside reader finds, and jobs that leave nothing when
// aborted.
#include "PrimitiveFixture.h"

#include "platform/gfx/Printers.h"

#include "tests/support/Commands.h"
#include "tests/support/SaveFaults.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

using namespace gfx;
namespace fs = std::filesystem;

namespace {

// A folder of its own under the system's temporary folder, removed afterwards.
struct TempFolder {
    fs::path Path;
    TempFolder() {
        Path = fs::temp_directory_path() /
               ("wb_printers_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(Path);
        fs::create_directories(Path);
    }
    ~TempFolder() { fs::remove_all(Path); }
};

using wbtest::HaveTool;
using wbtest::RunCommand;

// A printer with one made-up CUPS queue before the PDF printer, printing to the PDF printer.
struct PdfPrinter {
    TPrinter printer;
    PdfPrinter() {
        printer.SetSystemPrintersForTesting({u"Office"});
        printer.SetPrinterIndex(1);
    }
};

// The fixture drawn ten times larger, so that the A4 sheet holds it with room to spare.
void DrawFixtureOnPage(TCanvas &c) {
    c.SetMapMode(MM_ANISOTROPIC);
    c.SetWindowExtEx(fixture::LogicalWidth, fixture::LogicalHeight);
    c.SetViewportExtEx(fixture::LogicalWidth * 10, fixture::LogicalHeight * 10);
    c.SetViewportOrgEx(400, 400);
    fixture::Draw(c);
    c.SetMapMode(MM_TEXT);
    c.SetViewportOrgEx(0, 0);
}

} // namespace

TEST(Printers, ThePdfPrinterIsListedLastAndIsTheDefaultWithoutAQueue) {
    PdfPrinter p;
    ASSERT_EQ(p.printer.GetPrinters().size(), 2u);
    EXPECT_EQ(p.printer.GetPrinters()[0], u"Office");
    EXPECT_EQ(p.printer.GetPrinters()[1], PdfPrinterName);
    EXPECT_TRUE(p.printer.IsPdfPrinter());
    TPrinter bare;
    bare.SetSystemPrintersForTesting({});
    EXPECT_EQ(bare.GetPrinterIndex(), int32_t(bare.GetPrinters().size()) - 1);
    EXPECT_THROW(bare.SetPrinterIndex(int32_t(bare.GetPrinters().size())), EPrinter);
}

TEST(Printers, ThePdfPrintersSheetIsA4At600DotsWithoutBorder) {
    PdfPrinter p;
    struct Case {
        int32_t index, value;
    };
    for (const Case &k :
         {Case{LOGPIXELSX, 600}, Case{LOGPIXELSY, 600}, Case{HORZRES, 4960}, Case{VERTRES, 7015},
          Case{PHYSICALWIDTH, 4960}, Case{PHYSICALHEIGHT, 7015}, Case{PHYSICALOFFSETX, 0},
          Case{PHYSICALOFFSETY, 0}, Case{HORZSIZE, 210}, Case{VERTSIZE, 297},
          Case{TECHNOLOGY, DT_RASPRINTER}}) {
        EXPECT_EQ(p.printer.GetDeviceCaps(k.index), k.value) << "index " << k.index;
        EXPECT_EQ(p.printer.GetCanvas().GetDeviceCaps(k.index), k.value) << "index " << k.index;
        EXPECT_EQ(p.printer.CreateInformationCanvas()->GetDeviceCaps(k.index), k.value);
        EXPECT_EQ(CreatePdfPrinterInformationCanvas()->GetDeviceCaps(k.index), k.value);
    }
    EXPECT_EQ(CreatePdfPrinterInformationCanvas(DMPAPER_A4, poLandscape)->GetDeviceCaps(HORZRES),
              7015);
    p.printer.SetOrientation(poLandscape);
    EXPECT_EQ(p.printer.GetPageWidth(), 7015);
    EXPECT_EQ(p.printer.GetPageHeight(), 4960);
}

TEST(Printers, AJobEndsInAnA4PdfFileWithTheFixturesText) {
    TempFolder folder;
    PdfPrinter p;
    const fs::path file = std::getenv("WB_KEEP_PDF") ? fs::path(std::getenv("WB_KEEP_PDF"))
                                                     : folder.Path / "fixture.pdf";
    p.printer.SetFileName(file.u16string());
    p.printer.SetTitle(u"Отчет");
    p.printer.BeginDoc();
    EXPECT_TRUE(p.printer.GetPrinting());
    DrawFixtureOnPage(p.printer.GetCanvas());
    p.printer.NewPage();
    EXPECT_EQ(p.printer.GetPageNumber(), 2);
    p.printer.GetCanvas().TextOut(400, 400, u"Second page");
    p.printer.EndDoc();
    EXPECT_FALSE(p.printer.GetPrinting());
    ASSERT_TRUE(fs::exists(file));
    EXPECT_EQ(p.printer.GetLastFileName(), file.u16string());
    EXPECT_FALSE(fs::exists(file.string() + ".part"));
    if (!HaveTool("pdftotext") || !HaveTool("pdfinfo")) {
        GTEST_SKIP() << "poppler-utils are not installed";
    }
    const std::string info = RunCommand("pdfinfo '" + file.string() + "'");
    EXPECT_NE(info.find("Pages:           2"), std::string::npos) << info;
    EXPECT_NE(info.find("(A4)"), std::string::npos) << info;
    EXPECT_NE(info.find("Отчет"), std::string::npos) << "the job's title: " << info;
    // In the order of the page's content: rotated words come out whole.
    const std::string text = RunCommand("pdftotext -raw '" + file.string() + "' -");
    for (const std::u16string &word : fixture::Words()) {
        EXPECT_NE(text.find(rtl::Utf16ToUtf8(word)), std::string::npos)
            << rtl::Utf16ToUtf8(word) << " missing from:\n"
            << text;
    }
    EXPECT_NE(text.find("Second page"), std::string::npos);
}

// Regression: a job that failed part-way used to be sent as it was; now it is discarded.
TEST(Printers, AnAbortedJobLeavesNothingBehind) {
    TempFolder folder;
    PdfPrinter p;
    const fs::path file = folder.Path / "aborted.pdf";
    p.printer.SetFileName(file.u16string());
    p.printer.BeginDoc();
    p.printer.GetCanvas().TextOut(100, 100, u"half a report");
    p.printer.Abort();
    EXPECT_TRUE(p.printer.GetAborted());
    EXPECT_FALSE(p.printer.GetPrinting());
    EXPECT_TRUE(fs::is_empty(folder.Path));
    {
        TPrinter left;
        left.SetSystemPrintersForTesting({});
        left.SetFileName(file.u16string());
        left.BeginDoc();
        left.GetCanvas().TextOut(100, 100, u"never ended");
    }
    EXPECT_TRUE(fs::is_empty(folder.Path)) << "a job open at the end is discarded";
}

TEST(Printers, WithoutAFileNameJobsGoToTheDocumentsFolderUnderFreeNames) {
    TempFolder folder;
    const char *previous = std::getenv("XDG_DOCUMENTS_DIR");
    const std::string saved = previous ? previous : "";
    setenv("XDG_DOCUMENTS_DIR", folder.Path.c_str(), 1);
    PdfPrinter p;
    p.printer.SetTitle(u"Отчет/1");
    for (int i = 0; i < 2; ++i) {
        p.printer.BeginDoc();
        p.printer.EndDoc();
    }
    if (previous) {
        setenv("XDG_DOCUMENTS_DIR", saved.c_str(), 1);
    } else {
        unsetenv("XDG_DOCUMENTS_DIR");
    }
    EXPECT_TRUE(fs::exists(folder.Path / fs::path(u"Отчет_1.pdf")));
    EXPECT_TRUE(fs::exists(folder.Path / fs::path(u"Отчет_1 (2).pdf")));
}

TEST(Printers, MisuseRaisesTheClassLibrarysMessages) {
    TempFolder folder;
    PdfPrinter p;
    auto message = [](auto &&call) {
        try {
            call();
        } catch (const EPrinter &e) {
            return rtl::Utf16ToUtf8(e.Message());
        }
        return std::string("no exception");
    };
    EXPECT_EQ(message([&] { p.printer.NewPage(); }), "Printer is not currently printing");
    EXPECT_EQ(message([&] { p.printer.EndDoc(); }), "Printer is not currently printing");
    EXPECT_EQ(message([&] { p.printer.Abort(); }), "Printer is not currently printing");
    EXPECT_EQ(message([&] { p.printer.SetPrinterIndex(7); }), "Printer index out of range");
    p.printer.SetFileName((folder.Path / "missing" / "x.pdf").u16string());
    EXPECT_EQ(message([&] { p.printer.BeginDoc(); }),
              "Не удалось сохранить файл \"" + (folder.Path / "missing" / "x.pdf").string() +
                  "\". Системе не удается найти указанный путь");
    EXPECT_FALSE(p.printer.GetPrinting());
    p.printer.SetFileName((folder.Path / "x.pdf").u16string());
    p.printer.BeginDoc();
    EXPECT_EQ(message([&] { p.printer.BeginDoc(); }), "Printing in progress");
    EXPECT_EQ(message([&] { p.printer.SetPrinterIndex(0); }), "Printing in progress");
    p.printer.Abort();
}

// Prints the fixture on the CUPS queue WB_CUPS_PRINTER names (tools/print-fixture-through-
// cups.sh sets one up on Debian's cups-pdf); skipped without one, as on build machines.
TEST(Printers, PrintsTheFixtureOnACupsQueueWhenOneIsNamed) {
    const char *queue = std::getenv("WB_CUPS_PRINTER");
    if (!queue || !*queue) {
        GTEST_SKIP() << "no CUPS queue named in WB_CUPS_PRINTER";
    }
    TPrinter printer;
    const auto &names = printer.GetPrinters();
    const auto found = std::find(names.begin(), names.end(), rtl::Utf8ToUtf16(queue));
    ASSERT_NE(found, names.end()) << queue << " is not among the system's printers";
    printer.SetPrinterIndex(int32_t(found - names.begin()));
    EXPECT_FALSE(printer.IsPdfPrinter());
    EXPECT_GT(printer.GetDeviceCaps(LOGPIXELSX), 0);
    printer.SetTitle(u"Workbench fixture");
    printer.BeginDoc();
    DrawFixtureOnPage(printer.GetCanvas());
    printer.EndDoc();
}

// A PDF job on a full disk or in a read-only folder used to report success and leave a
// truncated file in place of the old one.
TEST(Printers, APdfJobThatCannotBeWrittenFailsAndKeepsTheOldFile) {
    wbtest::ExpectSaveFailuresKeepTheOldFile("report.pdf", "%PDF-1.4 the old report",
                                             [](const rtl::UnicodeString &name) {
                                                 PdfPrinter p;
                                                 p.printer.SetFileName(name);
                                                 p.printer.BeginDoc();
                                                 DrawFixtureOnPage(p.printer.GetCanvas());
                                                 p.printer.NewPage();
                                                 DrawFixtureOnPage(p.printer.GetCanvas());
                                                 p.printer.EndDoc();
                                             });
}
