// The font info cache: lookups of both variants, script metrics and measurements.
#include "vizivodu/layout/text/VDFontCache.h"

#include "vizivodu/layout/text/VDGrIn.h"
#include "vizivodu/styles/VDStyle.h"
#include "vizivodu/styles/VDStyle_Units.h"

#include "platform/rtl/Rounding.h"

#include <cstdlib>

namespace vizivodu {

namespace {

// The absolute value of v rounded to the nearest integer, halves to even.
int32_t RoundAbs(long double v) {
    return int32_t(std::llabs(rtl::Round(v)));
}

} // namespace

// ---- Items --------------------------------------------------------------------------------

bool TVDFontInfoCacheItem::UpdateScriptMetrics(bool toFormatCanvas,
                                               TVDGraphicInterface &graphicInterface) {
    const TVDSubSuperScriptType kind = FontInfo->GetSubSuperScriptType();
    if (kind == vdsssNormal) {
        VerticalOffset = 0;
        return false;
    }
    int32_t &scriptHeight = ExtraFontInfo.ScriptHeight;
    if (const auto otm = AllocOutlineTextMetrics(*Canvas, graphicInterface)) {
        if (kind == vdsssSubscript) {
            scriptHeight = otm->otmptSubscriptSize.Y;
            VerticalOffset = -otm->otmptSubscriptOffset.Y;
        } else {
            scriptHeight = otm->otmptSuperscriptSize.Y;
            VerticalOffset = otm->otmptSuperscriptOffset.Y;
            if (otm->otmTextMetrics.tmAscent < VerticalOffset + scriptHeight) {
                VerticalOffset = otm->otmTextMetrics.tmAscent - scriptHeight;
            }
        }
    } else {
        const long double height = Canvas->GetFont().GetHeight();
        scriptHeight = RoundAbs(height * 2 / 3);
        VerticalOffset =
            kind == vdsssSubscript ? -RoundAbs(height * 0.25L) : RoundAbs(height * 0.45L);
    }
    scriptHeight = ScaleFromFormatCanvas(scriptHeight, toFormatCanvas);
    VerticalOffset = ScaleFromFormatCanvas(VerticalOffset, toFormatCanvas);
    return true;
}

// ---- The cache ----------------------------------------------------------------------------

TVDFontInfoCache::TVDFontInfoCache(TCustomVDData *owner, TVDStyle &vdStyle, gfx::TCanvas &canvas,
                                   gfx::TCanvas &drawCanvas, bool canUseCustomPPI)
    : FCanvas(&canvas), FDrawCanvas(&drawCanvas), FVDStyle(vdStyle),
      FCanUseCustomPPI(canUseCustomPPI), FOwner(owner) {
    const int32_t count = vdStyle.GetTextStyles().GetCount();
    SetCapacity(count);
    for (int32_t i = 0; i < count; ++i) {
        Add(nullptr);
    }
}

TVDFontInfoCache::~TVDFontInfoCache() {
    TVDFontInfoCache::Clear();
}

void TVDFontInfoCache::Clear() {
    FInvalidItem.reset();
    TVDList<TVDFontInfoCacheItem>::Clear();
}

int32_t TVDFontInfoCache::SlotOf(int32_t index, bool &verticalWish) {
    const TFontInfo &style = FVDStyle.GetTextStyles().GetItem(index);
    verticalWish = UseVerticalFonts && IsHorizontalFontName(style.GetFontName());
    const int32_t styles = FVDStyle.GetTextStyles().GetCount();
    while (index >= GetCount() && index < styles) {
        Add(nullptr);
    }
    return index < 0 || index >= GetCount() ? -1 : index;
}

TVDFontInfoCacheItem *TVDFontInfoCache::ItemAt(int32_t slot) const {
    return slot < 0 ? FInvalidItem.get() : Get(slot);
}

TVDFontInfoCacheItem &TVDFontInfoCache::Store(int32_t slot,
                                              std::unique_ptr<TVDFontInfoCacheItem> item) {
    TVDFontInfoCacheItem &stored = *item;
    if (slot < 0) {
        FInvalidItem = std::move(item);
    } else {
        Put(slot, std::move(item));
    }
    return stored;
}

TVDApplyOptions TVDFontInfoCache::ApplyOptions(bool ignoreSubSuperScript, bool verticalFont) const {
    TVDApplyOptions options;
    IncludeIf(options, vdaoCanUseCustomPPI, FCanUseCustomPPI);
    IncludeIf(options, vdaoCanUseFontQuality, FCanUseCustomPPI);
    IncludeIf(options, vdaoIgnoreSubSuperScript, ignoreSubSuperScript);
    IncludeIf(options, vdaoToFormatCanvas, ToFormatCanvas());
    IncludeIf(options, vdaoUseVerticalFont, verticalFont);
    return options;
}

void TVDFontInfoCache::Measure(TVDFontInfoCacheItem &item) {
    TVDGraphicInterface &gi = FVDStyle.GetGraphicInterface();
    gfx::TCanvas &canvas = *item.Canvas;
    gi.GetTextMetrics(canvas, item.TextMetric);
    const TVDTextRun hyphen{"-", 1, false, false, item.IsSymbolFont};
    const TVDTextRun x{"X", 1, false, false, item.IsSymbolFont};
    const rtl::TSize hyphenSize = gi.TextSize(canvas, hyphen);
    item.EmptyLineHeight = hyphenSize.cy;
    item.HyphenWidth = item.HyphenWidthFC = hyphenSize.cx;
    item.AverageCharWidth = gi.TextSize(canvas, x).cx;
    gfx::TTextMetric &tm = item.TextMetric;
    if (ToFormatCanvas()) {
        tm.tmAscent = ScaleFromFormatCanvas(tm.tmAscent, true);
        tm.tmHeight = ScaleFromFormatCanvas(tm.tmHeight, true);
        item.EmptyLineHeight = ScaleFromFormatCanvas(item.EmptyLineHeight, true);
        item.HyphenWidth = ScaleFromFormatCanvas(item.HyphenWidth, true);
        tm.tmDescent = item.EmptyLineHeight - tm.tmAscent;
    }
    item.VerticalOffset += gfx::MulDiv(tm.tmHeight, item.FontInfo->GetVShift(), 100);
}

// ---- The fast variant ---------------------------------------------------------------------

TVDFontInfoCacheFast::~TVDFontInfoCacheFast() {
    TVDFontInfoCacheFast::Clear();
}

void TVDFontInfoCacheFast::Clear() {
    TVDGraphicInterface &gi = FVDStyle.GetGraphicInterface();
    for (int32_t i = 0; i < GetCount(); ++i) {
        if (TVDFontInfoCacheItem *item = Get(i)) {
            gi.DestroyCompatibleCanvas(item->OwnCanvas);
        }
    }
    if (FInvalidItem) {
        gi.DestroyCompatibleCanvas(FInvalidItem->OwnCanvas);
    }
    TVDFontInfoCache::Clear();
}

TVDFontInfoCacheItem &TVDFontInfoCacheFast::GetItems(int32_t index) {
    bool verticalWish = false;
    const int32_t slot = SlotOf(index, verticalWish);
    TVDFontInfoCacheItem *item = ItemAt(slot);
    if (!item) {
        auto made = std::make_unique<TVDFontInfoCacheItem>();
        TVDGraphicInterface &gi = FVDStyle.GetGraphicInterface();
        made->OwnCanvas = gi.CreateCompatibleCanvas(*FCanvas);
        made->Canvas = made->OwnCanvas.get();
        if (ToFormatCanvas() && gi.GetMapMode(*FCanvas) == gfx::MM_ANISOTROPIC) {
            rtl::TSize extent;
            gi.SetMapMode(*made->Canvas, gfx::MM_ANISOTROPIC);
            gi.GetWindowExtEx(*FCanvas, extent);
            gi.SetWindowExtEx(*made->Canvas, extent.cx, extent.cy);
            gi.GetViewportExtEx(*FCanvas, extent);
            gi.SetViewportExtEx(*made->Canvas, extent.cx, extent.cy);
        }
        item = &Store(slot, std::move(made));
        Build(*item, index, verticalWish);
    } else if (item->Rotation != Rotation || item->UseVerticalFont != verticalWish) {
        Build(*item, index, verticalWish);
    }
    if (CurParaBiDiMode != item->LastBiDiMode) {
        item->FontInfo->ApplyBiDiMode(*item->Canvas, CurParaBiDiMode, ToFormatCanvas(),
                                      FVDStyle.GetGraphicInterface());
        item->LastBiDiMode = CurParaBiDiMode;
    }
    return *item;
}

void TVDFontInfoCacheFast::Build(TVDFontInfoCacheItem &item, int32_t index, bool verticalWish) {
    TVDGraphicInterface &gi = FVDStyle.GetGraphicInterface();
    item.FontInfo = &FVDStyle.GetTextStyles().GetItem(index);
    FVDStyle.ApplyStyle(*item.Canvas, index, CurParaBiDiMode, ApplyOptions(true, verticalWish),
                        nullptr);
    item.IsSymbolFont = item.FontInfo->IsSymbolCharset();
    item.LastBiDiMode = CurParaBiDiMode;
    if (gi.IsAdvancedGraphicsMode(*FCanvas)) {
        gfx::TXForm xf;
        gi.SetGraphicsMode(*item.Canvas, vdgmAdvanced);
        if (gi.GetWorldTransform(*FCanvas, xf)) {
            gi.SetWorldTransform(*item.Canvas, xf);
        }
    } else {
        gi.SetGraphicsMode(*item.Canvas, vdgmCompatible);
    }
    item.Rotation = Rotation;
    item.UseVerticalFont = verticalWish;
    if (item.UpdateScriptMetrics(ToFormatCanvas(), gi)) {
        FVDStyle.ApplyStyle(*item.Canvas, index, CurParaBiDiMode, ApplyOptions(false, verticalWish),
                            nullptr);
    }
    Measure(item);
}

// ---- The low-resource variant -------------------------------------------------------------

TVDFontInfoCacheItem &TVDFontInfoCacheLowResource::GetItems(int32_t index) {
    bool verticalWish = false;
    const int32_t slot = SlotOf(index, verticalWish);
    TVDFontInfoCacheItem *item = ItemAt(slot);
    const bool existed = item != nullptr;
    if (!existed) {
        auto made = std::make_unique<TVDFontInfoCacheItem>();
        made->Canvas = FCanvas;
        made->FontInfo = &FVDStyle.GetTextStyles().GetItem(index);
        made->IsSymbolFont = made->FontInfo->IsSymbolCharset();
        item = &Store(slot, std::move(made));
    }
    if (index != LastTextStyle || item->LastBiDiMode != CurParaBiDiMode) {
        item->LastBiDiMode = CurParaBiDiMode;
        FVDStyle.ApplyStyle(*FCanvas, index, CurParaBiDiMode, ApplyOptions(false, verticalWish),
                            nullptr);
    }
    if (existed && item->Rotation == Rotation && item->UseVerticalFont == verticalWish) {
        return *item;
    }
    item->Rotation = Rotation;
    item->UseVerticalFont = verticalWish;
    TVDGraphicInterface &gi = FVDStyle.GetGraphicInterface();
    if (item->FontInfo->GetSubSuperScriptType() != vdsssNormal) {
        FVDStyle.ApplyStyle(*FCanvas, index, CurParaBiDiMode, ApplyOptions(true, verticalWish),
                            nullptr);
        item->UpdateScriptMetrics(ToFormatCanvas(), gi);
        FVDStyle.ApplyStyle(*FCanvas, index, CurParaBiDiMode, ApplyOptions(false, verticalWish),
                            nullptr);
    } else {
        item->VerticalOffset = 0;
    }
    Measure(*item);
    return *item;
}

} // namespace vizivodu
