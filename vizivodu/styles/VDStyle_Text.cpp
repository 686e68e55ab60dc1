// Text styles: defaults, assignment, comparison, similarity, modified properties and searches.
#include "vizivodu/styles/VDStyle_Text.h"

#include "platform/rtl/StrUtils.h"
#include "vizivodu/styles/VDStyle.h"

namespace vizivodu {

using gfx::TFontStyle;
using gfx::TFontStyles;

namespace {

constexpr TVDFontInfoProperty StyleBitProperties[4] = {vdfiBold, vdfiItalic, vdfiUnderline,
                                                       vdfiStrikeout};
constexpr TFontStyle StyleBits[4] = {gfx::fsBold, gfx::fsItalic, gfx::fsUnderline,
                                     gfx::fsStrikeOut};

bool SameFontName(const UnicodeString &a, const UnicodeString &b) {
    return rtl::AnsiSameText(a, b);
}

bool SameDocX(TVDTextOptions a, TVDTextOptions b) {
    return a.Contains(vdteoDocXCode) == b.Contains(vdteoDocXCode) &&
           a.Contains(vdteoDocXInRunCode) == b.Contains(vdteoDocXInRunCode);
}

// Compares one property of two text styles, as the masks of properties name them.
bool SameProperty(const TCustomVDFontInfo &a, const TCustomVDFontInfo &b, TVDFontInfoProperty p) {
    switch (p) {
    case vdfiFontName:
        return SameFontName(a.GetFontName(), b.GetFontName());
    case vdfiSize:
        return a.GetSizeDouble() == b.GetSizeDouble();
    case vdfiCharset:
        return a.GetCharset() == b.GetCharset();
    case vdfiBold:
    case vdfiItalic:
    case vdfiUnderline:
    case vdfiStrikeout: {
        const TFontStyle bit = StyleBits[p - vdfiBold];
        return a.GetStyle().Contains(bit) == b.GetStyle().Contains(bit);
    }
    case vdfiOverline:
        return a.GetStyleEx().Contains(vdfsOverline) == b.GetStyleEx().Contains(vdfsOverline);
    case vdfiAllCaps:
        return a.GetStyleEx().Contains(vdfsAllCaps) == b.GetStyleEx().Contains(vdfsAllCaps);
    case vdfiSubSuperScriptType:
        return a.GetSubSuperScriptType() == b.GetSubSuperScriptType();
    case vdfiVShift:
        return a.GetVShift() == b.GetVShift();
    case vdfiColor:
        return a.GetColor() == b.GetColor();
    case vdfiBackColor:
        return a.GetBackColor() == b.GetBackColor();
    case vdfiHoverBackColor:
        return a.GetHoverBackColor() == b.GetHoverBackColor();
    case vdfiHoverColor:
        return a.GetHoverColor() == b.GetHoverColor();
    case vdfiHoverUnderline:
        return a.GetHoverEffects().Contains(vdheUnderline) ==
               b.GetHoverEffects().Contains(vdheUnderline);
    case vdfiJumpCursor:
        return a.GetJumpCursor() == b.GetJumpCursor();
    case vdfiProtection:
        return a.GetProtection() == b.GetProtection();
    case vdfiCharScale:
        return a.GetCharScale() == b.GetCharScale();
    case vdfiBaseStyleNo:
        return a.GetBaseStyleNo() == b.GetBaseStyleNo();
    case vdfiBiDiMode:
        return a.GetBiDiMode() == b.GetBiDiMode();
    case vdfiCharSpacing:
        return a.GetCharSpacing() == b.GetCharSpacing();
    case vdfiHTMLCode:
        return a.GetOptions().Contains(vdteoHTMLCode) == b.GetOptions().Contains(vdteoHTMLCode);
    case vdfiRTFCode:
        return a.GetOptions().Contains(vdteoRTFCode) == b.GetOptions().Contains(vdteoRTFCode);
    case vdfiDocXCode:
        return SameDocX(a.GetOptions(), b.GetOptions());
    case vdfiHidden:
        return a.GetOptions().Contains(vdteoHidden) == b.GetOptions().Contains(vdteoHidden);
    case vdfiUnderlineType:
        return a.GetUnderlineType() == b.GetUnderlineType();
    case vdfiUnderlineColor:
        return a.GetUnderlineColor() == b.GetUnderlineColor();
    case vdfiHoverUnderlineColor:
        return a.GetHoverUnderlineColor() == b.GetHoverUnderlineColor();
    default: // Unicode, Jump and NextStyleNo belong to TFontInfo; the custom members to nothing
        return true;
    }
}

// The members of TCustomVDFontInfo that equality and modified properties walk.
constexpr TVDFontInfoProperties CustomFontInfoProperties =
    AllTextStyleProperties - TVDFontInfoProperties{vdfiUnicode, vdfiJump,    vdfiNextStyleNo,
                                                   vdfiCustom,  vdfiCustom2, vdfiCustom3,
                                                   vdfiCustom4, vdfiCustom5};

template <class F> void ForEachProperty(TVDFontInfoProperties props, F f) {
    for (int p = 0; p < 37; ++p) {
        if (props.Contains(TVDFontInfoProperty(p))) {
            f(TVDFontInfoProperty(p));
        }
    }
}

} // namespace

// ---- TCustomVDFontInfo --------------------------------------------------------------------

TCustomVDFontInfo::TCustomVDFontInfo(TVDCollection *collection)
    : TCustomFontOrParaVDInfo(collection) {
    ResetMainProperties();
    ResetHoverProperties();
    SetStyleName(u"Font Style");
}

void TCustomVDFontInfo::ResetMainProperties() {
    FFontName = u"Arial";
    FSizeDouble = 20;
    FColor = gfx::clWindowText;
    FBackColor = gfx::clNone;
    FStyle = {};
    FStyleEx = {};
    FCharset = gfx::DEFAULT_CHARSET;
    FJumpCursor = 101;
    FProtection = {};
    FOptions = {};
    FVShift = 0;
    FCharScale = 100;
    FCharSpacing = 0;
    FBiDiMode = vdbdUnspecified;
    FSubSuperScriptType = vdsssNormal;
    FUnderlineType = vdutNormal;
    FUnderlineColor = gfx::clNone;
}

void TCustomVDFontInfo::ResetHoverProperties() {
    FHoverBackColor = gfx::clNone;
    FHoverColor = gfx::clNone;
    FHoverUnderlineColor = gfx::clNone;
    FHoverEffects = {};
}

void TCustomVDFontInfo::Reset() {
    TCustomFontOrParaVDInfo::Reset();
    ResetMainProperties();
    ResetHoverProperties();
}

void TCustomVDFontInfo::Assign(const rtl::TPersistent &source) {
    if (const auto *s = dynamic_cast<const TCustomVDFontInfo *>(&source)) {
        FBiDiMode = s->FBiDiMode;
        FJumpCursor = s->FJumpCursor;
        FFontName = s->FFontName;
        FSizeDouble = s->FSizeDouble;
        FColor = s->FColor;
        FBackColor = s->FBackColor;
        FHoverColor = s->FHoverColor;
        FHoverBackColor = s->FHoverBackColor;
        FUnderlineColor = s->FUnderlineColor;
        FHoverUnderlineColor = s->FHoverUnderlineColor;
        FUnderlineType = s->FUnderlineType;
        FHoverEffects = s->FHoverEffects;
        FStyle = s->FStyle;
        FStyleEx = s->FStyleEx;
        FVShift = s->FVShift;
        FCharset = s->FCharset;
        FProtection = s->FProtection;
        FOptions = s->FOptions;
        FCharScale = s->FCharScale;
        FCharSpacing = s->FCharSpacing;
        FSubSuperScriptType = s->FSubSuperScriptType;
        FParaStyleTemplateId = s->FParaStyleTemplateId;
    }
    TCustomFontOrParaVDInfo::Assign(source);
}

void TCustomVDFontInfo::Assign(const gfx::TFont &font) {
    FFontName = font.GetName();
    SetSize(font.GetSize());
    FColor = font.GetColor();
    FStyle = font.GetStyle();
    FCharset = font.GetCharset();
}

void TCustomVDFontInfo::AssignTo(gfx::TFont &font) const {
    font.SetName(FFontName);
    font.SetSize(GetSize());
    font.SetColor(FColor);
    font.SetStyle(FStyle);
    font.SetCharset(FCharset);
}

void TCustomVDFontInfo::AssignSelectedProperties(const TCustomVDFontInfo &source,
                                                 TVDFontInfoProperties props) {
    ForEachProperty(props * CustomFontInfoProperties, [&](TVDFontInfoProperty p) {
        switch (p) {
        case vdfiFontName:
            FFontName = source.FFontName;
            break;
        case vdfiSize:
            FSizeDouble = source.FSizeDouble;
            break;
        case vdfiCharset:
            FCharset = source.FCharset;
            break;
        case vdfiBold:
        case vdfiItalic:
        case vdfiUnderline:
        case vdfiStrikeout: {
            const TFontStyle bit = StyleBits[p - vdfiBold];
            if (source.FStyle.Contains(bit)) {
                FStyle.Include(bit);
            } else {
                FStyle.Exclude(bit);
            }
            break;
        }
        case vdfiOverline:
            IncludeIf(FStyleEx, vdfsOverline, source.FStyleEx.Contains(vdfsOverline));
            break;
        case vdfiAllCaps:
            IncludeIf(FStyleEx, vdfsAllCaps, source.FStyleEx.Contains(vdfsAllCaps));
            break;
        case vdfiSubSuperScriptType:
            FSubSuperScriptType = source.FSubSuperScriptType;
            break;
        case vdfiVShift:
            FVShift = source.FVShift;
            break;
        case vdfiColor:
            FColor = source.FColor;
            break;
        case vdfiBackColor:
            FBackColor = source.FBackColor;
            break;
        case vdfiHoverBackColor:
            FHoverBackColor = source.FHoverBackColor;
            break;
        case vdfiHoverColor:
            FHoverColor = source.FHoverColor;
            break;
        case vdfiHoverUnderline:
            IncludeIf(FHoverEffects, vdheUnderline, source.FHoverEffects.Contains(vdheUnderline));
            break;
        case vdfiJumpCursor:
            FJumpCursor = source.FJumpCursor;
            break;
        case vdfiProtection:
            FProtection = source.FProtection;
            break;
        case vdfiCharScale:
            FCharScale = source.FCharScale;
            break;
        case vdfiBiDiMode:
            FBiDiMode = source.FBiDiMode;
            break;
        case vdfiCharSpacing:
            FCharSpacing = source.FCharSpacing;
            break;
        case vdfiHTMLCode:
            IncludeIf(FOptions, vdteoHTMLCode, source.FOptions.Contains(vdteoHTMLCode));
            break;
        case vdfiRTFCode:
            IncludeIf(FOptions, vdteoRTFCode, source.FOptions.Contains(vdteoRTFCode));
            break;
        case vdfiDocXCode:
            IncludeIf(FOptions, vdteoDocXCode, source.FOptions.Contains(vdteoDocXCode));
            IncludeIf(FOptions, vdteoDocXInRunCode, source.FOptions.Contains(vdteoDocXInRunCode));
            break;
        case vdfiHidden:
            IncludeIf(FOptions, vdteoHidden, source.FOptions.Contains(vdteoHidden));
            break;
        case vdfiUnderlineType:
            FUnderlineType = source.FUnderlineType;
            break;
        case vdfiUnderlineColor:
            FUnderlineColor = source.FUnderlineColor;
            break;
        case vdfiHoverUnderlineColor:
            FHoverUnderlineColor = source.FHoverUnderlineColor;
            break;
        default:
            break; // BaseStyleNo copies nothing
        }
    });
}

void TCustomVDFontInfo::ConvertToDifferentUnits(TVDStyleUnits newUnits) {
    FCharSpacing = TVDStyle::GetAsDifferentUnits(GetVDStyle(), FCharSpacing, newUnits);
}

bool TCustomVDFontInfo::IsSymbolCharset() const {
    return FCharset == gfx::SYMBOL_CHARSET || SameFontName(FFontName, u"Symbol") ||
           SameFontName(FFontName, u"Wingdings");
}

bool TCustomVDFontInfo::IsSimpleEqual(const TCustomVDInfo &value, TVDSimpleEqualOptions) const {
    const auto *v = dynamic_cast<const TCustomVDFontInfo *>(&value);
    if (!v) {
        return false;
    }
    constexpr TVDFontInfoProperties Compared =
        CustomFontInfoProperties - TVDFontInfoProperties{vdfiBaseStyleNo};
    bool equal = true;
    ForEachProperty(Compared,
                    [&](TVDFontInfoProperty p) { equal = equal && SameProperty(*this, *v, p); });
    return equal && (!StyleNamesAffectEquality || GetStyleName() == v->GetStyleName());
}

bool TCustomVDFontInfo::IsEqual(const TCustomVDFontInfo &value,
                                TVDFontInfoProperties ignoreList) const {
    bool equal = true;
    ForEachProperty(CustomFontInfoProperties - ignoreList,
                    [&](TVDFontInfoProperty p) { equal = equal && SameProperty(*this, value, p); });
    return equal && (!StyleNamesAffectEquality || GetStyleName() == value.GetStyleName());
}

int32_t TCustomVDFontInfo::UnitsWeight() const {
    const TVDStyle *sheet = GetVDStyle();
    return sheet && sheet->GetUnits() == vdstuTwips ? 15 : 1;
}

int32_t TCustomVDFontInfo::SimilarityValue(const TCustomVDInfo &value) const {
    const auto *v = dynamic_cast<const TCustomVDFontInfo *>(&value);
    if (!v) {
        return 0;
    }
    const int32_t w = UnitsWeight();
    int32_t score = GetIntSimilarity(v->FSizeDouble, FSizeDouble, 5000) +
                    GetIntSimilarity(v->FVShift, FVShift, 1000) +
                    GetIntSimilarity(v->FCharScale, FCharScale, 300) +
                    GetIntSimilarity(v->FCharSpacing, FCharSpacing, 1000 / w) +
                    GetColorSimilarity(v->FColor, FColor, 3333, 3000) +
                    GetColorSimilarity(v->FBackColor, FBackColor, 10000, 50000);
    auto reward = [&](bool same, int32_t points) { score += same ? points : 0; };
    reward(v->FBiDiMode == FBiDiMode, 1000);
    reward(v->FSubSuperScriptType == FSubSuperScriptType, 50000);
    reward(SameFontName(v->FFontName, FFontName), 10000);
    for (TFontStyle bit : StyleBits) {
        reward(v->FStyle.Contains(bit) == FStyle.Contains(bit), 50000);
    }
    reward(SameProperty(*this, *v, vdfiOverline), 50000);
    reward(SameProperty(*this, *v, vdfiAllCaps), 50000);
    const bool plain = FStyle.Empty() && FStyleEx.Empty();
    const bool otherPlain = v->FStyle.Empty() && v->FStyleEx.Empty();
    reward(plain == otherPlain, 50000);
    if (v->FProtection != FProtection) {
        score -= 100000;
    }
    reward(SameProperty(*this, *v, vdfiHTMLCode), 50000);
    reward(SameProperty(*this, *v, vdfiRTFCode), 50000);
    reward(SameDocX(v->FOptions, FOptions), 50000);
    reward(SameProperty(*this, *v, vdfiHidden), 5000);
    if (v->FCharset == FCharset) {
        score += 50000;
    } else if (v->FCharset == gfx::DEFAULT_CHARSET || FCharset == gfx::DEFAULT_CHARSET) {
        score += 12500;
    }
    return score;
}

TVDFontInfoProperties
TCustomVDFontInfo::CalculateModifiedProperties(const TCustomVDFontInfo &source,
                                               TVDFontInfoProperties possibleProps) const {
    TVDFontInfoProperties result;
    ForEachProperty(possibleProps * CustomFontInfoProperties, [&](TVDFontInfoProperty p) {
        if (!SameProperty(*this, source, p)) {
            result.Include(p);
        }
    });
    return result;
}

TVDFontInfoProperties
TCustomVDFontInfo::CalculateModifiedProperties2(TVDFontInfoProperties possibleProps) const {
    static const TCustomVDFontInfo Defaults(nullptr);
    // BaseStyleNo is a reference, not a look: it is never reported against the defaults.
    return CalculateModifiedProperties(Defaults,
                                       possibleProps - TVDFontInfoProperties{vdfiBaseStyleNo});
}

// ---- TFontInfo ----------------------------------------------------------------------------

TFontInfo::TFontInfo(TVDCollection *collection) : TCustomVDFontInfo(collection) {
    const auto *infos = dynamic_cast<const TFontInfos *>(collection);
    if (infos && infos->GetOwner() && !infos->GetOwner()->DefaultUnicodeStyles) {
        FUnicode = false;
    }
}

void TFontInfo::Assign(const rtl::TPersistent &source) {
    if (const auto *s = dynamic_cast<const TFontInfo *>(&source)) {
        FNextStyleNo = s->FNextStyleNo;
        FJump = s->FJump;
        FUnicode = s->FUnicode;
        ModifiedProperties = s->ModifiedProperties;
    }
    TCustomVDFontInfo::Assign(source);
}

void TFontInfo::Reset() {
    TCustomVDFontInfo::Reset();
    FNextStyleNo = -1;
    FJump = false;
}

bool TFontInfo::IsSimpleEqual(const TCustomVDInfo &value, TVDSimpleEqualOptions options) const {
    if (!TCustomVDFontInfo::IsSimpleEqual(value, options)) {
        return false;
    }
    const auto *v = dynamic_cast<const TFontInfo *>(&value);
    if (!v) {
        return true;
    }
    return FJump == v->FJump && FUnicode == v->FUnicode &&
           GetStyleTemplateId() == v->GetStyleTemplateId() &&
           GetParaStyleTemplateId() == v->GetParaStyleTemplateId() &&
           (options.Contains(vdseIgnoreReferences) || FNextStyleNo == v->FNextStyleNo);
}

bool TFontInfo::IsSimpleEqualEx(TCustomVDInfo &value, const TVDIntegerList &mapping) const {
    if (!IsSimpleEqual(value, {vdseIgnoreReferences})) {
        return false;
    }
    auto *v = dynamic_cast<TFontInfo *>(&value);
    if (!v || v->FNextStyleNo < 0) {
        return true;
    }
    if (v->FNextStyleNo < mapping.GetCount()) {
        return mapping.Get(v->FNextStyleNo) == FNextStyleNo;
    }
    v->FNextStyleNo = -1;
    return true;
}

bool TFontInfo::IsEqual(const TCustomVDFontInfo &value, TVDFontInfoProperties ignoreList) const {
    if (!TCustomVDFontInfo::IsEqual(value, ignoreList)) {
        return false;
    }
    const auto *v = dynamic_cast<const TFontInfo *>(&value);
    if (!v) {
        return true;
    }
    return (ignoreList.Contains(vdfiJump) || FJump == v->FJump) &&
           (ignoreList.Contains(vdfiUnicode) || FUnicode == v->FUnicode) &&
           (ignoreList.Contains(vdfiNextStyleNo) || FNextStyleNo == v->FNextStyleNo) &&
           GetStyleTemplateId() == v->GetStyleTemplateId() &&
           GetParaStyleTemplateId() == v->GetParaStyleTemplateId();
}

int32_t TFontInfo::SimilarityValue(const TCustomVDInfo &value) const {
    int32_t score = TCustomVDFontInfo::SimilarityValue(value);
    const auto *v = dynamic_cast<const TFontInfo *>(&value);
    if (v && FJump && v->FJump) {
        if (SameProperty(*this, *v, vdfiHoverUnderline)) {
            score += 10000;
        }
        if (v->GetJumpCursor() == GetJumpCursor()) {
            score += 5000;
        }
        score += GetColorSimilarity(v->GetHoverColor(), GetHoverColor(), 3333, 3000) / 2;
        score += GetColorSimilarity(v->GetHoverBackColor(), GetHoverBackColor(), 10000, 50000) / 2;
    }
    return score;
}

TVDFontInfoProperties
TFontInfo::CalculateModifiedProperties(const TCustomVDFontInfo &source,
                                       TVDFontInfoProperties possibleProps) const {
    TVDFontInfoProperties result =
        TCustomVDFontInfo::CalculateModifiedProperties(source, possibleProps);
    const auto *s = dynamic_cast<const TFontInfo *>(&source);
    if (s && possibleProps.Contains(vdfiJump) && s->FJump != FJump) {
        result.Include(vdfiJump);
    }
    return result;
}

TVDFontInfoProperties
TFontInfo::CalculateModifiedProperties2(TVDFontInfoProperties possibleProps) const {
    TVDFontInfoProperties result = TCustomVDFontInfo::CalculateModifiedProperties2(possibleProps);
    if (possibleProps.Contains(vdfiJump) && FJump) {
        result.Include(vdfiJump);
    }
    return result;
}

void TFontInfo::IncludeModifiedProperties(const TCustomVDFontInfo &source,
                                          TVDFontInfoProperties possibleProps) {
    ModifiedProperties = ModifiedProperties + CalculateModifiedProperties(source, possibleProps);
}

void TFontInfo::IncludeModifiedProperties2(TVDFontInfoProperties possibleProps) {
    ModifiedProperties = ModifiedProperties + CalculateModifiedProperties2(possibleProps);
}

// ---- TFontInfos ---------------------------------------------------------------------------

TFontInfos::TFontInfos(TItemFactory itemFactory, TVDStyle *owner)
    : TCustomVDInfos(std::move(itemFactory), owner) {}

TFontInfos::~TFontInfos() = default;

TFontInfo &TFontInfos::GetItem(Integer index) const {
    if (index < 0 || index >= GetCount()) {
        return GetInvalidItem();
    }
    return static_cast<TFontInfo &>(*TVDCollection::GetItem(index));
}

void TFontInfos::SetItem(Integer index, const TFontInfo &value) {
    static_cast<TFontInfo &>(*TVDCollection::GetItem(index)).Assign(value);
}

TFontInfo &TFontInfos::GetInvalidItem() const {
    if (!FInvalidItem) {
        if (!GetOwner()) {
            throw rtl::EInvalidCast("Invalid class typecast");
        }
        auto item = std::make_unique<TErrFontInfo>(GetOwner());
        if (GetCount() > 0) {
            item->Assign(*TVDCollection::GetItem(0));
        }
        item->SetBackColor(gfx::clRed);
        item->SetColor(gfx::clWhite);
        FInvalidItem = std::move(item);
    }
    return *FInvalidItem;
}

void TFontInfos::SetInvalidItem(const TFontInfo &value) {
    TFontInfo &item = GetInvalidItem();
    if (&item != &value) {
        item.Assign(value);
    }
}

TFontInfo &TFontInfos::Add() {
    return static_cast<TFontInfo &>(*TVDCollection::Add());
}

TFontInfo &TFontInfos::AddFont(const UnicodeString &name, int32_t size, TColor color,
                               TColor backColor, TFontStyles style) {
    TFontInfo &item = Add();
    item.SetFontName(name);
    item.SetSize(size);
    item.SetColor(color);
    item.SetBackColor(backColor);
    item.SetStyle(style);
    return item;
}

TFontInfo &TFontInfos::AddFontEx(const UnicodeString &name, int32_t size, TColor color,
                                 TColor backColor, TFontStyles style, gfx::TFontCharset charset) {
    TFontInfo &item = AddFont(name, size, color, backColor, style);
    item.SetCharset(charset);
    return item;
}

template <class Matches>
Integer TFontInfos::FindStyleLike(Integer baseStyle, TVDFontInfoProperties ignoreList,
                                  Matches matches) const {
    const TFontInfo &base = GetItem(baseStyle);
    if (matches(base)) {
        return baseStyle;
    }
    for (Integer i = 0; i < GetCount(); ++i) {
        if (i == baseStyle) {
            continue;
        }
        const TFontInfo &candidate = GetItem(i);
        if (matches(candidate) && base.IsEqual(candidate, ignoreList)) {
            return i;
        }
    }
    return -1;
}

Integer TFontInfos::FindStyleWithFont(Integer baseStyle, const gfx::TFont &font) const {
    const TVDFontInfoProperties ignore{vdfiFontName, vdfiSize,      vdfiCharset,   vdfiBold,
                                       vdfiItalic,   vdfiUnderline, vdfiStrikeout, vdfiColor};
    return FindStyleLike(baseStyle, ignore, [&](const TFontInfo &s) {
        return s.GetSize() == font.GetSize() && s.GetSizeDouble() % 2 == 0 &&
               s.GetStyle() == font.GetStyle() && s.GetFontName() == font.GetName() &&
               s.GetCharset() == font.GetCharset() && s.GetColor() == font.GetColor();
    });
}

Integer TFontInfos::FindStyleWithFontSize(Integer baseStyle, int32_t size) const {
    return FindStyleLike(baseStyle, {vdfiSize}, [&](const TFontInfo &s) {
        return s.GetSize() == size && s.GetSizeDouble() % 2 == 0;
    });
}

Integer TFontInfos::FindStyleWithColor(Integer baseStyle, TColor color, TColor backColor) const {
    return FindStyleLike(baseStyle, {vdfiColor, vdfiBackColor}, [&](const TFontInfo &s) {
        return s.GetColor() == color && s.GetBackColor() == backColor;
    });
}

Integer TFontInfos::FindStyleWithFontName(Integer baseStyle, const UnicodeString &fontName) const {
    return FindStyleLike(baseStyle, {vdfiFontName},
                         [&](const TFontInfo &s) { return s.GetFontName() == fontName; });
}

Integer TFontInfos::FindStyleWithCharset(Integer baseStyle, gfx::TFontCharset charset) const {
    return FindStyleLike(baseStyle, {vdfiCharset, vdfiUnicode}, [&](const TFontInfo &s) {
        return s.GetCharset() == charset && !s.GetUnicode();
    });
}

Integer TFontInfos::FindStyleWithFontStyle(Integer baseStyle, TFontStyles value,
                                           TFontStyles mask) const {
    TVDFontInfoProperties ignore;
    for (int i = 0; i < 4; ++i) {
        if (mask.Contains(StyleBits[i])) {
            ignore.Include(StyleBitProperties[i]);
        }
    }
    return FindStyleLike(baseStyle, ignore, [&](const TFontInfo &s) {
        for (TFontStyle bit : StyleBits) {
            if (mask.Contains(bit) && s.GetStyle().Contains(bit) != value.Contains(bit)) {
                return false;
            }
        }
        return true;
    });
}

Integer TFontInfos::FindSuchStyle(Integer baseStyle, const TFontInfo &style,
                                  TVDFontInfoProperties mask) const {
    const TVDFontInfoProperties ignore = AllTextStyleProperties - mask;
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

Integer TFontInfos::FindSuchStyleEx(Integer baseStyle, const TFontInfo &style,
                                    TVDFontInfoProperties mask) {
    const Integer found = FindSuchStyle(baseStyle, style, mask);
    if (found >= 0) {
        return found;
    }
    TFontInfo &item = Add();
    item.Assign(style);
    item.SetStandard(false);
    return GetCount() - 1;
}

} // namespace vizivodu
