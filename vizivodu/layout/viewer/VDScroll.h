// The window base of the viewer control: the scroll state of a document larger than the window
// (a horizontal position in pixels, a vertical one in units of VSmallStep pixels), the two
// scroll bars, scrolling by scroll requests, keys and the mouse wheel, the moving of inserted
// child controls with the view, and the slot of the in-place editor.
//
// Each bar is kept as its state (range, page, position, shown), answered like the system's
// bars (a set position is clamped to the range less the page; a page larger than the range
// hides the bar), and shown as the window's own scroll bar (the platform's, outside the client
// area). Requests arrive as WM_HSCROLL and WM_VSCROLL messages with the SB_ codes, from
// the bars, keys and the wheel; the position of a dragged thumb is read whole from the bar
// (TrackPos), never from the 16-bit field of the message. The window counts as created while
// the control has a parent.
#pragma once

#include "platform/ui/CustomControl.h"
#include "platform/ui/Forms.h"

#include <cstdint>

namespace vizivodu {

class TCustomVDData;
class TCustomVDItemInfo;
enum TVDPaletteAction : uint8_t;
enum TVDBiDiMode : uint8_t;

// One scroll bar as the system would keep it.
struct TVDScrollBarInfo {
    int32_t Min = 0;
    int32_t Max = 0;
    int32_t Page = 0;
    int32_t Pos = 0;
    int32_t TrackPos = 0; // the thumb's position while it is dragged
    bool Visible = false; // the bar is allowed (hidden bars stay hidden)
    bool DisableNoScroll = false;

    // Shown: allowed, and the page does not cover the range (or shown disabled).
    bool Shown() const { return Visible && (Page <= Max - Min || DisableNoScroll); }
    int32_t MaxPos() const { return Page > 0 ? Max - Page + 1 : Max; }
    // Sets range, page and position at once; the position is clamped as the system does.
    void Set(int32_t min, int32_t max, int32_t page, int32_t pos);
};

// The class library's custom control with the do-nothing hooks of the document controls.
class TCustomVDControl : public ui::TCustomControl {
public:
    explicit TCustomVDControl(ui::TComponent *owner);

    virtual TCustomVDControl *SVDGetActiveEditor(bool /*mainDoc*/) { return nullptr; }
    virtual void RegisterSVDChangeActiveEditorHandler(ui::TComponent *, ui::TNotifyEvent) {}
    virtual void UnregisterSVDChangeActiveEditorHandler(ui::TComponent *) {}
    virtual bool HasOwnerItemInMainDoc() { return false; }
    virtual TCustomVDControl *GetOwnerItemInMainDocEditor() { return SVDGetActiveEditor(true); }
    virtual void RegisterStyleTemplatesChangeHandler(ui::TComponent *, ui::TNotifyEvent) {}
    virtual void UnregisterStyleTemplatesChangeHandler(ui::TComponent *) {}
};

class TVDScroller : public TCustomVDControl {
public:
    explicit TVDScroller(ui::TComponent *owner);
    ~TVDScroller() override;

    // ---- Window ----
    bool WindowCreated() const { return FWindowCreated; }
    void SetParent(ui::TWinControl *parent) override;
    // Destroys and creates the window again (after a change of border or direction).
    void RecreateWnd();

    // ---- Scroll state ----
    int32_t HPos = 0;  // pixels
    int32_t VPos = 0;  // VSmallStep units
    int32_t XSize = 0; // document width in pixels as last given
    int32_t YSize = 0; // document height in VSmallStep units as last given
    bool KeyboardScroll = true;

    void UpdateScrollBars(int32_t xs, int32_t ys, bool updateH, bool useDNS);
    virtual void SetVPos(int32_t p, bool redraw);
    virtual void SetHPos(int32_t p);
    int32_t GetVScrollPos() const { return VPos; }
    void SetVScrollPos(int32_t p) { SetVPos(p, true); }
    int32_t GetHScrollPos() const { return HPos; }
    void SetHScrollPos(int32_t p) { SetHPos(p); }
    // y in pixels.
    void ScrollTo(int32_t y);
    void ScrollToNoRedraw(int32_t y);
    int32_t GetVScrollMax() const;
    int32_t GetHScrollMax() const;
    const TVDScrollBarInfo &GetVScrollBar() const { return FVBar; }
    const TVDScrollBarInfo &GetHScrollBar() const { return FHBar; }
    // A drag of the thumb of one bar to pos (the bar's position units), ending with the
    // release when released: the request the system sends while the user drags.
    void TrackThumb(bool vertical, int32_t pos, bool released);

