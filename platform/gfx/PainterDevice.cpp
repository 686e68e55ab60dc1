// TPainterDevice: device drawing on a QPainter; glyph runs through QRawFont of the same font
// files the font engine measured, so PDF files carry real text.
#include "platform/gfx/PainterDevice_p.h"

#include "platform/gfx/FontEngine.h"
#include "platform/gfx/QtBridge_p.h"

#include <QFont>
#include <QGlyphRun>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRawFont>
#include <QRegion>
#include <hb.h>

#include <cmath>
#include <map>
#include <mutex>

namespace gfx {

namespace {

QColor ColorOf(uint32_t bgr, uint8_t alpha = 255) {
    return QColor(GetRValue(bgr), GetGValue(bgr), GetBValue(bgr), alpha);
}

// The painter's composition for a mix; false when nothing is to be drawn.
bool ApplyMix(QPainter &p, TMixMode mix, bool raster) {
    if (mix == TMixMode::Nop) {
        return false;
    }
    if (!raster) {
        // Printers and PDF files cannot read back: inverting mixes are left out there.
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);
        return mix == TMixMode::Copy || mix == TMixMode::NotCopy;
    }
    switch (mix) {
    case TMixMode::Not:
        p.setCompositionMode(QPainter::RasterOp_NotDestination);
        break;
    case TMixMode::NotCopy:
        p.setCompositionMode(QPainter::RasterOp_NotSource);
        break;
    case TMixMode::Xor:
        p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        break;
    default:
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);
        break;
    }
    return true;
}

QBrush BrushOf(const TDeviceBrush &b, bool raster) {
    if (b.Pattern) {
        const QImage pattern(reinterpret_cast<const uchar *>(b.Pattern), b.PatternWidth,
                             b.PatternHeight, b.PatternStride, QImage::Format_ARGB32);
        return QBrush(pattern.copy());
    }
    const uint32_t color =
        (!raster && b.Mix == TMixMode::NotCopy) ? (~b.Color & 0xFFFFFF) : b.Color;
    return QBrush(ColorOf(color, b.Alpha));
}

QPainterPath PathOf(const TDevicePath &path) {
    QPainterPath qp;
    uint32_t begin = 0;
    for (const TDevicePath::TFigure &f : path.Figures) {
        if (f.End > begin) {
            qp.moveTo(path.Points[begin].X, path.Points[begin].Y);
            for (uint32_t i = begin + 1; i < f.End; ++i) {
                qp.lineTo(path.Points[i].X, path.Points[i].Y);
            }
            if (f.Closed) {
                qp.closeSubpath();
            }
        }
        begin = f.End;
    }
    return qp;
}

// The face as Qt's own font of the same file, so that a PDF embeds it as a font with its
// characters; loaded from the file directly when Qt's font list lacks it (drawn, but not
// embedded: Qt's PDF writer embeds only fonts it knows by file).
QRawFont BaseRawFont(const TFontFace &face) {
    const QString family = qt::ToQString(face.GetFamilyName());
    const QString style = qt::ToQString(face.GetStyleName());
    QFont font(family);
    font.setStyleName(style);
    font.setPixelSize(100);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::NoFontMerging);
    QRawFont raw = QRawFont::fromFont(font);
    if (raw.isValid() && raw.familyName() == family && raw.styleName() == style) {
        return raw;
    }
    return QRawFont(QString::fromStdString(face.GetFileName()), 100, QFont::PreferNoHinting);
}

// Raw fonts per face and pixel size; making a face's first one reads its file.
QRawFont RawFontOf(const TFontFace &face, double pixelSize) {
    qt::EnsureApplication(); // Qt's font engines need the application
    static std::mutex lock;
    // Kept until the process ends: Qt's font engines must not be released after Qt's globals.
    static auto &bases = *new std::map<const TFontFace *, QRawFont>();
    static auto &cache = *new std::map<std::pair<const TFontFace *, int64_t>, QRawFont>();
    const int64_t key = int64_t(std::llround(pixelSize * 64));
    std::lock_guard<std::mutex> guard(lock);
    auto found = cache.find({&face, key});
    if (found != cache.end()) {
        return found->second;
    }
    if (cache.size() > 256) {
        cache.clear();
    }
    auto base = bases.find(&face);
    if (base == bases.end()) {
        base = bases.emplace(&face, BaseRawFont(face)).first;
    }
    QRawFont raw = base->second;
    raw.setPixelSize(key / 64.0);
    cache.emplace(std::make_pair(&face, key), raw);
    return raw;
}

// Outlines from HarfBuzz, for faces QRawFont cannot open (a face past the first of a
// collection file): font units, y upward.
struct TOutline {
    QPainterPath Path;
};

