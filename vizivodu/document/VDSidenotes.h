// Sidenotes (-206) and text boxes (-207): notes whose text is shown in a floating box described
// by box properties and a box position. In the text flow a sidenote shows its number; a text
// box shows only an anchor sign on the screen. The finders walk both kinds in sequence-list
// order. Measuring and drawing the text box's anchor are in VDSidenotes_Layout.cpp.
#pragma once

#include "vizivodu/document/VDFloatingPos.h"
#include "vizivodu/document/VDNotes.h"

namespace vizivodu {

class TVDGraphicInterface;

// The height in pixels that the anchor of a floating item takes in its line.
extern int32_t VDFloatingAnchorHeight;

class TVDSidenoteItemInfo : public TCustomVDNoteItemInfo {
    VD_DECLARE_ITEM_CLASS
public:
    // In the sequence "@Sidenote@", numbered in the style sheet's SidenoteNumbering.
    explicit TVDSidenoteItemInfo(TCustomVDData *vdData);
    TVDSidenoteItemInfo(TCustomVDData *vdData, int32_t textStyleNo, int32_t startFrom, bool reset);

    TVDBoxProperties &GetBoxProperties() { return FBoxProperties; }
    const TVDBoxProperties &GetBoxProperties() const { return FBoxProperties; }
    void SetBoxProperties(const TVDBoxProperties &value) { FBoxProperties.Assign(value); }
    TVDBoxPosition &GetBoxPosition() { return FBoxPosition; }
    const TVDBoxPosition &GetBoxPosition() const { return FBoxPosition; }
    void SetBoxPosition(const TVDBoxPosition &value) { FBoxPosition.Assign(value); }

    TVDSeqType GetNumberType() const override;
    void SetNumberType(TVDSeqType) override {}
    // From another sidenote or text box: the box properties and position, then the note's.
    void Assign(const TCustomVDItemInfo &source) override;
    // Unless the height grows with the content.
    bool IsFixedHeight() const override;
    // The box background, or the colour of the document that holds it when that is clNone.
    uint32_t GetSubDocColor() const override;
    // Fills rect with the box background (printing colours).
    void DrawBackgroundForPrinting(gfx::TCanvas &canvas, const rtl::TRect &rect,
                                   const rtl::TRect &fullRect, TVDColorMode colorMode,
                                   int32_t itemBackgroundLayer, TVDGraphicInterface &gi,
                                   bool allowBitmaps) override;
    void ConvertToDifferentUnits(int32_t newUnits, TVDStyle *vdStyle, bool recursive) override;
    // The note's lines, then a "box..." line per changed box property and position property.
    int32_t GetVDFExtraPropertyCount() const override;
    void SaveVDFExtraProperties(rtl::TStream &stream) const override;
    // The box properties, the position, then the note take the name.
    bool SetExtraCustomProperty(std::string_view name, const rtl::UnicodeString &value) override;
    // 600 to 622 the box properties, 500 to 509 the position, then the sequence item's ids.
    bool GetExtraIntPropertyEx(int32_t prop, int32_t &value) const override;
    bool SetExtraIntPropertyEx(int32_t prop, int32_t value) override;
    TVDReformatType GetExtraIntPropertyReformat(int32_t prop) const override;
    // ---- HTML (bodies in formats/html/) ----
    rtl::UnicodeString GetHTMLAnchorName(TCustomVDData *vdData) override;

private:
    TVDBoxProperties FBoxProperties;
    TVDBoxPosition FBoxPosition;
};

// A floating box without a number, in the sequence "@TextBox@". It has no text style; note
// references inside show "?". On the screen its anchor is a small sign; it is never printed.
class TVDTextBoxItemInfo : public TVDSidenoteItemInfo {
    VD_DECLARE_ITEM_CLASS
public:
    explicit TVDTextBoxItemInfo(TCustomVDData *vdData);
    TVDTextBoxItemInfo(TCustomVDData *vdData, int32_t textStyleNo, int32_t startFrom, bool reset);

    rtl::UnicodeString GetNoteText() const override { return u"?"; }
    int32_t GetAssociatedTextStyleNo() const override { return -1; }
    void SetAssociatedTextStyleNo(int32_t) override {}
    // vdbpDocXOnlyBeforeAfter and vdbpPlaceholder true; others as the note.
    bool GetBoolValue(TVDItemBoolProperty prop) const override;
    // Only the paragraph style, then the styles of the box's document.
    void MarkStylesInUse(TVDDeleteUnusedStylesData &data) override;
    void UpdateStyles(TVDDeleteUnusedStylesData &data) override;

    // ---- The anchor (VDSidenotes_Layout.cpp) ----
    // No width; VDFloatingAnchorHeight high; no shift, no descent.
    void OnDocWidthChange(int32_t docWidth, TVDDrawLineInfo &dli, bool printing,
                          gfx::TCanvas &canvas, TCustomVDData *vdData, PVDScreenAndDevice sad,
                          int32_t &hShift, int32_t &desc, bool noCaching, bool reformatting,
                          bool useFormatCanvas) override;
    int32_t GetWidth(const TVDStyle *) override { return 0; }
    int32_t GetHeight(const TVDStyle *) override { return VDFloatingAnchorHeight; }
    int32_t GetMinWidth(PVDScreenAndDevice, gfx::TCanvas *, TCustomVDData *) override { return 0; }
    int32_t GetFinalPrintingWidth(gfx::TCanvas &, TVDDrawLineInfo &, TCustomVDData *, int32_t,
                                  int32_t) override {
        return 0;
    }
    // The anchor sign in the sheet's special-characters colour (else the floating-line colour,
    // else clBtnShadow; the current-item colour while current): a line from 5 pixels above
    // (x, y) down to the draw item's bottom and a 5-pixel square left of and above (x, y).
    // Nothing when printing.
    void Paint(int32_t x, int32_t y, gfx::TCanvas &canvas, TVDItemDrawStates state,
               TVDDrawLineInfo &dli, TCustomVDData *vdData, bool forMetafile) override;
    // Nothing on a page: the box itself is drawn there, not its anchor.
    using TVDSidenoteItemInfo::Print;
    void Print(gfx::TCanvas &, int32_t, int32_t, int32_t, bool, bool, const TVDScreenAndDevice &,
               int32_t, TVDColorMode, TCustomVDData *, int32_t, int32_t, bool) override {}
};

// The sidenotes and text boxes of vdData in sequence-list order (FindNextNote).
TVDSidenoteItemInfo *GetFirstSidenote(TCustomVDData *vdData, bool allowHidden);
TVDSidenoteItemInfo *GetNextSidenote(TCustomVDData *vdData, const TVDSidenoteItemInfo *sidenote,
                                     bool allowHidden);

} // namespace vizivodu
