// TCanvas text: the selected font realised in the font engine, GDI's metrics and extents in
// logical units, character placement, and ExtTextOut with alignment, escapement and advances.
//
// Rounding: a text's positions are the running sums of its unrounded advances (design units
// scaled to the font's em) plus the character extra, each rounded to the nearest logical unit.
// So the extent of every prefix, the advances handed to ExtTextOut and the places glyphs are
// drawn at agree, whatever device measures or draws them.
#include "platform/gfx/Graphics.h"

#include "platform/gfx/Canvas_p.h"
#include "platform/gfx/FontEngine.h"
#include "platform/gfx/TextShaping.h"

#include <unicode/uchar.h>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace gfx {

namespace {

constexpr double DefaultEm = 16; // lfHeight 0: 12 points at 96 pixels per inch

int32_t Round(double v) {
    return int32_t(std::clamp(std::floor(v + 0.5), -2147483648.0, 2147483647.0));
}

TAffine Rotation(double radians) {
    const double c = std::cos(radians), s = std::sin(radians);
    return {c, -s, s, c, 0, 0};
}

} // namespace

const detail::TRealizedFont &TCanvas::Realize() const {
    if (!FRealized.empty() && FRealized.front()->LogFont == FLogFont) {
        return *FRealized.front();
    }
    for (auto it = FRealized.begin(); it != FRealized.end(); ++it) {
        if ((*it)->LogFont == FLogFont) {
            std::rotate(FRealized.begin(), it, it + 1);
            return *FRealized.front();
        }
    }
    constexpr size_t KeptFonts = 16;
    if (FRealized.size() >= KeptFonts) {
        FRealized.pop_back();
    }
    auto font = std::make_unique<detail::TRealizedFont>();
    font->LogFont = FLogFont;
    font->Resolved = ResolveFace(FLogFont.lfFaceName, FLogFont.lfWeight, FLogFont.lfItalic != 0);
    const TFaceMetrics &m = font->Resolved.Face->GetMetrics();
    const double cell = std::max(1, m.WinAscent + m.WinDescent);
    font->Em = FLogFont.lfHeight < 0   ? -double(FLogFont.lfHeight)
               : FLogFont.lfHeight > 0 ? FLogFont.lfHeight * double(m.UnitsPerEm) / cell
                                       : DefaultEm;
    font->Scale = font->Em / m.UnitsPerEm;
    if (FLogFont.lfWidth != 0 && m.AvgCharWidth > 0) {
        font->WidthScale = std::abs(FLogFont.lfWidth) / (m.AvgCharWidth * font->Scale);
    }
    TTextMetric &tm = font->Metric;
    tm.tmAscent = Round(m.WinAscent * font->Scale);
    tm.tmDescent =
        FLogFont.lfHeight > 0 ? FLogFont.lfHeight - tm.tmAscent : Round(m.WinDescent * font->Scale);
    tm.tmHeight = tm.tmAscent + tm.tmDescent;
    tm.tmInternalLeading = std::max(0, tm.tmHeight - Round(font->Em));
    const int32_t hheaHeight = m.HheaAscender - m.HheaDescender + m.HheaLineGap;
    tm.tmExternalLeading = std::max(0, Round((hheaHeight - cell) * font->Scale));
    tm.tmAveCharWidth = Round(m.AvgCharWidth * font->Scale * font->WidthScale);
    tm.tmMaxCharWidth = Round(m.MaxAdvance * font->Scale * font->WidthScale);
    tm.tmWeight = FLogFont.lfWeight > 0 ? FLogFont.lfWeight : m.WeightClass;
    const TDeviceCaps caps = FDevice->GetCaps();
    tm.tmDigitizedAspectX = caps.LogPixelsX;
    tm.tmDigitizedAspectY = caps.LogPixelsY;
    tm.tmFirstChar = char16_t(std::max<int>(0x1E, m.FirstChar));
    tm.tmLastChar = char16_t(m.LastChar);
    tm.tmDefaultChar = 0x1F;
    tm.tmBreakChar = 0x20;
    tm.tmItalic = FLogFont.lfItalic ? 1 : 0;
    tm.tmUnderlined = FLogFont.lfUnderline ? 1 : 0;
    tm.tmStruckOut = FLogFont.lfStrikeOut ? 1 : 0;
    // The fixed-pitch bit set means a variable pitch, as GDI has it.
    tm.tmPitchAndFamily =
        uint8_t(TMPF_TRUETYPE | TMPF_VECTOR | (m.FixedPitch ? 0 : TMPF_FIXED_PITCH));
    const bool symbol = font->Resolved.Face->IsSymbolFont();
    tm.tmCharSet = symbol                                  ? SYMBOL_CHARSET
                   : FLogFont.lfCharSet == DEFAULT_CHARSET ? RUSSIAN_CHARSET
                                                           : FLogFont.lfCharSet;
    FRealized.insert(FRealized.begin(), std::move(font));
    return *FRealized.front();
}

