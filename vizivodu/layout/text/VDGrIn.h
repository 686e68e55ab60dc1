// The graphic interface: the single door through which the rich-document library measures and
// draws. One instance, owned by the style sheet, serves every canvas it is given; it keeps
// nothing between calls.
//
// Contract:
// - Every operation takes the canvas it works on. The "drawing handle" of the shape, pen and
//   brush operations is the canvas itself (InitDrawing returns it, DoneDrawing does nothing).
// - Text runs (TVDTextRun) are item text as stored: Length characters, UTF-16LE code units when
//   Unicode, else 8-bit characters of the canvas font's code page. Lengths, indices and the
//   entries of advance and coordinate arrays count characters (code units), from 0.
// - Lengths are logical units of the canvas. Caret arrays have Length + 1 entries: entry i is
//   the x before character i, entry Length the x after the last one.
// - Justification: SpaceCount above 0 spreads ExtraSpaceWidth over that many spaces (U+0020),
//   SpaceCount -100 (vdDistributeSpacing) over every expandable character, 0 adds nothing.
//   LeftNoExpIndex and RightNoExpIndex name characters that never widen (-1: none).
// - An operation that changes a canvas state for its own work (character extra, clip region,
//   transform) puts it back before it returns, also when an exception passes, unless changing
//   it is its purpose (SetTextAlign, ScaleCanvasTransform until RestoreCanvasTransform,
//   CopyCanvasFont until FinalizeCopyCanvasFont, ApplyTextRangeRegion).
// - An abstract operation called on this base class raises EAbstractError "Abstract Error";
//   the GDI engine (TVDWinGraphicInterface) and the complex-script engine
//   (TVDUniscribeGraphicInterface) implement them all.
// - Used on the user-interface thread only.
#pragma once

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Colors.h"
#include "platform/gfx/Graphics.h"
#include "platform/rtl/Sets.h"
#include "platform/rtl/System.h"
#include "platform/rtl/Types.h"

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace gfx {
class TCustomImageList;
}

namespace ui {
class TControl;
}

namespace vizivodu {

// Text alignment flag of right-to-left reading order (SetTextAlign).
constexpr uint32_t TA_RTLREADING = 256;

// SpaceCount that spreads the extra width over every expandable character.
constexpr int32_t vdDistributeSpacing = -100;

// A run of item text and how it is treated.
struct TVDTextRun {
    const char *Str = nullptr; // may be null where only Length counts
    int32_t Length = 0;
    bool Unicode = false;
    bool BiDi = false;               // bidirectional (reordering) treatment
    bool IgnoreSpecialChars = false; // measure soft hyphens as the font draws them

