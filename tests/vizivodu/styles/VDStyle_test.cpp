// The style sheet: the default sheet, the graphic interface, main sheets, style lookups, hover,
// tab stops and the invalid picture.
#include "vizivodu/styles/VDStyle.h"

#include "platform/gfx/ImgList.h"
#include "platform/rtl/Exceptions.h"
#include "platform/ui/Cursors.h"
#include "tests/vizivodu/StyleTestSupport.h"
#include "vizivodu/VDStartup.h"
#include "vizivodu/layout/text/VDUniscribeGrIn.h"
#include "vizivodu/layout/text/VDWinGrIn.h"

#include <gtest/gtest.h>

#include <memory>

using namespace vizivodu;

TEST(VDStyle, DefaultSheetHasSixTextAndTwoParagraphStyles) {
    InitializeLibrary(); // loads the complex-script library
    TVDStyle sheet(nullptr);
    const TFontInfos &text = sheet.GetTextStyles();
    ASSERT_EQ(text.GetCount(), 6);
    struct TExpected {
        const char16_t *Name;
        gfx::TFontStyles Style;
        TColor Color;
        bool Jump;
    };
    const TExpected expected[] = {
        {u"Normal text", {}, gfx::clWindowText, false},
        {u"Heading", {gfx::fsBold}, 0xFF0000, false},
        {u"Subheading", {gfx::fsBold}, 0x800000, false},
        {u"Keywords", {gfx::fsItalic}, 0x000080, false},
        {u"Jump 1", {gfx::fsUnderline}, 0x008000, true},
        {u"Jump 2", {gfx::fsUnderline}, 0x008000, true},
    };
    for (int i = 0; i < 6; ++i) {
        const TFontInfo &s = text.GetItem(i);
        EXPECT_EQ(s.GetStyleName(), expected[i].Name) << i;
        EXPECT_EQ(s.GetStyle(), expected[i].Style) << i;
        EXPECT_EQ(s.GetColor(), expected[i].Color) << i;
        EXPECT_EQ(s.GetJump(), expected[i].Jump) << i;
        EXPECT_EQ(s.GetJumpCursor(), 101) << i;
        EXPECT_EQ(s.GetFontName(), u"Arial") << i;
        EXPECT_EQ(s.GetSizeDouble(), 20) << i;
        EXPECT_EQ(s.GetBackColor(), gfx::clNone) << i;
        EXPECT_EQ(s.GetCharset(), gfx::DEFAULT_CHARSET) << i;
        EXPECT_TRUE(s.GetUnicode()) << i;
        EXPECT_TRUE(s.GetStandard()) << i;
        EXPECT_EQ(s.GetNextStyleNo(), -1) << i;
    }
    const TParaInfos &para = sheet.GetParaStyles();
    ASSERT_EQ(para.GetCount(), 2);
    EXPECT_EQ(para.GetItem(0).GetStyleName(), u"Paragraph Style");
    EXPECT_EQ(para.GetItem(0).GetAlignment(), vdaLeft);
    EXPECT_EQ(para.GetItem(1).GetStyleName(), u"Centered");
    EXPECT_EQ(para.GetItem(1).GetAlignment(), vdaCenter);
    EXPECT_EQ(sheet.GetListStyles().GetCount(), 0);
    EXPECT_EQ(sheet.GetStyleTemplates().GetCount(), 0);
    EXPECT_EQ(sheet.GetUnits(), vdstuPixels);
    EXPECT_NE(dynamic_cast<TVDUniscribeGraphicInterface *>(&sheet.GetGraphicInterface()), nullptr);
}

