// The RTF parser's property records: character, paragraph (borders, tabs), section, row and
// cell, and document properties, the font and colour tables and the style sheet. Lengths
// ending in Tw are twips; colours are TColor values (clWindowText is "automatic").
#pragma once

#include "vizivodu/document/VDUnicode.h"

#include "platform/gfx/Colors.h"
#include "platform/gfx/Font.h"
#include "platform/rtl/Sets.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace vizivodu {

using gfx::TColor;

enum TVDRTFUnderlineType : uint8_t {
    rtf_vdut_Normal,
    rtf_vdut_Thick,
    rtf_vdut_Double,
    rtf_vdut_Dotted,
    rtf_vdut_ThickDotted,
    rtf_vdut_Dashed,
    rtf_vdut_ThickDashed,
    rtf_vdut_LongDashed,
    rtf_vdut_ThickLongDashed,
    rtf_vdut_DashDotted,
    rtf_vdut_ThickDashDotted,
    rtf_vdut_DashDotDotted,
    rtf_vdut_ThickDashDotDotted
};
enum TVDRTFBiDiMode : uint8_t { rtf_bidi_Unspecified, rtf_bidi_LTR, rtf_bidi_RTL };
enum TVDRTFSScriptType : uint8_t { rtf_ss_Normal, rtf_ss_Subscript, rtf_ss_Superscript };
enum TVDRTFAlignment : uint8_t {
    rtf_al_Left,
    rtf_al_Right,
    rtf_al_Center,
    rtf_al_Justify,
    rtf_al_Distribute
};
enum TVDRTFParaWidowOrphanControl : uint8_t { rtf_woc_Default, rtf_woc_On, rtf_woc_Off };
// The border line types, 0 to 27 in the order of the border keywords.
using TVDRTFBorderType = uint8_t;
inline constexpr TVDRTFBorderType rtf_brdr_None = 0;
inline constexpr TVDRTFBorderType rtf_brdr_Last = 27;
enum TVDRTFSide : uint8_t { rtf_side_Left, rtf_side_Top, rtf_side_Right, rtf_side_Bottom };
enum TVDRTFCurrentBorderType : uint8_t {
    rtf_bt_Char,
    rtf_bt_Para,
    rtf_bt_Row,
    rtf_bt_Cell,
    rtf_bt_Other
};
enum TVDRTFTabAlign : uint8_t { rtf_tab_Left, rtf_tab_Right, rtf_tab_Center, rtf_tab_Decimal };
enum TVDRTFTabLeader : uint8_t {
    rtf_tl_None,
    rtf_tl_Dot,
    rtf_tl_MiddleDot,
    rtf_tl_Hyphen,
    rtf_tl_Underline,
    rtf_tl_EqualSign
};
enum TVDRTFSectionBreakType : uint8_t {
    rtf_sbk_None,
    rtf_sbk_Column,
    rtf_sbk_Even,
    rtf_sbk_Odd,
    rtf_sbk_Page
};
enum TVDRTFPageNumberFormat : uint8_t {
    rtf_pg_Decimal,
    rtf_pg_UpperRoman,
    rtf_pg_LowerRoman,
    rtf_pg_UpperLetter,
    rtf_pg_LowerLetter
};
enum TVDRTFZoomKind : uint8_t { rtf_zk_None, rtf_zk_FullPage, rtf_zk_BestFit };
enum TVDRTFFontFamily : uint8_t {
    rtf_ff_Default,
    rtf_ff_Roman,
    rtf_ff_Swiss,
    rtf_ff_Modern,
    rtf_ff_Script,
    rtf_ff_Decorative,
    rtf_ff_Symbol,
    rtf_ff_BiDi
};
enum TVDRTFStyleSheetType : uint8_t { rtf_sst_Char, rtf_sst_Par, rtf_sst_Sect, rtf_sst_Table };
enum TVDRTFCellMerge : uint8_t { rtf_cm_None, rtf_cm_First, rtf_cm_Merged };
enum TVDRTFVAlign : uint8_t { rtf_ve_Top, rtf_ve_Bottom, rtf_ve_Center };
enum TVDRTFCellTextFlow : uint8_t { rtf_ctf_Normal, rtf_ctf_TopDown, rtf_ctf_BottomUp };

