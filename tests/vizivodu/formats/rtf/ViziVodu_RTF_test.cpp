// Loading RTF into a document and into the viewer: the reading settings, the result, and a
// document without settings left unchanged.
#include "vizivodu/formats/rtf/VDRTFProps.h"

#include "tests/vizivodu/DocumentTestSupport.h"
#include "tests/vizivodu/LayoutTestSupport.h"
#include "vizivodu/layout/viewer/VDVDData.h"
#include "vizivodu/layout/viewer/ViziVodu.h"

#include "platform/rtl/Classes.h"

#include <gtest/gtest.h>

namespace vizivodu {
namespace {

void Fill(rtl::TMemoryStream &stream, const std::string &rtf) {
    stream.Write(rtf.data(), int32_t(rtf.size()));
    stream.SetPosition(0);
}

TEST(LoadRTF, DocumentWithoutSettingsIsLeftUnchanged) {
    TVDStyle style(nullptr);
    test::TTestDocument doc(&style);
    doc.AddNL(u"x", 0, 0);
    rtl::TMemoryStream stream;
    Fill(stream, "{\\rtf1 a}");
    EXPECT_EQ(doc.LoadRTFFromStream(stream), rtf_ec_Assertion);
    EXPECT_EQ(test::Dump(doc), "P0:x");
}

TEST(LoadRTF, ViewerReadsIntoItsDocument) {
    test::TLayoutStyle style;
    TViziVodu viewer(nullptr);
    viewer.SetStyle(&style);
    EXPECT_FALSE(viewer.RTFReaderAssigned());
    rtl::TMemoryStream stream;
    Fill(stream, "{\\rtf1 \\'cf\\'f0\\'e8\\'e2\\'e5\\'f2\\par world}");
    EXPECT_TRUE(viewer.LoadRTFFromStream(stream));
    EXPECT_TRUE(viewer.RTFReaderAssigned());
    EXPECT_EQ(test::Dump(viewer.GetVDData()), "P0:Привет | P0:world");
    rtl::TMemoryStream bad;
    Fill(bad, "{\\rtf1 more");
    EXPECT_FALSE(viewer.LoadRTFFromStream(bad));
    EXPECT_EQ(viewer.GetVDData().ItemCount(), 2);
}

TEST(LoadRTF, MissingFileIsAnError) {
    TViziVodu viewer(nullptr);
    test::TLayoutStyle style;
    viewer.SetStyle(&style);
    EXPECT_FALSE(viewer.LoadRTF(u"/nonexistent/x.rtf"));
}

} // namespace
} // namespace vizivodu
