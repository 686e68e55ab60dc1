// The Windows-metafile writer (placeable WMF, as the Windows conversion from an enhanced
// metafile gives it): 16-bit records in the recording device's pixels under one anisotropic
// mapping, since WMF knows no world transform; shapes that a transform turns become polygons,
// text keeps its advances in the ANSI code page (1251) with its escapement turned along.
#include "platform/gfx/Metafile_p.h"

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/MetafileWriter_p.h"
#include "platform/gfx/Rasterize_p.h"
#include "platform/rtl/CodePages.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace gfx {

namespace {

enum : uint16_t {
    META_EOF = 0x0000,
    META_SAVEDC = 0x001E,
    META_SETBKMODE = 0x0102,
    META_SETMAPMODE = 0x0103,
    META_SETROP2 = 0x0104,
    META_SETPOLYFILLMODE = 0x0106,
    META_RESTOREDC = 0x0127,
    META_SELECTOBJECT = 0x012D,
    META_SETTEXTALIGN = 0x012E,
    META_DELETEOBJECT = 0x01F0,
    META_SETBKCOLOR = 0x0201,
    META_SETTEXTCOLOR = 0x0209,
    META_SETWINDOWORG = 0x020B,
    META_SETWINDOWEXT = 0x020C,
    META_CREATEPENINDIRECT = 0x02FA,
    META_CREATEFONTINDIRECT = 0x02FB,
    META_CREATEBRUSHINDIRECT = 0x02FC,
    META_LINETO = 0x0213,
    META_MOVETO = 0x0214,
    META_POLYGON = 0x0324,
    META_POLYLINE = 0x0325,
    META_INTERSECTCLIPRECT = 0x0416,
    META_ELLIPSE = 0x0418,
    META_RECTANGLE = 0x041B,
    META_SETPIXEL = 0x041F,
    META_POLYPOLYGON = 0x0538,
    META_ROUNDRECT = 0x061C,
    META_PATBLT = 0x061D,
    META_ARC = 0x0817,
    META_PIE = 0x081A,
    META_CHORD = 0x0830,
    META_EXTTEXTOUT = 0x0A32,
    META_STRETCHDIB = 0x0F43,
};

int16_t Clamp16(double v) {
    return int16_t(std::clamp(std::lround(v), -32768L, 32767L));
}

class TWmfWriter : public detail::TByteWriter {
public:
    size_t Begin(uint16_t function) {
        const size_t at = Size();
        Put32(0);
        Put16(function);
        return at;
    }
    void End(size_t at) {
        if (Size() % 2) {
            Put8(0);
        }
        const uint32_t words = uint32_t((Size() - at) / 2);
        Patch32(at, words);
        MaxRecord = std::max(MaxRecord, words);
    }
    void Simple(uint16_t function, std::initializer_list<int32_t> words) {
        const size_t at = Begin(function);
        for (int32_t v : words) {
            Put16(uint16_t(int16_t(std::clamp(v, -32768, 32767))));
        }
        End(at);
    }
    void Color(uint16_t function, TColor color) {
        const size_t at = Begin(function);
        Put32(ColorToRGB(color));
        End(at);
    }
    // Objects take the lowest free slot of the player's table, as WMF players assign them.
    uint16_t NewObject() {
        for (size_t i = 0; i < Slots.size(); ++i) {
            if (!Slots[i]) {
                Slots[i] = true;
                return uint16_t(i);
            }
        }
        Slots.push_back(true);
        return uint16_t(Slots.size() - 1);
    }
    void DeleteObject(int32_t slot) {
        if (slot >= 0) {
            Simple(META_DELETEOBJECT, {slot});
            Slots[size_t(slot)] = false;
        }
    }
    std::vector<bool> Slots;
    uint32_t MaxRecord = 0;
};

struct TWmfState {
    TAffine Map;
    int32_t GraphicsMode = GM_COMPATIBLE;
    TMetaAttributes Attributes;
    int32_t Pen = -1, Brush = -1, Font = -1;
    double Scale = 1; // device pixels per logical unit
    double Turn = 0;  // radians the world turns text (advanced mode)
};

TPointF ToDevice(const TWmfState &st, TPoint p) {
    return st.Map.Map(double(p.X), double(p.Y));
}

void SelectPen(TWmfWriter &w, TWmfState &st) {
    const TPen &pen = st.Attributes.Pen;
    const uint16_t slot = w.NewObject();
    const size_t at = w.Begin(META_CREATEPENINDIRECT);
    const TPenStyle s = pen.GetStyle();
    w.Put16(s == psClear                     ? 5
            : s == psInsideFrame             ? 6
            : s == psDash                    ? 1
            : s == psDot || s == psAlternate ? 2
            : s == psDashDot                 ? 3
            : s == psDashDotDot              ? 4
                                             : 0);
    w.Put16(uint16_t(Clamp16(pen.GetWidth() == 0 ? 0 : std::max(1.0, pen.GetWidth() * st.Scale))));
    w.Put16(0);
    w.Put32(ColorToRGB(pen.GetColor()));
    w.End(at);
    w.Simple(META_SELECTOBJECT, {slot});
    w.DeleteObject(st.Pen);
    st.Pen = slot;
}

void SelectBrush(TWmfWriter &w, TWmfState &st) {
    const TBrush &brush = st.Attributes.Brush;
    const uint16_t slot = w.NewObject();
    const size_t at = w.Begin(META_CREATEBRUSHINDIRECT);
    const TBrushStyle s = brush.GetStyle();
    // WMF keeps no pattern bitmaps here: a pattern brush becomes its colour.
    w.Put16(s == bsClear && !st.Attributes.Pattern  ? 1
            : s == bsSolid || st.Attributes.Pattern ? 0
                                                    : 2);
    w.Put32(ColorToRGB(brush.GetColor()));
    w.Put16(s >= bsHorizontal ? uint16_t(s - bsHorizontal) : 0);
    w.End(at);
    w.Simple(META_SELECTOBJECT, {slot});
    w.DeleteObject(st.Brush);
    st.Brush = slot;
}

void SelectFont(TWmfWriter &w, TWmfState &st) {
    TLogFont lf = st.Attributes.Font;
    lf.lfHeight = Clamp16(lf.lfHeight * st.Scale);
    lf.lfWidth = Clamp16(lf.lfWidth * st.Scale);
    const int32_t turn = int32_t(std::lround(st.Turn * 1800 / std::numbers::pi));
    lf.lfEscapement += turn;
    lf.lfOrientation += turn;
    const uint16_t slot = w.NewObject();
    const size_t at = w.Begin(META_CREATEFONTINDIRECT);
    for (int32_t v : {lf.lfHeight, lf.lfWidth, lf.lfEscapement, lf.lfOrientation, lf.lfWeight}) {
        w.Put16(uint16_t(int16_t(v)));
    }
    for (uint8_t v : {lf.lfItalic, lf.lfUnderline, lf.lfStrikeOut, uint8_t(204), lf.lfOutPrecision,
                      lf.lfClipPrecision, lf.lfQuality, lf.lfPitchAndFamily}) {
        w.Put8(v);
    }
    const std::string face = rtl::UnicodeToAnsi(lf.lfFaceName.substr(0, 31), 1251);
    for (size_t i = 0; i < 32; ++i) {
        w.Put8(i < face.size() ? uint8_t(face[i]) : 0);
    }
    w.End(at);
    w.Simple(META_SELECTOBJECT, {slot});
    w.DeleteObject(st.Font);
    st.Font = slot;
}

// Every attribute as the file has it from now on (after a start or a restored DC).
void WriteAllAttributes(TWmfWriter &w, TWmfState &st) {
    const TMetaAttributes &a = st.Attributes;
    SelectPen(w, st);
    SelectBrush(w, st);
    SelectFont(w, st);
    w.Simple(META_SETROP2, {detail::Rop2Of(a.Pen.GetMode())});
    w.Color(META_SETTEXTCOLOR, a.TextColor);
    w.Color(META_SETBKCOLOR, a.BkColor);
    w.Simple(META_SETBKMODE, {a.BkMode});
    w.Simple(META_SETTEXTALIGN, {int32_t(a.TextAlign)});
    w.Simple(META_SETPOLYFILLMODE, {a.PolyFillMode});
}

void WritePoints(TWmfWriter &w, const TWmfState &st, uint16_t function,
                 const std::vector<TPoint> &points) {
    const size_t at = w.Begin(function);
    w.Put16(uint16_t(std::min<size_t>(points.size(), 8000)));
    for (size_t i = 0; i < std::min<size_t>(points.size(), 8000); ++i) {
        const TPointF d = ToDevice(st, points[i]);
        w.Put16(uint16_t(Clamp16(d.X)));
        w.Put16(uint16_t(Clamp16(d.Y)));
    }
    w.End(at);
}

// A shape that a turned world no longer leaves upright, as the polygon of its outline.
std::vector<TPoint> CurveOutline(const TCanvasOp &op) {
    const TRect &r = op.Rect;
    const double cx = (r.Left + r.Right) / 2.0, cy = (r.Top + r.Bottom) / 2.0;
    const double rx = std::abs(r.Right - r.Left) / 2.0, ry = std::abs(r.Bottom - r.Top) / 2.0;
    if (op.Kind == TCanvasOpKind::Rectangle || op.Kind == TCanvasOpKind::RoundRect) {
        return {r.TopLeft(), {r.Right, r.Top}, r.BottomRight(), {r.Left, r.Bottom}};
    }
    double start = 0, sweep = 2 * std::numbers::pi;
    if (op.Kind != TCanvasOpKind::Ellipse && rx > 0 && ry > 0) {
        const auto angle = [&](TPoint p) { return std::atan2(-(p.Y - cy) / ry, (p.X - cx) / rx); };
        start = angle(op.Points[0]);
        sweep = angle(op.Points[1]) - start;
        while (sweep <= 1e-12) {
            sweep += 2 * std::numbers::pi;
        }
    }
    std::vector<TPointF> pts;
    detail::FlattenArc({cx, cy}, rx, ry, start, sweep, {-1e300, -1e300, 1e300, 1e300},
                       std::max(0.25, std::max(rx, ry) / 200), pts);
    std::vector<TPoint> out;
    if (op.Kind == TCanvasOpKind::Pie) {
        out.push_back({int32_t(std::lround(cx)), int32_t(std::lround(cy))});
    }
    for (const TPointF &p : pts) {
        out.push_back({int32_t(std::lround(p.X)), int32_t(std::lround(p.Y))});
    }
    return out;
}

void WriteBox(TWmfWriter &w, const TWmfState &st, const TCanvasOp &op, uint16_t function) {
    if (!st.Map.IsAxisAligned()) {
        WritePoints(w, st, op.Kind == TCanvasOpKind::Arc ? META_POLYLINE : META_POLYGON,
                    CurveOutline(op));
        return;
    }
    const TPointF a = ToDevice(st, op.Rect.TopLeft()), b = ToDevice(st, op.Rect.BottomRight());
    const size_t at = w.Begin(function);
    if (function == META_ARC || function == META_PIE || function == META_CHORD) {
        for (int i = 1; i >= 0; --i) {
            const TPointF p = ToDevice(st, op.Points[size_t(i)]);
            w.Put16(uint16_t(Clamp16(p.Y)));
            w.Put16(uint16_t(Clamp16(p.X)));
        }
    }
    if (function == META_ROUNDRECT) {
        w.Put16(uint16_t(Clamp16(op.Corner.cy * std::abs(st.Map.M22))));
        w.Put16(uint16_t(Clamp16(op.Corner.cx * std::abs(st.Map.M11))));
    }
    for (double v :
         {std::max(a.Y, b.Y), std::max(a.X, b.X), std::min(a.Y, b.Y), std::min(a.X, b.X)}) {
        w.Put16(uint16_t(Clamp16(v)));
    }
    w.End(at);
}

void WritePatBlt(TWmfWriter &w, const TWmfState &st, const TRect &r) {
    const TPointF a = ToDevice(st, r.TopLeft()), b = ToDevice(st, r.BottomRight());
    const size_t at = w.Begin(META_PATBLT);
    w.Put32(0x00F00021u);
    w.Put16(uint16_t(Clamp16(std::abs(b.Y - a.Y))));
    w.Put16(uint16_t(Clamp16(std::abs(b.X - a.X))));
    w.Put16(uint16_t(Clamp16(std::min(a.Y, b.Y))));
    w.Put16(uint16_t(Clamp16(std::min(a.X, b.X))));
    w.End(at);
}

void WriteText(TWmfWriter &w, const TWmfState &st, const TCanvasOp &op) {
    const std::string bytes = rtl::UnicodeToAnsi(op.Text, 1251);
    if (bytes.size() != op.Text.size() || (op.Options & ETO_GLYPH_INDEX)) {
        return; // not one byte per character (or glyph indices): nothing reliable to place
    }
    const TPointF p = ToDevice(st, op.Points[0]);
    const size_t at = w.Begin(META_EXTTEXTOUT);
    w.Put16(uint16_t(Clamp16(p.Y)));
    w.Put16(uint16_t(Clamp16(p.X)));
    w.Put16(uint16_t(bytes.size()));
    const bool rect = op.HasRect && (op.Options & (ETO_OPAQUE | ETO_CLIPPED));
    w.Put16(uint16_t(rect ? op.Options & (ETO_OPAQUE | ETO_CLIPPED) : 0));
    if (rect) {
        const TPointF a = ToDevice(st, op.Rect.TopLeft()), b = ToDevice(st, op.Rect.BottomRight());
        for (double v :
             {std::min(a.X, b.X), std::min(a.Y, b.Y), std::max(a.X, b.X), std::max(a.Y, b.Y)}) {
            w.Put16(uint16_t(Clamp16(v)));
        }
    }
    for (char c : bytes) {
        w.Put8(uint8_t(c));
    }
    if (bytes.size() % 2) {
        w.Put8(0);
    }
    // Advances on the device: running sums rounded, so they add up to the recorded width.
    double sum = 0;
    int32_t placed = 0;
    for (size_t i = 0; i < bytes.size(); ++i) {
        sum += (i < op.Dx.size() ? op.Dx[i] : 0) * st.Scale;
        const int32_t next = int32_t(std::lround(sum));
        w.Put16(uint16_t(Clamp16(next - placed)));
        placed = next;
    }
    w.End(at);
}

void WriteImage(TWmfWriter &w, const TWmfState &st, const TDrawOp &d) {
    const TCanvasOp &op = d.Op;
    const TPointF a = ToDevice(st, op.Rect.TopLeft()), b = ToDevice(st, op.Rect.BottomRight());
    const int32_t width = op.Pixels.Width, height = op.Pixels.Height;
    const size_t at = w.Begin(META_STRETCHDIB);
    w.Put32(0x00CC0020u); // SRCCOPY: a blend keeps only its opaque picture here
    w.Put16(0);           // DIB_RGB_COLORS
    w.Put16(uint16_t(op.Source.Height()));
    w.Put16(uint16_t(op.Source.Width()));
    w.Put16(uint16_t(height - op.Source.Bottom));
    w.Put16(uint16_t(op.Source.Left));
    w.Put16(uint16_t(Clamp16(b.Y - a.Y)));
    w.Put16(uint16_t(Clamp16(b.X - a.X)));
    w.Put16(uint16_t(Clamp16(a.Y)));
    w.Put16(uint16_t(Clamp16(a.X)));
    detail::PutBitmapInfo(w, width, height);
    for (int32_t y = height - 1; y >= 0; --y) {
        for (int32_t x = 0; x < width; ++x) {
            w.Put32(d.Pixels[size_t(y) * size_t(width) + size_t(x)] | 0xFF000000u);
        }
    }
    w.End(at);
}

void WriteOp(TWmfWriter &w, TWmfState &st, const TDrawOp &d) {
    const TCanvasOp &op = d.Op;
    switch (op.Kind) {
    case TCanvasOpKind::LineTo: {
        const TPointF a = ToDevice(st, op.Points[0]), b = ToDevice(st, op.Points[1]);
        w.Simple(META_MOVETO, {Clamp16(a.Y), Clamp16(a.X)});
        w.Simple(META_LINETO, {Clamp16(b.Y), Clamp16(b.X)});
        break;
    }
    case TCanvasOpKind::Polyline:
        WritePoints(w, st, META_POLYLINE, op.Points);
        break;
    case TCanvasOpKind::PolyPolygon: {
        const size_t at = w.Begin(META_POLYPOLYGON);
        w.Put16(uint16_t(op.Counts.size()));
        for (uint32_t c : op.Counts) {
            w.Put16(uint16_t(c));
        }
        for (const TPoint &p : op.Points) {
            const TPointF q = ToDevice(st, p);
            w.Put16(uint16_t(Clamp16(q.X)));
            w.Put16(uint16_t(Clamp16(q.Y)));
        }
        w.End(at);
        break;
    }
    case TCanvasOpKind::Rectangle:
        WriteBox(w, st, op, META_RECTANGLE);
        break;
    case TCanvasOpKind::Ellipse:
        WriteBox(w, st, op, META_ELLIPSE);
        break;
    case TCanvasOpKind::RoundRect:
        WriteBox(w, st, op, META_ROUNDRECT);
        break;
    case TCanvasOpKind::Arc:
        WriteBox(w, st, op, META_ARC);
        break;
    case TCanvasOpKind::Pie:
        WriteBox(w, st, op, META_PIE);
        break;
    case TCanvasOpKind::Chord:
        WriteBox(w, st, op, META_CHORD);
        break;
    case TCanvasOpKind::FillRect:
        WritePatBlt(w, st, op.Rect);
        break;
    case TCanvasOpKind::FrameRect:
    case TCanvasOpKind::FillRectAlpha:
    case TCanvasOpKind::FocusRect:
        break; // no opaque equivalent worth keeping in the older format
    case TCanvasOpKind::SetPixel: {
        const TPointF p = ToDevice(st, op.Points[0]);
        const size_t at = w.Begin(META_SETPIXEL);
        w.Put32(ColorToRGB(op.Color));
        w.Put16(uint16_t(Clamp16(p.Y)));
        w.Put16(uint16_t(Clamp16(p.X)));
        w.End(at);
        break;
    }
    case TCanvasOpKind::ExtTextOut:
        WriteText(w, st, op);
        break;
    case TCanvasOpKind::StretchPixels:
    case TCanvasOpKind::AlphaBlend:
        WriteImage(w, st, d);
        break;
    }
}

} // namespace