// ---- Numbering: the formatting of a paragraph's number or bullet ----
enum TVDRTFParaListType : uint8_t {
    rtf_pn_Default,
    rtf_pn_Decimal,
    rtf_pn_LowerLetter,
    rtf_pn_UpperLetter,
    rtf_pn_LowerRoman,
    rtf_pn_UpperRoman,
    rtf_pn_Bullet
};
enum TVDRTFMarkerProp : uint8_t {
    rtfmp_FontIndex,
    rtfmp_Size,
    rtfmp_Color,
    rtfmp_Bold,
    rtfmp_Italic,
    rtfmp_Underline,
    rtfmp_StrikeOut
};
using TVDRTFMarkerProps = rtl::TSet<TVDRTFMarkerProp>;
enum TVDRTFLevelFollow97 : uint8_t { rtf_lf_Tab, rtf_lf_Space, rtf_lf_None };
enum class TVDRTFAssignMode : uint8_t { All, FromDefaults };
struct TVDRTFCharProperties;

// A number's or bullet's formatting. The fixed set names what the numbering stated itself, which
// the text around the number does not override.
struct TVDRTFCustomMarkerProperties {
    TVDRTFParaListType FListType = rtf_pn_Default;
    int32_t FFontIndex = -1;
    int32_t FIndentTw = 0;
    int32_t FSpaceTw = 0;
    int32_t FStart = 0;
    gfx::TFontStyles FFontStyle;
    TColor FColor = gfx::clWindowText;
    TVDRTFAlignment FAlignment = rtf_al_Left;
    TVDRTFMarkerProps FFixedProperties;
    int32_t FFontSize = 12; // points

    void Reset() { *this = TVDRTFCustomMarkerProperties(); }
    // FromDefaults: font, size, colour and styles only where the copied fixed set leaves them.
    void Assign(const TVDRTFCustomMarkerProperties &source, TVDRTFAssignMode mode);
    // Takes colour, font, size, bold, italic and strike-out from the text unless fixed.
    void UpdateFrom(const TVDRTFCharProperties &charProps);
};

// A paragraph's old-style number; levels 1 to 9, 10 for body numbering, 11 for bullets.
struct TVDRTFMarkerProperties : TVDRTFCustomMarkerProperties {
    int32_t FLevel = 0;
    bool FHanging = false;
    TVDAnsiString FTextAfter, FTextBefore;

    void Reset() { *this = TVDRTFMarkerProperties(); }
    // The level is copied only for TVDRTFAssignMode::All.
    void Assign(const TVDRTFMarkerProperties &source, TVDRTFAssignMode mode);
};

struct TVDRTFCharProperties {
    bool FHidden = false;
    TVDRTFBiDiMode FBiDiMode = rtf_bidi_Unspecified;
    int32_t FSizeDouble = 24;
    TColor FColor = gfx::clWindowText;
    TColor FBackColor = gfx::clNone;
    TColor FUnderlineColor = gfx::clNone;
    int32_t FFontIndex = 0;
    gfx::TFontStyles FStyle;
    bool FAllCaps = false;
    int32_t FCharScaleX = 100;
    TVDRTFSScriptType FSScriptType = rtf_ss_Normal;
    int32_t FVShiftPt = 0;
    int32_t FCharSpacingTw = 0;
    uint32_t FLanguage = 0;
    TVDUnicodeString FFontName;
    TVDRTFUnderlineType FUnderlineType = rtf_vdut_Normal;
    int32_t FHighlight = -1;
    int32_t FSkipAnsiCount = 1;
    int32_t FStyleSheetIndex = -1;

    void Reset(uint32_t defLanguage, int32_t defFontIndex);
};

struct TVDRTFBorderSide {
    TVDRTFBorderType FBorderType = rtf_brdr_None;
    int32_t FWidthTw = 0;
    TColor FColor = gfx::clNone;
    int32_t FSpaceTw = 0;
};

struct TVDRTFParaBorder {
    std::array<TVDRTFBorderSide, 4> Sides;
    bool HasAny() const;
};

struct TVDRTFTab {
    int32_t FPositionTW = 0;
    TVDRTFTabAlign FAlign = rtf_tab_Left;
    TVDRTFTabLeader FLeader = rtf_tl_None;
    bool FIsListTab = false;
};

