// Line wrapping of text items: fit counting, break positions, spaces at line ends, words
// carried across items, and text draw items.
#include "vizivodu/layout/formatting/CVDFData_Wrap_p.h"

#include "vizivodu/document/VDMarker.h"
#include "vizivodu/layout/text/VDGrIn.h"

#include <unicode/uchar.h>

#include <algorithm>

namespace vizivodu {

namespace {

constexpr char16_t Space = u' ';
constexpr char16_t SoftHyphen = 0x00AD;

// A code unit that does not start a character: the low half of a surrogate pair, or a
// combining mark.
bool IsContinuation(const std::u16string &units, size_t i) {
    const char16_t c = units[i];
    if (c >= 0xDC00 && c <= 0xDFFF) {
        return i > 0 && units[i - 1] >= 0xD800 && units[i - 1] <= 0xDBFF;
    }
    const int8_t type = u_charType(c);
    return type == U_NON_SPACING_MARK || type == U_COMBINING_SPACING_MARK ||
           type == U_ENCLOSING_MARK;
}

} // namespace

TVDWrapper::TVDWrapper(TCustomVDFormattedData &doc, TVDFormattingState &state,
                       const TVDScreenAndDevice &sad, gfx::TCanvas &canvas)
    : FDoc(doc), FState(state), FSaD(sad), FCanvas(canvas), FStyle(*doc.GetVDStyle()),
      FGI(FStyle.GetGraphicInterface()) {}

void TCustomVDFormattedData::FormatItem(const TVDRawByteString *text, int32_t length,
                                        TVDFormattingState &state, const TVDScreenAndDevice &sad,
                                        gfx::TCanvas &canvas, int32_t itemNo) {
    TVDWrapper(*this, state, sad, canvas).FormatItem(text, length, itemNo);
}

void TCustomVDFormattedData::FinishTab(TVDFormattingState &state) {
    if (state.TabDrawItemNo < 0 || !state.SaD || !state.FormatCanvas) {
        state.TabDrawItemNo = -1;
        return;
    }
    TVDWrapper(*this, state, *state.SaD, *state.FormatCanvas).FinishTab();
}

void TVDWrapper::FormatItem(const TVDRawByteString *text, int32_t length, int32_t itemNo) {
    FItemNo = itemNo;
    FItem = FDoc.GetItem(itemNo);
    FState.CurParaNo = FState.CurParaNo < 0 ? FDoc.GetVisibleItemPara(itemNo)
                                            : FDoc.GetVisibleItemParaEx(itemNo, FState.CurParaNo);
    if (FDoc.IsVisibleFromNewLine(itemNo)) {
        FState.LineStartsItem = true;
        FState.SpaceConsumed = false;
    }
    if (FItem->IsText()) {
        if (length > 0 && text) {
            FormatText(*text, length);
        } else {
            FormatEmptyText();
        }
    } else if (IsFullWidthItem(*FItem)) {
        FormatFullWidth();
    } else {
        FormatNonText();
    }
}

// ---- Styles and settings ----

const TParaInfo &TVDWrapper::Para() const {
    return FStyle.GetParaStyles().GetItem(FState.CurParaNo);
}

TVDBiDiMode TVDWrapper::ParaBiDiMode() {
    return FDoc.GetParaBiDiMode(FState.CurParaNo);
}

bool TVDWrapper::WrapOn() {
    return FState.WordWrap && !Para().GetOptions().Contains(vdpaoNoWrap);
}

bool TVDWrapper::Printing() {
    return FDoc.GetFlags().Contains(vdflPrinting);
}

int32_t TVDWrapper::SpaceAfterOf(int32_t itemNo) {
    if (itemNo < 0) {
        return 0;
    }
    const TParaInfo &para = FStyle.GetParaStyles().GetItem(FDoc.GetVisibleItemPara(itemNo));
    return FStyle.GetAsDevicePixelsY(para.GetSpaceAfter(), &FSaD);
}

int32_t TVDWrapper::SpaceBeforeOf(int32_t paraNo) {
    return FStyle.GetAsDevicePixelsY(FStyle.GetParaStyles().GetItem(paraNo).GetSpaceBefore(),
                                     &FSaD);
}

// The measuring style is selected only when it changes; the font cache keeps every style's
// metrics for the whole run.
void TVDWrapper::SetCurrentTextStyle(int32_t styleNo) {
    const TVDBiDiMode bidi = ParaBiDiMode();
    TVDFontInfoCache &cache = *FState.FontCache;
    if (FState.CurTextStyleNo == styleNo && FState.FontItem && FState.CurBiDiMode == bidi &&
        FState.FontItem->Rotation == cache.Rotation) {
        return;
    }
    cache.LastTextStyle = FState.CurTextStyleNo;
    cache.CurParaBiDiMode = bidi;
    TVDFontInfoCacheItem &item = cache.GetItems(styleNo);
    FState.FontItem = &item;
    FState.CurTextStyleNo = styleNo;
    FState.CurBiDiMode = bidi;
    FState.TextMetric = item.TextMetric;
    FState.VerticalOffset = item.VerticalOffset;
    FState.Canvas = item.Canvas;
    FState.IsSymbolFont = item.IsSymbolFont;
}

// ---- Text items ----

gfx::TSize TVDWrapper::MeasureRun(int32_t offs, int32_t count) {
    const int32_t unit = FUnicode ? 2 : 1;
    const bool bidi = FDoc.GetItemBiDiMode(FItemNo) != vdbdUnspecified;
    gfx::TSize size = FGI.TextSize(*FState.Canvas, {.Str = FDrawText.data() + (offs - 1) * unit,
                                                    .Length = count,
                                                    .Unicode = FUnicode,
                                                    .BiDi = bidi});
    size.cx = ScaleFromFormatCanvas(size.cx, FState.ScaledFormatCanvas);
    size.cy = ScaleFromFormatCanvas(size.cy, FState.ScaledFormatCanvas);
    return size;
}

void TVDWrapper::MeasureFragment(int32_t offs, TFragment &frag) {
    const gfx::TSize size = MeasureRun(offs, frag.N);
    frag.Width = size.cx;
    frag.Height = size.cy;
    frag.Measured = true;
}

int32_t TVDWrapper::FitUpperBound(int32_t remaining) const {
    if (FState.MaxLength > 0) {
        return std::clamp(FState.MaxLength - FState.LineCharCount, 0, remaining);
    }
    return remaining;
}

// Back to a character boundary: a count that splits a character is extended over the rest of
// it, or, when that no longer fits, cut before the character.
int32_t TVDWrapper::ExtendToCluster(int32_t offs, int32_t n, int32_t remaining) const {
    if (!FUnicode) {
        return n;
    }
    const size_t base = static_cast<size_t>(offs - 1);
    int32_t end = n;
    while (end < remaining && IsContinuation(FUnits, base + static_cast<size_t>(end))) {
        ++end;
    }
    return end;
}

// The own fit search: a geometric probe from twice the width over the average character
// width, then interpolation between the widest count that fits and the narrowest that does
// not. Widths are in format-canvas units; a probe ending in a soft hyphen before the end pays
// for the hyphen it would show.
int32_t TVDWrapper::OwnFitSearch(int32_t width, int32_t offs, int32_t upper, TFragment &frag) {
    const int32_t remaining = static_cast<int32_t>(
        (FUnicode ? FDrawText.size() / 2 : FDrawText.size()) - static_cast<size_t>(offs - 1));
    const auto widthOf = [&](int32_t k) {
        const int32_t unit = FUnicode ? 2 : 1;
        const bool bidi = FDoc.GetItemBiDiMode(FItemNo) != vdbdUnspecified;
        int32_t w = FGI.TextSize(*FState.Canvas, {.Str = FDrawText.data() + (offs - 1) * unit,
                                                  .Length = k,
                                                  .Unicode = FUnicode,
                                                  .BiDi = bidi})
                        .cx;
        if (FUnicode && k > 0 && k < remaining &&
            FUnits[static_cast<size_t>(offs - 1 + k - 1)] == SoftHyphen) {
            w += FState.FontItem->HyphenWidthFC;
        }
        return w;
    };
    const int32_t avg = std::max(1, FState.FontItem->AverageCharWidth);
    int32_t k = std::max(1, std::min(std::max(gfx::MulDiv(width, 2, avg), 10), upper));
    int32_t lo = 0, wLo = 0, wk = 0;
    for (;;) {
        wk = widthOf(k);
        if (wk >= width || k == upper) {
            break;
        }
        lo = k;
        wLo = wk;
        k = std::min(2 * k, upper);
    }
    if (wk <= width && wk >= 0) {
        frag.Width = wk;
        return k;
    }
    int32_t hi = k, wHi = wk;
    while (hi > lo + 1) {
        const int64_t divisor = wHi - wLo == 0 ? 1 : wHi - wLo;
        int64_t guess = lo + int64_t{hi - lo} * (width - wLo) / divisor;
        guess = std::clamp<int64_t>(guess, lo + 1, hi - 1);
        const int32_t g = static_cast<int32_t>(guess);
        const int32_t wg = widthOf(g);
        if (wg == width) {
            lo = g;
            wLo = wg;
            break;
        }
        if (wg < width && wg > 0) {
            lo = g;
            wLo = wg;
        } else {
            hi = g;
            wHi = wg;
        }
    }
    frag.Width = wLo;
    return lo;
}

int32_t TVDWrapper::CountFittingChars(int32_t width, int32_t offs, int32_t remaining,
                                      TFragment &frag) {
    frag.Measured = false;
    if (!WrapOn()) {
        frag.N = remaining;
        MeasureFragment(offs, frag);
        return frag.N;
    }
    const int32_t upper = FitUpperBound(remaining);
    if (upper <= 0) {
        frag.N = 0;
        return 0;
    }
    const int32_t w = ScaleToFormatCanvas(width, FState.ScaledFormatCanvas);
    const bool bidi = FDoc.GetItemBiDiMode(FItemNo) != vdbdUnspecified;
    const int32_t estimFit = w / std::max(1, FState.FontItem->AverageCharWidth);
    int32_t n;
    if (FGI.PreferMaxFit(*FState.Canvas, {.Length = remaining, .BiDi = bidi},
                         FState.ScaledFormatCanvas ? vdmcFormatCanvas : vdmcCanvas, estimFit)) {
        gfx::TSize size;
        const int32_t unit = FUnicode ? 2 : 1;
        FGI.MaxFit(*FState.Canvas,
                   {.Str = FDrawText.data() + (offs - 1) * unit,
                    .Length = upper,
                    .Unicode = FUnicode,
                    .BiDi = bidi},
                   w, n, size);
        n = std::min(n, upper);
        if (FUnicode && !FState.IsSymbolFont && n > 0 && n < remaining &&
            FUnits[static_cast<size_t>(offs - 2 + n)] == SoftHyphen &&
            size.cx + FState.FontItem->HyphenWidthFC > w) {
            --n;
        }
    } else {
        n = OwnFitSearch(w, offs, upper, frag);
    }
    if (FUnicode && !FState.IsSymbolFont && n > 0 && n < remaining &&
        FUnits[static_cast<size_t>(offs - 1 + n)] == SoftHyphen) {
        --n;
    }
    const int32_t extended = ExtendToCluster(offs, n, remaining);
    if (extended != n) {
        frag.N = extended;
        MeasureFragment(offs, frag);
        if (frag.Width > width) {
            while (n > 0 && IsContinuation(FUnits, static_cast<size_t>(offs - 1 + n))) {
                --n;
            }
        } else {
            n = extended;
        }
    }
    frag.N = n;
    frag.Measured = false;
    return n;
}

// The break at or before n (0-based index into the remaining text of the character at which
// the line may end: a space there, or the last character of the line); -1 when none.
int32_t TVDWrapper::FindBreak(int32_t offs, int32_t n, int32_t remaining) const {
    const size_t base = static_cast<size_t>(offs - 1);
    if (!FUnicode) {
        const int32_t limit = remaining - n == 1 ? n : n + 1;
        for (int32_t b = limit - 1; b >= 0; --b) {
            if (FItem->ItemText[base + static_cast<size_t>(b)] == ' ') {
                return b;
            }
        }
        return -1;
    }
    if (remaining - n != 1 && FUnits[base + static_cast<size_t>(n)] == Space) {
        return n;
    }
    const char16_t *p = FUnits.data();
    const char16_t *at = FindLastLineBreak(p, static_cast<int32_t>(base) + n, true, false);
    if (!at || at < p + base) {
        return -1;
    }
    return static_cast<int32_t>(at - p - static_cast<ptrdiff_t>(base));
}

bool TVDWrapper::FollowsListMarker(int32_t itemNo) {
    const int32_t prev = FDoc.GetPrevVisibleItemNo(itemNo);
    return prev >= 0 && FDoc.GetItem(prev)->StyleNo == StyleNoListMarker &&
           !FDoc.IsVisibleFromNewLine(itemNo);
}

// Whether a line may end between the previous shown item and itemNo: always unless words are
// kept together across items; then unless the word ending the previous text item continues
// into this one.
bool TVDWrapper::BreakAllowedBefore(int32_t itemNo) {
    if (FStyle.GetLineWrapMode() != vdWrapNormal || FDoc.IsVisibleFromNewLine(itemNo)) {
        return true;
    }
    const int32_t prev = FDoc.GetPrevVisibleItemNo(itemNo);
    if (prev < 0 || prev != itemNo - 1 || !FDoc.GetItem(prev)->IsText()) {
        return true;
    }
    int32_t endItem = prev;
    int32_t endOffs = FDoc.GetOffsAfterItem(prev);
    FDoc.GetWordEndAfterItem(endItem, endOffs);
    return endItem < itemNo || (endItem == itemNo && endOffs <= FDoc.GetOffsBeforeItem(itemNo));
}

// Whether the items after the current one, up to where the word that ends it ends, fit into
// room (the width left after the current fragment) and into the maximum line length.
bool TVDWrapper::FollowingItemsFit(int32_t room, int32_t charsOnLine) {
    if (FUnicode && !FUnits.empty() && FUnits.back() == SoftHyphen) {
        room -= FState.FontItem->HyphenWidth;
    }
    int32_t endItem = FItemNo;
    int32_t endOffs = FDoc.GetOffsAfterItem(FItemNo);
    FDoc.GetWordEndAfterItem(endItem, endOffs);
    const int32_t currentStyle = FState.CurTextStyleNo;
    bool fits = room >= 0;
    for (int32_t i = FItemNo + 1; fits && i <= endItem; ++i) {
        if (FDoc.IsItemHiddenInView(i)) {
            continue;
        }
        TCustomVDItemInfo *item = FDoc.GetItem(i);
        if (!item->IsText()) {
            room -= NonTextWidth(i);
            charsOnLine += 1;
        } else {
            const int32_t len =
                i == endItem ? endOffs - 1 : GetItemTextLength(item->ItemText, item->ItemOptions);
            SetCurrentTextStyle(FDoc.GetActualStyle(*item));
            const bool unicode = item->ItemOptions.Contains(vdioUnicode);
            const bool bidi = FDoc.GetItemBiDiMode(i) != vdbdUnspecified;
            room -=
                ScaleFromFormatCanvas(FGI.TextSize(*FState.Canvas, {.Str = item->ItemText.data(),
                                                                    .Length = len,
                                                                    .Unicode = unicode,
                                                                    .BiDi = bidi})
                                          .cx,
                                      FState.ScaledFormatCanvas);
            charsOnLine += len;
        }
        fits = room >= 0 && (FState.MaxLength <= 0 || charsOnLine <= FState.MaxLength);
    }
    SetCurrentTextStyle(currentStyle);
    return fits;
}

// After a new line opened for the item: the style again (the line change may have reset it),
// and on a wrapped continuation one leading space dropped.
bool TVDWrapper::PrepareTextLine(bool newLine, int32_t &offs, int32_t &remaining) {
    if (!newLine) {
        return false;
    }
    StartNewLine(FItemNo, !FState.LineStartsItem);
    SetCurrentTextStyle(FTextStyleNo);
    FState.CurX = 0;
    if (FDoc.GetFlags().Contains(vdflTrim) && !FState.SpaceConsumed && !FState.LineStartsItem &&
        remaining > 1) {
        const bool space = FUnicode ? FUnits[static_cast<size_t>(offs - 1)] == Space
                                    : FItem->ItemText[static_cast<size_t>(offs - 1)] == ' ';
        if (space) {
            ++offs;
            --remaining;
        }
    }
    return true;
}

void TVDWrapper::FormatText(const TVDRawByteString &text, int32_t length) {
    FUnicode = FItem->ItemOptions.Contains(vdioUnicode);
    FTextStyleNo = FDoc.GetActualStyle(*FItem);
    SetCurrentTextStyle(FTextStyleNo);
    const TFontInfo &font = FStyle.GetTextStyles().GetItem(FTextStyleNo);
    TVDDrawTextForm form;
    form.unicode = FUnicode;
    form.allCaps = font.GetStyleEx().Contains(vdfsAllCaps);
    form.showSoftHyphens = VisibleSpecialCharacters.Contains(vdscSoftHyphen);
    FDrawText = GetTextForDrawing(text, form, false, FState.IsSymbolFont, false,
                                  FDoc.SpecialCharactersShown());
    FUnits = FUnicode ? RawUnicodeToString(text) : std::u16string();
    const bool trim = FDoc.GetFlags().Contains(vdflTrim);
    const TVDLineWrapMode mode = FStyle.GetLineWrapMode();
    const bool afterMarker = FollowsListMarker(FItemNo);
    const auto charAt = [&](int32_t i) -> char16_t {
        return FUnicode ? FUnits[static_cast<size_t>(i)]
                        : static_cast<unsigned char>(FItem->ItemText[static_cast<size_t>(i)]);
    };

    int32_t offs = 1;
    int32_t remaining = length;
    bool newLine = FDoc.IsVisibleFromNewLine(FItemNo);
    bool firstFragment = true;
    while (remaining > 0) {
        const bool lineEmpty = PrepareTextLine(newLine, offs, remaining);
        const bool markerFirst = firstFragment && afterMarker;
        bool earlier = false;
        TFragment frag;
        bool swallow = false;
        for (;;) {
            const int32_t room = std::max(0, FState.LineWidth - FState.CurX);
            if (earlier) {
                int32_t n = remaining - 1;
                while (FUnicode && n > 0 && charAt(offs - 1 + n) == Space) {
                    --n;
                }
                frag.N = std::min(n, FitUpperBound(remaining));
                frag.Measured = false;
            } else if (FState.MaxLength > 0 && FState.LineCharCount >= FState.MaxLength &&
                       WrapOn()) {
                frag.N = 0;
            } else {
                CountFittingChars(room, offs, remaining, frag);
            }
            if (frag.N == 0 && !earlier && (lineEmpty || markerFirst)) {
                frag.N = ExtendToCluster(offs, 1, remaining);
            } else if (frag.N == 0 && !lineEmpty && !markerFirst) {
                frag.N = -1; // to a new line
                break;
            }
            const int32_t n0 = frag.N;
            if (frag.N < remaining && mode != vdWrapAnywhere && WrapOn()) {
                int32_t b = FindBreak(offs, frag.N, remaining);
                if (b < 0 && trim && !earlier && frag.N < remaining &&
                    charAt(offs - 1 + frag.N) == Space &&
                    !(frag.N == remaining - 1 && FDoc.IsNextVisibleFromNewLine(FItemNo))) {
                    b = frag.N;
                }
                if (b >= 0) {
                    const bool atSpace = charAt(offs - 1 + b) == Space;
                    if (trim && atSpace) {
                        frag.N = b == 0 ? 1 : b;
                        swallow = b != 0;
                    } else {
                        frag.N = b + 1;
                    }
                } else if (lineEmpty || markerFirst || !BreakAllowedBefore(FItemNo) || offs > 1) {
                    frag.N = earlier ? remaining : frag.N;
                } else {
                    frag.N = -1;
                    break;
                }
            }
            if (frag.N != n0) {
                frag.Measured = false;
            }
            if (!earlier && mode == vdWrapNormal && WrapOn() && frag.N == remaining) {
                if (!frag.Measured) {
                    MeasureFragment(offs, frag);
                }
                if (!FollowingItemsFit(room - frag.Width, FState.LineCharCount + frag.N)) {
                    earlier = true;
                    swallow = false;
                    continue;
                }
            }
            break;
        }
        if (frag.N < 0) {
            newLine = true;
            continue;
        }
        if (frag.N == 0 && !lineEmpty) {
            newLine = true;
            continue;
        }
        frag.N = std::max(frag.N, 1);
        if (!frag.Measured) {
            MeasureFragment(offs, frag);
        }
        AddTextDrawItem(offs, frag.N, frag.Width, frag.Height, lineEmpty);
        FState.LineStartsItem = false;
        FState.SpaceConsumed = swallow;
        const int32_t step = frag.N + (swallow ? 1 : 0);
        offs += step;
        remaining -= step;
        newLine = true;
        firstFragment = false;
    }
    if (font.GetJump()) {
        FItem->JumpID = FDoc.nJmps++;
    }
}

void TVDWrapper::FormatEmptyText() {
    FUnicode = FItem->ItemOptions.Contains(vdioUnicode);
    FTextStyleNo = FDoc.GetActualStyle(*FItem);
    SetCurrentTextStyle(FTextStyleNo);
    const bool newLine = FDoc.IsVisibleFromNewLine(FItemNo);
    if (newLine) {
        StartNewLine(FItemNo, false);
        SetCurrentTextStyle(FTextStyleNo);
        FState.CurX = 0;
    }
    AddTextDrawItem(1, 0, 0, FState.FontItem->EmptyLineHeight, newLine);
    if (FStyle.GetTextStyles().GetItem(FTextStyleNo).GetJump()) {
        FItem->JumpID = -3;
    }
}

int32_t TVDWrapper::InsertDrawItem(std::unique_ptr<TVDDrawLineInfo> d, bool setItemDrawItemNo) {
    const int32_t index = FState.DrawItemCount++;
    if (setItemDrawItemNo && !FDoc.SharesItems()) {
        FItem->DrawItemNo = index;
    }
    FDoc.DrawItems.Insert(index, std::move(d));
    return index;
}

void TVDWrapper::ApplyFixedAscent(int32_t ascent, int32_t &top) {
    const TParaInfo &para = Para();
    const bool exact = para.GetLineSpacingType() == vdlsLineHeightExact;
    const bool atLeast = para.GetLineSpacingType() == vdlsLineHeightAtLeast;
    FState.LineAscent = ascent;
    if (exact || (atLeast && ascent < FState.FixedAscent)) {
        FState.LineAscent = FState.FixedAscent;
    }
    FState.BaseY += FState.PendingSpace + FState.LineAscent;
    top = FState.BaseY - ascent;
}

void TVDWrapper::AddTextDrawItem(int32_t offs, int32_t len, int32_t width, int32_t height,
                                 bool fromNewLine) {
    std::unique_ptr<TVDDrawLineInfo> d =
        CreateDrawLineInfo(FDoc.GetStandardDrawLineInfoClass(*FItem, FState.CurParaNo));
    d->ItemNo = FItemNo;
    d->Offs = offs;
    d->Length = len;
    d->Width = width;
    d->Height = height;
    const int32_t ascent = FState.TextMetric.tmAscent + FState.VerticalOffset;
    const int32_t descent = FState.TextMetric.tmDescent - FState.VerticalOffset;
    if (fromNewLine) {
        d->FromNewLine = true;
        d->FromNewPara = offs <= 1 && FState.LineStartsItem;
        d->FloatingAboveUsed = FState.LineMovedByFloats || FloatsActive();
        FState.CurX = 0;
        ApplyFixedAscent(ascent, d->Top);
        FState.PendingSpace = descent;
    } else {
        RaiseLine(ascent);
        d->Top = FState.BaseY - ascent;
        if (FState.DrawItemCount > 0) {
            d->FloatingAboveUsed = FDoc.DrawItems[FState.DrawItemCount - 1]->FloatingAboveUsed;
        }
        FState.PendingSpace = std::max(FState.PendingSpace, descent);
    }
    const TParaInfo &para = Para();
    if (para.GetLineSpacingType() == vdlsLineHeightExact ||
        (para.GetLineSpacingType() == vdlsLineHeightAtLeast &&
         FState.PendingSpace < FState.FixedDescent)) {
        FState.PendingSpace = FState.FixedDescent;
    }
    d->Left = FState.LineLeft + FState.CurX;
    InsertDrawItem(std::move(d), offs <= 1);
    FState.LineCharCount += len;
    FState.CurX += width;
    FState.LineHasOnlyFloats = false;
}

// Raising a line: a fragment taller above the baseline moves the line's draw items down.
void TVDWrapper::RaiseLine(int32_t ascent) {
    if (Para().GetLineSpacingType() == vdlsLineHeightExact || ascent <= FState.LineAscent) {
        return;
    }
    const int32_t delta = ascent - FState.LineAscent;
    for (int32_t i = FState.DrawItemCount - 1; i >= 0; --i) {
        TVDDrawLineInfo &d = *FDoc.DrawItems[i];
        d.Top += delta;
        if (d.FromNewLine) {
            break;
        }
    }
    FState.BaseY += delta;
    FState.LineAscent = ascent;
}

bool TVDWrapper::FloatsActive() const {
    return FState.Floats && FState.Floats->Count() > 0;
}

} // namespace vizivodu
