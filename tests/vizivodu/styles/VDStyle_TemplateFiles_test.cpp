// Style sheets and templates stored and read back: random sheets through INI files, the
// registry and template files (VDST), and bad input refused with the file and key named while
// the sheet keeps what it had.
#include "vizivodu/styles/VDStyle.h"

#include "platform/rtl/IniFiles.h"
#include "platform/rtl/Registry.h"
#include "platform/rtl/StrUtils.h"
#include "tests/support/Fixtures.h"
#include "tests/support/TempFolder.h"
#include "tests/vizivodu/styles/RandomStyleSheet.h"
#include "vizivodu/styles/VDFuncs.h"
#include "vizivodu/styles/VDStyle_Templates.h"

#include <gtest/gtest.h>

#include <random>

using namespace vizivodu;
using vizivodu::test::DumpStyleSheet;
using vizivodu::test::DumpTemplates;

namespace {

class VDStyleFiles : public ::testing::Test {
protected:
    VDStyleFiles() { SetRandomSeedForTesting(11); }
    wbtest::TRegistryStoreScope FRegistry;
    wbtest::TTempFolder FFolder;
};

void ExpectSameLines(const std::vector<std::string> &expected,
                     const std::vector<std::string> &actual) {
    ASSERT_EQ(expected.size(), actual.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        ASSERT_EQ(expected[i], actual[i]) << "line " << i;
    }
}

std::string Message(const std::function<void()> &load) {
    try {
        load();
    } catch (const rtl::Exception &e) {
        return rtl::Utf16ToUtf8(e.Message());
    }
    return "<no error>";
}

} // namespace

TEST_F(VDStyleFiles, RandomSheetsComeBackFromEveryStore) {
    std::mt19937 random(20261211);
    // The registry store writes itself on every change: fewer rounds go through it.
    for (int round = 0; round < 32; ++round) {
        SCOPED_TRACE(round);
        TVDStyle sheet(nullptr);
        test::FillRandomStyleSheet(sheet, random);
        const std::vector<std::string> expected = DumpStyleSheet(sheet);

        const UnicodeString file = FFolder.File("sheet.ini");
        sheet.SaveINI(file, u"Sheet");
        TVDStyle fromFile(nullptr);
        fromFile.LoadINI(file, u"Sheet");
        ExpectSameLines(expected, DumpStyleSheet(fromFile));

        if (round % 8 == 0) {
            sheet.SaveReg(u"Software\\Test\\Styles");
            TVDStyle fromRegistry(nullptr);
            fromRegistry.LoadReg(u"Software\\Test\\Styles");
            ExpectSameLines(expected, DumpStyleSheet(fromRegistry));
        }

        const UnicodeString vdst = FFolder.File("templates.vdst");
        ASSERT_TRUE(sheet.GetStyleTemplates().SaveToVDST(vdst, sheet.GetUnits()));
        TVDStyleTemplateCollection fromVDST(nullptr);
        ASSERT_TRUE(fromVDST.LoadFromVDST(vdst, sheet.GetUnits()));
        ExpectSameLines(DumpTemplates(sheet.GetStyleTemplates()), DumpTemplates(fromVDST));
    }
}

TEST_F(VDStyleFiles, TemplateFilesConvertToTheUnitsAskedFor) {
    TVDStyleTemplateCollection templates(nullptr);
    TVDStyleTemplate &t = templates.Add();
    t.ValidParaProperties = {vdpiLeftIndent};
    t.GetParaStyle().SetLeftIndent(96);
    const UnicodeString vdst = FFolder.File("pixels.vdst");
    ASSERT_TRUE(templates.SaveToVDST(vdst, vdstuPixels));
    TVDStyleTemplateCollection twips(nullptr);
    ASSERT_TRUE(twips.LoadFromVDST(vdst, vdstuTwips));
    EXPECT_EQ(twips.GetItem(0).GetParaStyle().GetLeftIndent(), 1440);
}

TEST_F(VDStyleFiles, SavingIntoAFolderThatCannotBeWrittenAnswersFalse) {
    TVDStyleTemplateCollection templates(nullptr);
    templates.Add();
    EXPECT_FALSE(templates.SaveToVDST(FFolder.File("missing/folder/t.vdst"), vdstuPixels));
    TVDStyle sheet(nullptr);
    EXPECT_THROW(sheet.SaveINI(FFolder.File("missing/folder/s.ini"), u"S"), rtl::Exception);
}

TEST_F(VDStyleFiles, NamesOutsideTheAnsiCodePageAreKept) {
    TVDStyle sheet(nullptr);
    sheet.GetTextStyles().GetItem(0).SetFontName(u"\u5b8b\u4f53");
    const UnicodeString file = FFolder.File("cjk.ini");
    sheet.SaveINI(file, u"S");
    TVDStyle loaded(nullptr);
    loaded.LoadINI(file, u"S");
    EXPECT_EQ(loaded.GetTextStyles().GetItem(0).GetFontName(), u"\u5b8b\u4f53");
}