TEST(VDStyle, PropertyDefaults) {
    TVDStyle sheet(nullptr);
    EXPECT_EQ(sheet.GetSpacesInTab(), 0);
    EXPECT_EQ(sheet.GetDefTabWidth(), 48);
    EXPECT_EQ(sheet.GetJumpCursor(), 101);
    EXPECT_EQ(sheet.GetLineSelectCursor(), 106);
    EXPECT_FALSE(sheet.GetFullRedraw());
    EXPECT_TRUE(sheet.GetUseSound());
    EXPECT_EQ(sheet.GetColor(), TColor(0xFF000005));
    EXPECT_EQ(sheet.GetHoverColor(), gfx::clNone);
    EXPECT_EQ(sheet.GetCurrentItemColor(), gfx::clNone);
    EXPECT_EQ(sheet.GetSelColor(), TColor(0xFF00000D));
    EXPECT_EQ(sheet.GetSelTextColor(), TColor(0xFF00000E));
    EXPECT_EQ(sheet.GetInactiveSelColor(), TColor(0xFF00000D));
    EXPECT_EQ(sheet.GetInactiveSelTextColor(), TColor(0xFF00000E));
    EXPECT_EQ(sheet.GetCheckpointColor(), 0x008000);
    EXPECT_EQ(sheet.GetCheckpointEvColor(), 0x00FF00);
    EXPECT_EQ(sheet.GetPageBreakColor(), TColor(0xFF000010));
    EXPECT_EQ(sheet.GetSoftPageBreakColor(), TColor(0xFF00000F));
    EXPECT_EQ(sheet.GetLiveSpellingColor(), 0x0000FF);
    EXPECT_EQ(sheet.GetFloatingLineColor(), 0xBDA28A);
    EXPECT_EQ(sheet.GetSpecialCharactersColor(), gfx::clNone);
    EXPECT_EQ(sheet.GetGridColor(), gfx::clBtnFace);
    EXPECT_EQ(sheet.GetGridReadOnlyColor(), gfx::clBtnFace);
    EXPECT_EQ(sheet.GetGridStyle(), gfx::psDot);
    EXPECT_EQ(sheet.GetGridReadOnlyStyle(), gfx::psClear);
    EXPECT_EQ(sheet.GetSelectionMode(), vdsmWord);
    EXPECT_EQ(sheet.GetSelectionStyle(), vdssItems);
    EXPECT_EQ(sheet.GetTextBackgroundKind(), vdtbkItems);
    EXPECT_EQ(sheet.GetFieldHighlightColor(), gfx::clBtnFace);
    EXPECT_EQ(sheet.GetFieldHighlightType(), vdfhCurrent);
    EXPECT_EQ(sheet.GetDisabledFontColor(), gfx::clNone);
    EXPECT_EQ(sheet.GetFootnoteNumbering(), vdseqDecimal);
    EXPECT_EQ(sheet.GetEndnoteNumbering(), vdseqLowerRoman);
    EXPECT_EQ(sheet.GetSidenoteNumbering(), vdseqLowerAlpha);
    EXPECT_TRUE(sheet.GetFootnotePageReset());
    EXPECT_EQ(sheet.GetLineWrapMode(), vdWrapNormal);
    EXPECT_EQ(sheet.GetDefUnicodeStyle(), -1);
    EXPECT_EQ(sheet.GetDefCodePage(), 0u);
    EXPECT_EQ(sheet.GetFontQuality(), fqDefault);
    EXPECT_EQ(sheet.GetSelectionHandleKind(), vdshkWedge);
    EXPECT_EQ(sheet.GetTextEngine(), vdteUniscribe);
    EXPECT_TRUE(sheet.DefaultUnicodeStyles);
    EXPECT_FALSE(sheet.IgnoreStyleTemplates);
}

TEST(VDStyle, NonUnicodeDefaultsWhenAsked) {
    TVDStyle sheet(nullptr);
    sheet.DefaultUnicodeStyles = false;
    sheet.ResetTextStyles();
    EXPECT_FALSE(sheet.GetTextStyles().GetItem(0).GetUnicode());
    sheet.DefaultUnicodeStyles = true;
    EXPECT_TRUE(sheet.GetTextStyles().GetItem(sheet.AddTextStyle()).GetUnicode());
}

TEST(VDStyle, TextEngineChoosesTheGraphicInterface) {
    TVDStyle sheet(nullptr);
    TVDGraphicInterface *first = &sheet.GetGraphicInterface();
    sheet.SetTextEngine(vdteUniscribe);
    EXPECT_EQ(&sheet.GetGraphicInterface(), first);
    sheet.SetTextEngine(vdteWindows);
    EXPECT_NE(dynamic_cast<TVDWinGraphicInterface *>(&sheet.GetGraphicInterface()), nullptr);
    EXPECT_EQ(dynamic_cast<TVDUniscribeGraphicInterface *>(&sheet.GetGraphicInterface()), nullptr);
}

TEST(VDStyle, AbstractOperationsOfTheInterfaceRaiseTheAbstractError) {
    TVDGraphicInterface base;
    gfx::TBitmap bitmap(4, 4);
    try {
        base.FillRectAlpha(bitmap.GetCanvas(), rtl::Rect(0, 0, 2, 2), gfx::clRed, 128);
        FAIL();
    } catch (const rtl::EAbstractError &e) {
        EXPECT_STREQ(e.what(), "Abstract Error");
    }
}

TEST(VDStyle, MainSheetChainGivesTheLastSheetsTemplates) {
    TVDStyle a(nullptr), b(nullptr), c(nullptr);
    a.SetMainVDStyle(&a);
    EXPECT_EQ(a.GetMainVDStyle(), nullptr);
    a.SetMainVDStyle(&b);
    b.SetMainVDStyle(&c);
    EXPECT_EQ(&a.GetStyleTemplates(), &c.GetOwnStyleTemplates());
    TVDStyleTemplateCollection other(nullptr);
    try {
        a.SetStyleTemplates(other);
        FAIL();
    } catch (const EViziVoduError &e) {
        EXPECT_STREQ(e.what(),
                     "Cannot assign StyleTemplate property because MainVDStyle is assigned");
    }
}

