// A picture (or a control's picture) cut between pages when printed: the multi-page draw item of
// a rectangular item with MinHeightOnPage, and its pieces.
#pragma once

#include "vizivodu/layout/printing/PtVDData.h"

namespace vizivodu {

class TVDRectItemInfo;

// One piece: ImgTop and ImgHeight are the rows of the item's content it shows (screen pixels);
// Height (printer pixels) includes the box's top and bottom.
class TVDImagePrintPart : public TVDMultiDrawItemPart {
public:
    using TVDMultiDrawItemPart::TVDMultiDrawItemPart;
    int32_t ImgTop = 0;
    int32_t ImgHeight = 0;

    int32_t GetImageHeight() override { return ImgHeight; }
    int32_t GetSoftPageBreakInfo() override { return ImgTop; }
};

// The printing draw item of a picture or control that may be split: no piece lower than the
// item's MinHeightOnPage (screen pixels). The size is the one given at creation.
class TVDMultiImagePrintInfo : public TVDMultiDrawItemInfo {
public:
    TVDMultiImagePrintInfo(TVDRectItemInfo &item, TCustomVDData *vdData, int32_t width,
                           int32_t height);

    TVDRectItemInfo *FItem;
    TCustomVDData *FVDData;

    void SetSize(int32_t, int32_t) override {}
    // The whole item as the first piece; false when the item is never split.
    bool InitSplit(const TVDScreenAndDevice &sad, bool ignorePageBreaks) override;
    // Whether the item may begin in y printer pixels: a first piece of at least MinHeightOnPage
    // leaving a rest of at least as much, or the whole item.
    bool CanSplitFirst(int32_t y, const TVDScreenAndDevice &sad, bool firstOnPage,
                       bool pageHasFootnotes, bool footnotesChangeHeight,
                       bool ignorePageBreaks) override;
    // Cuts the last piece to y printer pixels and adds the rest as a new piece; false when
    // either would be lower than MinHeightOnPage. EViziVoduError "Internal printing error"
    // before InitSplit.
    bool SplitAt(int32_t y, const TVDScreenAndDevice &sad, bool firstOnPage,
                 std::unique_ptr<TVDFootnoteRefList> &footnoteVDDataList, int32_t &maxHeight,
                 bool footnotesChangeHeight, bool ignorePageBreaks) override;

    TVDImagePrintPart *Part(int32_t index);
    // Piece part of the split picture that draw item dItemNo of vdData prints; nullptr when that
    // draw item is no split picture or has no such piece.
    static TVDImagePrintPart *SplitPart(TCustomVDData *vdData, int32_t dItemNo, int32_t part);

private:
    // Twice the box height (top and bottom) in screen pixels.
    int32_t BorderHeights() const;
    int32_t ContentHeight() const;
    int32_t MinHeight() const;
};

} // namespace vizivodu