TTextMetric TCanvas::GetTextMetrics() {
    return Realize().Metric;
}

bool TCanvas::GetOutlineTextMetrics(TOutlineTextMetric &otm) {
    const detail::TRealizedFont &font = Realize();
    const TFontFace &face = *font.Resolved.Face;
    const TFaceMetrics &m = face.GetMetrics();
    const double s = font.Scale, sx = font.Scale * font.WidthScale;
    otm = TOutlineTextMetric{};
    otm.otmTextMetrics = font.Metric;
    otm.otmfsSelection = m.FsSelection;
    otm.otmfsType = m.FsType;
    otm.otmsCharSlopeRise = m.CaretSlopeRise;
    otm.otmsCharSlopeRun = m.CaretSlopeRun;
    otm.otmItalicAngle = m.ItalicAngleTenths;
    otm.otmEMSquare = uint32_t(m.UnitsPerEm);
    otm.otmAscent = Round(m.TypoAscender * s);
    otm.otmDescent = Round(m.TypoDescender * s);
    otm.otmLineGap = uint32_t(std::max(0, Round(m.TypoLineGap * s)));
    otm.otmsCapEmHeight = uint32_t(std::max(0, Round(m.CapHeight * s)));
    otm.otmsXHeight = uint32_t(std::max(0, Round(m.XHeight * s)));
    otm.otmrcFontBox = {Round(m.BoxXMin * sx), Round(m.BoxYMax * s), Round(m.BoxXMax * sx),
                        Round(m.BoxYMin * s)};
    otm.otmMacAscent = Round(m.HheaAscender * s);
    otm.otmMacDescent = Round(m.HheaDescender * s);
    otm.otmMacLineGap = uint32_t(std::max(0, Round(m.HheaLineGap * s)));
    otm.otmusMinimumPPEM = m.LowestRecPPEM;
    otm.otmptSubscriptSize = {Round(m.SubscriptXSize * sx), Round(m.SubscriptYSize * s)};
    otm.otmptSubscriptOffset = {Round(m.SubscriptXOffset * sx), Round(m.SubscriptYOffset * s)};
    otm.otmptSuperscriptSize = {Round(m.SuperscriptXSize * sx), Round(m.SuperscriptYSize * s)};
    otm.otmptSuperscriptOffset = {Round(m.SuperscriptXOffset * sx),
                                  Round(m.SuperscriptYOffset * s)};
    otm.otmsStrikeoutSize = uint32_t(std::max(1, Round(m.StrikeoutSize * s)));
    otm.otmsStrikeoutPosition = Round(m.StrikeoutPosition * s);
    otm.otmsUnderscoreSize = std::max(1, Round(m.UnderlineThickness * s));
    otm.otmsUnderscorePosition = Round(m.UnderlinePosition * s);
    otm.otmpFamilyName = face.GetFamilyName();
    otm.otmpStyleName = face.GetStyleName();
    otm.otmpFaceName =
        face.GetFamilyName() + (face.GetStyleName().empty() || face.GetStyleName() == u"Regular"
                                    ? rtl::UnicodeString()
                                    : u" " + face.GetStyleName());
    otm.otmpFullName = otm.otmpFaceName;
    return true;
}

