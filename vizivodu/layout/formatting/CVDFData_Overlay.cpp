// Drawings over the formatted document that are removed by drawing them again: the
// exclusive-or image of a drag in progress (a table border being moved) and the drag-and-drop
// caret.
#include "vizivodu/layout/formatting/CVDFData.h"

#include "vizivodu/layout/text/VDGrIn.h"
#include "vizivodu/styles/VDStyle.h"

#include "platform/rtl/ScopeExit.h"
#include "platform/ui/Control.h"

namespace vizivodu {

namespace {

// Puts the canvas transform back however the drawing between ends.
class TTransformScope {
public:
    TTransformScope(TCustomVDFormattedData &doc, gfx::TCanvas &canvas, TVDTransformBase base)
        : FDoc(doc), FCanvas(canvas) {
        FDoc.PrepareTransform(FCanvas, FState, 0, 0, base, -1);
    }
    ~TTransformScope() { FDoc.RestoreTransform(FCanvas, FState); }
    TTransformScope(const TTransformScope &) = delete;
    TTransformScope &operator=(const TTransformScope &) = delete;

private:
    TCustomVDFormattedData &FDoc;
    gfx::TCanvas &FCanvas;
    TVDStoreDocTransform FState;
};

bool ParentControlDestroying(TCustomVDFormattedData &doc) {
    ui::TControl *control = doc.GetParentControl();
    return control && control->IsDestroying();
}

} // namespace

// ---- Exclusive-or drawing ----

void TCustomVDFormattedData::AssignXorDrawing(const void *owner, TVDXorDrawingProc proc) {
    ClearXorDrawing();
    FXORDrawingOwner = owner;
    FXORDrawing = std::move(proc);
}

void TCustomVDFormattedData::UnAssignXorDrawing(const void *owner) {
    if (owner != FXORDrawingOwner) {
        return;
    }
    if (!ParentControlDestroying(*this)) {
        ClearXorDrawing();
    }
    FXORDrawingOwner = nullptr;
    FXORDrawing = nullptr;
    XorImageDrawn = false;
}

bool TCustomVDFormattedData::ClearXorDrawing() {
    if (!XorImageDrawn) {
        return false;
    }
    XorDrawing();
    return true;
}

void TCustomVDFormattedData::XorDrawingEx(int32_t x, int32_t y) {
    RotateCoordsFromScreenToDoc(x, y, false, false);
    MouseX = x;
    MouseY = y;
    XorDrawing();
}

// The callback draws in document coordinates: a rotated document's canvas turns them.
void TCustomVDFormattedData::XorDrawing() {
    if (!FXORDrawing) {
        return;
    }
    gfx::TCanvas *canvas = GetCanvas();
    if (canvas && GetVDStyle()) {
        TTransformScope transform(*this, *canvas, vdtrbAbsRoot);
        FXORDrawing(*this, MouseX, MouseY);
    } else {
        FXORDrawing(*this, MouseX, MouseY);
    }
    XorImageDrawn = !XorImageDrawn;
}

// ---- The drag-and-drop caret ----

void TCustomVDFormattedData::SetDragDropCaret(int32_t itemNo, int32_t offs) {
    TVDDragDropCaretInfo *caret = GetDragDropCaretInfo();
    if (!caret) {
        return;
    }
    caret->VDData = this;
    caret->ItemNo = itemNo;
    caret->ItemOffs = offs;
    int32_t x = 0, top = 0, bottom = 0;
    GetCoordsOf(itemNo, offs, x, top, bottom);
    caret->X = x;
    caret->Y = top;
    caret->Height = bottom - top;
}

void TCustomVDFormattedData::SetDragDropCaretTo(int32_t x, int32_t y) {
    TVDDragDropCaretInfo *caret = GetDragDropCaretInfo();
    if (!caret) {
        return;
    }
    RemoveDragDropCaret();
    TCustomVDFormattedData *found = nullptr;
    int32_t itemNo = -1, offs = 0;
    bool inOwner = false;
    GetItemAtEx(x + GetHOffs(), y + GetVOffs(), found, itemNo, offs, false, true, inOwner, false,
                true);
    if (itemNo >= 0 && found) {
        found->SetDragDropCaret(itemNo, offs);
    }
    if (gfx::TCanvas *canvas = GetCanvas()) {
        DrawDragDropCaret(*canvas, false);
    }
    if (!inOwner && caret->VDData) {
        caret->VDData->ShowRectangle(caret->X, caret->Y, 1, caret->Height);
    }
}

void TCustomVDFormattedData::RemoveDragDropCaret() {
    if (gfx::TCanvas *canvas = GetCanvas()) {
        DrawDragDropCaret(*canvas, false);
    }
}

void TCustomVDFormattedData::DrawDragDropCaret(gfx::TCanvas &canvas, bool redirected) {
    TVDDragDropCaretInfo *caret = GetDragDropCaretInfo();
    if (!caret || !caret->VDData) {
        return;
    }
    if (caret->VDData != this) {
        if (!redirected) {
            if (gfx::TCanvas *own = caret->VDData->GetCanvas()) {
                caret->VDData->DrawDragDropCaret(*own, true);
            }
        }
        return;
    }
    TVDStyle *style = GetVDStyle();
    if (!style) {
        return;
    }
    ResetSubCoords();
    TTransformScope transform(*this, canvas, vdtrbRecursive);
    gfx::TPen &pen = canvas.GetPen();
    pen.SetMode(gfx::pmNot);
    pen.SetWidth(1);
    pen.SetStyle(gfx::psDot);
    canvas.GetBrush().SetStyle(gfx::bsClear);
    const rtl::TScopeExit penBack([&pen]() noexcept {
        pen.SetStyle(gfx::psSolid);
        pen.SetMode(gfx::pmCopy);
    });
    // From this document's coordinates to the root's client area: the origin (in the root's
    // coordinates), less the root's offsets (scrolling, and the place of a short document).
    auto *root = dynamic_cast<TCustomVDFormattedData *>(GetRootData());
    if (!root) {
        root = this;
    }
    const rtl::TPoint origin = GetOrigin();
    const int32_t x = caret->X + origin.X - root->GetHOffs();
    const int32_t y = caret->Y + origin.Y - root->GetVOffs();
    style->GetGraphicInterface().LineDragDropCaret(canvas, x, y, y + caret->Height);
}

} // namespace vizivodu