std::vector<uint8_t> WriteWmf(const TMetafileRecords &records, int32_t width, int32_t height,
                              int32_t pixelsPerInch) {
    TWmfWriter w;
    // The placeable header: the picture's box in device pixels, so many to the inch.
    w.Put32(0x9AC6CDD7u);
    w.Put16(0);
    for (int32_t v : {0, 0, std::min(width, 32767), std::min(height, 32767)}) {
        w.Put16(uint16_t(v));
    }
    w.Put16(uint16_t(std::clamp(pixelsPerInch, 1, 32767)));
    w.Put32(0);
    uint16_t checksum = 0;
    {
        const std::vector<uint8_t> bytes = w.Take();
        for (size_t i = 0; i < 20; i += 2) {
            checksum ^= uint16_t(bytes[i] | (bytes[i + 1] << 8));
        }
        for (uint8_t b : bytes) {
            w.Put8(b);
        }
    }
    w.Put16(checksum);
    const size_t header = w.Size();
    w.Put16(1);      // a metafile in memory
    w.Put16(9);      // header words
    w.Put16(0x0300); // version
    w.Put32(0);      // size in words, patched
    w.Put16(0);      // objects, patched
    w.Put32(0);      // largest record, patched
    w.Put16(0);
    w.Simple(META_SETMAPMODE, {MM_ANISOTROPIC});
    w.Simple(META_SETWINDOWORG, {0, 0});
    w.Simple(META_SETWINDOWEXT, {std::min(height, 32767), std::min(width, 32767)});
    w.Simple(META_SAVEDC, {});
    TWmfState st;
    bool started = false, clipped = false;
    for (const TMetaRecord &record : records.Records) {
        if (const auto *m = std::get_if<TSetMapping>(&record)) {
            st.Map = detail::MapOf(m->Mapping);
            st.GraphicsMode = m->Mapping.GraphicsMode;
            const TPointF ux = st.Map.MapVector(1, 0);
            st.Scale = std::sqrt(std::abs(st.Map.Determinant()));
            st.Turn = st.GraphicsMode == GM_ADVANCED ? std::atan2(-ux.Y, ux.X) : 0;
            if (started) {
                SelectPen(w, st);
                SelectFont(w, st);
            }
        } else if (const auto *a = std::get_if<TSetAttributes>(&record)) {
            st.Attributes = a->Attributes;
            WriteAllAttributes(w, st);
            started = true;
        } else if (const auto *p = std::get_if<TSetPenPos>(&record)) {
            const TPointF d = ToDevice(st, p->PenPos);
            w.Simple(META_MOVETO, {Clamp16(d.Y), Clamp16(d.X)});
        } else if (const auto *c = std::get_if<TSetClip>(&record)) {
            // A clip goes by saving the plain state and intersecting; a new one restores it
            // first (and with it the objects, chosen again).
            if (clipped) {
                w.Simple(META_RESTOREDC, {-1});
                w.Simple(META_SAVEDC, {});
                WriteAllAttributes(w, st);
            }
            clipped = c->HasClip;
            if (c->HasClip) {
                const TRect b = c->Clip.GetBounds();
                w.Simple(META_INTERSECTCLIPRECT, {b.Bottom, b.Right, b.Top, b.Left});
            }
        } else if (const auto *d = std::get_if<TDrawOp>(&record)) {
            WriteOp(w, st, *d);
        }
    }
    w.Simple(META_EOF, {});
    w.Patch32(header + 6, uint32_t((w.Size() - header) / 2));
    w.Patch16(header + 10, uint16_t(std::max<size_t>(1, w.Slots.size())));
    w.Patch32(header + 12, w.MaxRecord);
    return w.Take();
}

} // namespace gfx
