// The font info cache: slots per text style, the shared invalid-style item, metrics on the
// format canvas converted for the draw canvas, script metrics with and without outline
// metrics, the vertical shift, and when each variant selects fonts.
#include "vizivodu/layout/text/VDFontCache.h"

#include "tests/vizivodu/layout/text/GrInTestSupport.h"
#include "vizivodu/VDStartup.h"
#include "vizivodu/styles/VDStyle.h"

#include <gtest/gtest.h>

using namespace vizivodu;
using namespace vizivodu::test;

namespace {

// The complex-script engine, counting the canvases it releases; optionally without outline
// metrics (a font that is not an outline font).
struct TCountingInterface : TVDUniscribeGraphicInterface {
    int Destroyed = 0;
    bool NoOutlineMetrics = false;
    void DestroyCompatibleCanvas(std::unique_ptr<gfx::TCanvas> &canvas) override {
        Destroyed += canvas ? 1 : 0;
        TVDUniscribeGraphicInterface::DestroyCompatibleCanvas(canvas);
    }
    uint32_t GetOutlineTextMetrics(gfx::TCanvas &canvas, uint32_t size,
                                   gfx::TOutlineTextMetric *otm) override {
        return NoOutlineMetrics
                   ? 0
                   : TVDUniscribeGraphicInterface::GetOutlineTextMetrics(canvas, size, otm);
    }
};

class FontInfoCache : public ::testing::Test {
protected:
    FontInfoCache() {
        InitializeLibrary();
        auto gi = std::make_unique<TCountingInterface>();
        GI = gi.get();
        Sheet.SetGraphicInterfaceForTesting(std::move(gi));
        Sheet.OnApplyStyle = [this](TVDStyle &, gfx::TCanvas &, int32_t, bool &) { ++Applied; };
    }
    TFontInfo &Style(int32_t i) { return Sheet.GetTextStyles().GetItem(i); }

    TVDStyle Sheet{nullptr};
    TCountingInterface *GI = nullptr;
    TTextCanvas Canvas;
    int Applied = 0;
};

} // namespace

TEST_F(FontInfoCache, OneSlotPerTextStyleGrowingWithTheSheet) {
    while (Sheet.GetTextStyles().GetCount() > 3) {
        Sheet.DeleteTextStyle(Sheet.GetTextStyles().GetCount() - 1);
    }
    TVDFontInfoCacheLowResource cache(nullptr, Sheet, Canvas.Canvas(), Canvas.Canvas(), false);
    ASSERT_EQ(cache.GetCount(), 3);
    for (int32_t i = 0; i < 3; ++i) {
        EXPECT_EQ(cache.Get(i), nullptr);
    }
    Sheet.AddTextStyle();
    Sheet.AddTextStyle();
    Sheet.AddTextStyle();
    cache.GetItems(5);
    EXPECT_EQ(cache.GetCount(), 6);
    EXPECT_NE(cache.Get(5), nullptr);
    EXPECT_EQ(cache.Get(4), nullptr);
}

TEST_F(FontInfoCache, OutOfRangeStylesShareTheInvalidItem) {
    TVDFontInfoCacheFast fast(nullptr, Sheet, Canvas.Canvas(), Canvas.Canvas(), false);
    TVDFontInfoCacheLowResource low(nullptr, Sheet, Canvas.Canvas(), Canvas.Canvas(), false);
    for (TVDFontInfoCache *cache : std::initializer_list<TVDFontInfoCache *>{&fast, &low}) {
        TVDFontInfoCacheItem &invalid = cache->GetItems(-1);
        EXPECT_EQ(&cache->GetItems(100), &invalid);
        EXPECT_EQ(&cache->GetItems(-1), &invalid);
        EXPECT_EQ(invalid.FontInfo, &Sheet.GetTextStyles().GetInvalidItem());
        EXPECT_EQ(cache->GetCount(), 6);
    }
}