uint32_t TCanvas::GetFontLanguageInfo() {
    return Realize().Resolved.Face->HasLigatures() ? GCP_LIGATE | GCP_DIACRITIC | GCP_GLYPHSHAPE
                                                   : 0;
}

TSelectedFont TCanvas::GetSelectedFont() const {
    const detail::TRealizedFont &font = Realize();
    return {font.Resolved.Face, font.Em * font.WidthScale, font.Em, font.Metric};
}

bool TCanvas::ShapeInto(std::u16string_view text, bool rightToLeft, TShapedText &shaped) const {
    const detail::TRealizedFont &font = Realize();
    TShapeOptions options;
    options.Order = rightToLeft ? TReadingOrder::RightToLeft : TReadingOrder::LeftToRight;
    ShapeText(*font.Resolved.Face, text, options, shaped);
    return shaped.Reordered;
}

// The cumulative extent after each UTF-16 unit, or only the total when ext is null.
int64_t TCanvas::Extents(std::u16string_view text, std::vector<int32_t> *ext,
                         TShapedText *shapedOut) const {
    const detail::TRealizedFont &font = Realize();
    const TFontFace &face = *font.Resolved.Face;
    const double perUnit = font.Scale * font.WidthScale;
    const bool rtl = (FTextAlign & TA_RTLREADING) != 0;
    if (ext) {
        ext->resize(text.size());
    }
    // Plain text: one table lookup per character.
    if (!rtl && !shapedOut) {
        int64_t units = 0;
        size_t i = 0;
        for (; i < text.size(); ++i) {
            const TCharInfo info = face.CharInfo(text[i]);
            if (!info.Simple) {
                break;
            }
            units += info.Advance;
            if (ext) {
                (*ext)[i] = Round(units * perUnit + double(FCharExtra) * double(i + 1));
            }
        }
        if (i == text.size()) {
            return text.empty() ? 0 : Round(units * perUnit + double(FCharExtra) * double(i));
        }
    }
    TShapedText local;
    TShapedText &shaped = shapedOut ? *shapedOut : local;
    ShapeInto(text, rtl, shaped);
    double sum = 0;
    int64_t starts = 0, last = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        sum += shaped.Advances[i] * font.Em * font.WidthScale;
        starts += shaped.Advances[i] != 0 ? 1 : 0;
        last = Round(sum + double(FCharExtra) * double(starts));
        if (ext) {
            (*ext)[i] = int32_t(last);
        }
    }
    return last;
}

TSize TCanvas::GetTextExtentPoint32(std::u16string_view text) {
    return {int32_t(Extents(text, nullptr, nullptr)), Realize().Metric.tmHeight};
}

TSize TCanvas::TextExtent(const rtl::UnicodeString &text) {
    return GetTextExtentPoint32(text);
}

TSize TCanvas::GetTextExtentExPoint(std::u16string_view text, int32_t maxExtent, int32_t *fit,
                                    std::vector<int32_t> *dx) {
    std::vector<int32_t> ext;
    Extents(text, &ext, nullptr);
    size_t count = ext.size();
    if (maxExtent >= 0) {
        count = size_t(std::upper_bound(ext.begin(), ext.end(), maxExtent) - ext.begin());
    }
    if (fit) {
        *fit = int32_t(count);
    }
    if (dx) {
        dx->assign(ext.begin(), ext.begin() + ptrdiff_t(count));
    }
    return {ext.empty() ? 0 : ext.back(), Realize().Metric.tmHeight};
}

namespace {

uint8_t ClassOf(char16_t c) {
    switch (u_charDirection(c)) {
    case U_LEFT_TO_RIGHT:
        return GCPCLASS_LATIN;
    case U_RIGHT_TO_LEFT:
    case U_RIGHT_TO_LEFT_ARABIC:
        return GCPCLASS_ARABIC;
    case U_EUROPEAN_NUMBER:
        return GCPCLASS_LATINNUMBER;
    case U_ARABIC_NUMBER:
        return GCPCLASS_LOCALNUMBER;
    default:
        return GCPCLASS_NEUTRAL;
    }
}

} // namespace

