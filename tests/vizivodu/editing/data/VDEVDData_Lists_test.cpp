// List commands in the editable document: applying, changing, re-levelling and removing the
// markers of the selected paragraphs in one undo group, undone and redone to the exact bytes.
#include "vizivodu/editing/data/VDEVDData.h"

#include "tests/vizivodu/editing/EditTestSupport.h"
#include "vizivodu/document/VDMarker.h"
#include "vizivodu/styles/VDStyle.h"

#include <gtest/gtest.h>

using namespace vizivodu;

namespace {

// List style 0 is numbered with two levels.
struct TListDoc : test::TEditFixture {
    explicit TListDoc(std::initializer_list<const char16_t *> paragraphs) {
        TVDListInfo &list = Style.GetListStyles().Add();
        list.GetLevels().Add().SetListType(vdlstDecimal);
        list.GetLevels().Add().SetListType(vdlstDecimal);
        for (const char16_t *p : paragraphs) {
            Doc().AddNL(p, 0, 0);
        }
        Format();
        SetCaret(0, 1);
        Start = VDFBytes();
    }
    void Select(int32_t startItem, int32_t startOffs, int32_t endItem, int32_t endOffs) {
        SetCaret(endItem, endOffs);
        Doc().SetSelectionBounds(startItem, startOffs, endItem, endOffs);
    }
    // The paragraphs as "level:text", "-:text" without a marker; "!" after a restart.
    std::string Paragraphs() {
        std::string out;
        for (int32_t i = 0; i < Doc().ItemCount(); ++i) {
            TCustomVDItemInfo &item = *Doc().GetItem(i);
            if (item.StyleNo == StyleNoListMarker) {
                auto &m = static_cast<TVDMarkerItemInfo &>(item);
                out +=
                    (out.empty() ? "" : " ") + std::to_string(m.Level) + (m.Reset ? "!" : "") + ":";
            } else if (item.ParaStart(false)) {
                out += (out.empty() ? "" : " ") + std::string("-:");
            }
            if (item.IsText()) {
                out += rtl::Utf16ToUtf8(Doc().GetItemTextW(i));
            }
        }
        return out;
    }
    void ExpectUndoRestores(int undoType = vdutList) {
        const std::string end = VDFBytes();
        EXPECT_EQ(UndoTypes(), (std::vector<int>{undoType}));
        UndoAll();
        EXPECT_EQ(VDFBytes(), Start) << Dump();
        RedoAll();
        EXPECT_EQ(VDFBytes(), end) << Dump();
    }
    std::string Start;
};

} // namespace

TEST(EditLists, ApplyingAListGivesEverySelectedParagraphAMarker) {
    TListDoc d({u"abc", u"def", u"ghi"});
    d.Select(0, 2, 1, 2);
    d.Doc().ApplyListStyle(0, 0, 3, true, false, vdplopChange);
    EXPECT_EQ(d.Paragraphs(), "0!:abc 0:def -:ghi");
    EXPECT_EQ(d.Caret(), "3:2");
    d.ExpectUndoRestores();
}

TEST(EditLists, RemovingTheMarkerKeepsTheTextAsAParagraph) {
    TListDoc d({u"abc", u"def"});
    d.Doc().ApplyListStyle(0, 0, 1, false, false, vdplopChange);
    ASSERT_EQ(d.Paragraphs(), "0:abc -:def");
    d.Start = d.VDFBytes();
    d.Doc().UndoList->Clear();
    d.Doc().ApplyListStyle(0, 0, 1, false, false, vdplopRemove);
    EXPECT_EQ(d.Paragraphs(), "-:abc -:def");
    EXPECT_EQ(d.Dump(), "abc¶def");
    d.ExpectUndoRestores();
}

struct TLevelCase {
    const char *Name;
    int32_t Shift;
    const char *Before, *After;
};

class EditListLevels : public ::testing::TestWithParam<TLevelCase> {};

