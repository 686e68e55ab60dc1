// Colours, fonts' size arithmetic and the drawing objects' small rules.
#include "platform/gfx/Brush.h"
#include "platform/gfx/Colors.h"
#include "platform/gfx/Font.h"
#include "platform/gfx/Types.h"

#include <gtest/gtest.h>

using namespace gfx;

TEST(Colors, ColorToRGBResolvesSystemAndSpecialColours) {
    struct Case {
        TColor color;
        uint32_t rgb;
    };
    for (const Case &k :
         {Case{clRed, 0x0000FF}, Case{RGB(208, 255, 208), 0xD0FFD0}, Case{clBtnFace, 0xF0F0F0},
          Case{clWindow, 0xFFFFFF}, Case{clWindowText, 0x000000}, Case{clBtnShadow, 0xA0A0A0},
          Case{clHighlight, 0xD77800}, Case{clNone, 0}, Case{SystemColor(99), 0},
          Case{TColor(0x02123456), 0x123456}}) {
        EXPECT_EQ(ColorToRGB(k.color), k.rgb) << std::hex << k.color;
    }
    EXPECT_EQ(uint32_t(clBtnFace), 0xFF00000Fu);
    EXPECT_EQ(clNone, 0x1FFFFFFF);
}

// Stored forms name the colours that have a name; every other value stays a number.
TEST(Colors, NamedColoursConvertBothWays) {
    struct Case {
        TColor color;
        const char *name;
    };
    for (const Case &k : {Case{clBlack, "clBlack"}, Case{clMedGray, "clMedGray"},
                          Case{clNone, "clNone"}, Case{clDefault, "clDefault"},
                          Case{clScrollBar, "clScrollBar"}, Case{clInfoBk, "clInfoBk"},
                          Case{clHotLight, "clHotLight"}, Case{clMenuBar, "clMenuBar"}}) {
        std::string name;
        EXPECT_TRUE(ColorToIdent(k.color, name));
        EXPECT_EQ(name, k.name);
        TColor back = 0;
        EXPECT_TRUE(IdentToColor(k.name, back));
        EXPECT_EQ(back, k.color);
    }
    std::string name;
    EXPECT_FALSE(ColorToIdent(0x123456, name));
    EXPECT_FALSE(ColorToIdent(SystemColor(25), name)); // the index Windows leaves unused
    TColor color = 0;
    EXPECT_TRUE(IdentToColor("CLWINDOW", color));
    EXPECT_EQ(color, clWindow);
    EXPECT_FALSE(IdentToColor("clWindows", color));
    EXPECT_EQ(ColorIdents().size(), 52u);
}

TEST(Font, SizeAndHeightConvertAtTheScreenResolution) {
    struct Case {
        int points, height;
    };
    for (const Case &k : {Case{8, -11}, Case{10, -13}, Case{12, -16}, Case{9, -12}}) {
        TFont f;
        f.SetSize(k.points);
        EXPECT_EQ(f.GetHeight(), k.height);
        EXPECT_EQ(f.GetSize(), k.points);
    }
    TFont d;
    EXPECT_EQ(d.GetName(), u"Tahoma");
    EXPECT_EQ(d.GetSize(), 8);
}

TEST(Font, OnChangeFiresOnlyForRealChanges) {
    TFont f;
    int calls = 0;
    f.OnChange = [&] { ++calls; };
    f.SetSize(8);
    f.SetStyle({fsBold});
    f.SetStyle({fsBold});
    TFont other;
    other.SetColor(clRed);
    f.Assign(other);
    EXPECT_EQ(calls, 2);
    EXPECT_TRUE(f.OnChange != nullptr);
}

TEST(MulDiv, RoundsHalvesAwayFromZero) {
    EXPECT_EQ(MulDiv(3, 1, 2), 2);
    EXPECT_EQ(MulDiv(-3, 1, 2), -2);
    EXPECT_EQ(MulDiv(-11, 72, 96), -8);
    EXPECT_EQ(MulDiv(1, 1, 0), -1);
}

TEST(Brush, AColourMakesAClearBrushSolidAndClNoneClearsIt) {
    TBrush b;
    b.SetStyle(bsClear);
    b.SetColor(clRed);
    EXPECT_EQ(b.GetStyle(), bsSolid);
    b.SetColor(clNone);
    EXPECT_EQ(b.GetStyle(), bsClear);
}

TEST(Rects, IntersectAndUnion) {
    EXPECT_EQ(IntersectRect(Rect(0, 0, 10, 10), Rect(5, 5, 20, 20)), Rect(5, 5, 10, 10));
    EXPECT_EQ(IntersectRect(Rect(0, 0, 5, 5), Rect(5, 0, 9, 5)), TRect{});
    EXPECT_EQ(UnionRect(Rect(0, 0, 0, 0), Rect(1, 1, 2, 2)), Rect(1, 1, 2, 2));
    EXPECT_EQ(Bounds(3, 4, 5, 6), Rect(3, 4, 8, 10));
}
