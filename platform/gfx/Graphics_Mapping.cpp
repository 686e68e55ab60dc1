// TCanvas coordinates: map modes, window and viewport, world transform, and the composed
// logical-to-device map.
#include "platform/gfx/Graphics.h"

#include "platform/gfx/Canvas_p.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace gfx {

namespace {

// Logical units per inch of the metric and English map modes.
int32_t UnitsPerInch(int32_t mode) {
    switch (mode) {
    case MM_LOMETRIC:
        return 254;
    case MM_HIMETRIC:
        return 2540;
    case MM_LOENGLISH:
        return 100;
    case MM_HIENGLISH:
        return 1000;
    case MM_TWIPS:
        return 1440;
    default:
        return 0;
    }
}

TAffine AffineOf(const TXForm &x) {
    return {x.eM11, x.eM12, x.eM21, x.eM22, x.eDx, x.eDy};
}

TXForm XFormOf(const TAffine &a) {
    return {float(a.M11), float(a.M12), float(a.M21), float(a.M22), float(a.Dx), float(a.Dy)};
}

bool Usable(const TXForm &x) {
    const TAffine a = AffineOf(x);
    const double d = a.Determinant();
    return d != 0 && std::isfinite(d) && std::isfinite(a.Dx) && std::isfinite(a.Dy);
}

} // namespace

void TCanvas::UpdateMapping() {
    const double sx = double(FViewportExt.cx) / FWindowExt.cx;
    const double sy = double(FViewportExt.cy) / FWindowExt.cy;
    const TAffine page{
        sx, 0, 0, sy, FViewportOrg.X - FWindowOrg.X * sx, FViewportOrg.Y - FWindowOrg.Y * sy};
    const TAffine world = FGraphicsMode == GM_ADVANCED ? AffineOf(FWorld) : TAffine{};
    FToDevice = TAffine::Then(TAffine::Then(world, page), FPlayback);
    FFromDevice = FToDevice.Inverted();
}

int32_t TCanvas::SetMapMode(int32_t mode) {
    if (mode < MM_TEXT || mode > MM_ANISOTROPIC) {
        return 0;
    }
    const int32_t previous = FMapMode;
    const TDeviceCaps caps = FDevice->GetCaps();
    FMapMode = mode;
    if (mode == MM_TEXT) {
        FWindowExt = {1, 1};
        FViewportExt = {1, 1};
    } else if (mode == MM_ISOTROPIC || UnitsPerInch(mode) > 0) {
        // The metric modes, and the start of MM_ISOTROPIC, have y growing upward. Resolution
        // decides the scale (for printers it is the physical one).
        const int32_t units = mode == MM_ISOTROPIC ? 254 : UnitsPerInch(mode);
        FWindowExt = {units, units};
        FViewportExt = {caps.LogPixelsX, -caps.LogPixelsY};
    }
    UpdateMapping();
    return previous;
}

TPoint TCanvas::SetWindowOrgEx(int32_t x, int32_t y) {
    const TPoint previous = FWindowOrg;
    FWindowOrg = {x, y};
    UpdateMapping();
    return previous;
}

TPoint TCanvas::SetViewportOrgEx(int32_t x, int32_t y) {
    const TPoint previous = FViewportOrg;
    FViewportOrg = {x, y};
    UpdateMapping();
    return previous;
}

namespace {

// MM_ISOTROPIC keeps one logical unit equally long on both axes: the longer of the two
// viewport extents is shortened, in inches of the device.
void FixIsotropic(TSize &viewport, const TSize &window, const TDeviceCaps &caps) {
    const double xUnit = std::abs(double(viewport.cx) / window.cx) / caps.LogPixelsX;
    const double yUnit = std::abs(double(viewport.cy) / window.cy) / caps.LogPixelsY;
    if (xUnit > yUnit) {
        const double cx = std::abs(double(viewport.cx)) * yUnit / xUnit;
        viewport.cx = (viewport.cx < 0 ? -1 : 1) * std::max(1, int32_t(std::lround(cx)));
    } else if (yUnit > xUnit) {
        const double cy = std::abs(double(viewport.cy)) * xUnit / yUnit;
        viewport.cy = (viewport.cy < 0 ? -1 : 1) * std::max(1, int32_t(std::lround(cy)));
    }
}

} // namespace

