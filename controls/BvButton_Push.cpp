// TBvButton: default/cancel roles, groups, dialog keys and the classic and hot-tracked faces.
#include "controls/BvButton.h"

#include "controls/BvGrafx.h"
#include "platform/rtl/Property.h"
#include "platform/rtl/Streaming.h"
#include "platform/ui/Button.h"
#include "platform/ui/Forms.h"

namespace controls {

using namespace gfx;

namespace {

void HLine(TCanvas &c, int32_t x1, int32_t x2, int32_t y, TColor color) {
    c.GetPen().SetColor(color);
    c.MoveTo(x1, y);
    c.LineTo(x2, y);
}

void VLine(TCanvas &c, int32_t x, int32_t y1, int32_t y2, TColor color) {
    c.GetPen().SetColor(color);
    c.MoveTo(x, y1);
    c.LineTo(x, y2);
}

void Fill(TCanvas &c, const TRect &r, TColor color) {
    c.GetBrush().SetStyle(bsSolid);
    c.GetBrush().SetColor(color);
    c.FillRect(r);
}

} // namespace

TBvButton::TBvButton(ui::TComponent *owner) : TBvCustomButton(owner) {
    SetBounds(0, 0, 75, 25);
    SetColor(clBtnFace);
}

void TBvButton::SetAlignment(ui::TAlignment v) {
    rtl::SetProperty(FAlignment, v, [this] { Invalidate(); });
}

void TBvButton::SetShowDownPattern(bool v) {
    rtl::SetProperty(FShowDownPattern, v, [this] { Invalidate(); });
}

void TBvButton::SetShowFocusRect(bool v) {
    rtl::SetProperty(FShowFocusRect, v, [this] { Invalidate(); });
}

void TBvButton::SetFrameColor(TColor v) {
    rtl::SetProperty(FFrameColor, v, [this] { Invalidate(); });
}

void TBvButton::SetHotTrack(bool v) {
    rtl::SetProperty(FHotTrack, v, [this, v] {
        SetTransparentFlag(v);
        Invalidate();
    });
}

void TBvButton::SetDefault(bool v) {
    if (v == FDefault) {
        return;
    }
    FDefault = v;
    // The roles are re-dealt as if the focus had just moved to where it is.
    if (ui::TForm *form = GetParentForm()) {
        form->Perform(ui::CM_FOCUSCHANGED, 0, ui::LPARAM(form->GetActiveControl()));
    } else {
        FActive = Focused() || FDefault;
    }
    Invalidate();
}

void TBvButton::SetDown(bool v) {
    if (FGroupIndex == 0) {
        v = false;
    }
    if (v == FDown || (FDown && !FAllowAllUp && FGroupIndex != 0)) {
        return;
    }
    FDown = v;
    FState = v ? bsExclusive : bsUp;
    StateChanged();
    if (v) {
        NotifyGroup();
    }
}

void TBvButton::SetGroupIndex(int32_t v) {
    rtl::SetProperty(FGroupIndex, v, [this] { NotifyGroup(); });
}

void TBvButton::SetAllowAllUp(bool v) {
    rtl::SetProperty(FAllowAllUp, v, [this] { NotifyGroup(); });
}

void TBvButton::NotifyGroup() {
    ui::TWinControl *parent = GetParent();
    if (FGroupIndex == 0 || !parent) {
        return;
    }
    for (int32_t i = 0; i < parent->GetControlCount(); ++i) {
        parent->GetControl(i)->Perform(CM_BVBUTTONGROUP, ui::WPARAM(FGroupIndex), ui::LPARAM(this));
    }
}

void TBvButton::CMButtonGroup(ui::TMessage &m) {
    auto *sender = reinterpret_cast<TBvButton *>(m.LParam);
    if (int32_t(m.WParam) != FGroupIndex || sender == this || !sender) {
        return;
    }
    if (sender->GetDown() && FDown) {
        FDown = false;
        FState = bsUp;
        StateChanged();
    }
    FAllowAllUp = sender->GetAllowAllUp();
}

void TBvButton::Click() {
    if (ui::TForm *form = GetParentForm()) {
        form->SetModalResult(FModalResult);
    }
    TBvCustomButton::Click();
}

void TBvButton::PerformClick() {
    if (FGroupIndex != 0) {
        SetDown(!FDown);
    } else {
        StateChanged();
    }
    struct TClicking {
        bool &flag;
        explicit TClicking(bool &f) : flag(f) { flag = true; }
        ~TClicking() { flag = false; }
    } clicking(FClicking);
    Click();
}

void TBvButton::StateChanged() {
    Invalidate();
    AccessibleStateChanged();
}

ui::TAccessibleInfo TBvButton::GetAccessibleInfo() const {
    ui::TAccessibleInfo info;
    info.Role = ui::arPushButton;
    info.Pressable = true;
    info.Checkable = FGroupIndex != 0;
    info.Checked = FGroupIndex != 0 && FDown;
    info.Pressed = FShowDownVersion;
    info.DefaultButton = FActive;
    return info;
}

rtl::UnicodeString TBvButton::GetAccessibleName() const {
    return StripAccelerators(GetCaption());
}

void TBvButton::AccessiblePress() {
    if (GetEnabled()) {
        PerformClick();
    }
}

void TBvButton::Dispatch(ui::TMessage &m) {
    switch (m.Msg) {
    case CM_BVBUTTONGROUP:
        CMButtonGroup(m);
        return;
    case ui::CM_DIALOGKEY:
        CMDialogKey(m);
        return;
    case ui::CM_DIALOGCHAR:
        CMDialogChar(m);
        return;
    case ui::CM_FOCUSCHANGED:
        CMFocusChanged(m);
        return;
    case ui::WM_GETDLGCODE:
        m.Result = ui::DLGC_BUTTON | (FActive ? ui::DLGC_DEFPUSHBUTTON : ui::DLGC_UNDEFPUSHBUTTON);
        return;
    default:
        break;
    }
    TBvCustomButton::Dispatch(m);
}

void TBvButton::CMDialogKey(ui::TMessage &m) {
    const bool enter = m.WParam == ui::VK_RETURN && FActive;
    const bool escape = m.WParam == ui::VK_ESCAPE && FCancel;
    if (!(enter || escape) || ui::DialogShiftState(m.LParam) != ui::TShiftState{} || !CanFocus()) {
        return;
    }
    FKeyWasPressed = !FDropDownOnEnter;
    struct TReset {
        bool &flag;
        ~TReset() { flag = false; }
    } reset{FKeyWasPressed};
    PerformClick();
    m.Result = 1;
}

void TBvButton::CMDialogChar(ui::TMessage &m) {
    if (ui::IsAccel(char16_t(m.WParam), GetCaption()) && CanFocus()) {
        PerformClick();
        m.Result = 1;
    }
}

void TBvButton::CMFocusChanged(ui::TMessage &m) {
    if (IsDestroying()) {
        return;
    }
    auto *focused = reinterpret_cast<ui::TControl *>(m.LParam);
    const bool isButton =
        dynamic_cast<TBvButton *>(focused) || dynamic_cast<ui::TButton *>(focused);
    const bool active = isButton ? focused == this : FDefault;
    if (active != FActive) {
        FActive = active;
        StateChanged();
    }
}

// ---- painting ----

void TBvButton::CaptionRect(TRect &rect) {
    rect = GetClientRect();
    rect.Inflate(-5, -5);
    const bool classic = !FHotTrack && !ThemedPaintActive();
    if (classic && ((FGroupIndex != 0 && IsGroupDown()) || FShowDownVersion)) {
        rect.Offset(1, 1);
    }
}

void TBvButton::PaintButtonCaption(TCanvas &canvas) {
    uint32_t flags = DT_WORDBREAK | DT_EXPANDTABS;
    flags |= FAlignment == ui::taLeftJustify    ? DT_LEFT
             : FAlignment == ui::taRightJustify ? DT_RIGHT
                                                : DT_CENTER;
    TRect r;
    CaptionRect(r);
    PaintCaption(canvas, r, flags);
}

void TBvButton::BuildDownPattern(TBitmap &bitmap) {
    bitmap.SetSize(8, 8);
    const TColor dot = ColorToRGB(GetColor()) == uint32_t(clSilver) ? clGray : clSilver;
    Fill(bitmap.GetCanvas(), Rect(0, 0, 8, 8), GetColor());
    for (int32_t y = 0; y < 8; ++y) {
        for (int32_t x = 0; x < 8; ++x) {
            if (x % 2 == y % 2) {
                bitmap.GetCanvas().SetPixel(x, y, dot);
            }
        }
    }
}

void TBvButton::PaintFace(TCanvas &canvas) {
    const bool classic = !FHotTrack && !ThemedPaintActive();
    TRect fr = GetClientRect();
    fr.Inflate(classic ? -4 : -3, classic ? -4 : -3);
    // Only a group button's focus frame follows its sunken face; a plain button's stays put.
    if (FGroupIndex != 0 && (IsGroupDown() || FShowDownVersion)) {
        fr.Offset(1, 1);
    }
    TRect r = GetClientRect();
    if (FHotTrack && !ThemedPaintActive()) {
        PaintHotTracked(canvas, r);
    } else {
        PaintClassic(canvas, r); // also in place of the themed look: no style services here
    }
    if (FGroupIndex != 0 && FState == bsExclusive && FShowDownPattern) {
        TBitmap pattern;
        BuildDownPattern(pattern);
        for (int32_t y = std::max(r.Top, 0); y < r.Bottom; ++y) {
            for (int32_t x = std::max(r.Left, 0); x < r.Right; ++x) {
                canvas.SetPixel(x, y, pattern.GetCanvas().GetPixel(x % 8, y % 8));
            }
        }
    }
    canvas.SetFont(GetFont());
    canvas.GetBrush().SetColor(GetColor());
    PaintButtonCaption(canvas);
    if (FocusCuesShown() && Focused() && FShowFocusRect) {
        PaintDottedFrame(canvas, fr, clNone);
    }
}

void TBvButton::PaintClassic(TCanvas &canvas, TRect &r) {
    const bool group = FGroupIndex != 0;
    const bool pressed = FShowDownVersion;
    if (!group && (((FActive || Focused()) && !pressed) || FClicking)) {
        canvas.GetBrush().SetColor(clWindowFrame);
        canvas.FrameRect(r);
        r.Inflate(-1, -1);
    }
    const bool downLook = IsGroupDown() || pressed;
    if (GetColor() == clBtnFace) {
        r = group ? PaintStyleFrame(canvas, r, downLook ? fsLowered : fsButtonUp)
                  : PaintPushFrame(canvas, r, pressed);
    } else if (!group) {
        r = PaintTintedPushFrame(canvas, r, GetColor(), pressed);
    } else {
        r = downLook ? PaintTintedStyleFrame(canvas, r, GetColor(), fsLowered)
                     : PaintTintedPushFrame(canvas, r, GetColor(), false);
    }
    Fill(canvas, r, GetColor());
}

void TBvButton::PaintHotTracked(TCanvas &canvas, TRect &r) {
    const TColor p = GetParent() ? GetParent()->GetColor() : clBtnFace;
    const bool enabled = GetEnabled();
    const TColor u = enabled ? DarkenColor(p, 20) : p, w = enabled ? LightenColor(p, 20) : p;
    VLine(canvas, r.Left, r.Top + 2, r.Bottom - 2, u);
    HLine(canvas, r.Left + 2, r.Right - 2, r.Top, u);
    VLine(canvas, r.Right - 1, r.Top + 2, r.Bottom - 2, w);
    HLine(canvas, r.Left + 2, r.Right - 2, r.Bottom - 1, w);
    canvas.SetPixel(r.Left + 1, r.Top + 1, u);
    canvas.SetPixel(r.Right - 2, r.Top + 1, u);
    canvas.SetPixel(r.Left + 1, r.Bottom - 2, u);
    canvas.SetPixel(r.Right - 2, r.Bottom - 2, w);
    r.Inflate(-1, -1);
    const TColor frame = enabled                   ? FFrameColor
                         : GetColor() == clBtnFace ? LightenColor(clBtnShadow, 30)
                                                   : DarkenColor(GetColor(), 80);
    VLine(canvas, r.Left, r.Top + 1, r.Bottom - 1, frame);
    HLine(canvas, r.Left + 1, r.Right - 1, r.Top, frame);
    VLine(canvas, r.Right - 1, r.Top + 1, r.Bottom - 1, frame);
    HLine(canvas, r.Left + 1, r.Right - 1, r.Bottom - 1, frame);
    r.Inflate(-1, -1);
    if (!enabled) {
        Fill(canvas, r, GetColor());
    } else if (IsGroupDown() || FShowDownVersion) {
        Fill(canvas, r, DarkenColor(GetColor(), 10));
    } else if (FMouseOverButton) {
        PaintHotFace(canvas, r);
        const TColor t = GetHotTrackColorType() == htctActual
                             ? MixColors(clWhite, GetHotTrackColor(), 190)
                             : OppositeHueColor(GetHotTrackColor(), 180);
        const TColor b =
            GetHotTrackColorType() == htctActual ? GetHotTrackColor() : DarkenColor(t, 30);
        PaintGradientRing(canvas, r, gdHorizontalEnd, t, b);
    } else if (FGroupIndex != 0) {
        PaintHotFace(canvas, r);
    } else if (FActive || Focused()) {
        PaintHotFace(canvas, r);
        TColor h = GetHighlightColor();
        if (ColorsAlike(h, clBtnFace)) {
            h = DarkenColor(h, 30);
        }
        const TColor f = LightenColor(GetColor(), 30);
        PaintGradientRing(canvas, r, gdHorizontalEnd, MixColors(h, f, 60), MixColors(h, f, 160));
    } else {
        PaintHotFace(canvas, r);
    }
}

void TBvButton::PaintHotFace(TCanvas &canvas, TRect &r) {
    HLine(canvas, r.Left, r.Right, r.Bottom - 2, DarkenColor(GetColor(), 20));
    HLine(canvas, r.Left, r.Right, r.Bottom - 1, DarkenColor(GetColor(), 30));
    r.Bottom -= 2;
    if (FullColorScreen()) {
        PaintGradientRect(canvas, r, gdHorizontalEnd, LightenColor(GetColor(), 30),
                          DarkenColor(GetColor(), 10), 1);
    } else {
        Fill(canvas, r, GetColor());
    }
}

void TBvButton::DefineProperties(rtl::TFiler &filer) {
    TBvCustomButton::DefineProperties(filer);
    filer.DefineProperty(
        "FrameFlat", [this](rtl::TReader &reader) { SetHotTrack(reader.ReadBoolean()); }, nullptr);
}

} // namespace controls
