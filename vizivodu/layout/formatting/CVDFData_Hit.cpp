// Positions between items and draw items, line ranges, the visible range, hit tests, the
// coordinate mapping of rotated and aligned documents, repaint requests of draw items, and the
// placing of inserted controls.
#include "vizivodu/layout/formatting/CVDFData.h"

#include "vizivodu/layout/formatting/CVDFData_p.h"
#include "vizivodu/layout/text/VDGrIn.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace vizivodu {

// ---- Offsets ----

int32_t TCustomVDFormattedData::GetOffsBeforeDrawItem(int32_t dItemNo) {
    return GetItem(DrawItems[dItemNo]->ItemNo)->IsText() ? 1 : 0;
}

int32_t TCustomVDFormattedData::GetOffsAfterDrawItem(int32_t dItemNo) {
    const TVDDrawLineInfo &d = *DrawItems[dItemNo];
    return GetItem(d.ItemNo)->IsText() ? d.Length + 1 : 1;
}

void TCustomVDFormattedData::DrawItem2Item(int32_t dItemNo, int32_t dItemOffs, int32_t &itemNo,
                                           int32_t &itemOffs) {
    if (dItemNo < 0 || dItemNo >= DrawItems.Count()) {
        itemNo = -1;
        return;
    }
    const TVDDrawLineInfo &d = *DrawItems[dItemNo];
    itemNo = d.ItemNo;
    itemOffs = GetItem(itemNo)->IsText() ? dItemOffs + d.Offs - 1 : dItemOffs;
}

void TCustomVDFormattedData::Item2DrawItem(int32_t itemNo, int32_t itemOffs, int32_t &dItemNo,
                                           int32_t &dItemOffs, TVDDrawItemPosition posIfHidden) {
    dItemNo = -1;
    if (itemNo < 0 || itemNo >= ItemCount()) {
        return;
    }
    if (GetItem(itemNo)->DrawItemNo < 0 && IsItemHiddenInView(itemNo)) {
        const int32_t prev = GetPrevVisibleItemNo(itemNo);
        const int32_t next = GetNextVisibleItemNo(itemNo);
        if (posIfHidden == vddpStrict) {
            return;
        }
        const bool above = posIfHidden == vddpBetterAbove ? prev >= 0 : next < 0;
        if (above && prev >= 0) {
            itemNo = prev;
            itemOffs = GetOffsAfterItem(prev);
        } else if (!above && next >= 0) {
            itemNo = next;
            itemOffs = GetOffsBeforeItem(next);
        } else {
            return;
        }
    }
    const int32_t first = GetItem(itemNo)->DrawItemNo;
    if (first < 0 || first >= DrawItems.Count()) {
        return;
    }
    if (!GetItem(itemNo)->IsText()) {
        dItemNo = first;
        dItemOffs = itemOffs - DrawItems[first]->Offs;
        return;
    }
    int32_t d = first;
    while (d + 1 < DrawItems.Count() && DrawItems[d + 1]->ItemNo == itemNo) {
        const TVDDrawLineInfo &next = *DrawItems[d + 1];
        if (next.Offs >= itemOffs) {
            const TVDDrawLineInfo &cur = *DrawItems[d];
            if (cur.Offs + cur.Length < itemOffs) {
                d = d + 1; // in the gap of a swallowed space: the later draw item
            }
            break;
        }
        ++d;
    }
    dItemNo = d;
    const TVDDrawLineInfo &cur = *DrawItems[d];
    dItemOffs = std::max(1, itemOffs - cur.Offs + 1);
    if (dItemOffs > cur.Length + 1) {
        if (d + 1 < DrawItems.Count() && DrawItems[d + 1]->Offs <= GetOffsBeforeDrawItem(d + 1)) {
            dItemNo = d + 1;
            dItemOffs = GetOffsBeforeDrawItem(d + 1);
        } else {
            dItemOffs = GetOffsAfterDrawItem(d);
        }
    }
}

void TCustomVDFormattedData::Item2FirstDrawItem(int32_t itemNo, int32_t &dItemNo) {
    int32_t offs = 0;
    dItemNo = -1;
    if (itemNo >= 0) {
        Item2DrawItem(itemNo, GetOffsBeforeItem(itemNo), dItemNo, offs, vddpBetterBelow);
    }
}

