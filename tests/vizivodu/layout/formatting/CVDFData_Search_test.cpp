// Searching a formatted document: forwards and backwards, with and without case and whole
// words, across the items of a line but never across a line start, tab items, repeated
// searches with a smart start, 8-bit search strings, and on into table cells and after them.
#include "vizivodu/layout/formatting/CVDFData.h"

#include "tests/vizivodu/LayoutTestSupport.h"
#include "tests/vizivodu/tables/TableTestSupport.h"
#include "vizivodu/document/VDUnicode.h"
#include "vizivodu/tables/VDTable.h"
#include "vizivodu/tables/VDTable_Cells.h"

#include "platform/rtl/CodePages.h"

#include <gtest/gtest.h>

#include <string>

using namespace vizivodu;
using vizivodu::test::TLayoutStyle;
using vizivodu::test::TTestFormattedDocument;

namespace {

// The selection of doc in items: "startItem:startOffs-endItem:endOffs" (not normalised: the
// caret end last), or "" without a selection.
std::string Selection(TCustomVDFormattedData &doc) {
    int32_t sn, en, so, eo;
    doc.GetSelBounds(sn, en, so, eo, false);
    if (sn < 0 || en < 0) {
        return "";
    }
    doc.StoreSelBounds(sn, en, so, eo, false);
    return std::to_string(sn) + ":" + std::to_string(so) + "-" + std::to_string(en) + ":" +
           std::to_string(eo);
}

TVDSearchOptions With(TVDSearchOptions options, TVDSearchOption option) {
    return options.Include(option);
}

TVDRawByteString W(std::u16string_view s) {
    return StringToRawUnicode(std::u16string(s));
}

class Search : public ::testing::Test {
protected:
    Search() : Doc(&Style) {
        Doc.AddNL(u"Alpha beta, gamma", 0, 0); // 0
        Doc.AddNL(u"betabeta", 0, 0);          // 1
        Doc.AddNL(u"Sea", 0, 0);               // 2
        Doc.AddNL(u"rch", 1, -1);              // 3: the same line, another style
        Doc.AddNL(u"x", 0, 0);                 // 4
        Doc.AddTab(0, -1);                     // 5
        Doc.AddNL(u"y", 0, -1);                // 6
        Doc.AddNL(u"Sea", 0, 0);               // 7: "Sea" / "rch" over a line start
        Doc.AddNL(u"rch", 0, 0);               // 8
        Format();
    }
    void Format() { Doc.Format(false, false); }

    TLayoutStyle Style;
    TTestFormattedDocument Doc;
};

} // namespace

TEST_F(Search, FindsAndSelectsAsTheOptionsSay) {
    struct Case {
        const char *name;
        std::u16string s;
        TVDSearchOptions options;
        std::string selected; // "" when not found
    };
    const TVDSearchOptions start{vdsroFromStart, vdsroDown};
    const TVDSearchOptions up{vdsroFromStart};
    const Case cases[] = {
        {"down, any case", u"BETA", start, "0:7-0:11"},
        {"down, case", u"BETA", With(start, vdsroMatchCase), ""},
        {"down, case found", u"Alpha", With(start, vdsroMatchCase), "0:1-0:6"},
        {"up: the last occurrence, caret at its start", u"beta", up, "1:9-1:5"},
        {"whole word before a comma", u"beta", With(start, vdsroWholeWord), "0:7-0:11"},
        {"whole word inside a longer word", u"bet", With(start, vdsroWholeWord), ""},
        {"whole word up skips the longer word", u"beta", With(up, vdsroWholeWord), "0:11-0:7"},
        {"part of a word", u"abe", start, "1:4-1:7"},
        {"across items of a line", u"search", With(start, vdsroMultiItem), "2:1-3:4"},
        {"across items, up", u"search", With(up, vdsroMultiItem), "3:4-2:1"},
        {"not across items without multi-item", u"search", start, ""},
        {"tab in a run", u"x\ty", With(start, vdsroMultiItem), "4:1-6:2"},
        {"a lone tab selects the tab item", u"\t", start, "5:0-5:1"},
    };
    for (const Case &c : cases) {
        Doc.Deselect(nullptr, false);
        const bool found = Doc.SearchTextR(c.options, true, W(c.s));
        EXPECT_EQ(found, !c.selected.empty()) << c.name;
        EXPECT_EQ(found ? Selection(Doc) : "", c.selected) << c.name;
    }
}

