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
