// Typed text and virtual keys: every character a keyboard layout produces reaches edits and
// grids as typed, keys are named as Windows names them, and shortcuts keep working.
#include "platform/ui/Application.h"
#include "platform/ui/Edit.h"
#include "platform/ui/Forms.h"
#include "platform/ui/QtBridge_p.h"
#include "platform/ui/ValueListEditor.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

using namespace ui;

namespace {

// Every printable ASCII character, space to tilde.
rtl::UnicodeString PrintableAscii() {
    rtl::UnicodeString text;
    for (char16_t c = u' '; c <= u'~'; ++c) {
        text += c;
    }
    return text;
}

const rtl::UnicodeString Cyrillic = u"Тест ёЁ Наименование «программы» №5";

class TypingForm : public ::testing::Test {
protected:
    void SetUp() override {
        FForm->SetBounds(0, 0, 400, 300);
        FEdit->SetParent(FForm.get());
        FEdit->SetBounds(10, 10, 300, 21);
        FGrid->SetParent(FForm.get());
        FGrid->SetBounds(10, 50, 300, 150);
        FForm->Show();
        Focus(FEdit);
    }
    static void Focus(TWinControl *c) {
        c->SetFocus();
        Application->ProcessMessages();
    }
    // A key as a window system delivers it: its Qt code, its text and the key code of its place.
    void Press(QWidget *target, int key, const QString &text, quint32 scanCode,
               Qt::KeyboardModifiers mods = Qt::NoModifier) {
        for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
            QKeyEvent e(type, key, mods, scanCode, 0, 0, text);
            QCoreApplication::sendEvent(target, &e);
        }
    }
    std::unique_ptr<TForm> FForm = std::make_unique<TForm>(nullptr);
    TEdit *FEdit = new TEdit(FForm.get());
    TValueListEditor *FGrid = new TValueListEditor(FForm.get());
};

TEST_F(TypingForm, EveryPrintableAsciiCharacterReachesAnEdit) {
    FEdit->TypeTextForTesting(PrintableAscii());
    EXPECT_EQ(FEdit->GetText(), PrintableAscii());
}

TEST_F(TypingForm, CyrillicTextReachesAnEdit) {
    FEdit->TypeTextForTesting(Cyrillic);
    EXPECT_EQ(FEdit->GetText(), Cyrillic);
}

TEST_F(TypingForm, ProgramNameWithPunctuationIsTypedAsIs) {
    FEdit->TypeTextForTesting(u"Prog-2.0, (beta) #7");
    EXPECT_EQ(FEdit->GetText(), u"Prog-2.0, (beta) #7");
}

TEST_F(TypingForm, TextTypedIntoAGridCellIsTheCellsValue) {
    FGrid->SetKeyOption(keyEdit, true);
    for (const rtl::UnicodeString &text : {Cyrillic, PrintableAscii()}) {
        FGrid->SetRow(1);
        Focus(FGrid);
        FGrid->TypeTextForTesting(text);      // the first key opens the cell's editor
        FGrid->KeyPressForTesting(VK_RETURN); // and Enter commits it
        Application->ProcessMessages();
        EXPECT_EQ(FGrid->GetCell(0, 1), text);
    }
}

TEST_F(TypingForm, LettersOfALayoutWithoutLatinLettersAreNamedByTheirPlace) {
    std::vector<uint16_t> downs, ups;
    FEdit->OnKeyDown = [&](TComponent *, uint16_t &key, TShiftState) { downs.push_back(key); };
    FEdit->OnKeyUp = [&](TComponent *, uint16_t &key, TShiftState) { ups.push_back(key); };
    QWidget *edit = qt::WidgetOf(*FEdit);
    constexpr quint32 KeyN = 49 + 8, KeyPeriodPlace = 52 + 8;
    Press(edit, 0x0422, u"т"_qs, KeyN); // Russian layout: the key of Latin N types "т"
    Press(edit, Qt::Key_Period, u"."_qs, KeyPeriodPlace);
    EXPECT_EQ(downs, (std::vector<uint16_t>{'N', VK_OEM_PERIOD}));
    EXPECT_EQ(ups, downs);
    // A key that can be named neither way still types its character, and no handler sees a
    // key without a number.
    downs.clear();
    Press(edit, 0x0416, u"ж"_qs, 0);
    EXPECT_TRUE(downs.empty());
    EXPECT_EQ(FEdit->GetText(), u"т.ж");
}

TEST_F(TypingForm, ShortcutsKeepWorkingUnderALayoutWithoutLatinLetters) {
    std::vector<std::pair<uint16_t, bool>> downs;
    FEdit->OnKeyDown = [&](TComponent *, uint16_t &key, TShiftState shift) {
        downs.emplace_back(key, shift.Contains(ssCtrl));
    };
    FEdit->TypeTextForTesting(u"абв");
    // With Ctrl held the window system reports the Latin letter of the key.
    constexpr quint32 KeyA = 30 + 8;
    Press(qt::WidgetOf(*FEdit), Qt::Key_A, QString(QChar(1)), KeyA, Qt::ControlModifier);
    EXPECT_EQ(downs.back(), std::make_pair(uint16_t('A'), true));
    FEdit->TypeTextForTesting(u"г"); // replaces the text Ctrl+A selected
    EXPECT_EQ(FEdit->GetText(), u"г");
}

} // namespace
