// Internals of page drawing shared by its units: one page being drawn, and the passes over its
// draw items.
#pragma once

#include "vizivodu/layout/printing/PtVDData.h"

namespace vizivodu {

// One page of a printable document being drawn onto a canvas.
struct TVDPageDrawing {
    gfx::TCanvas &Canvas;
    int32_t PageNo = 0;       // the document's own page
    int32_t GlobalPageNo = 0; // the job's page
    bool Preview = false;
    bool Correction = false;
    bool ForMetafile = false; // the printing component's metafile compatibility
    // The page's draw items and the part of a split item that begins it (-1: a whole item).
    int32_t StartNo = 0, EndNo = -1, Part = -1;
    // The items printed.
    int32_t MinItemNo = 0, MaxItemNo = -1;
};

// Paints the page's draw items: first the paragraph backgrounds and borders and the text
// backgrounds, then the content (text, objects, checkpoint signs, the printed-link hooks).
// Items outside MinItemNo .. MaxItemNo get no content. Temporary bitmaps are released also
// when drawing raises.
void DrawPageItems(TCustomPrintableVDData &doc, const TVDPageDrawing &page);

// colour under a colour mode as a page shows a fill: printer colours, grey, or white paper.
gfx::TColor PageFillColor(gfx::TColor color, TVDColorMode colorMode);

// The item of owner (the main document, or a header or footer) that holds item itemNo of doc,
// a document printed on owner's pages: a table for an item in a cell.
int32_t RootItemNo(TCustomVDFormattedData *doc, int32_t itemNo, TCustomPrintableVDData &owner);

// A 32-bit bitmap of width x height for a piece printed through a bitmap.
void PrepareWorkBitmap(gfx::TBitmap &bmp, int32_t width, int32_t height);

} // namespace vizivodu
