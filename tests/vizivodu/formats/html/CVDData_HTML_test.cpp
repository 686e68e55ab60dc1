// HTML export of documents, with font tags and with CSS: the parts of a small document byte
// for byte, paragraphs, runs, lists, tables, pictures and notes, and every written file checked
// by tidy and read back by LibreOffice with the same text.
#include "vizivodu/document/CVDData.h"

#include "vizivodu/document/VDClasses.h"
#include "vizivodu/document/VDItem_Rect.h"
#include "vizivodu/document/VDNotes.h"
#include "vizivodu/formats/html/VDHTMLSave.h"
#include "vizivodu/layout/viewer/VDVDData.h"
#include "vizivodu/layout/viewer/ViziVodu.h"
#include "vizivodu/styles/VDStyle.h"
#include "vizivodu/tables/VDTable.h"
#include "vizivodu/tables/VDTable_Cells.h"

#include "tests/support/Commands.h"
#include "tests/vizivodu/DocumentTestSupport.h"

#include "platform/gfx/Bitmap.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/SafeSave.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>

using namespace vizivodu;
using vizivodu::test::TTestDocument;

namespace {

class TRootDocument : public TTestDocument {
public:
    using TTestDocument::TTestDocument;
    TVDFlags GetFlags() override { return {vdflRoot}; }
};

std::string Bytes(TVDMemoryStream &stream) {
    const auto *p = reinterpret_cast<const char *>(stream.GetMemory());
    return p ? std::string(p, static_cast<size_t>(stream.GetSize())) : std::string();
}

enum class TForm { Fonts, CSS };

std::string Save(TCustomVDData &doc, TForm form, TVDSaveOptions options,
                 const rtl::UnicodeString &path = u"") {
    TVDHTMLSaveParams params;
    params.Options = options;
    params.Title = u"T";
    params.Path = path;
    TVDMemoryStream stream;
    const bool ok = form == TForm::CSS ? doc.SaveHTMLToStreamEx(stream, params)
                                       : doc.SaveHTMLToStream(stream, params);
    EXPECT_TRUE(ok);
    return Bytes(stream);
}

class HTMLExport : public ::testing::Test {
protected:
    HTMLExport() : Style(nullptr), Doc(&Style) {}
    TVDStyle Style;
    TRootDocument Doc;
};

// A fresh folder for files of one test.
std::string TempDir() {
    const auto dir =
        std::filesystem::temp_directory_path() /
        ("vdhtml_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir.string() + "/";
}

std::string ReadFile(const std::string &name) {
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The words of a text, in order.
std::vector<std::string> Words(const std::string &text) {
    std::vector<std::string> words;
    std::string word;
    for (char ch : text + " ") {
        if (ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n' || ch == '\f') {
            if (!word.empty()) {
                words.push_back(word);
            }
            word.clear();
        } else {
            word += ch;
        }
    }
    return words;
}

} // namespace

TEST_F(HTMLExport, AParagraphAndRunsWithFontTagsArePinned) {
    Doc.AddNL(u"a <b> ", 0, 0);
    Doc.AddNL(u" c", 1, -1); // the space ending the run before becomes a non-breaking space
    Doc.AddNL(u"", 0, 0);    // an empty last paragraph is a line break
    EXPECT_EQ(Save(Doc, TForm::Fonts, {}),
              "<html><head><title>T</title>\r\n"
              "</head>\r\n"
              "<body leftmargin=0 topmargin=0 rightmargin=0 bottommargin=0>\r\n"
              "<font size=2 color=\"#000000\" face=\"Arial\">\r\n"
              "<div>a &lt;b&gt;&nbsp;<font color=\"#0000ff\"><b> c</b></font></div>\r\n"
              "<div><br></div>\r\n"
              "</font>\r\n"
              "</body></html>\r\n");
    EXPECT_EQ(Save(Doc, TForm::Fonts, {vdsoFirstOnly}),
              "<html><head><title>T</title>\r\n"
              "</head>\r\n"
              "<body leftmargin=0 topmargin=0 rightmargin=0 bottommargin=0>\r\n");
    EXPECT_EQ(Save(Doc, TForm::Fonts, {vdsoLastOnly}), "</body></html>\r\n");
}

TEST_F(HTMLExport, RunsWithCSSAreClassesAndStyleZeroHasNoSpan) {
    Doc.AddNL(u"a ", 0, 0);
    Doc.AddNL(u"b", 3, -1);
    Doc.AddNL(u"c", 0, 1);
    EXPECT_EQ(Save(Doc, TForm::CSS, {vdsoMiddleOnly}), "<p>a <span class=vdts3>b</span></p>\r\n"
                                                       "<p class=vdps1>c</p>\r\n");
    EXPECT_EQ(Save(Doc, TForm::CSS, {vdsoMiddleOnly, vdsoXHTML}),
              "<p>a <span class=\"vdts3\">b</span></p>\r\n"
              "<p class=\"vdps1\">c</p>\r\n");
    const std::string head = Save(Doc, TForm::CSS, {vdsoFirstOnly, vdsoXHTML, vdsoMarkersAsText});
    const std::string start = "<?xml version=\"1.0\"?>\r\n"
                              "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\" "
                              "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd\">\r\n";
    EXPECT_EQ(head.substr(0, start.size()), start);
    EXPECT_NE(head.find("<html xmlns=\"http://www.w3.org/1999/xhtml\">\r\n"), std::string::npos);
    const std::string inlined = Save(Doc, TForm::CSS, {vdsoInlineCSS});
    EXPECT_EQ(inlined.find("<style"), std::string::npos);
    EXPECT_NE(inlined.find("<body style=\"margin: 0px 0px 0px 0px;\">"), std::string::npos);
    EXPECT_EQ(inlined.find("class="), std::string::npos);
}

TEST_F(HTMLExport, CheckpointsAndCodeStyles) {
    TFontInfo &rtfCode = Style.GetTextStyles().Add();
    rtfCode.SetOptions({vdteoRTFCode});
    Doc.AddNamedCheckpointExTag(u"", false, {});
    Doc.AddNL(u"a", 0, 0);
    Doc.AddNL(u"{\\rtf}", rtfCode.GetIndex(), -1); // absent from HTML
    Doc.AddNamedCheckpointExTag(u"named \"x\"", false, {});
    Doc.AddNL(u"b", 0, 0);
    EXPECT_EQ(Save(Doc, TForm::Fonts, {vdsoMiddleOnly, vdsoDefault0Style}),
              "<div>\r\n<a name=\"ViziVoduCheckpoint0\"></a>\r\na</div>\r\n"
              "<div>\r\n<a name=\"ViziVoduCheckpoint1\"></a>\r\nb</div>\r\n");
    // A checkpoint's own name is escaped: a quote in it cannot end the attribute.
    EXPECT_EQ(Save(Doc, TForm::CSS, {vdsoMiddleOnly, vdsoUseCheckpointsNames}),
              "<p><a name=\"ViziVoduCheckpoint0\"></a>\r\na</p>\r\n"
              "<p><a name=\"named &quot;x&quot;\"></a>\r\nb</p>\r\n");
}

TEST_F(HTMLExport, ListsAreListElements) {
    TVDListInfo &list = Style.GetListStyles().Add();
    list.GetLevels().Add().SetListType(vdlstDecimal);
    Doc.SetListMarkerInfo(-1, 0, 0, 1, 0, false);
    Doc.AddNL(u"one", 0, -1);
    Doc.SetListMarkerInfo(-1, 0, 0, 1, 0, false);
    Doc.AddNL(u"two", 0, -1);
    Doc.AddNL(u"after", 0, 0);
    EXPECT_EQ(Save(Doc, TForm::Fonts, {vdsoMiddleOnly, vdsoDefault0Style}),
              "<ol>\r\n<li value=1>one</li>\r\n<li value=2>two</li>\r\n</ol>\r\n"
              "<div>after</div>\r\n");
    EXPECT_EQ(Save(Doc, TForm::CSS, {vdsoMiddleOnly}),
              "<ol style=\"text-indent: 0px; padding: 0; margin: 0 0 0 0px; "
              "list-style-position: inside; list-style-type: decimal;\">\r\n"
              "<li value=1>one</li>\r\n<li value=2>two</li>\r\n</ol>\r\n<p>after</p>\r\n");
}

TEST_F(HTMLExport, TablesWriteOneCellElementPerCellOfItsOwn) {
    auto made = TVDTableItemInfo::CreateEx(2, 2, &Doc);
    TVDTableItemInfo &table = *made;
    table.GetCells(0, 0)->Clear();
    table.GetCells(0, 0)->AddNL(u"A", 0, 0);
    table.MergeCells(0, 0, 2, 1, false);
    table.GetCells(1, 1)->Clear();
    table.GetCells(1, 1)->AddNL(u"D", 0, 0);
    Doc.AddItem(u"", std::move(made));
    EXPECT_EQ(Save(Doc, TForm::Fonts, {vdsoMiddleOnly, vdsoDefault0Style}),
              "<div><table border=0 cellpadding=1 cellspacing=2 bgcolor=#ffffff>"
              "<tr valign=top><td colspan=2><div>A</div>\r\n</td></tr>\r\n"
              "<tr valign=top><td><br></td><td><div>D</div>\r\n</td></tr>\r\n"
              "</table>\r\n</div>\r\n");
    const std::string css = Save(Doc, TForm::CSS, {vdsoMiddleOnly, vdsoXHTML});
    EXPECT_NE(css.find("<td colspan=\"2\" "), std::string::npos) << css;
    EXPECT_NE(css.find("<br />"), std::string::npos) << css;
    // As text: the top cell, a column separator for the covered position, a row separator,
    // the two bottom cells with a column separator between them.
    table.SetTextColSeparator(u"|");
    table.SetTextRowSeparator(u"/");
    EXPECT_EQ(table.AsText(80, &Doc, {}, false, false, 0), "A|/|D");
}

TEST_F(HTMLExport, APictureIsWrittenBesideTheFile) {
    const std::string dir = TempDir();
    Doc.AddPictureEx("pic", std::make_unique<gfx::TBitmap>(4, 3), 0, vdvaMiddle);
    EXPECT_EQ(Save(Doc, TForm::Fonts, {vdsoMiddleOnly, vdsoDefault0Style}, rtl::Utf8ToUtf16(dir)),
              "<div><img align=middle hspace=1 vspace=1 src=\"1.jpg\"></div>\r\n");
    EXPECT_TRUE(std::filesystem::exists(dir + "1.jpg"));
    EXPECT_EQ(Save(Doc, TForm::CSS, {vdsoMiddleOnly, vdsoXHTML}, rtl::Utf8ToUtf16(dir)),
              "<p><img alt=\"\" style=\"vertical-align: middle; padding : 1px;\" "
              "src=\"2.jpg\" /></p>\r\n");
    std::filesystem::remove_all(dir);
}

TEST_F(HTMLExport, ARootDocumentEndsWithItsFootnotes) {
    TViziVodu v(nullptr);
    v.SetStyle(&Style);
    v.AddNL(u"text", 0, 0);
    test::AddNote<TVDFootnoteItemInfo>(v).GetDocument().AddNL(u"note", 0, 0);
    EXPECT_EQ(Save(v.GetVDData(), TForm::Fonts, {vdsoMiddleOnly, vdsoDefault0Style}),
              "<div>text<a href=\"#_footnote0\">1</a></div>\r\n"
              "<hr noshade color=\"#c0c0c0\" width=\"30%\" align=\"left\" size=\"2\" >\r\n"
              "<a name=\"_footnote0\"></a><div>note</div>\r\n");
}

TEST_F(HTMLExport, AFailedPictureSaveKeepsTheOldFileAndLeavesNoPictures) {
    const std::string dir = TempDir();
    std::ofstream(dir + "doc.htm") << "old";
    std::filesystem::create_directory(dir + "2.jpg"); // the second picture cannot be written
    Doc.AddPictureEx("a", std::make_unique<gfx::TBitmap>(4, 3), 0, vdvaBaseline);
    Doc.AddPictureEx("b", std::make_unique<gfx::TBitmap>(4, 3), 0, vdvaBaseline);
    TVDHTMLSaveParams params;
    EXPECT_FALSE(Doc.SaveHTML(rtl::Utf8ToUtf16(dir + "doc.htm"), params));
    EXPECT_EQ(ReadFile(dir + "doc.htm"), "old");
    EXPECT_FALSE(std::filesystem::exists(dir + "1.jpg"));
    std::filesystem::remove(dir + "2.jpg");
    EXPECT_TRUE(Doc.SaveHTMLEx(rtl::Utf8ToUtf16(dir + "doc.htm"), params));
    EXPECT_NE(ReadFile(dir + "doc.htm").find("src=\"2.jpg\""), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(dir + "3.jpg"));
    std::filesystem::remove_all(dir);
}

// A document with every kind the writers handle: headings, runs, a hyperlink-free note, a list,
// a merged table, a picture, a rule, texts that need escaping.
void FillFullDocument(TCustomVDData &doc, TVDStyle &style) {
    TParaInfo &heading = style.GetParaStyles().Add();
    heading.SetOutlineLevel(1);
    TVDListInfo &list = style.GetListStyles().Add();
    list.GetLevels().Add().SetListType(vdlstDecimal);
    doc.AddNL(u"Заголовок отчёта", 1, heading.GetIndex());
    doc.AddNL(u"Текст & <знаки> \"кавычки\" ", 0, 0);
    doc.AddNL(u"выделено", 3, -1);
    doc.SetListMarkerInfo(-1, 0, 0, 1, 0, false);
    doc.AddNL(u"первый", 0, -1);
    doc.SetListMarkerInfo(-1, 0, 0, 1, 0, false);
    doc.AddNL(u"второй", 0, -1);
    auto table = TVDTableItemInfo::CreateEx(2, 3, &doc);
    const char16_t *cells[] = {u"шапка", nullptr, u"C", u"a1", u"b1", u"c1"};
    for (int32_t k = 0; k < 6; ++k) {
        if (cells[k]) {
            table->GetCells(k / 3, k % 3)->Clear();
            table->GetCells(k / 3, k % 3)->AddNL(cells[k], 0, 0);
        }
    }
    table->MergeCells(0, 0, 2, 1, false);
    doc.AddItem(u"", std::move(table));
    doc.AddBreak();
    doc.AddPictureEx("logo", std::make_unique<gfx::TBitmap>(8, 8), 0, vdvaBaseline);
    doc.AddNL(u"конец", 0, -1);
}

TEST(HTMLExportReaders, EveryFormPassesTidyAndLibreOfficeReadsTheText) {
    const bool tidy = wbtest::HaveTool("tidy");
    const bool soffice = wbtest::HaveTool("soffice");
    if (!tidy && !soffice) {
        GTEST_SKIP() << "tidy and soffice missing";
    }
    const std::string dir = TempDir();
    TVDStyle style(nullptr);
    TRootDocument doc(&style);
    FillFullDocument(doc, style);
    struct TCase {
        const char *Name;
        bool CSS;
        TVDSaveOptions Options;
    };
    const TCase cases[] = {
        {"fonts", false, {vdsoUTF8}},
        {"fontsx", false, {vdsoUTF8, vdsoXHTML}},
        {"css", true, {vdsoUTF8}},
        {"cssx", true, {vdsoUTF8, vdsoXHTML}},
        {"cssinline", true, {vdsoUTF8, vdsoInlineCSS}},
        {"cssansi", true, {}},
    };
    std::string files;
    for (const TCase &c : cases) {
        TVDHTMLSaveParams params;
        params.Title = u"Отчёт \"1\" & <2>";
        params.Options = c.Options;
        params.ImagesPrefix = rtl::Utf8ToUtf16(std::string(c.Name) + "_");
        const rtl::UnicodeString file = rtl::Utf8ToUtf16(dir + c.Name + ".html");
        ASSERT_TRUE(c.CSS ? doc.SaveHTMLEx(file, params) : doc.SaveHTML(file, params)) << c.Name;
        files += " '" + dir + c.Name + ".html'";
        if (tidy) {
            const std::string errors = wbtest::RunCommand("tidy -errors -q '" + dir + c.Name +
                                                          ".html' 2>&1 | grep -i error");
            EXPECT_EQ(errors, "") << c.Name;
        }
    }
    if (!soffice) {
        return;
    }
    wbtest::RunCommand("cd '" + dir + "' && soffice -env:UserInstallation=file://" + dir +
                       "lo --headless --convert-to txt:Text --outdir '" + dir + "out'" + files +
                       " > /dev/null 2>&1");
    const std::vector<std::string> expected =
        Words("Заголовок отчёта Текст & <знаки> \"кавычки\" выделено 1. первый 2. второй "
              "шапка C a1 b1 c1 конец");
    for (const TCase &c : cases) {
        std::string text = ReadFile(dir + "out/" + c.Name + ".txt");
        if (text.rfind("\xEF\xBB\xBF", 0) == 0) {
            text.erase(0, 3);
        }
        std::vector<std::string> words = Words(text);
        // LibreOffice writes list numbers as "1." or not at all, by form.
        std::vector<std::string> want = expected;
        if (std::find(words.begin(), words.end(), "1.") == words.end()) {
            want.erase(std::remove(want.begin(), want.end(), "1."), want.end());
            want.erase(std::remove(want.begin(), want.end(), "2."), want.end());
        }
        EXPECT_EQ(words, want) << c.Name << ":\n" << text;
    }
    if (!HasFailure()) {
        std::filesystem::remove_all(dir);
    }
}

TEST(HTMLExportViewer, TheViewerWritesItsColourAndMarginsAndKeepsTheSavingState) {
    TVDStyle style(nullptr);
    TViziVodu v(nullptr);
    v.SetStyle(&style);
    v.SetColor(0x0000FF);
    v.LeftMargin = 7;
    v.AddNL(u"x", 0, 0);
    v.imgSaveNo = 5;
    TVDMemoryStream stream;
    ASSERT_TRUE(v.SaveHTMLToStream(stream, u"", u"T", u"img", {vdsoFirstOnly}));
    EXPECT_NE(Bytes(stream).find("<body bgcolor=\"#ff0000\" leftmargin=7 topmargin=5 "
                                 "rightmargin=5 bottommargin=5>"),
              std::string::npos)
        << Bytes(stream);
    EXPECT_EQ(v.imgSavePrefix, u"img");
    EXPECT_EQ(v.imgSaveNo, 0);
    EXPECT_EQ(v.CurrentFileColor, 0x0000FF);
}
