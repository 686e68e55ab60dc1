// Line drawing of TCustomBitmap32: spans, Bresenham lines with exact clipping and antialiased
// integer lines.
#include "raster/Raster.h"

#include "raster/Raster_Lines_p.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace raster {

using namespace detail;

// ---- Spans ------------------------------------------------------------------------------

void TCustomBitmap32::DrawPixelRun(TColor32 *p, TColor32 value, bool blend) {
    if (!blend) {
        *p = value;
    } else {
        BlendProc()(value, *p);
    }
}

void TCustomBitmap32::HorzLine(int32_t x1, int32_t y, int32_t x2, TColor32 value) {
    FillDWords(GetPixelPtr(x1, y), x2 - x1 + 1, value);
}

void TCustomBitmap32::HorzLineS(int32_t x1, int32_t y, int32_t x2, TColor32 value) {
    if (FMeasuringMode) {
        Changed({x1, y, x2, y + 1});
    } else if (y >= FClipRect.Top && y < FClipRect.Bottom &&
               ClipSpan(x1, x2, FClipRect.Left, FClipRect.Right)) {
        HorzLine(x1, y, x2, value);
        Changed({x1, y, x2, y + 1});
    }
}

void TCustomBitmap32::HorzLineT(int32_t x1, int32_t y, int32_t x2, TColor32 value) {
    if (x2 < x1) {
        return;
    }
    TColor32 *p = GetPixelPtr(x1, y);
    const TBlendMem blend = BlendProc();
    for (int32_t i = x1; i <= x2; ++i, ++p) {
        blend(value, *p);
    }
    EndBlend();
}

void TCustomBitmap32::HorzLineTS(int32_t x1, int32_t y, int32_t x2, TColor32 value) {
    if (FMeasuringMode) {
        Changed({x1, y, x2, y + 1});
    } else if (y >= FClipRect.Top && y < FClipRect.Bottom &&
               ClipSpan(x1, x2, FClipRect.Left, FClipRect.Right)) {
        HorzLineT(x1, y, x2, value);
        Changed({x1, y, x2, y + 1});
    }
}

void TCustomBitmap32::VertLine(int32_t x, int32_t y1, int32_t y2, TColor32 value) {
    TColor32 *p = GetPixelPtr(x, std::min(y1, y2));
    for (int32_t i = y1; i <= y2; ++i, p += FWidth) {
        *p = value;
    }
}

void TCustomBitmap32::VertLineS(int32_t x, int32_t y1, int32_t y2, TColor32 value) {
    if (FMeasuringMode) {
        Changed({x, y1, x + 1, y2});
    } else if (x >= FClipRect.Left && x < FClipRect.Right &&
               ClipSpan(y1, y2, FClipRect.Top, FClipRect.Bottom)) {
        VertLine(x, y1, y2, value);
        Changed({x, y1, x + 1, y2});
    }
}

void TCustomBitmap32::VertLineT(int32_t x, int32_t y1, int32_t y2, TColor32 value) {
    const TBlendMem blend = BlendProc();
    if (y2 >= y1) {
        TColor32 *p = GetPixelPtr(x, y1);
        for (int32_t i = y1; i <= y2; ++i, p += FWidth) {
            blend(value, *p);
        }
    }
    EndBlend();
}

void TCustomBitmap32::VertLineTS(int32_t x, int32_t y1, int32_t y2, TColor32 value) {
    if (FMeasuringMode) {
        Changed({x, y1, x + 1, y2});
    } else if (x >= FClipRect.Left && x < FClipRect.Right &&
               ClipSpan(y1, y2, FClipRect.Top, FClipRect.Bottom)) {
        VertLineT(x, y1, y2, value);
        Changed({x, y1, x + 1, y2});
    }
}

// ---- Integer lines ----------------------------------------------------------------------

void TCustomBitmap32::Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2, TColor32 value, bool l) {
    LineSCoreUnclipped(x1, y1, x2, y2, value, l, false);
}

