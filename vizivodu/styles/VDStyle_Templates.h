// Style templates: named, inheritable sets of text and paragraph properties (with reserved
// names such as "Normal", "Hyperlink" and "heading 1" .. "heading 9"), their identifiers,
// kinds, parent and next links, application to styles with modified-property protection, and
// the template collection with its names and merging.
#pragma once

#include "vizivodu/styles/VDStyle_Lists.h"
#include "vizivodu/styles/VDStyle_Para.h"
#include "vizivodu/styles/VDStyle_Text.h"

#include <memory>
#include <vector>

namespace rtl {
class TCustomIniFile;
class TStrings;
} // namespace rtl

namespace vizivodu {

class TVDStyleTemplate;

// A property set as the names of its members without their prefix, separated by spaces
// ("FontName Size"); reading ignores words that name no member.
UnicodeString TextPropertiesToString(TVDFontInfoProperties properties);
UnicodeString ParaPropertiesToString(TVDParaInfoProperties properties);
TVDFontInfoProperties StringToTextProperties(const UnicodeString &text);
TVDParaInfoProperties StringToParaProperties(const UnicodeString &text);
class TVDStyleTemplateCollection;

enum TVDStyleTemplateKind : uint8_t {
    vdstkParaText, // paragraph and text properties
    vdstkPara,     // a paragraph template
    vdstkText      // a character template
};
using TVDStyleTemplateKinds = rtl::TSet<TVDStyleTemplateKind>;

// The styles a template owns. Their sheet is the one owning the template's collection, if any.
// The members that name a style's place in a sheet (StyleTemplateId, StyleName, Standard,
// BaseStyleNo) are not valid here: setting them raises EViziVoduError "This property is not
// valid here".
class TVDSTFontInfo : public TCustomVDFontInfo {
public:
    explicit TVDSTFontInfo(TVDStyleTemplate *owner);
    TVDStyleTemplate *GetOwner() const { return FOwner; }
    TVDStyle *GetVDStyle() const override;
    void SetStyleTemplateId(TVDStyleTemplateId value);
    void SetStyleName(const UnicodeString &value);
    void SetStandard(bool value);
    void SetBaseStyleNo(int32_t value);

private:
    TVDStyleTemplate *FOwner;
};

class TVDSTParaInfo : public TCustomVDParaInfo {
public:
    explicit TVDSTParaInfo(TVDStyleTemplate *owner);
    TVDStyleTemplate *GetOwner() const { return FOwner; }
    TVDStyle *GetVDStyle() const override;
    void SetStyleTemplateId(TVDStyleTemplateId value);
    void SetStyleName(const UnicodeString &value);
    void SetStandard(bool value);
    void SetBaseStyleNo(int32_t value);

private:
    TVDStyleTemplate *FOwner;
};

class TVDSTListInfo : public TVDListInfo {
public:
    explicit TVDSTListInfo(TVDStyleTemplate *owner);
    TVDStyleTemplate *GetOwner() const { return FOwner; }
    TVDStyle *GetVDStyle() const override;
    void SetStyleName(const UnicodeString &value);
    void SetStandard(bool value);
    void SetBaseStyleNo(int32_t value);

private:
    TVDStyleTemplate *FOwner;
};

// One template. A null template is a valid receiver of the Apply... and UpdateModified...
// operations (they are static and take it as an argument): it stands for no template.
class TVDStyleTemplate : public TVDCollectionItem {
public:
    // ParentId and NextId -1, QuickAccess true; in a collection whose sheet is not being
    // loaded, a generated name ("Style %d").
    explicit TVDStyleTemplate(TVDCollection *collection);
    ~TVDStyleTemplate() override;

    // TextStyle, ParaStyle, the raw ParentId and NextId (only within one collection; no
    // relinking), Name, Kind, QuickAccess and the two valid-property sets. Not the ListStyle.
    void Assign(const rtl::TPersistent &source) override;
    // Published TextStyle, ParaStyle, Name, ParentId, NextId, Kind, QuickAccess; the defined
    // "IDProp" (always), "ValidParaProps" and "ValidTextProps" (set values, when not empty).
    static const rtl::TClassInfo &StaticClassInfo();
    const rtl::TClassInfo &ClassInfo() const override { return StaticClassInfo(); }
    void DefineProperties(rtl::TFiler &filer) override;
    UnicodeString GetDisplayName() const override { return FName; }
    TVDStyleTemplateCollection *GetTemplates() const;

