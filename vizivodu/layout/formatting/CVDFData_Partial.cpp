// Partial reformatting: only the paragraphs whose items changed are placed again (into the
// hole of their old draw items); everything below moves by the change in height. Also the
// end of a word that runs across items, which line wrapping uses.
#include "vizivodu/layout/formatting/CVDFData.h"

#include "vizivodu/layout/formatting/CVDFData_p.h"
#include "vizivodu/layout/text/VDGrIn.h"

#include "platform/rtl/ScopeExit.h"

#include <algorithm>
#include <climits>

namespace vizivodu {

namespace {

constexpr char16_t Space = u' ';

} // namespace

void TCustomVDFormattedData::GetParaBoundsEx(int32_t dINo1, int32_t dINo2, int32_t &paraStart,
                                             int32_t &paraEnd, bool includeAdjacent) {
    paraStart = dINo1;
    while (paraStart > 0 && !DrawItems[paraStart]->FromNewPara) {
        --paraStart;
    }
    if (includeAdjacent && paraStart > 0) {
        --paraStart;
        while (paraStart > 0 && !DrawItems[paraStart]->FromNewPara) {
            --paraStart;
        }
    }
    const int32_t count = DrawItems.Count();
    paraEnd = dINo2 + 1;
    while (paraEnd < count && !DrawItems[paraEnd]->FromNewPara) {
        ++paraEnd;
    }
    if (includeAdjacent && paraEnd < count) {
        ++paraEnd;
        while (paraEnd < count && !DrawItems[paraEnd]->FromNewPara) {
            ++paraEnd;
        }
    }
    paraEnd = std::min(paraEnd - 1, count - 1);
}

void TCustomVDFormattedData::AdjustDrawItemsForFormatParas(int32_t &startDrawItemNo,
                                                           int32_t &endDrawItemNo, int32_t) {
    GetParaBoundsEx(startDrawItemNo, endDrawItemNo, startDrawItemNo, endDrawItemNo, false);
}

void TCustomVDFormattedData::FormatParas(int32_t startDrawItemNo, int32_t endDrawItemNo,
                                         int32_t itemsInserted) {
    AdjustDrawItemsForFormatParas(startDrawItemNo, endDrawItemNo, itemsInserted);
    FormatParasExact(startDrawItemNo, endDrawItemNo, itemsInserted, false);
}

namespace {

// The bottom of the line that ends at draw item last (at least top).
int32_t LineBottomBefore(TCustomVDFormattedData &doc, int32_t last, int32_t top) {
    int32_t bottom = top;
    for (int32_t i = last; i >= 0; --i) {
        const TVDDrawLineInfo &d = *doc.DrawItems[i];
        bottom = std::max(bottom, d.Top + d.Height + d.GetExtraSpaceBelow());
        if (d.FromNewLine) {
            break;
        }
    }
    return bottom;
}

// The top of the line that starts at draw item first; -1 past the end.
int32_t LineTopFrom(TCustomVDFormattedData &doc, int32_t first) {
    if (first >= doc.DrawItems.Count()) {
        return -1;
    }
    int32_t top = INT_MAX;
    for (int32_t i = first; i < doc.DrawItems.Count(); ++i) {
        const TVDDrawLineInfo &d = *doc.DrawItems[i];
        if (i > first && d.FromNewLine) {
            break;
        }
        top = std::min(top, d.Top - d.GetExtraSpaceAbove());
    }
    return top;
}

// Moves the draw items from `from` on down by delta and their item numbers by itemsInserted;
// with renumber, each item's first draw item is set again (only the numbers of the moved draw
// items change, so without inserted items or a changed count those stay right). Returns the
// lowest bottom of the moved draw items (INT_MIN for none). Runs once per edit over the whole
// tail, so it keeps to one pass without casts.
int32_t MoveTail(TCustomVDFormattedData &doc, int32_t from, int32_t delta, int32_t itemsInserted,
                 bool renumber) {
    int32_t bottom = INT_MIN;
    int32_t prevItemNo = -1;
    const int32_t count = doc.DrawItems.Count();
    for (int32_t i = from; i < count; ++i) {
        TVDDrawLineInfo &d = *doc.DrawItems[i];
        d.Top += delta;
        d.ItemNo += itemsInserted;
        bottom = std::max(bottom, d.Top + d.Height);
        if (d.GetKind() == vddlkFloating) {
            auto &f = static_cast<TVDFloatingDrawLineInfo &>(d);
            f.FloatTop += delta;
            bottom = std::max(bottom, f.FloatBottom());
        }
        if (renumber && d.ItemNo != prevItemNo) {
            doc.GetItem(d.ItemNo)->DrawItemNo = i;
        }
        prevItemNo = d.ItemNo;
    }
    return bottom;
}

} // namespace

void TCustomVDFormattedData::FormatParasExact(int32_t startDrawItemNo, int32_t endDrawItemNo,
                                              int32_t itemsInserted, bool noCaching) {
    ForgetMinDocWidth();
    gfx::TCanvas *canvas = GetFormatCanvas();
    if (!canvas || !GetVDStyle()) {
        return;
    }
    StartPartialFormatting();
    DoBeforeFormat();
    TCustomVDData *absRoot = GetAbsoluteRootData();
    absRoot->State.Include(vdstFormattingPart);
    TVDStoreDocTransform transform;
    PrepareTransform(*canvas, transform, 0, 0, vdtrbAbsRoot, -1);
    rtl::TRect invalid{0, 0, GetWidth(), 0};
    int32_t firstItem = 0, lastItem = -1;
    {
        // The transform is restored and the partial-formatting state removed also when the
        // run fails.
        struct TRestore {
            TCustomVDFormattedData &Doc;
            TCustomVDData *AbsRoot;
            gfx::TCanvas &Canvas;
            TVDStoreDocTransform &Transform;
            ~TRestore() {
                Doc.RestoreTransform(Canvas, Transform);
                AbsRoot->State.Exclude(vdstFormattingPart);
            }
        } restore{*this, absRoot, *canvas, transform};
        FormatParasRun(startDrawItemNo, endDrawItemNo, itemsInserted, noCaching, *canvas, invalid,
                       firstItem, lastItem);
    }
    InvalidateRect(invalid, false);
    AfterFormatting(firstItem, lastItem, true);
}

void TCustomVDFormattedData::FormatParasRun(int32_t startDrawItemNo, int32_t endDrawItemNo,
                                            int32_t itemsInserted, bool noCaching,
                                            gfx::TCanvas &fmtCanvas, rtl::TRect &invalid,
                                            int32_t &firstItem, int32_t &lastItem) {
    gfx::TCanvas *canvas = &fmtCanvas;

    // Step 2: the lines shaped by floats above them join the range.
    bool joined = false;
    while (endDrawItemNo + 1 < DrawItems.Count() &&
           DrawItems[endDrawItemNo + 1]->FloatingAboveUsed) {
        ++endDrawItemNo;
        joined = true;
    }
    if (joined) {
        AdjustDrawItemsForFormatParas(startDrawItemNo, endDrawItemNo, itemsInserted);
    }
    firstItem = startDrawItemNo == 0 ? 0 : DrawItems[startDrawItemNo - 1]->ItemNo + 1;
    lastItem = endDrawItemNo >= DrawItems.Count() - 1
                   ? ItemCount() - 1
                   : DrawItems[endDrawItemNo + 1]->ItemNo + itemsInserted - 1;
    AdjustInItemsRange(firstItem);
    lastItem = std::max(lastItem, -1);

    const int32_t y0 = startDrawItemNo == 0
                           ? GetTopMargin()
                           : LineBottomBefore(*this, startDrawItemNo - 1, GetTopMargin());
    int32_t oldNextTop =
        endDrawItemNo >= DrawItems.Count() - 1 ? -1 : LineTopFrom(*this, endDrawItemNo + 1);
    invalid.Top = y0 - GetVOffs() - 10;

    TVDFormattingState state;
    InitFormattingState(state, noCaching, false);
    state.BaseY = y0;
    state.DrawItemCount = startDrawItemNo;
    TVDScreenAndDevice sad;
    GetSaDForCanvas(*canvas, sad);
    sad.LeftMargin = ScreenToDeviceX(GetLeftMargin(), sad);
    sad.RightMargin = ScreenToDeviceX(GetRightMargin(), sad);
    state.SaD = &sad;
    state.FormatCanvas = canvas;
    if (startDrawItemNo < DrawItems.Count() && DrawItems[startDrawItemNo]->FloatingAboveUsed) {
        state.Floats = std::make_unique<TVDFloatingDrawItems>();
        state.Floats->FillFloatingCrossingY(y0, startDrawItemNo, DrawItems);
    }
    DrawItems.MarkForDelete(startDrawItemNo, endDrawItemNo);
    int32_t noted = DrawItems.Count();

    gfx::TCanvas *drawCanvas = GetCanvas() ? GetCanvas() : canvas;
    TVDFontInfoCache *cache = GetFontInfoCache(*drawCanvas, *canvas, this);
    cache->Rotation = GetRealRotation(true);
    cache->UseVerticalFonts = UseVerticalFonts();
    state.FontCache = cache;
    state.ScaledFormatCanvas = GetFormatCanvasEx(nullptr) != nullptr;
    {
        const rtl::TScopeExit release([&]() noexcept { DestroyFontInfoCache(cache); });
        FormatRange(firstItem, lastItem, state, sad, *canvas);
        // Step 10: when floats still stand beside the next line, that line is placed again too.
        while (lastItem < ItemCount() - 1 &&
               ((state.Floats && state.Floats->Count() > 0) || state.HasFloats)) {
            DrawItems.DeleteMarked();
            if (itemsInserted != 0) {
                for (int32_t i = state.DrawItemCount; i < DrawItems.Count(); ++i) {
                    DrawItems[i]->ItemNo += itemsInserted;
                }
                itemsInserted = 0;
            }
            if (DrawItems.Count() != noted) {
                for (int32_t i = lastItem + 1; i < ItemCount(); ++i) {
                    if (GetItem(i)->DrawItemNo >= 0) {
                        GetItem(i)->DrawItemNo += DrawItems.Count() - noted;
                    }
                }
                noted = DrawItems.Count();
            }
            int32_t nextFirst = 0, nextLast = 0;
            ExpandToVisibleLine(lastItem + 1, lastItem + 1, nextFirst, nextLast);
            firstItem = nextFirst;
            lastItem = nextLast;
            Item2FirstDrawItem(firstItem, startDrawItemNo);
            Item2LastDrawItem(lastItem, endDrawItemNo);
            if (startDrawItemNo < 0 || endDrawItemNo < startDrawItemNo) {
                break;
            }
            state.DrawItemCount = startDrawItemNo;
            oldNextTop =
                endDrawItemNo >= DrawItems.Count() - 1 ? -1 : LineTopFrom(*this, endDrawItemNo + 1);
            DrawItems.MarkForDelete(startDrawItemNo, endDrawItemNo);
            FormatRange(firstItem, lastItem, state, sad, *canvas);
        }
        FinishTab(state);
        int32_t extra = 0;
        FinishLine(sad, true, state, extra);
        state.BaseY += extra;
    }
    DrawItems.DeleteMarked();

    // Step 12: the space below the run, and where the next line now begins.
    if (lastItem >= 0) {
        TVDStyle &style = *GetVDStyle();
        const int32_t next = GetNextVisibleItemNo(lastItem);
        if (next < 0 || IsVisibleParaStart(next)) {
            state.PendingSpace += style.GetAsDevicePixelsY(
                style.GetParaStyles().GetItem(GetVisibleItemPara(lastItem)).GetSpaceAfter(), &sad);
        }
        if (next >= 0 && IsVisibleParaStart(next)) {
            state.PendingSpace += style.GetAsDevicePixelsY(
                style.GetParaStyles().GetItem(GetVisibleItemPara(next)).GetSpaceBefore(), &sad);
        }
    }
    const int32_t newNextTop = state.BaseY + state.PendingSpace;
    invalid.Bottom = newNextTop - GetVOffs() + 10;

    if (itemsInserted != 0 || DrawItems.Count() != noted || newNextTop != oldNextTop) {
        const int32_t delta = oldNextTop < 0 ? 0 : newNextTop - oldNextTop;
        const bool renumber = (itemsInserted != 0 || DrawItems.Count() != noted) && !SharesItems();
        int32_t newBottom = std::max(
            newNextTop, MoveTail(*this, state.DrawItemCount, delta, itemsInserted, renumber));
        TVDStyle &style = *GetVDStyle();
        if (lastItem < ItemCount() - 1 && GetLastVisibleItemNo() >= 0) {
            newBottom +=
                style.GetAsDevicePixelsY(style.GetParaStyles()
                                             .GetItem(GetVisibleItemPara(GetLastVisibleItemNo()))
                                             .GetSpaceAfter(),
                                         &sad);
        }
        if (state.Floats) {
            newBottom = std::max(newBottom, state.Floats->GetFloatBottom());
        }
        invalid.Bottom =
            std::min(std::max(newBottom - GetVOffs() + 10, DocumentHeight - GetBottomMargin() + 10),
                     GetHeight());
        if (GetBottomMargin() + newBottom != DocumentHeight) {
            DocumentHeight = GetBottomMargin() + newBottom;
            AdjustVScrollUnits();
            const int32_t oldVOffs = GetVOffs();
            AlreadyFormatted = true;
            if (IsVerticalText()) {
                SetDocumentAreaSize(DocumentHeight, GetAreaWidth(), true, false);
            } else {
                SetDocumentAreaSize(GetAreaWidth(), DocumentHeight, true, false);
            }
            AlreadyFormatted = false;
            if (GetVOffs() != oldVOffs) {
                invalid = rtl::TRect{0, 0, GetWidth(), GetHeight()};
            }
        }
    }
    state.Floats.reset();
    state.ClearIgnore.reset();
    AdjustChildrenCoords();
    LastItemFormatted = ItemCount() - 1;
}

void TCustomVDFormattedData::DeleteParas(int32_t firstItemNo, int32_t lastItemNo) {
    ExpandToPara(firstItemNo, lastItemNo, firstItemNo, lastItemNo);
    int32_t f2 = firstItemNo > 0 ? firstItemNo - 1 : firstItemNo;
    int32_t l2 = lastItemNo < ItemCount() - 1 ? lastItemNo + 1 : lastItemNo;
    ExpandToVisiblePara(f2, l2, f2, l2);
    int32_t delFirst = -1, delLast = -1, fmtFirst = -1, fmtLast = -1;
    Item2FirstDrawItem(firstItemNo, delFirst);
    Item2LastDrawItem(lastItemNo, delLast);
    Item2FirstDrawItem(f2, fmtFirst);
    Item2LastDrawItem(l2, fmtLast);
    DeleteItems(firstItemNo, lastItemNo - firstItemNo + 1);
    const auto adjust = [](int32_t &index, int32_t first, int32_t last) {
        if (index < first) {
            return;
        }
        index = index <= last ? -1 : index - (last - first + 1);
    };
    adjust(FocusedItemNo, firstItemNo, lastItemNo);
    adjust(LastDIMovedAbove, delFirst, delLast);
    adjust(FClickedDrawItemNo, delFirst, delLast);
    if (fmtFirst >= 0 && fmtLast >= fmtFirst) {
        FormatParasExact(fmtFirst, fmtLast, firstItemNo - lastItemNo - 1, false);
    }
    ClearJumps(true);
    int32_t jumpNo = 0;
    BuildJumps(jumpNo);
}

// ---- Word end across items ----

namespace {

// The last non-space character of an item's text and whether spaces follow it; lastChar 0
// when the text is all spaces.
void LastWordChar(const std::u16string &text, char16_t &lastChar, bool &spacesAfter) {
    lastChar = 0;
    spacesAfter = false;
    for (size_t i = text.size(); i > 0; --i) {
        if (text[i - 1] != Space) {
            lastChar = text[i - 1];
            return;
        }
        spacesAfter = true;
    }
}

} // namespace

void TCustomVDFormattedData::GetWordEndAfterItem(int32_t &itemNo, int32_t &offs) {
    const int32_t start = itemNo;
    offs = GetOffsAfterItem(start);
    TCustomVDItemInfo *item = GetItem(start);
    char16_t prevChar = 0;
    bool spaceBefore = false;
    bool prevIsAnsi = false;
    bool prevIsNonText = !item->IsText();
    if (item->IsText()) {
        if (!item->ItemOptions.Contains(vdioUnicode)) {
            if (!item->ItemText.empty() && item->ItemText.back() == ' ') {
                return;
            }
            prevIsAnsi = true;
        } else {
            for (int32_t i = start; i >= 0; --i) {
                TCustomVDItemInfo *it = GetItem(i);
                if (IsItemHiddenInView(i)) {
                    continue;
                }
                if (!it->IsText() || !it->ItemOptions.Contains(vdioUnicode)) {
                    break;
                }
                bool spaces = false;
                LastWordChar(RawUnicodeToString(it->ItemText), prevChar, spaces);
                spaceBefore = spaceBefore || spaces;
                if (prevChar != 0 || IsVisibleFromNewLine(i)) {
                    break;
                }
            }
        }
    }
    int32_t candItem = start, candOffs = offs;
    bool haveCandidate = true;
    bool spacesSeen = spaceBefore;
    int32_t curItem = start, curOffs = offs;
    for (int32_t i = start + 1; i < ItemCount(); ++i) {
        if (IsItemHiddenInView(i)) {
            continue;
        }
        if (IsVisibleFromNewLine(i)) {
            break;
        }
        TCustomVDItemInfo *it = GetItem(i);
        if (!it->IsText()) {
            if (!it->GetBoolValue(vdbpKeepWithPrior)) {
                break;
            }
            candItem = i;
            candOffs = 1;
            haveCandidate = true;
            prevIsNonText = true;
            continue;
        }
        if (prevIsNonText) {
            break;
        }
        if (it->ItemOptions.Contains(vdioUnicode)) {
            const std::u16string text = RawUnicodeToString(it->ItemText);
            if (prevIsAnsi) {
                if (!text.empty() && text[0] == Space) {
                    break;
                }
                prevChar = u'a';
            }
            char16_t lastChar = 0;
            const int32_t r = FindFirstLineBreak(it->ItemText, prevChar, spaceBefore, lastChar);
            if (r == -1 || (lastChar == 0 && r == 0)) {
                break; // a break before the item (after its leading spaces)
            }
            if (lastChar == 0) {
                itemNo = i;
                offs = r + 1;
                return;
            }
            if (lastChar == Space) {
                spacesSeen = spaceBefore = true;
                if (!haveCandidate) {
                    candItem = curItem;
                    candOffs = curOffs;
                    haveCandidate = true;
                }
            } else {
                candItem = i;
                candOffs = r + 1;
                haveCandidate = true;
                prevChar = lastChar;
                spaceBefore = r < static_cast<int32_t>(text.size());
                spacesSeen = spaceBefore;
            }
            prevIsAnsi = false;
        } else {
            if (spacesSeen && haveCandidate) {
                break;
            }
            const std::string &text = it->ItemText;
            if (!text.empty() && text[0] == ' ') {
                candItem = curItem;
                candOffs = curOffs;
                haveCandidate = true;
                break;
            }
            const size_t space = text.find(' ');
            if (space != std::string::npos) {
                itemNo = i;
                offs = static_cast<int32_t>(space) + 1;
                return;
            }
            haveCandidate = false;
            prevIsAnsi = true;
        }
        curItem = i;
        curOffs = GetOffsAfterItem(i);
        prevIsNonText = false;
    }
    if (haveCandidate) {
        itemNo = candItem;
        offs = candOffs;
    } else {
        itemNo = curItem;
        offs = curOffs;
    }
}

} // namespace vizivodu
