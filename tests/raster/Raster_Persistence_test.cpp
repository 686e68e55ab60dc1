// Bitmap files and streams: header bytes, round trips in both row orders, files written by
// ImageMagick (24 and 32 bits, V3 and V5 headers, both row orders), files an independent
// reader opens, refusals of damaged headers before any allocation, the stored-form pixel data
// and content comparison.
#include "raster/Raster.h"

#include "platform/rtl/Classes.h"
#include "platform/rtl/Exceptions.h"
#include "tests/support/SaveFaults.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using namespace raster;

namespace {

// The picture of the ImageMagick files (tests/data/raster/bmp/README.md), row by row.
const TColor32 kPicture[24] = {0xff789b34u, 0xffcaf54fu, 0x802e220au, 0x00cd941eu, 0xff71b88du,
                               0x11583686u, 0xff6d0d85u, 0x808b6354u, 0x009e94beu, 0xff2cacc6u,
                               0x117f5b7eu, 0xfff28f2du, 0x80990395u, 0x009f63d3u, 0xffd893dcu,
                               0x11e75277u, 0xff9c8416u, 0xff2917ecu, 0x008ff1afu, 0xff4a6422u,
                               0x11d367e1u, 0xff8d5eb6u, 0xffdfa465u, 0x80a5331fu};

std::vector<uint8_t> Bytes(rtl::TMemoryStream &s) {
    std::vector<uint8_t> v(size_t(s.GetSize()));
    s.SetPosition(0);
    s.ReadBuffer(v.data(), int32_t(v.size()));
    return v;
}

void Fill(TCustomBitmap32 &b, const std::vector<uint8_t> &bytes) {
    rtl::TMemoryStream s;
    s.WriteBuffer(bytes.data(), int32_t(bytes.size()));
    s.SetPosition(0);
    b.LoadFromStream(s);
}

void Put32(std::vector<uint8_t> &v, size_t at, uint32_t x) {
    for (int i = 0; i < 4; ++i) {
        v[at + size_t(i)] = uint8_t(x >> (8 * i));
    }
}

std::vector<uint8_t> Saved(const TCustomBitmap32 &b, TBitmapFileRows rows) {
    rtl::TMemoryStream s;
    b.SaveToStream(s, rows);
    return Bytes(s);
}

void Picture(TCustomBitmap32 &b) {
    b.SetSize(6, 4);
    std::memcpy(b.GetBits(), kPicture, sizeof kPicture);
}

std::filesystem::path TempFile(const char *name) {
    return std::filesystem::path(::testing::TempDir()) / name;
}

rtl::UnicodeString U16(const std::filesystem::path &p) {
    return rtl::UnicodeString(p.u16string());
}

} // namespace