void TCustomBitmap32::LineT(int32_t x1, int32_t y1, int32_t x2, int32_t y2, TColor32 value,
                            bool l) {
    const auto blendEnds = EndBlendOnExit();
    LineSCoreUnclipped(x1, y1, x2, y2, value, l, true);
}

// Bresenham from (X1, Y1); "Y major" also for |Dx| = |Dy|.
void TCustomBitmap32::LineSCoreUnclipped(int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                                         TColor32 value, bool l, bool blend) {
    int32_t dx = x2 - x1, dy = y2 - y1;
    if (dx == 0 || dy == 0) {
        if (dx == 0 && dy > 0) {
            blend ? VertLineT(x1, y1, y2 - 1, value) : VertLine(x1, y1, y2 - 1, value);
        } else if (dx == 0 && dy < 0) {
            blend ? VertLineT(x1, y2 + 1, y1, value) : VertLine(x1, y2 + 1, y1, value);
        } else if (x1 < x2) {
            blend ? HorzLineT(x1, y1, x2 - 1, value) : HorzLine(x1, y1, x2 - 1, value);
        } else if (x2 < x1) {
            blend ? HorzLineT(x2 + 1, y1, x1, value) : HorzLine(x2 + 1, y1, x1, value);
        }
        if (l) {
            DrawPixelRun(GetPixelPtr(x2, y2), value, blend);
        }
        Changed(LineArea(x1, y1, x2, y2), kLineInfo);
        return;
    }
    const int32_t sx = dx > 0 ? 1 : -1;
    const int32_t sy = dy > 0 ? FWidth : -FWidth;
    dx = std::abs(dx);
    dy = std::abs(dy);
    TColor32 *p = GetPixelPtr(x1, y1);
    if (dy < dx) {
        int32_t delta = dx / 2;
        for (int32_t i = 0; i < dx; ++i) {
            DrawPixelRun(p, value, blend);
            delta += dy;
            p += sx;
            if (delta >= dx) {
                p += sy;
                delta -= dx;
            }
        }
    } else {
        int32_t delta = dy / 2;
        for (int32_t i = 0; i < dy; ++i) {
            DrawPixelRun(p, value, blend);
            delta += dx;
            p += sy;
            if (delta >= dy) {
                p += sx;
                delta -= dy;
            }
        }
    }
    if (l) {
        DrawPixelRun(p, value, blend);
    }
    Changed(LineArea(x1, y1, x2, y2), kLineInfo);
}

void TCustomBitmap32::LineS(int32_t x1, int32_t y1, int32_t x2, int32_t y2, TColor32 value,
                            bool l) {
    LineSCore(x1, y1, x2, y2, value, l, false);
}

void TCustomBitmap32::LineTS(int32_t x1, int32_t y1, int32_t x2, int32_t y2, TColor32 value,
                             bool l) {
    const auto blendEnds = EndBlendOnExit();
    LineSCore(x1, y1, x2, y2, value, l, true);
}

