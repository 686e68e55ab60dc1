// Test helpers of the workbench's windows: a small reference database in a temporary folder, a
// main window on it, and a dialog handler that records message boxes and answers the file
// dialog and modal forms as each test tells it.
#pragma once

#include "app/UMainForm.h"
#include "tests/app_core/WorkbenchFixture.h"

#include "platform/ui/DialogHandler.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace workbench::testing {

struct TShownMessage {
    UnicodeString Text, Caption;
};

// The database of the fixture: four ECGs; ECG0004 carries no reference code.
inline std::vector<UnicodeString> FixtureBaseInfo() {
    return {BaseInfoLine(u"ECG0001", {1, 4}), BaseInfoLine(u"ECG0002", {1, 22}),
            BaseInfoLine(u"ECG0003", {2}), BaseInfoLine(u"ECG0004", {})};
}

// A result that finds code 4, misses code 22 and sets code 23 wrongly.
inline std::vector<UnicodeString> FixtureResult() {
    return {ResultLine(u"ECG0001", {1, 4}), ResultLine(u"ECG0002", {1, 23}),
            ResultLine(u"ECG0003", {2}), ResultLine(u"ECG0004", {})};
}

class MainFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(DbFolder());
        WriteLines(DbFolder() / "base.info", FixtureBaseInfo());
        WriteLines(Folder.Path() / "Result.txt", FixtureResult());
    }
    void TearDown() override {
        Form.reset();
        TVDMainForm::SetEdfFolderForTesting(u"");
    }

    std::filesystem::path DbFolder() const { return Folder.Path() / "EDF"; }
    UnicodeString DbFolderName() const { return rtl::Utf8ToUtf16(DbFolder().string() + "/"); }
    UnicodeString ResultPath() const { return Folder.File("Result.txt"); }

    // Makes and shows the main window on the given database folder, as the program does.
    void MakeForm(const UnicodeString &edfFolder) {
        TVDMainForm::SetEdfFolderForTesting(edfFolder);
        Form = std::make_unique<TVDMainForm>(nullptr);
        Form->AfterConstruction();
        Form->Show();
    }
    void MakeForm() { MakeForm(DbFolderName()); }

    // A taller window, so that every row of the totals list is drawn on a grab.
    void ShowAllTotalRows() { Form->SetClientHeight(1400); }

    // The "..." button with the file dialog confirmed on path, or cancelled.
    void ChooseResultFile(const UnicodeString &path) {
        FileAnswer = [this, path](ui::TFileDialog &d) {
            EXPECT_EQ(d.GetParentWnd(), Form.get());
            d.SetFileName(path);
            return true;
        };
        Form->btnOpenResTxt->Click();
    }
    void CancelFileDialog() {
        FileAnswer = [](ui::TFileDialog &) { return false; };
        Form->btnOpenResTxt->Click();
    }

    // The totals row with this caption.
    ui::TListItem *TotalRow(const UnicodeString &caption) const {
        ui::TListItems &items = Form->TotalLV->GetItems();
        for (int32_t i = 0; i < items.GetCount(); ++i) {
            if (items[i]->GetCaption() == caption) {
                return items[i];
            }
        }
        ADD_FAILURE() << "no row " << rtl::Utf16ToUtf8(caption);
        return nullptr;
    }

    TTempFolder Folder;
    TDecimalSeparatorScope Separator{u','};
    std::vector<TShownMessage> Messages;
    std::function<bool(ui::TFileDialog &)> FileAnswer = [](ui::TFileDialog &) {
        ADD_FAILURE() << "unexpected file dialog";
        return false;
    };
    std::function<int32_t(ui::TForm &)> ModalAnswer = [](ui::TForm &) {
        ADD_FAILURE() << "unexpected modal form";
        return int32_t(ui::mrCancel);
    };
    ui::TDialogHandlerScope Handler{ui::TDialogHandler{
        [this](const UnicodeString &text, const UnicodeString &caption, uint32_t) {
            Messages.push_back({text, caption});
            return int32_t(ui::IDOK);
        },
        [this](ui::TForm &form) { return ModalAnswer(form); },
        [this](ui::TFileDialog &dialog) { return FileAnswer(dialog); }}};
    std::unique_ptr<TVDMainForm> Form;
};

} // namespace workbench::testing
