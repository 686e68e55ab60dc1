// Test support for printing: a source viewer on the fixed-metrics style sheet measured at the
// PDF printer's 600 dpi, the printing component linked to it, the text of each page, the texts
// a page draws, and jobs written to a file.
#pragma once

#include "tests/vizivodu/DocumentTestSupport.h"
#include "tests/vizivodu/LayoutTestSupport.h"
#include "vizivodu/document/VDFieldItems.h"
#include "vizivodu/layout/printing/PtblVD.h"
#include "vizivodu/layout/viewer/ViziVodu.h"

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Printers.h"
#include "platform/rtl/System.h"

#include <memory>
#include <string>
#include <vector>

namespace vizivodu::test {

// The fixed metrics, with the text drawn by the canvas itself (the font engine), so that a
// reader of the printed file finds it, and the resolutions the devices report (the screen's
// pixel canvases 96, the PDF printer 600).
class TCanvasTextGraphicInterface : public TFixedGraphicInterface {
public:
    int32_t GetDeviceCaps(gfx::TCanvas &canvas, int32_t index) override {
        return canvas.GetDeviceCaps(index);
    }
    // Translucent fills blend as on a real device.
    void FillRectAlpha(gfx::TCanvas &canvas, const rtl::TRect &r, gfx::TColor color,
                       uint8_t opacity) override {
        if (color != gfx::clNone) {
            canvas.FillRectAlpha(r, color, opacity);
        }
    }
    // false: the text is recorded (and drawn as boxes) as by the fixed metrics.
    bool CanvasText = true;
    void TextOut(gfx::TCanvas &canvas, int32_t x, int32_t y, const TVDTextRun &run,
                 TVDTextOutput output) override {
        if (!CanvasText) {
            TFixedGraphicInterface::TextOut(canvas, x, y, run, output);
            return;
        }
        canvas.TextOut(x, y, Units(run));
    }
    void TextOutWithDX(gfx::TCanvas &canvas, int32_t x, int32_t y, const TVDTextRun &run,
                       TVDTextOutput output, TCustomVDGlyphDXData &data) override {
        if (!CanvasText) {
            TFixedGraphicInterface::TextOutWithDX(canvas, x, y, run, output, data);
            return;
        }
        canvas.TextOut(x, y, Units(run));
    }
};

// Makes the built-in PDF printer the current printer, whatever queues the machine has.
inline void ChoosePdfPrinter() {
    gfx::TPrinter &printer = gfx::Printer();
    printer.SetSystemPrintersForTesting({});
    const std::vector<rtl::UnicodeString> &names = printer.GetPrinters();
    for (size_t k = 0; k < names.size(); ++k) {
        if (names[k] == gfx::PdfPrinterName) {
            printer.SetPrinterIndex(int32_t(k));
        }
    }
}

// Makes the current printer write its jobs to a file for the scope's life, and no longer when
// it ends (also when an assertion leaves the test early, so that later tests do not print
// into a removed folder).
class TPrintToFile {
public:
    explicit TPrintToFile(const rtl::UnicodeString &fileName) {
        gfx::Printer().SetFileName(fileName);
    }
    ~TPrintToFile() { gfx::Printer().SetFileName(u""); }
    TPrintToFile(const TPrintToFile &) = delete;
    TPrintToFile &operator=(const TPrintToFile &) = delete;
};

class TPrintFixture {
public:
    TPrintFixture() : Source(nullptr), Print(nullptr) {
        ChoosePdfPrinter();
        auto gi = std::make_unique<TCanvasTextGraphicInterface>();
        Style.GI = gi.get();
        GI = gi.get();
        Style.SetGraphicInterfaceForTesting(std::move(gi));
        Style.GI->DevicePPI = 600;
        Style.GI->RecordTextOps = false;
        Source.SetStyle(&Style);
    }

    // Links the source and paginates.
    int32_t Paginate() {
        Print.AssignSource(&Source);
        return Print.FormatPages();
    }

    TCustomMainPtblVDData &Data() { return Print.GetVD().GetPrintData(); }

