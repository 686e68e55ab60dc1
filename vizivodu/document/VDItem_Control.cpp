// Control items: the control's window kept in step with the item (parent, place, visibility),
// the item's sizes and properties, and its picture on paper.
#include "vizivodu/document/VDItem_Control.h"

#include "vizivodu/document/VDItem_ImagePrint.h"
#include "vizivodu/document/VDItem_p.h"
#include "vizivodu/layout/formatting/CVDFData.h"
#include "vizivodu/layout/printing/PtblVD.h"
#include "vizivodu/layout/text/VDGrIn.h"
#include "vizivodu/layout/viewer/VDScroll.h"
#include "vizivodu/styles/VDFuncs.h"
#include "vizivodu/styles/VDStyle.h"

#include "platform/gfx/Bitmap.h"
#include "platform/ui/WinControl.h"

#include <algorithm>

namespace vizivodu {

VD_DEFINE_ITEM_CLASS(TVDControlItemInfo, TVDRectItemInfo);

namespace {

const TVDScreenAndDevice &ScreenOnly() {
    static const TVDScreenAndDevice identity{96, 96, 96, 96, 0, 0};
    return identity;
}

} // namespace

TVDControlItemInfo::TVDControlItemInfo(TCustomVDData *vdData) : TVDRectItemInfo(vdData) {
    StyleNo = StyleNoControl;
}

TVDControlItemInfo::TVDControlItemInfo(TCustomVDData *vdData, std::unique_ptr<ui::TControl> control,
                                       TVDVAlign vAlign)
    : TVDControlItemInfo(vdData) {
    FControl = std::move(control);
    VAlign = vAlign;
}

TVDControlItemInfo::~TVDControlItemInfo() {
    if (FShared) {
        (void)FControl.release(); // owned elsewhere
    }
}

void TVDControlItemInfo::SwapControl(ui::TControl *control) {
    (void)FControl.release(); // the handler freed or keeps the old one
    FControl.reset(control);
}

void TVDControlItemInfo::SetParentOf(ui::TControl &control, TCustomVDData *vdData) {
    control.SetParent(vdData ? dynamic_cast<ui::TWinControl *>(vdData->GetParentControl())
                             : nullptr);
}

void TVDControlItemInfo::Assign(const TCustomVDItemInfo &source) {
    if (const auto *other = dynamic_cast<const TVDControlItemInfo *>(&source)) {
        PercentWidth = other->PercentWidth;
        FResizable = other->FResizable;
        FVisible = other->FVisible;
    }
    TVDRectItemInfo::Assign(source);
}

int32_t TVDControlItemInfo::GetImageWidth(const TVDStyle *) {
    return FControl ? FControl->GetWidth() : 0;
}

int32_t TVDControlItemInfo::GetImageHeight(const TVDStyle *) {
    return FControl ? FControl->GetHeight() : 0;
}

int32_t TVDControlItemInfo::GetMinWidth(PVDScreenAndDevice sad, gfx::TCanvas *,
                                        TCustomVDData *vdData) {
    const TVDStyle *style = vdData ? vdData->GetVDStyle() : nullptr;
    if (PercentWidth == 0) {
        return GetWidthEx(style, sad);
    }
    // A control stretched to the document width can shrink to 20 pixels.
    return (sad ? ScreenToDeviceX(20, *sad) : 20) + 2 * ToDeviceX(style, GetBorderWidth(), sad);
}

// A control without a parent window is never shown: it would stand on the desktop.
void TVDControlItemInfo::AdjustInserted(int32_t x, int32_t y, bool adjustY, TCustomVDData *vdData) {
    if (!FControl) {
        return;
    }
    const TVDStyle *style = vdData ? vdData->GetVDStyle() : nullptr;
    FControl->SetLeft(x + ToPixels(style, GetBorderWidth()));
    FControl->SetTag(y + ToPixels(style, GetBorderHeight()));
    if (adjustY) {
        TVDScroller::SetControlTopFromTag(*FControl);
    }
    FControl->SetVisible(FVisible && FControl->GetParent() &&
                         !(vdData && vdData->IsRotationUsed()));
}

void TVDControlItemInfo::OnDocWidthChange(int32_t docWidth, TVDDrawLineInfo &dli, bool printing,
                                          gfx::TCanvas &, TCustomVDData *vdData,
                                          PVDScreenAndDevice sad, int32_t &hShift, int32_t &desc,
                                          bool, bool, bool) {
    hShift = 0;
    const TVDStyle *style = vdData ? vdData->GetVDStyle() : nullptr;
    if (PercentWidth < 1 || PercentWidth > 100) {
        desc = ToPixels(style, GetBorderHeight());
        return;
    }
    const TVDScreenAndDevice &s = sad ? *sad : ScreenOnly();
    dli.Width = docWidth * PercentWidth / 100;
    if (!printing && FControl) {
        FControl->SetWidth(dli.Width - 2 * ToPixels(style, GetBorderWidth()));
    }
    const int32_t border = ToDeviceY(style, GetBorderHeight(), &s);
    dli.Height = 2 * border + ScreenToDeviceY(GetImageHeight(style), s);
    desc = border;
}

bool TVDControlItemInfo::GetBoolValue(TVDItemBoolProperty prop) const {
    switch (prop) {
    case vdbpValid:
        return FControl != nullptr;
    case vdbpResizable:
        return FResizable && PercentWidth == 0;
    case vdbpCanSaveUnicode:
    case vdbpImmediateControlOwner:
    case vdbpResizeHandlesOutside:
        return true;
    default:
        return TVDRectItemInfo::GetBoolValue(prop);
    }
}

bool TVDControlItemInfo::GetBoolValueEx(TVDItemBoolPropertyEx prop, const TVDStyle *vdStyle) const {
    switch (prop) {
    case vdbpDisplayActiveState:
        return true;
    case vdbpAllowsFocus: {
        const auto *windowed = dynamic_cast<const ui::TWinControl *>(FControl.get());
        return windowed && windowed->GetTabStop() && windowed->CanFocus();
    }
    case vdbpXORFocus:
        return false;
    case vdbpActualPrintSize:
        return PercentWidth >= 1 && PercentWidth <= 100;
    default:
        return TVDRectItemInfo::GetBoolValueEx(prop, vdStyle);
    }
}

void TVDControlItemInfo::Paint(int32_t x, int32_t y, gfx::TCanvas &canvas, TVDItemDrawStates state,
                               TVDDrawLineInfo &dli, TCustomVDData *vdData, bool) {
    if (FVisible) {
        PaintDef(x, y, canvas, state, dli, vdData);
    }
}

void TVDControlItemInfo::Focusing() {
    if (auto *windowed = dynamic_cast<ui::TWinControl *>(FControl.get())) {
        windowed->SetFocus();
    }
}

void TVDControlItemInfo::Inserting(TCustomVDData *vdData, TVDRawByteString &text, bool safe) {
    if (FControl) {
        FControl->SetVisible(false);
        SetParentOf(*FControl, safe ? vdData : nullptr);
    }
    TVDRectItemInfo::Inserting(vdData, text, safe);
}

void TVDControlItemInfo::MovingToUndoList(int32_t itemNo, TCustomVDData *vdData) {
    if (FControl) {
        FControl->SetVisible(false);
        FControl->SetParent(nullptr);
    }
    if (vdData) {
        vdData->ControlAction(vdData, vdcaMoveToUndoList, itemNo, *this);
    }
    TVDRectItemInfo::MovingToUndoList(itemNo, vdData);
}

void TVDControlItemInfo::MovingFromUndoList(int32_t itemNo, TCustomVDData *vdData) {
    if (vdData) {
        vdData->ControlAction(vdData, vdcaMoveFromUndoList, itemNo, *this);
    }
    if (FControl) {
        SetParentOf(*FControl, vdData);
    }
    TVDRectItemInfo::MovingFromUndoList(itemNo, vdData);
}

void TVDControlItemInfo::Hiding() {
    if (FControl) {
        FControl->SetVisible(false);
        FControl->SetParent(nullptr);
    }
    TVDRectItemInfo::Hiding();
}

void TVDControlItemInfo::Unhiding(TCustomVDData *vdData) {
    if (FControl) {
        FControl->SetVisible(false);
        SetParentOf(*FControl, vdData);
    }
    TVDRectItemInfo::Unhiding(vdData);
}

bool TVDControlItemInfo::SetExtraIntProperty(TVDExtraItemProperty prop, int32_t value) {
    switch (prop) {
    case vdepMinHeightOnPage:
        FMinHeightOnPage = value;
        return true;
    case vdepResizable:
        FResizable = value != 0;
        return true;
    case vdepVisible:
        FVisible = value != 0;
        if (FControl && FControl->GetParent()) {
            FControl->SetVisible(FVisible);
        }
        return true;
    case vdepShared:
        FShared = value != 0;
        return true;
    default:
        return TVDRectItemInfo::SetExtraIntProperty(prop, value);
    }
}

bool TVDControlItemInfo::GetExtraIntProperty(TVDExtraItemProperty prop, int32_t &value) const {
    switch (prop) {
    case vdepMinHeightOnPage:
        value = FMinHeightOnPage;
        return true;
    case vdepResizable:
        value = FResizable ? 1 : 0;
        return true;
    case vdepVisible:
        value = FVisible ? 1 : 0;
        return true;
    case vdepShared:
        value = FShared ? 1 : 0;
        return true;
    default:
        return TVDRectItemInfo::GetExtraIntProperty(prop, value);
    }
}

int32_t TVDControlItemInfo::GetVDFExtraPropertyCount() const {
    return TVDRectItemInfo::GetVDFExtraPropertyCount() + (FMinHeightOnPage > 0 ? 1 : 0) +
           (FResizable ? 1 : 0) + (FVisible ? 0 : 1) + (FShared ? 1 : 0);
}

void TVDControlItemInfo::SaveVDFExtraProperties(rtl::TStream &stream) const {
    TVDRectItemInfo::SaveVDFExtraProperties(stream);
    if (FMinHeightOnPage > 0) {
        WriteVDFExtraIntProperty(stream, vdepMinHeightOnPage, FMinHeightOnPage);
    }
    if (FResizable) {
        WriteVDFExtraIntProperty(stream, vdepResizable, 1);
    }
    if (!FVisible) {
        WriteVDFExtraIntProperty(stream, vdepVisible, 0);
    }
    if (FShared) {
        WriteVDFExtraIntProperty(stream, vdepShared, 1);
    }
}

std::unique_ptr<TVDDrawLineInfo>
TVDControlItemInfo::CreatePrintingDrawItem(TCustomVDData *vdData, int32_t paraNo,
                                           PVDScreenAndDevice sad) {
    TVDStyle *style = vdData ? vdData->GetVDStyle() : nullptr;
    // A float keeps its floating draw item: floats are never split.
    if (!style || FMinHeightOnPage == 0 || !GetBoolValueEx(vdbpPrintToBMP, style) ||
        GetBoolValue(vdbpFloating)) {
        return TVDRectItemInfo::CreatePrintingDrawItem(vdData, paraNo, sad);
    }
    return std::make_unique<TVDMultiImagePrintInfo>(*this, vdData, GetWidthEx(style, sad),
                                                    GetHeightEx(style, sad));
}

bool TVDControlItemInfo::PrintToBitmap(gfx::TBitmap &bkgnd, bool, TCustomVDData *vdData,
                                       int32_t dItemNo, int32_t part, TVDColorMode) {
    if (!FVisible || !FControl) {
        return false;
    }
    std::unique_ptr<gfx::TBitmap> image;
    auto *page = dynamic_cast<TCustomPrintableVDData *>(vdData);
    if (TCustomVDPrint *print = page ? page->GetVDPrint() : nullptr;
        print && print->OnPrintComponent) {
        print->OnPrintComponent(print, FControl.get(), image);
    }
    if (!image) {
        image = DrawControlToBitmap(*FControl, BackgroundColor);
    }
    int32_t top = 0;
    if (const TVDImagePrintPart *piece = TVDMultiImagePrintInfo::SplitPart(page, dItemNo, part)) {
        top = -piece->ImgTop;
    }
    const auto draw = [&](int32_t x, int32_t y) {
        if (TVDStyle *style = vdData ? vdData->GetVDStyle() : nullptr) {
            style->GetGraphicInterface().DrawGraphic(bkgnd.GetCanvas(), x, y, *image);
        } else {
            bkgnd.GetCanvas().Draw(x, y, *image);
        }
    };
    if (FMinHeightOnPage > 0) {
        draw(0, top);
        return true;
    }
    bkgnd.SetSize(std::max(bkgnd.GetWidth(), image->GetWidth()),
                  std::max(bkgnd.GetHeight(), image->GetHeight()));
    draw((bkgnd.GetWidth() - image->GetWidth()) / 2, (bkgnd.GetHeight() - image->GetHeight()) / 2);
    return true;
}

} // namespace vizivodu