    int32_t GetVSmallStep() const { return FSmallStep; }
    virtual void SetVSmallStep(int32_t value);
    bool GetVScrollVisible() const { return FVScrollVisible; }
    void SetVScrollVisible(bool value);
    bool GetHScrollVisible() const { return FHScrollVisible; }
    void SetHScrollVisible(bool value);
    bool GetTracking() const { return FTracking; }
    void SetTracking(bool value) { FTracking = value; }
    bool GetFullRedraw() const { return FFullRedraw; }
    void SetFullRedraw(bool value) { FFullRedraw = value; }
    int32_t GetWheelStep() const { return FWheelStep; }
    void SetWheelStep(int32_t value) { FWheelStep = value; }
    int32_t GetScrollFactor() const { return FScrollFactor; }
    void SetScrollFactor(int32_t value) { FScrollFactor = value; }
    bool GetVDisableNoScroll() const { return FVDisableNoScroll; }
    void SetVDisableNoScroll(bool value) { FVDisableNoScroll = value; }
    ui::TFormBorderStyle GetBorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(ui::TFormBorderStyle value);
    TVDBiDiMode GetBiDiMode() const { return FBiDiMode; }
    // Stores the mode without recreating the window (an outside component shows the document).
    void StoreBiDiMode(TVDBiDiMode value) { FBiDiMode = value; }
    virtual void SetBiDiMode(TVDBiDiMode value);
    bool GetUseXPThemes() const { return FUseXPThemes; }
    void SetUseXPThemes(bool value);
    TVDPaletteAction GetDoInPaletteMode() const { return FDoInPaletteMode; }
    void SetDoInPaletteMode(TVDPaletteAction value);
    // The control's palette: none on the true-colour displays the platform draws on.
    void *GetVDPalette() const { return nullptr; }
    // The lines the system scrolls per wheel notch (3 when it cannot say; a negative value: a
    // page per notch). Replaceable for tests.
    static int32_t (*GetWheelScrollLines)();

    ui::TNotifyEvent OnVScrolled;
    ui::TNotifyEvent OnHScrolled;

    // ---- The chosen sub-document and its in-place editor ----
    void AssignChosenVDData(TCustomVDData *vdData, TCustomVDItemInfo *item);
    void SilentReplaceChosenVDData(TCustomVDData *vdData);
    void UnassignChosenVDData(TCustomVDData *vdData);
    TCustomVDData *GetChosenVDData() const;
    TCustomVDItemInfo *GetChosenItem() const { return FChosenItem; }
    ui::TWinControl *InplaceEditor() const;
    void DestroyInplace();

    // ---- Focus ----
    // The control, its in-place editor, that editor's editor... has the focus.
    bool FocusedEx() const;
    // The control and every parent are enabled.
    bool EnabledEx() const;
    // Makes this the active control of its form without the enter handling.
    void SetFocusSilent();

    static int32_t GetClampedControlTop(const ui::TControl &control);
    static void SetControlTopFromTag(ui::TControl &control);
    // Paints the control with its visible children into canvas at (x, y).
    void PaintTo_(gfx::TCanvas &canvas, int32_t x, int32_t y) { PaintTo(canvas, x, y); }

    void SetEnabled(bool enabled) override;
    void WndProc(ui::TMessage &message) override;

protected:
    virtual void CreateWnd();
    virtual void DestroyWnd();
    virtual void OpenTheme() {}
    virtual void CloseTheme() {}
    virtual void DoVScrolled();
    virtual void DoHScrolled();
    virtual void BeforeScroll() {}
    virtual void ScrollBarsUpdated();
    virtual void ResetScrollPos();
    virtual void InitScrollBars();
    virtual int32_t GetDefSmallStep() { return 10; }
    virtual void UpdatePaletteInfo() {}
    void KeyDown(uint16_t &key, ui::TShiftState shift) override;
    bool DoMouseWheel(ui::TShiftState shift, int32_t wheelDelta, gfx::TPoint mousePos) override;
    virtual bool DoMouseWheelDown(ui::TShiftState shift, gfx::TPoint mousePos);
    virtual bool DoMouseWheelUp(ui::TShiftState shift, gfx::TPoint mousePos);
    // The user's request on a bar: the thumb's whole position is kept, then the message sent.
    void ScrollBarRequest(ui::TScrollBarKind kind, uint16_t code, int32_t pos) override;
    // A touch pan scrolls the view with the finger (handled); other gestures are not taken.
    void DoGesture(const ui::TGestureEventInfo &info, bool &handled) override;
    // Moves the inserted child controls with the view.
    void ScrollChildren(int32_t dx, int32_t dy);

    bool FSilentFocusing = false;
    bool FNoVScroll = false;
    bool FNoHScroll = false;

private:
    void WMHScroll(ui::TMessage &message);
    void WMVScroll(ui::TMessage &message);
    void WMSetFocus(ui::TMessage &message);
    // Shows the kept state of a bar on the window's own bar.
    void ShowBar(bool vertical);
    bool WheelScroll(bool down);

    ui::TFormBorderStyle FBorderStyle = ui::bsNone;
    int32_t FSmallStep = 1;
    bool FTracking = true;
    bool FFullRedraw = false;
    bool FVScrollVisible = true;
    bool FHScrollVisible = true;
    bool FUpdatingScrollBars = false;
    int32_t FVScrollMax = 0;
    int32_t FVScrollPage = 0;
    int32_t FHScrollMax = 0;
    int32_t FHScrollPage = 0;
    TVDPaletteAction FDoInPaletteMode;
    bool FUseXPThemes = true;
    TVDBiDiMode FBiDiMode;
    bool FVDisableNoScroll = false;
    TCustomVDItemInfo *FChosenItem = nullptr;
    TCustomVDData *FChosenVDData = nullptr;
    int32_t FScrollFactor = 1;
    int32_t FWheelStep = 2;
    int32_t FWheelAccumulator = 0;
    gfx::TPoint FPanPoint;
    int32_t FPanVPos = 0;
    int32_t FPanHPos = 0;
    bool FWindowCreated = false;
    TVDScrollBarInfo FVBar;
    TVDScrollBarInfo FHBar;
};

} // namespace vizivodu
