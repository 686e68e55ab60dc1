// Animation of pictures in the viewer control: the root document's animator list and the
// control's timer 2 that drives it.
#include "vizivodu/layout/viewer/ViziVodu.h"

#include "vizivodu/layout/viewer/VDAnimate.h"
#include "vizivodu/layout/viewer/VDVDData.h"

namespace vizivodu {

// ---- The root document ----

bool TViziVoduVDData::AllowAnimation() {
    if (!IsRoot()) {
        return TVDControlData::AllowAnimation();
    }
    TCustomViziVodu *viewer = Viewer();
    return viewer && viewer->AnimationMode != vdaniDisabled;
}

void TViziVoduVDData::InsertAnimator(std::unique_ptr<TVDAnimator> &animator) {
    if (!IsRoot()) {
        TVDControlData::InsertAnimator(animator);
        return;
    }
    if (!FAnimatorList) {
        FAnimatorList = std::make_unique<TVDAnimatorList>();
    }
    FAnimatorList->Add(animator);
    if (FPlayingAnimation) {
        if (TCustomViziVodu *viewer = Viewer()) {
            viewer->StartAnimation();
        }
    }
}

void TViziVoduVDData::ResetAniBackground() {
    if (!IsRoot()) {
        TVDControlData::ResetAniBackground();
    } else if (FAnimatorList) {
        FAnimatorList->ResetBackground();
    }
}

// ---- The control ----

namespace {

// Every picture of the document tree gets, keeps or loses its animator.
void UpdateAnimators(TCustomVDData &vdData) {
    for (int32_t i = 0; i < vdData.ItemCount(); ++i) {
        TCustomVDItemInfo *item = vdData.GetItem(i);
        item->UpdateAnimator(&vdData);
        std::unique_ptr<TVDStoreSubVDData> state;
        for (TCustomVDData *sub = item->GetSubVDData(state, vddFirst); sub;
             sub = item->GetSubVDData(state, vddNext)) {
            UpdateAnimators(*sub);
        }
    }
}

} // namespace

void TCustomViziVodu::StartAnimation() {
    TViziVoduVDData &data = GetVDData();
    data.FPlayingAnimation = true;
    TVDAnimatorList *list = data.FAnimatorList.get();
    if (list && list->Count() > 0 && !list->Active) {
        list->Active = true;
        list->LastMinInterval = list->MinInterval;
        SetTimer(AnimationTimerId, uint32_t(list->MinInterval));
    }
}

void TCustomViziVodu::StopAnimation() {
    if (!FVDData) {
        return;
    }
    FVDData->FPlayingAnimation = false;
    TVDAnimatorList *list = FVDData->FAnimatorList.get();
    if (list && list->Active) {
        list->Active = false;
        KillTimer(AnimationTimerId);
    }
}

void TCustomViziVodu::ResetAnimation() {
    if (FVDData && FVDData->FAnimatorList) {
        FVDData->FAnimatorList->Reset();
    }
}

void TCustomViziVodu::SetAnimationMode(TVDAnimationMode value) {
    if (value == AnimationMode) {
        return;
    }
    AnimationMode = value;
    if (value == vdaniDisabled) {
        FreeAnimators();
    } else {
        UpdateAnimators(GetVDData());
    }
}

void TCustomViziVodu::FreeAnimators() {
    StopAnimation();
    if (FVDData && FVDData->FAnimatorList) {
        FVDData->FAnimatorList->FreeAnimators();
        FVDData->FAnimatorList.reset();
    }
}

void TCustomViziVodu::AnimationTimer() {
    TVDAnimatorList *list = FVDData ? FVDData->FAnimatorList.get() : nullptr;
    if (!list || list->Count() == 0) {
        KillTimer(AnimationTimerId);
        return;
    }
    list->TimerEvent();
    if (list->MinInterval != list->LastMinInterval) {
        SetTimer(AnimationTimerId, uint32_t(list->MinInterval));
        list->LastMinInterval = list->MinInterval;
    }
}

} // namespace vizivodu
