// Text metrics as GDI reports them (TEXTMETRIC, OUTLINETEXTMETRIC, GCP_RESULTS), in logical
// units of the canvas that measured them.
#pragma once

#include "platform/gfx/Types.h"
#include "platform/rtl/System.h"

#include <cstdint>
#include <vector>

namespace gfx {

// tmPitchAndFamily bits.
enum : uint8_t { TMPF_FIXED_PITCH = 0x1, TMPF_VECTOR = 0x2, TMPF_TRUETYPE = 0x4 };

// GetCharacterPlacement flags and character classes, GetFontLanguageInfo answers.
enum : uint32_t {
    GCP_REORDER = 0x2,
    GCP_USEKERNING = 0x8,
    GCP_GLYPHSHAPE = 0x10,
    GCP_LIGATE = 0x20,
    GCP_DIACRITIC = 0x100,
    GCP_MAXEXTENT = 0x100000,
};
enum : uint8_t {
    GCPCLASS_LATIN = 1,
    GCPCLASS_HEBREW = 2,
    GCPCLASS_ARABIC = 2,
    GCPCLASS_NEUTRAL = 3,
    GCPCLASS_LOCALNUMBER = 4,
    GCPCLASS_LATINNUMBER = 5,
};

// The TEXTMETRIC fields. Height = Ascent + Descent; InternalLeading = Height - em height.
struct TTextMetric {
    int32_t tmHeight = 0;
    int32_t tmAscent = 0;
    int32_t tmDescent = 0;
    int32_t tmInternalLeading = 0;
    int32_t tmExternalLeading = 0;
    int32_t tmAveCharWidth = 0;
    int32_t tmMaxCharWidth = 0;
    int32_t tmWeight = 0;
    int32_t tmOverhang = 0;
    int32_t tmDigitizedAspectX = 0;
    int32_t tmDigitizedAspectY = 0;
    char16_t tmFirstChar = 0;
    char16_t tmLastChar = 0;
    char16_t tmDefaultChar = 0;
    char16_t tmBreakChar = 0;
    uint8_t tmItalic = 0;
    uint8_t tmUnderlined = 0;
    uint8_t tmStruckOut = 0;
    uint8_t tmPitchAndFamily = 0;
    uint8_t tmCharSet = 0;
};

// The OUTLINETEXTMETRIC fields; lengths in logical units, otmEMSquare in design units.
struct TOutlineTextMetric {
    TTextMetric otmTextMetrics;
    uint32_t otmfsSelection = 0;
    uint32_t otmfsType = 0;
    int32_t otmsCharSlopeRise = 0;
    int32_t otmsCharSlopeRun = 0;
    int32_t otmItalicAngle = 0; // tenths of a degree
    uint32_t otmEMSquare = 0;
    int32_t otmAscent = 0;
    int32_t otmDescent = 0;
    uint32_t otmLineGap = 0;
    uint32_t otmsCapEmHeight = 0;
    uint32_t otmsXHeight = 0;
    TRect otmrcFontBox;
    int32_t otmMacAscent = 0;
    int32_t otmMacDescent = 0;
    uint32_t otmMacLineGap = 0;
    uint32_t otmusMinimumPPEM = 0;
    TPoint otmptSubscriptSize;
    TPoint otmptSubscriptOffset;
    TPoint otmptSuperscriptSize;
    TPoint otmptSuperscriptOffset;
    uint32_t otmsStrikeoutSize = 0;
    int32_t otmsStrikeoutPosition = 0;
    int32_t otmsUnderscoreSize = 0;
    int32_t otmsUnderscorePosition = 0;
    rtl::UnicodeString otmpFamilyName;
    rtl::UnicodeString otmpFaceName;
    rtl::UnicodeString otmpStyleName;
    rtl::UnicodeString otmpFullName;
};

// GetCharacterPlacement's results. Output positions are glyphs in display order.
struct TGcpResults {
    std::vector<uint32_t> Order;   // per logical character: its output position
    std::vector<int32_t> Dx;       // per output position: the advance
    std::vector<int32_t> CaretPos; // per logical character: the caret before it
    std::vector<uint8_t> Class;    // per logical character: GCPCLASS_
    std::vector<uint16_t> Glyphs;  // per output position: the glyph index
    uint32_t GlyphCount = 0;
    int32_t MaxFit = 0; // characters that fit into the extent asked (GCP_MAXEXTENT)
};

} // namespace gfx
