// Paragraph styles: indents, spacing, alignment, border, background, options and tab stops,
// with copying by property set, three kinds of equality, the similarity score, the modified
// properties against a template or the defaults, the invalid-index style and the searches.
#pragma once

#include "vizivodu/styles/VDStyle_Borders.h"
#include "vizivodu/styles/VDStyle_Records.h"

namespace vizivodu {

class TCustomVDRTFTables;

enum TVDLineSpacingType : uint8_t {
    vdlsPercent,           // LineSpacing in percent of single spacing
    vdlsSpaceBetween,      // LineSpacing: extra space between lines (a length)
    vdlsLineHeightAtLeast, // LineSpacing: the least line height
    vdlsLineHeightExact    // LineSpacing: the line height
};
enum TVDAlignment : uint8_t { vdaLeft, vdaRight, vdaCenter, vdaJustify, vdaDistribute };
enum TVDLastLineAlignment : uint8_t {
    vdllaDefault,
    vdllaLeft,
    vdllaRight,
    vdllaCenter,
    vdllaJustify
};
// In the order of the options' vdpi members (vdpiNoWrap ... vdpiWidowOrphanControl).
enum TVDParaOption : uint8_t {
    vdpaoNoWrap,
    vdpaoReadOnly,
    vdpaoStyleProtect,
    vdpaoDoNotWantReturns,
    vdpaoKeepLinesTogether,
    vdpaoKeepWithNext,
    vdpaoWidowOrphanControl
};
using TVDParaOptions = rtl::TSet<TVDParaOption>;

// The properties of a paragraph style; lengths in style units, all 0 by default; single line
// spacing (100 %), left alignment, no border, background or tabs.
class TCustomVDParaInfo : public TCustomFontOrParaVDInfo {
public:
    explicit TCustomVDParaInfo(TVDCollection *collection);

    // From any paragraph style: every property of the table, then as TCustomFontOrParaVDInfo.
    void Assign(const rtl::TPersistent &source) override;
    // Published: the table's properties, Border, Background and Tabs as objects.
    static const rtl::TClassInfo &StaticClassInfo();
    const rtl::TClassInfo &ClassInfo() const override { return StaticClassInfo(); }
    void Reset() override;
    // Every property but the border and background back to its default, tabs cleared.
    void ResetMainProperties();
    void ResetBorderAndBackProperties();
    // Copies the members of props from source. LineSpacing and LineSpacingType go together;
    // NextParaNo and DefStyleNo are not handled here.
    void AssignSelectedProperties(const TCustomVDParaInfo &source, TVDParaInfoProperties props);
    // 1 <= OutlineLevel <= maxLevel.
    bool IsHeading(int32_t maxLevel) const;
    // A percentage other than 100, or a length above 0 for the other kinds.
    bool HasLineSpacing() const;

    bool IsSimpleEqual(const TCustomVDInfo &value, TVDSimpleEqualOptions options) const override;
    // Equal in every member whose property is not in ignoreList.
    virtual bool IsEqual(const TCustomVDParaInfo &value, TVDParaInfoProperties ignoreList) const;
    int32_t SimilarityValue(const TCustomVDInfo &value) const override;
    virtual TVDParaInfoProperties
    CalculateModifiedProperties(const TCustomVDParaInfo &source,
                                TVDParaInfoProperties possibleProps) const;
    virtual TVDParaInfoProperties
    CalculateModifiedProperties2(TVDParaInfoProperties possibleProps) const;
    // Indents, spaces, a line spacing that is a length, tab positions, the border and the
    // background's offsets.
    void ConvertToDifferentUnits(TVDStyleUnits newUnits) override;

