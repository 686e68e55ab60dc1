// The signatories dialog: a two-column grid of titles and names for the approving person or
// the members of the commission.
#pragma once

#include "platform/rtl/System.h"
#include "platform/ui/BitBtn.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Panel.h"
#include "platform/ui/ValueListEditor.h"

#include <cstdint>
#include <map>

namespace workbench {

using rtl::UnicodeString;

// One column of a signatory table: row number (1, 2, 3 ... without gaps) to text. A table is
// a pair of these, titles and names, with the same keys.
using TSignatoryTable = std::map<int32_t, UnicodeString>;

// The dialog keeps nothing between uses: setContent loads a table into the grid, the caller
// shows the dialog modally and, on OK, reads the grid back with getContent.
class TContentForm : public ui::TForm {
public:
    explicit TContentForm(ui::TComponent *owner);

    ui::TValueListEditor *ValueListEditor1;
    ui::TPanel *pnlBottom;
    ui::TBitBtn *btnAddRec;
    ui::TBitBtn *btnRemoveSelRec;
    ui::TBitBtn *BtnOK;
    ui::TBitBtn *btnCancel;

    // Loads the table (titles, names) into the grid, row r showing entry r, and makes row 1
    // current. An empty table shows one empty row, which stays no entry unless typed into.
    // The buttons "Добавить" and "Убрать выделенное" are shown exactly when ableChangeCount.
    void setContent(const TSignatoryTable &DictionaryData1, const TSignatoryTable &DictionaryData2,
                    bool ableChangeCount);
    // Replaces both columns by the grid's rows, row r becoming entry r with its own title and
    // name (an appended row left empty is an entry with empty texts). No rows: empty tables.
    void getContent(TSignatoryTable &DictionaryData1, TSignatoryTable &DictionaryData2) const;

    void btnAddRecClick(ui::TComponent *sender);
    void btnRemoveSelRecClick(ui::TComponent *sender);
};

// The dialog made at start-up, owned by the application; nullptr until then.
extern TContentForm *ContentForm;
// ContentForm, made first when it does not exist yet.
TContentForm &ContentFormInstance();

} // namespace workbench
