// The drawing surface: TCanvas with its pen, brush and font and the GDI state of a device
// context (text colour and alignment, background mode, map mode, world transform, clip
// region, saved states), drawing through a device (pixel memory, a window, a printer, a PDF
// file) or recording into a metafile.
//
// GDI rules kept on every device:
// - Coordinates are logical. Device pixel = world transform (GM_ADVANCED only), then
//   (logical - window origin) * viewport extent / window extent + viewport origin, rounded to
//   the nearest pixel; computed in double, so coordinates up to 2^31 never overflow.
// - FillRect, Rectangle, FrameRect and Ellipse cover the pixels from Left/Top up to, but not
//   including, Right/Bottom. Rectangle frames that area with the pen and fills the inside with
//   the brush; with a clear pen the filled area is one pixel smaller at the right and bottom.
// - LineTo draws from the pen position up to, but not including, the end point; the end point
//   becomes the pen position. A pen of width 0 or 1 (after mapping) is one pixel wide; wider
//   pens have round ends and joins unless set otherwise.
// - Text is placed by the reference point and the text alignment (TA_TOP | TA_LEFT: the
//   top-left corner of the text's cell). TextOut fills the cell with the brush unless the brush
//   is bsClear (the class library's rule) and moves the pen position to the end of the text.
// - Text metrics and extents are in logical units, from the font's design metrics scaled
//   linearly (no hinting): the same text measures alike on every device.
// - Every shape is clipped to the clip region's bounds before it is rasterised: nothing is
//   allocated in proportion to the parts outside, and far-away coordinates return at once.
// - The clip region is kept in device pixels; "no clip region" is a state of its own
//   (GetClipRgn answers 0), in which drawing is limited to the device's visible area.
// Failure: operations with empty or inverted geometry draw nothing; the GDI-style setters
// return false (or 0) for arguments GDI refuses and leave the state unchanged.
#pragma once

#include "platform/gfx/Brush.h"
#include "platform/gfx/Colors.h"
#include "platform/gfx/Device.h"
#include "platform/gfx/Font.h"
#include "platform/gfx/Geometry.h"
#include "platform/gfx/Pen.h"
#include "platform/gfx/Region.h"
#include "platform/gfx/TextMetrics.h"
#include "platform/gfx/Types.h"
#include "platform/rtl/System.h"

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace gfx {

class TGraphic;
class TCanvasRecorder;
struct TCanvasState;
struct TCanvasOp;
struct TShapedText;
enum class TCanvasOpKind : uint8_t;
namespace detail {
struct TPoint64;
struct TResolvedPen;
struct TResolvedBrush;
struct TRealizedFont;
struct TTextPlacement;
enum class TCurveKind : uint8_t;
} // namespace detail

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
    DT_EDITCONTROL = 0x2000, // as an edit control shows text (on one line: no change)
    DT_END_ELLIPSIS = 0x8000,
};

// Map modes, graphics modes and world-transform operations, with the Windows values.
enum : int32_t {
    MM_TEXT = 1,
    MM_LOMETRIC = 2,
    MM_HIMETRIC = 3,
    MM_LOENGLISH = 4,
    MM_HIENGLISH = 5,
    MM_TWIPS = 6,
    MM_ISOTROPIC = 7,
    MM_ANISOTROPIC = 8,
};
enum : int32_t { GM_COMPATIBLE = 1, GM_ADVANCED = 2 };
enum : uint32_t { MWT_IDENTITY = 1, MWT_LEFTMULTIPLY = 2, MWT_RIGHTMULTIPLY = 3 };

