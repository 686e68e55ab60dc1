// The document: paragraph rules of the Add family, text encodings, deleting, checkpoints,
// effective styles, deleting unused styles, merging text items, list markers, enumeration and
// positions.
#include "vizivodu/document/CVDData.h"

#include "tests/vizivodu/DocumentTestSupport.h"
#include "vizivodu/document/VDError.h"
#include "vizivodu/document/VDFieldItems.h"
#include "vizivodu/document/VDItem_BreakTab.h"
#include "vizivodu/document/VDItem_Rect.h"
#include "vizivodu/document/VDMarker.h"

#include "platform/gfx/Bitmap.h"
#include "platform/rtl/StrUtils.h"

#include <gtest/gtest.h>

using namespace vizivodu;
using vizivodu::test::Dump;
using vizivodu::test::TTestDocument;

namespace {

class Document : public ::testing::Test {
protected:
    Document() : Style(nullptr), Doc(&Style) {}

    // A text style that keeps 8-bit text in the Cyrillic charset (code page 1251).
    int32_t AddCyrillicStyle() {
        TFontInfo &style = Style.GetTextStyles().Add();
        style.SetUnicode(false);
        style.SetCharset(204);
        return style.GetIndex();
    }

    TVDStyle Style;
    TTestDocument Doc;
};

} // namespace

TEST_F(Document, AddNLFollowsTheParagraphRules) {
    Doc.AddNL(u"", 0, 0);
    EXPECT_EQ(Dump(Doc), "P0:");
    Doc.AddNL(u"a", 0, -1); // continues the line and takes its paragraph number
    Doc.AddNL(u"b", 0, 1);  // a paragraph number starts a paragraph
    EXPECT_EQ(Dump(Doc), "P0: | L0:a | P1:b");
    Doc.AddBreak();
    Doc.AddNL(u"c", 0, -1); // after a full-width item: a new paragraph, number 0
    EXPECT_EQ(Dump(Doc), "P0: | L0:a | P1:b | P0:#-1 | P0:c");

    TTestDocument empty(&Style);
    empty.AddNL(u"x", 0, -1); // the first item starts a paragraph with number 0
    EXPECT_EQ(Dump(empty), "P0:x");
}

TEST_F(Document, WithoutParagraphModeItemsStartLines) {
    Doc.SetAddParagraphMode(false);
    Doc.AddNL(u"first", 0, 2); // the first item never gets a line break
    Doc.AddNL(u"second", 0, 2);
    EXPECT_EQ(Dump(Doc), "P2:first | B2:second");
    Doc.AddBreak(); // full-width items always start a paragraph
    EXPECT_EQ(Dump(Doc), "P2:first | B2:second | P0:#-1");
}

TEST_F(Document, NegativeStyleNumbersMeanTheParagraphDefault) {
    Doc.AddNL(u"x", -5, 0);
    EXPECT_EQ(Doc.GetItem(0)->StyleNo, StyleNoParaDefault);
    EXPECT_EQ(Doc.GetItemStyle(0), 0);
    EXPECT_EQ(Doc.GetItem(0)->StyleNo, StyleNoParaDefault); // not corrected in place
}

TEST_F(Document, TabsBecomeSpaces) {
    Doc.AddNL(u"a\tb", 0, 0);
    EXPECT_EQ(Doc.GetItemText(0), u"ab"); // SpacesInTab 0: removed
    Style.SetSpacesInTab(3);
    Doc.AddNL(u"a\tb", 0, 0);
    EXPECT_EQ(Doc.GetItemText(1), u"a   b");
    const int32_t ansi = AddCyrillicStyle();
    Doc.AddNL(u"я\tя", ansi, 0);
    EXPECT_EQ(Doc.GetItemTextA(2), "\xFF   \xFF");

    TTestDocument withoutStyle(nullptr);
    withoutStyle.AddNLR("a\tb", 0, 0);
    EXPECT_EQ(withoutStyle.GetItemTextR(0), "a        b");
    EXPECT_EQ(withoutStyle.ReplaceTabs(StringToRawUnicode(u"\t"), 0, true),
              StringToRawUnicode(u"        "));
}

TEST_F(Document, AfterAMarkerAParagraphNumberStartsANewParagraph) {
    Doc.SetListMarkerInfo(-1, -1, 0, 1, 3, false);
    Doc.AddNL(u"text", 0, 3);
    EXPECT_EQ(Dump(Doc), "P3:#-11 | L3: | P3:text");
    TTestDocument other(&Style);
    other.SetListMarkerInfo(-1, -1, 0, 1, 0, false);
    other.AddNL(u"text", 0, -1);
    EXPECT_EQ(Dump(other), "P0:#-11 | L0:text");
}

