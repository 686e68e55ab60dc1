// Metafiles: the primitive fixture recorded and played back gives the pixels of the direct
// drawing; playback scales into its rectangle and leaves the canvas as it was; the EMF and WMF
// files hold what outside readers expect.
#include "PrimitiveFixture.h"

#include "tests/support/GoldenImage.h"

#include "platform/gfx/Metafile.h"
#include "platform/gfx/Picture.h"
#include "platform/rtl/Exceptions.h"

#include "tests/support/Commands.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

using namespace gfx;
namespace fs = std::filesystem;

namespace {

struct Mapping {
    const char *name;
    void (*setUp)(TCanvas &);
};

const Mapping Mappings[] = {
    {"MM_TEXT", [](TCanvas &) {}},
    {"anisotropic",
     [](TCanvas &c) {
         c.SetMapMode(MM_ANISOTROPIC);
         c.SetWindowExtEx(400, 300);
         c.SetViewportExtEx(560, 360);
     }},
    {"nearly alike scales", // a printer's page drawn at the screen's resolution in a margin
     [](TCanvas &c) {
         c.SetMapMode(MM_ANISOTROPIC);
         c.SetWindowExtEx(1120, 840);
         c.SetViewportExtEx(560, 406);
     }},
    {"world transform",
     [](TCanvas &c) {
         c.SetGraphicsMode(GM_ADVANCED);
         c.SetWorldTransform(
             {0.8660254f * 0.9f, 0.5f * 0.9f, -0.5f * 0.9f, 0.8660254f * 0.9f, 150, 10});
     }},
};

constexpr int W = 560, H = 420;

TBitmap Background() {
    TBitmap b(W, H);
    b.GetCanvas().GetBrush().SetColor(clBtnFace);
    b.GetCanvas().FillRect(Rect(0, 0, W, H));
    return b;
}

TBitmap Direct(const Mapping &m) {
    TBitmap b = Background();
    m.setUp(b.GetCanvas());
    fixture::Draw(b.GetCanvas());
    return b;
}

TMetafile Recorded(const Mapping &m) {
    TMetafile mf;
    mf.SetWidth(W);
    mf.SetHeight(H);
    {
        TMetafileCanvas c(mf);
        m.setUp(c);
        fixture::Draw(c);
    }
    return mf;
}

using wbtest::HaveTool;
using wbtest::RunCommand;

} // namespace

TEST(Metafile, PlaybackDrawsTheSamePixelsAsTheDirectDrawing) {
    for (const Mapping &m : Mappings) {
        SCOPED_TRACE(m.name);
        const TMetafile mf = Recorded(m);
        EXPECT_GT(mf.GetOperationCount(), 50u);
        TBitmap played = Background();
        played.GetCanvas().Draw(0, 0, mf);
        EXPECT_EQ(wbtest::DifferingPixels(played, Direct(m)), 0);
    }
}

// Checked with readers we did not write: Debian's emf2svg, and librsvg to draw its SVG. The
// tolerance: at most 3 % of the 4 x 4 blocks may differ by more than 48 in a channel's mean
// (antialiasing of text and curves differs between the renderers, emf2svg draws dash patterns
// of its own). The row of brushes is left out: emf2svg fills hatch brushes solid and cannot
// show pattern brushes.
TEST(Metafile, AnOutsideReaderDrawsTheEnhancedMetafileAsTheCanvasDid) {
    if (!HaveTool("emf2svg-conv") || !HaveTool("rsvg-convert")) {
        GTEST_SKIP() << "emf2svg and librsvg2-bin are not installed";
    }
    // A scaled page: that reader scales neither pens, fonts nor block transfers through a
    // window and viewport, so the file carries such a drawing in device pixels.
    for (const Mapping &m : {Mappings[0], Mappings[2]}) {
        SCOPED_TRACE(m.name);
        const fs::path folder = fs::temp_directory_path() / "wb_metafile_reader";
        fs::create_directories(folder);
        const TMetafile mf = Recorded(m);
        mf.SaveToFile((folder / "fixture.emf").u16string());
        const TBitmap theirs = wbtest::DrawnByEmf2svg((folder / "fixture.emf").string());
        ASSERT_GT(theirs.GetWidth(), 0);
        TBitmap ours(W, H); // white, as the reader's background
        m.setUp(ours.GetCanvas());
        fixture::Draw(ours.GetCanvas());
        const int skipTop = ours.GetCanvas().LPtoDP({0, 120}).Y,
                  skipBottom = ours.GetCanvas().LPtoDP({0, 154}).Y;
        const double share = wbtest::DifferingBlockShare(ours, theirs, 48, skipTop, skipBottom);
        EXPECT_LT(share, 0.03) << "see " << folder;
        if (share < 0.03 && !std::getenv("WB_KEEP_OUTPUT")) {
            fs::remove_all(folder);
        }
    }
}

