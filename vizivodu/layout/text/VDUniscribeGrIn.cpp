// The complex-script engine: text operations on analyses of the complex-script string
// functions, reached through the loader's entry points.
#include "vizivodu/layout/text/VDUniscribeGrIn.h"

#include "platform/rtl/Exceptions.h"
#include "vizivodu/document/VDUnicode.h"
#include "vizivodu/layout/text/VDGrIn_p.h"
#include "vizivodu/layout/text/VDUniscribe.h"

#include <unicode/uchar.h>

#include <algorithm>
#include <limits>

namespace vizivodu {

namespace {

constexpr int32_t NoLimit = std::numeric_limits<int32_t>::max();
// Shaped glyphs, with fallback faces for characters the font lacks.
constexpr uint32_t AnalysisFlags = gfx::SSA_GLYPHS | gfx::SSA_FALLBACK;

TVDTextRun Prefix(const TVDTextRun &run, int32_t length) {
    TVDTextRun prefix = run;
    prefix.Length = length;
    return prefix;
}

// Characters that take no width unless the caller measures them as drawn.
bool IsSpecial(char16_t c) {
    return c == 0x00AD || c == 0x200B || c == 0x2060;
}

bool IsRightToLeftType(UCharDirection d) {
    return d == U_RIGHT_TO_LEFT || d == U_RIGHT_TO_LEFT_ARABIC;
}

} // namespace

// One analysis of a run, freed with the object.
class TVDUniscribeGraphicInterface::TAnalysis {
public:
    TAnalysis() = default;
    ~TAnalysis() { Free(); }
    TAnalysis(const TAnalysis &) = delete;
    TAnalysis &operator=(const TAnalysis &) = delete;