namespace {

// A line mirrored into the first octant: X1, Dx and the clip's X range belong to the major
// axis, Y1, Dy and the Y range to the minor one; Sx and Sy undo the mirroring.
struct TOctantLine {
    int64_t X1 = 0, Y1 = 0, Dx = 0, Dy = 0, End = 0, MinorEnd = 0;
    int64_t Cx1 = 0, Cx2 = 0, Cy1 = 0, Cy2 = 0;
    int32_t Sx = 1, Sy = 1;
    bool Swapped = false;
    // The first pixel inside the clip rectangle, the error term there, and the major
    // coordinate one past the last pixel to draw.
    int64_t Xd = 0, Yd = 0, E = 0, Term = 0;
    bool Cut = false;
};

// Mirrors one axis so that it runs forwards; false when the line misses the clip range.
bool MirrorAxis(int64_t &a1, int64_t &a2, int64_t &d, int64_t &c1, int64_t &c2, int32_t &s) {
    if (d > 0) {
        return !(a1 > c2 || a2 < c1);
    }
    if (a2 > c2 || a1 < c1) {
        return false;
    }
    s = -1;
    a1 = -a1, a2 = -a2, d = -d;
    std::swap(c1, c2);
    c1 = -c1, c2 = -c2;
    return true;
}

bool IntoOctant(TOctantLine &o, int32_t x1, int32_t y1, int32_t x2, int32_t y2, const TRect &c) {
    int64_t ax1 = x1, ax2 = x2, ay1 = y1, ay2 = y2;
    o.Dx = ax2 - ax1, o.Dy = ay2 - ay1;
    o.Cx1 = c.Left, o.Cx2 = c.Right - 1, o.Cy1 = c.Top, o.Cy2 = c.Bottom - 1;
    if (!MirrorAxis(ax1, ax2, o.Dx, o.Cx1, o.Cx2, o.Sx) ||
        !MirrorAxis(ay1, ay2, o.Dy, o.Cy1, o.Cy2, o.Sy)) {
        return false;
    }
    o.Swapped = o.Dx < o.Dy;
    if (o.Swapped) {
        std::swap(ax1, ay1);
        std::swap(ax2, ay2);
        std::swap(o.Dx, o.Dy);
        std::swap(o.Cx1, o.Cy1);
        std::swap(o.Cx2, o.Cy2);
        std::swap(o.Sx, o.Sy);
    }
    o.X1 = ax1, o.Y1 = ay1, o.End = ax2, o.MinorEnd = ay2;
    return true;
}

// Where the line enters the clip rectangle, through its minor or its major edge; false when
// it passes by.
bool FindEntry(TOctantLine &o) {
    const int64_t dx2 = 2 * o.Dx, dy2 = 2 * o.Dy;
    o.Xd = o.X1, o.Yd = o.Y1, o.E = dy2 - o.Dx;
    bool entered = false;
    if (o.Y1 < o.Cy1) {
        const int64_t oc = dx2 * (o.Cy1 - o.Y1) - o.Dx;
        o.Xd = o.X1 + oc / dy2;
        const int64_t rem = oc % dy2;
        if (o.Xd > o.Cx2) {
            return false;
        }
        if (o.Xd >= o.Cx1) {
            o.Yd = o.Cy1;
            o.E = o.E - rem - o.Dx;
            if (rem > 0) {
                ++o.Xd;
                o.E += dy2;
            }
            entered = true;
        }
    }
    if (!entered && o.X1 < o.Cx1) {
        const int64_t oc = dy2 * (o.Cx1 - o.X1);
        o.Yd = o.Y1 + oc / dx2;
        const int64_t rem = oc % dx2;
        if (o.Yd > o.Cy2 || (o.Yd == o.Cy2 && rem >= o.Dx)) {
            return false;
        }
        o.Xd = o.Cx1;
        o.E += rem;
        if (rem >= o.Dx) {
            ++o.Yd;
            o.E -= dx2;
        }
    }
    return true;
}

// The last major position inside the clip rectangle; Cut tells that the line leaves it.
void FindExit(TOctantLine &o) {
    const int64_t dx2 = 2 * o.Dx, dy2 = 2 * o.Dy;
    o.Term = o.End;
    o.Cut = false;
    if (o.MinorEnd > o.Cy2) {
        const int64_t oc = dx2 * (o.Cy2 - o.Y1) + o.Dx;
        o.Term = o.X1 + oc / dy2;
        if (oc % dy2 == 0) {
            --o.Term;
        }
        o.Cut = true;
    }
    if (o.Term > o.Cx2) {
        o.Term = o.Cx2;
        o.Cut = true;
    }
}

} // namespace

