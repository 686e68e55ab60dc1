// The viewer control's API where it adds to the root document's operations: properties by
// identifier, client and document coordinates, hit tests at client points, searching with
// option sets, checkpoint positions by number.
#include "vizivodu/layout/viewer/ViziVodu.h"

#include "tests/vizivodu/LayoutTestSupport.h"
#include "vizivodu/document/VDDocParams.h"
#include "vizivodu/layout/viewer/VDVDData.h"

#include "platform/rtl/CodePages.h"
#include "platform/ui/Forms.h"

#include <gtest/gtest.h>

using namespace vizivodu;

namespace {

class ViewerApi : public ::testing::Test {
protected:
    ViewerApi() : Form(nullptr) {
        Form.SetClientWidth(300);
        Form.SetClientHeight(200);
        View = new TViziVodu(&Form);
        View->SetStyle(&Style);
        View->SetBounds(0, 0, 200, 100);
        View->SetParent(&Form);
    }

    test::TLayoutStyle Style;
    ui::TForm Form;
    TViziVodu *View;
};

} // namespace

TEST_F(ViewerApi, LengthPropertiesHaveDefaultsWithoutMakingDocumentParameters) {
    const struct {
        TVDFloatProperty prop;
        TVDLength def;
    } cases[] = {{vdfpDPLeftMargin, 1.25L}, {vdfpDPRightMargin, 1.25L}, {vdfpDPTopMargin, 1},
                 {vdfpDPBottomMargin, 1},   {vdfpDPHeaderY, 0.5L},      {vdfpDPFooterY, 0.5L}};
    for (const auto &c : cases) {
        EXPECT_EQ(View->GetFloatProperty(c.prop), c.def) << int(c.prop);
    }
    EXPECT_FALSE(View->DocParametersAssigned());
    View->SetFloatProperty(vdfpDPHeaderY, 0.75L);
    ASSERT_TRUE(View->DocParametersAssigned());
    EXPECT_EQ(View->GetDocParameters()->HeaderY, 0.75L);
    EXPECT_EQ(View->GetFloatProperty(vdfpDPHeaderY), 0.75L);
    EXPECT_EQ(View->GetFloatProperty(vdfpDPLeftMargin), 1.25L);
}

TEST_F(ViewerApi, IntegerPropertiesReachTheirSettings) {
    const struct {
        TVDIntProperty prop;
        int32_t value;
    } cases[] = {
        {vdipLeftMargin, 20},
        {vdipRightMargin, 7},
        {vdipTopMargin, 3},
        {vdipBottomMargin, 9},
        {vdipMaxTextWidth, 500},
        {vdipMinTextWidth, 40},
        {vdipBackgroundStyle, int32_t(bsTiled)},
        {vdipColor, int32_t(gfx::clYellow)},
        {vdipDPUnits, int32_t(vduMillimeters)},
        {vdipDPOrientation, int32_t(poLandscape)},
        {vdipDPTitlePage, 1},
        {vdipDPFacingPages, 1},
        {vdipDPMirrorMargins, 1},
    };
    for (const auto &c : cases) {
        View->SetIntProperty(c.prop, c.value);
        EXPECT_EQ(View->GetIntProperty(c.prop), c.value) << int(c.prop);
    }
    EXPECT_EQ(View->LeftMargin, 20);
    EXPECT_EQ(View->GetBackgroundStyle(), bsTiled);
    EXPECT_EQ(View->GetDocParameters()->Units, vduMillimeters);
    EXPECT_TRUE(View->GetDocParameters()->MirrorMargins);
}

TEST_F(ViewerApi, DocumentParameterValuesAreZeroWithoutParameters) {
    for (TVDIntProperty p : {vdipDPUnits, vdipDPOrientation, vdipDPTitlePage, vdipDPFacingPages,
                             vdipDPMirrorMargins}) {
        EXPECT_EQ(View->GetIntProperty(p), 0) << int(p);
    }
    EXPECT_EQ(View->GetStrProperty(vdspDPAuthor), u"");
    EXPECT_FALSE(View->DocParametersAssigned());
    View->SetStrProperty(vdspDPAuthor, u"Иванов");
    View->SetStrProperty(vdspDPTitle, u"Отчёт");
    EXPECT_EQ(View->GetStrProperty(vdspDPAuthor), u"Иванов");
    EXPECT_EQ(View->GetDocParameters()->Title, u"Отчёт");
}

TEST_F(ViewerApi, AValueOutsideAnEnumerationChangesNothing) {
    View->SetIntProperty(vdipBiDiMode, 7);
    EXPECT_EQ(View->GetBiDiMode(), vdbdUnspecified);
    View->SetIntProperty(vdipBackgroundStyle, -1);
    EXPECT_EQ(View->GetBackgroundStyle(), bsNoBitmap);
    View->SetIntProperty(vdipDPUnits, 200);
    EXPECT_EQ(View->GetDocParameters()->Units, vduInches);
}