TEST_F(Document, CyrillicTextIsStoredInItsStylesCodePage) {
    const int32_t ansi = AddCyrillicStyle();
    Doc.AddNL(u"Отчет €", ansi, 0);
    EXPECT_FALSE(Doc.GetItem(0)->ItemOptions.Contains(vdioUnicode));
    EXPECT_EQ(Doc.GetItemTextR(0), "\xCE\xF2\xF7\xE5\xF2 \x88");
    EXPECT_EQ(Doc.GetItemCodePage(0), 1251u);
    EXPECT_EQ(Doc.GetItemTextW(0), u"Отчет €");
    Doc.AddNL(u"日本", ansi, 0); // characters 1251 lacks
    EXPECT_EQ(Doc.GetItemTextR(1), "??");
    Doc.AddNL(u"Отчет", 0, 0); // a Unicode style keeps UTF-16
    EXPECT_TRUE(Doc.GetItem(2)->ItemOptions.Contains(vdioUnicode));
    EXPECT_EQ(Doc.GetItemTextA(2), "\xCE\xF2\xF7\xE5\xF2");
    Doc.AddNLATag("\xC4\xE0", 0, 0, u"tag"); // 8-bit text into a Unicode style
    EXPECT_EQ(Doc.GetItemTextW(3), u"Да");
    EXPECT_EQ(Doc.GetItemTag(3), u"tag");
    EXPECT_EQ(Doc.GetStyleCodePage(0), 0u); // default charset: the sheet's DefCodePage
}

TEST_F(Document, FormattedTextAndTabItems) {
    Doc.AddFmt(u"%d из %s", {5, u"10"}, 0, 0);
    EXPECT_EQ(Doc.GetItemText(0), u"5 из 10");
    EXPECT_THROW(Doc.AddFmt(u"%d", {u"x"}, 0, 0), rtl::EConvertError);
    Doc.AddTab(2, -1);
    EXPECT_EQ(Dump(Doc), "P0:5 из 10 | L0:#-12");
    EXPECT_EQ(Doc.GetItem(1)->GetAssociatedTextStyleNo(), 2);
    EXPECT_EQ(Doc.GetActualTextStyle(*Doc.GetItem(1)), 2);
}

TEST_F(Document, OffsetsAndLengths) {
    Doc.AddNL(u"", 0, 0);
    Doc.AddNL(u"abc", 0, 0);
    Doc.AddBreakEx(300, vdbsLine, gfx::clNone);
    EXPECT_EQ(Doc.GetOffsBeforeItem(0), 1);
    EXPECT_EQ(Doc.GetOffsAfterItem(0), 1);
    EXPECT_EQ(Doc.GetOffsAfterItem(1), 4);
    EXPECT_EQ(Doc.ItemLength(1), 3);
    EXPECT_EQ(Doc.GetOffsBeforeItem(2), 0);
    EXPECT_EQ(Doc.GetOffsAfterItem(2), 1);
    EXPECT_EQ(static_cast<TVDBreakItemInfo *>(Doc.GetItem(2))->LineWidth, 300);
    EXPECT_THROW(Doc.ItemLength(3), rtl::EListError);
}

TEST_F(Document, DeletingCutsTheCountAtTheEnd) {
    for (int i = 0; i < 7; ++i) {
        Doc.AddNL(rtl::IntToStr(i), 0, 0);
    }
    Doc.DeleteItems(7, 1);
    EXPECT_EQ(Doc.ItemCount(), 7);
    Doc.DeleteItems(5, 100);
    EXPECT_EQ(Doc.ItemCount(), 5);
    EXPECT_EQ(Doc.GetItemText(4), u"4");
    Doc.DeleteSection(u"nowhere");
    EXPECT_EQ(Doc.ItemCount(), 5);
    Doc.Clear();
    EXPECT_EQ(Doc.ItemCount(), 0);
}

TEST_F(Document, SectionsRunToTheNextNamedCheckpoint) {
    Doc.AddNL(u"a", 0, 0);
    Doc.AddNamedCheckpointExTag(u"s", false, {});
    Doc.AddNL(u"b", 0, 0);
    Doc.AddNamedCheckpointExTag(u"", false, {});
    Doc.AddNL(u"c", 0, 0);
    Doc.AddNamedCheckpointExTag(u"t", false, {});
    Doc.AddNL(u"d", 0, 0);
    Doc.DeleteSection(u"s");
    EXPECT_EQ(Dump(Doc), "P0:a | P0:d");
    EXPECT_EQ(Doc.CPCount, 1);
}

