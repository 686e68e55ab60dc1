// Text styles: the text style classes, the invalid-index style and the collection TFontInfos,
// with assignment, three kinds of comparison, the similarity score, the modified-property sets
// of style templates, the searches, and the selection of a style into a canvas.
#pragma once

#include "platform/gfx/Font.h"
#include "platform/rtl/Sets.h"
#include "vizivodu/layout/text/VDGrIn.h"
#include "vizivodu/styles/VDStyle_Records.h"

#include <string_view>

namespace gfx {
class TCanvas;
}

namespace vizivodu {

class TCustomVDDataHooks;
class TCustomVDRTFTables;

enum TVDUnderlineType : uint8_t {
    vdutNormal,
    vdutThick,
    vdutDouble,
    vdutDotted,
    vdutThickDotted,
    vdutDashed,
    vdutThickDashed,
    vdutLongDashed,
    vdutThickLongDashed,
    vdutDashDotted,
    vdutThickDashDotted,
    vdutDashDotDotted,
    vdutThickDashDotDotted
};

enum TVDHoverEffect : uint8_t { vdheUnderline };
using TVDHoverEffects = rtl::TSet<TVDHoverEffect>;

enum TVDFontStyleEx : uint8_t { vdfsOverline, vdfsAllCaps };
using TVDFontStyles = rtl::TSet<TVDFontStyleEx>;

enum TVDProtectOption : uint8_t {
    vdprStyleProtect,
    vdprStyleSplitProtect,
    vdprModifyProtect,
    vdprDeleteProtect,
    vdprConcateProtect,
    vdprVDFInsertProtect,
    vdprDoNotAutoSwitch,
    vdprParaStartProtect,
    vdprSticking,
    vdprSticking2,
    vdprSticking3,
    vdprStickToTop,
    vdprStickToBottom
};
using TVDProtectOptions = rtl::TSet<TVDProtectOption>;

enum TVDTextOption : uint8_t {
    vdteoHTMLCode,
    vdteoRTFCode,
    vdteoDocXCode,
    vdteoDocXInRunCode,
    vdteoHidden
};
using TVDTextOptions = rtl::TSet<TVDTextOption>;

enum TVDSubSuperScriptType : uint8_t { vdsssNormal, vdsssSubscript, vdsssSuperScript };

// One property of a text style, for masks of properties to compare, copy or keep.
enum TVDFontInfoProperty : uint8_t {
    vdfiFontName,
    vdfiSize,
    vdfiCharset,
    vdfiUnicode,
    vdfiBold,
    vdfiItalic,
    vdfiUnderline,
    vdfiStrikeout,
    vdfiOverline,
    vdfiAllCaps,
    vdfiSubSuperScriptType,
    vdfiVShift,
    vdfiColor,
    vdfiBackColor,
    vdfiJump,
    vdfiHoverBackColor,
    vdfiHoverColor,
    vdfiHoverUnderline,
    vdfiJumpCursor,
    vdfiNextStyleNo,
    vdfiProtection,
    vdfiCharScale,
    vdfiBaseStyleNo,
    vdfiBiDiMode,
    vdfiCharSpacing,
    vdfiHTMLCode,
    vdfiRTFCode,
    vdfiDocXCode,
    vdfiHidden,
    vdfiUnderlineType,
    vdfiUnderlineColor,
    vdfiHoverUnderlineColor,
    vdfiCustom,
    vdfiCustom2,
    vdfiCustom3,
    vdfiCustom4,
    vdfiCustom5
};
using TVDFontInfoProperties = rtl::TSet<TVDFontInfoProperty>;
inline constexpr TVDFontInfoProperties AllTextStyleProperties =
    TVDFontInfoProperties::FromBits((uint64_t(1) << 37) - 1);

// How a style is selected into a canvas (ApplyStyle, Apply).
enum TVDApplyOption : uint8_t {
    vdaoCanUseCustomPPI,      // the collection's PixelsPerInch may set the height
    vdaoCanUseFontQuality,    // the sheet's FontQuality is given to the font
    vdaoIgnoreSubSuperScript, // the full-size font even for sub- and superscript
    vdaoToFormatCanvas,       // sizes for the format canvas (FormatCanvasPixelsPerInch)
    vdaoUseVerticalFont       // the vertical variant of the face ("@" + name)
};
using TVDApplyOptions = rtl::TSet<TVDApplyOption>;

// Whether a logical font of a style carries its underline (AssignToLogFont).
enum TVDLogFontUnderline : uint8_t { vdlfWithUnderline, vdlfWithoutUnderline };

// One fragment of a formatted line drawn in a text style (TVDStyle::DrawStyleText).
struct TVDStyleTextArgs {
    // The fragment as stored: UTF-16LE code units when the style is Unicode, else 8-bit text.
    std::string_view Text;
    gfx::TCanvas *Canvas = nullptr;
    int32_t StyleNo = 0;
    // The item drawn, told to the sheet's drawing event.
    int32_t ItemNo = -1;
    int32_t OffsetInItem = 0;
    TCustomVDDataHooks *VDData = nullptr;
    // The fragment's box; the text starts SpaceAtLeft right of Left.
    int32_t SpaceAtLeft = 0;
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Width = 0;
    int32_t Height = 0;
    // The text's natural width; Width - SpaceAtLeft - TextWidth is spread over SpaceCount
    // spaces, or every character for vdDistributeSpacing.
    int32_t TextWidth = 0;
    int32_t SpaceCount = 0;
    TVDTextDrawStates DrawState;
    bool Printing = false;
    // Measure the text on this canvas again and spread the difference.
    bool PreviewCorrection = false;
    TVDTextOutput Output = vdtoDevice;
    TVDColorMode ColorMode = vdcmColor;
    TVDBiDiMode DefBiDiMode = vdbdUnspecified;
    // The canvas the line was measured on (at FormatCanvasScaleFactor times the resolution),
    // or null; the canvas itself counts as null.
    gfx::TCanvas *RefCanvas = nullptr;
    // Characters (from 0) that never widen; -1 for none.
    int32_t LeftNoExpIndex = -1;
    int32_t RightNoExpIndex = -1;
};

// The properties of a text style, with their defaults: Arial, 10 points (SizeDouble 20),
// clWindowText on no background, no styles, default charset, CharScale 100.
class TCustomVDFontInfo : public TCustomFontOrParaVDInfo {
public:
    explicit TCustomVDFontInfo(TVDCollection *collection);