TEST_F(FontInfoCache, MetricsOfTheStylesFont) {
    TVDFontInfoCacheFast cache(nullptr, Sheet, Canvas.Canvas(), Canvas.Canvas(), false);
    TVDFontInfoCacheItem &item = cache.GetItems(1);
    TTextCanvas reference;
    Sheet.ApplyStyle(reference.Canvas(), 1, vdbdUnspecified, {vdaoIgnoreSubSuperScript}, nullptr);
    TVDGraphicInterface &gi = *GI;
    EXPECT_EQ(item.TextMetric.tmHeight, reference.Canvas().GetTextMetrics().tmHeight);
    EXPECT_EQ(item.EmptyLineHeight, item.TextMetric.tmHeight);
    EXPECT_EQ(item.HyphenWidth, gi.TextWidth(reference.Canvas(), u"-"));
    EXPECT_EQ(item.HyphenWidthFC, item.HyphenWidth);
    EXPECT_EQ(item.AverageCharWidth, gi.TextWidth(reference.Canvas(), u"X"));
    EXPECT_EQ(item.VerticalOffset, 0);
    EXPECT_NE(item.Canvas, &Canvas.Canvas()); // a canvas of its own
    EXPECT_EQ(item.Canvas->GetFont().GetName(), Style(1).GetFontName());
}

TEST_F(FontInfoCache, FormatCanvasMetricsAreConvertedForTheDrawCanvas) {
    auto format = MeasuringCanvas(FormatCanvasPixelsPerInch, u"Arial", 10);
    TVDFontInfoCacheLowResource cache(nullptr, Sheet, *format, Canvas.Canvas(), false);
    const TVDFontInfoCacheItem &item = cache.GetItems(0);
    // Text style 0 at 10 points: -1333 at 9600 pixels per inch, a hundredth of it drawn.
    EXPECT_EQ(format->GetFont().GetHeight(), -1333);
    const gfx::TTextMetric fc = format->GetTextMetrics();
    EXPECT_EQ(item.TextMetric.tmHeight, ScaleFromFormatCanvas(fc.tmHeight, true));
    EXPECT_EQ(item.TextMetric.tmAscent, ScaleFromFormatCanvas(fc.tmAscent, true));
    EXPECT_EQ(item.TextMetric.tmDescent, item.EmptyLineHeight - item.TextMetric.tmAscent);
    EXPECT_EQ(item.HyphenWidth, ScaleFromFormatCanvas(item.HyphenWidthFC, true));
    EXPECT_GT(item.HyphenWidthFC, 50 * item.HyphenWidth);
}

TEST_F(FontInfoCache, ScriptMetricsFromOutlineMetrics) {
    Style(0).SetSubSuperScriptType(vdsssSuperScript);
    Style(2).SetSubSuperScriptType(vdsssSubscript);
    TVDFontInfoCacheFast cache(nullptr, Sheet, Canvas.Canvas(), Canvas.Canvas(), false);
    TVDFontInfoCacheItem &super = cache.GetItems(0);
    TTextCanvas full;
    Sheet.ApplyStyle(full.Canvas(), 0, vdbdUnspecified, {vdaoIgnoreSubSuperScript}, nullptr);
    gfx::TOutlineTextMetric otm;
    ASSERT_TRUE(full.Canvas().GetOutlineTextMetrics(otm));
    // Arial's superscript reaches above the ascent: it is lowered to end there.
    ASSERT_LT(otm.otmTextMetrics.tmAscent,
              otm.otmptSuperscriptOffset.Y + otm.otmptSuperscriptSize.Y);
    EXPECT_EQ(super.ExtraFontInfo.ScriptHeight, otm.otmptSuperscriptSize.Y);
    EXPECT_EQ(super.VerticalOffset, otm.otmTextMetrics.tmAscent - otm.otmptSuperscriptSize.Y);
    // The item's canvas keeps the reduced font.
    EXPECT_LT(std::abs(super.Canvas->GetFont().GetHeight()),
              std::abs(full.Canvas().GetFont().GetHeight()));
    TVDFontInfoCacheItem &sub = cache.GetItems(2);
    Sheet.ApplyStyle(full.Canvas(), 2, vdbdUnspecified, {vdaoIgnoreSubSuperScript}, nullptr);
    ASSERT_TRUE(full.Canvas().GetOutlineTextMetrics(otm));
    EXPECT_EQ(sub.ExtraFontInfo.ScriptHeight, otm.otmptSubscriptSize.Y);
    EXPECT_EQ(sub.VerticalOffset, -otm.otmptSubscriptOffset.Y);
}

