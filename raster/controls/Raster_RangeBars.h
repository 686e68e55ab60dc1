// Self-drawn scroll bars: TArrowBar (arrow buttons, track, handle, press repeat, hover) and
// the gauge bar TCustomGaugeBar / TGaugeBar with an integer range, position and wheel steps.
#pragma once

#include "platform/gfx/Graphics.h"
#include "platform/ui/CustomControl.h"

#include <cstdint>

namespace raster {

enum TRBStyle : uint8_t { rbsDefault, rbsMac };
enum TRBBackgnd : uint8_t { bgPattern, bgSolid };
enum TRBZone : uint8_t { zNone, zBtnPrev, zTrackPrev, zHandle, zTrackNext, zBtnNext };
enum TRBDirection : uint8_t { dirLeft, dirUp, dirRight, dirDown };
enum TScrollBarKind : uint8_t { sbHorizontal, sbVertical };
enum TBarBorderStyle : uint8_t { bsNone, bsSingle };

// Edge bits of flat drawing.
enum : uint32_t { edgeLeft = 1, edgeTop = 2, edgeRight = 4, edgeBottom = 8 };

// Drawing routines of the bars, on the class library's canvas. System colours are resolved.
gfx::TColor ShadeColor(gfx::TColor color, int32_t delta);
// Weight must be below 256 (else EAssertionFailed "Assertion failure").
gfx::TColor MixColor(gfx::TColor c1, gfx::TColor c2, int32_t w);
// c1 as background, c2 on every pixel whose x and y have the same parity.
void FillDithered(gfx::TCanvas &canvas, const gfx::TRect &r, gfx::TColor c1, gfx::TColor c2);
void DrawEdgeLines(gfx::TCanvas &canvas, gfx::TRect &r, uint32_t edges, gfx::TColor color);
void DrawBevel(gfx::TCanvas &canvas, gfx::TRect &r, gfx::TColor topLeft, gfx::TColor bottomRight,
               bool shrink);
void DrawTriangle(gfx::TCanvas &canvas, const gfx::TRect &r, TRBDirection direction,
                  gfx::TColor color);

// Geometry is in client coordinates: the control without its 1-pixel frame (bsSingle). A press
// steps once at once, again after 600 ms and then every 100 ms; after a release or when the
// mouse hovers, a 150 ms watch clears the hot zone once the mouse has left. The repeat timer
// is the control's timer TimerId (WM_TIMER).
class TArrowBar : public ui::TCustomControl {
public:
    static constexpr uintptr_t TimerId = 1;

    explicit TArrowBar(ui::TComponent *owner);

    TRBBackgnd GetBackgnd() const { return FBackgnd; }
    void SetBackgnd(TRBBackgnd value);
    TBarBorderStyle GetBorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBarBorderStyle value);
    int32_t GetButtonSize() const { return FButtonSize; }
    void SetButtonSize(int32_t value);
    gfx::TColor GetHandleColor() const { return FHandleColor; }
    void SetHandleColor(gfx::TColor value);
    gfx::TColor GetButtonColor() const { return FButtonColor; }
    void SetButtonColor(gfx::TColor value);
    gfx::TColor GetHighLightColor() const { return FHighLightColor; }
    void SetHighLightColor(gfx::TColor value);
    gfx::TColor GetShadowColor() const { return FShadowColor; }
    void SetShadowColor(gfx::TColor value);
    gfx::TColor GetBorderColor() const { return FBorderColor; }
    void SetBorderColor(gfx::TColor value);
    TScrollBarKind GetKind() const { return FKind; }
    void SetKind(TScrollBarKind value);
    bool GetShowArrows() const { return FShowArrows; }
    void SetShowArrows(bool value);
    bool GetShowHandleGrip() const { return FShowHandleGrip; }
    void SetShowHandleGrip(bool value);
    TRBStyle GetStyle() const { return FStyle; }
    void SetStyle(TRBStyle value);

    gfx::TRect GetClientRect() const override;
    int32_t ArrowButtonSize() const;
    gfx::TRect TrackBounds() const;
    virtual gfx::TRect GetHandleBounds() const { return {}; }
    TRBZone ZoneAt(int32_t x, int32_t y) const;
    gfx::TRect ZoneBounds(TRBZone zone) const;
    TRBZone GetDragZone() const { return DragZone; }
    TRBZone GetHotZone() const { return HotZone; }
    int32_t GetTimerMode() const { return TimerMode; }
    // The repeat timer's interval in milliseconds and whether it runs.
    uint32_t GetTimerInterval() const { return FTimerInterval; }
    bool GetTimerOn() const { return FTimerOn; }

    ui::TNotifyEvent OnChange;
    ui::TNotifyEvent OnUserChange;

protected:
    void Paint() override;
    void Dispatch(ui::TMessage &message) override;
    void MouseDown(ui::TMouseButton button, ui::TShiftState shift, int32_t x, int32_t y) override;
    void MouseMove(ui::TShiftState shift, int32_t x, int32_t y) override;
    void MouseUp(ui::TMouseButton button, ui::TShiftState shift, int32_t x, int32_t y) override;
    void EnabledChanged() override;

