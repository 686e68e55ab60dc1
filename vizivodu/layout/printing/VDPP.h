// The print preview control: the pages of a printing component's document, one below the other,
// as white sheets with a shadow and a border on the control's colour, zoomed to the whole page, to
// the page width or to a chosen percentage; a click switches between 100 % and the zoom used
// before, keeping the point under the mouse in place, and a pinch zooms continuously around its
// place. The cursor is a magnifier showing whether a click zooms in or out.
//
// Each page has a slot of the vertical scroll extent (in the whole-page zoom the view's height,
// so a page step of the keys or the scroll bar turns one page), and the wheel, the scroll bar
// and the keys (Page Down, Ctrl+End ...) reach every page; PageNo is the page in the middle of
// the view, and setting it scrolls that page's slot to the top.
//
// Lengths are screen pixels. Without a linked printing component that has paginated, only the
// background is painted and the zoom geometry is left as it is. Works with no window shown.
#pragma once

#include "vizivodu/document/VDDocParams.h" // the zoom modes a document stores for its preview
#include "vizivodu/layout/viewer/VDScroll.h"

#include "platform/gfx/Pen.h"

#include <memory>

namespace gfx {
class TMetafile;
}

namespace vizivodu {

class TCustomVDPrint;

enum TVDClickMode : uint8_t { vdcmNone, vdcmSwitchZoom };

// The base: zoom, geometry and painting; the page comes from the descendant's page source.
class TCustomVDPrintPreview : public TVDScroller {
public:
    explicit TCustomVDPrintPreview(ui::TComponent *owner);
    ~TCustomVDPrintPreview() override;

    int32_t SavedZoomPercent = 50;
    TVDClickMode ClickMode = vdcmSwitchZoom;
    gfx::TColor PageBorderColor = gfx::clHighlight;
    gfx::TColor ShadowColor = gfx::cl3DDkShadow;
    int32_t ShadowWidth = 4;
    int32_t PageBorderWidth = 2;
    int32_t BackgroundMargin = 20;
    // The screen's cursor numbers of the magnifiers, given their pictures by the constructor.
    ui::TCursor ZoomInCursor = 102;
    ui::TCursor ZoomOutCursor = 103;
    ui::TNotifyEvent OnZoomChanged;

    // Pens of the margins and printable-area rectangles: clear (not drawn) by default.
    gfx::TPen &GetMarginsPen() { return FMarginsPen; }
    void SetMarginsPen(const gfx::TPen &pen) { FMarginsPen = pen; }
    gfx::TPen &GetPrintableAreaPen() { return FPrintableAreaPen; }
    void SetPrintableAreaPen(const gfx::TPen &pen) { FPrintableAreaPen = pen; }

    int32_t GetPageNo() const { return FPageNo; }
    virtual void SetPageNo(int32_t value);
    int32_t GetZoomPercent() const { return FZoomPercent; }
    void SetZoomPercent(int32_t value);
    TVDZoomMode GetZoomMode() const { return FZoomMode; }
    void SetZoomMode(TVDZoomMode value);
    // ZoomMode := vdzmCustom, then ZoomPercent := percent.
    void SetZoom(int32_t percent);
    // Recomputes the zoom of the zoom mode for the control's size.
    void UpdateView();

    void First();
    void Last();
    void Next();
    void Prev();

