// ShapeText: the advance cache for plain text, ICU's bidirectional algorithm and HarfBuzz for
// the rest, with fallback faces per character.
#include "platform/gfx/TextShaping.h"

#include "platform/gfx/FontEngine.h"

#include <hb.h>
#include <unicode/ubidi.h>
#include <unicode/uchar.h>

#include <algorithm>
#include <memory>

namespace gfx {

double TShapedText::Width() const {
    double w = 0;
    for (double a : Advances) {
        w += a;
    }
    return w;
}

namespace {

char32_t CodePointAt(std::u16string_view text, size_t i, size_t *units) {
    const char16_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
        *units = 2;
        return 0x10000 + ((char32_t(c) - 0xD800) << 10) + (text[i + 1] - 0xDC00);
    }
    *units = 1;
    return c;
}

// Characters that belong to the face of the character before them.
bool JoinsPrevious(char32_t c) {
    switch (u_charType(UChar32(c))) {
    case U_NON_SPACING_MARK:
    case U_ENCLOSING_MARK:
    case U_COMBINING_SPACING_MARK:
    case U_FORMAT_CHAR:
        return true;
    default:
        return c >= 0xFE00 && c <= 0xFE0F; // variation selectors
    }
}

bool PlainLeftToRight(const TFontFace &face, std::u16string_view text) {
    for (char16_t c : text) {
        if (!face.CharInfo(c).Simple) {
            return false;
        }
    }
    return true;
}

void AppendCached(const TFontFace &face, std::u16string_view text, uint32_t start, uint32_t end,
                  bool reversed, TShapedText &out, std::vector<TShapedGlyph> &glyphs) {
    const double perUnit = 1.0 / face.GetMetrics().UnitsPerEm;
    const size_t first = glyphs.size();
    for (uint32_t i = start; i < end; ++i) {
        const TCharInfo info = face.CharInfo(text[i]);
        const double advance = info.Advance * perUnit;
        glyphs.push_back({&face, info.Glyph, i, advance, 0, 0});
        out.Advances[i] += advance;
    }
    if (reversed) {
        std::reverse(glyphs.begin() + ptrdiff_t(first), glyphs.end());
    }
}

void AppendShaped(const TFontFace &face, std::u16string_view text, uint32_t start, uint32_t end,
                  bool rtl, const TShapeOptions &options, TShapedText &out,
                  std::vector<TShapedGlyph> &glyphs) {
    std::unique_ptr<hb_buffer_t, decltype(&hb_buffer_destroy)> buffer(hb_buffer_create(),
                                                                      hb_buffer_destroy);
    hb_buffer_t *b = buffer.get();
    hb_buffer_set_cluster_level(b, HB_BUFFER_CLUSTER_LEVEL_MONOTONE_GRAPHEMES);
    hb_buffer_add_utf16(b, reinterpret_cast<const uint16_t *>(text.data()), int(text.size()), start,
                        int(end - start));
    hb_buffer_set_direction(b, rtl ? HB_DIRECTION_RTL : HB_DIRECTION_LTR);
    hb_buffer_guess_segment_properties(b);
    const hb_feature_t features[] = {
        {HB_TAG('k', 'e', 'r', 'n'), options.Kerning ? 1u : 0u, 0, ~0u},
        {HB_TAG('l', 'i', 'g', 'a'), options.Ligatures ? 1u : 0u, 0, ~0u},
        {HB_TAG('c', 'l', 'i', 'g'), options.Ligatures ? 1u : 0u, 0, ~0u},
        {HB_TAG('c', 'a', 'l', 't'), options.Ligatures ? 1u : 0u, 0, ~0u},
    };
    hb_shape(static_cast<hb_font_t *>(face.HbFont()), b, features,
             sizeof(features) / sizeof(features[0]));
    unsigned count = 0;
    const hb_glyph_info_t *info = hb_buffer_get_glyph_infos(b, &count);
    const hb_glyph_position_t *pos = hb_buffer_get_glyph_positions(b, &count);
    const double perUnit = 1.0 / face.GetMetrics().UnitsPerEm;
    for (unsigned i = 0; i < count; ++i) {
        const uint32_t cluster = std::min<uint32_t>(info[i].cluster, end - 1);
        const double advance = pos[i].x_advance * perUnit;
        glyphs.push_back({&face, info[i].codepoint, cluster, advance, pos[i].x_offset * perUnit,
                          pos[i].y_offset * perUnit});
        out.Advances[cluster] += advance;
    }
}

// The face each character is drawn with: the face itself, or a fallback for what it lacks.
std::vector<const TFontFace *> FacesOf(const TFontFace &face, std::u16string_view text) {
    std::vector<const TFontFace *> faces(text.size(), &face);
    const TFontFace *previous = &face;
    for (size_t i = 0; i < text.size();) {
        size_t units = 1;
        const char32_t c = CodePointAt(text, i, &units);
        const TFontFace *chosen = &face;
        if (i > 0 && JoinsPrevious(c)) {
            chosen = previous;
        } else if (face.GlyphOf(c) == 0 && c >= 0x20) {
            const TFontFace *other = FallbackFace(face, c);
            chosen = other ? other : &face;
        }
        for (size_t k = 0; k < units; ++k) {
            faces[i + k] = chosen;
        }
        previous = chosen;
        i += units;
    }
    return faces;
}

void ShapeDirectionalRun(const TFontFace &face, std::u16string_view text,
                         const std::vector<const TFontFace *> &faces, uint32_t start, uint32_t end,
                         bool rtl, const TShapeOptions &options, TShapedText &out) {
    TShapedRun run;
    run.Start = start;
    run.End = end;
    run.RightToLeft = rtl;
    // Segments of one face, in logical order; a right-to-left run shows them in reverse.
    std::vector<std::pair<uint32_t, uint32_t>> segments;
    for (uint32_t i = start; i < end;) {
        uint32_t j = i + 1;
        while (j < end && faces[j] == faces[i]) {
            ++j;
        }
        segments.emplace_back(i, j);
        i = j;
    }
    if (rtl) {
        std::reverse(segments.begin(), segments.end());
    }
    for (const auto &[s, e] : segments) {
        const TFontFace &segmentFace = *faces[s];
        if (PlainLeftToRight(segmentFace, text.substr(s, e - s)) && !rtl) {
            AppendCached(segmentFace, text, s, e, false, out, run.Glyphs);
        } else {
            AppendShaped(segmentFace, text, s, e, rtl, options, out, run.Glyphs);
        }
    }
    (void)face;
    out.Runs.push_back(std::move(run));
}

// Levels from ICU's bidirectional algorithm; false when every unit is left to right.
bool BidiLevels(std::u16string_view text, TReadingOrder order, std::vector<uint8_t> &levels,
                std::vector<std::pair<uint32_t, uint32_t>> &visualRuns) {
    bool anyRtl = order == TReadingOrder::RightToLeft;
    for (char16_t c : text) {
        const UCharDirection d = u_charDirection(c);
        anyRtl = anyRtl || d == U_RIGHT_TO_LEFT || d == U_RIGHT_TO_LEFT_ARABIC ||
                 d == U_RIGHT_TO_LEFT_EMBEDDING || d == U_RIGHT_TO_LEFT_OVERRIDE ||
                 d == U_RIGHT_TO_LEFT_ISOLATE;
    }
    if (!anyRtl) {
        return false;
    }
    UErrorCode error = U_ZERO_ERROR;
    std::unique_ptr<UBiDi, decltype(&ubidi_close)> bidi(
        ubidi_openSized(int32_t(text.size()), 0, &error), ubidi_close);
    ubidi_setPara(bidi.get(), reinterpret_cast<const UChar *>(text.data()), int32_t(text.size()),
                  order == TReadingOrder::RightToLeft ? 1 : 0, nullptr, &error);
    if (U_FAILURE(error)) {
        return false;
    }
    const int32_t runs = ubidi_countRuns(bidi.get(), &error);
    for (int32_t i = 0; i < runs && U_SUCCESS(error); ++i) {
        int32_t start = 0, length = 0;
        const UBiDiDirection dir = ubidi_getVisualRun(bidi.get(), i, &start, &length);
        visualRuns.emplace_back(uint32_t(start), uint32_t(start + length));
        for (int32_t k = start; k < start + length; ++k) {
            levels[size_t(k)] = ubidi_getLevelAt(bidi.get(), k);
        }
        (void)dir;
    }
    return U_SUCCESS(error);
}

} // namespace

