// Document parameters and the properties and position of floating boxes.
#include "vizivodu/document/VDDocParams.h"

#include "vizivodu/document/VDError.h"
#include "vizivodu/document/VDFloatingBox.h"
#include "vizivodu/document/VDFloatingPos.h"
#include "vizivodu/styles/VDStyle.h"

#include "platform/rtl/Classes.h"
#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <functional>

using namespace vizivodu;

namespace {

std::string Written(const std::function<void(rtl::TStream &)> &write) {
    rtl::TMemoryStream stream;
    write(stream);
    return std::string(reinterpret_cast<const char *>(stream.GetMemory()),
                       static_cast<size_t>(stream.GetSize()));
}

} // namespace

TEST(DocParameters, DefaultsWriteNothing) {
    TVDDocParameters params;
    EXPECT_TRUE(params.AreAllValuesDefault());
    EXPECT_EQ(params.GetVDFLineCount(), 0);
    EXPECT_EQ(Written([&](rtl::TStream &s) { params.SaveToRTF(s, true); }),
              "\\paperw11906\\paperh16838\\margl1800\\margr1800\\margt1440\\margb1440"
              "\\viewscale100\\viewzk0\r\n");
}

TEST(DocParameters, UnitsAloneDoNotConvertLengths) {
    TVDDocParameters params;
    params.Units = vduMillimeters;
    EXPECT_EQ(Written([&](rtl::TStream &s) { params.SaveToVDF(s); }), "Units=2\r\n");
    EXPECT_NEAR(static_cast<double>(params.PageWidth), 8.2677165354, 1e-12);
    TVDDocParameters converted;
    converted.ConvertToUnits(vduMillimeters);
    EXPECT_NEAR(static_cast<double>(converted.PageWidth), 210.0, 1e-6);
    EXPECT_NE(Written([&](rtl::TStream &s) {
                  converted.SaveToVDF(s);
              }).find("PageWidth=209.99999999916\r\n"),
              std::string::npos);
    EXPECT_EQ(converted.ToTwips(converted.PageWidth), 11906);
}

TEST(DocParameters, OrientationZoomAndFlagLines) {
    TVDDocParameters params;
    params.Orientation = poLandscape;
    params.ZoomPercent = 75;
    EXPECT_EQ(Written([&](rtl::TStream &s) { params.SaveToVDF(s); }),
              "Orientation=1\r\nZoomPercent=75\r\n");
    params.ZoomMode = vdzmFullPage;
    params.MirrorMargins = true;
    EXPECT_EQ(Written([&](rtl::TStream &s) { params.SaveToVDF(s); }),
              "Orientation=1\r\nZoomMode=0\r\nMirrorMargins=1\r\n");
    EXPECT_EQ(params.GetVDFLineCount(), 3);
}

TEST(DocParameters, NumbersUseAPointWhateverTheLocale) {
    TVDDocParameters params;
    params.PageWidth = 8.5L;
    const std::string lines = Written([&](rtl::TStream &s) { params.SaveToVDF(s); });
    EXPECT_EQ(lines, "PageWidth=8.5\r\n");
    TVDDocParameters read;
    read.ReadProperyFromString("PageWidth=8.5", true);
    EXPECT_EQ(read.PageWidth, 8.5L);
}

TEST(DocParameters, ReadingLines) {
    TVDDocParameters params;
    params.ReadProperyFromString("MirrorMargins=2", true);
    EXPECT_TRUE(params.MirrorMargins);
    params.TitlePage = true;
    params.ReadProperyFromString("TitlePage=0", true);
    EXPECT_FALSE(params.TitlePage);
    params.ReadProperyFromString("Unknown=5", true);
    params.ReadProperyFromString("no equals sign", true);
    EXPECT_TRUE(params.MirrorMargins);
    params.ReadProperyFromString("Author=\xD0\x90\x01\x02x", true);
    EXPECT_EQ(params.Author, u"А\r\nx");
    EXPECT_THROW(params.ReadProperyFromString("ZoomPercent=abc", true), rtl::EConvertError);
    EXPECT_THROW(params.ReadProperyFromString("PageWidth=8,5", true), rtl::EConvertError);
}

