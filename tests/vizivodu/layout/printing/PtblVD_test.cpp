// The printing component: pagination of a linked viewer, page metrics and margins, headers and
// footers, drawing pages into any canvas, print jobs to the PDF printer.
#include "vizivodu/layout/printing/PtblVD.h"

#include "tests/vizivodu/layout/printing/PrintTestSupport.h"
#include "vizivodu/document/VDDocParams.h"
#include "vizivodu/document/VDError.h"
#include "vizivodu/document/VDFieldItems.h"
#include "vizivodu/document/VDNotes.h"

#include "platform/gfx/Bitmap.h"

#include "platform/gfx/Printers.h"

#include "tests/support/Commands.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

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

using wbtest::HaveTool;
using wbtest::PdfPageText;
using wbtest::RunCommand;

// The PDF printer as the only printer, writing into a folder of the test's own.
class PdfJob : public ::testing::Test {
protected:
    PdfJob() {
        EXPECT_TRUE(gfx::Printer().IsPdfPrinter()); // chosen by the fixture
        for (int i = 0; i < 130; ++i) {
            F.Source.AddNL(u"Line " + rtl::Utf8ToUtf16(std::to_string(i)), 0, 0);
        }
    }

    test::TPrintFixture F;
    const wbtest::TTempFolder Folder;
    const fs::path File = Folder / "job.pdf";
    const test::TPrintToFile Output{File.u16string()};
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
        const std::string text = PdfPageText(File.string(), page);
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

namespace {

// A viewer for a header or a footer: "Page " and the page-number field, " of " and the count.
struct PageFooter {
    TViziVodu View;
    explicit PageFooter(TVDStyle &style) : View(nullptr) {
        View.SetStyle(&style);
        View.AddNL(u"Page ", 0, 0);
        View.AddItem(u"",
                     std::make_unique<TVDPageNumberItemInfo>(&View.GetVDData(), vdpntDefault, 0));
        View.AddItem(u"",
                     std::make_unique<TVDPageCountItemInfo>(&View.GetVDData(), vdpntDefault, 0));
        View.GetVDData().GetItem(1)->SetSameAsPrev(true);
        View.GetVDData().GetItem(2)->SetSameAsPrev(true);
        View.Format();
    }
};

// Footers are post-formatted for every page like headers, so a page-number field in a footer
// gets its page's number (page number x 100 + page count recorded).
TEST_F(PdfJob, FootersArePostFormattedForEachPageLikeHeaders) {
    std::vector<int32_t> headerPages, footerPages;
    TViziVodu header(nullptr), footer(nullptr);
    for (auto [view, pages] : {std::pair{&header, &headerPages}, {&footer, &footerPages}}) {
        view->SetStyle(&F.Style);
        view->AddNL(u"Page ", 0, 0);
        view->AddItem(u"", std::make_unique<vizivodu::test::TRecordingPageNumber>(
                               &view->GetVDData(), *pages));
        view->GetVDData().GetItem(1)->SetSameAsPrev(true);
    }
    F.Print.SetHeader(&header.GetVDData(), vdhftNormal);
    F.Print.SetFooter(&footer.GetVDData(), vdhftNormal);
    F.Print.PageNoFromNumber = 5;
    ASSERT_EQ(F.Paginate(), 3);
    headerPages.clear();
    footerPages.clear();
    F.Print.Print(u"numbers", 1, false);
    EXPECT_EQ(headerPages, (std::vector<int32_t>{503, 603, 703}));
    EXPECT_EQ(footerPages, headerPages);
    F.Print.SetHeader(nullptr, vdhftNormal);
    F.Print.SetFooter(nullptr, vdhftNormal);
}

// A footnote on the last page of text and an endnote that runs on to a sheet of its own, read
// back from the printed file page by page: the footnote on its reference's page only, the
// endnote's lines after the text and on the sheet after it, each once.
TEST_F(PdfJob, FootnotesAndEndnotesArePrintedOnTheirPages) {
    test::AddNote<TVDFootnoteItemInfo>(F.Source, [](TVDFootnoteItemInfo &note) {
        note.GetDocument().AddNL(u"Footnote text", 0, 0);
    });
    test::AddNote<TVDEndnoteItemInfo>(F.Source, [](TVDEndnoteItemInfo &note) {
        for (int i = 0; i < 40; ++i) {
            note.GetDocument().AddNL(u"Endnote line " + rtl::Utf8ToUtf16(std::to_string(i)), 0, 0);
        }
    });
    ASSERT_EQ(F.Paginate(), 4);
    F.Print.Print(u"notes", 1, false);
    ASSERT_TRUE(fs::exists(File));
    if (!HaveTool("pdftotext")) {
        GTEST_SKIP() << "poppler-utils are not installed";
    }
    std::string pages[5];
    for (int page = 1; page <= 4; ++page) {
        pages[page] = PdfPageText(File.string(), page);
    }
    const auto on = [&](const std::string &text) {
        std::string where;
        for (int page = 1; page <= 4; ++page) {
            for (size_t at = pages[page].find(text + "\n"); at != std::string::npos;
                 at = pages[page].find(text + "\n", at + 1)) {
                where += std::to_string(page);
            }
        }
        return where;
    };
    // The last line with the footnote's number and the endnote's.
    EXPECT_EQ(on("Line 1291i"), "3") << pages[3];
    EXPECT_EQ(on("Footnote text"), "3") << pages[3];
    EXPECT_EQ(on("Endnote line 0"), "3") << pages[3];
    EXPECT_EQ(on("Endnote line 39"), "4") << pages[4];
    for (int i = 0; i < 40; ++i) {
        EXPECT_EQ(on("Endnote line " + std::to_string(i)).size(), 1u) << i;
    }
}

// The header sits HeaderY below the sheet's top and the footer FooterY above its bottom; the
// text area keeps clear of both, so fewer lines fit a page.
TEST(PrintComponent, HeadersAndFootersTakeTheirPlaceOnThePage) {
    test::TPrintFixture f;
    for (int i = 0; i < 200; ++i) {
        f.Source.AddNL(u"Line", 0, 0);
    }
    PageFooter footer(f.Style);
    f.Print.SetFooter(&footer.View.GetVDData(), vdhftNormal);
    f.Print.SetHeaderYMM(50); // 1181 pixels: the header reaches to 1306, past the 472 margin
    ASSERT_EQ(f.Paginate(), 5);
    EXPECT_EQ(f.Print.GetHeaderRect(1), rtl::TRect{}); // no normal header
    const rtl::TRect fr = f.Print.GetFooterRect(2);
    // 10 mm (236 pixels) above the bottom edge, one line of 125 pixels.
    EXPECT_EQ(fr, rtl::Rect(472, 7015 - 236 - 125, 4960 - 472, 7015 - 236));
    PageFooter header(f.Style);
    f.Print.SetHeader(&header.View.GetVDData(), vdhftNormal);
    ASSERT_EQ(f.Paginate(), 5);
    EXPECT_EQ(f.Print.GetHeaderRect(3), rtl::Rect(472, 1181, 4960 - 472, 1306));
    // 7015 - 1306 - 472 - 2 x 31 (the viewer's own 5-pixel margins) = 5175: 41 lines a page.
    EXPECT_EQ(f.Data().GetContentHeightForPage(1), 7015 - 1306 - 472);
    EXPECT_EQ(f.Paginate(), 5);
    int32_t startNo = 0, endNo = 0, part = 0;
    f.Data().GetDrawItemsRange(2, startNo, endNo, part);
    EXPECT_EQ(startNo, 41);
}

// Margins in millimetres at 600 dpi, and the page kinds: a title page without the normal header,
// mirrored margins on even pages.
TEST(PrintComponent, PageMetricsAndMargins) {
    test::TPrintFixture f;
    for (int i = 0; i < 100; ++i) {
        f.Source.AddNL(u"Line", 0, 0);
    }
    f.Print.SetLeftMarginMM(30);
    f.Print.SetRightMarginMM(10);
    f.Print.SetTopMarginMM(25);
    f.Print.SetBottomMarginMM(15);
    EXPECT_EQ(f.Print.GetLeftMarginMM(), 30);
    ASSERT_GE(f.Paginate(), 2);
    TCustomMainPtblVDData &data = f.Data();
    EXPECT_EQ(data.GetPageWidth(), 4960);
    EXPECT_EQ(data.GetPageHeight(), 7015);
    EXPECT_EQ(data.GetPrintableAreaLeft(1), 709); // 30 mm
    EXPECT_EQ(data.GetPrintableAreaTop(1), 591);  // 25 mm
    EXPECT_EQ(data.GetWidth(), 4960 - 709 - 236); // less 10 mm
    EXPECT_EQ(data.GetContentHeightForPage(1), 7015 - 591 - 354);
    f.Print.SetMirrorMargins(true);
    ASSERT_GE(f.Paginate(), 2);
    EXPECT_EQ(data.GetPrintableAreaLeft(1), 709);
    EXPECT_EQ(data.GetPrintableAreaLeft(2), 236);
    EXPECT_EQ(data.GetHFType(1), vdhftNormal);
    f.Print.SetTitlePage(true);
    f.Print.SetFacingPages(true);
    EXPECT_EQ(data.GetHFType(1), vdhftFirstPage);
    EXPECT_EQ(data.GetHFType(2), vdhftEvenPages);
    EXPECT_EQ(data.GetHFType(3), vdhftNormal);
    rtl::TRect minimal;
    f.Print.GetMinimalMargins(minimal, false);
    EXPECT_EQ(minimal, rtl::TRect{}); // the PDF printer's sheet has no border
}

// Margins wider than the sheet are narrowed to fit it: no negative text width.
TEST(PrintComponent, MarginsWiderThanTheSheetAreFitted) {
    test::TPrintFixture f;
    f.Source.AddNL(u"Line", 0, 0);
    f.Print.SetLeftMarginMM(150);
    f.Print.SetRightMarginMM(150);
    ASSERT_EQ(f.Paginate(), 1);
    EXPECT_GE(f.Data().GetWidth(), 0);
    EXPECT_LE(f.Data().GetPrintableAreaLeft(1) + f.Data().GetWidth(), 4960);
}

// Without a usable printer (a queue that answers nothing) the pages are the PDF printer's: the
// preview and page pictures are never blank.
TEST(PrintComponent, WithoutAPrinterPaginationUsesThePdfPrintersPage) {
    test::TPrintFixture f;
    f.Source.AddNL(u"Line", 0, 0);
    gfx::Printer().SetSystemPrintersForTesting({u"Gone"});
    gfx::Printer().SetPrinterIndex(0);
    const int32_t pages = f.Paginate();
    gfx::Printer().SetSystemPrintersForTesting({});
    ASSERT_EQ(pages, 1);
    EXPECT_TRUE(f.Print.IsDestinationReady());
    EXPECT_EQ(f.Data().GetPageWidth(), 4960);
    EXPECT_EQ(f.Data().GetPageHeight(), 7015);
}

// The control draws nothing outside the component's page range; the document refuses a page
// that does not exist.
TEST(PrintComponent, PagesOutsideTheDocument) {
    test::TPrintFixture f;
    f.Source.AddNL(u"Line", 0, 0);
    ASSERT_EQ(f.Paginate(), 1);
    gfx::TBitmap bmp(10, 10);
    f.Print.GetVD().DrawPage(2, bmp.GetCanvas(), true, false);
    try {
        f.Data().CheckPageNo(2);
        ADD_FAILURE() << "no error";
    } catch (const EViziVoduError &e) {
        EXPECT_EQ(e.Message(), u"Invalid page number is specified for printing");
    }
    // The preview of a page that is not there is a white rectangle.
    f.Print.DrawPreview(2, bmp.GetCanvas(), rtl::Rect(0, 0, 10, 10));
    EXPECT_EQ(bmp.GetCanvas().GetPixel(5, 5), gfx::clWhite);
}

// The printing component's documents share the items of the viewers they print: destroying
// the component leaves those items to their viewers.
TEST(PrintComponent, DocumentsSharingItemsFreeNoneOfThemWhenDestroyed) {
    test::TLayoutStyle style;
    TViziVodu header(nullptr);
    header.SetStyle(&style);
    header.AddNL(u"Header", 0, 0);
    {
        test::TPrintFixture f;
        f.Source.AddNL(u"Line", 0, 0);
        f.Print.SetHeader(&header.GetVDData(), vdhftNormal);
        ASSERT_EQ(f.Paginate(), 1);
    }
    ASSERT_EQ(header.ItemCount(), 1);
    EXPECT_EQ(header.GetVDData().GetItemTextW(0), u"Header");
}

TEST(PrintComponent, TheLinkDropsWhenTheSourceIsDestroyed) {
    test::TPrintFixture f;
    auto source = std::make_unique<TViziVodu>(nullptr);
    source->SetStyle(&f.Style);
    source->AddNL(u"Line", 0, 0);
    f.Print.AssignSource(source.get());
    ASSERT_EQ(f.Print.FormatPages(), 1);
    source.reset();
    EXPECT_EQ(f.Print.GetSourceViziVodu(), nullptr);
    EXPECT_FALSE(f.Print.GetReady());
    EXPECT_EQ(f.Print.FormatPages(), 0);
}

} // namespace

namespace {

// The same job through a CUPS queue, when one is named in WB_CUPS_PRINTER (none on CI).
TEST(PrintComponent, PrintsThroughACupsQueueWhenOneIsNamed) {
    const char *queue = std::getenv("WB_CUPS_PRINTER");
    if (!queue || !*queue) {
        GTEST_SKIP() << "no CUPS queue named in WB_CUPS_PRINTER";
    }
    test::TPrintFixture f;
    gfx::TPrinter &printer = gfx::Printer();
    const auto &names = printer.GetPrinters();
    const auto found = std::find(names.begin(), names.end(), rtl::Utf8ToUtf16(queue));
    ASSERT_NE(found, names.end()) << queue << " is not among the system's printers";
    printer.SetPrinterIndex(int32_t(found - names.begin()));
    for (int i = 0; i < 130; ++i) {
        f.Source.AddNL(u"Line " + rtl::Utf8ToUtf16(std::to_string(i)), 0, 0);
    }
    EXPECT_GE(f.Paginate(), 1);
    int pages = 0;
    f.Print.OnSendingToPrinter = [&](TCustomViziVodu *, int32_t, TVDPrintingStep step) {
        pages += step == vdpsProceeding ? 1 : 0;
    };
    f.Print.Print(u"Отчет ЗЕМБРАК", 1, false);
    EXPECT_EQ(pages, f.Print.GetPagesCount());
    EXPECT_FALSE(printer.GetPrinting());
    test::ChoosePdfPrinter();
}

} // namespace

namespace {

// "Page ", the page number, " of ", the page count: the footer of every printed page reads its
// own page's number (from PageNoFromNumber on, in the field's number type) and the count.
TEST_F(PdfJob, PageFieldsInAFooterPrintTheirPageAndThePageCount) {
    if (!HaveTool("pdftotext")) {
        GTEST_SKIP() << "poppler-utils are not installed";
    }
    struct Case {
        TVDPageNumberType Type;
        int32_t From;
        std::vector<std::string> Expected;
    };
    // Compared without spaces: words stand where the fixed metrics put them, which the real
    // font's narrower glyphs leave too close for the reader to see every space.
    for (const Case &c : {Case{vdpntDefault, 1, {"Page1of3", "Page2of3", "Page3of3"}},
                          Case{vdpntUpperRoman, 4, {"PageIVof3", "PageVof3", "PageVIof3"}}}) {
        TViziVodu footer(nullptr);
        footer.SetStyle(&F.Style);
        footer.AddNL(u"Page ", 0, 0);
        footer.AddItem(u"",
                       std::make_unique<TVDPageNumberItemInfo>(&footer.GetVDData(), c.Type, 0));
        footer.AddNL(u" of ", 0, -1);
        footer.AddItem(
            u"", std::make_unique<TVDPageCountItemInfo>(&footer.GetVDData(), vdpntDefault, 0));
        for (int32_t i = 1; i <= 3; ++i) {
            footer.GetVDData().GetItem(i)->SetSameAsPrev(true);
        }
        F.Print.SetFooter(&footer.GetVDData(), vdhftNormal);
        F.Print.PageNoFromNumber = c.From;
        ASSERT_EQ(F.Paginate(), 3);
        fs::remove(File);
        F.Print.Print(u"fields", 1, false);
        F.Print.SetFooter(nullptr, vdhftNormal);
        for (int page = 1; page <= 3; ++page) {
            std::string text = PdfPageText(File.string(), page);
            std::erase(text, ' ');
            EXPECT_NE(text.find(c.Expected[page - 1] + "\n"), std::string::npos) << page << "\n"
                                                                                 << text;
        }
    }
}

} // namespace

namespace {

// Regression: the last printed item's page was the page where it begins, so an item that runs
// on over two pages lost its second. 40 one-line paragraphs, a paragraph of 20 lines (lines
// 41 to 60: pages 1 and 2), one more line.
TEST(PrintComponent, LastPageNoIsThePageWhereTheLastPrintedItemEnds) {
    test::TPrintFixture f;
    for (int i = 0; i < 40; ++i) {
        f.Source.AddNL(u"Line", 0, 0);
    }
    std::u16string words;
    for (int i = 0; i < 20 * 9; ++i) {
        words += u"word ";
    }
    f.Source.AddNL(words, 0, 0);
    f.Source.AddNL(u"Last", 0, 0);
    ASSERT_EQ(f.Paginate(), 2);
    f.Print.MaxPrintedItemNo = 40;
    EXPECT_EQ(f.Print.GetLastPageNo(), 2);
    f.Print.MaxPrintedItemNo = 39;
    EXPECT_EQ(f.Print.GetLastPageNo(), 1);
}

// Regression: assigning document parameters switched the component to their units; the
// lengths are converted to the component's units instead.
TEST(PrintComponent, DocumentParametersKeepTheComponentsUnits) {
    test::TPrintFixture f;
    TVDDocParameters params; // inches
    params.LeftMargin = 1;
    params.HeaderY = 0.5L;
    f.Print.AssignDocParameters(params);
    EXPECT_EQ(f.Print.GetUnits(), vduMillimeters);
    EXPECT_NEAR(double(f.Print.GetMargins().Left), 25.4, 1e-9);
    EXPECT_NEAR(double(f.Print.GetHeaderY()), 12.7, 1e-9);
    EXPECT_EQ(f.Print.GetLeftMarginMM(), 25);
}

// Each page is reported to the progress event once it has been drawn; the job starts its text
// at the top of page 1.
TEST_F(PdfJob, ProgressIsReportedAfterEachPageIsDrawn) {
    ASSERT_EQ(F.Paginate(), 3);
    std::vector<std::string> events;
    F.Print.OnPagePrepaint = [&](TVDPrint *, int32_t pageNo, gfx::TCanvas &, bool,
                                 const rtl::TRect &, const rtl::TRect &) {
        events.push_back("draw " + std::to_string(pageNo));
    };
    F.Print.OnSendingToPrinter = [&](TCustomViziVodu *, int32_t page, TVDPrintingStep step) {
        if (step == vdpsProceeding) {
            events.push_back("sent " + std::to_string(page));
        }
    };
    F.Print.StartAt = 100;
    F.Print.PrintPages(1, 2, u"progress", 1, false);
    EXPECT_EQ(events, (std::vector<std::string>{"draw 1", "sent 1", "draw 2", "sent 2"}));
    EXPECT_EQ(F.Print.StartAt, 0);
}

} // namespace