TEST_F(Document, PendingCheckpointsGoToTheNextItem) {
    EXPECT_EQ(Doc.AddNamedCheckpointExTag(u"first", true, u"t1"), 0);
    EXPECT_EQ(Doc.AddNamedCheckpointExTag(u"second", false, u"t2"), 0); // dropped
    EXPECT_EQ(Doc.GetCheckpointByNo(0), Doc.NotAddedCP);
    EXPECT_EQ(Doc.GetCheckpointItemNo(Doc.NotAddedCP), -1);
    Doc.AddNL(u"a", 0, 0);
    TCheckpointData cp = Doc.GetItemCheckpoint(0);
    ASSERT_TRUE(cp);
    EXPECT_EQ(cp->Name, u"first");
    EXPECT_EQ(Doc.GetCheckpointNo(cp), 0);
    Doc.AddNamedCheckpointExTag(u"pending", false, {});
    EXPECT_EQ(Doc.GetNextCheckpoint(cp), Doc.NotAddedCP);
    EXPECT_EQ(Doc.GetNextCheckpoint(Doc.NotAddedCP), nullptr);
    EXPECT_EQ(Doc.GetPrevCheckpoint(Doc.NotAddedCP), cp);
    EXPECT_EQ(Doc.GetCheckpointByNo(Doc.CPCount - 1), Doc.NotAddedCP);
    try {
        Doc.GetCheckpointByNo(Doc.CPCount);
        FAIL();
    } catch (const EViziVoduError &e) {
        EXPECT_EQ(e.Message(), u"Invalid checkpoint index - 2");
    }
    EXPECT_THROW(Doc.GetNextCheckpoint(nullptr), EViziVoduError);
    EXPECT_EQ(Doc.FindCheckpointByName(u"pending"), Doc.NotAddedCP);
    EXPECT_EQ(Doc.FindCheckpointByTag(u"t1"), cp);
}

TEST_F(Document, CheckpointsStayInItemOrder) {
    for (int i = 0; i < 5; ++i) {
        Doc.AddNL(u"x", 0, 0);
    }
    Doc.CreateItemCheckpoint(3, u"", false, u"c3");
    Doc.CreateItemCheckpoint(1, u"", false, u"c1");
    Doc.CreateItemCheckpoint(4, u"", false, u"c4");
    Doc.CreateItemCheckpoint(2, u"", false, u"c2");
    std::u16string order;
    for (TCheckpointData cp = Doc.GetFirstCheckpoint(); cp; cp = Doc.GetNextCheckpoint(cp)) {
        order += cp->Name;
    }
    EXPECT_EQ(order, u"c1c2c3c4");
    EXPECT_THROW(Doc.CreateItemCheckpoint(2, u"", false, u"again"), EViziVoduError);
    EXPECT_TRUE(Doc.RemoveCheckpoint(2));
    EXPECT_FALSE(Doc.RemoveCheckpoint(2));
    EXPECT_EQ(Doc.CPCount, 3);
    EXPECT_EQ(Doc.FindCheckpointBeforeItem(4)->Name, u"c3");
    Doc.SetCheckpointInfo(0, u"tag", u"c0", true);
    EXPECT_EQ(Doc.GetFirstCheckpoint()->Name, u"c0");
    TCheckpointData foreign = Doc.GetItemCheckpoint(1);
    TTestDocument other(&Style);
    EXPECT_THROW(other.GetCheckpointNo(foreign), EViziVoduError);
}

TEST_F(Document, PageBreaksAndClearing) {
    Doc.SetListMarkerInfo(-1, -1, 0, 1, 0, false);
    Doc.AddNL(u"item", 0, -1);
    Doc.SetPageBreaksBeforeItems(1, true); // goes to the marker
    EXPECT_TRUE(Doc.GetPageBreaksBeforeItems(0));
    EXPECT_FALSE(Doc.GetPageBreaksBeforeItems(1));
    try {
        Doc.GetClearLeft(5);
        FAIL();
    } catch (const EViziVoduError &e) {
        EXPECT_EQ(e.Message(), u"Item index is out of bounds");
    }
    Doc.SetClearLeft(1, true); // the item continues a line: nothing
    EXPECT_FALSE(Doc.GetClearLeft(1));
}

TEST_F(Document, TypedPropertiesCheckTheClass) {
    auto bitmap = std::make_unique<gfx::TBitmap>(100, 50);
    Doc.AddPictureEx("logo", std::move(bitmap), 1, vdvaRight);
    Doc.AddNL(u"x", 0, 0);
    TVDAnsiString name;
    gfx::TGraphic *gr = nullptr;
    TVDVAlign vAlign = vdvaBaseline;
    TVDTag tag;
    Doc.GetPictureInfo(0, name, gr, vAlign, tag);
    EXPECT_EQ(name, "logo");
    EXPECT_EQ(gr->GetWidth(), 100);
    EXPECT_EQ(vAlign, vdvaRight);
    try {
        Doc.GetPictureInfo(1, name, gr, vAlign, tag);
        FAIL();
    } catch (const EViziVoduError &e) {
        EXPECT_EQ(e.Message(), u"Can't get or set this kind of information for this item");
    }
    EXPECT_FALSE(
        Doc.SetPictureInfo(0, "logo", std::make_unique<gfx::TBitmap>(100, 50), vdvaRight, {}));
    EXPECT_TRUE(
        Doc.SetPictureInfo(0, "logo", std::make_unique<gfx::TBitmap>(100, 51), vdvaRight, {}));
    EXPECT_EQ(Doc.GetItemVAlign(0), vdvaRight);
    EXPECT_THROW(Doc.GetItemVAlign(1), EViziVoduError);
}

