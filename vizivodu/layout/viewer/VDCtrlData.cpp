// The control document: Tab navigation among focusable items and out of the control, the focus
// rectangle, buffered painting.
#include "vizivodu/layout/viewer/VDCtrlData.h"

#include "vizivodu/layout/text/VDGrIn.h"
#include "vizivodu/styles/VDStyle.h"

#include "platform/gfx/Bitmap.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/ScopeExit.h"
#include "platform/ui/Forms.h"
#include "platform/ui/WinControl.h"

namespace vizivodu {

TVDControlData::TVDControlData() = default;

ui::TWinControl *TVDControlData::ParentWinControl() {
    return dynamic_cast<ui::TWinControl *>(GetParentControl());
}

void TVDControlData::ResetTopLevelFocus() {
    TopLevelFocusedItemNo = -1;
    TopLevelFocusedVDData = nullptr;
}

void TVDControlData::AdjustFocus(int32_t newFocusedItemNo, TCustomVDFormattedData *topLevelVDData,
                                 int32_t topLevelItemNo) {
    if (TopLevelFocusedVDData && TopLevelFocusedItemNo >= 0 &&
        TopLevelFocusedItemNo < TopLevelFocusedVDData->ItemCount()) {
        TopLevelFocusedVDData->GetItem(TopLevelFocusedItemNo)->ClearFocus();
    }
    TCustomVDFormattedData::AdjustFocus(newFocusedItemNo, topLevelVDData, topLevelItemNo);
    TopLevelFocusedItemNo = topLevelItemNo;
    TopLevelFocusedVDData = topLevelVDData;
}

void TVDControlData::ClearTemporal() {
    if (DrawItems.Count() > 0) {
        ResetTopLevelFocus();
    }
    TCustomVDFormattedData::ClearTemporal();
}

void TVDControlData::DeleteParas(int32_t firstItemNo, int32_t lastItemNo) {
    TCustomVDFormattedData::DeleteParas(firstItemNo, lastItemNo);
    ResetTopLevelFocus();
}

void TVDControlData::Deselect(TCustomVDItemInfo *newPartiallySelected, bool makeEvent) {
    if (State.Contains(vdstDeselecting)) {
        return;
    }
    {
        const rtl::TFlagScope deselecting(State, vdstDeselecting);
        ClearFocus();
        if (TopLevelFocusedItemNo != -1) {
            Invalidate();
        }
        ResetTopLevelFocus();
    }
    TCustomVDFormattedData::Deselect(newPartiallySelected, makeEvent);
}

void TVDControlData::DrawFocusedRect(gfx::TCanvas &canvas) {
    TCustomVDFormattedData *data = TopLevelFocusedVDData;
    if (TopLevelFocusedItemNo < 0 || !data || TopLevelFocusedItemNo >= data->ItemCount() ||
        !data->GetItem(TopLevelFocusedItemNo)->GetBoolValueEx(vdbpXORFocus, GetVDStyle())) {
        return;
    }
    const rtl::TPoint p1 = data->GetOriginEx();
    const rtl::TPoint p2 = GetOriginEx();
    canvas.GetFont().SetColor(gfx::clBlack);
    canvas.GetBrush().SetStyle(gfx::bsSolid);
    TVDGraphicInterface &gi = GetVDStyle()->GetGraphicInterface();
    for (int32_t d = data->GetItem(TopLevelFocusedItemNo)->DrawItemNo;
         d >= 0 && d < data->DrawItems.Count() &&
         data->DrawItems[d]->ItemNo == TopLevelFocusedItemNo;
         ++d) {
        const TVDDrawLineInfo &di = *data->DrawItems[d];
        gi.DrawFocusRect(canvas, rtl::Bounds(p1.X + di.Left - GetHOffs() - p2.X - 1,
                                             p1.Y + di.Top - GetVOffs() - p2.Y - 1, di.Width + 2,
                                             di.Height + 2));
    }
}

void TVDControlData::ExecuteFocused() {
    if (FocusedItemNo >= 0 && FocusedItemNo < ItemCount()) {
        GetItem(FocusedItemNo)->Execute(this);
    }
}

namespace {

// The form of the control; nullptr for none.
ui::TForm *FormOf(ui::TControl *control) {
    return control ? control->GetParentForm() : nullptr;
}

bool IsInside(const ui::TControl *control, const ui::TControl *container) {
    for (const ui::TControl *c = control ? control->GetParent() : nullptr; c; c = c->GetParent()) {
        if (c == container) {
            return true;
        }
    }
    return false;
}

} // namespace

ui::TWinControl *GetNextTabStopControl(ui::TWinControl &container, ui::TWinControl *current,
                                       bool goForward) {
    return container.FindNextControlWhere(current, goForward, [current](ui::TWinControl &c) {
        return !IsInside(&c, current) && c.CanFocus() && c.GetTabStop();
    });
}

// The focus arrives from an inserted control: navigation goes on from the control's item.
void TVDControlData::TakeFocusFromControl(ui::TWinControl *prevCtrl, gfx::TCanvas *canvas) {
    const bool focusedOwns = FocusedItemNo >= 0 && FocusedItemNo < ItemCount() &&
                             GetItem(FocusedItemNo)->OwnsControl(prevCtrl);
    const int32_t itemNo = focusedOwns ? FocusedItemNo : FindControlItemNo(prevCtrl);
    if (itemNo < 0) {
        return;
    }
    if (canvas) {
        DrawFocusedRect(*canvas);
    }
    if (TopLevelFocusedVDData) {
        TopLevelFocusedVDData->ClearFocus();
    }
    FocusedItemNo = itemNo;
    TCustomVDItemInfo *item = GetItem(itemNo);
    TCustomVDData *top = TopLevelFocusedVDData;
    if (item->AdjustFocusToControl(prevCtrl, top, TopLevelFocusedItemNo)) {
        TopLevelFocusedVDData = dynamic_cast<TCustomVDFormattedData *>(top);
    }
    if (item->GetBoolValue(vdbpImmediateControlOwner)) {
        TopLevelFocusedVDData = this;
        TopLevelFocusedItemNo = itemNo;
    }
    if (canvas) {
        DrawFocusedRect(*canvas);
    }
}

void TVDControlData::DoTabNavigation(bool shift, ui::TWinControl *prevCtrl) {
    if (State.Contains(vdstDoNotTab)) {
        State.Exclude(vdstDoNotTab);
        return;
    }
    ui::TWinControl *parent = ParentWinControl();
    if (prevCtrl && FormOf(prevCtrl) != FormOf(parent)) {
        return;
    }
    const int32_t oldFocused = FocusedItemNo;
    if (oldFocused != -1 && !prevCtrl) {
        return;
    }
    gfx::TCanvas *canvas = GetCanvas();
    if (prevCtrl) {
        TakeFocusFromControl(prevCtrl, canvas);
    }
    if (canvas) {
        DrawFocusedRect(*canvas);
    }
    if (TopLevelFocusedVDData) {
        TopLevelFocusedVDData->ClearFocus();
    }
    const int32_t next =
        GetNextFocusedItem(FocusedItemNo, !shift, TopLevelFocusedVDData, TopLevelFocusedItemNo);
    if (next == -1) {
        ResetTopLevelFocus();
    }
    if (prevCtrl != parent && next == -1 && FocusedItemNo == -1) {
        if (parent && parent->CanFocus()) {
            parent->SetFocus();
        }
        return;
    }
    FocusedItemNo = next;
    if (TopLevelFocusedItemNo != -1 && TopLevelFocusedVDData) {
        TopLevelFocusedVDData->GetItem(TopLevelFocusedItemNo)->Focusing();
    }
    if (canvas) {
        DrawFocusedRect(*canvas);
    }
    if (FocusedItemNo != -1) {
        ShowFocusedItem();
        return;
    }
    LeaveToNextControl(shift, oldFocused);
}

void TVDControlData::ShowFocusedItem() {
    TCustomVDFormattedData *top = TopLevelFocusedVDData;
    if (!top || TopLevelFocusedItemNo < 0 || TopLevelFocusedItemNo >= top->ItemCount()) {
        return;
    }
    const int32_t d = top->GetItem(TopLevelFocusedItemNo)->DrawItemNo;
    if (d >= 0 && d < top->DrawItems.Count()) {
        const TVDDrawLineInfo &di = *top->DrawItems[d];
        top->ShowRectangle(di.Left, di.Top, di.Width, di.Height);
    }
}

// No item is left in the direction: the next tab stop of the form takes the focus; with none,
// navigation wraps around to the first (last) item when an item had the focus.
void TVDControlData::LeaveToNextControl(bool shift, int32_t oldFocused) {
    ui::TWinControl *parent = ParentWinControl();
    if (!parent) {
        return;
    }
    ui::TWinControl *container = FormOf(parent);
    if (!container) {
        container = parent->GetParent();
    }
    ui::TWinControl *target =
        container ? GetNextTabStopControl(*container, parent, !shift) : nullptr;
    if (target) {
        target->SetFocus();
    } else if (oldFocused != -1) {
        DoTabNavigation(shift, parent);
    }
}

void TVDControlData::PaintBuffered() {
    if (State.Contains(vdstSkipFormatting) ||
        GetAbsoluteRootData()->State.Contains(vdstFormattingPart)) {
        return;
    }
    gfx::TCanvas *canvas = GetCanvas();
    TVDStyle *style = GetVDStyle();
    if (!canvas) {
        return;
    }
    const rtl::TRect r = canvas->GetClipRect();
    if (r.IsEmpty()) {
        return;
    }
    DrawFocusedRect(*canvas);
    RemoveDragDropCaret();
    rtl::UnicodeString error;
    gfx::TBitmap buffer(r.Width(), r.Height());
    try {
        if (style) {
            DrawBackground(buffer.GetCanvas(), r, style->GetGraphicInterface(), true, false);
            PaintTo(buffer.GetCanvas(), r, false, false, false, false, true, 0, 0, 0,
                    DrawItems.Count() - 1, nullptr, nullptr, false);
        }
    } catch (const rtl::Exception &e) {
        error = e.Message();
    }
    canvas->Draw(r.Left, r.Top, buffer);
    if (!error.empty()) {
        canvas->GetFont().SetName(u"Arial");
        canvas->GetFont().SetSize(10);
        canvas->GetFont().SetColor(gfx::clRed);
        canvas->GetFont().SetStyle({});
        canvas->GetBrush().SetColor(gfx::clWhite);
        canvas->GetBrush().SetStyle(gfx::bsSolid);
        canvas->TextOut(0, 0, u"Error:" + error);
    }
    DrawDragDropCaret(*canvas, false);
    DrawFocusedRect(*canvas);
}

} // namespace vizivodu
