// TBvCustomPanel: frames, fill, grid, caption, child enabling and the composite frame routine.
#include "controls/BvPanel.h"

#include "platform/gfx/Bitmap.h"
#include "platform/rtl/Property.h"
#include "platform/ui/Label.h"

namespace controls {

using namespace gfx;

namespace {

TRect ShrinkSides(TRect r, TSides s, int32_t by) {
    r.Left += s.Contains(sdLeft) ? by : 0;
    r.Top += s.Contains(sdTop) ? by : 0;
    r.Right -= s.Contains(sdRight) ? by : 0;
    r.Bottom -= s.Contains(sdBottom) ? by : 0;
    return r;
}

TRect Ring(TCanvas &c, const TRect &r, int32_t width, TColor color, TSides s) {
    return PaintBevelRings(c, r, color, color, width, s);
}

// The frames every style but fsFlatRounded shares between the outer and the inner position.
TRect PlainFrame(TCanvas &c, const TRect &r, TFrameStyleEx style, const TBvPanelFrameParams &p,
                 TColor f) {
    switch (style) {
    case fsFlat:
        return Ring(c, r, 1, f, p.Sides);
    case fsFlatBold:
        return Ring(c, r, 2, f, p.Sides);
    case fsStatus:
        return PaintBevelRings(c, r, p.Shadow, p.Highlight, p.BevelWidth, p.Sides);
    case fsPopup:
        return PaintBevelRings(c, r, p.Highlight, p.Shadow, p.BevelWidth, p.Sides);
    default:
        return PaintStyleFrameSides(c, r, style, p.Sides);
    }
}

} // namespace

TRect PaintPanelFrames(TCanvas &canvas, const TRect &bounds, const TBvPanelFrameParams &p) {
    const TColor f = ShiftColorLightness(p.FlatColor, p.FlatAdjustment);
    const bool secondRing = p.BorderWidth > 0 || p.Inner != fsNone;
    TRect r = bounds;
    if (p.Outer == fsFlatRounded) {
        if (!p.Transparent) {
            const TRect inner = Ring(canvas, bounds, 1, p.ParentColor, p.Sides);
            Ring(canvas, inner, 1, secondRing ? p.BorderColor : p.FaceColor, p.Sides);
        } else if (secondRing) {
            Ring(canvas, ShrinkSides(bounds, p.Sides, 1), 1, p.BorderColor, p.Sides);
        }
        r = PaintRoundedFlatFrameSides(canvas, bounds, f, p.Sides);
    } else {
        r = PlainFrame(canvas, r, p.Outer, p, f);
    }
    if (p.BorderWidth > 0) {
        r = Ring(canvas, r, p.BorderWidth, p.BorderColor, p.Sides);
    }
    if (p.Inner == fsFlatRounded) {
        const TRect before = r;
        const TRect inner = Ring(canvas, r, 1, p.BorderColor, p.Sides);
        if (!p.Transparent) {
            Ring(canvas, inner, 1, p.FaceColor, p.Sides);
        }
        r = PaintRoundedFlatFrameSides(canvas, before, f, p.Sides);
    } else {
        r = PlainFrame(canvas, r, p.Inner, p, f);
    }
    return r;
}

TBvCustomPanel::TBvCustomPanel(ui::TComponent *owner) : ui::TCustomPanel(owner) {
    SetBevelOuter(ui::bvNone);
}

TBvCustomPanel::~TBvCustomPanel() {
    SetUseDockManager(false); // the manager's hook goes while the panel is whole
    if (FFrameController) {
        FFrameController->RemoveControl(this);
    }
}

void TBvCustomPanel::SetAlignmentVertical(TAlignmentVertical v) {
    rtl::SetProperty(FAlignmentVertical, v, [this] { Changed(); });
}

void TBvCustomPanel::SetBorderInner(TFrameStyleEx v) {
    rtl::SetProperty(FBorderInner, v, [this] { FramesChanged(); });
}

void TBvCustomPanel::SetBorderOuter(TFrameStyleEx v) {
    rtl::SetProperty(FBorderOuter, v, [this] { FramesChanged(); });
}

void TBvCustomPanel::SetBorderSides(TSides v) {
    rtl::SetProperty(FBorderSides, v, [this] { FramesChanged(); });
}

void TBvCustomPanel::SetBorderColor(TColor v) {
    rtl::SetProperty(FBorderColor, v, [this] { Changed(); });
}

void TBvCustomPanel::SetBorderHighlight(TColor v) {
    rtl::SetProperty(FBorderHighlight, v, [this] { Changed(); });
}

void TBvCustomPanel::SetBorderShadow(TColor v) {
    rtl::SetProperty(FBorderShadow, v, [this] { Changed(); });
}

void TBvCustomPanel::SetFlatColor(TColor v) {
    rtl::SetProperty(FFlatColor, v, [this] { Changed(); });
}

void TBvCustomPanel::SetFlatColorAdjustment(int32_t v) {
    rtl::SetProperty(FFlatColorAdjustment, v, [this] { Changed(); });
}

void TBvCustomPanel::SetPaintClientArea(bool v) {
    rtl::SetProperty(FPaintClientArea, v, [this] { Changed(); });
}

void TBvCustomPanel::SetVisualStyle(TBvVisualStyle v) {
    rtl::SetProperty(FVisualStyle, v, [this] { Changed(); });
}

void TBvCustomPanel::SetGradientColorStyle(TBvGradientColorStyle v) {
    rtl::SetProperty(FGradientColorStyle, v, [this] { Changed(); });
}

void TBvCustomPanel::SetGradientColorStart(TColor v) {
    rtl::SetProperty(FGradientColorStart, v, [this] { InvalidateTransparentChildren(); });
}

void TBvCustomPanel::SetGradientColorStop(TColor v) {
    rtl::SetProperty(FGradientColorStop, v, [this] { InvalidateTransparentChildren(); });
}

void TBvCustomPanel::SetGradientDirection(TGradientDirection v) {
    rtl::SetProperty(FGradientDirection, v, [this] { InvalidateTransparentChildren(); });
}

void TBvCustomPanel::SetGridColor(TColor v) {
    rtl::SetProperty(FGridColor, v, [this] { Changed(); });
}

void TBvCustomPanel::SetGridStyle(TBvGridStyle v) {
    rtl::SetProperty(FGridStyle, v, [this] { Changed(); });
}

void TBvCustomPanel::SetGridXSize(uint16_t v) {
    rtl::SetProperty(FGridXSize, v, [this] { Changed(); });
}

void TBvCustomPanel::SetGridYSize(uint16_t v) {
    rtl::SetProperty(FGridYSize, v, [this] { Changed(); });
}

void TBvCustomPanel::SetShowGrid(bool v) {
    rtl::SetProperty(FShowGrid, v, [this] { Changed(); });
}

void TBvCustomPanel::SetTextMargin(int32_t v) {
    rtl::SetProperty(FTextMargin, v, [this] { Changed(); });
}

void TBvCustomPanel::SetTextMarginVertical(int32_t v) {
    rtl::SetProperty(FTextMarginVertical, v, [this] { Changed(); });
}

void TBvCustomPanel::SetWordWrap(bool v) {
    rtl::SetProperty(FWordWrap, v, [this] { Changed(); });
}

void TBvCustomPanel::SetGridSize(uint16_t x, uint16_t y) {
    SetGridXSize(x);
    SetGridYSize(y);
}

void TBvCustomPanel::FramesChanged() {
    Invalidate();
    Realign();
}

void TBvCustomPanel::InvalidateTransparentChildren() {
    Invalidate();
    for (int32_t i = 0; i < GetControlCount(); ++i) {
        ui::TControl *c = GetControl(i);
        auto *panel = dynamic_cast<TBvCustomPanel *>(c);
        auto *label = dynamic_cast<ui::TLabel *>(c);
        if ((panel && panel->GetTransparent()) || (label && label->GetTransparent())) {
            c->Invalidate();
        }
    }
}

void TBvCustomPanel::SetTransparent(bool v) {
    if (v == FTransparent) {
        return;
    }
    FTransparent = v;
    Invalidate();
    for (int32_t i = 0; i < GetControlCount(); ++i) {
        GetControl(i)->Invalidate();
    }
}

void TBvCustomPanel::SetFrameController(TBvFrameController *v) {
    if (v == FFrameController) {
        return;
    }
    if (FFrameController) {
        FFrameController->RemoveControl(this);
    }
    FFrameController = v;
    if (v) {
        v->AddControl(this);
    }
}

void TBvCustomPanel::ApplyFramingSettings() {
    TBvFrameController *c = FFrameController;
    if (!c || !c->GetFrameVisible()) {
        return;
    }
    const TBvFrameControllerNotifications n = FFrameControllerNotifications;
    if (n.Contains(fcpFrameStyle)) {
        FBorderOuter = c->GetFrameStyle();
    }
    if (n.Contains(fcpFrameSides)) {
        FBorderSides = c->GetFrameSides();
    }
    if (n.Contains(fcpFrameColor)) {
        FFlatColor = c->GetFrameColor();
        FFlatColorAdjustment = 0;
    }
    if (n.Contains(fcpColor)) {
        SetColor(c->GetColor());
    }
    if (n.Contains(fcpParentColor)) {
        SetParentColor(c->GetParentColor());
    }
    if (n.Contains(fcpColor)) {
        FBorderHighlight = LightenColor(GetColor(), 100);
        FBorderShadow = DarkenColor(GetColor(), 50);
    }
    Invalidate();
}

void TBvCustomPanel::InsetForFrames(TRect &rect, bool includeBorderBand) const {
    if (includeBorderBand) {
        rect.Inflate(-GetBorderWidth(), -GetBorderWidth());
    }
    for (TFrameStyleEx style : {FBorderOuter, FBorderInner}) {
        int32_t by = 2;
        if (style == fsNone) {
            by = 0;
        } else if (style == fsFlat) {
            by = 1;
        } else if (style == fsStatus || style == fsPopup) {
            by = GetBevelWidth();
        }
        rect = ShrinkSides(rect, FBorderSides, by);
    }
}

void TBvCustomPanel::AlignControls(TRect &rect) {
    InsetForFrames(rect, false);
    ui::TCustomPanel::AlignControls(rect);
}

void TBvCustomPanel::SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) {
    if (GetAlign() == ui::alBottom && height != GetHeight()) {
        top = GetTop() + GetHeight() - height;
    } else if (GetAlign() == ui::alRight && width != GetWidth()) {
        left = GetLeft() + GetWidth() - width;
    }
    FLastStrips.clear();
    const int32_t oldW = GetWidth(), oldH = GetHeight();
    if (!GetFullRepaint() && GetCaption().empty() && (width != oldW || height != oldH)) {
        // Only the strips that reveal the moved right and bottom frames need repainting.
        TRect r = Rect(0, 0, oldW, oldH);
        InsetForFrames(r, true);
        if (width != oldW) {
            FLastStrips.push_back(Rect(r.Right - ResizeStripSize().X, 0, oldW, oldH));
        }
        if (height != oldH) {
            FLastStrips.push_back(Rect(0, r.Bottom - ResizeStripSize().Y, oldW, oldH));
        }
    }
    ui::TCustomPanel::SetBounds(left, top, width, height);
    Invalidate(); // the platform repaints whole controls only
}

