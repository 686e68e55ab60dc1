// The primitive fixture drawn on pixel memory through three mappings, against golden pictures.
#include "PrimitiveFixture.h"

#include "tests/support/GoldenImage.h"

#include <gtest/gtest.h>

using namespace gfx;

namespace {

// The fixture through one mapping on a bitmap of width x height.
struct Mapping {
    const char *name;
    int width, height;
    void (*setUp)(TCanvas &);
};

TBitmap Render(const Mapping &m) {
    TBitmap b(m.width, m.height);
    b.GetCanvas().GetBrush().SetColor(clBtnFace);
    b.GetCanvas().FillRect(Rect(0, 0, m.width, m.height));
    m.setUp(b.GetCanvas());
    fixture::Draw(b.GetCanvas());
    return b;
}

const Mapping Mappings[] = {
    {"fixture_mm_text", 400, 300, [](TCanvas &) {}},
    {"fixture_anisotropic", 560, 360,
     [](TCanvas &c) {
         c.SetMapMode(MM_ANISOTROPIC);
         c.SetWindowExtEx(400, 300);
         c.SetViewportExtEx(560, 360);
     }},
    {"fixture_world_transform", 480, 420,
     [](TCanvas &c) {
         // 30 degrees and 90 %: shapes, text and clips turn with the world.
         c.SetGraphicsMode(GM_ADVANCED);
         c.SetWorldTransform(
             {0.8660254f * 0.9f, 0.5f * 0.9f, -0.5f * 0.9f, 0.8660254f * 0.9f, 150, 10});
     }},
};

} // namespace

TEST(PrimitiveFixture, MatchesTheGoldenPicturesOnPixelMemory) {
    for (const Mapping &m : Mappings) {
        SCOPED_TRACE(m.name);
        wbtest::ExpectMatchesGolden(Render(m), std::string("gfx/") + m.name + ".png");
    }
}

TEST(PrimitiveFixture, DrawsTheSamePixelsEveryTime) {
    const TBitmap a = Render(Mappings[1]), b = Render(Mappings[1]);
    EXPECT_EQ(wbtest::DifferingPixels(a, b), 0);
}
