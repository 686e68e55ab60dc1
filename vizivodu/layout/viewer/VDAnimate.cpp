// Animated pictures: animators, the bitmap animator, the animator list and the make-animator hook.
#include "vizivodu/layout/viewer/VDAnimate.h"

#include "vizivodu/document/VDItem_Rect.h"
#include "vizivodu/layout/formatting/CVDFData.h"
#include "vizivodu/layout/text/VDGrIn.h"
#include "vizivodu/styles/VDStyle.h"

#include "platform/gfx/Bitmap.h"
#include "platform/ui/Control.h"

#include <algorithm>
#include <limits>

namespace vizivodu {

int32_t MaxAnimators = 100000;
TVDMakeAnimatorProc MakeAnimatorProc = MakeBitmapAnimator;

namespace {

constexpr int32_t MaxInt = std::numeric_limits<int32_t>::max();

TVDGraphicItemInfo *AsPicture(TCustomVDItemInfo *item) {
    return dynamic_cast<TVDGraphicItemInfo *>(item);
}

TVDStyle *StyleOf(TCustomVDFormattedData *vdData) {
    return vdData ? vdData->GetVDStyle() : nullptr;
}

} // namespace

// ---- TVDAnimator ----

TVDAnimator::TVDAnimator(TCustomVDFormattedData *vdData, TCustomVDItemInfo *item) {
    Update(vdData, item);
}

TVDAnimator::~TVDAnimator() {
    if (List) {
        List->Remove(this);
    }
    if (Item) {
        Item->RemoveLinkToAnimator();
    }
}

void TVDAnimator::Update(TCustomVDFormattedData *vdData, TCustomVDItemInfo *item) {
    if (vdData) {
        VDData = vdData;
    }
    Item = item;
}

void TVDAnimator::NextFrame() {
    ++FrameIndex;
    if (FrameIndex >= GetFrameCount()) {
        FrameIndex = 0;
    }
}

void TVDAnimator::GetExportImageSize(int32_t &width, int32_t &height) {
    TVDStyle *style = StyleOf(VDData);
    width = Item ? Item->GetImageWidth(style) : 0;
    height = Item ? Item->GetImageHeight(style) : 0;
}

bool TVDAnimator::UpdateVisibility() {
    if (!VDData || !Item || Item->DrawItemNo < 0 || Item->DrawItemNo >= VDData->DrawItems.Count()) {
        return false;
    }
    const TVDDrawLineInfo &di = *VDData->DrawItems[Item->DrawItemNo];
    FVDVDDataRect =
        rtl::Bounds(di.GetObjectLeft(), di.Top, di.GetObjectWidth(), di.GetObjectHeight());
    rtl::TRect r = FVDVDDataRect;
    VDData->RotateRectFromDocToScreen(r, vdtrbAbsRoot);
    auto *root = dynamic_cast<TCustomVDFormattedData *>(VDData->GetAbsoluteRootData());
    if (root) {
        // The viewer's document-to-client conversion: the root document's scroll offsets.
        r = rtl::Rect(r.Left - root->GetHOffs(), r.Top - root->GetVOffs(),
                      r.Right - root->GetHOffs(), r.Bottom - root->GetVOffs());
    }
    Moved = r != FVDClientRect;
    FVDClientRect = r;
    ui::TControl *control = VDData->GetParentControl();
    const int32_t clientHeight = control ? control->GetClientHeight() : 0;
    return FVDClientRect.Bottom >= 1 && FVDClientRect.Top < clientHeight;
}

void TVDAnimator::DrawFrame() {
    if (!VDData || !Item || Item->DrawItemNo < 0 || Item->DrawItemNo >= VDData->DrawItems.Count()) {
        return;
    }
    VDData->ResetSubCoords();
    ui::TControl *control = VDData->GetParentControl();
    TVDStyle *style = StyleOf(VDData);
    if (control && style) {
        style->GetGraphicInterface().InvalidateRect(*control, &FVDClientRect);
    }
}

// ---- TVDBitmapAnimator ----

gfx::TBitmap *TVDBitmapAnimator::FrameBitmap() const {
    TVDGraphicItemInfo *picture = AsPicture(Item);
    if (!picture) {
        return nullptr;
    }
    gfx::TGraphic *g = picture->GetImageCopy() ? picture->GetImageCopy() : picture->GetImage();
    return dynamic_cast<gfx::TBitmap *>(g);
}

int32_t TVDBitmapAnimator::ItemIntervalMs() const {
    TVDGraphicItemInfo *picture = AsPicture(Item);
    const int64_t ms = picture ? int64_t(picture->Interval) * 10 : 0;
    return int32_t(std::clamp<int64_t>(ms, 0, MaxInt));
}

int32_t TVDBitmapAnimator::GetFrameCount() {
    TVDGraphicItemInfo *picture = AsPicture(Item);
    if (!picture || !picture->GetImage()) {
        return 0;
    }
    TVDStyle *style = StyleOf(VDData);
    const int32_t w = picture->GetImageWidth(style);
    const int32_t h = picture->GetImageHeight(style);
    if (w <= 0 || h <= 0) {
        return 0;
    }
    const gfx::TGraphic &image = *picture->GetImage();
    return (image.GetWidth() / w) * (image.GetHeight() / h);
}

void TVDBitmapAnimator::Reset() {
    Interval = ItemIntervalMs();
    FrameIndex = 0;
}

void TVDBitmapAnimator::ChangeFrame() {
    Interval = ItemIntervalMs();
    NextFrame();
}

void TVDBitmapAnimator::Draw(int32_t x, int32_t y, gfx::TCanvas &canvas, bool) {
    gfx::TBitmap *bmp = FrameBitmap();
    TVDStyle *style = StyleOf(VDData);
    if (!bmp || !style) {
        return;
    }
    const int32_t w = Item->GetImageWidth(style);
    const int32_t h = Item->GetImageHeight(style);
    const int32_t columns = w > 0 ? bmp->GetWidth() / w : 0;
    if (columns <= 0 || h <= 0) {
        return;
    }
    const rtl::TRect source =
        rtl::Bounds(w * (FrameIndex % columns), (FrameIndex / columns) * h, w, h);
    style->GetGraphicInterface().CopyRect(canvas, rtl::Bounds(x, y, w, h), bmp->GetCanvas(),
                                          source);
}

void TVDBitmapAnimator::DrawForExport(gfx::TCanvas &canvas) {
    // The frame shown is put back however drawing ends.
    struct TRestoreFrame {
        int32_t &Index;
        int32_t Saved;
        ~TRestoreFrame() { Index = Saved; }
    } restore{FrameIndex, FrameIndex};
    FrameIndex = 0;
    Draw(0, 0, canvas, false);
}

// ---- TVDAnimatorList ----

TVDAnimatorList::TVDAnimatorList() : LastMinInterval(MaxInt), MinInterval(MaxInt) {}

TVDAnimatorList::~TVDAnimatorList() {
    // Not Clear(): a virtual call here would not reach a descendant's override anyway.
    for (TVDAnimator *a : FItems) {
        a->List = nullptr;
    }
}

void TVDAnimatorList::Add(std::unique_ptr<TVDAnimator> &item) {
    if (!item) {
        return;
    }
    if (Count() >= MaxAnimators) {
        item.reset();
        return;
    }
    item->Reset();
    MinInterval = std::min(MinInterval, item->Interval);
    FItems.push_back(item.get());
    item->List = this;
}

void TVDAnimatorList::Clear() {
    for (TVDAnimator *a : FItems) {
        a->List = nullptr;
    }
    FItems.clear();
    Active = false;
}

void TVDAnimatorList::FreeAnimators() {
    std::vector<TVDAnimator *> items;
    items.swap(FItems);
    for (TVDAnimator *a : items) {
        a->List = nullptr;
        // The item owns the animator and gives it up as the animator goes
        // (RemoveLinkToAnimator), so freeing it here leaves no owner behind.
        const std::unique_ptr<TVDAnimator> dying(a);
    }
    Active = false;
}

void TVDAnimatorList::Reset() {
    MinInterval = MaxInt;
    for (TVDAnimator *a : FItems) {
        a->Reset();
        MinInterval = std::min(MinInterval, a->Interval);
    }
}

void TVDAnimatorList::ResetBackground() {
    for (TVDAnimator *a : FItems) {
        a->ResetBackground();
    }
}

void TVDAnimatorList::TimerEvent() {
    const int32_t elapsed = MinInterval;
    MinInterval = MaxInt;
    for (TVDAnimator *a : FItems) {
        a->Interval -= std::min(elapsed, a->Interval);
        if (a->Interval < 1) {
            a->ChangeFrame();
            if (a->UpdateVisibility()) {
                a->DrawFrame();
            } else {
                a->ResetBackground();
            }
        }
        MinInterval = std::min(MinInterval, a->Interval);
    }
}

void TVDAnimatorList::Remove(TVDAnimator *animator) {
    auto it = std::find(FItems.begin(), FItems.end(), animator);
    if (it != FItems.end()) {
        FItems.erase(it);
    }
    if (FItems.empty()) {
        Active = false;
    }
}

// ---- The hook ----

void MakeBitmapAnimator(TCustomVDItemInfo *item, TCustomVDFormattedData *vdData,
                        std::unique_ptr<TVDAnimator> &animator) {
    TVDGraphicItemInfo *picture = AsPicture(item);
    const bool animated = picture && picture->Interval > 0 &&
                          dynamic_cast<gfx::TBitmap *>(picture->GetImage()) != nullptr;
    if (animated && dynamic_cast<TVDBitmapAnimator *>(animator.get()) == nullptr) {
        animator.reset();
    }
    if (animated && !animator) {
        auto made = std::make_unique<TVDBitmapAnimator>(vdData, item);
        if (made->GetFrameCount() > 1) {
            animator = std::move(made);
            vdData->InsertAnimator(animator);
            return;
        }
        made->Item = nullptr; // never linked to the item
    } else if (animated) {
        animator->Update(vdData, item);
        if (animator->GetFrameCount() > 1) {
            animator->Reset();
            return;
        }
    }
    animator.reset();
}

} // namespace vizivodu