void TBvCustomPanel::ColorChanged() {
    FPanelColor = GetColor(); // the system style is always active
    Invalidate();
}

void TBvCustomPanel::EnabledChanged() {
    Invalidate();
    PropagateEnabled(GetEnabled());
}

void TBvCustomPanel::PropagateEnabled(bool enable) {
    if (!enable) {
        FEnabledList.clear();
        for (int32_t i = 0; i < GetControlCount(); ++i) {
            ui::TControl *c = GetControl(i);
            FEnabledList.emplace_back(c, c->GetEnabled() ? u"1" : u"0");
        }
        for (int32_t i = 0; i < GetControlCount(); ++i) {
            GetControl(i)->SetEnabled(false);
        }
        return;
    }
    for (int32_t i = 0; i < GetControlCount(); ++i) {
        ui::TControl *c = GetControl(i);
        const auto it = std::find_if(FEnabledList.begin(), FEnabledList.end(),
                                     [c](const auto &e) { return e.first == c; });
        if (it == FEnabledList.end() || it->second == u"1") {
            c->SetEnabled(true);
        }
    }
}

void TBvCustomPanel::Dispatch(ui::TMessage &m) {
    if (m.Msg == ui::WM_THEMECHANGED) {
        ui::TCustomPanel::Dispatch(m);
        RefreshActiveColorScheme();
        return;
    }
    ui::TCustomPanel::Dispatch(m);
}