    // The code unit (Unicode) or byte at index i.
    char16_t CharAt(int32_t i) const {
        if (!Unicode) {
            return char16_t(uint8_t(Str[i]));
        }
        return char16_t(uint8_t(Str[2 * i]) | (uint8_t(Str[2 * i + 1]) << 8));
    }
};

// How a run of item text is treated when it is measured (GetItemTextWidth).
enum TVDRunOption : uint8_t { vdroBiDi, vdroIgnoreSpecialChars };
using TVDRunOptions = rtl::TSet<TVDRunOption>;

// Where text goes: a screen or printer canvas, or a metafile (which receives characters with
// advances, never glyph indices).
enum TVDTextOutput : uint8_t { vdtoDevice, vdtoMetafile };

// What GetGlyphDX is asked for.
enum TVDGlyphDXNeed : uint8_t { vdgnDX, vdgnCoords };
using TVDGlyphDXNeeds = rtl::TSet<TVDGlyphDXNeed>;

// The ends of a run asked for by GetOutermostNonExpandableCharacters.
enum TVDRunEnd : uint8_t { vdreLeft, vdreRight };
using TVDRunEnds = rtl::TSet<TVDRunEnd>;

enum TVDGraphicsMode : uint8_t { vdgmCompatible, vdgmAdvanced };
enum TVDGradientDirection : uint8_t { vdgdHorizontal, vdgdVertical };
// Which canvas the line wrapper measures on.
enum TVDMeasureCanvas : uint8_t { vdmcCanvas, vdmcFormatCanvas };

// A selected font; the handle of the canvas's logical font.
using TVDFontHandle = gfx::TLogFont;

// Cache of the widths of the special characters in one font on one canvas; -1: not measured.
struct TVDStringAdjRecord {
    int32_t ZWSWidth = -1; // U+200B zero width space
    int32_t SHRWidth = -1; // U+00AD soft hyphen
    int32_t WJWidth = -1;  // U+2060 word joiner
};

// One horizontal range of a run, x relative to the run's origin.
struct TVDCoordRangeRecord {
    int32_t Left = 0;
    int32_t Right = 0;
};
// The ranges of a text range, in the order found; the first is the caller's.
using TVDCoordRanges = std::vector<TVDCoordRangeRecord>;

// What CopyCanvasFont changed on the destination canvas, to put back.
struct TVDCanvasStoreFontParams {
    TVDFontHandle FontHandle;
    gfx::TFontCharset Charset = 0;
    uint32_t TextAlign = 0;
    int32_t CharExtra = 0;
};

// The mapping ScaleCanvasTransform changed.
struct TVDCanvasStoreTransformParams {
    rtl::TSize wesz;  // window extent
    rtl::TPoint wopt; // window origin
    gfx::TXForm XForm;
};

// A saved clip region: Valid false means the canvas had none.
struct TVDClipRgn {
    gfx::TRegion Rgn;
    bool Valid = false;
};

// The glyph placement of one text run: made by GetGlyphDX, owned by the caller.
class TCustomVDGlyphDXData {
public:
    virtual ~TCustomVDGlyphDXData() = default;
    // Advances, one per output position: per glyph for a reordered run, else per character.
    std::vector<int32_t> PDX;
    // Left and right edges of each character in logical order, relative to the run's origin;
    // only when coordinates were asked for.
    std::vector<int32_t> PXL;
    std::vector<int32_t> PXR;
    // For each character its output position; only for a reordered run.
    std::vector<uint32_t> POrder;
};

class TVDGraphicInterface {
public:
    TVDGraphicInterface() = default;
    TVDGraphicInterface(const TVDGraphicInterface &) = delete;
    TVDGraphicInterface &operator=(const TVDGraphicInterface &) = delete;
    virtual ~TVDGraphicInterface() = default;

    // ---- Drawing handle ----
    virtual gfx::TCanvas &InitDrawing(gfx::TCanvas &canvas) { return canvas; }
    virtual void DoneDrawing(gfx::TCanvas &) {}

