// Style sheets in INI sections: the keys a sheet writes, the shared INI routines, and what a
// sheet reads from sections with keys missing.
#include "vizivodu/styles/VDStyle_Ini.h"

#include "platform/rtl/IniFiles.h"
#include "platform/rtl/StrUtils.h"
#include "platform/rtl/StringList.h"
#include "vizivodu/styles/VDStyle.h"
#include "vizivodu/styles/VDStyle_Templates.h"

#include <gtest/gtest.h>

using namespace vizivodu;

namespace {

const UnicodeString Section = u"VDStyle";

// The section as it would stand in the file.
rtl::TMemIniFile Saved(const TVDStyle &sheet) {
    rtl::TMemIniFile ini(u"");
    sheet.SaveToINI(ini, Section);
    return ini;
}

bool Has(rtl::TMemIniFile &ini, const UnicodeString &key) {
    return ini.ValueExists(Section, key);
}

UnicodeString Value(rtl::TMemIniFile &ini, const UnicodeString &key) {
    return ini.ReadString(Section, key, u"<missing>");
}

rtl::TMemIniFile Section_(std::initializer_list<const char16_t *> lines) {
    rtl::TStringList text;
    text.Add(u"[VDStyle]");
    for (const char16_t *line : lines) {
        text.Add(line);
    }
    rtl::TMemIniFile ini(u"");
    ini.SetStrings(text);
    return ini;
}

} // namespace

TEST(VDStyleIni, ANewSheetWritesOnlyWhatDiffersFromTheDefaults) {
    TVDStyle sheet(nullptr);
    rtl::TMemIniFile ini = Saved(sheet);
    for (const char16_t *key : {u"Units", u"Color", u"JumpCursor", u"UseSound", u"DefTabWidth",
                                u"LineWrapMode", u"FootnotePageReset"}) {
        EXPECT_FALSE(Has(ini, key)) << rtl::Utf16ToUtf8(key);
    }
    EXPECT_EQ(Value(ini, u"FontsCount"), u"6");
    EXPECT_EQ(Value(ini, u"FontStyleName0"), u"Normal text");
    EXPECT_EQ(Value(ini, u"FontName0"), u"Arial");
    EXPECT_EQ(Value(ini, u"FontJump0"), u"No");
    for (const char16_t *key : {u"FontSize0", u"FontSizeDouble0", u"FontColor0", u"FontBold0",
                                u"FontUnderline0", u"FontStandard0", u"FontBaseStyleNo0"}) {
        EXPECT_FALSE(Has(ini, key)) << rtl::Utf16ToUtf8(key);
    }
    EXPECT_EQ(Value(ini, u"FontUnderline4"), u"Yes");
    EXPECT_EQ(Value(ini, u"FontColor4"), u"32768");
    EXPECT_EQ(Value(ini, u"FontJump4"), u"Yes");
    EXPECT_EQ(Value(ini, u"ParasCount"), u"2");
    EXPECT_EQ(Value(ini, u"ListCount"), u"0");
    EXPECT_EQ(Value(ini, u"STItemCount"), u"0");
}

TEST(VDStyleIni, SizesInHalfPointsUseTheirOwnKey) {
    TVDStyle sheet(nullptr);
    sheet.GetTextStyles().GetItem(1).SetSizeDouble(21);
    sheet.GetTextStyles().GetItem(2).SetSize(12);
    rtl::TMemIniFile ini = Saved(sheet);
    EXPECT_EQ(Value(ini, u"FontSizeDouble1"), u"21");
    EXPECT_FALSE(Has(ini, u"FontSize1"));
    EXPECT_EQ(Value(ini, u"FontSize2"), u"12");
    EXPECT_FALSE(Has(ini, u"FontSizeDouble2"));
    TVDStyle loaded(nullptr);
    loaded.LoadFromINI(ini, Section);
    EXPECT_EQ(loaded.GetTextStyles().GetItem(1).GetSizeDouble(), 21);
    EXPECT_EQ(loaded.GetTextStyles().GetItem(2).GetSizeDouble(), 24);
}