// Text alignment, background modes, polygon fill modes and ExtTextOut options.
enum : uint32_t {
    TA_NOUPDATECP = 0,
    TA_UPDATECP = 1,
    TA_LEFT = 0,
    TA_RIGHT = 2,
    TA_CENTER = 6,
    TA_TOP = 0,
    TA_BOTTOM = 8,
    TA_BASELINE = 24,
    TA_RTLREADING = 256,
};
enum : int32_t { TRANSPARENT = 1, OPAQUE = 2 };
enum : int32_t { ALTERNATE = 1, WINDING = 2 };
enum : uint32_t {
    ETO_OPAQUE = 0x2,
    ETO_CLIPPED = 0x4,
    ETO_GLYPH_INDEX = 0x10,
    ETO_RTLREADING = 0x80
};

// AlphaBlend's blend function: constant opacity, and per-pixel alpha with AC_SRC_ALPHA.
enum : uint8_t { AC_SRC_OVER = 0, AC_SRC_ALPHA = 1 };
struct TBlendFunction {
    uint8_t BlendOp = AC_SRC_OVER;
    uint8_t BlendFlags = 0;
    uint8_t SourceConstantAlpha = 255;
    uint8_t AlphaFormat = 0;
};

// The world transform as the Windows XFORM holds it (single precision).
struct TXForm {
    float eM11 = 1, eM12 = 0, eM21 = 0, eM22 = 1, eDx = 0, eDy = 0;
    friend bool operator==(const TXForm &, const TXForm &) = default;
};

// The selected font as the text engines built on the shaping core see it (the complex-script
// string functions): the face, and the logical units per em along the baseline (the logical
// font's width included) and across it.
struct TSelectedFont {
    const TFontFace *Face = nullptr;
    double EmWidth = 0;
    double EmHeight = 0;
    TTextMetric Metric;
};

// 32-bit pixels handed to a canvas: $AARRGGBB words, rows StrideBytes apart; only read.
struct TPixels32 {
    const uint32_t *Bits = nullptr;
    int32_t Width = 0, Height = 0, StrideBytes = 0;
    bool IsValid() const { return Bits && Width > 0 && Height > 0 && StrideBytes >= Width * 4; }
};

class TCanvas {
public:
    // A canvas drawing through device; the canvas owns it.
    explicit TCanvas(std::unique_ptr<TDevice> device);
    TCanvas(const TCanvas &) = delete;
    TCanvas &operator=(const TCanvas &) = delete;
    virtual ~TCanvas();

    // --- drawing objects (the class library's Pen, Brush and Font) ---
    TFont &GetFont() { return FFont; }
    TPen &GetPen() { return FPen; }
    TBrush &GetBrush() { return FBrush; }
    void SetFont(const TFont &font) { FFont = font; }
    void SetPen(const TPen &pen) { FPen = pen; }
    void SetBrush(const TBrush &brush) { FBrush = brush; }
    // The logical font selected into the device context. Changing Font selects a new one;
    // SelectLogFont selects one directly (Font is left as it is) and returns the previous one.
    const TLogFont &GetLogFont() const;
    TLogFont SelectLogFont(const TLogFont &font);

    // --- device context attributes ---
    TColor GetTextColor() const { return FTextColor; }
    TColor SetTextColor(TColor color); // returns the previous colour
    TColor GetBkColor() const { return FBkColor; }
    TColor SetBkColor(TColor color);
    int32_t GetBkMode() const { return FBkMode; }
    int32_t SetBkMode(int32_t mode); // 0 for a mode other than TRANSPARENT and OPAQUE
    uint32_t GetTextAlign() const { return FTextAlign; }
    uint32_t SetTextAlign(uint32_t flags);
    int32_t GetTextCharacterExtra() const { return FCharExtra; }
    int32_t SetTextCharacterExtra(int32_t extra);
    int32_t GetPolyFillMode() const { return FPolyFillMode; }
    int32_t SetPolyFillMode(int32_t mode);
    // The device pixel where pattern and hatch brushes start.
    TPoint GetBrushOrg() const { return FBrushOrg; }
    TPoint SetBrushOrg(TPoint org);

