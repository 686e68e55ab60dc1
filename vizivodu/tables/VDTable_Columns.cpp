// Table layout, the widths: the minimum width of a table and the widths of its columns (content
// minimums, percentages, absolute widths, spanning cells, the free width shared out).
//
// Everything is whole device pixels. Products scaled by a quotient are MulDiv (rounded half
// away from zero, -1 for a zero divisor), Round is half to even, division truncates.
#include "vizivodu/tables/VDTable_p.h"

#include "vizivodu/styles/VDStyle.h"

#include "platform/gfx/Font.h"
#include "platform/rtl/ScopeExit.h"

#include <algorithm>
#include <functional>
#include <numeric>
#include <vector>

namespace vizivodu {

TVDTableMetrics::TVDTableMetrics(const TVDTableItemInfo &table, const TVDStyle &style,
                                 PVDScreenAndDevice sad)
    : HPad(style.GetAsDevicePixelsX(table.GetCellHPadding(), sad)),
      VPad(style.GetAsDevicePixelsY(table.GetCellVPadding(), sad)),
      HSp(style.GetAsDevicePixelsX(table.GetCellHSpacing(), sad)),
      VSp(style.GetAsDevicePixelsY(table.GetCellVSpacing(), sad)),
      CBx(style.GetAsDevicePixelsX(table.GetCellBorderWidth(), sad)),
      CBy(style.GetAsDevicePixelsY(table.GetCellBorderWidth(), sad)),
      Bx(style.GetAsDevicePixelsX(table.GetTableBorderWidth(), sad)),
      By(style.GetAsDevicePixelsY(table.GetTableBorderWidth(), sad)),
      BH(style.GetAsDevicePixelsX(table.GetBorderHSpacing(), sad)),
      BV(style.GetAsDevicePixelsY(table.GetBorderVSpacing(), sad)), n(table.GetColCount()),
      m(table.GetRowCount()), O(HSp + 2 * HPad + 2 * CBx), OV(VSp + 2 * VPad + 2 * CBy) {}

namespace {

using TWidths = std::vector<int32_t>;

int32_t RoundDiv(int64_t numerator, int64_t denominator) {
    return static_cast<int32_t>(RoundQuotient(numerator, denominator));
}

// The width a span of columns takes with its inner spacing and borders.
int32_t SpanWidth(const TWidths &w, int32_t first, int32_t count, const TVDTableMetrics &q) {
    int64_t s = 0;
    for (int32_t k = first; k < first + count; ++k) {
        s += w[static_cast<size_t>(k)] + q.O;
    }
    return static_cast<int32_t>(s) - q.HSp - 2 * q.CBx;
}

// Rescales widths-with-padding (0 counted as 1) of the given columns so that they add up to
// total, left to right, each taking its share of what is left.
void ScaleWidths(TWidths &w, const std::vector<int32_t> &cols, int32_t pad, int64_t total) {
    int64_t sum = 0;
    for (int32_t k : cols) {
        sum += std::max(w[static_cast<size_t>(k)] + pad, 1);
    }
    for (int32_t k : cols) {
        const int32_t v = std::max(w[static_cast<size_t>(k)] + pad, 1);
        const int32_t scaled =
            gfx::MulDiv(v, static_cast<int32_t>(total), static_cast<int32_t>(sum));
        total -= scaled;
        sum -= v;
        w[static_cast<size_t>(k)] = scaled - pad;
    }
}

std::vector<int32_t> Range(int32_t first, int32_t count) {
    std::vector<int32_t> cols(static_cast<size_t>(count));
    std::iota(cols.begin(), cols.end(), first);
    return cols;
}

// Widens a span of columns evenly to need (padding excluded): the narrowest columns are raised
// to an even share first; after 30 rounds the widths are scaled in proportion.
void WidenEvenly(TWidths &w, int32_t first, int32_t count, int32_t need, const TVDTableMetrics &q) {
    const int32_t pad = 2 * q.HPad;
    const int32_t target = need + pad;
    for (int32_t iteration = 1;; ++iteration) {
        const int32_t width = SpanWidth(w, first, count, q);
        if (width >= target) {
            return;
        }
        int64_t e = target - width;
        for (int32_t k = first; k < first + count; ++k) {
            e += w[static_cast<size_t>(k)] + pad;
        }
        if (iteration > 30) {
            ScaleWidths(w, Range(first, count), pad, e);
            return;
        }
        int32_t cnt = count;
        std::vector<bool> out(static_cast<size_t>(count), false);
        for (int32_t k = first; k < first + count && cnt > 0 && e > 0; ++k) {
            const int32_t wp = w[static_cast<size_t>(k)] + pad;
            if (wp >= RoundDiv(e, cnt)) {
                out[static_cast<size_t>(k - first)] = true;
                --cnt;
                e -= wp;
            }
        }
        for (int32_t k = first; k < first + count && cnt > 0 && e > 0; ++k) {
            const int32_t share = RoundDiv(e, cnt);
            if (!out[static_cast<size_t>(k - first)] && w[static_cast<size_t>(k)] + pad < share) {
                w[static_cast<size_t>(k)] = share - pad;
                e -= share;
                --cnt;
            }
        }
    }
}

// Widens a span to need with the absolute widths a (0: none) first: the columns that have one
// grow toward a target in proportion to them, capped at them when the other columns must take
// the rest; the other columns share the rest evenly.
class TAbsoluteFirstWidening {
public:
    TAbsoluteFirstWidening(TWidths &w, const TWidths &a, const TVDTableMetrics &q)
        : FW(w), FA(a), FQ(q), FPad(2 * q.HPad) {}