TEST(DocParameters, OutOfRangeEnumerationsFailTheRead) {
    for (const char *line : {"Units=6", "Units=-1", "Orientation=2", "ZoomMode=3"}) {
        TVDDocParameters params;
        EXPECT_THROW(params.ReadProperyFromString(line, true), EViziVoduError) << line;
        EXPECT_TRUE(params.AreAllValuesDefault()) << line;
    }
}

TEST(DocParameters, DocxForms) {
    TVDDocParameters params;
    params.Comments = u"a\r\nb_x";
    params.Author = u"<me>";
    EXPECT_EQ(Written([&](rtl::TStream &s) { params.SaveOOXMLCoreProperties(s); }),
              "<dc:creator>&lt;me&gt;</dc:creator><dc:description>a_x000d_b_x005f_x"
              "</dc:description>");
    params.Orientation = poLandscape;
    params.TitlePage = true;
    EXPECT_EQ(Written([&](rtl::TStream &s) { params.SaveOOXMLSectionProperties(s); }),
              "<w:pgSz w:w=\"11906\" w:h=\"16838\" w:orient=\"landscape\"/><w:pgMar "
              "w:top=\"1440\" w:right=\"1800\" w:bottom=\"1440\" w:left=\"1800\" "
              "w:header=\"720\" w:footer=\"720\" w:gutter=\"0\"/><w:titlePg/>");
    params.ZoomMode = vdzmPageWidth;
    EXPECT_EQ(Written([&](rtl::TStream &s) { params.SaveOOXMLDocumentSettings(s); }),
              "<w:zoom w:val=\"bestFit\" w:percent=\"100\"/>");
}

TEST(FloatingBox, DefaultsWriteNothing) {
    TVDBoxProperties box;
    TVDBoxPosition position;
    EXPECT_EQ(box.GetChangedPropertyCount(), 0);
    EXPECT_EQ(position.GetChangedPropertyCount(), 0);
    EXPECT_EQ(Written([&](rtl::TStream &s) { box.SaveVDFExtraProperties(s); }), "");
    EXPECT_EQ(Written([&](rtl::TStream &s) { position.SaveVDFExtraProperties(s); }), "");
    EXPECT_EQ(box.GetBorder().Style, vdbSingle);
    EXPECT_EQ(box.GetBackground().Color, gfx::clWindow);
    EXPECT_EQ(box.HeightType, vdbhtAuto);
    EXPECT_TRUE(position.RelativeToCell);
    EXPECT_EQ(position.HorizontalPositionKind, vdfpkAbsPosition);
}

TEST(FloatingBox, KeysSetOneProperty) {
    TVDBoxProperties box;
    EXPECT_TRUE(box.SetExtraCustomProperty("boxopacity", u"50000"));
    EXPECT_EQ(box.GetBackground().Opacity, 50000);
    TVDReformatType reformat = vdrfNone;
    EXPECT_TRUE(box.GetExtraIntPropertyReformat(622, reformat));
    EXPECT_EQ(reformat, vdrfSVDRepaint);
    EXPECT_TRUE(box.GetExtraIntPropertyReformat(600, reformat));
    EXPECT_EQ(reformat, vdrfSVDReformat);
    EXPECT_EQ(box.GetChangedPropertyCount(), 1);
    EXPECT_EQ(Written([&](rtl::TStream &s) { box.SaveVDFExtraProperties(s); }),
              "boxopacity=50000\r\n");
    EXPECT_FALSE(box.SetExtraCustomProperty("boxopacityx", u"1"));
    EXPECT_FALSE(box.SetExtraCustomProperty("opacity", u"1"));
    EXPECT_FALSE(box.SetExtraCustomProperty("boxwidth", u"wide"));    // not a number
    EXPECT_FALSE(box.SetExtraCustomProperty("boxborderstyle", u"9")); // no such style
    EXPECT_EQ(box.GetBorder().Style, vdbSingle);

    TVDBoxPosition position;
    EXPECT_TRUE(position.SetExtraCustomProperty("boxreltocell", u"0"));
    EXPECT_TRUE(position.SetExtraCustomProperty("boxhoffs", u"-20"));
    EXPECT_TRUE(position.SetExtraCustomProperty("boxhalign", u"2"));
    EXPECT_EQ(Written([&](rtl::TStream &s) { position.SaveVDFExtraProperties(s); }),
              "boxhalign=2\r\nboxhoffs=-20\r\nboxreltocell=0\r\n");
    EXPECT_FALSE(position.SetExtraCustomProperty("boxvanchor", u"6"));
}

