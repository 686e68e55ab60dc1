// Items drawn by the document itself: the break (-1), a horizontal rule on a line of its own,
// and the tab (-12), a gap sized by the paragraph's tab stops in the look of a text style.
#pragma once

#include "vizivodu/document/CVDData.h"
#include "vizivodu/document/VDItem.h"
#include "vizivodu/styles/VDStyle_Types.h"

namespace vizivodu {

class TVDDocXSavingData;

class TVDGraphicInterface;

// A 3-D frame of width one-pixel rings inside rect (right and bottom included): the left and
// top sides in topLeftColor, then the right and bottom sides in bottomRightColor; when width is
// more than rect's height only the top-left sides are drawn, ring after ring downwards.
void Draw3DFrame(gfx::TCanvas &canvas, rtl::TRect rect, gfx::TColor topLeftColor,
                 gfx::TColor bottomRightColor, int32_t width, TVDGraphicInterface &gi);

class TVDBreakItemInfo : public TVDFullLineItemInfo {
    VD_DECLARE_ITEM_CLASS
public:
    // ---- DOCX (formats/ooxml/) ----
    void SaveOOXML(rtl::TStream &stream, TCustomVDData *vdData, int32_t itemNo,
                   TVDDocXSavingData &savingData, bool hiddenParent) override;
    // ---- RTF (formats/rtf/) ----
    void SaveRTF(rtl::TStream &stream, TCustomVDData *vdData, int32_t itemNo, int32_t level,
                 TVDRTFSavingData &savingData, TVDRTFDocType docType, bool hiddenParent) override;
    void FillRTFTables(TCustomVDRTFTables *rtfTables, TVDIntegerList *listOverrideCountList,
                       TCustomVDData *vdData) override;
    // A one-unit solid line in the colour of text style 0.
    explicit TVDBreakItemInfo(TCustomVDData *vdData);
    // The width arrives as one byte, as the class library's constructor takes it.
    TVDBreakItemInfo(TCustomVDData *vdData, uint8_t lineWidth, TVDBreakStyle style, TColor color);

    TVDStyleLength LineWidth = 1;
    TVDBreakStyle Style = vdbsLine;
    TColor Color = gfx::clNone; // clNone: the colour of text style 0

    void Assign(const TCustomVDItemInfo &source) override;
    bool GetBoolValue(TVDItemBoolProperty prop) const override;
    bool GetBoolValueEx(TVDItemBoolPropertyEx prop, const TVDStyle *vdStyle) const override;
    // 200 LineWidth, 201 Style, 202 Color.
    bool SetExtraIntPropertyEx(int32_t prop, int32_t value) override;
    bool GetExtraIntPropertyEx(int32_t prop, int32_t &value) const override;
    void ConvertToDifferentUnits(int32_t newUnits, TVDStyle *vdStyle, bool recursive) override;
    // lineWidth characters (at least 1): "-" for a rule thinner than 2 pixels, "=" otherwise.
    TVDRawByteString AsText(int32_t lineWidth, TCustomVDData *vdData, const TVDRawByteString &text,
                            bool textOnly, bool unicode, TVDCodePage codePage) override;
    // "Color Style LineWidth".
    TVDRawByteString GetVDFHeaderTail(TCustomVDData *vdData) const override;
    // The line's end gives a one-pixel solid line in text style 0's colour; otherwise three
    // numbers, false unless all three are numbers and the style is one of the five.
    bool ReadVDFHeaderTail(const char *&p, TCustomVDData *vdData, bool utf8,
                           bool &assStyleNameUsed) override;
    // A rule across the document width less 5 screen pixels on each side, as high as the
    // thicker of 11 pixels and the rule.
    void OnDocWidthChange(int32_t docWidth, TVDDrawLineInfo &dli, bool printing,
                          gfx::TCanvas &canvas, TCustomVDData *vdData, PVDScreenAndDevice sad,
                          int32_t &hShift, int32_t &desc, bool noCaching, bool reformatting,
                          bool useFormatCanvas) override;
    // The rule across the draw item at the middle of its line, in screen pixels.
    void PaintFullWidth(int32_t left, int32_t right, int32_t top, gfx::TCanvas &canvas,
                        TVDItemDrawStates state, TVDStyle &style, const rtl::TRect &clipRect,
                        TCustomVDData *vdData, int32_t drawItemNo, int32_t extraX, int32_t extraY,
                        TVDPaintItemPart *paintPart, bool forMetafile) override;
    // The rule on paper: its thickness at the device's resolution, its colour in the colour
    // mode.
    void Print(gfx::TCanvas &canvas, int32_t x, int32_t y, int32_t x2, bool preview,
               bool correction, const TVDScreenAndDevice &sad, int32_t part, TVDColorMode colorMode,
               TCustomVDData *vdData, int32_t dItemNo, int32_t pageNo, bool forMetafile) override;

private:
    // Color, or the colour of text style 0 for clNone.
    gfx::TColor LineColor(const TVDStyle &style) const;

public:
    void SaveVDF(rtl::TStream &stream, TCustomVDData *vdData, int32_t itemNo, int32_t paraNo,
                 const TVDRawByteString &name, TVDMultiDrawItemPart *part, bool forceSameAsPrev,
                 PVDScreenAndDevice sad) override;
    // ---- HTML (bodies in formats/html/) ----
    void SaveToHTML(rtl::TStream &stream, TCustomVDData *vdData, int32_t itemNo,
                    const TVDRawByteString &text, TVDHTMLSaveArgs &args) override;
};

// How a tab is drawn: on the screen from its draw state, on paper in the colour mode.
struct TVDTabDrawing {
    TVDColorMode ColorMode = vdcmColor;
    bool Printing = false;
    bool ShowSpecialCharacters = false;
    bool RTL = false;
    bool CanUseCustomPPI = false;
    TVDTextDrawStates TextState;
    bool ForMetafile = false;
};

class TVDTabItemInfo : public TVDSimpleRectItemInfo {
    VD_DECLARE_ITEM_CLASS
public:
    // ---- DOCX (formats/ooxml/) ----
    void SaveOOXML(rtl::TStream &stream, TCustomVDData *vdData, int32_t itemNo,
                   TVDDocXSavingData &savingData, bool hiddenParent) override;
    // ---- RTF (formats/rtf/) ----
    void SaveRTF(rtl::TStream &stream, TCustomVDData *vdData, int32_t itemNo, int32_t level,
                 TVDRTFSavingData &savingData, TVDRTFDocType docType, bool hiddenParent) override;
    explicit TVDTabItemInfo(TCustomVDData *vdData);

