// The styled push button (TBvCustomButton, TBvButton) and the glyph button (TBvBitBtn).
#pragma once

#include "controls/BvCommon.h"
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/ImgList.h"
#include "platform/ui/ActnList.h"
#include "platform/ui/BitBtn.h"
#include "platform/ui/CustomControl.h"
#include "platform/ui/Label.h"
#include "platform/ui/ModalResult.h"

#include <array>
#include <memory>

namespace controls {

// The group notice among sibling TBvButtons: WParam the group index, LParam the sending
// TBvButton*. Dialog keys, accelerators, focus changes and keyboard cues arrive as the
// platform's CM_DIALOGKEY, CM_DIALOGCHAR, CM_FOCUSCHANGED and WM_UPDATEUISTATE.
enum : uint32_t { CM_BVBUTTONGROUP = 9249 };

enum TBvHotTrackColorType : uint8_t { htctComplement, htctActual };
enum TTextStyle : uint8_t { tsNormal, tsRaised, tsRecessed, tsShadow };
enum TButtonState : uint8_t { bsUp, bsDisabled, bsDown, bsExclusive };

// The owner-drawn base: mouse and keyboard press state, hot tracking, focus cues and the
// caption with vertical placement and text effects. Paints through an off-screen bitmap of
// the client size. Default size 115 x 17, tab stop.
class TBvCustomButton : public ui::TCustomControl {
public:
    explicit TBvCustomButton(ui::TComponent *owner);

    TAlignmentVertical GetAlignmentVertical() const { return FAlignmentVertical; }
    void SetAlignmentVertical(TAlignmentVertical v);
    bool GetHotTrack() const { return FHotTrack; }
    virtual void SetHotTrack(bool v);
    TColor GetHotTrackColor() const { return FHotTrackColor; }
    void SetHotTrackColor(TColor v);
    TBvHotTrackColorType GetHotTrackColorType() const { return FHotTrackColorType; }
    void SetHotTrackColorType(TBvHotTrackColorType v);
    TColor GetHighlightColor() const { return FHighlightColor; }
    void SetHighlightColor(TColor v);
    bool GetLightTextStyle() const { return FLightTextStyle; }
    void SetLightTextStyle(bool v);
    TTextStyle GetTextStyle() const { return FTextStyle; }
    void SetTextStyle(TTextStyle v);
    TColor GetTextHighlightColor() const { return FTextHighlightColor; }
    void SetTextHighlightColor(TColor v);
    TColor GetTextShadowColor() const { return FTextShadowColor; }
    void SetTextShadowColor(TColor v);
    int32_t GetTextShadowDepth() const { return FTextShadowDepth; }
    void SetTextShadowDepth(int32_t v);
    bool GetThemeAware() const { return FThemeAware; }
    void SetThemeAware(bool v);

    // Press state as the face shows it.
    bool IsPressedForTesting() const { return FShowDownVersion; }
    bool IsMouseOverForTesting() const { return FMouseOverButton; }
    // The face as Paint draws it, at the client size.
    gfx::TBitmap PaintFaceBitmap();

    // Focus cues and accelerators are shown unless the window's UI state hides them (both
    // hidden at creation, until WM_UPDATEUISTATE clears them).
    bool FocusCuesShown() const { return (FUIState & ui::UISF_HIDEFOCUS) == 0; }
    bool AcceleratorsShown() const { return (FUIState & ui::UISF_HIDEACCEL) == 0; }

protected:
    virtual void StateChanged() {}
    virtual void RefreshFace() { Repaint(); }
    virtual TRect FaceRect() const { return GetClientRect(); }
    // The style services are never enabled on this platform: always the classic look.
    virtual bool ThemedPaintActive() const { return FThemeAware && StylesEnabled(); }
    virtual TColor StyleCaptionColor(bool enabled) const;
    virtual void PaintCaption(gfx::TCanvas &canvas, TRect rect, uint32_t flags);
    virtual void PerformClick() = 0;
    virtual void SetTransparentFlag(bool v);
    // Paints the whole face onto canvas (client coordinates).
    virtual void PaintFace(gfx::TCanvas &canvas) = 0;

    void Paint() override;
    void Dispatch(ui::TMessage &message) override;
    void KeyDown(uint16_t &key, ui::TShiftState shift) override;
    void KeyUp(uint16_t &key, ui::TShiftState shift) override;

    bool FDragging = false;
    bool FHotTrack = false;
    bool FMouseOverButton = false;
    bool FShowDownVersion = false;
    bool FTransparent = false;
    bool FKeyToggle = false;

private:
    void WMLButtonDown(ui::TMessage &m);
    void WMMouseMove(ui::TMessage &m);
    void WMLButtonUp(ui::TMessage &m);
    void CMMouseEnter(ui::TMessage &m);
    void CMMouseLeave(ui::TMessage &m);
    void WMSetFocus(ui::TMessage &m);
    void WMKillFocus(ui::TMessage &m);
    void WMUpdateUIState(ui::TMessage &m);
    bool InClient(const ui::TMessage &m) const;