TEST(VDStyleIni, SheetBooleansAreYesAndNo) {
    TVDStyle sheet(nullptr);
    sheet.SetUseSound(false);
    rtl::TMemIniFile ini = Saved(sheet);
    EXPECT_EQ(Value(ini, u"UseSound"), u"No");
    TVDStyle loaded(nullptr);
    loaded.LoadFromINI(ini, Section);
    EXPECT_FALSE(loaded.GetUseSound());
    // Any text but "yes" (in any case) is false.
    rtl::TMemIniFile other = Section_({u"UseSound=yEs", u"FootnotePageReset=1"});
    loaded.LoadFromINI(other, Section);
    EXPECT_TRUE(loaded.GetUseSound());
    EXPECT_FALSE(loaded.GetFootnotePageReset());
}

TEST(VDStyleIni, MissingCountsGiveTheDefaultStyles) {
    TVDStyle sheet(nullptr);
    sheet.SetJumpCursor(77);
    rtl::TMemIniFile ini = Section_({u"JumpCursor=55"});
    sheet.LoadFromINI(ini, Section);
    ASSERT_EQ(sheet.GetTextStyles().GetCount(), 6);
    for (Integer i = 0; i < 6; ++i) {
        const TFontInfo &f = sheet.GetTextStyles().GetItem(i);
        EXPECT_EQ(f.GetStyleName(), u"Font Style");
        EXPECT_EQ(f.GetJump(), i == 4 || i == 5) << i;
        if (f.GetJump()) {
            EXPECT_EQ(f.GetJumpCursor(), 55);
        }
    }
    ASSERT_EQ(sheet.GetParaStyles().GetCount(), 2);
    EXPECT_EQ(sheet.GetParaStyles().GetItem(1).GetStyleName(), u"Paragraph Style");
    EXPECT_EQ(sheet.GetListStyles().GetCount(), 0);
}

TEST(VDStyleIni, SingleSymbolsProtectsTheStyle) {
    TVDStyle sheet(nullptr);
    rtl::TMemIniFile ini =
        Section_({u"FontsCount=1", u"FontSingleSymbols0=Yes", u"FontProtection0=4"});
    sheet.LoadFromINI(ini, Section);
    EXPECT_EQ(sheet.GetTextStyles().GetItem(0).GetProtection(),
              (TVDProtectOptions{vdprModifyProtect, vdprStyleProtect, vdprDoNotAutoSwitch}));
}

TEST(VDStyleIni, OnlyTheLowerTenProtectionBitsAreStored) {
    TVDStyle sheet(nullptr);
    sheet.GetTextStyles().GetItem(0).SetProtection({vdprSticking2, vdprStickToTop});
    rtl::TMemIniFile ini = Saved(sheet);
    EXPECT_EQ(Value(ini, u"FontProtection0"), u"512");
}

TEST(VDStyleIni, LongStringsArePiecesOfFiveHundred) {
    struct TCase {
        size_t Length;
        std::vector<UnicodeString> Keys;
    };
    const TCase cases[] = {
        {1200, {u"Fmt_0", u"Fmt_1", u"Fmt_2"}},
        {500, {u"Fmt_0"}},
        {501, {u"Fmt_0", u"Fmt_1"}},
        {0, {}},
    };
    for (const TCase &c : cases) {
        UnicodeString text;
        for (size_t i = 0; i < c.Length; ++i) {
            text += char16_t(u'a' + i % 26);
        }
        rtl::TMemIniFile ini(u"");
        IniWriteLongString(ini, u"S", u"Fmt", text);
        rtl::TStringList names;
        ini.ReadSection(u"S", names);
        ASSERT_EQ(size_t(names.GetCount()), c.Keys.size()) << c.Length;
        for (size_t i = 0; i < c.Keys.size(); ++i) {
            EXPECT_EQ(names[int32_t(i)], c.Keys[i]);
        }
        if (c.Length == 1200) {
            EXPECT_EQ(ini.ReadString(u"S", u"Fmt_2", u"").size(), 200u);
        }
        EXPECT_EQ(IniReadLongString(ini, u"S", u"Fmt"), text);
    }
}

