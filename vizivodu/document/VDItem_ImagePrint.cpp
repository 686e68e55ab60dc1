// Splitting a picture or a control's picture between pages: the first piece is the whole item,
// each cut leaves the page's piece and starts the rest on the next page.
#include "vizivodu/document/VDItem_ImagePrint.h"

#include "vizivodu/document/VDError.h"
#include "vizivodu/document/VDItem_Rect.h"
#include "vizivodu/document/VDItem_p.h"
#include "vizivodu/styles/VDFuncs.h"
#include "vizivodu/styles/VDStyle.h"

namespace vizivodu {

TVDMultiImagePrintInfo::TVDMultiImagePrintInfo(TVDRectItemInfo &item, TCustomVDData *vdData,
                                               int32_t width, int32_t height)
    : FItem(&item), FVDData(vdData) {
    Width = width;
    Height = height;
}

TVDImagePrintPart *TVDMultiImagePrintInfo::Part(int32_t index) {
    return static_cast<TVDImagePrintPart *>(GetPartsList()[index]);
}

TVDImagePrintPart *TVDMultiImagePrintInfo::SplitPart(TCustomVDData *vdData, int32_t dItemNo,
                                                     int32_t part) {
    auto *split = dynamic_cast<TVDMultiImagePrintInfo *>(DrawItemOf(vdData, dItemNo));
    if (!split || part < 0 || part >= split->GetPartsList().Count()) {
        return nullptr;
    }
    return split->Part(part);
}

int32_t TVDMultiImagePrintInfo::BorderHeights() const {
    const TVDStyle *style = FVDData ? FVDData->GetVDStyle() : nullptr;
    return 2 * ToPixels(style, FItem->GetBorderHeight());
}

int32_t TVDMultiImagePrintInfo::ContentHeight() const {
    return FItem->GetImageHeight(FVDData ? FVDData->GetVDStyle() : nullptr);
}

int32_t TVDMultiImagePrintInfo::MinHeight() const {
    return FItem->FMinHeightOnPage;
}

// Pagination may meet the item again after a page ended before it: the pieces start afresh.
bool TVDMultiImagePrintInfo::InitSplit(const TVDScreenAndDevice &sad, bool) {
    GetPartsList().Clear();
    if (MinHeight() == 0) {
        return false;
    }
    auto part = std::make_unique<TVDImagePrintPart>(this);
    part->ImgTop = 0;
    part->ImgHeight = ContentHeight();
    part->Height = ScreenToDeviceY(BorderHeights() + part->ImgHeight, sad);
    GetPartsList().Add(std::move(part));
    return true;
}

bool TVDMultiImagePrintInfo::CanSplitFirst(int32_t y, const TVDScreenAndDevice &sad, bool, bool,
                                           bool, bool) {
    const int32_t room = DeviceToScreenY(y, sad);
    const int32_t b = BorderHeights();
    const int32_t min = MinHeight();
    const TVDStyle *style = FVDData ? FVDData->GetVDStyle() : nullptr;
    if (room <= 0 || !FItem->GetBoolValueEx(vdbpPrintToBMP, style) || min < 1 ||
        FItem->GetBoolValue(vdbpFloating) || room < b + min) {
        return false;
    }
    const int32_t h = ContentHeight();
    return h - room >= min || room > h + b;
}

bool TVDMultiImagePrintInfo::SplitAt(int32_t y, const TVDScreenAndDevice &sad, bool,
                                     std::unique_ptr<TVDFootnoteRefList> &, int32_t &, bool, bool) {
    const int32_t min = MinHeight();
    if (min <= 0) {
        return false;
    }
    if (GetPartsList().Count() == 0) {
        throw EViziVoduError(rtl::UnicodeString(errmsg::InternalPrinting));
    }
    TVDImagePrintPart &last = *Part(GetPartsList().Count() - 1);
    if (min >= last.ImgHeight) {
        return false;
    }
    const int32_t b = BorderHeights();
    const int32_t cut = DeviceToScreenY(y, sad) - b;
    const int32_t rest = last.ImgHeight - cut;
    if (rest < min || cut < min) {
        return false;
    }
    last.ImgHeight = cut;
    last.Height = ScreenToDeviceY(cut + b, sad);
    auto next = std::make_unique<TVDImagePrintPart>(this);
    next->ImgTop = last.ImgTop + cut;
    next->ImgHeight = rest;
    next->Height = ScreenToDeviceY(rest + b, sad);
    GetPartsList().Add(std::move(next));
    return true;
}

} // namespace vizivodu