void TCustomVDFormattedData::Item2LastDrawItem(int32_t itemNo, int32_t &dItemNo) {
    int32_t offs = 0;
    dItemNo = -1;
    if (itemNo >= 0) {
        Item2DrawItem(itemNo, GetOffsAfterItem(itemNo), dItemNo, offs, vddpBetterBelow);
    }
}

int32_t TCustomVDFormattedData::FindDrawItemByItem(int32_t itemNo) {
    if (itemNo < 0) {
        return -1;
    }
    for (int32_t i = 0; i < DrawItems.Count(); ++i) {
        if (DrawItems[i]->ItemNo == itemNo) {
            return i;
        }
    }
    return -1;
}

// ---- Selection bounds ----

void TCustomVDFormattedData::GetSelBounds(int32_t &startNo, int32_t &endNo, int32_t &startOffs,
                                          int32_t &endOffs, bool normalize) {
    startNo = FSelStartNo;
    endNo = FSelEndNo;
    startOffs = FSelStartOffs;
    endOffs = FSelEndOffs;
    if (normalize && (endNo < startNo || (endNo == startNo && endOffs < startOffs))) {
        std::swap(startNo, endNo);
        std::swap(startOffs, endOffs);
    }
}

void TCustomVDFormattedData::StoreSelBounds(int32_t &startNo, int32_t &endNo, int32_t &startOffs,
                                            int32_t &endOffs, bool normalize) {
    GetSelBounds(startNo, endNo, startOffs, endOffs, normalize);
    DrawItem2Item(startNo, startOffs, startNo, startOffs);
    DrawItem2Item(endNo, endOffs, endNo, endOffs);
}

void TCustomVDFormattedData::RestoreSelBounds(int32_t startNo, int32_t endNo, int32_t startOffs,
                                              int32_t endOffs, bool preferLineBeginning) {
    Item2DrawItem(startNo, startOffs, FSelStartNo, FSelStartOffs, vddpBetterBelow);
    Item2DrawItem(endNo, endOffs, FSelEndNo, FSelEndOffs, vddpBetterBelow);
    if (preferLineBeginning) {
        ShiftPosToTheNewLine(FSelStartNo, FSelStartOffs);
        ShiftPosToTheNewLine(FSelEndNo, FSelEndOffs);
    }
}

void TCustomVDFormattedData::ShiftPosToTheNewLine(int32_t &dItemNo, int32_t &dOffs) {
    if (dItemNo < 0 || dItemNo + 1 >= DrawItems.Count()) {
        return;
    }
    const TVDDrawLineInfo &cur = *DrawItems[dItemNo];
    const TVDDrawLineInfo &next = *DrawItems[dItemNo + 1];
    if (next.ItemNo == cur.ItemNo && cur.Offs + cur.Length == next.Offs &&
        dOffs >= GetOffsAfterDrawItem(dItemNo)) {
        ++dItemNo;
        dOffs = GetOffsBeforeDrawItem(dItemNo);
    }
}

// ---- Lines ----

void TCustomVDFormattedData::GetLineDrawItemRange(int32_t dItemNo, int32_t &firstDItemNo,
                                                  int32_t &lastDItemNo) {
    firstDItemNo = dItemNo;
    while (firstDItemNo > 0 && !DrawItems[firstDItemNo]->FromNewLine) {
        --firstDItemNo;
    }
    lastDItemNo = dItemNo;
    while (lastDItemNo + 1 < DrawItems.Count() && !DrawItems[lastDItemNo + 1]->FromNewLine) {
        ++lastDItemNo;
    }
}

void TCustomVDFormattedData::GetLineVerticalBoundsOrig(int32_t firstDItemNo, int32_t &lineTopY,
                                                       int32_t &lineBottomY, int32_t &lastDItemNo) {
    lineTopY = INT_MAX;
    lineBottomY = INT_MIN;
    lastDItemNo = firstDItemNo;
    for (int32_t i = firstDItemNo; i < DrawItems.Count(); ++i) {
        const TVDDrawLineInfo &d = *DrawItems[i];
        if (i > firstDItemNo && d.FromNewLine) {
            break;
        }
        lineTopY = std::min(lineTopY, d.Top);
        lineBottomY = std::max(lineBottomY, d.Top + d.Height + d.GetExtraSpaceBelow());
        lastDItemNo = i;
    }
}

