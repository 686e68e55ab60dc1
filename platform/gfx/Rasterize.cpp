// Geometry before rasterisation: exact line pixels from a clipped start, segment and polygon
// clipping, arc flattening that stays coarse where nothing can be seen.
#include "platform/gfx/Rasterize_p.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace gfx::detail {

__extension__ typedef __int128 Int128; // exact products of two 41-bit coordinates

int64_t RoundCoord(double v) {
    if (!(v == v)) { // NaN
        return 0;
    }
    return int64_t(std::floor(std::clamp(v, -CoordLimit, CoordLimit) + 0.5));
}

namespace {

// Ceiling of num / den for den > 0.
Int128 CeilDiv(Int128 num, Int128 den) {
    return num >= 0 ? (num + den - 1) / den : -((-num) / den);
}

// The first step k >= 0 whose minor offset floor((2Dk + M) / 2M) reaches v.
Int128 FirstStepReaching(Int128 v, Int128 major, Int128 minor, Int128 none) {
    if (v <= 0) {
        return 0;
    }
    if (minor == 0) {
        return none;
    }
    return CeilDiv((2 * v - 1) * major, 2 * minor);
}

// The steps k with origin + sign * k within [lo, hi).
void StepRange(int64_t origin, int sign, int64_t lo, int64_t hi, Int128 &k0, Int128 &k1) {
    if (sign > 0) {
        k0 = std::max<Int128>(k0, Int128(lo) - origin);
        k1 = std::min<Int128>(k1, Int128(hi) - origin);
    } else {
        k0 = std::max<Int128>(k0, Int128(origin) - hi + 1);
        k1 = std::min<Int128>(k1, Int128(origin) - lo + 1);
    }
}

} // namespace

void LineSpans(TPoint64 a, TPoint64 b, const TRect &box, const TLinePattern *pattern,
               int64_t &phase, std::vector<TRect> &on, std::vector<TRect> *off) {
    const int64_t dx = std::llabs(b.X - a.X), dy = std::llabs(b.Y - a.Y);
    const int64_t steps = std::max(dx, dy);
    const int64_t startPhase = phase;
    phase += steps;
    if (steps == 0 || box.IsEmpty()) {
        return;
    }
    const bool xMajor = dx >= dy;
    const int64_t major = xMajor ? dx : dy, minor = xMajor ? dy : dx;
    const int64_t majorOrigin = xMajor ? a.X : a.Y, minorOrigin = xMajor ? a.Y : a.X;
    const int majorSign = (xMajor ? b.X - a.X : b.Y - a.Y) >= 0 ? 1 : -1;
    const int minorSign = (xMajor ? b.Y - a.Y : b.X - a.X) >= 0 ? 1 : -1;
    const int64_t majorLo = xMajor ? box.Left : box.Top, majorHi = xMajor ? box.Right : box.Bottom;
    const int64_t minorLo = xMajor ? box.Top : box.Left, minorHi = xMajor ? box.Bottom : box.Right;

    Int128 k0 = 0, k1 = steps;
    StepRange(majorOrigin, majorSign, majorLo, majorHi, k0, k1);
    // The minor offset m(k) only grows, so its window [mLo, mHi) is one range of steps.
    Int128 mLo = 0, mHi = 0;
    if (minorSign > 0) {
        mLo = Int128(minorLo) - minorOrigin;
        mHi = Int128(minorHi) - minorOrigin;
    } else {
        mLo = Int128(minorOrigin) - minorHi + 1;
        mHi = Int128(minorOrigin) - minorLo + 1;
    }
    k0 = std::max(k0, FirstStepReaching(mLo, major, minor, steps));
    k1 = std::min(k1, FirstStepReaching(mHi, major, minor, steps));
    if (k0 >= k1) {
        return;
    }
    // Walk the visible steps with an exact remainder: m = floor((2Dk + M) / 2M).
    const Int128 twoM = 2 * Int128(major), twoD = 2 * Int128(minor);
    const Int128 numerator = twoD * k0 + major;
    int64_t m = int64_t(numerator / twoM);
    Int128 rest = numerator % twoM;
    auto emit = [&](int64_t kFirst, int64_t kLast, int64_t mm, bool drawn) {
        std::vector<TRect> *target = drawn ? &on : off;
        if (!target) {
            return;
        }
        const int64_t p1 = majorOrigin + majorSign * kFirst, p2 = majorOrigin + majorSign * kLast;
        const int32_t lo = int32_t(std::min(p1, p2)), hi = int32_t(std::max(p1, p2) + 1);
        const int32_t q = int32_t(minorOrigin + minorSign * mm);
        target->push_back(xMajor ? TRect{lo, q, hi, q + 1} : TRect{q, lo, q + 1, hi});
    };
    auto bitAt = [&](int64_t k) {
        if (!pattern || pattern->Length <= 0) {
            return true;
        }
        const int64_t i = (startPhase + k) % pattern->Length;
        return pattern->Bits[i < 0 ? i + pattern->Length : i] != 0;
    };
    int64_t runStart = int64_t(k0), runM = m;
    bool runBit = bitAt(runStart);
    for (int64_t k = int64_t(k0) + 1; k < int64_t(k1); ++k) {
        rest += twoD;
        int64_t mk = m;
        if (rest >= twoM) {
            rest -= twoM;
            mk = ++m;
        }
        const bool bit = bitAt(k);
        if (mk != runM || bit != runBit) {
            emit(runStart, k - 1, runM, runBit);
            runStart = k;
            runM = mk;
            runBit = bit;
        }
    }
    emit(runStart, int64_t(k1) - 1, runM, runBit);
}

