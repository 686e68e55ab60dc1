// The complex-script engine: runs of length 0 and missing analyses go to the GDI engine,
// right-to-left reading, the character extra, fit counting, glyph data, carets and
// justification, the logical ends of a run, and metafile output.
#include "vizivodu/layout/text/VDUniscribeGrIn.h"

#include "tests/vizivodu/layout/text/GrInTestSupport.h"
#include "vizivodu/VDStartup.h"
#include "vizivodu/layout/text/VDUniscribe.h"
#include "vizivodu/styles/VDStyle.h"

#include <gtest/gtest.h>

#include <functional>
#include <numeric>

using namespace vizivodu;
using namespace vizivodu::test;

namespace {

const std::u16string Hebrew = u"\u05E9\u05DC\u05D5\u05DD"; // shalom

class UniscribeGraphicInterface : public ::testing::Test {
protected:
    void SetUp() override { InitializeLibrary(); }
    TTextCanvas K;
    gfx::TCanvas &C = K.Canvas();
    TVDUniscribeGraphicInterface GI;
    TVDWinGraphicInterface GDI;
};

} // namespace

TEST_F(UniscribeGraphicInterface, RunsOfLengthZeroGetTheGDIResults) {
    const std::u16string empty;
    const TVDTextRun run = TextRun(empty, true);
    EXPECT_EQ(GI.TextSizeBasic(C, run), GDI.TextSizeBasic(C, run));
    int32_t fit = -1, gdiFit = -2;
    rtl::TSize size, gdiSize;
    GI.GetTextExtentExPoint(C, run, 50, nullptr, fit, size);
    GDI.GetTextExtentExPoint(C, run, 50, nullptr, gdiFit, gdiSize);
    EXPECT_EQ(fit, gdiFit);
    EXPECT_EQ(size, gdiSize);
    EXPECT_NE(
        dynamic_cast<TVDWinGlyphDXData *>(GI.GetGlyphDX(C, run, 0, 0, {vdgnDX}, -1, -1).get()),
        nullptr);
    std::vector<int32_t> pcp = {-5};
    GI.GetCaretPositions(C, run, 0, 0, pcp, -1, -1);
    EXPECT_EQ(pcp[0], 0);
    EXPECT_EQ(GI.GetExpandableCharCount(C, run), 0);
    EXPECT_FALSE(GI.DoesTextOutSupportSpacing(run));
    EXPECT_TRUE(GI.DoesTextOutSupportSpacing(TextRun(Hebrew, true)));
}

TEST_F(UniscribeGraphicInterface, PlainRunsMeasureAsTheGDIEngine) {
    for (const std::u16string text : {u"Hello, world", u"Съешь же ещё этих мягких булок"}) {
        EXPECT_EQ(GI.TextSizeBasic(C, TextRun(text)), GDI.TextSizeBasic(C, TextRun(text)));
        const auto uni = GI.GetGlyphDX(C, TextRun(text), 0, 0, {vdgnDX, vdgnCoords}, -1, -1);
        const auto gdi = GDI.GetGlyphDX(C, TextRun(text), 0, 0, {vdgnDX, vdgnCoords}, -1, -1);
        EXPECT_NE(dynamic_cast<TVDUniscribeGlyphDXData *>(uni.get()), nullptr);
        EXPECT_EQ(uni->PDX, gdi->PDX);
        EXPECT_EQ(uni->PXL, gdi->PXL);
        EXPECT_EQ(uni->PXR, gdi->PXR);
    }
}

TEST_F(UniscribeGraphicInterface, RightToLeftParagraphsStartAtTheRightEnd) {
    const std::u16string mixed = u"\u05E9\u05DC\u05D5\u05DD abc";
    const int32_t width = GI.TextSizeBasic(C, TextRun(mixed)).cx;
    std::vector<int32_t> pcp(mixed.size() + 1);
    GI.SetTextAlign(C, 0);
    GI.GetCaretPositions(C, TextRun(mixed), 0, 0, pcp, -1, -1);
    const int32_t leftToRight = pcp[0];
    GI.SetTextAlign(C, TA_RTLREADING);
    GI.GetCaretPositions(C, TextRun(mixed), 0, 0, pcp, -1, -1);
    EXPECT_EQ(pcp[0], width); // the paragraph reads from the right
    EXPECT_LT(leftToRight, width);
    EXPECT_EQ(GI.TextSizeBasic(C, TextRun(mixed)).cx, width);
}

