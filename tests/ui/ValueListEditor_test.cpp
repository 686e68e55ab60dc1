// The value-list grid: rows over Name=Value strings, the empty row, editing, row commands.
#include "platform/ui/Forms.h"
#include "platform/ui/ValueListEditor.h"

#include <gtest/gtest.h>

#include <memory>

using namespace ui;

namespace {

struct GridFixture : ::testing::Test {
    std::unique_ptr<TForm> form = std::make_unique<TForm>(nullptr);
    TValueListEditor *grid = new TValueListEditor(form.get());
    void SetUp() override {
        grid->SetParent(form.get());
        grid->SetAlign(alClient);
        grid->GetTitleCaptions().Put(0, u"Звание, должность");
        grid->GetTitleCaptions().Put(1, u"ФИО");
        grid->SetKeyOption(keyAdd, true);
        grid->SetKeyOption(keyDelete, true);
        form->Show();
    }
};

} // namespace

TEST_F(GridFixture, AnEmptyListShowsOneEmptyRowThatBecomesAStringWhenWritten) {
    EXPECT_EQ(grid->GetRowCount(), 2);
    EXPECT_EQ(grid->GetCell(0, 0), u"Звание, должность");
    EXPECT_EQ(grid->GetCell(0, 1), u"");
    grid->SetRow(1);
    grid->SetCell(0, 1, u"Профессор");
    grid->SetCell(1, 1, u"Фамилия И.О.");
    ASSERT_EQ(grid->GetStrings().GetCount(), 1);
    EXPECT_EQ(grid->GetStrings()[0], u"Профессор=Фамилия И.О.");
    EXPECT_EQ(grid->GetRowCount(), 2);
}

TEST_F(GridFixture, InsertAndDeleteRowsKeepTheEmptyRowOfAnEmptyList) {
    EXPECT_EQ(grid->InsertRow(u"a", u"1", true), 1);
    EXPECT_EQ(grid->InsertRow(u"b", u"2", true), 2);
    EXPECT_EQ(grid->InsertRow(u"", u"", true), 3);
    EXPECT_EQ(grid->GetRowCount(), 4);
    EXPECT_EQ(grid->GetKey(2), u"b");
    EXPECT_EQ(grid->GetCell(1, 3), u"");
    while (grid->GetRowCount() > 2) {
        grid->DeleteRow(1);
    }
    EXPECT_EQ(grid->GetStrings().GetCount(), 1);
    EXPECT_EQ(grid->GetKey(1), u"");
    grid->DeleteRow(1);
    EXPECT_EQ(grid->GetStrings().GetCount(), 0);
    EXPECT_EQ(grid->GetRowCount(), 2);
    grid->DeleteRow(1); // the empty row stays
    EXPECT_EQ(grid->GetRowCount(), 2);
}

TEST_F(GridFixture, ValuesOfARepeatedKeyComeFromItsFirstRow) {
    grid->InsertRow(u"T", u"first", true);
    grid->InsertRow(u"T", u"second", true);
    EXPECT_EQ(grid->GetValue(u"T"), u"first");
    EXPECT_EQ(grid->GetCell(1, 2), u"second");
}

TEST_F(GridFixture, UserEditsReachTheStrings) {
    grid->InsertRow(u"key", u"old", true);
    grid->EditCellForTesting(1, 1, u"new");
    EXPECT_EQ(grid->GetStrings()[0], u"key=new");
    grid->EditCellForTesting(0, 1, u"other"); // keys are read-only without keyEdit
    EXPECT_EQ(grid->GetStrings()[0], u"key=new");
    grid->SetKeyOption(keyEdit, true);
    grid->EditCellForTesting(0, 1, u"other");
    EXPECT_EQ(grid->GetStrings()[0], u"other=new");
}

TEST_F(GridFixture, GridKeysAppendAndDeleteRows) {
    grid->InsertRow(u"a", u"1", true);
    grid->KeyPressForTesting(VK_INSERT);
    EXPECT_EQ(grid->GetStrings().GetCount(), 2);
    grid->SetRow(1);
    grid->KeyPressForTesting(VK_DELETE, {ssCtrl});
    ASSERT_EQ(grid->GetStrings().GetCount(), 1);
    EXPECT_EQ(grid->GetStrings()[0], u"=");
}

TEST_F(GridFixture, KeysHoldingAnEqualsSignStayWhole) {
    // The signatories dialog's path: rows put in by InsertRow, edited by the user, read back
    // cell by cell.
    grid->SetKeyOption(keyEdit, true);
    grid->InsertRow(u"Зав. отделением = председатель", u"Фамилия И.О.", true);
    grid->InsertRow(u"Врач", u"a=b", true);
    grid->InsertRow(u"", u"", true);
    grid->EditCellForTesting(0, 3, u"x=y");
    grid->EditCellForTesting(1, 3, u"Иванов И.И.");
    struct Row {
        const char16_t *key, *value;
    };
    const Row expected[] = {{u"Зав. отделением = председатель", u"Фамилия И.О."},
                            {u"Врач", u"a=b"},
                            {u"x=y", u"Иванов И.И."}};
    ASSERT_EQ(grid->GetStrings().GetCount(), 3);
    for (int r = 0; r < 3; ++r) {
        EXPECT_EQ(grid->GetCell(0, r + 1), expected[r].key) << r;
        EXPECT_EQ(grid->GetCell(1, r + 1), expected[r].value) << r;
    }
    // Strings still read as Name=Value text; a key is found whole.
    EXPECT_EQ(grid->GetStrings()[2], u"x=y=Иванов И.И.");
    EXPECT_EQ(grid->GetValue(u"x=y"), u"Иванов И.И.");
    grid->SetKey(2, u"Врач = терапевт");
    EXPECT_EQ(grid->GetKey(2), u"Врач = терапевт");
    EXPECT_EQ(grid->GetCell(1, 2), u"a=b");
}

TEST_F(GridFixture, RowsFollowStringsChangedDirectly) {
    grid->InsertRow(u"a=1", u"kept", true);
    grid->GetStrings().Insert(0, u"new=value");
    grid->GetStrings().Add(u"tail=t");
    ASSERT_EQ(grid->GetRowCount(), 4);
    EXPECT_EQ(grid->GetKey(1), u"new");
    EXPECT_EQ(grid->GetCell(1, 1), u"value");
    EXPECT_EQ(grid->GetKey(2), u"a=1"); // the grid's own row, moved down, stays whole
    EXPECT_EQ(grid->GetKey(3), u"tail");
    grid->GetStrings().Put(1, u"b=2");
    EXPECT_EQ(grid->GetKey(2), u"b");
    EXPECT_EQ(grid->GetCell(1, 2), u"2");
    grid->GetStrings().Delete(0);
    EXPECT_EQ(grid->GetKey(1), u"b");
    grid->GetStrings().Clear();
    EXPECT_EQ(grid->GetRowCount(), 2);
    EXPECT_EQ(grid->GetKey(1), u"");
}