    void Widen(int32_t first, int32_t count, int32_t need) {
        const int32_t target = need + FPad;
        if (SpanWidth(FW, first, count, FQ) >= target) {
            return;
        }
        std::vector<int32_t> abs, others;
        int64_t othersWidth = 0;
        int64_t absAtTheirWidths = 0;
        for (int32_t k = first; k < first + count; ++k) {
            if (FA[static_cast<size_t>(k)] > 0) {
                abs.push_back(k);
                absAtTheirWidths += FA[static_cast<size_t>(k)] + FQ.O;
            } else {
                others.push_back(k);
                othersWidth += FW[static_cast<size_t>(k)] + FQ.O;
            }
        }
        const int32_t gap = FQ.HSp + 2 * FQ.CBx;
        if (!abs.empty()) {
            const bool capped = !others.empty() && absAtTheirWidths - gap < target;
            WidenAbsolute(abs, target - othersWidth - int64_t(abs.size() - 1) * gap, capped);
            if (!capped) {
                return;
            }
        }
        int64_t othersTarget = target - int64_t(count - 1) * gap;
        for (int32_t k : abs) {
            othersTarget -= FW[static_cast<size_t>(k)] + FPad;
        }
        WidenOthers(others, othersTarget);
    }

private:
    int32_t Share(int32_t k, int64_t target, int64_t sum, bool capped) const {
        const int32_t ap = FA[static_cast<size_t>(k)] + FPad;
        const int32_t share =
            gfx::MulDiv(ap, static_cast<int32_t>(target), static_cast<int32_t>(sum));
        return capped ? std::min(share, ap) : share;
    }

    void WidenAbsolute(const std::vector<int32_t> &abs, int64_t target, bool capped) {
        int64_t sum = 0;
        for (int32_t k : abs) {
            sum += FA[static_cast<size_t>(k)] + FPad;
        }
        std::vector<int32_t> active = abs;
        int64_t t = target;
        int64_t s = sum;
        // Columns already wider than their share leave the shares, repeatedly.
        for (bool removed = true; removed && !active.empty();) {
            removed = false;
            for (auto it = active.begin(); it != active.end();) {
                const int32_t wp = FW[static_cast<size_t>(*it)] + FPad;
                if (s > 0 && wp > Share(*it, t, s, capped)) {
                    t -= wp;
                    s -= FA[static_cast<size_t>(*it)] + FPad;
                    it = active.erase(it);
                    removed = true;
                } else {
                    ++it;
                }
            }
        }
        if (active.empty()) {
            active = abs;
            t = target;
            s = sum;
        }
        for (int32_t k : active) {
            const int32_t share = s > 0 ? Share(k, t, s, capped) : 0;
            if (share > FW[static_cast<size_t>(k)] + FPad) {
                FW[static_cast<size_t>(k)] = share - FPad;
            }
            t -= share;
            s -= FA[static_cast<size_t>(k)] + FPad;
        }
    }