void TCustomVDFormattedData::GetLineVerticalBoundsOrigEx(int32_t dItemNo, int32_t &lineTopY,
                                                         int32_t &lineBottomY,
                                                         int32_t &firstDItemNo,
                                                         int32_t &lastDItemNo) {
    firstDItemNo = dItemNo;
    while (firstDItemNo > 0 && !DrawItems[firstDItemNo]->FromNewLine) {
        --firstDItemNo;
    }
    GetLineVerticalBoundsOrig(firstDItemNo, lineTopY, lineBottomY, lastDItemNo);
}

// Only documents that can reverse their line order (table cells) ever mirror: a line's top
// becomes its distance from the document's bottom.
int32_t TCustomVDFormattedData::GetTransformedY(int32_t y, int32_t lineTopY, int32_t lineBottomY) {
    if (!IsLineOrderReversed()) {
        return y;
    }
    return DocumentHeight + y + GetTopMargin() - GetBottomMargin() - lineBottomY - lineTopY;
}

int32_t TCustomVDFormattedData::GetTransformedDItemTop(int32_t dItemNo) {
    const int32_t top = DrawItems[dItemNo]->Top;
    if (!IsLineOrderReversed()) {
        return top;
    }
    int32_t lineTop = 0, lineBottom = 0, first = 0, last = 0;
    GetLineVerticalBoundsOrigEx(dItemNo, lineTop, lineBottom, first, last);
    return GetTransformedY(top, lineTop, lineBottom);
}

int32_t TCustomVDFormattedData::GetTransformedDItemObjectTop(int32_t dItemNo) {
    const TVDDrawLineInfo &d = *DrawItems[dItemNo];
    if (!IsLineOrderReversed()) {
        return d.GetObjectTop();
    }
    if (d.GetKind() == vddlkFloating) {
        return DocumentHeight + GetTopMargin() - GetBottomMargin() - d.GetObjectTop() -
               d.GetObjectHeight();
    }
    return GetTransformedDItemTop(dItemNo);
}

std::unique_ptr<std::vector<int32_t>> TCustomVDFormattedData::BuildTransformedYCoords() {
    if (!IsLineOrderReversed()) {
        return nullptr;
    }
    auto result = std::make_unique<std::vector<int32_t>>(static_cast<size_t>(DrawItems.Count()));
    for (int32_t first = 0; first < DrawItems.Count();) {
        int32_t top = 0, bottom = 0, last = 0;
        GetLineVerticalBoundsOrig(first, top, bottom, last);
        for (int32_t i = first; i <= last; ++i) {
            (*result)[static_cast<size_t>(i)] = GetTransformedY(DrawItems[i]->Top, top, bottom);
        }
        first = last + 1;
    }
    return result;
}

// ---- The visible range ----

// A binary search for the first draw item at or below boundLine. Option 1 answers two lines
// earlier, so that draw items of earlier lines that reach into the area are not missed;
// option 3 the first draw item whose top is at or below boundLine.
int32_t TCustomVDFormattedData::GetDrawItemNo(int32_t boundLine, int32_t option) {
    const int32_t count = DrawItems.Count();
    if (count == 0) {
        return -1;
    }
    if (DrawItems[0]->Top >= boundLine) {
        return 0;
    }
    if (option == 3 && DrawItems[count - 1]->Top < boundLine) {
        return count - 1;
    }
    int32_t low = 1, high = count - 1, candidate = 1;
    int32_t answer = -1;
    while (low <= high) {
        const int32_t probe = (low + high) / 2;
        candidate = probe;
        if (DrawItems[probe]->Top < boundLine) {
            low = probe + 1;
        } else if (DrawItems[probe - 1]->Top < boundLine) {
            answer = probe;
            break;
        } else {
            high = probe - 1;
        }
    }
    int32_t d = std::min(answer >= 0 ? answer : candidate, count - 1);
    if (option == 1) {
        for (int step = 0; step < 2; ++step) {
            while (d > 0 && !DrawItems[d]->FromNewLine) {
                --d;
            }
            if (d > 0) {
                --d;
            }
        }
        while (d > 0 && !DrawItems[d]->FromNewLine) {
            --d;
        }
        return std::max(0, d);
    }
    while (d < count - 1 && DrawItems[d]->Top < boundLine) {
        ++d;
    }
    return d;
}

