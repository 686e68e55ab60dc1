// Label items (-200): a short text in a text style that behaves as one non-text item; the base
// of the page fields. Measuring and drawing are in VDLabelItem_Layout.cpp.
#pragma once

#include "vizivodu/document/VDItem_Rect.h"

namespace vizivodu {

class TVDDocXSavingData;

enum TAlignment : uint8_t { taLeftJustify, taRightJustify, taCenter };

class TVDLabelItemInfo : public TVDRectItemInfo {
    VD_DECLARE_ITEM_CLASS
public:
    // ---- DOCX (formats/ooxml/) ----
    void SaveOOXML(rtl::TStream &stream, TCustomVDData *vdData, int32_t itemNo,
                   TVDDocXSavingData &savingData, bool hiddenParent) override;
    // ---- RTF (formats/rtf/) ----
    void SaveRTF(rtl::TStream &stream, TCustomVDData *vdData, int32_t itemNo, int32_t level,
                 TVDRTFSavingData &savingData, TVDRTFDocType docType, bool hiddenParent) override;
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
    // The document the label belongs to (notes repoint their own document with it).
    virtual void SetParentVDData(TCustomVDData *value) { FParentVDData = value; }

    // The text shown on the screen (fields override it).
    virtual rtl::UnicodeString GetTextForFormatting(TCustomVDData *vdData);
    // The text measured on the formatting canvas or for a device of another resolution than
    // the screen's: the text for formatting here (footnotes whose numbers restart on every
    // page override it).
    virtual rtl::UnicodeString GetTextForPrintMeasuring(TCustomVDData *vdData) {
        return GetTextForFormatting(vdData);
    }
    // The text printed on a page by drawItem (null: the item's own), the page's displayed number
    // and the page count given (page fields and footnotes override it).
    virtual rtl::UnicodeString GetTextForPrinting(TCustomVDData *vdData, TVDDrawLineInfo *drawItem,
                                                  int32_t dispPageNo, int32_t pageCount);

    // ---- Measuring and drawing ----
    // Measures the text on the screen into Width, Height, Descend and YOffs unless it is
    // measured already (nothing without a style sheet).
    void UpdateMe();
    int32_t GetWidth(const TVDStyle *vdStyle) override;
    int32_t GetHeight(const TVDStyle *vdStyle) override;
    // Width in device pixels (screen pixels without sad), at least MinWidth.
    int32_t GetMinWidth(PVDScreenAndDevice sad, gfx::TCanvas *canvas,
                        TCustomVDData *vdData) override;
    // Measured on canvas when formatting on a format canvas or another resolution than the
    // screen's, else the cached screen size.
    void OnDocWidthChange(int32_t docWidth, TVDDrawLineInfo &dli, bool printing,
                          gfx::TCanvas &canvas, TCustomVDData *vdData, PVDScreenAndDevice sad,
                          int32_t &hShift, int32_t &desc, bool noCaching, bool reformatting,
                          bool useFormatCanvas) override;
    // The width of the text printed on page pageNo of pageCount, at least MinWidth.
    int32_t GetFinalPrintingWidth(gfx::TCanvas &canvas, TVDDrawLineInfo &dli, TCustomVDData *vdData,
                                  int32_t pageNo, int32_t pageCount) override;
    // On the screen the label's text; on a page (vdidsPrinting in a printable document) the
    // text for the page being drawn, through Print.
    void Paint(int32_t x, int32_t y, gfx::TCanvas &canvas, TVDItemDrawStates state,
               TVDDrawLineInfo &dli, TCustomVDData *vdData, bool forMetafile) override;
    // On a page: the text for the page in the colour mode (through the Print below).
    void Print(gfx::TCanvas &canvas, int32_t x, int32_t y, int32_t x2, bool preview,
               bool correction, const TVDScreenAndDevice &sad, int32_t part, TVDColorMode colorMode,
               TCustomVDData *vdData, int32_t dItemNo, int32_t pageNo, bool forMetafile) override;
    // Draws the text for global page pageNo of the job in the draw item's rectangle at (x, y).
    void Print(gfx::TCanvas &canvas, int32_t x, int32_t y, PVDScreenAndDevice sad,
               TVDColorMode colorMode, TCustomVDData *vdData, TVDDrawLineInfo &dli, int32_t pageNo,
               TVDItemDrawStates state, bool forMetafile);
    // -1, then Width, Height, Descend, YOffs and the measured flag.
    void SaveFormattingToStream(rtl::TStream &stream) override;
    void LoadFormattingFromStream(rtl::TStream &stream) override;
    // A hyperlink label follows its jump in a formatted document.
    void Execute(TCustomVDData *vdData) override;

    int32_t GetAssociatedTextStyleNo() const override { return FTextStyleNo; }
    void SetAssociatedTextStyleNo(int32_t value) override;
    void Assign(const TCustomVDItemInfo &source) override;
    bool GetBoolValue(TVDItemBoolProperty prop) const override;
    bool GetBoolValueEx(TVDItemBoolPropertyEx prop, const TVDStyle *vdStyle) const override;
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
    // ---- HTML (bodies in formats/html/) ----
    void SaveToHTML(rtl::TStream &stream, TCustomVDData *vdData, int32_t itemNo,
                    const TVDRawByteString &text, TVDHTMLSaveArgs &args) override;

protected:
    // The style sheet of the document the label is in; nullptr outside one.
    const TVDStyle *ParentStyle() const;
    // Draws text in r (stretched to r when it is wider and there is no minimum width).
    virtual void PaintLabelText(const rtl::TRect &r, gfx::TCanvas &canvas, bool forMetafile,
                                TCustomVDData *vdData, const rtl::UnicodeString &text,
                                TVDColorMode colorMode, TVDItemDrawStates state);

private:
    // Measures text in the label's text style on the document's format canvas, else canvas,
    // else a screen canvas; sizes in screen pixels (device pixels of canvas when it is given and
    // there is no format canvas).
    void CalcLabelSize(int32_t &w, int32_t &h, gfx::TCanvas *canvas, const rtl::UnicodeString &text,
                       TCustomVDData *vdData, bool useMinWidth, bool canUseCustomPPI,
                       int32_t &descend, int32_t &yOffs);

    TVDStyleLength FMinWidth = 0;
    TAlignment FAlignment = taLeftJustify;
    bool FCanUseCustomPPI = false;
    TCustomVDData *FParentVDData = nullptr;
    int32_t FTextStyleNo = 0;
    rtl::UnicodeString FText;
    bool FUpdated = false;

public:
    void SaveVDF(rtl::TStream &stream, TCustomVDData *vdData, int32_t itemNo, int32_t paraNo,
                 const TVDRawByteString &name, TVDMultiDrawItemPart *part, bool forceSameAsPrev,
                 PVDScreenAndDevice sad) override;
    bool ReadVDFLine(std::string_view s, TCustomVDData *vdData, int32_t &readType, int32_t lineNo,
                     int32_t lineCount, TVDRawByteString &name, TVDFReadMode &readMode,
                     TVDFReadState &readState, bool utf8, bool &assStyleNameUsed) override;

protected:
    // The label's text style reference, MinWidth, Alignment and "protect" lines, which
    // sequences and notes write too; index 0 to 3 of them when read.
    void SaveVDFLabelLines(rtl::TStream &stream, TCustomVDData *vdData) const;
    bool ReadVDFLabelLine(int32_t index, std::string_view s, TCustomVDData *vdData, bool utf8,
                          bool &assStyleNameUsed);
};

} // namespace vizivodu