    void WidenOthers(const std::vector<int32_t> &others, int64_t target) {
        if (others.empty()) {
            return;
        }
        std::vector<int32_t> active = others;
        int64_t t = target;
        for (bool removed = true; removed && !active.empty();) {
            removed = false;
            const int64_t share = t / static_cast<int64_t>(active.size());
            for (auto it = active.begin(); it != active.end();) {
                const int32_t wp = FW[static_cast<size_t>(*it)] + FPad;
                if (wp > share) {
                    t -= wp;
                    it = active.erase(it);
                    removed = true;
                } else {
                    ++it;
                }
            }
        }
        if (active.empty()) {
            active = others;
            t = target;
        }
        for (size_t i = 0; i < active.size(); ++i) {
            const int64_t share = t / static_cast<int64_t>(active.size() - i);
            int32_t &wk = FW[static_cast<size_t>(active[i])];
            if (wk + FPad < share) {
                wk = static_cast<int32_t>(share) - FPad;
            }
            t -= wk + FPad;
        }
    }

    TWidths &FW;
    const TWidths &FA;
    const TVDTableMetrics &FQ;
    const int32_t FPad;
};

// The widths of the columns of one layout. Each column carries a level that tells what fixed
// it (0 free, 1 an absolute width of a spanning cell, 2 an absolute width, 3 a percentage of a
// spanning cell, 4 a percentage); widening passes prefer low levels. R is the width still free
// for the columns; when it goes below 0 the columns shrink back toward their minimums.
class TColumnSolver {
public:
    TColumnSolver(TVDTableItemInfo &table, TVDStyle &style, const TVDTableMetrics &q,
                  PVDScreenAndDevice sad, gfx::TCanvas &canvas, bool allFixed, int32_t tableWidth)
        : FTable(table), FRows(table.GetRows()), FStyle(style), FQ(q), FSad(sad), FCanvas(canvas),
          FAllFixed(allFixed), FTableWidth(tableWidth),
          FIgnoreContent(table.GetTableOptions().Contains(vdtoIgnoreContentWidth)),
          FPad(2 * q.HPad), FW(static_cast<size_t>(q.n)), FLevel(static_cast<size_t>(q.n), 0) {}

    // The table's width, which the content may have widened.
    int32_t Run() {
        for (int32_t c = 0; c < FQ.n; ++c) {
            W(c) = FIgnoreContent ? 0 : FRows.GetColMinWidth(c, FSad, FCanvas);
        }
        if (!FAllFixed) {
            const int32_t minimum = FTable.CalcMinWidth(FSad, FCanvas, false);
            FTableWidth = std::max(FTableWidth, minimum);
            FWa = FTableWidth - FQ.F();
        }
        FMin = FW;
        if (!FAllFixed) {
            PercentColumns();
            Spans(false, 4, 3);
            Shrink();
        } else {
            AbsoluteColumnsOfFixedTable();
        }
        if (!FAllFixed && FR > 0) {
            AbsoluteColumns();
            Shrink();
        }
        if (!FIgnoreContent) {
            // Spans widened to their content take their growth from the free width; when that
            // runs out the other columns give it back, or the cells would leave the table.
            SpannedMinimums();
            Shrink();
        }
        if (FAllFixed || FR > 0) {
            Spans(true, 2, 1);
            Shrink();
        }
        if (!FAllFixed && FR > 0) {
            ShareFreeWidth();
        }
        return FTableWidth;
    }

    const TWidths &Widths() const { return FW; }