    // Gives textStyle the properties of template's chain, then of paraStyleTemplate's chain,
    // then the defaults, keeping textStyle's ModifiedProperties; sets its StyleTemplateId.
    static void ApplyToTextStyle(const TVDStyleTemplate *templ, TCustomVDFontInfo &textStyle,
                                 const TVDStyleTemplate *paraStyleTemplate);
    // Gives paraStyle the properties of template's chain, then the defaults, keeping its
    // ModifiedProperties; a character template in the chain ends it (no defaults).
    static void ApplyToParaStyle(const TVDStyleTemplate *templ, TCustomVDParaInfo &paraStyle);
    // The tab stops the chain defines; null when none or for a character template.
    static const TVDTabInfos *GetTabs(const TVDStyleTemplate *templ);
    // Recomputes which properties of textStyle differ from its templates and the defaults.
    static void UpdateModifiedTextStyleProperties(const TVDStyleTemplate *templ,
                                                  TFontInfo &textStyle,
                                                  const TVDStyleTemplate *paraStyleTemplate);
    static void UpdateModifiedParaStyleProperties(const TVDStyleTemplate *templ,
                                                  TParaInfo &paraStyle);
    // A text style receives ApplyToTextStyle(this, nil); a paragraph style ApplyToParaStyle.
    using rtl::TPersistent::AssignTo;
    void AssignTo(TCustomVDFontInfo &textStyle) const {
        ApplyToTextStyle(this, textStyle, nullptr);
    }
    void AssignTo(TCustomVDParaInfo &paraStyle) const { ApplyToParaStyle(this, paraStyle); }

    // This template is styleTemplate or one of its ancestors.
    bool IsAncestorFor(const TVDStyleTemplate *styleTemplate) const;
    // This template or an ancestor has exactly this name.
    bool IsInheritedFrom(const UnicodeString &name) const;

    const UnicodeString &GetName() const { return FName; }
    // Keeps NormalStyleTemplate, the kind of reserved names and "Normal"'s missing parent.
    void SetName(const UnicodeString &value);
    // Positive and unique in the collection; drawn at random when first read.
    TVDStyleTemplateId GetId() const;
    // For readers of stored templates.
    void SetIdForLoading(TVDStyleTemplateId value) { FId = value; }
    TVDStyleTemplateId GetParentId() const { return FParentId; }
    // Links to the parent when the sheet is not being loaded. EViziVoduError "Wrong kind of
    // StyleTemplate parent" when exactly one of the two is a character template, and
    // "Circular references in StyleTemplates are not allowed" when this template is an
    // ancestor of the parent; ParentId is then -1.
    void SetParentId(TVDStyleTemplateId value);
    TVDStyleTemplateId GetNextId() const { return FNextId; }
    void SetNextId(TVDStyleTemplateId value);
    bool GetQuickAccess() const { return FQuickAccess; }
    void SetQuickAccess(bool value) { FQuickAccess = value; }
    TVDStyleTemplateKind GetKind() const { return FKind; }
    void SetKind(TVDStyleTemplateKind value);
    TVDSTFontInfo &GetTextStyle() { return *FTextStyle; }
    const TVDSTFontInfo &GetTextStyle() const { return *FTextStyle; }
    void SetTextStyle(const TCustomVDFontInfo &value) { FTextStyle->Assign(value); }
    TVDSTParaInfo &GetParaStyle() { return *FParaStyle; }
    const TVDSTParaInfo &GetParaStyle() const { return *FParaStyle; }
    void SetParaStyle(const TCustomVDParaInfo &value) { FParaStyle->Assign(value); }
    TVDSTListInfo &GetListStyle() { return *FListStyle; }
    TVDStyleTemplate *GetParent() const { return FParent; }
    TVDStyleTemplate *GetNext() const { return FNext; }
    const std::vector<TVDStyleTemplate *> &GetChildren() const { return FChildren; }

    // Persistence seams (the template persistence unit defines them).
    void SaveToINI(rtl::TCustomIniFile &ini, const UnicodeString &section,
                   const UnicodeString &fs) const;
    void LoadFromINI(rtl::TCustomIniFile &ini, const UnicodeString &section,
                     const UnicodeString &fs);

    // The properties of TextStyle and ParaStyle that the template defines.
    TVDFontInfoProperties ValidTextProperties;
    TVDParaInfoProperties ValidParaProperties;

private:
    friend class TVDStyleTemplateCollection;

    // Whether parent and next links are kept: the collection's sheet exists and is not being
    // loaded.
    bool LinksMaintained() const;
    void UpdateKind();
    void AddChild(TVDStyleTemplate *child);
    void RemoveChild(TVDStyleTemplate *child);
    static TVDFontInfoProperties ApplyTextChain(const TVDStyleTemplate *templ,
                                                TCustomVDFontInfo &textStyle,
                                                TVDFontInfoProperties remaining, bool withDefaults);
    // Records in textStyle where it differs from the chain, taking the chain's properties out
    // of possible; true when the last template visited is not a character template.
    static bool IncludeTextChain(const TVDStyleTemplate *templ, TFontInfo &textStyle,
                                 TVDFontInfoProperties &possible);

    UnicodeString FName;
    mutable TVDStyleTemplateId FId = 0;
    TVDStyleTemplateId FParentId = -1;
    bool FQuickAccess = true;
    TVDStyleTemplateId FNextId = -1;
    std::unique_ptr<TVDSTFontInfo> FTextStyle;
    std::unique_ptr<TVDSTParaInfo> FParaStyle;
    std::unique_ptr<TVDSTListInfo> FListStyle;
    TVDStyleTemplate *FParent = nullptr;
    TVDStyleTemplate *FNext = nullptr;
    std::vector<TVDStyleTemplate *> FChildren;
    TVDStyleTemplateKind FKind = vdstkParaText;
};

// The templates of a style sheet (owner may be null for a free-standing collection).
class TVDStyleTemplateCollection : public TVDCollection {
public:
    explicit TVDStyleTemplateCollection(TVDStyle *owner);
    // Frees the templates while the collection is whole: they unlink themselves from it.
    ~TVDStyleTemplateCollection() override { Clear(); }

