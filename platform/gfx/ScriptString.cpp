// The complex-script string functions: shaping through ShapeText in the canvas's selected
// face, clusters in display order turned into logical widths and character boxes, output
// through the canvas's ExtTextOut with the logical widths imposed (the canvas shapes the same
// text the same way, so every cluster lands where the analysis put it).
//
// Speed: text of characters the face places by their advances alone skips the shaper; freed
// analyses are kept per thread with their buffers, and a text that begins the plain text of the
// last one freed, in the same font, is cut from it (its running sums are the same).
#include "platform/gfx/ScriptString.h"

#include "platform/gfx/Characters.h"
#include "platform/gfx/FontEngine.h"
#include "platform/gfx/Graphics.h"
#include "platform/gfx/TextShaping.h"
#include "platform/rtl/CodePages.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace gfx {

struct TScriptStringAnalysis {
    TCanvas *Canvas = nullptr;
    std::u16string Text; // the characters kept
    bool RightToLeft = false;
    std::vector<int32_t> Widths; // logical widths
    std::vector<uint32_t> Order; // output position of the first glyph of each one's cluster
    std::vector<int32_t> Left;   // each character's box
    std::vector<int32_t> Right;
    std::vector<uint8_t> InRtlRun; // the character belongs to a right-to-left run
    TSize Size;
    int32_t OutChars = 0;
    bool Reordered = false;
    bool Plain = false; // every character its own glyph, in logical order, left to right
    // The font a plain analysis was laid out in.
    const TFontFace *Face = nullptr;
    double EmWidth = 0;
    TShapedText Shaped; // scratch of Layout, kept for its buffers
};

