// Spreading extra pixels over a run: the character extra on advances, justification over the
// spaces or over every expandable character, on advances or on coordinates.
//
// Distribution walks the eligible positions with a skip counter, so that r remaining pixels
// land evenly: with n positions left, step = (n - 1) div (|r| + 1) positions are passed over
// before each one that takes a pixel (ten positions and 3 pixels widen the 3rd, 6th and 8th).
#include "vizivodu/layout/text/VDGrIn.h"

#include "vizivodu/layout/text/VDGrIn_p.h"

#include <cstdlib>
#include <limits>

namespace vizivodu {

namespace {

bool IsSpace(const TVDTextRun &run, int32_t i) {
    return run.CharAt(i) == u' ';
}

int32_t Sign(int32_t v) {
    return (v > 0) - (v < 0);
}

// The output position of logical character i.
size_t PositionOf(int32_t i, std::span<const uint32_t> order) {
    return order.empty() ? size_t(i) : size_t(order[size_t(i)]);
}

// Grows every coordinate greater than edge by d.
void ShiftAfter(int32_t edge, int32_t d, std::span<int32_t> coordsL, std::span<int32_t> coordsR,
                std::span<int32_t> pcp) {
    for (std::span<int32_t> coords : {coordsL, coordsR, pcp}) {
        for (int32_t &c : coords) {
            if (c > edge) {
                c += d;
            }
        }
    }
}

// The change the character extra makes to one advance.
int32_t CharExtraChange(int32_t advance, int32_t charExtra) {
    if (advance <= 0) {
        return 0;
    }
    if (charExtra >= 1 || advance > -charExtra) {
        return charExtra;
    }
    return 1 - advance;
}

} // namespace

void TVDGraphicInterface::ApplyCharExtraToDX(const TVDTextRun &run, int32_t charExtra,
                                             std::span<int32_t> pdx) {
    const std::vector<uint8_t> starts = grin::CharacterStarts(run);
    for (size_t i = 0; i < pdx.size(); ++i) {
        if (i >= starts.size() || starts[i]) {
            pdx[i] += CharExtraChange(pdx[i], charExtra);
        }
    }
}

int32_t TVDGraphicInterface::GetCharExtraDelta(const TVDTextRun &run, int32_t charExtra,
                                               std::span<const int32_t> pdx) {
    const std::vector<uint8_t> starts = grin::CharacterStarts(run);
    int32_t delta = 0;
    for (size_t i = 0; i < pdx.size(); ++i) {
        if (i >= starts.size() || starts[i]) {
            delta += CharExtraChange(pdx[i], charExtra);
        }
    }
    return delta;
}

void TVDGraphicInterface::ExpandSpacesInDX(const TVDTextRun &run, std::span<int32_t> pdx,
                                           int32_t spaceCount, int32_t extraSpacing,
                                           std::span<const uint32_t> order) {
    if (spaceCount <= 0 || extraSpacing == 0 || !run.Str) {
        return;
    }
    for (int32_t i = 0; i < run.Length && spaceCount > 0; ++i) {
        if (!IsSpace(run, i)) {
            continue;
        }
        const int32_t d = extraSpacing / spaceCount;
        const size_t at = PositionOf(i, order);
        if (at < pdx.size()) {
            pdx[at] += d;
        }
        extraSpacing -= d;
        --spaceCount;
    }
}

void TVDGraphicInterface::DistributeSpacingToDX(const TVDTextRun &run, std::span<int32_t> pdx,
                                                int32_t extraSpacing, int32_t leftNoExpIndex,
                                                int32_t rightNoExpIndex,
                                                std::span<const uint32_t> order) {
    if (extraSpacing == 0) {
        return;
    }
    const std::vector<uint8_t> starts = grin::CharacterStarts(run);
    std::vector<size_t> eligible;
    for (int32_t i = 0; i < run.Length; ++i) {
        const size_t at = PositionOf(i, order);
        if (at < pdx.size() && pdx[at] != 0 && i != leftNoExpIndex && i != rightNoExpIndex &&
            starts[size_t(i)]) {
            eligible.push_back(at);
        }
    }
    int32_t n = int32_t(eligible.size());
    if (n == 0) {
        return;
    }
    int32_t r = extraSpacing;
    if (std::abs(r) >= n) {
        const int32_t q = r / n;
        for (size_t at : eligible) {
            pdx[at] += q;
        }
        r %= n;
    }
    if (r == 0) {
        return;
    }
    int32_t step = (n - 1) / (std::abs(r) + 1);
    int32_t skip = step;
    for (size_t at : eligible) {
        if (skip > 0) {
            --skip;
            continue;
        }
        pdx[at] += Sign(r);
        r -= Sign(r);
        n -= step + 1;
        if (r == 0 || n <= 0) {
            break;
        }
        step = (n - 1) / (std::abs(r) + 1);
        skip = step;
    }
}

void TVDGraphicInterface::ExpandSpacesInCoords(const TVDTextRun &run, std::span<int32_t> coordsL,
                                               std::span<int32_t> coordsR, std::span<int32_t> pcp,
                                               int32_t spaceCount, int32_t extraSpacing) {
    if (spaceCount <= 0 || extraSpacing == 0 || !run.Str) {
        return;
    }
    const int32_t n = std::min<int32_t>(run.Length, int32_t(coordsL.size()));
    for (int32_t i = 0; i < n && spaceCount > 0; ++i) {
        if (!IsSpace(run, i)) {
            continue;
        }
        const int32_t d = extraSpacing / spaceCount;
        ShiftAfter(coordsL[size_t(i)], d, coordsL, coordsR, pcp);
        extraSpacing -= d;
        --spaceCount;
    }
}

void TVDGraphicInterface::DistributeSpacingInCoords(
    const TVDTextRun &run, std::span<int32_t> coordsL, std::span<int32_t> coordsR,
    std::span<int32_t> pcp, int32_t extraSpacing, int32_t leftNoExpIndex, int32_t rightNoExpIndex) {
    if (extraSpacing == 0) {
        return;
    }
    const std::vector<uint8_t> starts = grin::CharacterStarts(run);
    std::vector<size_t> eligible;
    const size_t length =
        std::min({size_t(std::max(run.Length, 0)), coordsL.size(), coordsR.size()});
    for (size_t i = 0; i < length; ++i) {
        if (coordsL[i] != coordsR[i] && int32_t(i) != leftNoExpIndex &&
            int32_t(i) != rightNoExpIndex && starts[i]) {
            eligible.push_back(i);
        }
    }
    int32_t n = int32_t(eligible.size());
    if (n == 0) {
        return;
    }
    const int32_t q = extraSpacing / n;
    const int32_t s = Sign(extraSpacing);
    int32_t r = extraSpacing % n;
    constexpr int32_t never = std::numeric_limits<int32_t>::max();
    int32_t skip = r != 0 ? (n - 1) / (std::abs(r) + 1) : never;
    for (size_t i : eligible) {
        const int32_t edge = coordsL[i];
        if (skip > 0) {
            if (q != 0) {
                ShiftAfter(edge, q, coordsL, coordsR, pcp);
            }
            if (skip != never) {
                --skip;
            }
            continue;
        }
        ShiftAfter(edge, q + s, coordsL, coordsR, pcp);
        const int32_t step = (n - 1) / (std::abs(r) + 1);
        n -= step + 1;
        skip = (r == s || n < 1) ? never : (n - 1) / (std::abs(r - s) + 1);
        r -= s;
    }
}

} // namespace vizivodu