    // Relative to LeftIndent; negative: a hanging first line.
    TVDStyleLength GetFirstIndent() const { return FFirstIndent; }
    void SetFirstIndent(TVDStyleLength value) { FFirstIndent = value; }
    TVDStyleLength GetLeftIndent() const { return FLeftIndent; }
    void SetLeftIndent(TVDStyleLength value) { FLeftIndent = value; }
    TVDStyleLength GetRightIndent() const { return FRightIndent; }
    void SetRightIndent(TVDStyleLength value) { FRightIndent = value; }
    // A negative value is stored as 0.
    TVDStyleLength GetSpaceBefore() const { return FSpaceBefore; }
    void SetSpaceBefore(TVDStyleLength value) { FSpaceBefore = value < 0 ? 0 : value; }
    TVDStyleLength GetSpaceAfter() const { return FSpaceAfter; }
    void SetSpaceAfter(TVDStyleLength value) { FSpaceAfter = value < 0 ? 0 : value; }
    int32_t GetLineSpacing() const { return FLineSpacing; }
    void SetLineSpacing(int32_t value) { FLineSpacing = value; }
    TVDLineSpacingType GetLineSpacingType() const { return FLineSpacingType; }
    void SetLineSpacingType(TVDLineSpacingType value) { FLineSpacingType = value; }
    TVDAlignment GetAlignment() const { return FAlignment; }
    void SetAlignment(TVDAlignment value) { FAlignment = value; }
    TVDLastLineAlignment GetLastLineAlignment() const { return FLastLineAlignment; }
    void SetLastLineAlignment(TVDLastLineAlignment value) { FLastLineAlignment = value; }
    TVDBorder &GetBorder() { return FBorder; }
    const TVDBorder &GetBorder() const { return FBorder; }
    void SetBorder(const TVDBorder &value) { FBorder.Assign(value); }
    TVDBackgroundRect &GetBackground() { return FBackground; }
    const TVDBackgroundRect &GetBackground() const { return FBackground; }
    void SetBackground(const TVDBackgroundRect &value) { FBackground.Assign(value); }
    TVDParaOptions GetOptions() const { return FOptions; }
    void SetOptions(TVDParaOptions value) { FOptions = value; }
    TVDBiDiMode GetBiDiMode() const { return FBiDiMode; }
    void SetBiDiMode(TVDBiDiMode value) { FBiDiMode = value; }
    // Heading level; 0 is body text.
    int32_t GetOutlineLevel() const { return FOutlineLevel; }
    void SetOutlineLevel(int32_t value) { FOutlineLevel = value; }
    TVDTabInfos &GetTabs() { return FTabs; }
    const TVDTabInfos &GetTabs() const { return FTabs; }
    void SetTabs(const TVDTabInfos &value) { FTabs.Assign(value); }

    // ---- Persistence seams ----
    // Declared for the INI, RTF, OOXML and CSS writers and readers, which define them (and make
    // them virtual where styles override them).
    void SaveToINI(rtl::TCustomIniFile &ini, const UnicodeString &section, const UnicodeString &fs,
                   TVDParaInfoProperties properties) const;
    void LoadFromINI(rtl::TCustomIniFile &ini, const UnicodeString &section,
                     const UnicodeString &fs);
    void SaveRTFToStream(rtl::TStream &stream, TCustomVDRTFTables *rtfTables,
                         TVDStyleLength minAllowedTabPos, const AnsiString &fILIText,
                         const TVDStyle &vdStyle) const;
    AnsiString GetOOXMLStr(const TVDStyle &vdStyle, TVDStyleLength minAllowedTabPos,
                           const TVDTabInfos *parentTabs, TVDParaInfoProperties properties) const;
    void SaveCSSToStream(rtl::TStream &stream, const TCustomVDParaInfo *baseStyle, bool multiline,
                         bool ignoreLeftAlignment, bool ignoreStartIndents,
                         TVDBiDiMode mainBiDiMode) const;

protected:
    int32_t UnitsWeight() const;

private:
    TVDStyleLength FFirstIndent = 0;
    TVDStyleLength FLeftIndent = 0;
    TVDStyleLength FRightIndent = 0;
    TVDStyleLength FSpaceBefore = 0;
    TVDStyleLength FSpaceAfter = 0;
    int32_t FLineSpacing = 100;
    TVDLineSpacingType FLineSpacingType = vdlsPercent;
    TVDAlignment FAlignment = vdaLeft;
    TVDLastLineAlignment FLastLineAlignment = vdllaDefault;
    TVDBorder FBorder;
    TVDBackgroundRect FBackground;
    TVDParaOptions FOptions;
    TVDBiDiMode FBiDiMode = vdbdUnspecified;
    int32_t FOutlineLevel = 0;
    TVDTabInfos FTabs;
};

// The item class of a sheet's paragraph styles.
class TParaInfo : public TCustomVDParaInfo {
public:
    explicit TParaInfo(TVDCollection *collection) : TCustomVDParaInfo(collection) {}

