// The printing component: pagination of a linked viewer, page metrics and margins, headers and
// footers, drawing pages into any canvas, print jobs to the PDF printer.
#include "vizivodu/layout/PtblVD.h"

#include "PrintTestSupport.h"

#include "platform/gfx/Printers.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <unistd.h>

using namespace vizivodu;

namespace {

TEST(PrintComponent, PaginatesLongTextOntoSeveralPages) {
    test::TPrintFixture f;
    for (int i = 0; i < 200; ++i) {
        f.Source.AddNL(u"Line of text number " + rtl::Utf8ToUtf16(std::to_string(i)), 0, 0);
    }
    // A4 at 600 dpi is 7015 pixels tall; 20 mm margins are 472 pixels each, leaving 6071 for
    // lines of 125 pixels (15 points): 48 lines a page.
    ASSERT_EQ(f.Paginate(), 5);
    EXPECT_EQ(f.Print.GetPagesCount(), 5);
    EXPECT_TRUE(f.Print.GetReady());
    for (int32_t p = 1; p <= 5; ++p) {
        const std::string text = f.PageText(p);
        const int first = (p - 1) * 48;
        const int last = std::min(199, first + 47);
        EXPECT_EQ(text.substr(0, text.find('\n')), "Line of text number " + std::to_string(first))
            << p;
        EXPECT_EQ(text.substr(text.rfind('\n') + 1), "Line of text number " + std::to_string(last))
            << p;
    }
}

} // namespace

namespace {

namespace fs = std::filesystem;

// Output of a command, or nothing when it cannot run.
std::string RunCommand(const std::string &command) {
    std::string out;
    std::unique_ptr<FILE, int (*)(FILE *)> pipe(popen(command.c_str(), "r"), pclose);
    if (!pipe) {
        return out;
    }
    std::array<char, 4096> buffer{};
    while (size_t n = fread(buffer.data(), 1, buffer.size(), pipe.get())) {
        out.append(buffer.data(), n);
    }
    return out;
}

bool HaveTool(const char *name) {
    return !RunCommand(std::string("command -v ") + name + " 2>/dev/null").empty();
}

// The PDF printer as the only printer, writing into a folder of the test's own.
class PdfJob : public ::testing::Test {
protected:
    PdfJob() {
        Folder = fs::temp_directory_path() /
                 ("wb_vdprint_" + std::to_string(::getpid()) + "_" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(Folder);
        fs::create_directories(Folder);
        File = Folder / "job.pdf";
        gfx::Printer().SetSystemPrintersForTesting({});
        gfx::Printer().SetPrinterIndex(-1);
        gfx::Printer().SetFileName(File.u16string());
        for (int i = 0; i < 130; ++i) {
            F.Source.AddNL(u"Line " + rtl::Utf8ToUtf16(std::to_string(i)), 0, 0);
        }
    }
    ~PdfJob() override {
        gfx::Printer().SetFileName(u"");
        fs::remove_all(Folder);
    }

    test::TPrintFixture F;
    fs::path Folder, File;
};

// 130 lines of 48 a page: pages 1-3; each page's text is found on that page of the file.
TEST_F(PdfJob, PrintsOneA4PagePerPageWithThatPagesText) {
    ASSERT_EQ(F.Paginate(), 3);
    std::vector<std::string> events;
    F.Print.OnSendingToPrinter = [&](TCustomViziVodu *, int32_t page, TVDPrintingStep step) {
        events.push_back(std::to_string(page) + ":" + std::to_string(int(step)));
    };
    F.Print.Print(u"Отчет ЗЕМБРАК", 1, false);
    EXPECT_EQ(events, (std::vector<std::string>{"0:0", "1:1", "2:1", "3:1", "0:2"}));
    ASSERT_TRUE(fs::exists(File));
    if (!HaveTool("pdftotext") || !HaveTool("pdfinfo")) {
        GTEST_SKIP() << "poppler-utils are not installed";
    }
    const std::string info = RunCommand("pdfinfo '" + File.string() + "'");
    EXPECT_NE(info.find("Pages:           3"), std::string::npos) << info;
    EXPECT_NE(info.find("(A4)"), std::string::npos) << info;
    EXPECT_NE(info.find("Отчет ЗЕМБРАК"), std::string::npos) << info;
    for (int page = 1; page <= 3; ++page) {
        const std::string text = RunCommand("pdftotext -raw -f " + std::to_string(page) + " -l " +
                                            std::to_string(page) + " '" + File.string() + "' -");
        const int first = (page - 1) * 48;
        const int last = std::min(129, first + 47);
        EXPECT_EQ(text.find("Line " + std::to_string(first) + "\n"), 0u) << page << "\n" << text;
        EXPECT_NE(text.find("Line " + std::to_string(last) + "\n"), std::string::npos) << text;
        EXPECT_EQ(text.find("Line " + std::to_string(last + 1) + "\n"), std::string::npos) << text;
    }
}

TEST_F(PdfJob, ZeroCopiesOrAnEmptyRangeStartNoJob) {
    ASSERT_EQ(F.Paginate(), 3);
    int events = 0;
    F.Print.OnSendingToPrinter = [&](TCustomViziVodu *, int32_t, TVDPrintingStep) { ++events; };
    F.Print.Print(u"none", 0, false);
    F.Print.PrintPages(3, 2, u"none", 1, false);
    F.Print.PrintPages(4, 9, u"none", 1, false);
    EXPECT_EQ(events, 0);
    EXPECT_FALSE(fs::exists(File));
    EXPECT_FALSE(gfx::Printer().GetPrinting());
}

TEST_F(PdfJob, AJobFailingWhileDrawingIsAbortedAndSendsNothing) {
    ASSERT_EQ(F.Paginate(), 3);
    F.Print.OnPagePrepaint = [](TVDPrint *, int32_t pageNo, gfx::TCanvas &, bool,
                                const rtl::TRect &, const rtl::TRect &) {
        if (pageNo == 2) {
            throw rtl::Exception("out of paper");
        }
    };
    std::vector<int> steps;
    F.Print.OnSendingToPrinter = [&](TCustomViziVodu *, int32_t, TVDPrintingStep step) {
        steps.push_back(int(step));
    };
    EXPECT_THROW(F.Print.Print(u"half", 1, false), rtl::Exception);
    EXPECT_FALSE(gfx::Printer().GetPrinting());
    EXPECT_FALSE(fs::exists(File));
    EXPECT_EQ(steps.back(), int(vdpsFinished));
    EXPECT_EQ(F.Data().PrinterCanvas, nullptr);
    // The component prints again afterwards.
    F.Print.OnPagePrepaint = nullptr;
    F.Print.Print(u"whole", 1, false);
    EXPECT_TRUE(fs::exists(File));
}

// Copies are drawn again: collated 1 2 3 1 2 3, else 1 1 2 2 3 3.
TEST_F(PdfJob, CopiesAndCollation) {
    ASSERT_EQ(F.Paginate(), 3);
    for (bool collate : {true, false}) {
        std::vector<int> pages;
        F.Print.OnSendingToPrinter = [&](TCustomViziVodu *, int32_t page, TVDPrintingStep step) {
            if (step == vdpsProceeding) {
                pages.push_back(page);
            }
        };
        F.Print.PrintPages(2, 3, u"copies", 2, collate);
        EXPECT_EQ(pages, collate ? std::vector<int>({2, 3, 2, 3}) : std::vector<int>({2, 2, 3, 3}));
        fs::remove(File);
    }
    EXPECT_EQ(gfx::Printer().GetCopies(), 1);
}

} // namespace
