// The drawing surface: TCanvas with its pen, brush and font, drawing with the Windows GDI rules
// on a bitmap, on a control while it paints, or directly on 32-bit pixel memory.
//
// GDI rules kept by every back end:
// - FillRect, Rectangle, FrameRect and Ellipse cover the pixels from Left/Top up to, but not
//   including, Right/Bottom. Rectangle frames that area with the pen and fills the inside with
//   the brush; with a clear pen the filled area is one pixel smaller at the right and bottom.
// - LineTo draws from the pen position up to, but not including, the end point; the end point
//   becomes the pen position.
// - TextOut places the top-left corner of the text's cell (not the baseline) at (X, Y), fills
//   the cell with the brush unless the brush is bsClear, and moves the pen position to the
//   end of the text.
// - Text metrics are those of the font at the font's pixel height, independent of the device's
//   resolution.
// Coordinates are device pixels; drawing outside the surface or the clip rectangle is dropped.
#pragma once

#include "platform/gfx/Brush.h"
#include "platform/gfx/Colors.h"
#include "platform/gfx/Font.h"
#include "platform/gfx/Pen.h"
#include "platform/gfx/Types.h"
#include "platform/rtl/System.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace gfx {

class TGraphic;

// Flags of TCanvas::DrawText, with the Windows values.
enum : uint32_t {
    DT_TOP = 0x0,
    DT_LEFT = 0x0,
    DT_CENTER = 0x1,
    DT_RIGHT = 0x2,
    DT_VCENTER = 0x4,
    DT_BOTTOM = 0x8,
    DT_WORDBREAK = 0x10,
    DT_SINGLELINE = 0x20,
    DT_EXPANDTABS = 0x40,
    DT_NOCLIP = 0x100,
    DT_CALCRECT = 0x400,
    DT_NOPREFIX = 0x800,
    DT_END_ELLIPSIS = 0x8000,
};

// Text cell metrics of a font in pixels (the TEXTMETRIC fields the system uses).
struct TTextMetric {
    int32_t tmHeight = 0; // ascent + descent
    int32_t tmAscent = 0;
    int32_t tmDescent = 0;
    int32_t tmInternalLeading = 0; // tmHeight minus the font's em height
    int32_t tmExternalLeading = 0;
    int32_t tmAveCharWidth = 0;
    int32_t tmMaxCharWidth = 0;
};

class TCanvas {
public:
    struct Impl; // the back end's state; defined by the implementation
    // Makes a canvas on a back end; used by the classes that own a surface.
    explicit TCanvas(std::unique_ptr<Impl> impl);
    TCanvas(const TCanvas &) = delete;
    TCanvas &operator=(const TCanvas &) = delete;
    virtual ~TCanvas();

    TFont &GetFont() { return FFont; }
    TPen &GetPen() { return FPen; }
    TBrush &GetBrush() { return FBrush; }
    void SetFont(const TFont &font) { FFont = font; }
    void SetPen(const TPen &pen) { FPen = pen; }
    void SetBrush(const TBrush &brush) { FBrush = brush; }

    TPoint GetPenPos() const { return FPenPos; }
    void SetPenPos(TPoint p) { FPenPos = p; }
    void MoveTo(int32_t x, int32_t y) { FPenPos = {x, y}; }
    void LineTo(int32_t x, int32_t y);
    // Lines through the points; the last point's pixel is left out and the pen does not move.
    void Polyline(const std::vector<TPoint> &points);
    void Polygon(const std::vector<TPoint> &points);

    void FillRect(const TRect &r);
    void FrameRect(const TRect &r); // one-pixel frame in the brush colour
    // A dotted frame that inverts every other pixel of r's border; drawing it twice removes it.
    void DrawFocusRect(const TRect &r);
    void Rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
    void Rectangle(const TRect &r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
    void Ellipse(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
    void Ellipse(const TRect &r) { Ellipse(r.Left, r.Top, r.Right, r.Bottom); }

    void TextOut(int32_t x, int32_t y, const rtl::UnicodeString &text);
    // Text at (x, y) clipped to r; r is filled with the brush unless the brush is bsClear.
    void TextRect(const TRect &r, int32_t x, int32_t y, const rtl::UnicodeString &text);
    TSize TextExtent(const rtl::UnicodeString &text);
    int32_t TextWidth(const rtl::UnicodeString &text) { return TextExtent(text).cx; }
    int32_t TextHeight(const rtl::UnicodeString &text) { return TextExtent(text).cy; }
    TTextMetric GetTextMetrics();
    // Windows DrawText: draws (or with DT_CALCRECT only measures, adjusting r) text in r with
    // the DT_ flags; '&' marks an accelerator unless DT_NOPREFIX. Returns the text's height.
    int32_t DrawText(const rtl::UnicodeString &text, TRect &r, uint32_t format);

    // Draws the picture with its top-left corner at (x, y), at its own size.
    void Draw(int32_t x, int32_t y, const TGraphic &graphic);
    void StretchDraw(const TRect &dest, const TGraphic &graphic);
    // Copies src of another canvas's surface scaled onto dest of this one.
    void CopyRect(const TRect &dest, TCanvas &source, const TRect &src);
    // Copies src (in pixels of the memory) of 32-bit pixel memory ($AARRGGBB per pixel, rows
    // strideBytes apart) scaled onto dest, ignoring the alpha byte: every copied pixel is
    // opaque. Parts of src outside the memory are not read. The memory is only read.
    void DrawPixels32(const TRect &dest, const uint32_t *bits, int32_t width, int32_t height,
                      int32_t strideBytes, const TRect &src);

    // The pixel's colour ($00BBGGRR); -1 (as the class library's CLR_INVALID) outside.
    TColor GetPixel(int32_t x, int32_t y);
    void SetPixel(int32_t x, int32_t y, TColor color);

    // The clip is a region in device pixels, the whole surface (or the area being painted)
    // unless changed. GetClipRect gives its bounding rectangle.
    TRect GetClipRect() const;
    void IntersectClipRect(const TRect &r);
    void ExcludeClipRect(const TRect &r);
    // Adds r (within the surface) to the clip, as a clip region combined with OR.
    void UnionClipRect(const TRect &r);
    void ResetClipRect();
    bool PtVisible(TPoint p) const;
    // Saves pen, brush, font, pen position and clip; returns the new depth (from 1).
    int32_t SaveDC();
    // Goes back to the state saved at that depth (negative: relative to the top, -1 being the
    // last save) and drops it and every later one; false when there is no such state.
    bool RestoreDC(int32_t level);

    // Size of the surface in pixels.
    TSize GetSurfaceSize() const;

    Impl &GetImpl() { return *FImpl; }

protected:
    std::unique_ptr<Impl> FImpl;

private:
    TFont FFont;
    TPen FPen;
    TBrush FBrush;
    TPoint FPenPos;
};

// The family that a font name resolves to on this system ("Tahoma" gives "DejaVu Sans").
rtl::UnicodeString ResolveFontFamily(const TFont &font);

// A canvas drawing straight into 32-bit pixel memory owned by the caller, without copying:
// each drawing call has changed the memory when it returns. Pixels are $AARRGGBB; the canvas
// reads them ignoring alpha and writes alpha 255 into the pixels it changes. The memory must
// outlive the canvas and keep its place.
class TPixelCanvas : public TCanvas {
public:
    TPixelCanvas(uint32_t *bits, int32_t width, int32_t height, int32_t strideBytes);
};

} // namespace gfx