TEST_P(EditListLevels, ShiftingStaysWithinTheListsLevels) {
    const TLevelCase &c = GetParam();
    TListDoc d({u"abc", u"def", u"ghi"});
    d.Select(0, 1, 1, 1);
    d.Doc().ApplyListStyle(0, 0, 1, false, false, vdplopChange);
    d.SetCaret(3, 1);
    d.Doc().ApplyListStyle(0, 1, 1, false, false, vdplopChange);
    ASSERT_EQ(d.Paragraphs(), c.Before);
    d.Start = d.VDFBytes();
    d.Doc().UndoList->Clear();
    d.Select(0, 1, 4, 1);
    d.Doc().ApplyListStyle(0, c.Shift, 1, false, false, vdplopLevel);
    EXPECT_EQ(d.Paragraphs(), c.After);
    d.ExpectUndoRestores();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EditListLevels,
    ::testing::Values(TLevelCase{"Raise", 1, "0:abc 1:def -:ghi", "1:abc 1:def -:ghi"},
                      TLevelCase{"Lower", -1, "0:abc 1:def -:ghi", "0:abc 0:def -:ghi"}),
    [](const auto &info) { return info.param.Name; });

TEST(EditLists, ChangingWithoutALevelKeepsTheExistingLevels) {
    TListDoc d({u"abc", u"def"});
    d.Doc().ApplyListStyle(0, 1, 1, false, false, vdplopChange);
    ASSERT_EQ(d.Paragraphs(), "1:abc -:def");
    d.Start = d.VDFBytes();
    d.Doc().UndoList->Clear();
    d.Select(1, 1, 2, 2);
    d.Doc().ApplyListStyle(0, -1, 1, false, false, vdplopChange);
    EXPECT_EQ(d.Paragraphs(), "1:abc 0:def");
    d.ExpectUndoRestores();
}

struct TEnterCase {
    const char *Name;
    int32_t CaretOffs;
    const char *After;
};

class EditListEnter : public ::testing::TestWithParam<TEnterCase> {};

TEST_P(EditListEnter, TheNewParagraphIsTheListsNextItem) {
    const TEnterCase &c = GetParam();
    TListDoc d({u"abcd"});
    d.Doc().ApplyListStyle(0, 0, 1, false, false, vdplopChange);
    d.Start = d.VDFBytes();
    d.Doc().UndoList->Clear();
    d.SetCaret(1, c.CaretOffs);
    ASSERT_TRUE(d.Doc().OnEnterPress_(false, false));
    EXPECT_EQ(d.Paragraphs(), c.After);
    EXPECT_EQ(d.Caret(), "3:1");
    TVDMarkerList &markers = *d.Doc().GetMarkers(false);
    ASSERT_EQ(markers.Count(), 2);
    EXPECT_EQ(markers.Get(1)->Counter, 2);
    d.ExpectUndoRestores(vdutMiscTyping);
}

INSTANTIATE_TEST_SUITE_P(Cases, EditListEnter,
                         ::testing::Values(TEnterCase{"Middle", 3, "0:ab 0:cd"},
                                           TEnterCase{"End", 5, "0:abcd 0:"}),
                         [](const auto &info) { return info.param.Name; });

TEST(EditLists, BackspaceAtTheStartOfAListItemRemovesItsMarker) {
    TListDoc d({u"abc", u"def"});
    d.SetCaret(1, 1);
    d.Doc().ApplyListStyle(0, 0, 1, false, false, vdplopChange);
    d.Start = d.VDFBytes();
    d.Doc().UndoList->Clear();
    d.SetCaret(2, 1);
    d.Doc().OnBackSpacePress_(false, false, false, 0);
    EXPECT_EQ(d.Paragraphs(), "-:abc -:def");
    EXPECT_EQ(d.Doc().GetMarkers(false), nullptr);
    d.ExpectUndoRestores(vdutDelete);
}