    // ---- Text (abstract) ----
    // Writes the run with the top-left corner of its cell at (x, y).
    virtual void TextOut(gfx::TCanvas &canvas, int32_t x, int32_t y, const TVDTextRun &run,
                         TVDTextOutput output);
    // The extent of the run, without special-character correction.
    virtual rtl::TSize TextSizeBasic(gfx::TCanvas &canvas, const TVDTextRun &run);
    // The outline metrics into otm when size is large enough; with no otm the size needed;
    // 0 when the font has none.
    virtual uint32_t GetOutlineTextMetrics(gfx::TCanvas &canvas, uint32_t size,
                                           gfx::TOutlineTextMetric *otm);
    virtual bool GetTextMetrics(gfx::TCanvas &canvas, gfx::TTextMetric &tm);
    virtual bool FontHasLigationGlyphs(gfx::TCanvas &canvas);
    // Text alignment flags of the canvas: 0, or TA_RTLREADING.
    virtual void SetTextAlign(gfx::TCanvas &canvas, uint32_t flags);
    virtual uint32_t GetTextAlign(gfx::TCanvas &canvas);
    // Extra pixels after every character in measuring and output.
    virtual int32_t GetTextCharacterExtra(gfx::TCanvas &canvas);
    virtual void SetTextCharacterExtra(gfx::TCanvas &canvas, int32_t charExtra);
    // How many characters fit into maxExtent (fit), the extent of those (size) and, when
    // coords is given (Length entries), the cumulative right edge of each character.
    virtual void GetTextExtentExPoint(gfx::TCanvas &canvas, const TVDTextRun &run,
                                      int32_t maxExtent, int32_t *coords, int32_t &fit,
                                      rtl::TSize &size);
    // Makes a font from the description and gives it to the canvas font.
    virtual void SetLogFont(gfx::TCanvas &canvas, const gfx::TLogFont &logFont);
    // The canvas font's handle.
    virtual TVDFontHandle GetFontHandle(gfx::TCanvas &canvas);
    // Selects the handle into the canvas directly; returns the one selected before.
    virtual TVDFontHandle SetFontHandle(gfx::TCanvas &canvas, const TVDFontHandle &font);
    // A forward-diagonal hatch of foreColor on an opaque backColor, from the brush origin.
    virtual void SetDiagonalBrush(gfx::TCanvas &canvas, gfx::TColor backColor,
                                  gfx::TColor foreColor, int32_t xOrg, int32_t yOrg);

    // ---- Canvases (abstract) ----
    virtual std::unique_ptr<gfx::TCanvas> CreateScreenCanvas();
    virtual void DestroyScreenCanvas(std::unique_ptr<gfx::TCanvas> &canvas);
    virtual std::unique_ptr<gfx::TCanvas> CreateCompatibleCanvas(gfx::TCanvas &canvas);
    virtual void DestroyCompatibleCanvas(std::unique_ptr<gfx::TCanvas> &canvas);
    // The printer's canvas, or null when there is none.
    virtual std::unique_ptr<gfx::TCanvas> CreatePrinterCanvas();

    // ---- Mapping (abstract) ----
    virtual void GetViewportExtEx(gfx::TCanvas &canvas, rtl::TSize &size);
    virtual void GetViewportOrgEx(gfx::TCanvas &canvas, rtl::TPoint &point);
    virtual void GetWindowExtEx(gfx::TCanvas &canvas, rtl::TSize &size);
    virtual void GetWindowOrgEx(gfx::TCanvas &canvas, rtl::TPoint &point);
    virtual void SetViewportExtEx(gfx::TCanvas &canvas, int32_t x, int32_t y,
                                  rtl::TSize *old = nullptr);
    virtual void SetViewportOrgEx(gfx::TCanvas &canvas, int32_t x, int32_t y,
                                  rtl::TPoint *old = nullptr);
    virtual void SetWindowExtEx(gfx::TCanvas &canvas, int32_t x, int32_t y,
                                rtl::TSize *old = nullptr);
    virtual void SetWindowOrgEx(gfx::TCanvas &canvas, int32_t x, int32_t y,
                                rtl::TPoint *old = nullptr);
    virtual int32_t GetMapMode(gfx::TCanvas &canvas);
    // Returns the previous mode.
    virtual int32_t SetMapMode(gfx::TCanvas &canvas, int32_t mode);
    // Returns the previous mode.
    virtual TVDGraphicsMode SetGraphicsMode(gfx::TCanvas &canvas, TVDGraphicsMode mode);
    virtual bool IsAdvancedGraphicsMode(gfx::TCanvas &canvas);
    virtual bool GetWorldTransform(gfx::TCanvas &canvas, gfx::TXForm &xform);
    virtual bool SetWorldTransform(gfx::TCanvas &canvas, const gfx::TXForm &xform);
    // Combines xform with the world transform; xform applies first.
    virtual bool ModifyWorldTransform(gfx::TCanvas &canvas, const gfx::TXForm &xform);