int32_t TCustomVDFormattedData::GetFirstItemVisible() {
    const int32_t d = GetDrawItemNo(GetVOffs(), 1);
    return d < 0 ? -1 : DrawItems[std::min(d, DrawItems.Count() - 1)]->ItemNo;
}

int32_t TCustomVDFormattedData::GetLastItemVisible() {
    const int32_t d = GetDrawItemNo(GetVOffs() + GetHeight(), 3);
    return d < 0 ? -1 : DrawItems[std::min(d, DrawItems.Count() - 1)]->ItemNo;
}

// ---- Hit tests ----

namespace {

// The caret offset (1 .. Length + 1) nearest to x in a text draw item.
int32_t TextOffsetAt(TCustomVDFormattedData &doc, int32_t dItemNo, int32_t x) {
    const TVDDrawLineInfo &d = *doc.DrawItems[dItemNo];
    TCustomVDItemInfo *item = doc.GetItem(d.ItemNo);
    TVDStyle &style = *doc.GetVDStyle();
    gfx::TCanvas *canvas = doc.GetFormatCanvas();
    if (!canvas || d.Length <= 0) {
        return 1;
    }
    const bool scaled = doc.GetFormatCanvasEx(nullptr) != nullptr;
    const int32_t styleNo = doc.GetActualStyle(*item);
    const TFontInfo &font = style.GetTextStyles().GetItem(styleNo);
    const TVDBiDiMode bidiMode = doc.GetParaBiDiMode(doc.GetVisibleItemPara(d.ItemNo));
    TVDApplyOptions options{vdaoCanUseCustomPPI, vdaoCanUseFontQuality};
    if (scaled) {
        options.Include(vdaoToFormatCanvas);
    }
    style.ApplyStyle(*canvas, styleNo, bidiMode, options, nullptr);
    const bool unicode = item->ItemOptions.Contains(vdioUnicode);
    TVDDrawTextForm form;
    form.unicode = unicode;
    form.allCaps = font.GetStyleEx().Contains(vdfsAllCaps);
    const TVDRawByteString text =
        GetTextForDrawing(doc.DrawItems.GetString(dItemNo, doc.GetItems()), form,
                          doc.IsDrawItemLastOnWrappedLine(dItemNo), font.IsSymbolCharset(), false,
                          doc.SpecialCharactersShown());
    const bool rtl = doc.GetItemBiDiMode(d.ItemNo) == vdbdRightToLeft;
    std::vector<int32_t> pos(static_cast<size_t>(d.Length) + 1);
    const TVDTextRun run{.Str = text.data(),
                         .Length = d.Length,
                         .Unicode = unicode,
                         .BiDi = doc.GetItemBiDiMode(d.ItemNo) != vdbdUnspecified,
                         .IgnoreSpecialChars = font.IsSymbolCharset()};
    style.GetGraphicInterface().GetCaretPositions(
        *canvas, run, d.GetSpaceCount(),
        ScaleToFormatCanvas(d.Width - d.GetSpaceAtLeft() - d.GetTextWidth(), scaled), pos,
        d.GetLeftNoExpandIndex() - 1, d.GetRightNoExpandIndex() - 1);
    int32_t best = 0;
    int32_t bestDist = INT_MAX;
    for (int32_t i = 0; i <= d.Length; ++i) {
        const int32_t px = d.Left + d.GetSpaceAtLeft() +
                           ScaleFromFormatCanvas(pos[static_cast<size_t>(i)], scaled);
        const int32_t dist = std::abs(x - px);
        const bool tieWins = dist == bestDist && (rtl ? px > x : px < x);
        if (dist < bestDist || tieWins) {
            best = i;
            bestDist = dist;
        }
    }
    if (best > 0 && best < d.Length) {
        const int32_t next = doc.GetNextCharPos(item->ItemText, d.ItemNo, d.Offs + best) - d.Offs;
        best = std::max(best, next - 1);
    }
    return std::clamp(best + 1, 1, d.Length + 1);
}

} // namespace

