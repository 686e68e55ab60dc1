// List levels and list styles: defaults, assignment, comparison, similarity and searches.
#include "vizivodu/styles/VDStyle_Lists.h"

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/ImgList.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/StrUtils.h"
#include "vizivodu/styles/VDFuncs.h"
#include "vizivodu/styles/VDStyle.h"

#include <cstring>

namespace vizivodu {

namespace {

struct TListTypeInfo {
    bool HasNumbering;
    bool HasVariableWidth;
    bool UsesFont;
    const char16_t *DisplayName;
};

constexpr TListTypeInfo ListTypes[] = {
    {false, false, true, u"bullet"},
    {false, false, false, u"pic"},
    {false, false, false, u"image-list"},
    {true, true, true, u"1,2,3"},
    {true, true, true, u"a,b,c"},
    {true, true, true, u"A,B,C"},
    {true, true, true, u"i,ii,iii"},
    {true, true, true, u"I,II,III"},
    {true, false, false, u"image-list counter"},
    {false, false, true, u"unicode bullet"},
};

// The bytes a graphic stands for, to compare two pictures: a PNG's stream, a bitmap's pixels.
std::vector<uint8_t> GraphicBytes(const gfx::TGraphic &graphic) {
    std::vector<uint8_t> bytes;
    if (const auto *png = dynamic_cast<const gfx::TPngImage *>(&graphic)) {
        rtl::TMemoryStream stream;
        png->SaveToStream(stream);
        const auto *data = stream.GetMemory();
        bytes.assign(data, data + stream.GetSize());
    } else if (const auto *bitmap = dynamic_cast<const gfx::TBitmap *>(&graphic)) {
        const size_t row = size_t(bitmap->GetWidth()) * 4;
        for (int32_t y = 0; y < bitmap->GetHeight(); ++y) {
            const auto *line = reinterpret_cast<const uint8_t *>(bitmap->ScanLine(y));
            bytes.insert(bytes.end(), line, line + row);
        }
    }
    return bytes;
}

} // namespace

// ---- TVDMarkerFont ------------------------------------------------------------------------

TVDMarkerFont::TVDMarkerFont() {
    SetName(u"Arial");
    SetSize(8);
}

bool TVDMarkerFont::IsEqual(const gfx::TFont &font) const {
    return GetHeight() == font.GetHeight() && GetStyle() == font.GetStyle() &&
           GetColor() == font.GetColor() && GetCharset() == font.GetCharset() &&
           rtl::AnsiSameText(GetName(), font.GetName());
}

bool TVDMarkerFont::IsDefault() const {
    return GetSize() == 8 && GetColor() == gfx::clWindowText &&
           GetCharset() == gfx::DEFAULT_CHARSET && GetStyle().Empty() &&
           rtl::AnsiSameText(GetName(), u"Arial");
}

// ---- TVDListLevel -------------------------------------------------------------------------

TVDListLevel::TVDListLevel(TVDCollection *collection)
    : TVDCollectionItem(collection), FFormatString(u"\u00B7") {}

void TVDListLevel::SetImageList(gfx::TCustomImageList *value) {
    FImageList = value;
    const auto *levels = dynamic_cast<const TVDListLevelCollection *>(GetCollection());
    const TVDListInfo *list = levels ? levels->GetOwner() : nullptr;
    TVDStyle *sheet = list ? list->GetVDStyle() : nullptr;
    if (value && sheet) {
        value->FreeNotification(sheet);
    }
}

void TVDListLevel::Assign(const rtl::TPersistent &source) {
    const auto *s = dynamic_cast<const TVDListLevel *>(&source);
    if (!s) {
        TVDCollectionItem::Assign(source);
        return;
    }
    FListType = s->FListType;
    FStartFrom = s->FStartFrom;
    SetImageList(s->FImageList);
    FImageIndex = s->FImageIndex;
    FFormatString = s->FFormatString;
    FFormatStringW = s->FFormatStringW;
    FLeftIndent = s->FLeftIndent;
    FFirstIndent = s->FFirstIndent;
    FMarkerIndent = s->FMarkerIndent;
    FMarkerAlignment = s->FMarkerAlignment;
    SetPicture(s->FPicture.get());
    SetFont(s->FFont.get());
    FOptions = s->FOptions;
}

UnicodeString TVDListLevel::GetDisplayName() const {
    return rtl::Format(u"%s %d/%d/%d", {ListTypes[FListType].DisplayName, FLeftIndent,
                                        FMarkerIndent, FFirstIndent});
}

bool TVDListLevel::HasPicture() const {
    return FPicture && FPicture->GetGraphic();
}

bool TVDListLevel::UsesFont() const {
    return ListTypes[FListType].UsesFont;
}

bool TVDListLevel::HasNumbering() const {
    return ListTypes[FListType].HasNumbering;
}

bool TVDListLevel::HasVariableWidth() const {
    return ListTypes[FListType].HasVariableWidth;
}

gfx::TPicture &TVDListLevel::GetPicture() {
    if (!FPicture) {
        FPicture = std::make_unique<gfx::TPicture>();
    }
    return *FPicture;
}

void TVDListLevel::SetPicture(const gfx::TPicture *value) {
    if (value == FPicture.get()) {
        return;
    }
    if (!value || !value->GetGraphic()) {
        FPicture.reset();
        return;
    }
    GetPicture().Assign(*value);
    FPicture->GetGraphic()->SetTransparent(true);
}

TVDMarkerFont &TVDListLevel::GetFont() {
    if (!FFont) {
        FFont = std::make_unique<TVDMarkerFont>();
    }
    return *FFont;
}

void TVDListLevel::SetFont(const gfx::TFont *value) {
    if (value == FFont.get()) {
        return;
    }
    if (!value) {
        FFont.reset();
        return;
    }
    GetFont().Assign(*value);
}

bool TVDListLevel::FontsEqual(const TVDListLevel &value) const {
    const bool plain = !FFont || FFont->IsDefault();
    const bool otherPlain = !value.FFont || value.FFont->IsDefault();
    if (plain || otherPlain) {
        return plain && otherPlain;
    }
    return FFont->IsEqual(*value.FFont);
}

bool TVDListLevel::PicturesEqual(const TVDListLevel &value) const {
    const gfx::TGraphic *a = FPicture ? FPicture->GetGraphic() : nullptr;
    const gfx::TGraphic *b = value.FPicture ? value.FPicture->GetGraphic() : nullptr;
    if (!a || !b) {
        return !a && !b;
    }
    return a->GetWidth() == b->GetWidth() && a->GetHeight() == b->GetHeight() &&
           GraphicBytes(*a) == GraphicBytes(*b);
}

bool TVDListLevel::IsSimpleEqual(const TVDListLevel &value) const {
    return FListType == value.FListType && (!HasNumbering() || FStartFrom == value.FStartFrom) &&
           FImageList == value.FImageList && FImageIndex == value.FImageIndex &&
           FFormatString == value.FFormatString && FFormatStringW == value.FFormatStringW &&
           FLeftIndent == value.FLeftIndent && FFirstIndent == value.FFirstIndent &&
           FMarkerIndent == value.FMarkerIndent && FMarkerAlignment == value.FMarkerAlignment &&
           FontsEqual(value) && FOptions == value.FOptions && PicturesEqual(value);
}

int32_t TVDListLevel::SimilarityValue(const TVDListLevel &value) const {
    int32_t score = FListType == value.FListType ? 5000 : 0;
    const bool same[] = {FStartFrom == value.FStartFrom,
                         FImageList == value.FImageList,
                         FImageIndex == value.FImageIndex,
                         FFormatString == value.FFormatString,
                         FFormatStringW == value.FFormatStringW,
                         FLeftIndent == value.FLeftIndent,
                         FFirstIndent == value.FFirstIndent,
                         FMarkerIndent == value.FMarkerIndent,
                         FMarkerAlignment == value.FMarkerAlignment,
                         FOptions == value.FOptions,
                         FontsEqual(value),
                         PicturesEqual(value)};
    for (bool s : same) {
        score += s ? 100 : 0;
    }
    return score;
}

void TVDListLevel::ConvertToDifferentUnits(TVDStyleUnits newUnits, const TVDStyle *vdStyle) {
    FLeftIndent = TVDStyle::GetAsDifferentUnits(vdStyle, FLeftIndent, newUnits);
    FFirstIndent = TVDStyle::GetAsDifferentUnits(vdStyle, FFirstIndent, newUnits);
    FMarkerIndent = TVDStyle::GetAsDifferentUnits(vdStyle, FMarkerIndent, newUnits);
}

// ---- TVDListLevelCollection ---------------------------------------------------------------

TVDListLevelCollection::TVDListLevelCollection(TVDListInfo *owner)
    : TVDCollection([](TVDCollection *c) { return std::make_unique<TVDListLevel>(c); }),
      FOwner(owner) {}

bool TVDListLevelCollection::IsSimpleEqual(const TVDListLevelCollection &value) const {
    if (GetCount() != value.GetCount()) {
        return false;
    }
    for (Integer i = 0; i < GetCount(); ++i) {
        if (!GetItem(i).IsSimpleEqual(value.GetItem(i))) {
            return false;
        }
    }
    return true;
}

void TVDListLevelCollection::ConvertToDifferentUnits(TVDStyleUnits newUnits,
                                                     const TVDStyle *vdStyle) {
    for (Integer i = 0; i < GetCount(); ++i) {
        GetItem(i).ConvertToDifferentUnits(newUnits, vdStyle);
    }
}

// ---- TVDListInfo --------------------------------------------------------------------------

TVDListInfo::TVDListInfo(TVDCollection *collection) : TCustomVDInfo(collection), FLevels(this) {
    SetStyleName(u"List Style");
}

void TVDListInfo::Assign(const rtl::TPersistent &source) {
    if (const auto *s = dynamic_cast<const TVDListInfo *>(&source)) {
        FLevels.Assign(s->FLevels);
        FOneLevelPreview = s->FOneLevelPreview;
        const auto *infos = dynamic_cast<const TVDListInfos *>(GetCollection());
        if (infos && infos->ViziVoduAllowAssignListID) {
            FListID = s->GetListID();
        }
    }
    TCustomVDInfo::Assign(source);
}

int32_t TVDListInfo::GetListID() const {
    while (FListID == 0) {
        FListID = VDRandom(2147483647);
    }
    return FListID;
}

bool TVDListInfo::IsSimpleEqual(const TCustomVDInfo &value, TVDSimpleEqualOptions options) const {
    const auto *v = dynamic_cast<const TVDListInfo *>(&value);
    return v && FOneLevelPreview == v->FOneLevelPreview &&
           FLevels.GetCount() == v->FLevels.GetCount() &&
           (options.Contains(vdseIgnoreID) || GetListID() == v->GetListID()) &&
           FLevels.IsSimpleEqual(v->FLevels);
}

bool TVDListInfo::IsSimpleEqualEx(TCustomVDInfo &value, const TVDIntegerList &) const {
    return IsSimpleEqual(value, {vdseIgnoreReferences});
}

int32_t TVDListInfo::SimilarityValue(const TCustomVDInfo &value) const {
    const auto *v = dynamic_cast<const TVDListInfo *>(&value);
    if (!v) {
        return 0;
    }
    int32_t score = GetListID() == v->GetListID() ? 50 : 0;
    score += FOneLevelPreview == v->FOneLevelPreview ? 100 : 0;
    const Integer n = FLevels.GetCount();
    const Integer m = v->FLevels.GetCount();
    for (Integer i = 0; i < std::min(n, m); ++i) {
        score += FLevels.GetItem(i).SimilarityValue(v->FLevels.GetItem(i));
    }
    return score - 100 * (std::max(n, m) - std::min(n, m));
}

void TVDListInfo::ConvertToDifferentUnits(TVDStyleUnits newUnits) {
    FLevels.ConvertToDifferentUnits(newUnits, GetVDStyle());
}

bool TVDListInfo::HasNumbering() const {
    for (Integer i = 0; i < FLevels.GetCount(); ++i) {
        if (FLevels.GetItem(i).HasNumbering()) {
            return true;
        }
    }
    return false;
}

bool TVDListInfo::AllNumbered() const {
    for (Integer i = 0; i < FLevels.GetCount(); ++i) {
        if (!FLevels.GetItem(i).HasNumbering()) {
            return false;
        }
    }
    return true;
}

bool TVDListInfo::HasVariableWidth() const {
    for (Integer i = 0; i < FLevels.GetCount(); ++i) {
        if (FLevels.GetItem(i).HasVariableWidth()) {
            return true;
        }
    }
    return false;
}

// ---- TVDListInfos -------------------------------------------------------------------------

TVDListInfos::TVDListInfos(TItemFactory itemFactory, TVDStyle *owner)
    : TCustomVDInfos(std::move(itemFactory), owner) {}

Integer TVDListInfos::FindSuchStyle(const TVDListInfo &style, bool addIfNotFound) {
    for (Integer i = 0; i < GetCount(); ++i) {
        if (GetItem(i).IsSimpleEqual(style, {vdseIgnoreID})) {
            return i;
        }
    }
    if (!addIfNotFound) {
        return -1;
    }
    TVDListInfo &item = Add();
    item.Assign(style);
    item.SetStandard(false);
    return GetCount() - 1;
}

Integer TVDListInfos::FindStyleWithLevels(const TVDListLevelCollection &levels,
                                          const UnicodeString &styleNameForAdding,
                                          bool addIfNotFound) {
    for (Integer i = 0; i < GetCount(); ++i) {
        if (GetItem(i).GetLevels().IsSimpleEqual(levels)) {
            return i;
        }
    }
    if (!addIfNotFound) {
        return -1;
    }
    TVDListInfo &item = Add();
    item.SetStandard(false);
    item.SetStyleName(styleNameForAdding);
    item.SetOneLevelPreview(true);
    item.SetLevels(levels);
    return GetCount() - 1;
}

void TVDListInfos::RemoveImageListReferences(const rtl::TComponent *component) {
    for (Integer i = 0; i < GetCount(); ++i) {
        TVDListLevelCollection &levels = GetItem(i).GetLevels();
        for (Integer j = 0; j < levels.GetCount(); ++j) {
            // Compared as components: a list being destroyed may no longer be an image list.
            if (static_cast<const rtl::TComponent *>(levels.GetItem(j).GetImageList()) ==
                component) {
                levels.GetItem(j).SetImageList(nullptr);
            }
        }
    }
}

} // namespace vizivodu