TEST_F(UniscribeGraphicInterface, CharacterExtraWidensEveryCharacterAndIsPutBack) {
    const std::u16string text = u"abcdefghij";
    const int32_t plain = GI.TextSizeBasic(C, TextRun(text)).cx;
    C.SetTextCharacterExtra(2);
    EXPECT_EQ(GI.TextSizeBasic(C, TextRun(text)).cx, plain + 20);
    EXPECT_EQ(C.GetTextCharacterExtra(), 2);
    // Fit counting sums the widened widths.
    int32_t fit = 0;
    rtl::TSize size;
    const int32_t threeWide = GI.TextSizeBasic(C, TextRun(text.substr(0, 3))).cx;
    std::u16string copy = text;
    GI.GetTextExtentExPoint(C, TextRun(copy), threeWide, nullptr, fit, size);
    EXPECT_EQ(fit, 3);
    EXPECT_EQ(size.cx, threeWide);
    EXPECT_EQ(C.GetTextCharacterExtra(), 2);
    // Marks take no extra of their own.
    const std::u16string marks = u"e\u0301e\u0301";
    C.SetTextCharacterExtra(0);
    const int32_t unspaced = GI.TextSizeBasic(C, TextRun(marks)).cx;
    C.SetTextCharacterExtra(3);
    EXPECT_EQ(GI.TextSizeBasic(C, TextRun(marks)).cx, unspaced + 6);
}

TEST_F(UniscribeGraphicInterface, FitCountingClipsAtTheWidth) {
    const std::u16string text = u"Lorem ipsum dolor";
    const auto dx = GI.GetGlyphDX(C, TextRun(text), 0, 0, {vdgnDX}, -1, -1);
    const std::vector<int32_t> &w = dx->PDX;
    const int32_t five = std::accumulate(w.begin(), w.begin() + 5, 0);
    struct TCase {
        int32_t MaxExtent, Fit;
    } cases[] = {{0, 0}, {w[0] - 1, 0}, {five, 5}, {five + w[5] - 1, 5}, {2147483647, 17}};
    for (const TCase &tc : cases) {
        int32_t fit = -1;
        rtl::TSize size;
        GI.MaxFit(C, TextRun(text), tc.MaxExtent, fit, size);
        EXPECT_EQ(fit, tc.Fit) << tc.MaxExtent;
        EXPECT_EQ(size.cx, std::accumulate(w.begin(), w.begin() + tc.Fit, 0));
    }
    std::vector<int32_t> coords(17);
    int32_t fit = 0;
    rtl::TSize size;
    EXPECT_THROW(GI.GetTextExtentExPoint(C, TextRun(text), 100, coords.data(), fit, size),
                 rtl::EInvalidOperation);
}

// The line breaker fits a run, then measures the piece that fits and later places the whole
// item, while the canvas's font may change in between: each answer is the new font's (as the
// GDI engine, which keeps nothing between calls, gives it).
TEST_F(UniscribeGraphicInterface, MeasuringAfterAFontChangeAnswersForTheNewFont) {
    const std::u16string text = u"Съешь же ещё этих мягких французских булок";
    const std::u16string piece = text.substr(0, 12);
    struct TCase {
        const char *Name;
        std::function<void(gfx::TFont &)> Change;
    } cases[] = {
        {"height", [](gfx::TFont &f) { f.SetHeight(-27); }},
        {"bold", [](gfx::TFont &f) { f.SetStyle({gfx::fsBold}); }},
        {"face", [](gfx::TFont &f) { f.SetName(u"Times New Roman"); }},
        {"nothing", [](gfx::TFont &) {}},
    };
    for (const TCase &tc : cases) {
        SCOPED_TRACE(tc.Name);
        TTextCanvas k;
        gfx::TCanvas &c = k.Canvas();
        int32_t fit = 0;
        rtl::TSize size;
        GI.MaxFit(c, TextRun(text), 200, fit, size);
        ASSERT_GT(fit, int32_t(piece.size()));
        tc.Change(c.GetFont());
        EXPECT_EQ(GI.TextSize(c, TextRun(piece)), GDI.TextSize(c, TextRun(piece)));
        EXPECT_EQ(GI.TextSize(c, TextRun(text)), GDI.TextSize(c, TextRun(text)));
        const auto uni = GI.GetGlyphDX(c, TextRun(text), 0, 0, {vdgnDX, vdgnCoords}, -1, -1);
        const auto gdi = GDI.GetGlyphDX(c, TextRun(text), 0, 0, {vdgnDX, vdgnCoords}, -1, -1);
        EXPECT_EQ(uni->PDX, gdi->PDX);
        EXPECT_EQ(uni->PXL, gdi->PXL);
        EXPECT_EQ(uni->PXR, gdi->PXR);
    }
}

