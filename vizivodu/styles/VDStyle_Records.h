// Style records and collections: the base of every style of a style sheet (text, paragraph and
// list styles), the base of text and paragraph styles, and the numbered collection with the
// operations over a whole collection (merging another sheet's styles, duplicates, units).
#pragma once

#include "platform/rtl/Sets.h"
#include "vizivodu/document/VDClasses.h"
#include "vizivodu/styles/VDCollection.h"
#include "vizivodu/styles/VDStyle_Types.h"

namespace rtl {
class TCustomIniFile;
class TStream;
class TStrings;
} // namespace rtl

namespace vizivodu {

class TVDStyle;
class TCustomVDDataHooks;

// Switches of the style unit that the system never changes: styles appended by a merge are not
// standard; a smart merge may reuse a numbered list; style names do not take part in equality.
inline bool MergedStylesAreNonStandard = true;
inline bool MergeKeepsNumberedListsApart = false;
inline bool StyleNamesAffectEquality = false;

enum TVDSimpleEqualOption : uint8_t { vdseIgnoreReferences, vdseIgnoreID };
using TVDSimpleEqualOptions = rtl::TSet<TVDSimpleEqualOption>;

// One style of a collection. Documents store only its index.
class TCustomVDInfo : public TVDCollectionItem {
public:
    // BaseStyleNo -1, Standard true.
    explicit TCustomVDInfo(TVDCollection *collection);

    // From any TCustomVDInfo: StyleName, BaseStyleNo and Standard.
    void Assign(const rtl::TPersistent &source) override;
    // Published: BaseStyleNo, StyleName, Standard (none of them for the styles of templates).
    static const rtl::TClassInfo &StaticClassInfo();
    const rtl::TClassInfo &ClassInfo() const override { return StaticClassInfo(); }
    UnicodeString GetDisplayName() const override { return FStyleName; }

    // The style sheet that owns the item's collection; null outside a sheet's collection.
    virtual TVDStyle *GetVDStyle() const;

    // Equality for merging, ignoring references to other styles and/or identifiers when asked.
    // The base knows no properties and answers false.
    virtual bool IsSimpleEqual(const TCustomVDInfo &value, TVDSimpleEqualOptions options) const;
    // Equality for merging where value's references are numbered as in another collection and
    // mapping gives their numbers here. May drop a reference of value that lies beyond the
    // mapping (it becomes -1).
    virtual bool IsSimpleEqualEx(TCustomVDInfo &value, const TVDIntegerList &mapping) const;
    // How alike value is to this style; higher is more alike. The base answers 0.
    virtual int32_t SimilarityValue(const TCustomVDInfo &value) const;
    // Back to the defaults; the base resets BaseStyleNo only.
    virtual void Reset();
    virtual void ConvertToDifferentUnits(TVDStyleUnits newUnits) = 0;

    // The index of the style this one derives from, -1 for none.
    int32_t GetBaseStyleNo() const { return FBaseStyleNo; }
    void SetBaseStyleNo(int32_t value) { FBaseStyleNo = value; }
    const UnicodeString &GetStyleName() const { return FStyleName; }
    void SetStyleName(const UnicodeString &value) { FStyleName = value; }
    // False for a style that was added automatically rather than defined by the author.
    bool GetStandard() const { return FStandard; }
    void SetStandard(bool value) { FStandard = value; }

    // ---- Persistence seams ----
    // Declared for the INI, RTF, OOXML and CSS writers and readers, which define them (and make
    // them virtual where styles override them).
    void SaveToINI(rtl::TCustomIniFile &ini, const UnicodeString &section,
                   const UnicodeString &fs) const;
    void LoadFromINI(rtl::TCustomIniFile &ini, const UnicodeString &section,
                     const UnicodeString &fs, const UnicodeString &defName);

private:
    int32_t FBaseStyleNo = -1;
    UnicodeString FStyleName;
    bool FStandard = true;
};

// The base of text and paragraph styles: the style template they are made from.
class TCustomFontOrParaVDInfo : public TCustomVDInfo {
public:
    explicit TCustomFontOrParaVDInfo(TVDCollection *collection) : TCustomVDInfo(collection) {}
    // StyleTemplateId, then as TCustomVDInfo.
    void Assign(const rtl::TPersistent &source) override;
    // Published: StyleTemplateId, stored when above 0 and the sheet streams template ids.
    static const rtl::TClassInfo &StaticClassInfo();
    const rtl::TClassInfo &ClassInfo() const override { return StaticClassInfo(); }

    // -1: no template.
    TVDStyleTemplateId GetStyleTemplateId() const { return FStyleTemplateId; }
    void SetStyleTemplateId(TVDStyleTemplateId value) { FStyleTemplateId = value; }

private:
    TVDStyleTemplateId FStyleTemplateId = -1;
};

enum TVDStyleMergeMode : uint8_t {
    vds_merge_Append,    // append a copy of every source style
    vds_merge_Map,       // map every source style to the most similar existing one
    vds_merge_SmartMerge // reuse an equal style, else append a copy
};

// A numbered collection of styles owned by a style sheet (or by nothing).
class TCustomVDInfos : public TVDCollection {
public:
    TCustomVDInfos(TItemFactory itemFactory, TVDStyle *owner)
        : TVDCollection(std::move(itemFactory)), FOwner(owner) {}

    TVDStyle *GetOwner() const { return FOwner; }
    TCustomVDInfo *GetInfo(Integer index) const {
        return static_cast<TCustomVDInfo *>(GetItem(index));
    }

    // Clears dest and adds the StyleName of every item in order.
    void AssignTo(rtl::TStrings &dest) const;
    void ConvertToDifferentUnits(TVDStyleUnits newUnits);
    // The lowest other index whose text or paragraph style equals style index in every
    // property; -1 when none, for an empty collection and for other kinds of style.
    Integer FindDuplicate(Integer index) const;

    // Merges the styles of source into this collection (see the modes) and fills mapping with
    // one index here per source style. textStyleMapping (may be null) renumbers the default
    // text styles of merged paragraph styles; vdData (may be null) is told of every appended
    // style. A reference in an appended style that lies outside the mapping raises EListError
    // "List index out of bounds (%d)"; the collection is then as it was before the call and
    // mapping is empty.
    void MergeWith(TCustomVDInfos &source, TVDStyleMergeMode mode, TVDIntegerList &mapping,
                   const TVDIntegerList *textStyleMapping, TCustomVDDataHooks *vdData);

private:
    void SmartMerge(TCustomVDInfos &source, TVDIntegerList &mapping, TCustomVDDataHooks *vdData);
    void MapMerge(const TCustomVDInfos &source, TVDIntegerList &mapping) const;
    void AppendMerge(const TCustomVDInfos &source, TVDIntegerList &mapping,
                     TCustomVDDataHooks *vdData);
    // A copy of source appended, as merging appends it.
    TCustomVDInfo *AppendCopy(const TCustomVDInfo &source, TCustomVDDataHooks *vdData);
    void RenumberAppended(Integer oldCount, const TVDIntegerList &mapping,
                          const TVDIntegerList *textStyleMapping);

    TVDStyle *FOwner;
};

} // namespace vizivodu
