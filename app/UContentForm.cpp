// The signatories dialog: its components and the loading and reading of its grid.
#include "app/UContentForm.h"

#include "platform/ui/Application.h"

namespace workbench {

TContentForm *ContentForm = nullptr;

TContentForm &ContentFormInstance() {
    if (!ContentForm) {
        ContentForm = new TContentForm(ui::Application); // owned by the application
        ContentForm->AfterConstruction();
    }
    return *ContentForm;
}

namespace {

ui::TBitBtn *AddButton(TContentForm &form, ui::TAlign align, int32_t left, int32_t width,
                       const char16_t *caption) {
    auto *button = new ui::TBitBtn(&form); // owned by the dialog
    button->SetParent(form.pnlBottom);
    button->SetAlign(align);
    button->SetBounds(left, 0, width, 25);
    button->SetCaption(caption);
    return button;
}

const UnicodeString &EntryOf(const TSignatoryTable &table, int32_t key) {
    static const UnicodeString none;
    const auto it = table.find(key);
    return it == table.end() ? none : it->second;
}

} // namespace

TContentForm::TContentForm(ui::TComponent *owner) : ui::TForm(owner) {
    SetName(u"ContentForm");
    SetCaption(u"Состав");
    SetPosition(ui::poScreenCenter);
    SetClientWidth(635);
    SetClientHeight(299);
    DisableAlign();

    pnlBottom = new ui::TPanel(this); // owned by the dialog
    pnlBottom->SetParent(this);
    pnlBottom->SetAlign(ui::alBottom);
    pnlBottom->SetHeight(40);

    btnAddRec = AddButton(*this, ui::alLeft, 0, 75, u"Добавить");
    btnAddRec->OnClick = [this](ui::TComponent *s) { btnAddRecClick(s); };
    btnRemoveSelRec = AddButton(*this, ui::alLeft, 100, 133, u"Убрать выделенное");
    btnRemoveSelRec->OnClick = [this](ui::TComponent *s) { btnRemoveSelRecClick(s); };
    btnCancel = AddButton(*this, ui::alRight, 600, 75, u"Отмена");
    btnCancel->SetModalResult(ui::mrCancel);
    BtnOK = AddButton(*this, ui::alRight, 500, 75, u"OK");
    BtnOK->SetModalResult(ui::mrOk);

    ValueListEditor1 = new ui::TValueListEditor(this); // owned by the dialog
    ValueListEditor1->SetParent(this);
    ValueListEditor1->SetAlign(ui::alClient);
    ValueListEditor1->SetAccessibleName(GetCaption()); // the dialog's caption names the table
    ValueListEditor1->SetShowColumnTitles(true);
    ValueListEditor1->SetAutoColResize(true);
    ValueListEditor1->SetEditing(true);
    ValueListEditor1->SetKeyOption(ui::keyEdit, true);
    ValueListEditor1->SetKeyOption(ui::keyAdd, true);
    ValueListEditor1->SetKeyOption(ui::keyDelete, true);
    ValueListEditor1->GetTitleCaptions().Clear();
    ValueListEditor1->GetTitleCaptions().Add(u"Звание, должность");
    ValueListEditor1->GetTitleCaptions().Add(u"ФИО");
    ValueListEditor1->SetColWidth(0, 311);
    ValueListEditor1->SetColWidth(1, 312);
    EnableAlign();
}

void TContentForm::setContent(const TSignatoryTable &DictionaryData1,
                              const TSignatoryTable &DictionaryData2, bool ableChangeCount) {
    ValueListEditor1->GetStrings().Clear();
    // Keys run from 1 without gaps; a table without entry 1 is empty and shows the one empty
    // row of the grid.
    for (int32_t key = 1; DictionaryData1.count(key) != 0; ++key) {
        ValueListEditor1->InsertRow(DictionaryData1.at(key), EntryOf(DictionaryData2, key), true);
    }
    ValueListEditor1->SetRow(ValueListEditor1->GetFixedRows());
    btnAddRec->SetVisible(ableChangeCount);
    btnRemoveSelRec->SetVisible(ableChangeCount);
}

void TContentForm::getContent(TSignatoryTable &DictionaryData1,
                              TSignatoryTable &DictionaryData2) const {
    DictionaryData1.clear();
    DictionaryData2.clear();
    const int32_t firstRow = ValueListEditor1->GetFixedRows();
    const int32_t count = ValueListEditor1->GetStrings().GetCount();
    for (int32_t r = 1; r <= count; ++r) {
        const int32_t row = firstRow + r - 1;
        DictionaryData1[r] = ValueListEditor1->GetCell(0, row);
        DictionaryData2[r] = ValueListEditor1->GetCell(1, row);
    }
}

void TContentForm::btnAddRecClick(ui::TComponent *sender) {
    (void)sender;
    ValueListEditor1->InsertRow(u"", u"", true);
}

void TContentForm::btnRemoveSelRecClick(ui::TComponent *sender) {
    (void)sender;
    ValueListEditor1->DeleteRow(ValueListEditor1->GetRow());
}

} // namespace workbench
