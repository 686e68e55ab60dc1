// Sequence items: number texts, counters by name (case-insensitive), resets, the sequence list in
// document order through insertions and deletions, recounts after property changes and undo
// moves.
#include "vizivodu/document/VDSeqItem.h"

#include "tests/vizivodu/DocumentTestSupport.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/StrUtils.h"
#include "platform/rtl/StringList.h"

#include <gtest/gtest.h>

#include <limits>

using namespace vizivodu;
using vizivodu::test::TTestDocument;

namespace {

class Sequences : public ::testing::Test {
protected:
    Sequences() : Style(nullptr), Doc(&Style) {}

    TVDSeqItemInfo &Add(const rtl::UnicodeString &name, bool reset = false, int32_t start = 0,
                        TVDSeqType type = vdseqDecimal) {
        auto item = std::make_unique<TVDSeqItemInfo>(&Doc, name, type, 0, start, reset);
        TVDSeqItemInfo &added = *item;
        Doc.AddItem(u"", std::move(item));
        return added;
    }
    // Puts a new item at index, as editing does.
    TVDSeqItemInfo &Insert(int32_t index, const rtl::UnicodeString &name) {
        auto item = std::make_unique<TVDSeqItemInfo>(&Doc, name, vdseqDecimal, 0, 0, false);
        TVDSeqItemInfo &added = *item;
        Doc.GetItems().InsertObject(index, {}, std::move(item));
        added.Inserted(&Doc, index);
        Doc.DoOnAddSpecialItem(index);
        return added;
    }
    // The texts of the document's sequence items in document order, and those of the list.
    std::string DocTexts() {
        std::string out;
        for (int32_t i = 0; i < Doc.ItemCount(); ++i) {
            if (auto *seq = dynamic_cast<TVDSeqItemInfo *>(Doc.GetItem(i))) {
                out += (out.empty() ? "" : " ") + rtl::Utf16ToUtf8(seq->GetText());
            }
        }
        return out;
    }
    std::string ListTexts() {
        std::string out;
        if (TVDSeqList *list = Doc.GetSeqList(false)) {
            for (int32_t i = 0; i < list->Count(); ++i) {
                out += (out.empty() ? "" : " ") + rtl::Utf16ToUtf8(list->Get(i)->GetText());
            }
        }
        return out;
    }

    TVDStyle Style;
    TTestDocument Doc;
};

} // namespace

TEST(SeqNumberText, EachTypeWithAndWithoutAFormatString) {
    struct Case {
        int32_t Type;
        int32_t Counter;
        const char16_t *Format;
        const char16_t *Expected;
    };
    const Case cases[] = {
        {vdseqDecimal, 7, u"", u"7"},
        {vdseqDecimal, 0, u"", u"0"},
        {vdseqLowerAlpha, 28, u"", u"ab"},
        {vdseqUpperAlpha, 28, u"", u"AB"},
        {vdseqUpperAlpha, 0, u"", u"?"},
        {vdseqLowerRoman, 14, u"", u"xiv"},
        {vdseqUpperRoman, 1999, u"", u"MCMXCIX"},
        {vdseqUpperRoman, -1, u"", u"?"},
        {5, 3, u"", u""},
        {0x80 | vdseqUpperAlpha, 28, u"", u"AB"}, // only the low 7 bits count
        {vdseqUpperAlpha, 28, u"Note %s:", u"Note AB:"},
        // A format the class library refuses (read from a file) shows the bare number.
        {vdseqUpperAlpha, 28, u"%d", u"AB"},
    };
    TVDSeqItemInfo item(nullptr);
    for (const Case &c : cases) {
        item.SetNumberType(static_cast<TVDSeqType>(c.Type));
        item.FormatString = c.Format;
        EXPECT_EQ(item.GetDisplayString(nullptr, c.Counter), c.Expected)
            << c.Type << " " << c.Counter;
    }
}

