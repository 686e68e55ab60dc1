// TBitBtn: a push button with a glyph beside its caption, or one of the standard kinds.
#pragma once

#include "platform/gfx/Bitmap.h"
#include "platform/ui/Button.h"

namespace ui {

enum TBitBtnKind : uint8_t {
    bkCustom,
    bkOK,
    bkCancel,
    bkHelp,
    bkYes,
    bkNo,
    bkClose,
    bkAbort,
    bkRetry,
    bkIgnore,
    bkAll
};
enum TButtonLayout : uint8_t { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

// A kind other than bkCustom sets the caption ("OK", "Cancel", "&Help", "&Yes", "&No",
// "&Close", "Abort", "&Retry", "&Ignore", "&All"), the modal result, Default (OK, Yes) and
// Cancel (Cancel, No). The glyph is a strip of NumGlyphs cells (up, disabled, down, exclusive);
// its bottom-left pixel's colour is transparent.
class TBitBtn : public TButton {
public:
    explicit TBitBtn(TComponent *owner);

    TBitBtnKind GetKind() const { return FKind; }
    void SetKind(TBitBtnKind kind);
    gfx::TBitmap &GetGlyph() { return FGlyph; }
    void SetGlyph(const gfx::TBitmap &glyph);
    int32_t GetNumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int32_t n);
    TButtonLayout GetLayout() const { return FLayout; }
    void SetLayout(TButtonLayout layout);
    int32_t GetSpacing() const { return FSpacing; }
    void SetSpacing(int32_t v) { FSpacing = v; }
    int32_t GetMargin() const { return FMargin; }
    void SetMargin(int32_t v);

protected:
    void EnabledChanged() override;
    // Also takes the action's image (from its list's image list) as the glyph while the
    // button has none: the image on a clFuchsia ground, whose colour is then transparent.
    void ActionChange(TBasicAction *sender, TActionChangeMode mode) override;

private:
    void ApplyGlyph();
    TBitBtnKind FKind = bkCustom;
    gfx::TBitmap FGlyph;
    int32_t FNumGlyphs = 1;
    TButtonLayout FLayout = blGlyphLeft;
    int32_t FSpacing = 4;
    int32_t FMargin = -1;
};

} // namespace ui