// The clipped line draws exactly the unclipped line's pixels inside the clip rectangle: the
// line is mirrored into the first octant, the entry and exit points are found once in 64-bit
// arithmetic, and the loop then runs without per-pixel tests.
void TCustomBitmap32::LineSCore(int32_t x1, int32_t y1, int32_t x2, int32_t y2, TColor32 value,
                                bool l, bool blend) {
    const TRect area = LineArea(x1, y1, x2, y2);
    if (FMeasuringMode) {
        Changed(area, kLineInfo);
        return;
    }
    if (x1 == x2 || y1 == y2) {
        LineSAxis(x1, y1, x2, y2, value, l, blend);
        return;
    }
    TOctantLine o;
    if (!IntoOctant(o, x1, y1, x2, y2, FClipRect) || !FindEntry(o)) {
        return;
    }
    FindExit(o);
    // Back to real coordinates; Term becomes exclusive in the direction of travel.
    int64_t xd = o.Sx == -1 ? -o.Xd : o.Xd;
    const int64_t yd = o.Sy == -1 ? -o.Yd : o.Yd;
    int64_t term = o.Sx == -1 ? -o.Term - 1 : o.Term + 1;
    if (!l && !o.Cut) {
        term -= o.Sx;
    }
    const int64_t dx2 = 2 * o.Dx - 2 * o.Dy, dy2 = 2 * o.Dy;
    const int64_t majorStep = o.Swapped ? o.Sx * int64_t(FWidth) : o.Sx;
    const int64_t minorStep = o.Swapped ? o.Sy : o.Sy * int64_t(FWidth);
    TColor32 *p = o.Swapped ? FBits + yd + xd * FWidth : FBits + xd + yd * FWidth;
    const TBlendMem blendProc = BlendProc();
    int64_t e = o.E;
    while (xd != term) {
        if (blend) {
            blendProc(value, *p);
        } else {
            *p = value;
        }
        p += majorStep;
        if (e >= 0) {
            p += minorStep;
            e -= dx2;
        } else {
            e += dy2;
        }
        xd += o.Sx;
    }
    Changed(area, kLineInfo);
}

void TCustomBitmap32::LineSAxis(int32_t x1, int32_t y1, int32_t x2, int32_t y2, TColor32 value,
                                bool l, bool blend) {
    if (x1 == x2) {
        if (y2 > y1) {
            blend ? VertLineTS(x1, y1, y2 - 1, value) : VertLineS(x1, y1, y2 - 1, value);
        } else if (y2 < y1) {
            blend ? VertLineTS(x1, y2 + 1, y1, value) : VertLineS(x1, y2 + 1, y1, value);
        }
    } else if (x2 > x1) {
        blend ? HorzLineTS(x1, y1, x2 - 1, value) : HorzLineS(x1, y1, x2 - 1, value);
    } else {
        blend ? HorzLineTS(x2 + 1, y1, x1, value) : HorzLineS(x2 + 1, y1, x1, value);
    }
    if (l) {
        blend ? SetPixelTS(x2, y2, value) : SetPixelS(x2, y2, value);
    }
    if (!blend) {
        Changed();
    }
}

// ---- Antialiased integer lines ----------------------------------------------------------

void TCustomBitmap32::LineA(int32_t x1, int32_t y1, int32_t x2, int32_t y2, TColor32 value,
                            bool l) {
    if (x1 == x2 || y1 == y2) {
        LineT(x1, y1, x2, y2, value, l);
        return;
    }
    {
        const auto blendEnds = EndBlendOnExit();
        LineACore(x1, y1, x2, y2, value, l, false);
    }
    Changed(LineArea(x1, y1, x2, y2), kLineInfo);
}

