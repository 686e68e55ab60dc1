// Minimum widths: how narrow the document (a paragraph section, a line beside floats) can be
// before a paragraph no longer fits. A paragraph section runs from an item that starts a line
// by itself to the next one.
#include "vizivodu/layout/formatting/CVDFData.h"

#include "vizivodu/document/VDItem_BreakTab.h"
#include "vizivodu/document/VDMarker.h"
#include "vizivodu/layout/formatting/CVDFData_p.h"
#include "vizivodu/layout/text/VDGrIn.h"

#include <algorithm>
#include <memory>

namespace vizivodu {

namespace {

constexpr char16_t Space = u' ';

// The widest word of a run of n characters, widthOf(first, count) measuring a word: a word
// ends where a line may break (a space in 8-bit text; the line-break classes in UTF-16 text);
// trailing spaces do not count.
template <class TWidthOf>
int32_t LongestWord(int32_t n, const TWidthOf &widthOf, const std::u16string &units, bool unicode,
                    const std::string &bytes) {
    const auto isSpace = [&](int32_t i) {
        return unicode ? units[static_cast<size_t>(i)] == Space
                       : bytes[static_cast<size_t>(i)] == ' ';
    };
    int32_t longest = 0;
    int32_t start = 0;
    uint8_t before = 0;
    bool spaceSeen = false;
    int32_t lastNonSpace = -1;
    for (int32_t i = 0; i < n; ++i) {
        if (isSpace(i)) {
            spaceSeen = true;
            continue;
        }
        bool breakHere = false;
        if (lastNonSpace >= 0) {
            if (!unicode) {
                breakHere = spaceSeen;
            } else {
                const uint8_t after = GetLineBreakClass(units[static_cast<size_t>(i)]);
                uint8_t v = GetLineBreakPair(before, after);
                if (v == 1 && !spaceSeen) {
                    v = 2;
                }
                breakHere = v < 2;
            }
        }
        if (breakHere) {
            longest = std::max(longest, widthOf(start, lastNonSpace - start + 1));
            start = i;
        }
        if (unicode) {
            before = GetLineBreakClass(units[static_cast<size_t>(i)]);
        }
        spaceSeen = false;
        lastNonSpace = i;
    }
    if (lastNonSpace >= start) {
        longest = std::max(longest, widthOf(start, lastNonSpace - start + 1));
    }
    return longest;
}

} // namespace

// The minimum width machinery of one document for one canvas and resolution.
class TVDMinWidths {
public:
    TVDMinWidths(TCustomVDFormattedData &doc, PVDScreenAndDevice sad, gfx::TCanvas &canvas)
        : FDoc(doc), FSaD(sad), FCanvas(canvas), FStyle(*doc.GetVDStyle()),
          FGI(FStyle.GetGraphicInterface()), FScaled(doc.GetFormatCanvasEx(nullptr) != nullptr) {}

    int32_t Indents(int32_t itemNo, int32_t &firstParaItemNo, bool eventNegativeFirstIndent);
    int32_t TextWidth(int32_t itemNo);
    int32_t LongestWordOf(int32_t itemNo);
    int32_t MarkerMinWidth(int32_t markerItemNo);
    int32_t X(TVDStyleLength v) { return FStyle.GetAsDevicePixelsX(v, FSaD); }

