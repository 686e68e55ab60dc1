// The viewer control's item information, item options, list markers, style housekeeping, unit
// conversion and soft page breaks, through the control's own operations.
#include "vizivodu/layout/viewer/ViziVodu.h"

#include "tests/vizivodu/LayoutTestSupport.h"
#include "tests/vizivodu/layout/printing/PrintTestSupport.h"
#include "vizivodu/document/VDError.h"
#include "vizivodu/document/VDMarker.h"
#include "vizivodu/layout/viewer/VDVDData.h"
#include "vizivodu/styles/VDStyle_Lists.h"

#include "platform/gfx/Bitmap.h"
#include "platform/rtl/Exceptions.h"
#include "platform/ui/Forms.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

using namespace vizivodu;

namespace {

class ViewerItemApi : public ::testing::Test {
protected:
    ViewerItemApi() : Form(nullptr) {
        View = new TViziVodu(&Form);
        View->SetStyle(&Style);
        View->SetBounds(0, 0, 200, 100);
        View->SetParent(&Form);
        View->AddNL(u"text", 0, 0);                                        // 0
        View->AddBreakEx(2, vdbsDotted, gfx::clRed);                       // 1
        View->AddPictureEx("pic", std::make_unique<gfx::TBitmap>(8, 8), 0, // 2
                           vdvaBaseline);
        View->AddNL(u"more", 0, 0); // 3
    }