TEST_F(ViewerApi, TheBiDiModeChangesWithoutFormattingAndLeavesTheStateAsItWas) {
    View->AddNL(u"abc", 0, 0);
    View->Format();
    View->AddNL(u"added later", 0, 0); // not formatted yet
    View->SetIntProperty(vdipBiDiMode, vdbdRightToLeft);
    EXPECT_EQ(View->GetBiDiMode(), vdbdRightToLeft);
    EXPECT_EQ(View->GetItem(1)->DrawItemNo, -1); // nothing was formatted
    EXPECT_FALSE(View->GetVDData().State.Contains(vdstSkipFormatting));
    View->GetVDData().State.Include(vdstSkipFormatting);
    View->SetIntProperty(vdipBiDiMode, vdbdLeftToRight);
    EXPECT_TRUE(View->GetVDData().State.Contains(vdstSkipFormatting));
    View->GetVDData().State.Exclude(vdstSkipFormatting);
    View->Format();
    EXPECT_GE(View->GetItem(1)->DrawItemNo, 0);
}

TEST_F(ViewerApi, ClientPointsAndDocumentPointsDifferByTheScrollPosition) {
    for (int i = 0; i < 40; ++i) {
        View->AddNL(u"line", 0, 0);
    }
    View->Format();
    View->SetVPos(10, true);
    const int32_t vOffs = View->GetVDData().GetVOffs();
    ASSERT_GT(vOffs, 0);
    EXPECT_EQ(View->ClientToDocument({3, 4}), (rtl::TPoint{3, 4 + vOffs}));
    EXPECT_EQ(View->DocumentToClient(View->ClientToDocument({3, 4})), (rtl::TPoint{3, 4}));
    // The item under a client point is the one scrolled there.
    TCustomVDFormattedData *data = nullptr;
    int32_t itemNo = -1, offs = -1;
    ASSERT_TRUE(View->GetItemAt(10, 10, data, itemNo, offs, false));
    EXPECT_EQ(data, &View->GetVDData());
    int32_t left = 0, top = 0;
    View->GetItemCoords(itemNo, left, top);
    const rtl::TPoint itemTop = View->DocumentToClient({left, top});
    EXPECT_LE(itemTop.Y, 10);
    EXPECT_GT(itemTop.Y + 15, 10);
}

TEST_F(ViewerApi, SearchTakesItsOptionsFromTheSet) {
    View->AddNL(u"один два Два", 0, 0);
    View->Format();
    EXPECT_TRUE(View->SearchText(u"два", {vdsroFromStart, vdsroDown}));
    int32_t sn, en, so, eo;
    View->GetVDData().StoreSelBounds(sn, en, so, eo, false);
    EXPECT_EQ(so, 6);
    EXPECT_EQ(eo, 9);
    EXPECT_TRUE(
        View->SearchTextA(rtl::UnicodeToAnsi(u"Два", 1251), {vdsroFromStart, vdsroMatchCase}));
    View->GetVDData().StoreSelBounds(sn, en, so, eo, false);
    EXPECT_EQ(so, 13); // upwards: the caret at the start of the hit
    EXPECT_EQ(eo, 10);
    EXPECT_FALSE(View->SearchText(u"ДВ", {vdsroFromStart, vdsroDown, vdsroWholeWord}));
}

TEST_F(ViewerApi, ACheckpointsPositionIsFoundByItsNumber) {
    View->AddNL(u"a", 0, 0);
    View->AddNL(u"b", 0, 0);
    View->AddNamedCheckpoint(u"second");
    View->AddNL(u"c", 0, -1);
    View->Format();
    const TCheckpointData cp = View->FindCheckpointByName(u"second");
    ASSERT_NE(cp, nullptr);
    EXPECT_EQ(View->GetCheckpointY(View->GetCheckpointNo(cp)), View->GetCheckpointYEx(cp));
    EXPECT_GT(View->GetCheckpointY(0), 0);
}

// Words come back in the form asked for whatever form their item stores them in: UTF-16 items
// and 8-bit items of the document's code page (1251).
TEST_F(ViewerApi, WordsUnderThePointComeInTheFormAskedFor) {
    View->AddNL(u"мир peace", 0, 0);
    View->AddNLATag(TVDAnsiString("\xEC\xE8\xF0 war"), 0, 0, TVDTag{});
    View->Format();
    TViziVoduVDData &data = View->GetVDData();
    auto at = [&](int32_t itemNo, int32_t offs) {
        int32_t x = 0, top = 0, bottom = 0;
        data.GetCoordsOf(itemNo, offs, x, top, bottom);
        return gfx::TPoint{x + 2 - data.GetHOffs(), top + 4 - data.GetVOffs()};
    };
    for (int32_t itemNo : {0, 1}) {
        const gfx::TPoint p = at(itemNo, 2);
        EXPECT_EQ(View->GetWordAtW(p.X, p.Y), u"мир") << itemNo;
        EXPECT_EQ(View->GetWordAtA(p.X, p.Y), "\xEC\xE8\xF0") << itemNo;
    }
    EXPECT_EQ(View->GetWordAtW(150, 90), u"");
    // The selection forwarders speak for the root document.
    View->SetSelectionBounds(0, 1, 0, 4);
    EXPECT_TRUE(View->SelectionExists());
    EXPECT_EQ(View->GetSelText(), u"мир");
    EXPECT_EQ(View->GetSelTextA(), "\xEC\xE8\xF0");
    int32_t selects = 0;
    View->OnSelect = [&](ui::TComponent *) { ++selects; };
    View->Deselect();
    EXPECT_FALSE(View->SelectionExists());
    EXPECT_EQ(selects, 1);
}