    // --- coordinates: map modes, window and viewport, world transform ---
    int32_t GetMapMode() const { return FMapMode; }
    int32_t SetMapMode(int32_t mode); // returns the previous mode, 0 for an unknown one
    TPoint GetWindowOrgEx() const { return FWindowOrg; }
    TPoint SetWindowOrgEx(int32_t x, int32_t y); // returns the previous origin
    TSize GetWindowExtEx() const { return FWindowExt; }
    // Ignored outside MM_ISOTROPIC and MM_ANISOTROPIC; false for a zero extent.
    bool SetWindowExtEx(int32_t cx, int32_t cy, TSize *previous = nullptr);
    TPoint GetViewportOrgEx() const { return FViewportOrg; }
    TPoint SetViewportOrgEx(int32_t x, int32_t y);
    TSize GetViewportExtEx() const { return FViewportExt; }
    bool SetViewportExtEx(int32_t cx, int32_t cy, TSize *previous = nullptr);
    int32_t GetGraphicsMode() const { return FGraphicsMode; }
    // Going back to GM_COMPATIBLE needs an identity world transform (GDI refuses otherwise):
    // returns the previous mode, 0 when refused or unknown.
    int32_t SetGraphicsMode(int32_t mode);
    TXForm GetWorldTransform() const { return FWorld; }
    bool SetWorldTransform(const TXForm &xf); // GM_ADVANCED only
    bool ModifyWorldTransform(const TXForm &xf, uint32_t mode);
    TPoint LPtoDP(TPoint p) const;
    TPoint DPtoLP(TPoint p) const;
    // The whole logical-to-device map (world, page and any playback frame).
    const TAffine &GetLogicalToDevice() const { return FToDevice; }