TEST(BitmapFile, EmptyBitmapIsAHeaderOnly) {
    TCustomBitmap32 b;
    const std::vector<uint8_t> expected = {
        'B', 'M', 54, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1,
        0,   32,  0,  0, 0, 0, 0, 0, 0, 0, 0,  0, 0, 0, 0,  0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(Saved(b, brMemoryOrder), expected);
}

TEST(BitmapFile, HeaderBytesAndRowOrders) {
    TCustomBitmap32 b;
    b.SetSize(2, 3);
    for (int32_t i = 0; i < 6; ++i) {
        b.GetBits()[i] = 0x01020300u + uint32_t(i);
    }
    const std::vector<uint8_t> top = Saved(b, brMemoryOrder);
    const std::vector<uint8_t> bottom = Saved(b, brLastRowFirst);
    ASSERT_EQ(top.size(), 54u + 24u);
    EXPECT_EQ(std::vector<uint8_t>(top.begin() + 2, top.begin() + 6),
              (std::vector<uint8_t>{78, 0, 0, 0})); // file size 24 + 54
    EXPECT_EQ(std::vector<uint8_t>(top.begin() + 18, top.begin() + 26),
              (std::vector<uint8_t>{2, 0, 0, 0, 0xFD, 0xFF, 0xFF, 0xFF})); // 2 x -3
    EXPECT_EQ(std::vector<uint8_t>(bottom.begin() + 22, bottom.begin() + 26),
              (std::vector<uint8_t>{3, 0, 0, 0}));
    EXPECT_EQ(std::vector<uint8_t>(top.begin() + 34, top.begin() + 38),
              (std::vector<uint8_t>{24, 0, 0, 0})); // image size
    EXPECT_EQ(std::vector<uint8_t>(top.begin() + 54, top.begin() + 58),
              (std::vector<uint8_t>{0x00, 0x03, 0x02, 0x01})); // first row first
    EXPECT_EQ(std::vector<uint8_t>(bottom.begin() + 54, bottom.begin() + 58),
              (std::vector<uint8_t>{0x04, 0x03, 0x02, 0x01})); // last row first
}

TEST(BitmapFile, RoundTripsInBothRowOrders) {
    TCustomBitmap32 source;
    Picture(source);
    for (TBitmapFileRows rows : {brMemoryOrder, brLastRowFirst}) {
        TCustomBitmap32 b;
        int changes = 0;
        b.OnChange = [&](TNotifiablePersistent *) { ++changes; };
        Fill(b, Saved(source, rows));
        EXPECT_TRUE(b.SameContent(source)) << int(rows);
        EXPECT_GE(changes, 1);
    }
}

TEST(BitmapFile, FilesWrittenByImageMagickLoadWithTheSamePixels) {
    const struct {
        const char *file;
        bool alpha;
    } files[] = {{"im_v3_24.bmp", false},         {"im_v3_32.bmp", true},
                 {"im_v5_24.bmp", false},         {"im_v5_32.bmp", true},
                 {"im_v3_24_topdown.bmp", false}, {"im_v3_32_topdown.bmp", true},
                 {"im_v5_24_topdown.bmp", false}, {"im_v5_32_topdown.bmp", true}};
    for (const auto &f : files) {
        TCustomBitmap32 b;
        b.LoadFromFile(U16(std::filesystem::path(WB_TEST_DATA "/raster/bmp") / f.file));
        ASSERT_EQ(b.GetWidth(), 6) << f.file;
        ASSERT_EQ(b.GetHeight(), 4) << f.file;
        for (int32_t i = 0; i < 24; ++i) {
            const TColor32 expected = f.alpha ? kPicture[i] : kPicture[i] | 0xFF000000u;
            ASSERT_EQ(b.GetBits()[i], expected) << f.file << " pixel " << i;
        }
    }
}

TEST(BitmapFile, PixelsAfterALargerHeaderOrAGapLoadWhereTheOffsetSays) {
    TCustomBitmap32 source;
    Picture(source);
    std::vector<uint8_t> file = Saved(source, brLastRowFirst);
    // A 124-byte information header (zeros after the first 40) and a 6-byte gap.
    file.insert(file.begin() + 54, 84 + 6, 0);
    Put32(file, 14, 124);
    Put32(file, 10, 54 + 84 + 6);
    TCustomBitmap32 b;
    Fill(b, file);
    EXPECT_TRUE(b.SameContent(source));
}

TEST(BitmapFile, DamagedHeadersAreRefusedBeforeAnyAllocation) {
    TCustomBitmap32 source;
    Picture(source);
    const std::vector<uint8_t> good = Saved(source, brMemoryOrder);
    const struct {
        const char *what;
        size_t at;
        uint32_t value;
    } cases[] = {
        {"huge size", 18, 30000},
        {"huge height", 22, 0x80000001u},
        {"negative width", 18, 0xFFFFFFFFu},
        {"offset past the end", 10, 4000},
        {"offset inside the header", 10, 20},
        {"information header too large", 14, 100000},
        {"height of -2^31", 22, 0x80000000u},
    };
    for (const auto &c : cases) {
        std::vector<uint8_t> bad = good;
        Put32(bad, c.at, c.value);
        TCustomBitmap32 b;
        b.SetSize(2, 2);
        EXPECT_THROW(Fill(b, bad), EInvalidGraphic) << c.what;
        EXPECT_EQ(b.GetWidth(), 2) << c.what;
    }
    std::vector<uint8_t> shortData(good.begin(), good.end() - 4);
    TCustomBitmap32 b;
    EXPECT_THROW(Fill(b, shortData), EInvalidGraphic);
    EXPECT_THROW(Fill(b, std::vector<uint8_t>(good.begin(), good.begin() + 53)), rtl::EReadError);
}

TEST(BitmapFile, StoredFormPixelData) {
    TCustomBitmap32 source, copy;
    Picture(source);
    rtl::TMemoryStream s;
    source.WritePixelData(s);
    EXPECT_EQ(s.GetSize(), 8 + 24 * 4);
    s.SetPosition(0);
    copy.ReadPixelData(s);
    EXPECT_TRUE(copy.SameContent(source));
    // Sizes the stream cannot hold are refused, and listeners still hear of the attempt.
    std::vector<uint8_t> bytes = Bytes(s);
    Put32(bytes, 0, 1000);
    rtl::TMemoryStream bad;
    bad.WriteBuffer(bytes.data(), int32_t(bytes.size()));
    bad.SetPosition(0);
    int changes = 0;
    copy.OnChange = [&](TNotifiablePersistent *) { ++changes; };
    EXPECT_THROW(copy.ReadPixelData(bad), rtl::EReadError);
    EXPECT_EQ(changes, 1);
    Put32(bytes, 0, 0xFFFFFFFFu);
    rtl::TMemoryStream negative;
    negative.WriteBuffer(bytes.data(), int32_t(bytes.size()));
    negative.SetPosition(0);
    EXPECT_THROW(copy.ReadPixelData(negative), EInvalidGraphic);
}

TEST(BitmapFile, ContentComparisonAndStoredData) {
    TCustomBitmap32 a, b;
    TBitmap32 c;
    EXPECT_TRUE(a.SameContent(c)); // both empty, whatever their classes
    EXPECT_FALSE(a.StoresPixelData(nullptr));
    Picture(a);
    Picture(b);
    c.SetSize(6, 4);
    std::memcpy(c.GetBits(), kPicture, sizeof kPicture);
    EXPECT_TRUE(a.SameContent(b));
    EXPECT_FALSE(a.SameContent(c)); // another class
    EXPECT_TRUE(a.StoresPixelData(nullptr));
    EXPECT_FALSE(a.StoresPixelData(&b));
    b.SetPixel(1, 1, 0);
    EXPECT_FALSE(a.SameContent(b));
    EXPECT_TRUE(a.StoresPixelData(&b));
}

TEST(BitmapFile, FilesWeWriteOpenInImageMagick) {
    TCustomBitmap32 b;
    Picture(b);
    for (TBitmapFileRows rows : {brMemoryOrder, brLastRowFirst}) {
        const std::filesystem::path bmp = TempFile("ours.bmp"), raw = TempFile("ours.rgba");
        b.SaveToFile(U16(bmp), rows);
        const std::string command = "convert '" + bmp.string() + "' rgba:'" + raw.string() + "'";
        ASSERT_EQ(std::system(command.c_str()), 0)
            << "ImageMagick's convert is needed (scripts/install-deps.sh installs it)";
        std::ifstream in(raw, std::ios::binary);
        std::vector<uint8_t> rgba((std::istreambuf_iterator<char>(in)), {});
        ASSERT_EQ(rgba.size(), 24u * 4);
        for (size_t i = 0; i < 24; ++i) {
            const TColor32 c = kPicture[i];
            EXPECT_EQ(rgba[4 * i], (c >> 16) & 0xFF) << int(rows) << " pixel " << i;
            EXPECT_EQ(rgba[4 * i + 1], (c >> 8) & 0xFF) << int(rows) << " pixel " << i;
            EXPECT_EQ(rgba[4 * i + 2], c & 0xFF) << int(rows) << " pixel " << i;
            EXPECT_EQ(rgba[4 * i + 3], c >> 24) << int(rows) << " pixel " << i;
        }
    }
}

TEST(BitmapFile, SizeFromAnyObjectWithAWidthAndAHeight) {
    struct TControlLike {
        int32_t GetWidth() const { return 7; }
        int32_t GetHeight() const { return 3; }
    } control;
    TCustomBitmap32 a, b;
    EXPECT_TRUE(a.SetSizeFrom(&control));
    EXPECT_EQ(a.GetWidth(), 7);
    EXPECT_TRUE(b.SetSizeFrom(&a));
    EXPECT_EQ(b.GetHeight(), 3);
    EXPECT_TRUE(b.SetSizeFrom(static_cast<const TControlLike *>(nullptr)));
    EXPECT_TRUE(b.Empty());
}

TEST(BitmapFile, ASaveThatFailsKeepsTheOldFile) {
    raster::TCustomBitmap32 bitmap;
    bitmap.SetSize(3, 2);
    wbtest::ExpectSaveFailuresKeepTheOldFile(
        "picture.bmp", "BM old bitmap",
        [&](const rtl::UnicodeString &name) { bitmap.SaveToFile(name); });
}