namespace {

int32_t RoundX(double v) {
    const double shifted = v + 0.5;
    if (shifted >= 0 && shifted < 1073741824.0) {
        return int32_t(shifted); // truncation is the floor here, and much cheaper
    }
    return int32_t(std::clamp(std::floor(shifted), -1073741824.0, 1073741823.0));
}

// The code page of 8-bit text in a font character set; 0 for the symbol fonts' codes.
uint32_t CodePageOfCharset(int32_t charset) {
    switch (charset) {
    case SYMBOL_CHARSET:
        return 0;
    case ANSI_CHARSET:
        return 1252;
    case 128:
        return 932;
    case 129:
        return 949;
    case 130:
        return 1361;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case RUSSIAN_CHARSET:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    case 255:
        return rtl::GetOEMCP();
    default:
        return rtl::GetACP();
    }
}

// One UTF-16 unit per byte, whatever the code page, into wide.
void WideOf(const void *text, int32_t length, int32_t charset, std::u16string &wide) {
    if (charset == -1) {
        wide.resize(size_t(length));
        std::memcpy(wide.data(), text, size_t(length) * 2);
        return;
    }
    const std::string_view bytes(static_cast<const char *>(text), size_t(length));
    wide.clear();
    if (charset == SYMBOL_CHARSET) {
        for (char b : bytes) {
            wide.push_back(char16_t(0xF000 + uint8_t(b)));
        }
        return;
    }
    const uint32_t codePage = CodePageOfCharset(charset);
    wide = rtl::AnsiToUnicode(bytes, codePage);
    if (wide.size() != bytes.size()) {
        wide.clear();
        for (size_t i = 0; i < bytes.size(); ++i) {
            const std::u16string one = rtl::AnsiToUnicode(bytes.substr(i, 1), codePage);
            wide.push_back(one.size() == 1 ? one[0] : u'?');
        }
    }
}

// A formatting run makes and frees several analyses per line: freed ones are kept, with their
// buffers, for the next (per thread, a few at most).
std::vector<std::unique_ptr<TScriptStringAnalysis>> &SpareAnalyses() {
    thread_local std::vector<std::unique_ptr<TScriptStringAnalysis>> spare;
    return spare;
}

std::unique_ptr<TScriptStringAnalysis> NewAnalysis() {
    std::vector<std::unique_ptr<TScriptStringAnalysis>> &spare = SpareAnalyses();
    if (spare.empty()) {
        return std::make_unique<TScriptStringAnalysis>();
    }
    std::unique_ptr<TScriptStringAnalysis> a = std::move(spare.back());
    spare.pop_back();
    return a;
}

void RecycleAnalysis(std::unique_ptr<TScriptStringAnalysis> a) {
    constexpr size_t KeptAnalyses = 8;
    std::vector<std::unique_ptr<TScriptStringAnalysis>> &spare = SpareAnalyses();
    if (a && spare.size() < KeptAnalyses) {
        spare.push_back(std::move(a));
    }
}

// A cluster as drawn: the characters [Start, End) and the glyphs from FirstGlyph on, between
// X0 and X1 (em units along the baseline).
struct TCluster {
    uint32_t Start = 0;
    uint32_t End = 0;
    uint32_t FirstGlyph = 0;
    double X0 = 0;
    double X1 = 0;
    bool RightToLeft = false;
};

// The clusters of the shaped text in display order, with their character ranges.
std::vector<TCluster> ClustersOf(const TShapedText &shaped, size_t length, uint32_t &glyphCount) {
    std::vector<TCluster> clusters;
    double x = 0;
    glyphCount = 0;
    for (const TShapedRun &run : shaped.Runs) {
        for (const TShapedGlyph &g : run.Glyphs) {
            if (clusters.empty() || clusters.back().Start != g.Cluster ||
                clusters.back().RightToLeft != run.RightToLeft) {
                clusters.push_back({g.Cluster, 0, glyphCount, x, x, run.RightToLeft});
            }
            x += g.Advance;
            clusters.back().X1 = x;
            ++glyphCount;
        }
    }
    std::vector<uint32_t> starts;
    starts.reserve(clusters.size());
    for (const TCluster &c : clusters) {
        starts.push_back(c.Start);
    }
    std::sort(starts.begin(), starts.end());
    for (TCluster &c : clusters) {
        const auto next = std::upper_bound(starts.begin(), starts.end(), c.Start);
        c.End = next == starts.end() ? uint32_t(length) : *next;
    }
    return clusters;
}

// Divides a cluster's width among its characters that start a character.
void SplitClusterWidth(std::u16string_view text, const TCluster &c, int32_t width,
                       std::vector<int32_t> &widths) {
    if (c.End - c.Start == 1) {
        widths[c.Start] = width;
        return;
    }
    std::vector<uint32_t> owners;
    for (uint32_t i = c.Start; i < c.End; ++i) {
        if (IsCharacterStart(text, i)) {
            owners.push_back(i);
        }
    }
    if (owners.empty()) {
        owners.push_back(c.Start);
    }
    const int32_t n = int32_t(owners.size());
    const int32_t share = width / n;
    int32_t rest = width - share * n;
    for (uint32_t owner : owners) {
        const int32_t step = rest > 0 ? 1 : rest < 0 ? -1 : 0;
        widths[owner] = share + step;
        rest -= step;
    }
}

// Text of characters the face places by their advances alone, read left to right: widths and
// boxes from the face's advance cache without shaping. The same sums as ShapeText's advances
// laid out by LayoutPlain, so the result is the same to the unit. False when the text is not
// so (the analysis is then laid out anew).
bool LayoutSimple(const TSelectedFont &font, TScriptStringAnalysis &a) {
    const TFontFace &face = *font.Face;
    const std::u16string &text = a.Text;
    const size_t n = text.size();
    a.Widths.resize(n);
    a.Order.resize(n);
    a.Left.resize(n);
    a.Right.resize(n);
    int32_t *widths = a.Widths.data(), *left = a.Left.data(), *right = a.Right.data();
    uint32_t *order = a.Order.data();
    const double perUnit = 1.0 / face.GetMetrics().UnitsPerEm;
    const double em = font.EmWidth;
    double x = 0;
    int32_t previous = 0;
    for (size_t i = 0; i < n; ++i) {
        const TCharInfo info = face.CharInfo(text[i]);
        if (!info.Simple) {
            return false;
        }
        x += info.Advance * perUnit;
        const int32_t edge = RoundX(x * em);
        widths[i] = edge - previous;
        left[i] = previous;
        right[i] = edge;
        order[i] = uint32_t(i);
        previous = edge;
    }
    a.InRtlRun.assign(n, 0);
    a.Size = {previous, font.Metric.tmHeight};
    a.OutChars = int32_t(n);
    a.Reordered = false;
    a.Plain = true;
    a.Face = &face;
    a.EmWidth = font.EmWidth;
    return true;
}

// Keeps the first n characters of an analysis laid out in logical order, their boxes as they
// are; the caller sets the new width.
void CutTo(TScriptStringAnalysis &a, size_t n) {
    a.Text.resize(n);
    a.Widths.resize(n);
    a.Order.resize(n);
    a.Left.resize(n);
    a.Right.resize(n);
    a.InRtlRun.resize(n);
    a.OutChars = int32_t(n);
}

// A text that begins the plain text the analysis last held, in the same font, has the same
// running sums over its characters: the analysis is cut to it instead of laid out again (the
// line breaker measures the piece of a line it has just fitted).
bool ReusePrefix(TScriptStringAnalysis &a, const TSelectedFont &font, const void *text,
                 int32_t length) {
    const size_t n = size_t(length);
    if (!a.Plain || a.Face != font.Face || a.EmWidth != font.EmWidth ||
        a.Size.cy != font.Metric.tmHeight || n > a.Text.size() ||
        std::memcmp(text, a.Text.data(), n * 2) != 0) {
        return false;
    }
    CutTo(a, n);
    a.Size.cx = a.Right[n - 1];
    return true;
}

// Plain text (one run left to right, one glyph per character): widths and boxes straight from
// the glyphs. False when the text is not so.
bool LayoutPlain(const TShapedText &shaped, const TSelectedFont &font, TScriptStringAnalysis &a) {
    const size_t n = a.Text.size();
    if (shaped.Reordered || shaped.Runs.size() != 1 || shaped.Runs[0].Glyphs.size() != n) {
        return false;
    }
    const std::vector<TShapedGlyph> &glyphs = shaped.Runs[0].Glyphs;
    double x = 0;
    int32_t previous = 0;
    for (size_t i = 0; i < n; ++i) {
        if (glyphs[i].Cluster != i) {
            return false;
        }
        x += glyphs[i].Advance;
        const int32_t right = RoundX(x * font.EmWidth);
        a.Widths[i] = right - previous;
        a.Left[i] = previous;
        a.Right[i] = right;
        a.Order[i] = uint32_t(i);
        previous = right;
    }
    a.Size = {previous, font.Metric.tmHeight};
    a.OutChars = int32_t(n);
    return true;
}

// Shapes text and fills the analysis's widths, order and boxes; false when the glyphs do not
// fit into the buffer.
bool Layout(const TSelectedFont &font, const int32_t *imposed, int32_t glyphBuffer,
            TScriptStringAnalysis &a) {
    a.Plain = false;
    if (!imposed && !a.RightToLeft && size_t(std::max(glyphBuffer, 0)) >= a.Text.size() &&
        LayoutSimple(font, a)) {
        return true;
    }
    const std::u16string &text = a.Text;
    const size_t n = text.size();
    TShapeOptions options;
    options.Order = a.RightToLeft ? TReadingOrder::RightToLeft : TReadingOrder::LeftToRight;
    TShapedText &shaped = a.Shaped;
    ShapeText(*font.Face, text, options, shaped);
    size_t glyphCount = 0;
    for (const TShapedRun &run : shaped.Runs) {
        glyphCount += run.Glyphs.size();
    }
    if (glyphCount > size_t(std::max(glyphBuffer, 0))) {
        return false;
    }
    a.Reordered = shaped.Reordered;
    a.Widths.assign(n, 0);
    a.Order.assign(n, 0);
    a.Left.assign(n, 0);
    a.Right.assign(n, 0);
    a.InRtlRun.assign(n, 0);
    if (!imposed && LayoutPlain(shaped, font, a)) {
        return true;
    }
    uint32_t clusterGlyphs = 0;
    const std::vector<TCluster> clusters = ClustersOf(shaped, n, clusterGlyphs);
    std::vector<int32_t> clusterWidths(clusters.size());
    for (size_t k = 0; k < clusters.size(); ++k) {
        const TCluster &c = clusters[k];
        if (imposed) {
            int32_t sum = 0;
            for (uint32_t i = c.Start; i < c.End; ++i) {
                a.Widths[i] = imposed[i];
                sum += imposed[i];
            }
            clusterWidths[k] = sum;
        } else {
            clusterWidths[k] = RoundX(c.X1 * font.EmWidth) - RoundX(c.X0 * font.EmWidth);
            SplitClusterWidth(text, c, clusterWidths[k], a.Widths);
        }
    }
    int32_t x = 0;
    for (size_t k = 0; k < clusters.size(); ++k) {
        const TCluster &c = clusters[k];
        int32_t pos = c.RightToLeft ? x + clusterWidths[k] : x;
        for (uint32_t i = c.Start; i < c.End; ++i) {
            const int32_t w = a.Widths[i];
            a.Left[i] = c.RightToLeft ? pos - w : pos;
            a.Right[i] = c.RightToLeft ? pos : pos + w;
            pos += c.RightToLeft ? -w : w;
            a.Order[i] = c.FirstGlyph;
            a.InRtlRun[i] = c.RightToLeft ? 1 : 0;
        }
        x += clusterWidths[k];
    }
    a.Size = {x, font.Metric.tmHeight};
    a.OutChars = int32_t(n);
    return true;
}

// The number of characters, whole ones, whose logical widths fit into width.
size_t FittingCharacters(const TScriptStringAnalysis &a, int32_t width) {
    if (a.Plain) {
        // Every character stands alone and the right edges are the running sums of the widths.
        return size_t(std::upper_bound(a.Right.begin(), a.Right.end(), width) - a.Right.begin());
    }
    const std::u16string_view text = a.Text;
    int64_t sum = 0;
    size_t fit = 0;
    while (fit < text.size()) {
        const size_t next = CharNextW(text, fit);
        int64_t w = 0;
        for (size_t i = fit; i < next; ++i) {
            w += a.Widths[i];
        }
        if (sum + w > width) {
            break;
        }
        sum += w;
        fit = next;
    }
    return fit;
}

// Keeps the first fit characters: a cut of text that is not reordered keeps its boxes, any
// other is laid out again.
bool Clip(const TSelectedFont &font, const int32_t *imposed, int32_t glyphBuffer, size_t fit,
          TScriptStringAnalysis &a) {
    if (fit >= a.Text.size()) {
        return true;
    }
    if (a.Reordered) {
        a.Text.resize(fit);
        return Layout(font, imposed, glyphBuffer, a);
    }
    CutTo(a, fit);
    int32_t width = 0;
    for (int32_t w : a.Widths) {
        width += w;
    }
    a.Size.cx = width;
    return true;
}

} // namespace