    TCustomVDFormattedData &FDoc;
    PVDScreenAndDevice FSaD;
    gfx::TCanvas &FCanvas;
    TVDStyle &FStyle;
    TVDGraphicInterface &FGI;
    bool FScaled;

private:
    void Apply(int32_t styleNo);
};

void TVDMinWidths::Apply(int32_t styleNo) {
    TVDApplyOptions options;
    options.Include(vdaoIgnoreSubSuperScript);
    if (FScaled) {
        options.Include(vdaoToFormatCanvas);
    }
    FStyle.GetTextStyles().GetItem(styleNo).Apply(FCanvas, FDoc.GetBiDiMode(), options, nullptr,
                                                  FStyle);
}

int32_t TVDMinWidths::TextWidth(int32_t itemNo) {
    TCustomVDItemInfo *item = FDoc.GetItem(itemNo);
    Apply(FDoc.GetActualStyle(*item));
    const bool unicode = item->ItemOptions.Contains(vdioUnicode);
    const int32_t len = GetItemTextLength(item->ItemText, item->ItemOptions);
    const bool bidi = FDoc.GetItemBiDiMode(itemNo) != vdbdUnspecified;
    return ScaleFromFormatCanvas(
        FGI.TextSize(
               FCanvas,
               {.Str = item->ItemText.data(), .Length = len, .Unicode = unicode, .BiDi = bidi})
            .cx,
        FScaled);
}

int32_t TVDMinWidths::LongestWordOf(int32_t itemNo) {
    TCustomVDItemInfo *item = FDoc.GetItem(itemNo);
    const int32_t len = GetItemTextLength(item->ItemText, item->ItemOptions);
    if (len <= 0) {
        return 0;
    }
    Apply(FDoc.GetActualStyle(*item));
    const bool unicode = item->ItemOptions.Contains(vdioUnicode);
    const bool bidi = FDoc.GetItemBiDiMode(itemNo) != vdbdUnspecified;
    const int32_t unit = unicode ? 2 : 1;
    const TVDTextRun run{
        .Str = item->ItemText.data(), .Length = len, .Unicode = unicode, .BiDi = bidi};
    // A left-to-right run is placed once and a word spans its characters' edges; a reordered
    // run has words measured on their own.
    const std::unique_ptr<TCustomVDGlyphDXData> placed =
        bidi ? nullptr : FGI.GetGlyphDX(FCanvas, run, 0, 0, {vdgnCoords}, -1, -1);
    const bool hasEdges = placed && placed->PXL.size() == static_cast<size_t>(len) &&
                          placed->PXR.size() == static_cast<size_t>(len);
    const auto widthOf = [&](int32_t first, int32_t count) {
        if (hasEdges) {
            return placed->PXR[static_cast<size_t>(first + count - 1)] -
                   placed->PXL[static_cast<size_t>(first)];
        }
        TVDTextRun word = run;
        word.Str += first * unit;
        word.Length = count;
        return FGI.TextSize(FCanvas, word).cx;
    };
    const std::u16string units = unicode ? RawUnicodeToString(item->ItemText) : std::u16string();
    return ScaleFromFormatCanvas(LongestWord(len, widthOf, units, unicode, item->ItemText),
                                 FScaled);
}

int32_t TVDMinWidths::MarkerMinWidth(int32_t markerItemNo) {
    TCustomVDItemInfo *marker = FDoc.GetItem(markerItemNo);
    return marker->GetMinWidth(FSaD, &FCanvas, &FDoc);
}

// The indent need of the line that itemNo starts.
int32_t TVDMinWidths::Indents(int32_t itemNo, int32_t &firstParaItemNo,
                              bool eventNegativeFirstIndent) {
    if (firstParaItemNo < 0) {
        firstParaItemNo = FDoc.GetVisibleParaStart(itemNo);
    }
    const int32_t paraNo = FDoc.GetVisibleItemPara(itemNo);
    const TParaInfo &para = FStyle.GetParaStyles().GetItem(paraNo);
    const bool rtl = FDoc.GetParaBiDiMode(paraNo) == vdbdRightToLeft;
    const TVDListLevel *level = nullptr;
    TCustomVDItemInfo *firstItem = FDoc.GetItem(firstParaItemNo);
    auto *marker = firstItem->IsText() ? nullptr : dynamic_cast<TVDMarkerItemInfo *>(firstItem);
    if (marker) {
        level = marker->GetLevelInfo(&FStyle);
    }
    int32_t listNo = -1, levelNo = -1;
    if (!level && FDoc.State.Contains(vdstFirstParaAborted) &&
        firstParaItemNo == FDoc.GetFirstVisibleItemNo() &&
        FDoc.GetFirstParaListLevel(listNo, levelNo)) {
        level = GetListLevelInfo(&FStyle, listNo, levelNo);
        marker = nullptr;
    }
    if (level) {
        int32_t w = X(level->GetLeftIndent());
        if (eventNegativeFirstIndent || level->GetFirstIndent() > 0) {
            w += X(level->GetFirstIndent());
        }
        if (marker && level) {
            int32_t markerWidth = MarkerMinWidth(firstParaItemNo);
            if (level->GetMarkerAlignment() == vdmaRight) {
                markerWidth = 0;
            } else if (level->GetMarkerAlignment() == vdmaCenter) {
                markerWidth /= 2;
            }
            w = std::max(w, X(level->GetMarkerIndent()) + markerWidth);
        }
        return w + X(rtl ? para.GetLeftIndent() : para.GetRightIndent());
    }
    int32_t w = X(para.GetLeftIndent()) + X(para.GetRightIndent());
    if ((para.GetFirstIndent() > 0 || eventNegativeFirstIndent) &&
        !IsFullWidthItem(*FDoc.GetItem(itemNo))) {
        w += X(para.GetFirstIndent());
    }
    return w;
}

int32_t TCustomVDFormattedData::CalculateEmptyParaSectionWidth(int32_t itemNo,
                                                               int32_t &firstParaItemNo,
                                                               PVDScreenAndDevice sad,
                                                               gfx::TCanvas &canvas,
                                                               bool eventNegativeFirstIndent) {
    if (IsLineHiddenFromItem(itemNo)) {
        return 0;
    }
    return TVDMinWidths(*this, sad, canvas)
        .Indents(itemNo, firstParaItemNo, eventNegativeFirstIndent);
}

int32_t TCustomVDFormattedData::CalculateMinItemWidthWrap(int32_t itemNo, PVDScreenAndDevice sad,
                                                          gfx::TCanvas &canvas, bool ignoreFloating,
                                                          bool ignoreMarkers) {
    if (IsItemHiddenInView(itemNo)) {
        return 0;
    }
    TCustomVDItemInfo *item = GetItem(itemNo);
    if (ignoreFloating && IsFloatingItem(*item)) {
        return 0;
    }
    TVDMinWidths mw(*this, sad, canvas);
    int32_t w = item->IsText() ? mw.LongestWordOf(itemNo) : item->GetMinWidth(sad, &canvas, this);
    if (!ignoreMarkers && itemNo > 0 && item->GetSameAsPrev() &&
        GetItem(itemNo - 1)->StyleNo == StyleNoListMarker) {
        w += mw.MarkerMinWidth(itemNo - 1);
    }
    return w;
}

int32_t TCustomVDFormattedData::CalculateMinItemsWidthNoWrap(int32_t startItemNo, int32_t endItemNo,
                                                             PVDScreenAndDevice sad,
                                                             gfx::TCanvas &canvas,
                                                             bool ignoreFloating,
                                                             bool ignoreMarkers) {
    TVDMinWidths mw(*this, sad, canvas);
    int32_t sum = 0;
    int32_t floatMin = 0;
    int32_t lineLeft = 0;
    bool tabsReady = false;
    TVDScreenAndDevice own;
    PVDScreenAndDevice tabSad = sad;
    int32_t leftIndent = 0, rightIndent = 0;
    int32_t pullBack = 0; // what the text after a right or centre tab may be pulled back
    int32_t pullFactor = 0;
    for (int32_t i = startItemNo; i <= endItemNo; ++i) {
        if (IsItemHiddenInView(i)) {
            if (!SharesItems()) {
                GetItem(i)->DrawItemNo = -1;
            }
            continue;
        }
        TCustomVDItemInfo *item = GetItem(i);
        if (ignoreMarkers && item->StyleNo == StyleNoListMarker) {
            continue;
        }
        int32_t w = 0;
        if (item->IsText()) {
            w = mw.TextWidth(i);
        } else if (item->StyleNo == StyleNoTab) {
            if (!tabsReady) {
                const TParaInfo &para =
                    GetVDStyle()->GetParaStyles().GetItem(GetVisibleItemPara(i));
                leftIndent = mw.X(para.GetLeftIndent());
                rightIndent = mw.X(para.GetRightIndent());
                lineLeft = leftIndent;
                if (!sad) {
                    GetSaDForCanvas(canvas, own);
                    own.LeftMargin = ScreenToDeviceX(GetLeftMargin(), own);
                    own.RightMargin = ScreenToDeviceX(GetRightMargin(), own);
                    tabSad = &own;
                }
                tabsReady = true;
            }
            const int32_t margin = tabSad ? tabSad->LeftMargin : 0;
            const TVDNextTab tab =
                GetVDStyle()->GetNextTab(GetVisibleItemPara(i), margin + lineLeft + sum, tabSad,
                                         GetBiDiMode(), leftIndent, rightIndent);
            const int32_t tabWidth = std::max(0, tab.Position - margin - lineLeft - sum);
            sum += tabWidth;
            pullBack = tabWidth;
            pullFactor = tab.Align == vdtaRight ? 2 : tab.Align == vdtaCenter ? 1 : 0;
            continue;
        } else if (IsFloatingItem(*item)) {
            if (!ignoreFloating) {
                floatMin = std::max(floatMin, item->GetMinWidth(sad, &canvas, this));
            }
            continue;
        } else {
            w = item->GetMinWidth(sad, &canvas, this);
        }
        if (pullFactor > 0) {
            const int32_t back = std::min(pullBack, w * pullFactor / 2);
            sum -= back;
            pullBack -= back;
        }
        sum += w;
    }
    return std::max(sum, floatMin);
}

int32_t TCustomVDFormattedData::CalculateMinItemsWidthPlusWrap(int32_t startItemNo,
                                                               int32_t endItemNo,
                                                               int32_t &firstParaItemNo,
                                                               PVDScreenAndDevice sad,
                                                               gfx::TCanvas &canvas) {
    if (endItemNo < startItemNo) {
        return 0;
    }
    TVDMinWidths mw(*this, sad, canvas);
    int32_t result = 0;
    int32_t indents = 0;
    for (int32_t i = startItemNo; i <= endItemNo; ++i) {
        if (i == startItemNo || IsVisibleFromNewLine(i)) {
            if (IsVisibleParaStart(i)) {
                firstParaItemNo = -1;
            }
            indents = std::max(0, mw.Indents(i, firstParaItemNo, false));
        }
        result = std::max(result, indents + CalculateMinItemWidthWrap(i, sad, canvas, false, true));
    }
    return result;
}

int32_t TCustomVDFormattedData::CalculateParaSectionMinWidth(int32_t startItemNo,
                                                             int32_t &firstParaItemNo,
                                                             PVDScreenAndDevice sad,
                                                             gfx::TCanvas &canvas) {
    int32_t first = startItemNo, last = startItemNo;
    ExpandToVisibleLine(startItemNo, startItemNo, first, last);
    const TParaInfo &para = GetVDStyle()->GetParaStyles().GetItem(GetVisibleItemPara(first));
    if (!para.GetOptions().Contains(vdpaoNoWrap) && GetWordWrap()) {
        return CalculateMinItemsWidthPlusWrap(first, last, firstParaItemNo, sad, canvas);
    }
    return CalculateEmptyParaSectionWidth(first, firstParaItemNo, sad, canvas, true) +
           CalculateMinItemsWidthNoWrap(first, last, sad, canvas, false, true);
}

int32_t TCustomVDFormattedData::CalculateParaSectionsMinWidth(int32_t startItemNo,
                                                              int32_t endItemNo,
                                                              int32_t &firstParaItemNo,
                                                              PVDScreenAndDevice sad,
                                                              gfx::TCanvas &canvas) {
    if (endItemNo < startItemNo || ItemCount() == 0) {
        return 0;
    }
    int32_t first = startItemNo, last = endItemNo;
    ExpandToVisibleLine(startItemNo, endItemNo, first, last);
    int32_t result = 0;
    for (int32_t i = first; i <= last; ++i) {
        if (i != first && !IsVisibleFromNewLine(i)) {
            continue;
        }
        if (IsVisibleParaStart(i)) {
            firstParaItemNo = i;
        }
        result = std::max(result, CalculateParaSectionMinWidth(i, firstParaItemNo, sad, canvas));
    }
    return result;
}

int32_t TCustomVDFormattedData::CalculateMinDocWidthPlus(int32_t firstItemNo,
                                                         PVDScreenAndDevice sad,
                                                         gfx::TCanvas &canvas) {
    if (sad && sad->ppixScreen == sad->ppixDevice && sad->ppiyScreen == sad->ppiyDevice) {
        sad = nullptr;
    }
    int32_t firstParaItemNo = firstItemNo;
    return CalculateParaSectionsMinWidth(firstItemNo, ItemCount() - 1, firstParaItemNo, sad,
                                         canvas);
}

int32_t TCustomVDFormattedData::CalculateMinItemWidthPlusEx(int32_t itemNo) {
    gfx::TCanvas *canvas = GetFormatCanvas();
    if (!canvas) {
        return 0;
    }
    int32_t firstParaItemNo = -1;
    return CalculateParaSectionMinWidth(itemNo, firstParaItemNo, nullptr, *canvas);
}

int32_t TCustomVDFormattedData::CalculateParaSectionMinWidthDef(int32_t startItemNo) {
    return CalculateMinItemWidthPlusEx(startItemNo);
}

int32_t TCustomVDFormattedData::CalculateParaSectionsMinWidthDef(int32_t startItemNo,
                                                                 int32_t endItemNo) {
    gfx::TCanvas *canvas = GetFormatCanvas();
    if (!canvas) {
        return 0;
    }
    int32_t firstParaItemNo = -1;
    return CalculateParaSectionsMinWidth(startItemNo, endItemNo, firstParaItemNo, nullptr, *canvas);
}

int32_t TCustomVDFormattedData::CalculateMinItemsWidthPlusEx(int32_t startItemNo,
                                                             int32_t endItemNo) {
    gfx::TCanvas *canvas = GetFormatCanvas();
    if (!canvas || endItemNo < startItemNo) {
        return 0;
    }
    const auto wraps = [&](int32_t itemNo) {
        const TParaInfo &para = GetVDStyle()->GetParaStyles().GetItem(GetVisibleItemPara(itemNo));
        return !para.GetOptions().Contains(vdpaoNoWrap) && GetWordWrap();
    };
    int32_t firstParaItemNo = -1;
    int32_t sectionStart = 0, sectionEnd = 0;
    ExpandToVisibleLine(startItemNo, startItemNo, sectionStart, sectionEnd);
    int32_t result =
        wraps(startItemNo)
            ? CalculateMinItemsWidthPlusWrap(startItemNo, std::min(sectionEnd, endItemNo),
                                             firstParaItemNo, nullptr, *canvas)
            : CalculateParaSectionMinWidth(startItemNo, firstParaItemNo, nullptr, *canvas);
    if (endItemNo > sectionEnd) {
        int32_t lastStart = 0, lastEnd = 0;
        ExpandToVisibleLine(endItemNo, endItemNo, lastStart, lastEnd);
        if (lastStart > sectionEnd + 1) {
            result =
                std::max(result, CalculateParaSectionsMinWidth(sectionEnd + 1, lastStart - 1,
                                                               firstParaItemNo, nullptr, *canvas));
        }
        result = std::max(result, wraps(endItemNo)
                                      ? CalculateMinItemsWidthPlusWrap(
                                            lastStart, endItemNo, firstParaItemNo, nullptr, *canvas)
                                      : CalculateParaSectionMinWidth(lastStart, firstParaItemNo,
                                                                     nullptr, *canvas));
    }
    return result;
}

int32_t TCustomVDFormattedData::CalculateMinWidthAfterInsert(TCustomVDItemInfo &item,
                                                             int32_t insertItemNo) {
    gfx::TCanvas *canvas = GetFormatCanvas();
    if (!canvas) {
        return 0;
    }
    int32_t w = IsItemInfoHiddenInView(item) ? 0 : item.GetMinWidth(nullptr, canvas, this);
    if (insertItemNo >= 0 && insertItemNo < ItemCount()) {
        const TParaInfo &para =
            GetVDStyle()->GetParaStyles().GetItem(GetVisibleItemPara(insertItemNo));
        if (para.GetOptions().Contains(vdpaoNoWrap) || !GetWordWrap()) {
            w += CalculateParaSectionMinWidthDef(insertItemNo);
        }
    }
    return w;
}

int32_t TCustomVDFormattedData::CalculateMinLineWidth(int32_t firstItemNo, PVDScreenAndDevice sad,
                                                      gfx::TCanvas &canvas) {
    const int32_t paraNo = GetVisibleItemPara(firstItemNo);
    const TParaInfo &para = GetVDStyle()->GetParaStyles().GetItem(paraNo);
    int32_t w = 0;
    if (para.GetOptions().Contains(vdpaoNoWrap) || !GetWordWrap()) {
        int32_t first = firstItemNo, last = firstItemNo;
        ExpandToVisibleLine(firstItemNo, firstItemNo, first, last);
        w = CalculateMinItemsWidthNoWrap(first, last, sad, canvas, true, false);
    } else {
        int32_t itemNo = firstItemNo;
        if (GetItem(itemNo)->StyleNo == StyleNoListMarker && itemNo < ItemCount() - 1) {
            ++itemNo;
        }
        w = CalculateMinItemWidthWrap(itemNo, sad, canvas, true, false);
    }
    const int32_t firstVisible = GetVisibleParaStart(firstItemNo);
    const auto *marker = dynamic_cast<TVDMarkerItemInfo *>(GetItem(firstVisible));
    const bool hasLevel = marker && marker->GetLevelInfo(GetVDStyle());
    if (firstItemNo == firstVisible && !hasLevel && !IsFullWidthItem(*GetItem(firstItemNo))) {
        w += GetVDStyle()->GetAsDevicePixelsX(para.GetFirstIndent(), sad);
    }
    return w;
}

} // namespace vizivodu
