// The formatted document under the mouse: the draw item under it, mouse moves with hyperlink
// hover, cursors and hints, the extension of a mouse selection, the mouse leaving, the capture
// by an item, and the drag threshold of the selection.
#include "vizivodu/layout/formatting/CVDFData.h"

#include "vizivodu/document/VDItem.h"
#include "vizivodu/styles/VDStyle.h"

#include "platform/ui/Application.h"
#include "platform/ui/Control.h"
#include "platform/ui/Cursors.h"
#include "platform/ui/Mouse.h"

#include <algorithm>

namespace vizivodu {

namespace {

TCustomVDFormattedData *AbsRootOf(TCustomVDFormattedData &data) {
    auto *root = dynamic_cast<TCustomVDFormattedData *>(data.GetAbsoluteRootData());
    return root ? root : &data;
}

bool IsJumpItem(TCustomVDFormattedData &data, int32_t dItemNo) {
    return data.GetItem(data.DrawItems[dItemNo]->ItemNo)
        ->GetBoolValueEx(vdbpJump, data.GetVDStyle());
}

} // namespace

bool TCustomVDFormattedData::IsAboveLineSelectMargin(int32_t x, int32_t y) {
    RotateCoordsFromScreenToDoc(x, y, false, false);
    return x < GetLeftMargin();
}

void TCustomVDFormattedData::UpdateDrawItemUnderMouse(int32_t x, int32_t y) {
    if (FCaptureMouseItem) {
        return;
    }
    x += GetHOffs();
    y += GetVOffs();
    RotateCoordsFromScreenToDoc(x, y, false, false);
    const int32_t last = LastDIMovedAbove;
    if (last >= 0 && last < DrawItems.Count()) {
        const TVDDrawLineInfo &d = *DrawItems[last];
        const int32_t top = GetTransformedDItemTop(last) - d.GetExtraSpaceAbove();
        if (x >= d.Left && x < d.Left + d.Width && y >= top && y < top + d.Height) {
            return;
        }
    }
    LastDIMovedAbove = FindDrawItemAt(x, y);
}

// ---- Mouse moves ----

namespace {

// The point of client (x, y) relative to the draw item, in document coordinates.
void PointInDrawItem(TCustomVDFormattedData &data, int32_t dItemNo, int32_t &x, int32_t &y) {
    x += data.GetHOffs();
    y += data.GetVOffs();
    data.RotateCoordsFromScreenToDoc(x, y, false, false);
    x -= data.DrawItems[dItemNo]->Left;
    y -= data.GetTransformedDItemTop(dItemNo);
}

void ShowItemHint(TCustomVDFormattedData &data, int32_t itemNo) {
    if (!data.GetOptions().Contains(vdoShowItemHints)) {
        return;
    }
    rtl::UnicodeString hint;
    if (itemNo >= 0) {
        hint = data.GetItemHint(data, itemNo, u"");
    }
    data.SetControlHint(hint);
}

// The item under the mouse reacts; true when a cursor was set.
bool ProcessItemUnderMouse(TCustomVDFormattedData &data, ui::TShiftState shift, int32_t x,
                           int32_t y, bool hover, bool jumpsJustBuilt) {
    const int32_t old = data.LastDIMovedAbove;
    data.UpdateDrawItemUnderMouse(x, y);
    const int32_t dNo = data.LastDIMovedAbove;
    if (dNo < 0 || dNo >= data.DrawItems.Count()) {
        if (hover) {
            data.UpdateHoveredJump(-1, old, jumpsJustBuilt);
        }
        if (!data.State.Contains(vdstMakingSelection)) {
            ShowItemHint(data, -1);
        }
        return false;
    }
    const int32_t itemNo = data.DrawItems[dNo]->ItemNo;
    TCustomVDItemInfo *item = data.GetItem(itemNo);
    int32_t rx = x, ry = y;
    PointInDrawItem(data, dNo, rx, ry);
    ShowItemHint(data, itemNo);
    if (hover && data.UpdateHoveredJump(dNo, old, jumpsJustBuilt)) {
        item->MouseMove(shift, rx, ry, itemNo, &data);
        return true;
    }
    if (item->MouseMove(shift, rx, ry, itemNo, &data)) {
        return true;
    }
    if (!shift.Contains(ui::ssShift) && data.CanStartDrag()) {
        int32_t no = -1, offs = -1;
        data.FindDrawItemForSel(x + data.GetHOffs(), y + data.GetVOffs(), no, offs, true, false,
                                false, false);
        if (no >= 0 && data.DItem_InsideSelection(no, offs, true)) {
            data.SetCursor(ui::crArrow);
            return true;
        }
    }
    ui::TCursor cursor = -1;
    data.DoGetItemCursor(&data, itemNo, cursor);
    if (cursor != -1) {
        data.SetCursor(cursor);
        return true;
    }
    return false;
}

} // namespace

void TCustomVDFormattedData::MouseMove(ui::TShiftState shift, int32_t x, int32_t y) {
    TCustomVDFormattedData *absRoot = AbsRootOf(*this);
    const bool jumpsJustBuilt = absRoot->State.Contains(vdstJumpsJustBuilt);
    absRoot->State.Exclude(vdstJumpsJustBuilt);
    TVDStyle *style = GetVDStyle();
    if (!style) {
        return;
    }
    if (State.Contains(vdstMakingSelection) && !shift.Contains(ui::ssLeft)) {
        // The release was lost: the selection ends where it is.
        State.Exclude(vdstMakingSelection);
        FSelectingInfo.reset();
    }
    ClearXorDrawing();
    if (FCaptureMouseItem) {
        if (!ProcessItemUnderMouse(*this, shift, x, y, false, jumpsJustBuilt)) {
            SetCursor(GetNormalCursor());
        }
        XorDrawingEx(x, y);
        return;
    }
    if (absRoot->State.Contains(vdstStartingDragDrop)) {
        int32_t dx = x + GetHOffs(), dy = y + GetVOffs();
        RotateCoordsFromScreenToDoc(dx, dy, false, false);
        if (DragThresholdExceeded(dx, dy)) {
            if (ui::TControl *control = absRoot->GetParentControl()) {
                ui::PostMessage(control, ui::WM_USER + 16);
            }
            return;
        }
    }
    ExtendMouseSelection(x, y);
    const bool making = State.Contains(vdstMakingSelection);
    if (style->GetLineSelectCursor() != -1 && !making && GetBiDiMode() != vdbdRightToLeft &&
        IsAboveLineSelectMargin(x + GetHOffs(), y + GetVOffs()) &&
        GetOptions().Contains(vdoAllowSelection)) {
        ShowItemHint(*this, -1);
        SetCursor(style->GetLineSelectCursor());
    } else if (!ProcessItemUnderMouse(*this, shift, x, y, true, jumpsJustBuilt)) {
        SetCursor(GetNormalCursor());
    }
    XorDrawingEx(x, y);
}

void TCustomVDFormattedData::ExtendMouseSelection(int32_t x, int32_t y) {
    if (!State.Contains(vdstMakingSelection)) {
        return;
    }
    if (!GetFlags().Contains(vdflMouseXYAlwaysCorrect)) {
        x = std::clamp(x, 0, GetWidth());
        y = std::clamp(y, 0, GetHeight());
    }
    x += GetHOffs();
    y += GetVOffs();
    const int32_t oldStart = FSelStartNo, oldEnd = FSelEndNo;
    const bool lineSelection = State.Contains(vdstLineSelection);
    bool changed = false;
    if (lineSelection) {
        changed = LineSelectTo(x, y);
        ExpandSelectionToLines(false);
    } else {
        changed = SelectTo(x, y);
    }
    if (!changed) {
        return;
    }
    DoOnSelection(!lineSelection);
    InvalidateSelectionChange(oldStart, oldEnd);
}

void TCustomVDFormattedData::InvalidateSelectionChange(int32_t oldStartNo, int32_t oldEndNo) {
    // Only the draw items between the old and the new ends changed their look, unless the anchor
    // moved (word and paragraph modes move it within a few draw items).
    const int32_t count = DrawItems.Count();
    int32_t first = std::min({oldEndNo, FSelEndNo, oldStartNo, FSelStartNo});
    int32_t last = std::max({oldEndNo, FSelEndNo, oldStartNo, FSelStartNo});
    if (oldStartNo == FSelStartNo) {
        first = std::min(oldEndNo, FSelEndNo);
        last = std::max(oldEndNo, FSelEndNo);
    }
    first = std::max(first, 0);
    last = std::min(last, count - 1);
    if (first > last || IsRotationUsed() || IsLineOrderReversed()) {
        Invalidate();
        return;
    }
    ResetSubCoords();
    // Draw items out of the view are not repainted: the range is clipped to the visible rows.
    const int32_t vTop = GetVOffs(), vBottom = GetVOffs() + GetHeight();
    int32_t top = INT32_MAX, bottom = INT32_MIN;
    for (int32_t i = first; i <= last; ++i) {
        const TVDDrawLineInfo &d = *DrawItems[i];
        if (d.Top > vBottom) {
            break;
        }
        if (d.Top + d.Height < vTop) {
            i = std::max(i, GetDrawItemNo(vTop, 1) - 1);
            continue;
        }
        top = std::min(top, d.Top - d.GetExtraSpaceAbove());
        bottom = std::max(bottom, d.Top + d.Height);
    }
    if (top <= bottom) {
        InvalidateRect(rtl::Rect(0, top - GetVOffs(), GetWidth(), bottom - GetVOffs()), false);
    }
}

// ---- Hover ----

bool TCustomVDFormattedData::UpdateHoveredJump(int32_t newDrawItemNo, int32_t oldDrawItemNo,
                                               bool jumpsJustBuilt) {
    if (!AbsRootOf(*this)->GetFlags().Contains(vdflUseJumps)) {
        return false;
    }
    const int32_t count = DrawItems.Count();
    const bool newValid = newDrawItemNo >= 0 && newDrawItemNo < count;
    const bool newJump = newValid && IsJumpItem(*this, newDrawItemNo);
    if (newJump) {
        TCustomVDItemInfo *item = GetItem(DrawItems[newDrawItemNo]->ItemNo);
        TVDStyle *style = GetVDStyle();
        SetCursor(item->IsText()
                      ? style->GetTextStyles().GetItem(GetActualStyle(*item)).GetJumpCursor()
                      : item->GetHypertextCursor(style));
    }
    if (newDrawItemNo == oldDrawItemNo && !jumpsJustBuilt) {
        return newJump;
    }
    const int32_t newItemNo = newValid ? DrawItems[newDrawItemNo]->ItemNo : -1;
    if (oldDrawItemNo >= 0 && oldDrawItemNo < count &&
        DrawItems[oldDrawItemNo]->ItemNo != newItemNo) {
        const int32_t oldItemNo = DrawItems[oldDrawItemNo]->ItemNo;
        GetItem(oldItemNo)->MouseLeave(this, oldItemNo);
    }
    auto *root = dynamic_cast<TCustomVDFormattedData *>(GetRootData());
    if (newJump) {
        (root ? root : this)->DoVDMouseMove(FFirstJumpNo + GetItem(newItemNo)->JumpID);
    } else if (LastJumpDIMovedAboveFirst >= 0) {
        (root ? root : this)->DoVDMouseMove(-1);
    }
    InvalidateHighlightedJump();
    LastJumpDIMovedAboveFirst = newJump ? newDrawItemNo : -1;
    ExtendJumpRangeByTag();
    State.Include(vdstDrawHover);
    InvalidateHighlightedJump();
    return newJump;
}

void TCustomVDFormattedData::MouseLeave() {
    if (!AbsRootOf(*this)->GetFlags().Contains(vdflUseJumps)) {
        return;
    }
    const int32_t count = DrawItems.Count();
    if (LastDIMovedAbove >= 0 && LastDIMovedAbove < count && !FCaptureMouseItem) {
        const int32_t itemNo = DrawItems[LastDIMovedAbove]->ItemNo;
        GetItem(itemNo)->MouseLeave(this, itemNo);
        LastDIMovedAbove = -1;
    }
    InvalidateHighlightedJump();
    ClearJumps(true);
}

// ---- Capture and cursors ----

void TCustomVDFormattedData::SetMouseCapture(TCustomVDItemInfo *item, int32_t &left, int32_t &top) {
    const int32_t count = DrawItems.Count();
    if (LastDIMovedAbove < 0 || LastDIMovedAbove >= count ||
        GetItem(DrawItems[LastDIMovedAbove]->ItemNo) != item) {
        const int32_t itemNo = GetItemNo(item);
        LastDIMovedAbove = itemNo >= 0 ? FindDrawItemByItem(itemNo) : -1;
    }
    if (LastDIMovedAbove >= 0) {
        left = DrawItems[LastDIMovedAbove]->Left;
        top = GetTransformedDItemTop(LastDIMovedAbove);
    }
    FCaptureMouseItem = item;
}

void TCustomVDFormattedData::ReleaseMouseCapture(TCustomVDItemInfo *item) {
    if (FCaptureMouseItem == item) {
        FCaptureMouseItem = nullptr;
    }
}

bool TCustomVDFormattedData::CancelResize() {
    if (!FCaptureMouseItem || !FXORDrawing) {
        return false;
    }
    UnAssignXorDrawing(FXORDrawingOwner);
    FCaptureMouseItem = nullptr;
    SetCursor(GetNormalCursor());
    ui::Screen->SetCursor(ui::crDefault);
    return true;
}

// The control's own Cursor stays the normal cursor (GetNormalCursor answers it).
void TCustomVDFormattedData::SetCursor(ui::TCursor cursor) {
    if (ui::TControl *control = GetParentControl()) {
        ui::SetShownCursor(*control, cursor);
    }
}

gfx::TPoint TCustomVDFormattedData::ClientToScreen(gfx::TPoint p) {
    ui::TControl *control = GetParentControl();
    return control ? control->ClientToScreen(p) : p;
}

gfx::TPoint TCustomVDFormattedData::ScreenToClient(gfx::TPoint p) {
    ui::TControl *control = GetParentControl();
    return control ? control->ScreenToClient(p) : p;
}

// ---- Dragging the selection: the absolute root answers ----

bool TCustomVDFormattedData::CanStartDrag() {
    TCustomVDFormattedData *root = AbsRootOf(*this);
    return root != this && root->CanStartDrag();
}

void TCustomVDFormattedData::StoreClickPoint(int32_t x, int32_t y) {
    TCustomVDFormattedData *root = AbsRootOf(*this);
    RotateCoordsFromDocToScreen(x, y, vdtrbAbsRoot);
    if (root != this) {
        root->StoreClickPoint(x, y);
        return;
    }
    FClickPoint = {x, y};
}

bool TCustomVDFormattedData::DragThresholdExceeded(int32_t x, int32_t y) {
    TCustomVDFormattedData *root = AbsRootOf(*this);
    RotateCoordsFromDocToScreen(x, y, vdtrbAbsRoot);
    if (root != this) {
        return root->DragThresholdExceededAt(x, y);
    }
    return DragThresholdExceededAt(x, y);
}

bool TCustomVDFormattedData::DragThresholdExceededAt(int32_t x, int32_t y) const {
    const int32_t dx = (ui::GetSystemMetrics(ui::SM_CXDRAG) + 1) / 2;
    const int32_t dy = (ui::GetSystemMetrics(ui::SM_CYDRAG) + 1) / 2;
    return std::abs(x - FClickPoint.X) >= dx || std::abs(y - FClickPoint.Y) >= dy;
}

void TCustomVDFormattedData::DoDrag() {
    // Dropping comes with the editor: without a drop source the drag ends here.
    State.Exclude(vdstStartingDragDrop);
    AbsRootOf(*this)->State.Exclude(vdstStartingDragDrop);
    State.Include(vdstCanDragDropDeleteSelection);
    if (!GetDropSource()) {
        State.Exclude(vdstCanDragDropDeleteSelection);
        return;
    }
    ReleaseDropSource(false);
    State.Exclude(vdstCanDragDropDeleteSelection);
}

} // namespace vizivodu