HRESULT ScriptStringAnalyse(TCanvas *canvas, const void *text, int32_t length, int32_t glyphs,
                            int32_t charset, uint32_t flags, int32_t reqWidth, const void *control,
                            const void *state, const int32_t *dx, const void *tabdef,
                            const uint8_t *inClass, SCRIPT_STRING_ANALYSIS *analysis) {
    if (!analysis) {
        return USP_E_INVALIDARG;
    }
    *analysis = nullptr;
    if (!canvas || !text || length <= 0 || control || state || tabdef || inClass) {
        return USP_E_INVALIDARG;
    }
    std::unique_ptr<TScriptStringAnalysis> a = NewAnalysis();
    a->Canvas = canvas;
    const bool rightToLeft = (flags & SSA_RTL) != 0;
    const TSelectedFont font = canvas->GetSelectedFont();
    const bool reused = charset == -1 && !dx && !rightToLeft && glyphs >= length &&
                        ReusePrefix(*a, font, text, length);
    if (!reused) {
        WideOf(text, length, charset, a->Text);
        a->RightToLeft = rightToLeft;
        if (!Layout(font, dx, glyphs, *a)) {
            RecycleAnalysis(std::move(a));
            return USP_E_GLYPHBUFFER;
        }
    }
    if ((flags & SSA_CLIP) && reqWidth >= 0 &&
        !Clip(font, dx, glyphs, FittingCharacters(*a, reqWidth), *a)) {
        RecycleAnalysis(std::move(a));
        return USP_E_GLYPHBUFFER;
    }
    *analysis = a.release();
    return S_OK;
}

