// The RTF writer: the frame and body bytes of small documents, the items' groups, tables,
// notes, lists, failures, and random documents read back by our own reader.
#include "vizivodu/document/CVDData.h"

#include "tests/vizivodu/DocumentTestSupport.h"
#include "tests/vizivodu/RandomDocument.h"
#include "vizivodu/document/CVDData_Helpers.h"
#include "vizivodu/document/VDItem_BreakTab.h"
#include "vizivodu/document/VDItem_Rect.h"
#include "vizivodu/document/VDMarker.h"
#include "vizivodu/document/VDNotes.h"
#include "vizivodu/formats/rtf/VDRTFProps.h"
#include "vizivodu/styles/VDStyle.h"
#include "vizivodu/styles/VDStyle_Lists.h"
#include "vizivodu/styles/VDStyle_Para.h"
#include "vizivodu/styles/VDStyle_Text.h"
#include "vizivodu/tables/VDTable.h"
#include "vizivodu/tables/VDTable_Cells.h"

#include "platform/gfx/Bitmap.h"
#include "platform/rtl/Classes.h"

#include <gtest/gtest.h>

namespace vizivodu {
namespace {

std::string Save(TCustomVDData &doc, bool selectionOnly = false) {
    rtl::TMemoryStream stream;
    TVDRTFSavingData saving;
    EXPECT_TRUE(doc.SaveRTFToStream(stream, selectionOnly, 0, gfx::clWindow, nullptr, saving,
                                    vdrtfdtMain, true, false, nullptr, nullptr, nullptr, nullptr,
                                    nullptr, nullptr));
    return std::string(reinterpret_cast<const char *>(stream.GetMemory()),
                       size_t(stream.GetSize()));
}

class RTFWriter : public testing::Test {
protected:
    RTFWriter() : Style(nullptr), Doc(&Style) { Doc.SetRTFOptions({}); }

