// TBvBitBtn: glyph strip, standard kinds with their shared stock glyphs, glyph placement.
#include "controls/BvButton.h"

#include "controls/BvGrafx.h"
#include "platform/rtl/Property.h"

#include <array>
#include <memory>

namespace controls {

using namespace gfx;

namespace {

struct TKindInfo {
    const char16_t *caption;
    ui::TModalResult result;
    char
        shape; // 'v' check, 'x' cross, '?' question, 'd' door, 'o' loop, '-' dash, 'w' double check
    TColor color;
};

constexpr TKindInfo KindTable[] = {
    {u"", ui::mrNone, ' ', clBlack},        {u"OK", ui::mrOk, 'v', clGreen},
    {u"Cancel", ui::mrCancel, 'x', clRed},  {u"&Help", ui::mrNone, '?', clNavy},
    {u"&Yes", ui::mrYes, 'v', clGreen},     {u"&No", ui::mrNo, 'x', clRed},
    {u"&Close", ui::mrNone, 'd', clTeal},   {u"Abort", ui::mrAbort, 'x', clMaroon},
    {u"&Retry", ui::mrRetry, 'o', clGreen}, {u"&Ignore", ui::mrIgnore, '-', clNavy},
    {u"&All", ui::mrAll, 'w', clGreen},
};

constexpr TColor GlyphBackground = clOlive; // the bottom-left pixel: transparent

void DrawShape(TCanvas &c, int32_t ox, char shape, TColor color) {
    c.GetPen().SetColor(color);
    auto line = [&](int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
        for (int32_t d = 0; d < 2; ++d) { // two pixels thick
            c.MoveTo(ox + x1, y1 + d);
            c.LineTo(ox + x2, y2 + d);
        }
    };
    switch (shape) {
    case 'v':
        line(3, 8, 6, 11), line(6, 11, 13, 4);
        break;
    case 'w':
        line(1, 8, 4, 11), line(4, 11, 10, 5), line(6, 8, 8, 10), line(8, 10, 14, 4);
        break;
    case 'x':
        line(4, 3, 12, 11), line(12, 3, 4, 11);
        break;
    case '?':
        line(5, 3, 11, 3), line(11, 3, 11, 7), line(11, 7, 8, 7), line(8, 7, 8, 10),
            line(8, 12, 8, 13);
        break;
    case 'd':
        line(4, 2, 12, 2), line(4, 2, 4, 13), line(11, 2, 11, 13), line(9, 7, 10, 7);
        break;
    case 'o':
        line(4, 4, 12, 4), line(12, 4, 12, 11), line(12, 11, 4, 11), line(4, 11, 4, 7),
            line(2, 7, 6, 7);
        break;
    default:
        line(3, 7, 13, 7);
        break;
    }
}

std::array<std::unique_ptr<TBitmap>, 11> &GlyphCache() {
    static std::array<std::unique_ptr<TBitmap>, 11> cache;
    return cache;
}

} // namespace

const TBitmap *KindGlyphBitmap(TBitBtnKind kind) {
    if (kind == bkCustom) {
        return nullptr;
    }
    std::unique_ptr<TBitmap> &slot = GlyphCache()[kind];
    if (!slot) {
        slot = std::make_unique<TBitmap>(32, 16);
        TCanvas &c = slot->GetCanvas();
        c.GetBrush().SetColor(GlyphBackground);
        c.FillRect(Rect(0, 0, 32, 16));
        DrawShape(c, 0, KindTable[kind].shape, KindTable[kind].color);
        DrawShape(c, 17, KindTable[kind].shape, clWhite); // disabled: embossed grey
        DrawShape(c, 16, KindTable[kind].shape, clGray);
    }
    return slot.get();
}

rtl::UnicodeString KindCaption(TBitBtnKind kind) {
    return KindTable[kind].caption;
}

ui::TModalResult KindModalResult(TBitBtnKind kind) {
    return KindTable[kind].result;
}

TBvBitBtn::TBvBitBtn(ui::TComponent *owner) : TBvButton(owner) {
    FImagesChangeLink.OnChange = [this](TCustomImageList *sender) {
        if (sender == FImages) {
            Invalidate();
        }
    };
}

TBvBitBtn::~TBvBitBtn() {
    if (FImages) {
        FImages->UnRegisterChanges(&FImagesChangeLink);
        FImages->RemoveFreeNotification(this);
    }
}

void TBvBitBtn::SetImages(TCustomImageList *images) {
    if (images == FImages) {
        return;
    }
    if (FImages) {
        FImages->UnRegisterChanges(&FImagesChangeLink);
        FImages->RemoveFreeNotification(this);
    }
    FImages = images;
    if (FImages) {
        FImages->RegisterChanges(&FImagesChangeLink);
        FImages->FreeNotification(this);
    }
    Invalidate();
}

void TBvBitBtn::Notification(rtl::TComponent *component, rtl::TOperation operation) {
    TBvButton::Notification(component, operation);
    if (operation == rtl::opRemove && component == FImages) {
        FImages = nullptr; // its change links are already gone with it
        Invalidate();
    }
}

void TBvBitBtn::SetImageIndex(ui::TImageIndex index) {
    if (index != FImageIndex) {
        FImageIndex = index;
        Invalidate();
    }
}

void TBvBitBtn::SetDisabledIndex(ui::TImageIndex index) {
    if (index != FDisabledIndex) {
        FDisabledIndex = index;
        Invalidate();
    }
}

void TBvBitBtn::ActionChange(ui::TBasicAction *sender, ui::TActionChangeMode mode) {
    TBvButton::ActionChange(sender, mode);
    if (auto *action = dynamic_cast<ui::TCustomAction *>(sender)) {
        if (mode == ui::acmReplaceAll || FImageIndex == -1) {
            SetImageIndex(action->GetImageIndex());
        }
    }
}

TButtonLayout TBvBitBtn::EffectiveLayout() const {
    return FLayout == blGlyphLeft && UseRightToLeftAlignment() ? blGlyphRight : FLayout;
}

void TBvBitBtn::SetGlyph(const TBitmap &glyph) {
    FGlyph = glyph;
    FModifiedGlyph = true;
    GlyphChanged();
}

void TBvBitBtn::GlyphChanged() {
    const int32_t w = FGlyph.GetWidth(), h = FGlyph.GetHeight();
    if (h != 0 && w % h == 0) {
        const int32_t n = w / h;
        FNumGlyphs = n >= 1 && n <= 4 ? n : 1;
    }
    Invalidate();
}

TBitBtnKind TBvBitBtn::GetKind() {
    if (FKind != bkCustom) {
        const bool keeps = GetDefault() == (FKind == bkOK || FKind == bkYes) &&
                           GetCancel() == (FKind == bkCancel || FKind == bkNo) &&
                           GetModalResult() == KindModalResult(FKind) && !FModifiedGlyph;
        if (!keeps) {
            FKind = bkCustom;
        }
    }
    return FKind;
}

void TBvBitBtn::SetKind(TBitBtnKind kind) {
    if (kind == FKind) {
        return;
    }
    if (kind != bkCustom) {
        SetDefault(kind == bkOK || kind == bkYes);
        SetCancel(kind == bkCancel || kind == bkNo);
        SetCaption(KindCaption(kind));
        SetModalResult(KindModalResult(kind));
        FGlyph = *KindGlyphBitmap(kind);
        GlyphChanged();
        FNumGlyphs = 2;
        FModifiedGlyph = false;
    }
    FKind = kind;
    Invalidate();
}

void TBvBitBtn::SetLayout(TButtonLayout v) {
    rtl::SetProperty(FLayout, v, [this] { Invalidate(); });
}

void TBvBitBtn::SetSpacing(int32_t v) {
    rtl::SetProperty(FSpacing, v, [this] { Invalidate(); });
}

void TBvBitBtn::SetMargin(int32_t v) {
    if (v >= -1 && v != FMargin) {
        FMargin = v;
        Invalidate();
    }
}

void TBvBitBtn::SetNumGlyphs(int32_t v) {
    v = std::clamp(v, 1, 4);
    if (v != FNumGlyphs) {
        FNumGlyphs = v;
        Invalidate();
    }
}

void TBvBitBtn::ChangeScale(int32_t m, int32_t d) {
    if (d != 0) {
        FMargin = MulDiv(FMargin, m, d);
        FSpacing = MulDiv(FSpacing, m, d);
        Invalidate();
    }
}

TSize TBvBitBtn::GlyphSize() const {
    if (HasImageListImage()) {
        return {FImages->GetWidth(), FImages->GetHeight()};
    }
    return {FGlyph.GetWidth() / FNumGlyphs, FGlyph.GetHeight()};
}

int32_t TBvBitBtn::MeasureCaptionHeight(const TRect &rect) {
    TCanvas &c = GetCanvas();
    c.SetFont(GetFont());
    TRect probe = rect;
    return c.DrawText(GetCaption(), probe,
                      DT_WORDBREAK | DT_EXPANDTABS | DT_VCENTER | DT_CENTER | DT_CALCRECT);
}

void TBvBitBtn::CaptionRect(TRect &r) {
    TBvButton::CaptionRect(r);
    if (!HasPicture()) {
        return;
    }
    const TSize g = GlyphSize();
    if (FMargin >= 0 || EffectiveLayout() == blGlyphLeft || EffectiveLayout() == blGlyphRight) {
        switch (EffectiveLayout()) {
        case blGlyphLeft:
            r.Left += FMargin + g.cx + FSpacing;
            break;
        case blGlyphRight:
            r.Right -= FMargin + g.cx + FSpacing;
            break;
        case blGlyphTop:
            r.Top += FMargin + g.cy + FSpacing;
            break;
        case blGlyphBottom:
            r.Bottom -= FMargin + g.cy + FSpacing;
            break;
        }
        return;
    }
    const int32_t h = MeasureCaptionHeight(r);
    const int32_t gap = (GetHeight() - h - g.cy - FSpacing) / 2;
    r.Top = EffectiveLayout() == blGlyphTop ? r.Top + g.cy + gap : r.Top + gap;
    r.Bottom = r.Top + h;
}

TRect TBvBitBtn::GlyphRect() {
    TRect r;
    TBvButton::CaptionRect(r);
    // A press in progress, not a group button resting down: the latter's caption rectangle has
    // already moved and the glyph simply follows it.
    const bool pressed = FShowDownVersion;
    if (pressed) {
        r.Offset(-1, ThemedPaintActive() ? 0 : -1);
    }
    const TSize g = GlyphSize();
    const TButtonLayout layout = EffectiveLayout();
    if (FMargin >= 0) {
        if (layout == blGlyphLeft) {
            r.Left += FMargin;
        } else if (layout == blGlyphRight) {
            r.Left = r.Right - FMargin - g.cx;
        } else if (layout == blGlyphTop) {
            r.Top += FMargin;
        } else {
            r.Top = r.Bottom - FMargin - g.cy;
        }
    } else {
        const int32_t h = MeasureCaptionHeight(r);
        const int32_t gap = (GetHeight() - h - g.cy - FSpacing) / 2;
        if (layout == blGlyphRight) {
            r.Left = r.Right - g.cx;
        } else if (layout == blGlyphTop) {
            r.Top = gap;
        } else if (layout == blGlyphBottom) {
            r.Top += h + gap;
        }
    }
    if (layout == blGlyphTop || layout == blGlyphBottom) {
        r.Left += (r.Right - r.Left - g.cx + 1) / 2;
    } else {
        r.Top += (r.Bottom - r.Top - g.cy + 1) / 2;
    }
    r.Right = r.Left + g.cx;
    r.Bottom = r.Top + g.cy;
    if (pressed) {
        r.Offset(ThemedPaintActive() ? 2 : 1, ThemedPaintActive() ? 0 : 1);
    }
    return r;
}

void TBvBitBtn::PaintButtonCaption(TCanvas &canvas) {
    TBvButton::PaintButtonCaption(canvas);
    if (GetKind() == bkCustom && HasImageListImage()) {
        PaintImageListGlyph(canvas, GlyphRect());
    } else if (!FGlyph.Empty()) {
        PaintBitmapGlyph(canvas, GlyphRect());
    }
}

void TBvBitBtn::PaintImageListGlyph(TCanvas &canvas, const TRect &gr) {
    if (FDisabledIndex == -1) {
        FImages->Draw(canvas, gr.Left, gr.Top, FImageIndex, GetEnabled() ? deEnabled : deDisabled);
    } else {
        FImages->Draw(canvas, gr.Left, gr.Top, GetEnabled() ? FImageIndex : FDisabledIndex);
    }
}

void TBvBitBtn::PaintBitmapGlyph(TCanvas &canvas, const TRect &gr) {
    const int32_t w = gr.Width(), h = gr.Height();
    if (w <= 0 || h <= 0) {
        return;
    }
    int32_t cell = 0;
    if (FNumGlyphs == 4 && FState == bsExclusive) {
        cell = 3;
    } else if (FNumGlyphs >= 3 && (FState == bsDown || FShowDownVersion)) {
        cell = 2;
    } else if (FNumGlyphs >= 2 && !GetEnabled()) {
        cell = 1;
    }
    TBitmap temp(w, h);
    temp.GetCanvas().GetBrush().SetColor(GetColor());
    temp.GetCanvas().CopyRect(Rect(0, 0, w, h), canvas, gr);
    const uint32_t corner = FGlyph.ScanLine(FGlyph.GetHeight() - 1)[0];
    const TColor transparent = RGB(uint8_t(corner >> 16), uint8_t(corner >> 8), uint8_t(corner));
    DrawMaskedBitmap(temp.GetCanvas(), FGlyph, Rect(0, 0, w, h), Bounds(cell * w, 0, w, h),
                     transparent);
    canvas.Draw(gr.Left, gr.Top, temp);
}

} // namespace controls