TEST(SeqItem, CreationNamesTheSequenceAndRegistersTheClass) {
    TVDSeqItemInfo unnamed(nullptr, u"", vdseqUpperRoman, 2, 5, true);
    EXPECT_EQ(unnamed.SeqName, u"tvizivodu");
    EXPECT_EQ(unnamed.StyleNo, StyleNoSequence);
    EXPECT_EQ(unnamed.GetAssociatedTextStyleNo(), 2);
    EXPECT_EQ(unnamed.FCachedIndexInList, -1);
    TVDStyle style(nullptr);
    TTestDocument doc(&style);
    std::unique_ptr<TCustomVDItemInfo> made = CreateItemForStyleNo(StyleNoSequence, &doc);
    ASSERT_TRUE(made);
    EXPECT_EQ(made->GetClass(), &TVDSeqItemInfo::ClassInfo);
    EXPECT_TRUE(static_cast<TVDSeqItemInfo &>(*made).SeqName.empty());
}

TEST(SeqItem, AssignCopiesEverythingButTheCounter) {
    TVDSeqItemInfo source(nullptr, u"Fig", vdseqLowerRoman, 1, 4, true);
    source.FormatString = u"(%s)";
    source.Counter = 9;
    TVDSeqItemInfo copy(nullptr);
    copy.Assign(source);
    EXPECT_EQ(copy.SeqName, u"Fig");
    EXPECT_EQ(copy.GetNumberType(), vdseqLowerRoman);
    EXPECT_EQ(copy.StartFrom, 4);
    EXPECT_TRUE(copy.Reset);
    EXPECT_EQ(copy.FormatString, u"(%s)");
    EXPECT_EQ(copy.GetAssociatedTextStyleNo(), 1);
    EXPECT_EQ(copy.Counter, 0);
}

TEST_F(Sequences, NamesDifferingOnlyInCaseShareOneCount) {
    Add(u"Figure");
    Add(u"FIGURE");
    Add(u"Table");
    Add(u"figure");
    EXPECT_EQ(DocTexts(), "1 2 1 3");
}

TEST_F(Sequences, AResetStartsAgainAndLeavesEarlierItemsAlone) {
    TVDSeqItemInfo &first = Add(u"a");
    Add(u"a", true, 10);
    Add(u"b");
    Add(u"a");
    EXPECT_EQ(DocTexts(), "1 10 1 11");
    EXPECT_EQ(first.Counter, 1);
}

// A counter past the largest number wraps as 32-bit arithmetic does instead of overflowing.
TEST_F(Sequences, ACounterPastTheLargestNumberWraps) {
    Add(u"a", true, std::numeric_limits<int32_t>::max());
    TVDSeqItemInfo &next = Add(u"a");
    EXPECT_EQ(next.Counter, std::numeric_limits<int32_t>::min());
}

TEST_F(Sequences, RecountingFromTheMiddleTouchesOnlyThatSequenceUnlessAllNamesAreAsked) {
    Add(u"a");
    Add(u"b");
    TVDSeqItemInfo &a2 = Add(u"a");
    TVDSeqItemInfo &b2 = Add(u"b");
    TVDSeqList &list = *Doc.GetSeqList(false);
    a2.Counter = 0;
    a2.SetText(u"x");
    b2.SetText(u"y");
    list.RecalcCounters(2, &Style, false);
    EXPECT_EQ(DocTexts(), "1 1 2 y");
    list.RecalcCounters(2, &Style, true);
    EXPECT_EQ(DocTexts(), "1 1 2 2");
    list.RecalcCounters(4, &Style, true); // past the end: nothing, no failure
    list.RecalcCounters(-1, &Style, true);
}

TEST_F(Sequences, TheListFollowsDocumentOrderThroughInsertionsAndDeletions) {
    Doc.AddNL(u"text", 0, 0);
    Add(u"n");
    Doc.AddNL(u"more", 0, 0);
    Add(u"n");
    Insert(0, u"n");
    Insert(2, u"n");
    EXPECT_EQ(DocTexts(), "1 2 3 4");
    EXPECT_EQ(ListTexts(), DocTexts());
    TVDSeqList &list = *Doc.GetSeqList(false);
    for (int32_t i = 0; i < list.Count(); ++i) {
        EXPECT_EQ(list.Get(i)->GetIndexInList(&list), i);
    }
    Doc.DeleteItems(2, 1);
    EXPECT_EQ(DocTexts(), "1 2 3");
    EXPECT_EQ(ListTexts(), DocTexts());
    Doc.DeleteItems(0, Doc.ItemCount());
    EXPECT_EQ(Doc.GetSeqList(false), nullptr);
}

