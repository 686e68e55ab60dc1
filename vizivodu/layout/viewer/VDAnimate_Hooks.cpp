// The halves of animation in the picture item (it owns its animator and gets it from the hook)
// and in the documents (they pass animators up to the viewer's root document).
#include "vizivodu/document/VDItem_Rect.h"

#include "vizivodu/layout/formatting/CVDFData.h"
#include "vizivodu/layout/viewer/VDAnimate.h"

namespace vizivodu {

void TVDGraphicItemInfo::FreeAnimator() {
    if (FAnimator) {
        FAnimator->Item = nullptr; // the item is letting it go itself
        FAnimator.reset();
    }
}

void TVDGraphicItemInfo::UpdateAnimator(TCustomVDData *vdData) {
    auto *formatted = dynamic_cast<TCustomVDFormattedData *>(vdData);
    if (!formatted) {
        return;
    }
    if (formatted->AllowAnimation() && MakeAnimatorProc) {
        MakeAnimatorProc(this, formatted, FAnimator);
    } else {
        FreeAnimator();
    }
}

void TVDGraphicItemInfo::RemoveLinkToAnimator() {
    (void)FAnimator.release(); // the animator is being freed by its list
}

void TVDGraphicItemInfo::TransferProperties(const TCustomVDItemInfo &source,
                                            TCustomVDData *vdData) {
    auto *picture = dynamic_cast<TVDGraphicItemInfo *>(const_cast<TCustomVDItemInfo *>(&source));
    if (!FAnimator && picture && picture->FAnimator) {
        FAnimator = std::move(picture->FAnimator);
        FAnimator->Update(nullptr, this);
    }
    UpdateAnimator(vdData);
}

// ---- Documents ----

namespace {

// The absolute root when it is another formatted document; nullptr when this one is its own.
TCustomVDFormattedData *OtherAbsoluteRoot(TCustomVDFormattedData &vdData) {
    auto *root = dynamic_cast<TCustomVDFormattedData *>(vdData.GetAbsoluteRootData());
    return root != &vdData ? root : nullptr;
}

} // namespace

bool TCustomVDFormattedData::AllowAnimation() {
    TCustomVDFormattedData *root = OtherAbsoluteRoot(*this);
    return root && root->AllowAnimation();
}

void TCustomVDFormattedData::InsertAnimator(std::unique_ptr<TVDAnimator> &animator) {
    if (TCustomVDFormattedData *root = OtherAbsoluteRoot(*this)) {
        root->InsertAnimator(animator);
    } else {
        animator.reset();
    }
}

void TCustomVDFormattedData::ResetAniBackground() {
    if (TCustomVDFormattedData *root = OtherAbsoluteRoot(*this)) {
        root->ResetAniBackground();
    }
}

} // namespace vizivodu
