// The graphic handler: formats from leading bytes, loading, classes by name, the neutral
// questions, conversions to PNG and the one-bitmap metafile.
#include "vizivodu/document/VDGrHandler.h"

#include "platform/gfx/Bitmap.h"
#include "platform/gfx/Icon.h"
#include "platform/gfx/JPEGImage.h"
#include "platform/gfx/Picture.h"
#include "platform/gfx/WICImage.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Files.h"
#include "tests/support/HostilePictures.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QImage>

#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <new>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

using namespace vizivodu;

namespace {

std::string ReadFixture(const std::string &name) {
    std::ifstream file(std::string(WB_TEST_DATA) + "/vizivodu/pictures/" + name, std::ios::binary);
    EXPECT_TRUE(file.good()) << name;
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void Fill(rtl::TMemoryStream &stream, const std::string &bytes) {
    stream.Clear();
    stream.WriteBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
    stream.SetPosition(0);
}

std::string Padded(std::string head, size_t size = 44) {
    head.resize(std::max(size, head.size()), '\0');
    return head;
}

std::string LE32(uint32_t v) {
    std::string s;
    for (int i = 0; i < 4; ++i) {
        s += static_cast<char>(v >> (8 * i));
    }
    return s;
}

// The pixels of a PNG graphic with their alpha, through the PNG bytes it writes.
QImage PixelsOf(const gfx::TGraphic &graphic) {
    rtl::TMemoryStream stream;
    dynamic_cast<const gfx::TPngImage &>(graphic).SaveToStream(stream);
    QImage image;
    image.loadFromData(stream.GetMemory(), static_cast<int>(stream.GetSize()), "PNG");
    return image.convertToFormat(QImage::Format_ARGB32);
}

class GraphicHandler : public ::testing::Test {
protected:
    void SetUp() override { InitializeGraphicHandler(); }
    void TearDown() override { FinalizeGraphicHandler(); }
    TVDGraphicHandler &Handler() { return *GlobalGraphicHandler; }

    std::unique_ptr<gfx::TGraphic> Load(const std::string &fixture) {
        rtl::TMemoryStream stream;
        Fill(stream, ReadFixture(fixture));
        return Handler().LoadFromStream(stream);
    }
};

} // namespace

TEST(GraphicHandlerSniffing, FormatsFromLeadingBytes) {
    const std::string bmp = ReadFixture("small.bmp");
    struct Case {
        std::string data;
        TVDGraphicType expected;
    };
    const std::vector<Case> cases = {
        {bmp.substr(0, 43), vdgtOther},
        {bmp.substr(0, 44), vdgtBitmap},
        {Padded("II\x2A"), vdgtTIFF},
        {Padded("II\x2B"), vdgtOther},
        {Padded(std::string("MM\x00\x2A", 4)), vdgtTIFF},
        {Padded(std::string("MM\x2A\x00", 4)), vdgtOther},
        {Padded("\xFF\xD8\xFF\xE0"), vdgtJPEG},
        {ReadFixture("small.png"), vdgtPNG},
        {Padded("\xD7\xCD\xC6\x9A"), vdgtMetafile},
        {Padded(LE32(1) + std::string(36, 'x') + " EMF"), vdgtMetafile},
        {Padded(LE32(1) + std::string(36, 'x') + " EMG"), vdgtOther},
        {ReadFixture("small.gif"), vdgtGIF},
        {Padded("gif8"), vdgtOther},
        {ReadFixture("icon32.ico"), vdgtIcon},
        {Padded(std::string("\x12\x34\x01\x00", 4)), vdgtIcon},
        {ReadFixture("arrow.cur"), vdgtOther},
        {ReadFixture("small.tif"), vdgtTIFF},
        {Padded("garbage"), vdgtOther},
        {"", vdgtOther},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(TVDGraphicHandler::GetDataGraphicType(c.data.data(),
                                                        static_cast<int32_t>(c.data.size())),
                  c.expected)
            << testing::PrintToString(c.data.substr(0, 8));
    }
}

TEST(GraphicHandlerSniffing, StreamPositionIsKept) {
    const std::string png = "xyz" + ReadFixture("small.png");
    rtl::TMemoryStream memory;
    Fill(memory, png);
    memory.SetPosition(3);
    EXPECT_EQ(TVDGraphicHandler::GetStreamGraphicType(memory), vdgtPNG);
    EXPECT_EQ(memory.GetPosition(), 3);
    memory.SetPosition(png.size() - 43); // fewer than 44 bytes remain
    EXPECT_EQ(TVDGraphicHandler::GetStreamGraphicType(memory), vdgtOther);

    const std::string path = testing::TempDir() + "sniff.bin";
    std::ofstream(path, std::ios::binary) << png;
    rtl::TFileStream file(rtl::Utf8ToUtf16(path), rtl::fmOpenRead);
    file.SetPosition(3);
    EXPECT_EQ(TVDGraphicHandler::GetStreamGraphicType(file), vdgtPNG);
    EXPECT_EQ(file.GetPosition(), 3);
    std::remove(path.c_str());
}

TEST_F(GraphicHandler, LoadsEveryFormatThatHasAClass) {
    auto png = Load("small.png");
    ASSERT_TRUE(dynamic_cast<gfx::TPngImage *>(png.get()));
    EXPECT_EQ(png->GetWidth(), 4);
    EXPECT_EQ(png->GetHeight(), 3);
    EXPECT_TRUE(dynamic_cast<gfx::TJPEGImage *>(Load("small.jpg").get()));
    auto bmp = Load("small.bmp");
    ASSERT_TRUE(dynamic_cast<gfx::TBitmap *>(bmp.get()));
    EXPECT_EQ(bmp->GetWidth(), 4);
    auto icon = Load("icon32.ico");
    ASSERT_TRUE(dynamic_cast<gfx::TIcon *>(icon.get()));
    EXPECT_EQ(icon->GetWidth(), 16);

    auto tiff = Load("small.tif");
    ASSERT_TRUE(dynamic_cast<gfx::TWICImage *>(tiff.get()));
    EXPECT_EQ(Handler().GetGraphicType(*tiff), vdgtOther);
    EXPECT_EQ(Handler().GetGraphicExt(*tiff), u"tif");
    EXPECT_FALSE(Handler().IsTransparent(*tiff));
}

TEST_F(GraphicHandler, FormatsWithoutAClassOrBadDataGiveNothing) {
    EXPECT_EQ(Load("small.gif"), nullptr); // GIF has no class by default
    EXPECT_EQ(Load("arrow.cur"), nullptr);
    rtl::TMemoryStream stream;
    Fill(stream, ReadFixture("small.png").substr(0, 60)); // cut short
    EXPECT_EQ(Handler().LoadFromStream(stream), nullptr);
    Fill(stream, Padded("\xFF\xD8 not really a JPEG", 200));
    EXPECT_EQ(Handler().LoadFromStream(stream), nullptr);
    Fill(stream, Padded("garbage", 100));
    stream.SetPosition(5);
    EXPECT_EQ(Handler().LoadFromStream(stream), nullptr);
    EXPECT_EQ(stream.GetPosition(), 5); // an unknown format leaves the stream as it was

    Handler().SetDefaultGraphicClass(vdgtGIF, WICImageGraphicClass());
    auto gif = Load("small.gif");
    ASSERT_TRUE(dynamic_cast<gfx::TWICImage *>(gif.get()));
    EXPECT_EQ(Handler().GetGraphicExt(*gif), u"gif");
}

// Nothing is raised, but every refusal says what is wrong, and a load that succeeds clears it.
TEST_F(GraphicHandler, EveryRefusalSaysWhy) {
    Handler().SetDefaultGraphicClass(vdgtMetafile, MetafileGraphicClass());
    const std::vector<uint8_t> emf = wbtest::EmfClaimingAHugeBitmap();
    const struct {
        const char *Name;
        std::string Data;
        const char16_t *Reason;
    } cases[] = {
        {"GIF without a class", ReadFixture("small.gif"), u"Рисунки формата GIF не поддерживаются"},
        {"unknown format", Padded("garbage", 100),
         u"Данные не являются рисунком известного формата"},
        {"too short", "GIF89a", u"Данных слишком мало для рисунка"},
        {"metafile", std::string(emf.begin(), emf.end()),
         u"Метафайлы (EMF, WMF) здесь не читаются"},
    };
    rtl::TMemoryStream stream;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Name);
        Fill(stream, c.Data);
        EXPECT_EQ(Handler().LoadFromStream(stream), nullptr);
        EXPECT_EQ(Handler().GetLastLoadError(), c.Reason);
    }
    Fill(stream, ReadFixture("small.png").substr(0, 60)); // cut short: the decoder's reason
    EXPECT_EQ(Handler().LoadFromStream(stream), nullptr);
    EXPECT_FALSE(Handler().GetLastLoadError().empty());
    EXPECT_NE(Load("small.png"), nullptr);
    EXPECT_TRUE(Handler().GetLastLoadError().empty());
}

