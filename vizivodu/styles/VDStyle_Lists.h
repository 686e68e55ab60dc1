// List levels and list styles: the marker font, the level with its marker kind, format string,
// indents, picture and image list, the level collection, the list style with its identifier,
// comparisons and similarity scores for merging, and the searches of the collection.
#pragma once

#include "platform/gfx/Font.h"
#include "platform/gfx/Picture.h"
#include "platform/rtl/Sets.h"
#include "vizivodu/layout/viewer/VDOptions.h"
#include "vizivodu/styles/VDCollection.h"
#include "vizivodu/styles/VDStyle_Records.h"

#include <memory>

namespace gfx {
class TCustomImageList;
}

namespace vizivodu {

class TVDHTMLListCSSList;

// The font of a list level: "Arial", 8 points by default.
class TVDMarkerFont : public gfx::TFont {
public:
    TVDMarkerFont();
    // Same height, style, colour and charset, and the same name without regard to case.
    bool IsEqual(const gfx::TFont &font) const;
    // 8 points, clWindowText, default charset, no style, "Arial" without regard to case.
    bool IsDefault() const;
};

enum TVDListType : uint8_t {
    vdlstBullet,
    vdlstPicture,
    vdlstImageList,
    vdlstDecimal,
    vdlstLowerAlpha,
    vdlstUpperAlpha,
    vdlstLowerRoman,
    vdlstUpperRoman,
    vdlstImageListCounter,
    vdlstUnicodeBullet
};
enum TVDMarkerAlignment : uint8_t { vdmaLeft, vdmaRight, vdmaCenter };
enum TVDListLevelOption : uint8_t { vdloContinuous, vdloLevelReset, vdloLegalStyleNumbering };
using TVDListLevelOptions = rtl::TSet<TVDListLevelOption>;

// One level of a list style. A new level is a bullet level with the middle dot, FirstIndent
// 10, StartFrom 1 and the options continuous and level reset. The font and the picture are
// made when first asked for.
class TVDListLevel : public TVDCollectionItem {
public:
    explicit TVDListLevel(TVDCollection *collection);

    void Assign(const rtl::TPersistent &source) override;
    // Published: ListType, ImageList (without the collection's VDData), ImageIndex, the
    // indents, MarkerAlignment, Font (once made), Options, StartFrom; defined "ILTag" (with
    // VDData), "FormatStringWCode", "FormatStringCode" and "FormatStringCodeW".
    static const rtl::TClassInfo &StaticClassInfo();
    const rtl::TClassInfo &ClassInfo() const override { return StaticClassInfo(); }
    void DefineProperties(rtl::TFiler &filer) override;
    // Format("%s %d/%d/%d", [kind name, LeftIndent, MarkerIndent, FirstIndent]).
    UnicodeString GetDisplayName() const override;
    bool HasPicture() const;
    // The marker is text in the level font.
    bool UsesFont() const;
    // The marker is a number.
    bool HasNumbering() const;
    // The number's text varies in width.
    bool HasVariableWidth() const;
    bool IsSimpleEqual(const TVDListLevel &value) const;
    int32_t SimilarityValue(const TVDListLevel &value) const;
    void ConvertToDifferentUnits(TVDStyleUnits newUnits, const TVDStyle *vdStyle);

    TVDListType GetListType() const { return FListType; }
    void SetListType(TVDListType value) { FListType = value; }
    // Made on first call.
    gfx::TPicture &GetPicture();
    // An empty picture (or null) frees the level's; another is copied, its graphic made
    // transparent.
    void SetPicture(const gfx::TPicture *value);
    // The picture as the component stream reads and writes it (made on first call).
    rtl::TPersistent &GetStreamedPicture();
    // Not owned. The style sheet of the level's list style is told when the image list is
    // destroyed, and the level forgets it then.
    gfx::TCustomImageList *GetImageList() const { return FImageList; }
    void SetImageList(gfx::TCustomImageList *value);
    int32_t GetImageIndex() const { return FImageIndex; }
    void SetImageIndex(int32_t value) { FImageIndex = value; }
    // The bullet text, or the format of the number text (placeholders %0:s .. %8:s).
    const UnicodeString &GetFormatString() const { return FFormatString; }
    void SetFormatString(const UnicodeString &value) { FFormatString = value; }
    // The bullet text of vdlstUnicodeBullet.
    const UnicodeString &GetFormatStringW() const { return FFormatStringW; }
    void SetFormatStringW(const UnicodeString &value) { FFormatStringW = value; }
    TVDStyleLength GetLeftIndent() const { return FLeftIndent; }
    void SetLeftIndent(TVDStyleLength value) { FLeftIndent = value; }
    // Relative to LeftIndent: where the text after the marker starts.
    TVDStyleLength GetFirstIndent() const { return FFirstIndent; }
    void SetFirstIndent(TVDStyleLength value) { FFirstIndent = value; }
    TVDStyleLength GetMarkerIndent() const { return FMarkerIndent; }
    void SetMarkerIndent(TVDStyleLength value) { FMarkerIndent = value; }
    TVDMarkerAlignment GetMarkerAlignment() const { return FMarkerAlignment; }
    void SetMarkerAlignment(TVDMarkerAlignment value) { FMarkerAlignment = value; }
    // Made on first call.
    TVDMarkerFont &GetFont();
    bool HasFont() const { return FFont != nullptr; }
    // The font as the component stream reads and writes it (made on first call, with the font).
    rtl::TPersistent &GetStreamedFont();
    // Null frees the level's font; another is copied.
    void SetFont(const gfx::TFont *value);
    TVDListLevelOptions GetOptions() const { return FOptions; }
    void SetOptions(TVDListLevelOptions value) { FOptions = value; }
    int32_t GetStartFrom() const { return FStartFrom; }
    void SetStartFrom(int32_t value) { FStartFrom = value; }

