// Canvas block transfers: alpha blending with constant and per-pixel opacity, mirrored and
// far-off destinations, copies between canvases.
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Graphics.h"

#include <gtest/gtest.h>

#include <vector>

using namespace gfx;

namespace {

uint32_t At(TBitmap &b, int x, int y) {
    return b.ScanLine(y)[x] & 0xFFFFFFu;
}

TBitmap White(int w, int h) {
    TBitmap b(w, h);
    return b;
}

} // namespace

TEST(Images, AlphaBlendTakesConstantAndPerPixelOpacity) {
    // Red at alpha 255, green at alpha 0, blue at alpha 128 (straight, not premultiplied).
    const uint32_t src[3] = {0xFFFF0000u, 0x0000FF00u, 0x800000FFu};
    struct Case {
        const char *name;
        TBlendFunction blend;
        uint32_t red, green, blue; // what lands on white
    };
    TBlendFunction constant;
    constant.SourceConstantAlpha = 128;
    TBlendFunction perPixel;
    perPixel.AlphaFormat = AC_SRC_ALPHA;
    const Case cases[] = {
        {"constant", constant, 0xFF7F7F, 0x7FFF7F, 0x7F7FFF},
        {"per pixel", perPixel, 0xFF0000, 0xFFFFFF, 0x7F7FFF},
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(k.name);
        TBitmap b = White(3, 1);
        b.GetCanvas().AlphaBlend(Rect(0, 0, 3, 1), {src, 3, 1, 12}, Rect(0, 0, 3, 1), k.blend);
        const uint32_t expected[3] = {k.red, k.green, k.blue};
        for (int x = 0; x < 3; ++x) {
            for (int shift = 0; shift < 24; shift += 8) {
                EXPECT_NEAR(int((At(b, x, 0) >> shift) & 0xFF), int((expected[x] >> shift) & 0xFF),
                            2)
                    << "pixel " << x;
            }
        }
    }
}

TEST(Images, NegativeExtentsMirrorAndFarDestinationsDrawTheirVisiblePart) {
    const uint32_t src[2] = {0xFFFF0000u, 0xFF0000FFu}; // red, blue
    TBitmap b = White(4, 1);
    b.GetCanvas().StretchPixels(Rect(4, 0, 0, 1), {src, 2, 1, 8}, Rect(0, 0, 2, 1));
    EXPECT_EQ(At(b, 0, 0), 0x0000FFu);
    EXPECT_EQ(At(b, 3, 0), 0xFF0000u);
    // A picture stretched over four billion pixels: only the visible pixels are read.
    TBitmap far = White(8, 8);
    far.GetCanvas().DrawPixels32(Rect(-2000000000, 0, 2000000000, 8), src, 2, 1, 8,
                                 Rect(0, 0, 2, 1));
    EXPECT_EQ(At(far, 0, 0), 0x0000FFu) << "the surface shows the picture's right half: blue";
    EXPECT_EQ(At(far, 7, 7), 0x0000FFu);
    TBitmap left = White(8, 8);
    left.GetCanvas().DrawPixels32(Rect(-2000000000, 0, 2000000008, 8), src, 2, 1, 8,
                                  Rect(0, 0, 2, 1));
    EXPECT_EQ(At(left, 3, 3), 0xFF0000u) << "and here the end of its left half: red";
}

TEST(Images, CopyRectReadsAnotherCanvasThroughItsMapping) {
    TBitmap source = White(10, 10), target = White(10, 10);
    source.GetCanvas().GetBrush().SetColor(clGreen);
    source.GetCanvas().FillRect(Rect(2, 2, 4, 4));
    source.GetCanvas().SetMapMode(MM_ANISOTROPIC);
    source.GetCanvas().SetWindowExtEx(1, 1);
    source.GetCanvas().SetViewportExtEx(2, 2); // a logical unit is two pixels
    target.GetCanvas().CopyRect(Rect(0, 0, 4, 4), source.GetCanvas(), Rect(1, 1, 3, 3));
    EXPECT_EQ(At(target, 0, 0), 0x008000u);
    EXPECT_EQ(At(target, 1, 1), 0x008000u);
    EXPECT_EQ(At(target, 2, 2), 0xFFFFFFu);
}
