// Rectangular items and picture items: box sizes, extra properties, their native-format lines,
// picture sizes and ownership.
#include "vizivodu/document/VDItem_Rect.h"

#include "vizivodu/document/VDFHelpers.h"
#include "vizivodu/document/VDGrHandler.h"
#include "vizivodu/document/VDItem_p.h"
#include "vizivodu/layout/viewer/VDAnimate.h"
#include "vizivodu/styles/VDStyle.h"

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Graphic.h"

#include <algorithm>

namespace vizivodu {

VD_DEFINE_ITEM_CLASS(TVDRectItemInfo, TVDSimpleRectItemInfo);
VD_DEFINE_ITEM_CLASS(TVDGraphicItemInfo, TVDRectItemInfo);
VD_DEFINE_ITEM_CLASS(TVDHotGraphicItemInfo, TVDGraphicItemInfo);

namespace {

TVDStyleLength Converted(TVDStyle *style, TVDStyleLength value, int32_t newUnits) {
    return TVDStyle::GetAsDifferentUnits(style, value, static_cast<TVDStyleUnits>(newUnits));
}

} // namespace

// ---- TVDRectItemInfo ----

void TVDRectItemInfo::Assign(const TCustomVDItemInfo &source) {
    if (const auto *rect = dynamic_cast<const TVDRectItemInfo *>(&source)) {
        FMinHeightOnPage = rect->FMinHeightOnPage;
        VAlign = rect->VAlign;
        VShift = rect->VShift;
        VShiftAbs = rect->VShiftAbs;
        Spacing = rect->Spacing;
        BorderWidth = rect->BorderWidth;
        BorderColor = rect->BorderColor;
        BackgroundColor = rect->BackgroundColor;
        OuterVSpacing = rect->OuterVSpacing;
        OuterHSpacing = rect->OuterHSpacing;
    }
    TVDSimpleRectItemInfo::Assign(source);
}

bool TVDRectItemInfo::GetBoolValue(TVDItemBoolProperty prop) const {
    if (prop == vdbpFloating) {
        return VAlign == vdvaLeft || VAlign == vdvaRight;
    }
    return TVDSimpleRectItemInfo::GetBoolValue(prop);
}

void TVDRectItemInfo::ConvertToDifferentUnits(int32_t newUnits, TVDStyle *vdStyle, bool recursive) {
    Spacing = Converted(vdStyle, Spacing, newUnits);
    BorderWidth = Converted(vdStyle, BorderWidth, newUnits);
    OuterHSpacing = Converted(vdStyle, OuterHSpacing, newUnits);
    OuterVSpacing = Converted(vdStyle, OuterVSpacing, newUnits);
    if (VShiftAbs) {
        VShift = Converted(vdStyle, VShift, newUnits);
    }
    TVDSimpleRectItemInfo::ConvertToDifferentUnits(newUnits, vdStyle, recursive);
}

TVDRawByteString TVDRectItemInfo::GetVDFHeaderTail(TCustomVDData *) const {
    return std::to_string(static_cast<int>(VAlign));
}

bool TVDRectItemInfo::ReadVDFHeaderTail(const char *&p, TCustomVDData *, bool, bool &) {
    if (*p == '\0' || *p == '\n' || *p == '\r') {
        VAlign = vdvaBaseline;
        return true;
    }
    int32_t value = 0;
    if (!VDFReadInteger(p, value) || value < vdvaBaseline || value > vdvaRight) {
        return false;
    }
    VAlign = static_cast<TVDVAlign>(value);
    return true;
}

bool TVDRectItemInfo::SetExtraIntProperty(TVDExtraItemProperty prop, int32_t value) {
    switch (prop) {
    case vdepVShift:
        VShift = value;
        return true;
    case vdepVShiftAbs:
        VShiftAbs = value != 0;
        return true;
    case vdepSpacing:
        Spacing = std::max(0, value);
        return true;
    case vdepBorderWidth:
        BorderWidth = std::max(0, value);
        return true;
    case vdepColor:
        BackgroundColor = static_cast<TColor>(value);
        return true;
    case vdepBorderColor:
        BorderColor = static_cast<TColor>(value);
        return true;
    case vdepOuterHSpacing:
        OuterHSpacing = std::max(0, value);
        return true;
    case vdepOuterVSpacing:
        OuterVSpacing = std::max(0, value);
        return true;
    case vdepVAlign:
        if (value < vdvaBaseline || value > vdvaRight) {
            return false; // no such alignment
        }
        VAlign = static_cast<TVDVAlign>(value);
        return true;
    default:
        return TVDSimpleRectItemInfo::SetExtraIntProperty(prop, value);
    }
}

bool TVDRectItemInfo::GetExtraIntProperty(TVDExtraItemProperty prop, int32_t &value) const {
    switch (prop) {
    case vdepVShift:
        value = VShift;
        return true;
    case vdepVShiftAbs:
        value = VShiftAbs ? 1 : 0;
        return true;
    case vdepSpacing:
        value = Spacing;
        return true;
    case vdepBorderWidth:
        value = BorderWidth;
        return true;
    case vdepColor:
        value = static_cast<int32_t>(BackgroundColor);
        return true;
    case vdepBorderColor:
        value = static_cast<int32_t>(BorderColor);
        return true;
    case vdepOuterHSpacing:
        value = OuterHSpacing;
        return true;
    case vdepOuterVSpacing:
        value = OuterVSpacing;
        return true;
    case vdepVAlign:
        value = VAlign;
        return true;
    default:
        return TVDSimpleRectItemInfo::GetExtraIntProperty(prop, value);
    }
}

int32_t TVDRectItemInfo::GetVDFExtraPropertyCount() const {
    return TVDSimpleRectItemInfo::GetVDFExtraPropertyCount() + (VShift != 0) + VShiftAbs +
           (Spacing != 1) + (BorderWidth != 0) + (BorderColor != 0) +
           (BackgroundColor != gfx::clNone) + (OuterHSpacing != 0) + (OuterVSpacing != 0);
}

void TVDRectItemInfo::SaveVDFExtraProperties(rtl::TStream &stream) const {
    TVDSimpleRectItemInfo::SaveVDFExtraProperties(stream);
    if (VShift != 0) {
        WriteVDFExtraIntProperty(stream, vdepVShift, VShift);
    }
    if (VShiftAbs) {
        WriteVDFExtraIntProperty(stream, vdepVShiftAbs, 1);
    }
    if (Spacing != 1) {
        WriteVDFExtraIntProperty(stream, vdepSpacing, Spacing);
    }
    if (BorderWidth != 0) {
        WriteVDFExtraIntProperty(stream, vdepBorderWidth, BorderWidth);
    }
    if (BorderColor != 0) {
        WriteVDFExtraIntProperty(stream, vdepBorderColor, static_cast<int32_t>(BorderColor));
    }
    if (BackgroundColor != gfx::clNone) {
        WriteVDFExtraIntProperty(stream, vdepColor, static_cast<int32_t>(BackgroundColor));
    }
    if (OuterHSpacing != 0) {
        WriteVDFExtraIntProperty(stream, vdepOuterHSpacing, OuterHSpacing);
    }
    if (OuterVSpacing != 0) {
        WriteVDFExtraIntProperty(stream, vdepOuterVSpacing, OuterVSpacing);
    }
}

// ---- TVDGraphicItemInfo ----

TVDGraphicItemInfo::TVDGraphicItemInfo(TCustomVDData *vdData) : TVDRectItemInfo(vdData) {
    StyleNo = StyleNoPicture;
}

TVDGraphicItemInfo::TVDGraphicItemInfo(TCustomVDData *vdData, std::unique_ptr<gfx::TGraphic> image,
                                       TVDVAlign vAlign)
    : TVDGraphicItemInfo(vdData) {
    FImage = std::move(image);
    VAlign = vAlign;
}

TVDGraphicItemInfo::~TVDGraphicItemInfo() {
    FreeAnimator();
    ReleaseImage();
}

void TVDGraphicItemInfo::ReleaseImage() {
    if (FShared) {
        (void)FImage.release(); // owned elsewhere
    } else {
        FImage.reset();
    }
}

void TVDGraphicItemInfo::SetImage(std::unique_ptr<gfx::TGraphic> image, TCustomVDData *vdData) {
    if (image.get() == FImage.get()) {
        (void)image.release(); // the same picture: the item keeps holding it
        return;
    }
    ReleaseImage();
    FImage = std::move(image);
    FreeThumbnail();
    UpdateAnimator(vdData);
}

void TVDGraphicItemInfo::Assign(const TCustomVDItemInfo &source) {
    if (const auto *picture = dynamic_cast<const TVDGraphicItemInfo *>(&source)) {
        Alt = picture->Alt;
        FResizable = picture->FResizable;
        ImageFileName = picture->ImageFileName;
        ImageWidth = picture->ImageWidth;
        ImageHeight = picture->ImageHeight;
        NoHTMLImageSize = picture->NoHTMLImageSize;
        ReleaseImage();
        // The copy always owns its own image, whatever the source's sharing.
        FShared = false;
        FImageCopy.reset();
        TVDGraphicHandler *handler = GlobalGraphicHandler;
        if (picture->FImage && handler) {
            FImage = handler->Clone(picture->FImage.get());
            if (FImage) {
                FImage->SetTransparent(picture->FImage->GetTransparent());
            }
        }
        if (picture->FImageCopy && handler) {
            FImageCopy = handler->Clone(picture->FImageCopy.get());
        }
        FHasThumbnail = picture->FHasThumbnail && FImageCopy;
    }
    TVDRectItemInfo::Assign(source);
}

int32_t TVDGraphicItemInfo::GetImageWidth(const TVDStyle *vdStyle) {
    if (ImageWidth > 0) {
        return ToPixels(vdStyle, ImageWidth);
    }
    return FImage ? FImage->GetWidth() : 0;
}

int32_t TVDGraphicItemInfo::GetImageHeight(const TVDStyle *vdStyle) {
    if (ImageHeight > 0) {
        return ToPixels(vdStyle, ImageHeight);
    }
    return FImage ? FImage->GetHeight() : 0;
}

int32_t TVDGraphicItemInfo::GetImageWidthEx(const TVDStyle *vdStyle, PVDScreenAndDevice sad) {
    if (ImageWidth > 0) {
        return ToDeviceX(vdStyle, ImageWidth, sad);
    }
    const int32_t w = FImage ? FImage->GetWidth() : 0;
    return sad ? ScreenToDeviceX(w, *sad) : w;
}

int32_t TVDGraphicItemInfo::GetImageHeightEx(const TVDStyle *vdStyle, PVDScreenAndDevice sad) {
    if (ImageHeight > 0) {
        return ToDeviceY(vdStyle, ImageHeight, sad);
    }
    const int32_t h = FImage ? FImage->GetHeight() : 0;
    return sad ? ScreenToDeviceY(h, *sad) : h;
}

int32_t TVDRectItemInfo::BoxedWidth(const TVDStyle *vdStyle) {
    return GetImageWidth(vdStyle) + 2 * ToPixels(vdStyle, GetBorderWidth());
}

int32_t TVDRectItemInfo::BoxedHeight(const TVDStyle *vdStyle) {
    return GetImageHeight(vdStyle) + 2 * ToPixels(vdStyle, GetBorderHeight());
}

int32_t TVDRectItemInfo::BoxedWidthEx(const TVDStyle *vdStyle, PVDScreenAndDevice sad) {
    return GetImageWidthEx(vdStyle, sad) + 2 * ToDeviceX(vdStyle, GetBorderWidth(), sad);
}

int32_t TVDRectItemInfo::BoxedHeightEx(const TVDStyle *vdStyle, PVDScreenAndDevice sad) {
    return GetImageHeightEx(vdStyle, sad) + 2 * ToDeviceY(vdStyle, GetBorderHeight(), sad);
}

int32_t TVDGraphicItemInfo::GetMinWidth(PVDScreenAndDevice sad, gfx::TCanvas *,
                                        TCustomVDData *vdData) {
    return GetWidthEx(vdData ? vdData->GetVDStyle() : nullptr, sad);
}

bool TVDGraphicItemInfo::GetBoolValue(TVDItemBoolProperty prop) const {
    switch (prop) {
    case vdbpValid:
        return FImage != nullptr;
    case vdbpDrawingChangesFont:
        return true;
    case vdbpResizable:
        return FImage && FResizable && GlobalGraphicHandler &&
               GlobalGraphicHandler->IsResizeable(*FImage);
    case vdbpResizeHandlesOutside:
        return FAnimator != nullptr;
    default:
        return TVDRectItemInfo::GetBoolValue(prop);
    }
}

bool TVDGraphicItemInfo::GetBoolValueEx(TVDItemBoolPropertyEx prop, const TVDStyle *vdStyle) const {
    switch (prop) {
    case vdbpDisplayActiveState:
    case vdbpPrintToBMPIfNoMetafiles:
        return true;
    case vdbpPrintToBMP:
        return !(FImage && GlobalGraphicHandler && GlobalGraphicHandler->IsVectorGraphic(*FImage));
    default:
        return TVDRectItemInfo::GetBoolValueEx(prop, vdStyle);
    }
}

void TVDGraphicItemInfo::FreeThumbnail() {
    if (FHasThumbnail) {
        FImageCopy.reset();
    }
    FHasThumbnail = false;
}

void TVDGraphicItemInfo::MovingToUndoList(int32_t itemNo, TCustomVDData *vdData) {
    FImageCopy.reset();
    FHasThumbnail = false;
    FreeAnimator();
    TVDRectItemInfo::MovingToUndoList(itemNo, vdData);
}

void TVDGraphicItemInfo::ConvertToDifferentUnits(int32_t newUnits, TVDStyle *vdStyle,
                                                 bool recursive) {
    TVDRectItemInfo::ConvertToDifferentUnits(newUnits, vdStyle, recursive);
    ImageWidth = Converted(vdStyle, ImageWidth, newUnits);
    ImageHeight = Converted(vdStyle, ImageHeight, newUnits);
}

bool TVDGraphicItemInfo::SetExtraIntProperty(TVDExtraItemProperty prop, int32_t value) {
    switch (prop) {
    case vdepImageWidth:
        ImageWidth = value;
        return true;
    case vdepImageHeight:
        ImageHeight = value;
        return true;
    case vdepMinHeightOnPage:
        FMinHeightOnPage = value;
        return true;
    case vdepResizable:
        FResizable = value != 0;
        return true;
    case vdepNoHTMLImageSize:
        NoHTMLImageSize = value != 0;
        return true;
    case vdepAnimationInterval:
        Interval = value;
        return true;
    case vdepShared:
        FShared = value != 0;
        return true;
    case vdepTransparent:
        if (auto *bitmap = dynamic_cast<gfx::TBitmap *>(FImage.get())) {
            bitmap->SetTransparent(value != 0);
            return true;
        }
        return false;
    case vdepTransparentMode:
    case vdepTransparentColor:
        return false; // bitmaps here have no colour-key settings of their own
    default:
        return TVDRectItemInfo::SetExtraIntProperty(prop, value);
    }
}

bool TVDGraphicItemInfo::GetExtraIntProperty(TVDExtraItemProperty prop, int32_t &value) const {
    switch (prop) {
    case vdepImageWidth:
        value = ImageWidth;
        return true;
    case vdepImageHeight:
        value = ImageHeight;
        return true;
    case vdepMinHeightOnPage:
        value = FMinHeightOnPage;
        return true;
    case vdepResizable:
        value = FResizable;
        return true;
    case vdepNoHTMLImageSize:
        value = NoHTMLImageSize;
        return true;
    case vdepAnimationInterval:
        value = Interval;
        return true;
    case vdepShared:
        value = FShared;
        return true;
    case vdepTransparent:
        if (const auto *bitmap = dynamic_cast<const gfx::TBitmap *>(FImage.get())) {
            value = bitmap->GetTransparent();
            return true;
        }
        return false;
    case vdepTransparentMode:
    case vdepTransparentColor:
        return false;
    default:
        return TVDRectItemInfo::GetExtraIntProperty(prop, value);
    }
}

bool TVDGraphicItemInfo::SetExtraStrProperty(TVDExtraItemStrProperty prop,
                                             const rtl::UnicodeString &value) {
    switch (prop) {
    case vdespAlt:
        Alt = value;
        return true;
    case vdespImageFileName:
        ImageFileName = value;
        return true;
    default:
        return TVDRectItemInfo::SetExtraStrProperty(prop, value);
    }
}

bool TVDGraphicItemInfo::GetExtraStrProperty(TVDExtraItemStrProperty prop,
                                             rtl::UnicodeString &value) const {
    switch (prop) {
    case vdespAlt:
        value = Alt;
        return true;
    case vdespImageFileName:
        value = ImageFileName;
        return true;
    default:
        return TVDRectItemInfo::GetExtraStrProperty(prop, value);
    }
}

int32_t TVDGraphicItemInfo::GetVDFExtraPropertyCount() const {
    const auto *bitmap = dynamic_cast<const gfx::TBitmap *>(FImage.get());
    const bool transparentBitmap = bitmap && bitmap->GetTransparent();
    return TVDRectItemInfo::GetVDFExtraPropertyCount() + !FResizable + (ImageWidth > 0) +
           (ImageHeight > 0) + (FMinHeightOnPage > 0) + NoHTMLImageSize + (Interval > 0) + FShared +
           transparentBitmap + !ImageFileName.empty() + !Alt.empty();
}

void TVDGraphicItemInfo::SaveVDFExtraProperties(rtl::TStream &stream) const {
    TVDRectItemInfo::SaveVDFExtraProperties(stream);
    if (!FResizable) {
        WriteVDFExtraIntProperty(stream, vdepResizable, 0);
    }
    if (ImageWidth > 0) {
        WriteVDFExtraIntProperty(stream, vdepImageWidth, ImageWidth);
    }
    if (ImageHeight > 0) {
        WriteVDFExtraIntProperty(stream, vdepImageHeight, ImageHeight);
    }
    if (FMinHeightOnPage > 0) {
        WriteVDFExtraIntProperty(stream, vdepMinHeightOnPage, FMinHeightOnPage);
    }
    if (NoHTMLImageSize) {
        WriteVDFExtraIntProperty(stream, vdepNoHTMLImageSize, 1);
    }
    if (Interval > 0) {
        WriteVDFExtraIntProperty(stream, vdepAnimationInterval, Interval);
    }
    if (FShared) {
        WriteVDFExtraIntProperty(stream, vdepShared, 1);
    }
    const auto *bitmap = dynamic_cast<const gfx::TBitmap *>(FImage.get());
    if (bitmap && bitmap->GetTransparent()) {
        WriteVDFExtraIntProperty(stream, vdepTransparent, 1);
    }
    if (!ImageFileName.empty()) {
        WriteVDFExtraStrProperty(stream, vdespImageFileName, ImageFileName);
    }
    if (!Alt.empty()) {
        WriteVDFExtraStrProperty(stream, vdespAlt, Alt);
    }
}

// ---- TVDHotGraphicItemInfo ----

TVDHotGraphicItemInfo::TVDHotGraphicItemInfo(TCustomVDData *vdData) : TVDGraphicItemInfo(vdData) {
    StyleNo = StyleNoHotPicture;
}

TVDHotGraphicItemInfo::TVDHotGraphicItemInfo(TCustomVDData *vdData,
                                             std::unique_ptr<gfx::TGraphic> image, TVDVAlign vAlign)
    : TVDGraphicItemInfo(vdData, std::move(image), vAlign) {
    StyleNo = StyleNoHotPicture;
}

bool TVDHotGraphicItemInfo::GetBoolValueEx(TVDItemBoolPropertyEx prop,
                                           const TVDStyle *vdStyle) const {
    if (prop == vdbpJump || prop == vdbpAllowsFocus || prop == vdbpXORFocus) {
        return true;
    }
    return TVDGraphicItemInfo::GetBoolValueEx(prop, vdStyle);
}

} // namespace vizivodu