    TVDStyle Style;
    test::TTestDocument Doc;
};

TEST_F(RTFWriter, OneParagraphWritesTheFrameAndTheText) {
    Doc.AddNL(u"Hi", 0, 0);
    // The default sheet's text styles bring their colours; code page 0 is the system's 1251.
    EXPECT_EQ(Save(Doc),
              "{\\rtf1\\fbidis\\ansi\\ansicpg1251\\uc0\\deff0\\deflang0\\deflangfe0"
              "{\\fonttbl{\\f0\\fnil Arial;}}{\\colortbl;\\red0\\green0\\blue255;"
              "\\red0\\green0\\blue128;\\red128\\green0\\blue0;\\red0\\green128\\blue0;}"
              "\r\n\r\n\r\n\\pard\\fi0\\li0\\ql\\ri0\\sb0\\sa0\\itap0 \\plain \\f0\\fs20 "
              "Hi\\par}");
}

TEST_F(RTFWriter, AnEmptyDocumentWritesNothing) {
    EXPECT_EQ(Save(Doc), "");
}

TEST_F(RTFWriter, TwoParagraphsOfOneStyleShareTheirFormatting) {
    Doc.AddNL(u"a", 0, 0);
    Doc.AddNL(u"b", 0, 0);
    const std::string rtf = Save(Doc);
    EXPECT_NE(rtf.find("a\r\n\\par b"), std::string::npos) << rtf;
    EXPECT_EQ(rtf.find("\\pard"), rtf.rfind("\\pard")) << rtf;
}

TEST_F(RTFWriter, ALineBreakWritesLineWithoutParagraphFormatting) {
    Doc.AddNL(u"a", 0, 0);
    Doc.AddNL(u"b", 0, -1);
    Doc.GetItem(1)->SetBR(true);
    const std::string rtf = Save(Doc);
    EXPECT_NE(rtf.find("a\r\n\\line b"), std::string::npos) << rtf;
}

TEST_F(RTFWriter, ACheckpointNamedWithSpacesWritesAnUnderscoredBookmark) {
    Doc.AddNL(u"a", 0, 0);
    Doc.SetCheckpointInfo(0, {}, u"my mark", false);
    EXPECT_NE(Save(Doc).find("{\\*\\bkmkstart my_mark}{\\*\\bkmkend my_mark}"), std::string::npos);
}

TEST_F(RTFWriter, TheFallbackCountFollowsTheDuplicateOption) {
    Doc.AddNL(u"Ж", 0, 0);
    EXPECT_NE(Save(Doc).find("\\uc0\\deff0"), std::string::npos);
    Doc.SetRTFOptions({vdrtfDuplicateUnicode});
    const std::string rtf = Save(Doc);
    EXPECT_NE(rtf.find("\\uc1\\deff0"), std::string::npos);
    EXPECT_NE(rtf.find("\\u1046 \\'c6"), std::string::npos) << rtf;
}

TEST_F(RTFWriter, ATabWritesTabAndAHiddenOneAHiddenGroup) {
    Doc.AddNL(u"a", 0, 0);
    Doc.AddTab(0, -1);
    Doc.AddTab(0, -1);
    static_cast<TVDNonTextItemInfo *>(Doc.GetItem(2))->Hidden = true;
    EXPECT_NE(Save(Doc).find("a\\tab {\\v\\tab}"), std::string::npos) << Save(Doc);
}

struct TBreakCase {
    int32_t Level;
    const char *Cell;
};

class RTFBreak : public RTFWriter, public testing::WithParamInterface<TBreakCase> {};

TEST_P(RTFBreak, ABreakIsAnEmptyParagraphWithABottomBorder) {
    Doc.AddBreakEx(2, vdbsLine, gfx::clNone);
    rtl::TMemoryStream stream;
    TVDRTFSavingData saving;
    ASSERT_TRUE(Doc.SaveRTFToStream(stream, false, GetParam().Level, gfx::clWindow, nullptr, saving,
                                    vdrtfdtMain, false, false, nullptr, nullptr, nullptr, nullptr,
                                    nullptr, nullptr));
    const std::string rtf(reinterpret_cast<const char *>(stream.GetMemory()),
                          size_t(stream.GetSize()));
    const std::string cell = GetParam().Cell;
    const std::string twips = std::to_string(Style.GetAsTwips(2));
    EXPECT_NE(rtf.find("\\pard" + cell + "\\plain\\fs6\\brdrb\\brdrs\\brdrw" + twips +
                       "\\brdrcf0\\par\\pard" + cell),
              std::string::npos)
        << rtf;
}

INSTANTIATE_TEST_SUITE_P(Levels, RTFBreak,
                         testing::Values(TBreakCase{0, ""}, TBreakCase{1, "\\intbl\\itap1"},
                                         TBreakCase{2, "\\itap2"}));

TEST_F(RTFWriter, AFailingStreamGivesFalse) {
    class TFullStream : public rtl::TStream {
    public:
        int32_t Read(void *, int32_t) override { return 0; }
        int32_t Write(const void *, int32_t) override { return 0; }
        int64_t Seek(int64_t, rtl::TSeekOrigin) override { return 0; }
    } stream;
    Doc.AddNL(u"a", 0, 0);
    TVDRTFSavingData saving;
    EXPECT_FALSE(Doc.SaveRTFToStream(stream, false, 0, gfx::clWindow, nullptr, saving, vdrtfdtMain,
                                     true, false, nullptr, nullptr, nullptr, nullptr, nullptr,
                                     nullptr));
    EXPECT_EQ(saving.RTFTables, nullptr);
}

TEST_F(RTFWriter, AListOfThreeLevelsWritesNineAndARestartWritesAnOverride) {
    TVDListInfo &list = Style.GetListStyles().Add();
    for (int32_t k = 0; k < 3; ++k) {
        TVDListLevel &level = list.GetLevels().Add();
        level.SetListType(vdlstDecimal);
        level.SetFormatString(u"%" + std::u16string(1, char16_t(u'0' + k)) + u":s.");
    }
    auto first = std::make_unique<TVDMarkerItemInfo>(&Doc, 0, 2, 1, false);
    first->ParaNo = 0;
    Doc.AddItem(u"", std::move(first));
    Doc.AddNL(u"a", 0, -1);
    auto restart = std::make_unique<TVDMarkerItemInfo>(&Doc, 0, 1, 5, true);
    restart->ParaNo = 0;
    Doc.AddItem(u"", std::move(restart));
    Doc.AddNL(u"b", 0, -1);
    const std::string rtf = Save(Doc);
    size_t levels = 0;
    for (size_t p = rtf.find("{\\listlevel"); p != std::string::npos;
         p = rtf.find("{\\listlevel", p + 1)) {
        ++levels;
    }
    EXPECT_EQ(levels, 9u);
    // The third level, copied into the last six: its placeholder is the third level's number.
    EXPECT_NE(rtf.find("{\\leveltext\\'02\\'02.;}{\\levelnumbers\\'01;}"), std::string::npos)
        << rtf;
    EXPECT_NE(rtf.find("\\listoverridecount2{\\lfolevel}{\\lfolevel\\listoverridestartat"
                       "\\levelstartat5}\\ls2}"),
              std::string::npos)
        << rtf;
    // The first marker continues (override 1), the restarting one takes override 2.
    EXPECT_NE(rtf.find("\\tab}\\ls1\\ilvl2 "), std::string::npos) << rtf;
    EXPECT_NE(rtf.find("\\tab}\\ls2\\ilvl1 "), std::string::npos) << rtf;
}

TEST_F(RTFWriter, AFootnoteWritesItsDocumentInsideTheNoteGroup) {
    Doc.AddNL(u"a", 0, 0);
    test::AddNote<TVDFootnoteItemInfo>(
        Doc, [](TVDFootnoteItemInfo &n) { n.GetDocument().AddNL(u"note", 0, 0); });
    auto &hidden = test::AddNote<TVDEndnoteItemInfo>(
        Doc, [](TVDEndnoteItemInfo &n) { n.GetDocument().AddNL(u"end", 0, 0); });
    hidden.Hidden = true;
    const std::string rtf = Save(Doc);
    EXPECT_NE(rtf.find("\\fet2{\\*\\ftnsep\\pard\\plain\\chftnsep }"), std::string::npos);
    EXPECT_NE(rtf.find("\\chftn{\\footnote{}\r\n\\pard"), std::string::npos) << rtf;
    EXPECT_NE(rtf.find("note}"), std::string::npos) << rtf;
    EXPECT_NE(rtf.find("{\\v\\chftn{\\footnote\\ftnalt \r\n\\pard"), std::string::npos) << rtf;
}

TEST_F(RTFWriter, APictureIsAPictGroupOfHexData) {
    auto bitmap = std::make_unique<gfx::TBitmap>();
    bitmap->SetPixelFormat(gfx::pf24bit);
    bitmap->SetSize(2, 1);
    auto item = std::make_unique<TVDGraphicItemInfo>(&Doc, std::move(bitmap), vdvaBaseline);
    item->ParaNo = 0;
    Doc.AddItem(u"", std::move(item));
    const std::string rtf = Save(Doc);
    // 2 x 1 pixels at 96 pixels per inch: 30 x 15 twips; a bitmap of one row gives its width
    // as the scan line; the DIB without its file header: the 40-byte header, then one white
    // row padded to 8 bytes.
    EXPECT_NE(rtf.find("{\\pict\\picwgoal30\\pichgoal15\\dibitmap0\\wbmwidthbytes2\\picw2\\pich1 "
                       "280000000200000001000000010018000000000008000000C40E0000C40E0000000000"
                       "0000000000FFFFFFFFFFFF0000}"),
              std::string::npos)
        << rtf;
}

TEST_F(RTFWriter, ATableRowWritesRowPropertiesCellsAndRow) {
    auto table = TVDTableItemInfo::CreateEx(2, 2, &Doc);
    for (int32_t r = 0; r < 2; ++r) {
        for (int32_t c = 0; c < 2; ++c) {
            table->GetCells(r, c)->Clear();
            table->GetCells(r, c)->AddNL(std::u16string(1, char16_t(u'a' + 2 * r + c)), 0, 0);
        }
    }
    table->MergeCells(0, 0, 1, 2, false);
    Doc.AddItem(u"", std::move(table));
    const std::string rtf = Save(Doc);
    EXPECT_NE(rtf.find("{\\pard\\intbl\\trowd\\trgaph"), std::string::npos) << rtf;
    EXPECT_NE(rtf.find("\\clvmgf"), std::string::npos) << rtf;
    EXPECT_NE(rtf.find("\\clvmrg"), std::string::npos) << rtf;
    EXPECT_NE(rtf.find("\\sa0\\intbl \\plain "), std::string::npos) << rtf;
    EXPECT_NE(rtf.find("\\cell}{\r\n\\pard"), std::string::npos) << rtf;
    EXPECT_NE(rtf.find("\\lastrow"), std::string::npos) << rtf;
    EXPECT_NE(rtf.find("\\row}"), std::string::npos) << rtf;
    // The row below the merged cell writes an empty cell for it.
    EXPECT_NE(rtf.find("{\\cell}"), std::string::npos) << rtf;
}

// As the workbench's report has its logo beside the title.
TEST_F(RTFWriter, APictureInATableCellIsWrittenInItsCell) {
    auto table = TVDTableItemInfo::CreateEx(1, 2, &Doc);
    TVDTableCellData &cell = *table->GetCells(0, 1);
    cell.Clear();
    auto bitmap = std::make_unique<gfx::TBitmap>();
    bitmap->SetSize(2, 1);
    cell.AddPictureEx({}, std::move(bitmap), 0, vdvaRight);
    Doc.AddItem(u"", std::move(table));
    const std::string rtf = Save(Doc);
    const size_t picture = rtf.find("{\\pict");
    ASSERT_NE(picture, std::string::npos) << rtf;
    EXPECT_LT(picture, rtf.find("\\cell}", rtf.find("\\cell}") + 1)) << "in the second cell";
}

TEST_F(RTFWriter, ATableInACellWritesTheNestingKeywords) {
    auto table = TVDTableItemInfo::CreateEx(1, 1, &Doc);
    TVDTableCellData &cell = *table->GetCells(0, 0);
    cell.Clear();
    auto inner = TVDTableItemInfo::CreateEx(1, 1, &cell);
    inner->GetCells(0, 0)->Clear();
    inner->GetCells(0, 0)->AddNL(u"x", 0, 0);
    cell.AddItem(u"", std::move(inner));
    Doc.AddItem(u"", std::move(table));
    const std::string rtf = Save(Doc);
    EXPECT_NE(rtf.find("\\itap2 \\plain "), std::string::npos) << rtf;
    EXPECT_NE(rtf.find("{\\pard\\intbl\\itap2{"), std::string::npos) << rtf;
    EXPECT_NE(rtf.find("\\nestcell}{\\*\\nesttableprops\\trowd"), std::string::npos) << rtf;
    EXPECT_NE(rtf.find("\\nestrow}}"), std::string::npos) << rtf;
}

TEST_F(RTFWriter, ATableEndingADocumentLeavesTheNextSaveAlike) {
    Doc.AddNL(u"a", 0, 0);
    auto table = TVDTableItemInfo::CreateEx(1, 1, &Doc);
    table->GetCells(0, 0)->Clear();
    table->GetCells(0, 0)->AddNL(u"x", 0, 0);
    Doc.AddItem(u"", std::move(table));
    const std::string first = Save(Doc);
    EXPECT_EQ(Save(Doc), first);
    Doc.AddNL(u"b", 0, 0);
    // The row ends its paragraph and its group restores the formatting before it: the next
    // paragraph of the same style writes neither a paragraph end nor "\pard".
    EXPECT_NE(Save(Doc).find("\\row}\r\n\\plain "), std::string::npos) << Save(Doc);
}

// ---- Round trips through our reader ----

class RTFRoundTrip : public testing::TestWithParam<uint32_t> {
protected:
    RTFRoundTrip() : Style(nullptr), Doc(&Style), ReadStyle(nullptr), Read(&ReadStyle) {
        test::AddRandomDocumentStyles(Style);
        Doc.SetRTFOptions({vdrtfDuplicateUnicode});
        Props.TextStyleMode = vdrsAddIfNeeded;
        Props.ParaStyleMode = vdrsAddIfNeeded;
    }