    // --- clipping ---
    // The bounding box of what can be drawn, in logical coordinates (GetClipBox).
    TRect GetClipRect() const;
    TRegionKind GetClipBox(TRect &box) const;
    int32_t GetClipRgn(TRegion &region) const;    // 1 with a clip region, 0 without
    int32_t SelectClipRgn(const TRegion *region); // device pixels; nullptr removes the clip
    int32_t ExtSelectClipRgn(const TRegion *region, TRegionOp mode);
    int32_t IntersectClipRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2); // logical
    int32_t ExcludeClipRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
    int32_t OffsetClipRgn(int32_t dx, int32_t dy); // logical units
    void IntersectClipRect(const TRect &r) { IntersectClipRect(r.Left, r.Top, r.Right, r.Bottom); }
    void ExcludeClipRect(const TRect &r) { ExcludeClipRect(r.Left, r.Top, r.Right, r.Bottom); }
    // Adds r (logical) to the clip, as a region combined with RGN_OR.
    void UnionClipRect(const TRect &r);
    void ResetClipRect() { SelectClipRgn(nullptr); }
    bool PtVisible(TPoint p) const; // logical
    bool RectVisible(const TRect &r) const;

    // --- saved states ---
    // Saves objects, pen position, attributes, mapping and clip; returns the new depth (from 1).
    int32_t SaveDC();
    // Goes back to the state saved at that depth (negative: relative to the top, -1 being the
    // last save) and drops it and every later one; false when there is no such state.
    bool RestoreDC(int32_t level);

    // --- device ---
    TDeviceCaps GetDeviceCapsInfo() const;
    int32_t GetDeviceCaps(int32_t index) const;
    // Size of the drawable area in device pixels.
    TSize GetSurfaceSize() const;

    // --- lines and shapes ---
    TPoint GetPenPos() const { return FPenPos; }
    void SetPenPos(TPoint p) { FPenPos = p; }
    void MoveTo(int32_t x, int32_t y) { FPenPos = {x, y}; }
    void LineTo(int32_t x, int32_t y);
    // Lines through the points; the last point's pixel is left out and the pen does not move.
    void Polyline(const std::vector<TPoint> &points);
    void Polygon(const std::vector<TPoint> &points);
    // Several polygons filled as one shape (ALTERNATE or WINDING), each outlined.
    void PolyPolygon(const std::vector<std::vector<TPoint>> &polygons);
    void FillRect(const TRect &r);
    void FrameRect(const TRect &r); // one-pixel frame in the brush colour
    // A dotted frame that inverts every other pixel of r's border; drawing it twice removes it.
    void DrawFocusRect(const TRect &r);
    void Rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
    void Rectangle(const TRect &r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
    void RoundRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t w, int32_t h);
    void Ellipse(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
    void Ellipse(const TRect &r) { Ellipse(r.Left, r.Top, r.Right, r.Bottom); }
    // Elliptic arcs of the ellipse in (x1, y1, x2, y2), counter-clockwise from the ray through
    // (x3, y3) to the ray through (x4, y4), as GDI draws them by default.
    void Arc(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3, int32_t x4,
             int32_t y4);
    void Pie(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3, int32_t x4,
             int32_t y4);
    void Chord(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3, int32_t x4,
               int32_t y4);
    // Fills r with colour at opacity alpha (0 transparent .. 255 opaque); the brush is untouched.
    void FillRectAlpha(const TRect &r, TColor color, uint8_t alpha);
    // The pixel's colour ($00BBGGRR); -1 (the class library's CLR_INVALID) outside the clip or
    // on a device that cannot be read.
    TColor GetPixel(int32_t x, int32_t y);
    void SetPixel(int32_t x, int32_t y, TColor color);

    // --- text ---
    void TextOut(int32_t x, int32_t y, const rtl::UnicodeString &text);
    // Text at (x, y) clipped to r; r is filled with the brush unless the brush is bsClear.
    void TextRect(const TRect &r, int32_t x, int32_t y, const rtl::UnicodeString &text);
    TSize TextExtent(const rtl::UnicodeString &text);
    int32_t TextWidth(const rtl::UnicodeString &text) { return TextExtent(text).cx; }
    int32_t TextHeight(const rtl::UnicodeString &text) { return TextExtent(text).cy; }
    // Windows DrawText: draws (or with DT_CALCRECT only measures, adjusting r) text in r with
    // the DT_ flags; '&' marks an accelerator unless DT_NOPREFIX. Returns the text's height.
    int32_t DrawText(const rtl::UnicodeString &text, TRect &r, uint32_t format);
    // ExtTextOut: text at the reference point (x, y) with the text alignment; rect (may be
    // null) is filled with the background colour with ETO_OPAQUE and clips with ETO_CLIPPED;
    // dx (empty, or one advance per UTF-16 unit in logical order, logical units) places the
    // characters. With the OPAQUE background mode the text's cell is filled as well. With
    // ETO_GLYPH_INDEX the units are glyph indices of the selected font's face, placed in the
    // order given (GetCharacterPlacement's glyphs of that face).
    bool ExtTextOut(int32_t x, int32_t y, uint32_t options, const TRect *rect,
                    std::u16string_view text, const std::vector<int32_t> &dx = {});
    TTextMetric GetTextMetrics();
    // The font's outline metrics in logical units; false when the font has none.
    bool GetOutlineTextMetrics(TOutlineTextMetric &otm);
    TSize GetTextExtentPoint32(std::u16string_view text);
    // How many characters fit into maxExtent (a negative maxExtent: all), and when dx is
    // given the cumulative extent after each of those characters; returns the extent of the
    // whole text.
    TSize GetTextExtentExPoint(std::u16string_view text, int32_t maxExtent, int32_t *fit,
                               std::vector<int32_t> *dx);
    // GetCharacterPlacement with the GCP_ flags (GCP_REORDER, GCP_LIGATE, GCP_GLYPHSHAPE,
    // GCP_DIACRITIC, GCP_MAXEXTENT): fills the results; the size of the placed text, 0 x 0
    // on failure.
    TSize GetCharacterPlacement(std::u16string_view text, int32_t maxExtent, TGcpResults &results,
                                uint32_t flags);
    // The GCP_ abilities of the selected font (GetFontLanguageInfo).
    uint32_t GetFontLanguageInfo();
    TSelectedFont GetSelectedFont() const;

    // --- pictures and pixels ---
    // Draws the picture with its top-left corner at (x, y), at its own size.
    void Draw(int32_t x, int32_t y, const TGraphic &graphic);
    void StretchDraw(const TRect &dest, const TGraphic &graphic);
    // Copies src of another canvas's pixels scaled onto dest of this one (nothing when the
    // source device cannot be read).
    void CopyRect(const TRect &dest, TCanvas &source, const TRect &src);
    // Copies src (in pixels of the memory) of 32-bit pixel memory ($AARRGGBB per pixel, rows
    // strideBytes apart) scaled onto dest, ignoring the alpha byte: every copied pixel is
    // opaque. Parts of src outside the memory are not read. The memory is only read.
    void DrawPixels32(const TRect &dest, const uint32_t *bits, int32_t width, int32_t height,
                      int32_t strideBytes, const TRect &src);
    // StretchDIBits: as DrawPixels32, with the filtered scaling of pictures when smooth.
    void StretchPixels(const TRect &dest, const TPixels32 &pixels, const TRect &src,
                       bool smooth = false);
    // AlphaBlend: src of the pixels onto dest with constant opacity, and per-pixel alpha
    // (straight, not premultiplied) with AC_SRC_ALPHA.
    void AlphaBlend(const TRect &dest, const TPixels32 &pixels, const TRect &src,
                    TBlendFunction blend, bool smooth = false);

protected:
    // Another device (or the same one over new memory): the clip goes back to the whole
    // visible area; objects, attributes and mapping stay.
    void ReplaceDevice(std::unique_ptr<TDevice> device);
    void DeviceChanged();
    TDevice &Device() { return *FDevice; }
    void SetRecorder(TCanvasRecorder *recorder) { FRecorder = recorder; }
    TCanvasRecorder *Recorder() const { return FRecorder; }

private:
    friend class TCanvasRecorder;
    friend class TMetafile;

    TCanvasState CaptureState() const;
    // A metafile's playback starts from a new canvas's state under frame (TMetafile::Play).
    void BeginPlayback(const TAffine &frame);
    void ObjectsChanged();
    void UpdateMapping();
    void ClipChanged();
    void ApplyClip() const;
    bool Visible() const;
    TRegion LogicalRectToDevice(const TRect &r) const;
    TRect DeviceRect(const TRect &logical) const;
    detail::TPoint64 ToDevice(TPoint p) const;
    void Record(const TCanvasOp &op) const;
    // Shapes (Graphics_Shapes.cpp).
    detail::TResolvedPen ResolvePen() const;
    void ResolveBrush(detail::TResolvedBrush &out, TMixMode mix) const;
    void StrokeDevice(const std::vector<detail::TPoint64> &dev, bool closed,
                      const detail::TResolvedPen &pen);
    void StrokePoints(const std::vector<TPoint> &points, bool closed);
    void FillDevicePolygons(const std::vector<std::vector<TPointF>> &polygons, int32_t fillMode,
                            const detail::TResolvedBrush &brush);
    void FillPolygons(const std::vector<std::vector<TPoint>> &polygons, int32_t fillMode);
    void FillLogicalRect(const TRect &r, const detail::TResolvedBrush &brush);
    void ArcOp(detail::TCurveKind kind, const TRect &box, TPoint start, TPoint end);
    void DrawCurve(const TRect &box, TPoint start, TPoint end, detail::TCurveKind kind,
                   TSize corner);
    // Pictures (Graphics_Images.cpp).
    void DrawImageOp(const TRect &dest, const TPixels32 &pixels, const TRect &src,
                     TBlendFunction blend, bool smooth, TCanvasOpKind kind);
    // Text (Graphics_Text.cpp).
    const detail::TRealizedFont &Realize() const;
    bool ShapeInto(std::u16string_view text, bool rightToLeft, TShapedText &shaped) const;
    int64_t Extents(std::u16string_view text, std::vector<int32_t> *ext, TShapedText *shaped) const;
    std::vector<int32_t> UnitAdvances(std::u16string_view text) const;
    void PlaceText(std::u16string_view text, const std::vector<int32_t> *dx, bool rightToLeft,
                   detail::TTextPlacement &out) const;
    void PlaceGlyphs(std::u16string_view glyphs, const std::vector<int32_t> *dx,
                     detail::TTextPlacement &out) const;
    TAffine TextFrame(TPoint origin, double startX, double baseline) const;
    void DrawPlacedText(TPoint origin, const detail::TTextPlacement &placement);
    void DrawGlyphRuns(const detail::TTextPlacement &placement, const TAffine &frame,
                       uint32_t color);

    std::unique_ptr<TDevice> FDevice;
    TCanvasRecorder *FRecorder = nullptr;
    TFont FFont;
    TPen FPen;
    TBrush FBrush;
    TLogFont FLogFont;
    TPoint FPenPos;
    TColor FTextColor = clBlack;
    TColor FBkColor = clWhite;
    int32_t FBkMode = OPAQUE;
    uint32_t FTextAlign = 0;
    int32_t FCharExtra = 0;
    int32_t FPolyFillMode = ALTERNATE;
    TPoint FBrushOrg;
    int32_t FMapMode = MM_TEXT;
    TPoint FWindowOrg, FViewportOrg;
    TSize FWindowExt{1, 1}, FViewportExt{1, 1};
    int32_t FGraphicsMode = GM_COMPATIBLE;
    TXForm FWorld;
    TAffine FPlayback; // metafile frame under the page mapping; identity otherwise
    TAffine FToDevice; // logical to device: world, page, playback
    TAffine FFromDevice;
    bool FHasClip = false;
    TRegion FClip;     // device pixels, valid with FHasClip
    TRegion FMetaClip; // the target's clip while a metafile plays; empty rects otherwise
    bool FHasMetaClip = false;
    TRegion FVisible;           // the device's visible region
    mutable TRegion FEffective; // what is drawn: visible, clip and metafile clip together
    mutable bool FEffectiveDirty = true;
    std::vector<TCanvasState> FSaved;
    // The fonts realised lately, the selected one first: formatting a document switches
    // between its styles' fonts on one canvas, and each is realised once.
    mutable std::vector<std::unique_ptr<detail::TRealizedFont>> FRealized;
};