    // Persistence seams (the list style writers define them, with the HTML list tags).
    void SaveToINI(rtl::TCustomIniFile &ini, const UnicodeString &section,
                   const UnicodeString &fs) const;
    void LoadFromINI(rtl::TCustomIniFile &ini, const UnicodeString &section,
                     const UnicodeString &fs);
    // HTML: "ol" for a numbered level, else "ul"; the CSS of the level's list element; the CSS
    // of a paragraph whose marker is written as text; the list element's tags (with UseCSS a
    // class of listBullets when its CSS is there, else a style attribute).
    AnsiString GetHTMLOpenTagForCSS() const;
    AnsiString GetHTMLOpenCSS(const TVDStyle &vdStyle, TVDBiDiMode biDiMode) const;
    AnsiString GetIndentCSSForTextVersion(const TVDStyle &vdStyle, TVDBiDiMode biDiMode) const;
    void HTMLOpenTag(rtl::TStream &stream, bool useCSS, const TVDStyle &vdStyle,
                     TVDSaveOptions saveOptions, const TVDHTMLListCSSList *listBullets,
                     TVDBiDiMode biDiMode) const;
    void HTMLCloseTag(rtl::TStream &stream, bool useCSS) const;

private:
    bool FontsEqual(const TVDListLevel &value) const;
    bool PicturesEqual(const TVDListLevel &value) const;

    TVDListType FListType = vdlstBullet;
    std::unique_ptr<gfx::TPicture> FPicture;
    gfx::TCustomImageList *FImageList = nullptr;
    int32_t FImageIndex = 0;
    UnicodeString FFormatString;
    UnicodeString FFormatStringW;
    TVDStyleLength FLeftIndent = 0;
    TVDStyleLength FFirstIndent = 10;
    TVDStyleLength FMarkerIndent = 0;
    TVDMarkerAlignment FMarkerAlignment = vdmaLeft;
    std::unique_ptr<TVDMarkerFont> FFont;
    std::unique_ptr<rtl::TPersistent> FStreamedFont;
    std::unique_ptr<rtl::TPersistent> FStreamedPicture;
    TVDListLevelOptions FOptions{vdloContinuous, vdloLevelReset};
    int32_t FStartFrom = 1;
};

class TVDListInfo;

class TVDListLevelCollection : public TVDCollection {
public:
    explicit TVDListLevelCollection(TVDListInfo *owner);

    TVDListInfo *GetOwner() const { return FOwner; }
    TVDListLevel &Add() { return static_cast<TVDListLevel &>(*TVDCollection::Add()); }
    TVDListLevel &Insert(Integer index) {
        return static_cast<TVDListLevel &>(*TVDCollection::Insert(index));
    }
    TVDListLevel &GetItem(Integer index) const {
        return static_cast<TVDListLevel &>(*TVDCollection::GetItem(index));
    }
    // Same count and every pair of levels IsSimpleEqual.
    bool IsSimpleEqual(const TVDListLevelCollection &value) const;
    void ConvertToDifferentUnits(TVDStyleUnits newUnits, const TVDStyle *vdStyle);

private:
    TVDListInfo *FOwner;
};

// A list style: its levels and its identifier across documents. A new list style is named
// "List Style" and has no levels.
class TVDListInfo : public TCustomVDInfo {
public:
    explicit TVDListInfo(TVDCollection *collection);

