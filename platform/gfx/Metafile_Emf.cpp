// The enhanced-metafile writer: a metafile's records as EMR_ records (the openly documented
// EMF format): header with frame and reference device, mapping, objects, clipping, shapes,
// EMR_EXTTEXTOUTW with advances, EMR_STRETCHDIBITS and EMR_ALPHABLEND, EMR_EOF.
#include "platform/gfx/Metafile_p.h"

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/MetafileWriter_p.h"

#include <algorithm>
#include <cmath>

namespace gfx {

namespace {

enum : uint32_t {
    EMR_HEADER = 1,
    EMR_POLYGON = 3,
    EMR_POLYLINE = 4,
    EMR_POLYPOLYGON = 8,
    EMR_SETWINDOWEXTEX = 9,
    EMR_SETWINDOWORGEX = 10,
    EMR_SETVIEWPORTEXTEX = 11,
    EMR_SETVIEWPORTORGEX = 12,
    EMR_SETBRUSHORGEX = 13,
    EMR_EOF = 14,
    EMR_SETPIXELV = 15,
    EMR_SETMAPMODE = 17,
    EMR_SETBKMODE = 18,
    EMR_SETPOLYFILLMODE = 19,
    EMR_SETROP2 = 20,
    EMR_SETTEXTALIGN = 22,
    EMR_SETTEXTCOLOR = 24,
    EMR_SETBKCOLOR = 25,
    EMR_MOVETOEX = 27,
    EMR_INTERSECTCLIPRECT = 30,
    EMR_SETWORLDTRANSFORM = 35,
    EMR_SELECTOBJECT = 37,
    EMR_CREATEPEN = 38,
    EMR_CREATEBRUSHINDIRECT = 39,
    EMR_DELETEOBJECT = 40,
    EMR_ELLIPSE = 42,
    EMR_RECTANGLE = 43,
    EMR_ROUNDRECT = 44,
    EMR_ARC = 45,
    EMR_CHORD = 46,
    EMR_PIE = 47,
    EMR_LINETO = 54,
    EMR_EXTSELECTCLIPRGN = 75,
    EMR_BITBLT = 76,
    EMR_STRETCHDIBITS = 81,
    EMR_EXTCREATEFONTINDIRECTW = 82,
    EMR_EXTTEXTOUTW = 84,
    EMR_CREATEDIBPATTERNBRUSHPT = 94,
    EMR_EXTCREATEPEN = 95,
    EMR_ALPHABLEND = 114,
};

constexpr uint32_t PatCopy = 0x00F00021u, SrcCopy = 0x00CC0020u;

// EMF records: a type, a size (patched when the record ends), little-endian fields.
class TEmfWriter : public detail::TByteWriter {
public:
    size_t Begin(uint32_t type) {
        const size_t at = Size();
        Put32(type);
        Put32(0);
        return at;
    }
    void End(size_t at) {
        Align4();
        Patch32(at + 4, uint32_t(Size() - at));
        ++Records;
    }
    void Simple(uint32_t type, std::initializer_list<int32_t> values) {
        const size_t at = Begin(type);
        for (int32_t v : values) {
            Put32(uint32_t(v));
        }
        End(at);
    }
    void PutRect(const TRect &r) {
        for (int32_t v : {r.Left, r.Top, r.Right, r.Bottom}) {
            Put32(uint32_t(v));
        }
    }
    uint32_t Records = 0;
};

struct TEmfState {
    TMetaAttributes Attributes; // what the file has selected
    bool HaveAttributes = false;
    uint32_t Pen = 0, Brush = 0, Font = 0; // handles selected (0: none created yet)
    int32_t GraphicsMode = GM_COMPATIBLE;
    TAffine Map; // logical to device of the current mapping, for record bounds
    TRect Bounds{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
};

uint32_t PenStyle(TPenStyle s) {
    switch (s) {
    case psDash:
        return 1;
    case psDot:
    case psAlternate:
        return 2;
    case psDashDot:
        return 3;
    case psDashDotDot:
        return 4;
    case psClear:
        return 5;
    case psInsideFrame:
        return 6;
    default:
        return 0;
    }
}

// Pens, brushes and fonts go to two handles each, used in turn: the new one is made and
// selected before the old one is deleted.
uint32_t NextHandle(uint32_t current, uint32_t first) {
    return current == first ? first + 1 : first;
}

// One-pixel pens as plain pens; wider ones as the geometric pens GDI makes of them (solid,
// with their ends and joins).
void WritePen(TEmfWriter &w, TEmfState &st, const TPen &pen) {
    const uint32_t handle = NextHandle(st.Pen, 1);
    const bool cosmetic = pen.GetWidth() <= 1 || pen.GetStyle() == psClear;
    const size_t at = w.Begin(cosmetic ? EMR_CREATEPEN : EMR_EXTCREATEPEN);
    w.Put32(handle);
    if (cosmetic) {
        w.Put32(PenStyle(pen.GetStyle()));
        w.Put32(uint32_t(pen.GetWidth()));
        w.Put32(0);
        w.Put32(ColorToRGB(pen.GetColor()));
    } else {
        for (int i = 0; i < 2; ++i) {
            w.Put32(52); // no brush bitmap: offsets at the record's end, sizes 0
            w.Put32(0);
        }
        const uint32_t cap = pen.GetEndCap() == pecSquare ? 0x100
                             : pen.GetEndCap() == pecFlat ? 0x200
                                                          : 0;
        const uint32_t join = pen.GetJoinStyle() == pjsBevel   ? 0x1000
                              : pen.GetJoinStyle() == pjsMiter ? 0x2000
                                                               : 0;
        const uint32_t style = pen.GetStyle() == psInsideFrame ? 6 : 0;
        w.Put32(0x10000 | cap | join | style); // PS_GEOMETRIC
        w.Put32(uint32_t(pen.GetWidth()));
        w.Put32(0); // BS_SOLID
        w.Put32(ColorToRGB(pen.GetColor()));
        w.Put32(0);
        w.Put32(0);
    }
    w.End(at);
    w.Simple(EMR_SELECTOBJECT, {int32_t(handle)});
    if (st.Pen) {
        w.Simple(EMR_DELETEOBJECT, {int32_t(st.Pen)});
    }
    st.Pen = handle;
}

void WriteBrush(TEmfWriter &w, TEmfState &st, const TBrush &brush, const TBitmap *pattern) {
    const uint32_t handle = NextHandle(st.Brush, 3);
    if (pattern) {
        const size_t at = w.Begin(EMR_CREATEDIBPATTERNBRUSHPT);
        w.Put32(handle);
        w.Put32(0); // DIB_RGB_COLORS
        const uint32_t bitsSize = uint32_t(pattern->GetWidth() * pattern->GetHeight() * 4);
        w.Put32(32);
        w.Put32(40);
        w.Put32(72);
        w.Put32(bitsSize);
        detail::PutBitmapInfo(w, pattern->GetWidth(), pattern->GetHeight());
        for (int32_t y = pattern->GetHeight() - 1; y >= 0; --y) {
            for (int32_t x = 0; x < pattern->GetWidth(); ++x) {
                w.Put32(pattern->ScanLine(y)[x] | 0xFF000000u);
            }
        }
        w.End(at);
    } else {
        const size_t at = w.Begin(EMR_CREATEBRUSHINDIRECT);
        w.Put32(handle);
        const TBrushStyle s = brush.GetStyle();
        w.Put32(s == bsSolid ? 0 : s == bsClear ? 1 : 2); // BS_SOLID, BS_NULL, BS_HATCHED
        w.Put32(ColorToRGB(brush.GetColor()));
        w.Put32(s >= bsHorizontal ? uint32_t(s - bsHorizontal) : 0); // HS_ in the same order
        w.End(at);
    }
    w.Simple(EMR_SELECTOBJECT, {int32_t(handle)});
    if (st.Brush) {
        w.Simple(EMR_DELETEOBJECT, {int32_t(st.Brush)});
    }
    st.Brush = handle;
}

void WriteFont(TEmfWriter &w, TEmfState &st, const TLogFont &lf) {
    const uint32_t handle = NextHandle(st.Font, 5);
    const size_t at = w.Begin(EMR_EXTCREATEFONTINDIRECTW);
    w.Put32(handle);
    detail::PutLogFont(w, lf);
    // The LOGFONTPANOSE tail: full name, style, version, size, match, reserved, vendor,
    // culture, panose and padding, all empty.
    w.PutZeros(128 + 64 + 6 * 4 + 10 + 2);
    w.End(at);
    w.Simple(EMR_SELECTOBJECT, {int32_t(handle)});
    if (st.Font) {
        w.Simple(EMR_DELETEOBJECT, {int32_t(st.Font)});
    }
    st.Font = handle;
}

void WriteAttributes(TEmfWriter &w, TEmfState &st, const TMetaAttributes &a) {
    const TMetaAttributes &o = st.Attributes;
    const bool all = !st.HaveAttributes;
    const auto changed = [&](auto mine, auto theirs) { return all || !(mine == theirs); };
    const TPen &p = a.Pen, &q = o.Pen;
    if (all || p.GetColor() != q.GetColor() || p.GetWidth() != q.GetWidth() ||
        p.GetStyle() != q.GetStyle() || p.GetEndCap() != q.GetEndCap() ||
        p.GetJoinStyle() != q.GetJoinStyle()) {
        WritePen(w, st, p);
    }
    if (changed(p.GetMode(), q.GetMode())) {
        w.Simple(EMR_SETROP2, {detail::Rop2Of(p.GetMode())});
    }
    if (all || a.Brush.GetColor() != o.Brush.GetColor() ||
        a.Brush.GetStyle() != o.Brush.GetStyle() || a.Pattern != o.Pattern) {
        WriteBrush(w, st, a.Brush, a.Pattern.get());
    }
    if (changed(a.Font, o.Font)) {
        WriteFont(w, st, a.Font);
    }
    if (changed(a.TextColor, o.TextColor)) {
        w.Simple(EMR_SETTEXTCOLOR, {int32_t(ColorToRGB(a.TextColor))});
    }
    if (changed(a.BkColor, o.BkColor)) {
        w.Simple(EMR_SETBKCOLOR, {int32_t(ColorToRGB(a.BkColor))});
    }
    if (changed(a.BkMode, o.BkMode)) {
        w.Simple(EMR_SETBKMODE, {a.BkMode});
    }
    if (changed(a.TextAlign, o.TextAlign)) {
        w.Simple(EMR_SETTEXTALIGN, {int32_t(a.TextAlign)});
    }
    if (changed(a.PolyFillMode, o.PolyFillMode)) {
        w.Simple(EMR_SETPOLYFILLMODE, {a.PolyFillMode});
    }
    if (changed(a.BrushOrg, o.BrushOrg)) {
        w.Simple(EMR_SETBRUSHORGEX, {a.BrushOrg.X, a.BrushOrg.Y});
    }
    st.Attributes = a;
    st.HaveAttributes = true;
}

void WriteMapping(TEmfWriter &w, TEmfState &st, const TMetaMapping &m) {
    w.Simple(EMR_SETMAPMODE, {m.Text ? MM_TEXT : MM_ANISOTROPIC});
    if (!m.Text) {
        w.Simple(EMR_SETWINDOWEXTEX, {m.WindowExt.cx, m.WindowExt.cy});
        w.Simple(EMR_SETVIEWPORTEXTEX, {m.ViewportExt.cx, m.ViewportExt.cy});
    }
    w.Simple(EMR_SETWINDOWORGEX, {m.WindowOrg.X, m.WindowOrg.Y});
    w.Simple(EMR_SETVIEWPORTORGEX, {m.ViewportOrg.X, m.ViewportOrg.Y});
    const size_t at = w.Begin(EMR_SETWORLDTRANSFORM);
    for (float f :
         {m.World.eM11, m.World.eM12, m.World.eM21, m.World.eM22, m.World.eDx, m.World.eDy}) {
        w.PutFloat(f);
    }
    w.End(at);
    st.GraphicsMode = m.GraphicsMode;
    st.Map = detail::MapOf(m);
}

void WriteClip(TEmfWriter &w, TEmfState &st, const TSetClip &c) {
    const size_t at = w.Begin(EMR_EXTSELECTCLIPRGN);
    if (!c.HasClip) {
        w.Put32(0);
        w.Put32(RGN_COPY);
        w.End(at);
        return;
    }
    const std::vector<TRect> &rects = c.Clip.GetRects();
    w.Put32(uint32_t(32 + 16 * rects.size()));
    w.Put32(RGN_COPY);
    w.Put32(32); // RGNDATAHEADER
    w.Put32(1);  // RDH_RECTANGLES
    w.Put32(uint32_t(rects.size()));
    w.Put32(uint32_t(16 * rects.size()));
    w.PutRect(c.Clip.GetBounds());
    for (const TRect &r : rects) {
        w.PutRect(r);
    }
    w.End(at);
    (void)st;
}

// The device box of logical points under the current mapping, grown into the header's.
TRect BoundsOf(TEmfState &st, const std::vector<TPoint> &points) {
    TRect b{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
    for (const TPoint &p : points) {
        const TPointF d = st.Map.Map(double(p.X), double(p.Y));
        const int32_t x = int32_t(std::clamp(std::lround(d.X), -2000000000L, 2000000000L));
        const int32_t y = int32_t(std::clamp(std::lround(d.Y), -2000000000L, 2000000000L));
        b = {std::min(b.Left, x), std::min(b.Top, y), std::max(b.Right, x), std::max(b.Bottom, y)};
    }
    if (!points.empty()) {
        st.Bounds = {std::min(st.Bounds.Left, b.Left), std::min(st.Bounds.Top, b.Top),
                     std::max(st.Bounds.Right, b.Right), std::max(st.Bounds.Bottom, b.Bottom)};
    }
    return b;
}

std::vector<TPoint> Corners(const TRect &r) {
    return {r.TopLeft(), {r.Right, r.Top}, r.BottomRight(), {r.Left, r.Bottom}};
}

void WritePoints(TEmfWriter &w, TEmfState &st, uint32_t type, const std::vector<TPoint> &pts) {
    const size_t at = w.Begin(type);
    w.PutRect(BoundsOf(st, pts));
    w.Put32(uint32_t(pts.size()));
    for (const TPoint &p : pts) {
        w.Put32(uint32_t(p.X));
        w.Put32(uint32_t(p.Y));
    }
    w.End(at);
}

// A brush fill of r: the pattern block transfer GDI records for FillRect.
void WritePatBlt(TEmfWriter &w, TEmfState &st, const TRect &r) {
    const size_t at = w.Begin(EMR_BITBLT);
    w.PutRect(BoundsOf(st, Corners(r)));
    for (int32_t v : {r.Left, r.Top, r.Width(), r.Height()}) {
        w.Put32(uint32_t(v));
    }
    w.Put32(PatCopy);
    w.Put32(0);
    w.Put32(0);
    for (float f : {1.f, 0.f, 0.f, 1.f, 0.f, 0.f}) {
        w.PutFloat(f);
    }
    w.PutZeros(4 * 6); // background colour, usage, no source bitmap
    w.End(at);
}

void WriteText(TEmfWriter &w, TEmfState &st, const TCanvasOp &op, int32_t dpi) {
    const size_t at = w.Begin(EMR_EXTTEXTOUTW);
    w.PutRect(BoundsOf(st, {op.Points[0]}));
    w.Put32(uint32_t(st.GraphicsMode));
    const float scale = float(2540.0 / std::max(1, dpi)); // page units to 0.01 mm
    w.PutFloat(scale);
    w.PutFloat(scale);
    const uint32_t n = uint32_t(op.Text.size());
    const uint32_t stringOffset = 76;
    const uint32_t dxOffset = stringOffset + ((n * 2 + 3) & ~3u);
    w.Put32(uint32_t(op.Points[0].X));
    w.Put32(uint32_t(op.Points[0].Y));
    w.Put32(n);
    w.Put32(stringOffset);
    w.Put32(op.Options);
    w.PutRect(op.HasRect ? op.Rect : TRect{0, 0, -1, -1});
    w.Put32(dxOffset);
    for (char16_t c : op.Text) {
        w.Put16(c);
    }
    w.Align4();
    for (uint32_t i = 0; i < n; ++i) {
        w.Put32(uint32_t(i < op.Dx.size() ? op.Dx[i] : 0));
    }
    w.End(at);
}

void WriteImage(TEmfWriter &w, TEmfState &st, const TDrawOp &d) {
    const TCanvasOp &op = d.Op;
    const int32_t width = op.Pixels.Width, height = op.Pixels.Height;
    const bool blend = op.Kind == TCanvasOpKind::AlphaBlend;
    const bool perPixel = blend && (op.Blend.AlphaFormat & AC_SRC_ALPHA);
    const uint32_t header = blend ? 108 : 80;
    const uint32_t bitsSize = uint32_t(width) * uint32_t(height) * 4;
    const TRect &r = op.Rect, &s = op.Source;
    const size_t at = w.Begin(blend ? EMR_ALPHABLEND : EMR_STRETCHDIBITS);
    w.PutRect(BoundsOf(st, Corners(r)));
    if (blend) {
        for (int32_t v : {r.Left, r.Top, r.Width(), r.Height()}) {
            w.Put32(uint32_t(v));
        }
        w.Put8(AC_SRC_OVER);
        w.Put8(0);
        w.Put8(op.Blend.SourceConstantAlpha);
        w.Put8(perPixel ? AC_SRC_ALPHA : 0);
        w.Put32(uint32_t(s.Left));
        w.Put32(uint32_t(s.Top));
        for (float f : {1.f, 0.f, 0.f, 1.f, 0.f, 0.f}) {
            w.PutFloat(f);
        }
        w.Put32(0); // background colour
        w.Put32(0); // DIB_RGB_COLORS
        w.Put32(header);
        w.Put32(40);
        w.Put32(header + 40);
        w.Put32(bitsSize);
        w.Put32(uint32_t(s.Width()));
        w.Put32(uint32_t(s.Height()));
    } else {
        w.Put32(uint32_t(r.Left));
        w.Put32(uint32_t(r.Top));
        w.Put32(uint32_t(s.Left));
        w.Put32(uint32_t(height - s.Bottom)); // DIB rows count from the bottom
        w.Put32(uint32_t(s.Width()));
        w.Put32(uint32_t(s.Height()));
        w.Put32(header);
        w.Put32(40);
        w.Put32(header + 40);
        w.Put32(bitsSize);
        w.Put32(0); // DIB_RGB_COLORS
        w.Put32(SrcCopy);
        w.Put32(uint32_t(r.Width()));
        w.Put32(uint32_t(r.Height()));
    }
    detail::PutBitmapInfo(w, width, height);
    // Bottom-up rows; AlphaBlend takes premultiplied pixels, a block transfer opaque ones.
    for (int32_t y = height - 1; y >= 0; --y) {
        for (int32_t x = 0; x < width; ++x) {
            const uint32_t px = d.Pixels[size_t(y) * size_t(width) + size_t(x)];
            w.Put32(perPixel ? detail::Premultiplied(px) : px | 0xFF000000u);
        }
    }
    w.End(at);
    (void)st;
}

void WritePolyPolygon(TEmfWriter &w, TEmfState &st, const TCanvasOp &op) {
    if (op.Counts.size() == 1) {
        WritePoints(w, st, EMR_POLYGON, op.Points);
        return;
    }
    const size_t at = w.Begin(EMR_POLYPOLYGON);
    w.PutRect(BoundsOf(st, op.Points));
    w.Put32(uint32_t(op.Counts.size()));
    w.Put32(uint32_t(op.Points.size()));
    for (uint32_t c : op.Counts) {
        w.Put32(c);
    }
    for (const TPoint &p : op.Points) {
        w.Put32(uint32_t(p.X));
        w.Put32(uint32_t(p.Y));
    }
    w.End(at);
}

// A translucent fill: a one-pixel picture of the colour blended over the rectangle.
void WriteAlphaFill(TEmfWriter &w, TEmfState &st, const TCanvasOp &op) {
    if (op.Alpha == 0 || op.Color == clNone) {
        return;
    }
    TDrawOp blend;
    blend.Op.Kind = TCanvasOpKind::AlphaBlend;
    blend.Op.Rect = op.Rect;
    blend.Op.Source = Rect(0, 0, 1, 1);
    blend.Op.Pixels = {nullptr, 1, 1, 4};
    blend.Op.Blend.SourceConstantAlpha = op.Alpha;
    const uint32_t c = ColorToRGB(op.Color);
    blend.Pixels = {0xFF000000u | (uint32_t(GetRValue(c)) << 16) | (uint32_t(GetGValue(c)) << 8) |
                    GetBValue(c)};
    WriteImage(w, st, blend);
}

void WriteOp(TEmfWriter &w, TEmfState &st, const TDrawOp &d, int32_t dpi) {
    const TCanvasOp &op = d.Op;
    const TRect &r = op.Rect;
    auto box = [&](uint32_t type, std::initializer_list<int32_t> extra) {
        const size_t at = w.Begin(type);
        w.PutRect(r);
        for (int32_t v : extra) {
            w.Put32(uint32_t(v));
        }
        w.End(at);
        BoundsOf(st, Corners(r));
    };
    switch (op.Kind) {
    case TCanvasOpKind::LineTo:
        w.Simple(EMR_MOVETOEX, {op.Points[0].X, op.Points[0].Y});
        w.Simple(EMR_LINETO, {op.Points[1].X, op.Points[1].Y});
        BoundsOf(st, op.Points);
        break;
    case TCanvasOpKind::Polyline:
        WritePoints(w, st, EMR_POLYLINE, op.Points);
        break;
    case TCanvasOpKind::PolyPolygon:
        WritePolyPolygon(w, st, op);
        break;
    case TCanvasOpKind::Rectangle:
        box(EMR_RECTANGLE, {});
        break;
    case TCanvasOpKind::Ellipse:
        box(EMR_ELLIPSE, {});
        break;
    case TCanvasOpKind::RoundRect:
        box(EMR_ROUNDRECT, {op.Corner.cx, op.Corner.cy});
        break;
    case TCanvasOpKind::Arc:
    case TCanvasOpKind::Pie:
    case TCanvasOpKind::Chord:
        box(op.Kind == TCanvasOpKind::Arc   ? EMR_ARC
            : op.Kind == TCanvasOpKind::Pie ? EMR_PIE
                                            : EMR_CHORD,
            {op.Points[0].X, op.Points[0].Y, op.Points[1].X, op.Points[1].Y});
        break;
    case TCanvasOpKind::FillRect:
        WritePatBlt(w, st, r);
        break;
    case TCanvasOpKind::FrameRect:
        for (const TRect &side : {TRect{r.Left, r.Top, r.Right, r.Top + 1},
                                  TRect{r.Left, r.Bottom - 1, r.Right, r.Bottom},
                                  TRect{r.Left, r.Top, r.Left + 1, r.Bottom},
                                  TRect{r.Right - 1, r.Top, r.Right, r.Bottom}}) {
            WritePatBlt(w, st, side);
        }
        break;
    case TCanvasOpKind::FillRectAlpha:
        WriteAlphaFill(w, st, op);
        break;
    case TCanvasOpKind::FocusRect:
        break; // an inversion of the screen: nothing to keep in a picture
    case TCanvasOpKind::SetPixel:
        w.Simple(EMR_SETPIXELV, {op.Points[0].X, op.Points[0].Y, int32_t(ColorToRGB(op.Color))});
        BoundsOf(st, op.Points);
        break;
    case TCanvasOpKind::ExtTextOut:
        WriteText(w, st, op, dpi);
        break;
    case TCanvasOpKind::StretchPixels:
    case TCanvasOpKind::AlphaBlend:
        WriteImage(w, st, d);
        break;
    }
}

} // namespace

std::vector<uint8_t> WriteEmf(const TMetafileRecords &records, int32_t width, int32_t height,
                              int32_t mmWidth, int32_t mmHeight) {
    TEmfWriter w;
    const TDeviceCaps &ref = records.Reference;
    const int32_t dpi = ref.LogPixelsX > 0 ? ref.LogPixelsX : 96;
    const std::u16string description =
        std::u16string(u"ECG workbench") + u'\0' + u"picture" + u'\0' + u'\0';
    // The header, its counts patched at the end.
    const size_t header = w.Begin(EMR_HEADER);
    w.PutRect({0, 0, std::max(0, width - 1), std::max(0, height - 1)});
    w.PutRect({0, 0, mmWidth, mmHeight});
    w.Put32(0x464D4520u); // " EMF"
    w.Put32(0x00010000u);
    w.Put32(0); // bytes, patched
    w.Put32(0); // records, patched
    w.Put16(7); // handles: the record table's slot 0 and two each for pen, brush, font
    w.Put16(0);
    w.Put32(uint32_t(description.size()));
    w.Put32(108);
    w.Put32(0); // palette entries
    const int32_t refWidth = ref.HorzRes > 0 ? ref.HorzRes : width;
    const int32_t refHeight = ref.VertRes > 0 ? ref.VertRes : height;
    w.Put32(uint32_t(refWidth));
    w.Put32(uint32_t(refHeight));
    w.Put32(uint32_t(std::lround(refWidth * 25.4 / dpi)));
    w.Put32(uint32_t(std::lround(refHeight * 25.4 / std::max(1, ref.LogPixelsY))));
    w.Put32(0); // no pixel format
    w.Put32(0);
    w.Put32(0); // not OpenGL
    w.Put32(uint32_t(std::lround(refWidth * 25400.0 / dpi)));
    w.Put32(uint32_t(std::lround(refHeight * 25400.0 / std::max(1, ref.LogPixelsY))));
    for (char16_t c : description) {
        w.Put16(c);
    }
    w.End(header);

    TEmfState st;
    for (const TMetaRecord &record : InDevicePixels(records).Records) {
        if (const auto *m = std::get_if<TSetMapping>(&record)) {
            WriteMapping(w, st, m->Mapping);
        } else if (const auto *a = std::get_if<TSetAttributes>(&record)) {
            WriteAttributes(w, st, a->Attributes);
        } else if (const auto *p = std::get_if<TSetPenPos>(&record)) {
            w.Simple(EMR_MOVETOEX, {p->PenPos.X, p->PenPos.Y});
        } else if (const auto *c = std::get_if<TSetClip>(&record)) {
            WriteClip(w, st, *c);
        } else if (const auto *d = std::get_if<TDrawOp>(&record)) {
            WriteOp(w, st, *d, dpi);
        }
    }
    const size_t eof = w.Begin(EMR_EOF);
    w.Put32(0);
    w.Put32(16);
    w.Put32(20);
    w.End(eof);
    w.Patch32(header + 48, uint32_t(w.Size()));
    w.Patch32(header + 52, w.Records);
    return w.Take();
}

} // namespace gfx