    // From a text style: every property, then as TCustomFontOrParaVDInfo.
    void Assign(const rtl::TPersistent &source) override;
    // From a font: FontName, Size (whole points), Color, Style and Charset; nothing else.
    void Assign(const gfx::TFont &font);
    // Into a font: name, size, colour, style, charset.
    using rtl::TPersistent::AssignTo;
    void AssignTo(gfx::TFont &font) const;
    // The component stream's published properties, and "Size" or "SizeDouble" (by the size's
    // parity) and the obsolete "SingleSymbols" (read only) beside them.
    static const rtl::TClassInfo &StaticClassInfo();
    const rtl::TClassInfo &ClassInfo() const override { return StaticClassInfo(); }
    void DefineProperties(rtl::TFiler &filer) override;
    // Copies the properties of props from source (one style bit at a time). Unicode, Jump,
    // NextStyleNo, BaseStyleNo and the custom members copy nothing.
    void AssignSelectedProperties(const TCustomVDFontInfo &source, TVDFontInfoProperties props);
    void Reset() override;
    void ResetMainProperties();
    void ResetHoverProperties();
    // CharSpacing through the sheet's GetAsDifferentUnits.
    void ConvertToDifferentUnits(TVDStyleUnits newUnits) override;
    // Charset 2 (symbol), or the face "Symbol" or "Wingdings" (without regard to case).
    bool IsSymbolCharset() const;

