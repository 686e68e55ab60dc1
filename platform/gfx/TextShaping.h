// Shaping a line of text for display: bidirectional runs (ICU), fallback faces for characters
// a face lacks, glyphs with advances and clusters (HarfBuzz, or the advance cache for text that
// needs no shaping). The core under the canvas's text functions, and under the document
// library's complex-script engine.
//
// Units: em units (1.0 = the em of the font), unhinted; multiply by the em height in logical
// units to place text. Y offsets point up. Clusters are UTF-16 indexes into the text given.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace gfx {

class TFontFace;

struct TShapedGlyph {
    const TFontFace *Face = nullptr;
    uint32_t Glyph = 0;
    uint32_t Cluster = 0; // UTF-16 index of the first character of the glyph's cluster
    double Advance = 0;
    double XOffset = 0;
    double YOffset = 0;
};

// Characters [Start, End) of one direction; Glyphs in visual order, left to right.
struct TShapedRun {
    uint32_t Start = 0;
    uint32_t End = 0;
    bool RightToLeft = false;
    std::vector<TShapedGlyph> Glyphs;
};

struct TShapedText {
    std::vector<TShapedRun> Runs; // visual order, left to right
    // Per UTF-16 unit in logical order: the advance of the cluster it starts, 0 for the other
    // units of a cluster (marks, low surrogates, ligated characters).
    std::vector<double> Advances;
    // Per UTF-16 unit: the bidirectional embedding level (even: left to right).
    std::vector<uint8_t> Levels;
    bool Reordered = false; // some run is right to left
    double Width() const;
};

enum class TReadingOrder : uint8_t { LeftToRight, RightToLeft };

struct TShapeOptions {
    TReadingOrder Order = TReadingOrder::LeftToRight;
    bool Kerning = false;   // GDI places characters without kerning pairs
    bool Ligatures = false; // nor optional ligatures; required forms (Arabic) always apply
};

// Shapes text in face, using fallback faces for characters the face lacks.
void ShapeText(const TFontFace &face, std::u16string_view text, const TShapeOptions &options,
               TShapedText &out);

} // namespace gfx
