// Bullets (-6): small inline pictures taken by index from an image list that the application
// keeps; hotspots (-4): bullets that are hyperlinks and show a second image of the list while
// the mouse is over them.
#pragma once

#include "vizivodu/document/VDItem_Rect.h"

#include "platform/gfx/ImgList.h"

namespace vizivodu {

class TVDDocXSavingData;

// The item never owns its image list. It follows the list through a change link: a list that is
// destroyed leaves the item without one (invalid, drawing nothing) rather than pointing at freed
// memory.
class TVDBulletItemInfo : public TVDRectItemInfo {
    VD_DECLARE_ITEM_CLASS
public:
    // ---- DOCX (formats/ooxml/) ----
    void SaveOOXML(rtl::TStream &stream, TCustomVDData *vdData, int32_t itemNo,
                   TVDDocXSavingData &savingData, bool hiddenParent) override;
    // ---- RTF (formats/rtf/) ----
    void SaveRTF(rtl::TStream &stream, TCustomVDData *vdData, int32_t itemNo, int32_t level,
                 TVDRTFSavingData &savingData, TVDRTFDocType docType, bool hiddenParent) override;
    explicit TVDBulletItemInfo(TCustomVDData *vdData);
    TVDBulletItemInfo(TCustomVDData *vdData, int32_t imageIndex, gfx::TCustomImageList *imageList,
                      TVDVAlign vAlign);
    ~TVDBulletItemInfo() override;

    int32_t ImageIndex = 0;
    bool NoHTMLImageSize = false;
    rtl::UnicodeString Alt;

    gfx::TCustomImageList *GetImageList() const { return FLink.GetSender(); }
    void SetImageList(gfx::TCustomImageList *imageList);
    // The image shown: ImageIndex here (hotspots show another while hovered).
    virtual int32_t GetImageIndex(bool hot) const;

    // Copies the image list, ImageIndex and NoHTMLImageSize (not Alt).
    void Assign(const TCustomVDItemInfo &source) override;
    // The list's image size, plus the box.
    int32_t GetImageWidth(const TVDStyle *vdStyle) override;
    int32_t GetImageHeight(const TVDStyle *vdStyle) override;
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
    // vdbpValid: the item has an image list.
    bool GetBoolValue(TVDItemBoolProperty prop) const override;
    bool GetBoolValueEx(TVDItemBoolPropertyEx prop, const TVDStyle *vdStyle) const override;
    bool SetExtraIntProperty(TVDExtraItemProperty prop, int32_t value) override;
    bool GetExtraIntProperty(TVDExtraItemProperty prop, int32_t &value) const override;
    // 200: ImageIndex.
    bool SetExtraIntPropertyEx(int32_t prop, int32_t value) override;
    bool GetExtraIntPropertyEx(int32_t prop, int32_t &value) const override;
    bool SetExtraStrProperty(TVDExtraItemStrProperty prop, const rtl::UnicodeString &v) override;
    bool GetExtraStrProperty(TVDExtraItemStrProperty prop, rtl::UnicodeString &v) const override;
    int32_t GetVDFExtraPropertyCount() const override;
    void SaveVDFExtraProperties(rtl::TStream &stream) const override;
    // ---- HTML (bodies in formats/html/) ----
    void SaveToHTML(rtl::TStream &stream, TCustomVDData *vdData, int32_t itemNo,
                    const TVDRawByteString &text, TVDHTMLSaveArgs &args) override;
    // "ListTag ImageIndex" (the list by its Tag, 0 without one).
    TVDRawByteString GetVDFHeaderTail(TCustomVDData *vdData) const override;
    // The box, then the image (the hovered one of a hotspot), tinted by the selection.
    void Paint(int32_t x, int32_t y, gfx::TCanvas &canvas, TVDItemDrawStates state,
               TVDDrawLineInfo &dli, TCustomVDData *vdData, bool forMetafile) override;
    // The background colour (when set), then the image at (0, 0); false without a list.
    bool PrintToBitmap(gfx::TBitmap &bkgnd, bool preview, TCustomVDData *vdData, int32_t dItemNo,
                       int32_t part, TVDColorMode colorMode) override;

private:
    gfx::TChangeLink FLink;

public:
    bool ReadVDFHeaderTail(const char *&p, TCustomVDData *vdData, bool utf8,
                           bool &assStyleNameUsed) override;
    bool ReadVDFLine(std::string_view s, TCustomVDData *vdData, int32_t &readType, int32_t lineNo,
                     int32_t lineCount, TVDRawByteString &name, TVDFReadMode &readMode,
                     TVDFReadState &readState, bool utf8, bool &assStyleNameUsed) override;
    void SaveVDF(rtl::TStream &stream, TCustomVDData *vdData, int32_t itemNo, int32_t paraNo,
                 const TVDRawByteString &name, TVDMultiDrawItemPart *part, bool forceSameAsPrev,
                 PVDScreenAndDevice sad) override;

protected:
    // An index beyond the list: a warning, and 0 with vdfoConvLargeImageIdxToZero, else false.
    bool CheckVDFImageIndex(int32_t &index, TCustomVDData *vdData);
};

class TVDHotspotItemInfo : public TVDBulletItemInfo {
    VD_DECLARE_ITEM_CLASS
public:
    explicit TVDHotspotItemInfo(TCustomVDData *vdData);
    TVDHotspotItemInfo(TCustomVDData *vdData, int32_t imageIndex, int32_t hotImageIndex,
                       gfx::TCustomImageList *imageList, TVDVAlign vAlign);

    int32_t HotImageIndex = 0;

    int32_t GetImageIndex(bool hot) const override { return hot ? HotImageIndex : ImageIndex; }
    void Assign(const TCustomVDItemInfo &source) override;
    // A hyperlink; hot and cold when the two images differ.
    bool GetBoolValueEx(TVDItemBoolPropertyEx prop, const TVDStyle *vdStyle) const override;
    // Follows the link in a formatted document.
    void Execute(TCustomVDData *vdData) override;
    // 201: HotImageIndex.
    bool SetExtraIntPropertyEx(int32_t prop, int32_t value) override;
    bool GetExtraIntPropertyEx(int32_t prop, int32_t &value) const override;
    // The bullet's tail and HotImageIndex.
    TVDRawByteString GetVDFHeaderTail(TCustomVDData *vdData) const override;

public:
    bool ReadVDFHeaderTail(const char *&p, TCustomVDData *vdData, bool utf8,
                           bool &assStyleNameUsed) override;
    void SaveVDF(rtl::TStream &stream, TCustomVDData *vdData, int32_t itemNo, int32_t paraNo,
                 const TVDRawByteString &name, TVDMultiDrawItemPart *part, bool forceSameAsPrev,
                 PVDScreenAndDevice sad) override;
};

} // namespace vizivodu