    virtual void NotifyChange();
    virtual void PaintButton(gfx::TRect r, TRBDirection direction, bool pushed, bool enabled,
                             bool hot);
    virtual void PaintHandle(gfx::TRect r, bool horz, bool pushed, bool hot);
    virtual void PaintTrack(gfx::TRect r, TRBDirection direction, bool pushed, bool enabled,
                            bool hot);
    virtual bool PaintsEnabled() const { return GetEnabled(); }
    virtual void StopHoverWatch();
    virtual void TimerTick();

    void StartRepeat();
    void StopRepeat() { StartHoverWatch(); }
    void StartHoverWatch();
    int32_t BorderWidth() const { return FBorderStyle == bsSingle ? 1 : 0; }
    // Thickness across the bar and length along it, of the client area.
    int32_t Thickness() const;
    int32_t Length() const;
    // The mouse position in client coordinates as last reported to the bar.
    ui::TShiftState FLastShift;
    int32_t FMouseX = -1, FMouseY = -1;

    bool GenChange = false;
    TRBZone DragZone = zNone;
    TRBZone HotZone = zNone;
    int32_t TimerMode = 0; // 0 idle, 1 first repeat pending, 2 repeating, 3 hover watch
    int32_t StoredX = 0, StoredY = 0;
    float PosBeforeDrag = 0;

private:
    void SetColorField(gfx::TColor &field, gfx::TColor value);
    void SetTimerInterval(uint32_t ms);
    void StartTimer();
    void StopTimer();
    gfx::TRect ToCanvas(gfx::TRect r) const;
    void PaintMacButton(gfx::TRect r, TRBDirection direction, bool pushed, bool enabled);
    void PaintMacHandle(gfx::TRect r, bool horz, bool pushed);
    void PaintMacTrack(gfx::TRect r, TRBDirection direction, bool pushed, bool enabled);

    TRBBackgnd FBackgnd = bgPattern;
    TBarBorderStyle FBorderStyle = bsSingle;
    int32_t FButtonSize = 0;
    gfx::TColor FHandleColor;
    gfx::TColor FButtonColor;
    gfx::TColor FHighLightColor;
    gfx::TColor FShadowColor;
    gfx::TColor FBorderColor;
    TScrollBarKind FKind = sbHorizontal;
    bool FShowArrows = true;
    bool FShowHandleGrip = true;
    TRBStyle FStyle = rbsDefault;
    bool FTimerOn = false;
    uint32_t FTimerInterval = 0;
};

// Max > Min always holds (each setter pushes the other bound's neighbour), so the handle
// position never divides by zero. Program-set positions and the wheel fire OnChange only;
// the repeat timer and handle dragging also fire OnUserChange.
class TCustomGaugeBar : public TArrowBar {
public:
    explicit TCustomGaugeBar(ui::TComponent *owner);

    int32_t GetHandleSize() const { return FHandleSize; }
    void SetHandleSize(int32_t value);
    int32_t GetLargeChange() const { return FLargeChange; }
    void SetLargeChange(int32_t value) { FLargeChange = value < 1 ? 1 : value; }
    int32_t GetSmallChange() const { return FSmallChange; }
    void SetSmallChange(int32_t value) { FSmallChange = value < 1 ? 1 : value; }
    int32_t GetMax() const { return FMax; }
    void SetMax(int32_t value);
    int32_t GetMin() const { return FMin; }
    void SetMin(int32_t value);
    int32_t GetPosition() const { return FPosition; }
    void SetPosition(int32_t value);

    int32_t EffectiveHandleSize() const;
    gfx::TRect GetHandleBounds() const override;

    // A slider to screen readers: its position in Min..Max, which they can set.
    ui::TAccessibleInfo GetAccessibleInfo() const override;
    void AccessibleSetValue(int32_t value) override { SetPosition(value); }

protected:
    void MouseDown(ui::TMouseButton button, ui::TShiftState shift, int32_t x, int32_t y) override;
    void MouseMove(ui::TShiftState shift, int32_t x, int32_t y) override;
    bool DoMouseWheel(ui::TShiftState shift, int32_t wheelDelta, gfx::TPoint mousePos) override;
    void TimerTick() override;

private:
    void ClampPosition();
    void StepBy(int32_t delta, bool stopWhenUnchanged);

    int32_t FHandleSize = 0;
    int32_t FLargeChange = 1;
    int32_t FMax = 100;
    int32_t FMin = 0;
    int32_t FPosition = 0;
    int32_t FSmallChange = 1;
};

class TGaugeBar : public TCustomGaugeBar {
public:
    using TCustomGaugeBar::TCustomGaugeBar;
};

} // namespace raster