void TCustomVDFormattedData::FindDrawItemForSel(int32_t x, int32_t y, int32_t &no, int32_t &offs,
                                                bool strict, bool ignoreFloating,
                                                bool xyAlreadyRotated, bool xyLocalRotation) {
    no = offs = -1;
    if (!xyAlreadyRotated) {
        RotateCoordsFromScreenToDoc(x, y, xyLocalRotation, false);
    }
    const int32_t count = DrawItems.Count();
    if (count == 0) {
        return;
    }
    std::unique_ptr<std::vector<int32_t>> tops = BuildTransformedYCoords();
    const auto top = [&](int32_t i) {
        return tops ? (*tops)[static_cast<size_t>(i)] : DrawItems[i]->Top;
    };
    const bool reversed = tops != nullptr;
    int32_t candidate = 0;
    const TVDDrawLineInfo &d0 = *DrawItems[0];
    if (reversed ? top(0) >= y : y >= d0.Top + d0.Height) {
        int32_t low = 1, high = count - 1;
        while (low < high) {
            const int32_t probe = (low + high) / 2;
            const TVDDrawLineInfo &p = *DrawItems[probe];
            const bool below =
                reversed ? top(probe) + p.Height < y : p.Top - p.GetExtraSpaceAbove() > y;
            if (below) {
                high = probe;
            } else {
                low = probe + 1;
            }
        }
        const TVDDrawLineInfo &h = *DrawItems[high];
        candidate = y < h.Top - h.GetExtraSpaceAbove() ? std::max(0, high - 1) : high;
        candidate = std::min(candidate, count - 1);
    }
    int32_t first = 0, last = 0;
    GetLineDrawItemRange(candidate, first, last);
    if (last + 1 < count) {
        int32_t nFirst = 0, nLast = 0;
        GetLineDrawItemRange(last + 1, nFirst, nLast);
        for (int32_t i = nFirst; i <= nLast; ++i) {
            if (DrawItems[i]->Top - DrawItems[i]->GetExtraSpaceAbove() <= y) {
                first = nFirst;
                last = nLast;
                break;
            }
        }
    }
    if (!ignoreFloating) {
        int32_t s = first;
        while (s < count) {
            int32_t lf = 0, ll = 0;
            GetLineDrawItemRange(s, lf, ll);
            bool allBelow = true;
            for (int32_t i = lf; i <= ll; ++i) {
                allBelow = allBelow && DrawItems[i]->Top >= y;
            }
            if (allBelow) {
                break;
            }
            s = ll + 1;
        }
        s = std::min(s, count - 1);
        bool passedAbove = false;
        for (int32_t i = s; i >= 0; --i) {
            const TVDDrawLineInfo &d = *DrawItems[i];
            if (const auto *f = dynamic_cast<const TVDFloatingDrawLineInfo *>(&d)) {
                const int32_t ft = reversed ? GetTransformedDItemObjectTop(i) : f->FloatTop;
                if (ft <= y && y <= ft + f->FloatHeight && f->FloatLeft <= x &&
                    x <= f->FloatRight()) {
                    no = i;
                    offs = 1;
                    return;
                }
            }
            passedAbove = passedAbove || d.Top < y;
            if (passedAbove && d.FromNewLine && !d.FloatingAboveUsed) {
                break;
            }
        }
    }
    std::vector<int32_t> order;
    for (int32_t i = first; i <= last; ++i) {
        order.push_back(i);
    }
    const int32_t paraNo = GetVisibleItemPara(DrawItems[first]->ItemNo);
    const TVDBiDiMode bidi = GetParaBiDiMode(paraNo);
    if (bidi != vdbdUnspecified) {
        std::stable_sort(order.begin(), order.end(), [&](int32_t a, int32_t b) {
            return DrawItems[a]->Left < DrawItems[b]->Left;
        });
    }
    int32_t hit = -1;
    if (strict) {
        for (int32_t i : order) {
            const TVDDrawLineInfo &d = *DrawItems[i];
            if (d.Left <= x && x < d.Left + d.Width && top(i) - d.GetExtraSpaceAbove() <= y &&
                y <= top(i) + d.Height) {
                hit = i;
            }
        }
    } else {
        hit = x < DrawItems[order.front()]->Left ? order.front() : -1;
        for (size_t k = 0; k < order.size(); ++k) {
            const TVDDrawLineInfo &d = *DrawItems[order[k]];
            const bool lastOne = k + 1 == order.size();
            if (d.Left <= x && (lastOne || DrawItems[order[k + 1]]->Left > x)) {
                hit = order[k];
            }
        }
    }
    if (hit < 0) {
        return;
    }
    no = hit;
    const TVDDrawLineInfo &d = *DrawItems[hit];
    TCustomVDItemInfo *item = GetItem(d.ItemNo);
    if (!item->IsText()) {
        const bool right = x > d.Left + d.Width / 2;
        offs = (bidi == vdbdRightToLeft) != right ? 1 : 0;
    } else {
        offs = TextOffsetAt(*this, hit, x);
    }
    if (!strict && item->StyleNo == StyleNoListMarker && hit + 1 < count) {
        no = hit + 1;
        offs = GetOffsBeforeDrawItem(no);
    }
}

