// The graphic interface: the single door through which the rich-document library measures and
// draws. One instance, owned by the style sheet, serves every canvas it is given.
//
// An operation without a body of its own here is abstract: on the base it raises EAbstractError
// "Abstract Error", as the class library's abstract methods do; the two engines
// (TVDWinGraphicInterface, TVDUniscribeGraphicInterface) provide them.
//
// Text operations take the run as raw bytes (str) and its length in characters: with unicode
// the bytes are UTF-16LE code units (two per character), otherwise 8-bit characters of the
// canvas font's code page. bidi asks for bidirectional (reordering) treatment.
// ignoreSpecialChars false makes the soft hyphen occupy no width. spaceCount > 0 spreads
// extraSpaceWidth pixels over that many U+0020 spaces, -100 over all expandable characters,
// 0 adds nothing; leftNoExpIndex and rightNoExpIndex (0-based, -1 for none) never receive
// spread spacing. Caret position arrays have length + 1 entries: entry i is the x offset of
// the caret before logical character i.
#pragma once

#include "platform/gfx/Colors.h"
#include "platform/gfx/Graphics.h"
#include "platform/rtl/Types.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace gfx {
class TBitmap;
class TGraphic;
} // namespace gfx

namespace ui {
class TControl;
}

namespace vizivodu {

// Text alignment flag of right-to-left reading order (SetTextAlign).
constexpr uint32_t TA_RTLREADING = 256;
// GetDeviceCaps indices.
constexpr int32_t LOGPIXELSX = 88;
constexpr int32_t LOGPIXELSY = 90;

// The glyph placement of one text run (GetGlyphDX), owned by the caller. PDX: one advance per
// output position; PXL, PXR: left and right edge of each logical character relative to the
// run's origin (only when coordinates were asked for); POrder: for each logical character its
// output position (only for a reordered run).
class TCustomVDGlyphDXData {
public:
    virtual ~TCustomVDGlyphDXData() = default;
    std::vector<int32_t> PDX;
    std::vector<int32_t> PXL;
    std::vector<int32_t> PXR;
    std::vector<uint32_t> POrder;
};

// Widths of the special characters in one font, measured once (-1: not yet).
struct TVDStringAdjRecord {
    int32_t ZWSWidth = -1;
    int32_t SHRWidth = -1;
    int32_t WJWidth = -1;
};

enum TVDGraphicsMode : uint8_t { vdgmCompatible, vdgmAdvanced };

class TVDGraphicInterface {
public:
    TVDGraphicInterface() = default;
    TVDGraphicInterface(const TVDGraphicInterface &) = delete;
    TVDGraphicInterface &operator=(const TVDGraphicInterface &) = delete;
    virtual ~TVDGraphicInterface() = default;

