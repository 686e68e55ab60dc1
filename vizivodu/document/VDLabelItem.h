// Label items (-200): a short text in a text style that behaves as one non-text item; the base
// of the page fields. Measuring and drawing belong to the layout units.
#pragma once

#include "vizivodu/document/VDItem_Rect.h"

namespace vizivodu {

enum TAlignment : uint8_t { taLeftJustify, taRightJustify, taCenter };

class TVDLabelItemInfo : public TVDRectItemInfo {
    VD_DECLARE_ITEM_CLASS
public:
    explicit TVDLabelItemInfo(TCustomVDData *vdData);
    TVDLabelItemInfo(TCustomVDData *vdData, int32_t textStyleNo, const rtl::UnicodeString &text);

    int32_t Width = 0;
    int32_t Height = 0;
    int32_t Descend = 0;
    int32_t YOffs = 0;
    bool ProtectTextStyleNo = false;
    bool RemoveInternalLeading = false;
    TCursor Cursor = 0;

    const rtl::UnicodeString &GetText() const { return FText; }
    void SetText(const rtl::UnicodeString &value) {
        FText = value;
        FUpdated = false;
    }
    // The label's MinWidth property (GetMinWidth is the item's width in formatting).
    TVDStyleLength MinWidth() const { return FMinWidth; }
    void SetMinWidth(TVDStyleLength value);
    TAlignment GetAlignment() const { return FAlignment; }
    void SetAlignment(TAlignment value) { FAlignment = value; }
    bool IsUpdated() const { return FUpdated; }
    TCustomVDData *GetParentVDData() const { return FParentVDData; }

    // The text shown on the screen (fields override it).
    virtual rtl::UnicodeString GetTextForFormatting(TCustomVDData *vdData);
    // The text printed on a page (page fields override it).
    virtual rtl::UnicodeString GetTextForPrinting(TCustomVDData *vdData, int32_t dispPageNo,
                                                  int32_t pageCount);

    int32_t GetAssociatedTextStyleNo() const override { return FTextStyleNo; }
    void SetAssociatedTextStyleNo(int32_t value) override;
    void Assign(const TCustomVDItemInfo &source) override;
    bool GetBoolValue(TVDItemBoolProperty prop) const override;
    void Inserted(TCustomVDData *vdData, int32_t itemNo) override;
    void MarkStylesInUse(TVDDeleteUnusedStylesData &data) override;
    void UpdateStyles(TVDDeleteUnusedStylesData &data) override;
    // 200 ProtectTextStyleNo, 201 RemoveInternalLeading, 202 Cursor, 203 MinWidth,
    // 204 Alignment; string 200 the text.
    bool SetExtraIntPropertyEx(int32_t prop, int32_t value) override;
    bool GetExtraIntPropertyEx(int32_t prop, int32_t &value) const override;
    bool SetExtraStrPropertyEx(int32_t prop, const rtl::UnicodeString &value) override;
    bool GetExtraStrPropertyEx(int32_t prop, rtl::UnicodeString &value) const override;
    // "removeinternalleading": true unless the value is "0".
    bool SetExtraCustomProperty(std::string_view name, const rtl::UnicodeString &value) override;
    int32_t GetVDFExtraPropertyCount() const override;
    void SaveVDFExtraProperties(rtl::TStream &stream) const override;

private:
    TVDStyleLength FMinWidth = 0;
    TAlignment FAlignment = taLeftJustify;
    TCustomVDData *FParentVDData = nullptr;
    int32_t FTextStyleNo = 0;
    rtl::UnicodeString FText;
    bool FUpdated = false;
};

} // namespace vizivodu
