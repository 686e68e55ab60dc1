// The print preview control: zoom geometry, the sheet's rectangle, painting through an
// off-screen bitmap, page navigation, the click that switches the zoom and the pinch, the
// magnifier cursors, the page image cache.
#include "vizivodu/layout/printing/VDPP.h"

#include "vizivodu/layout/printing/PtblVD.h"

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Metafile.h"
#include "platform/rtl/Rounding.h"

#include <algorithm>
#include <cmath>

namespace vizivodu {

namespace {

// The thickness of the scroll bars the whole-page zoom leaves room for.
constexpr int32_t ScrollBarMetric = 17;

// A 32 x 32 magnifier: a white lens in a black ring centred on the hot spot (10, 10), a handle
// to the lower right, a minus in the lens and, for zooming in, a plus.
void MakeMagnifier(gfx::TBitmap &bmp, bool plus) {
    constexpr uint32_t Black = 0xFF000000, White = 0xFFFFFFFF;
    bmp.SetPixelFormat(gfx::pf32bit);
    bmp.SetSize(32, 32);
    for (int32_t y = 0; y < 32; ++y) {
        uint32_t *row = bmp.ScanLine(y);
        for (int32_t x = 0; x < 32; ++x) {
            const int32_t dx = x - 10, dy = y - 10, d2 = dx * dx + dy * dy;
            const bool handle = x >= 15 && y >= 15 && x <= 26 && y <= 26 && std::abs(x - y) <= 1;
            const bool sign = (y >= 9 && y <= 10 && dx >= -4 && dx <= 4) ||
                              (plus && x >= 9 && x <= 10 && dy >= -4 && dy <= 4);
            row[x] = d2 <= 36 ? (sign ? Black : White) : d2 <= 64 || handle ? Black : 0;
        }
    }
}

// The pictures of the zoom cursors, given to the screen once.
void RegisterZoomCursors(ui::TCursor zoomIn, ui::TCursor zoomOut) {
    for (const auto &[cursor, plus] : {std::pair{zoomIn, true}, {zoomOut, false}}) {
        if (!ui::Screen->HasCursorImage(cursor)) {
            gfx::TBitmap bmp;
            MakeMagnifier(bmp, plus);
            ui::Screen->SetCursorImage(cursor, bmp, 10, 10);
        }
    }
}

} // namespace

// ---- TCustomVDPrintPreview ----

TCustomVDPrintPreview::TCustomVDPrintPreview(ui::TComponent *owner) : TVDScroller(owner) {
    SetColor(gfx::clBtnShadow);
    SetScrollFactor(10);
    SetWheelStep(20);
    SetBounds(GetLeft(), GetTop(), 100, 100);
    FMarginsPen.SetStyle(gfx::psClear);
    FMarginsPen.SetColor(gfx::TColor(0xC0C0C0));
    FPrintableAreaPen.SetStyle(gfx::psClear);
    FPrintableAreaPen.SetColor(gfx::TColor(0xFF));
    SetInteractiveGestures({ui::igZoom, ui::igPan, ui::igPressAndTap});
    RegisterZoomCursors(ZoomInCursor, ZoomOutCursor);
    UpdateCursor();
}

TCustomVDPrintPreview::~TCustomVDPrintPreview() = default;

// Scrolls the page's slot to the top of the view, then keeps the page as the shown one even
// when a short slot puts the view's middle on the next page.
void TCustomVDPrintPreview::SetPageNo(int32_t value) {
    if (CanDrawPage()) {
        const int32_t top = SlotTop(value) / GetVSmallStep();
        if (WindowCreated()) {
            SetVPos(top, true);
        } else {
            VPos = top; // without a window the position is a plain field
        }
    }
    FPageNo = value;
    Invalidate();
}

int32_t TCustomVDPrintPreview::SlotHeight() {
    const int32_t slot = 2 * BackgroundMargin + FPhysPageHeight;
    return FZoomMode == vdzmFullPage ? std::max(GetClientHeight(), slot) : slot;
}

// Pages stand one below the other; a stack shorter than the view is centred in it.
int32_t TCustomVDPrintPreview::SlotTop(int32_t pageNo) {
    const int32_t slot = SlotHeight();
    const int32_t stack = slot * std::max(1, GetPageCount());
    return std::max(0, GetClientHeight() - stack) / 2 + (pageNo - 1) * slot;
}

int32_t TCustomVDPrintPreview::PageAtViewMiddle() {
    const int32_t slot = std::max(1, SlotHeight());
    const int32_t middle = VPos * GetVSmallStep() + GetClientHeight() / 2 - SlotTop(1);
    return std::clamp(middle / slot + 1, 1, std::max(1, GetPageCount()));
}

void TCustomVDPrintPreview::DoVScrolled() {
    FPageNo = PageAtViewMiddle();
    TVDScroller::DoVScrolled();
}

void TCustomVDPrintPreview::SetZoomMode(TVDZoomMode value) {
    FZoomMode = value;
    UpdateView();
}

void TCustomVDPrintPreview::SetZoom(int32_t percent) {
    FZoomMode = vdzmCustom;
    SetZoomPercent(percent);
}

void TCustomVDPrintPreview::SetZoomPercent(int32_t value) {
    const int32_t old = FZoomPercent;
    if (value == 100 && old != 100) {
        SavedZoomPercent = old;
    }
    FZoomPercent = value;
    if (!CanDrawPage()) {
        return;
    }
    GetPhysMarginsRect(FPhysMargins);
    const int32_t w100 = GetPage100PercentWidth();
    const int32_t h100 = GetPage100PercentHeight();
    FPageWidth = gfx::MulDiv(w100, value, 100);
    FPageHeight = gfx::MulDiv(h100, value, 100);
    FPhysPageWidth = gfx::MulDiv(w100 + FPhysMargins.Left + FPhysMargins.Right, value, 100);
    FPhysPageHeight = gfx::MulDiv(h100 + FPhysMargins.Top + FPhysMargins.Bottom, value, 100);
    FPhysMargins = rtl::Rect(
        gfx::MulDiv(FPhysMargins.Left, value, 100), gfx::MulDiv(FPhysMargins.Top, value, 100),
        gfx::MulDiv(FPhysMargins.Right, value, 100), gfx::MulDiv(FPhysMargins.Bottom, value, 100));
    Invalidate();
    UpdateScrollExtents();
    // A new zoom keeps the shown page in view.
    if (PageAtViewMiddle() != FPageNo) {
        SetVPos(SlotTop(FPageNo) / GetVSmallStep(), false);
        FPageNo = std::clamp(FPageNo, 1, std::max(1, GetPageCount()));
    }
    UpdateCursor();
    if (old != value && OnZoomChanged) {
        OnZoomChanged(this);
    }
}

// Every page has a slot of the vertical extent, so the scroll bar, the wheel and the keys reach
// each of them; a single page scrolls as the one sheet it is.
void TCustomVDPrintPreview::UpdateScrollExtents() {
    const int32_t pages = std::max(1, GetPageCount());
    switch (FZoomMode) {
    case vdzmFullPage:
        UpdateScrollBars(10, pages > 1 ? pages * SlotHeight() : 10, true, false);
        break;
    case vdzmPageWidth:
        UpdateScrollBars(10, pages * SlotHeight(), true, false);
        break;
    case vdzmCustom:
        UpdateScrollBars(2 * BackgroundMargin + FPhysPageWidth, pages * SlotHeight(), true, false);
        break;
    }
}

void TCustomVDPrintPreview::UpdateView() {
    if (!CanDrawPage()) {
        return;
    }
    const int32_t w100 = std::max(1, GetPage100PercentWidth());
    const int32_t h100 = std::max(1, GetPage100PercentHeight());
    switch (FZoomMode) {
    case vdzmFullPage: {
        const int32_t pageNo = FPageNo;
        SetZoomPercent(
            std::min(gfx::MulDiv(GetWidth() - ScrollBarMetric - 2 * BackgroundMargin, 100, w100),
                     gfx::MulDiv(GetHeight() - ScrollBarMetric - 2 * BackgroundMargin, 100, h100)));
        // A new height changes every slot: the shown page fills the view again.
        SetVPos(SlotTop(pageNo) / GetVSmallStep(), false);
        FPageNo = std::clamp(pageNo, 1, std::max(1, GetPageCount()));
        break;
    }
    case vdzmPageWidth:
        SetZoomPercent(gfx::MulDiv(GetClientWidth() - 2 * BackgroundMargin, 100, w100));
        break;
    case vdzmCustom:
        SetZoomPercent(FZoomPercent);
        break;
    }
}

void TCustomVDPrintPreview::First() {
    SetPageNo(1);
}

void TCustomVDPrintPreview::Last() {
    if (CanDrawPage()) {
        SetPageNo(GetPageCount());
    }
}

void TCustomVDPrintPreview::Next() {
    if (CanDrawPage() && FPageNo < GetPageCount()) {
        SetPageNo(FPageNo + 1);
    }
}

void TCustomVDPrintPreview::Prev() {
    if (FPageNo > 1) {
        SetPageNo(FPageNo - 1);
    }
}

rtl::TRect TCustomVDPrintPreview::GetPageRect() {
    return PageRectOf(FPageNo);
}

rtl::TRect TCustomVDPrintPreview::PageRectOf(int32_t pageNo) {
    const int32_t w = std::max(GetClientWidth(), XSize);
    const int32_t left = (w - FPhysPageWidth) / 2 - HPos;
    const int32_t top =
        SlotTop(pageNo) + (SlotHeight() - FPhysPageHeight) / 2 - VPos * GetVSmallStep();
    return rtl::Rect(left, top, left + FPhysPageWidth, top + FPhysPageHeight);
}

void TCustomVDPrintPreview::ZoomAt(int32_t x, int32_t y, int32_t newZoom) {
    ZoomAtFrom(x, y, FZoomPercent, GetPageRect().TopLeft(), newZoom);
}

void TCustomVDPrintPreview::ZoomAtFrom(int32_t x, int32_t y, int32_t oldZoom, rtl::TPoint oldOrigin,
                                       int32_t newZoom) {
    if (newZoom == FZoomPercent || oldZoom <= 0) {
        return;
    }
    FZoomMode = vdzmCustom;
    SetZoomPercent(newZoom);
    rtl::TRect after = GetPageRect();
    after.Offset(HPos, VPos * GetVSmallStep());
    SetHPos(rtl::RoundSaturated<int32_t>(double(newZoom) * (x - oldOrigin.X) / oldZoom +
                                         after.Left - x));
    SetVPos(rtl::RoundSaturated<int32_t>(double(newZoom) * (y - oldOrigin.Y) / oldZoom + after.Top -
                                         y) /
                GetVSmallStep(),
            false);
    Invalidate();
}

void TCustomVDPrintPreview::DoGesture(const ui::TGestureEventInfo &info, bool &handled) {
    if (info.GestureID != ui::igZoom || ClickMode != vdcmSwitchZoom) {
        TVDScroller::DoGesture(info, handled);
        return;
    }
    handled = true;
    if (info.Flags.Contains(ui::gfBegin)) {
        FPanLocation = info.Location;
        FPanDistance = std::max(1, info.Distance);
        FPanZoomPercent = FZoomPercent;
        FPanPageRectOrigin = GetPageRect().TopLeft();
        return;
    }
    if (FPanDistance > 0 && CanDrawPage()) {
        const int32_t zoom = rtl::RoundSaturated<int32_t>(double(std::max(1, info.Distance)) *
                                                          FPanZoomPercent / FPanDistance);
        ZoomAtFrom(FPanLocation.X, FPanLocation.Y, FPanZoomPercent, FPanPageRectOrigin,
                   std::max(1, zoom));
    }
    if (info.Flags.Contains(ui::gfEnd)) {
        FPanDistance = 0;
    }
}

ui::TCursor TCustomVDPrintPreview::GetZoomCursor() const {
    if (ClickMode == vdcmNone) {
        return ui::crDefault;
    }
    const int32_t target = FZoomPercent == 100 ? SavedZoomPercent : 100;
    return FZoomPercent < target ? ZoomInCursor : ZoomOutCursor;
}

void TCustomVDPrintPreview::UpdateCursor() {
    SetCursor(GetZoomCursor());
}

void TCustomVDPrintPreview::DrawMargins(gfx::TCanvas &canvas, const rtl::TRect &, int32_t) {
    canvas.SetPen(FMarginsPen);
    canvas.GetBrush().SetStyle(gfx::bsClear);
}

void TCustomVDPrintPreview::DrawPrintableArea(gfx::TCanvas &canvas, const rtl::TRect &rect,
                                              int32_t) {
    canvas.SetPen(FPrintableAreaPen);
    canvas.GetBrush().SetStyle(gfx::bsClear);
    canvas.Rectangle(rect);
}

void TCustomVDPrintPreview::PaintTo(gfx::TCanvas &canvas) {
    canvas.GetBrush().SetStyle(gfx::bsSolid);
    canvas.GetBrush().SetColor(GetColor());
    canvas.FillRect(GetClientRect());
    if (!CanDrawPage()) {
        return;
    }
    const int32_t shown = FPageNo;
    for (int32_t pageNo = 1; pageNo <= std::max(1, GetPageCount()); ++pageNo) {
        const rtl::TRect sheet = PageRectOf(pageNo);
        if (sheet.Bottom + ShadowWidth > 0 && sheet.Top < GetClientHeight()) {
            // The page source draws the shown page.
            FPageNo = pageNo;
            PaintSheet(canvas, sheet);
        }
    }
    FPageNo = shown;
}

void TCustomVDPrintPreview::PaintSheet(gfx::TCanvas &canvas, const rtl::TRect &sheet) {
    const rtl::TRect area = rtl::Bounds(sheet.Left + FPhysMargins.Left,
                                        sheet.Top + FPhysMargins.Top, FPageWidth, FPageHeight);
    if (ShadowWidth > 0) {
        rtl::TRect shadow = sheet;
        shadow.Offset(ShadowWidth, ShadowWidth);
        canvas.GetBrush().SetColor(ShadowColor);
        canvas.FillRect(shadow);
    }
    canvas.GetBrush().SetColor(gfx::clWhite);
    canvas.FillRect(sheet);
    const int32_t level = canvas.SaveDC();
    canvas.IntersectClipRect(area);
    DrawPageImage(canvas, area);
    canvas.RestoreDC(level);
    if (PageBorderColor != gfx::clNone) {
        canvas.GetPen().SetStyle(gfx::psSolid);
        canvas.GetPen().SetColor(PageBorderColor);
        canvas.GetPen().SetWidth(PageBorderWidth);
        canvas.GetBrush().SetStyle(gfx::bsClear);
        canvas.Rectangle(sheet);
    }
    if (FPrintableAreaPen.GetStyle() != gfx::psClear) {
        DrawPrintableArea(canvas, area, FPageNo);
    }
    if (FMarginsPen.GetStyle() != gfx::psClear) {
        DrawMargins(canvas, area, FPageNo);
    }
}

void TCustomVDPrintPreview::Paint() {
    gfx::TBitmap buffer(std::max(1, GetClientWidth()), std::max(1, GetClientHeight()));
    PaintTo(buffer.GetCanvas());
    GetCanvas().Draw(0, 0, buffer);
}

void TCustomVDPrintPreview::Resize() {
    TVDScroller::Resize();
    UpdateView();
}

void TCustomVDPrintPreview::Loaded() {
    TVDScroller::Loaded();
    UpdateView();
}

void TCustomVDPrintPreview::MouseDown(ui::TMouseButton button, ui::TShiftState shift, int32_t x,
                                      int32_t y) {
    TVDScroller::MouseDown(button, shift, x, y);
    SetFocusSilent();
    if (ClickMode == vdcmSwitchZoom && button == ui::mbLeft && CanDrawPage()) {
        ZoomAt(x, y, FZoomPercent == 100 ? SavedZoomPercent : 100);
    }
}

// ---- TVDPrintPreview ----

TVDPrintPreview::TVDPrintPreview(ui::TComponent *owner) : TCustomVDPrintPreview(owner) {}

TVDPrintPreview::~TVDPrintPreview() {
    if (FVDPrint) {
        FVDPrint->RemoveFreeNotification(this);
    }
}

void TVDPrintPreview::SetVDPrint(TCustomVDPrint *value) {
    if (FVDPrint) {
        FVDPrint->RemoveFreeNotification(this);
    }
    FVDPrint = value;
    if (FVDPrint) {
        FVDPrint->FreeNotification(this);
    }
    FMetafile.reset();
    UpdateView();
}

bool TVDPrintPreview::CanDrawPage() {
    return FVDPrint && FVDPrint->GetReady() && FVDPrint->IsDestinationReady();
}

void TVDPrintPreview::DrawPageImage(gfx::TCanvas &canvas, const rtl::TRect &rect) {
    if (!FVDPrint) {
        return;
    }
    if (!CachePageImage) {
        FVDPrint->DrawPreview(GetPageNo(), canvas, rect);
        return;
    }
    UpdateCachedPage(GetPageNo(), rect);
    if (FMetafile) {
        canvas.Draw(rect.Left, rect.Top, *FMetafile);
    }
}

// A new metafile only when the page, the size or the pagination changed.
void TVDPrintPreview::UpdateCachedPage(int32_t pageNo, const rtl::TRect &rect) {
    rtl::TRect r = rect;
    r.Offset(-rect.Left, -rect.Top);
    if (r.Width() <= 0 || r.Height() <= 0) {
        FMetafile.reset(); // a sheet too small to show has no picture
        return;
    }
    const int32_t docID = FVDPrint ? FVDPrint->GetFormattingID() : -1;
    if (FMetafile && FStoredPageNo == pageNo && FStoredDocID == docID && FStoredRect == r) {
        return;
    }
    FMetafile.reset();
    if (!FVDPrint) {
        return;
    }
    auto metafile = std::make_unique<gfx::TMetafile>();
    metafile->SetWidth(r.Width());
    metafile->SetHeight(r.Height());
    {
        gfx::TMetafileCanvas canvas(*metafile);
        FVDPrint->DrawPreview(pageNo, canvas, r);
    }
    FMetafile = std::move(metafile);
    FStoredPageNo = pageNo;
    FStoredRect = r;
    FStoredDocID = docID;
}

int32_t TVDPrintPreview::GetPage100PercentWidth() {
    return FVDPrint->GetPreview100PercentWidth();
}

int32_t TVDPrintPreview::GetPage100PercentHeight() {
    return FVDPrint->GetPreview100PercentHeight();
}

void TVDPrintPreview::GetPhysMarginsRect(rtl::TRect &rect) {
    FVDPrint->GetMinimalMargins(rect, true);
}

int32_t TVDPrintPreview::GetPageCount() {
    return FVDPrint ? FVDPrint->GetPagesCount() : 1;
}

void TVDPrintPreview::DrawMargins(gfx::TCanvas &canvas, const rtl::TRect &rect, int32_t pageNo) {
    TCustomVDPrintPreview::DrawMargins(canvas, rect, pageNo);
    FVDPrint->DrawMarginsRect(canvas, rect, pageNo);
}

void TVDPrintPreview::Notification(rtl::TComponent *component, rtl::TOperation operation) {
    TCustomVDPrintPreview::Notification(component, operation);
    if (operation == rtl::opRemove && component == FVDPrint) {
        FVDPrint = nullptr;
        FMetafile.reset();
    }
}

} // namespace vizivodu