TEST_F(UniscribeGraphicInterface, JustifiedRunsAgreeInAdvancesCoordinatesAndCarets) {
    const std::u16string text = u"one two three four";
    const auto natural = GI.GetGlyphDX(C, TextRun(text), 0, 0, {vdgnDX}, -1, -1);
    const int32_t width = std::accumulate(natural->PDX.begin(), natural->PDX.end(), 0);
    for (int32_t spaceCount : {3, vdDistributeSpacing}) {
        const auto data =
            GI.GetGlyphDX(C, TextRun(text), spaceCount, 25, {vdgnDX, vdgnCoords}, -1, 17);
        std::vector<int32_t> pcp(text.size() + 1);
        GI.GetCaretPositions(C, TextRun(text), spaceCount, 25, pcp, -1, 17);
        EXPECT_EQ(std::accumulate(data->PDX.begin(), data->PDX.end(), 0), width + 25);
        EXPECT_EQ(data->PDX[17], natural->PDX[17]); // the right end never widens
        int32_t x = 0;
        for (size_t i = 0; i < text.size(); ++i) {
            EXPECT_EQ(data->PXL[i], x) << spaceCount << " " << i;
            EXPECT_EQ(pcp[i], x);
            x += data->PDX[i];
            EXPECT_EQ(data->PXR[i], x);
        }
        EXPECT_EQ(pcp.back(), width + 25);
    }
}

TEST_F(UniscribeGraphicInterface, OutermostNonExpandableCharactersAreTheLogicalEnds) {
    int32_t left = 0, right = 0;
    const std::u16string latin = u"abcd";
    GI.GetOutermostNonExpandableCharacters(C, TextRun(latin), {vdreLeft, vdreRight}, left, right);
    EXPECT_EQ(left, -1);
    EXPECT_EQ(right, 3);
    GI.SetTextAlign(C, TA_RTLREADING);
    GI.GetOutermostNonExpandableCharacters(C, TextRun(Hebrew), {vdreLeft, vdreRight}, left, right);
    EXPECT_EQ(left, 3); // the last letter is shown leftmost
    EXPECT_EQ(right, -1);
    GI.GetOutermostNonExpandableCharacters(C, TextRun(Hebrew), {}, left, right);
    EXPECT_EQ(left, -1);
    EXPECT_EQ(right, -1);
    EXPECT_EQ(GI.GetExpandableCharCount(C, TextRun(Hebrew)), 4);
}

TEST_F(UniscribeGraphicInterface, PreferMaxFitForShortRuns) {
    struct TCase {
        int32_t Length, EstimFit, CharExtra;
        bool Expected;
    } cases[] = {{35, 10, 0, true},  {45, 10, 0, false}, {45, 10, 1, true}, {79, 10, 1, true},
                 {80, 10, 1, false}, {3, 0, 0, true},    {4, 0, 0, false}};
    for (const TCase &tc : cases) {
        C.SetTextCharacterExtra(tc.CharExtra);
        EXPECT_EQ(GI.PreferMaxFit(C, {nullptr, tc.Length, true}, vdmcCanvas, tc.EstimFit),
                  tc.Expected)
            << tc.Length << " " << tc.EstimFit << " " << tc.CharExtra;
    }
}

TEST_F(UniscribeGraphicInterface, MetafileOutputFoldsMarksIntoTheirBase) {
    const std::u16string text = u"e\u0301x";
    TVDUniscribeGlyphDXData data;
    data.PDX = {5, 3, 7};
    GI.TextOutWithDX(C, 0, 0, TextRun(text), vdtoMetafile, data);
    EXPECT_EQ(data.PDX, (std::vector<int32_t>{8, 0, 7}));
    data.PDX = {5, 3, 7};
    GI.TextOutWithDX(C, 0, 0, TextRun(text), vdtoDevice, data);
    EXPECT_EQ(data.PDX, (std::vector<int32_t>{5, 3, 7}));
}

TEST_F(UniscribeGraphicInterface, WithoutAnAnalysisTheGDIOperationAnswersWhole) {
    const std::u16string text = u"Hello";
    FreeUniscribe();
    EXPECT_FALSE(IsUniscribeAvailable());
    EXPECT_EQ(GI.TextSizeBasic(C, TextRun(text)), GDI.TextSizeBasic(C, TextRun(text)));
    // The GDI glyph data measures coordinates with the GDI extents, not with this engine's.
    const auto data = GI.GetGlyphDX(C, TextRun(text), 0, 0, {vdgnDX, vdgnCoords}, -1, -1);
    EXPECT_NE(dynamic_cast<TVDWinGlyphDXData *>(data.get()), nullptr);
    EXPECT_EQ(data->PXR, GDI.GetGlyphDX(C, TextRun(text), 0, 0, {vdgnCoords}, -1, -1)->PXR);
    std::vector<int32_t> pcp(6);
    GI.GetCaretPositions(C, TextRun(text), 2, 4, pcp, -1, -1);
    EXPECT_EQ(pcp[5], GDI.TextSizeBasic(C, TextRun(text)).cx);
    {
        TVDStyle sheet(nullptr);
        EXPECT_EQ(dynamic_cast<TVDUniscribeGraphicInterface *>(&sheet.GetGraphicInterface()),
                  nullptr);
    }
    LoadUniscribe();
    EXPECT_TRUE(IsUniscribeAvailable());
    TVDStyle sheet(nullptr);
    EXPECT_NE(dynamic_cast<TVDUniscribeGraphicInterface *>(&sheet.GetGraphicInterface()), nullptr);
}