int32_t TCustomVDFormattedData::FindDrawItemAt(int32_t x, int32_t y) {
    const int32_t count = DrawItems.Count();
    if (count == 0) {
        return -1;
    }
    const auto contains = [&](int32_t i) {
        const TVDDrawLineInfo &d = *DrawItems[i];
        const int32_t t = GetTransformedDItemTop(i);
        return d.Left <= x && x < d.Left + d.Width && t - d.GetExtraSpaceAbove() <= y &&
               y < t + d.Height;
    };
    if (contains(0)) {
        return 0;
    }
    int32_t low = 0, high = count - 1;
    while (low < high) {
        const int32_t probe = (low + high + 1) / 2;
        if (DrawItems[probe]->Top - DrawItems[probe]->GetExtraSpaceAbove() <= y) {
            low = probe;
        } else {
            high = probe - 1;
        }
    }
    int32_t start = low;
    while (start > 0 &&
           DrawItems[start - 1]->Top + DrawItems[start - 1]->Height > DrawItems[start]->Top) {
        --start;
    }
    int32_t lineStarts = 0;
    int32_t i = start;
    for (; i < count; ++i) {
        if (DrawItems[i]->FromNewLine && i > start && ++lineStarts >= 2) {
            break;
        }
        if (contains(i)) {
            return i;
        }
    }
    for (int32_t j = std::min(i, count - 1); j >= 0; --j) {
        const TVDDrawLineInfo &d = *DrawItems[j];
        if (const auto *f = dynamic_cast<const TVDFloatingDrawLineInfo *>(&d)) {
            if (f->FloatTop <= y && y < f->FloatBottom() && f->FloatLeft <= x &&
                x < f->FloatRight()) {
                return j;
            }
        }
        if (d.Top < y && d.FromNewLine && !d.FloatingAboveUsed) {
            break;
        }
    }
    return -1;
}

// ---- Coordinates ----

void TCustomVDFormattedData::RotateCoordsFromScreenToDoc(int32_t &x, int32_t &y, bool alwaysLocal,
                                                         bool parentInplace) {
    TVDDocRotation r;
    int32_t w = 0, h = 0;
    TVDVerticalAlign align = vdveraTop;
    if (parentInplace) {
        TCustomVDData *parent = GetAbsoluteParentData();
        r = parent ? parent->GetRealRotation(true) : vdrotNone;
        w = GetWidth();
        h = GetHeight();
    } else if (alwaysLocal) {
        r = GetRotation();
        GetPrerotatedSize(w, h);
        align = GetVerticalAlign();
    } else {
        r = GetRealRotation(false);
        if (r == vdrotNone && (GetParentData() || GetRotation() == vdrotNone)) {
            return;
        }
        w = GetWidth();
        h = GetHeight();
        align = GetVerticalAlign();
    }
    const int32_t dh = DocumentHeight;
    const auto alignShift = [&](int32_t extent) {
        return align == vdveraMiddle ? (extent - dh) / 2 : align == vdveraBottom ? extent - dh : 0;
    };
    switch (r) {
    case vdrotNone:
        y -= alignShift(h);
        break;
    case vdrot90: {
        x += alignShift(w);
        const int32_t nx = y;
        y = w - x;
        x = nx;
        break;
    }
    case vdrot180:
        y += alignShift(h);
        x = w - x;
        y = h - y;
        break;
    case vdrot270: {
        x -= alignShift(w);
        const int32_t nx = h - y;
        y = x;
        x = nx;
        break;
    }
    }
}

void TCustomVDFormattedData::RotateCoordsFromScreenToDocAbs(int32_t &x, int32_t &y) {
    auto *parent = dynamic_cast<TCustomVDFormattedData *>(GetAbsoluteParentData());
    if (parent) {
        parent->RotateCoordsFromScreenToDocAbs(x, y);
        const rtl::TPoint p = parent->GetOriginEx();
        const rtl::TPoint o = GetOriginEx();
        x += p.X - o.X;
        y += p.Y - o.Y;
    }
    RotateCoordsFromScreenToDoc(x, y, true, false);
}