TEST(Metafile, PlaybackFillsItsRectangleAndLeavesTheCanvasAsItWas) {
    const TMetafile mf = Recorded(Mappings[0]);
    TBitmap target(300, 250);
    TCanvas &c = target.GetCanvas();
    c.GetBrush().SetColor(clBlack);
    c.FillRect(Rect(0, 0, 300, 250));
    c.GetPen().SetColor(clRed);
    c.GetBrush().SetColor(clLime);
    c.GetFont().SetHeight(-30);
    c.SetMapMode(MM_ANISOTROPIC);
    c.SetWindowExtEx(2, 2);
    c.SetViewportExtEx(1, 1); // two logical units to the pixel
    c.SetTextAlign(TA_BASELINE);
    c.IntersectClipRect(0, 0, 400, 400); // the top-left 200 x 200 pixels
    // The whole 560 x 420 picture into logical (100, 80)-(380, 290): device (50, 40)-(190, 145).
    mf.Play(c, Rect(100, 80, 380, 290));
    EXPECT_EQ(c.GetPen().GetColor(), clRed);
    EXPECT_EQ(c.GetBrush().GetColor(), clLime);
    EXPECT_EQ(c.GetFont().GetHeight(), -30);
    EXPECT_EQ(c.GetTextAlign(), uint32_t(TA_BASELINE));
    EXPECT_EQ(c.LPtoDP({100, 80}), (TPoint{50, 40}));
    EXPECT_EQ(c.GetClipRect(), Rect(0, 0, 400, 400));
    int inside = 0;
    for (int y = 0; y < 250; ++y) {
        for (int x = 0; x < 300; ++x) {
            const bool painted = (target.ScanLine(y)[x] & 0xFFFFFF) != 0;
            if (x < 50 || y < 40 || x >= 190 || y >= 145) {
                ASSERT_FALSE(painted) << x << "," << y;
            }
            inside += painted;
        }
    }
    EXPECT_GT(inside, 5000) << "the white sheet of the fixture at least";
}

TEST(Metafile, PlayedIntoAnotherMetafileItKeepsItsPlaces) {
    const TMetafile inner = Recorded(Mappings[3]);
    TMetafile outer;
    outer.SetWidth(W);
    outer.SetHeight(H);
    {
        TMetafileCanvas c(outer);
        c.GetBrush().SetColor(clYellow); // state of the outer canvas, not the inner picture's
        c.SetMapMode(MM_ANISOTROPIC);
        c.SetWindowExtEx(W * 2, H * 2);
        c.SetViewportExtEx(W, H);
        inner.Play(c, Rect(0, 0, W * 2, H * 2));
    }
    TBitmap direct = Background(), nested = Background();
    direct.GetCanvas().Draw(0, 0, inner);
    nested.GetCanvas().Draw(0, 0, outer);
    EXPECT_LT(wbtest::DifferingPixels(direct, nested, 64), 200) << "a float world transform apart";
}

