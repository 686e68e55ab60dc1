// The viewer's root document answering from its control: the settings kept by the control,
// the callbacks of reading and saving (hyperlinks read and written, pictures imported and
// saved, items saved by the program), the hint of what the mouse is over, the style maps of
// nested readings; and the hint attribute of each output format.
#include "vizivodu/layout/viewer/VDVDData.h"

#include "tests/vizivodu/LayoutTestSupport.h"
#include "vizivodu/document/VDDocParams.h"
#include "vizivodu/formats/common/VDFuncs_RTF.h"
#include "vizivodu/layout/viewer/ViziVodu.h"

#include "platform/gfx/Bitmap.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/StrUtils.h"
#include "platform/ui/Application.h"
#include "platform/ui/Forms.h"

#include <gtest/gtest.h>

using namespace vizivodu;

namespace {

class RootData : public ::testing::Test {
protected:
    RootData() : Form(nullptr) {
        View = new TViziVodu(&Form);
        View->SetStyle(&Style);
        View->SetBounds(0, 0, 120, 100);
        View->SetParent(&Form);
    }

    TViziVoduVDData &Data() { return View->GetVDData(); }

    test::TLayoutStyle Style;
    ui::TForm Form;
    TViziVodu *View;
};

} // namespace

TEST_F(RootData, SettingsAreTheControlsFromCreationOn) {
    EXPECT_EQ(Data().GetVDFOptions(),
              (TVDFOptions{vdfoSavePicturesBody, vdfoSaveControlsBody, vdfoSaveBinary,
                           vdfoSaveDocProperties, vdfoLoadDocProperties}));
    EXPECT_EQ(Data().GetRTFOptions(), (TVDRTFOptions{vdrtfDuplicateUnicode, vdrtfSaveEMFAsWMF,
                                                     vdrtfSaveJpegAsJpeg, vdrtfSavePngAsPng}));
    EXPECT_EQ(Data().GetVDFWarnings(), TVDFWarnings{});
    EXPECT_EQ(Data().GetVDFTextStylesReadMode(), vdf_sInsertMerge);
    EXPECT_EQ(Data().GetVDFParaStylesReadMode(), vdf_sInsertMerge);
    EXPECT_EQ(Data().StyleTemplateInsertMode(), vdstimUseTargetFormatting);
    EXPECT_EQ(Data().GetNoteText(), u"?");
    EXPECT_EQ(View->LiveSpellingMode, vdlspManualStart);
    EXPECT_TRUE(Data().CanLoadLayout());
    Data().SetVDFWarnings({vdfwConvUnits});
    EXPECT_EQ(View->VDFWarnings, TVDFWarnings{vdfwConvUnits});
    Data().SetRTFOptions({vdrtfSaveStyleSheet});
    EXPECT_EQ(View->RTFOptions, TVDRTFOptions{vdrtfSaveStyleSheet});
    View->NoteText = u"*";
    EXPECT_EQ(Data().GetNoteText(), u"*");
    View->SetCursor(ui::crHandPoint);
    EXPECT_EQ(Data().GetNormalCursor(), ui::crHandPoint);
    View->GetDocProperties().Add(u"Author=me");
    ASSERT_NE(Data().GetDocProperties(), nullptr);
    EXPECT_EQ(Data().GetDocProperties()->GetCount(), 1);
}

TEST_F(RootData, DocumentParametersAppearOnlyWhenAskedToMakeThem) {
    EXPECT_EQ(Data().GetDocParameters(false), nullptr);
    TVDDocParameters *made = Data().GetDocParameters(true);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(Data().GetDocParameters(false), made);
    TVDDocParameters other;
    other.TopMargin = 3;
    View->SetDocParameters(&other);
    EXPECT_EQ(View->GetDocParameters()->TopMargin, 3);
    View->SetDocParameters(nullptr);
    EXPECT_FALSE(View->DocParametersAssigned());
}

