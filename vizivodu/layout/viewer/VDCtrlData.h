// The document of a focusable window control: keyboard focus among the document's focusable
// items (moved with Tab, entered from and left to the neighbouring controls of the form), the
// exclusive-or focus rectangle around the focused item, and flicker-free painting through an
// off-screen bitmap.
#pragma once

#include "vizivodu/layout/formatting/CVDFData.h"

namespace ui {
class TControl;
class TWinControl;
} // namespace ui

namespace vizivodu {

enum TVDTabNavigationType : uint8_t { vdtnNone, vdtnTab, vdtnCtrlTab };

// The tab stop after (goForward) or before current in the container's tab order, wrapping
// around: the first control that is neither current nor inside it, can take the focus and
// has its tab stop set; nullptr when there is none.
ui::TWinControl *GetNextTabStopControl(ui::TWinControl &container, ui::TWinControl *current,
                                       bool goForward);

class TVDControlData : public TCustomVDFormattedData {
public:
    TVDControlData();

    // The innermost item with the keyboard focus and the document that holds it (this one or a
    // nested sub-document); -1 and null when none.
    int32_t TopLevelFocusedItemNo = -1;
    TCustomVDFormattedData *TopLevelFocusedVDData = nullptr;
    TVDTabNavigationType TabNavigation = vdtnTab;

    // Moves the focus to the next (shift false) or previous focusable item, or out of the
    // control to the next tab stop of its form. prevCtrl is the control the focus comes from
    // (the viewer itself for Tab, null when it comes from no control of the application).
    void DoTabNavigation(bool shift, ui::TWinControl *prevCtrl);
    // Toggles the focus rectangle (drawing it a second time removes it).
    void DrawFocusedRect(gfx::TCanvas &canvas);
    void ExecuteFocused();
    // Paints the canvas's clip rectangle through an off-screen bitmap: the background, then
    // the draw items. An exception is shown as "Error:" and its message in red on white.
    virtual void PaintBuffered();

    void AdjustFocus(int32_t newFocusedItemNo, TCustomVDFormattedData *topLevelVDData,
                     int32_t topLevelItemNo) override;
    void ClearTemporal() override;
    void DeleteParas(int32_t firstItemNo, int32_t lastItemNo) override;
    void Deselect(TCustomVDItemInfo *newPartiallySelected, bool makeEvent) override;

protected:
    void ResetTopLevelFocus();
    void TakeFocusFromControl(ui::TWinControl *prevCtrl, gfx::TCanvas *canvas);
    void ShowFocusedItem();
    void LeaveToNextControl(bool shift, int32_t oldFocused);
    // The window control whose canvas the focus rectangle is drawn on; null when none.
    ui::TWinControl *ParentWinControl();
};

} // namespace vizivodu