void TCustomVDFormattedData::RotateCoordsFromDocToScreen(int32_t &x, int32_t &y,
                                                         TVDTransformBase base) {
    auto *parent = dynamic_cast<TCustomVDFormattedData *>(
        base == vdtrbAbsRoot ? GetAbsoluteParentData() : GetParentData());
    TVDDocRotation r;
    int32_t w = 0, h = 0;
    if (base == vdtrbRoot) {
        r = GetRealRotation(true);
        w = GetWidth();
        h = GetHeight();
    } else {
        r = GetRotation();
        GetPrerotatedSize(w, h);
    }
    const TVDVerticalAlign align = GetVerticalAlign();
    const int32_t dh = DocumentHeight;
    switch (r) {
    case vdrot90: {
        const int32_t nx = w - y;
        y = x;
        x = nx;
        x += align == vdveraMiddle ? -((w - dh) / 2) : align == vdveraBottom ? dh - w : 0;
        break;
    }
    case vdrot180:
        x = w - x;
        y = h - y;
        y += align == vdveraMiddle ? -((h - dh) / 2) : align == vdveraBottom ? dh - h : 0;
        break;
    case vdrot270: {
        const int32_t nx = y;
        y = h - x;
        x = nx;
        x += align == vdveraMiddle ? (w - dh + 1) / 2 : align == vdveraBottom ? w - dh : 0;
        break;
    }
    case vdrotNone:
        if (!parent || base == vdtrbLocal) {
            y += align == vdveraMiddle ? (h - dh + 1) / 2 : align == vdveraBottom ? h - dh : 0;
        }
        break;
    }
    if (parent && base != vdtrbLocal) {
        const rtl::TPoint o = GetOriginEx();
        const rtl::TPoint p = parent->GetOriginEx();
        x += o.X - p.X;
        y += o.Y - p.Y;
        parent->RotateCoordsFromDocToScreen(x, y, base);
    }
}

void TCustomVDFormattedData::RotateRectFromDocToScreen(rtl::TRect &r, TVDTransformBase base) {
    RotateCoordsFromDocToScreen(r.Left, r.Top, base);
    RotateCoordsFromDocToScreen(r.Right, r.Bottom, base);
    if (r.Left > r.Right) {
        std::swap(r.Left, r.Right);
    }
    if (r.Top > r.Bottom) {
        std::swap(r.Top, r.Bottom);
    }
}

// ---- Repainting and children ----

void TCustomVDFormattedData::InvalidateDrawItem(int32_t dItemNo, int32_t spacing,
                                                bool fromLiveSpelling) {
    ResetSubCoords();
    const TVDDrawLineInfo &d = *DrawItems[dItemNo];
    rtl::TRect r = rtl::Bounds(d.Left, GetTransformedDItemTop(dItemNo), d.Width, d.Height);
    r.Inflate(spacing, spacing);
    r.Offset(-GetHOffs(), -GetVOffs());
    InvalidateRect(r, fromLiveSpelling);
}

void TCustomVDFormattedData::InvalidateHighlightedJump() {
    for (int32_t i = LastJumpDIMovedAboveFirst;
         i >= 0 && i <= LastJumpDIMovedAboveLast && i < DrawItems.Count(); ++i) {
        InvalidateDrawItem(i, 5, false);
    }
}

void TCustomVDFormattedData::AdjustChildrenCoords() {
    if (GetFlags().Contains(vdflShareContents) || State.Contains(vdstDoNotMoveChildren) ||
        !HasObjectDrawItems) {
        return;
    }
    for (int32_t i = 0; i < DrawItems.Count(); ++i) {
        const TVDDrawLineInfo &d = *DrawItems[i];
        TCustomVDItemInfo *any = GetItem(d.ItemNo);
        if (auto *item = any->IsText() ? nullptr : dynamic_cast<TVDNonTextItemInfo *>(any)) {
            item->AdjustInserted(d.GetObjectLeft() - GetHOffs(),
                                 GetTransformedDItemObjectTop(i) - GetVOffs(), true, this);
        }
    }
    if (auto *root = dynamic_cast<TCustomVDFormattedData *>(GetAbsoluteRootData())) {
        root->AdjustSpecialControlsCoords(this);
    }
}

} // namespace vizivodu
