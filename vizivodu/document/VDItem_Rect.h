// Rectangular items (a content box with padding, border and outer margin, aligned on the line
// or floated) and the picture items: TVDRectItemInfo, TVDGraphicItemInfo (-3) and
// TVDHotGraphicItemInfo (-10, a picture that is a hyperlink).
#pragma once

#include "vizivodu/document/CVDData.h"
#include "vizivodu/document/VDItem.h"

#include "platform/gfx/Graphic.h"

#include <memory>

namespace vizivodu {

class TVDDocXSavingData;

class TVDAnimator;

class TVDRectItemInfo : public TVDSimpleRectItemInfo {
    VD_DECLARE_ITEM_CLASS
public:
    explicit TVDRectItemInfo(TCustomVDData *vdData) : TVDSimpleRectItemInfo(vdData) {}

    // Split across pages when printed, no piece lower than this (screen pixels); 0: never.
    int32_t FMinHeightOnPage = 0;
    TVDVAlign VAlign = vdvaBaseline;
    // Percent of the content height, or a style length when VShiftAbs.
    int32_t VShift = 0;
    bool VShiftAbs = false;
    TVDStyleLength Spacing = 1; // padding on every side
    TVDStyleLength BorderWidth = 0;
    TVDStyleLength OuterHSpacing = 0;
    TVDStyleLength OuterVSpacing = 0;
    TColor BackgroundColor = gfx::clNone;
    TColor BorderColor = 0; // clBlack

    void Assign(const TCustomVDItemInfo &source) override;
    // Spacing + BorderWidth + the outer spacing of that direction (style lengths).
    int32_t GetBorderWidth() const override { return Spacing + BorderWidth + OuterHSpacing; }
    int32_t GetBorderHeight() const override { return Spacing + BorderWidth + OuterVSpacing; }
    // vdbpFloating for vdvaLeft and vdvaRight.
    bool GetBoolValue(TVDItemBoolProperty prop) const override;
    void ConvertToDifferentUnits(int32_t newUnits, TVDStyle *vdStyle, bool recursive) override;
    // VAlign as a number.
    TVDRawByteString GetVDFHeaderTail(TCustomVDData *vdData) const override;
    // Reads the VAlign number at p (the line's end gives vdvaBaseline); false when it is not
    // a number or not an alignment.
    bool ReadVDFHeaderTail(const char *&p, TCustomVDData *vdData, bool utf8,
                           bool &assStyleNameUsed) override;
    bool SetExtraIntProperty(TVDExtraItemProperty prop, int32_t value) override;
    bool GetExtraIntProperty(TVDExtraItemProperty prop, int32_t &value) const override;
    int32_t GetVDFExtraPropertyCount() const override;
    void SaveVDFExtraProperties(rtl::TStream &stream) const override;
    // Paints the box: the selection or background fill, the border, the current-item frame
    // and the dotted line of a hidden item (w and h: the draw item's object size).
    void PaintDef(int32_t x, int32_t y, gfx::TCanvas &canvas, TVDItemDrawStates state,
                  TVDDrawLineInfo &dli, TCustomVDData *vdData);

protected:
    // The content (GetImageWidth and the like) with the border all round: the outer size of
    // pictures, bullets and controls, on the screen and on a device.
    int32_t BoxedWidth(const TVDStyle *vdStyle);
    int32_t BoxedHeight(const TVDStyle *vdStyle);
    int32_t BoxedWidthEx(const TVDStyle *vdStyle, PVDScreenAndDevice sad);
    int32_t BoxedHeightEx(const TVDStyle *vdStyle, PVDScreenAndDevice sad);
};

class TVDGraphicItemInfo : public TVDRectItemInfo {
    VD_DECLARE_ITEM_CLASS
public:
    // ---- DOCX (formats/ooxml/) ----
    void SaveOOXML(rtl::TStream &stream, TCustomVDData *vdData, int32_t itemNo,
                   TVDDocXSavingData &savingData, bool hiddenParent) override;
    // ---- RTF (formats/rtf/) ----
    void SaveRTF(rtl::TStream &stream, TCustomVDData *vdData, int32_t itemNo, int32_t level,
                 TVDRTFSavingData &savingData, TVDRTFDocType docType, bool hiddenParent) override;
    explicit TVDGraphicItemInfo(TCustomVDData *vdData);
    // The item owns image (unless Shared).
    TVDGraphicItemInfo(TCustomVDData *vdData, std::unique_ptr<gfx::TGraphic> image,
                       TVDVAlign vAlign);
    ~TVDGraphicItemInfo() override;