    TVDRTFErrorCode ReadBack(const std::string &rtf) {
        rtl::TMemoryStream stream;
        stream.Write(rtf.data(), int32_t(rtf.size()));
        stream.SetPosition(0);
        return Props.ReadFromStream(stream, Read, false);
    }

    TVDStyle Style;
    test::TTestDocument Doc;
    TVDStyle ReadStyle;
    test::TTestDocument Read;
    TVDRTFReaderProperties Props;
};

// Paragraphs of "style text" runs; line breaks as "/", tabs as "\t". Runs of one style are
// joined, as the reader joins them.
std::vector<std::string> Runs(TCustomVDData &doc) {
    std::vector<std::string> out;
    const TVDStyle &style = *doc.GetVDStyle();
    std::string last;
    for (int32_t i = 0; i < doc.ItemCount(); ++i) {
        TCustomVDItemInfo *item = doc.GetItem(i);
        if (i == 0 || !item->GetSameAsPrev()) {
            const TParaInfo &p = style.GetParaStyles().GetItem(item->ParaNo);
            out.push_back("[" + std::to_string(p.GetAlignment()) + " " +
                          std::to_string(style.GetAsTwips(p.GetLeftIndent())) + " " +
                          std::to_string(style.GetAsTwips(p.GetFirstIndent())) + " " +
                          std::to_string(style.GetAsTwips(p.GetSpaceBefore())) + "]");
            last.clear();
        }
        if (item->GetBR()) {
            out.back() += "/";
            last.clear();
        }
        if (!item->IsText()) {
            out.back() += "\t";
            last.clear();
            continue;
        }
        const TFontInfo &t = style.GetTextStyles().GetItem(item->StyleNo);
        const std::string key = rtl::Utf16ToUtf8(t.GetFontName()) + " " +
                                std::to_string(t.GetSizeDouble()) + " " +
                                std::to_string(t.GetStyle().Contains(gfx::fsBold)) +
                                std::to_string(t.GetStyle().Contains(gfx::fsItalic)) +
                                std::to_string(t.GetStyle().Contains(gfx::fsUnderline)) + " " +
                                std::to_string(t.GetColor());
        if (key != last) {
            out.back() += "{" + key + "}";
            last = key;
        }
        out.back() += rtl::Utf16ToUtf8(doc.GetItemText(i));
    }
    return out;
}

TEST_P(RTFRoundTrip, TextParagraphsAndTheirStylesComeBack) {
    // RTF carries the properties compared here; style names, hover colours and the styles'
    // own numbering are not carried back (the reader finds or adds styles by their looks).
    test::TRandomDocumentKinds kinds;
    kinds.Breaks = kinds.Pictures = kinds.Lists = kinds.Notes = kinds.Tables = false;
    test::FillRandomDocument(Doc, GetParam(), kinds);
    ASSERT_EQ(ReadBack(Save(Doc)), rtf_ec_OK);
    EXPECT_EQ(Runs(Read), Runs(Doc));
}

TEST_P(RTFRoundTrip, EveryItemKindIsWrittenAndReadWithoutError) {
    // The reader does not read tables, lists, pictures and notes yet: this holds that what we
    // write for them is well-formed RTF the reader gets through; the text of the top level
    // paragraphs outside tables comes back once the reader builds those items.
    test::FillRandomDocument(Doc, GetParam(), test::TRandomDocumentKinds{});
    const std::string rtf = Save(Doc);
    int32_t depth = 0;
    for (size_t i = 0; i < rtf.size(); ++i) {
        if (rtf[i] == '\\') {
            ++i;
        } else if (rtf[i] == '{') {
            ++depth;
        } else if (rtf[i] == '}') {
            ASSERT_GT(depth, 0) << i;
            --depth;
        }
    }
    EXPECT_EQ(depth, 0);
    EXPECT_EQ(ReadBack(rtf), rtf_ec_OK);
}

INSTANTIATE_TEST_SUITE_P(Seeds, RTFRoundTrip, testing::Range(1u, 41u));

} // namespace
} // namespace vizivodu