    // From a TParaInfo also NextParaNo, DefStyleNo and ModifiedProperties.
    void Assign(const rtl::TPersistent &source) override;
    // Published NextParaNo and DefStyleNo; "ModifiedProps" as a set value.
    static const rtl::TClassInfo &StaticClassInfo();
    const rtl::TClassInfo &ClassInfo() const override { return StaticClassInfo(); }
    void DefineProperties(rtl::TFiler &filer) override;
    void Reset() override;
    bool IsSimpleEqual(const TCustomVDInfo &value, TVDSimpleEqualOptions options) const override;
    // IsSimpleEqual ignoring references; value's NextParaNo, numbered as in the other
    // collection, must map to this style's. One beyond the mapping is set to -1 in value.
    bool IsSimpleEqualEx(TCustomVDInfo &value, const TVDIntegerList &mapping) const override;
    bool IsEqual(const TCustomVDParaInfo &value, TVDParaInfoProperties ignoreList) const override;
    void IncludeModifiedProperties(const TCustomVDParaInfo &source,
                                   TVDParaInfoProperties possibleProps);
    void IncludeModifiedProperties2(TVDParaInfoProperties possibleProps);

    // The paragraph style after Enter; -1 the same.
    int32_t GetNextParaNo() const { return FNextParaNo; }
    void SetNextParaNo(int32_t value) { FNextParaNo = value; }
    // The text style preferred in such paragraphs; -1 none.
    int32_t GetDefStyleNo() const { return FDefStyleNo; }
    void SetDefStyleNo(int32_t value) { FDefStyleNo = value; }
    // Where the style differs from its template; re-applying the template keeps these.
    TVDParaInfoProperties ModifiedProperties;

private:
    int32_t FNextParaNo = -1;
    int32_t FDefStyleNo = -1;
};

// The style answered for an index outside the collection, bound to its sheet.
class TErrParaInfo : public TParaInfo {
public:
    explicit TErrParaInfo(TVDStyle *vdStyle) : TParaInfo(nullptr), FVDStyle(vdStyle) {}
    TVDStyle *GetVDStyle() const override { return FVDStyle; }

private:
    TVDStyle *FVDStyle;
};

// The paragraph styles of a sheet. GetItem never fails: an index outside the collection gives
// the invalid-index style, framed in red.
class TParaInfos : public TCustomVDInfos {
public:
    TParaInfos(TItemFactory itemFactory, TVDStyle *owner);
    ~TParaInfos() override;

    TParaInfo &GetItem(Integer index) const;
    void SetItem(Integer index, const TParaInfo &value);
    // Made on first use from style 0 (when there is one) with 3-pixel spaces and indents and a
    // red 2-pixel single frame at 1-pixel offsets; EInvalidCast "Invalid class typecast" when
    // the collection has no style sheet.
    TParaInfo &GetInvalidItem() const;
    void SetInvalidItem(const TParaInfo &value);
    TParaInfo *GetInvalidItemIfCreated() const { return FInvalidItem.get(); }
    TParaInfo &Add();

    // baseStyle when its style already has alignment, else the first other index whose style
    // has it and equals baseStyle's otherwise; -1 when none.
    Integer FindStyleWithAlignment(Integer baseStyle, TVDAlignment alignment) const;
    // A style that style equals in the properties of mask; baseStyle is tried first (an index
    // outside the collection compares with the invalid-index style); -1 when none.
    Integer FindSuchStyle(Integer baseStyle, const TParaInfo &style,
                          TVDParaInfoProperties mask) const;
    // FindSuchStyle; when nothing is found a copy of style is appended (Standard false).
    Integer FindSuchStyleEx(Integer baseStyle, const TParaInfo &style, TVDParaInfoProperties mask);

    // Persistence seams (the INI unit defines them).
    void SaveToINI(rtl::TCustomIniFile &ini, const UnicodeString &section) const;
    void LoadFromINI(rtl::TCustomIniFile &ini, const UnicodeString &section);

private:
    mutable std::unique_ptr<TErrParaInfo> FInvalidItem;
};

} // namespace vizivodu
