// The base graphic interface: the operations it implements itself (shapes through the canvas,
// measuring with special characters), the abstract ones, and the helpers of the engines.
#include "vizivodu/layout/text/VDGrIn.h"

#include "platform/gfx/Characters.h"
#include "platform/rtl/CodePages.h"
#include "platform/rtl/Exceptions.h"
#include "vizivodu/document/VDUnicode.h"
#include "vizivodu/layout/text/VDGrIn_p.h"

#include <cstring>

namespace vizivodu {

namespace {

[[noreturn]] void RaiseAbstractError() {
    throw rtl::EAbstractError("Abstract Error");
}

// A one-character UTF-16 run.
struct TOneChar {
    char16_t Unit;
    TVDTextRun Run() const { return {reinterpret_cast<const char *>(&Unit), 1, true}; }
};

// Whether a UTF-16 run holds a character whose width is adjusted (a soft hyphen, a zero-width
// space or a word joiner). Most runs hold none; this scan without branches is what they pay.
bool HasAdjustedChar(const TVDTextRun &run) {
    bool found = false;
    for (int32_t i = 0; i < run.Length; ++i) {
        const char16_t c = run.CharAt(i);
        found |= (c == 0x00AD) | (c == 0x200B) | (c == 0x2060);
    }
    return found;
}

} // namespace

// ---- Helpers of the engines ---------------------------------------------------------------

namespace grin {

std::u16string UnitsOf(const TVDTextRun &run) {
    std::u16string units;
    if (run.Str && run.Length > 0) {
        units.resize(size_t(run.Length));
        if (run.Unicode) {
            std::memcpy(units.data(), run.Str, size_t(run.Length) * 2);
        } else {
            for (int32_t i = 0; i < run.Length; ++i) {
                units[size_t(i)] = char16_t(uint8_t(run.Str[i]));
            }
        }
    }
    return units;
}

std::u16string CanvasText(gfx::TCanvas &canvas, const TVDTextRun &run) {
    if (run.Unicode || !run.Str || run.Length <= 0) {
        return UnitsOf(run);
    }
    const std::string_view bytes(run.Str, size_t(run.Length));
    const uint8_t charset = canvas.GetLogFont().lfCharSet;
    if (charset == gfx::SYMBOL_CHARSET) {
        std::u16string wide;
        for (char b : bytes) {
            wide.push_back(char16_t(0xF000 + uint8_t(b)));
        }
        return wide;
    }
    const TVDCodePage codePage = CharsetToCodePage(charset);
    std::u16string wide = rtl::AnsiToUnicode(bytes, codePage);
    if (wide.size() != bytes.size()) {
        // A multi-byte code page: one unit per byte keeps the positions of the run.
        wide.clear();
        for (size_t i = 0; i < bytes.size(); ++i) {
            const std::u16string one = rtl::AnsiToUnicode(bytes.substr(i, 1), codePage);
            wide.push_back(one.size() == 1 ? one[0] : u'?');
        }
    }
    return wide;
}

std::vector<uint8_t> CharacterStarts(const TVDTextRun &run) {
    std::vector<uint8_t> starts(size_t(std::max(run.Length, 0)), 1);
    if (run.Str && run.Unicode && IsWinNT) {
        const std::u16string units = UnitsOf(run);
        for (size_t i = 0; i < units.size(); ++i) {
            starts[i] = gfx::IsCharacterStart(units, i) ? 1 : 0;
        }
    }
    return starts;
}

TVDTextRun RunOf(const std::u16string &units, const TVDTextRun &like) {
    TVDTextRun run = like;
    run.Str = reinterpret_cast<const char *>(units.data());
    run.Length = int32_t(units.size());
    run.Unicode = true;
    return run;
}

} // namespace grin

// ---- Abstract operations ------------------------------------------------------------------

void TVDGraphicInterface::TextOut(gfx::TCanvas &, int32_t, int32_t, const TVDTextRun &,
                                  TVDTextOutput) {
    RaiseAbstractError();
}

rtl::TSize TVDGraphicInterface::TextSizeBasic(gfx::TCanvas &, const TVDTextRun &) {
    RaiseAbstractError();
}

uint32_t TVDGraphicInterface::GetOutlineTextMetrics(gfx::TCanvas &, uint32_t,
                                                    gfx::TOutlineTextMetric *) {
    RaiseAbstractError();
}

bool TVDGraphicInterface::GetTextMetrics(gfx::TCanvas &, gfx::TTextMetric &) {
    RaiseAbstractError();
}

bool TVDGraphicInterface::FontHasLigationGlyphs(gfx::TCanvas &) {
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

void TVDGraphicInterface::GetTextExtentExPoint(gfx::TCanvas &, const TVDTextRun &, int32_t,
                                               int32_t *, int32_t &, rtl::TSize &) {
    RaiseAbstractError();
}

void TVDGraphicInterface::SetLogFont(gfx::TCanvas &, const gfx::TLogFont &) {
    RaiseAbstractError();
}

TVDFontHandle TVDGraphicInterface::GetFontHandle(gfx::TCanvas &canvas) {
    return canvas.GetFont().GetLogFont();
}

TVDFontHandle TVDGraphicInterface::SetFontHandle(gfx::TCanvas &, const TVDFontHandle &) {
    RaiseAbstractError();
}

void TVDGraphicInterface::SetDiagonalBrush(gfx::TCanvas &, gfx::TColor, gfx::TColor, int32_t,
                                           int32_t) {
    RaiseAbstractError();
}

std::unique_ptr<gfx::TCanvas> TVDGraphicInterface::CreateScreenCanvas() {
    RaiseAbstractError();
}

void TVDGraphicInterface::DestroyScreenCanvas(std::unique_ptr<gfx::TCanvas> &) {
    RaiseAbstractError();
}

std::unique_ptr<gfx::TCanvas> TVDGraphicInterface::CreateCompatibleCanvas(gfx::TCanvas &) {
    RaiseAbstractError();
}

void TVDGraphicInterface::DestroyCompatibleCanvas(std::unique_ptr<gfx::TCanvas> &) {
    RaiseAbstractError();
}

std::unique_ptr<gfx::TCanvas> TVDGraphicInterface::CreatePrinterCanvas() {
    RaiseAbstractError();
}

void TVDGraphicInterface::GetViewportExtEx(gfx::TCanvas &, rtl::TSize &) {
    RaiseAbstractError();
}

void TVDGraphicInterface::GetViewportOrgEx(gfx::TCanvas &, rtl::TPoint &) {
    RaiseAbstractError();
}

void TVDGraphicInterface::GetWindowExtEx(gfx::TCanvas &, rtl::TSize &) {
    RaiseAbstractError();
}

void TVDGraphicInterface::GetWindowOrgEx(gfx::TCanvas &, rtl::TPoint &) {
    RaiseAbstractError();
}

void TVDGraphicInterface::SetViewportExtEx(gfx::TCanvas &, int32_t, int32_t, rtl::TSize *) {
    RaiseAbstractError();
}

void TVDGraphicInterface::SetViewportOrgEx(gfx::TCanvas &, int32_t, int32_t, rtl::TPoint *) {
    RaiseAbstractError();
}

void TVDGraphicInterface::SetWindowExtEx(gfx::TCanvas &, int32_t, int32_t, rtl::TSize *) {
    RaiseAbstractError();
}

void TVDGraphicInterface::SetWindowOrgEx(gfx::TCanvas &, int32_t, int32_t, rtl::TPoint *) {
    RaiseAbstractError();
}

int32_t TVDGraphicInterface::GetMapMode(gfx::TCanvas &) {
    RaiseAbstractError();
}

int32_t TVDGraphicInterface::SetMapMode(gfx::TCanvas &, int32_t) {
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

void TVDGraphicInterface::InvalidateRect(ui::TControl &, const rtl::TRect *) {
    RaiseAbstractError();
}

void TVDGraphicInterface::IntersectClipRect(gfx::TCanvas &, int32_t, int32_t, int32_t, int32_t) {
    RaiseAbstractError();
}

void TVDGraphicInterface::ExcludeClipRect(gfx::TCanvas &, int32_t, int32_t, int32_t, int32_t) {
    RaiseAbstractError();
}

void TVDGraphicInterface::IntersectClipRectEx(gfx::TCanvas &, int32_t, int32_t, int32_t, int32_t,
                                              TVDClipRgn &) {
    RaiseAbstractError();
}

void TVDGraphicInterface::GetClipRgn(gfx::TCanvas &, TVDClipRgn &) {
    RaiseAbstractError();
}

void TVDGraphicInterface::RemoveClipRgn(gfx::TCanvas &, TVDClipRgn &) {
    RaiseAbstractError();
}

void TVDGraphicInterface::RestoreClipRgn(gfx::TCanvas &, TVDClipRgn &) {
    RaiseAbstractError();
}

void TVDGraphicInterface::IntersectClipRgn(gfx::TCanvas &, const TVDClipRgn &) {
    RaiseAbstractError();
}

void TVDGraphicInterface::UnionClipRgn(gfx::TCanvas &, const TVDClipRgn &) {
    RaiseAbstractError();
}

void TVDGraphicInterface::FreeClipRgn(TVDClipRgn &) {
    RaiseAbstractError();
}

int32_t TVDGraphicInterface::SaveCanvasState(gfx::TCanvas &) {
    RaiseAbstractError();
}

void TVDGraphicInterface::RestoreCanvasState(gfx::TCanvas &, int32_t) {
    RaiseAbstractError();
}

void TVDGraphicInterface::FillColorRect(gfx::TCanvas &, const rtl::TRect &, gfx::TColor) {
    RaiseAbstractError();
}

void TVDGraphicInterface::Polyline(gfx::TCanvas &, const std::vector<rtl::TPoint> &) {
    RaiseAbstractError();
}

void TVDGraphicInterface::DrawBitmap(gfx::TCanvas &, int32_t, int32_t, const gfx::TBitmap &) {
    RaiseAbstractError();
}

void TVDGraphicInterface::StretchDrawBitmap(gfx::TCanvas &, const rtl::TRect &,
                                            const gfx::TBitmap &) {
    RaiseAbstractError();
}

void TVDGraphicInterface::DrawImageList(gfx::TCanvas &, const gfx::TCustomImageList &, int32_t,
                                        int32_t, int32_t, gfx::TColor) {
    RaiseAbstractError();
}

int32_t TVDGraphicInterface::GetDeviceCaps(gfx::TCanvas &, int32_t) {
    RaiseAbstractError();
}

void TVDGraphicInterface::ConvertPenToGeometric(gfx::TCanvas &) {
    RaiseAbstractError();
}

void TVDGraphicInterface::ConvertPenToCosmetic(gfx::TCanvas &) {
    RaiseAbstractError();
}

std::unique_ptr<TCustomVDGlyphDXData> TVDGraphicInterface::GetGlyphDX(gfx::TCanvas &,
                                                                      const TVDTextRun &, int32_t,
                                                                      int32_t, TVDGlyphDXNeeds,
                                                                      int32_t, int32_t) {
    RaiseAbstractError();
}

void TVDGraphicInterface::TextOutWithDX(gfx::TCanvas &, int32_t, int32_t, const TVDTextRun &,
                                        TVDTextOutput, TCustomVDGlyphDXData &) {
    RaiseAbstractError();
}

int32_t TVDGraphicInterface::GetExpandableCharCount(gfx::TCanvas &, const TVDTextRun &) {
    RaiseAbstractError();
}

void TVDGraphicInterface::GetOutermostNonExpandableCharacters(gfx::TCanvas &, const TVDTextRun &,
                                                              TVDRunEnds, int32_t &, int32_t &) {
    RaiseAbstractError();
}

bool TVDGraphicInterface::GetCaretPositions(gfx::TCanvas &, const TVDTextRun &, int32_t, int32_t,
                                            std::span<int32_t>, int32_t, int32_t) {
    RaiseAbstractError();
}

bool TVDGraphicInterface::DoesTextOutSupportSpacing(const TVDTextRun &) {
    RaiseAbstractError();
}

bool TVDGraphicInterface::PreferMaxFit(gfx::TCanvas &, const TVDTextRun &, TVDMeasureCanvas,
                                       int32_t) {
    RaiseAbstractError();
}

void TVDGraphicInterface::FillRectAlpha(gfx::TCanvas &, const rtl::TRect &, gfx::TColor, uint8_t) {
    RaiseAbstractError();
}

// ---- Operations of the base ---------------------------------------------------------------

void TVDGraphicInterface::FillRect(gfx::TCanvas &canvas, const rtl::TRect &r) {
    canvas.FillRect(r);
}

void TVDGraphicInterface::Polygon(gfx::TCanvas &vdCanvas, const std::vector<rtl::TPoint> &points) {
    vdCanvas.Polygon(points);
}

void TVDGraphicInterface::Ellipse(gfx::TCanvas &vdCanvas, int32_t x1, int32_t y1, int32_t x2,
                                  int32_t y2) {
    vdCanvas.Ellipse(x1, y1, x2, y2);
}

void TVDGraphicInterface::Rectangle(gfx::TCanvas &vdCanvas, int32_t x1, int32_t y1, int32_t x2,
                                    int32_t y2) {
    vdCanvas.Rectangle(x1, y1, x2, y2);
}

void TVDGraphicInterface::RectangleGradient(gfx::TCanvas &vdCanvas, int32_t x1, int32_t y1,
                                            int32_t x2, int32_t y2, gfx::TColor color1, gfx::TColor,
                                            TVDGradientDirection) {
    vdCanvas.GetBrush().SetStyle(gfx::bsSolid);
    vdCanvas.GetBrush().SetColor(color1);
    Rectangle(vdCanvas, x1, y1, x2, y2);
}

void TVDGraphicInterface::SetRectangleGradientBrush(gfx::TCanvas &vdCanvas, int32_t, int32_t,
                                                    int32_t, int32_t, gfx::TColor color1,
                                                    gfx::TColor, TVDGradientDirection, uint8_t,
                                                    uint8_t) {
    vdCanvas.GetBrush().SetStyle(gfx::bsSolid);
    vdCanvas.GetBrush().SetColor(color1);
}

void TVDGraphicInterface::MoveTo(gfx::TCanvas &vdCanvas, int32_t x, int32_t y) {
    vdCanvas.MoveTo(x, y);
}

void TVDGraphicInterface::LineTo(gfx::TCanvas &vdCanvas, int32_t x, int32_t y) {
    vdCanvas.LineTo(x, y);
}

void TVDGraphicInterface::Line(gfx::TCanvas &vdCanvas, int32_t x1, int32_t y1, int32_t x2,
                               int32_t y2) {
    MoveTo(vdCanvas, x1, y1);
    LineTo(vdCanvas, x2, y2);
}

void TVDGraphicInterface::Pie(gfx::TCanvas &, int32_t, int32_t, int32_t, int32_t, double, double) {}

void TVDGraphicInterface::Arc(gfx::TCanvas &, int32_t, int32_t, int32_t, int32_t, double, double) {}

void TVDGraphicInterface::DrawFocusRect(gfx::TCanvas &canvas, const rtl::TRect &rect) {
    canvas.DrawFocusRect(rect);
}

void TVDGraphicInterface::DrawGraphic(gfx::TCanvas &canvas, int32_t x, int32_t y,
                                      const gfx::TGraphic &graphic) {
    canvas.Draw(x, y, graphic);
}

void TVDGraphicInterface::StretchDrawGraphic(gfx::TCanvas &canvas, const rtl::TRect &r,
                                             const gfx::TGraphic &graphic) {
    canvas.StretchDraw(r, graphic);
}

void TVDGraphicInterface::PrintBitmap(gfx::TCanvas &canvas, const rtl::TRect &r,
                                      const gfx::TBitmap &bmp) {
    StretchDrawGraphic(canvas, r, bmp);
}

void TVDGraphicInterface::CopyRect(gfx::TCanvas &destCanvas, const rtl::TRect &dest,
                                   gfx::TCanvas &sourceCanvas, const rtl::TRect &source) {
    destCanvas.CopyRect(dest, sourceCanvas, source);
}

void TVDGraphicInterface::SetPen(gfx::TCanvas &vdCanvas, const gfx::TPen &pen) {
    vdCanvas.GetPen().Assign(pen);
}

void TVDGraphicInterface::SetPenAntiAliasing(gfx::TCanvas &, bool) {}

void TVDGraphicInterface::SetBrush(gfx::TCanvas &vdCanvas, const gfx::TBrush &brush, uint8_t) {
    vdCanvas.GetBrush().Assign(brush);
}

// ---- Measuring with special characters ----------------------------------------------------

rtl::TSize TVDGraphicInterface::TextSize(gfx::TCanvas &canvas, const TVDTextRun &run) {
    rtl::TSize size = TextSizeBasic(canvas, run);
    if (!run.IgnoreSpecialChars) {
        TVDStringAdjRecord rec;
        size.cx += GetTextWidthAdjustingDeltaEx(canvas, run, rec);
    }
    return size;
}

int32_t TVDGraphicInterface::TextWidth(gfx::TCanvas &canvas, const rtl::UnicodeString &s) {
    const TVDTextRun run{reinterpret_cast<const char *>(s.data()), int32_t(s.size()), true};
    return TextSize(canvas, run).cx;
}

int32_t TVDGraphicInterface::TextHeight(gfx::TCanvas &canvas, const rtl::UnicodeString &s) {
    const TVDTextRun run{reinterpret_cast<const char *>(s.data()), int32_t(s.size()), true};
    return TextSizeBasic(canvas, run).cy;
}

int32_t TVDGraphicInterface::GetTextWidthAdjustingDeltaEx(gfx::TCanvas &canvas,
                                                          const TVDTextRun &run,
                                                          TVDStringAdjRecord &rec) {
    if (!run.Unicode || !run.Str || !HasAdjustedChar(run)) {
        return 0;
    }
    auto widthOf = [&](int32_t &cached, char16_t c) {
        if (cached < 0) {
            const TOneChar one{c};
            cached = TextSizeBasic(canvas, one.Run()).cx;
        }
        return cached;
    };
    int32_t delta = 0;
    for (int32_t i = 0; i < run.Length; ++i) {
        const char16_t c = run.CharAt(i);
        if (c == 0x00AD) {
            delta -= widthOf(rec.SHRWidth, c);
        } else if (c == 0x200B && !IsVistaOrLater) {
            delta -= widthOf(rec.ZWSWidth, c);
        } else if (c == 0x2060 && !IsVistaOrLater) {
            delta -= widthOf(rec.WJWidth, c);
        }
    }
    return delta;
}

int32_t TVDGraphicInterface::GetTextWidthAdjustingDelta(gfx::TCanvas &canvas,
                                                        const TVDTextRun &run) {
    TVDStringAdjRecord rec;
    return GetTextWidthAdjustingDeltaEx(canvas, run, rec);
}

void TVDGraphicInterface::AdjustCoordArray(const TVDTextRun &run, std::span<int32_t> coords) {
    if (!run.Unicode || !run.Str) {
        return;
    }
    const size_t n = std::min(coords.size(), size_t(std::max(run.Length, 0)));
    for (size_t i = 0; i < n; ++i) {
        const char16_t c = run.CharAt(int32_t(i));
        if (c != 0x00AD && c != 0x2060 && !(c == 0x200B && !IsVistaOrLater)) {
            continue;
        }
        const int32_t advance = i == 0 ? coords[0] : coords[i] - coords[i - 1];
        if (advance != 0) {
            for (size_t k = i; k < coords.size(); ++k) {
                coords[k] -= advance;
            }
        }
    }
}

void TVDGraphicInterface::MaxFit(gfx::TCanvas &canvas, const TVDTextRun &run, int32_t width,
                                 int32_t &fit, rtl::TSize &size) {
    if (run.Length == 0) {
        fit = 0;
        size = run.IgnoreSpecialChars ? TextSizeBasic(canvas, run) : TextSize(canvas, run);
        return;
    }
    GetTextExtentExPoint(canvas, run, width, nullptr, fit, size);
}

} // namespace vizivodu
