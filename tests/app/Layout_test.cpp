// The windows as laid out with the fonts the system brings along: no control runs under a
// sibling it should sit beside, and texts of fixed width show whole (list headers, labels and
// buttons of fixed size).
#include "MainFormFixture.h"

#include "app/UContentForm.h"
#include "app/UECGViewLight.h"
#include "platform/gfx/Bitmap.h"
#include "platform/gfx/QtBridge_p.h"
#include "platform/ui/Application.h"
#include "platform/ui/Label.h"
#include "platform/ui/QtBridge_p.h"

#include <QHeaderView>
#include <QTreeWidget>

#include <string>
#include <vector>

namespace workbench::testing {
namespace {

std::string NameOf(ui::TControl &c) {
    const UnicodeString name = c.GetName().empty() ? c.GetCaption() : c.GetName();
    return rtl::Utf16ToUtf8(name);
}

// The pairs of visible siblings, anywhere under root, whose bounds intersect.
std::vector<std::string> Overlaps(ui::TWinControl &root) {
    std::vector<std::string> found;
    std::vector<ui::TControl *> shown;
    for (int32_t i = 0; i < root.GetControlCount(); ++i) {
        ui::TControl *c = root.GetControl(i);
        if (c->GetVisible() && c->GetWidth() > 0 && c->GetHeight() > 0) {
            shown.push_back(c);
        }
    }
    for (size_t a = 0; a < shown.size(); ++a) {
        for (size_t b = a + 1; b < shown.size(); ++b) {
            if (!gfx::IntersectRect(shown[a]->GetBoundsRect(), shown[b]->GetBoundsRect())
                     .IsEmpty()) {
                found.push_back(NameOf(*shown[a]) + " / " + NameOf(*shown[b]));
            }
        }
    }
    for (ui::TControl *c : shown) {
        if (auto *wc = dynamic_cast<ui::TWinControl *>(c)) {
            const std::vector<std::string> inner = Overlaps(*wc);
            found.insert(found.end(), inner.begin(), inner.end());
        }
    }
    return found;
}

int32_t TextWidth(ui::TControl &control, const UnicodeString &text) {
    gfx::TBitmap probe(1, 1);
    probe.GetCanvas().SetFont(control.GetFont());
    return probe.GetCanvas().TextWidth(text);
}

class LayoutTest : public MainFormTest {};

TEST_F(LayoutTest, MainWindowControlsSitBesideEachOther) {
    MakeForm();
    EXPECT_EQ(Overlaps(*Form), std::vector<std::string>{});
    // The program's name, its edit and the report button share one bar.
    EXPECT_LE(Form->edProgrName->GetLeft() + Form->edProgrName->GetWidth(),
              Form->btnReport->GetLeft());
    EXPECT_GE(Form->edProgrName->GetLeft(),
              Form->Label3->GetLeft() + TextWidth(*Form->Label3, Form->Label3->GetCaption()));
}

TEST_F(LayoutTest, FixedWidthColumnHeadersShowTheirWholeText) {
    MakeForm();
    auto *tree = static_cast<QTreeWidget *>(ui::qt::WidgetOf(*Form->TotalLV));
    QHeaderView *header = tree->header();
    ui::TListColumns &columns = Form->TotalLV->GetColumns();
    int fixed = 0;
    for (int32_t i = 0; i < columns.GetCount(); ++i) {
        ui::TListColumn *column = columns[i];
        if (column->GetMinWidth() != column->GetWidth() ||
            column->GetMaxWidth() != column->GetWidth()) {
            continue;
        }
        ++fixed;
        SCOPED_TRACE(rtl::Utf16ToUtf8(column->GetCaption()));
        EXPECT_EQ(header->sectionSize(i), column->GetWidth());
        EXPECT_LE(header->sectionSizeHint(i), column->GetWidth());
    }
    EXPECT_EQ(fixed, 8);
}

TEST_F(LayoutTest, ButtonCaptionsOfTheMainWindowFitTheirButtons) {
    MakeForm();
    for (ui::TControl *button : {static_cast<ui::TControl *>(Form->btnOpenResTxt),
                                 static_cast<ui::TControl *>(Form->btnReloadResult),
                                 static_cast<ui::TControl *>(Form->btnJury),
                                 static_cast<ui::TControl *>(Form->btnMainSign),
                                 static_cast<ui::TControl *>(Form->btnReport)}) {
        SCOPED_TRACE(rtl::Utf16ToUtf8(button->GetCaption()));
        // The frame and a little air on both sides.
        EXPECT_LE(TextWidth(*button, button->GetCaption()) + 8, button->GetWidth());
    }
}

TEST_F(LayoutTest, SignatoriesDialogControlsSitBesideEachOther) {
    MakeForm();
    std::vector<std::string> overlaps;
    std::vector<std::string> clipped;
    ModalAnswer = [&](ui::TForm &form) {
        auto &dialog = dynamic_cast<TContentForm &>(form);
        overlaps = Overlaps(dialog);
        for (ui::TBitBtn *b :
             {dialog.btnAddRec, dialog.btnRemoveSelRec, dialog.BtnOK, dialog.btnCancel}) {
            if (TextWidth(*b, b->GetCaption()) + 8 > b->GetWidth()) {
                clipped.push_back(rtl::Utf16ToUtf8(b->GetCaption()));
            }
        }
        return int32_t(ui::mrCancel);
    };
    Form->btnJury->Click(); // with the buttons that add and remove rows
    EXPECT_EQ(overlaps, std::vector<std::string>{});
    EXPECT_EQ(clipped, std::vector<std::string>{});
}

TEST_F(LayoutTest, ViewerControlsSitBesideEachOtherAndItsLabelsShowTheirText) {
    TFLightECGView view(nullptr);
    view.AfterConstruction();
    view.setEdfFileName(rtl::Utf8ToUtf16(std::string(WB_TEST_DATA) + "/ecg/REAL12_250.edf"));
    std::vector<std::string> overlaps;
    std::vector<std::string> clipped;
    ModalAnswer = [&](ui::TForm &) {
        view.SetWindowState(ui::wsNormal);
        view.SetClientWidth(1019);
        view.SetClientHeight(588);
        ui::Application->ProcessMessages();
        overlaps = Overlaps(view);
        for (int32_t i = 0; i < view.pnlInfo->GetControlCount(); ++i) {
            auto *label = dynamic_cast<ui::TLabel *>(view.pnlInfo->GetControl(i));
            if (label && label->GetVisible() &&
                TextWidth(*label, label->GetCaption()) > label->GetWidth()) {
                clipped.push_back(rtl::Utf16ToUtf8(label->GetCaption()));
            }
        }
        return int32_t(ui::mrCancel);
    };
    view.ShowModal();
    EXPECT_EQ(overlaps, std::vector<std::string>{});
    EXPECT_EQ(clipped, std::vector<std::string>{});
    view.BeforeDestruction();
}

} // namespace
} // namespace workbench::testing
