// TBvCustomButton: press state from mouse and keyboard, hot tracking, focus cues and captions.
#include "controls/BvButton.h"

#include "controls/BvGrafx.h"
#include "platform/rtl/Property.h"

namespace controls {

using namespace gfx;

TBvCustomButton::TBvCustomButton(ui::TComponent *owner) : ui::TCustomControl(owner) {
    FClickOnMouseUp = false; // clicks come from PerformClick only
    SetBounds(0, 0, 115, 17);
    SetTabStop(true);
}

void TBvCustomButton::SetAlignmentVertical(TAlignmentVertical v) {
    rtl::SetProperty(FAlignmentVertical, v, [this] { Invalidate(); });
}

void TBvCustomButton::SetHotTrackColor(TColor v) {
    rtl::SetProperty(FHotTrackColor, v, [this] { Invalidate(); });
}

void TBvCustomButton::SetHotTrackColorType(TBvHotTrackColorType v) {
    rtl::SetProperty(FHotTrackColorType, v, [this] { Invalidate(); });
}

void TBvCustomButton::SetHighlightColor(TColor v) {
    rtl::SetProperty(FHighlightColor, v, [this] { Invalidate(); });
}

void TBvCustomButton::SetLightTextStyle(bool v) {
    rtl::SetProperty(FLightTextStyle, v, [this] { Invalidate(); });
}

void TBvCustomButton::SetTextStyle(TTextStyle v) {
    rtl::SetProperty(FTextStyle, v, [this] { Invalidate(); });
}

void TBvCustomButton::SetTextHighlightColor(TColor v) {
    rtl::SetProperty(FTextHighlightColor, v, [this] { Invalidate(); });
}

void TBvCustomButton::SetTextShadowColor(TColor v) {
    rtl::SetProperty(FTextShadowColor, v, [this] { Invalidate(); });
}

void TBvCustomButton::SetTextShadowDepth(int32_t v) {
    rtl::SetProperty(FTextShadowDepth, v, [this] { Invalidate(); });
}

void TBvCustomButton::SetThemeAware(bool v) {
    rtl::SetProperty(FThemeAware, v, [this] { Invalidate(); });
}

void TBvCustomButton::SetHotTrack(bool v) {
    rtl::SetProperty(FHotTrack, v, [this] { Invalidate(); });
}

void TBvCustomButton::SetTransparentFlag(bool v) {
    rtl::SetProperty(FTransparent, v, [this] { Invalidate(); });
}

TColor TBvCustomButton::StyleCaptionColor(bool) const {
    return clNone; // the system style is always active here
}

void TBvCustomButton::Paint() {
    TBitmap face = PaintFaceBitmap();
    GetCanvas().Draw(0, 0, face);
}

TBitmap TBvCustomButton::PaintFaceBitmap() {
    TBitmap face(std::max(GetClientWidth(), 1), std::max(GetClientHeight(), 1));
    TCanvas &canvas = face.GetCanvas();
    // The erase: hot-tracked buttons show the parent's background in their cut corners.
    if (FTransparent) {
        PaintParentBackground(*this, canvas, true);
    } else {
        canvas.GetBrush().SetColor(GetColor());
        canvas.FillRect(GetClientRect());
    }
    canvas.SetFont(GetFont());
    PaintFace(canvas);
    return face;
}

bool TBvCustomButton::InClient(const ui::TMessage &m) const {
    const int32_t x = ui::GetXLParam(m.LParam), y = ui::GetYLParam(m.LParam);
    return x >= 0 && x < GetClientWidth() && y >= 0 && y < GetClientHeight();
}

void TBvCustomButton::Dispatch(ui::TMessage &m) {
    switch (m.Msg) {
    case ui::WM_LBUTTONDOWN:
    case ui::WM_LBUTTONDBLCLK:
        WMLButtonDown(m);
        break;
    case ui::WM_MOUSEMOVE:
        WMMouseMove(m);
        break;
    case ui::WM_LBUTTONUP:
        WMLButtonUp(m);
        break;
    case ui::CM_MOUSEENTER:
        CMMouseEnter(m);
        break;
    case ui::CM_MOUSELEAVE:
        CMMouseLeave(m);
        break;
    case ui::WM_SETFOCUS:
        WMSetFocus(m);
        break;
    case ui::WM_KILLFOCUS:
        WMKillFocus(m);
        break;
    case ui::WM_UPDATEUISTATE:
    case ui::WM_CHANGEUISTATE:
        WMUpdateUIState(m);
        return;
    default:
        break;
    }
    ui::TCustomControl::Dispatch(m);
}

void TBvCustomButton::WMLButtonDown(ui::TMessage &) {
    if (!GetEnabled()) {
        return;
    }
    SetFocus();
    if (Focused()) {
        FShowDownVersion = true;
        StateChanged();
        FDragging = true;
    }
}

void TBvCustomButton::WMMouseMove(ui::TMessage &m) {
    if (!FDragging) {
        return;
    }
    const bool inside = InClient(m);
    if (inside != FShowDownVersion) {
        FShowDownVersion = inside;
        StateChanged();
    }
}

void TBvCustomButton::WMLButtonUp(ui::TMessage &m) {
    if (!FDragging) {
        return;
    }
    FDragging = false;
    FShowDownVersion = false;
    if (InClient(m)) {
        PerformClick();
    }
    StateChanged();
}

void TBvCustomButton::CMMouseEnter(ui::TMessage &) {
    FMouseOverButton = true;
    if (FHotTrack || ThemedPaintActive()) {
        Invalidate();
    }
}

void TBvCustomButton::CMMouseLeave(ui::TMessage &) {
    FMouseOverButton = false;
    if (FHotTrack || ThemedPaintActive()) {
        Invalidate();
    }
}

void TBvCustomButton::KeyDown(uint16_t &key, ui::TShiftState shift) {
    if (key == ui::VK_SPACE && !shift.Contains(ui::ssAlt)) {
        FKeyToggle = true;
        FShowDownVersion = true;
        StateChanged();
    }
    ui::TCustomControl::KeyDown(key, shift);
}

void TBvCustomButton::KeyUp(uint16_t &key, ui::TShiftState shift) {
    if (key == ui::VK_SPACE) {
        FShowDownVersion = false;
        if (FKeyToggle) {
            FKeyToggle = false;
            PerformClick();
        }
        StateChanged();
    }
    ui::TCustomControl::KeyUp(key, shift);
}

void TBvCustomButton::WMSetFocus(ui::TMessage &) {
    Invalidate();
}

void TBvCustomButton::WMKillFocus(ui::TMessage &) {
    if (!IsDestroying()) {
        FKeyToggle = false;
        FShowDownVersion = false;
        StateChanged();
    }
    Invalidate();
}

void TBvCustomButton::WMUpdateUIState(ui::TMessage &m) {
    const uint16_t action = uint16_t(m.WParam & 0xFFFF);
    const uint16_t flags =
        uint16_t((m.WParam >> 16) & 0xFFFF) & (ui::UISF_HIDEFOCUS | ui::UISF_HIDEACCEL);
    const uint16_t old = FUIState;
    if (action == ui::UIS_SET) {
        FUIState |= flags;
    } else if (action == ui::UIS_CLEAR) {
        FUIState &= uint16_t(~flags);
    } else if (action == ui::UIS_INITIALIZE) {
        FUIState = flags;
    }
    if (old != FUIState) {
        Invalidate();
    }
}

void TBvCustomButton::PaintCaption(TCanvas &canvas, TRect rect, uint32_t flags) {
    canvas.GetBrush().SetStyle(bsClear);
    canvas.SetFont(GetFont());
    rtl::UnicodeString text = GetCaption();
    if (!AcceleratorsShown()) {
        text = StripAccelerators(text);
        flags |= DT_NOPREFIX;
    }
    TRect probe = rect;
    const int32_t h = DrawTextInRect(canvas, text, probe,
                                     DT_WORDBREAK | DT_EXPANDTABS | DT_VCENTER | DT_CENTER |
                                         DT_CALCRECT | (flags & DT_NOPREFIX));
    switch (FAlignmentVertical) {
    case avTop:
        rect.Bottom = rect.Top + h;
        break;
    case avCenter:
        rect.Top = (rect.Top + rect.Bottom - h) / 2;
        rect.Bottom = rect.Top + h;
        break;
    case avBottom:
        rect.Top = rect.Bottom - h - 1;
        break;
    }
    const TColor fontColor = GetFont().GetColor();
    if (!SystemStyleActive()) {
        canvas.GetFont().SetColor(StyleCaptionColor(true));
    } else if (GetEnabled()) {
        auto at = [&](int32_t dx, int32_t dy, TColor c) {
            TRect r = rect;
            r.Offset(dx, dy);
            canvas.GetFont().SetColor(c);
            DrawTextInRect(canvas, text, r, flags);
        };
        if (FTextStyle == tsRaised) {
            if (!FLightTextStyle) {
                at(1, 1, FTextShadowColor);
            }
            at(-1, -1, FTextHighlightColor);
        } else if (FTextStyle == tsRecessed) {
            at(1, 1, FTextHighlightColor);
            if (!FLightTextStyle) {
                at(-1, -1, FTextShadowColor);
            }
        } else if (FTextStyle == tsShadow) {
            at((flags & DT_RIGHT) ? 0 : FTextShadowDepth, FTextShadowDepth, FTextShadowColor);
        }
        canvas.GetFont().SetColor(fontColor);
        if (flags & DT_RIGHT) {
            rect.Offset(-FTextShadowDepth, 0);
        }
    } else {
        canvas.GetFont().SetColor(ColorsAlike(GetColor(), clGrayText) ? cl3DDkShadow : clGrayText);
    }
    DrawTextInRect(canvas, text, rect, flags);
    canvas.GetBrush().SetStyle(bsSolid);
}

} // namespace controls