namespace {

uint32_t U32(const std::vector<uint8_t> &b, size_t at) {
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 |
           uint32_t(b[at + 3]) << 24;
}

uint16_t U16(const std::vector<uint8_t> &b, size_t at) {
    return uint16_t(b[at] | b[at + 1] << 8);
}

} // namespace

TEST(Metafile, EnhancedMetafileRecordsHoldFrameReferenceAndTextAdvances) {
    TMetafile mf;
    mf.SetWidth(794);
    mf.SetHeight(1123); // A4 at 96 pixels per inch
    {
        TMetafileCanvas c(mf);
        c.GetFont().SetName(u"Arial");
        c.GetFont().SetHeight(-2048 / 16);
        c.ExtTextOut(10, 20, 0, nullptr, u"Hal");
    }
    EXPECT_EQ(mf.GetMMWidth(), 21008); // 794 pixels at 96 per inch, in 0.01 mm
    const std::vector<uint8_t> emf = mf.EmfBytes();
    ASSERT_GE(emf.size(), 108u);
    EXPECT_EQ(U32(emf, 0), 1u);           // EMR_HEADER
    EXPECT_EQ(U32(emf, 40), 0x464D4520u); // " EMF"
    EXPECT_EQ(U32(emf, 48), emf.size());
    EXPECT_EQ(U32(emf, 32), 21008u); // the frame's right edge
    EXPECT_EQ(U32(emf, 72), 1920u);  // the reference device: the screen
    // Walk the records: sizes chain to the end, the count matches, EOF closes, and the text
    // record carries the characters with the advances the canvas measured.
    size_t at = 0, records = 0;
    bool sawText = false;
    uint32_t last = 0;
    while (at + 8 <= emf.size()) {
        const uint32_t type = U32(emf, at), size = U32(emf, at + 4);
        ASSERT_GE(size, 8u);
        ASSERT_EQ(size % 4, 0u);
        if (type == 84) { // EMR_EXTTEXTOUTW
            sawText = true;
            EXPECT_EQ(U32(emf, at + 36), 10u);
            EXPECT_EQ(U32(emf, at + 40), 20u);
            ASSERT_EQ(U32(emf, at + 44), 3u);
            const size_t text = at + U32(emf, at + 48), dx = at + U32(emf, at + 72);
            EXPECT_EQ(U16(emf, text), u'H');
            EXPECT_EQ(U32(emf, dx), 92u);     // 1479 / 16 = 92.4
            EXPECT_EQ(U32(emf, dx + 4), 72u); // 2618 / 16 = 163.6: 164 - 92
            EXPECT_EQ(U32(emf, dx + 8), 28u); // 3073 / 16 = 192.1: 192 - 164
        }
        last = type;
        at += size;
        ++records;
    }
    EXPECT_EQ(at, emf.size());
    EXPECT_EQ(U32(emf, 52), records);
    EXPECT_EQ(last, 14u); // EMR_EOF
    EXPECT_TRUE(sawText);
}

