// Page fields: the page number (-208) and page count (-209) items, labels whose text is
// replaced page by page when a document is printed or previewed, written as fields.
#pragma once

#include "vizivodu/document/VDLabelItem.h"

namespace rtl {
class TStream;
}

namespace vizivodu {

class TVDDocXSavingData;

enum TVDPageNumberType : uint8_t {
    vdpntDefault,
    vdpntDecimal,
    vdpntDecimalDash,
    vdpntLowerAlpha,
    vdpntUpperAlpha,
    vdpntLowerRoman,
    vdpntUpperRoman
};

class TCustomVDFieldItemInfo : public TVDLabelItemInfo {
    VD_DECLARE_ITEM_CLASS
public:
    using TVDLabelItemInfo::TVDLabelItemInfo;
};

class TCustomVDPageNumberItemInfo : public TCustomVDFieldItemInfo {
    VD_DECLARE_ITEM_CLASS
public:
    // ---- DOCX (formats/ooxml/) ----
    void SaveOOXML(rtl::TStream &stream, TCustomVDData *vdData, int32_t itemNo,
                   TVDDocXSavingData &savingData, bool hiddenParent) override;
    void SaveOOXMLBeforeRun(rtl::TStream &stream, TCustomVDData *vdData, int32_t itemNo,
                            TVDDocXSavingData &savingData, bool hiddenParent) override;
    void SaveOOXMLAfterRun(rtl::TStream &stream, TCustomVDData *vdData, int32_t itemNo,
                           TVDDocXSavingData &savingData, bool hiddenParent) override;
    // ---- RTF (formats/rtf/) ----
    void SaveRTF(rtl::TStream &stream, TCustomVDData *vdData, int32_t itemNo, int32_t level,
                 TVDRTFSavingData &savingData, TVDRTFDocType docType, bool hiddenParent) override;
    using TCustomVDFieldItemInfo::TCustomVDFieldItemInfo;

    // Printed values are also stored as the label's text, which the screen then shows.
    bool AlwaysUseText = false;
    TVDPageNumberType NumberType = vdpntDefault;

    // The number in the form of NumberType: "12", "- 12 -", "l", "L", "xii", "XII".
    rtl::UnicodeString GetNumberText(int32_t number) const;
    // The field switch of NumberType for RTF and DOCX ("ROMAN"...); empty for the default.
    std::string GetFieldSwitch() const;

    void Assign(const TCustomVDItemInfo &source) override;
    bool GetBoolValue(TVDItemBoolProperty prop) const override;
    bool GetBoolValueEx(TVDItemBoolPropertyEx prop, const TVDStyle *vdStyle) const override;
    // 600 NumberType.
    bool SetExtraIntPropertyEx(int32_t prop, int32_t value) override;
    bool GetExtraIntPropertyEx(int32_t prop, int32_t &value) const override;
    TVDReformatType GetExtraIntPropertyReformat(int32_t prop) const override;
    // "pagenumbertype" with the ordinal of NumberType.
    bool SetExtraCustomProperty(std::string_view name, const rtl::UnicodeString &value) override;
    int32_t GetVDFExtraPropertyCount() const override;
    void SaveVDFExtraProperties(rtl::TStream &stream) const override;
    void MovingToUndoList(int32_t itemNo, TCustomVDData *vdData) override;
    void MovingFromUndoList(int32_t itemNo, TCustomVDData *vdData) override;

    // The RTF field, in "{\v" and "}" when the item or its parent is hidden.
    void SaveRTF(rtl::TStream &stream, bool hiddenParent) const;
    // The DOCX simple field: its opening element, the run text, the closing element.
    void SaveOOXMLBeforeRun(rtl::TStream &stream) const;
    void SaveOOXML(rtl::TStream &stream) const;
    void SaveOOXMLAfterRun(rtl::TStream &stream) const;

protected:
    virtual std::string FieldName() const = 0;
    virtual std::string RTFResult() const = 0;
};

class TVDPageNumberItemInfo : public TCustomVDPageNumberItemInfo {
    VD_DECLARE_ITEM_CLASS
public:
    // Text "{p}".
    explicit TVDPageNumberItemInfo(TCustomVDData *vdData);
    TVDPageNumberItemInfo(TCustomVDData *vdData, TVDPageNumberType numberType, int32_t textStyleNo);
    // The displayed page number in the form of NumberType.
    rtl::UnicodeString GetTextForPrinting(TCustomVDData *vdData, TVDDrawLineInfo *drawItem,
                                          int32_t dispPageNo, int32_t pageCount) override;
    // Page 14 as an example ("14", "xiv" ...), or the label's text with AlwaysUseText.
    rtl::UnicodeString GetTextForFormatting(TCustomVDData *vdData) override;

protected:
    std::string FieldName() const override { return "PAGE"; }
    std::string RTFResult() const override;
};

class TVDPageCountItemInfo : public TCustomVDPageNumberItemInfo {
    VD_DECLARE_ITEM_CLASS
public:
    // Text "{P}".
    explicit TVDPageCountItemInfo(TCustomVDData *vdData);
    TVDPageCountItemInfo(TCustomVDData *vdData, TVDPageNumberType numberType, int32_t textStyleNo);
    // The page count in decimal, whatever NumberType says.
    rtl::UnicodeString GetTextForPrinting(TCustomVDData *vdData, TVDDrawLineInfo *drawItem,
                                          int32_t dispPageNo, int32_t pageCount) override;
    // "00", or the label's text with AlwaysUseText.
    rtl::UnicodeString GetTextForFormatting(TCustomVDData *vdData) override;

protected:
    std::string FieldName() const override { return "NUMPAGES"; }
    std::string RTFResult() const override { return "?"; }
};

} // namespace vizivodu
