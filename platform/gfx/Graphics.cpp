// TCanvas: GDI-rule drawing on Qt's raster painter.
#include "platform/gfx/Graphics.h"

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Canvas_p.h"
#include "platform/gfx/Graphic.h"
#include "platform/gfx/QtBridge_p.h"

#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QRegion>

#include <algorithm>
#include <cstdlib>

namespace gfx {

TCanvas::Impl::Impl() : clip(std::make_unique<QRegion>()) {}
TCanvas::Impl::Saved::Saved() = default;
TCanvas::Impl::Saved::Saved(Saved &&) noexcept = default;
TCanvas::Impl::Saved::~Saved() = default;

TCanvas::Impl::~Impl() {
    End();
}

QPainter &TCanvas::Impl::Painter() {
    if (external) {
        return *external;
    }
    if (!own) {
        own = std::make_unique<QPainter>();
        own->begin(image);
        ApplyClip();
    }
    return *own;
}

void TCanvas::Impl::End() {
    if (own) {
        own->end();
        own.reset();
    }
}

void TCanvas::Impl::ApplyClip() {
    QPainter *p = external ? external : own.get();
    if (p) {
        p->setClipRegion(*clip);
    }
}

void TCanvas::Impl::ResetClip() {
    *clip = QRegion(surface.Left, surface.Top, surface.Width(), surface.Height());
    ApplyClip();
}

bool TCanvas::Impl::ClipContains(TPoint p) const {
    return clip->contains(QPoint(p.X, p.Y));
}

namespace qt {

QColor ToQColor(TColor color) {
    const uint32_t rgb = ColorToRGB(color);
    return QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

TColor FromQColor(const QColor &c) {
    return RGB(uint8_t(c.red()), uint8_t(c.green()), uint8_t(c.blue()));
}

std::unique_ptr<TCanvas> CanvasOnImage(QImage *image) {
    auto impl = std::make_unique<TCanvas::Impl>();
    impl->image = image;
    impl->surface = Rect(0, 0, image->width(), image->height());
    impl->ResetClip();
    return std::make_unique<TCanvas>(std::move(impl));
}

std::unique_ptr<TCanvas> CanvasOnPainter(QPainter *painter, const TRect &paintArea) {
    auto impl = std::make_unique<TCanvas::Impl>();
    impl->external = painter;
    impl->surface = paintArea;
    painter->save();
    impl->ResetClip();
    return std::make_unique<TCanvas>(std::move(impl));
}

void SetClipRegion(TCanvas &canvas, const QRegion &region) {
    TCanvas::Impl &impl = canvas.GetImpl();
    const TRect &s = impl.surface;
    *impl.clip = region.intersected(QRect(s.Left, s.Top, s.Width(), s.Height()));
    impl.ApplyClip();
}

void EndPainting(TCanvas &canvas) {
    canvas.GetImpl().End();
}

} // namespace qt

namespace {

QRect ToQRect(const TRect &r) {
    return QRect(r.Left, r.Top, r.Width(), r.Height());
}

// Pixels of a one-pixel line from a up to, not including, b (Bresenham).
std::vector<QPoint> LinePixels(TPoint a, TPoint b) {
    std::vector<QPoint> pts;
    int dx = std::abs(b.X - a.X), sx = a.X < b.X ? 1 : -1;
    int dy = -std::abs(b.Y - a.Y), sy = a.Y < b.Y ? 1 : -1;
    int err = dx + dy, x = a.X, y = a.Y;
    pts.reserve(size_t(std::max(dx, -dy)));
    while (x != b.X || y != b.Y) {
        pts.emplace_back(x, y);
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
    return pts;
}

Qt::PenStyle ToQtPenStyle(TPenStyle s) {
    switch (s) {
    case psDash:
        return Qt::DashLine;
    case psDot:
    case psAlternate:
        return Qt::DotLine;
    case psDashDot:
        return Qt::DashDotLine;
    case psDashDotDot:
        return Qt::DashDotDotLine;
    case psClear:
        return Qt::NoPen;
    default:
        return Qt::SolidLine;
    }
}

Qt::BrushStyle ToQtBrushStyle(TBrushStyle s) {
    switch (s) {
    case bsClear:
        return Qt::NoBrush;
    case bsHorizontal:
        return Qt::HorPattern;
    case bsVertical:
        return Qt::VerPattern;
    case bsFDiagonal:
        return Qt::FDiagPattern;
    case bsBDiagonal:
        return Qt::BDiagPattern;
    case bsCross:
        return Qt::CrossPattern;
    case bsDiagCross:
        return Qt::DiagCrossPattern;
    default:
        return Qt::SolidPattern;
    }
}

// The native brush: the pattern bitmap when there is one, else colour and style.
QBrush BrushOf(const TBrush &b) {
    if (const TBitmap *pattern = b.GetBitmap(); pattern && !pattern->Empty()) {
        return QBrush(qt::ImageOf(*pattern));
    }
    return QBrush(qt::ToQColor(b.GetColor()), ToQtBrushStyle(b.GetStyle()));
}

bool Fills(const TBrush &b) {
    return b.GetStyle() != bsClear || (b.GetBitmap() && !b.GetBitmap()->Empty());
}

// The colour and raster operation a pen mode draws with; false when nothing is drawn.
bool ApplyPenMode(QPainter &p, TPenMode mode, QColor &color) {
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    switch (mode) {
    case pmNop:
        return false;
    case pmBlack:
        color = Qt::black;
        break;
    case pmWhite:
        color = Qt::white;
        break;
    case pmNot:
        p.setCompositionMode(QPainter::RasterOp_NotDestination);
        break;
    case pmNotCopy:
        p.setCompositionMode(QPainter::RasterOp_NotSource);
        break;
    case pmXor:
        p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        break;
    default:
        break;
    }
    return true;
}

} // namespace

TCanvas::TCanvas(std::unique_ptr<Impl> impl) : FImpl(std::move(impl)) {}

TCanvas::~TCanvas() {
    if (FImpl && FImpl->external) {
        FImpl->external->restore();
    }
}

TPixelCanvas::TPixelCanvas(uint32_t *bits, int32_t width, int32_t height, int32_t strideBytes)
    : TCanvas(std::make_unique<Impl>()) {
    const bool valid = bits && width > 0 && height > 0 && strideBytes >= width * 4;
    FImpl->wrapped = valid ? std::make_unique<QImage>(reinterpret_cast<uchar *>(bits), width,
                                                      height, strideBytes, QImage::Format_RGB32)
                           : std::make_unique<QImage>();
    FImpl->image = FImpl->wrapped.get();
    FImpl->surface = valid ? Rect(0, 0, width, height) : TRect{};
    FImpl->ResetClip();
}

TSize TCanvas::GetSurfaceSize() const {
    return {FImpl->surface.Width(), FImpl->surface.Height()};
}

TRect TCanvas::GetClipRect() const {
    const QRect b = FImpl->clip->boundingRect();
    return b.isEmpty() ? TRect{} : Bounds(b.left(), b.top(), b.width(), b.height());
}

void TCanvas::IntersectClipRect(const TRect &r) {
    *FImpl->clip &= QRegion(ToQRect(r));
    FImpl->ApplyClip();
}

void TCanvas::ExcludeClipRect(const TRect &r) {
    *FImpl->clip -= QRegion(ToQRect(r));
    FImpl->ApplyClip();
}

void TCanvas::UnionClipRect(const TRect &r) {
    const TRect s = FImpl->surface;
    *FImpl->clip |= QRegion(ToQRect(r)) & QRegion(s.Left, s.Top, s.Width(), s.Height());
    FImpl->ApplyClip();
}

void TCanvas::ResetClipRect() {
    FImpl->ResetClip();
}

bool TCanvas::PtVisible(TPoint p) const {
    return FImpl->ClipContains(p);
}

int32_t TCanvas::SaveDC() {
    Impl::Saved s;
    s.font = FFont;
    s.pen = FPen;
    s.brush = FBrush;
    s.penPos = FPenPos;
    s.clip = std::make_unique<QRegion>(*FImpl->clip);
    FImpl->saved.push_back(std::move(s));
    return int32_t(FImpl->saved.size());
}

bool TCanvas::RestoreDC(int32_t level) {
    const int32_t depth = int32_t(FImpl->saved.size());
    const int32_t target = level < 0 ? depth + level + 1 : level;
    if (target < 1 || target > depth) {
        return false;
    }
    Impl::Saved &s = FImpl->saved[size_t(target - 1)];
    FFont = s.font;
    FPen = s.pen;
    FBrush = s.brush;
    FPenPos = s.penPos;
    *FImpl->clip = *s.clip;
    FImpl->saved.resize(size_t(target - 1));
    FImpl->ApplyClip();
    return true;
}

void TCanvas::LineTo(int32_t x, int32_t y) {
    const TPoint from = FPenPos;
    FPenPos = {x, y};
    if (FPen.GetStyle() == psClear || FImpl->clip->isEmpty()) {
        return;
    }
    QPainter &p = FImpl->Painter();
    QColor color = qt::ToQColor(FPen.GetColor());
    if (!ApplyPenMode(p, FPen.GetMode(), color)) {
        return;
    }
    p.setRenderHint(QPainter::Antialiasing, false);
    if (FPen.GetWidth() <= 1 && (FPen.GetStyle() == psSolid || FPen.GetStyle() == psInsideFrame)) {
        p.setPen(QPen(color, 1, Qt::SolidLine, Qt::SquareCap));
        const std::vector<QPoint> pts = LinePixels(from, FPenPos);
        p.drawPoints(pts.data(), int(pts.size()));
    } else {
        p.setPen(QPen(color, FPen.GetWidth(), ToQtPenStyle(FPen.GetStyle()), Qt::FlatCap));
        p.drawLine(QPointF(from.X + 0.5, from.Y + 0.5), QPointF(x + 0.5, y + 0.5));
    }
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void TCanvas::Polyline(const std::vector<TPoint> &points) {
    // Like a run of LineTo calls that neither uses nor moves the pen position.
    const TPoint pen = FPenPos;
    if (!points.empty()) {
        MoveTo(points[0].X, points[0].Y);
        for (size_t i = 1; i < points.size(); ++i) {
            LineTo(points[i].X, points[i].Y);
        }
    }
    FPenPos = pen;
}

void TCanvas::Polygon(const std::vector<TPoint> &points) {
    if (points.size() < 2) {
        return;
    }
    QPainter &p = FImpl->Painter();
    QPolygon poly;
    for (const TPoint &pt : points) {
        poly << QPoint(pt.X, pt.Y);
    }
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::NoPen);
    p.setBrush(Fills(FBrush) ? BrushOf(FBrush) : QBrush());
    p.drawPolygon(poly);
    const TPoint pen = FPenPos;
    MoveTo(points.back().X, points.back().Y);
    for (const TPoint &pt : points) {
        LineTo(pt.X, pt.Y);
    }
    FPenPos = pen;
}

void TCanvas::FillRect(const TRect &r) {
    if (r.IsEmpty() || !Fills(FBrush)) {
        return;
    }
    QPainter &p = FImpl->Painter();
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.setBrushOrigin(0, 0);
    p.fillRect(ToQRect(r), BrushOf(FBrush));
}

void TCanvas::FrameRect(const TRect &r) {
    if (r.IsEmpty()) {
        return;
    }
    QPainter &p = FImpl->Painter();
    const QColor c = qt::ToQColor(FBrush.GetColor());
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.fillRect(QRect(r.Left, r.Top, r.Width(), 1), c);
    p.fillRect(QRect(r.Left, r.Bottom - 1, r.Width(), 1), c);
    p.fillRect(QRect(r.Left, r.Top, 1, r.Height()), c);
    p.fillRect(QRect(r.Right - 1, r.Top, 1, r.Height()), c);
}

void TCanvas::Rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    TRect r = Rect(std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2));
    if (FPen.GetStyle() == psClear) {
        FillRect(Rect(r.Left, r.Top, r.Right - 1, r.Bottom - 1));
        return;
    }
    const int w = FPen.GetWidth();
    TRect outer = r;
    if (FPen.GetStyle() != psInsideFrame && w > 1) {
        // A wide pen is centred on the frame line, as GDI draws it.
        outer.Inflate((w - 1) / 2, (w - 1) / 2);
    }
    TRect inner = outer;
    inner.Inflate(-w, -w);
    FillRect(inner);
    QPainter &p = FImpl->Painter();
    QColor color = qt::ToQColor(FPen.GetColor());
    if (!ApplyPenMode(p, FPen.GetMode(), color)) {
        return;
    }
    if (FPen.GetStyle() == psSolid || FPen.GetStyle() == psInsideFrame || w > 1) {
        QRegion ring = QRegion(ToQRect(outer)).subtracted(QRegion(ToQRect(inner)));
        for (const QRect &band : ring) {
            p.fillRect(band, color);
        }
    } else {
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(QPen(color, 1, ToQtPenStyle(FPen.GetStyle())));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRect(r.Left, r.Top, r.Width() - 1, r.Height() - 1));
    }
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void TCanvas::Ellipse(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    QPainter &p = FImpl->Painter();
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.setRenderHint(QPainter::Antialiasing, false);
    if (FPen.GetStyle() == psClear) {
        p.setPen(Qt::NoPen);
    } else {
        p.setPen(
            QPen(qt::ToQColor(FPen.GetColor()), FPen.GetWidth(), ToQtPenStyle(FPen.GetStyle())));
    }
    p.setBrush(Fills(FBrush) ? BrushOf(FBrush) : QBrush());
    p.drawEllipse(QRect(x1, y1, x2 - x1 - 1, y2 - y1 - 1));
}

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

void TCanvas::CopyRect(const TRect &dest, TCanvas &source, const TRect &src) {
    QImage *img = source.FImpl->image;
    if (!img || dest.IsEmpty() || src.IsEmpty()) {
        return;
    }
    source.FImpl->End();
    const QImage copy = img->copy(ToQRect(src));
    QPainter &p = FImpl->Painter();
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(ToQRect(dest), copy);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

namespace {

// The part of 32-bit memory to show, as an opaque image. Qt copies an RGB32 image's bytes
// unchanged into targets that keep alpha, so memory with any alpha byte other than 255 is
// copied with the byte set; opaque memory is read in place.
QImage OpaqueView(const uint32_t *bits, int32_t width, int32_t height, int32_t strideBytes,
                  const TRect &part) {
    const auto row = [&](int32_t y) {
        return reinterpret_cast<const uint32_t *>(reinterpret_cast<const uchar *>(bits) +
                                                  ptrdiff_t(y) * strideBytes);
    };
    uint32_t all = 0xFF000000u;
    for (int32_t y = part.Top; y < part.Bottom; ++y) {
        const uint32_t *r = row(y);
        for (int32_t x = part.Left; x < part.Right; ++x) {
            all &= r[x];
        }
    }
    if ((all & 0xFF000000u) == 0xFF000000u) {
        return QImage(reinterpret_cast<const uchar *>(bits), width, height, strideBytes,
                      QImage::Format_RGB32);
    }
    QImage copy(part.Width(), part.Height(), QImage::Format_RGB32);
    for (int32_t y = part.Top; y < part.Bottom; ++y) {
        const uint32_t *r = row(y);
        auto *out = reinterpret_cast<uint32_t *>(copy.scanLine(y - part.Top));
        for (int32_t x = part.Left; x < part.Right; ++x) {
            out[x - part.Left] = r[x] | 0xFF000000u;
        }
    }
    return copy;
}

} // namespace

void TCanvas::DrawPixels32(const TRect &dest, const uint32_t *bits, int32_t width, int32_t height,
                           int32_t strideBytes, const TRect &src) {
    if (!bits || width <= 0 || height <= 0 || strideBytes < width * 4 || dest.IsEmpty() ||
        src.IsEmpty()) {
        return;
    }
    const TRect inside = IntersectRect(src, Rect(0, 0, width, height));
    if (inside.IsEmpty()) {
        return;
    }
    // Parts of src outside the memory are dropped, with the matching part of dest.
    const double sx = double(dest.Width()) / src.Width();
    const double sy = double(dest.Height()) / src.Height();
    const QRectF target(dest.Left + (inside.Left - src.Left) * sx,
                        dest.Top + (inside.Top - src.Top) * sy, inside.Width() * sx,
                        inside.Height() * sy);
    const QImage view = OpaqueView(bits, width, height, strideBytes, inside);
    const bool inPlace = view.constBits() == reinterpret_cast<const uchar *>(bits);
    const QRectF from =
        inPlace ? QRectF(ToQRect(inside)) : QRectF(0, 0, inside.Width(), inside.Height());
    QPainter &p = FImpl->Painter();
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    p.drawImage(target, view, from);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void TCanvas::DrawFocusRect(const TRect &r) {
    if (r.IsEmpty()) {
        return;
    }
    QPainter &p = FImpl->Painter();
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    // Every other pixel of the frame, counted from the top-left corner, is inverted.
    auto dot = [&](int x, int y) {
        if ((x - r.Left + y - r.Top) % 2 == 0) {
            p.fillRect(QRect(x, y, 1, 1), Qt::white);
        }
    };
    for (int x = r.Left; x < r.Right; ++x) {
        dot(x, r.Top);
        if (r.Bottom - 1 > r.Top) {
            dot(x, r.Bottom - 1);
        }
    }
    for (int y = r.Top + 1; y < r.Bottom - 1; ++y) {
        dot(r.Left, y);
        if (r.Right - 1 > r.Left) {
            dot(r.Right - 1, y);
        }
    }
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

TColor TCanvas::GetPixel(int32_t x, int32_t y) {
    if (!FImpl->ClipContains({x, y})) {
        return -1;
    }
    QImage *img = FImpl->image;
    QPoint at(x, y);
    if (!img && FImpl->external) {
        // A control's paint draws into the window's backing image; read it there, through
        // the painter's mapping to that image's pixels.
        QPaintEngine *engine = FImpl->external->paintEngine();
        QPaintDevice *device = engine ? engine->paintDevice() : nullptr;
        if (device && device->devType() == QInternal::Image) {
            img = static_cast<QImage *>(device);
            at = FImpl->external->deviceTransform().map(at);
        }
    }
    if (!img || !img->valid(at)) {
        return -1;
    }
    return qt::FromQColor(QColor(img->pixel(at)));
}

void TCanvas::SetPixel(int32_t x, int32_t y, TColor color) {
    if (!FImpl->ClipContains({x, y})) {
        return;
    }
    QPainter &p = FImpl->Painter();
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.fillRect(QRect(x, y, 1, 1), qt::ToQColor(color));
}

} // namespace gfx
