// The RTF parser's numbering records: marker properties, list levels, lists and list overrides.
#include "vizivodu/formats/rtf/VDRTFLists.h"

namespace vizivodu {

namespace {

void SetStyle(gfx::TFontStyles &styles, gfx::TFontStyle s, bool on) {
    if (on) {
        styles.Include(s);
    } else {
        styles.Exclude(s);
    }
}

} // namespace

void TVDRTFCustomMarkerProperties::Assign(const TVDRTFCustomMarkerProperties &source,
                                          TVDRTFAssignMode mode) {
    FListType = source.FListType;
    FAlignment = source.FAlignment;
    FIndentTw = source.FIndentTw;
    FSpaceTw = source.FSpaceTw;
    FStart = source.FStart;
    FFixedProperties = source.FFixedProperties;
    if (mode == TVDRTFAssignMode::All) {
        FFontIndex = source.FFontIndex;
        FFontStyle = source.FFontStyle;
        FColor = source.FColor;
        FFontSize = source.FFontSize;
        return;
    }
    const TVDRTFMarkerProps fixed = FFixedProperties;
    if (!fixed.Contains(rtfmp_Color)) {
        FColor = source.FColor;
    }
    if (!fixed.Contains(rtfmp_FontIndex)) {
        FFontIndex = source.FFontIndex;
    }
    if (!fixed.Contains(rtfmp_Size)) {
        FFontSize = source.FFontSize;
    }
    static constexpr std::pair<TVDRTFMarkerProp, gfx::TFontStyle> styles[] = {
        {rtfmp_Bold, gfx::fsBold},
        {rtfmp_Italic, gfx::fsItalic},
        {rtfmp_Underline, gfx::fsUnderline},
        {rtfmp_StrikeOut, gfx::fsStrikeOut}};
    for (const auto &[prop, style] : styles) {
        if (!fixed.Contains(prop)) {
            SetStyle(FFontStyle, style, source.FFontStyle.Contains(style));
        }
    }
}

void TVDRTFCustomMarkerProperties::UpdateFrom(const TVDRTFCharProperties &charProps) {
    if (!FFixedProperties.Contains(rtfmp_Color)) {
        FColor = charProps.FColor;
    }
    if (!FFixedProperties.Contains(rtfmp_FontIndex)) {
        FFontIndex = charProps.FFontIndex;
    }
    if (!FFixedProperties.Contains(rtfmp_Size)) {
        FFontSize = charProps.FSizeDouble / 2;
    }
    static constexpr std::pair<TVDRTFMarkerProp, gfx::TFontStyle> styles[] = {
        {rtfmp_Bold, gfx::fsBold},
        {rtfmp_Italic, gfx::fsItalic},
        {rtfmp_StrikeOut, gfx::fsStrikeOut}};
    for (const auto &[prop, style] : styles) {
        if (!FFixedProperties.Contains(prop)) {
            SetStyle(FFontStyle, style, charProps.FStyle.Contains(style));
        }
    }
}

void TVDRTFMarkerProperties::Assign(const TVDRTFMarkerProperties &source, TVDRTFAssignMode mode) {
    TVDRTFCustomMarkerProperties::Assign(source, mode);
    FTextAfter = source.FTextAfter;
    FTextBefore = source.FTextBefore;
    FHanging = source.FHanging;
    if (mode == TVDRTFAssignMode::All) {
        FLevel = source.FLevel;
    }
}

void TVDRTFListLevel97::Assign(const TVDRTFListLevel97 &source) {
    TVDRTFCustomMarkerProperties::Assign(source, TVDRTFAssignMode::All);
    FOldStyle = source.FOldStyle;
    FLegal = source.FLegal;
    FNoRestart = source.FNoRestart;
    FText = source.FText;
    FNumbers = source.FNumbers;
    FTextW = source.FTextW;
    FFollow = source.FFollow;
    FIndentsUpdated = source.FIndentsUpdated;
}

void TVDRTFListLevel97::CutTexts() {
    if (!FText.empty()) {
        FText.resize(std::min(FText.size(), size_t(FText[0]) + 1));
    }
    if (!FNumbers.empty()) {
        FNumbers.resize(std::min(FNumbers.size(), size_t(uint8_t(FNumbers[0])) + 1));
    }
}

TVDRTFListLevel97 &TVDRTFList97::AddNew() {
    return *FLevels.emplace_back(std::make_unique<TVDRTFListLevel97>());
}

TVDRTFListLevel97 *TVDRTFList97::Get(int32_t index) {
    if (index < 0 || FLevels.empty()) {
        return nullptr;
    }
    if (index < Count()) {
        return FLevels[size_t(index)].get();
    }
    if (index >= MaxLevels) {
        return nullptr;
    }
    const TVDRTFListLevel97 &last = *FLevels.back();
    const int32_t lastIndex = Count() - 1;
    while (Count() <= index) {
        auto level = std::make_unique<TVDRTFListLevel97>();
        level->Assign(last);
        level->FFirstIndentTw = last.FFirstIndentTw;
        level->FTabPosTw = last.FTabPosTw;
        level->FLeftIndentTw = last.FLeftIndentTw + 720 * (Count() - lastIndex);
        level->FIndentsUpdated = false;
        FLevels.push_back(std::move(level));
    }
    return FLevels[size_t(index)].get();
}

TVDRTFList97 &TVDRTFListTable97::AddNew() {
    return *FItems.emplace_back(std::make_unique<TVDRTFList97>());
}

int32_t TVDRTFListTable97::FindById(int32_t id) const {
    for (size_t i = 0; i < FItems.size(); ++i) {
        if (FItems[i]->FId == id) {
            return int32_t(i);
        }
    }
    return -1;
}

int32_t TVDRTFListOverrideTable97::FindByNumber(int32_t number) const {
    for (size_t i = 0; i < FItems.size(); ++i) {
        if (FItems[i].FNumber == number) {
            return int32_t(i);
        }
    }
    return -1;
}

} // namespace vizivodu