    bool IsSimpleEqual(const TCustomVDInfo &value, TVDSimpleEqualOptions options) const override;
    // Equal in every property not in ignoreList (BaseStyleNo included; the face without regard
    // to case).
    virtual bool IsEqual(const TCustomVDFontInfo &value, TVDFontInfoProperties ignoreList) const;
    int32_t SimilarityValue(const TCustomVDInfo &value) const override;
    // The members of possibleProps whose property differs from source's.
    virtual TVDFontInfoProperties
    CalculateModifiedProperties(const TCustomVDFontInfo &source,
                                TVDFontInfoProperties possibleProps) const;
    // The members of possibleProps whose property differs from its default.
    virtual TVDFontInfoProperties
    CalculateModifiedProperties2(TVDFontInfoProperties possibleProps) const;

    // ---- On a canvas ----
    // Selects the style into canvas: face, height for the resolution, style bits, charset and
    // font quality, then reading order and character spacing (ApplyBiDiMode). A style of
    // CharScale 100 sets the canvas font; any other selects a logical font whose average
    // character width is CharScale percent of the face's. Sub- and superscript text gets the
    // script height of extraFontInfo, or of the canvas font (GetScriptHeight).
    void Apply(gfx::TCanvas &canvas, TVDBiDiMode defBiDiMode, TVDApplyOptions options,
               PVDExtraFontInfo extraFontInfo, TVDStyle &vdStyle) const;
    // The logical font of the style: height -(SizeDouble x resolution / 144) (the format
    // canvas's resolution, the collection's PixelsPerInch when allowed and set, else the
    // canvas font's), weight, italic, strike-out, underline unless excluded, charset, the first
    // 31 characters of the face, the sheet's font quality when allowed.
    void AssignToLogFont(gfx::TLogFont &logFont, gfx::TCanvas &canvas, TVDApplyOptions options,
                         TVDLogFontUnderline underline, const TVDStyle &vdStyle) const;
    // The height of sub- and superscript text of this style in the canvas font: 0 for normal
    // text; the outline metrics' script size, at least a third of the font's height; without
    // outline metrics two thirds of the height.
    int32_t GetScriptHeight(gfx::TCanvas &canvas, TVDGraphicInterface &graphicInterface) const;
    // Character extra spacing and reading order only.
    void ApplyBiDiMode(gfx::TCanvas &canvas, TVDBiDiMode defBiDiMode, bool toFormatCanvas,
                       TVDGraphicInterface &graphicInterface) const;
    // The canvas font colour for the draw state, printing and colour mode.
    void ApplyTextColor(gfx::TCanvas &canvas, const TVDStyle &vdStyle, TVDTextDrawStates drawState,
                        bool printing, TVDColorMode colorMode) const;
    // The canvas brush: the background colour for the draw state, printing and colour mode;
    // clear for clNone, else solid.
    void ApplyBackColor(gfx::TCanvas &canvas, const TVDStyle &vdStyle, TVDTextDrawStates drawState,
                        bool printing, TVDColorMode colorMode) const;
    void ApplyColor(gfx::TCanvas &canvas, const TVDStyle &vdStyle, TVDTextDrawStates drawState,
                    bool printing, TVDColorMode colorMode) const;
    // The text colour that ApplyTextColor gives the canvas font (underlines aside).
    TColor GetTextColorFor(const TVDStyle &vdStyle, TVDTextDrawStates drawState, bool printing,
                           TVDColorMode colorMode) const;
    // The brush colour that ApplyBackColor gives the canvas.
    TColor GetBackColorFor(const TVDStyle &vdStyle, TVDTextDrawStates drawState, bool printing,
                           TVDColorMode colorMode) const;

