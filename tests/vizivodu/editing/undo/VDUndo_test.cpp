// The undo and redo lists: opening groups under a limit and in group mode, typing groups that
// grow and shrink a character at a time, the list errors, and undoing and redoing typing.
#include "vizivodu/editing/undo/VDUndo.h"

#include "tests/vizivodu/editing/EditTestSupport.h"
#include "vizivodu/editing/undo/VDUndo_Records.h"

#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

using namespace vizivodu;

namespace {

std::unique_ptr<TVDUndoInfo> Record() {
    return std::make_unique<TVDUndoTagInfo>();
}

std::string ErrorOf(const std::function<void()> &action) {
    try {
        action();
    } catch (const rtl::Exception &e) {
        return rtl::Utf16ToUtf8(e.Message());
    }
    return "";
}

} // namespace

TEST(UndoList, ALimitOfZeroRecordsNothing) {
    TVDUndoList list(nullptr);
    list.Limit = 0;
    EXPECT_FALSE(list.BeginItem(vdutInsert, u"", 0, 1));
    list.AddTyping(0, 1, false);
    EXPECT_EQ(list.Count(), 0);
}

TEST(UndoList, TheLimitDropsTheOldestGroupButALoweredLimitTrimsNothing) {
    TVDUndoList list(nullptr);
    list.Limit = 3;
    for (int32_t i = 0; i < 5; ++i) {
        ASSERT_TRUE(list.BeginItem(vdutInsert, u"", i, 1));
        list.AddInfo(Record());
        EXPECT_LE(list.Count(), 3);
    }
    EXPECT_EQ(list.GetItem(0)->CaretItemNo, 2);
    list.Limit = 2;
    list.BeginItem(vdutDelete, u"", 9, 1);
    list.AddInfo(Record());
    EXPECT_EQ(list.Count(), 4);
}

TEST(UndoList, AnEmptyLastGroupHandsItsCaretAndCaptionToTheNext) {
    TVDUndoList list(nullptr);
    list.BeginItem(vdutCustom, u"Mine", 4, 7);
    list.BeginItem(vdutDelete, u"Other", 1, 1);
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list.CurrentUndoType(), vdutDelete);
    EXPECT_EQ(list.CurrentUndoCaption(), u"Mine");
    EXPECT_EQ(list.Last()->CaretItemNo, 4);
    EXPECT_EQ(list.Last()->CaretOffs, 7);
}

TEST(UndoList, GroupModeContinuesTheLastGroupUnlessItIsTyping) {
    TVDUndoList list(nullptr);
    list.AddTyping(0, 1, false);
    list.SetUndoGroupMode(true);
    EXPECT_TRUE(list.BeginItem(vdutDelete, u"", 0, 2));
    EXPECT_EQ(list.Count(), 2);
    list.AddInfo(Record());
    EXPECT_TRUE(list.BeginItem(vdutInsert, u"", 0, 1));
    list.AddInfo(Record());
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Last()->Count(), 2);
    EXPECT_EQ(list.CurrentUndoType(), vdutDelete);
    list.SetUndoGroupMode(false);
    EXPECT_EQ(list.GroupModeCount, 0);
}

TEST(UndoList, TypingFollowingTheRunExtendsOneGroup) {
    TVDUndoList list(nullptr);
    list.AddTyping(3, 5, false);
    list.AddTyping(3, 6, false);
    list.AddTyping(3, 7, false);
    ASSERT_EQ(list.Count(), 1);
    auto *typing = dynamic_cast<TVDUndoTypingInfo *>(list.Last()->GetItem(0));
    ASSERT_NE(typing, nullptr);
    EXPECT_EQ(typing->Index, 5);
    EXPECT_EQ(typing->Length, 3);
    EXPECT_EQ(list.Last()->CaretOffs, 7);
    EXPECT_EQ(list.CurrentUndoType(), vdutTyping);
    list.AddTyping(3, 9, false);
    EXPECT_EQ(list.Count(), 2);
}

TEST(UndoList, MisuseRaisesTheListErrors) {
    TVDUndoList list(nullptr);
    EXPECT_EQ(ErrorOf([&] { list.AddInfo(Record()); }), "Can't modify empty undo list");
    list.AddTyping(0, 1, true);
    EXPECT_EQ(ErrorOf([&] { list.AddInfo(Record()); }), "Incorrect adding into undo list");
    EXPECT_EQ(list.AddInfoIfPossible(Record()), nullptr);
    test::TEditFixture f;
    TVDUndoList empty(nullptr);
    EXPECT_EQ(ErrorOf([&] { empty.Undo(f.Doc()); }), "Undo buffer is empty");
    EXPECT_EQ(ErrorOf([&] { empty.Redo(f.Doc()); }), "Undo buffer is empty");
}

TEST(UndoList, UndoingTypingTakesOneCharacterACallAndRedoPutsThemBack) {
    test::TEditFixture f;
    f.Format();
    f.Type(u"abc");
    ASSERT_EQ(f.Dump(), "abc");
    TVDEditVDData &doc = f.Doc();
    ASSERT_EQ(doc.UndoList->Count(), 1);
    doc.UndoList->Undo(doc);
    EXPECT_EQ(f.Dump(), "ab");
    ASSERT_EQ(doc.UndoList->Count(), 1);
    EXPECT_EQ(doc.UndoList->Last()->CaretOffs, 2);
    ASSERT_EQ(doc.RedoList->Count(), 1);
    auto *redo = dynamic_cast<TVDRedoTypingInfo *>(doc.RedoList->Last()->GetItem(0));
    ASSERT_NE(redo, nullptr);
    EXPECT_EQ(redo->s, std::string("c\0", 2));
    doc.UndoList->Undo(doc);
    doc.UndoList->Undo(doc);
    EXPECT_EQ(f.Dump(), "");
    EXPECT_EQ(doc.UndoList->Count(), 0);
    EXPECT_EQ(redo->s, std::string("c\0b\0a\0", 6));
    EXPECT_EQ(redo->Index, 4);
    doc.RedoList->Redo(doc);
    EXPECT_EQ(f.Dump(), "a");
    doc.RedoList->Redo(doc);
    doc.RedoList->Redo(doc);
    EXPECT_EQ(f.Dump(), "abc");
    EXPECT_EQ(doc.RedoList->Count(), 0);
    EXPECT_EQ(f.Caret(), "0:4");
}
