// Internal: geometry the canvas computes before it hands shapes to a device. Everything here
// works on clipped parts only, so its cost follows what is visible, never the full length of a
// shape (a line to x = 2e9 costs what its visible pixels cost).
#pragma once

#include "platform/gfx/Geometry.h"
#include "platform/gfx/Types.h"

#include <cstdint>
#include <vector>

namespace gfx::detail {

struct TPoint64 {
    int64_t X = 0;
    int64_t Y = 0;
};

// Device coordinates are rounded and kept within +-CoordLimit (2^40): far beyond any device,
// small enough that products of two stay exact in 128 bits.
constexpr double CoordLimit = 1099511627776.0;
int64_t RoundCoord(double v);

// A pattern of a styled one-pixel line: Bits[k % Length] tells whether pixel k is drawn.
struct TLinePattern {
    const uint8_t *Bits = nullptr;
    int32_t Length = 0;
};

// The pixels of the one-pixel line from a to b, b left out (the pixel rule of LineTo: along
// the major axis one pixel per step, the minor coordinate rounded half up), restricted to box.
// Runs of pixels go to on (and, with a pattern, the pattern's gaps to off when given);
// phase is the pattern position of pixel 0 and comes back advanced past the line.
void LineSpans(TPoint64 a, TPoint64 b, const TRect &box, const TLinePattern *pattern,
               int64_t &phase, std::vector<TRect> &on, std::vector<TRect> *off);

// Liang-Barsky: cuts the segment to box. False when nothing is inside; t0 and t1 give the
// kept part as fractions of the segment.
bool ClipSegment(TPointF &a, TPointF &b, const TRectF &box, double *t0 = nullptr,
                 double *t1 = nullptr);

// Sutherland-Hodgman: the polygon cut to box. Inside box the winding number of every point
// is kept, so both fill rules fill the same pixels there.
std::vector<TPointF> ClipPolygon(const std::vector<TPointF> &polygon, const TRectF &box);

// Points of the elliptic arc (center, radii, start angle and sweep in radians, counter-
// clockwise as seen with y downward) with chords within tolerance where the arc may be seen
// in box, and coarse chords elsewhere (they stay outside box). Appends start to end.
void FlattenArc(TPointF center, double rx, double ry, double start, double sweep, const TRectF &box,
                double tolerance, std::vector<TPointF> &out);

} // namespace gfx::detail