// Steps along the major axis with a 16-bit accumulator; each step covers two pixels across
// the minor axis with gamma weights. Clipped: steps before the clip rectangle are skipped
// arithmetically, pixels outside it are left out.
void TCustomBitmap32::LineACore(int32_t x1, int32_t y1, int32_t x2, int32_t y2, TColor32 value,
                                bool l, bool clipped) {
    const int32_t dx = std::abs(x2 - x1), dy = std::abs(y2 - y1);
    const int32_t sx = x2 > x1 ? 1 : -1, sy = y2 > y1 ? 1 : -1;
    const TBlendMem blend = BlendInPlaceByMode(FCombineMode);
    const TBlendMemEx blendW = BlendInPlaceWeightedByMode(FCombineMode);
    const auto inside = [&](int64_t x, int64_t y) {
        return !clipped || (x >= FClipRect.Left && x < FClipRect.Right && y >= FClipRect.Top &&
                            y < FClipRect.Bottom);
    };
    if (inside(x1, y1)) {
        blend(value, *GetPixelPtr(x1, y1));
    }
    const bool yMajor = dx < dy;
    const int64_t major = yMajor ? dy : dx, minor = yMajor ? dx : dy;
    const int64_t delta = (minor << 16) / major;
    int64_t steps = l ? major : major - 1;
    int64_t a = yMajor ? y1 : x1, b = yMajor ? x1 : y1;
    const int32_t sa = yMajor ? sy : sx, sb = yMajor ? sx : sy;
    int64_t first = 0;
    if (clipped) {
        // Skip the steps whose major coordinate lies before the clip rectangle.
        const int64_t lo = yMajor ? FClipRect.Top : FClipRect.Left;
        const int64_t hi = (yMajor ? FClipRect.Bottom : FClipRect.Right) - 1;
        const int64_t distance = sa > 0 ? lo - a - 1 : a - hi - 1;
        first = std::clamp<int64_t>(distance - 1, 0, steps);
        const int64_t lastUseful = sa > 0 ? hi - a : a - lo;
        steps = std::min(steps, lastUseful + 1);
    }
    const int64_t skipped = first * delta;
    uint32_t e = uint32_t(skipped & 0xFFFF);
    a += sa * first;
    b += sb * (skipped >> 16);
    for (int64_t i = first; i < steps; ++i) {
        const uint32_t old = e;
        e = (e + uint32_t(delta)) & 0xFFFF;
        if (e <= old) {
            b += sb;
        }
        a += sa;
        const uint32_t w = e >> 8;
        const int64_t px = yMajor ? b : a, py = yMajor ? a : b;
        const int64_t qx = yMajor ? b + sb : a, qy = yMajor ? a : b + sb;
        if (inside(px, py)) {
            blendW(value, FBits[px + py * FWidth], GammaTable[255 - w]);
        }
        if (inside(qx, qy)) {
            blendW(value, FBits[qx + qy * FWidth], GammaTable[w]);
        }
    }
}

void TCustomBitmap32::LineAS(int32_t x1, int32_t y1, int32_t x2, int32_t y2, TColor32 value,
                             bool l) {
    if (RectIsEmpty(FClipRect)) {
        return;
    }
    const int32_t dx = x2 - x1, dy = y2 - y1;
    if (std::abs(dx) == std::abs(dy)) {
        LineTS(x1, y1, x2, y2, value, l);
        return;
    }
    if (dx == 0 || dy == 0) {
        if (dx == 0) {
            VertLineTS(x1, std::min(y1, y2 - (dy > 0 ? 1 : -1)),
                       std::max(y1, y2 - (dy > 0 ? 1 : -1)), value);
        } else {
            HorzLineTS(std::min(x1, x2 - (dx > 0 ? 1 : -1)), y1,
                       std::max(x1, x2 - (dx > 0 ? 1 : -1)), value);
        }
        if (l) {
            SetPixelTS(x2, y2, value);
        }
        return;
    }
    if (!FMeasuringMode) {
        if (std::max(x1, x2) + 1 < FClipRect.Left || std::min(x1, x2) - 1 >= FClipRect.Right ||
            std::max(y1, y2) + 1 < FClipRect.Top || std::min(y1, y2) - 1 >= FClipRect.Bottom) {
            return;
        }
        const auto blendEnds = EndBlendOnExit();
        LineACore(x1, y1, x2, y2, value, l, true);
    }
    Changed(LineArea(x1, y1, x2, y2), kLineInfo);
}

} // namespace raster
