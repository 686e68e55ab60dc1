// The styled panel: outer frame, border band and inner frame in any of the twelve frame styles
// on any sides, a solid or gradient fill, an optional grid and a wrapped, placed caption.
#pragma once

#include "controls/BvCommon.h"
#include "controls/BvCommon_Settings.h"
#include "controls/BvGrafx.h"
#include "platform/ui/Docking.h"
#include "platform/ui/Panel.h"

#include <vector>

namespace controls {

enum TBvVisualStyle : uint8_t { vsClassic, vsWinXP, vsGradient };
enum TBvGridStyle : uint8_t { gsDots, gsDottedLines, gsSolidLines };

// The colours and styles the composite frame routine draws with.
struct TBvPanelFrameParams {
    TFrameStyleEx Outer = fsRaised;
    TFrameStyleEx Inner = fsNone;
    int32_t BorderWidth = 0;
    TSides Sides = AllSides;
    int32_t BevelWidth = 1;
    TColor BorderColor = gfx::clBtnFace;
    TColor Highlight = gfx::clBtnHighlight;
    TColor Shadow = gfx::clBtnShadow;
    TColor FlatColor = gfx::clBtnShadow;
    int32_t FlatAdjustment = 30;
    TColor FaceColor = gfx::clBtnFace;
    TColor ParentColor = gfx::clBtnFace;
    bool Transparent = false;
};

// Draws outer frame, border band and inner frame on bounds; returns the rectangle inside them.
TRect PaintPanelFrames(gfx::TCanvas &canvas, const TRect &bounds, const TBvPanelFrameParams &p);

// Every setter stores a changed value and repaints; frame setters also realign the children.
// The platform has no custom styles, so the system style is always active and the panel
// draws with its own colours. Children align inside the frames.
class TBvCustomPanel : public ui::TCustomPanel,
                       public IBvCustomFramingNotification,
                       public IBvPrintClient {
public:
    explicit TBvCustomPanel(ui::TComponent *owner);
    ~TBvCustomPanel() override;

    TAlignmentVertical GetAlignmentVertical() const { return FAlignmentVertical; }
    void SetAlignmentVertical(TAlignmentVertical v);
    TFrameStyleEx GetBorderInner() const { return FBorderInner; }
    void SetBorderInner(TFrameStyleEx v);
    TFrameStyleEx GetBorderOuter() const { return FBorderOuter; }
    void SetBorderOuter(TFrameStyleEx v);
    TSides GetBorderSides() const { return FBorderSides; }
    void SetBorderSides(TSides v);
    TColor GetBorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor v);
    TColor GetBorderHighlight() const { return FBorderHighlight; }
    void SetBorderHighlight(TColor v);
    TColor GetBorderShadow() const { return FBorderShadow; }
    void SetBorderShadow(TColor v);
    TColor GetFlatColor() const { return FFlatColor; }
    void SetFlatColor(TColor v);
    int32_t GetFlatColorAdjustment() const { return FFlatColorAdjustment; }
    void SetFlatColorAdjustment(int32_t v);
    bool GetPaintClientArea() const { return FPaintClientArea; }
    void SetPaintClientArea(bool v);
    TBvVisualStyle GetVisualStyle() const { return FVisualStyle; }
    void SetVisualStyle(TBvVisualStyle v);
    TBvGradientColorStyle GetGradientColorStyle() const { return FGradientColorStyle; }
    void SetGradientColorStyle(TBvGradientColorStyle v);
    TColor GetGradientColorStart() const { return FGradientColorStart; }
    void SetGradientColorStart(TColor v);
    TColor GetGradientColorStop() const { return FGradientColorStop; }
    void SetGradientColorStop(TColor v);
    TGradientDirection GetGradientDirection() const { return FGradientDirection; }
    void SetGradientDirection(TGradientDirection v);
    TColor GetGridColor() const { return FGridColor; }
    void SetGridColor(TColor v);
    TBvGridStyle GetGridStyle() const { return FGridStyle; }
    void SetGridStyle(TBvGridStyle v);
    uint16_t GetGridXSize() const { return FGridXSize; }
    void SetGridXSize(uint16_t v);
    uint16_t GetGridYSize() const { return FGridYSize; }
    void SetGridYSize(uint16_t v);
    void SetGridSize(uint16_t x, uint16_t y);
    bool GetShowGrid() const { return FShowGrid; }
    void SetShowGrid(bool v);
    bool GetTransparent() const { return FTransparent; }
    void SetTransparent(bool v);
    int32_t GetTextMargin() const { return FTextMargin; }
    void SetTextMargin(int32_t v);
    int32_t GetTextMarginVertical() const { return FTextMarginVertical; }
    void SetTextMarginVertical(int32_t v);
    bool GetWordWrap() const { return FWordWrap; }
    void SetWordWrap(bool v);
    TColor GetPanelColor() const { return FPanelColor; }
    TBvFrameController *GetFrameController() const { return FFrameController; }
    void SetFrameController(TBvFrameController *v);
    TBvFrameControllerNotifications GetFrameControllerNotifications() const {
        return FFrameControllerNotifications;
    }
    void SetFrameControllerNotifications(TBvFrameControllerNotifications v) {
        FFrameControllerNotifications = v;
    }

