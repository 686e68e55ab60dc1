// The report list: groups and rows, folding, selection, and custom drawing read back as pixels.
#include "UiTestSupport.h"

#include "platform/gfx/QtBridge_p.h"
#include "platform/rtl/Exceptions.h"
#include "platform/ui/Application.h"
#include "platform/ui/Edit.h"
#include "platform/ui/Forms.h"
#include "platform/ui/ListView.h"
#include "platform/ui/QtBridge_p.h"

#include <QAccessible>
#include <QWidget>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace ui;

namespace {

struct ListFixture : ::testing::Test {
    std::unique_ptr<TForm> form = std::make_unique<TForm>(nullptr);
    TListView *lv = new TListView(form.get());

    void SetUp() override {
        form->SetBorderStyle(bsNone);
        form->SetBounds(0, 0, 500, 400);
        lv->SetParent(form.get());
        lv->SetAlign(alClient);
        lv->SetViewStyle(vsReport);
        lv->SetGridLines(true);
        for (auto [caption, width] :
             {std::pair{u"Код", 60}, {u"Нарушение", 200}, {u"ППЦ, %", 90}}) {
            TListColumn *c = lv->GetColumns().Add();
            c->SetCaption(caption);
            c->SetWidth(width);
        }
        form->Show();
    }

    TListItem *AddRow(const char16_t *caption, const char16_t *text, const char16_t *value,
                      int group) {
        TListItem *it = lv->GetItems().Add();
        it->SetCaption(caption);
        it->GetSubItems().Add(text);
        it->GetSubItems().Add(value);
        it->SetGroupID(group);
        return it;
    }

    TListGroup *AddGroup(const char16_t *header, int id) {
        TListGroup *g = lv->GetGroups().Add();
        g->SetHeader(header);
        g->SetGroupID(id);
        g->SetState({lgsCollapsible});
        return g;
    }
};

// The texts of the list's cells that a screen reader is told are focused.
std::vector<rtl::UnicodeString> FocusedCells(TListView &list) {
    std::vector<rtl::UnicodeString> texts;
    QAccessibleInterface *view = QAccessible::queryAccessibleInterface(qt::WidgetOf(list));
    for (int i = 0; view && i < view->childCount(); ++i) {
        QAccessibleInterface *cell = view->child(i);
        const bool isCell =
            cell && (cell->role() == QAccessible::Cell || cell->role() == QAccessible::TreeItem);
        if (isCell && cell->state().focused) {
            texts.push_back(gfx::qt::FromQString(cell->text(QAccessible::Name)));
        }
    }
    return texts;
}

} // namespace

TEST_F(ListFixture, RowsAppearUnderTheirGroupsWithTheirTexts) {
    lv->SetGroupView(true);
    AddGroup(u"Итого по базе", 0);
    AddGroup(u"Ритм", 1);
    TListItem *a = AddRow(u"1", u"Синусовый ритм", u"0,00", 1);
    TListItem *total = lv->GetItems().Insert(0);
    total->SetCaption(u"И_В");
    total->SetGroupID(0);
    TListItem *orphan = AddRow(u"99", u"x", u"y", 7);

    EXPECT_EQ(lv->GetItems().GetCount(), 3);
    EXPECT_EQ(lv->GetItems()[0], total);
    EXPECT_EQ(lv->NativeTextForTesting(a, 1), u"Синусовый ритм");
    EXPECT_EQ(lv->NativeTextForTesting(a, 2), u"0,00");
    const gfx::TRect rt = lv->CellRectForTesting(total, 0);
    const gfx::TRect ra = lv->CellRectForTesting(a, 0);
    EXPECT_FALSE(rt.IsEmpty());
    EXPECT_LT(rt.Top, ra.Top); // group 0 is shown above group 1
    EXPECT_TRUE(lv->CellRectForTesting(orphan, 0).IsEmpty());

    a->GetSubItems().Put(1, u"100");
    EXPECT_EQ(lv->NativeTextForTesting(a, 2), u"100");
}

TEST_F(ListFixture, FoldingAGroupHidesItsRowsAndSurvivesARefill) {
    lv->SetGroupView(true);
    AddGroup(u"G0", 0);
    AddGroup(u"G1", 1);
    AddRow(u"1", u"a", u"b", 1);
    EXPECT_TRUE(lv->GroupExpanded(1));
    lv->SetGroupExpanded(1, false);
    EXPECT_TRUE(lv->CellRectForTesting(lv->GetItems()[0], 0).IsEmpty());
    lv->GetItems().Clear();
    TListItem *again = AddRow(u"1", u"a", u"b", 1);
    EXPECT_FALSE(lv->GroupExpanded(1));
    lv->SetGroupExpanded(1, true);
    EXPECT_FALSE(lv->CellRectForTesting(again, 0).IsEmpty());
}

TEST_F(ListFixture, ClickingACollapsibleGroupHeaderFoldsIt) {
    lv->SetGroupView(true);
    AddGroup(u"G0", 0);
    TListItem *row = AddRow(u"1", u"a", u"b", 0);
    const gfx::TRect r = lv->CellRectForTesting(row, 0);
    lv->ClickAtForTesting(r.Left + 20, r.Top - r.Height() / 2); // the header row above
    EXPECT_FALSE(lv->GroupExpanded(0));
}