void MoveTo(hb_draw_funcs_t *, void *data, hb_draw_state_t *, float x, float y, void *) {
    static_cast<TOutline *>(data)->Path.moveTo(x, -y);
}
void LineTo(hb_draw_funcs_t *, void *data, hb_draw_state_t *, float x, float y, void *) {
    static_cast<TOutline *>(data)->Path.lineTo(x, -y);
}
void QuadTo(hb_draw_funcs_t *, void *data, hb_draw_state_t *, float cx, float cy, float x, float y,
            void *) {
    static_cast<TOutline *>(data)->Path.quadTo(cx, -cy, x, -y);
}
void CubicTo(hb_draw_funcs_t *, void *data, hb_draw_state_t *, float c1x, float c1y, float c2x,
             float c2y, float x, float y, void *) {
    static_cast<TOutline *>(data)->Path.cubicTo(c1x, -c1y, c2x, -c2y, x, -y);
}
void Close(hb_draw_funcs_t *, void *data, hb_draw_state_t *, void *) {
    static_cast<TOutline *>(data)->Path.closeSubpath();
}

QPainterPath GlyphOutline(const TFontFace &face, uint32_t glyph) {
    static hb_draw_funcs_t *funcs = [] {
        hb_draw_funcs_t *f = hb_draw_funcs_create();
        hb_draw_funcs_set_move_to_func(f, MoveTo, nullptr, nullptr);
        hb_draw_funcs_set_line_to_func(f, LineTo, nullptr, nullptr);
        hb_draw_funcs_set_quadratic_to_func(f, QuadTo, nullptr, nullptr);
        hb_draw_funcs_set_cubic_to_func(f, CubicTo, nullptr, nullptr);
        hb_draw_funcs_set_close_path_func(f, Close, nullptr, nullptr);
        hb_draw_funcs_make_immutable(f);
        return f;
    }();
    TOutline outline;
    hb_font_get_glyph_shape(static_cast<hb_font_t *>(face.HbFont()), glyph, funcs, &outline);
    return outline.Path;
}

} // namespace

TPainterDevice::~TPainterDevice() = default;

QPainter *TPainterDevice::Ready() {
    QPainter *p = ActivePainter();
    if (p && !FClipApplied) {
        if (FHasClip) {
            QRegion region;
            std::vector<QRect> rects;
            rects.reserve(FClip.GetRects().size());
            for (const TRect &r : FClip.GetRects()) {
                rects.emplace_back(r.Left, r.Top, r.Width(), r.Height());
            }
            region.setRects(rects.data(), int(rects.size()));
            p->setClipRegion(region);
        } else {
            p->setClipping(false);
        }
        FClipApplied = true;
    }
    return p;
}

void TPainterDevice::SetClip(const TRegion *clip) {
    FHasClip = clip != nullptr;
    FClip = clip ? *clip : TRegion();
    FClipApplied = false;
}