// A file's refusal names the file; the class its name claims says what is wrong with it.
TEST_F(GraphicHandler, AFilesRefusalNamesTheFile) {
    const std::string path = testing::TempDir() + "broken.png";
    std::ofstream(path, std::ios::binary) << Padded("not a picture", 100);
    const rtl::UnicodeString name = rtl::Utf8ToUtf16(path);
    EXPECT_EQ(Handler().LoadFromFile(name), nullptr);
    const rtl::UnicodeString head =
        u"Не удалось открыть рисунок \"" + rtl::ExpandFileName(name) + u"\". ";
    EXPECT_EQ(Handler().GetLastLoadError().substr(0, head.size()), head);
    EXPECT_GT(Handler().GetLastLoadError().size(), head.size());
    std::remove(path.c_str());
    EXPECT_EQ(Handler().LoadFromFile(u"/nonexistent/picture.png"), nullptr);
    EXPECT_NE(Handler().GetLastLoadError().find(u"/nonexistent/picture.png"),
              rtl::UnicodeString::npos);
}

TEST_F(GraphicHandler, AMetafileClaimingAHugeBitmapGivesNothing) {
    const std::vector<uint8_t> emf = wbtest::EmfClaimingAHugeBitmap();
    EXPECT_EQ(Handler().ExtractBitmapFromEnhMetafileData(
                  std::string_view(reinterpret_cast<const char *>(emf.data()), emf.size())),
              nullptr);
}