    // A printed table wider than the text cannot be scrolled to, and what stands past the
    // page's edge is lost: the columns give back the excess and the words of their cells
    // break inside. Content widened beyond their given widths goes first, the widest such
    // column first, so that as few columns as possible break their words; then all columns in
    // proportion to their widths. Answers the table's new width.
    int32_t FitInto(int32_t tableWidth, int32_t available) {
        int64_t excess = int64_t{tableWidth} - available;
        if (excess <= 0 || available <= 0) {
            return tableWidth;
        }
        std::vector<std::pair<int32_t, int32_t>> widened; // above the given width, column
        for (int32_t c = 0; c < FQ.n; ++c) {
            const int32_t given = Abs(c);
            if (given > 0 && W(c) > given) {
                widened.emplace_back(W(c) - given, c);
            }
        }
        std::stable_sort(widened.begin(), widened.end(), std::greater<>());
        for (const auto &[above, c] : widened) {
            const int32_t take = static_cast<int32_t>(std::min<int64_t>(above, excess));
            W(c) -= take;
            excess -= take;
        }
        int64_t sum = std::accumulate(FW.begin(), FW.end(), int64_t{0});
        for (int32_t c = 0; c < FQ.n && excess > 0 && sum > 0; ++c) {
            const int64_t width = W(c);
            const int64_t take = std::min<int64_t>((width * excess + sum - 1) / sum, width - 1);
            W(c) -= static_cast<int32_t>(std::max<int64_t>(take, 0));
            excess -= std::max<int64_t>(take, 0);
            sum -= width;
        }
        return available + static_cast<int32_t>(excess);
    }

private:
    int32_t &W(int32_t c) { return FW[static_cast<size_t>(c)]; }
    int32_t &Level(int32_t c) { return FLevel[static_cast<size_t>(c)]; }
    int32_t Abs(int32_t c) { return FStyle.GetAsDevicePixelsX(FRows.GetColBestWidth(c), FSad); }
    int32_t ContentWidth() const { return FWa - FPad * FQ.n; }
    int32_t Sum() const { return std::accumulate(FW.begin(), FW.end(), 0); }

    // a. Columns with percentage cells take their share of the width for the columns.
    void PercentColumns() {
        FR = ContentWidth() - Sum();
        TWidths pc(static_cast<size_t>(FQ.n));
        bool any = false;
        for (int32_t c = 0; c < FQ.n; ++c) {
            pc[static_cast<size_t>(c)] = std::max(0, FRows.GetColPercentWidth(c, FWa) - FPad);
            if (W(c) < pc[static_cast<size_t>(c)]) {
                FR += W(c);
                any = true;
            }
        }
        if (!any) {
            return;
        }
        for (int32_t c = 0; c < FQ.n; ++c) {
            const int32_t p = pc[static_cast<size_t>(c)];
            if (p != 0) {
                Level(c) = 4;
                if (W(c) < p) {
                    W(c) = p;
                    FR -= p;
                }
            }
        }
    }

    // b and g. Merged cells with a percentage (absolute: an absolute width) widen the span of
    // columns that ends in each column; the longest such span's free columns get spanLevel.
    void Spans(bool absolute, int32_t limit, int32_t spanLevel) {
        for (int32_t c = 0; c < FQ.n; ++c) {
            TWidths needs(static_cast<size_t>(FQ.n + 1), 0);
            int32_t longest = 0;
            for (int32_t r = 0; r < FQ.m; ++r) {
                if (FRows.Cell(r, c)) {
                    continue;
                }
                int32_t mRow = 0;
                int32_t mCol = 0;
                const TVDTableCellData *cell = FRows.GetMainCell(r, c, mRow, mCol);
                const int32_t span = cell->GetColSpan();
                const TVDHTMLLength best = cell->GetBestWidth();
                if (mRow != r || mCol + span - 1 != c || span >= FQ.n ||
                    (absolute ? best <= 0 : best >= 0)) {
                    continue;
                }
                const int32_t need = absolute ? FStyle.GetAsDevicePixelsX(best, FSad)
                                              : gfx::MulDiv(-best, FWa, 100) - FPad;
                needs[static_cast<size_t>(span)] = std::max(needs[static_cast<size_t>(span)], need);
                longest = std::max(longest, span);
            }
            for (int32_t span = 2; span <= longest; ++span) {
                if (needs[static_cast<size_t>(span)] > 0) {
                    WidenToLevel(c - span + 1, span, needs[static_cast<size_t>(span)], limit,
                                 false);
                }
            }
            for (int32_t k = c - longest + 1; longest > 0 && k <= c; ++k) {
                if (Level(k) == 0) {
                    Level(k) = spanLevel;
                }
            }
        }
    }