// Each bad file is refused with one message naming the file and the key, and the sheet that
// was asked to load keeps every style it had.
TEST_F(VDStyleFiles, BadInputIsRefusedAndTheSheetStaysAsItWas) {
    struct TCase {
        const char *Content;
        const char *Needle;
    };
    const TCase cases[] = {
        {"[Other]\nFontsCount=2\n", "section [S] not found"},
        {"[S]\nFontsCount=abc\n", "key \"FontsCount\" in section [S] is not a valid integer"},
        {"[S]\nFontsCount=99999999\n", "key \"FontsCount\""},
        {"[S]\nFontsCount=-1\n", "key \"FontsCount\""},
        {"[S]\nParasCount=1\nParaAlignment0=9\n", "key \"ParaAlignment0\" in section [S] is out "
                                                  "of range (0 to 4)"},
        {"[S]\nUnits=2\n", "key \"Units\""},
        {"[S]\nFontsCount=1\nFontCharset0=300\n", "key \"FontCharset0\""},
        {"[S]\nFontsCount=1\nFontJump0=Yes\nFontJumpCursor0=40000\n", "key \"FontJumpCursor0\""},
        {"[S]\nListCount=1\nListLevelsCount0=1\nList0LvlFormatStringW0=ABC\n",
         "key \"List0LvlFormatStringW0\""},
        {"[S]\nListCount=1\nListLevelsCount0=1\nList0LvlFont0=Arial,big\n",
         "key \"List0LvlFont0\""},
        {"[S]\nParasCount=1\nParaTabTabCount0=5000\n", "key \"ParaTabTabCount0\""},
        {"[S]\nSTItemCount=1\nST0Kind=3\n", "key \"ST0Kind\""},
        {"[S]\nListCount=3\nListLevelsCount0=40\nListLevelsCount1=40\n",
         "key \"ListLevelsCount1\""},
        {"[S]\nFontsCount=2\n[S", "line 3"},
    };
    std::mt19937 random(7);
    TVDStyle sheet(nullptr);
    test::FillRandomStyleSheet(sheet, random);
    const std::vector<std::string> before = DumpStyleSheet(sheet);
    const UnicodeString file = FFolder.File("bad.ini");
    const std::string fileName = rtl::Utf16ToUtf8(file);
    for (const TCase &c : cases) {
        SCOPED_TRACE(c.Content);
        wbtest::WriteFileBytes(FFolder / "bad.ini", c.Content);
        const std::string message = Message([&] { sheet.LoadINI(file, u"S"); });
        EXPECT_NE(message.find(c.Needle), std::string::npos) << message;
        EXPECT_NE(message.find(fileName), std::string::npos) << message;
        ExpectSameLines(before, DumpStyleSheet(sheet));
    }
}

TEST_F(VDStyleFiles, BadRegistryValuesAreRefused) {
    std::mt19937 random(8);
    TVDStyle sheet(nullptr);
    test::FillRandomStyleSheet(sheet, random);
    sheet.SaveReg(u"Software\\Test\\Bad");
    const std::vector<std::string> before = DumpStyleSheet(sheet);
    {
        rtl::TRegistryIniFile reg(u"Software\\Test\\Bad");
        reg.WriteString(u"VDStyle", u"ParaLeftIndent0", u"wide");
    }
    const std::string message = Message([&] { sheet.LoadReg(u"Software\\Test\\Bad"); });
    EXPECT_NE(message.find("key \"ParaLeftIndent0\" in section [VDStyle]"), std::string::npos)
        << message;
    EXPECT_NE(message.find("Software\\Test\\Bad"), std::string::npos) << message;
    ExpectSameLines(before, DumpStyleSheet(sheet));
    EXPECT_NE(Message([&] { sheet.LoadReg(u"Software\\Test\\Nothing"); }).find("not found"),
              std::string::npos);
}

TEST_F(VDStyleFiles, BadTemplateFilesAreRefused) {
    struct TCase {
        const char *Content;
        const char *Needle;
    };
    const TCase cases[] = {
        {"", "section [Styles] not found"},
        {"[Styles]\nSTItemCount=x\n", "key \"STItemCount\""},
        {"[Styles]\nSTItemCount=100000\n", "key \"STItemCount\""},
        {"[Styles]\nSTItemCount=1\nUnits=7\n", "key \"Units\""},
        {"[Styles]\nSTItemCount=1\nST0ParaLSType=4\n", "key \"ST0ParaLSType\""},
        {"[Styles]\nSTItemCount=1\nST0FontScript=-1\n", "key \"ST0FontScript\""},
        {"[Styles", "line 1"},
    };
    std::mt19937 random(9);
    TVDStyleTemplateCollection templates(nullptr);
    test::FillRandomTemplates(templates, random);
    const std::vector<std::string> before = DumpTemplates(templates);
    const UnicodeString file = FFolder.File("bad.vdst");
    for (const TCase &c : cases) {
        SCOPED_TRACE(c.Content);
        wbtest::WriteFileBytes(FFolder / "bad.vdst", c.Content);
        const std::string message = Message([&] { templates.LoadVDST(file, vdstuPixels); });
        EXPECT_NE(message.find(c.Needle), std::string::npos) << message;
        EXPECT_NE(message.find(rtl::Utf16ToUtf8(file)), std::string::npos) << message;
        EXPECT_FALSE(templates.LoadFromVDST(file, vdstuPixels));
        ExpectSameLines(before, DumpTemplates(templates));
    }
    EXPECT_FALSE(templates.LoadFromVDST(FFolder.File("absent.vdst"), vdstuPixels));
    ExpectSameLines(before, DumpTemplates(templates));
}
