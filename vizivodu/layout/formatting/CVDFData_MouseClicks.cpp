// The formatted document's mouse buttons: press and release with selection by the mouse, the
// events of the control, hyperlink jumps, the caret moved to the mouse, double and triple
// clicks.
#include "vizivodu/layout/formatting/CVDFData.h"

#include "vizivodu/document/VDItem.h"
#include "vizivodu/layout/viewer/VDCtrlData.h"
#include "vizivodu/styles/VDStyle.h"

#include "platform/ui/Control.h"
#include "platform/ui/Cursors.h"
#include "platform/ui/WinControl.h"

#include <algorithm>

namespace vizivodu {

namespace {

TCustomVDFormattedData *AbsRootOf(TCustomVDFormattedData &data) {
    auto *root = dynamic_cast<TCustomVDFormattedData *>(data.GetAbsoluteRootData());
    return root ? root : &data;
}

TCustomVDFormattedData *RootOf(TCustomVDFormattedData &data) {
    auto *root = dynamic_cast<TCustomVDFormattedData *>(data.GetRootData());
    return root ? root : &data;
}

void FocusParent(TCustomVDFormattedData &data) {
    if (auto *control = dynamic_cast<ui::TWinControl *>(data.GetParentControl())) {
        if (control->CanFocus()) {
            control->SetFocus();
        }
    }
}

// The point of client (x, y) relative to the draw item, in document coordinates.
void PointInDrawItem(TCustomVDFormattedData &data, int32_t dItemNo, int32_t &x, int32_t &y) {
    x += data.GetHOffs();
    y += data.GetVOffs();
    data.RotateCoordsFromScreenToDoc(x, y, false, false);
    x -= data.DrawItems[dItemNo]->Left;
    y -= data.GetTransformedDItemTop(dItemNo);
}

// A document forwards only to another one: a root that does not raise an event itself ends the
// chain instead of asking itself again.
TCustomVDFormattedData *Other(TCustomVDFormattedData *root, TCustomVDFormattedData *self) {
    return root != self ? root : nullptr;
}

bool ValidDrawItem(TCustomVDFormattedData &data, int32_t dItemNo) {
    return dItemNo >= 0 && dItemNo < data.DrawItems.Count();
}

} // namespace

// ---- Events that the root or the absolute root raises ----

void TCustomVDFormattedData::DoSelect() {
    if (TCustomVDFormattedData *root = Other(AbsRootOf(*this), this)) {
        root->DoSelect();
    }
}

void TCustomVDFormattedData::DoDrawHyperlink(TCustomVDData *vdData, int32_t itemNo,
                                             const rtl::TRect &r) {
    if (TCustomVDFormattedData *root = Other(AbsRootOf(*this), this)) {
        root->DoDrawHyperlink(vdData, itemNo, r);
    }
}

bool TCustomVDFormattedData::IsAssignedCopy() {
    if (TCustomVDFormattedData *root = Other(RootOf(*this), this)) {
        return root->IsAssignedCopy();
    }
    return false;
}

void TCustomVDFormattedData::DoCopy() {
    if (TCustomVDFormattedData *root = Other(RootOf(*this), this)) {
        root->DoCopy();
    }
}

bool TCustomVDFormattedData::IsAssignedVDRightClick() {
    if (TCustomVDFormattedData *root = Other(AbsRootOf(*this), this)) {
        return root->IsAssignedVDRightClick();
    }
    return false;
}

bool TCustomVDFormattedData::IsAssignedVDDblClick() {
    if (TCustomVDFormattedData *root = Other(AbsRootOf(*this), this)) {
        return root->IsAssignedVDDblClick();
    }
    return false;
}

void TCustomVDFormattedData::DoVDRightClick(const TVDRawByteString &clickedWord, int32_t styleNo,
                                            int32_t x, int32_t y) {
    if (TCustomVDFormattedData *root = Other(AbsRootOf(*this), this)) {
        root->DoVDRightClick(clickedWord, styleNo, x, y);
    }
}

void TCustomVDFormattedData::DoVDDblClick(const TVDRawByteString &clickedWord, int32_t styleNo) {
    if (TCustomVDFormattedData *root = Other(AbsRootOf(*this), this)) {
        root->DoVDDblClick(clickedWord, styleNo);
    }
}

void TCustomVDFormattedData::DoGetItemCursor(TCustomVDData *vdData, int32_t itemNo,
                                             ui::TCursor &cursor) {
    if (TCustomVDFormattedData *root = Other(AbsRootOf(*this), this)) {
        root->DoGetItemCursor(vdData, itemNo, cursor);
    }
}

void TCustomVDFormattedData::CreateSelectionHandlesAfterTap() {
    if (TCustomVDFormattedData *root = Other(AbsRootOf(*this), this)) {
        root->CreateSelectionHandlesAfterTap();
    }
}

// ---- Press ----

void TCustomVDFormattedData::MouseDown(ui::TMouseButton button, ui::TShiftState shift, int32_t x,
                                       int32_t y) {
    CheckCurrentItemSpelling();
    UpdateDrawItemUnderMouse(x, y);
    FClickedDrawItemNo = LastDIMovedAbove;
    const bool dbl = shift.Contains(ui::ssDouble);
    int32_t clickedItemNo = -1;
    if (!ValidDrawItem(*this, LastDIMovedAbove)) {
        DestroyInplace();
        if (!dbl) {
            FocusParent(*this);
        }
    } else {
        clickedItemNo = DrawItems[LastDIMovedAbove]->ItemNo;
        TCustomVDItemInfo *item = GetItem(clickedItemNo);
        if (item != FPartialSelectedItem && item != GetChosenItem()) {
            DeselectPartiallySelectedItem(nullptr);
            if (!dbl) {
                FocusParent(*this);
            }
        }
        if (ui::TWinControl *editor = GetInplaceEditor();
            editor && !item->OwnsInplaceEditor(editor)) {
            DestroyInplace();
            if (!dbl) {
                FocusParent(*this);
            }
        }
        int32_t rx = x, ry = y;
        PointInDrawItem(*this, LastDIMovedAbove, rx, ry);
        item->MouseDown(button, shift, rx, ry, clickedItemNo, this);
    }
    if (!GetInplaceEditor() && IsAssignedVDMouseDown()) {
        DoVDMouseDown(button, shift, clickedItemNo, x, y);
    }
    LastJumpDIDowned = AbsRootOf(*this)->GetFlags().Contains(vdflUseJumps) &&
                               ValidDrawItem(*this, LastDIMovedAbove) &&
                               GetItem(clickedItemNo)->GetBoolValueEx(vdbpJump, GetVDStyle())
                           ? LastDIMovedAbove
                           : -1;
    if (FCaptureMouseItem || GetInplaceEditor()) {
        if (ValidDrawItem(*this, LastDIMovedAbove)) {
            FSelStartNo = FSelEndNo = LastDIMovedAbove;
            FSelStartOffs = FSelEndOffs = 1;
            DoOnSelection(true);
        }
        return;
    }
    if (button != ui::mbLeft || dbl || AbsRootOf(*this)->State.Contains(vdstStartingDragDrop)) {
        return;
    }
    MouseDownLeft(shift, x, y);
}

void TCustomVDFormattedData::MouseDownLeft(ui::TShiftState shift, int32_t x, int32_t y) {
    const TVDOptions options = GetOptions();
    if (options.Contains(vdoSingleClick) && IsAssignedVDDblClick()) {
        TVDRawByteString word;
        int32_t styleNo = 0, itemNo = -1, offs = 0;
        TCustomVDFormattedData *data = nullptr;
        if (FindWordAtR(word, x, y, styleNo, itemNo, offs, data)) {
            DoVDDblClick(word, styleNo);
        }
    }
    if (!options.Contains(vdoAllowSelection)) {
        return;
    }
    State.Exclude(vdstLineSelection);
    DeselectPartiallySelectedItem(nullptr);
    int32_t anchorNo = -1, anchorOffs = 0;
    GetSelStart(anchorNo, anchorOffs);
    const int32_t dx = x + GetHOffs(), dy = y + GetVOffs();
    int32_t no = -1, offs = -1;
    FindDrawItemForSel(dx, dy, no, offs, false, false, false, false);
    const bool shiftHeld = shift.Contains(ui::ssShift);
    const bool inMargin = IsAboveLineSelectMargin(dx, dy);
    if (no >= 0 && DItem_InsideSelection(no, offs, true)) {
        int32_t sNo = -1, sOffs = -1;
        FindDrawItemForSel(dx, dy, sNo, sOffs, true, false, false, false);
        if (sNo >= 0 && !shiftHeld && !inMargin && DItem_InsideSelection(sNo, sOffs, true) &&
            CanStartDrag()) {
            AbsRootOf(*this)->State.Include(vdstStartingDragDrop);
            int32_t px = dx, py = dy;
            RotateCoordsFromScreenToDoc(px, py, false, false);
            StoreClickPoint(px, py);
            return;
        }
    }
    FSelEndNo = no;
    FSelEndOffs = offs;
    if (!shiftHeld || FSelStartNo < 0) {
        FSelStartNo = no;
        FSelStartOffs = offs;
    }
    StartMouseSelection(shiftHeld, inMargin, dx, dy);
    DoOnSelection(!State.Contains(vdstMakingSelection));
    Invalidate();
}

void TCustomVDFormattedData::StartMouseSelection(bool shiftHeld, bool inMargin, int32_t x,
                                                 int32_t y) {
    if (FSelEndNo < 0) {
        State.Exclude(vdstMakingSelection);
        return;
    }
    State.Include(vdstMakingSelection);
    FSelectingInfo.reset();
    TVDStyle *style = GetVDStyle();
    if (style && style->GetLineSelectCursor() != -1 && GetBiDiMode() != vdbdRightToLeft &&
        inMargin && !shiftHeld) {
        State.Include(vdstLineSelection);
        ExpandSelectionToLines(true);
        return;
    }
    const TVDSelectionMode mode = style ? style->GetSelectionMode() : vdsmWord;
    if (mode != vdsmWord && mode != vdsmParagraph) {
        return;
    }
    InitSelectingInfo(mode == vdsmParagraph);
    if (mode == vdsmParagraph && shiftHeld) {
        SelectTo(x, y);
    }
}

// ---- Release ----

void TCustomVDFormattedData::MouseUp(ui::TMouseButton button, ui::TShiftState shift, int32_t x,
                                     int32_t y) {
    TCustomVDFormattedData *absRoot = AbsRootOf(*this);
    if (button == ui::mbLeft && absRoot->State.Contains(vdstStartingDragDrop)) {
        absRoot->State.Exclude(vdstStartingDragDrop);
        MoveCaretToMouse(x, y, false);
    }
    const bool selectionExisted = SelectionExists(true, true);
    if (!FCaptureMouseItem) {
        if (State.Contains(vdstMakingSelection) && button == ui::mbLeft) {
            EndMouseSelection(x, y);
        }
        if (GetOptions().Contains(vdoRClickDeselects) && button == ui::mbRight) {
            MoveCaretToMouse(x, y, true);
        }
    }
    UpdateDrawItemUnderMouse(x, y);
    int32_t clickedItemNo = -1;
    if (ValidDrawItem(*this, LastDIMovedAbove)) {
        clickedItemNo = DrawItems[LastDIMovedAbove]->ItemNo;
        int32_t rx = x, ry = y;
        PointInDrawItem(*this, LastDIMovedAbove, rx, ry);
        GetItem(clickedItemNo)->MouseUp(button, shift, rx, ry, clickedItemNo, this);
    }
    if (FCaptureMouseItem) {
        return;
    }
    MouseUpEvents(button, shift, x, y, clickedItemNo, selectionExisted);
    LastJumpDIDowned = -1;
    FClickedDrawItemNo = -1;
}

void TCustomVDFormattedData::EndMouseSelection(int32_t x, int32_t y) {
    if (!GetFlags().Contains(vdflMouseXYAlwaysCorrect)) {
        x = std::clamp(x, 0, GetWidth());
        y = std::clamp(y, 0, GetHeight());
    }
    if (State.Contains(vdstLineSelection)) {
        LineSelectTo(x + GetHOffs(), y + GetVOffs());
    } else {
        SelectTo(x + GetHOffs(), y + GetVOffs());
    }
    State.Exclude(vdstMakingSelection);
    State.Exclude(vdstLineSelection);
    FSelectingInfo.reset();
    UpdateDrawItemUnderMouse(x, y);
    AdjustMouseUpSelection();
    DoOnSelection(true);
    if (SelectionExists(false, false)) {
        ChooseMe();
    }
    DoSelect();
    Invalidate();
}

void TCustomVDFormattedData::MouseUpEvents(ui::TMouseButton button, ui::TShiftState shift,
                                           int32_t x, int32_t y, int32_t clickedItemNo,
                                           bool selectionExisted) {
    if (!selectionExisted && button != ui::mbMiddle && clickedItemNo >= 0 &&
        GetItem(clickedItemNo)->GetBoolValueEx(vdbpAllowsFocus, GetVDStyle())) {
        auto *controlData = dynamic_cast<TVDControlData *>(GetRootData());
        if (controlData && controlData->TabNavigation != vdtnNone) {
            AdjustFocus(clickedItemNo, this, clickedItemNo);
            GetItem(clickedItemNo)->Focusing();
        }
    }
    if (IsAssignedVDMouseUp()) {
        DoVDMouseUp(button, shift, clickedItemNo, x, y);
    }
    if (button == ui::mbRight && IsAssignedVDRightClick()) {
        TVDRawByteString word;
        int32_t styleNo = 0, itemNo = -1, offs = 0;
        TCustomVDFormattedData *data = nullptr;
        if (FindWordAtR(word, x, y, styleNo, itemNo, offs, data)) {
            const gfx::TPoint p = ClientToScreen(gfx::TPoint{x, y});
            DoVDRightClick(word, styleNo, p.X, p.Y);
        }
    }
    TCustomVDFormattedData *root = RootOf(*this);
    if (button == ui::mbLeft && LastJumpDIDowned >= 0 && LastJumpDIDowned == LastDIMovedAbove &&
        root->IsAssignedJump() && !selectionExisted) {
        root->DoJump(FFirstJumpNo + GetItem(DrawItems[LastJumpDIDowned]->ItemNo)->JumpID);
    }
}

void TCustomVDFormattedData::MoveCaretToMouse(int32_t x, int32_t y, bool onlyOutsideSelection) {
    int32_t no = -1, offs = -1;
    FindDrawItemForSel(x + GetHOffs(), y + GetVOffs(), no, offs, false, false, false, false);
    if (onlyOutsideSelection && no >= 0 && SelectionExists(false, false) &&
        DItem_InsideSelection(no, offs, true)) {
        return;
    }
    FSelStartNo = FSelEndNo = no;
    FSelStartOffs = FSelEndOffs = no < 0 ? 0 : offs;
    AdjustMouseUpSelection();
    DoOnSelection(true);
    if (SelectionExists(false, false)) {
        ChooseMe();
    }
    DoSelect();
    Invalidate();
}

// ---- Double and triple clicks ----

void TCustomVDFormattedData::DblClick() {
    DblClickAt(ScreenToClient(ui::Screen->GetCursorPos()));
}

void TCustomVDFormattedData::DblClickAt(gfx::TPoint p) {
    const TVDOptions options = GetOptions();
    const bool handled = IsAssignedVDDblClick();
    const bool selects = options.Contains(vdoDblClickSelectsWord);
    if (!selects && !(handled && !options.Contains(vdoSingleClick))) {
        return;
    }
    TVDRawByteString word;
    int32_t styleNo = 0, itemNo = -1, offs = 0;
    TCustomVDFormattedData *data = nullptr;
    const bool found = FindWordAtR(word, p.X, p.Y, styleNo, itemNo, offs, data);
    if (!selects || !options.Contains(vdoAllowSelection)) {
        if (handled && found) {
            DoVDDblClick(word, styleNo);
        }
        return;
    }
    if (!found) {
        return;
    }
    TCustomVDItemInfo *item = data->GetItem(itemNo);
    if (!item->IsText()) {
        data->SetSelectionBounds(itemNo, 0, itemNo, 1);
    } else {
        const int32_t length = GetItemTextLength(word, item->ItemOptions);
        data->SetSelectionBounds(itemNo, offs, itemNo, offs + length);
    }
    data->ChooseMe();
    data->State.Exclude(vdstMakingSelection);
    State.Exclude(vdstMakingSelection);
    CreateSelectionHandlesAfterTap();
    DoVDDblClick(word, styleNo);
    Invalidate();
}

void TCustomVDFormattedData::TripleClick() {
    if (auto *chosen = dynamic_cast<TCustomVDFormattedData *>(GetChosenVDData());
        chosen && chosen != this) {
        chosen->TripleClick();
        return;
    }
    const TVDOptions options = GetOptions();
    if (!options.Contains(vdoDblClickSelectsWord) || !options.Contains(vdoAllowSelection) ||
        FSelStartNo < 0) {
        return;
    }
    int32_t s = 0, so = 0, e = 0, eo = 0;
    GetSelectionBounds(s, so, e, eo, true);
    int32_t first = s, last = e;
    ExpandToVisiblePara(s, e, first, last);
    SetSelectionBounds(first, GetOffsBeforeItem(first), last, GetOffsAfterItem(last));
    CreateSelectionHandlesAfterTap();
    Invalidate();
}

} // namespace vizivodu
