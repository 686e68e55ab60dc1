// Test support for printing: the canvas-text graphic interface, the print fixtures and the
// recording page number.
#include "tests/vizivodu/layout/printing/PrintTestSupport.h"

namespace vizivodu::test {

int32_t TCanvasTextGraphicInterface::GetDeviceCaps(gfx::TCanvas &canvas, int32_t index) {
    return canvas.GetDeviceCaps(index);
}

void TCanvasTextGraphicInterface::FillRectAlpha(gfx::TCanvas &canvas, const rtl::TRect &r,
                                                gfx::TColor color, uint8_t opacity) {
    if (color != gfx::clNone) {
        canvas.FillRectAlpha(r, color, opacity);
    }
}

void TCanvasTextGraphicInterface::TextOut(gfx::TCanvas &canvas, int32_t x, int32_t y,
                                          const TVDTextRun &run, TVDTextOutput output) {
    if (!CanvasText) {
        TFixedGraphicInterface::TextOut(canvas, x, y, run, output);
        return;
    }
    canvas.TextOut(x, y, Units(run));
}

void TCanvasTextGraphicInterface::TextOutWithDX(gfx::TCanvas &canvas, int32_t x, int32_t y,
                                                const TVDTextRun &run, TVDTextOutput output,
                                                TCustomVDGlyphDXData &data) {
    if (!CanvasText) {
        TFixedGraphicInterface::TextOutWithDX(canvas, x, y, run, output, data);
        return;
    }
    canvas.TextOut(x, y, Units(run));
}

void ChoosePdfPrinter() {
    gfx::TPrinter &printer = gfx::Printer();
    printer.SetSystemPrintersForTesting({});
    const std::vector<rtl::UnicodeString> &names = printer.GetPrinters();
    for (size_t k = 0; k < names.size(); ++k) {
        if (names[k] == gfx::PdfPrinterName) {
            printer.SetPrinterIndex(int32_t(k));
        }
    }
}

TPrintToFile::TPrintToFile(const rtl::UnicodeString &fileName) {
    gfx::Printer().SetFileName(fileName);
}

TPrintToFile::~TPrintToFile() {
    gfx::Printer().SetFileName(u"");
}

TPrintFixture::TPrintFixture() : Source(nullptr), Print(nullptr) {
    ChoosePdfPrinter();
    auto gi = std::make_unique<TCanvasTextGraphicInterface>();
    Style.GI = gi.get();
    GI = gi.get();
    Style.SetGraphicInterfaceForTesting(std::move(gi));
    Style.GI->DevicePPI = 600;
    Style.GI->RecordTextOps = false;
    Source.SetStyle(&Style);
}

int32_t TPrintFixture::Paginate() {
    Print.AssignSource(&Source);
    return Print.FormatPages();
}

TCustomMainPtblVDData &TPrintFixture::Data() {
    return Print.GetVD().GetPrintData();
}

std::string TPrintFixture::PageText(int32_t pageNo) {
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

TRecordingPrintFixture::TRecordingPrintFixture() {
    GI->CanvasText = false;
    GI->RecordTextOps = true;
}

int32_t TRecordingPrintFixture::Px(int32_t printer) {
    return int32_t(int64_t(printer) * SheetWidth * 2 / 4960 + 1) / 2;
}

void TRecordingPrintFixture::Lines(int count) {
    for (int i = 0; i < count; ++i) {
        Source.AddNL(u"Line " + rtl::Utf8ToUtf16(std::to_string(Line++)), 0, 0);
    }
}

std::vector<std::u16string> TRecordingPrintFixture::PreviewTexts(int32_t pageNo,
                                                                 gfx::TBitmap &bmp) {
    bmp.SetSize(SheetWidth, SheetHeight);
    GI->TextOps.clear();
    Print.DrawPreview(pageNo, bmp.GetCanvas(), rtl::Rect(0, 0, SheetWidth, SheetHeight));
    return DrawnTexts();
}

std::vector<std::u16string> TRecordingPrintFixture::PreviewTexts(int32_t pageNo) {
    gfx::TBitmap bmp;
    return PreviewTexts(pageNo, bmp);
}

std::vector<std::u16string> TRecordingPrintFixture::PageTexts(int32_t pageNo) {
    gfx::TBitmap bmp(8, 8);
    GI->TextOps.clear();
    Print.GetVD().DrawPage(pageNo, bmp.GetCanvas(), false, false);
    return DrawnTexts();
}

std::vector<std::u16string> TRecordingPrintFixture::DrawnTexts() const {
    std::vector<std::u16string> texts;
    for (const auto &op : GI->TextOps) {
        texts.push_back(op.Text);
    }
    return texts;
}

TRecordingPageNumber::TRecordingPageNumber(TCustomVDData *vdData, std::vector<int32_t> &pages)
    : TVDPageNumberItemInfo(vdData, vdpntDefault, 0), FPages(pages) {}

void TRecordingPageNumber::AdjustSubitemsDIWidth(int32_t pageNo, int32_t pageCount, int32_t,
                                                 TVDDrawLineInfo &) {
    FPages.push_back(pageNo * 100 + pageCount);
}

} // namespace vizivodu::test
