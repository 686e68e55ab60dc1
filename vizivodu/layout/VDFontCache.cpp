// The font information cache: slots per text style, the two lookup variants, script metrics
// and measurements.
#include "vizivodu/layout/VDFontCache.h"

#include "vizivodu/layout/VDGrIn.h"
#include "vizivodu/styles/VDStyle.h"

#include "platform/rtl/Rounding.h"

#include <cstdlib>

namespace vizivodu {

namespace {

// |v| rounded to the nearest integer, halves to even.
int32_t RoundAbs(long double v) {
    return static_cast<int32_t>(rtl::Round(v < 0 ? -v : v));
}

} // namespace

// The font engine does not report outline metrics to the layout yet: script metrics take the
// proportions GDI gives fonts without them (two thirds of the height, shifted by a quarter
// down or 45 % up).
bool TVDFontInfoCacheItem::UpdateScriptMetrics(bool toFormatCanvas) {
    if (!FontInfo || FontInfo->GetSubSuperScriptType() == vdsssNormal) {
        VerticalOffset = 0;
        return false;
    }
    const int32_t h = Canvas->GetFont().GetHeight();
    ExtraFontInfo.ScriptHeight = RoundAbs(static_cast<long double>(h) * 2 / 3);
    VerticalOffset = FontInfo->GetSubSuperScriptType() == vdsssSubscript
                         ? -RoundAbs(static_cast<long double>(h) * 0.25L)
                         : RoundAbs(static_cast<long double>(h) * 0.45L);
    ExtraFontInfo.ScriptHeight = ScaleFromFormatCanvas(ExtraFontInfo.ScriptHeight, toFormatCanvas);
    VerticalOffset = ScaleFromFormatCanvas(VerticalOffset, toFormatCanvas);
    return true;
}

TVDFontInfoCache::TVDFontInfoCache(TCustomVDData *owner, TVDStyle &vdStyle, gfx::TCanvas &canvas,
                                   gfx::TCanvas &drawCanvas, bool canUseCustomPPI)
    : FCanvas(&canvas), FDrawCanvas(&drawCanvas), FVDStyle(&vdStyle),
      FCanUseCustomPPI(canUseCustomPPI), FOwner(owner) {
    FItems.resize(static_cast<size_t>(vdStyle.GetTextStyles().GetCount()));
}

void TVDFontInfoCache::Clear() {
    FItems.clear();
    FInvalidItem.reset();
}

bool TVDFontInfoCache::VerticalWish(int32_t index) const {
    return UseVerticalFonts &&
           IsHorizontalFontName(FVDStyle->GetTextStyles().GetItem(index).GetFontName());
}

std::unique_ptr<TVDFontInfoCacheItem> &TVDFontInfoCache::Slot(int32_t index) {
    if (index >= Count() && index < FVDStyle->GetTextStyles().GetCount()) {
        FItems.resize(static_cast<size_t>(index) + 1);
    }
    if (index < 0 || index >= Count()) {
        return FInvalidItem;
    }
    return FItems[static_cast<size_t>(index)];
}

void TVDFontInfoCache::Apply(gfx::TCanvas &canvas, int32_t index, bool ignoreSubSuperScript,
                             bool vertical) {
    TVDApplyOptions options;
    if (FCanUseCustomPPI) {
        options.Include(vdaoCanUseCustomPPI);
        options.Include(vdaoCanUseFontQuality);
    }
    if (ignoreSubSuperScript) {
        options.Include(vdaoIgnoreSubSuperScript);
    }
    if (Scaled()) {
        options.Include(vdaoToFormatCanvas);
    }
    if (vertical) {
        options.Include(vdaoUseVerticalFont);
    }
    FVDStyle->ApplyStyle(canvas, index, CurParaBiDiMode, options, nullptr);
}

// "-" gives the empty line height and the hyphen width, "X" the average character width.
void TVDFontInfoCache::Measure(TVDFontInfoCacheItem &item) {
    TVDGraphicInterface &gi = FVDStyle->GetGraphicInterface();
    gi.GetTextMetrics(*item.Canvas, item.TextMetric);
    const gfx::TSize hyphen = gi.TextSize(*item.Canvas, "-", 1, false, false, item.IsSymbolFont);
    item.EmptyLineHeight = hyphen.cy;
    item.HyphenWidth = hyphen.cx;
    item.HyphenWidthFC = hyphen.cx;
    item.AverageCharWidth = gi.TextSize(*item.Canvas, "X", 1, false, false, item.IsSymbolFont).cx;
    if (Scaled()) {
        item.TextMetric.tmAscent = ScaleFromFormatCanvas(item.TextMetric.tmAscent, true);
        item.TextMetric.tmHeight = ScaleFromFormatCanvas(item.TextMetric.tmHeight, true);
        item.EmptyLineHeight = ScaleFromFormatCanvas(item.EmptyLineHeight, true);
        item.HyphenWidth = ScaleFromFormatCanvas(item.HyphenWidth, true);
        item.TextMetric.tmDescent = item.EmptyLineHeight - item.TextMetric.tmAscent;
    }
    const int32_t vShift = item.FontInfo ? item.FontInfo->GetVShift() : 0;
    item.VerticalOffset += gfx::MulDiv(item.TextMetric.tmHeight, vShift, 100);
}

TVDFontInfoCacheItem &TVDFontInfoCacheFast::GetItems(int32_t index) {
    const bool vertical = VerticalWish(index);
    std::unique_ptr<TVDFontInfoCacheItem> &slot = Slot(index);
    if (!slot || slot->Rotation != Rotation || slot->UseVerticalFont != vertical) {
        auto item = std::make_unique<TVDFontInfoCacheItem>();
        item->FOwnCanvas = FVDStyle->GetGraphicInterface().CreateCompatibleCanvas(*FCanvas);
        item->Canvas = item->FOwnCanvas.get();
        item->FontInfo = &FVDStyle->GetTextStyles().GetItem(index);
        Apply(*item->Canvas, index, true, vertical);
        item->IsSymbolFont = item->FontInfo->IsSymbolCharset();
        item->LastBiDiMode = CurParaBiDiMode;
        item->Rotation = Rotation;
        item->UseVerticalFont = vertical;
        if (item->UpdateScriptMetrics(Scaled())) {
            Apply(*item->Canvas, index, false, vertical);
        }
        Measure(*item);
        slot = std::move(item);
    }
    TVDFontInfoCacheItem &item = *slot;
    if (item.LastBiDiMode != CurParaBiDiMode) {
        item.FontInfo->ApplyBiDiMode(*item.Canvas, CurParaBiDiMode, Scaled(),
                                     FVDStyle->GetGraphicInterface());
        item.LastBiDiMode = CurParaBiDiMode;
    }
    return item;
}

TVDFontInfoCacheItem &TVDFontInfoCacheLowResource::GetItems(int32_t index) {
    const bool vertical = VerticalWish(index);
    std::unique_ptr<TVDFontInfoCacheItem> &slot = Slot(index);
    const bool existed = slot != nullptr;
    if (!existed) {
        slot = std::make_unique<TVDFontInfoCacheItem>();
        slot->Canvas = FCanvas;
        slot->FontInfo = &FVDStyle->GetTextStyles().GetItem(index);
        slot->IsSymbolFont = slot->FontInfo->IsSymbolCharset();
    }
    TVDFontInfoCacheItem &item = *slot;
    if (index != LastTextStyle || item.LastBiDiMode != CurParaBiDiMode) {
        item.LastBiDiMode = CurParaBiDiMode;
        Apply(*FCanvas, index, false, vertical);
    }
    if (existed && item.Rotation == Rotation && item.UseVerticalFont == vertical) {
        return item;
    }
    item.Rotation = Rotation;
    item.UseVerticalFont = vertical;
    item.VerticalOffset = 0;
    if (item.FontInfo->GetSubSuperScriptType() != vdsssNormal) {
        Apply(*FCanvas, index, true, vertical);
        item.UpdateScriptMetrics(Scaled());
        Apply(*FCanvas, index, false, vertical);
    }
    Measure(item);
    return item;
}

} // namespace vizivodu
