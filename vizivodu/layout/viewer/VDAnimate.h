// Animated pictures: the animator of a picture item (the current frame and the time left until
// the next one), the bitmap animator whose frames are cells of the item's image size laid out
// row by row, the list of animators a viewer control drives with its animation timer, and the
// hook that gives picture items their animator.
#pragma once

#include "platform/rtl/Types.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace gfx {
class TBitmap;
class TCanvas;
} // namespace gfx

namespace vizivodu {

class TCustomVDData;
class TCustomVDItemInfo;
class TCustomVDFormattedData;
class TVDAnimatorList;

// Owned by its picture item; a list refers to it without owning it. Times are milliseconds.
class TVDAnimator {
public:
    TVDAnimator(TCustomVDFormattedData *vdData, TCustomVDItemInfo *item);
    TVDAnimator(const TVDAnimator &) = delete;
    TVDAnimator &operator=(const TVDAnimator &) = delete;
    // Leaves its list (the list turns inactive when it empties) and its item forgets it.
    virtual ~TVDAnimator();

    rtl::TRect FVDVDDataRect{};
    rtl::TRect FVDClientRect{};
    rtl::TRect FSVDClientRect{};
    float FZoomPercent = 100.0f;
    TVDAnimatorList *List = nullptr;
    int32_t FrameIndex = 0;
    TCustomVDItemInfo *Item = nullptr;
    int32_t Interval = 0;
    bool Moved = false;
    TCustomVDFormattedData *VDData = nullptr;

    // A null vdData keeps the current document.
    void Update(TCustomVDFormattedData *vdData, TCustomVDItemInfo *item);
    void NextFrame();
    virtual int32_t GetFrameCount() = 0;
    virtual void ResetBackground() {}
    virtual void Reset() = 0;
    virtual void ChangeFrame() = 0;
    // Draws the current frame with its top left at (x, y).
    virtual void Draw(int32_t x, int32_t y, gfx::TCanvas &canvas, bool animation) = 0;
    // The size of the picture an export writes, in screen pixels.
    virtual void GetExportImageSize(int32_t &width, int32_t &height);
    // Draws what an export writes at (0, 0).
    virtual void DrawForExport(gfx::TCanvas &canvas) = 0;
    virtual bool ExportIgnoresScale() { return false; }
    // Whether the picture is in the control's client area now; remembers its rectangles.
    bool UpdateVisibility();
    // Shows the current frame: the picture's client rectangle is repainted (the platform draws
    // only while painting; the item's painting draws the animator's frame).
    void DrawFrame();
};

// Frames of a bitmap picture (the item's ImageCopy when it has one, else its Image).
class TVDBitmapAnimator : public TVDAnimator {
public:
    using TVDAnimator::TVDAnimator;
    int32_t GetFrameCount() override;
    void Reset() override;
    void ChangeFrame() override;
    void Draw(int32_t x, int32_t y, gfx::TCanvas &canvas, bool animation) override;
    // Frame 0 at (0, 0), whatever frame is shown.
    void DrawForExport(gfx::TCanvas &canvas) override;
    bool ExportIgnoresScale() override { return true; }

private:
    gfx::TBitmap *FrameBitmap() const;
    // The item's interval (hundredths of a second) in milliseconds, kept within 32 bits.
    int32_t ItemIntervalMs() const;
};

// The animators of one control, in the order they were added; not owning.
class TVDAnimatorList {
public:
    TVDAnimatorList();
    TVDAnimatorList(const TVDAnimatorList &) = delete;
    TVDAnimatorList &operator=(const TVDAnimatorList &) = delete;
    virtual ~TVDAnimatorList();

    bool Active = false;
    int32_t LastMinInterval;
    int32_t MinInterval;

    int32_t Count() const { return int32_t(FItems.size()); }
    TVDAnimator *Get(int32_t index) const { return FItems.at(size_t(index)); }
    // Resets and appends item (its owner keeps it); a list holding MaxAnimators already frees
    // the animator instead, leaving item null.
    void Add(std::unique_ptr<TVDAnimator> &item);
    // Detaches every animator (their items keep them).
    virtual void Clear();
    // Frees every animator (their items forget them).
    void FreeAnimators();
    void Reset();
    void ResetBackground();
    // One tick of the control's animation timer: every animator's time goes down by the
    // interval the timer ran; those due change frame and repaint when visible.
    void TimerEvent();

private:
    friend class TVDAnimator;
    void Remove(TVDAnimator *animator);
    std::vector<TVDAnimator *> FItems;
};

// The largest number of animators a list accepts.
extern int32_t MaxAnimators;

// Gives item its animator in vdData (creates, updates or frees animator, which the item owns).
using TVDMakeAnimatorProc = void (*)(TCustomVDItemInfo *item, TCustomVDFormattedData *vdData,
                                     std::unique_ptr<TVDAnimator> &animator);
extern TVDMakeAnimatorProc MakeAnimatorProc;
void MakeBitmapAnimator(TCustomVDItemInfo *item, TCustomVDFormattedData *vdData,
                        std::unique_ptr<TVDAnimator> &animator);

} // namespace vizivodu