TEST(VDStyle, MainSheetLoopIsRefused) {
    TVDStyle a(nullptr), b(nullptr), c(nullptr);
    a.SetMainVDStyle(&b);
    try {
        b.SetMainVDStyle(&a);
        FAIL();
    } catch (const EViziVoduError &e) {
        EXPECT_STREQ(e.what(), "Circular references in MainVDStyle are not allowed");
    }
    EXPECT_EQ(b.GetMainVDStyle(), nullptr);
    b.SetMainVDStyle(&c);
    EXPECT_THROW(c.SetMainVDStyle(&a), EViziVoduError);
    EXPECT_EQ(c.GetMainVDStyle(), nullptr);
    EXPECT_EQ(&a.GetStyleTemplates(), &c.GetOwnStyleTemplates());
}

TEST(VDStyle, DestroyedMainSheetLeavesItsUsersWithoutOne) {
    TVDStyle user(nullptr);
    {
        TVDStyle main(nullptr);
        user.SetMainVDStyle(&main);
        EXPECT_EQ(&user.GetStyleTemplates(), &main.GetOwnStyleTemplates());
    }
    EXPECT_EQ(user.GetMainVDStyle(), nullptr);
    EXPECT_EQ(&user.GetStyleTemplates(), &user.GetOwnStyleTemplates());
    {
        auto other = std::make_unique<TVDStyle>(nullptr);
        other->SetMainVDStyle(&user);
        other.reset(); // a user that goes first leaves nothing behind in its main sheet
    }
}

TEST(VDStyle, StylesAreAddedFoundAndDeleted) {
    TVDStyle sheet(nullptr);
    EXPECT_EQ(sheet.AddTextStyle(), 6);
    EXPECT_EQ(sheet.GetTextStyles().GetItem(6).GetStyleName(), u"Font Style");
    sheet.DeleteTextStyle(6);
    EXPECT_EQ(sheet.GetTextStyles().GetCount(), 6);

    TFontInfo probe(nullptr);
    probe.Assign(sheet.GetTextStyles().GetItem(3));
    EXPECT_EQ(sheet.FindTextStyle(probe), 3);
    probe.SetSizeDouble(31);
    EXPECT_EQ(sheet.FindTextStyle(probe), 6);
    EXPECT_FALSE(sheet.GetTextStyles().GetItem(6).GetStandard());
    EXPECT_EQ(sheet.GetTextStyles().GetItem(6).GetSizeDouble(), 31);

    TParaInfo para(nullptr);
    para.SetAlignment(vdaCenter);
    EXPECT_EQ(sheet.FindParaStyle(para), 1);
    para.SetLeftIndent(4);
    EXPECT_EQ(sheet.FindParaStyle(para), 2);
}

TEST(VDStyle, HoverColourAndSensitivity) {
    TVDStyle sheet(nullptr);
    TFontInfo &style = sheet.GetTextStyles().GetItem(0);
    EXPECT_EQ(sheet.GetHoverColor(0), gfx::clNone);
    EXPECT_FALSE(sheet.StyleHoverSensitive(0));
    sheet.SetHoverColor(gfx::clBlue);
    EXPECT_EQ(sheet.GetHoverColor(0), gfx::clBlue);
    EXPECT_TRUE(sheet.StyleHoverSensitive(0));
    style.SetHoverColor(gfx::clRed);
    EXPECT_EQ(sheet.GetHoverColor(0), gfx::clRed);

    sheet.SetHoverColor(gfx::clNone);
    style.SetHoverColor(gfx::clNone);
    style.SetHoverBackColor(gfx::clYellow);
    EXPECT_TRUE(sheet.StyleHoverSensitive(0));
    style.SetHoverBackColor(gfx::clNone);
    style.SetHoverEffects({vdheUnderline});
    EXPECT_TRUE(sheet.StyleHoverSensitive(0));
    sheet.OnStyleHoverSensitive = [](TVDStyle &, int32_t styleNo, bool &sensitive) {
        sensitive = styleNo != 0;
    };
    EXPECT_FALSE(sheet.StyleHoverSensitive(0));
    EXPECT_TRUE(sheet.StyleHoverSensitive(1));
}