    // The shown page's sheet (with its unprintable border) in client coordinates: centred
    // across the client area or the scroll extent, whichever is wider, and down its page's
    // slot, moved by the scroll position.
    rtl::TRect GetPageRect();
    rtl::TRect PageRectOf(int32_t pageNo);
    // Zooms from the current zoom to newZoom keeping the document point at (x, y) in place.
    void ZoomAt(int32_t x, int32_t y, int32_t newZoom);
    // The cursor a click would show: ZoomInCursor when it zooms in, else ZoomOutCursor;
    // crDefault without click zooming.
    ui::TCursor GetZoomCursor() const;
    // Shows GetZoomCursor over the control (after a change of ClickMode or the cursor numbers).
    void UpdateCursor();
    // The sheet's sizes at the current zoom.
    int32_t GetPhysPageWidth() const { return FPhysPageWidth; }
    int32_t GetPhysPageHeight() const { return FPhysPageHeight; }
    // Paints the control into canvas (client coordinates), as on screen.
    void PaintTo(gfx::TCanvas &canvas);

protected:
    virtual void DrawMargins(gfx::TCanvas &canvas, const rtl::TRect &rect, int32_t pageNo);
    virtual void DrawPrintableArea(gfx::TCanvas &canvas, const rtl::TRect &rect, int32_t pageNo);
    // The page source.
    virtual bool CanDrawPage() { return true; }
    virtual void DrawPageImage(gfx::TCanvas &, const rtl::TRect &) {}
    virtual int32_t GetPage100PercentWidth() { return -1; }
    virtual int32_t GetPage100PercentHeight() { return -1; }
    virtual void GetPhysMarginsRect(rtl::TRect &rect) { rect = {}; }
    virtual int32_t GetPageCount() { return 1; }

    int32_t GetDefSmallStep() override { return 1; }
    void Paint() override;
    void Resize() override;
    void Loaded() override;
    void MouseDown(ui::TMouseButton button, ui::TShiftState shift, int32_t x, int32_t y) override;
    // A pinch zooms around the place where it began, in proportion to the fingers' distance,
    // while ClickMode is vdcmSwitchZoom; other gestures go to the scroller.
    void DoGesture(const ui::TGestureEventInfo &info, bool &handled) override;
    void DoVScrolled() override;

private:
    void UpdateScrollExtents();
    int32_t SlotHeight();
    int32_t SlotTop(int32_t pageNo);
    int32_t PageAtViewMiddle();
    void PaintSheet(gfx::TCanvas &canvas, const rtl::TRect &sheet);
    // Zooms from oldZoom, with the sheet's top-left at oldOrigin, to newZoom keeping the
    // document point at (x, y) in place.
    void ZoomAtFrom(int32_t x, int32_t y, int32_t oldZoom, rtl::TPoint oldOrigin, int32_t newZoom);

    int32_t FPageNo = 1;
    int32_t FZoomPercent = 100;
    TVDZoomMode FZoomMode = vdzmFullPage;
    int32_t FPageWidth = 0, FPageHeight = 0;
    int32_t FPhysPageWidth = 0, FPhysPageHeight = 0;
    rtl::TRect FPhysMargins;
    gfx::TPen FMarginsPen, FPrintableAreaPen;
    // The state at the beginning of a pinch; FPanDistance 0: no pinch.
    int32_t FPanZoomPercent = 0, FPanDistance = 0;
    rtl::TPoint FPanLocation, FPanPageRectOrigin;
};

// The preview of a printing component's pages.
class TVDPrintPreview : public TCustomVDPrintPreview {
public:
    explicit TVDPrintPreview(ui::TComponent *owner);
    ~TVDPrintPreview() override;

    TCustomVDPrint *GetVDPrint() const { return FVDPrint; }
    void SetVDPrint(TCustomVDPrint *value);
    // Keeps the last drawn page as a metafile and draws it again while the page, its size and
    // the component's pagination stay the same.
    bool CachePageImage = false;

protected:
    bool CanDrawPage() override;
    void DrawPageImage(gfx::TCanvas &canvas, const rtl::TRect &rect) override;
    int32_t GetPage100PercentWidth() override;
    int32_t GetPage100PercentHeight() override;
    void GetPhysMarginsRect(rtl::TRect &rect) override;
    int32_t GetPageCount() override;
    void DrawMargins(gfx::TCanvas &canvas, const rtl::TRect &rect, int32_t pageNo) override;
    void Notification(rtl::TComponent *component, rtl::TOperation operation) override;

private:
    void UpdateCachedPage(int32_t pageNo, const rtl::TRect &rect);

    TCustomVDPrint *FVDPrint = nullptr;
    int32_t FStoredPageNo = -1;
    rtl::TRect FStoredRect;
    int32_t FStoredDocID = -1;
    std::unique_ptr<gfx::TMetafile> FMetafile;
};

} // namespace vizivodu
