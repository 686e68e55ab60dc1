// The GDI engine's text placement: extents with the special characters taken out, glyph
// advances and coordinates (reordered by GetCharacterPlacement for BiDi runs), caret positions,
// expandable characters, and output with advances.
#include "vizivodu/layout/text/VDWinGrIn.h"

#include "vizivodu/document/VDUnicode.h"
#include "vizivodu/layout/text/VDGrIn_p.h"

#include <algorithm>
#include <limits>

namespace vizivodu {

namespace {

constexpr int32_t NoLimit = std::numeric_limits<int32_t>::max();
constexpr size_t AnyCapacity = std::numeric_limits<size_t>::max();
constexpr uint32_t PlacementFlags = gfx::GCP_DIACRITIC | gfx::GCP_GLYPHSHAPE | gfx::GCP_REORDER;

TVDTextRun Prefix(const TVDTextRun &run, int32_t length) {
    TVDTextRun prefix = run;
    prefix.Length = length;
    return prefix;
}

TVDTextRun WithoutBiDi(const TVDTextRun &run) {
    TVDTextRun ltr = run;
    ltr.BiDi = false;
    return ltr;
}

// The same run for routines on output positions, where every position counts.
TVDTextRun EveryPosition(const TVDTextRun &run) {
    TVDTextRun positions = run;
    positions.Str = nullptr;
    return positions;
}

bool IsZeroWidthSpecial(char16_t c) {
    return c == 0x00AD || (!IsVistaOrLater && (c == 0x200B || c == 0x2060));
}

// The canvas's extent call: fit, the size of the whole text, and the first fit cumulative
// edges into coords.
rtl::TSize CanvasExtentEx(gfx::TCanvas &canvas, const std::u16string &text, int32_t maxExtent,
                          int32_t *coords, int32_t &fit) {
    std::vector<int32_t> edges;
    const rtl::TSize size =
        canvas.GetTextExtentExPoint(text, maxExtent, &fit, coords ? &edges : nullptr);
    if (coords) {
        std::copy(edges.begin(), edges.end(), coords);
    }
    return size;
}

// Per-character advances of glyph data: a reordered run's clusters give their glyphs' advances
// to their first character, the other characters of a cluster 0.
std::vector<int32_t> CharacterAdvances(const TCustomVDGlyphDXData &data, int32_t length) {
    std::vector<int32_t> dx(size_t(std::max(length, 0)), 0);
    const auto *win = dynamic_cast<const TVDWinGlyphDXData *>(&data);
    if (!win || win->PGlyphs.empty() || data.POrder.size() < dx.size()) {
        std::copy_n(data.PDX.begin(), std::min(data.PDX.size(), dx.size()), dx.begin());
        return dx;
    }
    std::vector<uint32_t> starts(data.POrder.begin(), data.POrder.begin() + ptrdiff_t(length));
    std::sort(starts.begin(), starts.end());
    starts.erase(std::unique(starts.begin(), starts.end()), starts.end());
    std::vector<uint8_t> given(data.PDX.size(), 0);
    for (size_t i = 0; i < dx.size(); ++i) {
        const uint32_t start = data.POrder[i];
        if (start >= given.size() || given[start]) {
            continue;
        }
        given[start] = 1;
        const auto next = std::upper_bound(starts.begin(), starts.end(), start);
        const size_t end = next == starts.end() ? data.PDX.size() : *next;
        for (size_t j = start; j < end; ++j) {
            dx[i] += data.PDX[j];
        }
    }
    return dx;
}

} // namespace

// ---- TVDWinGlyphDXData --------------------------------------------------------------------

bool TVDWinGlyphDXData::CheckOrder(int32_t length) const {
    return length <= 0 ||
           std::any_of(POrder.begin(), POrder.end(), [](uint32_t o) { return o != 0; });
}

// A shared output position names the first character placed there (a cluster's start).
void TVDWinGlyphDXData::FillReverseOrder(int32_t length) {
    POrderRev.assign(size_t(std::max({length, nGlyphs, 0})), -1);
    for (int32_t i = std::min(length, int32_t(POrder.size())) - 1; i >= 0; --i) {
        if (POrder[size_t(i)] < POrderRev.size()) {
            POrderRev[POrder[size_t(i)]] = i;
        }
    }
}

void TVDWinGlyphDXData::FillCoordsBiDi(int32_t length) {
    PXL.assign(size_t(std::max(length, 0)), -1);
    PXR.assign(PXL.size(), -1);
    std::vector<uint8_t> placed(PXL.size(), 0);
    int32_t sum = 0, last = -1;
    const size_t glyphs = std::min(size_t(std::max(nGlyphs, 0)), PDX.size());
    for (size_t j = 0; j < glyphs; ++j) {
        const int32_t c = j < POrderRev.size() ? POrderRev[j] : -1;
        const int32_t d = PDX[j];
        if (c >= 0 && size_t(c) < PXL.size()) {
            PXL[size_t(c)] = sum;
            PXR[size_t(c)] = sum + d;
            placed[size_t(c)] = 1;
            last = c;
        } else if (last >= 0) {
            PXR[size_t(last)] = sum + d;
        }
        sum += d;
    }
    for (size_t i = 0; i < PXL.size() && i < POrder.size(); ++i) {
        const uint32_t at = POrder[i];
        if (!placed[i] && at < POrderRev.size() && POrderRev[at] >= 0) {
            PXL[i] = PXL[size_t(POrderRev[at])];
            PXR[i] = PXR[size_t(POrderRev[at])];
        }
    }
}

void TVDWinGlyphDXData::FillCoordsLTR(int32_t length) {
    const size_t n = std::min(size_t(std::max(length, 0)), PDX.size());
    PXL.assign(n, 0);
    PXR.assign(n, 0);
    for (size_t i = 0; i < n; ++i) {
        PXL[i] = i == 0 ? 0 : PDX[i - 1];
        PXR[i] = PDX[i];
    }
}

void TVDWinGlyphDXData::FillCoordsLTR2(int32_t length) {
    const size_t n = std::min(size_t(std::max(length, 0)), PDX.size());
    PXL.assign(n, 0);
    PXR.assign(n, 0);
    int32_t sum = 0;
    for (size_t i = 0; i < n; ++i) {
        PXL[i] = sum;
        sum += PDX[i];
        PXR[i] = sum;
    }
}

void TVDWinGlyphDXData::MakeCharWidthsLTR(int32_t length) {
    for (int32_t i = std::min(length, int32_t(PDX.size())) - 1; i >= 1; --i) {
        PDX[size_t(i)] -= PDX[size_t(i) - 1];
    }
}

// ---- Placement ----
// The engine's operations measure with its own extents and sizes (qualified calls): a
// descendant that falls back to one of them gets the GDI result
// whole.------------------------------------------------------------------------

bool TVDWinGraphicInterface::Place(gfx::TCanvas &canvas, const TVDTextRun &run,
                                   size_t glyphCapacity, gfx::TGcpResults &results) {
    const uint32_t flags =
        PlacementFlags |
        (run.Unicode || FontHasLigationGlyphs(canvas) ? uint32_t(gfx::GCP_LIGATE) : 0u);
    const rtl::TSize size =
        canvas.GetCharacterPlacement(grin::CanvasText(canvas, run), 0, results, flags);
    return size.cy > 0 && results.GlyphCount <= glyphCapacity &&
           results.Order.size() >= size_t(std::max(run.Length, 0));
}

rtl::TSize TVDWinGraphicInterface::TextSizeBasic(gfx::TCanvas &canvas, const TVDTextRun &run) {
    const std::u16string text = grin::CanvasText(canvas, run);
    if (!run.BiDi || run.Length == 0) {
        return canvas.GetTextExtentPoint32(text);
    }
    const grin::TCharExtraOff off(*this, canvas);
    rtl::TSize size = canvas.GetTextExtentPoint32(text);
    gfx::TGcpResults results;
    if (off.Value() != 0 && Place(canvas, run, AnyCapacity, results)) {
        size.cx += GetCharExtraDelta(EveryPosition(run), off.Value(),
                                     std::span(results.Dx).first(results.GlyphCount));
    }
    return size;
}

void TVDWinGraphicInterface::GetTextExtentExPoint(gfx::TCanvas &canvas, const TVDTextRun &run,
                                                  int32_t maxExtent, int32_t *coords, int32_t &fit,
                                                  rtl::TSize &size) {
    const bool byPlatform = !run.BiDi || GetTextCharacterExtra(canvas) == 0;
    if (byPlatform && !run.Unicode) {
        size = CanvasExtentEx(canvas, grin::CanvasText(canvas, run), maxExtent, coords, fit);
        if (fit < run.Length) {
            size = TextSize(canvas, Prefix(run, fit));
        }
        return;
    }
    if (byPlatform && IsWinNT) {
        TVDStringAdjRecord rec;
        const int32_t adj =
            run.IgnoreSpecialChars ? 0 : -GetTextWidthAdjustingDeltaEx(canvas, run, rec);
        const int32_t request = maxExtent == NoLimit
                                    ? maxExtent
                                    : int32_t(std::min<int64_t>(int64_t(maxExtent) + adj, NoLimit));
        size = CanvasExtentEx(canvas, grin::CanvasText(canvas, run), request, coords, fit);
        if (adj != 0 && coords && !run.BiDi) {
            AdjustCoordArray(run, std::span(coords, size_t(std::max(fit, 0))));
            while (fit > 0 && coords[fit - 1] > maxExtent) {
                --fit;
            }
        }
        if (fit < run.Length) {
            size = TVDWinGraphicInterface::TextSizeBasic(canvas, Prefix(run, fit));
        }
        if (adj != 0) {
            size.cx += GetTextWidthAdjustingDeltaEx(canvas, Prefix(run, fit), rec);
            while (fit > 0 && size.cx > maxExtent) {
                --fit;
                size = TVDWinGraphicInterface::TextSizeBasic(canvas, Prefix(run, fit));
                size.cx += GetTextWidthAdjustingDeltaEx(canvas, Prefix(run, fit), rec);
            }
        }
        return;
    }
    // Prefix by prefix, as the run is measured with BiDi and a character extra.
    fit = -1;
    size = TVDWinGraphicInterface::TextSizeBasic(canvas, Prefix(run, 0));
    for (int32_t i = 1; i <= run.Length; ++i) {
        size = TVDWinGraphicInterface::TextSizeBasic(canvas, Prefix(run, i));
        if (size.cx > maxExtent) {
            fit = i - 1;
            break;
        }
        if (coords) {
            coords[i - 1] = size.cx;
        }
    }
    if (fit < 0) {
        fit = run.Length;
    }
}

// ---- Glyph data ---------------------------------------------------------------------------

std::unique_ptr<TVDWinGlyphDXData> TVDWinGraphicInterface::GlyphDXReordered(
    gfx::TCanvas &canvas, const TVDTextRun &run, int32_t spaceCount, int32_t extraSpaceWidth,
    TVDGlyphDXNeeds needs, int32_t leftNoExpIndex, int32_t rightNoExpIndex) {
    const grin::TCharExtraOff off(*this, canvas);
    gfx::TGcpResults results;
    if (!Place(canvas, run, 2 * size_t(std::max(run.Length, 0)) + 16, results)) {
        return nullptr;
    }
    auto data = std::make_unique<TVDWinGlyphDXData>();
    data->nGlyphs = int32_t(results.GlyphCount);
    data->PDX.assign(results.Dx.begin(), results.Dx.begin() + data->nGlyphs);
    data->PGlyphs.assign(results.Glyphs.begin(), results.Glyphs.begin() + data->nGlyphs);
    data->POrder.assign(results.Order.begin(), results.Order.begin() + run.Length);
    if (needs.Contains(vdgnCoords) && !data->CheckOrder(run.Length)) {
        return nullptr;
    }
    if (off.Value() != 0) {
        ApplyCharExtraToDX(EveryPosition(run), off.Value(), data->PDX);
    }
    if (spaceCount > 0) {
        ExpandSpacesInDX(run, data->PDX, spaceCount, extraSpaceWidth, data->POrder);
    } else if (spaceCount == vdDistributeSpacing) {
        DistributeSpacingToDX(run, data->PDX, extraSpaceWidth, leftNoExpIndex, rightNoExpIndex,
                              data->POrder);
    }
    if (needs.Contains(vdgnCoords)) {
        data->FillReverseOrder(run.Length);
        data->FillCoordsBiDi(run.Length);
    }
    return data;
}

std::unique_ptr<TCustomVDGlyphDXData>
TVDWinGraphicInterface::GetGlyphDX(gfx::TCanvas &canvas, const TVDTextRun &run, int32_t spaceCount,
                                   int32_t extraSpaceWidth, TVDGlyphDXNeeds needs,
                                   int32_t leftNoExpIndex, int32_t rightNoExpIndex) {
    if (run.BiDi) {
        if (auto data = GlyphDXReordered(canvas, run, spaceCount, extraSpaceWidth, needs,
                                         leftNoExpIndex, rightNoExpIndex)) {
            return data;
        }
    }
    auto data = std::make_unique<TVDWinGlyphDXData>();
    const int32_t length = std::max(run.Length, 0);
    data->nGlyphs = length;
    data->PDX.assign(size_t(length), 0);
    int32_t fit = 0;
    rtl::TSize size;
    TVDWinGraphicInterface::GetTextExtentExPoint(canvas, run, NoLimit, data->PDX.data(), fit, size);
    if (spaceCount != 0) {
        data->MakeCharWidthsLTR(length);
        if (spaceCount > 0) {
            ExpandSpacesInDX(run, data->PDX, spaceCount, extraSpaceWidth, {});
        } else if (spaceCount == vdDistributeSpacing) {
            DistributeSpacingToDX(run, data->PDX, extraSpaceWidth, leftNoExpIndex, rightNoExpIndex,
                                  {});
        }
        if (needs.Contains(vdgnCoords)) {
            data->FillCoordsLTR2(length);
        }
    } else {
        if (needs.Contains(vdgnCoords)) {
            data->FillCoordsLTR(length);
        }
        if (needs.Contains(vdgnDX)) {
            data->MakeCharWidthsLTR(length);
        }
    }
    return data;
}

void TVDWinGraphicInterface::TextOutWithDX(gfx::TCanvas &canvas, int32_t x, int32_t y,
                                           const TVDTextRun &run, TVDTextOutput,
                                           TCustomVDGlyphDXData &data) {
    const grin::TCharExtraOff off(*this, canvas);
    canvas.ExtTextOut(x, y, 0, nullptr, grin::CanvasText(canvas, run),
                      CharacterAdvances(data, run.Length));
}

// ---- Caret positions ----------------------------------------------------------------------

bool TVDWinGraphicInterface::GetCaretPositions(gfx::TCanvas &canvas, const TVDTextRun &run,
                                               int32_t spaceCount, int32_t extraSpaceWidth,
                                               std::span<int32_t> pcp, int32_t leftNoExpIndex,
                                               int32_t rightNoExpIndex) {
    if (pcp.size() < size_t(std::max(run.Length, 0)) + 1) {
        return true;
    }
    if (!run.BiDi || !CaretPositionsReordered(canvas, run, spaceCount, extraSpaceWidth, pcp,
                                              leftNoExpIndex, rightNoExpIndex)) {
        CaretPositionsInOrder(canvas, run, spaceCount, extraSpaceWidth, pcp, leftNoExpIndex,
                              rightNoExpIndex);
    }
    return true;
}

bool TVDWinGraphicInterface::CaretPositionsReordered(gfx::TCanvas &canvas, const TVDTextRun &run,
                                                     int32_t spaceCount, int32_t extraSpaceWidth,
                                                     std::span<int32_t> pcp, int32_t leftNoExpIndex,
                                                     int32_t rightNoExpIndex) {
    const size_t length = size_t(std::max(run.Length, 0));
    std::fill(pcp.begin(), pcp.begin() + ptrdiff_t(length) + 1, -1);
    const grin::TCharExtraOff off(*this, canvas);
    gfx::TGcpResults results;
    if (!Place(canvas, run, length, results)) {
        return false;
    }
    std::vector<int32_t> dx(results.Dx.begin(), results.Dx.begin() + results.GlyphCount);
    const std::vector<uint32_t> order(results.Order.begin(),
                                      results.Order.begin() + ptrdiff_t(length));
    if (off.Value() != 0) {
        ApplyCharExtraToDX(EveryPosition(run), off.Value(), dx);
    }
    std::vector<int32_t> reverse(dx.size(), -1);
    for (size_t i = length; i-- > 0;) {
        if (order[i] < reverse.size()) {
            reverse[order[i]] = int32_t(i);
        }
    }
    if (run.Unicode && run.Str && !run.IgnoreSpecialChars) {
        for (size_t i = 0; i < length; ++i) {
            if (IsZeroWidthSpecial(run.CharAt(int32_t(i))) && order[i] < dx.size()) {
                dx[order[i]] = 0;
            }
        }
    }
    if (spaceCount > 0) {
        ExpandSpacesInDX(run, dx, spaceCount, extraSpaceWidth, order);
    } else if (spaceCount == vdDistributeSpacing) {
        DistributeSpacingToDX(run, dx, extraSpaceWidth, leftNoExpIndex, rightNoExpIndex, order);
    }
    int32_t sum = 0;
    for (size_t j = 0; j < dx.size(); ++j) {
        const int32_t c = reverse[j], d = dx[j];
        if (c >= 0) {
            const bool rtl = results.Class[size_t(c)] == gfx::GCPCLASS_ARABIC;
            pcp[size_t(c) + 1] = rtl ? sum : sum + d;
            if (c == 0) {
                pcp[0] = rtl ? sum + d : sum;
            }
        }
        sum += d;
    }
    for (size_t i = 0; i <= length; ++i) {
        if (pcp[i] == -1) {
            pcp[i] = i == 0 ? 0 : pcp[i - 1];
        }
    }
    return true;
}

void TVDWinGraphicInterface::CaretPositionsInOrder(gfx::TCanvas &canvas, const TVDTextRun &run,
                                                   int32_t spaceCount, int32_t extraSpaceWidth,
                                                   std::span<int32_t> pcp, int32_t leftNoExpIndex,
                                                   int32_t rightNoExpIndex) {
    const size_t length = size_t(std::max(run.Length, 0));
    pcp[0] = 0;
    int32_t fit = 0;
    rtl::TSize size;
    TVDWinGraphicInterface::GetTextExtentExPoint(canvas, WithoutBiDi(run), NoLimit, pcp.data() + 1,
                                                 fit, size);
    if (spaceCount == 0) {
        return;
    }
    std::vector<int32_t> left(pcp.begin(), pcp.begin() + ptrdiff_t(length));
    const std::span<int32_t> right = pcp.subspan(1, length);
    if (spaceCount > 0) {
        ExpandSpacesInCoords(run, left, right, {}, spaceCount, extraSpaceWidth);
    } else if (spaceCount == vdDistributeSpacing) {
        DistributeSpacingInCoords(run, left, right, {}, extraSpaceWidth, leftNoExpIndex,
                                  rightNoExpIndex);
    }
}

// ---- Expandable characters ----------------------------------------------------------------

void TVDWinGraphicInterface::GetDXAndOrder(gfx::TCanvas &canvas, const TVDTextRun &run,
                                           std::span<int32_t> pdx, std::span<uint32_t> order) {
    const size_t length = size_t(std::max(run.Length, 0));
    if (run.BiDi) {
        std::fill(pdx.begin(), pdx.end(), 0);
        std::fill(order.begin(), order.end(), 0u);
        gfx::TGcpResults results;
        if (Place(canvas, run, length, results)) {
            std::copy_n(results.Dx.begin(), std::min<size_t>(results.GlyphCount, pdx.size()),
                        pdx.begin());
            std::copy_n(results.Order.begin(), std::min(length, order.size()), order.begin());
            return;
        }
    }
    int32_t fit = 0;
    rtl::TSize size;
    TVDWinGraphicInterface::GetTextExtentExPoint(canvas, WithoutBiDi(run), NoLimit, pdx.data(), fit,
                                                 size);
    for (size_t i = std::min(length, pdx.size()); i-- > 1;) {
        pdx[i] -= pdx[i - 1];
    }
    for (size_t i = 0; i < order.size(); ++i) {
        order[i] = uint32_t(i);
    }
}

int32_t TVDWinGraphicInterface::GetExpandableCharCount(gfx::TCanvas &canvas,
                                                       const TVDTextRun &run) {
    if (run.Length <= 0) {
        return 0;
    }
    const size_t length = size_t(run.Length);
    std::vector<int32_t> pdx(length, 0);
    std::vector<uint32_t> order(run.BiDi ? length : 0);
    GetDXAndOrder(canvas, run, pdx, order);
    const std::vector<uint8_t> starts = grin::CharacterStarts(run);
    int32_t count = 0;
    for (size_t i = 0; i < length; ++i) {
        const size_t at = order.empty() ? i : order[i];
        count += at < pdx.size() && pdx[at] != 0 && starts[i] ? 1 : 0;
    }
    return count;
}

void TVDWinGraphicInterface::GetOutermostNonExpandableCharacters(gfx::TCanvas &canvas,
                                                                 const TVDTextRun &run,
                                                                 TVDRunEnds ends,
                                                                 int32_t &leftIndex,
                                                                 int32_t &rightIndex) {
    leftIndex = -1;
    rightIndex = -1;
    if (run.Length <= 0 || !ends.Contains(vdreRight)) {
        return;
    }
    const size_t length = size_t(run.Length);
    std::vector<int32_t> pdx(length, 0);
    std::vector<uint32_t> order(length, 0);
    GetDXAndOrder(canvas, run, pdx, order);
    const std::vector<uint8_t> starts = grin::CharacterStarts(run);
    rightIndex = run.Length - 1;
    bool first = true;
    uint32_t furthest = 0;
    for (size_t i = 0; i < length; ++i) {
        const uint32_t at = order[i];
        if (at < pdx.size() && pdx[at] != 0 && starts[i] && (first || at > furthest)) {
            rightIndex = int32_t(i);
            furthest = at;
            first = false;
        }
    }
}

bool TVDWinGraphicInterface::DoesTextOutSupportSpacing(const TVDTextRun &run) {
    return !run.BiDi;
}

bool TVDWinGraphicInterface::PreferMaxFit(gfx::TCanvas &, const TVDTextRun &run,
                                          TVDMeasureCanvas measureCanvas, int32_t estimFit) {
    return measureCanvas == vdmcFormatCanvas && run.Length / std::max(estimFit, 1) < 6;
}

} // namespace vizivodu