    // ---- Invalidation and clipping (abstract) ----
    // Invalidates rect of the control (all of it for null), without erasing.
    virtual void InvalidateRect(ui::TControl &control, const rtl::TRect *rect);
    virtual void IntersectClipRect(gfx::TCanvas &canvas, int32_t x1, int32_t y1, int32_t x2,
                                   int32_t y2);
    virtual void ExcludeClipRect(gfx::TCanvas &canvas, int32_t x1, int32_t y1, int32_t x2,
                                 int32_t y2);
    // Saves the clip region into rgn, then intersects.
    virtual void IntersectClipRectEx(gfx::TCanvas &canvas, int32_t x1, int32_t y1, int32_t x2,
                                     int32_t y2, TVDClipRgn &rgn);
    // Copies the clip region (Valid false: the canvas had none).
    virtual void GetClipRgn(gfx::TCanvas &canvas, TVDClipRgn &rgn);
    // GetClipRgn, then removes all clipping.
    virtual void RemoveClipRgn(gfx::TCanvas &canvas, TVDClipRgn &rgn);
    // Selects the saved region back (or none when not valid) and frees it.
    virtual void RestoreClipRgn(gfx::TCanvas &canvas, TVDClipRgn &rgn);
    // Intersects with a saved region; an invalid one removes clipping.
    virtual void IntersectClipRgn(gfx::TCanvas &canvas, const TVDClipRgn &rgn);
    // Unites with a saved region; an invalid one does nothing.
    virtual void UnionClipRgn(gfx::TCanvas &canvas, const TVDClipRgn &rgn);
    virtual void FreeClipRgn(TVDClipRgn &rgn);
    virtual int32_t SaveCanvasState(gfx::TCanvas &canvas);
    virtual void RestoreCanvasState(gfx::TCanvas &canvas, int32_t state);

    // ---- Shapes ----
    // Fills r with the canvas brush (right and bottom edges excluded).
    virtual void FillRect(gfx::TCanvas &canvas, const rtl::TRect &r);
    // Fills r with color, leaving the canvas brush alone. Abstract.
    virtual void FillColorRect(gfx::TCanvas &canvas, const rtl::TRect &r, gfx::TColor color);
    virtual void Polyline(gfx::TCanvas &canvas, const std::vector<rtl::TPoint> &points); // abstract
    virtual void Polygon(gfx::TCanvas &vdCanvas, const std::vector<rtl::TPoint> &points);
    virtual void Ellipse(gfx::TCanvas &vdCanvas, int32_t x1, int32_t y1, int32_t x2, int32_t y2);
    virtual void Rectangle(gfx::TCanvas &vdCanvas, int32_t x1, int32_t y1, int32_t x2, int32_t y2);
    // A solid brush of color1, then Rectangle: no gradient is drawn.
    virtual void RectangleGradient(gfx::TCanvas &vdCanvas, int32_t x1, int32_t y1, int32_t x2,
                                   int32_t y2, gfx::TColor color1, gfx::TColor color2,
                                   TVDGradientDirection direction);
    virtual void SetRectangleGradientBrush(gfx::TCanvas &vdCanvas, int32_t x1, int32_t y1,
                                           int32_t x2, int32_t y2, gfx::TColor color1,
                                           gfx::TColor color2, TVDGradientDirection direction,
                                           uint8_t opacity1, uint8_t opacity2);
    virtual void MoveTo(gfx::TCanvas &vdCanvas, int32_t x, int32_t y);
    virtual void LineTo(gfx::TCanvas &vdCanvas, int32_t x, int32_t y);
    // MoveTo (x1, y1), LineTo (x2, y2): the end point is not painted.
    virtual void Line(gfx::TCanvas &vdCanvas, int32_t x1, int32_t y1, int32_t x2, int32_t y2);
    // Nothing in both engines.
    virtual void Pie(gfx::TCanvas &vdCanvas, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                     double startAngle, double sweepAngle);
    virtual void Arc(gfx::TCanvas &vdCanvas, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                     double startAngle, double sweepAngle);
    virtual void DrawFocusRect(gfx::TCanvas &canvas, const rtl::TRect &rect);