bool ClipSegment(TPointF &a, TPointF &b, const TRectF &box, double *t0Out, double *t1Out) {
    double t0 = 0, t1 = 1;
    const double dx = b.X - a.X, dy = b.Y - a.Y;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.X - box.Left, box.Right - a.X, a.Y - box.Top, box.Bottom - a.Y};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) {
                return false;
            }
            continue;
        }
        const double r = q[i] / p[i];
        if (p[i] < 0) {
            t0 = std::max(t0, r);
        } else {
            t1 = std::min(t1, r);
        }
        if (t0 > t1) {
            return false;
        }
    }
    const TPointF start{a.X + t0 * dx, a.Y + t0 * dy}, end{a.X + t1 * dx, a.Y + t1 * dy};
    a = start;
    b = end;
    if (t0Out) {
        *t0Out = t0;
    }
    if (t1Out) {
        *t1Out = t1;
    }
    return true;
}

std::vector<TPointF> ClipPolygon(const std::vector<TPointF> &polygon, const TRectF &box) {
    std::vector<TPointF> current = polygon, next;
    // The four sides in turn: inside test and intersection with the side's line.
    for (int side = 0; side < 4 && !current.empty(); ++side) {
        auto inside = [&](const TPointF &p) {
            switch (side) {
            case 0:
                return p.X >= box.Left;
            case 1:
                return p.X <= box.Right;
            case 2:
                return p.Y >= box.Top;
            default:
                return p.Y <= box.Bottom;
            }
        };
        auto cut = [&](const TPointF &p, const TPointF &q) {
            const double edge = side == 0   ? box.Left
                                : side == 1 ? box.Right
                                : side == 2 ? box.Top
                                            : box.Bottom;
            if (side < 2) {
                const double t = (edge - p.X) / (q.X - p.X);
                return TPointF{edge, p.Y + t * (q.Y - p.Y)};
            }
            const double t = (edge - p.Y) / (q.Y - p.Y);
            return TPointF{p.X + t * (q.X - p.X), edge};
        };
        next.clear();
        for (size_t i = 0; i < current.size(); ++i) {
            const TPointF &p = current[i], &q = current[(i + 1) % current.size()];
            const bool pin = inside(p), qin = inside(q);
            if (pin) {
                next.push_back(p);
            }
            if (pin != qin) {
                next.push_back(cut(p, q));
            }
        }
        current.swap(next);
    }
    return current;
}

namespace {

TPointF ArcPoint(TPointF c, double rx, double ry, double angle) {
    return {c.X + rx * std::cos(angle), c.Y - ry * std::sin(angle)};
}

void FlattenSpan(TPointF c, double rx, double ry, double a0, double a1, const TRectF &box,
                 double tolerance, int depth, std::vector<TPointF> &out) {
    const TPointF p0 = ArcPoint(c, rx, ry, a0), p1 = ArcPoint(c, rx, ry, a1);
    // Within one quadrant the arc lies in the box of its end points, and so does the area
    // between arc and chord: a chord is exact enough wherever that box cannot be seen.
    const TRectF bounds{std::min(p0.X, p1.X), std::min(p0.Y, p1.Y), std::max(p0.X, p1.X),
                        std::max(p0.Y, p1.Y)};
    const bool seen = bounds.Left <= box.Right && bounds.Right >= box.Left &&
                      bounds.Top <= box.Bottom && bounds.Bottom >= box.Top;
    const double error = std::max(std::abs(rx), std::abs(ry)) * (1 - std::cos((a1 - a0) / 2));
    if (!seen || error <= tolerance || depth >= 48) {
        out.push_back(p1);
        return;
    }
    const double mid = (a0 + a1) / 2;
    FlattenSpan(c, rx, ry, a0, mid, box, tolerance, depth + 1, out);
    FlattenSpan(c, rx, ry, mid, a1, box, tolerance, depth + 1, out);
}

} // namespace

void FlattenArc(TPointF center, double rx, double ry, double start, double sweep, const TRectF &box,
                double tolerance, std::vector<TPointF> &out) {
    out.push_back(ArcPoint(center, rx, ry, start));
    if (sweep == 0) {
        return;
    }
    const double quarter = std::numbers::pi / 2;
    const double end = start + sweep;
    double a = start;
    // Spans end on quadrant boundaries, so that each stays within one quadrant.
    while (sweep > 0 ? a < end : a > end) {
        double b = sweep > 0 ? (std::floor(a / quarter + 1e-12) + 1) * quarter
                             : (std::ceil(a / quarter - 1e-12) - 1) * quarter;
        b = sweep > 0 ? std::min(b, end) : std::max(b, end);
        FlattenSpan(center, rx, ry, a, b, box, tolerance, 0, out);
        a = b;
    }
}

} // namespace gfx::detail
