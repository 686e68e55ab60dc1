// The text engine of every canvas: faces resolved by fontconfig, design metrics read with
// FreeType, shaping by HarfBuzz at design size (no hinting), so text measures in proportion at
// every resolution and screens, printers, PDF files and metafiles lay it out alike.
//
// Faces live as long as the process (a few per font used); pointers to them stay valid.
// Every function may be called from any thread.
#pragma once

#include "platform/rtl/System.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace gfx {

// Design metrics of a face, in font units (OS/2, hhea, post and head tables).
struct TFaceMetrics {
    int32_t UnitsPerEm = 2048;
    int32_t WinAscent = 0, WinDescent = 0; // usWinAscent, usWinDescent (descent positive)
    int32_t HheaAscender = 0, HheaDescender = 0, HheaLineGap = 0;
    int32_t TypoAscender = 0, TypoDescender = 0, TypoLineGap = 0;
    int32_t AvgCharWidth = 0; // xAvgCharWidth
    int32_t MaxAdvance = 0;   // advanceWidthMax
    int32_t CapHeight = 0, XHeight = 0;
    int32_t SubscriptXSize = 0, SubscriptYSize = 0, SubscriptXOffset = 0, SubscriptYOffset = 0;
    int32_t SuperscriptXSize = 0, SuperscriptYSize = 0, SuperscriptXOffset = 0,
            SuperscriptYOffset = 0;
    int32_t StrikeoutSize = 0, StrikeoutPosition = 0;
    int32_t UnderlinePosition = 0, UnderlineThickness = 0; // position negative below baseline
    int32_t ItalicAngleTenths = 0;
    int32_t CaretSlopeRise = 1, CaretSlopeRun = 0;
    int32_t BoxXMin = 0, BoxYMin = 0, BoxXMax = 0, BoxYMax = 0;
    uint16_t WeightClass = 400, FsSelection = 0, FsType = 0;
    uint16_t FirstChar = 0, LastChar = 0xFFFF;
    uint16_t LowestRecPPEM = 0;
    uint8_t PanoseFamily = 0;
    bool FixedPitch = false;
};

// What the advance cache knows of one UTF-16 code unit in a face.
struct TCharInfo {
    int32_t Advance = 0; // font units
    uint32_t Glyph = 0;  // nominal glyph; 0 when the face lacks the character
    bool Simple = false; // placed by its nominal advance alone: no shaping, no reordering
};

class TFontFace {
public:
    TFontFace(std::string fileName, int32_t faceIndex, rtl::UnicodeString family);
    ~TFontFace();
    TFontFace(const TFontFace &) = delete;
    TFontFace &operator=(const TFontFace &) = delete;

    const std::string &GetFileName() const { return FFileName; }
    int32_t GetFaceIndex() const { return FFaceIndex; }
    const rtl::UnicodeString &GetFamilyName() const { return FFamily; }
    const rtl::UnicodeString &GetStyleName() const { return FStyle; }
    const TFaceMetrics &GetMetrics() const { return FMetrics; }
    // The face's characters are symbols (a symbol cmap, as "Symbol" and "Wingdings").
    bool IsSymbolFont() const { return FSymbol; }
    // The face has GSUB ligatures or GPOS mark placement (GetFontLanguageInfo).
    bool HasLigatures() const { return FLigatures; }

    uint32_t GlyphOf(char32_t c) const;         // 0 when missing
    int32_t GlyphAdvance(uint32_t glyph) const; // font units
    // Cached facts of a BMP code unit; surrogates are never simple.
    TCharInfo CharInfo(char16_t c) const {
        const TBlock *block = FBlocks[c >> 8].load(std::memory_order_acquire);
        return (block ? *block : LoadBlock(c >> 8)).Chars[c & 0xFF];
    }

    // Internal to the engine: the HarfBuzz font (hb_font_t) at design size.
    void *HbFont() const { return FHbFont; }

private:
    struct TBlock {
        TCharInfo Chars[256];
    };
    const TBlock &LoadBlock(uint32_t index) const;
    void ReadMetrics();

    std::string FFileName;
    int32_t FFaceIndex;
    rtl::UnicodeString FFamily, FStyle;
    TFaceMetrics FMetrics;
    bool FSymbol = false;
    bool FLigatures = false;
    void *FHbBlob = nullptr;
    void *FHbFace = nullptr;
    void *FHbFont = nullptr;
    mutable std::mutex FLock;
    mutable std::atomic<const TBlock *> FBlocks[256] = {};
    mutable std::vector<std::unique_ptr<TBlock>> FOwned;
};

// Registers the fonts the application brings along with fontconfig; done once, before the first
// face is resolved (ResolveFace and the Qt application call it).
void EnsureApplicationFonts();
// The outline family the engine uses for a family that exists here only as bitmap strikes
// ("MS Sans Serif" gives "Tahoma", as Windows gives its TrueType successor); others unchanged.
rtl::UnicodeString OutlineFamilyFor(const rtl::UnicodeString &family);

// A face for a font description as GDI takes it. Never nullptr: a name no font carries gives
// fontconfig's substitute. SyntheticBold/Italic tell whether the face lacks the weight or slant
// asked for, so that drawing imitates it.
struct TResolvedFace {
    const TFontFace *Face = nullptr;
    bool SyntheticBold = false;
    bool SyntheticItalic = false;
};
TResolvedFace ResolveFace(const rtl::UnicodeString &family, int32_t weight, bool italic);

// Another face that has the character, for text the face lacks; nullptr when none has it.
const TFontFace *FallbackFace(const TFontFace &base, char32_t c);

// Whether the code point is placed by its advance alone (Latin, Greek, Cyrillic, CJK and the
// like, without marks, joiners or right-to-left direction).
bool IsSimpleCharacter(char32_t c);

} // namespace gfx
