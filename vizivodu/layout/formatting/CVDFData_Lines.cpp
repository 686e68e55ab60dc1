// Line wrapping of everything that is not text: inline objects and tabs, full-width items,
// floating boxes; and opening new lines with the paragraph's indents, spacing and floats.
#include "vizivodu/layout/formatting/CVDFData_Wrap_p.h"

#include "vizivodu/document/VDItem_BreakTab.h"
#include "vizivodu/document/VDItem_Rect.h"
#include "vizivodu/document/VDMarker.h"
#include "vizivodu/layout/text/VDGrIn.h"

#include "platform/rtl/Rounding.h"

#include <algorithm>

namespace vizivodu {

namespace {

constexpr char16_t SoftHyphen = 0x00AD;

TVDVAlign VAlignOf(const TCustomVDItemInfo &item) {
    const auto *rect = item.IsText() ? nullptr : dynamic_cast<const TVDRectItemInfo *>(&item);
    return rect ? rect->VAlign : vdvaBaseline;
}

bool IsAbsAligned(TVDVAlign a) {
    return a == vdvaAbsTop || a == vdvaAbsBottom || a == vdvaAbsMiddle;
}

} // namespace

// ---- Opening new lines ----

// A space that a wrapped line ends with belongs to neither line.
void TVDWrapper::TrimTrailingSpace() {
    if (FState.DrawItemCount == 0) {
        return;
    }
    const int32_t index = FState.DrawItemCount - 1;
    TVDDrawLineInfo &d = *FDoc.DrawItems[index];
    TCustomVDItemInfo *item = FDoc.GetItem(d.ItemNo);
    if (!item->IsText() || d.Length <= 0 || d.FromNewLine ||
        !IsItemTextSpaceAt(item->ItemText, d.Offs + d.Length - 1, item->ItemOptions)) {
        return;
    }
    if (d.Length == 1 && d.ItemNo == FItemNo) {
        const bool wasFirst = item->DrawItemNo == index;
        FDoc.DrawItems.Delete(index);
        --FState.DrawItemCount;
        if (wasFirst && !FDoc.SharesItems()) {
            item->DrawItemNo = index < FDoc.DrawItems.Count() ? index : -1;
        }
    } else {
        --d.Length;
        const int32_t style = FState.CurTextStyleNo;
        SetCurrentTextStyle(FDoc.GetActualStyle(*item));
        const bool unicode = item->ItemOptions.Contains(vdioUnicode);
        const int32_t unit = unicode ? 2 : 1;
        const bool bidi = FDoc.GetItemBiDiMode(d.ItemNo) != vdbdUnspecified;
        const int32_t width =
            FGI.TextSize(*FState.Canvas, {.Str = item->ItemText.data() + (d.Offs - 1) * unit,
                                          .Length = d.Length,
                                          .Unicode = unicode,
                                          .BiDi = bidi})
                .cx;
        d.Width = ScaleFromFormatCanvas(width, FState.ScaledFormatCanvas);
        SetCurrentTextStyle(style);
    }
    FState.SpaceConsumed = true;
}

// A soft hyphen at the end of a wrapped line shows as a hyphen.
void TVDWrapper::AddSoftHyphenWidth() {
    if (FState.DrawItemCount == 0) {
        return;
    }
    TVDDrawLineInfo &d = *FDoc.DrawItems[FState.DrawItemCount - 1];
    TCustomVDItemInfo *item = FDoc.GetItem(d.ItemNo);
    if (!item->IsText() || !item->ItemOptions.Contains(vdioUnicode) || d.Length < 1) {
        return;
    }
    const std::u16string units = RawUnicodeToString(
        item->ItemText.substr(static_cast<size_t>(d.Offs + d.Length - 2) * 2, 2));
    if (units.empty() || units[0] != SoftHyphen) {
        return;
    }
    if (FDoc.SpecialCharactersShown() && VisibleSpecialCharacters.Contains(vdscSoftHyphen)) {
        return;
    }
    const int32_t styleNo = FDoc.GetActualStyle(*item);
    if (FStyle.GetTextStyles().GetItem(styleNo).IsSymbolCharset()) {
        return;
    }
    TVDFontInfoCache &cache = *FState.FontCache;
    cache.IgnoreParaBiDiMode = true;
    const int32_t style = FState.CurTextStyleNo;
    SetCurrentTextStyle(styleNo);
    d.Width += FState.FontItem->HyphenWidth;
    SetCurrentTextStyle(style);
    cache.IgnoreParaBiDiMode = false;
}

bool TVDWrapper::FirstIndentApplies(int32_t itemNo, bool newPara) {
    return newPara && !IsFullWidthItem(*FDoc.GetItem(itemNo));
}

void TVDWrapper::GetParaIndents(int32_t itemNo, bool newPara, int32_t &firstIndent,
                                int32_t &rightIndent, int32_t &leftIndent) {
    const TParaInfo &para = Para();
    const bool rtl = ParaBiDiMode() == vdbdRightToLeft;
    const TVDListLevel *level = nullptr;
    if (FState.ParaFirstItemNo >= 0 && FState.ParaFirstItemNo < FDoc.ItemCount()) {
        TCustomVDItemInfo *first = FDoc.GetItem(FState.ParaFirstItemNo);
        if (auto *marker = first->IsText() ? nullptr : dynamic_cast<TVDMarkerItemInfo *>(first)) {
            level = marker->GetLevelInfo(&FStyle);
        }
    }
    int32_t listNo = -1, levelNo = -1;
    const bool continued = !level && FDoc.State.Contains(vdstFirstParaAborted) &&
                           FState.ParaFirstItemNo == FDoc.GetFirstVisibleItemNo() &&
                           FDoc.GetFirstParaListLevel(listNo, levelNo);
    if (continued) {
        level = GetListLevelInfo(&FStyle, listNo, levelNo);
        newPara = false;
    }
    if (level) {
        firstIndent = 0;
        const int32_t indent = newPara ? level->GetMarkerIndent() : level->GetLeftIndent();
        leftIndent = rtl ? para.GetLeftIndent() : indent;
        rightIndent = rtl ? indent : para.GetRightIndent();
    } else {
        firstIndent = FirstIndentApplies(itemNo, newPara) ? para.GetFirstIndent() : 0;
        leftIndent = para.GetLeftIndent();
        rightIndent = para.GetRightIndent();
    }
    firstIndent = FStyle.GetAsDevicePixelsX(firstIndent, &FSaD);
    leftIndent = FStyle.GetAsDevicePixelsX(leftIndent, &FSaD);
    rightIndent = FStyle.GetAsDevicePixelsX(rightIndent, &FSaD);
}

// The line from the paragraph's left edge to its right edge, narrowed or moved below floating
// boxes (drop mode: floats that no line reaches any more leave the list); then the first
// indent.
void TVDWrapper::FitLineBesideFloats(int32_t itemNo) {
    FState.LineMovedByFloats = false;
    int32_t left = FState.ParaLeft;
    int32_t width = FState.ParaRight - FState.ParaLeft;
    if (FState.Floats) {
        TCustomVDItemInfo *item = FDoc.GetItem(itemNo);
        int32_t y = FState.LineTop;
        const int32_t minWidth = FDoc.CalculateMinLineWidth(itemNo, &FSaD, FCanvas);
        FState.Floats->AdjustLineSize(FState.ParaLeft, minWidth, FState.ParaRight, y, left, width,
                                      true, item->GetClearLeft() || item->GetPageBreakBefore(),
                                      item->GetClearRight() || item->GetPageBreakBefore(),
                                      FState.ClearIgnore.get());
        FState.CurTextStyleNo = -1;
        const int32_t moved = y - FState.LineTop;
        FState.BaseY += moved;
        FState.LineTop = y;
        FState.LineMovedByFloats = moved != 0;
    }
    FState.LineWidth = width - FState.FirstIndent;
    FState.LineLeft = left + FState.FirstIndent;
}

void TVDWrapper::StartNewLine(int32_t itemNo, bool withinPara) {
    if (withinPara && !FState.SpaceConsumed) {
        TrimTrailingSpace();
    }
    if (withinPara) {
        AddSoftHyphenWidth();
    }
    FinishTab();
    int32_t extra = 0;
    FDoc.FinishLine(FSaD, FState.LineStartsItem, FState, extra);
    const bool newPara = FState.LineStartsItem && FState.ParaFirstItemNo == itemNo &&
                         FDoc.IsVisibleParaStart(itemNo);
    int32_t first = 0, right = 0, left = 0;
    GetParaIndents(itemNo, newPara, first, right, left);
    FState.FirstIndent = first;
    FState.LeftIndent = left;
    FState.RightIndent = right;
    if (newPara) {
        FState.PendingSpace +=
            SpaceAfterOf(FDoc.GetPrevVisibleItemNo(itemNo)) + SpaceBeforeOf(FState.CurParaNo);
        FState.ClearIgnore.reset();
    }
    FState.BaseY += extra;
    FState.LineTop = FState.BaseY + FState.PendingSpace;
    const int32_t area = WrapOn() ? FDoc.TextWidth : FDoc.DocumentWidth;
    FState.ParaLeft = FSaD.LeftMargin + left;
    FState.ParaRight = FSaD.LeftMargin + area - right;
    FitLineBesideFloats(itemNo);
    FState.LineCharCount = 0;
    FState.HasFloats = FState.HasPlaceholders = FState.HasAbsAlignedItems = false;
    const TParaInfo &para = Para();
    if (para.GetLineSpacingType() == vdlsLineHeightAtLeast ||
        para.GetLineSpacingType() == vdlsLineHeightExact) {
        const int32_t height = std::max(4, FStyle.GetAsDevicePixelsY(para.GetLineSpacing(), &FSaD));
        FState.FixedAscent = static_cast<int32_t>(rtl::Round(0.8L * height));
        FState.FixedDescent = height - FState.FixedAscent;
    }
    FState.LineHasOnlyFloats = true;
}

// ---- Tabs ----

void TVDWrapper::NextTab(int32_t x, TVDNextTab &tab) {
    tab = FStyle.GetNextTab(FState.CurParaNo, x, &FSaD, FDoc.GetBiDiMode(), FState.LeftIndent,
                            FState.RightIndent);
}

// A right or centre tab waits for the text after it: the tab widens so that the text ends at
// (or is centred on) the stop, and the text moves with it.
void TVDWrapper::FinishTab() {
    const int32_t tabNo = FState.TabDrawItemNo;
    FState.TabDrawItemNo = -1;
    if (tabNo < 0 || tabNo >= FState.DrawItemCount) {
        return;
    }
    TVDDrawLineInfo &tab = *FDoc.DrawItems[tabNo];
    const int32_t textStart = tab.Left + tab.Width;
    const int32_t textEnd = FState.LineLeft + FState.CurX;
    int32_t delta = FState.TabAlign == vdtaRight
                        ? FState.TabPos - textEnd
                        : FState.TabPos - (textEnd - textStart) / 2 - textStart;
    delta = std::max(delta, -tab.Width);
    if (delta == 0 || (FState.TabAlign == vdtaRight && delta < 0)) {
        return;
    }
    tab.Width += delta;
    for (int32_t i = tabNo + 1; i < FState.DrawItemCount; ++i) {
        FDoc.DrawItems[i]->Left += delta;
    }
    FState.CurX += delta;
}

// ---- Inline objects ----

std::unique_ptr<TVDDrawLineInfo> TVDWrapper::MakeDrawItem(int32_t itemNo) {
    TCustomVDItemInfo *item = FDoc.GetItem(itemNo);
    if (FDoc.GetFlags().Contains(vdflAllowCustomDrawItems)) {
        return item->CreatePrintingDrawItem(&FDoc, FState.CurParaNo, &FSaD);
    }
    return CreateDrawLineInfo(FDoc.GetStandardDrawLineInfoClass(*item, FState.CurParaNo));
}

// Sizes a non-text item's draw item: the item's own answer to the document width, then the
// size it reports (a float is an anchor of width 0 and height 1 here).
void TVDWrapper::SizeNonText(TVDDrawLineInfo &d, int32_t docWidth, int32_t &hShift, int32_t &desc,
                             TCustomVDItemInfo &item, bool &actualSize) {
    if (!FDoc.SharesItems()) {
        item.Unhiding(&FDoc);
    }
    hShift = 0;
    desc = 0;
    item.OnDocWidthChange(docWidth, d, Printing(), FCanvas, &FDoc, &FSaD, hShift, desc,
                          FState.NoCaching, FState.Reformatting, FState.ScaledFormatCanvas);
    if (item.GetBoolValue(vdbpDrawingChangesFont)) {
        FState.CurTextStyleNo = -1;
    }
    actualSize = item.GetBoolValueEx(vdbpActualPrintSize, &FStyle);
    if (IsFloatingItem(item)) {
        d.Width = 0;
        d.Height = 1;
        desc = 0;
    } else if (!actualSize) {
        auto *nonText = dynamic_cast<TVDNonTextItemInfo *>(&item);
        if (nonText) {
            d.Width = Printing() ? nonText->GetWidthEx(&FStyle, &FSaD) : nonText->GetWidth(&FStyle);
            d.Height =
                Printing() ? nonText->GetHeightEx(&FStyle, &FSaD) : nonText->GetHeight(&FStyle);
        }
        desc = ScreenToDeviceY(desc, FSaD);
    }
}

int32_t TVDWrapper::NonTextWidth(int32_t itemNo) {
    TCustomVDItemInfo *item = FDoc.GetItem(itemNo);
    std::unique_ptr<TVDDrawLineInfo> d = MakeDrawItem(itemNo);
    int32_t hShift = 0, desc = 0;
    bool actual = false;
    const int32_t saved = FState.CurParaNo;
    SizeNonText(*d, FDoc.TextWidth, hShift, desc, *item, actual);
    FState.CurParaNo = saved;
    return d->Width;
}

int32_t TVDWrapper::VerticalShift(TCustomVDItemInfo &item, int32_t height) {
    if (IsFloatingItem(item)) {
        return 0;
    }
    const int32_t assoc = item.GetAssociatedTextStyleNo();
    if (assoc >= 0) {
        FState.FontCache->LastTextStyle = FState.CurTextStyleNo;
        FState.FontCache->CurParaBiDiMode = ParaBiDiMode();
        const int32_t shift =
            FState.FontCache->GetItems(item.GetActualTextStyleNo(&FDoc)).VerticalOffset;
        FState.CurTextStyleNo = -1;
        return shift;
    }
    if (const auto *rect = dynamic_cast<const TVDRectItemInfo *>(&item)) {
        return rect->VShiftAbs ? FStyle.GetAsDevicePixelsY(rect->VShift, &FSaD)
                               : gfx::MulDiv(height, rect->VShift, 100);
    }
    return 0;
}

void TVDWrapper::FormatNonText() {
    FDoc.HasObjectDrawItems = true;
    std::unique_ptr<TVDDrawLineInfo> d = MakeDrawItem(FItemNo);
    const TParaInfo &para = Para();
    const int32_t docWidth = FDoc.TextWidth -
                             FStyle.GetAsDevicePixelsX(para.GetLeftIndent(), &FSaD) -
                             FStyle.GetAsDevicePixelsX(para.GetRightIndent(), &FSaD) -
                             FStyle.GetAsDevicePixelsX(para.GetFirstIndent(), &FSaD);
    int32_t hShift = 0, desc = 0;
    bool actual = false;
    SizeNonText(*d, docWidth, hShift, desc, *FItem, actual);
    const bool floating = IsFloatingItem(*FItem);
    const TVDVAlign vAlign = VAlignOf(*FItem);
    const int32_t shift = VerticalShift(*FItem, d->Height);
    int32_t above = d->Height - desc;
    if (vAlign == vdvaMiddle) {
        above = d->Height / 2;
    } else if (IsAbsAligned(vAlign) && !floating) {
        above = 0;
        FState.HasAbsAlignedItems = true;
    }
    const bool isTab = FItem->StyleNo == StyleNoTab;
    int32_t width = d->Width;
    if (isTab) {
        FinishTab();
        const int32_t x = FState.LineLeft + FState.CurX;
        TVDNextTab tab;
        NextTab(x, tab);
        width = tab.Position - x;
        if (tab.Position <= FState.LineLeft + FState.LineWidth && tab.Align != vdtaLeft) {
            width = tab.Align == vdtaRight
                        ? 0
                        : std::max(0, tab.Position - FState.LineLeft - FState.LineWidth);
        }
    }
    const bool startsLine = FDoc.IsVisibleFromNewLine(FItemNo);
    bool stays = false;
    if (!startsLine) {
        if (FollowsListMarker(FItemNo) || !WrapOn()) {
            stays = true;
        } else if (FStyle.GetLineWrapMode() == vdWrapNormal) {
            const int32_t room = FState.LineWidth - FState.CurX - width;
            stays = room >= 0 && FollowingItemsFit(room, FState.LineCharCount + 1);
        } else {
            stays = FState.CurX + width <= FState.LineWidth &&
                    (FState.MaxLength <= 0 || FState.LineCharCount < FState.MaxLength);
        }
    }
    const int32_t lift = above + shift;
    if (stays) {
        RaiseLine(lift);
        d->Top = FState.BaseY - lift;
        if (!IsAbsAligned(vAlign)) {
            FState.PendingSpace = std::max(FState.PendingSpace, d->Height - lift);
        }
        d->FromNewLine = false;
        if (FState.DrawItemCount > 0) {
            d->FloatingAboveUsed = FDoc.DrawItems[FState.DrawItemCount - 1]->FloatingAboveUsed;
        }
        FState.LineCharCount += 1;
    } else {
        FState.LineStartsItem = startsLine;
        StartNewLine(FItemNo, !startsLine);
        FState.SpaceConsumed = false;
        d->FromNewLine = true;
        d->FromNewPara = startsLine;
        d->FloatingAboveUsed = FState.LineMovedByFloats || FloatsActive();
        FState.CurX = 0;
        int32_t top = 0;
        ApplyFixedAscent(lift, top);
        d->Top = top;
        FState.PendingSpace = IsAbsAligned(vAlign) ? 0 : d->Height - FState.LineAscent;
        FState.LineCharCount = 1;
    }
    const TVDLineSpacingType spacing = para.GetLineSpacingType();
    if (spacing == vdlsLineHeightExact ||
        (spacing == vdlsLineHeightAtLeast && FState.PendingSpace < FState.FixedDescent)) {
        FState.PendingSpace = FState.FixedDescent;
    }
    d->Left = FState.LineLeft + FState.CurX + hShift;
    if (isTab) {
        TVDNextTab tab;
        NextTab(d->Left, tab);
        if (auto *tabItem = dynamic_cast<TVDTabItemInfo *>(FItem)) {
            tabItem->Leader = tab.Leader;
        }
        d->Width = tab.Align == vdtaLeft ? tab.Position - d->Left : 0;
        if (tab.Align == vdtaCenter) {
            d->Width = std::max(0, (tab.Position - d->Left) -
                                       (FState.LineLeft + FState.LineWidth - tab.Position));
        }
        if (tab.Align != vdtaLeft) {
            FState.TabDrawItemNo = FState.DrawItemCount;
            FState.TabAlign = tab.Align;
            FState.TabPos = tab.Position;
        }
    }
    FState.CurX += d->Width + hShift;
    d->ItemNo = FItemNo;
    d->Offs = d->Length = 0;
    const int32_t index = InsertDrawItem(std::move(d), true);
    if (auto *root = FDoc.GetAbsoluteRootData(); root && root->GetFlags().Contains(vdflUseJumps)) {
        FItem->BuildJumps(FDoc.nJmps);
    }
    if (FItem->GetBoolValue(vdbpPlaceholder)) {
        FState.HasPlaceholders = true;
    } else if (!floating) {
        FState.LineHasOnlyFloats = false;
    }
    if (floating) {
        FState.HasFloats = true;
        if (FState.LineHasOnlyFloats) {
            int32_t y = FState.LineTop;
            PlaceFloatingBox(y, index);
            const int32_t oldLeft = FState.LineLeft;
            const int32_t oldTop = FState.LineTop;
            FitLineBesideFloats(FItemNo);
            for (int32_t i = index; i >= 0; --i) {
                TVDDrawLineInfo &anchor = *FDoc.DrawItems[i];
                anchor.Left += FState.LineLeft - oldLeft;
                anchor.Top += FState.LineTop - oldTop;
                if (anchor.FromNewLine) {
                    break;
                }
            }
        }
    }
    if (FItem->GetBoolValueEx(vdbpJump, &FStyle)) {
        FItem->JumpID = FDoc.nJmps++;
    }
    if (FItem->GetBoolValue(vdbpDrawingChangesFont)) {
        FState.CurTextStyleNo = -1;
    }
}

// ---- Full-width items ----

void TVDWrapper::FormatFullWidth() {
    FDoc.HasObjectDrawItems = true;
    FinishTab();
    int32_t extra = 0;
    FDoc.FinishLine(FSaD, true, FState, extra);
    FState.ClearIgnore.reset();
    FState.BaseY += extra;
    FState.PendingSpace += SpaceAfterOf(FDoc.GetPrevVisibleItemNo(FItemNo));
    const bool ignorePara = FItem->GetBoolValue(vdbpIgnorePara);
    const TParaInfo &para = ignorePara ? FStyle.GetParaStyles().GetItem(0) : Para();
    FState.PendingSpace += FStyle.GetAsDevicePixelsY(para.GetSpaceBefore(), &FSaD);
    const int32_t left = ignorePara ? 0 : FStyle.GetAsDevicePixelsX(para.GetLeftIndent(), &FSaD);
    const int32_t right = ignorePara ? 0 : FStyle.GetAsDevicePixelsX(para.GetRightIndent(), &FSaD);
    int32_t y = FState.BaseY + FState.PendingSpace;
    FState.LineWidth = FDoc.TextWidth - left - right;
    FState.ParaLeft = FSaD.LeftMargin + left;
    FState.ParaRight = FSaD.LeftMargin + FDoc.TextWidth - right;
    int32_t lineLeft = FState.ParaLeft;
    int32_t moved = 0;
    if (FloatsActive()) {
        const int32_t y0 = y;
        FState.Floats->AdjustLineSize(
            FState.ParaLeft, FDoc.CalculateMinLineWidth(FItemNo, &FSaD, FCanvas), FState.ParaRight,
            y, lineLeft, FState.LineWidth, true,
            FItem->GetClearLeft() || FItem->GetPageBreakBefore(),
            FItem->GetClearRight() || FItem->GetPageBreakBefore(), FState.ClearIgnore.get());
        FState.CurTextStyleNo = -1;
        moved = y - y0;
    }
    std::unique_ptr<TVDDrawLineInfo> d = MakeDrawItem(FItemNo);
    int32_t hShift = 0, desc = 0;
    bool actual = false;
    SizeNonText(*d, FState.LineWidth, hShift, desc, *FItem, actual);
    int32_t x = 0;
    if (ignorePara) {
        x = (FState.LineWidth - d->Width) / 2;
    } else if (para.GetAlignment() == vdaRight) {
        x = FState.LineWidth - d->Width;
    } else if (para.GetAlignment() == vdaCenter) {
        x = (FState.LineWidth - d->Width) / 2;
    }
    d->Left = lineLeft + std::max(0, x) + hShift;
    d->Top = y;
    d->FromNewLine = true;
    d->FloatingAboveUsed = moved != 0 || FloatsActive();
    d->ItemNo = FItemNo;
    d->Offs = d->Length = 0;
    const int32_t height = d->Height;
    InsertDrawItem(std::move(d), true);
    if (auto *root = FDoc.GetAbsoluteRootData(); root && root->GetFlags().Contains(vdflUseJumps)) {
        FItem->BuildJumps(FDoc.nJmps);
    }
    FState.BaseY += FState.PendingSpace + height + moved;
    FState.LineAscent = height;
    FState.PendingSpace = 0;
    FState.LineStartsItem = false;
}

// ---- Floating boxes ----

void TVDWrapper::PlaceFloatingBox(int32_t &y, int32_t dItemNo) {
    if (!FState.Floats) {
        FState.Floats = std::make_unique<TVDFloatingDrawItems>();
    }
    auto *f = dynamic_cast<TVDFloatingDrawLineInfo *>(FDoc.DrawItems[dItemNo]);
    if (!f) {
        return;
    }
    TCustomVDItemInfo *item = FDoc.GetItem(f->ItemNo);
    auto *box = dynamic_cast<TVDNonTextItemInfo *>(item);
    f->FloatTop = y;
    f->FloatType = VAlignOf(*item) == vdvaRight ? vddifRight : vddifLeft;
    if (box) {
        f->FloatWidth = Printing() ? box->GetWidthEx(&FStyle, &FSaD) : box->GetWidth(&FStyle);
        f->FloatHeight = Printing() ? box->GetHeightEx(&FStyle, &FSaD) : box->GetHeight(&FStyle);
    }
    int32_t left = FState.ParaLeft;
    int32_t width = FState.ParaRight - FState.ParaLeft;
    FState.Floats->AdjustLineSize(FState.ParaLeft, f->FloatWidth, FState.ParaRight, y, left, width,
                                  false, item->GetClearLeft() || item->GetPageBreakBefore(),
                                  item->GetClearRight() || item->GetPageBreakBefore(),
                                  FState.ClearIgnore.get());
    f->FloatTop = y;
    f->FloatLeft = left;
    if (f->FloatType == vddifRight) {
        f->FloatLeft += width - f->FloatWidth;
    }
    FState.Floats->Add(f);
    if (!FState.ClearIgnore) {
        FState.ClearIgnore = std::make_unique<TVDFloatingDrawItems>();
    }
    FState.ClearIgnore->Add(f);
}

} // namespace vizivodu