    bool Make(gfx::TCanvas &canvas, const TVDTextRun &run, int32_t reqWidth, uint32_t flags,
              const int32_t *dx, bool rightToLeft) {
        Free();
        const TVDUniscribeEntries &usp = Usp();
        if (!usp.ScriptStringAnalyse || run.Length <= 0 || !run.Str) {
            return false;
        }
        flags |= AnalysisFlags | (rightToLeft ? uint32_t(gfx::SSA_RTL) : 0u);
        const int32_t glyphs = (3 * run.Length + 1) / 2 + 16;
        const int32_t charset = run.Unicode ? -1 : canvas.GetLogFont().lfCharSet;
        const gfx::HRESULT result =
            usp.ScriptStringAnalyse(&canvas, run.Str, run.Length, glyphs, charset, flags, reqWidth,
                                    nullptr, nullptr, dx, nullptr, nullptr, &FSSA);
        if (gfx::FAILED(result)) {
            Free();
        }
        return FSSA != nullptr;
    }
    void Free() {
        if (FSSA && Usp().ScriptStringFree) {
            Usp().ScriptStringFree(&FSSA);
        }
        FSSA = nullptr;
    }
    int32_t Count() const { return *Usp().ScriptString_pcOutChars(FSSA); }
    rtl::TSize Size() const { return *Usp().ScriptString_pSize(FSSA); }
    // The logical widths, length entries (0 past the characters held).
    std::vector<int32_t> Widths(int32_t length) const {
        std::vector<int32_t> widths(size_t(std::max({length, Count(), 0})), 0);
        Usp().ScriptStringGetLogicalWidths(FSSA, widths.data());
        widths.resize(size_t(std::max(length, 0)));
        return widths;
    }
    std::vector<uint32_t> Order(int32_t length) const {
        std::vector<uint32_t> order(size_t(std::max({length, Count(), 0})), 0);
        Usp().ScriptStringGetOrder(FSSA, order.data());
        order.resize(size_t(std::max(length, 0)));
        return order;
    }
    // Each character's box (left and right edge, length entries, 0 past the characters held),
    // widths being the logical widths (Widths(length)). When the output order counts up
    // character by character, every character is a cluster of its own shown in logical order,
    // so the boxes follow one another by the logical widths.
    void Boxes(int32_t length, const std::vector<int32_t> &widths, std::vector<int32_t> &left,
               std::vector<int32_t> &right) const {
        const int32_t n = std::min(length, Count());
        left.assign(size_t(std::max(length, 0)), 0);
        right.assign(size_t(std::max(length, 0)), 0);
        const std::vector<uint32_t> order = Order(n);
        bool sequential = true;
        for (int32_t i = 0; i < n && sequential; ++i) {
            sequential = order[size_t(i)] == uint32_t(i);
        }
        if (sequential) {
            int32_t x = 0;
            for (size_t i = 0; i < size_t(std::max(n, 0)); ++i) {
                left[i] = x;
                x += widths[i];
                right[i] = x;
            }
            return;
        }
        for (int32_t i = 0; i < n; ++i) {
            const int32_t lead = X(i, false), trail = X(i, true);
            left[size_t(i)] = std::min(lead, trail);
            right[size_t(i)] = std::max(lead, trail);
        }
    }
    int32_t X(int32_t cp, bool trailing) const {
        int32_t x = 0;
        Usp().ScriptStringCPtoX(FSSA, cp, trailing, &x);
        return x;
    }
    // ETO_OPAQUE unless the canvas brush is clear.
    void Out(gfx::TCanvas &canvas, int32_t x, int32_t y) const {
        const uint32_t options =
            canvas.GetBrush().GetStyle() == gfx::bsClear ? 0u : uint32_t(gfx::ETO_OPAQUE);
        Usp().ScriptStringOut(FSSA, x, y, options, nullptr, 0, 0, false);
    }

private:
    gfx::SCRIPT_STRING_ANALYSIS FSSA = nullptr;
};

bool TVDUniscribeGraphicInterface::Analyse(gfx::TCanvas &canvas, const TVDTextRun &run,
                                           int32_t charExtra, int32_t reqWidth, uint32_t flags,
                                           const int32_t *dx, TAnalysis &analysis) {
    const bool rtl = (GetTextAlign(canvas) & TA_RTLREADING) != 0;
    if (!analysis.Make(canvas, run, reqWidth, flags, dx, rtl)) {
        return false;
    }
    if (charExtra == 0 || dx) {
        return true;
    }
    std::vector<int32_t> widths = analysis.Widths(run.Length);
    analysis.Free();
    ApplyCharExtraToDX(run, charExtra, widths);
    return analysis.Make(canvas, run, reqWidth, flags, widths.data(), rtl);
}

void TVDUniscribeGraphicInterface::TextOut(gfx::TCanvas &canvas, int32_t x, int32_t y,
                                           const TVDTextRun &run, TVDTextOutput output) {
    if (run.Length > 0) {
        const grin::TCharExtraOff off(*this, canvas);
        if (output == vdtoMetafile) {
            canvas.ExtTextOut(x, y, 0, nullptr, grin::CanvasText(canvas, run));
            return;
        }
        TAnalysis analysis;
        if (Analyse(canvas, run, off.Value(), -1, 0, nullptr, analysis)) {
            analysis.Out(canvas, x, y);
            return;
        }
    }
    TVDWinGraphicInterface::TextOut(canvas, x, y, run, output);
}

rtl::TSize TVDUniscribeGraphicInterface::TextSizeBasic(gfx::TCanvas &canvas,
                                                       const TVDTextRun &run) {
    if (run.Length > 0) {
        const grin::TCharExtraOff off(*this, canvas);
        TAnalysis analysis;
        if (Analyse(canvas, run, off.Value(), -1, 0, nullptr, analysis)) {
            return analysis.Size();
        }
    }
    return TVDWinGraphicInterface::TextSizeBasic(canvas, run);
}

void TVDUniscribeGraphicInterface::GetTextExtentExPoint(gfx::TCanvas &canvas, const TVDTextRun &run,
                                                        int32_t maxExtent, int32_t *coords,
                                                        int32_t &fit, rtl::TSize &size) {
    if (coords) {
        throw rtl::EInvalidOperation("Assertion failure (VDUniscribeGrIn): the complex-script "
                                     "engine measures no coordinates");
    }
    if (run.Length > 0 && Extent(canvas, run, maxExtent, fit, size)) {
        return;
    }
    TVDWinGraphicInterface::GetTextExtentExPoint(canvas, run, maxExtent, coords, fit, size);
}

// The analysis clips at the width asked for, the special characters' widths added to it and
// taken off the result; with a character extra the widened logical widths are summed instead.
bool TVDUniscribeGraphicInterface::Extent(gfx::TCanvas &canvas, const TVDTextRun &run,
                                          int32_t maxExtent, int32_t &fit, rtl::TSize &size) {
    TVDStringAdjRecord rec;
    const int32_t adj =
        run.IgnoreSpecialChars ? 0 : -GetTextWidthAdjustingDeltaEx(canvas, run, rec);
    const int32_t request = maxExtent == NoLimit
                                ? maxExtent
                                : int32_t(std::min<int64_t>(int64_t(maxExtent) + adj, NoLimit));
    const grin::TCharExtraOff off(*this, canvas);
    const uint32_t flags = request < 0 || off.Value() != 0 ? 0u : uint32_t(gfx::SSA_CLIP);
    TAnalysis analysis;
    if (!Analyse(canvas, run, off.Value(), request, flags, nullptr, analysis)) {
        return false;
    }
    size = analysis.Size();
    fit = analysis.Count();
    if (off.Value() != 0) {
        const std::vector<int32_t> widths = analysis.Widths(fit);
        const bool skipSpecial = run.Unicode && !run.IgnoreSpecialChars;
        int32_t sum = 0;
        for (int32_t i = 0; i < int32_t(widths.size()); ++i) {
            const int32_t w = skipSpecial && IsSpecial(run.CharAt(i)) ? 0 : widths[size_t(i)];
            if (sum + w > maxExtent) {
                fit = i;
                size.cx = sum;
                break;
            }
            sum += w;
        }
        return true;
    }
    if (adj != 0) {
        size.cx += GetTextWidthAdjustingDeltaEx(canvas, Prefix(run, fit), rec);
        while (fit > 0 && size.cx > maxExtent) {
            --fit;
            TVDTextRun prefix = Prefix(run, fit);
            prefix.BiDi = false;
            size = TextSizeBasic(canvas, prefix);
            size.cx += GetTextWidthAdjustingDeltaEx(canvas, prefix, rec);
        }
    }
    return true;
}

std::unique_ptr<TCustomVDGlyphDXData> TVDUniscribeGraphicInterface::GetGlyphDX(
    gfx::TCanvas &canvas, const TVDTextRun &run, int32_t spaceCount, int32_t extraSpaceWidth,
    TVDGlyphDXNeeds needs, int32_t leftNoExpIndex, int32_t rightNoExpIndex) {
    if (run.Length > 0) {
        const grin::TCharExtraOff off(*this, canvas);
        TAnalysis analysis;
        if (Analyse(canvas, run, off.Value(), -1, 0, nullptr, analysis)) {
            auto data = std::make_unique<TVDUniscribeGlyphDXData>();
            const std::vector<int32_t> widths = analysis.Widths(run.Length);
            if (needs.Contains(vdgnDX)) {
                data->PDX = widths;
                if (spaceCount > 0) {
                    ExpandSpacesInDX(run, data->PDX, spaceCount, extraSpaceWidth, {});
                } else if (spaceCount == vdDistributeSpacing) {
                    DistributeSpacingToDX(run, data->PDX, extraSpaceWidth, leftNoExpIndex,
                                          rightNoExpIndex, {});
                }
            }
            if (needs.Contains(vdgnCoords)) {
                analysis.Boxes(run.Length, widths, data->PXL, data->PXR);
                if (spaceCount > 0) {
                    ExpandSpacesInCoords(run, data->PXL, data->PXR, {}, spaceCount,
                                         extraSpaceWidth);
                } else if (spaceCount == vdDistributeSpacing) {
                    DistributeSpacingInCoords(run, data->PXL, data->PXR, {}, extraSpaceWidth,
                                              leftNoExpIndex, rightNoExpIndex);
                }
            }
            return data;
        }
    }
    return TVDWinGraphicInterface::GetGlyphDX(canvas, run, spaceCount, extraSpaceWidth, needs,
                                              leftNoExpIndex, rightNoExpIndex);
}

void TVDUniscribeGraphicInterface::TextOutWithDX(gfx::TCanvas &canvas, int32_t x, int32_t y,
                                                 const TVDTextRun &run, TVDTextOutput output,
                                                 TCustomVDGlyphDXData &data) {
    if (run.Length <= 0 || dynamic_cast<TVDWinGlyphDXData *>(&data)) {
        TVDWinGraphicInterface::TextOutWithDX(canvas, x, y, run, output, data);
        return;
    }
    const grin::TCharExtraOff off(*this, canvas);
    const bool hasDX = data.PDX.size() >= size_t(run.Length);
    if (output == vdtoMetafile) {
        if (hasDX && run.Unicode && IsWinNT) {
            const std::vector<uint8_t> starts = grin::CharacterStarts(run);
            for (size_t i = 1; i < size_t(run.Length); ++i) {
                if (!starts[i]) {
                    size_t start = i;
                    while (start > 0 && !starts[start]) {
                        --start;
                    }
                    data.PDX[start] += data.PDX[i];
                    data.PDX[i] = 0;
                }
            }
        }
        canvas.ExtTextOut(
            x, y, 0, nullptr, grin::CanvasText(canvas, run),
            hasDX ? std::vector<int32_t>(data.PDX.begin(), data.PDX.begin() + run.Length)
                  : std::vector<int32_t>());
        return;
    }
    TAnalysis analysis;
    if (Analyse(canvas, run, off.Value(), -1, 0, hasDX ? data.PDX.data() : nullptr, analysis)) {
        analysis.Out(canvas, x, y);
        return;
    }
    TVDWinGraphicInterface::TextOut(canvas, x, y, run, output);
}

bool TVDUniscribeGraphicInterface::GetCaretPositions(gfx::TCanvas &canvas, const TVDTextRun &run,
                                                     int32_t spaceCount, int32_t extraSpaceWidth,
                                                     std::span<int32_t> pcp, int32_t leftNoExpIndex,
                                                     int32_t rightNoExpIndex) {
    const size_t length = size_t(std::max(run.Length, 0));
    if (length > 0 && pcp.size() > length) {
        const grin::TCharExtraOff off(*this, canvas);
        TAnalysis analysis;
        if (Analyse(canvas, run, off.Value(), -1, 0, nullptr, analysis)) {
            std::vector<int32_t> left(length, 0), right(length, 0);
            pcp[0] = analysis.X(0, false);
            for (size_t i = 0; i < length && int32_t(i) < analysis.Count(); ++i) {
                const int32_t lead = analysis.X(int32_t(i), false);
                const int32_t trail = analysis.X(int32_t(i), true);
                pcp[i + 1] = trail;
                left[i] = std::min(lead, trail);
                right[i] = std::max(lead, trail);
            }
            const std::span<int32_t> carets = pcp.first(length + 1);
            if (run.Unicode && !run.IgnoreSpecialChars) {
                for (size_t i = 0; i < length; ++i) {
                    const int32_t w = right[i] - left[i];
                    if (!IsSpecial(run.CharAt(int32_t(i))) || w <= 0) {
                        continue;
                    }
                    const int32_t edge = left[i];
                    for (std::span<int32_t> coords :
                         {carets, std::span<int32_t>(left), std::span<int32_t>(right)}) {
                        for (int32_t &c : coords) {
                            c -= c > edge ? w : 0;
                        }
                    }
                }
            }
            if (spaceCount > 0) {
                ExpandSpacesInCoords(run, left, right, carets, spaceCount, extraSpaceWidth);
            } else if (spaceCount == vdDistributeSpacing) {
                DistributeSpacingInCoords(run, left, right, carets, extraSpaceWidth, leftNoExpIndex,
                                          rightNoExpIndex);
            }
            return true;
        }
    }
    return TVDWinGraphicInterface::GetCaretPositions(canvas, run, spaceCount, extraSpaceWidth, pcp,
                                                     leftNoExpIndex, rightNoExpIndex);
}

int32_t TVDUniscribeGraphicInterface::GetExpandableCharCount(gfx::TCanvas &canvas,
                                                             const TVDTextRun &run) {
    if (run.Length <= 0) {
        return 0;
    }
    TAnalysis analysis;
    if (!Analyse(canvas, run, 0, -1, 0, nullptr, analysis)) {
        return TVDWinGraphicInterface::GetExpandableCharCount(canvas, run);
    }
    const std::vector<int32_t> widths = analysis.Widths(run.Length);
    const std::vector<uint8_t> starts = grin::CharacterStarts(run);
    int32_t count = 0;
    for (size_t i = 0; i < widths.size(); ++i) {
        count += widths[i] != 0 && starts[i] ? 1 : 0;
    }
    return count;
}

void TVDUniscribeGraphicInterface::GetOutermostNonExpandableCharacters(gfx::TCanvas &canvas,
                                                                       const TVDTextRun &run,
                                                                       TVDRunEnds ends,
                                                                       int32_t &leftIndex,
                                                                       int32_t &rightIndex) {
    leftIndex = rightIndex = -1;
    if (run.Length <= 0 || ends.Empty()) {
        return;
    }
    TAnalysis analysis;
    if (!Analyse(canvas, run, 0, -1, 0, nullptr, analysis)) {
        TVDWinGraphicInterface::GetOutermostNonExpandableCharacters(canvas, run, ends, leftIndex,
                                                                    rightIndex);
        return;
    }
    const std::vector<uint32_t> order = analysis.Order(run.Length);
    const std::vector<int32_t> widths = analysis.Widths(run.Length);
    const std::vector<uint8_t> starts = grin::CharacterStarts(run);
    int32_t left = 0, right = run.Length - 1;
    bool first = true;
    for (int32_t i = 0; i < run.Length; ++i) {
        const size_t k = size_t(i);
        if (widths[k] == 0 || !starts[k]) {
            continue;
        }
        if (first || order[k] < order[size_t(left)]) {
            left = i;
        }
        if (first || order[k] > order[size_t(right)]) {
            right = i;
        }
        first = false;
    }
    const bool rtlReading = (GetTextAlign(canvas) & TA_RTLREADING) != 0;
    const std::u16string text = grin::CanvasText(canvas, run);
    // Whether the run flows left to right at character k: the nearest earlier character shown
    // elsewhere tells; without one, the character's own direction.
    auto flowsLeftToRight = [&](int32_t k) {
        for (int32_t j = k - 1; j >= 0; --j) {
            if (order[size_t(j)] != order[size_t(k)]) {
                return order[size_t(j)] < order[size_t(k)];
            }
        }
        const UCharDirection d = u_charDirection(text[size_t(k)]);
        return rtlReading ? d == U_LEFT_TO_RIGHT || d == U_EUROPEAN_NUMBER || d == U_ARABIC_NUMBER
                          : !IsRightToLeftType(d);
    };
    if (ends.Contains(vdreLeft) && !flowsLeftToRight(left)) {
        leftIndex = left;
    }
    if (ends.Contains(vdreRight) && flowsLeftToRight(right)) {
        rightIndex = right;
    }
}

bool TVDUniscribeGraphicInterface::DoesTextOutSupportSpacing(const TVDTextRun &run) {
    return run.Length > 0 || TVDWinGraphicInterface::DoesTextOutSupportSpacing(run);
}

bool TVDUniscribeGraphicInterface::PreferMaxFit(gfx::TCanvas &canvas, const TVDTextRun &run,
                                                TVDMeasureCanvas, int32_t estimFit) {
    const int32_t limit = GetTextCharacterExtra(canvas) != 0 ? 8 : 4;
    return run.Length / std::max(estimFit, 1) < limit;
}

} // namespace vizivodu