// Removing an item recounts its own sequence, even when an item of another sequence now stands
// where it was: before, only that other sequence was recounted and later items of the removed
// item's sequence kept their old numbers.
TEST_F(Sequences, DeletingAnItemRenumbersItsSequenceBehindAnotherSequence) {
    Add(u"foot");
    Add(u"end");
    Add(u"foot");
    Add(u"foot");
    EXPECT_EQ(DocTexts(), "1 1 2 3");
    Doc.DeleteItems(0, 1);
    EXPECT_EQ(DocTexts(), "1 1 2");
}

TEST_F(Sequences, RemovingAnItemThatTheListDoesNotHoldIsAnIndexError) {
    Add(u"a");
    TVDSeqItemInfo stranger(&Doc, u"a", vdseqDecimal, 0, 0, false);
    EXPECT_THROW(Doc.DeleteSeqFromList(stranger, false), rtl::EListError);
    EXPECT_EQ(Doc.GetSeqList(false)->Count(), 1);
}

TEST_F(Sequences, PropertyChangesRecountOrRedrawTheNumber) {
    Add(u"a");
    Add(u"a");
    Add(u"a");
    EXPECT_FALSE(Doc.SetItemExtraStrPropertyEx(1, 200, u"typed"));
    EXPECT_EQ(DocTexts(), "1 2 3");
    EXPECT_TRUE(Doc.SetItemExtraIntPropertyEx(1, 300, 7));
    EXPECT_TRUE(Doc.SetItemExtraIntPropertyEx(1, 301, 1));
    EXPECT_EQ(DocTexts(), "1 7 8");
    EXPECT_TRUE(Doc.SetItemExtraIntPropertyEx(2, 302, vdseqUpperRoman));
    EXPECT_EQ(DocTexts(), "1 7 VIII");
    EXPECT_TRUE(Doc.SetItemExtraStrPropertyEx(2, 301, u"[%s]"));
    EXPECT_EQ(DocTexts(), "1 7 [VIII]");
    EXPECT_TRUE(Doc.SetItemExtraStrPropertyEx(1, 300, u"b"));
    EXPECT_EQ(DocTexts(), "1 7 [II]");
    rtl::UnicodeString name;
    EXPECT_TRUE(Doc.GetItemExtraStrPropertyEx(1, 300, name));
    EXPECT_EQ(name, u"b");
    TCustomVDItemInfo &item = *Doc.GetItem(0);
    EXPECT_EQ(item.GetExtraIntPropertyReformat(300), vdrfFull);
    EXPECT_EQ(item.GetExtraIntPropertyReformat(301), vdrfFull);
    EXPECT_EQ(item.GetExtraIntPropertyReformat(302), vdrfNormal);
    EXPECT_EQ(item.GetExtraStrPropertyReformat(300), vdrfFull);
    EXPECT_EQ(item.GetExtraStrPropertyReformat(301), vdrfNormal);
}

TEST_F(Sequences, MovingToTheUndoListAndBackLeavesAndRejoinsTheCount) {
    Add(u"a");
    Add(u"a");
    Add(u"a");
    Doc.GetItem(1)->MovingToUndoList(1, &Doc);
    EXPECT_EQ(ListTexts(), "1 2");
    Doc.GetItem(1)->MovingFromUndoList(1, &Doc);
    EXPECT_EQ(ListTexts(), "1 2 3");
    EXPECT_EQ(DocTexts(), "1 2 3");
}

TEST_F(Sequences, TheLastIndexOfNamesScansFromTheEnd) {
    Add(u"a");
    Add(u"b");
    Add(u"c");
    Add(u"b");
    rtl::TStringList names;
    names.SetSorted(true);
    names.Add(u"a");
    names.Add(u"c");
    EXPECT_EQ(Doc.GetLastSeqIndexOfNames(-1, names), 2);
    EXPECT_EQ(Doc.GetLastSeqIndexOfNames(2, names), -1);
}