void TBvCustomPanel::ResolveGradientColors(TColor &start, TColor &stop) const {
    if (FGradientColorStyle == gcsCustom) {
        start = FGradientColorStart;
        stop = FGradientColorStop;
    } else {
        SchemeGradientColors(FGradientColorStyle, start, stop);
    }
}

void TBvCustomPanel::ResolveFlatFrameColors(TColor &color, int32_t &adjustment) const {
    if (FVisualStyle != vsGradient || FGradientColorStyle == gcsCustom) {
        color = FFlatColor;
        adjustment = FFlatColorAdjustment;
    } else {
        color = SchemeFrameColor(FGradientColorStyle);
        adjustment = 0;
    }
}

bool TBvCustomPanel::IsRounded() const {
    return (FBorderOuter == fsFlatRounded && FBorderInner == fsNone && GetBorderWidth() == 0) ||
           FBorderInner == fsFlatRounded;
}

void TBvCustomPanel::Paint() {
    TBitmap face(std::max(GetWidth(), 1), std::max(GetHeight(), 1));
    PaintTo(face.GetCanvas());
    if (ui::IDockManager *manager = GetDockManager()) {
        manager->PaintSite(face.GetCanvas());
    }
    GetCanvas().Draw(0, 0, face);
}

void TBvCustomPanel::PrintClient(TCanvas &canvas, int32_t dx, int32_t dy) {
    TBitmap face(std::max(GetWidth(), 1), std::max(GetHeight(), 1));
    PaintTo(face.GetCanvas());
    canvas.Draw(dx, dy, face);
}

