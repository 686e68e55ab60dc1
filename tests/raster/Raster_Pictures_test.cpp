// Picture exchange with the platform's picture classes: class-library bitmaps in and out (alpha,
// transparent colour), other pictures, picture files and streams, and our bitmap files in Qt's
// reader.
#include "raster/Raster.h"

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Clipbrd.h"
#include "platform/gfx/Icon.h"
#include "platform/gfx/Metafile.h"
#include "platform/gfx/Picture.h"
#include "platform/gfx/Resources.h"
#include "platform/rtl/Classes.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace raster;

namespace {

rtl::UnicodeString TempName(const char *name) {
    return rtl::UnicodeString((std::filesystem::path(::testing::TempDir()) / name).u16string());
}

// A 4 x 3 picture: colours by position, translucent in column 3, magenta at the bottom left.
void Paint(gfx::TBitmap &b) {
    b.SetPixelFormat(gfx::pf32bit);
    b.SetSize(4, 3);
    for (int32_t y = 0; y < 3; ++y) {
        for (int32_t x = 0; x < 4; ++x) {
            b.ScanLine(y)[x] = (x == 3 ? 0x40000000u : 0xFF000000u) | uint32_t(x * 60) << 16 |
                               uint32_t(y * 80) << 8 | 0x20u;
        }
    }
    b.ScanLine(2)[0] = 0xFFFF00FFu;
    b.ScanLine(0)[1] = 0xFFFF00FFu;
}

} // namespace

TEST(Pictures, ClassLibraryBitmapsKeepAlphaOnlyAt32Bits) {
    gfx::TBitmap source;
    Paint(source);
    TBitmap32 b;
    b.Assign(&source);
    ASSERT_EQ(b.GetWidth(), 4);
    EXPECT_EQ(b.GetPixel(3, 1), source.ScanLine(1)[3]);
    source.SetPixelFormat(gfx::pf24bit);
    b.Assign(&source);
    EXPECT_EQ(b.GetPixel(3, 1), source.ScanLine(1)[3] | 0xFF000000u);
}

TEST(Pictures, TransparentBitmapLosesAlphaOnItsTransparentColour) {
    gfx::TBitmap source;
    Paint(source);
    source.SetPixelFormat(gfx::pf24bit);
    source.SetTransparent(true);
    TCustomBitmap32 b;
    b.Assign(&source);
    for (int32_t y = 0; y < 3; ++y) {
        for (int32_t x = 0; x < 4; ++x) {
            const bool magenta = (x == 0 && y == 2) || (x == 1 && y == 0);
            EXPECT_EQ(b.GetPixel(x, y) >> 24, magenta ? 0u : 255u) << x << "," << y;
            EXPECT_EQ(b.GetPixel(x, y) & 0xFFFFFFu, source.ScanLine(y)[x] & 0xFFFFFFu);
        }
    }
}

TEST(Pictures, ExportKeepsSizeAndAlpha) {
    TCustomBitmap32 b;
    b.SetSize(3, 2);
    b.Clear(0x80112233u);
    gfx::TBitmap dst;
    b.AssignTo(dst);
    EXPECT_EQ(dst.GetPixelFormat(), gfx::pf32bit);
    ASSERT_EQ(dst.GetWidth(), 3);
    EXPECT_EQ(dst.ScanLine(1)[2], 0x80112233u);
    gfx::TPicture picture;
    b.AssignTo(picture);
    EXPECT_EQ(picture.GetWidth(), 3);
    TCustomBitmap32 back;
    back.Assign(&picture);
    EXPECT_EQ(back.GetPixel(2, 1), 0x80112233u);
    back.Assign(static_cast<const gfx::TGraphic *>(nullptr));
    EXPECT_TRUE(back.Empty());
}

TEST(Pictures, OtherFormatsLoadThroughThePictureClasses) {
    gfx::TBitmap png;
    Paint(png);
    png.SetPixelFormat(gfx::pf24bit);
    const rtl::UnicodeString name = TempName("picture.png");
    png.SaveToFile(name);
    TCustomBitmap32 b;
    b.LoadFromFile(name);
    ASSERT_EQ(b.GetWidth(), 4);
    EXPECT_EQ(b.GetPixel(2, 1), png.ScanLine(1)[2] | 0xFF000000u);
    rtl::TFileStream stream(name, rtl::fmOpenRead);
    TCustomBitmap32 c;
    c.LoadFromStream(stream);
    EXPECT_TRUE(c.SameContent(b));
}

TEST(Pictures, OurBitmapFilesOpenInQtsReader) {
    gfx::TBitmap source;
    Paint(source);
    TCustomBitmap32 b;
    b.Assign(&source);
    for (TBitmapFileRows rows : {brMemoryOrder, brLastRowFirst}) {
        const rtl::UnicodeString name = TempName("ours.bmp");
        b.SaveToFile(name, rows);
        gfx::TBitmap read;
        read.LoadFromFile(name);
        ASSERT_EQ(read.GetWidth(), 4);
        ASSERT_EQ(read.GetHeight(), 3);
        for (int32_t y = 0; y < 3; ++y) {
            for (int32_t x = 0; x < 4; ++x) {
                EXPECT_EQ(read.ScanLine(y)[x] & 0xFFFFFFu, b.GetPixel(x, y) & 0xFFFFFFu)
                    << int(rows) << " " << x << "," << y;
            }
        }
    }
}

