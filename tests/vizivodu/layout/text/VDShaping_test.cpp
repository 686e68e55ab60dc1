// Shaping through both graphic interfaces against HarfBuzz's own hb-shape on the same font file
// and size (Russian, Latin, mixed runs, Hebrew and Arabic right to left, combining marks):
// cluster maps, cluster edges, caret positions and justification; and widths in proportion at
// 96 and 600 pixels per inch.
#include "platform/gfx/FontEngine.h"
#include "platform/gfx/ScriptString.h"
#include "tests/vizivodu/layout/text/GrInTestSupport.h"
#include "vizivodu/VDStartup.h"

#include "tests/support/Commands.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <map>
#include <numeric>
#include <ostream>
#include <regex>
#include <set>

using namespace vizivodu;
using namespace vizivodu::test;

namespace {

using wbtest::RunCommand;

bool HaveHbShape() {
    return !RunCommand("command -v hb-shape 2>/dev/null").empty();
}

// A cluster as hb-shape shows it: its first character and its left and right edge in font
// units along the run, in display order.
struct THbCluster {
    uint32_t Start;
    int64_t X0, X1;
};

// hb-shape's glyphs of text in the font file, without kerning or optional ligatures (as GDI
// places text), grouped into clusters.
std::vector<THbCluster> HbClusters(const std::string &file, const std::u16string &text, bool rtl) {
    const std::string command =
        "hb-shape --no-glyph-names --features='-kern,-liga,-clig,-calt' --direction=" +
        std::string(rtl ? "rtl" : "ltr") + " '" + file + "' '" + rtl::Utf16ToUtf8(text) + "'";
    const std::string out = RunCommand(command);
    const std::regex glyph(R"((\d+)=(\d+)(?:@-?\d+,-?\d+)?\+(-?\d+))");
    std::vector<THbCluster> clusters;
    int64_t x = 0;
    for (auto it = std::sregex_iterator(out.begin(), out.end(), glyph);
         it != std::sregex_iterator(); ++it) {
        const uint32_t cluster = uint32_t(std::stoul((*it)[2]));
        const int64_t advance = std::stoll((*it)[3]);
        if (clusters.empty() || clusters.back().Start != cluster) {
            clusters.push_back({cluster, x, x});
        }
        x += advance;
        clusters.back().X1 = x;
    }
    return clusters;
}

struct TShapingCase {
    const char *Name;
    const char16_t *Face;
    std::u16string Text;
    bool RightToLeft;
};

const TShapingCase ShapingCases[] = {
    {"Latin", u"Arial", u"Kerning AVATAR office", false},
    {"Russian", u"Arial", u"Съешь же ещё этих мягких французских булок", false},
    {"Mixed", u"Arial", u"Mixed Текст 123, \u00C6\u00D8", false},
    {"CombiningMarks", u"Arial", u"x\u0301 e\u0301a\u0308o\u0302", false},
    {"Hebrew", u"Arial",
     u"\u05E9\u05B8\u05C1\u05DC\u05D5\u05B9\u05DD \u05E2\u05D5\u05B9\u05DC\u05B8\u05DD", true},
    {"Arabic", u"DejaVu Sans",
     u"\u0645\u0631\u062D\u0628\u0627 \u0628\u0627\u0644\u0639\u0627\u0644\u0645 "
     u"\u0644\u0627",
     true},
};

// Test names and CTest names show the case's name.
void PrintTo(const TShapingCase &c, std::ostream *os) {
    *os << c.Name;
}

constexpr int32_t Em = 40;

int32_t Pixels(int64_t fontUnits, int32_t unitsPerEm) {
    return int32_t(std::floor(double(fontUnits) * Em / unitsPerEm + 0.5));
}

// The characters of each cluster of the complex-script analysis (they share an output
// position).
std::set<uint32_t> AnalysedClusterStarts(gfx::TCanvas &canvas, const std::u16string &text,
                                         bool rtl) {
    gfx::SCRIPT_STRING_ANALYSIS ssa = nullptr;
    const int32_t n = int32_t(text.size());
    gfx::ScriptStringAnalyse(&canvas, text.data(), n, 2 * n + 16, -1,
                             gfx::SSA_GLYPHS | gfx::SSA_FALLBACK | (rtl ? gfx::SSA_RTL : 0u), -1,
                             nullptr, nullptr, nullptr, nullptr, nullptr, &ssa);
    std::vector<uint32_t> order(text.size());
    gfx::ScriptStringGetOrder(ssa, order.data());
    gfx::ScriptStringFree(&ssa);
    std::set<uint32_t> starts;
    for (size_t i = 0; i < order.size(); ++i) {
        if (i == 0 || order[i] != order[i - 1]) {
            starts.insert(uint32_t(i));
        }
    }
    return starts;
}

class Shaping : public ::testing::TestWithParam<TShapingCase> {
protected:
    void SetUp() override {
        InitializeLibrary();
        if (!HaveHbShape()) {
            GTEST_SKIP() << "hb-shape (libharfbuzz-bin) is not installed";
        }
    }
};

} // namespace