TEST_F(Document, FirstTextStyleSkipsTaggedItems) {
    Doc.AddNL(u"a", 3, 0);
    Doc.GetItem(0)->Tag = rtl::UnicodeString(1, u't');
    EXPECT_EQ(Doc.GetFirstTextStyleNo(false), 3);
    EXPECT_EQ(Doc.GetFirstTextStyleNo(true), 0);
    EXPECT_EQ(Doc.GetFirstParaStyleNo(), 0);
}

TEST_F(Document, DeletingUnusedStylesRenumbersItemsAndReferences) {
    // Items use text style 3 only; 3 is based on 1, and its next style points past the end.
    TFontInfos &texts = Style.GetTextStyles();
    for (int32_t i = 0; i < texts.GetCount(); ++i) {
        texts.GetItem(i).SetStandard(false);
    }
    texts.GetItem(3).SetBaseStyleNo(1);
    texts.GetItem(3).SetNextStyleNo(42);
    TParaInfos &paras = Style.GetParaStyles();
    paras.GetItem(0).SetStandard(false);
    paras.GetItem(1).SetStandard(false);
    paras.Add().SetStandard(false);
    paras.GetItem(2).SetDefStyleNo(5);
    Doc.AddNL(u"x", 3, 2);
    Doc.DeleteUnusedStyles(true, true, true);
    // Text styles 1, 3 and 5 (the used paragraph's default) are kept: 0, 1, 2 now.
    EXPECT_EQ(texts.GetCount(), 3);
    EXPECT_EQ(Doc.GetItem(0)->StyleNo, 1);
    EXPECT_EQ(texts.GetItem(1).GetBaseStyleNo(), 0);
    EXPECT_EQ(texts.GetItem(1).GetNextStyleNo(), -1);
    EXPECT_EQ(paras.GetCount(), 1);
    EXPECT_EQ(Doc.GetItem(0)->ParaNo, 0);
    EXPECT_EQ(paras.GetItem(0).GetDefStyleNo(), 2);
}

TEST_F(Document, MergingTextItems) {
    Doc.AddNL(u"a", 0, 0);
    Doc.AddNL(u"b", 0, -1);
    Doc.AddNL(u"c", 0, -1);
    Doc.AddNL(u"", 0, -1);
    Doc.AddPictureEx("p", std::make_unique<gfx::TBitmap>(2, 2), -1, vdvaBaseline);
    Doc.AddNL(u"d", 0, -1);
    Doc.GetItem(5)->Tag = u"other";
    Doc.AddNL(u"e", 0, 0); // a new paragraph
    Doc.MassSimpleConcateAll();
    EXPECT_EQ(Dump(Doc), "P0:abc | L0:#-3 | L0:d | P0:e");
    EXPECT_FALSE(Doc.CanConcateItems(2, Doc.GetItem(2), Doc.GetItem(3), false, false));
    EXPECT_TRUE(Doc.CanConcateItems(2, Doc.GetItem(2), Doc.GetItem(3), true, false) == false);

    TTestDocument marked(&Style);
    marked.AddNL(u"a", 0, 0);
    marked.AddNamedCheckpointExTag(u"cp", false, {});
    marked.AddNL(u"b", 0, -1);
    marked.MassSimpleConcateAll();
    EXPECT_EQ(Dump(marked), "P0:a | L0:b"); // an item with a checkpoint is not merged
}

TEST_F(Document, MergingAnEmptyItemKeepsItsCheckpoint) {
    Doc.AddNamedCheckpointExTag(u"mark", false, {});
    Doc.AddNL(u"", 0, 0);
    Doc.AddNL(u"text", 0, -1);
    Doc.MassSimpleConcateAll();
    EXPECT_EQ(Dump(Doc), "P0:text");
    ASSERT_TRUE(Doc.GetItemCheckpoint(0));
    EXPECT_EQ(Doc.GetItemCheckpoint(0)->Name, u"mark");
    EXPECT_EQ(Doc.CPCount, 1);

    TTestDocument both(&Style);
    both.AddNamedCheckpointExTag(u"one", false, {});
    both.AddNL(u"", 0, 0);
    both.AddNamedCheckpointExTag(u"two", false, {});
    both.AddNL(u"text", 0, -1);
    both.MassSimpleConcateAll();
    EXPECT_EQ(both.ItemCount(), 2); // merging would lose one of the two
    EXPECT_EQ(both.CPCount, 2);
}

