// Faces: resolution with fontconfig, design metrics with FreeType, glyphs and advances with
// HarfBuzz, and the per-face advance cache.
#include "platform/gfx/FontEngine.h"

#include "platform/rtl/Exceptions.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H
#include <hb-ot.h>
#include <hb.h>
#include <unicode/uchar.h>
#include <unicode/uscript.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>
#include <tuple>
#include <unordered_map>

namespace gfx {

namespace {

std::mutex &EngineLock() {
    static std::mutex lock;
    return lock;
}

rtl::UnicodeString FromUtf8(const char *s) {
    return s ? rtl::Utf8ToUtf16(std::string_view(s)) : rtl::UnicodeString();
}

bool HasFeature(hb_face_t *face, hb_tag_t table, std::initializer_list<const char *> names) {
    hb_tag_t tags[256];
    unsigned count = 256;
    hb_ot_layout_table_get_feature_tags(face, table, 0, &count, tags);
    for (unsigned i = 0; i < count; ++i) {
        for (const char *name : names) {
            if (tags[i] == hb_tag_from_string(name, 4)) {
                return true;
            }
        }
    }
    return false;
}

// The OS/2 table's metrics: GDI's ascent and descent, average width, script sizes.
void ReadOs2(const TT_OS2 &os2, TFaceMetrics &m) {
    m.WinAscent = os2.usWinAscent;
    m.WinDescent = os2.usWinDescent;
    m.TypoAscender = os2.sTypoAscender;
    m.TypoDescender = os2.sTypoDescender;
    m.TypoLineGap = os2.sTypoLineGap;
    m.AvgCharWidth = os2.xAvgCharWidth > 0 ? os2.xAvgCharWidth : m.AvgCharWidth;
    m.WeightClass = os2.usWeightClass;
    m.FsSelection = os2.fsSelection;
    m.FsType = os2.fsType;
    m.FirstChar = os2.usFirstCharIndex;
    m.LastChar = os2.usLastCharIndex;
    m.SubscriptXSize = os2.ySubscriptXSize;
    m.SubscriptYSize = os2.ySubscriptYSize;
    m.SubscriptXOffset = os2.ySubscriptXOffset;
    m.SubscriptYOffset = os2.ySubscriptYOffset;
    m.SuperscriptXSize = os2.ySuperscriptXSize;
    m.SuperscriptYSize = os2.ySuperscriptYSize;
    m.SuperscriptXOffset = os2.ySuperscriptXOffset;
    m.SuperscriptYOffset = os2.ySuperscriptYOffset;
    m.StrikeoutSize = os2.yStrikeoutSize;
    m.StrikeoutPosition = os2.yStrikeoutPosition;
    m.PanoseFamily = os2.panose[0];
    if (os2.version >= 2) {
        m.CapHeight = os2.sCapHeight;
        m.XHeight = os2.sxHeight;
    }
}

} // namespace

TFontFace::TFontFace(std::string fileName, int32_t faceIndex, rtl::UnicodeString family)
    : FFileName(std::move(fileName)), FFaceIndex(faceIndex), FFamily(std::move(family)) {
    auto *blob = hb_blob_create_from_file(FFileName.c_str());
    auto *face = hb_face_create(blob, unsigned(std::max(0, faceIndex)));
    auto *font = hb_font_create(face);
    FHbBlob = blob;
    FHbFace = face;
    FHbFont = font;
    ReadMetrics();
    // Design size: one unit of the scale is one font unit.
    hb_font_set_scale(font, FMetrics.UnitsPerEm, FMetrics.UnitsPerEm);
    FLigatures = HasFeature(face, HB_OT_TAG_GSUB, {"liga", "rlig", "init", "medi", "fina"}) ||
                 HasFeature(face, HB_OT_TAG_GPOS, {"mark"});
}

TFontFace::~TFontFace() {
    hb_font_destroy(static_cast<hb_font_t *>(FHbFont));
    hb_face_destroy(static_cast<hb_face_t *>(FHbFace));
    hb_blob_destroy(static_cast<hb_blob_t *>(FHbBlob));
}

void TFontFace::ReadMetrics() {
    static std::mutex freeTypeLock; // one FreeType library for the process
    std::lock_guard<std::mutex> guard(freeTypeLock);
    static FT_Library library = [] {
        FT_Library lib = nullptr;
        FT_Init_FreeType(&lib);
        return lib;
    }();
    FT_Face f = nullptr;
    if (!library || FT_New_Face(library, FFileName.c_str(), FFaceIndex, &f) != 0) {
        return;
    }
    TFaceMetrics &m = FMetrics;
    m.UnitsPerEm = f->units_per_EM > 0 ? f->units_per_EM : 1000;
    FStyle = FromUtf8(f->style_name);
    m.FixedPitch = FT_IS_FIXED_WIDTH(f);
    for (int i = 0; i < f->num_charmaps; ++i) {
        FSymbol = FSymbol || f->charmaps[i]->encoding == FT_ENCODING_MS_SYMBOL;
    }
    const auto *hhea = static_cast<const TT_HoriHeader *>(FT_Get_Sfnt_Table(f, FT_SFNT_HHEA));
    const auto *os2 = static_cast<const TT_OS2 *>(FT_Get_Sfnt_Table(f, FT_SFNT_OS2));
    const auto *post = static_cast<const TT_Postscript *>(FT_Get_Sfnt_Table(f, FT_SFNT_POST));
    const auto *head = static_cast<const TT_Header *>(FT_Get_Sfnt_Table(f, FT_SFNT_HEAD));
    if (hhea) {
        m.HheaAscender = hhea->Ascender;
        m.HheaDescender = hhea->Descender;
        m.HheaLineGap = hhea->Line_Gap;
        m.MaxAdvance = hhea->advance_Width_Max;
        m.CaretSlopeRise = hhea->caret_Slope_Rise;
        m.CaretSlopeRun = hhea->caret_Slope_Run;
    }
    m.WinAscent = m.HheaAscender;
    m.WinDescent = -m.HheaDescender;
    m.TypoAscender = m.HheaAscender;
    m.TypoDescender = m.HheaDescender;
    m.TypoLineGap = m.HheaLineGap;
    m.AvgCharWidth = m.MaxAdvance / 2;
    if (os2 && os2->version != 0xFFFF) {
        ReadOs2(*os2, m);
    }
    if (post) {
        m.UnderlinePosition = post->underlinePosition;
        m.UnderlineThickness = post->underlineThickness;
        m.ItalicAngleTenths = int32_t(post->italicAngle / 6554); // 16.16 degrees to tenths
        m.FixedPitch = m.FixedPitch || post->isFixedPitch != 0;
    }
    if (head) {
        m.BoxXMin = head->xMin;
        m.BoxYMin = head->yMin;
        m.BoxXMax = head->xMax;
        m.BoxYMax = head->yMax;
        m.LowestRecPPEM = head->Lowest_Rec_PPEM;
    }
    if (m.UnderlineThickness <= 0) {
        m.UnderlineThickness = std::max(1, m.UnitsPerEm / 20);
    }
    if (m.StrikeoutSize <= 0) {
        m.StrikeoutSize = m.UnderlineThickness;
    }
    if (m.StrikeoutPosition == 0) {
        m.StrikeoutPosition = m.WinAscent * 3 / 10;
    }
    FT_Done_Face(f);
}

uint32_t TFontFace::GlyphOf(char32_t c) const {
    hb_codepoint_t glyph = 0;
    if (!hb_font_get_nominal_glyph(static_cast<hb_font_t *>(FHbFont), c, &glyph)) {
        return 0;
    }
    return glyph;
}

int32_t TFontFace::GlyphAdvance(uint32_t glyph) const {
    return hb_font_get_glyph_h_advance(static_cast<hb_font_t *>(FHbFont), glyph);
}

const TFontFace::TBlock &TFontFace::LoadBlock(uint32_t index) const {
    std::lock_guard<std::mutex> guard(FLock);
    if (const TBlock *ready = FBlocks[index].load(std::memory_order_acquire)) {
        return *ready;
    }
    auto block = std::make_unique<TBlock>();
    for (uint32_t i = 0; i < 256; ++i) {
        const char16_t c = char16_t(index << 8 | i);
        TCharInfo &info = block->Chars[i];
        if (c >= 0xD800 && c <= 0xDFFF) {
            continue;
        }
        info.Glyph = GlyphOf(c);
        info.Advance = info.Glyph ? GlyphAdvance(info.Glyph) : 0;
        info.Simple = info.Glyph != 0 && IsSimpleCharacter(c);
    }
    const TBlock *ready = block.get();
    FOwned.push_back(std::move(block));
    FBlocks[index].store(ready, std::memory_order_release);
    return *ready;
}

bool IsSimpleCharacter(char32_t c) {
    if (c < 0x20 || c > 0xFFFF) {
        return false; // controls; characters beyond the BMP go through the shaper
    }
    switch (u_charType(UChar32(c))) {
    case U_NON_SPACING_MARK:
    case U_ENCLOSING_MARK:
    case U_COMBINING_SPACING_MARK:
    case U_FORMAT_CHAR:
    case U_SURROGATE:
    case U_PRIVATE_USE_CHAR:
        return false;
    default:
        break;
    }
    switch (u_charDirection(UChar32(c))) {
    case U_RIGHT_TO_LEFT:
    case U_RIGHT_TO_LEFT_ARABIC:
    case U_ARABIC_NUMBER:
        return false;
    default:
        break;
    }
    UErrorCode error = U_ZERO_ERROR;
    switch (uscript_getScript(UChar32(c), &error)) {
    case USCRIPT_COMMON:
    case USCRIPT_LATIN:
    case USCRIPT_GREEK:
    case USCRIPT_CYRILLIC:
    case USCRIPT_ARMENIAN:
    case USCRIPT_GEORGIAN:
    case USCRIPT_HAN:
    case USCRIPT_HIRAGANA:
    case USCRIPT_KATAKANA:
    case USCRIPT_BOPOMOFO:
        return true;
    case USCRIPT_HANGUL:
        return c >= 0xAC00 && c <= 0xD7A3; // precomposed syllables; jamo need shaping
    default:
        return false;
    }
}

namespace {

struct TFaceRegistry {
    std::map<std::pair<std::string, int32_t>, std::unique_ptr<TFontFace>> Faces;
    std::map<std::tuple<rtl::UnicodeString, int32_t, bool>, TResolvedFace> Resolved;
    std::unordered_map<uint64_t, const TFontFace *> Fallbacks;
};

TFaceRegistry &Registry() {
    static TFaceRegistry registry;
    return registry;
}

rtl::UnicodeString Lower(const rtl::UnicodeString &s) {
    rtl::UnicodeString out = s;
    for (char16_t &c : out) {
        if (c < 0x80) {
            c = char16_t(std::tolower(int(c)));
        }
    }
    return out;
}

// The face a fontconfig match names; made once per file and index. Lock held by the caller.
const TFontFace *FaceOfMatch(FcPattern *match, int *weight, int *slant) {
    FcChar8 *file = nullptr;
    FcChar8 *family = nullptr;
    int index = 0;
    if (FcPatternGetString(match, FC_FILE, 0, &file) != FcResultMatch) {
        return nullptr;
    }
    FcPatternGetInteger(match, FC_INDEX, 0, &index);
    FcPatternGetString(match, FC_FAMILY, 0, &family);
    if (weight && FcPatternGetInteger(match, FC_WEIGHT, 0, weight) != FcResultMatch) {
        *weight = FC_WEIGHT_REGULAR;
    }
    if (slant && FcPatternGetInteger(match, FC_SLANT, 0, slant) != FcResultMatch) {
        *slant = FC_SLANT_ROMAN;
    }
    auto key = std::make_pair(std::string(reinterpret_cast<const char *>(file)), index);
    auto &slot = Registry().Faces[key];
    if (!slot) {
        slot = std::make_unique<TFontFace>(key.first, index,
                                           FromUtf8(reinterpret_cast<const char *>(family)));
    }
    return slot.get();
}

FcPattern *Match(FcPattern *pattern) {
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    return FcFontMatch(nullptr, pattern, &result);
}

} // namespace

TResolvedFace ResolveFace(const rtl::UnicodeString &family, int32_t weight, bool italic) {
    EnsureApplicationFonts();
    const int32_t weightClass = std::clamp((weight <= 0 ? 400 : weight) / 100, 1, 9) * 100;
    std::lock_guard<std::mutex> guard(EngineLock());
    const auto key = std::make_tuple(Lower(family), weightClass, italic);
    auto found = Registry().Resolved.find(key);
    if (found != Registry().Resolved.end()) {
        return found->second;
    }
    FcPattern *pattern = FcPatternCreate();
    const std::string name =
        rtl::Utf16ToUtf8(family.empty() ? u"sans-serif" : OutlineFamilyFor(family));
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8 *>(name.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(weightClass));
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcPattern *match = Match(pattern);
    FcPatternDestroy(pattern);
    TResolvedFace resolved;
    int gotWeight = FC_WEIGHT_REGULAR, gotSlant = FC_SLANT_ROMAN;
    // fontconfig's own synthetic-bold rule marks a regular face matched for bold as bold and
    // sets "embolden": the face's weight then no longer tells.
    FcBool embolden = FcFalse;
    if (match) {
        resolved.Face = FaceOfMatch(match, &gotWeight, &gotSlant);
        FcPatternGetBool(match, FC_EMBOLDEN, 0, &embolden);
        FcPatternDestroy(match);
    }
    if (!resolved.Face) {
        throw rtl::Exception(std::string_view("No font is installed"));
    }
    resolved.SyntheticBold =
        weightClass >= 600 && (gotWeight < FC_WEIGHT_DEMIBOLD || embolden == FcTrue);
    resolved.SyntheticItalic = italic && gotSlant == FC_SLANT_ROMAN;
    Registry().Resolved.emplace(key, resolved);
    return resolved;
}

const TFontFace *FallbackFace(const TFontFace &base, char32_t c) {
    EnsureApplicationFonts();
    std::lock_guard<std::mutex> guard(EngineLock());
    const uint64_t key = uint64_t(reinterpret_cast<uintptr_t>(&base)) * 0x110000u + c;
    auto found = Registry().Fallbacks.find(key);
    if (found != Registry().Fallbacks.end()) {
        return found->second;
    }
    FcPattern *pattern = FcPatternCreate();
    const std::string name = rtl::Utf16ToUtf8(base.GetFamilyName());
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8 *>(name.c_str()));
    FcCharSet *charset = FcCharSetCreate();
    FcCharSetAddChar(charset, FcChar32(c));
    FcPatternAddCharSet(pattern, FC_CHARSET, charset);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcPattern *match = Match(pattern);
    FcPatternDestroy(pattern);
    FcCharSetDestroy(charset);
    const TFontFace *face = nullptr;
    if (match) {
        face = FaceOfMatch(match, nullptr, nullptr);
        FcPatternDestroy(match);
    }
    if (face && (face == &base || face->GlyphOf(c) == 0)) {
        face = nullptr;
    }
    Registry().Fallbacks.emplace(key, face);
    return face;
}

} // namespace gfx