void TBvCustomPanel::PaintTo(TCanvas &canvas) {
    TRect r = PaintBounds();
    TBvPanelFrameParams p{FBorderOuter,    FBorderInner, GetBorderWidth(), FBorderSides,
                          GetBevelWidth(), FBorderColor, FBorderHighlight, FBorderShadow};
    ResolveFlatFrameColors(p.FlatColor, p.FlatAdjustment);
    p.ParentColor = GetParent() ? GetParent()->GetColor() : clBtnFace;
    p.FaceColor = GetColor();
    p.Transparent = FTransparent;
    if (FTransparent && FPaintClientArea) {
        PaintParentBackground(*this, canvas, true);
    } else {
        canvas.GetBrush().SetColor(GetColor());
        canvas.FillRect(r); // the background erase, seen where frames skip pixels
    }
    r = PaintPanelFrames(canvas, r, p);
    if (!FTransparent && FPaintClientArea) {
        const bool rounded = IsRounded();
        const TRect before = r;
        if (rounded) {
            r = ShrinkSides(r, FBorderSides, -1);
        }
        if (FVisualStyle == vsGradient) {
            TColor start = 0, stop = 0;
            ResolveGradientColors(start, stop);
            PaintGradientRect(canvas, r, FGradientDirection, start, stop, 1);
        } else {
            canvas.GetBrush().SetStyle(bsSolid);
            canvas.GetBrush().SetColor(p.FaceColor);
            canvas.FillRect(r);
        }
        if (rounded) {
            const TColor f = ShiftColorLightness(p.FlatColor, p.FlatAdjustment);
            const TSides s = FBorderSides;
            const auto corner = [&](TSide a, TSide b, int32_t x, int32_t y) {
                if (s.Contains(a) && s.Contains(b)) {
                    canvas.SetPixel(x, y, f);
                }
            };
            corner(sdLeft, sdTop, r.Left, r.Top);
            corner(sdRight, sdTop, r.Right - 1, r.Top);
            corner(sdRight, sdBottom, r.Right - 1, r.Bottom - 1);
            corner(sdLeft, sdBottom, r.Left, r.Bottom - 1);
            r = before;
        }
    }
    if (FShowGrid) {
        PaintGridPattern(canvas, r);
    }
    canvas.GetBrush().SetStyle(bsClear);
    PaintCaptionText(canvas, r);
    canvas.GetBrush().SetStyle(bsSolid);
    if (OnPaint) {
        OnPaint(this);
    }
}