TEST(VDStyleIni, FontsAsText) {
    gfx::TFont font;
    font.SetName(u"Wingdings");
    font.SetHeight(-13);
    font.SetStyle({gfx::fsBold, gfx::fsUnderline});
    font.SetPitch(gfx::fpFixed);
    font.SetColor(gfx::clRed);
    font.SetCharset(2);
    EXPECT_EQ(FontToIniStr(font), u"Wingdings,-13,BU,2,clRed,2");
    font.SetColor(0x123456);
    EXPECT_EQ(FontToIniStr(font), u"Wingdings,-13,BU,2,$00123456,2");

    gfx::TFont read;
    read.SetCharset(5);
    IniStrToFont(u"Symbol,20,suix", read);
    EXPECT_EQ(read.GetName(), u"Symbol");
    EXPECT_EQ(read.GetHeight(), 20);
    EXPECT_EQ(read.GetStyle(),
              (gfx::TFontStyles{gfx::fsStrikeOut, gfx::fsUnderline, gfx::fsItalic}));
    EXPECT_EQ(read.GetCharset(), 5) << "missing trailing fields leave the font's values";
    IniStrToFont(u"Symbol,20,,1,clBlue,0", read);
    EXPECT_EQ(read.GetColor(), gfx::clBlue);
    EXPECT_EQ(read.GetPitch(), gfx::fpVariable);
    EXPECT_THROW(IniStrToFont(u"Symbol,tall", read), EViziVoduError);
    EXPECT_EQ(FontStylesToStr({gfx::fsStrikeOut, gfx::fsBold}), u"BS");
}

TEST(VDStyleIni, ParagraphKeysComposeTheirPrefixes) {
    TVDStyle sheet(nullptr);
    TParaInfo &p = sheet.GetParaStyles().GetItem(0);
    p.SetSpaceBefore(4);
    p.GetBorder().Width = 3;
    p.GetBorder().GetBorderOffsets().Left = 2;
    p.GetBorder().VisibleBorders.Top = false;
    p.GetBackground().Color = gfx::clRed;
    p.GetTabs().Add().SetPosition(10);
    p.GetTabs().Add().SetPosition(20);
    p.GetTabs().GetItem(1).SetLeader(u"-");
    rtl::TMemIniFile ini = Saved(sheet);
    EXPECT_EQ(Value(ini, u"ParaSpaceBefore0"), u"4");
    EXPECT_EQ(Value(ini, u"ParaBorderWidth0"), u"3");
    EXPECT_EQ(Value(ini, u"ParaBorderOffsetsLeft0"), u"2");
    EXPECT_EQ(Value(ini, u"ParaBorderVisibleTop0"), u"No");
    EXPECT_EQ(Value(ini, u"ParaBackgroundColor0"), u"255");
    EXPECT_EQ(Value(ini, u"ParaTabTabCount0"), u"2");
    EXPECT_EQ(Value(ini, u"ParaTab0TabPos1"), u"20");
    EXPECT_EQ(Value(ini, u"ParaTab0TabLeader1"), u"-");
    EXPECT_FALSE(Has(ini, u"ParaTab0TabLeader0"));
}

TEST(VDStyleIni, ListLevelsStoreWideFormatsAsBytes) {
    TVDStyle sheet(nullptr);
    TVDListInfo &list = sheet.GetListStyles().Add();
    TVDListLevel &level = list.GetLevels().Add();
    level.SetFormatStringW(u"\u2022A");
    level.SetStartFrom(7);
    rtl::TMemIniFile ini = Saved(sheet);
    EXPECT_EQ(Value(ini, u"ListCount"), u"1");
    EXPECT_EQ(Value(ini, u"ListLevelsCount0"), u"1");
    EXPECT_EQ(Value(ini, u"List0LvlFormatStringW0"), u"22204100");
    TVDStyle loaded(nullptr);
    loaded.LoadFromINI(ini, Section);
    TVDListLevel &back = loaded.GetListStyles().GetItem(0).GetLevels().GetItem(0);
    EXPECT_EQ(back.GetFormatStringW(), u"\u2022A");
    EXPECT_EQ(back.GetStartFrom(), 1) << "StartFrom is not part of the INI form";
}