    test::TLayoutStyle Style;
    ui::TForm Form;
    TViziVodu *View;
};

TEST_F(ViewerItemApi, InformationOfAnotherKindOfItemIsRefused) {
    const struct {
        const char *name;
        int32_t itemNo;
        std::function<void(TViziVodu &, int32_t)> call;
    } cases[] = {
        {"picture of text", 0,
         [](TViziVodu &v, int32_t i) {
             TVDAnsiString name;
             gfx::TGraphic *gr = nullptr;
             TVDVAlign va;
             TVDTag tag;
             v.GetPictureInfo(i, name, gr, va, tag);
         }},
        {"break of a picture", 2,
         [](TViziVodu &v, int32_t i) {
             TVDStyleLength w;
             TVDBreakStyle s;
             TColor c;
             TVDTag tag;
             v.GetBreakInfo(i, w, s, c, tag);
         }},
        {"control of a break", 1,
         [](TViziVodu &v, int32_t i) {
             TVDAnsiString name;
             ui::TControl *ctrl = nullptr;
             TVDVAlign va;
             TVDTag tag;
             v.GetControlInfo(i, name, ctrl, va, tag);
         }},
        {"bullet of text", 3,
         [](TViziVodu &v, int32_t i) {
             TVDAnsiString name;
             int32_t index;
             gfx::TCustomImageList *il = nullptr;
             TVDTag tag;
             v.GetBulletInfo(i, name, index, il, tag);
         }},
        {"hotspot of a picture", 2,
         [](TViziVodu &v, int32_t i) {
             TVDAnsiString name;
             int32_t index, hot;
             gfx::TCustomImageList *il = nullptr;
             TVDTag tag;
             v.GetHotspotInfo(i, name, index, hot, il, tag);
         }},
    };
    for (const auto &c : cases) {
        try {
            c.call(*View, c.itemNo);
            ADD_FAILURE() << c.name << ": no error";
        } catch (const rtl::Exception &e) {
            EXPECT_EQ(e.Message(), errmsg::WrongItemClass) << c.name;
        }
    }
}

TEST_F(ViewerItemApi, InformationRoundTripsThroughTheControl) {
    View->SetBreakInfo(1, 3, vdbsDashed, gfx::clBlue, TVDTag(u"b"));
    TVDStyleLength width = 0;
    TVDBreakStyle style = vdbsLine;
    TColor color = gfx::clNone;
    TVDTag tag;
    View->GetBreakInfo(1, width, style, color, tag);
    EXPECT_EQ(width, 3);
    EXPECT_EQ(style, vdbsDashed);
    EXPECT_EQ(color, gfx::clBlue);
    EXPECT_EQ(tag, TVDTag(u"b"));

    EXPECT_TRUE(View->SetPictureInfo(2, "wide", std::make_unique<gfx::TBitmap>(20, 8), vdvaMiddle,
                                     TVDTag(u"p")));
    TVDAnsiString name;
    gfx::TGraphic *gr = nullptr;
    TVDVAlign vAlign = vdvaBaseline;
    View->GetPictureInfo(2, name, gr, vAlign, tag);
    EXPECT_EQ(name, "wide");
    ASSERT_NE(gr, nullptr);
    EXPECT_EQ(gr->GetWidth(), 20);
    EXPECT_EQ(vAlign, vdvaMiddle);

    TVDUnicodeString text;
    View->GetTextInfo(3, text, tag);
    EXPECT_EQ(text, u"more");
}

TEST_F(ViewerItemApi, ExtraPropertiesByNumberAnswerWhetherTheItemHasThem) {
    const struct {
        int32_t itemNo;
        TVDExtraItemProperty prop;
        bool supported;
    } cases[] = {{2, vdepSpacing, true},
                 {2, vdepImageWidth, true},
                 {0, vdepSpacing, false},
                 {1, vdepImageWidth, false}};
    for (const auto &c : cases) {
        EXPECT_EQ(View->SetItemExtraIntPropertyEx(c.itemNo, int32_t(c.prop), 6), c.supported)
            << c.itemNo << " " << int(c.prop);
        int32_t value = -1;
        EXPECT_EQ(View->GetItemExtraIntPropertyEx(c.itemNo, int32_t(c.prop), value), c.supported);
        if (c.supported) {
            EXPECT_EQ(value, 6);
        }
    }
    EXPECT_TRUE(View->SetItemExtraStrPropertyEx(2, int32_t(vdespAlt), u"a picture"));
    rtl::UnicodeString alt;
    EXPECT_TRUE(View->GetItemExtraStrPropertyEx(2, int32_t(vdespAlt), alt));
    EXPECT_EQ(alt, u"a picture");
}

TEST_F(ViewerItemApi, ClearingSidesIsSetPerItem) {
    const struct {
        bool left, right;
    } cases[] = {{true, false}, {false, true}, {true, true}, {false, false}};
    for (const auto &c : cases) {
        View->SetClearLeft(3, c.left);
        View->SetClearRight(3, c.right);
        EXPECT_EQ(View->GetClearLeft(3), c.left);
        EXPECT_EQ(View->GetClearRight(3), c.right);
        EXPECT_FALSE(View->GetClearLeft(0));
    }
}

TEST_F(ViewerItemApi, ListMarkersAreSetReadRemovedAndRefreshed) {
    TVDListInfo &list = Style.GetListStyles().Add();
    TVDListLevel &level = list.GetLevels().Add();
    level.SetListType(vdlstDecimal);
    level.SetFormatString(u"%0:s.");
    const int32_t listIndex = Style.GetListStyles().GetCount() - 1;
    View->Clear();
    for (int i = 0; i < 2; ++i) {
        View->SetListMarkerInfo(-1, listIndex, 0, 1, 0, false);
        View->AddNL(u"item", 0, -1);
    }
    int32_t listNo = -1, listLevel = -1, startFrom = 0;
    bool useStartFrom = true;
    EXPECT_EQ(View->GetListMarkerInfo(2, listNo, listLevel, startFrom, useStartFrom), 2);
    EXPECT_EQ(listNo, listIndex);
    EXPECT_FALSE(useStartFrom);
    TVDMarkerList &markers = *View->GetVDData().GetMarkers(false);
    EXPECT_EQ(markers.Get(1)->DisplayString, u"2.");

    level.SetFormatString(u"(%0:s)");
    View->RefreshListMarkers();
    EXPECT_EQ(markers.Get(1)->DisplayString, u"(2)");

    View->RemoveListMarker(3);
    ASSERT_EQ(View->ItemCount(), 3);
    EXPECT_EQ(View->GetListMarkerInfo(2, listNo, listLevel, startFrom, useStartFrom), -1);
    EXPECT_EQ(View->GetListMarkerInfo(1, listNo, listLevel, startFrom, useStartFrom), 0);
}

TEST_F(ViewerItemApi, RefreshingWithoutListsChangesNothing) {
    View->RefreshListMarkers();
    View->RefreshSequences();
    EXPECT_EQ(View->GetVDData().GetMarkers(false), nullptr);
}

TEST_F(ViewerItemApi, UnusedStylesAreDeleted) {
    TFontInfos &texts = Style.GetTextStyles();
    const int32_t before = texts.GetCount();
    texts.Add().SetStandard(false);
    View->DeleteUnusedStyles(true, false, false);
    EXPECT_LT(texts.GetCount(), before + 1);
    EXPECT_EQ(View->GetItemStyle(0), 0);
}

TEST_F(ViewerItemApi, ConvertingUnitsConvertsItemsAndTheStyleSheetOnce) {
    ASSERT_EQ(Style.GetUnits(), vdstuPixels);
    View->ConvertDocToTwips();
    EXPECT_EQ(Style.GetUnits(), vdstuTwips);
    TVDStyleLength width = 0;
    TVDBreakStyle style;
    TColor color;
    TVDTag tag;
    View->GetBreakInfo(1, width, style, color, tag);
    EXPECT_EQ(width, 30); // two pixels at 96 dpi
    View->ConvertDocToTwips();
    View->GetBreakInfo(1, width, style, color, tag);
    EXPECT_EQ(width, 30);
    View->ConvertDocToPixels();
    View->GetBreakInfo(1, width, style, color, tag);
    EXPECT_EQ(width, 2);
    EXPECT_EQ(Style.GetUnits(), vdstuPixels);
}

TEST_F(ViewerItemApi, WithoutAStyleSheetUnitsStayAsTheyAre) {
    TViziVodu bare(nullptr);
    bare.AddBreakEx(2, vdbsLine, gfx::clRed);
    bare.ConvertDocToTwips();
    TVDStyleLength width = 0;
    TVDBreakStyle style;
    TColor color;
    TVDTag tag;
    bare.GetBreakInfo(0, width, style, color, tag);
    EXPECT_EQ(width, 2);
}

TEST(ViewerSoftPageBreaks, ComeFromThePrintingComponentAndGoAgain) {
    test::TPrintFixture f;
    for (int i = 0; i < 200; ++i) {
        f.Source.AddNL(u"Line of text number " + rtl::Utf8ToUtf16(std::to_string(i)), 0, 0);
    }
    ASSERT_EQ(f.Paginate(), 5);
    f.Source.AssignSoftPageBreaks(&f.Print);
    ASSERT_NE(f.Source.GetVDData().GetSoftPageBreaks(), nullptr);
    EXPECT_EQ(f.Source.GetVDData().GetSoftPageBreaks()->size(), 4u);
    EXPECT_EQ(f.Source.GetVDData().GetSoftPageBreaks()->front().ItemNo, 48);
    f.Source.ClearSoftPageBreaks();
    EXPECT_EQ(f.Source.GetVDData().GetSoftPageBreaks(), nullptr);
}

TEST(ViewerSoftPageBreaks, AnotherComponentIsAnInvalidCast) {
    TViziVodu view(nullptr);
    ui::TForm other(nullptr);
    try {
        view.AssignSoftPageBreaks(&other);
        ADD_FAILURE() << "no error";
    } catch (const rtl::EInvalidCast &e) {
        EXPECT_EQ(e.Message(), u"Invalid class typecast");
    }
}

} // namespace