    TAlignmentVertical FAlignmentVertical = avCenter;
    TColor FHotTrackColor = 1350640;
    TBvHotTrackColorType FHotTrackColorType = htctActual;
    TColor FHighlightColor = gfx::clHighlight;
    bool FLightTextStyle = false;
    TTextStyle FTextStyle = tsNormal;
    TColor FTextHighlightColor = gfx::clBtnHighlight;
    TColor FTextShadowColor = gfx::clBtnShadow;
    int32_t FTextShadowDepth = 2;
    bool FThemeAware = true;
    uint16_t FUIState = ui::UISF_HIDEFOCUS | ui::UISF_HIDEACCEL;
};

// The push button: default and cancel roles, modal result, groups (one button of a group
// stays down), the classic frame, the hot-tracked flat look. Default size 75 x 25.
// It is active (Enter clicks it) while it has the focus, or while it is Default and no other
// push button has it. It answers WM_GETDLGCODE as a Windows push button does: DLGC_BUTTON
// with DLGC_DEFPUSHBUTTON while active, else DLGC_UNDEFPUSHBUTTON; so it asks for no dialog
// keys, and the form offers it Enter, Escape and accelerators through CM_DIALOGKEY and
// CM_DIALOGCHAR.
class TBvButton : public TBvCustomButton {
public:
    explicit TBvButton(ui::TComponent *owner);

    ui::TAlignment GetAlignment() const { return FAlignment; }
    void SetAlignment(ui::TAlignment v);
    bool GetDefault() const { return FDefault; }
    void SetDefault(bool v);
    bool GetCancel() const { return FCancel; }
    void SetCancel(bool v) { FCancel = v; }
    ui::TModalResult GetModalResult() const { return FModalResult; }
    void SetModalResult(ui::TModalResult v) { FModalResult = v; }
    bool GetAllowAllUp() const { return FAllowAllUp; }
    void SetAllowAllUp(bool v);
    bool GetDown() const { return FDown; }
    void SetDown(bool v);
    int32_t GetGroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int32_t v);
    bool GetShowDownPattern() const { return FShowDownPattern; }
    void SetShowDownPattern(bool v);
    bool GetShowFocusRect() const { return FShowFocusRect; }
    void SetShowFocusRect(bool v);
    bool GetDropDownOnEnter() const { return FDropDownOnEnter; }
    void SetDropDownOnEnter(bool v) { FDropDownOnEnter = v; }
    TColor GetFrameColor() const { return FFrameColor; }
    void SetFrameColor(TColor v);
    void SetHotTrack(bool v) override;
    TButtonState GetState() const { return FState; }
    bool IsActiveForTesting() const { return FActive; }
    bool KeyWasPressed() const { return FKeyWasPressed; }

    // Sets the form's modal result to ModalResult (also 0), then runs OnClick.
    void Click() override;
    void PerformClick() override;

    // A push button to screen readers, named by its caption without accelerator marks;
    // "Press" clicks it as Space does; a group button is checkable and checked while down.
    ui::TAccessibleInfo GetAccessibleInfo() const override;
    rtl::UnicodeString GetAccessibleName() const override;
    void AccessiblePress() override;

protected:
    virtual void CaptionRect(TRect &rect);
    virtual void PaintButtonCaption(gfx::TCanvas &canvas);
    virtual void BuildDownPattern(gfx::TBitmap &bitmap);
    // The obsolete stored name "FrameFlat" (a Boolean) is read into HotTrack.
    void DefineProperties(rtl::TFiler &filer) override;
    void StateChanged() override;
    void PaintFace(gfx::TCanvas &canvas) override;
    void Dispatch(ui::TMessage &message) override;

    bool IsGroupDown() const { return FState == bsDown || FState == bsExclusive; }
    bool FClicking = false;
    TButtonState FState = bsUp;

private:
    void NotifyGroup();
    void CMButtonGroup(ui::TMessage &m);
    void CMDialogKey(ui::TMessage &m);
    void CMDialogChar(ui::TMessage &m);
    void CMFocusChanged(ui::TMessage &m);
    void PaintHotTracked(gfx::TCanvas &canvas, TRect &r);
    void PaintClassic(gfx::TCanvas &canvas, TRect &r);
    void PaintHotFace(gfx::TCanvas &canvas, TRect &r);