    // ---- Pictures ----
    virtual void DrawBitmap(gfx::TCanvas &canvas, int32_t x, int32_t y,
                            const gfx::TBitmap &bmp); // abstract
    virtual void StretchDrawBitmap(gfx::TCanvas &canvas, const rtl::TRect &r,
                                   const gfx::TBitmap &bmp); // abstract
    virtual void DrawGraphic(gfx::TCanvas &canvas, int32_t x, int32_t y,
                             const gfx::TGraphic &graphic);
    virtual void StretchDrawGraphic(gfx::TCanvas &canvas, const rtl::TRect &r,
                                    const gfx::TGraphic &graphic);
    virtual void PrintBitmap(gfx::TCanvas &canvas, const rtl::TRect &r, const gfx::TBitmap &bmp);
    virtual void CopyRect(gfx::TCanvas &destCanvas, const rtl::TRect &dest,
                          gfx::TCanvas &sourceCanvas, const rtl::TRect &source);
    // Image index of the list at (x, y) in the list's own size; blendColor other than clNone
    // blends the image's pixels half with it. Abstract.
    virtual void DrawImageList(gfx::TCanvas &canvas, const gfx::TCustomImageList &imageList,
                               int32_t index, int32_t x, int32_t y, gfx::TColor blendColor);
    virtual int32_t GetDeviceCaps(gfx::TCanvas &canvas, int32_t index); // abstract
    virtual void ConvertPenToGeometric(gfx::TCanvas &canvas);           // abstract
    virtual void ConvertPenToCosmetic(gfx::TCanvas &canvas);            // abstract

    // ---- Placed text (abstract) ----
    // Advances (vdgnDX) and coordinates (vdgnCoords) of the run, justified as asked.
    virtual std::unique_ptr<TCustomVDGlyphDXData>
    GetGlyphDX(gfx::TCanvas &canvas, const TVDTextRun &run, int32_t spaceCount,
               int32_t extraSpaceWidth, TVDGlyphDXNeeds needs, int32_t leftNoExpIndex,
               int32_t rightNoExpIndex);
    // Draws the run at the positions of data (which the metafile output may change).
    virtual void TextOutWithDX(gfx::TCanvas &canvas, int32_t x, int32_t y, const TVDTextRun &run,
                               TVDTextOutput output, TCustomVDGlyphDXData &data);
    virtual int32_t GetExpandableCharCount(gfx::TCanvas &canvas, const TVDTextRun &run);
    // The characters at the logical ends of the run that justification must not widen (-1:
    // none; an end not asked for is -1).
    virtual void GetOutermostNonExpandableCharacters(gfx::TCanvas &canvas, const TVDTextRun &run,
                                                     TVDRunEnds ends, int32_t &leftIndex,
                                                     int32_t &rightIndex);
    // Fills the Length + 1 caret positions; the result carries nothing callers use.
    virtual bool GetCaretPositions(gfx::TCanvas &canvas, const TVDTextRun &run, int32_t spaceCount,
                                   int32_t extraSpaceWidth, std::span<int32_t> pcp,
                                   int32_t leftNoExpIndex, int32_t rightNoExpIndex);
    // Whether TextOut of such a run (Length, BiDi) can carry justification spacing; otherwise
    // the caller uses GetGlyphDX and TextOutWithDX.
    virtual bool DoesTextOutSupportSpacing(const TVDTextRun &run);
    // Whether line breaking should measure the fitting part of a long run (Length, BiDi) with
    // MaxFit rather than by probing.
    virtual bool PreferMaxFit(gfx::TCanvas &canvas, const TVDTextRun &run,
                              TVDMeasureCanvas measureCanvas, int32_t estimFit);
    // Nothing for opacity 0, clNone or an empty r; opacity 255 fills r with color through the
    // canvas brush; otherwise blends color over r with constant alpha opacity.
    virtual void FillRectAlpha(gfx::TCanvas &canvas, const rtl::TRect &r, gfx::TColor color,
                               uint8_t opacity);
    virtual void SetPen(gfx::TCanvas &vdCanvas, const gfx::TPen &pen);
    virtual void SetPenAntiAliasing(gfx::TCanvas &vdCanvas, bool value);
    // The opacity is not used.
    virtual void SetBrush(gfx::TCanvas &vdCanvas, const gfx::TBrush &brush, uint8_t opacity);

