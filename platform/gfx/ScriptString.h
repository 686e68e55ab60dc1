// The complex-script string functions of the platform (the ScriptString entry points of a
// Uniscribe library), on the canvas's shaping core: one analysis shapes a run of text in the
// font selected into a canvas (bidirectional levels, fallback faces, clusters), and answers
// its size, its logical widths, its output order and caret positions, and draws it.
//
// Units: logical units of the canvas, x from the left edge of the run as drawn. Positions are
// the running sums of the unrounded glyph advances rounded once each (as the canvas measures
// text), so a run measures alike on every device.
//
// Clusters and logical widths: a cluster (the glyphs of a base with its combining marks, or of
// a ligature) is as wide as its glyphs; its width is divided evenly among the characters of
// the cluster that start a character (IsCharacterStart), the first ones taking the pixels left
// over; combining marks and low surrogates get 0. Each character then has a box in the
// cluster: left to right in logical order in a left-to-right run, right to left in a
// right-to-left one; a character of width 0 sits at the end of the characters before it.
//
// Failure: functions return S_OK or a negative value (FAILED); ScriptStringAnalyse leaves no
// analysis behind when it fails. An analysis belongs to the caller until ScriptStringFree.
#pragma once

#include "platform/gfx/Types.h"

#include <cstdint>

namespace gfx {

class TCanvas;
struct TScriptStringAnalysis;

using HRESULT = int32_t;
using SCRIPT_STRING_ANALYSIS = TScriptStringAnalysis *;

// Results of the functions.
enum : HRESULT {
    S_OK = 0,
    USP_E_INVALIDARG = -1,  // a missing or out-of-range argument
    USP_E_GLYPHBUFFER = -2, // the run needs more glyphs than the buffer size allows
};
constexpr bool FAILED(HRESULT result) {
    return result < 0;
}

// Analysis flags.
enum : uint32_t {
    SSA_CLIP = 0x4,      // keep only the characters that fit into the requested width
    SSA_FALLBACK = 0x20, // other faces for characters the font lacks (always done)
    SSA_GLYPHS = 0x80,   // shape into glyphs (always done)
    SSA_RTL = 0x100,     // right-to-left reading order
};

// Shapes length characters of text in the font of canvas. text is UTF-16 when charset is -1,
// else 8-bit characters of that font character set (SYMBOL_CHARSET: the symbol fonts' private
// codes U+F000 + byte). glyphs is the size of the glyph buffer (more glyphs than that fail).
// With SSA_CLIP and reqWidth of 0 or more only the first characters whose logical widths fit
// into reqWidth are kept (whole characters). dx (length entries, or null) imposes the logical
// widths. control, state, tabdef and inClass are not supported and must be null. The canvas
// must outlive the analysis; its state is not changed.
HRESULT ScriptStringAnalyse(TCanvas *canvas, const void *text, int32_t length, int32_t glyphs,
                            int32_t charset, uint32_t flags, int32_t reqWidth, const void *control,
                            const void *state, const int32_t *dx, const void *tabdef,
                            const uint8_t *inClass, SCRIPT_STRING_ANALYSIS *analysis);
// Frees the analysis and sets it to null; nothing for null.
HRESULT ScriptStringFree(SCRIPT_STRING_ANALYSIS *analysis);
// The size of the (clipped) run: its width and the font's cell height; null for no analysis.
const TSize *ScriptString_pSize(SCRIPT_STRING_ANALYSIS analysis);
// The number of characters the analysis holds (fewer than analysed when clipped).
const int32_t *ScriptString_pcOutChars(SCRIPT_STRING_ANALYSIS analysis);
// The logical width of every character, ScriptString_pcOutChars entries.
HRESULT ScriptStringGetLogicalWidths(SCRIPT_STRING_ANALYSIS analysis, int32_t *dx);
// For every character, the output position (glyph index in display order, left to right) of
// the first glyph of its cluster.
HRESULT ScriptStringGetOrder(SCRIPT_STRING_ANALYSIS analysis, uint32_t *order);
// The x of the leading (trailing false) or trailing edge of character cp; the leading edge is
// the left one in a left-to-right run and the right one in a right-to-left run.
HRESULT ScriptStringCPtoX(SCRIPT_STRING_ANALYSIS analysis, int32_t cp, bool trailing, int32_t *x);
// The character at x and whether x is in its trailing half; left of the run: -1 (trailing 1)
// in a left-to-right run, the character count (trailing 0) in a right-to-left one, and the
// other way round right of it.
HRESULT ScriptStringXtoCP(SCRIPT_STRING_ANALYSIS analysis, int32_t x, int32_t *cp,
                          int32_t *trailing);
// Draws the run on the analysis's canvas with its top-left corner at (x, y) (the canvas's text
// colour; the canvas's character extra does not apply). options: ETO_OPAQUE fills the run's
// box with the background colour first, ETO_CLIPPED clips to clip. A selection (minSel below
// maxSel) is not supported.
HRESULT ScriptStringOut(SCRIPT_STRING_ANALYSIS analysis, int32_t x, int32_t y, uint32_t options,
                        const TRect *clip, int32_t minSel, int32_t maxSel, bool disabled);

} // namespace gfx