    // c. Gives back a negative free width from the columns above their minimums, in proportion
    // to their widths.
    void Shrink() {
        while (FR < 0) {
            std::vector<int32_t> cols;
            int64_t d = 0;
            for (int32_t c = 0; c < FQ.n; ++c) {
                if (W(c) > FMin[static_cast<size_t>(c)]) {
                    cols.push_back(c);
                    d += W(c);
                }
            }
            const int32_t before = FR;
            for (int32_t c : cols) {
                const int32_t delta = gfx::MulDiv(W(c), FR, static_cast<int32_t>(d));
                d -= W(c);
                const int32_t width = std::max(W(c) + delta, FMin[static_cast<size_t>(c)]);
                FR += W(c) - width;
                W(c) = width;
            }
            if (cols.empty() || FR == before) {
                return;
            }
        }
    }

    // d. In a table of fixed columns each free column takes its absolute width.
    void AbsoluteColumnsOfFixedTable() {
        for (int32_t c = 0; c < FQ.n; ++c) {
            const int32_t a = Abs(c);
            if (Level(c) == 0 && a > 0) {
                Level(c) = 2;
                W(c) = std::max(W(c), a);
            }
        }
    }

    // e. Free columns with an absolute width take it, in proportion when the free width is
    // short.
    void AbsoluteColumns() {
        TWidths want(static_cast<size_t>(FQ.n), 0);
        int64_t d = 0;
        for (int32_t c = 0; c < FQ.n; ++c) {
            const int32_t a = Abs(c);
            if (Level(c) == 0 && a > 0) {
                Level(c) = 2;
                if (W(c) < a) {
                    want[static_cast<size_t>(c)] = a;
                    FR += W(c);
                    d += a;
                }
            }
        }
        int64_t n = std::min<int64_t>(FR, d);
        for (int32_t c = 0; c < FQ.n && d > 0; ++c) {
            const int32_t wanted = want[static_cast<size_t>(c)];
            if (wanted == 0) {
                continue;
            }
            const int32_t x =
                std::min(gfx::MulDiv(wanted, static_cast<int32_t>(n), static_cast<int32_t>(d)), FR);
            W(c) = std::max(x, W(c));
            FR -= W(c);
            n -= W(c);
            d -= wanted;
        }
    }

    // f. Cells spanning several columns widen their spans to their content's minimum.
    void SpannedMinimums() {
        for (int32_t r = 0; r < FQ.m; ++r) {
            for (int32_t c = 0; c < FQ.n; ++c) {
                TVDTableCellData *cell = FRows.Cell(r, c);
                if (cell && cell->GetColSpan() > 1) {
                    const int32_t need = cell->GetMinWidth(FSad, FCanvas);
                    WidenToLevel(c, cell->GetColSpan(), need, 5, true);
                    KeepSpanMinimum(c, cell->GetColSpan(), need + FPad);
                }
            }
        }
    }

    // Raises the minimums of a span's columns, within their widths and in proportion to what
    // they have above their minimums, until the minimums alone make the span target wide: a
    // later shrinking then never cuts into a spanning cell's content.
    void KeepSpanMinimum(int32_t first, int32_t count, int32_t target) {
        int64_t deficit = int64_t{target} - SpanWidth(FMin, first, count, FQ);
        int64_t slack = 0;
        for (int32_t k = first; k < first + count; ++k) {
            slack += std::max(0, W(k) - FMin[static_cast<size_t>(k)]);
        }
        for (int32_t k = first; k < first + count && deficit > 0 && slack > 0; ++k) {
            int32_t &minimum = FMin[static_cast<size_t>(k)];
            const int64_t s = std::max(0, W(k) - minimum);
            const int64_t raise = std::min(s, (s * deficit + slack - 1) / slack);
            minimum += static_cast<int32_t>(raise);
            deficit -= raise;
            slack -= s;
        }
    }

    // Widens a span to need (padding excluded) over its columns of the lowest level that has
    // any, up to limit, scaling their widths in proportion; the growth comes from R.
    void WidenToLevel(int32_t first, int32_t count, int32_t need, int32_t limit,
                      bool raiseMinimums) {
        const int32_t target = need + FPad;
        std::vector<int32_t> eligible;
        for (int32_t level = 0; eligible.empty() && level <= limit; ++level) {
            for (int32_t k = first; k < first + count; ++k) {
                if (Level(k) <= level) {
                    eligible.push_back(k);
                }
            }
        }
        const int32_t width = SpanWidth(FW, first, count, FQ);
        if (eligible.empty() || width >= target) {
            return;
        }
        // Columns of no width weigh 1 in the sharing, but the span grows by the shortfall
        // only: it ends exactly at the need, as the table's minimum width expects.
        int64_t total = target - width;
        for (int32_t k : eligible) {
            total += W(k) + FPad;
        }
        if (!FAllFixed) {
            FR -= target - width;
        }
        ScaleWidths(FW, eligible, FPad, total);
        for (int32_t k : eligible) {
            if (raiseMinimums) {
                FMin[static_cast<size_t>(k)] = std::max(FMin[static_cast<size_t>(k)], W(k));
            }
        }
    }