    // ---- Measuring with special characters ----
    // TextSizeBasic, the width corrected for the special characters unless IgnoreSpecialChars.
    rtl::TSize TextSize(gfx::TCanvas &canvas, const TVDTextRun &run);
    // A string's width and height as UTF-16 without BiDi, soft hyphens taking no width.
    int32_t TextWidth(gfx::TCanvas &canvas, const rtl::UnicodeString &s);
    int32_t TextHeight(gfx::TCanvas &canvas, const rtl::UnicodeString &s);
    static void InitVDStringAdjRecord(TVDStringAdjRecord &rec) { rec = TVDStringAdjRecord(); }
    // Minus the width of the soft hyphens (and, before Vista, zero width spaces and word
    // joiners) of a UTF-16 run, each kind measured once per record; 0 for 8-bit text.
    int32_t GetTextWidthAdjustingDeltaEx(gfx::TCanvas &canvas, const TVDTextRun &run,
                                         TVDStringAdjRecord &rec);
    int32_t GetTextWidthAdjustingDelta(gfx::TCanvas &canvas, const TVDTextRun &run);
    // Removes the widths of the special characters from cumulative right edges.
    static void AdjustCoordArray(const TVDTextRun &run, std::span<int32_t> coords);
    // How many characters fit into width, and their extent.
    void MaxFit(gfx::TCanvas &canvas, const TVDTextRun &run, int32_t width, int32_t &fit,
                rtl::TSize &size);

    // ---- Text ranges, reference output, font copy, transforms ----
    // The horizontal ranges covered by characters charIndex1 .. charIndex2 (from 0) of the
    // run as justified; one range per visually contiguous piece.
    TVDCoordRanges GetTextRangeCoords(gfx::TCanvas &canvas, const TVDTextRun &run,
                                      int32_t spaceCount, int32_t extraSpaceWidth,
                                      int32_t charIndex1, int32_t charIndex2,
                                      int32_t leftNoExpIndex, int32_t rightNoExpIndex);
    static void FreeAdditionalCoordRangeRecords(TVDCoordRanges &coords);
    // Narrows the clip region of canvas to characters charIndex1 .. charIndex2 of a run drawn
    // with its item at left and its text at textLeft, between top and bottom, measured on
    // refCanvas; false (nothing changed) when charIndex2 < charIndex1.
    bool ApplyTextRangeRegion(gfx::TCanvas &canvas, gfx::TCanvas &refCanvas, const TVDTextRun &run,
                              int32_t spaceCount, int32_t extraSpaceWidth, int32_t charIndex1,
                              int32_t charIndex2, int32_t left, int32_t textLeft, int32_t top,
                              int32_t bottom, int32_t leftNoExpIndex, int32_t rightNoExpIndex);
    // Draws on canvas text formatted on refCanvas, every character where refCanvas put it.
    void TextOutRef(gfx::TCanvas &canvas, gfx::TCanvas &refCanvas, int32_t x, int32_t y,
                    const TVDTextRun &run, TVDTextOutput output, int32_t leftNoExpIndex,
                    int32_t rightNoExpIndex);
    // Gives destCanvas the source's text alignment, character extra, charset and font;
    // FinalizeCopyCanvasFont puts all of them back.
    void CopyCanvasFont(gfx::TCanvas &sourceCanvas, gfx::TCanvas &destCanvas,
                        TVDCanvasStoreFontParams &oldState);
    void FinalizeCopyCanvasFont(gfx::TCanvas &sourceCanvas, gfx::TCanvas &destCanvas,
                                const TVDCanvasStoreFontParams &oldState);
    // Logical coordinates become scaleFactor times finer, until RestoreCanvasTransform.
    void ScaleCanvasTransform(gfx::TCanvas &canvas, TVDCanvasStoreTransformParams &oldState,
                              int32_t scaleFactor);
    void RestoreCanvasTransform(gfx::TCanvas &canvas,
                                const TVDCanvasStoreTransformParams &oldState);
    // Later drawing at (0, 0) lands where (dx, dy) was.
    void MoveWindowOrgAdvanced(gfx::TCanvas &canvas, int32_t dx, int32_t dy);