TEST_F(Document, HiddenMarkersAndLineRanges) {
    TFontInfo &hidden = Style.GetTextStyles().Add();
    hidden.SetOptions(TVDTextOptions{vdteoHidden});
    const int32_t hiddenStyle = hidden.GetIndex();
    Doc.SetListMarkerInfo(-1, -1, 0, 1, 0, false);
    EXPECT_TRUE(Doc.IsHiddenItem(0)); // the last item
    Doc.AddNL(u"h", hiddenStyle, -1);
    EXPECT_TRUE(Doc.IsHiddenItem(0)); // only hidden text follows it
    Doc.AddNL(u"v", 0, -1);
    EXPECT_FALSE(Doc.IsHiddenItem(0));
    Doc.SetAddParagraphMode(false);
    Doc.AddNL(u"second line", 0, 0);
    Doc.AddNL(u"more", 0, -1);
    EXPECT_EQ(Doc.GetFirstParaSectionItem(4), 3);
    EXPECT_EQ(Doc.GetFirstParaItem(4), 0);
}

TEST_F(Document, AppendingAndDraining) {
    TTestDocument source(&Style);
    source.AddNL(u"a", 0, 0);
    source.AddNL(u"b", 0, -1);
    source.AddNamedCheckpointExTag(u"pending", false, {});
    Doc.AddNL(u"x", 0, 0);
    Doc.AppendFrom(source);
    EXPECT_EQ(Dump(Doc), "P0:x | P0:a | L0:b");
    EXPECT_EQ(source.ItemCount(), 2);

    Doc.AddNamedCheckpointExTag(u"own", false, {});
    Doc.DrainFrom(&source);
    EXPECT_EQ(source.ItemCount(), 0);
    EXPECT_EQ(source.CPCount, 0);
    EXPECT_EQ(Dump(Doc), "P0:x | P0:a | L0:b | P0:a | L0:b");
    // The target's pending checkpoint went to the first drained item; the victim's became
    // the target's pending one.
    EXPECT_EQ(Doc.GetItemCheckpoint(3)->Name, u"own");
    EXPECT_EQ(Doc.NotAddedCP->Name, u"pending");

    TTestDocument victim(&Style);
    victim.AddNamedCheckpointExTag(u"lost", false, {});
    Doc.DrainFrom(&victim); // both pending: the target keeps its own
    EXPECT_EQ(Doc.NotAddedCP->Name, u"pending");
    EXPECT_EQ(victim.CPCount, 0);
    EXPECT_EQ(Doc.CPCount, 2);
}

TEST_F(Document, ListsAreNumberedWithLevelResets) {
    TVDListInfo &list = Style.GetListStyles().Add();
    list.GetLevels().Add().SetListType(vdlstDecimal);
    TVDListLevel &second = list.GetLevels().Add();
    second.SetListType(vdlstDecimal);
    second.SetFormatString(u"%0:s.%1:s");
    second.SetOptions({});
    const int32_t levels[] = {0, 1, 1, 0, 1};
    for (int32_t level : levels) {
        Doc.SetListMarkerInfo(-1, 0, level, 1, 0, false);
        Doc.AddNL(u"item", 0, -1);
    }
    auto counters = [&] {
        std::vector<int32_t> out;
        TVDMarkerList *markers = Doc.GetMarkers(false);
        for (int32_t i = 0; i < markers->Count(); ++i) {
            out.push_back(markers->Get(i)->Counter);
        }
        return out;
    };
    EXPECT_EQ(counters(), (std::vector<int32_t>{1, 1, 2, 2, 3}));
    EXPECT_EQ(Doc.GetMarkers(false)->Get(4)->DisplayString, u"2.3");
    second.SetOptions({vdloLevelReset});
    Doc.GetMarkers(false)->RecalcCounters(0, &Style, true);
    EXPECT_EQ(counters(), (std::vector<int32_t>{1, 1, 2, 2, 1}));
    EXPECT_EQ(Doc.GetMarkers(false)->Get(4)->DisplayString, u"2.1");
}

TEST_F(Document, LegalNumberingShowsParentsInDigits) {
    TVDListInfo &list = Style.GetListStyles().Add();
    list.GetLevels().Add().SetListType(vdlstUpperRoman);
    TVDListLevel &second = list.GetLevels().Add();
    second.SetListType(vdlstLowerAlpha);
    second.SetFormatString(u"%0:s.%1:s)");
    Doc.SetListMarkerInfo(-1, 0, 0, 1, 0, false);
    Doc.AddNL(u"a", 0, -1);
    Doc.SetListMarkerInfo(-1, 0, 0, 1, 0, false);
    Doc.AddNL(u"b", 0, -1);
    Doc.SetListMarkerInfo(-1, 0, 1, 1, 0, false);
    Doc.AddNL(u"c", 0, -1);
    TVDMarkerList &markers = *Doc.GetMarkers(false);
    EXPECT_EQ(markers.Get(2)->DisplayString, u"II.a)");
    second.SetOptions({vdloLegalStyleNumbering});
    markers.RecalcCounters(0, &Style, true);
    EXPECT_EQ(markers.Get(2)->DisplayString, u"2.a)");
    // A start value and a reset.
    markers.Get(1)->Reset = true;
    markers.Get(1)->StartFrom = 5;
    markers.RecalcCounters(0, &Style, true);
    EXPECT_EQ(markers.Get(1)->Counter, 5);
}

