// Pictures: PNG round trip through a file and memory, and rejection of bad data.
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Picture.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

using namespace gfx;

namespace {

std::filesystem::path TempPng() {
    return std::filesystem::temp_directory_path() /
           ("gfx_picture_test_" + std::to_string(::getpid()) + ".png");
}

} // namespace

TEST(Picture, PngRoundTripsThroughFileAndMemory) {
    TBitmap bmp(7, 5);
    bmp.GetCanvas().SetPixel(2, 3, clRed);
    const auto path = TempPng();
    bmp.SaveToFile(rtl::Utf8ToUtf16(path.string()));

    TPicture pic;
    pic.LoadFromFile(rtl::Utf8ToUtf16(path.string()));
    ASSERT_NE(dynamic_cast<TPngImage *>(pic.GetGraphic()), nullptr);
    EXPECT_EQ(pic.GetWidth(), 7);
    EXPECT_EQ(pic.GetHeight(), 5);

    std::ifstream in(path, std::ios::binary);
    std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
    TPngImage png;
    png.LoadFromMemory(bytes.data(), bytes.size());
    TBitmap back(10, 10);
    back.GetCanvas().Draw(1, 1, png);
    EXPECT_EQ(back.GetCanvas().GetPixel(3, 4), clRed);
    EXPECT_EQ(back.GetCanvas().GetPixel(2, 4), clWhite);
    std::filesystem::remove(path);
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
    const auto path = TempPng();
    bmp.SaveToFile(rtl::Utf8ToUtf16(path.string()));
    TPngImage png;
    png.LoadFromFile(rtl::Utf8ToUtf16(path.string()));
    std::filesystem::remove(path);

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