TSize TCanvas::GetCharacterPlacement(std::u16string_view text, int32_t maxExtent,
                                     TGcpResults &results, uint32_t flags) {
    results = TGcpResults{};
    const detail::TRealizedFont &font = Realize();
    TShapedText shaped;
    std::vector<int32_t> ext;
    Extents(text, &ext, &shaped);
    const double em = font.Em * font.WidthScale;
    const size_t n = text.size();
    results.Order.assign(n, 0);
    results.CaretPos.assign(n, 0);
    results.Class.resize(n);
    // Output positions: the glyphs in display order, advances rounded on their running sum.
    std::vector<double> left(n, -1), right(n, -1);
    double x = 0;
    int32_t placed = 0;
    for (const TShapedRun &run : shaped.Runs) {
        for (const TShapedGlyph &g : run.Glyphs) {
            const uint32_t j = uint32_t(results.Glyphs.size());
            results.Glyphs.push_back(uint16_t(g.Glyph));
            const double extra = g.Advance != 0 ? FCharExtra : 0;
            const double next = x + g.Advance * em + extra;
            const int32_t rounded = Round(next);
            results.Dx.push_back(rounded - placed);
            placed = rounded;
            const uint32_t c = std::min<uint32_t>(g.Cluster, uint32_t(n - 1));
            if (left[c] < 0) {
                results.Order[c] = j;
                left[c] = x;
                right[c] = next;
            } else {
                left[c] = std::min(left[c], x);
                right[c] = std::max(right[c], next);
            }
            x = next;
        }
    }
    results.GlyphCount = uint32_t(results.Glyphs.size());
    // Units inside a cluster share its output position and caret.
    for (size_t i = 0; i < n; ++i) {
        results.Class[i] = ClassOf(text[i]);
        if (left[i] < 0 && i > 0) {
            results.Order[i] = results.Order[i - 1];
            left[i] = left[i - 1];
            right[i] = right[i - 1];
        }
        const bool rtl = (shaped.Levels[i] & 1) != 0;
        results.CaretPos[i] = Round(rtl ? right[i] : std::max(0.0, left[i]));
    }
    results.MaxFit = int32_t(n);
    if ((flags & GCP_MAXEXTENT) && maxExtent >= 0) {
        results.MaxFit = int32_t(std::upper_bound(ext.begin(), ext.end(), maxExtent) - ext.begin());
    }
    return {placed, font.Metric.tmHeight};
}

std::vector<int32_t> TCanvas::UnitAdvances(std::u16string_view text) const {
    std::vector<int32_t> ext;
    Extents(text, &ext, nullptr);
    for (size_t i = ext.size(); i-- > 1;) {
        ext[i] -= ext[i - 1];
    }
    return ext;
}

void TCanvas::TextOut(int32_t x, int32_t y, const rtl::UnicodeString &text) {
    ExtTextOut(x, y, 0, nullptr, text);
    FPenPos = {x + TextWidth(text), y};
}

void TCanvas::TextRect(const TRect &r, int32_t x, int32_t y, const rtl::UnicodeString &text) {
    const uint32_t options =
        ETO_CLIPPED | (FBrush.GetStyle() != bsClear ? uint32_t(ETO_OPAQUE) : 0u);
    ExtTextOut(x, y, options, &r, text);
}