    // ---- Properties ----
    TVDBiDiMode GetBiDiMode() const { return FBiDiMode; }
    void SetBiDiMode(TVDBiDiMode value) { FBiDiMode = value; }
    TCursor GetJumpCursor() const { return FJumpCursor; }
    void SetJumpCursor(TCursor value) { FJumpCursor = value; }
    const UnicodeString &GetFontName() const { return FFontName; }
    void SetFontName(const UnicodeString &value) { FFontName = value; }
    // The size in half points.
    int32_t GetSizeDouble() const { return FSizeDouble; }
    void SetSizeDouble(int32_t value) { FSizeDouble = value; }
    // The size in whole points: SizeDouble div 2 (towards zero); setting doubles.
    int32_t GetSize() const { return FSizeDouble / 2; }
    void SetSize(int32_t value) { FSizeDouble = value * 2; }
    TColor GetColor() const { return FColor; }
    void SetColor(TColor value) { FColor = value; }
    TColor GetBackColor() const { return FBackColor; }
    void SetBackColor(TColor value) { FBackColor = value; }
    // clNone: the sheet's HoverColor.
    TColor GetHoverColor() const { return FHoverColor; }
    void SetHoverColor(TColor value) { FHoverColor = value; }
    TColor GetHoverBackColor() const { return FHoverBackColor; }
    void SetHoverBackColor(TColor value) { FHoverBackColor = value; }
    // clNone: the text colour.
    TColor GetUnderlineColor() const { return FUnderlineColor; }
    void SetUnderlineColor(TColor value) { FUnderlineColor = value; }
    TColor GetHoverUnderlineColor() const { return FHoverUnderlineColor; }
    void SetHoverUnderlineColor(TColor value) { FHoverUnderlineColor = value; }
    TVDUnderlineType GetUnderlineType() const { return FUnderlineType; }
    void SetUnderlineType(TVDUnderlineType value) { FUnderlineType = value; }
    TVDHoverEffects GetHoverEffects() const { return FHoverEffects; }
    void SetHoverEffects(TVDHoverEffects value) { FHoverEffects = value; }
    gfx::TFontStyles GetStyle() const { return FStyle; }
    void SetStyle(gfx::TFontStyles value) { FStyle = value; }
    TVDFontStyles GetStyleEx() const { return FStyleEx; }
    void SetStyleEx(TVDFontStyles value) { FStyleEx = value; }
    // Vertical shift in percent of the font size, positive upwards.
    int32_t GetVShift() const { return FVShift; }
    void SetVShift(int32_t value) { FVShift = value; }
    gfx::TFontCharset GetCharset() const { return FCharset; }
    void SetCharset(gfx::TFontCharset value) { FCharset = value; }
    TVDProtectOptions GetProtection() const { return FProtection; }
    void SetProtection(TVDProtectOptions value) { FProtection = value; }
    TVDTextOptions GetOptions() const { return FOptions; }
    void SetOptions(TVDTextOptions value) { FOptions = value; }
    // Horizontal scale of the characters in percent.
    int32_t GetCharScale() const { return FCharScale; }
    void SetCharScale(int32_t value) { FCharScale = value; }
    TVDStyleLength GetCharSpacing() const { return FCharSpacing; }
    void SetCharSpacing(TVDStyleLength value) { FCharSpacing = value; }
    TVDSubSuperScriptType GetSubSuperScriptType() const { return FSubSuperScriptType; }
    void SetSubSuperScriptType(TVDSubSuperScriptType value) { FSubSuperScriptType = value; }
    TVDStyleTemplateId GetParaStyleTemplateId() const { return FParaStyleTemplateId; }
    void SetParaStyleTemplateId(TVDStyleTemplateId value) { FParaStyleTemplateId = value; }

    // ---- Persistence seams ----
    // Declared for the INI, RTF, OOXML and CSS writers and readers, which define them (and make
    // them virtual where styles override them).
    void SaveToINI(rtl::TCustomIniFile &ini, const UnicodeString &section, const UnicodeString &fs,
                   TVDFontInfoProperties properties) const;
    void LoadFromINI(rtl::TCustomIniFile &ini, const UnicodeString &section,
                     const UnicodeString &fs, bool jumpByDefault, TCursor defJumpCursor);
    void SaveRTFToStream(rtl::TStream &stream, const TVDIntegerList *styleToFont,
                         TCustomVDRTFTables *rtfTables, const TVDStyle &vdStyle,
                         bool inheritedStyle) const;
    AnsiString GetOOXMLStr(const TVDStyle &vdStyle, TVDFontInfoProperties properties) const;
    void SaveCSSToStream(rtl::TStream &stream, const TCustomVDFontInfo *baseStyle, bool multiline,
                         bool utf8, bool jump) const;

protected:
    // GetIntSimilarity/GetColorSimilarity weights divide by 15 in a twips sheet.
    int32_t UnitsWeight() const;

private:
    // The canvas font set from the style's properties (CharScale 100).
    void ApplyPlainScale(gfx::TCanvas &canvas, TVDApplyOptions options,
                         const TVDStyle &vdStyle) const;