TEST_F(FontInfoCache, ScriptMetricsWithoutOutlineMetrics) {
    GI->NoOutlineMetrics = true;
    struct TCase {
        TVDSubSuperScriptType Kind;
        int32_t ScriptHeight, VerticalOffset;
    } cases[] = {{vdsssSubscript, 8, -3}, {vdsssSuperScript, 8, 5}};
    for (const TCase &c : cases) {
        Style(1).SetSizeDouble(18); // 9 points: height -12 at 96 pixels per inch
        Style(1).SetSubSuperScriptType(c.Kind);
        for (bool fast : {true, false}) {
            std::unique_ptr<TVDFontInfoCache> cache;
            if (fast) {
                cache = std::make_unique<TVDFontInfoCacheFast>(nullptr, Sheet, Canvas.Canvas(),
                                                               Canvas.Canvas(), false);
            } else {
                cache = std::make_unique<TVDFontInfoCacheLowResource>(
                    nullptr, Sheet, Canvas.Canvas(), Canvas.Canvas(), false);
            }
            const TVDFontInfoCacheItem &item = cache->GetItems(1);
            EXPECT_EQ(item.ExtraFontInfo.ScriptHeight, c.ScriptHeight) << fast;
            EXPECT_EQ(item.VerticalOffset, c.VerticalOffset) << fast;
        }
    }
}

TEST_F(FontInfoCache, VerticalShiftIsAddedOnceWhenItemsAreRebuilt) {
    Style(1).SetVShift(50);
    TVDFontInfoCacheFast fast(nullptr, Sheet, Canvas.Canvas(), Canvas.Canvas(), false);
    TVDFontInfoCacheLowResource low(nullptr, Sheet, Canvas.Canvas(), Canvas.Canvas(), false);
    for (TVDFontInfoCache *cache : std::initializer_list<TVDFontInfoCache *>{&fast, &low}) {
        const int32_t shift = gfx::MulDiv(cache->GetItems(1).TextMetric.tmHeight, 50, 100);
        EXPECT_EQ(cache->GetItems(1).VerticalOffset, shift);
        cache->Rotation = vdrot90;
        EXPECT_EQ(cache->GetItems(1).VerticalOffset, shift);
        EXPECT_EQ(cache->GetItems(1).Rotation, vdrot90);
    }
}

TEST_F(FontInfoCache, TheFastVariantSelectsEachFontOnce) {
    {
        TVDFontInfoCacheFast cache(nullptr, Sheet, Canvas.Canvas(), Canvas.Canvas(), false);
        cache.GetItems(0);
        cache.GetItems(1);
        const int applied = Applied;
        cache.GetItems(0);
        cache.GetItems(1);
        EXPECT_EQ(Applied, applied);
        // A paragraph of another direction changes only the reading order.
        cache.CurParaBiDiMode = vdbdRightToLeft;
        EXPECT_EQ(GI->GetTextAlign(*cache.GetItems(0).Canvas), TA_RTLREADING);
        EXPECT_EQ(Applied, applied);
        cache.GetItems(-1);
    }
    EXPECT_EQ(GI->Destroyed, 3);
}

TEST_F(FontInfoCache, TheLowResourceVariantSelectsWhenTheStyleChanges) {
    TVDFontInfoCacheLowResource cache(nullptr, Sheet, Canvas.Canvas(), Canvas.Canvas(), false);
    EXPECT_EQ(cache.GetItems(1).Canvas, &Canvas.Canvas());
    EXPECT_EQ(Applied, 1);
    cache.LastTextStyle = 1;
    cache.GetItems(1); // the caller says style 1 is selected: nothing to do
    EXPECT_EQ(Applied, 1);
    cache.LastTextStyle = 2;
    cache.GetItems(1); // another style is selected: style 1 again
    EXPECT_EQ(Applied, 2);
    EXPECT_EQ(Canvas.Canvas().GetFont().GetStyle(), Style(1).GetStyle());
}
