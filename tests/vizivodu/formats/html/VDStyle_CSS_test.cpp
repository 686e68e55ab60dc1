// The CSS of text, paragraph and list styles, the list elements, and the whole sheet as a CSS
// style sheet read back by an outside CSS parser.
#include "vizivodu/formats/html/VDHTMLListCSSList.h"
#include "vizivodu/styles/VDStyle.h"
#include "vizivodu/styles/VDStyle_Lists.h"
#include "vizivodu/styles/VDStyle_Para.h"
#include "vizivodu/styles/VDStyle_Text.h"

#include "tests/support/Commands.h"
#include "tests/vizivodu/StyleTestSupport.h"

#include "platform/rtl/Classes.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace vizivodu {
namespace {

std::string Text(rtl::TMemoryStream &stream) {
    return std::string(reinterpret_cast<const char *>(stream.GetMemory()),
                       static_cast<size_t>(stream.GetSize()));
}

class StyleCSS : public ::testing::Test {
protected:
    // Style 0 of the sheet, or one new default style (the sheet's own style 1 is a hyperlink).
    TFontInfo &TextStyle(int i) {
        if (i == 0) {
            return Sheet.GetTextStyles().GetItem(0);
        }
        if (!AddedText) {
            AddedText = &Sheet.GetTextStyles().Add();
        }
        return *AddedText;
    }
    TParaInfo &ParaStyle(int i) {
        while (Sheet.GetParaStyles().GetCount() <= i) {
            Sheet.GetParaStyles().Add();
        }
        return Sheet.GetParaStyles().GetItem(i);
    }
    std::string TextCSS(const TCustomVDFontInfo &style, const TCustomVDFontInfo *base,
                        bool jump = false) {
        rtl::TMemoryStream stream;
        style.SaveCSSToStream(stream, base, false, true, jump);
        return Text(stream);
    }
    std::string ParaCSS(const TCustomVDParaInfo &style, const TCustomVDParaInfo *base,
                        bool ignoreStartIndents = false) {
        rtl::TMemoryStream stream;
        style.SaveCSSToStream(stream, base, false, false, ignoreStartIndents, vdbdUnspecified);
        return Text(stream);
    }
    std::string OpenTag(const TVDListLevel &level, bool useCSS,
                        const TVDHTMLListCSSList *bullets = nullptr, TVDSaveOptions options = {}) {
        rtl::TMemoryStream stream;
        level.HTMLOpenTag(stream, useCSS, Sheet, options, bullets, vdbdUnspecified);
        return Text(stream);
    }
    TVDListLevel &Level(TVDListInfo &list, TVDListType type, const UnicodeString &text,
                        const UnicodeString &font) {
        TVDListLevel &level = list.GetLevels().Add();
        level.SetListType(type);
        level.SetFormatString(text);
        level.GetFont().SetName(font);
        return level;
    }