void ShapeText(const TFontFace &face, std::u16string_view text, const TShapeOptions &options,
               TShapedText &out) {
    out.Runs.clear();
    out.Advances.assign(text.size(), 0.0);
    out.Levels.assign(text.size(), 0);
    out.Reordered = false;
    if (text.empty()) {
        return;
    }
    if (options.Order == TReadingOrder::LeftToRight && PlainLeftToRight(face, text)) {
        TShapedRun run;
        run.End = uint32_t(text.size());
        run.Glyphs.reserve(text.size());
        AppendCached(face, text, 0, run.End, false, out, run.Glyphs);
        out.Runs.push_back(std::move(run));
        return;
    }
    const std::vector<const TFontFace *> faces = FacesOf(face, text);
    std::vector<std::pair<uint32_t, uint32_t>> visualRuns;
    if (!BidiLevels(text, options.Order, out.Levels, visualRuns)) {
        std::fill(out.Levels.begin(), out.Levels.end(), 0);
        ShapeDirectionalRun(face, text, faces, 0, uint32_t(text.size()), false, options, out);
        return;
    }
    for (const auto &[start, end] : visualRuns) {
        const bool rtl = (out.Levels[start] & 1) != 0;
        out.Reordered = out.Reordered || rtl;
        ShapeDirectionalRun(face, text, faces, start, end, rtl, options, out);
    }
}

} // namespace gfx
