// Real-valued points, rectangles and affine transforms of the canvas and its devices.
#pragma once

#include <cmath>

namespace gfx {

struct TPointF {
    double X = 0;
    double Y = 0;
    friend bool operator==(const TPointF &, const TPointF &) = default;
};

// Left/Top inclusive, Right/Bottom exclusive, as TRect.
struct TRectF {
    double Left = 0;
    double Top = 0;
    double Right = 0;
    double Bottom = 0;
    double Width() const { return Right - Left; }
    double Height() const { return Bottom - Top; }
    bool IsEmpty() const { return !(Right > Left && Bottom > Top); }
    friend bool operator==(const TRectF &, const TRectF &) = default;
};

// An affine map in the layout of the Windows XFORM: (x, y) goes to
// (x * M11 + y * M21 + Dx, x * M12 + y * M22 + Dy).
struct TAffine {
    double M11 = 1, M12 = 0, M21 = 0, M22 = 1, Dx = 0, Dy = 0;

    TPointF Map(TPointF p) const {
        return {p.X * M11 + p.Y * M21 + Dx, p.X * M12 + p.Y * M22 + Dy};
    }
    TPointF Map(double x, double y) const { return Map(TPointF{x, y}); }
    // The linear part only (vectors, not points).
    TPointF MapVector(double x, double y) const { return {x * M11 + y * M21, x * M12 + y * M22}; }
    double Determinant() const { return M11 * M22 - M12 * M21; }
    bool IsAxisAligned() const { return M12 == 0 && M21 == 0; }
    bool IsIdentity() const {
        return M11 == 1 && M12 == 0 && M21 == 0 && M22 == 1 && Dx == 0 && Dy == 0;
    }
    // The identity when the map is singular.
    TAffine Inverted() const {
        const double d = Determinant();
        if (d == 0 || !std::isfinite(d)) {
            return {};
        }
        TAffine r;
        r.M11 = M22 / d;
        r.M12 = -M12 / d;
        r.M21 = -M21 / d;
        r.M22 = M11 / d;
        r.Dx = -(Dx * r.M11 + Dy * r.M21);
        r.Dy = -(Dx * r.M12 + Dy * r.M22);
        return r;
    }
    // first, then second: Then(a, b).Map(p) == b.Map(a.Map(p)).
    static TAffine Then(const TAffine &a, const TAffine &b) {
        TAffine r;
        r.M11 = a.M11 * b.M11 + a.M12 * b.M21;
        r.M12 = a.M11 * b.M12 + a.M12 * b.M22;
        r.M21 = a.M21 * b.M11 + a.M22 * b.M21;
        r.M22 = a.M21 * b.M12 + a.M22 * b.M22;
        r.Dx = a.Dx * b.M11 + a.Dy * b.M21 + b.Dx;
        r.Dy = a.Dx * b.M12 + a.Dy * b.M22 + b.Dy;
        return r;
    }
    static TAffine Translation(double dx, double dy) { return {1, 0, 0, 1, dx, dy}; }
    static TAffine Scaling(double sx, double sy) { return {sx, 0, 0, sy, 0, 0}; }
    friend bool operator==(const TAffine &, const TAffine &) = default;
};

} // namespace gfx