    // ---- Text ----
    // Plain output with the top-left corner of the text at (x, y). Abstract.
    virtual void TextOut(gfx::TCanvas &canvas, int32_t x, int32_t y, const char *str,
                         int32_t length, bool unicode, bool forMetafile);
    // The extent of the run with the canvas character extra, without special-character
    // correction; a failed measurement gives 0 x 0; the height is the font's cell height.
    // Abstract.
    virtual gfx::TSize TextSizeBasic(gfx::TCanvas &canvas, const char *str, int32_t length,
                                     bool unicode, bool bidi);
    // The canvas font's metrics; false (tm zeroed) when they cannot be read. Abstract.
    virtual bool GetTextMetrics(gfx::TCanvas &canvas, gfx::TTextMetric &tm);
    // Text alignment flags of the canvas: 0, or TA_RTLREADING. Abstract.
    virtual void SetTextAlign(gfx::TCanvas &canvas, uint32_t flags);
    virtual uint32_t GetTextAlign(gfx::TCanvas &canvas);
    // Extra pixels after every character in measuring and output. Abstract.
    virtual int32_t GetTextCharacterExtra(gfx::TCanvas &canvas);
    virtual void SetTextCharacterExtra(gfx::TCanvas &canvas, int32_t charExtra);
    // How many leading characters fit into maxExtent (fit), their extent (size) and, when
    // pCoords is given (length entries), the cumulative right edge of each character.
    // Abstract.
    virtual void GetTextExtentExPoint(gfx::TCanvas &canvas, const char *str, int32_t length,
                                      int32_t maxExtent, bool unicode, bool bidi,
                                      bool ignoreSpecialChars, int32_t *pCoords, int32_t &fit,
                                      gfx::TSize &size);
    // Glyph placement of a run with justification spread as described above. Abstract.
    virtual std::unique_ptr<TCustomVDGlyphDXData>
    GetGlyphDX(gfx::TCanvas &canvas, const char *str, int32_t length, int32_t spaceCount,
               int32_t extraSpaceWidth, bool unicode, bool bidi, bool ignoreSpecialChars,
               bool needDX, bool needCoords, int32_t leftNoExpIndex, int32_t rightNoExpIndex);
    // Draws the run with the advances of data. Abstract.
    virtual void TextOutWithDX(gfx::TCanvas &canvas, int32_t x, int32_t y, const char *str,
                               int32_t length, bool unicode, bool forMetafile,
                               const TCustomVDGlyphDXData &data);
    // The characters that can receive distributed spacing. Abstract.
    virtual int32_t GetExpandableCharCount(gfx::TCanvas &canvas, const char *str, int32_t length,
                                           bool unicode, bool bidi, bool ignoreSpecialChars);
    // The outermost characters that receive no distributed spacing at the left and right ends
    // (-1: none), when left / right are asked for. Abstract.
    virtual void GetOutermostNonExpandableCharacters(gfx::TCanvas &canvas, const char *str,
                                                     int32_t length, bool unicode, bool bidi,
                                                     bool ignoreSpecialChars, bool left, bool right,
                                                     int32_t &leftIndex, int32_t &rightIndex);
    // Fills pcp (length + 1 entries). Abstract.
    virtual bool GetCaretPositions(gfx::TCanvas &canvas, const char *str, int32_t length,
                                   int32_t spaceCount, int32_t extraSpaceWidth, bool unicode,
                                   bool bidi, bool ignoreSpecialChars, int32_t *pcp,
                                   int32_t leftNoExpIndex, int32_t rightNoExpIndex);
    // Whether TextOut of such a run can carry justification spacing. Abstract.
    virtual bool DoesTextOutSupportSpacing(int32_t length, bool bidi);
    // Whether line breaking should count the fitting part with MaxFit. Abstract.
    virtual bool PreferMaxFit(gfx::TCanvas &canvas, bool bidi, bool useFormatCanvas, int32_t length,
                              int32_t estimFit);

    // ---- Canvases ----
    // A canvas of the screen, and one compatible with canvas (same resolution and font
    // resolution); the caller owns them. Abstract.
    virtual std::unique_ptr<gfx::TCanvas> CreateScreenCanvas();
    virtual std::unique_ptr<gfx::TCanvas> CreateCompatibleCanvas(gfx::TCanvas &canvas);
    // LOGPIXELSX, LOGPIXELSY. Abstract.
    virtual int32_t GetDeviceCaps(gfx::TCanvas &canvas, int32_t index);
    // Invalidates r (client coordinates; null: all) of the control without erasing. Abstract.
    virtual void InvalidateRect(ui::TControl &control, const rtl::TRect *r);
    // Saves the whole drawing state; RestoreCanvasState goes back to it. Abstract.
    virtual int32_t SaveCanvasState(gfx::TCanvas &canvas);
    virtual void RestoreCanvasState(gfx::TCanvas &canvas, int32_t state);
    // Limits the clip to the rectangle (logical coordinates). Abstract.
    virtual void IntersectClipRect(gfx::TCanvas &canvas, int32_t x1, int32_t y1, int32_t x2,
                                   int32_t y2);
    // Switches the graphics mode and returns the one before; back to compatible, the world
    // transform becomes the identity. Abstract.
    virtual TVDGraphicsMode SetGraphicsMode(gfx::TCanvas &canvas, TVDGraphicsMode mode);
    virtual bool IsAdvancedGraphicsMode(gfx::TCanvas &canvas);
    // The world transform (advanced mode only for the setters). Abstract.
    virtual bool GetWorldTransform(gfx::TCanvas &canvas, gfx::TXForm &xform);
    virtual bool SetWorldTransform(gfx::TCanvas &canvas, const gfx::TXForm &xform);
    // Combines xform with the world transform; xform applies first. Abstract.
    virtual bool ModifyWorldTransform(gfx::TCanvas &canvas, const gfx::TXForm &xform);