    TVDBiDiMode FBiDiMode;
    TCursor FJumpCursor;
    UnicodeString FFontName;
    int32_t FSizeDouble;
    TColor FColor;
    TColor FBackColor;
    TColor FHoverColor;
    TColor FHoverBackColor;
    TColor FUnderlineColor;
    TColor FHoverUnderlineColor;
    TVDUnderlineType FUnderlineType;
    TVDHoverEffects FHoverEffects;
    gfx::TFontStyles FStyle;
    TVDFontStyles FStyleEx;
    int32_t FVShift;
    gfx::TFontCharset FCharset;
    TVDProtectOptions FProtection;
    TVDTextOptions FOptions;
    int32_t FCharScale;
    TVDStyleLength FCharSpacing;
    TVDSubSuperScriptType FSubSuperScriptType;
    TVDStyleTemplateId FParaStyleTemplateId = -1;
};

// The item class of a sheet's text styles.
class TFontInfo : public TCustomVDFontInfo {
public:
    // Unicode unless the collection belongs to a sheet whose DefaultUnicodeStyles is false.
    explicit TFontInfo(TVDCollection *collection);

    // From a TFontInfo also NextStyleNo, Jump, Unicode and ModifiedProperties.
    void Assign(const rtl::TPersistent &source) override;
    // Published Unicode (always stored), Jump, NextStyleNo; "ModifiedProps" as a set value.
    static const rtl::TClassInfo &StaticClassInfo();
    const rtl::TClassInfo &ClassInfo() const override { return StaticClassInfo(); }
    void DefineProperties(rtl::TFiler &filer) override;
    using TCustomVDFontInfo::Assign;
    void Reset() override;

    bool IsSimpleEqual(const TCustomVDInfo &value, TVDSimpleEqualOptions options) const override;
    // IsSimpleEqual ignoring references; then value's NextStyleNo, numbered as in the other
    // collection, must map to this style's. A NextStyleNo of value beyond the mapping is set
    // to -1 in value and does not count.
    bool IsSimpleEqualEx(TCustomVDInfo &value, const TVDIntegerList &mapping) const override;
    bool IsEqual(const TCustomVDFontInfo &value, TVDFontInfoProperties ignoreList) const override;
    int32_t SimilarityValue(const TCustomVDInfo &value) const override;
    TVDFontInfoProperties
    CalculateModifiedProperties(const TCustomVDFontInfo &source,
                                TVDFontInfoProperties possibleProps) const override;
    TVDFontInfoProperties
    CalculateModifiedProperties2(TVDFontInfoProperties possibleProps) const override;
    void IncludeModifiedProperties(const TCustomVDFontInfo &source,
                                   TVDFontInfoProperties possibleProps);
    void IncludeModifiedProperties2(TVDFontInfoProperties possibleProps);

    // Draws the fragment with the canvas already prepared (ApplyStyle, ApplyStyleColor): plain
    // output, or output at positions when printing, drawing for a reference canvas, justifying,
    // or spacing characters that plain output cannot space; then special-character signs, the
    // leading space, the underline or the dotted line of hidden text, and the overline.
    virtual void Draw(const TVDStyleTextArgs &args, TVDStyle &vdStyle,
                      TVDGraphicInterface &graphicInterface) const;