TEST(VDStyleIni, TemplateKeys) {
    TVDStyle sheet(nullptr);
    TVDStyleTemplateCollection &templates = sheet.GetStyleTemplates();
    TVDStyleTemplate &parent = templates.Add();
    parent.SetName(u"Base");
    parent.ValidTextProperties = {vdfiFontName, vdfiSize};
    parent.GetTextStyle().SetSize(14);
    TVDStyleTemplate &child = templates.Add();
    child.SetName(u"Child");
    child.SetParentId(parent.GetId());
    child.SetQuickAccess(false);
    rtl::TMemIniFile ini = Saved(sheet);
    EXPECT_EQ(Value(ini, u"STItemCount"), u"2");
    EXPECT_EQ(Value(ini, u"ST0Name"), u"Base");
    EXPECT_EQ(Value(ini, u"ST0ValidTextProperties"), u"FontName Size");
    EXPECT_EQ(Value(ini, u"ST0FontSize"), u"14");
    EXPECT_EQ(Value(ini, u"ST1ValidTextProperties"), u"");
    EXPECT_EQ(Value(ini, u"ST1ParentId"), rtl::IntToStr(parent.GetId()));
    EXPECT_EQ(Value(ini, u"ST1QuickAccess"), u"No");
    EXPECT_FALSE(Has(ini, u"ST0QuickAccess"));

    TVDStyle loaded(nullptr);
    loaded.LoadFromINI(ini, Section);
    const TVDStyleTemplateCollection &back = loaded.GetStyleTemplates();
    ASSERT_EQ(back.GetCount(), 2);
    EXPECT_EQ(back.GetItem(1).GetParent(), &back.GetItem(0));
    EXPECT_TRUE(back.GetItem(1).ValidTextProperties.Empty());
    EXPECT_EQ(back.GetItem(0).GetTextStyle().GetSize(), 14);
}

TEST(VDStyleIni, TheStoredKindWinsOverTheNameRule) {
    TVDStyle sheet(nullptr);
    rtl::TMemIniFile ini =
        Section_({u"STItemCount=1", u"ST0Name=Normal", u"ST0Kind=0", u"ST0Id=5"});
    sheet.LoadFromINI(ini, Section);
    EXPECT_EQ(sheet.GetStyleTemplates().GetItem(0).GetKind(), vdstkParaText);
    EXPECT_EQ(sheet.GetStyleTemplates().GetNormalStyleTemplate(),
              &sheet.GetStyleTemplates().GetItem(0));
}

TEST(VDStyleIni, TemplateTextStyleKeepsItsJumpCursor) {
    TVDStyle sheet(nullptr);
    TVDStyleTemplate &t = sheet.GetStyleTemplates().Add();
    t.ValidTextProperties = {vdfiJumpCursor};
    t.GetTextStyle().SetJumpCursor(33);
    rtl::TMemIniFile ini = Saved(sheet);
    TVDStyle loaded(nullptr);
    loaded.LoadFromINI(ini, Section);
    EXPECT_EQ(loaded.GetStyleTemplates().GetItem(0).GetTextStyle().GetJumpCursor(), 33);
}

TEST(VDStyleIni, IgnoredTemplatesWriteNoTemplateIds) {
    TVDStyle sheet(nullptr);
    sheet.GetTextStyles().GetItem(0).SetStyleTemplateId(9);
    rtl::TMemIniFile withIds = Saved(sheet);
    EXPECT_EQ(Value(withIds, u"FontStyleTemplateId0"), u"9");
    sheet.IgnoreStyleTemplates = true;
    rtl::TMemIniFile ini = Saved(sheet);
    EXPECT_FALSE(Has(ini, u"FontStyleTemplateId0"));
}

TEST(VDStyleIni, PropertySetsAsText) {
    EXPECT_EQ(TextPropertiesToString({vdfiSize, vdfiFontName}), u"FontName Size");
    EXPECT_EQ(ParaPropertiesToString({vdpiBorder_Vis_Top, vdpiTabs}), u"Border_Vis_Top Tabs");
    EXPECT_EQ(TextPropertiesToString({}), u"");
    EXPECT_EQ(StringToTextProperties(u"Size  Bogus FontName vdfiColor"),
              (TVDFontInfoProperties{vdfiSize, vdfiFontName}));
    EXPECT_TRUE(StringToParaProperties(u"").Empty());
    EXPECT_EQ(StringToParaProperties(ParaPropertiesToString(AllParaStyleProperties)),
              AllParaStyleProperties);
}
