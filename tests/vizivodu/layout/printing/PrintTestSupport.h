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
    int32_t GetDeviceCaps(gfx::TCanvas &canvas, int32_t index) override;
    // Translucent fills blend as on a real device.
    void FillRectAlpha(gfx::TCanvas &canvas, const rtl::TRect &r, gfx::TColor color,
                       uint8_t opacity) override;
    // false: the text is recorded (and drawn as boxes) as by the fixed metrics.
    bool CanvasText = true;
    void TextOut(gfx::TCanvas &canvas, int32_t x, int32_t y, const TVDTextRun &run,
                 TVDTextOutput output) override;
    void TextOutWithDX(gfx::TCanvas &canvas, int32_t x, int32_t y, const TVDTextRun &run,
                       TVDTextOutput output, TCustomVDGlyphDXData &data) override;
};

// Makes the built-in PDF printer the current printer, whatever queues the machine has.
void ChoosePdfPrinter();

// Makes the current printer write its jobs to a file for the scope's life, and no longer when
// it ends (also when an assertion leaves the test early, so that later tests do not print
// into a removed folder).
class TPrintToFile {
public:
    explicit TPrintToFile(const rtl::UnicodeString &fileName);
    ~TPrintToFile();
    TPrintToFile(const TPrintToFile &) = delete;
    TPrintToFile &operator=(const TPrintToFile &) = delete;
};

class TPrintFixture {
public:
    TPrintFixture();

    // Links the source and paginates.
    int32_t Paginate();

    TCustomMainPtblVDData &Data();

    // The text of a page's draw items: text items by their parts, every line (and object)
    // after the first of a paragraph joined with a space, paragraphs with "\n".
    std::string PageText(int32_t pageNo);

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

    TRecordingPrintFixture();

    // A printer pixel in the preview at 100 %, rounded.
    static int32_t Px(int32_t printer);

    // Adds count paragraphs "Line n" to the source, numbered on from the last ones added.
    void Lines(int count);

    // The texts drawn on a page of the preview at 100 % into bmp (sized to the sheet), in order.
    std::vector<std::u16string> PreviewTexts(int32_t pageNo, gfx::TBitmap &bmp);
    std::vector<std::u16string> PreviewTexts(int32_t pageNo);

    // The texts drawn when a page is printed, in order.
    std::vector<std::u16string> PageTexts(int32_t pageNo);

    int Line = 0;

private:
    std::vector<std::u16string> DrawnTexts() const;
};

// A page-number field that records the pages it is post-formatted for (page x 100 + count).
class TRecordingPageNumber : public TVDPageNumberItemInfo {
public:
    TRecordingPageNumber(TCustomVDData *vdData, std::vector<int32_t> &pages);
    void AdjustSubitemsDIWidth(int32_t pageNo, int32_t pageCount, int32_t,
                               TVDDrawLineInfo &) override;

private:
    std::vector<int32_t> &FPages;
};

} // namespace vizivodu::test
