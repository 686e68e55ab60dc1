// Line finishing: alignment, justification and distribution, objects aligned to the line, line
// spacing, the simplified right-to-left order of runs, float anchors and placeholders; and the
// re-alignment of a finished line after one draw item changed its width.
#include "vizivodu/layout/formatting/CVDFData.h"

#include "vizivodu/document/VDItem_Rect.h"
#include "vizivodu/document/VDMarker.h"
#include "vizivodu/document/VDSidenotes.h"
#include "vizivodu/document/VDUnicode.h"
#include "vizivodu/layout/formatting/CVDFData_Wrap_p.h"
#include "vizivodu/layout/text/VDGrIn.h"

#include <algorithm>
#include <climits>

namespace vizivodu {

namespace {

bool IsAbsAlignedObject(const TCustomVDItemInfo &item) {
    const auto *rect = item.IsText() ? nullptr : dynamic_cast<const TVDRectItemInfo *>(&item);
    return rect && !item.GetBoolValue(vdbpFloating) &&
           (rect->VAlign == vdvaAbsTop || rect->VAlign == vdvaAbsBottom ||
            rect->VAlign == vdvaAbsMiddle);
}

// The alignment a justified or distributed paragraph gives its last line.
TVDAlignment LastLineAlignment(const TParaInfo &para, bool rtl) {
    switch (para.GetLastLineAlignment()) {
    case vdllaLeft:
        return vdaLeft;
    case vdllaRight:
        return vdaRight;
    case vdllaCenter:
        return vdaCenter;
    case vdllaJustify:
        return para.GetAlignment();
    case vdllaDefault:
        break;
    }
    return rtl ? vdaRight : vdaLeft;
}

bool IsStretched(TVDAlignment a) {
    return a == vdaJustify || a == vdaDistribute;
}

} // namespace

// The finishing of one line (the draw items first .. last of the formatting state's line).
class TVDLineFinisher {
public:
    TVDLineFinisher(TCustomVDFormattedData &doc, TVDFormattingState &state,
                    const TVDScreenAndDevice &sad)
        : FDoc(doc), FState(state), FSaD(sad), FStyle(*doc.GetVDStyle()) {}

    void Finish(bool isParaEnd, int32_t &extraHeight);

private:
    TVDDrawLineInfo &D(int32_t i) { return *FDoc.DrawItems[i]; }
    int32_t Shift(TVDAlignment a, int32_t free) const;
    void MoveLine(int32_t dx);
    void Stretch(int32_t free, int32_t fallbackShift, bool distribute);
    int32_t ExpandableCount(int32_t i, bool &hasLeft, int32_t &leftIndex, bool &hasRight,
                            int32_t &rightIndex, bool visuallyFirst, bool visuallyLast);
    int32_t AlignObjects();
    int32_t LineSpacing(const TParaInfo &para);
    void ReorderLineBiDi(const TParaInfo &para, TVDBiDiMode bidi);
    void TextDirections(int32_t i, TVDBiDiMode paraMode, TVDBiDiMode &start, TVDBiDiMode &end);
    void FloatsAndPlaceholders(int32_t extraHeight);