bool TCanvas::SetWindowExtEx(int32_t cx, int32_t cy, TSize *previous) {
    if (previous) {
        *previous = FWindowExt;
    }
    if (FMapMode != MM_ISOTROPIC && FMapMode != MM_ANISOTROPIC) {
        return true;
    }
    if (cx == 0 || cy == 0) {
        return false;
    }
    FWindowExt = {cx, cy};
    if (FMapMode == MM_ISOTROPIC) {
        FixIsotropic(FViewportExt, FWindowExt, FDevice->GetCaps());
    }
    UpdateMapping();
    return true;
}

bool TCanvas::SetViewportExtEx(int32_t cx, int32_t cy, TSize *previous) {
    if (previous) {
        *previous = FViewportExt;
    }
    if (FMapMode != MM_ISOTROPIC && FMapMode != MM_ANISOTROPIC) {
        return true;
    }
    if (cx == 0 || cy == 0) {
        return false;
    }
    FViewportExt = {cx, cy};
    if (FMapMode == MM_ISOTROPIC) {
        FixIsotropic(FViewportExt, FWindowExt, FDevice->GetCaps());
    }
    UpdateMapping();
    return true;
}

int32_t TCanvas::SetGraphicsMode(int32_t mode) {
    if (mode != GM_COMPATIBLE && mode != GM_ADVANCED) {
        return 0;
    }
    if (mode == GM_COMPATIBLE && FGraphicsMode == GM_ADVANCED && !(FWorld == TXForm{})) {
        return 0;
    }
    const int32_t previous = FGraphicsMode;
    FGraphicsMode = mode;
    UpdateMapping();
    return previous;
}

bool TCanvas::SetWorldTransform(const TXForm &xf) {
    if (FGraphicsMode != GM_ADVANCED || !Usable(xf)) {
        return false;
    }
    FWorld = xf;
    UpdateMapping();
    return true;
}

bool TCanvas::ModifyWorldTransform(const TXForm &xf, uint32_t mode) {
    if (FGraphicsMode != GM_ADVANCED) {
        return false;
    }
    TXForm next;
    switch (mode) {
    case MWT_IDENTITY:
        break;
    case MWT_LEFTMULTIPLY:
        next = XFormOf(TAffine::Then(AffineOf(xf), AffineOf(FWorld)));
        break;
    case MWT_RIGHTMULTIPLY:
        next = XFormOf(TAffine::Then(AffineOf(FWorld), AffineOf(xf)));
        break;
    default:
        return false;
    }
    if (!Usable(next)) {
        return false;
    }
    FWorld = next;
    UpdateMapping();
    return true;
}

TPoint TCanvas::LPtoDP(TPoint p) const {
    const TPointF d = FToDevice.Map(double(p.X), double(p.Y));
    return {int32_t(std::clamp<int64_t>(detail::RoundCoord(d.X), INT32_MIN, INT32_MAX)),
            int32_t(std::clamp<int64_t>(detail::RoundCoord(d.Y), INT32_MIN, INT32_MAX))};
}

TPoint TCanvas::DPtoLP(TPoint p) const {
    const TPointF l = FFromDevice.Map(double(p.X), double(p.Y));
    return {int32_t(std::clamp<int64_t>(detail::RoundCoord(l.X), INT32_MIN, INT32_MAX)),
            int32_t(std::clamp<int64_t>(detail::RoundCoord(l.Y), INT32_MIN, INT32_MAX))};
}

} // namespace gfx
