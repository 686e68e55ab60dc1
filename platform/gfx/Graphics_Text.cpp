// TCanvas text: fonts, metrics, TextOut and DrawText.
#include "platform/gfx/Graphics.h"

#include "platform/gfx/Canvas_p.h"
#include "platform/gfx/QtBridge_p.h"
#include "platform/rtl/Rounding.h"

#include <QFont>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QString>

#include <algorithm>
#include <cmath>

namespace gfx {

namespace {

QString ToQString(const rtl::UnicodeString &s) {
    return QString::fromUtf16(s.data(), qsizetype(s.size()));
}

// Pixel size of the em for a positive (cell) height: the cell is ascent + descent.
int EmForCellHeight(QFont font, int cellHeight) {
    font.setPixelSize(100);
    const QFontMetricsF fm(font);
    const double cell = fm.ascent() + fm.descent();
    return cell > 0 ? std::max(1, rtl::RoundSaturated<int>(cellHeight * 100.0 / cell)) : cellHeight;
}

} // namespace

namespace qt {

QFont ToQFont(const TFont &font) {
    EnsureApplication();
    QFont f;
    f.setFamily(ToQString(font.GetName()));
    f.setStyleStrategy(QFont::PreferDefault);
    f.setHintingPreference(QFont::PreferFullHinting);
    const TFontStyles st = font.GetStyle();
    f.setBold(st.Contains(fsBold));
    f.setItalic(st.Contains(fsItalic));
    f.setUnderline(st.Contains(fsUnderline));
    f.setStrikeOut(st.Contains(fsStrikeOut));
    if (font.GetPitch() == fpFixed) {
        f.setFixedPitch(true);
    }
    const int h = font.GetHeight();
    if (h < 0) {
        f.setPixelSize(-h);
    } else if (h > 0) {
        f.setPixelSize(EmForCellHeight(f, h));
    } else {
        f.setPixelSize(-MulDiv(8, ScreenPixelsPerInch, 72));
    }
    return f;
}

void FromQFont(const QFont &qfont, TFont &font) {
    const QString family = qfont.family();
    font.SetName(rtl::UnicodeString(reinterpret_cast<const char16_t *>(family.utf16()),
                                    size_t(family.size())));
    if (qfont.pixelSize() > 0) {
        font.SetHeight(-qfont.pixelSize());
    } else {
        font.SetSize(rtl::RoundSaturated<int32_t>(qfont.pointSizeF()));
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

} // namespace qt

rtl::UnicodeString ResolveFontFamily(const TFont &font) {
    const QString family = QFontInfo(qt::ToQFont(font)).family();
    return rtl::UnicodeString(reinterpret_cast<const char16_t *>(family.utf16()),
                              size_t(family.size()));
}

TSize TCanvas::TextExtent(const rtl::UnicodeString &text) {
    const QFontMetrics fm(qt::ToQFont(FFont));
    return {fm.horizontalAdvance(ToQString(text)), fm.ascent() + fm.descent()};
}

TTextMetric TCanvas::GetTextMetrics() {
    const QFont f = qt::ToQFont(FFont);
    const QFontMetrics fm(f);
    TTextMetric tm;
    tm.tmAscent = fm.ascent();
    tm.tmDescent = fm.descent();
    tm.tmHeight = tm.tmAscent + tm.tmDescent;
    tm.tmInternalLeading = std::max(0, tm.tmHeight - f.pixelSize());
    tm.tmExternalLeading = std::max(0, fm.leading());
    tm.tmAveCharWidth = fm.averageCharWidth();
    tm.tmMaxCharWidth = fm.maxWidth();
    return tm;
}

void TCanvas::TextOut(int32_t x, int32_t y, const rtl::UnicodeString &text) {
    TextRect(TRect{}, x, y, text);
    FPenPos = {x + TextWidth(text), y};
}

void TCanvas::TextRect(const TRect &r, int32_t x, int32_t y, const rtl::UnicodeString &text) {
    // An empty r means "no clipping" (TextOut).
    const bool clipped = !(r == TRect{});
    const QFont f = qt::ToQFont(FFont);
    const QFontMetrics fm(f);
    const QString s = ToQString(text);
    QPainter &p = FImpl->Painter();
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    if (clipped) {
        p.setClipRect(QRect(r.Left, r.Top, r.Width(), r.Height()), Qt::IntersectClip);
    }
    if (FBrush.GetStyle() != bsClear) {
        const QRect cell = clipped
                               ? QRect(r.Left, r.Top, r.Width(), r.Height())
                               : QRect(x, y, fm.horizontalAdvance(s), fm.ascent() + fm.descent());
        p.fillRect(cell, qt::ToQColor(FBrush.GetColor()));
    }
    p.setFont(f);
    p.setPen(qt::ToQColor(FFont.GetColor()));
    p.drawText(QPoint(x, y + fm.ascent()), s);
    p.restore();
}

} // namespace gfx