// A 4 x 4 green icon without alpha channel whose mask leaves the two left columns transparent
// (as ImageMagick reads it), and a 16 x 16 icon with an alpha channel.
TEST(Pictures, IconsKeepTheirAlphaOrTakeItFromTheirMask) {
    {
        gfx::TIcon icon;
        rtl::TFileStream stream(u"" WB_TEST_DATA "/raster/icons/icon24.ico", rtl::fmOpenRead);
        icon.LoadFromStream(stream);
        TCustomBitmap32 b;
        b.Assign(&icon);
        ASSERT_EQ(b.GetWidth(), 4);
        for (int32_t y = 0; y < 4; ++y) {
            EXPECT_EQ(b.GetPixel(0, y), 0x00FFFFFFu) << y;
            EXPECT_EQ(b.GetPixel(1, y), 0x00FFFFFFu) << y;
            EXPECT_EQ(b.GetPixel(2, y), 0xFF00FF00u) << y;
            EXPECT_EQ(b.GetPixel(3, y), 0xFF00FF00u) << y;
        }
    }
    for (const char *name : {"icon24.ico", "icon32.ico"}) {
        gfx::TIcon icon;
        rtl::TFileStream stream(
            rtl::UnicodeString(
                (std::filesystem::path(WB_TEST_DATA "/raster/icons") / name).u16string()),
            rtl::fmOpenRead);
        icon.LoadFromStream(stream);
        TCustomBitmap32 b;
        b.Assign(&icon);
        ASSERT_EQ(b.GetWidth(), icon.GetWidth()) << name;
        const gfx::TBitmap colour = icon.GetColorBitmap(), mask = icon.GetMaskBitmap();
        for (int32_t y = 0; y < b.GetHeight(); ++y) {
            for (int32_t x = 0; x < b.GetWidth(); ++x) {
                const bool transparent = (mask.ScanLine(y)[x] & 0xFFFFFFu) == 0xFFFFFFu;
                const TColor32 expected =
                    icon.HasAlphaChannel()
                        ? colour.ScanLine(y)[x]
                        : (transparent ? 0x00FFFFFFu : colour.ScanLine(y)[x] | 0xFF000000u);
                EXPECT_EQ(b.GetPixel(x, y), expected) << name << " " << x << "," << y;
            }
        }
    }
}

TEST(Pictures, TheClipboardCarriesABitmapBothWays) {
    TCustomBitmap32 b;
    b.SetSize(2, 2);
    b.Clear(0xFF102030u);
    b.SetPixel(1, 1, 0x80405060u);
    b.AssignTo(gfx::Clipboard());
    TCustomBitmap32 back;
    back.Assign(gfx::Clipboard());
    ASSERT_EQ(back.GetWidth(), 2);
    EXPECT_EQ(back.GetPixel(0, 0), 0xFF102030u);
    EXPECT_EQ(back.GetPixel(1, 1), 0x80405060u);
    gfx::Clipboard().SetAsText(u"text");
    EXPECT_THROW(back.Assign(gfx::Clipboard()), rtl::EConvertError);
    EXPECT_EQ(back.GetWidth(), 2); // a failed import leaves the bitmap as it was
}

TEST(Pictures, AMetafileComesInOpaqueWhereItDrawsAndTransparentElsewhere) {
    gfx::TMetafile mf;
    mf.SetWidth(6);
    mf.SetHeight(4);
    {
        gfx::TMetafileCanvas c(mf);
        c.GetBrush().SetColor(gfx::clBlue);
        c.FillRect(gfx::Rect(1, 1, 3, 3));
    }
    TCustomBitmap32 b;
    b.Assign(&mf);
    ASSERT_EQ(b.GetWidth(), 6);
    ASSERT_EQ(b.GetHeight(), 4);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 6; ++x) {
            const bool inside = x >= 1 && x < 3 && y >= 1 && y < 3;
            EXPECT_EQ(b.GetPixel(x, y), inside ? 0xFF0000FFu : 0x00FFFFFFu) << x << "," << y;
        }
    }
}

// The checker bitmap is compiled into this program (see CMakeLists.txt) under a name and a
// number.
TEST(BitmapResources, LoadByNameAndByNumberAndReportChanged) {
    const std::function<void(TBitmap32 &)> loads[] = {
        [](TBitmap32 &b) { b.LoadFromResourceName(gfx::HInstance, u"Checker"); },
        [](TBitmap32 &b) { b.LoadFromResourceID(gfx::HInstance, 7); },
    };
    for (const auto &load : loads) {
        TBitmap32 bitmap;
        int changes = 0;
        bitmap.OnChange = [&](TNotifiablePersistent *) { ++changes; };
        load(bitmap);
        ASSERT_EQ(bitmap.GetWidth(), 3);
        ASSERT_EQ(bitmap.GetHeight(), 2);
        EXPECT_EQ(bitmap.GetPixel(0, 0), 0xFFFFFFFFu);
        EXPECT_EQ(bitmap.GetPixel(2, 1), 0xFF0000FFu);
        EXPECT_GT(changes, 0);
    }
}

TEST(BitmapResources, AMissingOneRaisesAndStillReportsChanged) {
    TBitmap32 bitmap;
    bitmap.SetSize(2, 2);
    int changes = 0;
    bitmap.OnChange = [&](TNotifiablePersistent *) { ++changes; };
    EXPECT_THROW(bitmap.LoadFromResourceID(gfx::HInstance, 8), gfx::EResNotFound);
    EXPECT_THROW(bitmap.LoadFromResourceName(gfx::HInstance, u"Absent"), gfx::EResNotFound);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(bitmap.GetWidth(), 2);
}
