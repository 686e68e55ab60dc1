// Pictures: PNG round trip through a file and memory, and rejection of bad data.
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Picture.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/Exceptions.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>

using namespace gfx;

TEST(Picture, PngRoundTripsThroughFileAndMemory) {
    TBitmap bmp(7, 5);
    bmp.GetCanvas().SetPixel(2, 3, clRed);
    const wbtest::TTempFolder folder;
    bmp.SaveToFile(folder.File("picture.png"));

    TPicture pic;
    pic.LoadFromFile(folder.File("picture.png"));
    ASSERT_NE(dynamic_cast<TPngImage *>(pic.GetGraphic()), nullptr);
    EXPECT_EQ(pic.GetWidth(), 7);
    EXPECT_EQ(pic.GetHeight(), 5);

    const std::string bytes = wbtest::ReadFileBytes(folder / "picture.png");
    TPngImage png;
    png.LoadFromMemory(reinterpret_cast<const uint8_t *>(bytes.data()), bytes.size());
    TBitmap back(10, 10);
    back.GetCanvas().Draw(1, 1, png);
    EXPECT_EQ(back.GetCanvas().GetPixel(3, 4), clRed);
    EXPECT_EQ(back.GetCanvas().GetPixel(2, 4), clWhite);
}

TEST(Picture, BadDataIsRejected) {
    const uint8_t junk[] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 1, 2, 3};
    TPngImage png;
    EXPECT_THROW(png.LoadFromMemory(junk, sizeof junk), rtl::Exception);
    EXPECT_THROW(png.LoadFromMemory(nullptr, 0), rtl::Exception);
    TPicture pic;
    EXPECT_THROW(pic.LoadFromMemory(junk, sizeof junk), rtl::Exception);
    EXPECT_THROW(pic.LoadFromFile(u"/nonexistent/file.png"), rtl::EFOpenError);
    EXPECT_TRUE(pic.Empty());
}

TEST(Picture, PngRoundTripsThroughStreamsFromTheirPosition) {
    TBitmap bmp(4, 3);
    bmp.GetCanvas().SetPixel(1, 2, clLime);
    const wbtest::TTempFolder folder;
    bmp.SaveToFile(folder.File("picture.png"));
    TPngImage png;
    png.LoadFromFile(folder.File("picture.png"));

    rtl::TMemoryStream stream;
    stream.WriteBuffer("abc", 3);
    png.SaveToStream(stream);
    stream.SetPosition(3);
    TPicture pic;
    pic.LoadFromStream(stream);
    ASSERT_EQ(pic.GetWidth(), 4);
    TBitmap back(4, 3);
    back.GetCanvas().Draw(0, 0, *pic.GetGraphic());
    EXPECT_EQ(back.GetCanvas().GetPixel(1, 2), clLime);
}
