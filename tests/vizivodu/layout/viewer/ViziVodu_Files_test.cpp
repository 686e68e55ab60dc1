// The viewer's native-format and plain-text files: colour and layout record travel with the
// document through the control, text loads and saves through the root document.
#include "vizivodu/layout/viewer/ViziVodu.h"

#include "tests/vizivodu/LayoutTestSupport.h"
#include "vizivodu/document/VDClasses.h"
#include "vizivodu/layout/viewer/VDVDData.h"

#include "platform/rtl/StrUtils.h"

#include <gtest/gtest.h>

using namespace vizivodu;

namespace {

std::string Bytes(TVDMemoryStream &stream) {
    const auto *p = reinterpret_cast<const char *>(stream.GetMemory());
    return p ? std::string(p, static_cast<size_t>(stream.GetSize())) : std::string();
}

std::string Text(TViziVodu &v) {
    std::string out;
    TCustomVDData &data = v.GetVDData();
    for (int32_t i = 0; i < data.ItemCount(); ++i) {
        out +=
            (data.GetItem(i)->GetSameAsPrev() ? "+" : "|") + rtl::Utf16ToUtf8(data.GetItemText(i));
    }
    return out;
}

class ViewerFiles : public ::testing::Test {
protected:
    // A viewer that keeps its layout and background in the native format.
    std::unique_ptr<TViziVodu> MakeView() {
        auto v = std::make_unique<TViziVodu>(nullptr);
        v->SetStyle(&Style);
        v->VDFOptions = {vdfoSaveLayout, vdfoLoadLayout, vdfoSaveBack, vdfoLoadBack};
        return v;
    }

    test::TLayoutStyle Style;
};

} // namespace

TEST_F(ViewerFiles, NativeFormatCarriesColourAndMargins) {
    auto source = MakeView();
    source->AddTextNL(u"Первая\r\nвторая", 0, 0, 0);
    source->SetColor(gfx::TColor(0x00336699));
    source->LeftMargin = 17;
    source->BottomMargin = 9;
    TVDMemoryStream stream;
    ASSERT_TRUE(source->SaveVDFToStream(stream, false));

    auto target = MakeView();
    stream.SetPosition(0);
    ASSERT_TRUE(target->LoadVDFFromStream(stream));
    EXPECT_EQ(Text(*target), "|Первая|вторая");
    EXPECT_EQ(target->GetColor(), gfx::TColor(0x00336699));
    EXPECT_EQ(target->LeftMargin, 17);
    EXPECT_EQ(target->BottomMargin, 9);
}

TEST_F(ViewerFiles, TextLoadsAndSavesThroughTheRootDocument) {
    auto v = MakeView();
    TVDMemoryStream in;
    in.WriteBuffer("a\r\nb", 4);
    in.SetPosition(0);
    ASSERT_TRUE(v->LoadTextFromStream(in, 0, 0, false, 1251));
    EXPECT_EQ(Text(*v), "|a|b");
    TVDMemoryStream out;
    ASSERT_TRUE(v->SaveTextToStreamW(u"", out, 80, false, false));
    // The stream form has no signature; the file form has one.
    EXPECT_EQ(Bytes(out), std::string("a\0\r\0\n\0b\0", 8));
    out.SetSize(0);
    ASSERT_TRUE(v->SaveTextToStream(u"", out, 80, false, false, 1251));
    EXPECT_EQ(Bytes(out), "a\r\nb");
}

// A stream of unknown format: RTF is tried first (never as the native format), then the native
// format, then text in the encoding the probe finds.
TEST_F(ViewerFiles, LoadFromStreamExFindsTheFormat) {
    std::string vdf;
    {
        auto source = MakeView();
        source->AddTextNL(u"native", 0, 0, 0);
        TVDMemoryStream stream;
        ASSERT_TRUE(source->SaveVDFToStream(stream, false));
        vdf = Bytes(stream);
    }
    std::string rtf16;
    for (char c : std::string("{\\rtf1 ascii\\par}")) {
        rtf16 += c;
        rtf16 += '\0';
    }
    const TVDLoadFormats all{vdlfText, vdlfRTF, vdlfVDF};
    const struct {
        const char *name;
        std::string bytes;
        TVDLoadFormats allowed;
        bool result;
        TVDLoadFormat format;
        bool unicode;
        std::string text;
    } cases[] = {
        {"native", vdf, all, true, vdlfVDF, false, "|native"},
        {"8-bit RTF", "{\\rtf1 plain\\par}", all, true, vdlfRTF, false, "|plain"},
        {"UTF-16 RTF of ASCII", rtf16, all, true, vdlfRTF, true, "|ascii"},
        {"five bytes of RTF are text", "{\\rtf", all, true, vdlfText, false, "|{\\rtf"},
        {"code page 1251", "\xCF\xF0\xE8\xE2\xE5\xF2\r\n\xEC\xE8\xF0", all, true, vdlfText, false,
         "|Привет|мир"},
        {"UTF-16 with its signature", std::string("\xFF\xFE\x3C\x04\x38\x04\x40\x04", 8), all, true,
         vdlfText, true, "|мир"},
        {"all zero bytes", std::string(4, '\0'), all, true, vdlfText, false, ""},
        {"control characters", "a\x01z", all, true, vdlfText, false, ""},
        {"text not allowed", "plain", {vdlfRTF, vdlfVDF}, false, vdlfText, false, ""},
    };
    for (const auto &c : cases) {
        auto view = MakeView();
        view->AddTextNL(u"old", 0, 0, 0);
        TVDMemoryStream stream;
        stream.WriteBuffer(c.bytes.data(), static_cast<int32_t>(c.bytes.size()));
        stream.SetPosition(0);
        bool unicode = !c.unicode;
        TVDLoadFormat format = vdlfOther;
        EXPECT_EQ(view->LoadFromStreamEx(stream, vdynaAuto, c.allowed, true, unicode, format),
                  c.result)
            << c.name;
        if (c.result) {
            EXPECT_EQ(format, c.format) << c.name;
            EXPECT_EQ(unicode, c.unicode) << c.name;
        }
        EXPECT_EQ(Text(*view), c.text) << c.name;
    }
}