    // ---- Drawing ----
    // Fills r with the canvas's brush (right and bottom edges excluded).
    virtual void FillRect(gfx::TCanvas &canvas, const rtl::TRect &r);
    // Fills r with color, leaving the canvas brush alone. Abstract.
    virtual void FillColorRect(gfx::TCanvas &canvas, const rtl::TRect &r, gfx::TColor color);
    // Nothing for opacity 0, clNone or an empty r; opacity 255 makes the brush colour color and
    // fills r; otherwise covers r with color blended at constant alpha opacity. Abstract.
    virtual void FillRectAlpha(gfx::TCanvas &canvas, const rtl::TRect &r, gfx::TColor color,
                               uint8_t opacity);
    virtual void Polyline(gfx::TCanvas &canvas, const std::vector<gfx::TPoint> &points);
    virtual void Polygon(gfx::TCanvas &canvas, const std::vector<gfx::TPoint> &points);
    virtual void Ellipse(gfx::TCanvas &canvas, int32_t x1, int32_t y1, int32_t x2, int32_t y2);
    virtual void Rectangle(gfx::TCanvas &canvas, int32_t x1, int32_t y1, int32_t x2, int32_t y2);
    virtual void MoveTo(gfx::TCanvas &canvas, int32_t x, int32_t y);
    virtual void LineTo(gfx::TCanvas &canvas, int32_t x, int32_t y);
    // MoveTo(x1, y1), LineTo(x2, y2): the end point is not painted.
    virtual void Line(gfx::TCanvas &canvas, int32_t x1, int32_t y1, int32_t x2, int32_t y2);
    virtual void DrawFocusRect(gfx::TCanvas &canvas, const rtl::TRect &r);
    // Draws the bitmap at its own size, or stretched into r. Abstract.
    virtual void DrawBitmap(gfx::TCanvas &canvas, int32_t x, int32_t y, const gfx::TBitmap &bmp);
    virtual void StretchDrawBitmap(gfx::TCanvas &canvas, const rtl::TRect &r,
                                   const gfx::TBitmap &bmp);
    virtual void DrawGraphic(gfx::TCanvas &canvas, int32_t x, int32_t y,
                             const gfx::TGraphic &graphic);
    virtual void StretchDrawGraphic(gfx::TCanvas &canvas, const rtl::TRect &r,
                                    const gfx::TGraphic &graphic);

    // ---- Shared operations of both engines ----
    // TextSizeBasic plus, unless ignoreSpecialChars, the special-character correction.
    gfx::TSize TextSize(gfx::TCanvas &canvas, const char *str, int32_t length, bool unicode,
                        bool bidi, bool ignoreSpecialChars);
    // The width and height of a UTF-16 string (corrected as TextSize does).
    int32_t TextWidth(gfx::TCanvas &canvas, const rtl::UnicodeString &s);
    int32_t TextHeight(gfx::TCanvas &canvas, const rtl::UnicodeString &s);
    // The width the special characters of the run take away (0 or negative): soft hyphens
    // occupy no width; 0 for 8-bit text. rec caches their widths for one canvas and font.
    int32_t GetTextWidthAdjustingDeltaEx(gfx::TCanvas &canvas, const char *str, int32_t length,
                                         bool unicode, TVDStringAdjRecord &rec);
    int32_t GetTextWidthAdjustingDelta(gfx::TCanvas &canvas, const char *str, int32_t length,
                                       bool unicode);
    // How many characters fit into width; length 0 gives fit 0.
    void MaxFit(gfx::TCanvas &canvas, const char *str, int32_t length, int32_t width, bool unicode,
                bool bidi, bool ignoreSpecialChars, int32_t &fit, gfx::TSize &size);
};

} // namespace vizivodu