    // 7. What is still free goes evenly to the free columns; without any, to the percentage
    // columns by their percentages when no column has an absolute width, else to the other
    // columns by their absolute widths.
    void ShareFreeWidth() {
        std::vector<int32_t> cols;
        TWidths weights;
        bool fixedLevels = false;
        for (int32_t c = 0; c < FQ.n; ++c) {
            if (Level(c) == 0) {
                cols.push_back(c);
            }
            fixedLevels = fixedLevels || Level(c) == 1 || Level(c) == 2;
        }
        if (!cols.empty()) {
            for (size_t i = 0; i < cols.size() && FR > 0; ++i) {
                const int32_t share = FR / static_cast<int32_t>(cols.size() - i);
                W(cols[i]) += share;
                FR -= share;
            }
            return;
        }
        for (int32_t c = 0; c < FQ.n; ++c) {
            const bool percent = FRows.ColHasPercentWidth(c);
            if (!fixedLevels && percent) {
                cols.push_back(c);
                weights.push_back(std::max(1, FRows.GetColPercentWidth(c, FWa) - FPad));
            } else if (fixedLevels && !percent) {
                cols.push_back(c);
                weights.push_back(std::max(1, FRows.GetColBestWidth(c)));
            }
        }
        int64_t sum = std::accumulate(weights.begin(), weights.end(), int64_t{0});
        for (size_t i = 0; i < cols.size() && FR >= 1; ++i) {
            const int32_t share =
                std::min(gfx::MulDiv(weights[i], FR, static_cast<int32_t>(sum)), FR);
            sum -= weights[i];
            W(cols[i]) += share;
            FR -= share;
        }
    }