    TCustomVDFormattedData &FDoc;
    TVDFormattingState &FState;
    const TVDScreenAndDevice &FSaD;
    TVDStyle &FStyle;
    int32_t FFirst = 0;
    int32_t FLast = 0;
    int32_t FParaNo = 0;
};

void TCustomVDFormattedData::FinishLine(const TVDScreenAndDevice &sad, bool isParaEnd,
                                        TVDFormattingState &state, int32_t &extraHeight) {
    extraHeight = 0;
    if (state.SkipLineEnd) {
        state.SkipLineEnd = false;
        return;
    }
    if (state.DrawItemCount <= 0 ||
        IsFullWidthItem(*GetItem(DrawItems[state.DrawItemCount - 1]->ItemNo))) {
        return;
    }
    TVDLineFinisher(*this, state, sad).Finish(isParaEnd, extraHeight);
}

void TVDLineFinisher::Finish(bool isParaEnd, int32_t &extraHeight) {
    FLast = FState.DrawItemCount - 1;
    FFirst = FLast;
    while (FFirst > 0 && !D(FFirst).FromNewLine) {
        --FFirst;
    }
    const int32_t lastItemNo = D(FLast).ItemNo;
    isParaEnd = isParaEnd && FDoc.IsNextVisibleParaStart(lastItemNo);
    FParaNo = FDoc.GetVisibleItemPara(lastItemNo);
    const TParaInfo &para = FStyle.GetParaStyles().GetItem(FParaNo);
    const TVDBiDiMode bidi = FDoc.GetParaBiDiMode(FParaNo);
    const bool rtl = bidi == vdbdRightToLeft;
    const int32_t right = FState.LineLeft + FState.LineWidth;
    TVDAlignment a = para.GetAlignment();
    TVDAlignment a2 = a;
    if (IsStretched(a)) {
        a2 = LastLineAlignment(para, rtl);
    }
    if (isParaEnd) {
        a = a2;
    }
    if (IsStretched(a2)) {
        a2 = rtl ? vdaRight : vdaLeft;
    }
    const int32_t free = right - (D(FLast).Left + D(FLast).Width);
    const int32_t v = FState.HasAbsAlignedItems ? AlignObjects() : 0;
    extraHeight = LineSpacing(para) + v;
    if (para.GetLineSpacingType() == vdlsLineHeightAtLeast ||
        para.GetLineSpacingType() == vdlsLineHeightExact) {
        extraHeight = 0;
    }
    if (IsStretched(a)) {
        Stretch(std::max(0, free), Shift(a2, free), a == vdaDistribute);
    } else {
        MoveLine(Shift(a, free));
    }
    ReorderLineBiDi(para, bidi);
    if (FState.HasFloats || FState.HasPlaceholders) {
        FloatsAndPlaceholders(extraHeight);
    }
}

int32_t TVDLineFinisher::Shift(TVDAlignment a, int32_t free) const {
    switch (a) {
    case vdaRight:
    case vdaJustify:
    case vdaDistribute:
        return std::max(0, free);
    case vdaCenter:
        return std::max(0, free / 2);
    case vdaLeft:
        break;
    }
    return 0;
}

void TVDLineFinisher::MoveLine(int32_t dx) {
    if (dx == 0) {
        return;
    }
    for (int32_t i = FFirst; i <= FLast; ++i) {
        D(i).Left += dx;
    }
}

// Extra width for a draw item of a distributed line: its expandable characters, less the
// outermost non-expandable ones at the line's visual ends.
int32_t TVDLineFinisher::ExpandableCount(int32_t i, bool &hasLeft, int32_t &leftIndex,
                                         bool &hasRight, int32_t &rightIndex, bool visuallyFirst,
                                         bool visuallyLast) {
    TCustomVDItemInfo *item = FDoc.GetItem(D(i).ItemNo);
    hasLeft = hasRight = false;
    leftIndex = rightIndex = -1;
    if (!item->IsText() || D(i).Length <= 0) {
        return 0;
    }
    const int32_t styleNo = FDoc.GetActualStyle(*item);
    FState.FontCache->LastTextStyle = FState.CurTextStyleNo;
    TVDFontInfoCacheItem &font = FState.FontCache->GetItems(styleNo);
    FState.CurTextStyleNo = styleNo;
    const bool unicode = item->ItemOptions.Contains(vdioUnicode);
    TVDDrawTextForm form;
    form.unicode = unicode;
    form.allCaps = font.FontInfo->GetStyleEx().Contains(vdfsAllCaps);
    const TVDRawByteString text =
        GetTextForDrawing(FDoc.DrawItems.GetString(i, FDoc.GetItems()), form,
                          FDoc.IsDrawItemLastOnWrappedLine(i), font.IsSymbolFont, false, false);
    TVDGraphicInterface &gi = FStyle.GetGraphicInterface();
    const bool bidi = FDoc.GetItemBiDiMode(D(i).ItemNo) != vdbdUnspecified;
    const TVDTextRun run{
        .Str = text.data(), .Length = D(i).Length, .Unicode = unicode, .BiDi = bidi};
    int32_t count = gi.GetExpandableCharCount(*font.Canvas, run);
    if (visuallyFirst || visuallyLast) {
        TVDRunEnds ends;
        if (visuallyFirst) {
            ends.Include(vdreLeft);
        }
        if (visuallyLast) {
            ends.Include(vdreRight);
        }
        gi.GetOutermostNonExpandableCharacters(*font.Canvas, run, ends, leftIndex, rightIndex);
        hasLeft = visuallyFirst && leftIndex >= 0;
        hasRight = visuallyLast && rightIndex >= 0;
        count -= (hasLeft ? 1 : 0) + (hasRight ? 1 : 0);
    }
    return std::max(0, count);
}

// Justification spreads the free space over the spaces of the text after the line's last tab,
// in proportion to each draw item's height; distribution over all expandable characters.
void TVDLineFinisher::Stretch(int32_t free, int32_t fallbackShift, bool distribute) {
    int32_t start = FLast;
    while (start > FFirst && FDoc.GetItem(D(start).ItemNo)->StyleNo != StyleNoTab) {
        --start;
    }
    if (FDoc.GetItem(D(start).ItemNo)->StyleNo == StyleNoTab) {
        ++start;
    }
    std::vector<int32_t> counts(static_cast<size_t>(FLast - start + 1), 0);
    std::vector<int32_t> leftIdx(counts.size(), -1), rightIdx(counts.size(), -1);
    int64_t sum = 0;
    for (int32_t i = start; i <= FLast; ++i) {
        const size_t k = static_cast<size_t>(i - start);
        TCustomVDItemInfo *item = FDoc.GetItem(D(i).ItemNo);
        if (distribute) {
            bool hasLeft = false, hasRight = false;
            counts[k] = ExpandableCount(i, hasLeft, leftIdx[k], hasRight, rightIdx[k], i == start,
                                        i == FLast);
        } else if (item->IsText()) {
            for (int32_t c = 0; c < D(i).Length; ++c) {
                counts[k] += IsItemTextSpaceAt(item->ItemText, D(i).Offs + c, item->ItemOptions);
            }
        }
        sum += int64_t{counts[k]} * D(i).Height;
    }
    if (distribute) {
        FState.CurTextStyleNo = -1;
    }
    if (sum <= 0) {
        MoveLine(fallbackShift);
        return;
    }
    int64_t left = free;
    for (int32_t i = start; i <= FLast; ++i) {
        const size_t k = static_cast<size_t>(i - start);
        TVDDrawLineInfo &d = D(i);
        if (counts[k] > 0) {
            const int64_t weight = int64_t{counts[k]} * d.Height;
            const int32_t extra = static_cast<int32_t>(left * weight / sum);
            d.SetTextWidth(d.Width);
            d.Width += extra;
            sum -= weight;
            left -= extra;
            if (distribute) {
                d.SetSpaceCount(-100);
                d.SetLeftNoExpandIndex(leftIdx[k] + 1);
                d.SetRightNoExpandIndex(rightIdx[k] + 1);
            } else {
                d.SetSpaceCount(counts[k]);
            }
        }
        if (i > start && !d.FromNewLine) {
            d.Left = D(i - 1).Left + D(i - 1).Width;
        }
    }
}

// Objects aligned to the line's top, bottom or middle; the result is how far they reach below
// the line box.
int32_t TVDLineFinisher::AlignObjects() {
    const TParaInfo &para = FStyle.GetParaStyles().GetItem(FParaNo);
    const bool exact = para.GetLineSpacingType() == vdlsLineHeightExact;
    const bool atLeast = para.GetLineSpacingType() == vdlsLineHeightAtLeast;
    int32_t top = INT_MAX, bottom = INT_MIN;
    if (exact || atLeast) {
        top = FState.BaseY - FState.FixedAscent;
        bottom = FState.BaseY + FState.FixedDescent;
    }
    if (!exact) {
        for (int32_t i = FFirst; i <= FLast; ++i) {
            if (!IsAbsAlignedObject(*FDoc.GetItem(D(i).ItemNo))) {
                top = std::min(top, D(i).Top);
                bottom = std::max(bottom, D(i).Top + D(i).Height);
            }
        }
    }
    if (top > bottom) {
        top = bottom = FState.BaseY;
    }
    int32_t highest = top, lowest = bottom;
    for (int32_t i = FFirst; i <= FLast; ++i) {
        auto *rect = dynamic_cast<TVDRectItemInfo *>(FDoc.GetItem(D(i).ItemNo));
        if (!rect || !IsAbsAlignedObject(*rect)) {
            continue;
        }
        TVDDrawLineInfo &d = D(i);
        if (rect->VAlign == vdvaAbsTop) {
            d.Top = top;
        } else if (rect->VAlign == vdvaAbsBottom) {
            d.Top = bottom - d.Height;
        } else {
            d.Top = (top + bottom - d.Height) / 2;
        }
        highest = std::min(highest, d.Top);
        lowest = std::max(lowest, d.Top + d.Height);
    }
    if (!exact && highest < top) {
        const int32_t dy = top - highest;
        for (int32_t i = FFirst; i <= FLast; ++i) {
            D(i).Top += dy;
        }
        FState.BaseY += dy;
        bottom += dy;
        lowest += dy;
    }
    return std::max(0, lowest - bottom);
}

int32_t TVDLineFinisher::LineSpacing(const TParaInfo &para) {
    const int32_t value = para.GetLineSpacing();
    int32_t e = 0;
    switch (para.GetLineSpacingType()) {
    case vdlsPercent:
        if (value != 100 && value >= 50) {
            int32_t top = INT_MAX, bottom = INT_MIN;
            for (int32_t i = FFirst; i <= FLast; ++i) {
                if (FDoc.GetItem(D(i).ItemNo)->IsText()) {
                    top = std::min(top, D(i).Top);
                    bottom = std::max(bottom, D(i).Top + D(i).Height);
                }
            }
            if (top <= bottom) {
                e = (bottom - top) * (value - 100) / 100;
            }
        }
        break;
    case vdlsSpaceBetween:
        if (value >= 0) {
            e = FStyle.GetAsDevicePixelsY(value, &FSaD);
        }
        break;
    case vdlsLineHeightAtLeast:
    case vdlsLineHeightExact: {
        const bool atLeast = para.GetLineSpacingType() == vdlsLineHeightAtLeast;
        int32_t top = INT_MAX, bottom = INT_MIN;
        for (int32_t i = FFirst; i <= FLast; ++i) {
            top = std::min(top, D(i).Top);
            bottom = std::max(bottom, D(i).Top + D(i).Height);
        }
        int32_t above = FState.FixedAscent - (FState.BaseY - top);
        if (atLeast) {
            above = std::max(0, above);
        }
        if (above != 0) {
            for (int32_t i = FFirst; i <= FLast; ++i) {
                D(i).SetExtraSpaceAbove(above);
            }
        }
        e = FState.FixedDescent - (bottom - FState.BaseY);
        if (atLeast) {
            e = std::max(0, e);
        }
        break;
    }
    }
    if (e != 0) {
        for (int32_t i = FFirst; i <= FLast; ++i) {
            D(i).SetExtraSpaceBelow(e);
        }
    }
    return e;
}

void TVDLineFinisher::TextDirections(int32_t i, TVDBiDiMode paraMode, TVDBiDiMode &start,
                                     TVDBiDiMode &end) {
    start = end = paraMode;
    TCustomVDItemInfo *item = FDoc.GetItem(D(i).ItemNo);
    if (!item->IsText()) {
        return;
    }
    const TFontInfo &font = FStyle.GetTextStyles().GetItem(FDoc.GetActualStyle(*item));
    if (font.GetBiDiMode() != vdbdUnspecified) {
        start = end = font.GetBiDiMode();
    }
    const TVDUnicodeString text = ItemTextToString(FDoc.DrawItems.GetString(i, FDoc.GetItems()),
                                                   item->ItemOptions.Contains(vdioUnicode),
                                                   FDoc.GetItemCodePage(D(i).ItemNo));
    GetStrongDirections(text, start, end);
}

// The simplified right-to-left order: runs are reordered as a whole by the directions at their
// ends (not the Unicode bidirectional algorithm); the gaps between draw items are kept.
void TVDLineFinisher::ReorderLineBiDi(const TParaInfo &para, TVDBiDiMode bidi) {
    if (bidi == vdbdUnspecified) {
        return;
    }
    const bool rtl = bidi == vdbdRightToLeft;
    TVDDrawLineInfo &first = D(FFirst);
    TCustomVDItemInfo *firstItem = FDoc.GetItem(first.ItemNo);
    if (rtl && first.Offs <= 1 && !firstItem->GetSameAsPrev()) {
        int32_t dx = 0;
        if (auto *marker =
                firstItem->IsText() ? nullptr : dynamic_cast<TVDMarkerItemInfo *>(firstItem)) {
            dx = ScreenToDeviceX(marker->GetLeftOverhang(), FSaD);
        } else if (!firstItem->GetBR()) {
            dx = -FStyle.GetAsDevicePixelsX(para.GetFirstIndent(), &FSaD);
        }
        MoveLine(dx);
    }
    if (FFirst == FLast) {
        return;
    }
    std::vector<int32_t> order;
    std::vector<int32_t> gaps;
    order.reserve(static_cast<size_t>(FLast - FFirst + 1));
    size_t p = 0;
    TVDBiDiMode prevEnd = vdbdUnspecified;
    for (int32_t i = FFirst; i <= FLast; ++i) {
        gaps.push_back(i == FFirst ? 0 : D(i).Left - (D(i - 1).Left + D(i - 1).Width));
        TVDBiDiMode start, end;
        TextDirections(i, bidi, start, end);
        TVDBiDiMode dir = bidi;
        if (i > FFirst && prevEnd == start) {
            dir = start;
        }
        if (dir == vdbdLeftToRight) {
            p = !rtl ? order.size() : (p < order.size() ? p + 1 : p);
        } else if (rtl) {
            p = 0;
        }
        order.insert(order.begin() + static_cast<ptrdiff_t>(p), i);
        prevEnd = end;
    }
    int32_t x = first.Left;
    for (int32_t i : order) {
        x += gaps[static_cast<size_t>(i - FFirst)];
        D(i).Left = x;
        x += D(i).Width;
    }
}

void TVDLineFinisher::FloatsAndPlaceholders(int32_t extraHeight) {
    int32_t top = INT_MAX, bottom = INT_MIN, nextTop = INT_MIN;
    for (int32_t i = FFirst; i <= FLast; ++i) {
        top = std::min(top, D(i).Top);
        bottom = std::max(bottom, D(i).Top + D(i).Height);
        nextTop = std::max(nextTop, D(i).Top + D(i).Height + D(i).GetExtraSpaceBelow());
    }
    nextTop += extraHeight;
    if (bottom - top < VDFloatingAnchorHeight) {
        top = bottom - VDFloatingAnchorHeight;
    }
    bool seenOrdinary = false;
    for (int32_t i = FFirst; i <= FLast; ++i) {
        TCustomVDItemInfo *item = FDoc.GetItem(D(i).ItemNo);
        const bool floating = IsFloatingItem(*item);
        if (floating || item->GetBoolValue(vdbpPlaceholder)) {
            D(i).Top = top;
            D(i).Height = bottom - top;
        } else {
            seenOrdinary = true;
        }
        auto *f = dynamic_cast<TVDFloatingDrawLineInfo *>(&D(i));
        if (floating && f && seenOrdinary && !(FState.Floats && FState.Floats->Contains(f))) {
            int32_t y = nextTop;
            TVDWrapper(FDoc, FState, FSaD, *FState.FormatCanvas).PlaceFloatingBox(y, i);
        }
    }
}

// ---- Changing one draw item's width on a finished line ----

void TCustomVDFormattedData::ChangeDItemWidth(int32_t dItemNo, int32_t newWidth) {
    TVDDrawLineInfo &changed = *DrawItems[dItemNo];
    const int32_t d = newWidth - changed.Width;
    changed.Width = newWidth;
    if (d == 0) {
        return;
    }
    int32_t first = 0, last = 0;
    GetLineDrawItemRange(dItemNo, first, last);
    std::vector<TVDDrawLineInfo *> line;
    for (int32_t i = first; i <= last; ++i) {
        line.push_back(DrawItems[i]);
    }
    std::stable_sort(
        line.begin(), line.end(),
        [](const TVDDrawLineInfo *a, const TVDDrawLineInfo *b) { return a->Left < b->Left; });
    const int32_t paraNo = GetVisibleItemPara(changed.ItemNo);
    const TParaInfo &para = GetVDStyle()->GetParaStyles().GetItem(paraNo);
    const bool rtl = GetParaBiDiMode(paraNo) == vdbdRightToLeft;
    TVDAlignment a = para.GetAlignment();
    if (IsStretched(a)) {
        TVDAlignment a2 = LastLineAlignment(para, rtl);
        if (IsStretched(a2)) {
            a2 = rtl ? vdaRight : vdaLeft;
        }
        const bool lastLine = last == DrawItems.Count() - 1 || IsDrawItemParaStart(last + 1);
        const bool anySpacing = std::any_of(
            line.begin(), line.end(), [](TVDDrawLineInfo *x) { return x->GetSpaceCount() != 0; });
        if (lastLine) {
            a = a2;
        } else if (!anySpacing) {
            a = rtl ? vdaRight : vdaLeft;
        }
        if (IsStretched(a)) {
            int32_t stretch = 0;
            for (TVDDrawLineInfo *x : line) {
                if (x->GetSpaceCount() != 0) {
                    stretch += x->Width - x->GetTextWidth();
                }
            }
            int32_t left = d;
            int32_t x = line.front()->Left;
            for (TVDDrawLineInfo *item : line) {
                if (item->GetSpaceCount() != 0 && stretch > 0 && item != &changed) {
                    const int32_t own = item->Width - item->GetTextWidth();
                    const int32_t back =
                        std::min(own, static_cast<int32_t>(int64_t{own} * d / stretch));
                    item->Width -= back;
                    left -= back;
                }
                item->Left = x;
                x += item->Width;
            }
            const int32_t shift = a2 == vdaRight ? left : a2 == vdaCenter ? left / 2 : 0;
            for (TVDDrawLineInfo *item : line) {
                item->Left -= shift;
            }
            return;
        }
    }
    const auto pos = std::find(line.begin(), line.end(), &changed) - line.begin();
    for (ptrdiff_t i = 0; i < static_cast<ptrdiff_t>(line.size()); ++i) {
        const bool after = i > pos;
        if (a == vdaLeft && after) {
            line[static_cast<size_t>(i)]->Left += d;
        } else if (a == vdaRight && !after) {
            line[static_cast<size_t>(i)]->Left -= d;
        } else if (a == vdaCenter) {
            line[static_cast<size_t>(i)]->Left += after ? d - d / 2 : -(d / 2);
        }
    }
}

} // namespace vizivodu
