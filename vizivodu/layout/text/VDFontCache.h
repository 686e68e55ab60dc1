// The font info cache of one formatting run: per text style the font's metrics, the height of
// an empty line, an average character width, the hyphen width and the baseline shift of sub-
// and superscript text, measured once per style.
//
// Contract:
// - The cache holds one slot per text style of the sheet, empty until the style is asked for;
//   GetItems never fails: a number outside the sheet gives one shared invalid-style item.
// - Metrics are measured on the format canvas; when the draw canvas is another one, heights,
//   ascents and widths are converted from the format canvas's scale (HyphenWidthFC is not).
// - Two variants: TVDFontInfoCacheFast gives every style a canvas of its own with the style's
//   font left selected; TVDFontInfoCacheLowResource selects fonts into the format canvas itself
//   whenever the style differs from the one the caller last selected (LastTextStyle).
// - The canvases given to the cache must outlive it; the cache owns its items and the fast
//   variant's canvases, which it releases through the sheet's graphic interface.
#pragma once

#include "platform/gfx/Graphics.h"
#include "vizivodu/document/VDClasses.h"
#include "vizivodu/styles/VDFuncs.h"
#include "vizivodu/styles/VDStyle_Text.h"
#include "vizivodu/styles/VDStyle_Types.h"

#include <memory>

namespace vizivodu {

class TCustomVDData;
class TVDGraphicInterface;
class TVDStyle;

class TVDFontInfoCacheItem {
public:
    TVDBiDiMode LastBiDiMode = vdbdUnspecified;
    // The canvas with the style's font: the item's own (OwnCanvas) in the fast variant, the
    // format canvas in the low-resource one.
    gfx::TCanvas *Canvas = nullptr;
    std::unique_ptr<gfx::TCanvas> OwnCanvas;
    gfx::TTextMetric TextMetric;
    TVDExtraFontInfo ExtraFontInfo;
    TFontInfo *FontInfo = nullptr;
    int32_t VerticalOffset = 0;
    int32_t EmptyLineHeight = 0;
    int32_t AverageCharWidth = 0;
    int32_t HyphenWidth = 0;
    int32_t HyphenWidthFC = 0;
    TVDDocRotation Rotation = vdrotNone;
    bool UseVerticalFont = false;
    bool IsSymbolFont = false;

    // The script height and the sub- or superscript offset of the font selected into Canvas:
    // from its outline metrics, else two thirds, a quarter and 0.45 of its height; false (and
    // VerticalOffset 0) for a style that is neither.
    bool UpdateScriptMetrics(bool toFormatCanvas, TVDGraphicInterface &graphicInterface);
};

class TVDFontInfoCache : public TVDList<TVDFontInfoCacheItem> {
public:
    // canvas is the format canvas (where text is measured), drawCanvas the canvas the document
    // is drawn on.
    TVDFontInfoCache(TCustomVDData *owner, TVDStyle &vdStyle, gfx::TCanvas &canvas,
                     gfx::TCanvas &drawCanvas, bool canUseCustomPPI);
    virtual ~TVDFontInfoCache();
    TVDFontInfoCache(const TVDFontInfoCache &) = delete;
    TVDFontInfoCache &operator=(const TVDFontInfoCache &) = delete;

    // The item of text style index, built or refreshed as needed.
    virtual TVDFontInfoCacheItem &GetItems(int32_t index) = 0;
    // Frees the items and the invalid-style item; the slots go.
    virtual void Clear();

    TCustomVDData *Owner() const { return FOwner; }

    // Set by the caller before each lookup.
    TVDBiDiMode CurParaBiDiMode = vdbdUnspecified;
    bool IgnoreParaBiDiMode = false;
    int32_t LastTextStyle = -1;
    // Set by the caller after it obtains the cache.
    TVDDocRotation Rotation = vdrotNone;
    bool UseVerticalFonts = false;

protected:
    // Common start of a lookup: the vertical-font wish, the slots grown for styles added
    // since; the slot of index, or -1 for the invalid-style item.
    int32_t SlotOf(int32_t index, bool &verticalWish);
    TVDFontInfoCacheItem *ItemAt(int32_t slot) const;
    TVDFontInfoCacheItem &Store(int32_t slot, std::unique_ptr<TVDFontInfoCacheItem> item);
    bool ToFormatCanvas() const { return FCanvas != FDrawCanvas; }
    TVDApplyOptions ApplyOptions(bool ignoreSubSuperScript, bool verticalFont) const;
    // Text metrics, empty-line height, hyphen and average widths, converted for the draw
    // canvas, and the vertical shift.
    void Measure(TVDFontInfoCacheItem &item);

    gfx::TCanvas *FCanvas;
    gfx::TCanvas *FDrawCanvas;
    TVDStyle &FVDStyle;
    bool FCanUseCustomPPI;
    TCustomVDData *FOwner;
    std::unique_ptr<TVDFontInfoCacheItem> FInvalidItem;
};

class TVDFontInfoCacheFast : public TVDFontInfoCache {
public:
    using TVDFontInfoCache::TVDFontInfoCache;
    ~TVDFontInfoCacheFast() override;
    TVDFontInfoCacheItem &GetItems(int32_t index) override;
    // Releases every item's canvas through the graphic interface first.
    void Clear() override;

private:
    void Build(TVDFontInfoCacheItem &item, int32_t index, bool verticalWish);
};

class TVDFontInfoCacheLowResource : public TVDFontInfoCache {
public:
    using TVDFontInfoCache::TVDFontInfoCache;
    TVDFontInfoCacheItem &GetItems(int32_t index) override;
};

} // namespace vizivodu