    void SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) override;
    void ApplyFramingSettings() override;
    void FrameControllerFreed(TBvFrameController &) override { FFrameController = nullptr; }
    void PrintClient(gfx::TCanvas &canvas, int32_t dx, int32_t dy) override;

    // Whether the dock manager draws grabbers with the docked controls' captions.
    bool GetShowDockClientCaptions() const { return FShowDockClientCaptions; }
    void SetShowDockClientCaptions(bool v);

    // Paints the whole panel onto canvas (the panel's coordinates).
    void PaintTo(gfx::TCanvas &canvas);
    // The rectangles invalidated by the last size change (empty: the whole panel was).
    const std::vector<TRect> &ResizeStripsForTesting() const { return FLastStrips; }

    ui::TNotifyEvent OnPaint;

protected:
    // Obsolete stored names, read only: "FrameSides" (a set) and "ThemeAware" (a Boolean) are
    // dropped; "UseGradients" True gives VisualStyle vsGradient.
    void DefineProperties(rtl::TFiler &filer) override;
    virtual gfx::TPoint CursorClientPos() const { return {}; }
    virtual void InsetForFrames(TRect &rect, bool includeBorderBand) const;
    virtual TRect PaintBounds() const { return gfx::Rect(0, 0, GetWidth(), GetHeight()); }
    virtual gfx::TPoint ResizeStripSize() const { return {1, 1}; }
    virtual void PropagateEnabled(bool enable);
    virtual void ResolveGradientColors(TColor &start, TColor &stop) const;
    virtual void ResolveFlatFrameColors(TColor &color, int32_t &adjustment) const;
    virtual void PaintCaptionText(gfx::TCanvas &canvas, TRect rect);
    virtual void PaintGridPattern(gfx::TCanvas &canvas, const TRect &rect);

    void AlignControls(TRect &rect) override;
    // A dock site also keeps its docked controls inside its frames.
    void AdjustClientRect(TRect &rect) const override;
    // A TBvPanelDockManager.
    std::unique_ptr<ui::IDockManager> CreateDockManager() override;
    void Paint() override;
    void ColorChanged() override;
    void EnabledChanged() override;
    void Dispatch(ui::TMessage &message) override;

private:
    void Changed() { Invalidate(); }
    void FramesChanged();
    void InvalidateTransparentChildren();
    bool IsRounded() const;

    bool FShowDockClientCaptions = true;
    TAlignmentVertical FAlignmentVertical = avCenter;
    TFrameStyleEx FBorderInner = fsNone;
    TFrameStyleEx FBorderOuter = fsRaised;
    TSides FBorderSides = AllSides;
    TColor FBorderColor = gfx::clBtnFace;
    TColor FBorderHighlight = gfx::clBtnHighlight;
    TColor FBorderShadow = gfx::clBtnShadow;
    TColor FFlatColor = gfx::clBtnShadow;
    int32_t FFlatColorAdjustment = 30;
    bool FPaintClientArea = true;
    TColor FPanelColor = gfx::clBtnFace;
    TBvVisualStyle FVisualStyle = vsWinXP;
    TBvGradientColorStyle FGradientColorStyle = gcsSystem;
    TColor FGradientColorStart = gfx::clWhite;
    TColor FGradientColorStop = gfx::clBtnFace;
    TGradientDirection FGradientDirection = gdHorizontalEnd;
    TColor FGridColor = gfx::clBtnShadow;
    TBvGridStyle FGridStyle = gsDots;
    uint16_t FGridXSize = 8;
    uint16_t FGridYSize = 8;
    bool FShowGrid = false;
    bool FTransparent = false;
    int32_t FTextMargin = 0;
    int32_t FTextMarginVertical = 0;
    bool FWordWrap = true;
    // Enabled states of the children when the panel was disabled: "1" enabled, "0" disabled.
    std::vector<std::pair<ui::TControl *, rtl::UnicodeString>> FEnabledList;
    TBvFrameController *FFrameController = nullptr;
    TBvFrameControllerNotifications FFrameControllerNotifications = AllFrameNotifications;
    std::vector<TRect> FLastStrips;
};

class TBvPanel : public TBvCustomPanel {
public:
    using TBvCustomPanel::TBvCustomPanel;
};

// The panel's dock manager: grabbers 14 pixels wide with the docked control's caption ("Verdana"
// 8 points; upright, reading bottom-up, in a strip on the left when the panel is aligned alTop
// or alBottom, else across the top) and a close cross. It hooks the panel's window procedure:
// WM_COMMAND and WM_MOUSEACTIVATE repaint the panel before going on.
class TBvPanelDockManager : public ui::TDockTree {
public:
    explicit TBvPanelDockManager(TBvCustomPanel *panel);
    ~TBvPanelDockManager() override;

protected:
    void AdjustDockRect(ui::TControl *control, TRect &rect) override;
    void PaintDockFrame(gfx::TCanvas &canvas, ui::TControl *control, const TRect &rect) override;

private:
    void PanelMessage(ui::TMessage &message);

    TBvCustomPanel *FPanel;
    ui::TWndMethod FOldWndProc;
    gfx::TFont FFont;
    int32_t FGrabberSize = 14;
};

} // namespace controls
