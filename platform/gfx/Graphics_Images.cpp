// TCanvas pictures and pixels: block transfers, stretching, alpha blending, copies between
// canvases; only the part of a picture that can be seen reaches the device.
#include "platform/gfx/Graphics.h"

#include "platform/gfx/Canvas_p.h"
#include "platform/gfx/Graphic.h"

#include <algorithm>
#include <cmath>

namespace gfx {

void TCanvas::Draw(int32_t x, int32_t y, const TGraphic &graphic) {
    if (!graphic.Empty()) {
        graphic.DrawOn(*this, Bounds(x, y, graphic.GetWidth(), graphic.GetHeight()));
    }
}

void TCanvas::StretchDraw(const TRect &dest, const TGraphic &graphic) {
    if (!graphic.Empty() && !dest.IsEmpty()) {
        graphic.DrawOn(*this, dest);
    }
}

void TCanvas::DrawPixels32(const TRect &dest, const uint32_t *bits, int32_t width, int32_t height,
                           int32_t strideBytes, const TRect &src) {
    StretchPixels(dest, {bits, width, height, strideBytes}, src, false);
}

void TCanvas::StretchPixels(const TRect &dest, const TPixels32 &pixels, const TRect &src,
                            bool smooth) {
    TBlendFunction opaque;
    opaque.SourceConstantAlpha = 255;
    DrawImageOp(dest, pixels, src, opaque, smooth, TCanvasOpKind::StretchPixels);
}

void TCanvas::AlphaBlend(const TRect &dest, const TPixels32 &pixels, const TRect &src,
                         TBlendFunction blend, bool smooth) {
    DrawImageOp(dest, pixels, src, blend, smooth, TCanvasOpKind::AlphaBlend);
}

namespace {

// A copy of the pixels of src within the memory, for a recording.
TPixels32 Inside(const TPixels32 &pixels, const TRect &src, TRect &inside) {
    inside = IntersectRect(src, Rect(0, 0, pixels.Width, pixels.Height));
    if (inside.IsEmpty()) {
        return {};
    }
    const auto *row = reinterpret_cast<const uint8_t *>(pixels.Bits) +
                      ptrdiff_t(inside.Top) * pixels.StrideBytes + ptrdiff_t(inside.Left) * 4;
    return {reinterpret_cast<const uint32_t *>(row), inside.Width(), inside.Height(),
            pixels.StrideBytes};
}

} // namespace

void TCanvas::DrawImageOp(const TRect &dest, const TPixels32 &pixels, const TRect &src,
                          TBlendFunction blend, bool smooth, TCanvasOpKind kind) {
    if (!pixels.IsValid() || dest.Right == dest.Left || dest.Bottom == dest.Top || src.IsEmpty()) {
        return;
    }
    TRect inside;
    const TPixels32 part = Inside(pixels, src, inside);
    if (!part.IsValid()) {
        return;
    }
    // Parts of src outside the memory are dropped, with the matching part of dest.
    const double sx = (double(dest.Right) - dest.Left) / (double(src.Right) - src.Left);
    const double sy = (double(dest.Bottom) - dest.Top) / (double(src.Bottom) - src.Top);
    const double left = dest.Left + (inside.Left - src.Left) * sx;
    const double top = dest.Top + (inside.Top - src.Top) * sy;
    if (FRecorder) {
        TCanvasOp op;
        op.Kind = kind;
        const auto edge = [](double v) {
            return int32_t(std::clamp(std::round(v), -2147483648.0, 2147483647.0));
        };
        op.Rect = Rect(edge(left), edge(top), edge(left + inside.Width() * sx),
                       edge(top + inside.Height() * sy));
        op.Pixels = part;
        op.Source = Rect(0, 0, inside.Width(), inside.Height());
        op.Smooth = smooth;
        op.Blend = blend;
        Record(op);
    }
    if (!Visible() || (kind == TCanvasOpKind::AlphaBlend && blend.SourceConstantAlpha == 0)) {
        return;
    }
    TDeviceImage image;
    image.Bits = part.Bits;
    image.Width = part.Width;
    image.Height = part.Height;
    image.StrideBytes = part.StrideBytes;
    image.Smooth = smooth;
    if (kind == TCanvasOpKind::AlphaBlend) {
        image.ConstantAlpha = blend.SourceConstantAlpha;
        image.Alpha =
            (blend.AlphaFormat & AC_SRC_ALPHA) ? TImageAlpha::Straight : TImageAlpha::Ignore;
    }
    // Image pixel (u, v) lands at logical (left + u * sx, top + v * sy), then on the device.
    TAffine toDevice = TAffine::Then(TAffine{sx, 0, 0, sy, left, top}, FToDevice);
    TRectF source{0, 0, double(part.Width), double(part.Height)};
    if (toDevice.IsAxisAligned()) {
        // Snap the destination to device pixels as a block transfer does, then keep only
        // the part within the clip bounds.
        const TPointF a = toDevice.Map(0, 0), b = toDevice.Map(part.Width, part.Height);
        const double x1 = std::round(std::min(a.X, b.X)), x2 = std::round(std::max(a.X, b.X));
        const double y1 = std::round(std::min(a.Y, b.Y)), y2 = std::round(std::max(a.Y, b.Y));
        if (x2 <= x1 || y2 <= y1) {
            return;
        }
        const bool flipX = a.X > b.X, flipY = a.Y > b.Y;
        const double ku = part.Width / (x2 - x1), kv = part.Height / (y2 - y1);
        const TRect box = FEffective.GetBounds();
        const double vx1 = std::max(x1, double(box.Left)), vx2 = std::min(x2, double(box.Right));
        const double vy1 = std::max(y1, double(box.Top)), vy2 = std::min(y2, double(box.Bottom));
        if (vx2 <= vx1 || vy2 <= vy1) {
            return;
        }
        const double u1 = flipX ? (x2 - vx2) * ku : (vx1 - x1) * ku;
        const double v1 = flipY ? (y2 - vy2) * kv : (vy1 - y1) * kv;
        source = {u1, v1, u1 + (vx2 - vx1) * ku, v1 + (vy2 - vy1) * kv};
        toDevice = {flipX ? -1 / ku : 1 / ku,
                    0,
                    0,
                    flipY ? -1 / kv : 1 / kv,
                    flipX ? vx2 + u1 / ku : vx1 - u1 / ku,
                    flipY ? vy2 + v1 / kv : vy1 - v1 / kv};
    }
    FDevice->DrawImage(image, source, toDevice);
}

void TCanvas::CopyRect(const TRect &dest, TCanvas &source, const TRect &src) {
    if (dest.IsEmpty() || src.IsEmpty()) {
        return;
    }
    // The source's pixels under src, as far as its device has them.
    const TRect deviceSrc = source.DeviceRect(src);
    const TRect readable = IntersectRect(deviceSrc, source.FVisible.GetBounds());
    std::vector<uint32_t> buffer;
    if (readable.IsEmpty()) {
        return;
    }
    source.FDevice->Flush();
    if (!source.FDevice->ReadPixels(readable, buffer)) {
        return;
    }
    const TPixels32 pixels{buffer.data(), readable.Width(), readable.Height(),
                           readable.Width() * 4};
    TRect from = deviceSrc;
    from.Offset(-readable.Left, -readable.Top);
    StretchPixels(dest, pixels, from, false);
}

} // namespace gfx