bool TCanvas::ExtTextOut(int32_t x, int32_t y, uint32_t options, const TRect *rect,
                         std::u16string_view text, const std::vector<int32_t> &dx) {
    const bool useDx = !dx.empty() && dx.size() >= text.size();
    if (FRecorder) {
        TCanvasOp op;
        op.Kind = TCanvasOpKind::ExtTextOut;
        op.Points = {{x, y}};
        op.Options = options;
        op.HasRect = rect != nullptr;
        op.Rect = rect ? *rect : TRect{};
        op.Text = rtl::UnicodeString(text);
        if (useDx) {
            op.Dx.assign(dx.begin(), dx.begin() + ptrdiff_t(text.size()));
        } else if (options & ETO_GLYPH_INDEX) {
            detail::TTextPlacement glyphs;
            PlaceGlyphs(text, nullptr, glyphs);
            op.Dx = glyphs.Advances;
        } else {
            op.Dx = UnitAdvances(text);
        }
        Record(op);
    }
    const TPoint origin = (FTextAlign & TA_UPDATECP) ? FPenPos : TPoint{x, y};
    detail::TTextPlacement placement;
    if (options & ETO_GLYPH_INDEX) {
        PlaceGlyphs(text, useDx ? &dx : nullptr, placement);
    } else {
        PlaceText(text, useDx ? &dx : nullptr, (options & ETO_RTLREADING) != 0, placement);
    }
    if ((FTextAlign & TA_UPDATECP) != 0) {
        const double w = placement.Width;
        const double a = FLogFont.lfEscapement * std::numbers::pi / 1800;
        const int32_t align = int32_t(FTextAlign & TA_CENTER);
        const double move = align == TA_CENTER ? 0 : align == TA_RIGHT ? -w : w;
        FPenPos = {Round(origin.X + move * std::cos(a)), Round(origin.Y - move * std::sin(a))};
    }
    if (!Visible()) {
        return true;
    }
    const bool opaqueRect = (options & ETO_OPAQUE) && rect;
    if (opaqueRect) {
        detail::TResolvedBrush bk;
        bk.None = false;
        bk.Device.Color = ColorToRGB(FBkColor);
        FillLogicalRect(*rect, bk);
    }
    const bool clipped = (options & ETO_CLIPPED) && rect;
    const bool hadClip = FHasClip;
    TRegion savedClip;
    if (clipped) {
        savedClip = FClip;
        IntersectClipRect(*rect);
    }
    DrawPlacedText(origin, placement);
    if (clipped) {
        FHasClip = hadClip;
        FClip = std::move(savedClip);
        ClipChanged();
    }
    return true;
}

// Where each glyph goes along the baseline (logical units from the run's start), from the
// advances given or from the font.
void TCanvas::PlaceText(std::u16string_view text, const std::vector<int32_t> *dx, bool rtlOption,
                        detail::TTextPlacement &out) const {
    const detail::TRealizedFont &font = Realize();
    const double em = font.Em * font.WidthScale;
    out.Glyphs.clear();
    ShapeInto(text, rtlOption || (FTextAlign & TA_RTLREADING) != 0, out.Shaped);
    const size_t n = text.size();
    std::vector<int32_t> advances =
        dx ? std::vector<int32_t>(dx->begin(), dx->begin() + ptrdiff_t(n)) : UnitAdvances(text);
    // Units of a cluster: those up to the next unit some glyph starts a cluster at.
    std::vector<uint8_t> starts(n, 0);
    for (const TShapedRun &run : out.Shaped.Runs) {
        for (const TShapedGlyph &g : run.Glyphs) {
            starts[std::min<size_t>(g.Cluster, n - 1)] = 1;
        }
    }
    std::vector<double> clusterWidth(n, 0);
    size_t current = 0;
    for (size_t i = 0; i < n; ++i) {
        current = starts[i] ? i : current;
        clusterWidth[current] += advances[i];
    }
    double x = 0;
    for (const TShapedRun &run : out.Shaped.Runs) {
        for (size_t k = 0; k < run.Glyphs.size();) {
            const uint32_t cluster = std::min<uint32_t>(run.Glyphs[k].Cluster, uint32_t(n - 1));
            double inner = 0;
            for (; k < run.Glyphs.size() &&
                   std::min<uint32_t>(run.Glyphs[k].Cluster, uint32_t(n - 1)) == cluster;
                 ++k) {
                const TShapedGlyph &g = run.Glyphs[k];
                out.Glyphs.push_back(
                    {g.Face, g.Glyph, x + inner + g.XOffset * em, -g.YOffset * font.Em});
                inner += g.Advance * em;
            }
            x += clusterWidth[cluster];
        }
    }
    out.Width = x;
}