TEST(FloatingBox, LinesFollowTheirOrder) {
    TVDBoxProperties box;
    box.SetExtraIntPropertyEx(620, 1);
    box.SetExtraIntPropertyEx(621, 2);
    box.SetExtraIntPropertyEx(600, 7);
    box.SetExtraIntPropertyEx(622, 3);
    box.SetExtraIntPropertyEx(616, 0);
    EXPECT_EQ(Written([&](rtl::TStream &s) { box.SaveVDFExtraProperties(s); }),
              "boxwidth=7\r\nboxcontentvalign=2\r\nboxcolor=0\r\nboxopacity=3\r\n"
              "boxpadding_bottom=1\r\n");
    EXPECT_EQ(box.GetChangedPropertyCount(), 5);
    TVDBoxProperties copy;
    copy.Assign(box);
    EXPECT_EQ(copy.VAlign, tlBottom);
    EXPECT_EQ(copy.GetChangedPropertyCount(), 5);
}

TEST(FloatingBox, InnerSpace) {
    TVDStyle style(nullptr);
    TVDBoxProperties box;
    EXPECT_EQ(box.GetTotalLeftPadding(style), 11);
    EXPECT_EQ(box.GetTotalRightPadding(style), 11);
    EXPECT_EQ(box.GetTotalTopPadding(style), 6);
    EXPECT_EQ(box.GetTotalBottomPadding(style), 6);
    EXPECT_EQ(box.GetMinWidth(style), 22);
    box.GetBackground().GetBorderOffsets().Left = -30; // counts as 0
    box.GetBorder().GetBorderOffsets().Left = -30;
    EXPECT_EQ(box.GetTotalLeftPadding(style), 1);
    box.GetBackground().GetBorderOffsets().Top = 20;
    EXPECT_EQ(box.GetTotalTopPadding(style), 20);
    const rtl::TRect inner = box.GetInternalRect(rtl::TRect{0, 0, 100, 100}, style);
    EXPECT_EQ(inner.Left, 1);
    EXPECT_EQ(inner.Top, 20);
    EXPECT_EQ(inner.Right, 89);
    EXPECT_EQ(inner.Bottom, 94);
}

TEST(FloatingBox, UnitConversionLeavesRelativeValues) {
    TVDStyle style(nullptr);
    TVDBoxProperties box;
    box.WidthType = vdbwtRelPage;
    box.Width = 50000;
    box.HeightType = vdbhtAbsolute;
    box.Height = 96;
    box.ConvertToDifferentUnits(vdstuTwips, &style);
    EXPECT_EQ(box.Width, 50000);
    EXPECT_EQ(box.Height, 1440);
    TVDBoxPosition position;
    position.HorizontalPositionKind = vdfpkPercentPosition;
    position.HorizontalOffset = 30000;
    position.VerticalOffset = 48;
    position.ConvertToDifferentUnits(vdstuTwips, &style);
    EXPECT_EQ(position.HorizontalOffset, 30000);
    EXPECT_EQ(position.VerticalOffset, 720);
}