    test::TPixelsPerInchOverride Ppi{96};
    TVDStyle Sheet{nullptr};
    TFontInfo *AddedText = nullptr;
};

TEST_F(StyleCSS, DefaultTextStyleWithoutBase) {
    EXPECT_EQ(TextCSS(TextStyle(0), nullptr),
              " font-size: 10pt; font-family: 'Arial', 'Helvetica', sans-serif; font-style: "
              "normal; font-weight: normal; color: #000000; background-color: transparent; "
              "text-decoration: none;");
}

TEST_F(StyleCSS, StyleAgainstItselfWritesOnlyTheJumpDecoration) {
    EXPECT_EQ(TextCSS(TextStyle(0), &TextStyle(0)), "");
    EXPECT_EQ(TextCSS(TextStyle(0), &TextStyle(0), true), " text-decoration: none;");
}

TEST_F(StyleCSS, TextStyleValues) {
    TextStyle(1).SetSizeDouble(21);
    EXPECT_EQ(TextCSS(TextStyle(1), &TextStyle(0)), " font-size: 10.5pt;");
    TextStyle(1).SetSizeDouble(20);
    TextStyle(1).SetFontName(u"wingdings");
    EXPECT_EQ(TextCSS(TextStyle(1), &TextStyle(0)),
              " font-family: 'Arial Unicode MS', 'Lucida Sans Unicode', 'Arial', 'Helvetica', "
              "sans-serif;");
    TextStyle(1).SetFontName(u"Шрифт");
    EXPECT_EQ(TextCSS(TextStyle(1), &TextStyle(0)), " font-family: 'Шрифт';");
    TextStyle(1).SetFontName(u"O'Brien \\");
    EXPECT_EQ(TextCSS(TextStyle(1), &TextStyle(0)), " font-family: 'O\\'Brien \\\\';");
    TextStyle(1).SetFontName(u"Arial");
    TextStyle(1).SetSubSuperScriptType(vdsssSubscript);
    EXPECT_EQ(TextCSS(TextStyle(1), &TextStyle(0)), " font-size: 7pt; vertical-align: sub;");
    EXPECT_EQ(TextCSS(TextStyle(0), &TextStyle(1)), " font-size: 10pt; vertical-align: baseline;");
    TextStyle(1).SetSubSuperScriptType(vdsssNormal);
    TextStyle(1).SetStyle({gfx::fsUnderline});
    TextStyle(1).SetUnderlineType(vdutThickDotted);
    TextStyle(1).SetUnderlineColor(gfx::clRed);
    EXPECT_EQ(TextCSS(TextStyle(1), &TextStyle(0)), " border-bottom: dotted 2px #ff0000;");
}

TEST_F(StyleCSS, TwipsSheetWritesPoints) {
    Sheet.SetUnits(vdstuTwips);
    TextStyle(1).SetCharSpacing(-350);
    EXPECT_EQ(TextCSS(TextStyle(1), &TextStyle(0)), " letter-spacing: -17.5pt;");
    EXPECT_EQ(Sheet.GetCSSSize(1440), "72pt");
    Sheet.SetUnits(vdstuPixels);
    EXPECT_EQ(Sheet.GetCSSSize(24), "24px");
}

TEST_F(StyleCSS, DefaultParagraphWithoutBase) {
    EXPECT_EQ(ParaCSS(ParaStyle(0), nullptr),
              " text-align: left; text-indent: 0px; padding: 0px 0px 0px 0px; margin: 0px 0px "
              "0px 0px;");
}

TEST_F(StyleCSS, ParagraphAgainstBase) {
    TParaInfo &p = ParaStyle(2);
    p.SetLineSpacing(150);
    p.SetAlignment(vdaJustify);
    p.SetOptions({vdpaoKeepWithNext});
    EXPECT_EQ(ParaCSS(p, &ParaStyle(0)),
              " text-align: justify; text-justify: inter-word; text-align-last: auto; "
              "line-height: 1.50; page-break-after: avoid;");
    p.SetAlignment(vdaLeft);
    p.SetLineSpacing(100);
    p.SetOptions({});
    p.GetBorder().Style = vdbDouble;
    p.GetBorder().Width = 2;
    p.GetBorder().GetBorderOffsets().SetAll(3);
    p.GetBorder().VisibleBorders.Left = false;
    p.SetSpaceBefore(10);
    p.SetLeftIndent(4);
    p.GetBackground().Color = gfx::clYellow;
    p.GetBackground().Opacity = 50000;
    EXPECT_EQ(ParaCSS(p, &ParaStyle(0)),
              " border-color: #000000; border-style: double; border-width: 5px; border-left: "
              "none; background: #ffff00; background-color: rgba(255,255,0,0.5); padding: 3px "
              "3px 3px 3px; margin: 2px 0px 0px 0px;");
}

TEST_F(StyleCSS, ListElementsWithoutCSS) {
    TVDListInfo &list = Sheet.GetListStyles().Add();
    struct Case {
        TVDListType Type;
        UnicodeString Text, Font;
        std::string Open;
    };
    const Case cases[] = {
        {vdlstDecimal, u"%0:s.", u"Arial", "<ol>"},
        {vdlstLowerAlpha, u"%0:s)", u"Arial", "<ol type=\"a\">"},
        {vdlstUpperRoman, u"%0:s)", u"Arial", "<ol type=\"I\">"},
        {vdlstBullet, u"\u2022", u"Arial", "<ul type=\"disc\">"},
        {vdlstBullet, u"n", u"Wingdings", "<ul type=\"square\">"},
        {vdlstBullet, u"\uF06E", u"wingdings", "<ul type=\"square\">"},
        {vdlstBullet, u"\u00B7", u"Symbol", "<ul type=\"disc\">"},
        {vdlstBullet, u"o", u"Arial", "<ul type=\"circle\">"},
        {vdlstBullet, u"*", u"Arial", "<ul>"},
        {vdlstBullet, u"oo", u"Arial", "<ul>"},
    };
    for (const Case &c : cases) {
        const TVDListLevel &level = Level(list, c.Type, c.Text, c.Font);
        EXPECT_EQ(OpenTag(level, false), c.Open) << rtl::Utf16ToUtf8(c.Text);
        rtl::TMemoryStream close;
        level.HTMLCloseTag(close, false);
        EXPECT_EQ(Text(close), c.Open.substr(0, 3) == "<ol" ? "</ol>" : "</ul>");
    }
}

TEST_F(StyleCSS, FirstLevelCSSAndSharedClasses) {
    TVDListInfo &list = Sheet.GetListStyles().Add();
    TVDListLevel &first = Level(list, vdlstBullet, u"\u2022", u"Arial");
    first.SetLeftIndent(24);
    first.SetMarkerIndent(0);
    first.SetFirstIndent(10);
    const AnsiString css = "text-indent: 10px; padding: 0; margin: 0 0 0 24px; "
                           "list-style-position: outside; list-style-type: disc;";
    EXPECT_EQ(first.GetHTMLOpenCSS(Sheet, vdbdUnspecified), css);
    EXPECT_EQ(first.GetHTMLOpenCSS(Sheet, vdbdRightToLeft),
              "text-indent: 10px; padding: 0; margin: 0 24px 0 0; list-style-position: "
              "outside; list-style-type: disc;");
    EXPECT_EQ(first.GetIndentCSSForTextVersion(Sheet, vdbdUnspecified),
              "text-indent: -24px; padding-left: 24px; margin-left: 0px;");
    TVDListLevel &second = Level(list, vdlstDecimal, u"%1:s.", u"Arial");
    second.SetLeftIndent(48);
    second.SetMarkerIndent(48);
    EXPECT_EQ(second.GetHTMLOpenCSS(Sheet, vdbdUnspecified),
              "text-indent: 0px; padding: 0; margin: 0 0 0 24px; list-style-position: inside; "
              "list-style-type: decimal;");
    EXPECT_EQ(second.GetIndentCSSForTextVersion(Sheet, vdbdRightToLeft),
              "text-indent: 0px; margin-right: 48px;");
    TVDListInfo &copy = Sheet.GetListStyles().Add();
    copy.SetLevels(list.GetLevels());

    TVDHTMLListCSSList bullets;
    rtl::TMemoryStream stream;
    Sheet.GetListStyles().SaveCSSToStream(&stream, bullets, {}, "/* lists */");
    EXPECT_EQ(Text(stream), "/* lists */\r\n.list0 {" + css + "}\r\n.list1 {" +
                                second.GetHTMLOpenCSS(Sheet, vdbdUnspecified) + "}\r\n");
    EXPECT_EQ(bullets.Count(), 2);
}

TEST_F(StyleCSS, WithoutStreamTheClassesAreStillCollected) {
    TVDListInfo &list = Sheet.GetListStyles().Add();
    const TVDListLevel &level = Level(list, vdlstDecimal, u"%0:s.", u"Arial");
    TVDHTMLListCSSList bullets;
    Sheet.GetListStyles().SaveCSSToStream(nullptr, bullets, {}, "/* lists */");
    EXPECT_EQ(OpenTag(level, true, &bullets), "<ol class=list0>");
    EXPECT_EQ(OpenTag(level, true, &bullets, TVDSaveOptions{vdsoXHTML}), "<ol class=\"list0\">");
    EXPECT_EQ(OpenTag(level, true),
              "<ol style=\"" + level.GetHTMLOpenCSS(Sheet, vdbdUnspecified) + "\">");
}

TEST_F(StyleCSS, MarkersAsTextRules) {
    TVDListInfo &list = Sheet.GetListStyles().Add();
    TVDListLevel &level = Level(list, vdlstBullet, u"\u2022", u"Arial");
    level.SetLeftIndent(20);
    level.SetFirstIndent(10);
    Level(list, vdlstPicture, u"", u"Arial");
    TVDHTMLListCSSList bullets;
    rtl::TMemoryStream stream;
    Sheet.GetListStyles().SaveCSSToStream(&stream, bullets, {vdcssMarkersAsText}, "/* t */");
    EXPECT_EQ(Text(stream), "/* t */\r\nspan.bullet0 {font-size: 8pt; font-family: 'Arial'; "
                            "color: #000000; display: inline-block; text-indent: 0px; "
                            "min-width: 30px;}\r\n");
}

TEST_F(StyleCSS, SaveCSSToAPathThatCannotBeMadeFails) {
    EXPECT_FALSE(Sheet.SaveCSS(u"/nonexistent-folder/x/style.css", {}));
}

// Every kind of text, paragraph and list style in one sheet.
void FillRichSheet(TVDStyle &sheet) {
    TFontInfos &texts = sheet.GetTextStyles();
    TFontInfo &link = texts.Add();
    link.SetJump(true);
    link.SetHoverColor(gfx::clRed);
    link.SetHoverBackColor(gfx::clYellow);
    link.SetHoverEffects({vdheUnderline});
    link.SetHoverUnderlineColor(gfx::clBlue);
    link.SetStyleName(u"Ссылка */ {");
    for (int u = vdutNormal; u <= vdutThickDashDotDotted; ++u) {
        TFontInfo &s = texts.Add();
        s.SetStyle({gfx::fsUnderline, gfx::fsStrikeOut, gfx::fsBold, gfx::fsItalic});
        s.SetUnderlineType(static_cast<TVDUnderlineType>(u));
        s.SetUnderlineColor(u % 2 ? gfx::clGreen : gfx::clNone);
        s.SetStyleEx({vdfsOverline, vdfsAllCaps});
        s.SetBackColor(gfx::clSilver);
        s.SetCharSpacing(u - 3);
        s.SetBiDiMode(static_cast<TVDBiDiMode>(u % 3));
        s.SetSubSuperScriptType(static_cast<TVDSubSuperScriptType>(u % 3));
        s.SetVShift(u % 3 == 0 ? 30 - 10 * u : 0);
        s.SetOptions(u % 4 == 0 ? TVDTextOptions{vdteoHidden} : TVDTextOptions{});
        s.SetSizeDouble(u == 5 ? -16 : 17 + u);
        s.SetFontName(u % 2 ? u"Courier New" : u"Symbol");
        s.SetBaseStyleNo(u % 3);
    }
    TParaInfos &paras = sheet.GetParaStyles();
    for (int a = vdaLeft; a <= vdaDistribute; ++a) {
        TParaInfo &p = paras.Add();
        p.SetAlignment(static_cast<TVDAlignment>(a));
        p.SetLastLineAlignment(static_cast<TVDLastLineAlignment>(a));
        p.SetLineSpacingType(static_cast<TVDLineSpacingType>(a % 4));
        p.SetLineSpacing(a % 4 == 0 ? 115 : 12);
        p.SetOptions(TVDParaOptions::FromBits(a % 2 ? 0x7F : 0));
        p.SetBiDiMode(static_cast<TVDBiDiMode>(a % 3));
        p.SetOutlineLevel(a);
        p.SetFirstIndent(-10 * a);
        p.SetLeftIndent(20);
        p.SetSpaceBefore(5 * a);
        p.GetBorder().Style = static_cast<TVDBorderStyle>(a + 1);
        p.GetBorder().Color = a == 3 ? gfx::clNone : gfx::clMaroon;
        p.GetBorder().VisibleBorders.Top = a % 2 == 0;
        p.GetBorder().GetBorderOffsets().SetAll(a);
        p.GetBackground().Color = a == 2 ? gfx::clNone : gfx::clAqua;
        p.GetBackground().Opacity = 25000 * a;
        p.GetBackground().GetBorderOffsets().SetAll(2 * a);
        p.SetBaseStyleNo(a % 2);
        p.GetTabs().Add().SetPosition(100);
    }
    TVDListInfo &list = sheet.GetListStyles().Add();
    const TVDListType kinds[] = {vdlstBullet,     vdlstPicture,    vdlstImageList,
                                 vdlstDecimal,    vdlstLowerAlpha, vdlstUpperAlpha,
                                 vdlstLowerRoman, vdlstUpperRoman, vdlstUnicodeBullet};
    int i = 0;
    for (TVDListType kind : kinds) {
        TVDListLevel &level = list.GetLevels().Add();
        level.SetListType(kind);
        level.SetFormatString(u"\u2022");
        level.SetFormatStringW(u"\u25A0");
        level.SetLeftIndent(24 * i);
        level.SetMarkerIndent(i % 2 ? 24 * i : 0);
        level.SetFirstIndent(10);
        level.GetFont().SetStyle({gfx::fsBold, gfx::fsUnderline});
        ++i;
    }
}

// A Python that has Debian's tinycss2 (the system's, when the first python3 on the PATH is
// another); empty when there is none.
std::string PythonWithTinycss2() {
    for (const char *python : {"python3", "/usr/bin/python3"}) {
        if (wbtest::RunCommand(std::string(python) +
                               " -c 'import tinycss2; print(1)' 2>/dev/null") == "1\n") {
            return python;
        }
    }
    return {};
}

// Runs tinycss2 on the file: prints every parse error and every declared property that is not
// in the list browsers know, then "checked".
// The file is UTF-8, or in the system code page 1251 without vdcssUTF8.
std::string CheckCSS(const std::string &python, const std::filesystem::path &file, bool utf8) {
    const std::filesystem::path script = file.string() + ".py";
    std::ofstream(script) << R"(import sys, tinycss2
known = {"font-size", "display", "direction", "font-family", "font-style", "font-weight",
    "color", "letter-spacing", "text-transform", "background-color", "vertical-align",
    "text-decoration", "border-bottom", "text-align", "text-justify", "text-align-last",
    "text-indent", "line-height", "white-space", "page-break-inside", "page-break-after",
    "widows", "orphans", "border-color", "border-style", "border-width", "border-top",
    "border-right", "border-left", "border", "background", "padding", "margin", "margin-top",
    "margin-right", "margin-bottom", "margin-left", "padding-left", "padding-right",
    "list-style-type", "list-style-position", "min-width"}
text = open(sys.argv[1], encoding=sys.argv[2]).read()
rules = tinycss2.parse_stylesheet(text, skip_comments=True, skip_whitespace=True)
count = 0
for rule in rules:
    if rule.type == "error":
        print("error:", rule.message)
        continue
    for d in tinycss2.parse_declaration_list(rule.content, skip_comments=True, skip_whitespace=True):
        if d.type == "error":
            print("error:", d.message)
        elif d.lower_name not in known:
            print("unknown property:", d.name)
        else:
            count += 1
print("checked", len(rules), count)
)";
    return wbtest::RunCommand(python + " '" + script.string() + "' '" + file.string() + "' " +
                              (utf8 ? "utf-8" : "cp1251") + " 2>&1");
}