TEST_F(Search, NeverMatchesAcrossALineStart) {
    // "Sea" / "rch" of items 7 and 8 stand on two lines: only items 2 and 3 match.
    EXPECT_TRUE(Doc.SearchTextR({vdsroMultiItem}, true, W(u"search")));
    EXPECT_EQ(Selection(Doc), "3:4-2:1");
}

TEST_F(Search, CaseInsensitiveCyrillic) {
    Doc.Clear();
    Doc.AddNL(u"Съешь ещё этих мягких булок", 0, 0);
    Format();
    EXPECT_TRUE(Doc.SearchTextR({vdsroFromStart, vdsroDown}, true, W(u"МЯГКИХ")));
    EXPECT_EQ(Selection(Doc), "0:16-0:22");
    // The same word as 8-bit text in the default code page (1251).
    Doc.Deselect(nullptr, false);
    EXPECT_TRUE(Doc.SearchTextR({vdsroFromStart, vdsroDown, vdsroMatchCase}, false,
                                rtl::UnicodeToAnsi(u"булок", 1251)));
    EXPECT_EQ(Selection(Doc), "0:23-0:28");
}

TEST_F(Search, ASmartStartFindsTheNextOccurrenceAndNotTheSameOne) {
    Doc.Clear();
    Doc.AddNL(u"x abab y", 0, 0);
    Format();
    Doc.Deselect(nullptr, false);
    const TVDSearchOptions down{vdsroDown, vdsroSmartStart};
    EXPECT_TRUE(Doc.SearchTextR(With(down, vdsroFromStart), true, W(u"ab")));
    EXPECT_EQ(Selection(Doc), "0:3-0:5");
    EXPECT_TRUE(Doc.SearchTextR(down, true, W(u"ab")));
    EXPECT_EQ(Selection(Doc), "0:5-0:7");
    EXPECT_FALSE(Doc.SearchTextR(down, true, W(u"ab")));
    // Upwards the second occurrence comes first.
    Doc.Deselect(nullptr, false);
    EXPECT_TRUE(Doc.SearchTextR({vdsroFromStart, vdsroSmartStart}, true, W(u"ab")));
    EXPECT_EQ(Selection(Doc), "0:7-0:5");
    EXPECT_TRUE(Doc.SearchTextR({vdsroSmartStart}, true, W(u"ab")));
    EXPECT_EQ(Selection(Doc), "0:5-0:3");
}

TEST_F(Search, AnEmptyStringOrDocumentFindsNothing) {
    EXPECT_FALSE(Doc.SearchTextR({vdsroFromStart, vdsroDown}, true, TVDRawByteString()));
    Doc.Clear();
    EXPECT_FALSE(Doc.SearchTextR({vdsroFromStart, vdsroDown}, true, W(u"a")));
}

TEST_F(Search, GoesIntoTableCellsInTheirOrderAndOnAfterTheTable) {
    Doc.Clear();
    Doc.AddNL(u"start", 0, 0);
    auto made = TVDTableItemInfo::CreateEx(1, 2, &Doc);
    TVDTableItemInfo &table = *made;
    test::SetCellText(*table.GetCells(0, 0), u"needle");
    test::SetCellText(*table.GetCells(0, 1), u"a needle");
    Doc.AddItem(u"", std::move(made));
    Doc.AddNL(u"needle", 0, 0);
    Format();
    const TVDSearchOptions down{vdsroDown, vdsroSmartStart};
    ASSERT_TRUE(Doc.SearchTextR(With(down, vdsroFromStart), true, W(u"needle")));
    EXPECT_EQ(Selection(*table.GetCells(0, 0)), "0:1-0:7");
    // With the first cell chosen, the search goes on in the second one ...
    Doc.RestoreSelBounds(1, 1, 0, 1, false);
    Doc.SetPartialSelectedItem(&table);
    table.ChosenCellRow = 0;
    table.ChosenCellCol = 0;
    ASSERT_TRUE(Doc.SearchTextR(down, true, W(u"needle")));
    EXPECT_EQ(Selection(*table.GetCells(0, 1)), "0:3-0:9");
    // ... and from the last cell after the table.
    Doc.RestoreSelBounds(1, 1, 0, 1, false);
    Doc.SetPartialSelectedItem(&table);
    table.ChosenCellCol = 1;
    ASSERT_TRUE(Doc.SearchTextR(down, true, W(u"needle")));
    EXPECT_EQ(Selection(Doc), "2:1-2:7");
}