HRESULT ScriptStringFree(SCRIPT_STRING_ANALYSIS *analysis) {
    if (!analysis) {
        return USP_E_INVALIDARG;
    }
    RecycleAnalysis(std::unique_ptr<TScriptStringAnalysis>(*analysis));
    *analysis = nullptr;
    return S_OK;
}

const TSize *ScriptString_pSize(SCRIPT_STRING_ANALYSIS analysis) {
    return analysis ? &analysis->Size : nullptr;
}

const int32_t *ScriptString_pcOutChars(SCRIPT_STRING_ANALYSIS analysis) {
    return analysis ? &analysis->OutChars : nullptr;
}

HRESULT ScriptStringGetLogicalWidths(SCRIPT_STRING_ANALYSIS analysis, int32_t *dx) {
    if (!analysis || !dx) {
        return USP_E_INVALIDARG;
    }
    std::copy(analysis->Widths.begin(), analysis->Widths.end(), dx);
    return S_OK;
}

HRESULT ScriptStringGetOrder(SCRIPT_STRING_ANALYSIS analysis, uint32_t *order) {
    if (!analysis || !order) {
        return USP_E_INVALIDARG;
    }
    std::copy(analysis->Order.begin(), analysis->Order.end(), order);
    return S_OK;
}

HRESULT ScriptStringCPtoX(SCRIPT_STRING_ANALYSIS analysis, int32_t cp, bool trailing, int32_t *x) {
    if (!analysis || !x || cp < 0 || cp >= analysis->OutChars) {
        return USP_E_INVALIDARG;
    }
    const size_t i = size_t(cp);
    const bool leftEdge = (analysis->InRtlRun[i] != 0) == trailing;
    *x = leftEdge ? analysis->Left[i] : analysis->Right[i];
    return S_OK;
}

