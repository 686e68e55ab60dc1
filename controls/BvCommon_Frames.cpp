// The stateless frame routines of the styled controls and the small text routines.
#include "controls/BvCommon.h"

#include "controls/BvGrafx.h"
#include "platform/gfx/Bitmap.h"

namespace controls {

using namespace gfx;

namespace {

void Line(TCanvas &c, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    c.MoveTo(x1, y1);
    c.LineTo(x2, y2);
}

TRect Shrink(TRect r, TSides sides, int32_t by) {
    r.Left += sides.Contains(sdLeft) ? by : 0;
    r.Top += sides.Contains(sdTop) ? by : 0;
    r.Right -= sides.Contains(sdRight) ? by : 0;
    r.Bottom -= sides.Contains(sdBottom) ? by : 0;
    return r;
}

// Two rings of side lines: outer (ul1, lr1), then inner (ul2, lr2).
TRect TwoRings(TCanvas &c, const TRect &r, TColor ul1, TColor lr1, TColor ul2, TColor lr2,
               TSides sides) {
    return PaintSideLines(c, PaintSideLines(c, r, ul1, lr1, sides), ul2, lr2, sides);
}

TRect TwoRingGroove(TCanvas &c, const TRect &r, TColor ul, TColor lr, TSides s) {
    const int32_t L = r.Left, T = r.Top, R = r.Right, B = r.Bottom;
    const bool left = s.Contains(sdLeft), top = s.Contains(sdTop), right = s.Contains(sdRight),
               bottom = s.Contains(sdBottom);
    if (right) {
        c.SetPixel(R - 1, T, lr);
    }
    if (top && !right) {
        c.SetPixel(R - 1, T, ul);
    }
    if (bottom) {
        c.SetPixel(L, B - 1, lr);
    }
    if (left && !bottom) {
        c.SetPixel(L, B - 1, ul);
    }
    if (top && !left) {
        c.SetPixel(L, T + 1, lr);
    }
    if (left && !top) {
        c.SetPixel(L + 1, T, lr);
    }
    if (bottom && !right) {
        c.SetPixel(R - 1, B - 2, ul);
    }
    if (right && !bottom) {
        c.SetPixel(R - 2, B - 1, ul);
    }
    PaintSideLines(c, Rect(L + 1, T + 1, R, B), lr, lr, s);
    PaintSideLines(c, Rect(L, T, R - 1, B - 1), ul, ul, s);
    return Shrink(r, s, 2);
}

} // namespace

TRect PaintSideLines(TCanvas &canvas, const TRect &bounds, TColor ul, TColor lr, TSides sides) {
    const int32_t L = bounds.Left, T = bounds.Top, R = bounds.Right, B = bounds.Bottom;
    if (ul != clNone) {
        canvas.GetPen().SetColor(ul);
        if (sides.Contains(sdLeft)) {
            Line(canvas, L, T, L, B);
        }
        if (sides.Contains(sdTop)) {
            Line(canvas, L, T, R, T);
        }
    }
    if (lr != clNone) {
        canvas.GetPen().SetColor(lr);
        if (sides.Contains(sdRight)) {
            Line(canvas, R - 1, T, R - 1, B);
        }
        if (sides.Contains(sdBottom)) {
            Line(canvas, L, B - 1, R, B - 1);
        }
    }
    return Shrink(bounds, sides, 1);
}

TRect PaintBevelRings(TCanvas &canvas, const TRect &bounds, TColor ul, TColor lr, int32_t width,
                      TSides sides) {
    canvas.GetPen().SetWidth(1);
    TRect r = bounds;
    for (int32_t i = 0; i < width; ++i) {
        r = PaintSideLines(canvas, r, ul, lr, sides);
    }
    return r;
}

TRect Paint3DFrameSides(TCanvas &canvas, const TRect &bounds, bool lowered, TSides sides) {
    if (lowered) {
        return TwoRings(canvas, bounds, StyledColor(clBtnShadow), StyledColor(clBtnHighlight),
                        StyledColor(cl3DDkShadow), StyledColor(cl3DLight), sides);
    }
    return TwoRings(canvas, bounds, StyledColor(cl3DLight), StyledColor(cl3DDkShadow),
                    StyledColor(clBtnHighlight), StyledColor(clBtnShadow), sides);
}

TRect PaintPushFrame(TCanvas &canvas, const TRect &bounds, bool lowered) {
    return PaintPushFrameSides(canvas, bounds, lowered, AllSides);
}

TRect PaintPushFrameSides(TCanvas &canvas, const TRect &bounds, bool lowered, TSides sides) {
    if (!lowered) {
        return TwoRings(canvas, bounds, StyledColor(clBtnHighlight), StyledColor(cl3DDkShadow),
                        StyledColor(cl3DLight), StyledColor(clBtnShadow), sides);
    }
    if (SystemStyleActive()) {
        return TwoRings(canvas, bounds, clBtnText, clBtnText, clBtnShadow, clBtnShadow, sides);
    }
    return TwoRings(canvas, bounds, StyledColor(cl3DDkShadow), StyledColor(cl3DDkShadow),
                    StyledColor(clBtnShadow), StyledColor(clBtnShadow), sides);
}

TRect PaintTintedPushFrame(TCanvas &canvas, const TRect &bounds, TColor face, bool lowered) {
    return PaintTintedPushFrameSides(canvas, bounds, face, lowered, AllSides);
}

TRect PaintTintedPushFrameSides(TCanvas &canvas, const TRect &bounds, TColor face, bool lowered,
                                TSides sides) {
    if (lowered) {
        return TwoRings(canvas, bounds, DarkenColor(face, 100), DarkenColor(face, 100),
                        DarkenColor(face, 50), DarkenColor(face, 50), sides);
    }
    return TwoRings(canvas, bounds, LightenColor(face, 100), DarkenColor(face, 100),
                    LightenColor(face, 40), DarkenColor(face, 50), sides);
}

TRect PaintStyleFrame(TCanvas &canvas, const TRect &bounds, TFrameStyle style) {
    return PaintStyleFrameSides(canvas, bounds, style, AllSides);
}

TRect PaintStyleFrameSides(TCanvas &canvas, const TRect &bounds, TFrameStyle style, TSides sides) {
    switch (style) {
    case fsFlat:
        return PaintSideLines(canvas, bounds, StyledColor(cl3DDkShadow), StyledColor(cl3DDkShadow),
                              sides);
    case fsGroove:
        return TwoRingGroove(canvas, bounds, StyledColor(clBtnShadow), StyledColor(clBtnHighlight),
                             sides);
    case fsBump:
        return TwoRingGroove(canvas, bounds, StyledColor(clBtnHighlight), StyledColor(clBtnShadow),
                             sides);
    case fsLowered:
    case fsRaised:
        return Paint3DFrameSides(canvas, bounds, style == fsLowered, sides);
    case fsButtonDown:
    case fsButtonUp:
        return PaintPushFrameSides(canvas, bounds, style == fsButtonDown, sides);
    case fsStatus:
        return PaintSideLines(canvas, bounds, StyledColor(clBtnShadow), StyledColor(clBtnHighlight),
                              sides);
    case fsPopup:
        return PaintSideLines(canvas, bounds, StyledColor(clBtnHighlight), StyledColor(clBtnShadow),
                              sides);
    case fsFlatBold:
        return PaintBevelRings(canvas, bounds, StyledColor(clBtnShadow), StyledColor(clBtnShadow),
                               2, sides);
    default:
        return bounds;
    }
}

TRect PaintTintedStyleFrame(TCanvas &canvas, const TRect &bounds, TColor face, TFrameStyle style) {
    return PaintTintedStyleFrameSides(canvas, bounds, face, style, AllSides);
}

TRect PaintTintedStyleFrameSides(TCanvas &canvas, const TRect &bounds, TColor face,
                                 TFrameStyle style, TSides sides) {
    const auto D = [face](uint8_t n) { return DarkenColor(face, n); };
    const auto Li = [face](uint8_t n) { return LightenColor(face, n); };
    switch (style) {
    case fsFlat:
        return PaintSideLines(canvas, bounds, D(50), D(50), sides);
    case fsStatus:
        return PaintSideLines(canvas, bounds, D(50), Li(100), sides);
    case fsPopup:
        return PaintSideLines(canvas, bounds, Li(100), D(50), sides);
    case fsFlatBold:
        return TwoRings(canvas, bounds, D(50), D(50), D(50), D(50), sides);
    case fsLowered:
        return TwoRings(canvas, bounds, D(50), Li(100), D(100), Li(50), sides);
    case fsRaised:
        return TwoRings(canvas, bounds, Li(50), D(100), Li(100), D(50), sides);
    case fsButtonDown:
    case fsButtonUp:
        return PaintTintedPushFrameSides(canvas, bounds, face, style == fsButtonDown, sides);
    case fsGroove:
        return TwoRingGroove(canvas, bounds, D(50), Li(100), sides);
    case fsBump:
        return TwoRingGroove(canvas, bounds, Li(100), D(50), sides);
    default:
        return bounds;
    }
}

TRect PaintDottedFrame(TCanvas &canvas, const TRect &bounds, TColor color) {
    const int32_t L = bounds.Left, T = bounds.Top, R = bounds.Right, B = bounds.Bottom;
    auto dot = [&](int32_t x, int32_t y) {
        if (color != clNone) {
            canvas.SetPixel(x, y, color);
            return;
        }
        // Inverting keeps the dot visible on any face (as an XOR focus frame does).
        const TColor under = canvas.GetPixel(x, y);
        if (under != -1) {
            canvas.SetPixel(x, y, TColor(~uint32_t(under) & 0xFFFFFFu));
        }
    };
    for (int32_t y = T + 1; y < B; y += 2) {
        dot(L, y);
        dot(R - 1, y);
    }
    for (int32_t x = L + 1; x < R; x += 2) {
        dot(x, T);
        dot(x, B - 1);
    }
    TRect r = bounds;
    r.Inflate(-1, -1);
    return r;
}

TRect PaintRoundedFlatFrameSides(TCanvas &canvas, const TRect &bounds, TColor color, TSides s) {
    const int32_t L = bounds.Left, T = bounds.Top, R = bounds.Right, B = bounds.Bottom;
    const bool left = s.Contains(sdLeft), top = s.Contains(sdTop), right = s.Contains(sdRight),
               bottom = s.Contains(sdBottom);
    const int32_t y1 = T + (top ? 2 : 0), y2 = B - (bottom ? 2 : 0);
    const int32_t x1 = L + (left ? 2 : 0), x2 = R - (right ? 2 : 0);
    canvas.GetPen().SetColor(color);
    if (left) {
        Line(canvas, L, y1, L, y2);
    }
    if (top) {
        Line(canvas, x1, T, x2, T);
    }
    if (right) {
        Line(canvas, R - 1, y1, R - 1, y2);
    }
    if (bottom) {
        Line(canvas, x1, B - 1, x2, B - 1);
    }
    if (left && top) {
        canvas.SetPixel(L + 1, T + 1, color);
    }
    if (right && top) {
        canvas.SetPixel(R - 2, T + 1, color);
    }
    if (right && bottom) {
        canvas.SetPixel(R - 2, B - 2, color);
    }
    if (left && bottom) {
        canvas.SetPixel(L + 1, B - 2, color);
    }
    return Shrink(bounds, s, 2);
}

void PaintGradientRing(TCanvas &canvas, const TRect &bounds, TGradientDirection direction,
                       TColor startColor, TColor stopColor) {
    if (!FullColorScreen() || bounds.IsEmpty()) {
        return;
    }
    // The canvas cannot exclude a rectangle from its clip: the gradient is rendered once off
    // screen and its four border strips are copied instead.
    TBitmap bmp(bounds.Width(), bounds.Height());
    PaintGradientRect(bmp.GetCanvas(), Rect(0, 0, bounds.Width(), bounds.Height()), direction,
                      startColor, stopColor, 1);
    const int32_t w = bounds.Width(), h = bounds.Height(), e = std::min(2, h);
    const TRect strips[] = {Rect(0, 0, w, e), Rect(0, std::max(h - 2, 0), w, h),
                            Rect(0, 0, std::min(2, w), h), Rect(std::max(w - 2, 0), 0, w, h)};
    for (const TRect &s : strips) {
        TRect dest = s;
        dest.Offset(bounds.Left, bounds.Top);
        canvas.CopyRect(dest, bmp.GetCanvas(), s);
    }
}

int32_t DrawTextInRect(TCanvas &canvas, const rtl::UnicodeString &text, TRect &rect,
                       uint32_t flags) {
    return canvas.DrawText(text, rect, flags);
}

rtl::UnicodeString StripAccelerators(const rtl::UnicodeString &text) {
    rtl::UnicodeString out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (i + 1 == text.size()) {
            out += text[i];
        } else if (text[i] != u'&') {
            out += text[i];
        } else if (text[i + 1] == u'&') {
            out += u'&'; // the second "&" is then looked at on its own
        }
    }
    return out;
}

gfx::TFont CreateRotatedFont(const gfx::TFont &font, int32_t angleDegrees) {
    gfx::TLogFont lf;
    lf.lfHeight = font.GetHeight();
    lf.lfWidth = 0;
    lf.lfEscapement = angleDegrees * 10;
    lf.lfOrientation = 0;
    const gfx::TFontStyles style = font.GetStyle();
    lf.lfWeight = style.Contains(gfx::fsBold) ? gfx::FW_BOLD : gfx::FW_NORMAL;
    lf.lfItalic = style.Contains(gfx::fsItalic);
    lf.lfUnderline = style.Contains(gfx::fsUnderline);
    lf.lfStrikeOut = style.Contains(gfx::fsStrikeOut);
    lf.lfCharSet = font.GetCharset();
    lf.lfQuality = gfx::DEFAULT_QUALITY;
    // The logical font's pitch bits: 1 fixed, 2 variable, 0 default.
    lf.lfPitchAndFamily = font.GetPitch() == gfx::fpVariable ? 2
                          : font.GetPitch() == gfx::fpFixed  ? 1
                                                             : 0;
    lf.lfFaceName = font.GetName();
    gfx::TFont rotated(font);
    rotated.SetLogFont(lf);
    return rotated;
}

} // namespace controls
