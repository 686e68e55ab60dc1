// TBitBtn: kinds and glyph on a native push button.
#include "platform/ui/BitBtn.h"

#include "platform/gfx/QtBridge_p.h"
#include "platform/ui/ActnList.h"
#include "platform/ui/QtBridge_p.h"

#include <QIcon>
#include <QPixmap>
#include <QPushButton>

namespace ui {

namespace {

struct KindInfo {
    const char16_t *caption;
    TModalResult result;
    bool isDefault, isCancel;
};

const KindInfo &Info(TBitBtnKind k) {
    static const KindInfo table[] = {
        {u"", mrNone, false, false},        {u"OK", mrOk, true, false},
        {u"Cancel", mrCancel, false, true}, {u"&Help", mrNone, false, false},
        {u"&Yes", mrYes, true, false},      {u"&No", mrNo, false, true},
        {u"&Close", mrNone, false, false},  {u"Abort", mrAbort, false, false},
        {u"&Retry", mrRetry, false, false}, {u"&Ignore", mrIgnore, false, false},
        {u"&All", mrAll, false, false},
    };
    return table[k];
}

// One cell of the glyph strip, with the bottom-left pixel's colour made transparent.
QPixmap GlyphCell(const gfx::TBitmap &glyph, int numGlyphs, int cell) {
    const QImage &strip = gfx::qt::ImageOf(glyph);
    const int w = strip.width() / std::max(1, numGlyphs);
    QImage img = strip.copy(w * cell, 0, w, strip.height()).convertToFormat(QImage::Format_ARGB32);
    if (img.isNull()) {
        return {};
    }
    const QRgb key = img.pixel(0, img.height() - 1);
    for (int y = 0; y < img.height(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            if ((row[x] & 0xFFFFFF) == (key & 0xFFFFFF)) {
                row[x] = 0;
            }
        }
    }
    return QPixmap::fromImage(img);
}

} // namespace

TBitBtn::TBitBtn(TComponent *owner) : TButton(owner) {}

void TBitBtn::SetKind(TBitBtnKind kind) {
    if (kind == FKind) {
        return;
    }
    FKind = kind;
    if (kind == bkCustom) {
        return;
    }
    const KindInfo &info = Info(kind);
    SetDefault(info.isDefault);
    SetCancel(info.isCancel);
    SetModalResult(info.result);
    SetCaption(info.caption);
}

void TBitBtn::SetGlyph(const gfx::TBitmap &glyph) {
    FGlyph = glyph;
    if (FGlyph.GetHeight() > 0 && FGlyph.GetWidth() % FGlyph.GetHeight() == 0) {
        const int n = FGlyph.GetWidth() / FGlyph.GetHeight();
        FNumGlyphs = (n >= 1 && n <= 4) ? n : 1;
    }
    ApplyGlyph();
}

void TBitBtn::SetNumGlyphs(int32_t n) {
    FNumGlyphs = std::clamp(n, 1, 4);
    ApplyGlyph();
}

void TBitBtn::SetLayout(TButtonLayout layout) {
    FLayout = layout;
    auto *b = static_cast<QPushButton *>(qt::WidgetOf(*this));
    b->setLayoutDirection(layout == blGlyphRight ? Qt::RightToLeft : Qt::LeftToRight);
}

void TBitBtn::SetMargin(int32_t v) {
    if (v >= -1) {
        FMargin = v;
    }
}

void TBitBtn::EnabledChanged() {
    ApplyGlyph();
}

void TBitBtn::ActionChange(TBasicAction *sender, TActionChangeMode mode) {
    TButton::ActionChange(sender, mode);
    auto *action = dynamic_cast<TCustomAction *>(sender);
    TCustomActionList *list = action ? action->GetActionList() : nullptr;
    gfx::TCustomImageList *images = list ? list->GetImages() : nullptr;
    if (!images || !FGlyph.Empty() || action->GetImageIndex() < 0 ||
        action->GetImageIndex() >= images->GetCount()) {
        return;
    }
    gfx::TBitmap glyph(images->GetWidth(), images->GetHeight());
    glyph.GetCanvas().GetBrush().SetColor(gfx::clFuchsia);
    glyph.GetCanvas().FillRect(gfx::Rect(0, 0, glyph.GetWidth(), glyph.GetHeight()));
    images->Draw(glyph.GetCanvas(), 0, 0, action->GetImageIndex());
    SetGlyph(glyph);
}

void TBitBtn::ApplyGlyph() {
    auto *b = static_cast<QPushButton *>(qt::WidgetOf(*this));
    if (FGlyph.Empty()) {
        b->setIcon(QIcon());
        return;
    }
    QIcon icon(GlyphCell(FGlyph, FNumGlyphs, 0));
    if (FNumGlyphs >= 2) {
        icon.addPixmap(GlyphCell(FGlyph, FNumGlyphs, 1), QIcon::Disabled);
    }
    b->setIcon(icon);
    b->setIconSize(QSize(FGlyph.GetWidth() / FNumGlyphs, FGlyph.GetHeight()));
}

} // namespace ui