TEST_F(ListFixture, DoubleClickSelectsTheRowAndRaisesOnDblClick) {
    TListItem *a = AddRow(u"ECG0001", u"1 2", u"", -1);
    TListItem *b = AddRow(u"ECG0002", u"3", u"", -1);
    TListItem *selectedAtClick = nullptr;
    lv->OnDblClick = [&](TComponent *) { selectedAtClick = lv->GetSelected(); };
    EXPECT_EQ(lv->GetSelected(), nullptr);
    const gfx::TRect r = lv->CellRectForTesting(b, 1);
    lv->DoubleClickAtForTesting(r.Left + 5, r.Top + r.Height() / 2);
    EXPECT_EQ(selectedAtClick, b);
    EXPECT_TRUE(b->GetSelected());
    EXPECT_FALSE(a->GetSelected());
    EXPECT_EQ(lv->GetItemIndex(), 1);
}

TEST_F(ListFixture, CustomDrawColoursOnlyTheCellsTheHandlerColours) {
    AddRow(u"1", u"", u"", -1); // the focused row carries a focus frame; keep it out of the way
    TListItem *a = AddRow(u"4", u"WWWW", u"100", -1);
    TListItem *b = AddRow(u"5", u"WWWW", u"50,00", -1);
    const gfx::TColor green = gfx::RGB(208, 255, 208), red = gfx::RGB(255, 208, 208);
    lv->OnCustomDrawSubItem = [&](TListView *sender, TListItem *item, int sub, TCustomDrawState,
                                  bool &) {
        if (sub == 2) {
            sender->GetCanvas().GetBrush().SetColor(item->GetSubItems()[1] == u"100" ? green : red);
        }
    };
    gfx::TBitmap shot = lv->GrabForTesting();
    auto colourNearRightEdge = [&](TListItem *it, int col) {
        const gfx::TRect r = lv->CellRectForTesting(it, col);
        return shot.GetCanvas().GetPixel(r.Right - 4, r.Top + r.Height() / 2);
    };
    EXPECT_EQ(colourNearRightEdge(a, 2), green);
    EXPECT_EQ(colourNearRightEdge(b, 2), red);
    EXPECT_EQ(colourNearRightEdge(a, 1), gfx::clWhite);
    EXPECT_EQ(colourNearRightEdge(b, 0), gfx::clWhite);
}

TEST_F(ListFixture, CustomDrawBoldRowsDrawHeavierText) {
    TListItem *plain = AddRow(u"1", u"WWWW WWWW", u"", -1);
    TListItem *bold = AddRow(u"4", u"WWWW WWWW", u"", -1);
    lv->OnCustomDrawItem = [&](TListView *sender, TListItem *item, TCustomDrawState, bool &) {
        gfx::TFont &f = sender->GetCanvas().GetFont();
        f.SetStyle(item->GetCaption() == u"4" ? gfx::TFontStyles{gfx::fsBold} : gfx::TFontStyles{});
    };
    gfx::TBitmap shot = lv->GrabForTesting();
    const int inkPlain = uitest::DarkPixels(shot, lv->CellRectForTesting(plain, 1));
    const int inkBold = uitest::DarkPixels(shot, lv->CellRectForTesting(bold, 1));
    EXPECT_GT(inkPlain, 0);
    EXPECT_GT(inkBold, inkPlain * 5 / 4);
    // The text the handler drew over stays the row's own.
    EXPECT_EQ(lv->NativeTextForTesting(bold, 1), u"WWWW WWWW");
}

TEST_F(ListFixture, RowsAreTallEnoughForUnderscoresAndDescenders) {
    AddRow(u"1", u"", u"", -1); // the focused row carries a focus frame; keep it out of the way
    TListItem *low = AddRow(u"2", u"____", u"", -1);
    gfx::TBitmap probe(1, 1);
    probe.GetCanvas().SetFont(lv->GetFont());
    const int textHeight = probe.GetCanvas().TextHeight(u"Ág_");
    const gfx::TRect cell = lv->CellRectForTesting(low, 1);
    EXPECT_GE(cell.Height(), textHeight + 4);
    gfx::TBitmap shot = lv->GrabForTesting();
    EXPECT_GT(uitest::DarkPixels(shot, cell), 0);
}

TEST_F(ListFixture, IndexErrorsUseTheClassLibraryMessage) {
    try {
        lv->GetItems().Delete(3);
        FAIL();
    } catch (const rtl::Exception &e) {
        EXPECT_EQ(e.Message(), u"List index out of bounds (3)");
    }
}

TEST_F(ListFixture, ACellIsFocusedForScreenReadersOnlyWhileTheListHasTheFocus) {
    TEdit *edit = new TEdit(form.get());
    edit->SetParent(form.get());
    edit->SetAlign(alBottom);
    AddRow(u"ECG0001", u"1 2", u"", -1);
    AddRow(u"ECG0002", u"3", u"", -1);
    // An active window, as the user's: only there does the focus reach a control.
    qt::WidgetOf(*form)->activateWindow();
    Application->ProcessMessages();
    const auto focus = [](TWinControl *c) {
        c->SetFocus();
        Application->ProcessMessages();
    };
    focus(lv);
    lv->SetItemIndex(1);
    Application->ProcessMessages();
    EXPECT_EQ(FocusedCells(*lv), std::vector<rtl::UnicodeString>{u"ECG0002"});

    focus(edit);
    EXPECT_TRUE(FocusedCells(*lv).empty());
    // Chosen while the focus is elsewhere: selected, and focused only once the list is.
    lv->SetItemIndex(0);
    EXPECT_TRUE(FocusedCells(*lv).empty());
    focus(lv);
    EXPECT_EQ(FocusedCells(*lv), std::vector<rtl::UnicodeString>{u"ECG0001"});
    EXPECT_EQ(lv->GetItemIndex(), 0);
}