    bool FResizable = true;
    bool FShared = false;
    bool FHasThumbnail = false;
    TVDStyleLength ImageWidth = 0; // 0 or less: the picture's own width
    TVDStyleLength ImageHeight = 0;
    int32_t Interval = 0;
    bool NoHTMLImageSize = false;
    rtl::UnicodeString Alt;
    rtl::UnicodeString ImageFileName;

    gfx::TGraphic *GetImage() const { return FImage.get(); }
    gfx::TGraphic *GetImageCopy() const { return FImageCopy.get(); }
    // Takes image; the old one is freed unless shared; a thumbnail is dropped.
    void SetImage(std::unique_ptr<gfx::TGraphic> image, TCustomVDData *vdData);
    // The item stops owning the image it shows (Shared): the image is not freed with it.
    void SetShared(bool shared) { FShared = shared; }

    void Assign(const TCustomVDItemInfo &source) override;
    gfx::TGraphic *AsImage() override { return FImage.get(); }
    // Content size in screen pixels: ImageWidth (as pixels) when positive, else the picture's.
    int32_t GetImageWidth(const TVDStyle *vdStyle) override;
    int32_t GetImageHeight(const TVDStyle *vdStyle) override;
    int32_t GetImageWidthEx(const TVDStyle *vdStyle, PVDScreenAndDevice sad) override;
    int32_t GetImageHeightEx(const TVDStyle *vdStyle, PVDScreenAndDevice sad) override;
    // Outer size: content + 2 x the border size in pixels.
    int32_t GetWidth(const TVDStyle *vdStyle) override { return BoxedWidth(vdStyle); }
    int32_t GetHeight(const TVDStyle *vdStyle) override { return BoxedHeight(vdStyle); }
    int32_t GetWidthEx(const TVDStyle *vdStyle, PVDScreenAndDevice sad) override {
        return BoxedWidthEx(vdStyle, sad);
    }
    int32_t GetHeightEx(const TVDStyle *vdStyle, PVDScreenAndDevice sad) override {
        return BoxedHeightEx(vdStyle, sad);
    }
    int32_t GetMinWidth(PVDScreenAndDevice sad, gfx::TCanvas *canvas,
                        TCustomVDData *vdData) override;
    bool GetBoolValue(TVDItemBoolProperty prop) const override;
    bool GetBoolValueEx(TVDItemBoolPropertyEx prop, const TVDStyle *vdStyle) const override;
    bool HasThumbnail() const override { return FImageCopy && FHasThumbnail; }
    void FreeThumbnail() override;
    void MovingToUndoList(int32_t itemNo, TCustomVDData *vdData) override;
    void ConvertToDifferentUnits(int32_t newUnits, TVDStyle *vdStyle, bool recursive) override;
    // ---- Animation (layout/viewer/VDAnimate_Hooks.cpp) ----
    // The animator of a multi-frame bitmap in a formatted document that allows animation
    // (owned); nullptr otherwise.
    TVDAnimator *GetAnimator() const { return FAnimator.get(); }
    void UpdateAnimator(TCustomVDData *vdData) override;
    // Forgets the animator without freeing it (the animator is going).
    void RemoveLinkToAnimator() override;
    // Takes over the animator of a replaced picture.
    void TransferProperties(const TCustomVDItemInfo &source, TCustomVDData *vdData) override;
    bool SetExtraIntProperty(TVDExtraItemProperty prop, int32_t value) override;
    bool GetExtraIntProperty(TVDExtraItemProperty prop, int32_t &value) const override;
    bool SetExtraStrProperty(TVDExtraItemStrProperty prop, const rtl::UnicodeString &v) override;
    bool GetExtraStrProperty(TVDExtraItemStrProperty prop, rtl::UnicodeString &v) const override;
    int32_t GetVDFExtraPropertyCount() const override;
    void SaveVDFExtraProperties(rtl::TStream &stream) const override;
    // ---- HTML (bodies in formats/html/) ----
    void SaveToHTML(rtl::TStream &stream, TCustomVDData *vdData, int32_t itemNo,
                    const TVDRawByteString &text, TVDHTMLSaveArgs &args) override;
    // Extra text for the img tag (empty here).
    virtual rtl::UnicodeString GetMoreImgAttributes(TCustomVDData *vdData, int32_t itemNo,
                                                    const TVDHTMLSaveArgs &args);
    // The box, then the picture (a thumbnail on screen when the picture is drawn scaled).
    void Paint(int32_t x, int32_t y, gfx::TCanvas &canvas, TVDItemDrawStates state,
               TVDDrawLineInfo &dli, TCustomVDData *vdData, bool forMetafile) override;
    // Draws the picture into bkgnd (which holds what lies behind it): without a background
    // colour bkgnd takes the picture's own size, keeping what lay behind under a transparent
    // picture and white under another; a piece of a split picture shows its own rows. In a
    // preview a palette copy stands for the picture.
    bool PrintToBitmap(gfx::TBitmap &bkgnd, bool preview, TCustomVDData *vdData, int32_t dItemNo,
                       int32_t part, TVDColorMode colorMode) override;
    // Vector pictures (and every picture in a preview drawn directly) print here: stretched to
    // the content box at the device's resolution and clipped to it.
    void Print(gfx::TCanvas &canvas, int32_t x, int32_t y, int32_t x2, bool preview,
               bool correction, const TVDScreenAndDevice &sad, int32_t part, TVDColorMode colorMode,
               TCustomVDData *vdData, int32_t dItemNo, int32_t pageNo, bool forMetafile) override;
    // A split picture draw item (TVDMultiImagePrintInfo) for a raster picture with
    // MinHeightOnPage that is not scaled vertically and does not float.
    std::unique_ptr<TVDDrawLineInfo> CreatePrintingDrawItem(TCustomVDData *vdData, int32_t paraNo,
                                                            PVDScreenAndDevice sad) override;

private:
    std::unique_ptr<gfx::TGraphic> FImage;
    std::unique_ptr<gfx::TGraphic> FImageCopy; // a thumbnail or a palette copy
    std::unique_ptr<TVDAnimator> FAnimator;
    void ReleaseImage();
    void FreeAnimator();

public:
    void SaveVDF(rtl::TStream &stream, TCustomVDData *vdData, int32_t itemNo, int32_t paraNo,
                 const TVDRawByteString &name, TVDMultiDrawItemPart *part, bool forceSameAsPrev,
                 PVDScreenAndDevice sad) override;
    bool ReadVDFLine(std::string_view s, TCustomVDData *vdData, int32_t &readType, int32_t lineNo,
                     int32_t lineCount, TVDRawByteString &name, TVDFReadMode &readMode,
                     TVDFReadState &readState, bool utf8, bool &assStyleNameUsed) override;

private:
    // The picture data line: the picture is made from it, or becomes none (and a warning) when
    // the data does not decode; bad hex refuses the line.
    bool LoadVDFPicture(std::string_view s, TCustomVDData *vdData, bool binary,
                        TVDFReadState &readState);
};

class TVDHotGraphicItemInfo : public TVDGraphicItemInfo {
    VD_DECLARE_ITEM_CLASS
public:
    explicit TVDHotGraphicItemInfo(TCustomVDData *vdData);
    TVDHotGraphicItemInfo(TCustomVDData *vdData, std::unique_ptr<gfx::TGraphic> image,
                          TVDVAlign vAlign);
    bool GetBoolValueEx(TVDItemBoolPropertyEx prop, const TVDStyle *vdStyle) const override;
    // Follows the link in a formatted document.
    void Execute(TCustomVDData *vdData) override;
};

} // namespace vizivodu
