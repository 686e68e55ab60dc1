// The DOCX package: its parts, relationships and content types in order, the parts that only
// some documents have (numbering, notes, media), the body's paragraphs, runs, lists, tables,
// pictures and notes where their markup is fixed, and the viewer's saving to a file.
#include "vizivodu/formats/ooxml/VDDocXPackage.h"

#include "vizivodu/document/VDItem_Rect.h"
#include "vizivodu/document/VDMarker.h"
#include "vizivodu/document/VDNotes.h"
#include "vizivodu/styles/VDStyle.h"
#include "vizivodu/styles/VDStyle_Lists.h"
#include "vizivodu/styles/VDStyle_Text.h"
#include "vizivodu/tables/VDTable.h"
#include "vizivodu/tables/VDTable_Cells.h"

#include "tests/vizivodu/DocumentTestSupport.h"
#include "tests/vizivodu/formats/ooxml/DocXTestSupport.h"

#include "platform/gfx/Bitmap.h"

#include <gtest/gtest.h>

namespace vizivodu {
namespace {

using test::EntryText;
using test::SaveDocXBytes;
using test::UnpackEntries;
using TEntries = std::vector<std::pair<std::string, std::string>>;

const std::string kDecl = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n";
const std::string kRel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";

std::vector<std::string> Names(const TEntries &entries) {
    std::vector<std::string> names;
    for (const auto &entry : entries) {
        names.push_back(entry.first);
    }
    return names;
}

// The markup between <w:body> and the section end of the main part.
std::string Body(const TEntries &entries) {
    const std::string doc = EntryText(entries, "word/document.xml");
    const size_t start = doc.find("<w:body>");
    const size_t end = doc.rfind("</w:body>");
    return start == std::string::npos || end == std::string::npos
               ? std::string()
               : doc.substr(start + 8, end - start - 8);
}

class DocXPackage : public ::testing::Test {
protected:
    DocXPackage() : Style(nullptr), Doc(&Style) {}

    TEntries Save() {
        bool ok = false;
        const TEntries entries = UnpackEntries(SaveDocXBytes(Doc, &ok));
        EXPECT_TRUE(ok);
        return entries;
    }