    TVDTableItemInfo &FTable;
    TVDTableRows &FRows;
    TVDStyle &FStyle;
    const TVDTableMetrics &FQ;
    PVDScreenAndDevice FSad;
    gfx::TCanvas &FCanvas;
    const bool FAllFixed;
    int32_t FTableWidth;
    const bool FIgnoreContent;
    const int32_t FPad;
    int32_t FWa = 0; // the width for the columns with their padding
    int32_t FR = 0;
    TWidths FW;
    TWidths FMin;
    std::vector<int32_t> FLevel;
};

} // namespace

// ---- Minimum width ----

TVDStyle *TVDTableItemInfo::GetStyle() const {
    TCustomVDData *main = FRows->GetMainVDData();
    return main ? main->GetVDStyle() : nullptr;
}

int32_t TVDTableItemInfo::GetHorzFramingWidth() {
    TVDStyle *style = GetStyle();
    return style ? TVDTableMetrics(*this, *style, cursad).F() : 0;
}

int32_t TVDTableItemInfo::GetMinWidth(PVDScreenAndDevice sad, gfx::TCanvas *canvas,
                                      TCustomVDData *) {
    return canvas ? CalcMinWidth(sad, *canvas, true) : 0;
}

int32_t TVDTableItemInfo::CalcMinWidth(PVDScreenAndDevice sad, gfx::TCanvas &canvas,
                                       bool includeBestWidths) {
    TVDStyle *style = GetStyle();
    if (!style) {
        return 0;
    }
    const rtl::TValueScope device(cursad, sad);
    const TVDTableMetrics q(*this, *style, sad);
    if (FRows->Empty()) {
        return 2 * (q.Bx + q.BH);
    }
    const bool ignoreContent = FOptions.Contains(vdtoIgnoreContentWidth);
    const bool even = FBestWidth == 0 && includeBestWidths;
    TWidths w(static_cast<size_t>(q.n));
    TWidths abs(static_cast<size_t>(q.n));
    for (int32_t c = 0; c < q.n; ++c) {
        int32_t wc = ignoreContent ? 0 : FRows->GetColMinWidth(c, sad, canvas);
        abs[static_cast<size_t>(c)] = style->GetAsDevicePixelsX(FRows->GetColBestWidth(c), sad);
        if (even) {
            wc = std::max(wc, abs[static_cast<size_t>(c)]);
        }
        w[static_cast<size_t>(c)] = wc;
    }
    TAbsoluteFirstWidening absoluteFirst(w, abs, q);
    for (int32_t r = 0; r < q.m; ++r) {
        for (int32_t c = 0; c < q.n; ++c) {
            TVDTableCellData *cell = GetCells(r, c);
            if (!cell || cell->GetColSpan() <= 1) {
                continue;
            }
            int32_t need = ignoreContent ? 0 : cell->GetMinWidth(sad, canvas);
            if (even) {
                need = std::max(need, style->GetAsDevicePixelsX(cell->GetBestWidth(), sad));
                if (need > 0) {
                    WidenEvenly(w, c, cell->GetColSpan(), need, q);
                }
            } else if (need > 0) {
                absoluteFirst.Widen(c, cell->GetColSpan(), need);
            }
        }
    }
    int32_t result = q.F() + 2 * q.HPad * q.n + std::accumulate(w.begin(), w.end(), 0);
    if (includeBestWidths) {
        result = std::max(result, style->GetAsDevicePixelsX(FBestWidth, sad));
    }
    return result;
}

bool TVDTableItemInfo::AllColumnsHaveBestWidth() {
    const int32_t rows = GetRowCount();
    const int32_t cols = GetColCount();
    std::vector<bool> ownCell(static_cast<size_t>(cols), false);
    std::vector<bool> fixedEnd(static_cast<size_t>(cols), false);
    for (int32_t r = 0; r < rows; ++r) {
        for (int32_t c = 0; c < cols; ++c) {
            int32_t mRow = 0;
            int32_t mCol = 0;
            const TVDTableCellData *cell = FRows->GetMainCell(r, c, mRow, mCol);
            if (cell->GetBestWidth() < 0) {
                return false;
            }
            if (mRow == r && mCol == c) {
                ownCell[static_cast<size_t>(c)] = true;
            }
            if (cell->GetBestWidth() > 0) {
                fixedEnd[static_cast<size_t>(mCol + cell->GetColSpan() - 1)] = true;
            }
        }
    }
    for (int32_t c = 0; c < cols; ++c) {
        if (!ownCell[static_cast<size_t>(c)] || !fixedEnd[static_cast<size_t>(c)]) {
            return false;
        }
    }
    return true;
}

// ---- Column widths ----

bool TVDTableItemInfo::ComputeColumnWidths(int32_t docWidth, TVDTableItemFormattingInfo &fmt,
                                           gfx::TCanvas &canvas, bool noCaching,
                                           bool *narrowedToDocWidth) {
    TVDStyle &style = *GetStyle();
    const TVDTableMetrics q(*this, style, cursad);
    bool allFixed = false;
    int32_t width = 0;
    if (FBestWidth > 0) {
        width = style.GetAsDevicePixelsX(FBestWidth, cursad);
    } else if (FBestWidth < 0) {
        width = static_cast<int32_t>(int64_t{docWidth} * -FBestWidth / 100);
    } else if (AllColumnsHaveBestWidth()) {
        allFixed = true;
    } else {
        width = std::max(CalcMinWidth(cursad, canvas, true), docWidth);
    }
    if (width != 0 && width == fmt.FWidth && !noCaching) {
        return false;
    }
    TColumnSolver solver(*this, style, q, cursad, canvas, allFixed, width);
    fmt.FWidth = solver.Run();
    if (allFixed) {
        fmt.FWidth = q.F() + 2 * q.HPad * q.n +
                     std::accumulate(solver.Widths().begin(), solver.Widths().end(), 0);
    }
    if (narrowedToDocWidth) {
        const int32_t natural = fmt.FWidth;
        fmt.FWidth = solver.FitInto(natural, docWidth);
        *narrowedToDocWidth = fmt.FWidth < natural;
    }
    fmt.QuickClear();
    for (int32_t w : solver.Widths()) {
        fmt.ColWidths.Add(w);
    }
    return true;
}

} // namespace vizivodu