void TPainterDevice::FillRects(const std::vector<TRect> &rects, const TDeviceBrush &brush) {
    QPainter *p = Ready();
    if (!p || !ApplyMix(*p, brush.Mix, FRaster)) {
        return;
    }
    p->setBrushOrigin(brush.Origin.X, brush.Origin.Y);
    const QBrush b = BrushOf(brush, FRaster);
    for (const TRect &r : rects) {
        p->fillRect(QRect(r.Left, r.Top, r.Width(), r.Height()), b);
    }
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void TPainterDevice::FillPath(const TDevicePath &path, TFillRule rule, const TDeviceBrush &brush) {
    QPainter *p = Ready();
    if (!p || !ApplyMix(*p, brush.Mix, FRaster)) {
        return;
    }
    QPainterPath qp = PathOf(path);
    qp.setFillRule(rule == TFillRule::Winding ? Qt::WindingFill : Qt::OddEvenFill);
    p->setRenderHint(QPainter::Antialiasing, !FRaster);
    p->setBrushOrigin(brush.Origin.X, brush.Origin.Y);
    p->fillPath(qp, BrushOf(brush, FRaster));
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void TPainterDevice::StrokePath(const TDevicePath &path, const TDevicePen &pen) {
    QPainter *p = Ready();
    if (!p || !ApplyMix(*p, pen.Mix, FRaster)) {
        return;
    }
    const uint32_t color =
        (!FRaster && pen.Mix == TMixMode::NotCopy) ? (~pen.Color & 0xFFFFFF) : pen.Color;
    QPen qpen(ColorOf(color), pen.Width);
    qpen.setCapStyle(pen.Cap == TLineCap::Square ? Qt::SquareCap
                     : pen.Cap == TLineCap::Flat ? Qt::FlatCap
                                                 : Qt::RoundCap);
    qpen.setJoinStyle(pen.Join == TLineJoin::Bevel   ? Qt::BevelJoin
                      : pen.Join == TLineJoin::Miter ? Qt::MiterJoin
                                                     : Qt::RoundJoin);
    if (!pen.Dashes.empty()) {
        QList<qreal> dashes;
        for (double d : pen.Dashes) {
            dashes.append(d / pen.Width);
        }
        qpen.setDashPattern(dashes);
        qpen.setDashOffset(pen.DashOffset / pen.Width);
    }
    p->setRenderHint(QPainter::Antialiasing, !FRaster);
    p->strokePath(PathOf(path), qpen);
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void TPainterDevice::DrawGlyphs(const TDeviceGlyphRun &run) {
    QPainter *p = Ready();
    if (!p || !run.Face || run.Glyphs.empty()) {
        return;
    }
    const TAffine &f = run.Frame;
    // Qt renders at the device size: the frame's scale goes into the pixel size.
    const double k = std::sqrt(std::abs(f.Determinant()));
    const double pixelSize = run.EmSize * k;
    if (!(k > 0) || pixelSize < 0.25 || pixelSize > 1e5) {
        return;
    }
    p->save();
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    p->setTransform(QTransform(f.M11 / k, f.M12 / k, f.M21 / k, f.M22 / k, f.Dx, f.Dy), true);
    p->setPen(ColorOf(run.Color));
    const double bold = run.SyntheticBold ? std::max(1.0, pixelSize / 32) : 0;
    if (run.Face->GetFaceIndex() == 0) {
        QGlyphRun glyphs;
        glyphs.setRawFont(RawFontOf(*run.Face, pixelSize));
        QList<quint32> ids;
        QList<QPointF> positions;
        for (size_t i = 0; i < run.Glyphs.size(); ++i) {
            ids.append(run.Glyphs[i]);
            positions.append(QPointF(run.Positions[i].X * k, run.Positions[i].Y * k));
        }
        glyphs.setGlyphIndexes(ids);
        glyphs.setPositions(positions);
        p->drawGlyphRun(QPointF(0, 0), glyphs);
        if (bold > 0) {
            p->drawGlyphRun(QPointF(bold, 0), glyphs);
        }
    } else {
        p->setRenderHint(QPainter::Antialiasing, true);
        const double unit = pixelSize / run.Face->GetMetrics().UnitsPerEm;
        for (size_t i = 0; i < run.Glyphs.size(); ++i) {
            QTransform at;
            at.translate(run.Positions[i].X * k, run.Positions[i].Y * k);
            at.scale(unit, unit);
            const QPainterPath outline = at.map(GlyphOutline(*run.Face, run.Glyphs[i]));
            p->fillPath(outline, ColorOf(run.Color));
            if (bold > 0) {
                p->fillPath(outline.translated(bold, 0), ColorOf(run.Color));
            }
        }
    }
    p->restore();
}

namespace {

// Pixels to show ignoring alpha: in place when all of the part is opaque, else a copy with
// alpha 255 (Qt would carry the byte into targets that keep alpha).
QImage OpaqueView(const TDeviceImage &image, const QRect &part) {
    const auto row = [&](int y) {
        return reinterpret_cast<const uint32_t *>(reinterpret_cast<const uchar *>(image.Bits) +
                                                  ptrdiff_t(y) * image.StrideBytes);
    };
    uint32_t all = 0xFF000000u;
    for (int y = part.top(); y <= part.bottom(); ++y) {
        const uint32_t *r = row(y);
        for (int x = part.left(); x <= part.right(); ++x) {
            all &= r[x];
        }
    }
    const QImage view(reinterpret_cast<const uchar *>(image.Bits), image.Width, image.Height,
                      image.StrideBytes, QImage::Format_RGB32);
    if ((all & 0xFF000000u) == 0xFF000000u) {
        return view;
    }
    QImage copy(image.Width, image.Height, QImage::Format_RGB32);
    copy.fill(0xFF000000u);
    for (int y = part.top(); y <= part.bottom(); ++y) {
        const uint32_t *r = row(y);
        auto *out = reinterpret_cast<uint32_t *>(copy.scanLine(y));
        for (int x = part.left(); x <= part.right(); ++x) {
            out[x] = r[x] | 0xFF000000u;
        }
    }
    return copy;
}

} // namespace

void TPainterDevice::DrawImage(const TDeviceImage &image, const TRectF &src,
                               const TAffine &srcToDevice) {
    QPainter *p = Ready();
    if (!p || src.IsEmpty()) {
        return;
    }
    const QRect part = QRectF(src.Left, src.Top, src.Width(), src.Height()).toAlignedRect() &
                       QRect(0, 0, image.Width, image.Height);
    if (part.isEmpty()) {
        return;
    }
    const QImage view = image.Alpha == TImageAlpha::Straight
                            ? QImage(reinterpret_cast<const uchar *>(image.Bits), image.Width,
                                     image.Height, image.StrideBytes, QImage::Format_ARGB32)
                            : OpaqueView(image, part);
    const TAffine &a = srcToDevice;
    p->save();
    p->setTransform(QTransform(a.M11, a.M12, a.M21, a.M22, a.Dx, a.Dy), true);
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    p->setRenderHint(QPainter::SmoothPixmapTransform, image.Smooth);
    p->setOpacity(image.ConstantAlpha / 255.0);
    const QRectF from(src.Left, src.Top, src.Width(), src.Height());
    p->drawImage(from, view, from);
    p->restore();
}

} // namespace gfx