// Glyph indices of the selected face, left to right, with the advances given or the glyphs'
// own (running sums rounded, as for text).
void TCanvas::PlaceGlyphs(std::u16string_view glyphs, const std::vector<int32_t> *dx,
                          detail::TTextPlacement &out) const {
    const detail::TRealizedFont &font = Realize();
    const TFontFace &face = *font.Resolved.Face;
    const double perUnit = font.Scale * font.WidthScale;
    out.Glyphs.clear();
    out.Advances.clear();
    double sum = 0;
    int32_t placed = 0;
    for (size_t i = 0; i < glyphs.size(); ++i) {
        int32_t advance = 0;
        if (dx) {
            advance = (*dx)[i];
        } else {
            sum += face.GlyphAdvance(glyphs[i]) * perUnit + FCharExtra;
            advance = Round(sum) - placed;
        }
        out.Glyphs.push_back({&face, glyphs[i], double(placed), 0});
        out.Advances.push_back(advance);
        placed += advance;
    }
    out.Width = placed;
}

// The text frame: x along the baseline, y downward, in logical units, origin on the baseline
// where the text starts (startX, baseline from the reference point), turned by the escapement.
TAffine TCanvas::TextFrame(TPoint origin, double startX, double baseline) const {
    const double escapement = FLogFont.lfEscapement * std::numbers::pi / 1800;
    const TAffine along =
        TAffine::Then(TAffine::Translation(startX, baseline), Rotation(escapement));
    if (FGraphicsMode == GM_ADVANCED) {
        return TAffine::Then(along,
                             TAffine::Then(TAffine::Translation(origin.X, origin.Y), FToDevice));
    }
    // Text stays upright in the compatible mode: the mapping only scales it.
    const TPointF ux = FToDevice.MapVector(1, 0), uy = FToDevice.MapVector(0, 1);
    const TAffine scale = TAffine::Scaling(std::hypot(ux.X, ux.Y), std::hypot(uy.X, uy.Y));
    const TPointF at = FToDevice.Map(double(origin.X), double(origin.Y));
    return TAffine::Then(along, TAffine::Then(scale, TAffine::Translation(at.X, at.Y)));
}

void TCanvas::DrawPlacedText(TPoint origin, const detail::TTextPlacement &placement) {
    const detail::TRealizedFont &font = Realize();
    const TTextMetric &tm = font.Metric;
    const int32_t align = int32_t(FTextAlign & TA_CENTER);
    const double startX = align == TA_CENTER  ? -placement.Width / 2
                          : align == TA_RIGHT ? -placement.Width
                                              : 0;
    const int32_t vertical = int32_t(FTextAlign & TA_BASELINE);
    const double baseline = vertical == TA_BASELINE ? 0
                            : vertical == TA_BOTTOM ? -tm.tmDescent
                                                    : tm.tmAscent;
    const TAffine frame = TextFrame(origin, startX, baseline);
    const double ascent = tm.tmAscent, descent = tm.tmDescent;
    auto fillFrameRect = [&](double x1, double y1, double x2, double y2, uint32_t color) {
        detail::TResolvedBrush brush;
        brush.None = false;
        brush.Device.Color = color;
        std::vector<TPointF> quad = {frame.Map(x1, y1), frame.Map(x2, y1), frame.Map(x2, y2),
                                     frame.Map(x1, y2)};
        if (frame.IsAxisAligned()) {
            const TRect d{
                int32_t(std::clamp(std::round(std::min(quad[0].X, quad[2].X)), -1e9, 1e9)),
                int32_t(std::clamp(std::round(std::min(quad[0].Y, quad[2].Y)), -1e9, 1e9)),
                int32_t(std::clamp(std::round(std::max(quad[0].X, quad[2].X)), -1e9, 1e9)),
                int32_t(std::clamp(std::round(std::max(quad[0].Y, quad[2].Y)), -1e9, 1e9))};
            const TRect c = IntersectRect(d, FEffective.GetBounds());
            if (!c.IsEmpty()) {
                FDevice->FillRects({c}, brush.Device);
            }
            return;
        }
        FillDevicePolygons({quad}, WINDING, brush);
    };
    if (FBkMode == OPAQUE && placement.Width > 0) {
        fillFrameRect(0, -ascent, placement.Width, descent, ColorToRGB(FBkColor));
    }
    const uint32_t color = ColorToRGB(FTextColor);
    DrawGlyphRuns(placement, frame, color);
    const TFaceMetrics &m = font.Resolved.Face->GetMetrics();
    if (FLogFont.lfUnderline && placement.Width > 0) {
        const double thick = std::max(1.0, std::round(m.UnderlineThickness * font.Scale));
        const double top = std::round(-m.UnderlinePosition * font.Scale - thick / 2);
        fillFrameRect(0, top, placement.Width, top + thick, color);
    }
    if (FLogFont.lfStrikeOut && placement.Width > 0) {
        const double thick = std::max(1.0, std::round(m.StrikeoutSize * font.Scale));
        const double top = std::round(-m.StrikeoutPosition * font.Scale);
        fillFrameRect(0, top, placement.Width, top + thick, color);
    }
}