TEST_F(Document, ApplyingAListKeepsTheParagraphsPageBreak) {
    Doc.AddNL(u"one", 0, 0);
    Doc.AddNL(u"two", 0, 1);
    Doc.SetPageBreaksBeforeItems(1, true);
    EXPECT_EQ(Doc.SetListMarkerInfo(1, -1, 0, 1, 0, false), 1);
    EXPECT_EQ(Dump(Doc), "P0:one | P1:#-11 | L1:two");
    EXPECT_TRUE(Doc.GetPageBreaksBeforeItems(1));
    EXPECT_EQ(Doc.SetListMarkerInfo(2, 0, 0, 1, 0, false), 1); // updates the marker only
    EXPECT_EQ(Doc.ItemCount(), 3);
    Doc.RemoveListMarker(2);
    EXPECT_EQ(Dump(Doc), "P0:one | P1:two");
    EXPECT_TRUE(Doc.GetPageBreaksBeforeItems(1));
    Doc.RemoveListMarker(1); // no marker: nothing
    EXPECT_EQ(Doc.ItemCount(), 2);
}

TEST_F(Document, PositionsAcrossTheTree) {
    for (int i = 0; i < 6; ++i) {
        Doc.AddNL(u"x", 0, 0);
    }
    vizivodu::test::TTestSubDocument cell(Doc, 4);
    cell.AddNL(u"c", 0, 0);
    cell.AddNL(u"c", 0, 0);
    cell.AddNL(u"c", 0, 0);
    EXPECT_LT(cell.CompareItemPositions(2, Doc, 5), 0);
    EXPECT_GT(cell.CompareItemPositions(2, Doc, 4), 0); // inside an item lies after it
    EXPECT_EQ(Doc.CompareItemPositions(3, Doc, 3), 0);
    TTestDocument stranger(&Style);
    stranger.AddNL(u"y", 0, 0);
    EXPECT_THROW(stranger.CompareItemPositions(0, Doc, 0), EViziVoduError);

    Doc.Rotation = vdrot180;
    cell.Rotation = vdrot270;
    EXPECT_EQ(cell.GetRealRotation(true), vdrot90);
    cell.Rotation = vdrot180;
    EXPECT_EQ(cell.GetRealRotation(true), vdrotNone);
    EXPECT_EQ(cell.GetAbsoluteRootData(), &Doc);
    EXPECT_EQ(Doc.GetTopLevelChosenVDData(), &Doc);
}

TEST_F(Document, EnumerationStopsAtTheFlag) {
    for (int i = 0; i < 4; ++i) {
        Doc.AddNL(u"x", 0, 0);
    }
    int32_t visited = 0;
    const bool result = Doc.EnumItems(
        [](TCustomVDData &, int32_t itemNo, int32_t &count, const rtl::UnicodeString &,
           bool &cont) {
            ++count;
            cont = itemNo < 1;
        },
        visited, u"");
    EXPECT_FALSE(result);
    EXPECT_EQ(visited, 2);
}

TEST_F(Document, DelimitersAndZeroBytes) {
    EXPECT_TRUE(Doc.IsDelimiterW(u'\t'));
    EXPECT_TRUE(Doc.IsDelimiterW(u' '));
    EXPECT_FALSE(Doc.IsDelimiterW(u'a'));
    TVDAnsiString s("a\0b", 3);
    TCustomVDData::ReplaceZeroChars(s);
    EXPECT_EQ(s, "a?b");
}

TEST_F(Document, ItemsAreToldOfInsertionAndDestruction) {
    Doc.AddNL(u"a", 0, 0);
    Doc.Clear();
    EXPECT_EQ(Doc.Actions,
              (std::vector<TVDItemAction>{vdiaInserting, vdiaInserted, vdiaDestroying}));
}

TEST_F(Document, SettingRawUnicodeTextChecksItsLength) {
    Doc.AddNL(u"ab", 0, 0);
    EXPECT_THROW(Doc.SetItemTextR(0, "abc"), EViziVoduError);
    EXPECT_EQ(Doc.GetItemText(0), u"ab");
    Doc.SetItemText(0, u"Да");
    EXPECT_EQ(Doc.GetItemText(0), u"Да");
}

