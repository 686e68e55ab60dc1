// Services of the formatted document around its layout: repainting requests, item
// coordinates and the canvas transform, checkpoints and hyperlink numbers, keyboard focus among
// items, soft page breaks, protection tests, printing widths and what lies behind an item.
#include "vizivodu/layout/formatting/CVDFData.h"

#include "vizivodu/document/CVDData_Helpers.h"
#include "vizivodu/document/VDRazavIrezIzir.h"
#include "vizivodu/layout/formatting/CVDFData_p.h"
#include "vizivodu/layout/formatting/VDBack.h"
#include "vizivodu/layout/printing/PtVDData.h"
#include "vizivodu/layout/printing/PtblVD.h"
#include "vizivodu/layout/text/VDGrIn.h"
#include "vizivodu/layout/viewer/ViziVodu.h"

#include "platform/gfx/Bitmap.h"
#include "platform/rtl/ScopeExit.h"
#include "platform/ui/Control.h"

#include <algorithm>

namespace vizivodu {

// ---- The outside page-layout component ----

void TCustomVDFormattedData::DoBeforeFormat() {
    if (!GetFlags().Contains(vdflRoot)) {
        return;
    }
    if (IVDRazavIrezIzirInterface *ifc = GetRazavIrezIzirInterface()) {
        ifc->FormattingStarts(this);
    }
}

// ---- Repainting ----

void TCustomVDFormattedData::Invalidate() {
    if (ui::TControl *control = GetParentControl()) {
        control->Invalidate();
    }
}

void TCustomVDFormattedData::Refresh() {
    if (ui::TControl *control = GetParentControl()) {
        control->Refresh();
    }
}

void TCustomVDFormattedData::UpdateView() {
    if (ui::TControl *control = GetParentControl()) {
        control->Update();
    }
}

void TCustomVDFormattedData::InvalidateRect(const rtl::TRect &r, bool fromLiveSpelling) {
    ui::TControl *control = GetParentControl();
    if (!control) {
        return;
    }
    if (IsRotationUsed() || IsLineOrderReversed()) {
        control->Invalidate();
        return;
    }
    if (TVDStyle *style = GetVDStyle()) {
        style->GetGraphicInterface().InvalidateRect(*control, &r);
        if (IVDRazavIrezIzirInterface *ifc = GetRazavIrezIzirInterface()) {
            ifc->RectInvalidated(this, r, fromLiveSpelling);
        }
    }
}

// ---- Item coordinates ----

bool TCustomVDFormattedData::GetItemCoords(int32_t itemNo, int32_t &left, int32_t &top) {
    const int32_t d = GetItem(itemNo)->DrawItemNo;
    if (d < 0 || d >= DrawItems.Count()) {
        return false;
    }
    left = DrawItems[d]->Left;
    top = GetTransformedDItemTop(d);
    return true;
}

bool TCustomVDFormattedData::GetItemClientCoords(int32_t itemNo, int32_t &left, int32_t &top) {
    if (!GetItemCoords(itemNo, left, top)) {
        return false;
    }
    left -= GetHOffs();
    top -= GetVOffs();
    return true;
}

bool TCustomVDFormattedData::GetItemCoordsAbsRoot(int32_t itemNo, int32_t part, bool allowFloating,
                                                  rtl::TRect &r) {
    const int32_t first = GetItem(itemNo)->DrawItemNo;
    const int32_t d = first + part;
    if (first < 0 || d < 0 || d >= DrawItems.Count() || DrawItems[d]->ItemNo != itemNo) {
        return false;
    }
    const TVDDrawLineInfo &di = *DrawItems[d];
    r = allowFloating ? rtl::Bounds(di.GetObjectLeft(), GetTransformedDItemObjectTop(d),
                                    di.GetObjectWidth(), di.GetObjectHeight())
                      : rtl::Bounds(di.Left, GetTransformedDItemTop(d), di.Width, di.Height);
    RotateRectFromDocToScreen(r, vdtrbAbsRoot);
    return true;
}

int32_t TCustomVDFormattedData::GetItemPart(int32_t itemNo, int32_t offsetInItem,
                                            bool preferPartAfter) {
    if (itemNo < 0 || itemNo >= ItemCount()) {
        return -1;
    }
    int32_t d = -1, offs = 0;
    Item2DrawItem(itemNo, offsetInItem, d, offs, vddpStrict);
    if (d < 0) {
        return -1;
    }
    if (preferPartAfter && d + 1 < DrawItems.Count() && DrawItems[d + 1]->ItemNo == itemNo &&
        DrawItems[d + 1]->Offs == offsetInItem) {
        ++d;
    }
    return d - GetItem(itemNo)->DrawItemNo;
}

void TCustomVDFormattedData::GetItemAt(int32_t x, int32_t y, int32_t &itemNo,
                                       int32_t &offsetInItem) {
    int32_t no = -1, offs = -1;
    FindDrawItemForSel(x, y, no, offs, true, false, false, false);
    itemNo = -1;
    if (no >= 0) {
        DrawItem2Item(no, offs, itemNo, offsetInItem);
    }
}

void TCustomVDFormattedData::GetItemAtEx(int32_t x, int32_t y, TCustomVDFormattedData *&vdData,
                                         int32_t &itemNo, int32_t &offsetInItem, bool strict,
                                         bool closestSubVDData, bool &inSubVDDataOwnerItem,
                                         bool ignoreFloating, bool coordRelativeToControl) {
    vdData = this;
    inSubVDDataOwnerItem = false;
    itemNo = -1;
    if (coordRelativeToControl) {
        const rtl::TPoint origin = GetOrigin();
        x -= origin.X;
        y -= origin.Y;
    }
    RotateCoordsFromScreenToDoc(x, y, false, false);
    int32_t no = -1, offs = -1;
    FindDrawItemForSel(x, y, no, offs, strict, ignoreFloating, true, false);
    if (no < 0) {
        return;
    }
    DrawItem2Item(no, offs, itemNo, offsetInItem);
    TCustomVDItemInfo *item = GetItem(itemNo);
    auto *sub = dynamic_cast<TCustomVDFormattedData *>(item->GetSubVDDataAt(
        x - DrawItems[no]->Left, y - GetTransformedDItemTop(no), closestSubVDData));
    if (!sub) {
        inSubVDDataOwnerItem = item->GetBoolValue(vdbpHasSubVDData);
        return;
    }
    // From this document's coordinates to the sub-document's: both origins are in the
    // absolute root's.
    const rtl::TPoint own = GetOrigin();
    const rtl::TPoint subOrigin = sub->GetOrigin();
    sub->GetItemAtEx(x + own.X - subOrigin.X, y + own.Y - subOrigin.Y, vdData, itemNo, offsetInItem,
                     strict, closestSubVDData, inSubVDDataOwnerItem, ignoreFloating, false);
}

std::vector<int32_t> TCustomVDFormattedData::GetDrawItemCaretXs(int32_t dItemNo,
                                                                TCaretXsOptions caretOptions) {
    const TVDDrawLineInfo &d = *DrawItems[dItemNo];
    TCustomVDItemInfo *item = GetItem(d.ItemNo);
    std::vector<int32_t> xs(static_cast<size_t>(std::max(d.Length, 0)) + 1, d.Left);
    gfx::TCanvas *canvas = GetFormatCanvas();
    if (d.Length <= 0 || !canvas) {
        return xs;
    }
    TVDStyle &style = *GetVDStyle();
    const bool scaled = GetFormatCanvasEx(nullptr) != nullptr;
    const int32_t styleNo = GetActualStyle(*item);
    const TFontInfo &font = style.GetTextStyles().GetItem(styleNo);
    TVDApplyOptions options{vdaoCanUseCustomPPI, vdaoCanUseFontQuality};
    if (scaled) {
        options.Include(vdaoToFormatCanvas);
    }
    if (caretOptions.VerticalFonts) {
        options.Include(vdaoUseVerticalFont);
    }
    style.ApplyStyle(*canvas, styleNo, GetParaBiDiMode(GetVisibleItemPara(d.ItemNo)), options,
                     nullptr);
    const bool unicode = item->ItemOptions.Contains(vdioUnicode);
    TVDDrawTextForm form;
    form.unicode = unicode;
    form.allCaps = font.GetStyleEx().Contains(vdfsAllCaps);
    const TVDRawByteString text = GetTextForDrawing(
        DrawItems.GetString(dItemNo, GetItems()), form, IsDrawItemLastOnWrappedLine(dItemNo),
        font.IsSymbolCharset(), false, SpecialCharactersShown());
    std::vector<int32_t> pos(xs.size());
    const TVDTextRun run{.Str = text.data(),
                         .Length = d.Length,
                         .Unicode = unicode,
                         .BiDi = GetItemBiDiMode(d.ItemNo) != vdbdUnspecified,
                         .IgnoreSpecialChars = font.IsSymbolCharset()};
    style.GetGraphicInterface().GetCaretPositions(
        *canvas, run, d.GetSpaceCount(),
        ScaleToFormatCanvas(d.Width - d.GetSpaceAtLeft() - d.GetTextWidth(), scaled), pos,
        d.GetLeftNoExpandIndex() - 1, d.GetRightNoExpandIndex() - 1);
    const int32_t left = d.Left + (caretOptions.AddSpaceAtLeft ? d.GetSpaceAtLeft() : 0);
    for (size_t i = 0; i < xs.size(); ++i) {
        xs[i] = left + ScaleFromFormatCanvas(pos[i], scaled);
    }
    return xs;
}

void TCustomVDFormattedData::GetCoordsOfDrawItem(int32_t dItemNo, int32_t dItemOffs, int32_t &x,
                                                 int32_t &top, int32_t &bottom) {
    const TVDDrawLineInfo &d = *DrawItems[dItemNo];
    top = GetTransformedDItemTop(dItemNo);
    bottom = top + d.Height;
    if (!GetItem(d.ItemNo)->IsText() || d.Length == 0 || !GetFormatCanvas()) {
        x = dItemOffs > GetOffsBeforeDrawItem(dItemNo) ? d.Left + d.Width : d.Left;
        return;
    }
    const std::vector<int32_t> xs =
        GetDrawItemCaretXs(dItemNo, {.AddSpaceAtLeft = false, .VerticalFonts = UseVerticalFonts()});
    x = xs[static_cast<size_t>(std::clamp(dItemOffs - 1, 0, d.Length))];
}

void TCustomVDFormattedData::GetCoordsOf(int32_t itemNo, int32_t offs, int32_t &x, int32_t &top,
                                         int32_t &bottom) {
    int32_t d = -1, dOffs = 0;
    Item2DrawItem(itemNo, offs, d, dOffs, vddpBetterBelow);
    if (d >= 0) {
        GetCoordsOfDrawItem(d, dOffs, x, top, bottom);
    }
}

int32_t TCustomVDFormattedData::GetLineNo(int32_t itemNo, int32_t itemOffs) {
    int32_t d = -1, dOffs = 0;
    Item2DrawItem(itemNo, itemOffs, d, dOffs, vddpBetterBelow);
    if (d < 0) {
        return 0;
    }
    int32_t lines = 0;
    for (int32_t i = 0; i <= d; ++i) {
        lines += DrawItems[i]->FromNewLine ? 1 : 0;
    }
    return lines;
}

void TCustomVDFormattedData::ShowRectangle(int32_t left, int32_t top, int32_t width,
                                           int32_t height) {
    if (left < GetHOffs() || GetHOffs() + GetWidth() < left + width) {
        HScrollTo(left - GetWidth() / 4);
    }
    const int32_t bottom = top + height;
    const int32_t step = GetVSmallStep();
    if (GetVOffs() + GetHeight() - 2 * step < bottom && top < GetVOffs() + step) {
        return;
    }
    if (GetVOffs() + GetHeight() < bottom) {
        ScrollTo(bottom + step - GetHeight(), true);
    } else if (top < GetVOffs()) {
        ScrollTo(top, true);
    }
}

// Rotated documents (rotated table cells) draw through a world transform of the canvas: the
// document's own coordinates go in, the canvas turns them.
void TCustomVDFormattedData::PrepareTransform(gfx::TCanvas &canvas, TVDStoreDocTransform &oldState,
                                              int32_t extraX, int32_t extraY, TVDTransformBase base,
                                              int32_t docHeight) {
    if (docHeight < 0) {
        docHeight = DocumentHeight;
    }
    if (base == vdtrbInplaceBackground) {
        TCustomVDData *parent = GetAbsoluteParentData();
        const bool parentIsRoot = parent && !parent->GetParentData();
        DoPrepareTransform(canvas, oldState, extraX, extraY, parentIsRoot ? GetHOffs() : 0,
                           parentIsRoot ? GetVOffs() : 0, GetWidth(), GetHeight(), docHeight,
                           vdveraTop, base);
        return;
    }
    DoPrepareTransform(canvas, oldState, extraX, extraY, GetHOffs(), GetVOffs(), GetWidth(),
                       GetHeight(), docHeight, GetVerticalAlign(), base);
}

void TCustomVDFormattedData::DoPrepareTransform(gfx::TCanvas &canvas,
                                                TVDStoreDocTransform &oldState, int32_t extraX,
                                                int32_t extraY, int32_t hOffs, int32_t vOffs,
                                                int32_t width, int32_t height, int32_t docHeight,
                                                TVDVerticalAlign vAlign, TVDTransformBase base) {
    auto *parent = dynamic_cast<TCustomVDFormattedData *>(GetParentData());
    if (base == vdtrbRecursive && parent) {
        parent->PrepareTransform(canvas, oldState, extraX, extraY, base, -1);
        extraX = 0;
        extraY = 0;
    }
    TVDDocRotation rotation = vdrotNone;
    switch (base) {
    case vdtrbRoot:
    case vdtrbRecursive:
        rotation = GetRealRotation(false);
        break;
    case vdtrbAbsRoot:
        rotation = GetRealRotation(true);
        break;
    case vdtrbInplaceBackground:
        if (TCustomVDData *absParent = GetAbsoluteParentData()) {
            rotation = absParent->GetRealRotation(true);
        }
        break;
    case vdtrbLocal:
        rotation = GetRotation();
        break;
    }
    // A top document with a rotation of its own places its content by its vertical alignment
    // even when it is not turned.
    const bool used = rotation != vdrotNone || (!GetParentData() && GetRotation() != vdrotNone);
    const bool outermost = !oldState.Used;
    if (!used) {
        return;
    }
    TVDGraphicInterface &gi = GetVDStyle()->GetGraphicInterface();
    const bool wasAdvanced = gi.SetGraphicsMode(canvas, vdgmAdvanced) == vdgmAdvanced;
    if (outermost) {
        oldState.Used = true;
        oldState.AdvancedMode = wasAdvanced;
        gi.GetWorldTransform(canvas, oldState.XForm);
    }
    const gfx::TXForm xf = GetRotationXForm(rotation, hOffs + extraX, vOffs + extraY, width, height,
                                            docHeight, vAlign);
    if (wasAdvanced) {
        gi.ModifyWorldTransform(canvas, xf);
    } else {
        gi.SetWorldTransform(canvas, xf);
    }
}

void TCustomVDFormattedData::RestoreTransform(gfx::TCanvas &canvas,
                                              const TVDStoreDocTransform &oldState) {
    if (!oldState.Used) {
        return;
    }
    TVDGraphicInterface &gi = GetVDStyle()->GetGraphicInterface();
    if (oldState.AdvancedMode) {
        gi.SetWorldTransform(canvas, oldState.XForm);
    } else {
        gi.SetGraphicsMode(canvas, vdgmCompatible);
    }
}

// ---- Checkpoints and hyperlinks ----

void TCustomVDFormattedData::GetCheckpointXY(TCheckpointData checkpointData, int32_t &x,
                                             int32_t &y) {
    if (!checkpointData) {
        throw EViziVoduError("Parameter can't be NIL");
    }
    if (checkpointData == NotAddedCP) {
        x = 0;
        y = DocumentHeight;
        return;
    }
    const int32_t itemNo = GetItemNo(checkpointData->ItemInfo);
    const int32_t d = itemNo >= 0 ? GetItem(itemNo)->DrawItemNo : -1;
    if (d < 0 || d >= DrawItems.Count()) {
        throw EViziVoduError("ViziVodu must be formatted for this operation");
    }
    x = DrawItems[d]->Left;
    y = GetTransformedDItemTop(d);
}

int32_t TCustomVDFormattedData::GetCheckpointYEx(TCheckpointData checkpointData) {
    int32_t x = 0, y = 0;
    GetCheckpointXY(checkpointData, x, y);
    return y;
}

int32_t TCustomVDFormattedData::GetJumpPointItemNo(int32_t id) {
    TVDStyle *style = GetVDStyle();
    for (int32_t i = 0; i < ItemCount(); ++i) {
        TCustomVDItemInfo *item = GetItem(i);
        if (item->GetBoolValueEx(vdbpJump, style) && item->JumpID == id - FFirstJumpNo) {
            return i;
        }
    }
    return -1;
}

int32_t TCustomVDFormattedData::GetJumpPointY(int32_t id) {
    const int32_t itemNo = GetJumpPointItemNo(id);
    if (itemNo < 0 || GetItem(itemNo)->DrawItemNo < 0) {
        return -1;
    }
    return GetTransformedDItemTop(GetItem(itemNo)->DrawItemNo);
}

void TCustomVDFormattedData::GetJumpPointLocation(int32_t id, TCustomVDFormattedData *&vdData,
                                                  int32_t &itemNo) {
    vdData = nullptr;
    itemNo = -1;
    TVDStyle *style = GetVDStyle();
    for (int32_t i = 0; i < ItemCount(); ++i) {
        if (IsItemHiddenInView(i)) {
            continue;
        }
        TCustomVDItemInfo *item = GetItem(i);
        if (item->GetBoolValueEx(vdbpJump, style) && item->JumpID + FFirstJumpNo == id) {
            vdData = this;
            itemNo = i;
            return;
        }
        std::unique_ptr<TVDStoreSubVDData> store;
        for (TCustomVDData *sub = item->GetSubVDData(store, vddFirst); sub;
             sub = item->GetSubVDData(store, vddNext)) {
            if (auto *formatted = dynamic_cast<TCustomVDFormattedData *>(sub)) {
                formatted->GetJumpPointLocation(id, vdData, itemNo);
                if (vdData) {
                    return;
                }
            }
        }
    }
}

// Hyperlinks are numbered in draw-item order; an item wrapped over several lines keeps one
// number.
void TCustomVDFormattedData::BuildJumps(int32_t &startJumpNo) {
    TVDStyle *style = GetVDStyle();
    if (!style) {
        return;
    }
    nJmps = 0;
    for (int32_t i = 0; i < DrawItems.Count(); ++i) {
        const int32_t itemNo = DrawItems[i]->ItemNo;
        TCustomVDItemInfo *item = GetItem(itemNo);
        const bool firstOfItem = i == 0 || DrawItems[i - 1]->ItemNo != itemNo;
        if (item->GetBoolValueEx(vdbpJump, style)) {
            if (firstOfItem) {
                item->JumpID = startJumpNo + nJmps;
                ++nJmps;
            }
        } else if (!item->IsText() && firstOfItem) {
            int32_t next = startJumpNo + nJmps;
            item->BuildJumps(next);
            nJmps = next - startJumpNo;
        }
    }
    startJumpNo += nJmps;
}

// The checkpoint-visible event: while scrolling, the checkpoint that the view shows (as a
// section start, or only when it is on screen) is reported once.
void TCustomVDFormattedData::AfterVScroll() {
    const TCPEventKind kind = GetCPEventKind();
    if (!IsAssignedCheckpointVisible() || kind == cpeNone) {
        return;
    }
    const auto report = [this](TVDCPInfo *cp) {
        if (cp != LastRaisedCP) {
            LastRaisedCP = cp;
            DoCheckpointVisible(cp);
        }
    };
    const int32_t y1 = GetVOffs();
    const int32_t y2 = y1 + GetHeight();
    for (TVDCPInfo *cp = FirstCP; cp; cp = cp->Next) {
        if (!cp->RaiseEvent) {
            continue;
        }
        const int32_t d = cp->ItemInfo ? cp->ItemInfo->DrawItemNo : -1;
        if (d < 0 || d >= DrawItems.Count()) {
            return;
        }
        const int32_t top = GetTransformedDItemTop(d);
        if (top < y1) {
            continue;
        }
        if (top <= y2) {
            report(cp);
        } else if (kind == cpeWhenVisible) {
            report(nullptr);
        } else {
            TVDCPInfo *prev = cp->Prev;
            while (prev && !prev->RaiseEvent) {
                prev = prev->Prev;
            }
            if (prev) {
                report(prev);
            }
        }
        return;
    }
    if (NotAddedCP && NotAddedCP->RaiseEvent && DocumentHeight < y2) {
        report(NotAddedCP);
        return;
    }
    if (kind == cpeWhenVisible) {
        report(nullptr);
        return;
    }
    TVDCPInfo *last = LastCP;
    while (last && !last->RaiseEvent) {
        last = last->Prev;
    }
    if (last && last->ItemInfo && last->ItemInfo->DrawItemNo >= 0 &&
        last->ItemInfo->DrawItemNo < DrawItems.Count() &&
        GetTransformedDItemTop(last->ItemInfo->DrawItemNo) <= y1) {
        report(last);
    }
}

// ---- Focus ----

int32_t TCustomVDFormattedData::GetNextFocusedItem(int32_t itemNo, bool goForward,
                                                   TCustomVDFormattedData *&topLevelVDData,
                                                   int32_t &topLevelItemNo) {
    if (FocusedItemNo >= ItemCount()) {
        FocusedItemNo = -1;
    }
    TVDStyle *style = GetVDStyle();
    const auto focusable = [&](int32_t i) {
        return !IsItemHiddenInView(i) && GetItem(i)->GetBoolValueEx(vdbpAllowsFocus, style);
    };
    int32_t i;
    if (goForward) {
        i = itemNo < 0 ? 0 : (focusable(itemNo) ? itemNo + 1 : itemNo);
    } else {
        if (itemNo < 0) {
            itemNo = ItemCount();
        }
        i = itemNo == ItemCount() || focusable(itemNo) ? itemNo - 1 : itemNo;
    }
    for (; i >= 0 && i < ItemCount(); i += goForward ? 1 : -1) {
        if (IsItemHiddenInView(i)) {
            continue;
        }
        if (focusable(i)) {
            topLevelVDData = this;
            topLevelItemNo = i;
            return i;
        }
        TCustomVDData *data = topLevelVDData;
        if (GetItem(i)->MoveFocus(goForward, data, topLevelItemNo)) {
            topLevelVDData = dynamic_cast<TCustomVDFormattedData *>(data);
            return i;
        }
    }
    return -1;
}

void TCustomVDFormattedData::ClearFocus() {
    if (FocusedItemNo >= ItemCount()) {
        FocusedItemNo = -1;
    }
    if (FocusedItemNo >= 0) {
        GetItem(FocusedItemNo)->ClearFocus();
    }
}

void TCustomVDFormattedData::AdjustFocus(int32_t newFocusedItemNo, TCustomVDFormattedData *,
                                         int32_t) {
    FocusedItemNo = newFocusedItemNo;
}

// ---- Soft page breaks ----

void TCustomVDFormattedData::AssignSoftPageBreaks(TCustomVDPrint &vdPrint) {
    ClearSoftPageBreaks();
    FSoftPageBreaks = std::make_unique<TVDSoftPageBreakList>();
    TCustomMainPtblVDData &pages = vdPrint.GetVD().GetPrintData();
    for (int32_t pageNo = 2; pageNo <= vdPrint.GetPagesCount(); ++pageNo) {
        AssignSoftPageBreak(pages, pageNo);
    }
    if (GetOptions().Contains(vdoShowPageBreaks)) {
        Invalidate();
    }
}

void TCustomVDFormattedData::AssignSoftPageBreak(TCustomMultiPagePtblVDData &pages,
                                                 int32_t pageNo) {
    if (!FSoftPageBreaks) {
        FSoftPageBreaks = std::make_unique<TVDSoftPageBreakList>();
    }
    if (pages.IsComplexSoftPageBreak(pageNo)) {
        pages.AssignComplexSoftPageBreakToItem(pageNo, this);
        return;
    }
    TVDSoftPageBreakInfo info;
    pages.GetFirstItemOnPageEx(pageNo, info.ItemNo, info.Offset, info.ExtraData);
    FSoftPageBreaks->push_back(info);
}

bool TCustomVDFormattedData::ClearSoftPageBreaks() {
    if (State.Contains(vdstPreserveSoftPageBreaks) || !FSoftPageBreaks) {
        return false;
    }
    FSoftPageBreaks.reset();
    TCustomVDData *data = GetVDData();
    for (int32_t i = 0; i < data->ItemCount(); ++i) {
        data->GetItem(i)->ClearSoftPageBreaks();
    }
    return true;
}

void TCustomVDFormattedData::UpdateBackgroundPaletteInfo(TVDBackground &background) {
    const rtl::TFlagScope changing(State, vdstChangingBkPalette);
    // The thumbnail goes with the palette copy: its owner leaves the cache, which would
    // otherwise keep a slot (and a pointer) for it.
    if (background.HasThumbnail()) {
        if (TVDThumbnailCache *cache = GetThumbnailCache()) {
            cache->RemoveThumbnail(GetSourceVDData());
        }
    }
    background.UpdatePaletted(GetDoInPaletteMode());
}

void TCustomVDFormattedData::FreeBackgroundThumbnail() {
    if (TVDBackground *background = GetBackground()) {
        background->FreeThumbnail();
    }
}

// ---- Protection ----

bool TCustomVDFormattedData::IsProtected(int32_t itemNo, TVDProtectOption option) {
    TCustomVDItemInfo *item = GetItem(itemNo);
    TVDStyle *style = GetVDStyle();
    if (item->IsText()) {
        return style->GetTextStyles()
            .GetItem(GetActualStyle(*item))
            .GetProtection()
            .Contains(option);
    }
    const int32_t textStyle = GetActualTextStyle(*item);
    const bool byStyle = textStyle >= 0 &&
                         style->GetTextStyles().GetItem(textStyle).GetProtection().Contains(option);
    const auto *nonText = dynamic_cast<const TVDNonTextItemInfo *>(item);
    return byStyle || (option == vdprDeleteProtect && nonText && nonText->DeleteProtect);
}

bool TCustomVDFormattedData::IsParaProtected(int32_t paraNo, TVDParaOption option) {
    return GetVDStyle()->GetParaStyles().GetItem(paraNo).GetOptions().Contains(option);
}

bool TCustomVDFormattedData::IsItemParaProtected(int32_t itemNo) {
    return IsParaProtected(GetVisibleItemPara(itemNo), vdpaoReadOnly);
}

bool TCustomVDFormattedData::IsSticking(int32_t firstItemNo, bool noSound) {
    bool sticking;
    if (firstItemNo < 0) {
        sticking = ItemCount() > 0 && IsProtected(0, vdprStickToTop);
    } else if (firstItemNo >= ItemCount() - 1) {
        sticking = IsProtected(ItemCount() - 1, vdprStickToBottom);
    } else {
        sticking = false;
        for (TVDProtectOption o : {vdprSticking, vdprSticking2, vdprSticking3}) {
            sticking = sticking || (IsProtected(firstItemNo, o) && IsProtected(firstItemNo + 1, o));
        }
    }
    if (sticking && !noSound) {
        Beep();
    }
    return sticking;
}

bool TCustomVDFormattedData::CanInsertHere(int32_t itemNo, int32_t offs) {
    if (IsItemParaProtected(itemNo)) {
        return false;
    }
    if (offs <= GetOffsBeforeItem(itemNo)) {
        return !IsSticking(itemNo - 1, true);
    }
    if (offs >= GetOffsAfterItem(itemNo)) {
        return !IsSticking(itemNo, true);
    }
    return !IsProtected(itemNo, vdprModifyProtect);
}

// ---- Printing widths ----

void TCustomVDFormattedData::AdjustItemsPrintingWidth(int32_t firstDrawItemNo,
                                                      int32_t lastDrawItemNo, int32_t firstItemPart,
                                                      int32_t pageNo, int32_t pageCount) {
    TVDStyle *style = GetVDStyle();
    gfx::TCanvas *canvas = GetCanvas();
    for (int32_t i = firstDrawItemNo; i <= lastDrawItemNo; ++i) {
        TVDDrawLineInfo &d = *DrawItems[i];
        TCustomVDItemInfo *item = GetItem(d.ItemNo);
        if (item->IsText()) {
            continue;
        }
        if (item->GetBoolValueEx(vdbpHasPrintingWidth, style) && canvas) {
            ChangeDItemWidth(i, item->GetFinalPrintingWidth(*canvas, d, this, pageNo, pageCount));
        }
        const int32_t part = i == firstDrawItemNo ? firstItemPart : -1;
        item->AdjustSubitemsDIWidth(pageNo, pageCount, part, d);
    }
}

void TCustomVDFormattedData::AdjustAllItemsPrintingWidth(int32_t pageNo, int32_t pageCount) {
    AdjustItemsPrintingWidth(0, DrawItems.Count() - 1, -1, pageNo, pageCount);
}

// ---- What lies behind an item ----

void TCustomVDFormattedData::GetItemBackground(int32_t itemNo, rtl::TRect &r, bool makeImageRect,
                                               gfx::TColor &color,
                                               std::unique_ptr<gfx::TBitmap> &bmp, bool &useBitmap,
                                               TVDGraphicInterface &graphicInterface,
                                               bool allowThumbnails, bool printing) {
    useBitmap = false;
    TVDStyle &style = *GetVDStyle();
    const TParaInfo &para = style.GetParaStyles().GetItem(GetVisibleItemPara(itemNo));
    const TVDBackgroundRect &back = para.GetBackground();
    color = back.Color;
    if (color != gfx::clNone && back.Opacity >= 100000) {
        return;
    }
    color = GetColor();
    TVDBackground *background = GetBackground();
    if (!background || background->Style == bsNoBitmap) {
        if (back.Color != gfx::clNone && back.Opacity > 0) {
            color = back.Color;
        }
        return;
    }
    if (!bmp) {
        bmp = std::make_unique<gfx::TBitmap>();
    }
    const int32_t d = GetItem(itemNo)->DrawItemNo;
    if (d < 0) {
        return;
    }
    useBitmap = true;
    if (makeImageRect) {
        TCustomVDItemInfo *item = GetItem(itemNo);
        r = rtl::Bounds(DrawItems[d]->Left + style.GetAsPixels(item->GetBorderWidth()),
                        GetTransformedDItemTop(d) + style.GetAsPixels(item->GetBorderHeight()),
                        item->GetImageWidth(&style), item->GetImageHeight(&style));
    }
    bmp->SetSize(r.Width(), r.Height());
    graphicInterface.FillColorRect(bmp->GetCanvas(), rtl::Rect(0, 0, r.Width(), r.Height()), color);
    rtl::TRect area = r;
    area.Offset(-GetHOffs(), -GetVOffs());
    DrawBackground(bmp->GetCanvas(), area, graphicInterface, allowThumbnails, printing);
    back.Draw(rtl::Rect(0, 0, r.Width() - 1, r.Height() - 1), bmp->GetCanvas(), false, vdcmColor,
              graphicInterface, true);
}

// ---- Styles ----

void TCustomVDFormattedData::AfterDeleteStyles(TVDDeleteUnusedStylesData &data) {
    if (auto *editor = dynamic_cast<TCustomViziVodu *>(GetEditor())) {
        TCustomVDData &editorData = editor->GetVDData();
        editorData.DoUpdateStyles(data);
        editorData.AfterDeleteStyles(data);
    }
}

TVDPaletteAction TCustomVDFormattedData::GetDoInPaletteMode() {
    auto *root = dynamic_cast<TCustomVDFormattedData *>(GetRootData());
    return root && root != this ? root->GetDoInPaletteMode() : vdpaDoNothing;
}

void TCustomVDFormattedData::SetControlHint(const rtl::UnicodeString &hint) {
    auto *root = dynamic_cast<TCustomVDFormattedData *>(GetAbsoluteRootData());
    if (root && root != this) {
        root->SetControlHint(hint);
    }
}

TVDDragDropCaretInfo *TCustomVDFormattedData::GetDragDropCaretInfo() {
    auto *root = dynamic_cast<TCustomVDFormattedData *>(GetAbsoluteRootData());
    return root && root != this ? root->GetDragDropCaretInfo() : nullptr;
}

} // namespace vizivodu