TEST_F(RootData, AHyperlinkReadOverABulletOrAPictureBecomesHotAndTakesTheTargetAsItsTag) {
    struct TCase {
        int32_t StyleNo, Hot;
    };
    for (const TCase &c : {TCase{StyleNoBullet, StyleNoHotspot},
                           TCase{StyleNoPicture, StyleNoHotPicture}, TCase{3, 3}}) {
        int32_t styleNo = c.StyleNo;
        TVDTag tag;
        TVDRawByteString name = "x";
        Data().ReadHyperlink(u"http://a", u"", vdlfRTF, styleNo, tag, name);
        EXPECT_EQ(styleNo, c.Hot);
        EXPECT_EQ(tag, u"http://a");
    }
    // A handler decides instead.
    View->OnReadHyperlink = [](ui::TComponent *, const rtl::UnicodeString &target,
                               const rtl::UnicodeString &, TVDLoadFormat format, int32_t &styleNo,
                               TVDTag &tag, TVDRawByteString &) {
        EXPECT_EQ(format, vdlfHTML);
        tag = u"#" + target;
        styleNo = 1;
    };
    int32_t styleNo = StyleNoPicture;
    TVDTag tag;
    TVDRawByteString name;
    Data().ReadHyperlink(u"t", u"", vdlfHTML, styleNo, tag, name);
    EXPECT_EQ(styleNo, 1);
    EXPECT_EQ(tag, u"#t");
}

TEST_F(RootData, AWrittenHyperlinkTargetsTheHandlersTheURLsOrTheItemsTag) {
    View->AddNL(u"link", 0, 0);
    Data().GetItem(0)->Tag = u"tagged";
    Data().GetItem(0)->Hint = u"Say \"hi\"";
    rtl::UnicodeString target, extras;
    Data().WriteHyperlink(5, &Data(), 0, vdsfHTML, target, extras);
    EXPECT_EQ(target, u"tagged");
    EXPECT_EQ(extras, u"title=\"Say &quot;hi&quot;\"");
    View->OnURLNeeded = [](ui::TComponent *, int32_t id, rtl::UnicodeString &url) {
        url = u"url" + rtl::IntToStr(id);
    };
    Data().WriteHyperlink(5, &Data(), 0, vdsfRTF, target, extras);
    EXPECT_EQ(target, u"url5");
    EXPECT_EQ(extras, u"\\o \"Say 'hi'\"");
    View->OnWriteHyperlink = [](ui::TComponent *, int32_t, TCustomVDData *, int32_t, TVDSaveFormat,
                                rtl::UnicodeString &t, rtl::UnicodeString &e) {
        t = u"mine";
        e += u"!";
    };
    Data().WriteHyperlink(5, &Data(), 0, vdsfText, target, extras);
    EXPECT_EQ(target, u"mine");
    EXPECT_EQ(extras, u"Say \"hi\"!");
}

TEST(HintAttribute, EachFormatWritesTheHintItsOwnWay) {
    struct TCase {
        TVDSaveFormat Format;
        const char16_t *Hint, *Expected;
    };
    for (const TCase &c : {
             TCase{vdsfHTML, u"", u""},
             TCase{vdsfHTML, u"a<b & \"c\"  d", u"title=\"a&lt;b &amp; &quot;c&quot;&nbsp; d\""},
             TCase{vdsfHTML, u"x\ty", u"title=\"x?y\""},
             TCase{vdsfRTF, u"say \"so\"", u"\\o \"say 'so'\""},
             TCase{vdsfDocX, u"a  <b>", u"w:tooltip=\"a  &lt;b&gt;\""},
             TCase{vdsfText, u"plain <x>", u"plain <x>"},
         }) {
        EXPECT_EQ(MakeHintAttribute(c.Format, c.Hint), c.Expected) << int(c.Format);
    }
}

TEST_F(RootData, ImportingAPictureReportsTheHandlersVerdictOnce) {
    bool invalid = true;
    EXPECT_EQ(Data().ImportPicture(u"a.png", 0, 0, invalid), nullptr);
    EXPECT_TRUE(invalid); // left as it was without a handler
    View->OnImportPicture = [this](ui::TComponent *, const rtl::UnicodeString &location, int32_t,
                                   int32_t, std::unique_ptr<gfx::TGraphic> &graphic) {
        graphic = std::make_unique<gfx::TBitmap>(2, 2);
        View->CurPictureInvalid = location == u"bad";
    };
    std::unique_ptr<gfx::TGraphic> picture = Data().ImportPicture(u"bad", 0, 0, invalid);
    EXPECT_NE(picture, nullptr);
    EXPECT_TRUE(invalid);
    EXPECT_FALSE(View->CurPictureInvalid);
    Data().ImportPicture(u"good", 0, 0, invalid);
    EXPECT_FALSE(invalid);
}