TEST_F(Document, DirectionsFromTheText) {
    Doc.AddNL(u"abc \u05E9\u05DC\u05D5\u05DD", 0, 0);
    Doc.AddNL(u"123", 0, 0);
    TVDBiDiMode start = vdbdUnspecified;
    TVDBiDiMode ending = vdbdUnspecified;
    Doc.GetItemBiDiModeEx(0, start, ending);
    EXPECT_EQ(start, vdbdLeftToRight);
    EXPECT_EQ(ending, vdbdRightToLeft);
    Doc.GetItemBiDiModeEx(1, start, ending); // no strong character: the item's mode
    EXPECT_EQ(start, vdbdUnspecified);
    Style.GetParaStyles().GetItem(0).SetBiDiMode(vdbdRightToLeft);
    EXPECT_EQ(Doc.GetItemBiDiMode(1), vdbdRightToLeft);
}

TEST_F(Document, ConvertingUnitsConvertsItemLengths) {
    Doc.AddPictureEx("p", std::make_unique<gfx::TBitmap>(2, 2), 0, vdvaBaseline);
    Doc.ConvertToDifferentUnits(vdstuTwips, &Style, true);
    EXPECT_EQ(static_cast<TVDRectItemInfo *>(Doc.GetItem(0))->Spacing, 15);
    Doc.ConvertToDifferentUnits(vdstuPixels, &Style, false); // items left as they are
    EXPECT_EQ(static_cast<TVDRectItemInfo *>(Doc.GetItem(0))->Spacing, 15);
}

TEST_F(Document, ContinuingTextIsStoredForTheParagraphItJoins) {
    // Paragraph 0 shows 8-bit Cyrillic text by default, paragraph 1 Unicode text.
    const int32_t ansi = AddCyrillicStyle();
    Style.GetParaStyles().GetItem(0).SetDefStyleNo(ansi);
    Style.GetParaStyles().GetItem(1).SetDefStyleNo(0);
    Doc.AddNL(u"Начало", -1, 1);
    Doc.AddNL(u" конец", -1, -1); // joins paragraph 1: Unicode
    EXPECT_TRUE(Doc.GetItem(1)->ItemOptions.Contains(vdioUnicode));
    EXPECT_EQ(Doc.GetItemText(1), u" конец");
    Doc.AddNLATag("\xE4\xE0", -1, -1, {});
    EXPECT_EQ(Doc.GetItemText(2), u"да");
    Doc.AddNL(u"абв", -1, 0);
    Doc.AddNL(u"где", -1, -1); // joins paragraph 0: 8-bit
    EXPECT_FALSE(Doc.GetItem(4)->ItemOptions.Contains(vdioUnicode));
    EXPECT_EQ(Doc.GetItemText(4), u"где");
}

namespace {

// An item holding one sub-document, as a table cell or a note holds its text.
class TBoxItem : public TVDNonTextItemInfo {
public:
    TBoxItem(TCustomVDData &parent, int32_t itemNo)
        : TVDNonTextItemInfo(&parent), Inner(parent, itemNo) {
        StyleNo = -300;
    }
    TCustomVDData *GetSubVDData(std::unique_ptr<TVDStoreSubVDData> &state,
                                TVDSubVDDataPos position) override {
        state.reset();
        return position == vddFirst ? &Inner : nullptr;
    }
    vizivodu::test::TTestSubDocument Inner;
};

} // namespace

TEST_F(Document, EnumerationIntoSubDocumentsAndItsFlag) {
    Doc.AddNL(u"before", 0, 0);
    auto box = std::make_unique<TBoxItem>(Doc, 1);
    TBoxItem &boxRef = *box;
    Doc.AddItemR("", std::move(box), true);
    boxRef.Inner.AddNL(u"inner 1", 0, 0);
    boxRef.Inner.AddNL(u"inner 2", 0, 0);
    Doc.AddNL(u"after", 0, 0);
    Doc.AddNL(u"last", 0, 0);
    std::vector<std::string> seen;
    int32_t dummy = 0;
    const bool result = Doc.EnumItems(
        [&](TCustomVDData &data, int32_t itemNo, int32_t &, const rtl::UnicodeString &,
            bool &cont) {
            const std::string name =
                data.GetItem(itemNo)->IsText() ? rtl::Utf16ToUtf8(data.GetItemText(itemNo)) : "box";
            seen.push_back(name + (cont ? "" : "(stopped)"));
            if (name == "inner 1") {
                cont = false;
            }
        },
        dummy, u"");
    // The item after the box is still passed once, with the flag cleared, and the walk ends.
    EXPECT_EQ(seen, (std::vector<std::string>{"before", "box", "inner 1", "after(stopped)"}));
    EXPECT_FALSE(result);

    EXPECT_EQ(Doc.FindItemContaining(0, boxRef.Inner.GetItem(1)), 1);
    EXPECT_EQ(Doc.FindItemContaining(2, boxRef.Inner.GetItem(1)), -1);
    Doc.SetListMarkerInfo(-1, -1, 0, 1, 0, false);
    boxRef.Inner.SetListMarkerInfo(0, -1, 0, 1, 0, false);
    // The marker inside the box comes before the one at the end of the document.
    EXPECT_EQ(Doc.FindPrevMarkerItem(Doc.ItemCount() - 2), boxRef.Inner.GetItem(0));
    EXPECT_EQ(boxRef.Inner.FindPrevMarkerItem(0), boxRef.Inner.GetItem(0));
    EXPECT_EQ(Doc.GetMarkers(false)->Count(), 2);
}

