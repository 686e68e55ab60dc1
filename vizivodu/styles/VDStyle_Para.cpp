// Paragraph styles: defaults, assignment, comparison, similarity, modified properties,
// unit conversion, the invalid-index style and the searches.
#include "vizivodu/styles/VDStyle_Para.h"

#include "vizivodu/styles/VDStyle.h"

namespace vizivodu {

namespace {

constexpr TVDParaOption Options[7] = {vdpaoNoWrap,
                                      vdpaoReadOnly,
                                      vdpaoStyleProtect,
                                      vdpaoDoNotWantReturns,
                                      vdpaoKeepLinesTogether,
                                      vdpaoKeepWithNext,
                                      vdpaoWidowOrphanControl};

TVDParaInfoProperty OptionProperty(TVDParaOption o) {
    return TVDParaInfoProperty(int(vdpiNoWrap) + int(o));
}

constexpr TVDParaInfoProperties BorderProperties = TVDParaInfoProperties::FromBits(
    ((uint64_t(1) << (vdpiBorder_Vis_Bottom + 1)) - 1) & ~((uint64_t(1) << vdpiBorder_Color) - 1));
constexpr TVDParaInfoProperties BackgroundProperties =
    TVDParaInfoProperties::FromBits(((uint64_t(1) << (vdpiBackground_BO_Bottom + 1)) - 1) &
                                    ~((uint64_t(1) << vdpiBackground_Color) - 1));

// Whether the members of a property mask that name plain values of two styles are equal:
// everything but the border, background, tabs, options and the TParaInfo references.
bool SameValue(const TCustomVDParaInfo &a, const TCustomVDParaInfo &b, TVDParaInfoProperty p) {
    switch (p) {
    case vdpiFirstIndent:
        return a.GetFirstIndent() == b.GetFirstIndent();
    case vdpiLeftIndent:
        return a.GetLeftIndent() == b.GetLeftIndent();
    case vdpiRightIndent:
        return a.GetRightIndent() == b.GetRightIndent();
    case vdpiSpaceBefore:
        return a.GetSpaceBefore() == b.GetSpaceBefore();
    case vdpiSpaceAfter:
        return a.GetSpaceAfter() == b.GetSpaceAfter();
    case vdpiAlignment:
        return a.GetAlignment() == b.GetAlignment();
    case vdpiLastLineAlignment:
        return a.GetLastLineAlignment() == b.GetLastLineAlignment();
    case vdpiLineSpacing:
        return a.GetLineSpacing() == b.GetLineSpacing();
    case vdpiLineSpacingType:
        return a.GetLineSpacingType() == b.GetLineSpacingType();
    case vdpiBiDiMode:
        return a.GetBiDiMode() == b.GetBiDiMode();
    case vdpiOutlineLevel:
        return a.GetOutlineLevel() == b.GetOutlineLevel();
    default:
        return true;
    }
}

constexpr TVDParaInfoProperty ValueProperties[] = {
    vdpiFirstIndent,     vdpiLeftIndent, vdpiRightIndent,       vdpiSpaceBefore,
    vdpiSpaceAfter,      vdpiAlignment,  vdpiLastLineAlignment, vdpiLineSpacing,
    vdpiLineSpacingType, vdpiBiDiMode,   vdpiOutlineLevel};

} // namespace

// ---- TCustomVDParaInfo --------------------------------------------------------------------

TCustomVDParaInfo::TCustomVDParaInfo(TVDCollection *collection)
    : TCustomFontOrParaVDInfo(collection) {
    SetStyleName(u"Paragraph Style");
}

void TCustomVDParaInfo::Assign(const rtl::TPersistent &source) {
    if (const auto *s = dynamic_cast<const TCustomVDParaInfo *>(&source)) {
        FFirstIndent = s->FFirstIndent;
        FLeftIndent = s->FLeftIndent;
        FRightIndent = s->FRightIndent;
        FAlignment = s->FAlignment;
        FLastLineAlignment = s->FLastLineAlignment;
        SetSpaceBefore(s->FSpaceBefore);
        SetSpaceAfter(s->FSpaceAfter);
        FLineSpacing = s->FLineSpacing;
        FLineSpacingType = s->FLineSpacingType;
        FBackground.Assign(s->FBackground);
        FBorder.Assign(s->FBorder);
        FTabs.Assign(s->FTabs);
        FOptions = s->FOptions;
        FBiDiMode = s->FBiDiMode;
        FOutlineLevel = s->FOutlineLevel;
    }
    TCustomFontOrParaVDInfo::Assign(source);
}

void TCustomVDParaInfo::ResetMainProperties() {
    FFirstIndent = 0;
    FLeftIndent = 0;
    FRightIndent = 0;
    FSpaceBefore = 0;
    FSpaceAfter = 0;
    FLineSpacing = 100;
    FLineSpacingType = vdlsPercent;
    FAlignment = vdaLeft;
    FLastLineAlignment = vdllaDefault;
    FOptions = {};
    FBiDiMode = vdbdUnspecified;
    FOutlineLevel = 0;
    FTabs.Clear();
}

void TCustomVDParaInfo::ResetBorderAndBackProperties() {
    FBorder.Reset();
    FBackground.Reset();
}

void TCustomVDParaInfo::Reset() {
    TCustomFontOrParaVDInfo::Reset();
    ResetMainProperties();
    ResetBorderAndBackProperties();
}

void TCustomVDParaInfo::AssignSelectedProperties(const TCustomVDParaInfo &source,
                                                 TVDParaInfoProperties props) {
    if (props.Contains(vdpiFirstIndent)) {
        FFirstIndent = source.FFirstIndent;
    }
    if (props.Contains(vdpiLeftIndent)) {
        FLeftIndent = source.FLeftIndent;
    }
    if (props.Contains(vdpiRightIndent)) {
        FRightIndent = source.FRightIndent;
    }
    if (props.Contains(vdpiSpaceBefore)) {
        SetSpaceBefore(source.FSpaceBefore);
    }
    if (props.Contains(vdpiSpaceAfter)) {
        SetSpaceAfter(source.FSpaceAfter);
    }
    if (props.Contains(vdpiAlignment)) {
        FAlignment = source.FAlignment;
    }
    if (props.Contains(vdpiLastLineAlignment)) {
        FLastLineAlignment = source.FLastLineAlignment;
    }
    if (props.Contains(vdpiLineSpacing) || props.Contains(vdpiLineSpacingType)) {
        FLineSpacing = source.FLineSpacing;
        FLineSpacingType = source.FLineSpacingType;
    }
    FBackground.AssignValidProperties(source.FBackground, props);
    FBorder.AssignValidProperties(source.FBorder, props);
    for (TVDParaOption o : Options) {
        if (props.Contains(OptionProperty(o))) {
            IncludeIf(FOptions, o, source.FOptions.Contains(o));
        }
    }
    if (props.Contains(vdpiTabs)) {
        FTabs.Assign(source.FTabs);
    }
    if (props.Contains(vdpiBiDiMode)) {
        FBiDiMode = source.FBiDiMode;
    }
    if (props.Contains(vdpiOutlineLevel)) {
        FOutlineLevel = source.FOutlineLevel;
    }
}

bool TCustomVDParaInfo::IsHeading(int32_t maxLevel) const {
    return FOutlineLevel >= 1 && FOutlineLevel <= maxLevel;
}

bool TCustomVDParaInfo::HasLineSpacing() const {
    return FLineSpacingType == vdlsPercent ? FLineSpacing != 100 : FLineSpacing > 0;
}

bool TCustomVDParaInfo::IsSimpleEqual(const TCustomVDInfo &value, TVDSimpleEqualOptions) const {
    const auto *v = dynamic_cast<const TCustomVDParaInfo *>(&value);
    if (!v) {
        return false;
    }
    for (TVDParaInfoProperty p : ValueProperties) {
        if (!SameValue(*this, *v, p)) {
            return false;
        }
    }
    return FOptions == v->FOptions && FBackground.IsEqual(v->FBackground) &&
           FTabs.IsEqual(v->FTabs) && FBorder.IsEqual(v->FBorder);
}

bool TCustomVDParaInfo::IsEqual(const TCustomVDParaInfo &value,
                                TVDParaInfoProperties ignoreList) const {
    for (TVDParaInfoProperty p : ValueProperties) {
        if (!ignoreList.Contains(p) && !SameValue(*this, value, p)) {
            return false;
        }
    }
    for (TVDParaOption o : Options) {
        if (!ignoreList.Contains(OptionProperty(o)) &&
            FOptions.Contains(o) != value.FOptions.Contains(o)) {
            return false;
        }
    }
    return FBorder.IsEqual_Para(value.FBorder, ignoreList) &&
           FBackground.IsEqual_Para(value.FBackground, ignoreList) &&
           (ignoreList.Contains(vdpiTabs) || FTabs.IsEqual(value.FTabs));
}

int32_t TCustomVDParaInfo::UnitsWeight() const {
    const TVDStyle *sheet = GetVDStyle();
    return sheet && sheet->GetUnits() == vdstuTwips ? 15 : 1;
}

int32_t TCustomVDParaInfo::SimilarityValue(const TCustomVDInfo &value) const {
    const auto *v = dynamic_cast<const TCustomVDParaInfo *>(&value);
    if (!v) {
        return 0;
    }
    const int32_t wht = UnitsWeight();
    const int32_t a = 1000 / wht;
    int32_t score = GetIntSimilarity(FFirstIndent, v->FFirstIndent, a) +
                    GetIntSimilarity(FLeftIndent, v->FLeftIndent, a) +
                    GetIntSimilarity(FRightIndent, v->FRightIndent, a) +
                    GetIntSimilarity(FSpaceBefore, v->FSpaceBefore, a) +
                    GetIntSimilarity(FSpaceAfter, v->FSpaceAfter, a);
    score += FBackground.SimilarityValue(v->FBackground, wht) +
             FTabs.SimilarityValue(v->FTabs, wht) + FBorder.SimilarityValue(v->FBorder, wht);
    if (FAlignment == v->FAlignment) {
        score += FLastLineAlignment == v->FLastLineAlignment ? 66666 : 50000;
    }
    score += FBiDiMode == v->FBiDiMode ? 10000 : 0;
    score += FOutlineLevel == v->FOutlineLevel ? 50000 : 0;
    static constexpr int32_t OptionRewards[7] = {1000, 100000, 1000, 10000, 500, 500, 500};
    for (TVDParaOption o : Options) {
        if (FOptions.Contains(o) == v->FOptions.Contains(o)) {
            score += OptionRewards[o];
        }
    }
    if (FLineSpacingType == v->FLineSpacingType) {
        score += GetIntSimilarity(FLineSpacing, v->FLineSpacing,
                                  FLineSpacingType == vdlsPercent ? 5000 : 5000 / wht);
    } else if (HasLineSpacing() != v->HasLineSpacing()) {
        score -= 20000;
    }
    return score;
}

TVDParaInfoProperties
TCustomVDParaInfo::CalculateModifiedProperties(const TCustomVDParaInfo &source,
                                               TVDParaInfoProperties possibleProps) const {
    TVDParaInfoProperties result;
    for (TVDParaInfoProperty p : ValueProperties) {
        if (p != vdpiLineSpacing && p != vdpiLineSpacingType && possibleProps.Contains(p) &&
            !SameValue(*this, source, p)) {
            result.Include(p);
        }
    }
    const TVDParaInfoProperties lineSpacing{vdpiLineSpacing, vdpiLineSpacingType};
    if (!(possibleProps * lineSpacing).Empty() &&
        (FLineSpacing != source.FLineSpacing || FLineSpacingType != source.FLineSpacingType)) {
        result = result + lineSpacing;
    }
    // A member differs when ignoring every other member makes the styles unequal.
    for (TVDParaInfoProperties group : {BorderProperties, BackgroundProperties}) {
        for (int p = 0; p < 44; ++p) {
            const auto prop = TVDParaInfoProperty(p);
            if (!group.Contains(prop) || !possibleProps.Contains(prop)) {
                continue;
            }
            const TVDParaInfoProperties others =
                AllParaStyleProperties - TVDParaInfoProperties{prop};
            const bool same = group == BorderProperties
                                  ? FBorder.IsEqual_Para(source.FBorder, others)
                                  : FBackground.IsEqual_Para(source.FBackground, others);
            if (!same) {
                result.Include(prop);
            }
        }
    }
    for (TVDParaOption o : Options) {
        if (possibleProps.Contains(OptionProperty(o)) &&
            FOptions.Contains(o) != source.FOptions.Contains(o)) {
            result.Include(OptionProperty(o));
        }
    }
    if (possibleProps.Contains(vdpiTabs) && !FTabs.IsEqual(source.FTabs)) {
        result.Include(vdpiTabs);
    }
    return result;
}

TVDParaInfoProperties
TCustomVDParaInfo::CalculateModifiedProperties2(TVDParaInfoProperties possibleProps) const {
    static const TCustomVDParaInfo Defaults(nullptr);
    TVDParaInfoProperties result = CalculateModifiedProperties(
        Defaults, possibleProps - TVDParaInfoProperties{vdpiLineSpacing, vdpiLineSpacingType});
    // Line spacing counts whenever its type may be reported, and otherwise when the spacing
    // is not single.
    if (possibleProps.Contains(vdpiLineSpacingType) ||
        (possibleProps.Contains(vdpiLineSpacing) && FLineSpacing != 100)) {
        result = result + TVDParaInfoProperties{vdpiLineSpacing, vdpiLineSpacingType};
    }
    return result;
}

void TCustomVDParaInfo::ConvertToDifferentUnits(TVDStyleUnits newUnits) {
    const TVDStyle *sheet = GetVDStyle();
    auto convert = [&](TVDStyleLength v) {
        return TVDStyle::GetAsDifferentUnits(sheet, v, newUnits);
    };
    FLeftIndent = convert(FLeftIndent);
    FFirstIndent = convert(FFirstIndent);
    FRightIndent = convert(FRightIndent);
    FSpaceBefore = convert(FSpaceBefore);
    FSpaceAfter = convert(FSpaceAfter);
    if (FLineSpacingType != vdlsPercent) {
        FLineSpacing = convert(FLineSpacing);
    }
    FTabs.ConvertToDifferentUnits(sheet, newUnits);
    FBorder.ConvertToDifferentUnits(sheet, newUnits);
    FBackground.GetBorderOffsets().ConvertToDifferentUnits(sheet, newUnits);
}

// ---- TParaInfo ----------------------------------------------------------------------------

void TParaInfo::Assign(const rtl::TPersistent &source) {
    if (const auto *s = dynamic_cast<const TParaInfo *>(&source)) {
        FNextParaNo = s->FNextParaNo;
        FDefStyleNo = s->FDefStyleNo;
        ModifiedProperties = s->ModifiedProperties;
    }
    TCustomVDParaInfo::Assign(source);
}

void TParaInfo::Reset() {
    TCustomVDParaInfo::Reset();
    FNextParaNo = -1;
    FDefStyleNo = -1;
}

bool TParaInfo::IsSimpleEqual(const TCustomVDInfo &value, TVDSimpleEqualOptions options) const {
    if (!TCustomVDParaInfo::IsSimpleEqual(value, options)) {
        return false;
    }
    const auto *v = dynamic_cast<const TParaInfo *>(&value);
    if (!v) {
        return true;
    }
    return ModifiedProperties == v->ModifiedProperties &&
           GetStyleTemplateId() == v->GetStyleTemplateId() &&
           (options.Contains(vdseIgnoreReferences) ||
            (FNextParaNo == v->FNextParaNo && FDefStyleNo == v->FDefStyleNo));
}

bool TParaInfo::IsSimpleEqualEx(TCustomVDInfo &value, const TVDIntegerList &mapping) const {
    if (!IsSimpleEqual(value, {vdseIgnoreReferences})) {
        return false;
    }
    auto *v = dynamic_cast<TParaInfo *>(&value);
    if (!v || v->FNextParaNo < 0) {
        return true;
    }
    if (v->FNextParaNo < mapping.GetCount()) {
        return mapping.Get(v->FNextParaNo) == FNextParaNo;
    }
    v->FNextParaNo = -1;
    return true;
}

bool TParaInfo::IsEqual(const TCustomVDParaInfo &value, TVDParaInfoProperties ignoreList) const {
    if (!TCustomVDParaInfo::IsEqual(value, ignoreList)) {
        return false;
    }
    const auto *v = dynamic_cast<const TParaInfo *>(&value);
    if (!v) {
        return true;
    }
    return (ignoreList.Contains(vdpiNextParaNo) || FNextParaNo == v->FNextParaNo) &&
           (ignoreList.Contains(vdpiDefStyleNo) || FDefStyleNo == v->FDefStyleNo) &&
           GetStyleTemplateId() == v->GetStyleTemplateId();
}

void TParaInfo::IncludeModifiedProperties(const TCustomVDParaInfo &source,
                                          TVDParaInfoProperties possibleProps) {
    ModifiedProperties = ModifiedProperties + CalculateModifiedProperties(source, possibleProps);
}

void TParaInfo::IncludeModifiedProperties2(TVDParaInfoProperties possibleProps) {
    ModifiedProperties = ModifiedProperties + CalculateModifiedProperties2(possibleProps);
}

// ---- TParaInfos ---------------------------------------------------------------------------

TParaInfos::TParaInfos(TItemFactory itemFactory, TVDStyle *owner)
    : TCustomVDInfos(std::move(itemFactory), owner) {}

TParaInfos::~TParaInfos() = default;

TParaInfo &TParaInfos::GetItem(Integer index) const {
    if (index < 0 || index >= GetCount()) {
        return GetInvalidItem();
    }
    return static_cast<TParaInfo &>(*TVDCollection::GetItem(index));
}

void TParaInfos::SetItem(Integer index, const TParaInfo &value) {
    static_cast<TParaInfo &>(*TVDCollection::GetItem(index)).Assign(value);
}

TParaInfo &TParaInfos::GetInvalidItem() const {
    if (!FInvalidItem) {
        TVDStyle *sheet = GetOwner();
        if (!sheet) {
            throw rtl::EInvalidCast("Invalid class typecast");
        }
        auto item = std::make_unique<TErrParaInfo>(sheet);
        if (GetCount() > 0) {
            item->Assign(*TVDCollection::GetItem(0));
        }
        const TVDStyleLength three = sheet->PixelsToUnits(3);
        item->SetSpaceBefore(three);
        item->SetSpaceAfter(three);
        item->SetLeftIndent(three);
        item->SetRightIndent(three);
        TVDBorder &border = item->GetBorder();
        border.Color = gfx::clRed;
        border.Style = vdbSingle;
        border.Width = sheet->PixelsToUnits(2);
        border.GetBorderOffsets().SetAll(sheet->PixelsToUnits(1));
        FInvalidItem = std::move(item);
    }
    return *FInvalidItem;
}

void TParaInfos::SetInvalidItem(const TParaInfo &value) {
    TParaInfo &item = GetInvalidItem();
    if (&item != &value) {
        item.Assign(value);
    }
}

TParaInfo &TParaInfos::Add() {
    return static_cast<TParaInfo &>(*TVDCollection::Add());
}

Integer TParaInfos::FindStyleWithAlignment(Integer baseStyle, TVDAlignment alignment) const {
    const TParaInfo &base = GetItem(baseStyle);
    if (base.GetAlignment() == alignment) {
        return baseStyle;
    }
    for (Integer i = 0; i < GetCount(); ++i) {
        if (i != baseStyle && GetItem(i).GetAlignment() == alignment &&
            GetItem(i).IsEqual(base, {vdpiAlignment})) {
            return i;
        }
    }
    return -1;
}

Integer TParaInfos::FindSuchStyle(Integer baseStyle, const TParaInfo &style,
                                  TVDParaInfoProperties mask) const {
    const TVDParaInfoProperties ignore = AllParaStyleProperties - mask;
    if (style.IsEqual(GetItem(baseStyle), ignore)) {
        return baseStyle;
    }
    for (Integer i = 0; i < GetCount(); ++i) {
        if (i != baseStyle && style.IsEqual(GetItem(i), ignore)) {
            return i;
        }
    }
    return -1;
}

Integer TParaInfos::FindSuchStyleEx(Integer baseStyle, const TParaInfo &style,
                                    TVDParaInfoProperties mask) {
    const Integer found = FindSuchStyle(baseStyle, style, mask);
    if (found >= 0) {
        return found;
    }
    TParaInfo &item = Add();
    item.Assign(style);
    item.SetStandard(false);
    return GetCount() - 1;
}

} // namespace vizivodu