    // The style stores UTF-16 text.
    bool GetUnicode() const { return FUnicode; }
    void SetUnicode(bool value) { FUnicode = value; }
    // A hypertext style.
    bool GetJump() const { return FJump; }
    void SetJump(bool value) { FJump = value; }
    // The style after a paragraph break in this style; -1 the same.
    int32_t GetNextStyleNo() const { return FNextStyleNo; }
    void SetNextStyleNo(int32_t value) { FNextStyleNo = value; }
    // Where the style differs from its template; re-applying the template keeps these.
    TVDFontInfoProperties ModifiedProperties;

private:
    bool FUnicode = true;
    bool FJump = false;
    int32_t FNextStyleNo = -1;
};

// The style answered for an index outside the collection: bound to the sheet it was made for,
// although it belongs to no collection.
class TErrFontInfo : public TFontInfo {
public:
    explicit TErrFontInfo(TVDStyle *vdStyle) : TFontInfo(nullptr), FVDStyle(vdStyle) {}
    TVDStyle *GetVDStyle() const override { return FVDStyle; }

private:
    TVDStyle *FVDStyle;
};

// The text styles of a sheet. GetItem never fails: an index outside the collection gives the
// invalid-index style, white on red.
class TFontInfos : public TCustomVDInfos {
public:
    TFontInfos(TItemFactory itemFactory, TVDStyle *owner);
    ~TFontInfos() override;

    TFontInfo &GetItem(Integer index) const;
    // Assigns value into the style at index.
    void SetItem(Integer index, const TFontInfo &value);
    // Made on first use from style 0 (when there is one), then white on red; EInvalidCast
    // "Invalid class typecast" when the collection has no style sheet.
    TFontInfo &GetInvalidItem() const;
    void SetInvalidItem(const TFontInfo &value);
    // The invalid-index style when it has been made, else null.
    TFontInfo *GetInvalidItemIfCreated() const { return FInvalidItem.get(); }

    TFontInfo &Add();
    // Size in whole points.
    TFontInfo &AddFont(const UnicodeString &name, int32_t size, TColor color, TColor backColor,
                       gfx::TFontStyles style);
    TFontInfo &AddFontEx(const UnicodeString &name, int32_t size, TColor color, TColor backColor,
                         gfx::TFontStyles style, gfx::TFontCharset charset);

    // Searches for a style that differs from style baseStyle in the given properties only:
    // baseStyle itself when it already has them, else the first other index (ascending) whose
    // style has them and equals baseStyle's in everything else; -1 when none.
    Integer FindStyleWithFont(Integer baseStyle, const gfx::TFont &font) const;
    Integer FindStyleWithFontSize(Integer baseStyle, int32_t size) const;
    Integer FindStyleWithColor(Integer baseStyle, TColor color, TColor backColor) const;
    // The face compares exactly (case counts).
    Integer FindStyleWithFontName(Integer baseStyle, const UnicodeString &fontName) const;
    // Only styles that are not Unicode qualify.
    Integer FindStyleWithCharset(Integer baseStyle, gfx::TFontCharset charset) const;
    // For each of bold, italic, underline, strike-out in mask, its bit as in value.
    Integer FindStyleWithFontStyle(Integer baseStyle, gfx::TFontStyles value,
                                   gfx::TFontStyles mask) const;
    // A style that style equals in the properties of mask; baseStyle is tried first.
    Integer FindSuchStyle(Integer baseStyle, const TFontInfo &style,
                          TVDFontInfoProperties mask) const;
    // FindSuchStyle; when nothing is found, a copy of style is appended (Standard false) and
    // its index returned.
    Integer FindSuchStyleEx(Integer baseStyle, const TFontInfo &style, TVDFontInfoProperties mask);

    // Persistence seams (the INI unit defines them).
    void SaveToINI(rtl::TCustomIniFile &ini, const UnicodeString &section) const;
    void LoadFromINI(rtl::TCustomIniFile &ini, const UnicodeString &section, TCursor defJumpCursor);

    // PixelsPerInch for font heights when custom resolutions are allowed; 0: the canvas's.
    int32_t PixelsPerInch = 0;

private:
    template <class Matches>
    Integer FindStyleLike(Integer baseStyle, TVDFontInfoProperties ignoreList,
                          Matches matches) const;

    mutable std::unique_ptr<TErrFontInfo> FInvalidItem;
};

} // namespace vizivodu