void TCanvas::DrawGlyphRuns(const detail::TTextPlacement &placement, const TAffine &frame,
                            uint32_t color) {
    const detail::TRealizedFont &font = Realize();
    // Glyphs may turn against the baseline (orientation apart from escapement, advanced mode).
    const double turn =
        FGraphicsMode == GM_ADVANCED
            ? (FLogFont.lfOrientation - FLogFont.lfEscapement) * std::numbers::pi / 1800
            : 0;
    TAffine glyphFrame = TAffine::Then(Rotation(turn), frame);
    const TAffine back = Rotation(-turn);
    if (font.WidthScale != 1) {
        glyphFrame = TAffine::Then(TAffine::Scaling(font.WidthScale, 1), glyphFrame);
    }
    if (font.Resolved.SyntheticItalic) {
        glyphFrame = TAffine::Then(TAffine{1, 0, -0.2, 1, 0, 0}, glyphFrame);
    }
    const TAffine toRun = TAffine::Then(back, TAffine::Scaling(1 / font.WidthScale, 1));
    // Glyphs well outside the clip bounds are left out: a long line costs what shows.
    const TRect box = FEffective.GetBounds();
    const TPointF e = frame.MapVector(font.Em, font.Em);
    const double reach = 2 * (std::abs(e.X) + std::abs(e.Y)) + 4;
    TDeviceGlyphRun run;
    auto flush = [&] {
        if (!run.Glyphs.empty()) {
            FDevice->DrawGlyphs(run);
        }
        run.Glyphs.clear();
        run.Positions.clear();
    };
    for (const detail::TPlacedGlyph &g : placement.Glyphs) {
        const TPointF d = frame.Map(g.X, g.Y);
        if (d.X < box.Left - reach || d.X > box.Right + reach || d.Y < box.Top - reach ||
            d.Y > box.Bottom + reach) {
            continue;
        }
        if (g.Face != run.Face) {
            flush();
            run.Face = g.Face;
            run.EmSize = font.Em;
            run.Frame = glyphFrame;
            run.Color = color;
            run.SyntheticBold = font.Resolved.SyntheticBold && g.Face == font.Resolved.Face;
            run.SyntheticItalic = false;
        }
        run.Glyphs.push_back(g.Glyph);
        run.Positions.push_back(toRun.Map(g.X, g.Y));
    }
    flush();
}

rtl::UnicodeString ResolveFontFamily(const TFont &font) {
    const TLogFont lf = font.GetLogFont();
    return ResolveFace(lf.lfFaceName, lf.lfWeight, lf.lfItalic != 0).Face->GetFamilyName();
}

} // namespace gfx
