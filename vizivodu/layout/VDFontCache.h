// The font information cache of one formatting run: per text style the canvas holding the
// style's font, its text metrics, the vertical shift of sub- and superscript text, the empty
// line height, an average character width and the hyphen width. Two variants: the fast one
// gives every used style a canvas of its own (each font selected once); the low-resource one
// selects fonts into the format canvas itself whenever the style changes.
//
// Lengths are pixels of the draw canvas; when the format canvas differs from it (a scaled
// format canvas) measured values are brought back with ScaleFromFormatCanvas, except
// HyphenWidthFC.
#pragma once

#include "vizivodu/styles/VDFuncs.h"
#include "vizivodu/styles/VDStyle_Types.h"

#include "platform/gfx/Graphics.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace vizivodu {

class TCustomVDData;
class TFontInfo;
class TVDStyle;
class TVDGraphicInterface;

class TVDFontInfoCacheItem {
public:
    TVDBiDiMode LastBiDiMode = vdbdUnspecified;
    // The canvas holding the style's font: the item's own (fast variant) or the format canvas.
    gfx::TCanvas *Canvas = nullptr;
    gfx::TTextMetric TextMetric;
    TVDExtraFontInfo ExtraFontInfo;
    const TFontInfo *FontInfo = nullptr;
    int32_t VerticalOffset = 0;
    int32_t EmptyLineHeight = 0;
    int32_t AverageCharWidth = 0;
    int32_t HyphenWidth = 0;
    int32_t HyphenWidthFC = 0;
    TVDDocRotation Rotation = vdrotNone;
    bool UseVerticalFont = false;
    bool IsSymbolFont = false;

    // Sub- and superscript metrics of the font selected into Canvas: true for such styles
    // (VerticalOffset and ExtraFontInfo set), false for plain ones (VerticalOffset 0).
    bool UpdateScriptMetrics(bool toFormatCanvas);

private:
    friend class TVDFontInfoCache;
    friend class TVDFontInfoCacheFast;
    std::unique_ptr<gfx::TCanvas> FOwnCanvas;
};

class TVDFontInfoCache {
public:
    // One empty slot per text style of the sheet. canvas is the format canvas (measuring),
    // drawCanvas the canvas the document is drawn on.
    TVDFontInfoCache(TCustomVDData *owner, TVDStyle &vdStyle, gfx::TCanvas &canvas,
                     gfx::TCanvas &drawCanvas, bool canUseCustomPPI);
    TVDFontInfoCache(const TVDFontInfoCache &) = delete;
    TVDFontInfoCache &operator=(const TVDFontInfoCache &) = delete;
    virtual ~TVDFontInfoCache() = default;

    // The item of text style index, built or refreshed as needed; never fails: an index
    // outside the style sheet gives the one shared invalid-style item.
    virtual TVDFontInfoCacheItem &GetItems(int32_t index) = 0;
    // Frees every item and the invalid-style item.
    virtual void Clear();
    int32_t Count() const { return static_cast<int32_t>(FItems.size()); }
    TCustomVDData *Owner() const { return FOwner; }

    // Set by the caller before each lookup: the paragraph's BiDi mode.
    TVDBiDiMode CurParaBiDiMode = vdbdUnspecified;
    // Raised by line wrapping around the hyphen-width lookup of a soft hyphen at a line end.
    bool IgnoreParaBiDiMode = false;
    // The text style whose font the caller selected last; -1 after creation.
    int32_t LastTextStyle = -1;
    TVDDocRotation Rotation = vdrotNone;
    bool UseVerticalFonts = false;

protected:
    bool VerticalWish(int32_t index) const;
    // The slot of index (grown when styles were added since), or the invalid-style slot.
    std::unique_ptr<TVDFontInfoCacheItem> &Slot(int32_t index);
    void Apply(gfx::TCanvas &canvas, int32_t index, bool ignoreSubSuperScript, bool vertical);
    void Measure(TVDFontInfoCacheItem &item);
    bool Scaled() const { return FCanvas != FDrawCanvas; }

    gfx::TCanvas *FCanvas;
    gfx::TCanvas *FDrawCanvas;
    TVDStyle *FVDStyle;
    bool FCanUseCustomPPI;
    TCustomVDData *FOwner;
    std::vector<std::unique_ptr<TVDFontInfoCacheItem>> FItems;
    std::unique_ptr<TVDFontInfoCacheItem> FInvalidItem;
};

class TVDFontInfoCacheFast : public TVDFontInfoCache {
public:
    using TVDFontInfoCache::TVDFontInfoCache;
    TVDFontInfoCacheItem &GetItems(int32_t index) override;
};

class TVDFontInfoCacheLowResource : public TVDFontInfoCache {
public:
    using TVDFontInfoCache::TVDFontInfoCache;
    TVDFontInfoCacheItem &GetItems(int32_t index) override;
};

} // namespace vizivodu
