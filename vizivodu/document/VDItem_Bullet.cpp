// Bullets and hotspots: image-list images as inline boxes, their sizes, properties and drawing.
#include "vizivodu/document/VDItem_Bullet.h"

#include "vizivodu/document/VDFHelpers.h"
#include "vizivodu/document/VDItem_p.h"
#include "vizivodu/layout/formatting/CVDFData.h"
#include "vizivodu/layout/text/VDGrIn.h"
#include "vizivodu/styles/VDFuncs.h"
#include "vizivodu/styles/VDStyle.h"

#include "platform/gfx/Bitmap.h"

namespace vizivodu {

VD_DEFINE_ITEM_CLASS(TVDBulletItemInfo, TVDRectItemInfo);
VD_DEFINE_ITEM_CLASS(TVDHotspotItemInfo, TVDBulletItemInfo);

// ---- TVDBulletItemInfo ----

TVDBulletItemInfo::TVDBulletItemInfo(TCustomVDData *vdData) : TVDRectItemInfo(vdData) {
    StyleNo = StyleNoBullet;
}

TVDBulletItemInfo::TVDBulletItemInfo(TCustomVDData *vdData, int32_t imageIndex,
                                     gfx::TCustomImageList *imageList, TVDVAlign vAlign)
    : TVDBulletItemInfo(vdData) {
    ImageIndex = imageIndex;
    SetImageList(imageList);
    VAlign = vAlign;
}

TVDBulletItemInfo::~TVDBulletItemInfo() = default;

void TVDBulletItemInfo::SetImageList(gfx::TCustomImageList *imageList) {
    if (imageList) {
        imageList->RegisterChanges(&FLink);
    } else if (gfx::TCustomImageList *old = FLink.GetSender()) {
        old->UnRegisterChanges(&FLink);
    }
}

int32_t TVDBulletItemInfo::GetImageIndex(bool) const {
    return ImageIndex;
}

void TVDBulletItemInfo::Assign(const TCustomVDItemInfo &source) {
    if (const auto *bullet = dynamic_cast<const TVDBulletItemInfo *>(&source)) {
        SetImageList(bullet->GetImageList());
        ImageIndex = bullet->ImageIndex;
        NoHTMLImageSize = bullet->NoHTMLImageSize;
    }
    TVDRectItemInfo::Assign(source);
}

int32_t TVDBulletItemInfo::GetImageWidth(const TVDStyle *) {
    return GetImageList() ? GetImageList()->GetWidth() : 0;
}

int32_t TVDBulletItemInfo::GetImageHeight(const TVDStyle *) {
    return GetImageList() ? GetImageList()->GetHeight() : 0;
}

int32_t TVDBulletItemInfo::GetMinWidth(PVDScreenAndDevice sad, gfx::TCanvas *,
                                       TCustomVDData *vdData) {
    return GetWidthEx(vdData ? vdData->GetVDStyle() : nullptr, sad);
}

bool TVDBulletItemInfo::GetBoolValue(TVDItemBoolProperty prop) const {
    if (prop == vdbpValid) {
        return GetImageList() != nullptr;
    }
    return TVDRectItemInfo::GetBoolValue(prop);
}

bool TVDBulletItemInfo::GetBoolValueEx(TVDItemBoolPropertyEx prop, const TVDStyle *vdStyle) const {
    return prop == vdbpDisplayActiveState || TVDRectItemInfo::GetBoolValueEx(prop, vdStyle);
}

bool TVDBulletItemInfo::SetExtraIntProperty(TVDExtraItemProperty prop, int32_t value) {
    if (prop == vdepNoHTMLImageSize) {
        NoHTMLImageSize = value != 0;
        return true;
    }
    return TVDRectItemInfo::SetExtraIntProperty(prop, value);
}

bool TVDBulletItemInfo::GetExtraIntProperty(TVDExtraItemProperty prop, int32_t &value) const {
    if (prop == vdepNoHTMLImageSize) {
        value = NoHTMLImageSize ? 1 : 0;
        return true;
    }
    return TVDRectItemInfo::GetExtraIntProperty(prop, value);
}

bool TVDBulletItemInfo::SetExtraIntPropertyEx(int32_t prop, int32_t value) {
    if (prop == 200) {
        ImageIndex = value;
        return true;
    }
    return TVDRectItemInfo::SetExtraIntPropertyEx(prop, value);
}

bool TVDBulletItemInfo::GetExtraIntPropertyEx(int32_t prop, int32_t &value) const {
    if (prop == 200) {
        value = ImageIndex;
        return true;
    }
    return TVDRectItemInfo::GetExtraIntPropertyEx(prop, value);
}

bool TVDBulletItemInfo::SetExtraStrProperty(TVDExtraItemStrProperty prop,
                                            const rtl::UnicodeString &value) {
    if (prop == vdespAlt) {
        Alt = value;
        return true;
    }
    return TVDRectItemInfo::SetExtraStrProperty(prop, value);
}

bool TVDBulletItemInfo::GetExtraStrProperty(TVDExtraItemStrProperty prop,
                                            rtl::UnicodeString &value) const {
    if (prop == vdespAlt) {
        value = Alt;
        return true;
    }
    return TVDRectItemInfo::GetExtraStrProperty(prop, value);
}

int32_t TVDBulletItemInfo::GetVDFExtraPropertyCount() const {
    return TVDRectItemInfo::GetVDFExtraPropertyCount() + (NoHTMLImageSize ? 1 : 0) +
           (Alt.empty() ? 0 : 1);
}

void TVDBulletItemInfo::SaveVDFExtraProperties(rtl::TStream &stream) const {
    TVDRectItemInfo::SaveVDFExtraProperties(stream);
    if (NoHTMLImageSize) {
        WriteVDFExtraIntProperty(stream, vdepNoHTMLImageSize, 1);
    }
    if (!Alt.empty()) {
        WriteVDFExtraStrProperty(stream, vdespAlt, Alt);
    }
}

TVDRawByteString TVDBulletItemInfo::GetVDFHeaderTail(TCustomVDData *) const {
    const intptr_t tag = GetImageList() ? GetImageList()->GetTag() : 0;
    return std::to_string(static_cast<int32_t>(tag)) + " " + std::to_string(ImageIndex);
}

void TVDBulletItemInfo::Paint(int32_t x, int32_t y, gfx::TCanvas &canvas, TVDItemDrawStates state,
                              TVDDrawLineInfo &dli, TCustomVDData *vdData, bool) {
    PaintDef(x, y, canvas, state, dli, vdData);
    TVDStyle *style = vdData ? vdData->GetVDStyle() : nullptr;
    if (!style || !GetImageList()) {
        return;
    }
    gfx::TColor blend = gfx::clNone;
    if (state.Contains(vdidsSelected)) {
        blend = state.Contains(vdidsControlFocused) ? style->GetSelColor()
                                                    : style->GetInactiveSelColor();
    }
    style->GetGraphicInterface().DrawImageList(
        canvas, *GetImageList(), GetImageIndex(state.Contains(vdidsHover)),
        x + style->GetAsPixels(GetBorderWidth()), y + style->GetAsPixels(GetBorderHeight()), blend);
}

bool TVDBulletItemInfo::PrintToBitmap(gfx::TBitmap &bkgnd, bool, TCustomVDData *, int32_t, int32_t,
                                      TVDColorMode) {
    if (!GetImageList()) {
        return false;
    }
    gfx::TCanvas &canvas = bkgnd.GetCanvas();
    if (BackgroundColor != gfx::clNone) {
        canvas.GetBrush().SetStyle(gfx::bsSolid);
        canvas.GetBrush().SetColor(BackgroundColor);
        canvas.FillRect(rtl::Rect(0, 0, bkgnd.GetWidth(), bkgnd.GetHeight()));
    }
    GetImageList()->Draw(canvas, 0, 0, ImageIndex, gfx::deEnabled);
    return true;
}

// ---- TVDHotspotItemInfo ----

TVDHotspotItemInfo::TVDHotspotItemInfo(TCustomVDData *vdData) : TVDBulletItemInfo(vdData) {
    StyleNo = StyleNoHotspot;
}

TVDHotspotItemInfo::TVDHotspotItemInfo(TCustomVDData *vdData, int32_t imageIndex,
                                       int32_t hotImageIndex, gfx::TCustomImageList *imageList,
                                       TVDVAlign vAlign)
    : TVDBulletItemInfo(vdData, imageIndex, imageList, vAlign) {
    StyleNo = StyleNoHotspot;
    HotImageIndex = hotImageIndex;
}

void TVDHotspotItemInfo::Assign(const TCustomVDItemInfo &source) {
    if (const auto *hotspot = dynamic_cast<const TVDHotspotItemInfo *>(&source)) {
        HotImageIndex = hotspot->HotImageIndex;
    }
    TVDBulletItemInfo::Assign(source);
}

bool TVDHotspotItemInfo::GetBoolValueEx(TVDItemBoolPropertyEx prop, const TVDStyle *vdStyle) const {
    switch (prop) {
    case vdbpJump:
    case vdbpAllowsFocus:
    case vdbpXORFocus:
        return true;
    case vdbpHotColdJump:
        return ImageIndex != HotImageIndex;
    default:
        return TVDBulletItemInfo::GetBoolValueEx(prop, vdStyle);
    }
}

void TVDHotspotItemInfo::Execute(TCustomVDData *vdData) {
    FollowJump(vdData, JumpID);
}

bool TVDHotspotItemInfo::SetExtraIntPropertyEx(int32_t prop, int32_t value) {
    if (prop == 201) {
        HotImageIndex = value;
        return true;
    }
    return TVDBulletItemInfo::SetExtraIntPropertyEx(prop, value);
}

bool TVDHotspotItemInfo::GetExtraIntPropertyEx(int32_t prop, int32_t &value) const {
    if (prop == 201) {
        value = HotImageIndex;
        return true;
    }
    return TVDBulletItemInfo::GetExtraIntPropertyEx(prop, value);
}

TVDRawByteString TVDHotspotItemInfo::GetVDFHeaderTail(TCustomVDData *vdData) const {
    return TVDBulletItemInfo::GetVDFHeaderTail(vdData) + " " + std::to_string(HotImageIndex);
}

} // namespace vizivodu