// Saves the canvas's state and puts it back when the scope ends, also when an exception passes.
class TCanvasStateGuard {
public:
    explicit TCanvasStateGuard(TCanvas &canvas) : FCanvas(canvas), FLevel(canvas.SaveDC()) {}
    ~TCanvasStateGuard() { FCanvas.RestoreDC(FLevel); }
    TCanvasStateGuard(const TCanvasStateGuard &) = delete;
    TCanvasStateGuard &operator=(const TCanvasStateGuard &) = delete;

private:
    TCanvas &FCanvas;
    int32_t FLevel;
};

// The family that a font name resolves to on this system ("Arial" gives "Liberation Sans").
rtl::UnicodeString ResolveFontFamily(const TFont &font);

// A canvas drawing straight into 32-bit pixel memory owned by the caller, without copying:
// each drawing call has changed the memory when it returns. Pixels are $AARRGGBB; the canvas
// reads them ignoring alpha and writes alpha 255 into the pixels it changes. The memory must
// outlive the canvas and keep its place.
class TPixelCanvas : public TCanvas {
public:
    TPixelCanvas(uint32_t *bits, int32_t width, int32_t height, int32_t strideBytes);
    // The same canvas over other memory (a resized picture): objects, attributes and mapping
    // stay, the clip goes back to the whole memory.
    void Retarget(uint32_t *bits, int32_t width, int32_t height, int32_t strideBytes);
    // Finishes pending drawing before the memory is read or moved.
    void Flush();
};

} // namespace gfx