struct TVDRTFParaProperties {
    int32_t FLeftIndentTw = 0, FRightIndentTw = 0, FFirstIndentTw = 0;
    int32_t FMarkerTabTw = -1000;
    int32_t FOutlineLevel = 0;
    int32_t FSpaceBeforeTw = 0, FSpaceAfterTw = 0;
    TVDRTFAlignment FAlignment = rtf_al_Left;
    TVDRTFBiDiMode FBiDiMode = rtf_bidi_Unspecified;
    std::optional<TVDRTFParaBorder> FBorder;
    TVDRTFSide FCurBorderSide = rtf_side_Left;
    int32_t FLineSpacing = 240;
    bool FLineSpacingMulti = true;
    bool FPageBreakBefore = false;
    TColor FColor = gfx::clNone;
    int32_t FNestingLevel = 1;
    bool FInTable = false;
    int32_t Shading = 0;
    TColor ForeColor = 0;
    int32_t FListOverrideIndex = -1;
    int32_t FListLevel = 0;
    int32_t FStyleSheetIndex = -1;
    bool FKeepLinesTogether = false, FKeepWithNext = false;
    bool NoTableEv = false;
    TVDRTFParaWidowOrphanControl FWidowOrphanControl = rtf_woc_Default;
    std::vector<TVDRTFTab> FTabs;
    bool FTabsReady = false;
    std::optional<TVDRTFMarkerProperties> FMarkerProps; // old-style numbering

    void Reset() { *this = TVDRTFParaProperties(); }
    TVDRTFParaBorder &Border();
    bool HasBorder() const { return FBorder && FBorder->HasAny(); }
    bool HasTabs() const { return !FTabs.empty(); }
    bool HasMarker() const { return FMarkerProps.has_value(); }
    // Made on first use.
    TVDRTFMarkerProperties &MarkerProps();
    // The table level of the paragraph: its nesting level when in a table, else 0.
    int32_t TableLevel() const { return FInTable ? FNestingLevel : 0; }
    // Mixes the shading into the background and closes the tab list (the open tab dropped,
    // the first list tab becomes the marker tab).
    void Finalize();
    TVDRTFTab &OpenTab();
};

struct TVDRTFSectionProperties {
    int32_t FColumnCount = 1;
    TVDRTFSectionBreakType FSectionBreakType = rtf_sbk_Page;
    int32_t FPageNumberXTw = 720, FPageNumberYTw = 720;
    TVDRTFPageNumberFormat FPageNumberFormat = rtf_pg_Decimal;
    int32_t FHeaderYTw = 720, FFooterYTw = 720;
    bool FHasTitlePage = false;
    // The section-level numbering definitions of levels 1 to 11; empty until first used.
    std::vector<TVDRTFMarkerProperties> FDefMarkerPropsList;

    void Reset() { *this = TVDRTFSectionProperties(); }
    // Copies everything but the header and footer offsets and the numbering definitions, which
    // outlive their group (a \pnseclvl stands in a group of its own).
    void AssignFrom(const TVDRTFSectionProperties &source);
};

struct TVDRTFCellProperties {
    TVDRTFCellMerge FVMerge = rtf_cm_None, FHMerge = rtf_cm_None;
    TVDRTFCellTextFlow FTextFlow = rtf_ctf_Normal;
    int32_t FPreferredWidthTw = 0;
    bool FPercentWidth = false;
    TColor FColor = gfx::clNone;
    TColor ForeColor = 0;
    int32_t Shading = 0;
    TVDRTFVAlign FVAlign = rtf_ve_Top;
    int32_t FRightBoundaryTw = 0;
    int32_t FHeightTw = 0;
    TVDRTFParaBorder FBorder;
    TVDRTFSide FCurBorderSide = rtf_side_Left;
};

struct TVDRTFRowProperties {
    static constexpr size_t MaxCells = 1000; // more cell definitions are ignored

    uint8_t FAlignment = 0;
    bool FAlignmentDefined = false;
    int32_t FGapHTw = 0, FLeftTw = 0, FHeightTw = 0;
    bool FHeading = false, FKeepTogether = false, FLastRow = false;
    std::array<int32_t, 4> FPaddingTw{}, FSpacingTw{};
    std::array<bool, 4> FUsePadding{}, FUseSpacing{};
    int32_t FPreferredWidthTw = 0;
    bool FPercentWidth = false;
    bool ViziVoduSpecial = false;
    TVDRTFParaBorder FBorder;
    TVDRTFSide FCurBorderSide = rtf_side_Left;
    std::vector<TVDRTFCellProperties> FCellProps;
    bool AssumedLastCell = false;
    bool NewCellProps = false;