TEST_P(Shaping, ClustersAndEdgesAreThoseOfHbShape) {
    const TShapingCase &c = GetParam();
    TTextCanvas k(c.Face, Em, 1200);
    gfx::TCanvas &canvas = k.Canvas();
    canvas.SetTextAlign(c.RightToLeft ? TA_RTLREADING : 0);
    const gfx::TFontFace &face = *gfx::ResolveFace(c.Face, 400, false).Face;
    const int32_t upem = face.GetMetrics().UnitsPerEm;
    const std::vector<THbCluster> hb = HbClusters(face.GetFileName(), c.Text, c.RightToLeft);
    ASSERT_FALSE(hb.empty());
    std::set<uint32_t> hbStarts;
    for (const THbCluster &cl : hb) {
        hbStarts.insert(cl.Start);
    }
    EXPECT_EQ(AnalysedClusterStarts(canvas, c.Text, c.RightToLeft), hbStarts);

    TVDUniscribeGraphicInterface uniscribe;
    TVDWinGraphicInterface gdi;
    const TVDTextRun run = TextRun(c.Text, c.RightToLeft);
    const size_t n = c.Text.size();
    std::vector<int32_t> pcp(n + 1);
    uniscribe.GetCaretPositions(canvas, run, 0, 0, pcp, -1, -1);
    for (TVDGraphicInterface *gi : std::initializer_list<TVDGraphicInterface *>{&uniscribe, &gdi}) {
        const auto data = gi->GetGlyphDX(canvas, run, 0, 0, {vdgnCoords}, -1, -1);
        ASSERT_EQ(data->PXL.size(), n);
        for (const THbCluster &cl : hb) {
            const auto next = hbStarts.upper_bound(cl.Start);
            const uint32_t end = next == hbStarts.end() ? uint32_t(n) : *next;
            int32_t left = data->PXL[cl.Start], right = data->PXR[cl.Start];
            for (uint32_t i = cl.Start; i < end; ++i) {
                left = std::min(left, data->PXL[i]);
                right = std::max(right, data->PXR[i]);
            }
            EXPECT_EQ(left, Pixels(cl.X0, upem)) << "cluster " << cl.Start;
            EXPECT_EQ(right, Pixels(cl.X1, upem)) << "cluster " << cl.Start;
            // The caret before a cluster stands at its leading edge.
            if (gi == &uniscribe) {
                EXPECT_EQ(pcp[cl.Start], c.RightToLeft ? right : left) << "caret " << cl.Start;
            }
        }
    }
}

TEST_P(Shaping, JustificationWidensTheRunByTheExtraWidth) {
    const TShapingCase &c = GetParam();
    TTextCanvas k(c.Face, Em, 1200);
    k.Canvas().SetTextAlign(c.RightToLeft ? TA_RTLREADING : 0);
    TVDUniscribeGraphicInterface gi;
    const TVDTextRun run = TextRun(c.Text, c.RightToLeft);
    const int32_t spaces = int32_t(std::count(c.Text.begin(), c.Text.end(), u' '));
    const int32_t width = gi.TextSizeBasic(k.Canvas(), run).cx;
    for (int32_t spaceCount : {spaces, vdDistributeSpacing}) {
        const auto data =
            gi.GetGlyphDX(k.Canvas(), run, spaceCount, 23, {vdgnDX, vdgnCoords}, -1, -1);
        EXPECT_EQ(std::accumulate(data->PDX.begin(), data->PDX.end(), 0), width + 23);
        EXPECT_EQ(*std::max_element(data->PXR.begin(), data->PXR.end()), width + 23);
        EXPECT_EQ(*std::min_element(data->PXL.begin(), data->PXL.end()), 0);
        std::vector<int32_t> pcp(c.Text.size() + 1);
        gi.GetCaretPositions(k.Canvas(), run, spaceCount, 23, pcp, -1, -1);
        EXPECT_EQ(c.RightToLeft ? pcp.front() : pcp.back(), width + 23);
    }
}

INSTANTIATE_TEST_SUITE_P(Runs, Shaping, ::testing::ValuesIn(ShapingCases),
                         [](const auto &info) { return std::string(info.param.Name); });

TEST(Shaping, WidthsAreInProportionAt96And600PixelsPerInch) {
    InitializeLibrary();
    const std::u16string text = u"Съешь же ещё этих мягких французских булок, да выпей же чаю. "
                                u"The quick brown fox jumps over the lazy dog.";
    TVDUniscribeGraphicInterface uniscribe;
    TVDWinGraphicInterface gdi;
    for (TVDGraphicInterface *gi : std::initializer_list<TVDGraphicInterface *>{&uniscribe, &gdi}) {
        for (int32_t points : {6, 9, 12, 18, 24}) {
            for (const char16_t *face : {u"Arial", u"Times New Roman", u"Tahoma"}) {
                auto screen = MeasuringCanvas(96, face, points);
                auto printer = MeasuringCanvas(600, face, points);
                const auto a = gi->GetGlyphDX(*screen, TextRun(text), 0, 0, {vdgnCoords}, -1, -1);
                const auto b = gi->GetGlyphDX(*printer, TextRun(text), 0, 0, {vdgnCoords}, -1, -1);
                for (size_t i = 0; i < text.size(); ++i) {
                    ASSERT_LE(std::abs(b->PXR[i] * 96.0 / 600 - a->PXR[i]), 1.0)
                        << points << " pt at " << i;
                }
                EXPECT_LE(std::abs(gi->TextSize(*printer, TextRun(text)).cx * 96.0 / 600 -
                                   gi->TextSize(*screen, TextRun(text)).cx),
                          1.0);
            }
        }
    }
}