    TVDStyle Style;
    test::TTestDocument Doc;
};

TEST_F(DocXPackage, PartsRelationshipsAndContentTypesOfAPlainDocument) {
    Doc.AddNL(u"a", 0, 0);
    const TEntries entries = Save();
    EXPECT_EQ(Names(entries), (std::vector<std::string>{"word/settings.xml", "word/document.xml",
                                                        "word/fontTable.xml", "word/styles.xml",
                                                        "word/_rels/document.xml.rels",
                                                        "_rels/.rels", "[Content_Types].xml"}));
    EXPECT_EQ(EntryText(entries, "word/_rels/document.xml.rels"),
              kDecl +
                  "<Relationships "
                  "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                  "<Relationship Id=\"rIdFT\" Type=\"" +
                  kRel +
                  "fontTable\" Target=\"fontTable.xml\"/><Relationship Id=\"rIdSt\" Type=\"" +
                  kRel + "styles\" Target=\"styles.xml\"/><Relationship Id=\"rIdSet\" Type=\"" +
                  kRel + "settings\" Target=\"settings.xml\"/></Relationships>");
    EXPECT_EQ(EntryText(entries, "_rels/.rels"),
              kDecl +
                  "<Relationships "
                  "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                  "<Relationship Id=\"rId1\" Type=\"" +
                  kRel + "officeDocument\" Target=\"word/document.xml\"/></Relationships>");
    const std::string wml = "application/vnd.openxmlformats-officedocument.wordprocessingml.";
    EXPECT_EQ(EntryText(entries, "[Content_Types].xml"),
              kDecl +
                  "<Types "
                  "xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
                  "<Default Extension=\"rels\" "
                  "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
                  "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
                  "<Override PartName=\"/word/document.xml\" ContentType=\"" +
                  wml +
                  "document.main+xml\"/><Override PartName=\"/word/styles.xml\" "
                  "ContentType=\"" +
                  wml + "styles+xml\"/><Override PartName=\"/word/fontTable.xml\" ContentType=\"" +
                  wml +
                  "fontTable+xml\"/><Override PartName=\"/word/settings.xml\" ContentType=\"" +
                  wml + "settings+xml\"/></Types>");
}

TEST_F(DocXPackage, StylesWithoutTemplatesAreTheDefaultsAndNormal) {
    Doc.AddNL(u"a", 0, 0);
    EXPECT_EQ(EntryText(Save(), "word/styles.xml"),
              kDecl +
                  "<w:styles "
                  "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\" "
                  "xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\">"
                  "<w:docDefaults><w:pPrDefault><w:pPr><w:spacing w:after=\"0\" w:before=\"0\" "
                  "w:line=\"240\" w:lineRule=\"auto\"/><w:widowControl w:val=\"0\"/></w:pPr>"
                  "</w:pPrDefault><w:rPrDefault><w:rPr><w:rFonts w:ascii=\"Arial\" "
                  "w:hAnsi=\"Arial\"/><w:sz w:val=\"20\"/></w:rPr></w:rPrDefault>"
                  "</w:docDefaults><w:style w:type=\"paragraph\" w:default=\"1\" "
                  "w:styleId=\"0\"><w:name w:val=\"Normal\"/><w:qFormat/></w:style>"
                  "</w:styles>");
}

TEST_F(DocXPackage, AParagraphOfRunsIsPinned) {
    Doc.AddNL(u" a<b>", 0, 0);
    Doc.AddNL(u"c", 0, -1);
    Doc.AddNL(u"d e", 0, 0);
    // Paragraph style 0 carries its single line spacing.
    const std::string p = "<w:p><w:pPr><w:spacing w:lineRule=\"auto\" w:line=\"240\"/></w:pPr>";
    EXPECT_EQ(Body(Save()), p +
                                "<w:r><w:t xml:space=\"preserve\"> a&lt;b&gt;</w:t></w:r>"
                                "<w:r><w:t>c</w:t></w:r></w:p>" +
                                p + "<w:r><w:t>d e</w:t></w:r></w:p>");
}

TEST_F(DocXPackage, ALineBreakAndAPageBreakAreRunsAndParagraphs) {
    Doc.AddNL(u"a", 0, 0);
    Doc.AddNL(u"b", 0, 0);
    Doc.GetItem(1)->SetBR(true);
    Doc.AddNL(u"c", 0, 0);
    Doc.GetItem(2)->SetPageBreakBefore(true);
    const std::string p = "<w:p><w:pPr><w:spacing w:lineRule=\"auto\" w:line=\"240\"/></w:pPr>";
    EXPECT_EQ(Body(Save()), p +
                                "<w:r><w:t>a</w:t></w:r><w:r><w:br/></w:r>"
                                "<w:r><w:t>b</w:t></w:r></w:p>"
                                "<w:p><w:r><w:br w:type=\"page\"/></w:r></w:p>" +
                                p + "<w:r><w:t>c</w:t></w:r></w:p>");
}

TEST_F(DocXPackage, ACheckpointWithASpaceIsABookmarkWithAnUnderscore) {
    Doc.AddNL(u"a", 0, 0);
    Doc.AddNamedCheckpointExTag(u"two words", false, {});
    Doc.AddNL(u"b", 0, -1);
    const std::string body = Body(Save());
    EXPECT_NE(body.find("<w:bookmarkStart w:id=\"0\" w:name=\"two_words\"/>"
                        "<w:bookmarkEnd w:id=\"0\"/><w:r><w:t>b</w:t></w:r>"),
              std::string::npos)
        << body;
}

TEST_F(DocXPackage, ASymbolFontRunWritesOneSymbolPerCharacter) {
    TFontInfo &symbol = Style.GetTextStyles().Add();
    symbol.SetFontName(u"Symbol");
    symbol.SetCharset(2);
    Doc.AddNL(u"ab", Style.GetTextStyles().GetCount() - 1, 0);
    const std::string body = Body(Save());
    EXPECT_NE(body.find("<w:sym w:font=\"Symbol\" w:char=\"0061\"/>"
                        "<w:sym w:font=\"Symbol\" w:char=\"0062\"/></w:r>"),
              std::string::npos)
        << body;
    EXPECT_EQ(body.find("<w:t>"), std::string::npos);
}

TEST_F(DocXPackage, AListHasANumberingPartAndNumberedParagraphs) {
    TVDListInfo &list = Style.GetListStyles().Add();
    TVDListLevel &level = list.GetLevels().Add();
    level.SetListType(vdlstDecimal);
    level.SetFormatString(u"%0:s.");
    level.SetLeftIndent(24);
    level.SetMarkerIndent(0);
    list.GetLevels().Add().SetListType(vdlstBullet);
    Doc.AddItem(u"", std::make_unique<TVDMarkerItemInfo>(&Doc, 0, 0, 1, false));
    Doc.AddNL(u"one", 0, -1);
    Doc.AddItem(u"", std::make_unique<TVDMarkerItemInfo>(&Doc, 0, 0, 5, true));
    Doc.AddNL(u"two", 0, -1);
    const TEntries entries = Save();
    const std::string numbering = EntryText(entries, "word/numbering.xml");
    EXPECT_NE(numbering.find("<w:abstractNum w:abstractNumId=\"0\"><w:multiLevelType "
                             "w:val=\"hybridMultilevel\"/><w:lvl w:ilvl=\"0\"><w:numFmt "
                             "w:val=\"decimal\"/><w:lvlText w:val=\"%1.\"/><w:lvlJc "
                             "w:val=\"left\"/><w:start w:val=\"1\"/>"),
              std::string::npos)
        << numbering;
    // Nine levels for a list of two; the last ones repeat level 1.
    EXPECT_NE(numbering.find("<w:lvl w:ilvl=\"8\"><w:numFmt w:val=\"bullet\"/>"),
              std::string::npos);
    EXPECT_NE(numbering.find("<w:num w:numId=\"1\"><w:abstractNumId w:val=\"0\"/></w:num>"
                             "<w:num w:numId=\"2\"><w:abstractNumId w:val=\"0\"/><w:lvlOverride "
                             "w:ilvl=\"0\"><w:startOverride w:val=\"5\"/></w:lvlOverride>"
                             "</w:num></w:numbering>"),
              std::string::npos)
        << numbering;
    const std::string body = Body(entries);
    EXPECT_NE(body.find("<w:numPr><w:ilvl w:val=\"0\"/><w:numId w:val=\"1\"/></w:numPr>"),
              std::string::npos)
        << body;
    EXPECT_NE(body.find("<w:numPr><w:ilvl w:val=\"0\"/><w:numId w:val=\"2\"/></w:numPr>"),
              std::string::npos);
    EXPECT_NE(EntryText(entries, "word/_rels/document.xml.rels")
                  .find("<Relationship Id=\"rIdNm\" Type=\"" + kRel +
                        "numbering\" Target=\"numbering.xml\"/>"),
              std::string::npos);
    EXPECT_NE(EntryText(entries, "[Content_Types].xml").find("/word/numbering.xml"),
              std::string::npos);
}

TEST_F(DocXPackage, ATableWithMergedCellsIsPinned) {
    auto table = TVDTableItemInfo::CreateEx(2, 2, &Doc);
    for (int32_t r = 0; r < 2; ++r) {
        for (int32_t c = 0; c < 2; ++c) {
            table->GetCells(r, c)->Clear();
            table->GetCells(r, c)->AddNL(std::u16string(1, char16_t(u'a' + 2 * r + c)), 0, 0);
        }
    }
    table->MergeCells(0, 0, 1, 2, false);
    TVDTableItemInfo &t = *table;
    Doc.AddItem(u"", std::move(table));
    const std::string body = Body(Save());
    const size_t rows = body.find("<w:tr>");
    ASSERT_NE(rows, std::string::npos) << body;
    EXPECT_EQ(body.substr(0, 7), "<w:tbl>");
    EXPECT_NE(body.find("<w:tblGrid><w:gridCol w:w=\""), std::string::npos);
    const std::string tail = body.substr(rows);
    EXPECT_NE(tail.find("<w:tc><w:tcPr><w:vMerge w:val=\"restart\"/>"), std::string::npos) << tail;
    // Merging moved the lower cell's text into the upper one.
    EXPECT_NE(tail.find("<w:r><w:t>a</w:t></w:r></w:p>"), std::string::npos);
    EXPECT_LT(tail.find("<w:t>c</w:t>"), tail.find("</w:tc>"));
    EXPECT_NE(tail.find("<w:tc><w:tcPr><w:vMerge/>"), std::string::npos);
    EXPECT_NE(tail.find("</w:tcPr><w:p/></w:tc>"), std::string::npos) << tail;
    EXPECT_EQ(body.substr(body.size() - 8), "</w:tbl>");
    EXPECT_EQ(t.GetRowCount(), 2);
}

TEST_F(DocXPackage, ACellEndingWithATableEndsWithAnEmptyParagraph) {
    auto outer = TVDTableItemInfo::CreateEx(1, 1, &Doc);
    TVDTableCellData &cell = *outer->GetCells(0, 0);
    auto inner = TVDTableItemInfo::CreateEx(1, 1, &cell);
    inner->GetCells(0, 0)->Clear();
    inner->GetCells(0, 0)->AddNL(u"in", 0, 0);
    cell.AddItem(u"", std::move(inner));
    Doc.AddItem(u"", std::move(outer));
    const std::string body = Body(Save());
    // A w:tc must end with a paragraph.
    EXPECT_NE(body.find("</w:tbl><w:p/></w:tc></w:tr></w:tbl>"), std::string::npos) << body;
}

TEST_F(DocXPackage, APictureIsAMediaPartWithItsRelationshipAndContentType) {
    auto bitmap = std::make_unique<gfx::TBitmap>();
    bitmap->SetPixelFormat(gfx::pf24bit);
    bitmap->SetSize(4, 3);
    auto picture = std::make_unique<TVDGraphicItemInfo>(&Doc, std::move(bitmap), vdvaBaseline);
    picture->ParaNo = 0;
    picture->Alt = u"a \"b\"";
    Doc.AddItem(u"", std::move(picture));
    auto second = std::make_unique<gfx::TBitmap>();
    second->SetSize(2, 2);
    auto right = std::make_unique<TVDGraphicItemInfo>(&Doc, std::move(second), vdvaRight);
    right->ParaNo = -1;
    Doc.AddItem(u"", std::move(right));
    const TEntries entries = Save();
    const std::vector<std::string> names = Names(entries);
    EXPECT_NE(std::find(names.begin(), names.end(), "word/media/img1.png"), names.end());
    EXPECT_NE(std::find(names.begin(), names.end(), "word/media/img2.png"), names.end());
    EXPECT_EQ(EntryText(entries, "word/media/img1.png").substr(1, 3), "PNG");
    const std::string rels = EntryText(entries, "word/_rels/document.xml.rels");
    EXPECT_NE(rels.find("<Relationship Id=\"prId1\" Type=\"" + kRel +
                        "image\" Target=\"media/img1.png\"/><Relationship Id=\"prId2\""),
              std::string::npos)
        << rels;
    EXPECT_NE(EntryText(entries, "[Content_Types].xml")
                  .find("<Default Extension=\"png\" ContentType=\"image/png\"/>"),
              std::string::npos);
    const std::string body = Body(entries);
    EXPECT_NE(body.find("<w:r><w:drawing><wp:inline distT=\"0\" distB=\"0\" distL=\"0\" "
                        "distR=\"0\"><wp:extent cx=\"38100\" cy=\"28575\"/>"),
              std::string::npos)
        << body;
    EXPECT_NE(body.find("<wp:docPr id=\"1\" name=\"Pic 1\" title=\"a &quot;b&quot;\"/>"),
              std::string::npos);
    EXPECT_NE(body.find("<a:blip r:embed=\"prId1\" cstate=\"print\"/>"), std::string::npos);
    EXPECT_NE(body.find("<wp:docPr id=\"2\" name=\"Pic 2\"/>"), std::string::npos);
    EXPECT_NE(body.find("<wp:align>right</wp:align>"), std::string::npos);
    EXPECT_NE(body.find("<wp:wrapSquare wrapText=\"left\"/>"), std::string::npos);
}

TEST_F(DocXPackage, AFootnoteAndAnEndnoteFillTheirParts) {
    Doc.AddNL(u"a", 0, 0);
    test::AddNote<TVDFootnoteItemInfo>(
        Doc, [](TVDFootnoteItemInfo &n) { n.GetDocument().AddNL(u"foot", 0, 0); });
    test::AddNote<TVDEndnoteItemInfo>(
        Doc, [](TVDEndnoteItemInfo &n) { n.GetDocument().AddNL(u"end", 0, 0); });
    const TEntries entries = Save();
    const std::string body = Body(entries);
    EXPECT_NE(body.find("<w:footnoteReference w:id=\"1\"/></w:r>"), std::string::npos) << body;
    EXPECT_NE(body.find("<w:endnoteReference w:id=\"1\"/></w:r>"), std::string::npos);
    const std::string footnotes = EntryText(entries, "word/footnotes.xml");
    EXPECT_NE(footnotes.find("<w:footnote w:type=\"separator\" w:id=\"-1\"><w:p><w:pPr>"
                             "<w:spacing w:after=\"0\" w:line=\"240\" w:lineRule=\"auto\"/>"
                             "</w:pPr><w:r><w:separator/></w:r></w:p></w:footnote>"
                             "<w:footnote w:type=\"continuationSeparator\" w:id=\"0\">"),
              std::string::npos)
        << footnotes;
    EXPECT_NE(footnotes.find("<w:footnote w:id=\"1\"><w:p><w:pPr><w:spacing w:lineRule=\"auto\" "
                             "w:line=\"240\"/></w:pPr><w:r><w:t>foot</w:t></w:r></w:p>"
                             "</w:footnote></w:footnotes>"),
              std::string::npos)
        << footnotes;
    EXPECT_NE(
        EntryText(entries, "word/endnotes.xml").find("<w:r><w:t>end</w:t></w:r></w:p></w:endnote>"),
        std::string::npos);
    const std::string rels = EntryText(entries, "word/_rels/document.xml.rels");
    EXPECT_NE(rels.find("Id=\"rIdFn\""), std::string::npos);
    EXPECT_NE(rels.find("Id=\"rIdEn\""), std::string::npos);
}

TEST_F(DocXPackage, HyperlinkRunsOfOneTargetShareOneHyperlinkAndTheirPartHasRelationships) {
    TFontInfo &link = Style.GetTextStyles().Add();
    link.SetJump(true);
    const int32_t jump = Style.GetTextStyles().GetCount() - 1;
    Doc.AddNL(u"x", 0, 0);
    Doc.AddNLTag(u"a", jump, -1, u"http://e.org/p q#top");
    Doc.AddNLTag(u"b", jump, -1, u"http://e.org/p q#top");
    Doc.AddNLTag(u"c", jump, -1, u"http://e.org/p q#top");
    Doc.AddNLTag(u"d", jump, -1, u"#only");
    Doc.AddNL(u"y", 0, -1);
    const TEntries entries = Save();
    const std::string body = Body(entries);
    const std::string runs = "<w:r><w:t>a</w:t></w:r><w:r><w:t>b</w:t></w:r>"
                             "<w:r><w:t>c</w:t></w:r>";
    EXPECT_NE(body.find("<w:hyperlink r:id=\"hrId1\" w:anchor=\"top\">"), std::string::npos)
        << body;
    EXPECT_NE(body.find(runs + "</w:hyperlink><w:hyperlink w:anchor=\"only\"><w:r><w:t>d"),
              std::string::npos)
        << body;
    EXPECT_NE(body.find("</w:hyperlink><w:r><w:t>y</w:t></w:r></w:p>"), std::string::npos);
    EXPECT_NE(EntryText(entries, "word/_rels/document.xml.rels")
                  .find("<Relationship Id=\"hrId1\" Type=\"" + kRel +
                        "hyperlink\" Target=\"http://e.org/p%20q\" TargetMode=\"External\"/>"),
              std::string::npos)
        << EntryText(entries, "word/_rels/document.xml.rels");
}

TEST_F(DocXPackage, AnEmptyDocumentIsAWholePackage) {
    const TEntries entries = Save();
    EXPECT_EQ(EntryText(entries, "word/document.xml").substr(kDecl.size(), 13), "<w:document x");
    EXPECT_EQ(Body(entries), "");
}

} // namespace
} // namespace vizivodu
