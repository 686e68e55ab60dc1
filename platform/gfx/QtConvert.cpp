// Colours and fonts for Qt's own widgets: the same faces and sizes the font engine uses.
#include "platform/gfx/QtBridge_p.h"

#include "platform/gfx/FontEngine.h"

#include <QColor>
#include <QFont>
#include <QString>

#include <algorithm>
#include <cmath>

namespace gfx::qt {

QColor ToQColor(TColor color) {
    const uint32_t rgb = ColorToRGB(color);
    return QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

TColor FromQColor(const QColor &c) {
    return RGB(uint8_t(c.red()), uint8_t(c.green()), uint8_t(c.blue()));
}

QFont ToQFont(const TFont &font) {
    EnsureApplication();
    const TLogFont lf = font.GetLogFont();
    const TResolvedFace resolved = ResolveFace(lf.lfFaceName, lf.lfWeight, lf.lfItalic != 0);
    const rtl::UnicodeString &family = resolved.Face->GetFamilyName();
    QFont f;
    f.setFamily(ToQString(family));
    f.setStyleStrategy(QFont::PreferDefault);
    // Unhinted, as the canvas measures: a label sized by the canvas then holds its text.
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setWeight(QFont::Weight(std::clamp(lf.lfWeight, 100, 900)));
    f.setItalic(lf.lfItalic != 0);
    f.setUnderline(lf.lfUnderline != 0);
    f.setStrikeOut(lf.lfStrikeOut != 0);
    if (font.GetPitch() == fpFixed) {
        f.setFixedPitch(true);
    }
    // A positive height is the cell (ascent plus descent); Qt's pixel size is the em.
    const TFaceMetrics &m = resolved.Face->GetMetrics();
    const int h = font.GetHeight();
    if (h < 0) {
        f.setPixelSize(-h);
    } else if (h > 0) {
        const double cell = std::max(1, m.WinAscent + m.WinDescent);
        f.setPixelSize(std::max(1, int(std::lround(h * m.UnitsPerEm / cell))));
    } else {
        f.setPixelSize(MulDiv(8, ScreenPixelsPerInch, 72));
    }
    return f;
}

void FromQFont(const QFont &qfont, TFont &font) {
    font.SetName(FromQString(qfont.family()));
    if (qfont.pixelSize() > 0) {
        font.SetHeight(-qfont.pixelSize());
    } else {
        font.SetSize(int32_t(std::lround(qfont.pointSizeF())));
    }
    TFontStyles st;
    if (qfont.bold()) {
        st.Include(fsBold);
    }
    if (qfont.italic()) {
        st.Include(fsItalic);
    }
    if (qfont.underline()) {
        st.Include(fsUnderline);
    }
    if (qfont.strikeOut()) {
        st.Include(fsStrikeOut);
    }
    font.SetStyle(st);
}

} // namespace gfx::qt