TEST_F(RootData, AnItemSavedByTheProgramIsNotSavedAgain) {
    TVDRawByteString text;
    EXPECT_FALSE(Data().SaveItemToFile(u"p", &Data(), 0, vdsfHTML, false, text));
    View->OnSaveItemToFile = [](ui::TComponent *, const rtl::UnicodeString &, TCustomVDData *,
                                int32_t itemNo, TVDSaveFormat, bool, TVDRawByteString &out,
                                bool &doDefault) {
        out = "<own/>";
        doDefault = itemNo != 0;
    };
    EXPECT_TRUE(Data().SaveItemToFile(u"p", &Data(), 0, vdsfHTML, false, text));
    EXPECT_EQ(text, "<own/>");
    EXPECT_FALSE(Data().SaveItemToFile(u"p", &Data(), 1, vdsfHTML, false, text));
}

TEST_F(RootData, TheStyleSheetTellsTheSavedItemOnlyDuringTheEventEvenWhenItFails) {
    View->AddNL(u"a", 0, 0);
    TCustomVDData *seen = nullptr;
    int32_t seenItem = -2;
    View->OnSaveImage2 = [&](ui::TComponent *, gfx::TGraphic *, TVDSaveFormat,
                             const rtl::UnicodeString &, const rtl::UnicodeString &, int32_t &,
                             rtl::UnicodeString &, bool &doDefault) {
        seen = dynamic_cast<TCustomVDData *>(Style.VDData);
        seenItem = Style.ItemNo;
        EXPECT_TRUE(doDefault);
        throw rtl::Exception(u"disk full");
    };
    int32_t saveNo = 0;
    rtl::UnicodeString location;
    bool doDefault = false;
    EXPECT_THROW(
        Data().SaveImage2(&Data(), 0, nullptr, vdsfHTML, u"", u"img", saveNo, location, doDefault),
        rtl::Exception);
    EXPECT_EQ(seen, &Data());
    EXPECT_EQ(seenItem, 0);
    EXPECT_EQ(Style.VDData, nullptr);
    EXPECT_EQ(Style.ItemNo, -1);
}

TEST_F(RootData, AHintIsShownAtOnceWhenItChangesAndHiddenWhenEmpty) {
    Data().SetControlHint(u"first");
    EXPECT_EQ(View->GetHint(), u"first");
    EXPECT_EQ(ui::Application->GetShownHintForTesting(), u"first");
    Data().SetControlHint(u"second");
    EXPECT_EQ(ui::Application->GetShownHintForTesting(), u"second");
    Data().SetControlHint(u"");
    EXPECT_EQ(View->GetHint(), u"");
    EXPECT_EQ(ui::Application->GetShownHintForTesting(), u"");
}

TEST_F(RootData, NestedReadingsShareTheStyleMapsUntilTheLastIsDone) {
    TVDIntegerList *text = nullptr, *para = nullptr, *list = nullptr;
    TVDStyleUnits *units = nullptr;
    Data().InitStyleMappings(text, para, list, units);
    text->Add(7);
    TVDIntegerList *text2 = nullptr, *para2 = nullptr, *list2 = nullptr;
    TVDStyleUnits *units2 = nullptr;
    Data().InitStyleMappings(text2, para2, list2, units2);
    EXPECT_EQ(text2, text);
    Data().DoneStyleMappings();
    EXPECT_EQ((*text)[0], 7); // still there
    Data().DoneStyleMappings();
    Data().InitStyleMappings(text, para, list, units);
    EXPECT_EQ(text->GetCount(), 0); // made anew
    Data().DoneStyleMappings();
}

TEST_F(RootData, StyleTemplateChangesReachTheEventAndTheHandlers) {
    std::string calls;
    View->OnStyleTemplatesChange = [&](ui::TComponent *) { calls += "event "; };
    View->RegisterStyleTemplatesChangeHandler(&Form, [&](ui::TComponent *) { calls += "handler"; });
    Data().DoStyleTemplatesChange();
    EXPECT_EQ(calls, "event handler");
    View->UnregisterStyleTemplatesChangeHandler(&Form);
}