    void Reset() { *this = TVDRTFRowProperties(); }
    // The open cell definition (made when there is none).
    TVDRTFCellProperties &LastCell();
    // Drops the open definition and mixes shading into the new definitions' backgrounds.
    void FinalizeCells();
};

struct TVDRTFDocProperties {
    int32_t FPaperWidthTw = 12240, FPaperHeightTw = 15840;
    int32_t FLeftMarginTw = 1800, FTopMarginTw = 1440, FRightMarginTw = 1800,
            FBottomMarginTw = 1440;
    int32_t FPageNumberStart = 1;
    bool FFacingPages = false, FMirrorMargins = false, FLandscape = false;
    int32_t FViewScale = 100;
    TVDRTFZoomKind FZoomKind = rtf_zk_None;
    bool FFootnotePageRestart = false;
    TVDUnicodeString FAuthor, FComments, FTitle;
};

struct TVDRTFFont {
    int32_t Number = 0;
    TVDUnicodeString Name;
    TVDRTFFontFamily Family = rtf_ff_Default;
    gfx::TFontCharset Charset = 1;
};

class TVDRTFFontList {
public:
    int32_t Count() const { return int32_t(FItems.size()); }
    TVDRTFFont &operator[](int32_t i) { return FItems[size_t(i)]; }
    const TVDRTFFont &operator[](int32_t i) const { return FItems[size_t(i)]; }
    TVDRTFFont &Last() { return FItems.back(); }
    void Add(int32_t number) { FItems.push_back(TVDRTFFont{number, {}, rtf_ff_Default, 1}); }
    void Clear() { FItems.clear(); }
    // The first font numbered number; else the first numbered def (when they differ); else 0.
    int32_t GetFontIndex(int32_t number, int32_t def) const;
    // The entry at index (entry 0 for a negative index) is named name, case ignored; false
    // when there is no such entry.
    bool IsNamed(int32_t index, const TVDUnicodeString &name) const;
    bool IsSymbolFont(int32_t index) const { return IsNamed(index, u"Symbol"); }
    // Drops " greek", " tur", " baltic", " cyr", " ce" from names of those charsets.
    void StripCharsetSuffixes();

private:
    std::vector<TVDRTFFont> FItems;
};

class TVDRTFColorList {
public:
    int32_t Count() const { return int32_t(FItems.size()); }
    bool IsValid(int32_t i) const { return i >= 0 && i < Count(); }
    TColor Get(int32_t i) const { return FItems[size_t(i)]; }
    TColor &Last() { return FItems.back(); }
    void Add() { FItems.push_back(gfx::clWindowText); }
    void DeleteLast() {
        if (!FItems.empty()) {
            FItems.pop_back();
        }
    }
    void Clear() { FItems.clear(); }

private:
    std::vector<TColor> FItems;
};

struct TVDRTFStyleSheetEntry {
    TVDRTFParaProperties FParaProps;
    TVDRTFCharProperties FCharProps;
    bool FAdditive = false, FHidden = false;
    int32_t FNumber = 0;
    TVDRTFStyleSheetType FStyleType = rtf_sst_Char;
    int32_t FBasedOnIndex = -1, FNextIndex = -1, FLinkIndex = -1;
    int32_t FBasedOnNumber = -1, FNextNumber = -1, FLinkNumber = -1;
    TVDUnicodeString FName;
    bool FQuickAccess = false;
};

class TVDRTFStyleSheet {
public:
    int32_t Count() const { return int32_t(FItems.size()); }
    TVDRTFStyleSheetEntry &operator[](int32_t i) { return FItems[size_t(i)]; }
    const TVDRTFStyleSheetEntry &operator[](int32_t i) const { return FItems[size_t(i)]; }
    TVDRTFStyleSheetEntry &Last() { return FItems.back(); }
    TVDRTFStyleSheetEntry &Add() { return FItems.emplace_back(); }
    void Clear();
    int32_t GetEntry(int32_t number) const;
    int32_t GetParaEntry(int32_t number);
    int32_t GetCharEntry(int32_t number);
    // Trims the names and resolves based-on, next and link numbers into indexes.
    void CalculateLinks();

private:
    int32_t Remembered(int32_t &last, int32_t number);
    std::vector<TVDRTFStyleSheetEntry> FItems;
    int32_t FLastParaIndex = -1, FLastCharIndex = -1;
};

// Mixes shading (hundredths of a percent) of fore into back, clNone counting as white.
TColor MixRTFShading(TColor back, TColor fore, int32_t shading);

} // namespace vizivodu