    // Levels and OneLevelPreview, and ListID when this style's collection allows it; then as
    // TCustomVDInfo.
    void Assign(const rtl::TPersistent &source) override;
    // Published Levels and OneLevelPreview; the defined "LstID", always stored (an id is drawn
    // first when there is none).
    static const rtl::TClassInfo &StaticClassInfo();
    const rtl::TClassInfo &ClassInfo() const override { return StaticClassInfo(); }
    void DefineProperties(rtl::TFiler &filer) override;
    bool IsSimpleEqual(const TCustomVDInfo &value, TVDSimpleEqualOptions options) const override;
    bool IsSimpleEqualEx(TCustomVDInfo &value, const TVDIntegerList &mapping) const override;
    int32_t SimilarityValue(const TCustomVDInfo &value) const override;
    void ConvertToDifferentUnits(TVDStyleUnits newUnits) override;
    // Some level numbers its items.
    bool HasNumbering() const;
    // Every level numbers its items (true without levels).
    bool AllNumbered() const;
    bool HasVariableWidth() const;

    TVDListLevelCollection &GetLevels() { return FLevels; }
    const TVDListLevelCollection &GetLevels() const { return FLevels; }
    void SetLevels(const TVDListLevelCollection &value) { FLevels.Assign(value); }
    bool GetOneLevelPreview() const { return FOneLevelPreview; }
    void SetOneLevelPreview(bool value) { FOneLevelPreview = value; }
    // The identifier, drawn at random (never 0) when first read.
    int32_t GetListID() const;
    // For readers of stored styles.
    void SetListID(int32_t value) { FListID = value; }

    // Persistence seams (the list style writers define them).
    void SaveToINI(rtl::TCustomIniFile &ini, const UnicodeString &section,
                   const UnicodeString &fs) const;
    void LoadFromINI(rtl::TCustomIniFile &ini, const UnicodeString &section,
                     const UnicodeString &fs);
    // Adds the CSS of every level to bullets; a text it adds is written as the rule number
    // index (the title line before the first rule, index 0) when stream is given.
    void SaveCSSToStream(rtl::TStream *stream, TVDHTMLListCSSList &bullets,
                         TVDSaveCSSOptions saveOptions, int32_t &index, const AnsiString &title,
                         TVDBiDiMode biDiMode) const;

private:
    TVDListLevelCollection FLevels;
    bool FOneLevelPreview = false;
    mutable int32_t FListID = 0;
};

class TCustomVDDataHooks;

// The list styles of a sheet. There is no invalid-index list style: GetItem raises the
// collection's index error.
class TVDListInfos : public TCustomVDInfos {
public:
    TVDListInfos(TItemFactory itemFactory, TVDStyle *owner);

    TVDListInfo &GetItem(Integer index) const {
        return static_cast<TVDListInfo &>(*TVDCollection::GetItem(index));
    }
    void SetItem(Integer index, const TVDListInfo &value) { GetItem(index).Assign(value); }
    TVDListInfo &Add() { return static_cast<TVDListInfo &>(*TVDCollection::Add()); }
    TVDListInfo &Insert(Integer index) {
        return static_cast<TVDListInfo &>(*TVDCollection::Insert(index));
    }

    // The first style equal to style but for its identifier; when none and addIfNotFound, a
    // copy appended (Standard false); else -1.
    Integer FindSuchStyle(const TVDListInfo &style, bool addIfNotFound);
    // The first style whose levels equal levels; when none and addIfNotFound, a new style
    // (Standard false, named styleNameForAdding, OneLevelPreview) with those levels; else -1.
    Integer FindStyleWithLevels(const TVDListLevelCollection &levels,
                                const UnicodeString &styleNameForAdding, bool addIfNotFound);
    // Every level that shows the component (an image list) forgets it.
    void RemoveImageListReferences(const rtl::TComponent *component);

    // Persistence seams (the list style writers define them).
    void SaveToINI(rtl::TCustomIniFile &ini, const UnicodeString &section) const;
    void LoadFromINI(rtl::TCustomIniFile &ini, const UnicodeString &section);
    // bullets cleared, then every list style's rules; with stream null bullets is only filled.
    void SaveCSSToStream(rtl::TStream *stream, TVDHTMLListCSSList &bullets,
                         TVDSaveCSSOptions saveOptions, const AnsiString &title) const;

    // The document that answers image-list requests while the collection is read; may be null.
    TCustomVDDataHooks *VDData = nullptr;
    // While true, assigning a list style also copies its ListID.
    bool ViziVoduAllowAssignListID = false;
};

} // namespace vizivodu
