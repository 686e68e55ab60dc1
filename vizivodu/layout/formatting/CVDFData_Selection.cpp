// The formatted document's selection: its queries, its setters, the partially selected item, the
// chosen sub-document, the range a selection saves, and the selection's geometry.
#include "vizivodu/layout/formatting/CVDFData.h"

#include "vizivodu/document/VDItem.h"

#include "platform/rtl/Classes.h"
#include "platform/ui/Control.h"

#include <algorithm>

namespace vizivodu {

namespace {

// The chosen sub-document when it is a formatted one other than data itself.
TCustomVDFormattedData *ChosenOf(TCustomVDFormattedData &data) {
    auto *chosen = dynamic_cast<TCustomVDFormattedData *>(data.GetChosenVDData());
    return chosen == &data ? nullptr : chosen;
}

} // namespace

// ---- Queries ----

bool TCustomVDFormattedData::SelectionExists(bool allowReset, bool usePartialSelected) {
    if (TCustomVDFormattedData *chosen = ChosenOf(*this)) {
        return chosen->SelectionExists(allowReset, usePartialSelected);
    }
    if (usePartialSelected && FPartialSelectedItem && FPartialSelectedItem->PartiallySelected()) {
        return true;
    }
    int32_t startNo = 0, endNo = 0, startOffs = 0, endOffs = 0;
    GetSelBounds(startNo, endNo, startOffs, endOffs, true);
    if (startNo < 0 || endNo < 0) {
        return false;
    }
    // A selection from the end of one draw item to the start of the next one on the same line
    // selects nothing; onto the next line it selects the line break.
    const bool empty = (startNo == endNo && startOffs == endOffs) ||
                       (endNo == startNo + 1 && startOffs == GetOffsAfterDrawItem(startNo) &&
                        endOffs == GetOffsBeforeDrawItem(endNo) && !IsDrawItemFromNewLine(endNo));
    if (empty) {
        if (allowReset && !State.Contains(vdstMakingSelection)) {
            Deselect(FPartialSelectedItem, false);
        }
        return false;
    }
    return true;
}

void TCustomVDFormattedData::GetSelStart(int32_t &dINo, int32_t &dIOffs) {
    SelectionExists(true, false);
    dINo = FSelStartNo;
    dIOffs = FSelStartOffs;
}

void TCustomVDFormattedData::GetSelectionBounds(int32_t &startItemNo, int32_t &startItemOffs,
                                                int32_t &endItemNo, int32_t &endItemOffs,
                                                bool normalize) {
    StoreSelBounds(startItemNo, endItemNo, startItemOffs, endItemOffs, normalize);
}

void TCustomVDFormattedData::GetSelectionBoundsEx(int32_t &startItemNo, int32_t &startItemOffs,
                                                  int32_t &endItemNo, int32_t &endItemOffs,
                                                  bool normalize) {
    GetSelectionBounds(startItemNo, startItemOffs, endItemNo, endItemOffs, normalize);
}

bool TCustomVDFormattedData::GetSingleSelectedItem(TCustomVDFormattedData *&vdData,
                                                   int32_t &itemNo) {
    if (TCustomVDFormattedData *chosen = ChosenOf(*this)) {
        return chosen->GetSingleSelectedItem(vdData, itemNo);
    }
    vdData = nullptr;
    itemNo = -1;
    int32_t s = 0, so = 0, e = 0, eo = 0;
    GetSelectionBounds(s, so, e, eo, true);
    if (s < 0 || e < 0) {
        return false;
    }
    const auto atEnd = [&](int32_t no, int32_t offs) { return offs >= GetOffsAfterItem(no); };
    const auto atStart = [&](int32_t no, int32_t offs) { return offs <= GetOffsBeforeItem(no); };
    int32_t found = -1;
    if (s == e) {
        if (so <= 0 && eo > 0 && !GetItem(s)->IsText()) {
            found = s;
        }
    } else if (e == s + 1) {
        if (atEnd(s, so) && atEnd(e, eo)) {
            found = e;
        } else if (atStart(s, so) && atStart(e, eo)) {
            found = s;
        }
    } else if (e == s + 2 && atEnd(s, so) && atStart(e, eo)) {
        found = s + 1;
    }
    if (found < 0) {
        return false;
    }
    vdData = this;
    itemNo = found;
    return true;
}

gfx::TGraphic *TCustomVDFormattedData::GetSelectedImage() {
    TCustomVDFormattedData *vdData = nullptr;
    int32_t itemNo = -1;
    if (!GetSingleSelectedItem(vdData, itemNo)) {
        return nullptr;
    }
    return vdData->GetItem(itemNo)->AsImage();
}

TVDRawByteString TCustomVDFormattedData::GetSelTextR(bool unicode) {
    if (TCustomVDFormattedData *chosen = ChosenOf(*this)) {
        return chosen->GetSelTextR(unicode);
    }
    if (!SelectionExists(false, true)) {
        return {};
    }
    rtl::TMemoryStream stream;
    if (!SaveTextToStream(u"", stream, 80, true, true, unicode, false, 0, true)) {
        return {};
    }
    const uint8_t *bytes = stream.GetMemory();
    return bytes ? TVDRawByteString(reinterpret_cast<const char *>(bytes),
                                    static_cast<size_t>(stream.GetSize()))
                 : TVDRawByteString();
}

bool TCustomVDFormattedData::Item_InsideSelection(int32_t itemNo, int32_t itemOffs,
                                                  bool includeBorders) {
    int32_t parentItemNo = -1;
    std::unique_ptr<TVDStoreSubVDData> location;
    GetParentInfo(parentItemNo, location);
    if (parentItemNo >= 0) {
        auto *parent = dynamic_cast<TCustomVDFormattedData *>(GetAbsoluteParentData());
        if (parent && parent->Item_InsideSelection(parentItemNo, 0, true)) {
            return true;
        }
    }
    if (!SelectionExists(false, false)) {
        return false;
    }
    int32_t s = 0, so = 0, e = 0, eo = 0;
    GetSelectionBounds(s, so, e, eo, true);
    const auto before = [](int32_t n1, int32_t o1, int32_t n2, int32_t o2) {
        return n1 < n2 || (n1 == n2 && o1 < o2);
    };
    if (includeBorders) {
        return !before(itemNo, itemOffs, s, so) && !before(e, eo, itemNo, itemOffs);
    }
    return before(s, so, itemNo, itemOffs) && before(itemNo, itemOffs, e, eo);
}

bool TCustomVDFormattedData::DItem_InsideSelection(int32_t dItemNo, int32_t dItemOffs,
                                                   bool includeBorders) {
    int32_t s = 0, e = 0, so = 0, eo = 0;
    GetSelBounds(s, e, so, eo, true);
    if (s < 0 || e < 0) {
        return false;
    }
    const auto before = [](int32_t n1, int32_t o1, int32_t n2, int32_t o2) {
        return n1 < n2 || (n1 == n2 && o1 < o2);
    };
    if (includeBorders) {
        return !before(dItemNo, dItemOffs, s, so) && !before(e, eo, dItemNo, dItemOffs);
    }
    return before(s, so, dItemNo, dItemOffs) && before(dItemNo, dItemOffs, e, eo);
}

bool TCustomVDFormattedData::IsForwardSelection() {
    return FSelStartNo < FSelEndNo || (FSelStartNo == FSelEndNo && FSelEndOffs >= FSelStartOffs);
}

bool TCustomVDFormattedData::IsMultiParagraphSelection() {
    int32_t s = 0, e = 0, so = 0, eo = 0;
    GetSelBounds(s, e, so, eo, true);
    if (s < 0 || e < 0) {
        return false;
    }
    for (int32_t i = s + 1; i <= e && i < DrawItems.Count(); ++i) {
        if (IsDrawItemParaStart(i)) {
            return true;
        }
    }
    return false;
}

bool TCustomVDFormattedData::IsWholeParagraphSelection() {
    int32_t s = 0, so = 0, e = 0, eo = 0;
    GetSelectionBounds(s, so, e, eo, true);
    if (s < 0 || e < 0 || so > GetOffsBeforeItem(s) || eo < GetOffsAfterItem(e)) {
        return false;
    }
    const int32_t prev = GetPrevVisibleItemNo(s);
    const bool firstStarts =
        IsVisibleParaStart(s) || (prev >= 0 && GetItem(prev)->StyleNo == StyleNoListMarker);
    const int32_t next = GetNextVisibleItemNo(e);
    return firstStarts && (next < 0 || IsVisibleParaStart(next));
}

void TCustomVDFormattedData::GetRangeForSaving(TVDFSaveScope saveScope, int32_t &startItemNo,
                                               int32_t &startOffs, int32_t &endItemNo,
                                               int32_t &endOffs) {
    if (saveScope != vdfss_Selection) {
        TCustomVDData::GetRangeForSaving(saveScope, startItemNo, startOffs, endItemNo, endOffs);
        return;
    }
    StoreSelBounds(startItemNo, endItemNo, startOffs, endOffs, true);
}

TCustomVDItemInfo *TCustomVDFormattedData::GetItemSavingRange(TVDFSaveScope saveScope) {
    return saveScope == vdfss_Selection ? FPartialSelectedItem : nullptr;
}

// ---- Setters ----

void TCustomVDFormattedData::DoSetSelectionBounds(int32_t startItemNo, int32_t startItemOffs,
                                                  int32_t endItemNo, int32_t endItemOffs,
                                                  bool preferLineBeginning) {
    DeselectPartiallySelectedItem(nullptr);
    DestroyInplace();
    if (startItemNo >= 0 && endItemNo >= 0) {
        // A bound on a list marker goes to the start of the paragraph's text.
        const auto offMarker = [&](int32_t &no, int32_t &offs) {
            if (no < ItemCount() && GetItem(no)->StyleNo == StyleNoListMarker &&
                no + 1 < ItemCount()) {
                ++no;
                offs = GetOffsBeforeItem(no);
            }
        };
        offMarker(startItemNo, startItemOffs);
        offMarker(endItemNo, endItemOffs);
    }
    RestoreSelBounds(startItemNo, endItemNo, startItemOffs, endItemOffs, preferLineBeginning);
    AdjustSelectionOffsets();
    DoOnSelection(true);
    DoSelect();
}

void TCustomVDFormattedData::SetSelectionBounds(int32_t startItemNo, int32_t startItemOffs,
                                                int32_t endItemNo, int32_t endItemOffs) {
    CheckCurrentItemSpelling();
    DoSetSelectionBounds(startItemNo, startItemOffs, endItemNo, endItemOffs, false);
}

void TCustomVDFormattedData::SetSelectionBoundsDown(int32_t startItemNo, int32_t startItemOffs,
                                                    int32_t endItemNo, int32_t endItemOffs) {
    CheckCurrentItemSpelling();
    DoSetSelectionBounds(startItemNo, startItemOffs, endItemNo, endItemOffs, true);
}

void TCustomVDFormattedData::AdjustSelectionOffsets() {
    const int32_t count = DrawItems.Count();
    if (FSelStartNo < 0 || FSelEndNo < 0 || FSelStartNo >= count || FSelEndNo >= count) {
        return;
    }
    FSelStartOffs = std::clamp(FSelStartOffs, GetOffsBeforeDrawItem(FSelStartNo),
                               GetOffsAfterDrawItem(FSelStartNo));
    FSelEndOffs =
        std::clamp(FSelEndOffs, GetOffsBeforeDrawItem(FSelEndNo), GetOffsAfterDrawItem(FSelEndNo));
}

void TCustomVDFormattedData::SetPartialSelectedItem(TCustomVDItemInfo *item) {
    if (FPartialSelectedItem == item) {
        return;
    }
    Deselect(item, true);
    FPartialSelectedItem = item;
    DoSelect();
}

void TCustomVDFormattedData::DeselectPartiallySelectedItem(
    TCustomVDItemInfo *newPartiallySelected) {
    if (FPartialSelectedItem && FPartialSelectedItem != newPartiallySelected) {
        TCustomVDItemInfo *old = FPartialSelectedItem;
        FPartialSelectedItem = nullptr;
        old->DeselectPartial();
    }
    TCustomVDItemInfo *chosenItem = GetChosenItem();
    if (chosenItem && chosenItem != newPartiallySelected) {
        ui::TControl *control = GetParentControl();
        if (!control || !control->IsDestroying()) {
            UnassignChosenVDData(GetChosenVDData());
        }
    }
}

void TCustomVDFormattedData::ChooseMe() {
    if (GetAbsoluteRootData()->GetFlags().Contains(vdflRootEditor)) {
        return;
    }
    TCustomVDData *parent = GetAbsoluteParentData();
    if (!parent || parent->GetChosenVDData() == this) {
        return;
    }
    int32_t itemNo = -1;
    std::unique_ptr<TVDStoreSubVDData> location;
    GetParentInfo(itemNo, location);
    if (itemNo < 0 || itemNo >= parent->ItemCount() || !location) {
        return;
    }
    parent->GetItem(itemNo)->ChooseSubVDData(*location);
}

// ---- Geometry ----

void TCustomVDFormattedData::GetSelectionClientRect(rtl::TRect &r) {
    if (TCustomVDFormattedData *chosen = ChosenOf(*this)) {
        chosen->GetSelectionClientRect(r);
        return;
    }
    if (!SelectionExists(false, false)) {
        const rtl::TPoint origin = GetOriginEx();
        r = rtl::Rect(origin.X, origin.Y, origin.X + GetWidth(), origin.Y + GetHeight());
        return;
    }
    ResetSubCoords();
    int32_t s = 0, e = 0, so = 0, eo = 0;
    GetSelBounds(s, e, so, eo, true);
    r = rtl::Rect(0, 0, 0, 0);
    bool any = false;
    for (int32_t i = s; i <= e && i < DrawItems.Count(); ++i) {
        const TVDDrawLineInfo &d = *DrawItems[i];
        const int32_t left = d.Left - GetHOffs();
        const int32_t top = GetTransformedDItemTop(i) - GetVOffs();
        const rtl::TRect one = rtl::Rect(left, top, left + d.Width, top + d.Height);
        r = any ? rtl::Rect(std::min(r.Left, one.Left), std::min(r.Top, one.Top),
                            std::max(r.Right, one.Right), std::max(r.Bottom, one.Bottom))
                : one;
        any = true;
    }
    r = rtl::Rect(std::max(r.Left, 0), std::max(r.Top, 0), std::min(r.Right, GetWidth()),
                  std::min(r.Bottom, GetHeight()));
    const rtl::TPoint origin = GetOrigin();
    r = rtl::Rect(r.Left + origin.X, r.Top + origin.Y, r.Right + origin.X, r.Bottom + origin.Y);
}

rtl::TRect TCustomVDFormattedData::GetSelectionRect() {
    rtl::TRect r;
    GetSelectionClientRect(r);
    if (ui::TControl *control = GetParentControl()) {
        const gfx::TPoint p = control->ClientToScreen(gfx::TPoint{0, 0});
        r = rtl::Rect(r.Left + p.X, r.Top + p.Y, r.Right + p.X, r.Bottom + p.Y);
    }
    return r;
}

bool TCustomVDFormattedData::GetSelectionBoundsCoords(int32_t &x1, int32_t &top1, int32_t &bottom1,
                                                      int32_t &x2, int32_t &top2,
                                                      int32_t &bottom2) {
    ResetSubCoords();
    int32_t s = 0, e = 0, so = 0, eo = 0;
    GetSelBounds(s, e, so, eo, true);
    if (s < 0 || e < 0 || s >= DrawItems.Count() || e >= DrawItems.Count()) {
        return false;
    }
    GetCoordsOfDrawItem(s, so, x1, top1, bottom1);
    GetCoordsOfDrawItem(e, eo, x2, top2, bottom2);
    return true;
}

} // namespace vizivodu