    // ---- Dotted guide lines (with the current pen) ----
    void LineDragDropCaret(gfx::TCanvas &canvas, int32_t x, int32_t y1, int32_t y2);
    void DrawTableResizeVLine(gfx::TCanvas &canvas, int32_t x, int32_t y1, int32_t y2);
    void DrawTableResizeHLine(gfx::TCanvas &canvas, int32_t x1, int32_t x2, int32_t y);

    // ---- Spreading justification ----
    // Over the advances of expandable characters (through order when given).
    static void DistributeSpacingToDX(const TVDTextRun &run, std::span<int32_t> pdx,
                                      int32_t extraSpacing, int32_t leftNoExpIndex,
                                      int32_t rightNoExpIndex, std::span<const uint32_t> order);
    // Over the advances of the first spaceCount spaces, the remainder on the later ones.
    static void ExpandSpacesInDX(const TVDTextRun &run, std::span<int32_t> pdx, int32_t spaceCount,
                                 int32_t extraSpacing, std::span<const uint32_t> order);
    // The same on left and right edges (Length entries) and caret positions (Length + 1
    // entries, may be empty).
    static void ExpandSpacesInCoords(const TVDTextRun &run, std::span<int32_t> coordsL,
                                     std::span<int32_t> coordsR, std::span<int32_t> pcp,
                                     int32_t spaceCount, int32_t extraSpacing);
    static void DistributeSpacingInCoords(const TVDTextRun &run, std::span<int32_t> coordsL,
                                          std::span<int32_t> coordsR, std::span<int32_t> pcp,
                                          int32_t extraSpacing, int32_t leftNoExpIndex,
                                          int32_t rightNoExpIndex);

protected:
    // Changes the advances by the character extra (only at character starts of a UTF-16 run
    // with text; every position when run.Str is null or the text is 8-bit).
    static void ApplyCharExtraToDX(const TVDTextRun &run, int32_t charExtra,
                                   std::span<int32_t> pdx);
    // The total change ApplyCharExtraToDX would make.
    static int32_t GetCharExtraDelta(const TVDTextRun &run, int32_t charExtra,
                                     std::span<const int32_t> pdx);
};

// Saves the canvas's state through a graphic interface and puts it back when the scope ends,
// also when an exception passes.
class TVDCanvasStateScope {
public:
    TVDCanvasStateScope(TVDGraphicInterface &gi, gfx::TCanvas &canvas)
        : FGI(gi), FCanvas(canvas), FState(gi.SaveCanvasState(canvas)) {}
    ~TVDCanvasStateScope() { FGI.RestoreCanvasState(FCanvas, FState); }
    TVDCanvasStateScope(const TVDCanvasStateScope &) = delete;
    TVDCanvasStateScope &operator=(const TVDCanvasStateScope &) = delete;

private:
    TVDGraphicInterface &FGI;
    gfx::TCanvas &FCanvas;
    int32_t FState;
};

} // namespace vizivodu
