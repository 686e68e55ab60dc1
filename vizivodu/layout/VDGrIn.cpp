// The base graphic interface: the operations it implements itself, and the abstract ones.
#include "vizivodu/layout/VDGrIn.h"

#include "platform/gfx/Graphic.h"
#include "platform/rtl/Exceptions.h"

#include <cstring>

namespace vizivodu {

namespace {

[[noreturn]] void RaiseAbstractError() {
    throw rtl::EAbstractError("Abstract Error");
}

constexpr char16_t SoftHyphen = 0x00AD;

char16_t UnitAt(const char *str, int32_t i) {
    char16_t c;
    std::memcpy(&c, str + 2 * i, 2);
    return c;
}

} // namespace

// ---- Abstract operations ----

void TVDGraphicInterface::TextOut(gfx::TCanvas &, int32_t, int32_t, const char *, int32_t, bool,
                                  bool) {
    RaiseAbstractError();
}

gfx::TSize TVDGraphicInterface::TextSizeBasic(gfx::TCanvas &, const char *, int32_t, bool, bool) {
    RaiseAbstractError();
}

bool TVDGraphicInterface::GetTextMetrics(gfx::TCanvas &, gfx::TTextMetric &) {
    RaiseAbstractError();
}

void TVDGraphicInterface::SetTextAlign(gfx::TCanvas &, uint32_t) {
    RaiseAbstractError();
}

uint32_t TVDGraphicInterface::GetTextAlign(gfx::TCanvas &) {
    RaiseAbstractError();
}

int32_t TVDGraphicInterface::GetTextCharacterExtra(gfx::TCanvas &) {
    RaiseAbstractError();
}

void TVDGraphicInterface::SetTextCharacterExtra(gfx::TCanvas &, int32_t) {
    RaiseAbstractError();
}

void TVDGraphicInterface::GetTextExtentExPoint(gfx::TCanvas &, const char *, int32_t, int32_t, bool,
                                               bool, bool, int32_t *, int32_t &, gfx::TSize &) {
    RaiseAbstractError();
}

std::unique_ptr<TCustomVDGlyphDXData> TVDGraphicInterface::GetGlyphDX(gfx::TCanvas &, const char *,
                                                                      int32_t, int32_t, int32_t,
                                                                      bool, bool, bool, bool, bool,
                                                                      int32_t, int32_t) {
    RaiseAbstractError();
}

void TVDGraphicInterface::TextOutWithDX(gfx::TCanvas &, int32_t, int32_t, const char *, int32_t,
                                        bool, bool, const TCustomVDGlyphDXData &) {
    RaiseAbstractError();
}

int32_t TVDGraphicInterface::GetExpandableCharCount(gfx::TCanvas &, const char *, int32_t, bool,
                                                    bool, bool) {
    RaiseAbstractError();
}

void TVDGraphicInterface::GetOutermostNonExpandableCharacters(gfx::TCanvas &, const char *, int32_t,
                                                              bool, bool, bool, bool, bool,
                                                              int32_t &, int32_t &) {
    RaiseAbstractError();
}

bool TVDGraphicInterface::GetCaretPositions(gfx::TCanvas &, const char *, int32_t, int32_t, int32_t,
                                            bool, bool, bool, int32_t *, int32_t, int32_t) {
    RaiseAbstractError();
}

bool TVDGraphicInterface::DoesTextOutSupportSpacing(int32_t, bool) {
    RaiseAbstractError();
}

bool TVDGraphicInterface::PreferMaxFit(gfx::TCanvas &, bool, bool, int32_t, int32_t) {
    RaiseAbstractError();
}

std::unique_ptr<gfx::TCanvas> TVDGraphicInterface::CreateScreenCanvas() {
    RaiseAbstractError();
}

std::unique_ptr<gfx::TCanvas> TVDGraphicInterface::CreateCompatibleCanvas(gfx::TCanvas &) {
    RaiseAbstractError();
}

int32_t TVDGraphicInterface::GetDeviceCaps(gfx::TCanvas &, int32_t) {
    RaiseAbstractError();
}

void TVDGraphicInterface::InvalidateRect(ui::TControl &, const rtl::TRect *) {
    RaiseAbstractError();
}

int32_t TVDGraphicInterface::SaveCanvasState(gfx::TCanvas &) {
    RaiseAbstractError();
}

void TVDGraphicInterface::RestoreCanvasState(gfx::TCanvas &, int32_t) {
    RaiseAbstractError();
}

void TVDGraphicInterface::IntersectClipRect(gfx::TCanvas &, int32_t, int32_t, int32_t, int32_t) {
    RaiseAbstractError();
}

TVDGraphicsMode TVDGraphicInterface::SetGraphicsMode(gfx::TCanvas &, TVDGraphicsMode) {
    RaiseAbstractError();
}

bool TVDGraphicInterface::IsAdvancedGraphicsMode(gfx::TCanvas &) {
    RaiseAbstractError();
}

bool TVDGraphicInterface::GetWorldTransform(gfx::TCanvas &, gfx::TXForm &) {
    RaiseAbstractError();
}

bool TVDGraphicInterface::SetWorldTransform(gfx::TCanvas &, const gfx::TXForm &) {
    RaiseAbstractError();
}

bool TVDGraphicInterface::ModifyWorldTransform(gfx::TCanvas &, const gfx::TXForm &) {
    RaiseAbstractError();
}

void TVDGraphicInterface::FillColorRect(gfx::TCanvas &, const rtl::TRect &, gfx::TColor) {
    RaiseAbstractError();
}

void TVDGraphicInterface::FillRectAlpha(gfx::TCanvas &, const rtl::TRect &, gfx::TColor, uint8_t) {
    RaiseAbstractError();
}

void TVDGraphicInterface::Polyline(gfx::TCanvas &, const std::vector<gfx::TPoint> &) {
    RaiseAbstractError();
}

void TVDGraphicInterface::DrawBitmap(gfx::TCanvas &, int32_t, int32_t, const gfx::TBitmap &) {
    RaiseAbstractError();
}

void TVDGraphicInterface::StretchDrawBitmap(gfx::TCanvas &, const rtl::TRect &,
                                            const gfx::TBitmap &) {
    RaiseAbstractError();
}

// ---- Operations of the base: the canvas's own drawing ----

void TVDGraphicInterface::FillRect(gfx::TCanvas &canvas, const rtl::TRect &r) {
    canvas.FillRect(r);
}

void TVDGraphicInterface::Polygon(gfx::TCanvas &canvas, const std::vector<gfx::TPoint> &points) {
    canvas.Polygon(points);
}

void TVDGraphicInterface::Ellipse(gfx::TCanvas &canvas, int32_t x1, int32_t y1, int32_t x2,
                                  int32_t y2) {
    canvas.Ellipse(x1, y1, x2, y2);
}

void TVDGraphicInterface::Rectangle(gfx::TCanvas &canvas, int32_t x1, int32_t y1, int32_t x2,
                                    int32_t y2) {
    canvas.Rectangle(x1, y1, x2, y2);
}

void TVDGraphicInterface::MoveTo(gfx::TCanvas &canvas, int32_t x, int32_t y) {
    canvas.MoveTo(x, y);
}

void TVDGraphicInterface::LineTo(gfx::TCanvas &canvas, int32_t x, int32_t y) {
    canvas.LineTo(x, y);
}

void TVDGraphicInterface::Line(gfx::TCanvas &canvas, int32_t x1, int32_t y1, int32_t x2,
                               int32_t y2) {
    MoveTo(canvas, x1, y1);
    LineTo(canvas, x2, y2);
}

void TVDGraphicInterface::DrawFocusRect(gfx::TCanvas &canvas, const rtl::TRect &r) {
    canvas.DrawFocusRect(r);
}

void TVDGraphicInterface::DrawGraphic(gfx::TCanvas &canvas, int32_t x, int32_t y,
                                      const gfx::TGraphic &graphic) {
    canvas.Draw(x, y, graphic);
}

void TVDGraphicInterface::StretchDrawGraphic(gfx::TCanvas &canvas, const rtl::TRect &r,
                                             const gfx::TGraphic &graphic) {
    canvas.StretchDraw(r, graphic);
}

// ---- Shared text operations ----

gfx::TSize TVDGraphicInterface::TextSize(gfx::TCanvas &canvas, const char *str, int32_t length,
                                         bool unicode, bool bidi, bool ignoreSpecialChars) {
    gfx::TSize size = TextSizeBasic(canvas, str, length, unicode, bidi);
    if (!ignoreSpecialChars) {
        size.cx += GetTextWidthAdjustingDelta(canvas, str, length, unicode);
    }
    return size;
}

int32_t TVDGraphicInterface::TextWidth(gfx::TCanvas &canvas, const rtl::UnicodeString &s) {
    return TextSize(canvas, reinterpret_cast<const char *>(s.data()),
                    static_cast<int32_t>(s.size()), true, false, false)
        .cx;
}

int32_t TVDGraphicInterface::TextHeight(gfx::TCanvas &canvas, const rtl::UnicodeString &s) {
    return TextSizeBasic(canvas, reinterpret_cast<const char *>(s.data()),
                         static_cast<int32_t>(s.size()), true, false)
        .cy;
}

// Soft hyphens take no width; on this platform (the Vista rule) zero-width spaces and word
// joiners keep whatever width the font gives them.
int32_t TVDGraphicInterface::GetTextWidthAdjustingDeltaEx(gfx::TCanvas &canvas, const char *str,
                                                          int32_t length, bool unicode,
                                                          TVDStringAdjRecord &rec) {
    if (!unicode) {
        return 0;
    }
    int32_t delta = 0;
    for (int32_t i = 0; i < length; ++i) {
        if (UnitAt(str, i) != SoftHyphen) {
            continue;
        }
        if (rec.SHRWidth < 0) {
            const char16_t shy = SoftHyphen;
            rec.SHRWidth =
                TextSizeBasic(canvas, reinterpret_cast<const char *>(&shy), 1, true, false).cx;
        }
        delta -= rec.SHRWidth;
    }
    return delta;
}

int32_t TVDGraphicInterface::GetTextWidthAdjustingDelta(gfx::TCanvas &canvas, const char *str,
                                                        int32_t length, bool unicode) {
    TVDStringAdjRecord rec;
    return GetTextWidthAdjustingDeltaEx(canvas, str, length, unicode, rec);
}

void TVDGraphicInterface::MaxFit(gfx::TCanvas &canvas, const char *str, int32_t length,
                                 int32_t width, bool unicode, bool bidi, bool ignoreSpecialChars,
                                 int32_t &fit, gfx::TSize &size) {
    if (length == 0) {
        fit = 0;
        size = TextSize(canvas, str, 0, unicode, bidi, ignoreSpecialChars);
        return;
    }
    GetTextExtentExPoint(canvas, str, length, width, unicode, bidi, ignoreSpecialChars, nullptr,
                         fit, size);
}

} // namespace vizivodu