TEST_F(GraphicHandler, ClassesByNameAreGraphicClassesOnly) {
    EXPECT_EQ(Handler().GetGraphicClass(u"tpngobject"), PngGraphicClass());
    EXPECT_EQ(Handler().GetGraphicClass(u"TPngImage"), PngGraphicClass());
    EXPECT_EQ(Handler().GetGraphicClass(u"TBitmap"), BitmapGraphicClass());
    EXPECT_EQ(Handler().GetGraphicClass(u"TJPEGImage"), JPEGGraphicClass());
    EXPECT_EQ(Handler().GetGraphicClass(u"TIcon"), IconGraphicClass());
    EXPECT_EQ(Handler().GetGraphicClass(u"TWICImage"), WICImageGraphicClass());
    // A stored class name can never make a component that is not a picture.
    EXPECT_EQ(Handler().GetGraphicClass(u"TButton"), nullptr);
    EXPECT_EQ(Handler().GetGraphicClass(u"tbitmap"), nullptr);
    EXPECT_FALSE(RegisterGraphicClass(nullptr));
}

TEST_F(GraphicHandler, NeutralQuestions) {
    gfx::TBitmap bitmap(2, 2);
    EXPECT_EQ(Handler().GetGraphicType(bitmap), vdgtBitmap);
    EXPECT_FALSE(Handler().IsTransparent(bitmap));
    bitmap.SetTransparent(true);
    EXPECT_TRUE(Handler().IsTransparent(bitmap));
    EXPECT_FALSE(Handler().IsHTMLGraphic(bitmap));
    EXPECT_EQ(Handler().GetGraphicExt(bitmap), u"bmp");

    auto icon = Load("icon32.ico");
    EXPECT_TRUE(Handler().IsTransparent(*icon));
    EXPECT_FALSE(Handler().IsResizeable(*icon));
    EXPECT_TRUE(Handler().IsResizeable(bitmap));
    EXPECT_EQ(Handler().GetIconHandle(*icon), icon.get());
    EXPECT_EQ(Handler().GetIconHandle(bitmap), nullptr);

    auto jpeg = Load("small.jpg");
    EXPECT_FALSE(Handler().IsTransparent(*jpeg));
    EXPECT_TRUE(Handler().IsHTMLGraphic(*jpeg));
    EXPECT_EQ(Handler().GetGraphicExt(*jpeg), u"jpg");
    auto png = Load("small.png");
    EXPECT_TRUE(Handler().IsTransparent(*png));
    EXPECT_TRUE(Handler().IsHTMLGraphic(*png));
    EXPECT_FALSE(Handler().IsVectorGraphic(*png));

    Handler().RegisterHTMLGraphicFormat(BitmapGraphicClass());
    EXPECT_TRUE(Handler().IsHTMLGraphic(bitmap));
    EXPECT_TRUE(Handler().IsPngClassAssigned());
    EXPECT_TRUE(Handler().IsJpegClassAssigned());
    Handler().SetDefaultGraphicClass(vdgtPNG, nullptr);
    EXPECT_FALSE(Handler().IsPngClassAssigned());
}

