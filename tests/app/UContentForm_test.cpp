// The signatories dialog as the main window's two buttons use it: loading, editing, adding and
// removing rows, and the OK and Cancel rules for the approving person and the commission.
#include "MainFormFixture.h"

#include "app/UContentForm.h"
#include "platform/ui/Application.h"

namespace workbench::testing {
namespace {

const UnicodeString President = u"Профессор, д.м.н., Президент ЗЕМБРАК";
const UnicodeString Member = u"Профессор, д.м.н., член президиума ЗЕМБРАК";
const UnicodeString Placeholder = u"Фамилия И.О.";

class ContentFormTest : public MainFormTest {
protected:
    // Answers the dialog: runs the steps on it while it is shown, then clicks the button.
    void Answer(std::function<void(TContentForm &)> steps, bool ok) {
        ModalAnswer = [steps, ok](ui::TForm &form) {
            auto &dialog = dynamic_cast<TContentForm &>(form);
            steps(dialog);
            (ok ? dialog.BtnOK : dialog.btnCancel)->Click();
            return int32_t(0);
        };
    }
    // The grid's rows as (title, name) pairs, as the dialog shows them.
    static std::vector<std::pair<UnicodeString, UnicodeString>> Rows(TContentForm &d) {
        std::vector<std::pair<UnicodeString, UnicodeString>> rows;
        ui::TValueListEditor &grid = *d.ValueListEditor1;
        for (int32_t r = grid.GetFixedRows(); r < grid.GetRowCount(); ++r) {
            rows.emplace_back(grid.GetCell(0, r), grid.GetCell(1, r));
        }
        return rows;
    }
    using TRows = std::vector<std::pair<UnicodeString, UnicodeString>>;
};

TEST_F(ContentFormTest, DialogHasItsComponentsWithTheirExactTexts) {
    TContentForm &d = ContentFormInstance();
    EXPECT_EQ(&d, ContentForm);
    EXPECT_EQ(d.GetCaption(), u"Состав");
    EXPECT_EQ(d.GetClientWidth(), 635);
    EXPECT_EQ(d.GetClientHeight(), 299);
    EXPECT_EQ(d.GetPosition(), ui::poScreenCenter);
    EXPECT_EQ(d.GetFont().GetName(), u"Tahoma");
    EXPECT_EQ(d.GetFont().GetSize(), 8);
    EXPECT_EQ(d.ValueListEditor1->GetAlign(), ui::alClient);
    EXPECT_TRUE(d.ValueListEditor1->GetAutoColResize());
    EXPECT_TRUE(d.ValueListEditor1->GetEditing());
    EXPECT_EQ(d.ValueListEditor1->GetCell(0, 0), u"Звание, должность");
    EXPECT_EQ(d.ValueListEditor1->GetCell(1, 0), u"ФИО");
    EXPECT_TRUE(d.ValueListEditor1->GetShowColumnTitles());
    EXPECT_TRUE(d.ValueListEditor1->GetKeyOption(ui::keyEdit));
    EXPECT_TRUE(d.ValueListEditor1->GetKeyOption(ui::keyAdd));
    EXPECT_TRUE(d.ValueListEditor1->GetKeyOption(ui::keyDelete));
    EXPECT_EQ(d.pnlBottom->GetHeight(), 40);
    EXPECT_EQ(d.pnlBottom->GetAlign(), ui::alBottom);
    struct Case {
        ui::TBitBtn *button;
        const char16_t *caption;
        int32_t width;
        ui::TAlign align;
        ui::TModalResult result;
    };
    for (const Case &c :
         {Case{d.btnAddRec, u"Добавить", 75, ui::alLeft, ui::mrNone},
          Case{d.btnRemoveSelRec, u"Убрать выделенное", 133, ui::alLeft, ui::mrNone},
          Case{d.BtnOK, u"OK", 75, ui::alRight, ui::mrOk},
          Case{d.btnCancel, u"Отмена", 75, ui::alRight, ui::mrCancel}}) {
        SCOPED_TRACE(rtl::Utf16ToUtf8(c.caption));
        EXPECT_EQ(c.button->GetCaption(), c.caption);
        EXPECT_EQ(c.button->GetWidth(), c.width);
        EXPECT_EQ(c.button->GetAlign(), c.align);
        EXPECT_EQ(c.button->GetModalResult(), c.result);
    }
}

TEST_F(ContentFormTest, ApprovingPersonIsEditedWithoutTheRowButtons) {
    MakeForm();
    TRows shown;
    Answer(
        [&](TContentForm &d) {
            shown = Rows(d);
            EXPECT_FALSE(d.btnAddRec->GetVisible());
            EXPECT_FALSE(d.btnRemoveSelRec->GetVisible());
            EXPECT_EQ(d.ValueListEditor1->GetRow(), 1);
            d.ValueListEditor1->EditCellForTesting(1, 1, u"Иванов И.И.");
        },
        true);
    Form->btnMainSign->Click();
    EXPECT_EQ(shown, (TRows{{President, Placeholder}}));
    EXPECT_EQ(Form->GetConfirmer1(), (TSignatoryTable{{1, President}}));
    EXPECT_EQ(Form->GetConfirmer2(), (TSignatoryTable{{1, u"Иванов И.И."}}));
}

TEST_F(ContentFormTest, CancelKeepsTheTablesAndTheNextOpeningShowsThemAgain) {
    MakeForm();
    Answer(
        [](TContentForm &d) {
            d.ValueListEditor1->EditCellForTesting(0, 1, u"Доцент");
            d.btnAddRec->Click();
            d.ValueListEditor1->EditCellForTesting(1, 3, u"Петров П.П.");
        },
        false);
    Form->btnJury->Click();
    EXPECT_EQ(Form->GetJuryPeople1(), (TSignatoryTable{{1, Member}, {2, Member}}));
    EXPECT_EQ(Form->GetJuryPeople2(), (TSignatoryTable{{1, Placeholder}, {2, Placeholder}}));

    TRows shown;
    Answer([&](TContentForm &d) { shown = Rows(d); }, false);
    Form->btnJury->Click();
    EXPECT_EQ(shown, (TRows{{Member, Placeholder}, {Member, Placeholder}}));
}

TEST_F(ContentFormTest, CommissionRowsAreAddedRemovedAndKeepTheirOwnNames) {
    MakeForm();
    Answer(
        [](TContentForm &d) {
            EXPECT_TRUE(d.btnAddRec->GetVisible());
            EXPECT_TRUE(d.btnRemoveSelRec->GetVisible());
            d.ValueListEditor1->EditCellForTesting(1, 1, u"Сидоров С.С.");
            d.ValueListEditor1->EditCellForTesting(1, 2, u"Кузнецов К.К.");
            d.btnAddRec->Click(); // row 3, left empty
            d.btnAddRec->Click(); // row 4, removed again
            EXPECT_EQ(d.ValueListEditor1->GetRow(), 4);
            d.btnRemoveSelRec->Click();
        },
        true);
    Form->btnJury->Click();
    EXPECT_EQ(Form->GetJuryPeople1(), (TSignatoryTable{{1, Member}, {2, Member}, {3, u""}}));
    EXPECT_EQ(Form->GetJuryPeople2(),
              (TSignatoryTable{{1, u"Сидоров С.С."}, {2, u"Кузнецов К.К."}, {3, u""}}));
}

TEST_F(ContentFormTest, NamesTypedIntoTheGridInAnyLayoutAreKept) {
    MakeForm();
    UnicodeString ascii;
    for (char16_t c = u' '; c <= u'~'; ++c) {
        ascii += c;
    }
    Answer(
        [&](TContentForm &d) {
            ui::TValueListEditor &grid = *d.ValueListEditor1;
            d.btnAddRec->Click();
            for (const auto &[row, text] :
                 {std::pair<int32_t, UnicodeString>{1, u"Иванов Иван Иванович, ёЁ"},
                  std::pair<int32_t, UnicodeString>{3, ascii}}) {
                grid.SetRow(row);
                grid.SetCol(1);
                grid.SetFocus();
                ui::Application->ProcessMessages();
                grid.TypeTextForTesting(text);          // opens the name cell's editor
                grid.KeyPressForTesting(ui::VK_RETURN); // and commits it
                ui::Application->ProcessMessages();
            }
        },
        true);
    Form->btnJury->Click();
    EXPECT_EQ(Form->GetJuryPeople2(),
              (TSignatoryTable{{1, u"Иванов Иван Иванович, ёЁ"}, {2, Placeholder}, {3, ascii}}));
}

TEST_F(ContentFormTest, RemovingTheSelectedRowRemovesThatRow) {
    MakeForm();
    Answer(
        [](TContentForm &d) {
            d.ValueListEditor1->EditCellForTesting(1, 2, u"Второй В.В.");
            d.ValueListEditor1->SetRow(1);
            d.btnRemoveSelRec->Click();
        },
        true);
    Form->btnJury->Click();
    EXPECT_EQ(Form->GetJuryPeople1(), (TSignatoryTable{{1, Member}}));
    EXPECT_EQ(Form->GetJuryPeople2(), (TSignatoryTable{{1, u"Второй В.В."}}));
}

// Mended: the approving table looked each row's name up by its title, so a second row with the
// first row's title lost its own name to the first row's.
TEST_F(ContentFormTest, ApprovingRowsWithTheSameTitleKeepTheirOwnNames) {
    MakeForm();
    Answer(
        [](TContentForm &d) {
            d.ValueListEditor1->KeyPressForTesting(ui::VK_INSERT);
            d.ValueListEditor1->EditCellForTesting(0, 2, President);
            d.ValueListEditor1->EditCellForTesting(1, 2, u"Заместитель З.З.");
        },
        true);
    Form->btnMainSign->Click();
    EXPECT_EQ(Form->GetConfirmer1(), (TSignatoryTable{{1, President}, {2, President}}));
    EXPECT_EQ(Form->GetConfirmer2(), (TSignatoryTable{{1, Placeholder}, {2, u"Заместитель З.З."}}));
}

// Mended: emptying a table made every later opening of the dialog fail.
TEST_F(ContentFormTest, AnEmptiedTableOpensAgainWithOneEmptyRow) {
    MakeForm();
    Answer(
        [](TContentForm &d) {
            d.btnRemoveSelRec->Click();
            d.btnRemoveSelRec->Click();
        },
        true);
    Form->btnJury->Click();
    EXPECT_TRUE(Form->GetJuryPeople1().empty());
    EXPECT_TRUE(Form->GetJuryPeople2().empty());

    TRows shown;
    Answer([&](TContentForm &d) { shown = Rows(d); }, true);
    Form->btnJury->Click();
    EXPECT_TRUE(Messages.empty());
    EXPECT_EQ(shown, (TRows{{u"", u""}}));
    EXPECT_TRUE(Form->GetJuryPeople1().empty());

    // Typing into the empty row makes it an entry again.
    Answer([](TContentForm &d) { d.ValueListEditor1->EditCellForTesting(1, 1, u"Новый Н.Н."); },
           true);
    Form->btnJury->Click();
    EXPECT_EQ(Form->GetJuryPeople1(), (TSignatoryTable{{1, u""}}));
    EXPECT_EQ(Form->GetJuryPeople2(), (TSignatoryTable{{1, u"Новый Н.Н."}}));
}

TEST_F(ContentFormTest, LoadingReplacesWhateverTheGridHeld) {
    TContentForm &d = ContentFormInstance();
    d.setContent({{1, u"a"}, {2, u"b"}, {3, u"c"}}, {{1, u"x"}, {2, u"y"}, {3, u"z"}}, true);
    d.setContent({{1, u"only"}}, {{1, u"one"}}, false);
    EXPECT_EQ(Rows(d), (TRows{{u"only", u"one"}}));
    TSignatoryTable titles{{7, u"stale"}}, names;
    d.getContent(titles, names);
    EXPECT_EQ(titles, (TSignatoryTable{{1, u"only"}}));
    EXPECT_EQ(names, (TSignatoryTable{{1, u"one"}}));
}

} // namespace
} // namespace workbench::testing
