// RTF pictures into picture items: each decodable kind as hexadecimal or binary data, the
// suggested size and scale, the \shppict/\nonshppict choice, formats without a decoder, and
// bad picture data.
#include "vizivodu/formats/rtf/VDRTFProps.h"

#include "tests/vizivodu/DocumentTestSupport.h"
#include "vizivodu/document/VDItem_Rect.h"
#include "vizivodu/styles/VDStyle.h"

#include "platform/gfx/Graphic.h"
#include "platform/rtl/Classes.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace vizivodu {
namespace {

std::string PictureFile(const std::string &name) {
    std::ifstream in(std::string(WB_TEST_DATA) + "/vizivodu/pictures/" + name, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

// The bytes as hexadecimal digits, a line break after every lineBytes bytes (and, with odd,
// one between the two digits of the first byte).
std::string Hex(const std::string &bytes, bool splitFirstByte = false) {
    static const char *digits = "0123456789abcdef";
    std::string out;
    for (size_t i = 0; i < bytes.size(); ++i) {
        const uint8_t b = uint8_t(bytes[i]);
        out.push_back(digits[b >> 4]);
        if (i == 0 && splitFirstByte) {
            out += "\r\n";
        }
        out.push_back(digits[b & 15]);
        if (i % 32 == 31) {
            out += "\n";
        }
    }
    return out;
}

class RTFPictureReading : public testing::Test {
protected:
    RTFPictureReading() : Style(nullptr), Doc(&Style) {}

    TVDRTFErrorCode Read(const std::string &rtf) {
        rtl::TMemoryStream stream;
        stream.Write(rtf.data(), int32_t(rtf.size()));
        stream.SetPosition(0);
        return Props.ReadFromStream(stream, Doc, false);
    }

    std::vector<TVDGraphicItemInfo *> Pictures() {
        std::vector<TVDGraphicItemInfo *> out;
        for (int32_t i = 0; i < Doc.ItemCount(); ++i) {
            if (auto *g = dynamic_cast<TVDGraphicItemInfo *>(Doc.GetItem(i))) {
                out.push_back(g);
            }
        }
        return out;
    }

    TVDStyle Style;
    test::TTestDocument Doc;
    TVDRTFReaderProperties Props;
};

struct TKindCase {
    const char *Name;
    std::string Group; // the \pict group
};

class RTFPictureKinds : public RTFPictureReading, public testing::WithParamInterface<TKindCase> {};

TEST_P(RTFPictureKinds, DecodedWithItsPixelSize) {
    ASSERT_EQ(Read("{\\rtf1 a" + GetParam().Group + "b\\par}"), rtf_ec_OK);
    const std::vector<TVDGraphicItemInfo *> pictures = Pictures();
    ASSERT_EQ(pictures.size(), 1u);
    ASSERT_NE(pictures[0]->GetImage(), nullptr);
    EXPECT_EQ(pictures[0]->GetImage()->GetWidth(), 4);
    EXPECT_EQ(pictures[0]->GetImage()->GetHeight(), 3);
    EXPECT_EQ(pictures[0]->ImageWidth, 0);
    EXPECT_EQ(Doc.ItemCount(), 3);
}

const std::string Png = PictureFile("small.png");

INSTANTIATE_TEST_SUITE_P(
    Cases, RTFPictureKinds,
    testing::Values(TKindCase{"Png", "{\\pict\\pngblip\\picw4\\pich3 " + Hex(Png) + "}"},
                    TKindCase{"PngSplitByte", "{\\pict\\pngblip " + Hex(Png, true) + "}"},
                    TKindCase{"PngBinary", "{\\pict\\pngblip\\bin" + std::to_string(Png.size()) +
                                               " " + Png + "}"},
                    TKindCase{"Jpeg", "{\\pict\\jpegblip " + Hex(PictureFile("small.jpg")) + "}"},
                    TKindCase{"Dib", "{\\pict\\dibitmap0 " +
                                         Hex(PictureFile("small.bmp").substr(14)) + "}"},
                    TKindCase{"PngInShppict", "{\\*\\shppict{\\pict\\pngblip " + Hex(Png) +
                                                  "}}{\\nonshppict{\\pict\\wmetafile8 0102}}"}),
    [](const auto &info) { return std::string(info.param.Name); });

TEST_F(RTFPictureReading, SuggestedSizeAndScale) {
    const std::string rtf = "{\\rtf1{\\pict\\pngblip\\picwgoal1440\\pichgoal720 " + Hex(Png) +
                            "}{\\pict\\pngblip\\picscalex50\\picscaley200 " + Hex(Png) + "}}";
    ASSERT_EQ(Read(rtf), rtf_ec_OK);
    const std::vector<TVDGraphicItemInfo *> pictures = Pictures();
    ASSERT_EQ(pictures.size(), 2u);
    EXPECT_EQ(pictures[0]->ImageWidth, Style.TwipsToUnits(1440));
    EXPECT_EQ(pictures[0]->ImageHeight, Style.TwipsToUnits(720));
    EXPECT_EQ(pictures[1]->ImageWidth, Style.PixelsToUnits(2));
    EXPECT_EQ(pictures[1]->ImageHeight, Style.PixelsToUnits(6));
}

TEST_F(RTFPictureReading, FormatWithoutDecoderShowsTheInvalidPicture) {
    ASSERT_EQ(Read("{\\rtf1{\\pict\\wmetafile8\\picw2540\\pich2540 0100090000}}"), rtf_ec_OK);
    EXPECT_EQ(Pictures().size(), 1u);
}

TEST_F(RTFPictureReading, ShapePictureWithoutDecoderGivesWayToItsAlternative) {
    const std::string rtf = "{\\rtf1{\\*\\shppict{\\pict\\wmetafile8 0100}}{\\nonshppict{\\pict"
                            "\\pngblip " +
                            Hex(Png) + "}}}";
    ASSERT_EQ(Read(rtf), rtf_ec_OK);
    const std::vector<TVDGraphicItemInfo *> pictures = Pictures();
    ASSERT_EQ(pictures.size(), 1u);
    EXPECT_EQ(pictures[0]->GetImage()->GetWidth(), 4);
}

TEST_F(RTFPictureReading, IgnoredPicturesAreSkipped) {
    Props.IgnorePictures = true;
    ASSERT_EQ(Read("{\\rtf1 a{\\pict\\pngblip " + Hex(Png) + "}b\\par}"), rtf_ec_OK);
    EXPECT_TRUE(Pictures().empty());
}

struct TBadCase {
    const char *Name;
    std::string Rtf;
};

class RTFBadPictures : public RTFPictureReading, public testing::WithParamInterface<TBadCase> {};

TEST_P(RTFBadPictures, RefusedWithoutChangingTheDocument) {
    EXPECT_EQ(Read(GetParam().Rtf), rtf_ec_InvalidPicture);
    EXPECT_EQ(Doc.ItemCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RTFBadPictures,
    testing::Values(TBadCase{"NotHex", "{\\rtf1 a\\par{\\pict\\pngblip 89zz}}"},
                    TBadCase{"PngThatDoesNotDecode", "{\\rtf1 a\\par{\\pict\\pngblip 89504e47}}"},
                    TBadCase{"DibHeaderLongerThanData",
                             "{\\rtf1 a\\par{\\pict\\dibitmap0 ffffff7f00000000}}"},
                    TBadCase{"PictureInPicture", "{\\rtf1 a\\par{\\pict\\pngblip{\\pict 00}}}"}),
    [](const auto &info) { return std::string(info.param.Name); });

std::string DataFile(const std::string &name) {
    std::ifstream in(std::string(WB_TEST_DATA) + "/vizivodu/formats/rtf/" + name, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

// LibreOffice writes each picture twice (PNG or JPEG, and a Windows metafile for readers
// without them) with its goal size and a scale: the picture shown 40 x 30 pixels is 4 x 3
// pixels at 1000 %.
TEST_F(RTFPictureReading, LibreOfficePicturesAsLibreOfficeShowsThem) {
    ASSERT_EQ(Read(DataFile("lo_pictures.rtf")), rtf_ec_OK);
    const std::vector<TVDGraphicItemInfo *> pictures = Pictures();
    ASSERT_EQ(pictures.size(), 2u);
    EXPECT_EQ(pictures[0]->ImageWidth, Style.PixelsToUnits(40));
    EXPECT_EQ(pictures[0]->ImageHeight, Style.PixelsToUnits(30));
    EXPECT_EQ(pictures[1]->ImageWidth, 0); // its own size
    EXPECT_EQ(pictures[1]->GetImage()->GetWidth(), 4);
    std::string text;
    for (int32_t i = 0; i < Doc.ItemCount(); ++i) {
        if (i > 0 && !Doc.GetItem(i)->GetSameAsPrev()) {
            text += "\n";
        }
        if (Doc.GetItem(i)->IsText()) {
            text += rtl::Utf16ToUtf8(Doc.GetItemText(i));
        }
    }
    std::string expected = DataFile("lo_pictures.txt");
    expected.erase(0, 3); // the byte order mark
    while (!expected.empty() && (expected.back() == '\n' || expected.back() == '\r')) {
        expected.pop_back();
    }
    EXPECT_EQ(text, expected);
}

// The parser's suggested sizes, seen by the picture handler.
TEST(RTFPictureParser, WindowsMetafileSizeFromItsMappingMode) {
    TVDRTFReader reader;
    int32_t width = -1;
    reader.OnNewPicture = [&](TVDRTFReader &, TVDRTFPicture *p, std::unique_ptr<gfx::TGraphic> &,
                              TVDRTFPosition, const rtl::UnicodeString &,
                              bool &) { width = p ? p->SuggestedWidthTw : -2; };
    const std::string rtf = "{\\rtf1{\\pict\\wmetafile8\\picw2540\\pich1270 0100}}";
    rtl::TMemoryStream stream;
    stream.Write(rtf.data(), int32_t(rtf.size()));
    stream.SetPosition(0);
    ASSERT_EQ(reader.ReadFromStream(stream), rtf_ec_OK);
    EXPECT_EQ(width, 1440);
}

} // namespace
} // namespace vizivodu