    // The text of a page's draw items: text items by their parts, every line (and object)
    // after the first of a paragraph joined with a space, paragraphs with "\n".
    std::string PageText(int32_t pageNo) {
        TCustomMainPtblVDData &data = Data();
        int32_t startNo = 0, endNo = -1, part = -1;
        data.GetDrawItemsRange(pageNo, startNo, endNo, part);
        std::u16string out;
        for (int32_t i = startNo; i <= endNo; ++i) {
            const TVDDrawLineInfo &d = *data.DrawItems[i];
            if (i > startNo && data.IsDrawItemParaStart(i)) {
                out += u'\n';
            }
            TCustomVDItemInfo *item = data.GetItem(d.ItemNo);
            if (item->IsText()) {
                const std::u16string text =
                    rtl::Utf8ToUtf16(rtl::Utf16ToUtf8(data.GetItemTextW(d.ItemNo)));
                out += text.substr(static_cast<size_t>(d.Offs - 1), static_cast<size_t>(d.Length));
            } else {
                out += u'[';
                out += rtl::Utf8ToUtf16(std::to_string(d.ItemNo));
                out += u']';
            }
        }
        return rtl::Utf16ToUtf8(out);
    }

    TLayoutStyle Style;
    TCanvasTextGraphicInterface *GI = nullptr;
    TViziVodu Source;
    TVDPrint Print;
};

// Printing with the text recorded (and drawn as boxes) by the fixed metrics, so that a test reads
// back what a page shows.
class TRecordingPrintFixture : public TPrintFixture {
public:
    // The preview at 100 %: A4 at 600 dpi shown at 96 dpi.
    static constexpr int32_t SheetWidth = 794, SheetHeight = 1122;

    TRecordingPrintFixture() {
        GI->CanvasText = false;
        GI->RecordTextOps = true;
    }

    // A printer pixel in the preview at 100 %, rounded.
    static int32_t Px(int32_t printer) {
        return int32_t(int64_t(printer) * SheetWidth * 2 / 4960 + 1) / 2;
    }

    // Adds count paragraphs "Line n" to the source, numbered on from the last ones added.
    void Lines(int count) {
        for (int i = 0; i < count; ++i) {
            Source.AddNL(u"Line " + rtl::Utf8ToUtf16(std::to_string(Line++)), 0, 0);
        }
    }

    // The texts drawn on a page of the preview at 100 % into bmp (sized to the sheet), in order.
    std::vector<std::u16string> PreviewTexts(int32_t pageNo, gfx::TBitmap &bmp) {
        bmp.SetSize(SheetWidth, SheetHeight);
        GI->TextOps.clear();
        Print.DrawPreview(pageNo, bmp.GetCanvas(), rtl::Rect(0, 0, SheetWidth, SheetHeight));
        return DrawnTexts();
    }
    std::vector<std::u16string> PreviewTexts(int32_t pageNo) {
        gfx::TBitmap bmp;
        return PreviewTexts(pageNo, bmp);
    }

    // The texts drawn when a page is printed, in order.
    std::vector<std::u16string> PageTexts(int32_t pageNo) {
        gfx::TBitmap bmp(8, 8);
        GI->TextOps.clear();
        Print.GetVD().DrawPage(pageNo, bmp.GetCanvas(), false, false);
        return DrawnTexts();
    }

    int Line = 0;

private:
    std::vector<std::u16string> DrawnTexts() const {
        std::vector<std::u16string> texts;
        for (const auto &op : GI->TextOps) {
            texts.push_back(op.Text);
        }
        return texts;
    }
};

// A page-number field that records the pages it is post-formatted for (page x 100 + count).
class TRecordingPageNumber : public TVDPageNumberItemInfo {
public:
    TRecordingPageNumber(TCustomVDData *vdData, std::vector<int32_t> &pages)
        : TVDPageNumberItemInfo(vdData, vdpntDefault, 0), FPages(pages) {}
    void AdjustSubitemsDIWidth(int32_t pageNo, int32_t pageCount, int32_t,
                               TVDDrawLineInfo &) override {
        FPages.push_back(pageNo * 100 + pageCount);
    }

private:
    std::vector<int32_t> &FPages;
};

} // namespace vizivodu::test