TEST(VDStyle, NextTabStop) {
    test::TPixelsPerInchOverride ppi(96);
    TVDStyle sheet(nullptr);
    const TVDScreenAndDevice screen{96, 96, 96, 96, 0, 0};
    struct TCase {
        int32_t X, LeftIndent, Expected;
    };
    // No tab stops, default tab width 48.
    const TCase plain[] = {{0, 0, 48}, {47, 0, 48}, {48, 0, 96}, {10, 100, 100}, {120, 100, 144}};
    for (const TCase &c : plain) {
        const TVDNextTab tab = sheet.GetNextTab(0, c.X, &screen, vdbdUnspecified, c.LeftIndent, 0);
        EXPECT_EQ(tab.Position, c.Expected) << c.X << " " << c.LeftIndent;
        EXPECT_EQ(tab.Align, vdtaLeft);
        EXPECT_TRUE(tab.Leader.empty());
    }

    TVDTabInfos &tabs = sheet.GetParaStyles().GetItem(0).GetTabs();
    TVDTabInfo &stop = tabs.Add();
    stop.SetPosition(200);
    stop.SetAlign(vdtaRight);
    stop.SetLeader(u".");
    const TCase withTab[] = {{10, 0, 200}, {10, 100, 100}, {150, 100, 200}, {200, 0, 240}};
    for (const TCase &c : withTab) {
        EXPECT_EQ(sheet.GetNextTab(0, c.X, &screen, vdbdUnspecified, c.LeftIndent, 0).Position,
                  c.Expected)
            << c.X << " " << c.LeftIndent;
    }
    const TVDNextTab atStop = sheet.GetNextTab(0, 10, &screen, vdbdUnspecified, 0, 0);
    EXPECT_EQ(atStop.Align, vdtaRight);
    EXPECT_EQ(atStop.Leader, u".");

    // Device pixels of a printer with a left margin; the margin comes back in the result.
    const TVDScreenAndDevice printer{96, 96, 600, 600, 50, 0};
    EXPECT_EQ(sheet.GetNextTab(0, 60, &printer, vdbdUnspecified, 0, 0).Position, 1250 + 50);
    tabs.Clear();
    EXPECT_EQ(sheet.GetNextTab(0, 350, &printer, vdbdUnspecified, 0, 0).Position, 600 + 50);

    // Right to left: measured from the right indent, then mirrored.
    EXPECT_EQ(sheet.GetNextTab(0, 0, &screen, vdbdRightToLeft, 10, 30).Position, 10);
    EXPECT_EQ(sheet.GetNextTab(0, 40, &screen, vdbdRightToLeft, 10, 30).Position, 76);
}

TEST(VDStyle, InvalidPictureIsMadeOnDemand) {
    TVDStyle sheet(nullptr);
    gfx::TPicture &picture = sheet.GetInvalidPicture();
    EXPECT_FALSE(picture.Empty());
    EXPECT_EQ(picture.GetWidth(), 16);
    EXPECT_EQ(&sheet.GetInvalidPicture(), &picture);
    sheet.SetInvalidPicture(nullptr);
    EXPECT_FALSE(sheet.GetInvalidPicture().Empty());
    gfx::TPicture other;
    gfx::TBitmap bitmap(3, 5);
    other.SetGraphic(&bitmap);
    sheet.SetInvalidPicture(&other);
    EXPECT_EQ(sheet.GetInvalidPicture().GetHeight(), 5);
}

TEST(VDStyle, LoadingDefersTemplateLinks) {
    TVDStyle sheet(nullptr);
    TVDStyleTemplateCollection &templates = sheet.GetStyleTemplates();
    TVDStyleTemplate &parent = templates.Add();
    sheet.BeginLoading();
    TVDStyleTemplate &child = templates.Add();
    EXPECT_TRUE(child.GetName().empty()); // no generated name while loading
    child.SetParentId(parent.GetId());
    EXPECT_EQ(child.GetParent(), nullptr);
    sheet.Loaded();
    EXPECT_FALSE(sheet.IsLoading());
    EXPECT_EQ(child.GetParent(), &parent);
    EXPECT_EQ(parent.GetChildren().size(), 1u);
}

TEST(VDStyle, StartUpRunsOnce) {
    InitializeLibrary();
    InitializeLibrary();
    EXPECT_TRUE(IsLibraryInitialized());
}

TEST(VDStyle, TheSheetSetsItsCursorsFromTheProgramsResources) {
    TVDStyle sheet(nullptr);
    for (ui::TCursor cursor : {101, 106, 107}) {
        EXPECT_TRUE(ui::Screen->HasCursorImage(cursor)) << cursor;
    }
}

// A level that kept a destroyed image list would draw from freed memory.
TEST(VDStyle, ADestroyedImageListIsForgottenByTheListLevels) {
    TVDStyle sheet(nullptr);
    TVDListLevel &level = sheet.GetListStyles().Add().GetLevels().Add();
    TVDListLevel &copy = sheet.GetListStyles().Add().GetLevels().Add();
    auto images = std::make_unique<gfx::TImageList>(nullptr);
    level.SetImageList(images.get());
    copy.Assign(level);
    ASSERT_EQ(copy.GetImageList(), images.get());
    images.reset();
    EXPECT_EQ(level.GetImageList(), nullptr);
    EXPECT_EQ(copy.GetImageList(), nullptr);
}