    rtl::UnicodeString Leader; // repeated across the tab; empty for none

    int32_t GetAssociatedTextStyleNo() const override { return FTextStyleNo; }
    void SetAssociatedTextStyleNo(int32_t value) override { FTextStyleNo = value; }
    bool GetBoolValue(TVDItemBoolProperty prop) const override;
    bool GetBoolValueEx(TVDItemBoolPropertyEx prop, const TVDStyle *vdStyle) const override;
    void MarkStylesInUse(TVDDeleteUnusedStylesData &data) override;
    void UpdateStyles(TVDDeleteUnusedStylesData &data) override;
    // One TAB character.
    TVDRawByteString AsText(int32_t lineWidth, TCustomVDData *vdData, const TVDRawByteString &text,
                            bool textOnly, bool unicode, TVDCodePage codePage) override;
    // Height and descent of its text style's font; the line formatter sets the width.
    void OnDocWidthChange(int32_t docWidth, TVDDrawLineInfo &dli, bool printing,
                          gfx::TCanvas &canvas, TCustomVDData *vdData, PVDScreenAndDevice sad,
                          int32_t &hShift, int32_t &desc, bool noCaching, bool reformatting,
                          bool useFormatCanvas) override;
    // The text style's background, the leader repeated across the tab, the tab arrow while
    // special characters are shown.
    void Paint(int32_t x, int32_t y, gfx::TCanvas &canvas, TVDItemDrawStates state,
               TVDDrawLineInfo &dli, TCustomVDData *vdData, bool forMetafile) override;
    // As painted, in the colour mode, without the arrow, left to right.
    void Print(gfx::TCanvas &canvas, int32_t x, int32_t y, int32_t x2, bool preview,
               bool correction, const TVDScreenAndDevice &sad, int32_t part, TVDColorMode colorMode,
               TCustomVDData *vdData, int32_t dItemNo, int32_t pageNo, bool forMetafile) override;
    // The tab in r: its text style's background, underline (a dotted one when hidden),
    // overline and strike-out, the leader, and the arrow while special characters are shown.
    void DrawTab(gfx::TCanvas &canvas, const rtl::TRect &r, TCustomVDData *vdData,
                 const TVDTabDrawing &drawing);

private:
    // The text style with StyleNoParaDefault and style templates resolved; a change made by a
    // template is stored in the item.
    int32_t ResolvedTextStyle(TCustomVDData *vdData);
    void ApplyTabStyle(gfx::TCanvas &canvas, TVDStyle &style, int32_t n, TCustomVDData *vdData,
                       const TVDTabDrawing &drawing);
    void DrawDecorations(gfx::TCanvas &canvas, const rtl::TRect &r, TVDStyle &style, int32_t n,
                         const TVDTabDrawing &drawing);
    void DrawLeader(gfx::TCanvas &canvas, const rtl::TRect &r, TVDStyle &style, int32_t n,
                    TCustomVDData *vdData, const TVDTabDrawing &drawing);
    void DrawArrow(gfx::TCanvas &canvas, const rtl::TRect &r, TVDStyle &style,
                   const TVDTabDrawing &drawing);
    int32_t FTextStyleNo = 0;

public:
    // The text style reference (by name with vdfoUseStyleNames).
    TVDRawByteString GetVDFHeaderTail(TCustomVDData *vdData) const override;
    bool ReadVDFHeaderTail(const char *&p, TCustomVDData *vdData, bool utf8,
                           bool &assStyleNameUsed) override;
    void SaveVDF(rtl::TStream &stream, TCustomVDData *vdData, int32_t itemNo, int32_t paraNo,
                 const TVDRawByteString &name, TVDMultiDrawItemPart *part, bool forceSameAsPrev,
                 PVDScreenAndDevice sad) override;
    // ---- HTML (bodies in formats/html/) ----
    void SaveToHTML(rtl::TStream &stream, TCustomVDData *vdData, int32_t itemNo,
                    const TVDRawByteString &text, TVDHTMLSaveArgs &args) override;
};

} // namespace vizivodu