    ui::TAlignment FAlignment = ui::taCenter;
    bool FDefault = false;
    bool FCancel = false;
    bool FActive = false;
    ui::TModalResult FModalResult = ui::mrNone;
    bool FAllowAllUp = false;
    bool FDown = false;
    int32_t FGroupIndex = 0;
    bool FShowDownPattern = true;
    bool FShowFocusRect = true;
    bool FDropDownOnEnter = true;
    TColor FFrameColor = gfx::cl3DDkShadow;
    bool FKeyWasPressed = false;
};

// The class library's button kinds and glyph layouts.
using ui::TBitBtnKind;
using ui::TButtonLayout;
using enum ui::TBitBtnKind;
using enum ui::TButtonLayout;

// The push button with a picture beside its caption: a glyph strip of NumGlyphs cells (up,
// disabled, down, exclusive), or image ImageIndex of an image list (which the button does not
// own, and forgets when it is destroyed); Kind makes it a standard dialog button. Without a
// glyph or image it paints exactly as TBvButton. The glyph's transparent colour is its
// bottom-left pixel. Right to left (BiDiMode bdRightToLeft) a glyph on the left goes right.
class TBvBitBtn : public TBvButton {
public:
    explicit TBvBitBtn(ui::TComponent *owner);
    ~TBvBitBtn() override;

    const gfx::TBitmap &GetGlyph() const { return FGlyph; }
    // Copies the bitmap; the kind no longer applies.
    void SetGlyph(const gfx::TBitmap &glyph);
    TBitBtnKind GetKind();
    void SetKind(TBitBtnKind kind);
    TButtonLayout GetLayout() const { return FLayout; }
    void SetLayout(TButtonLayout v);
    int32_t GetMargin() const { return FMargin; }
    void SetMargin(int32_t v); // values below -1 are ignored
    int32_t GetNumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int32_t v); // 1..4
    int32_t GetSpacing() const { return FSpacing; }
    void SetSpacing(int32_t v);
    // Scales Margin and Spacing by m / d (multiply, then divide with rounding).
    void ChangeScale(int32_t m, int32_t d);
    gfx::TCustomImageList *GetImages() const { return FImages; }
    void SetImages(gfx::TCustomImageList *images);
    // -1: none. While disabled, DisabledIndex (when not -1) is drawn instead of ImageIndex, in
    // the enabled look; otherwise ImageIndex in the list's disabled look.
    ui::TImageIndex GetImageIndex() const { return FImageIndex; }
    void SetImageIndex(ui::TImageIndex index);
    ui::TImageIndex GetDisabledIndex() const { return FDisabledIndex; }
    void SetDisabledIndex(ui::TImageIndex index);
    // The glyph's palette.
    gfx::HPALETTE GetPalette() const override { return FGlyph.GetPalette(); }

    // The glyph rectangle and caption rectangle as the face uses them.
    TRect GlyphRectForTesting() { return GlyphRect(); }
    TRect CaptionRectForTesting() {
        TRect r;
        CaptionRect(r);
        return r;
    }

protected:
    virtual gfx::TSize GlyphSize() const;
    virtual TRect GlyphRect();
    virtual void PaintImageListGlyph(gfx::TCanvas &canvas, const TRect &rect);
    virtual void PaintBitmapGlyph(gfx::TCanvas &canvas, const TRect &rect);
    void CaptionRect(TRect &rect) override;
    void PaintButtonCaption(gfx::TCanvas &canvas) override;
    // After the control's own update, a TCustomAction's ImageIndex (unless keeping set values
    // and ImageIndex is set).
    void ActionChange(ui::TBasicAction *sender, ui::TActionChangeMode mode) override;
    void Notification(rtl::TComponent *component, rtl::TOperation operation) override;

private:
    void GlyphChanged();
    TButtonLayout EffectiveLayout() const;
    bool HasImageListImage() const { return FImages && FImageIndex != -1; }
    bool HasPicture() const { return HasImageListImage() || !FGlyph.Empty(); }
    int32_t MeasureCaptionHeight(const TRect &rect);

    gfx::TBitmap FGlyph;
    TBitBtnKind FKind = bkCustom;
    TButtonLayout FLayout = blGlyphLeft;
    int32_t FMargin = 2;
    int32_t FNumGlyphs = 1;
    int32_t FSpacing = 4;
    bool FModifiedGlyph = false;
    ui::TImageIndex FImageIndex = -1;
    ui::TImageIndex FDisabledIndex = -1;
    gfx::TCustomImageList *FImages = nullptr;
    gfx::TChangeLink FImagesChangeLink;
};

// The shared stock glyph of a kind (two cells: up and disabled), made on first use; nullptr
// for bkCustom.
const gfx::TBitmap *KindGlyphBitmap(TBitBtnKind kind);
// The standard caption and modal result of a kind.
rtl::UnicodeString KindCaption(TBitBtnKind kind);
ui::TModalResult KindModalResult(TBitBtnKind kind);

} // namespace controls