TEST_F(Document, UnusedParagraphStylesShiftTheLaterOnes) {
    TParaInfos &paras = Style.GetParaStyles();
    while (paras.GetCount() < 5) {
        paras.Add();
    }
    for (int32_t i = 0; i < 5; ++i) {
        paras.GetItem(i).SetStandard(false);
    }
    for (int32_t paraNo : {0, 1, 3, 4}) {
        Doc.AddNL(u"x", 0, paraNo);
    }
    TVDDeleteUnusedStylesData data(false, true, false);
    Doc.MarkStylesInUse(data);
    EXPECT_EQ(data.UsedParaStyles().Get(2), 0);
    data.ConvertFlagsToShifts(Style);
    const std::vector<int32_t> shifts = {1, 1, 0, 2, 2};
    for (int32_t i = 0; i < 5; ++i) {
        EXPECT_EQ(data.UsedParaStyles().Get(i), shifts[static_cast<size_t>(i)]) << i;
    }
    Doc.DoUpdateStyles(data);
    EXPECT_EQ(Doc.GetItem(3)->ParaNo, 3);
    EXPECT_EQ(paras.GetCount(), 4);
}

TEST_F(Document, RenumberingSkipsParagraphDefaults) {
    Doc.AddNL(u"a", -1, 0);
    Doc.AddNL(u"b", 2, 0);
    TVDIntegerList map;
    for (int32_t v : {10, 11, 12}) {
        map.Add(v);
    }
    TVDIntegerList old;
    int32_t index = 0;
    Doc.ChangeTextStyles(&map, nullptr, &old, index);
    EXPECT_EQ(Doc.GetItem(0)->StyleNo, StyleNoParaDefault);
    EXPECT_EQ(Doc.GetItem(1)->StyleNo, 12);
    EXPECT_EQ(index, 1);
    EXPECT_EQ(old.GetCount(), 1);
}

namespace {

class TProgressDocument : public TTestDocument {
public:
    using TTestDocument::TTestDocument;
    bool IsAssignedOnProgress() override { return true; }
    void DoProgress(TVDLongOperation, TVDProgressStage stage, int32_t percent) override {
        Reports.emplace_back(stage, percent);
    }
    std::vector<std::pair<TVDProgressStage, int32_t>> Reports;
};

} // namespace

TEST_F(Document, SavingProgressAndScope) {
    TProgressDocument doc(&Style);
    int32_t progress = -1;
    EXPECT_FALSE(doc.SaveProgressInit(progress, 1000, vdloVDFWrite));
    EXPECT_TRUE(doc.Reports.empty());
    EXPECT_TRUE(doc.SaveProgressInit(progress, 1001, vdloVDFWrite));
    doc.SaveProgressRun(progress, 500, 1001, vdloVDFWrite);
    doc.SaveProgressRun(progress, 501, 1001, vdloVDFWrite); // still 50 %
    doc.SaveProgressDone(vdloVDFWrite);
    EXPECT_EQ(doc.Reports, (std::vector<std::pair<TVDProgressStage, int32_t>>{
                               {vdpstgStarting, 0}, {vdpstgRunning, 50}, {vdpstgEnding, 0}}));
    EXPECT_EQ(doc.GetVDFSaveScope(true), vdfss_Selection);
    EXPECT_EQ(doc.GetVDFSaveScope(false), vdfss_Full);
    doc.State.Include(vdstSavingPage);
    EXPECT_EQ(doc.GetVDFSaveScope(false), vdfss_FullInPage);
}

TEST_F(Document, DrainedItemsLeaveTheVictimsLists) {
    TTestDocument victim(&Style);
    victim.SetListMarkerInfo(-1, -1, 0, 1, 0, false);
    victim.AddNL(u"listed", 0, -1);
    victim.AddItem(u"", std::make_unique<TVDPageNumberItemInfo>(&victim));
    ASSERT_TRUE(victim.GetMarkers(false));
    Doc.DrainFrom(&victim);
    EXPECT_EQ(victim.GetMarkers(false), nullptr);
    EXPECT_EQ(victim.GetPrintFieldList(false), nullptr);
    // The victim goes on with lists of its own items only.
    victim.SetListMarkerInfo(-1, -1, 0, 1, 0, false);
    EXPECT_EQ(victim.GetMarkers(false)->Count(), 1);
    EXPECT_EQ(Doc.ItemCount(), 3);
}
