// Internal: what SaveDC keeps, the recorder interface of metafile canvases, and helpers that
// the canvas's implementation files share.
#pragma once

#include "platform/gfx/FontEngine.h"
#include "platform/gfx/Graphics.h"
#include "platform/gfx/Rasterize_p.h"
#include "platform/gfx/TextShaping.h"

#include <array>
#include <memory>
#include <vector>

namespace gfx {

struct TCanvasState {
    TFont Font;
    TPen Pen;
    TBrush Brush;
    TLogFont LogFont;
    TPoint PenPos;
    TColor TextColor = clBlack;
    TColor BkColor = clWhite;
    int32_t BkMode = OPAQUE;
    uint32_t TextAlign = 0;
    int32_t CharExtra = 0;
    int32_t PolyFillMode = ALTERNATE;
    TPoint BrushOrg;
    int32_t MapMode = MM_TEXT;
    TPoint WindowOrg, ViewportOrg;
    TSize WindowExt{1, 1}, ViewportExt{1, 1};
    int32_t GraphicsMode = GM_COMPATIBLE;
    TXForm World;
    TAffine Playback;
    bool HasClip = false;
    TRegion Clip;
    bool HasMetaClip = false;
    TRegion MetaClip;
};

// A drawing operation as a recorder keeps it: logical coordinates; the canvas's state at the
// time (objects, attributes, mapping, clip) is read from the canvas itself.
enum class TCanvasOpKind : uint8_t {
    LineTo,      // Points: from, to
    Polyline,    // Points
    PolyPolygon, // Points, Counts
    Rectangle,   // Rect
    RoundRect,   // Rect, Corner
    Ellipse,     // Rect
    Arc,         // Rect, Points: start and end rays
    Pie,
    Chord,
    FillRect,      // Rect (brush)
    FrameRect,     // Rect (brush)
    FillRectAlpha, // Rect, Color, Alpha
    FocusRect,     // Rect
    SetPixel,      // Points[0], Color
    ExtTextOut,    // Points[0], Options, Rect when HasRect, Text, Dx (always filled)
    StretchPixels, // Rect (dest), Pixels (a copy of Source), Source, Smooth
    AlphaBlend,    // the same, Blend
};

struct TCanvasOp {
    TCanvasOpKind Kind = TCanvasOpKind::LineTo;
    std::vector<TPoint> Points;
    std::vector<uint32_t> Counts;
    TRect Rect;
    TSize Corner;
    TColor Color = 0;
    uint8_t Alpha = 255;
    uint32_t Options = 0;
    bool HasRect = false;
    rtl::UnicodeString Text;
    std::vector<int32_t> Dx;
    TPixels32 Pixels; // valid during Record only
    TRect Source;
    bool Smooth = false;
    TBlendFunction Blend;
};

// Receives every drawing operation of a canvas before the canvas draws it.
class TCanvasRecorder {
public:
    virtual ~TCanvasRecorder() = default;
    virtual void Record(const TCanvas &canvas, const TCanvasOp &op) = 0;

protected:
    static TCanvasState StateOf(const TCanvas &canvas);
};

namespace detail {

enum class TCurveKind : uint8_t { Ellipse, Arc, Pie, Chord, RoundRect };

// A pen resolved for the device: nothing to draw, a one-pixel (cosmetic) line with an
// optional pattern, or a geometric pen of device width.
struct TResolvedPen {
    bool None = true;
    bool Cosmetic = true;
    TDevicePen Device;
    std::vector<uint8_t> Pattern; // one-pixel lines: 1 drawn, 0 gap
    bool GapsOpaque = false;      // gaps take the background colour (OPAQUE)
    uint32_t GapColor = 0;
};

// A brush resolved for the device, with room for a hatch pattern.
struct TResolvedBrush {
    bool None = true;
    TDeviceBrush Device;
    std::array<uint32_t, 64> Hatch{};
    std::vector<uint32_t> PatternCopy;
};

// The selected logical font made real: face, em and GDI's metrics, in logical units.
struct TRealizedFont {
    TLogFont LogFont;
    TResolvedFace Resolved;
    double Em = 0;         // em height
    double Scale = 0;      // logical units per font unit
    double WidthScale = 1; // lfWidth against the face's average width
    TTextMetric Metric;
};

// A glyph placed along the baseline: X from the text's start, Y downward from the baseline.
struct TPlacedGlyph {
    const TFontFace *Face = nullptr;
    uint32_t Glyph = 0;
    double X = 0;
    double Y = 0;
};

struct TTextPlacement {
    TShapedText Shaped;
    std::vector<TPlacedGlyph> Glyphs;
    std::vector<int32_t> Advances; // glyph indices only: the advance of each glyph
    double Width = 0;
};

TMixMode MixOf(TPenMode mode);
// Hatch pixels of an 8 x 8 cell: true where the hatch line runs.
bool HatchBit(TBrushStyle style, int x, int y);

} // namespace detail

} // namespace gfx