HRESULT ScriptStringXtoCP(SCRIPT_STRING_ANALYSIS analysis, int32_t x, int32_t *cp,
                          int32_t *trailing) {
    if (!analysis || !cp || !trailing) {
        return USP_E_INVALIDARG;
    }
    const TScriptStringAnalysis &a = *analysis;
    const bool before = x < 0, after = x >= a.Size.cx;
    if (before || after) {
        const bool lowEnd = before != a.RightToLeft;
        *cp = lowEnd ? -1 : a.OutChars;
        *trailing = lowEnd ? 1 : 0;
        return S_OK;
    }
    for (size_t i = 0; i < a.Text.size(); ++i) {
        const int32_t left = std::min(a.Left[i], a.Right[i]);
        const int32_t right = std::max(a.Left[i], a.Right[i]);
        if (x >= left && x < right) {
            const bool rightHalf = 2 * int64_t(x) >= int64_t(left) + right;
            *cp = int32_t(i);
            *trailing = rightHalf != (a.InRtlRun[i] != 0) ? 1 : 0;
            return S_OK;
        }
    }
    *cp = a.RightToLeft ? -1 : a.OutChars;
    *trailing = a.RightToLeft ? 1 : 0;
    return S_OK;
}

HRESULT ScriptStringOut(SCRIPT_STRING_ANALYSIS analysis, int32_t x, int32_t y, uint32_t options,
                        const TRect *clip, int32_t minSel, int32_t maxSel, bool disabled) {
    (void)disabled;
    if (!analysis || minSel < maxSel) {
        return USP_E_INVALIDARG;
    }
    const TScriptStringAnalysis &a = *analysis;
    TCanvas &canvas = *a.Canvas;
    const uint32_t align = canvas.GetTextAlign();
    canvas.SetTextAlign(a.RightToLeft ? align | TA_RTLREADING : align & ~uint32_t(TA_RTLREADING));
    const TRect box{x, y, x + a.Size.cx, y + a.Size.cy};
    const bool clipped = (options & ETO_CLIPPED) && clip;
    const TRect *rect = clipped ? clip : (options & ETO_OPAQUE) ? &box : nullptr;
    const uint32_t used = options & (ETO_OPAQUE | (clipped ? ETO_CLIPPED : 0u));
    canvas.ExtTextOut(x, y, used, rect, a.Text,
                      std::vector<int32_t>(a.Widths.begin(), a.Widths.end()));
    canvas.SetTextAlign(align);
    return S_OK;
}

} // namespace gfx