TEST_F(StyleCSS, SavedSheetsParseWithAnOutsideCSSParser) {
    const std::string python = PythonWithTinycss2();
    if (python.empty()) {
        GTEST_SKIP() << "python3-tinycss2 is not installed";
    }
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() /
        ("vdcss-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
         std::to_string(reinterpret_cast<uintptr_t>(this)));
    std::filesystem::create_directories(folder);
    const std::filesystem::path plain = folder / "default.css";
    ASSERT_TRUE(Sheet.SaveCSS(rtl::Utf8ToUtf16(plain.string()), {}));
    const std::string result = CheckCSS(python, plain, false);
    EXPECT_EQ(result.rfind("checked ", 0), 0u) << result;

    FillRichSheet(Sheet);
    const TVDSaveCSSOptions optionSets[] = {{},
                                            {vdcssOnlyDifference, vdcssUTF8},
                                            {vdcssNoDefCSSStyle, vdcssIgnoreLeftAlignment},
                                            {vdcssDefault0Style, vdcssMarkersAsText, vdcssUTF8}};
    for (TVDSaveCSSOptions options : optionSets) {
        for (TVDStyleUnits units : {vdstuPixels, vdstuTwips}) {
            Sheet.SetUnits(units);
            const std::filesystem::path rich = folder / "rich.css";
            ASSERT_TRUE(Sheet.SaveCSS(rtl::Utf8ToUtf16(rich.string()), options));
            const std::string checked = CheckCSS(python, rich, options.Contains(vdcssUTF8));
            EXPECT_EQ(checked.rfind("checked ", 0), 0u) << options.Bits() << "\n" << checked;
        }
    }
    std::filesystem::remove_all(folder);
}

} // namespace
} // namespace vizivodu