TEST(Metafile, WindowsMetafileHasThePlaceableHeaderAndAnOutsideReaderFindsTheText) {
    TMetafile mf;
    mf.SetWidth(400);
    mf.SetHeight(300);
    {
        TMetafileCanvas c(mf);
        fixture::Draw(c);
    }
    const std::vector<uint8_t> wmf = mf.WmfBytes();
    ASSERT_GE(wmf.size(), 40u);
    EXPECT_EQ(U32(wmf, 0), 0x9AC6CDD7u);
    EXPECT_EQ(U16(wmf, 10), 400u); // box right
    EXPECT_EQ(U16(wmf, 14), 96u);  // units per inch
    uint16_t checksum = 0;
    for (size_t i = 0; i < 20; i += 2) {
        checksum ^= U16(wmf, i);
    }
    EXPECT_EQ(U16(wmf, 20), checksum);
    EXPECT_EQ(U16(wmf, 24), 9u); // header words
    EXPECT_EQ(U32(wmf, 28) * 2, wmf.size() - 22);
    EXPECT_EQ(U32(wmf, wmf.size() - 6), 3u); // META_EOF closes
    EXPECT_EQ(U16(wmf, wmf.size() - 2), 0u);
    if (!HaveTool("wmf2svg")) {
        GTEST_SKIP() << "libwmf-bin is not installed";
    }
    const fs::path file = fs::temp_directory_path() / "wb_fixture_test.wmf";
    mf.SaveToFile(file.u16string());
    const fs::path out = fs::temp_directory_path() / "wb_fixture_test.svg";
    RunCommand("wmf2svg -o '" + out.string() + "' '" + file.string() + "' 2>/dev/null");
    std::ifstream in(out, std::ios::binary);
    const std::string svg((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    fs::remove(file);
    fs::remove(out);
    // libwmf writes each placed character as a text element of its own.
    std::string text;
    for (size_t pos = svg.find("</text>"); pos != std::string::npos;
         pos = svg.find("</text>", pos + 1)) {
        const size_t open = svg.rfind('>', pos);
        text += svg.substr(open + 1, pos - open - 1);
    }
    for (const char *word : {"Left Top", "Centre Baseline", "Right Bottom", "Header", "Turned"}) {
        EXPECT_NE(text.find(word), std::string::npos) << word << " in " << text;
    }
    EXPECT_NE(svg.find("fill:yellow"), std::string::npos);
}

TEST(Metafile, SavingChoosesTheFormatByNameAndLeavesNoPartialFile) {
    const TMetafile mf = Recorded(Mappings[0]);
    const fs::path folder = fs::temp_directory_path() / "wb_metafile_save";
    fs::remove_all(folder);
    fs::create_directories(folder);
    mf.SaveToFile((folder / "picture.WMF").u16string());
    mf.SaveToFile((folder / "picturebmp").u16string());
    std::ifstream wmf(folder / "picture.WMF", std::ios::binary),
        emf(folder / "picturebmp", std::ios::binary);
    char a[4] = {}, b[44] = {};
    wmf.read(a, 4);
    emf.read(b, 44);
    EXPECT_EQ(U32(std::vector<uint8_t>(a, a + 4), 0), 0x9AC6CDD7u);
    EXPECT_EQ(U32(std::vector<uint8_t>(b, b + 44), 40), 0x464D4520u);
    EXPECT_THROW(mf.SaveToFile((folder / "missing" / "x.emf").u16string()), rtl::Exception);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 2);
    fs::remove_all(folder);
    // A picture holds a copy that plays alike.
    TPicture picture;
    picture.SetGraphic(&mf);
    ASSERT_NE(dynamic_cast<TMetafile *>(picture.GetGraphic()), nullptr);
    TBitmap a1 = Background(), a2 = Background();
    a1.GetCanvas().Draw(0, 0, mf);
    a2.GetCanvas().Draw(0, 0, *picture.GetGraphic());
    EXPECT_EQ(wbtest::DifferingPixels(a1, a2), 0);
}

TEST(Metafile, TextFromTheCurrentPositionPlaysFromWhereTheRecordingHadIt) {
    const auto draw = [](TCanvas &c) {
        c.GetFont().SetName(u"Arial");
        c.GetFont().SetHeight(-20);
        c.GetBrush().SetColor(clYellow);
        c.SetTextAlign(TA_UPDATECP);
        c.MoveTo(10, 10);
        c.TextOut(0, 0, u"Left ");
        c.TextOut(0, 0, u"and on");
        c.MoveTo(30, 60);
        c.LineTo(200, 60);
        c.TextOut(0, 0, u"after the line");
    };
    TMetafile mf;
    mf.SetWidth(W);
    mf.SetHeight(H);
    {
        TMetafileCanvas c(mf);
        draw(c);
    }
    TBitmap direct = Background(), played = Background();
    draw(direct.GetCanvas());
    played.GetCanvas().Draw(0, 0, mf);
    EXPECT_EQ(wbtest::DifferingPixels(direct, played), 0);
}