    TVDStyle *GetOwner() const { return FOwner; }
    TVDStyleTemplate &Add() { return static_cast<TVDStyleTemplate &>(*TVDCollection::Add()); }
    TVDStyleTemplate &GetItem(Integer index) const {
        return static_cast<TVDStyleTemplate &>(*TVDCollection::GetItem(index));
    }
    void SetItem(Integer index, const TVDStyleTemplate &value) { GetItem(index).Assign(value); }
    void ResetNameCounter() { FNameCounter = 0; }

    // The index of the template with this id (ids are drawn where missing), -1 for none and
    // for id <= 0.
    Integer FindById(TVDStyleTemplateId id) const;
    TVDStyleTemplate *FindItemById(TVDStyleTemplateId id) const;
    // The first template with exactly this name, -1 / null when none.
    Integer FindByName(const UnicodeString &name) const;
    TVDStyleTemplate *FindItemByName(const UnicodeString &name) const;
    // The next generated name that no template but ignoreItem has.
    UnicodeString GetUniqueName(const TVDStyleTemplate *ignoreItem);
    // name with "_" appended until no template has it.
    UnicodeString MakeNameUnique(const UnicodeString &name) const;
    // Ordered by name (case-sensitive, locale-aware).
    void Sort();
    // The names of the templates of kinds, except excludeThisStyle and its descendants; ids
    // (may be null) gets each listed template's id, in the same order.
    void AssignToStrings(rtl::TStrings &strings, TVDIntegerList *ids, TVDStyleTemplateKinds kinds,
                         const TVDStyleTemplate *excludeThisStyle, bool onlyPotentialParents) const;
    void Assign(const TVDCollection &source) override;
    // Copies of source's templates; with copyIds their ids and links, else links renumbered to
    // the copies' ids.
    void AssignStyleTemplates(const TVDStyleTemplateCollection &source, bool copyIds);
    // A text style back to its templates (paragraph template, "Hyperlink" for hypertext).
    void ClearTextFormat(TCustomVDFontInfo &textStyle) const;
    // A paragraph style back to "Normal", or to the defaults without it.
    void ClearParaFormat(TCustomVDParaInfo &paraStyle) const;
    void ConvertToDifferentUnits(TVDStyleUnits newUnits);
    // Adds the templates of value that this collection lacks by name; map (may be null) gets,
    // for each template of value, its index here.
    void MergeWith(const TVDStyleTemplateCollection &value, TVDIntegerList *map);
    // Resolves every parent and next link from the ids. A parent link that would close a
    // circle (from a damaged file) is dropped: its ParentId becomes -1.
    void UpdateReferences();

    // Persistence seams (the template persistence unit defines them): INI sections and VDST
    // files.
    void SaveToINI(rtl::TCustomIniFile &ini, const UnicodeString &section) const;
    void LoadFromINI(rtl::TCustomIniFile &ini, const UnicodeString &section);
    bool SaveToVDST(const UnicodeString &fileName, TVDStyleUnits units) const;
    bool LoadFromVDST(const UnicodeString &fileName, TVDStyleUnits units);
    // LoadFromVDST raising the reason instead of answering false: EViziVoduError naming the
    // file and the key of a bad value (or the missing "Styles" section), EIniFileException for
    // a file that is no INI file. The templates are as they were when it raises.
    void LoadVDST(const UnicodeString &fileName, TVDStyleUnits units);
    // Copies templates that a reader made, as they were stored: ids, parent and next ids and
    // kinds without the name and kind rules or the link checks; then links them
    // (UpdateReferences), which drops a parent that would close a circle. Raises nothing.
    void AssignLoaded(const TVDStyleTemplateCollection &source);

    TVDStyleTemplate *GetNormalStyleTemplate() const { return FNormalStyleTemplate; }
    // Ids that newly drawn ids avoid; made on first call.
    TVDIntegerList &GetForbiddenIds();
    bool HasForbiddenIds() const { return FForbiddenIds != nullptr; }
    const UnicodeString &GetDefStyleName() const { return FDefStyleName; }
    void SetDefStyleName(const UnicodeString &value) { FDefStyleName = value; }
    int32_t GetNameCounter() const { return FNameCounter; }

private:
    friend class TVDStyleTemplate;
    void AssignUniqueName(TVDStyleTemplate &templ);

    TVDStyle *FOwner;
    int32_t FNameCounter = 0;
    UnicodeString FDefStyleName = u"Style %d";
    TVDStyleTemplate *FNormalStyleTemplate = nullptr;
    std::unique_ptr<TVDIntegerList> FForbiddenIds;
};

} // namespace vizivodu