TEST_F(GraphicHandler, ScanLineWidthAndTransparentBitmaps) {
    gfx::TBitmap row(10, 1);
    EXPECT_EQ(Handler().GetBitmapScanLineWidth(row), 10);
    gfx::TBitmap two(10, 2);
    EXPECT_EQ(Handler().GetBitmapScanLineWidth(two), 40);
    EXPECT_EQ(Handler().GetBitmapScanLineWidth(*Load("small.png")), 0);

    gfx::TBitmap empty(0, 5);
    empty.SetPixelFormat(gfx::pf24bit);
    Handler().MakeBitmapTransparent(empty);
    EXPECT_EQ(empty.GetPixelFormat(), gfx::pf24bit);
    Handler().MakeBitmapTransparent(two);
    EXPECT_EQ(two.GetPixelFormat(), gfx::pf32bit);
    EXPECT_EQ(two.ScanLine(1)[9] >> 24, 0u);
}

TEST_F(GraphicHandler, IconsBecomePngsWithTheirAlpha) {
    // An icon with an alpha channel keeps it.
    auto icon32 = Load("icon32.ico");
    auto png32 = Handler().IconToPng(*icon32);
    ASSERT_TRUE(png32);
    const QImage pixels32 = PixelsOf(*png32);
    EXPECT_EQ(qAlpha(pixels32.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(pixels32.pixel(5, 5)), 0x80);
    // An icon without one takes its alpha from the mask (left two columns transparent).
    auto icon24 = Load("icon24.ico");
    auto png24 = Handler().IconToPng(*icon24);
    ASSERT_TRUE(png24);
    const QImage pixels24 = PixelsOf(*png24);
    EXPECT_EQ(qAlpha(pixels24.pixel(0, 2)), 0);
    EXPECT_EQ(qAlpha(pixels24.pixel(1, 2)), 0);
    EXPECT_EQ(qAlpha(pixels24.pixel(2, 2)), 255);
    EXPECT_EQ(qGreen(pixels24.pixel(3, 0)), 255);
    EXPECT_EQ(Handler().IconToPng(gfx::TBitmap(2, 2)), nullptr);
}

TEST_F(GraphicHandler, BitmapsBecomePngsWhoseAlphaCopiesTheFourthBytes) {
    gfx::TBitmap bitmap(2, 1);
    bitmap.SetPixelFormat(gfx::pf32bit);
    bitmap.ScanLine(0)[0] = 0x00FF0000u; // all fourth bytes 0: still copied
    bitmap.ScanLine(0)[1] = 0x000000FFu;
    auto png = Handler().BitmapToPng(bitmap);
    ASSERT_TRUE(png);
    EXPECT_EQ(qAlpha(PixelsOf(*png).pixel(0, 0)), 0);
    EXPECT_FALSE(bitmap.GetTransparent());
}

TEST_F(GraphicHandler, CloneMakesAnEqualGraphicOfTheSameClass) {
    auto png = Load("small.png");
    auto copy = Handler().Clone(png.get());
    ASSERT_TRUE(dynamic_cast<gfx::TPngImage *>(copy.get()));
    EXPECT_NE(copy.get(), png.get());
    EXPECT_EQ(copy->GetWidth(), 4);
    EXPECT_EQ(Handler().Clone(nullptr), nullptr);
    auto bitmap = Handler().ToBitmap(*png);
    EXPECT_EQ(bitmap->GetWidth(), 4);
    EXPECT_EQ(bitmap->GetPixelFormat(), gfx::pf32bit);
}

TEST_F(GraphicHandler, FilesLoadByExtensionThenByContent) {
    const std::string path = testing::TempDir() + "picture.bmp"; // PNG content
    std::ofstream(path, std::ios::binary) << ReadFixture("small.png");
    auto graphic = Handler().LoadFromFile(rtl::Utf8ToUtf16(path));
    EXPECT_TRUE(dynamic_cast<gfx::TPngImage *>(graphic.get()));
    std::remove(path.c_str());
    EXPECT_EQ(Handler().LoadFromFile(u"/nonexistent/picture.png"), nullptr);
}

namespace {

// A stand-in metafile class: what the handler asks of one.
class TFakeMetafile : public gfx::TGraphic {
public:
    int32_t GetWidth() const override { return 1; }
    int32_t GetHeight() const override { return 1; }
    void DrawOn(gfx::TCanvas &, const gfx::TRect &) const override {}
    bool Enhanced = false;
    int32_t Inch = 0;
};

class TFakeMetafileClass : public TVDGraphicClass {
public:
    TFakeMetafileClass() : TVDGraphicClass("TFakeMetafile", "wmf") {}
    std::unique_ptr<gfx::TGraphic> Create() const override {
        return std::make_unique<TFakeMetafile>();
    }
    bool IsInstance(const gfx::TGraphic &g) const override {
        return dynamic_cast<const TFakeMetafile *>(&g) != nullptr;
    }
    bool IsExactly(const gfx::TGraphic &g) const override { return IsInstance(g); }
    void LoadFromStream(gfx::TGraphic &, rtl::TStream &) const override {}
    void SaveToStream(const gfx::TGraphic &, rtl::TStream &) const override {}
    void Assign(gfx::TGraphic &, const gfx::TGraphic &) const override {}
    bool IsMetafileClass() const override { return true; }
    bool IsEnhanced(const gfx::TGraphic &g) const override {
        return static_cast<const TFakeMetafile &>(g).Enhanced;
    }
    int32_t GetInch(const gfx::TGraphic &g) const override {
        return static_cast<const TFakeMetafile &>(g).Inch;
    }
    void SetInch(gfx::TGraphic &g, int32_t inch) const override {
        static_cast<TFakeMetafile &>(g).Inch = inch;
    }
};

// Loading fails as the test says.
class TFailingClass : public TFakeMetafileClass {
public:
    void LoadFromStream(gfx::TGraphic &, rtl::TStream &) const override { Fail(); }
    std::function<void()> Fail;
};

} // namespace

// A refusal of the data (rtl::Exception) means no picture; any other failure (no memory, a
// fault of the code) is not the data's and passes on, so that the fuzz targets see it.
TEST_F(GraphicHandler, OnlyARefusalOfTheDataMeansNoPicture) {
    TFailingClass failing;
    Handler().SetDefaultGraphicClass(vdgtGIF, &failing);
    rtl::TMemoryStream stream;
    Fill(stream, Padded("GIF89a", 100));
    failing.Fail = [] { throw rtl::Exception("refused"); };
    EXPECT_EQ(Handler().LoadFromStream(stream), nullptr);
    stream.SetPosition(0);
    failing.Fail = [] { throw std::bad_alloc(); };
    EXPECT_THROW(Handler().LoadFromStream(stream), std::bad_alloc);
    stream.SetPosition(0);
    failing.Fail = [] { throw std::logic_error("a fault"); };
    EXPECT_THROW(Handler().LoadFromStream(stream), std::logic_error);
}

TEST_F(GraphicHandler, PlainMetafilesWithoutInchGet1440) {
    const TFakeMetafileClass metafileClass;
    Handler().SetDefaultGraphicClass(vdgtMetafile, &metafileClass);
    TFakeMetafile plain;
    Handler().AfterLoadMetafile(plain);
    EXPECT_EQ(plain.Inch, 1440);
    TFakeMetafile enhanced;
    enhanced.Enhanced = true;
    Handler().AfterLoadMetafile(enhanced);
    EXPECT_EQ(enhanced.Inch, 0);
    EXPECT_TRUE(Handler().IsVectorGraphic(plain));
    EXPECT_EQ(Handler().GetGraphicType(plain), vdgtMetafile);
    EXPECT_EQ(Handler().GetMetafileHandle(plain), &plain);
}

namespace {

std::string EmfRecord(uint32_t type, std::string body) {
    while ((body.size() + 8) % 4 != 0) {
        body += '\0';
    }
    return LE32(type) + LE32(static_cast<uint32_t>(body.size() + 8)) + body;
}

// An EMR_SETDIBITSTODEVICE (80) or EMR_STRETCHDIBITS (81) record of a 2 x 1 24-bit DIB.
std::string DIBRecord(uint32_t type, uint32_t usage = 0, uint32_t bitsOffsetDelta = 0) {
    const uint32_t fixed = type == 80 ? 76 : 80;
    std::string info = LE32(40) + LE32(2) + LE32(1) + std::string("\x01\x00\x18\x00", 4) + LE32(0) +
                       LE32(8) + std::string(16, '\0');
    const std::string bits = std::string("\x00\x00\xFF\x00\xFF\x00\x00\x00", 8);
    std::string body(fixed - 8, '\0');
    auto put = [&body](size_t at, uint32_t v) { body.replace(at - 8, 4, LE32(v)); };
    put(48, fixed);
    put(52, static_cast<uint32_t>(info.size()));
    put(56, fixed + static_cast<uint32_t>(info.size()) + bitsOffsetDelta);
    put(60, static_cast<uint32_t>(bits.size()));
    put(64, usage);
    return EmfRecord(type, body + info + bits);
}

std::string Header() {
    return EmfRecord(1, std::string(80, '\0'));
}

} // namespace

TEST_F(GraphicHandler, AMetafileOfOneBitmapGivesTheBitmap) {
    const std::string eof = EmfRecord(14, std::string(12, '\0'));
    const std::string window = EmfRecord(9, std::string(8, '\0'));
    auto bitmap =
        Handler().ExtractBitmapFromEnhMetafileData(Header() + window + DIBRecord(80) + eof);
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(bitmap->GetWidth(), 2);
    EXPECT_EQ(bitmap->GetHeight(), 1);
    EXPECT_EQ(dynamic_cast<gfx::TBitmap &>(*bitmap).ScanLine(0)[0] & 0xFFFFFF, 0xFF0000u);
    EXPECT_TRUE(Handler().ExtractBitmapFromEnhMetafileData(Header() + DIBRecord(81) + eof));

    const std::string lineTo = EmfRecord(54, std::string(8, '\0'));
    const std::vector<std::string> refused = {
        Header() + DIBRecord(81) + lineTo + eof,        // anything drawn besides
        Header() + DIBRecord(81) + DIBRecord(81) + eof, // two bitmaps
        Header() + DIBRecord(81, 1) + eof,              // palette indices
        Header() + DIBRecord(81, 0, 1000) + eof,        // bits outside the record
        Header() + eof,                                 // no bitmap at all
        DIBRecord(81) + eof,                            // no header first
        Header() + DIBRecord(81).substr(0, 40),         // cut inside a record
        Header() + LE32(14) + LE32(0xFFFFFFF0u),        // a record larger than the data
        Header() + LE32(14) + LE32(4),                  // a record smaller than its head
    };
    for (const std::string &emf : refused) {
        EXPECT_EQ(Handler().ExtractBitmapFromEnhMetafileData(emf), nullptr);
    }
}