void TBvCustomPanel::PaintCaptionText(TCanvas &canvas, TRect r) {
    const rtl::UnicodeString &text = GetCaption();
    if (text.empty()) {
        return;
    }
    canvas.SetFont(GetFont());
    r.Inflate(-FTextMargin, -FTextMarginVertical);
    uint32_t flags = GetAlignment() == ui::taLeftJustify    ? DT_LEFT
                     : GetAlignment() == ui::taRightJustify ? DT_RIGHT
                                                            : DT_CENTER;
    flags |= (FWordWrap ? uint32_t(DT_WORDBREAK) : 0u) | DT_EXPANDTABS | DT_VCENTER;
    TRect probe = r;
    const int32_t h = DrawTextInRect(canvas, text, probe, flags | DT_CALCRECT);
    if (FAlignmentVertical == avTop) {
        r.Bottom = std::min(r.Bottom, r.Top + h);
    } else if (FAlignmentVertical == avCenter) {
        r.Top = (r.Top + r.Bottom - h) / 2;
        r.Bottom = std::min(r.Bottom, r.Top + h);
    } else {
        r.Top = std::max(r.Top, r.Bottom - h - 1);
    }
    if (!GetEnabled()) {
        canvas.GetFont().SetColor(clGrayText);
    }
    DrawTextInRect(canvas, text, r, flags);
}

void TBvCustomPanel::PaintGridPattern(TCanvas &canvas, const TRect &r) {
    const int32_t cols = FGridXSize ? (r.Right - r.Left) / FGridXSize : 0;
    const int32_t rows = FGridYSize ? (r.Bottom - r.Top) / FGridYSize : 0;
    const TColor color = StyledColor(FGridColor);
    canvas.GetPen().SetColor(color);
    if (FGridStyle == gsDots) {
        for (int32_t i = 1; i <= cols; ++i) {
            for (int32_t j = 1; j <= rows; ++j) {
                canvas.SetPixel(r.Left + i * FGridXSize - 1, r.Top + j * FGridYSize - 1, color);
            }
        }
        return;
    }
    // Dotted lines set every second pixel, starting one pixel after the line's start.
    const auto line = [&](int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
        if (FGridStyle == gsSolidLines) {
            canvas.MoveTo(x1, y1);
            canvas.LineTo(x2, y2);
        } else if (x1 == x2) {
            for (int32_t y = y1 + 1; y < y2; y += 2) {
                canvas.SetPixel(x1, y, color);
            }
        } else {
            for (int32_t x = x1 + 1; x < x2; x += 2) {
                canvas.SetPixel(x, y1, color);
            }
        }
    };
    for (int32_t i = 1; i <= cols; ++i) {
        const int32_t x = r.Left + i * FGridXSize - 1;
        line(x, r.Top, x, r.Bottom);
    }
    for (int32_t j = 1; j <= rows; ++j) {
        const int32_t y = r.Top + j * FGridYSize - 1;
        line(r.Left, y, r.Right, y);
    }
}

void TBvCustomPanel::DefineProperties(rtl::TFiler &filer) {
    ui::TCustomPanel::DefineProperties(filer);
    filer.DefineProperty("FrameSides", TBvOldPropReader::ReadOldSetProp, nullptr);
    filer.DefineProperty("ThemeAware", TBvOldPropReader::ReadOldBooleanProp, nullptr);
    filer.DefineProperty(
        "UseGradients",
        [this](rtl::TReader &reader) {
            if (reader.ReadBoolean()) {
                SetVisualStyle(vsGradient);
            }
        },
        nullptr);
}

} // namespace controls
